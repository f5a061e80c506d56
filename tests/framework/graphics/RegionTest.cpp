// Regions: copy on write, offsets kept through set operations, emptiness.
#include <gtest/gtest.h>

#include "framework/graphics/ARegion.h"

namespace {

std::string Describe(const ARegion& r) {
    ARect b = r.ownerBounds();
    return std::to_string(b.left()) + "," + std::to_string(b.top()) + "," + std::to_string(b.right()) + "," +
           std::to_string(b.bottom());
}

bool HoldsOwnerPoint(const ARegion& r, const APoint& p) {
    return r.contains(p - r.offset());
}

}  // namespace

TEST(Region, CopyChangedLeavesOriginal) {
    long bodies = ARegion::liveBodies();
    {
        ARegion first(ARect(10, 10, 30, 40));
        ARegion copy(first);
        EXPECT_EQ(bodies + 1, ARegion::liveBodies()) << "a copy shares the body";
        copy.setRect(ARect(0, 0, 5, 5));
        EXPECT_EQ("10,10,30,40", Describe(first));
        EXPECT_EQ("0,0,5,5", Describe(copy));
        ARegion moved(first);
        moved.offsetBy(APoint(100, 0));
        moved.alignTo(APoint(0, 0));
        EXPECT_EQ("10,10,30,40", Describe(first)) << "aligning a shared copy copies the body first";
        EXPECT_EQ("110,10,130,40", Describe(moved));
    }
    EXPECT_EQ(bodies, ARegion::liveBodies());
}

TEST(Region, SetOperationsKeepOwnerCoordinates) {
    struct Row {
        const char* name;
        void (ARegion::*op)(const ARegion&);
        std::vector<APoint> inside;
        std::vector<APoint> outside;
    };
    const Row rows[] = {
        {"unite", &ARegion::unite, {{15, 5}, {2, 2}}, {{7, 7}}},
        {"intersect", &ARegion::intersect, {{12, 3}}, {{2, 2}, {18, 8}}},
        {"subtract", &ARegion::subtract, {{18, 8}}, {{12, 3}, {2, 2}}},
        {"exclusiveOr", &ARegion::exclusiveOr, {{18, 8}, {2, 2}}, {{12, 3}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ARegion a(ARect(10, 0, 20, 10));  // offset (10, 0)
        ARegion b(ARect(0, 0, 15, 5));    // offset (0, 0)
        (a.*row.op)(b);
        for (const APoint& p : row.inside)
            EXPECT_TRUE(HoldsOwnerPoint(a, p)) << p.x << "," << p.y;
        for (const APoint& p : row.outside)
            EXPECT_FALSE(HoldsOwnerPoint(a, p)) << p.x << "," << p.y;
        EXPECT_TRUE(HoldsOwnerPoint(b, APoint(2, 2)));
        EXPECT_FALSE(HoldsOwnerPoint(b, APoint(15, 5))) << "the other region is unchanged";
    }
}

TEST(Region, DegenerateRectanglesAreEmpty) {
    const ARect rows[] = {ARect(5, 5, 5, 20), ARect(5, 5, 20, 5), ARect(0, 0, 0, 0)};
    for (const ARect& r : rows) {
        SCOPED_TRACE(r.left() * 1000 + r.right());
        ARegion region(r);
        EXPECT_TRUE(region.isEmpty());
        EXPECT_FALSE(region.contains(APoint(0, 0)));
        EXPECT_FALSE(region.contains(APoint(0, 10)));
    }
}

TEST(Region, ShiftedCallLeavesOwnerArea) {
    ARegion region(ARect(10, 10, 20, 20));
    HDC dc = CreateCompatibleDC(nullptr);
    region.selectClipAt(APoint(5, 7), dc);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(1, GetClipRgn(dc, clip));
    RECT box;
    GetRgnBox(clip, &box);
    DeleteObject(clip);
    EXPECT_EQ(15, box.left);
    EXPECT_EQ(17, box.top);
    EXPECT_EQ("10,10,20,20", Describe(region));
    DeleteDC(dc);
}

// Rectangles are combined without GDI when the result is a rectangle: every
// result, and what is built on it, must be the area GDI makes.
TEST(Region, RectangleCombinationsMatchGdi) {
    struct Row {
        ARect a;
        ARect b;
    };
    const Row rows[] = {
        {ARect(10, 10, 30, 30), ARect(20, 20, 40, 40)},  // overlapping corners
        {ARect(10, 10, 30, 30), ARect(40, 40, 50, 50)},  // apart
        {ARect(10, 10, 30, 30), ARect(15, 15, 20, 20)},  // inside
        {ARect(15, 15, 20, 20), ARect(10, 10, 30, 30)},  // around
        {ARect(10, 10, 30, 30), ARect(10, 30, 30, 45)},  // touching below, same width
        {ARect(10, 10, 30, 30), ARect(30, 10, 35, 30)},  // touching right, same height
        {ARect(10, 10, 30, 30), ARect(10, 20, 30, 45)},  // overlapping, same width
        {ARect(10, 10, 30, 30), ARect(10, 31, 30, 45)},  // a gap below
        {ARect(10, 10, 30, 30), ARect(5, 0, 35, 15)},    // across the top
        {ARect(10, 10, 30, 30), ARect(5, 25, 35, 40)},   // across the bottom
        {ARect(10, 10, 30, 30), ARect(5, 15, 35, 20)},   // across the middle
        {ARect(10, 10, 30, 30), ARect(0, 5, 15, 35)},    // down the left
        {ARect(10, 10, 30, 30), ARect(25, 5, 35, 35)},   // down the right
        {ARect(10, 10, 30, 30), ARect(15, 5, 20, 35)},   // down the middle
        {ARect(10, 10, 30, 30), ARect(5, 5, 5, 40)},     // flat
        {ARect(5, 5, 5, 40), ARect(10, 10, 30, 30)},     // flat first
        {ARect(30, 30, 10, 10), ARect(20, 20, 40, 40)},  // corners given the wrong way
    };
    const struct {
        const char* name;
        void (ARegion::*op)(const ARegion&);
        int mode;
    } ops[] = {{"intersect", &ARegion::intersect, RGN_AND},
               {"unite", &ARegion::unite, RGN_OR},
               {"subtract", &ARegion::subtract, RGN_DIFF},
               {"exclusiveOr", &ARegion::exclusiveOr, RGN_XOR}};
    auto gdiRect = [](const ARect& r) { return CreateRectRgn(r.left(), r.top(), r.right(), r.bottom()); };
    // The region's area in owner coordinates, as GDI holds it.
    auto ownerArea = [](const ARegion& r) {
        HRGN area = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(area, r.handle(), nullptr, RGN_COPY);
        OffsetRgn(area, r.offset().x, r.offset().y);
        return area;
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        for (const auto& op : ops) {
            SCOPED_TRACE(std::to_string(i) + " " + op.name);
            const Row& row = rows[i];
            ARegion a(row.a), b(row.b);
            ARegion shared(a);
            b.offsetBy(APoint(7, -3));
            b.offsetBack(APoint(7, -3));
            (a.*op.op)(b);
            HRGN expected = CreateRectRgn(0, 0, 0, 0);
            HRGN ga = gdiRect(row.a), gb = gdiRect(row.b);
            int type = CombineRgn(expected, ga, gb, op.mode);
            HRGN actual = ownerArea(a);
            EXPECT_TRUE(EqualRgn(expected, actual));
            EXPECT_EQ(type == NULLREGION, a.isEmpty());
            EXPECT_EQ(type == SIMPLEREGION, a.isRectangle());
            RECT box;
            GetRgnBox(expected, &box);
            if (type != NULLREGION) {
                EXPECT_EQ(ARect(box.left, box.top, box.right, box.bottom), a.ownerBounds());
            }
            for (int y = 0; y < 50; y += 3)
                for (int x = 0; x < 50; x += 3)
                    ASSERT_EQ(bool(PtInRegion(expected, x, y)), HoldsOwnerPoint(a, APoint(x, y))) << x << "," << y;
            // What is built on the result: moved, then cut by a region that is not a rectangle.
            ARegion notch(ARect(0, 0, 50, 50));
            notch.subtract(ARegion(ARect(20, 0, 25, 22)));
            a.offsetBy(APoint(2, 1));
            a.alignTo(APoint(-4, 9));
            a.intersect(notch);
            HRGN gnotch = gdiRect(ARect(0, 0, 50, 50)), cut = gdiRect(ARect(20, 0, 25, 22));
            CombineRgn(gnotch, gnotch, cut, RGN_DIFF);
            OffsetRgn(expected, 2, 1);
            CombineRgn(expected, expected, gnotch, RGN_AND);
            HRGN built = ownerArea(a);
            EXPECT_TRUE(EqualRgn(expected, built));
            HRGN first = ownerArea(shared);
            EXPECT_TRUE(EqualRgn(first, ga)) << "the shared copy kept its area";
            for (HRGN r : {expected, ga, gb, actual, gnotch, cut, built, first})
                DeleteObject(r);
        }
    }
}
