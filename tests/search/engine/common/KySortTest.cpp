// The in-place heap sort: ordering, item sizes and the cases that must not
// touch the array.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "search/engine/common/KySort.h"

namespace {

int g_calls = 0;

int CompareInts(const void* a, const void* b) {
    ++g_calls;
    int x = *static_cast<const int*>(a);
    int y = *static_cast<const int*>(b);
    return x < y ? -1 : x > y;
}

// A 44-byte item ordered by its first byte; the rest must travel with it.
struct Wide {
    unsigned char key;
    unsigned char body[43];
};

int CompareWide(const void* a, const void* b) {
    return static_cast<const Wide*>(a)->key - static_cast<const Wide*>(b)->key;
}

}  // namespace

TEST(KySort, SortsSignedIntegersAscending) {
    struct Row {
        std::vector<int> in;
    } const rows[] = {
        {{}},
        {{7}},
        {{5, -1, 5, 0}},
        {{3, 2, 1}},
        {{1, 2, 3, 4, 5, 6}},
        {{9, 9, 9}},
        {{-2147483647 - 1, 2147483647, 0, -1, 1}},
        {{4, 8, 1, 8, 3, 0, 7, 7, 2, -5, 6, 11, 10}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.in));
        std::vector<int> got = r.in;
        std::vector<int> want = r.in;
        std::sort(want.begin(), want.end());
        g_calls = 0;
        KY_SortArray(got.data(), static_cast<uint32_t>(got.size()), sizeof(int), CompareInts);
        EXPECT_EQ(want, got);
        if (r.in.size() < 2) {
            EXPECT_EQ(0, g_calls);
        }
    }
}

TEST(KySort, MovesWideItemsWhole) {
    std::vector<Wide> items(50);
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].key = static_cast<unsigned char>((i * 37) % 101);
        std::memset(items[i].body, items[i].key, sizeof items[i].body);
    }
    KY_SortArray(items.data(), static_cast<uint32_t>(items.size()), sizeof(Wide), CompareWide);
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        if (i > 0) {
            EXPECT_LE(items[i - 1].key, items[i].key);
        }
        EXPECT_EQ(std::string(43, static_cast<char>(items[i].key)),
                  std::string(reinterpret_cast<const char*>(items[i].body), 43));
    }
}

TEST(KySort, SplitsLongIntoHalves) {
    uint16_t high = 0;
    uint16_t low = 0;
    KY_SplitLong(0x89ABCDEFu, &high, &low);
    EXPECT_EQ(0x89AB, high);
    EXPECT_EQ(0xCDEF, low);
}
