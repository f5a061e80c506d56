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
