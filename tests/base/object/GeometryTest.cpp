// Points, rectangles and input records.
#include "base/object/ARect.h"
#include "base/object/InputRecords.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const ARect& r) {
    return std::to_string(r.left()) + "," + std::to_string(r.top()) + "," + std::to_string(r.right()) + "," +
           std::to_string(r.bottom());
}

}  // namespace

TEST(ARect, OutcodesAndPoints) {
    ARect r(0, 0, 10, 20);
    struct Row {
        APoint p;
        int code;
    } rows[] = {
        {{0, 0}, 0}, {{10, 20}, 2 | 8}, {{-1, 5}, 1}, {{5, -1}, 4}, {{9, 19}, 0}, {{-5, 30}, 1 | 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.p.x) + "," + std::to_string(row.p.y));
        EXPECT_EQ(row.code, r.outcode(row.p));
    }
    EXPECT_EQ(APoint(1, -2), APoint::min(APoint(1, 5), APoint(3, -2)));
    EXPECT_EQ(APoint(3, 5), APoint::max(APoint(1, 5), APoint(3, -2)));
    EXPECT_EQ(APoint(10, 0), APoint(15, -3).clampedTo(r)) << "both ends included";
    EXPECT_EQ("1,2,11,22", Str(r + APoint(1, 2)));
    EXPECT_EQ("-1,-2,9,18", Str(r.minusPoint(APoint(1, 2))));
}

TEST(ARect, ScaleIntersectUniteFit) {
    // MulDiv rounds: 5 * 1 / 2 gives 3; equal numerator and denominator leave 5 alone.
    EXPECT_EQ(APoint(3, 5), APoint(5, 5).scaled(APoint(1, 7), APoint(2, 7)));
    EXPECT_EQ("0,0,5,10", Str(ARect(0, 0, 10, 20).scaled(APoint(1, 1), APoint(2, 2))));

    struct Row {
        const char* name;
        ARect a, b;
        const char* intersection;
        const char* unionRect;
    } rows[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, "5,5,10,10", "0,0,20,20"},
        {"touching edge keeps zero width", {0, 0, 10, 10}, {10, 0, 20, 10}, "10,0,10,10", "0,0,20,10"},
        {"apart gives the empty rectangle", {0, 0, 10, 10}, {20, 20, 30, 30}, "0,0,0,0", "0,0,30,30"},
        {"the empty rectangle counts", {5, 5, 10, 10}, {0, 0, 0, 0}, "0,0,0,0", "0,0,10,10"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ARect i = r.a;
        i.intersect(r.b);
        EXPECT_EQ(r.intersection, Str(i));
        ARect u = r.a;
        u.unite(r.b);
        EXPECT_EQ(r.unionRect, Str(u));
    }
    EXPECT_TRUE(ARect(10, 0, 10, 10).isValid());
    EXPECT_FALSE(ARect(10, 0, 9, 10).isValid());

    struct Fit {
        const char* name;
        ARect r;
        const char* fitted;
    } fits[] = {
        {"inside stays", {10, 10, 20, 20}, "10,10,20,20"},
        {"wider than the bounds", {-10, 10, 200, 20}, "0,10,100,20"},
        {"overhanging right slides left", {90, 10, 110, 20}, "80,10,100,20"},
        {"overhanging top moves down", {10, -5, 20, 5}, "10,0,20,10"},
    };
    for (const Fit& f : fits) {
        SCOPED_TRACE(f.name);
        ARect r = f.r;
        r.fitInside(ARect(0, 0, 100, 100));
        EXPECT_EQ(f.fitted, Str(r));
    }
    ARect follower(10, 10, 20, 20);
    follower.adjustBy(ARect(0, 0, 100, 100), ARect(5, 5, 125, 115));
    EXPECT_EQ("15,15,45,35", Str(follower));
}

namespace {
int g_keyStateReads = 0;
int g_downKeys[4] = {};
short FakeKeyState(int vk) {
    ++g_keyStateReads;
    for (int k : g_downKeys) {
        if (k == vk)
            return static_cast<short>(0x8000);
    }
    return 0;
}
}  // namespace

TEST(InputRecords, ModifiersAreReadOnce) {
    SetAsyncKeyStateFunction(FakeKeyState);
    struct Row {
        int keys[4];
        uint16_t bits;
    } rows[] = {
        {{VK_SHIFT, VK_CONTROL, 0, 0}, 12},
        {{VK_SHIFT, VK_CONTROL, VK_LBUTTON, 0}, 13},
        {{VK_MENU, 0, 0, 0}, 32},
        {{0, 0, 0, 0}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bits);
        std::copy(r.keys, r.keys + 4, g_downKeys);
        AKeyEvent e(37, 0, 1);
        g_keyStateReads = 0;
        EXPECT_EQ(r.bits, e.modifiers());
        EXPECT_EQ(r.bits, e.modifiers());
        EXPECT_EQ(4, g_keyStateReads) << "the second query uses the kept bits";
    }
    SetAsyncKeyStateFunction(nullptr);

    EXPECT_EQ(APoint(20, 25), AMouseEvent(30, 40, 1, APoint(10, 15)).where) << "relative to the origin";
}
