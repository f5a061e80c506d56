// The in-place heap sort and the 32-bit split.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "search/engine/KySortArray.h"

namespace {

int g_calls = 0;

int CompareInt(const void* a, const void* b) {
    ++g_calls;
    int x = *static_cast<const int*>(a);
    int y = *static_cast<const int*>(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

struct Wide {
    int key;
    char tail[40];
};

int CompareWide(const void* a, const void* b) {
    return CompareInt(&static_cast<const Wide*>(a)->key, &static_cast<const Wide*>(b)->key);
}

}  // namespace

TEST(KySortArray, SortsSignedIntegersAscending) {
    struct Row {
        std::vector<int> in;
        std::vector<int> out;
    };
    const Row rows[] = {
        {{5, -1, 5, 0}, {-1, 0, 5, 5}},
        {{3, 2}, {2, 3}},
        {{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
        {{9, 8, 7, 6, 5, 4, 3}, {3, 4, 5, 6, 7, 8, 9}},
        {{0, -2147483647 - 1, 2147483647, 0}, {-2147483647 - 1, 0, 0, 2147483647}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.in));
        std::vector<int> v = r.in;
        KY_SortArray(v.data(), static_cast<uint32_t>(v.size()), sizeof(int), CompareInt);
        EXPECT_EQ(r.out, v);
    }
    std::minstd_rand rng(7);
    std::vector<int> big(1000);
    for (int& x : big)
        x = static_cast<int>(rng() % 100) - 50;
    std::vector<int> expected = big;
    std::sort(expected.begin(), expected.end());
    KY_SortArray(big.data(), static_cast<uint32_t>(big.size()), sizeof(int), CompareInt);
    EXPECT_EQ(expected, big);
}

TEST(KySortArray, LeavesShortArraysAloneAndMovesWideItemsWhole) {
    for (uint32_t count : {0u, 1u}) {
        SCOPED_TRACE(count);
        int one[1] = {42};
        g_calls = 0;
        KY_SortArray(one, count, sizeof(int), CompareInt);
        EXPECT_EQ(0, g_calls);
        EXPECT_EQ(42, one[0]);
    }
    ASSERT_EQ(44u, sizeof(Wide));
    Wide items[5];
    for (int i = 0; i < 5; ++i) {
        items[i].key = 5 - i;
        std::memset(items[i].tail, 'a' + (5 - i), sizeof items[i].tail);
    }
    KY_SortArray(items, 5, sizeof(Wide), CompareWide);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(i + 1, items[i].key);
        EXPECT_EQ(std::string(40, static_cast<char>('a' + i + 1)), std::string(items[i].tail, 40));
    }
}

TEST(KySortArray, SplitsALongIntoItsHalves) {
    uint16_t high = 0;
    uint16_t low = 0;
    KY_SplitLong(0x1234ABCDu, &high, &low);
    EXPECT_EQ(0x1234, high);
    EXPECT_EQ(0xABCD, low);
    KY_SplitLong(0xFFFF0001u, &high, &low);
    EXPECT_EQ(0xFFFF, high);
    EXPECT_EQ(1, low);
}
