// Hot-spot lookups over generated record and index files, and the polygon tests.
#include "web/movie/HotSpots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/object/AFile.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

std::string Le16(unsigned v) {
    return std::string{char(v), char(v >> 8)};
}
std::string Le32(uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}
// One 42-byte record: the group, four corners (thousandths), 22 unread bytes.
std::string Record(uint32_t group, std::vector<unsigned> corners) {
    std::string s = Le32(group);
    for (unsigned c : corners)
        s += Le16(c);
    return s + std::string(22, '\x55');
}

TEST(PointInPolygon, EdgesDiagonalsAndDegenerateShapes) {
    const long square[] = {100, 100, 500, 100, 500, 500, 100, 500};
    const long clockwise[] = {100, 100, 100, 500, 500, 500, 500, 100};
    struct Row {
        const char* what;
        int n;
        const long* points;
        long x, y;
        bool inside;
    } rows[] = {
        {"centre off the diagonal", 4, square, 300, 200, true},
        {"other winding", 4, clockwise, 300, 200, true},
        {"on the diagonal p0-p2", 4, square, 300, 300, false},
        {"on the top edge", 4, square, 300, 100, false},
        {"on a corner", 4, square, 500, 500, false},
        {"outside", 4, square, 600, 200, false},
        {"three points never hold a point", 3, square, 300, 200, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.inside, PointInQuad(r.n, r.x, r.y, r.points));
    }
    EXPECT_FALSE(PointInTriangle(0, 0, 10, 10, 20, 20, 10, 11)) << "degenerate";
    EXPECT_TRUE(PointInTriangle(0, 0, 10, 0, 0, 10, 2, 2));
    EXPECT_TRUE(PointInTriangle(0, 0, 0, 10, 10, 0, 2, 2));
}

class HotSpotTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        // Step 10; group 20 at index offset 8 holds two records, group 0 one.
        std::string records = std::string(4, '\0');  // offset 0 means "none"
        uint32_t group0 = uint32_t(records.size());
        records += Record(0, {0, 0, 1000, 0, 1000, 1000, 0, 1000});
        uint32_t group20 = uint32_t(records.size());
        records += Record(20, {100, 100, 500, 100, 500, 500, 100, 500});
        records += Record(20, {1200, 0, 1200, 1200, 0x8001, 1200, 600, 0});
        records += Le16(10);
        WriteAll(PathOf("hot.rec"), records);
        WriteAll(PathOf("hot.idx"), Le32(group0) + Le32(0) + Le32(group20) + Le32(999999));
        ASSERT_EQ(0, HotSpotPairOpen(pair_, file("hot.rec"), file("hot.idx")));
    }
    void TearDown() override {
        EXPECT_EQ(0, HotSpotPairClose(&pair_));
        TempFolderTest::TearDown();
    }
    AFile file(const char* name) { return AFile(AFileSpec(PathOf(name).c_str()), 0, kPlainFileOptions, false); }
    HotSpotPair pair_;
};

TEST_F(HotSpotTest, FramesGroupsAndPoints) {
    struct Row {
        const char* what;
        long width, height, frame, x, y, found;
    } rows[] = {
        {"frame 20, first record", 200, 100, 20, 60, 20, 1},
        {"frame 29 shares group 20", 200, 100, 29, 60, 20, 1},
        {"clamped corners: 1200 is 1000, top bit set is 0", 200, 100, 25, 190, 90, 2},
        {"point on the first record's edge", 200, 100, 20, 20, 30, -1},
        {"frame 5 in group 0", 200, 100, 5, 100, 30, 1},
        {"group without records", 200, 100, 12, 100, 50, -1},
        {"index offset past the record file", 200, 100, 31, 100, 50, -1},
        {"frame past the index", 200, 100, 1000, 100, 50, -1},
        {"zero-width movie area", 0, 100, 20, 60, 30, -1},
        {"zero-height movie area", 200, 0, 20, 60, 30, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.found, HotSpotFind(pair_, r.width, r.height, r.frame, r.x, r.y));
    }
}

TEST_F(HotSpotTest, MissingStreamsAndAZeroStepAnswerMinusOne) {
    HotSpotPair empty;
    EXPECT_EQ(-1, HotSpotFind(empty, 200, 100, 20, 60, 30));
    EXPECT_EQ(-3, HotSpotPairClose(nullptr));
    WriteAll(PathOf("zero.rec"), Record(0, {0, 0, 1000, 0, 1000, 1000, 0, 1000}) + Le16(0));
    HotSpotPair zero;
    ASSERT_EQ(0, HotSpotPairOpen(zero, file("zero.rec"), file("hot.idx")));
    EXPECT_EQ(-1, HotSpotFind(zero, 200, 100, 5, 100, 50));
    EXPECT_EQ(0, HotSpotPairClose(&zero));
    EXPECT_EQ(nullptr, zero.records);
}

}  // namespace
