// The name table and the binary search beneath it.
#include "base/object/ADict.h"
#include "base/procedural/BSearch.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
int g_compares = 0;
int CompareInts(const void* a, const void* b) {
    ++g_compares;
    return *static_cast<const int*>(a) - *static_cast<const int*>(b);
}
}  // namespace

TEST(BSearch, FindInsertRemove) {
    int data[8] = {};
    size_t count = 0;
    for (int v : {5, 1, 9, 3, 7, 5}) {
        if (binsert(&v, data, count, sizeof(int), CompareInts))
            ++count;
    }
    ASSERT_EQ(5u, count) << "an equal element is not inserted";
    const int sorted[] = {1, 3, 5, 7, 9};
    EXPECT_EQ(0, std::memcmp(data, sorted, sizeof sorted));
    for (int v : {1, 3, 5, 7, 9}) {
        int* hit = static_cast<int*>(bfind(&v, data, count, sizeof(int), CompareInts));
        ASSERT_NE(nullptr, hit);
        EXPECT_EQ(v, *hit);
    }
    g_compares = 0;
    int small = 0;
    EXPECT_EQ(nullptr, bfind(&small, data, count, sizeof(int), CompareInts));
    EXPECT_EQ(1, g_compares) << "a key below the first element costs one comparison";
    g_compares = 0;
    EXPECT_EQ(nullptr, bfind(&small, data, 0, sizeof(int), CompareInts));
    EXPECT_EQ(0, g_compares);
    int four = 4, seven = 7;
    EXPECT_EQ(nullptr, bfind(&four, data, count, sizeof(int), CompareInts));
    EXPECT_TRUE(bremove(&seven, data, count--, sizeof(int), CompareInts));
    const int removed[] = {1, 3, 5, 9};
    EXPECT_EQ(0, std::memcmp(data, removed, sizeof removed));
}

TEST(ADict, AddFindAndCase) {
    int one = 1, two = 2;
    ADict::Pair pairs[] = {{"Beta", &one}, {"alpha", &two}, {nullptr, nullptr}};
    ADict exact(pairs, true);
    EXPECT_EQ(2, exact.count());
    EXPECT_EQ(&two, exact.find("alpha"));
    EXPECT_EQ(nullptr, exact.find("ALPHA"));
    EXPECT_EQ(1, exact.add("gamma", &one));
    EXPECT_EQ(2, exact.add("gamma", &two));
    EXPECT_EQ(3, exact.count());
    EXPECT_EQ(&two, exact.find("gamma"));
    EXPECT_EQ(nullptr, exact.find("delta"));

    ADict folded(pairs, false);
    EXPECT_EQ(&two, folded.find("ALPHA"));
    EXPECT_EQ(&one, folded.find("beta"));

    std::string order;
    exact.forEach([](ADict::Entry* e, void* out) { *static_cast<std::string*>(out) += std::string(e->name) + ","; },
                  &order);
    EXPECT_EQ("Beta,alpha,gamma,", order) << "case-sensitive order puts capitals first";
}
