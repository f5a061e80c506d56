// The marker map: its text line read and written, range and value searches,
// extraction of a part and the cursor walk.
#include <gtest/gtest.h>

#include <string>

#include "base/object/AFileStream.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::string Line(const AHiliteRangeMap& map) {
    return map.toLine().c_str();
}

TEST(HiliteRangeMap, LinesReadBackAsWritten) {
    struct Row {
        const char* line;
        const char* read;
    } rows[] = {
        {"120,0,455,1,", "120,0,455,1,"},
        {"", ""},
        {"10;3:40/7 8.9-", "8,9,10,3,40,7,"},
        {"10,3,40", "10,3,"},   // a key cut short keeps the pairs before it
        {"10,3,40,", "10,3,"},  // a separator with no value after it
        {"10,3,40,7", "10,3,40,7,"},
        {"10,-3,-20,-7,", "-20,-7,10,-3,"},  // negative note ids come back
        {"5-6,", "5,6,"},                    // a '-' after digits separates
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        AHiliteRangeMap map(row.line);
        EXPECT_EQ(row.read, Line(map));
        AHiliteRangeMap again(Line(map).c_str());
        EXPECT_EQ(Line(map), Line(again));
    }
    AHiliteRangeMap map("10,3,40,7,");
    CaptureStream stream;
    map.writeTo(stream);
    EXPECT_EQ("10,3,40,7,\n", stream.text);
    CaptureStream empty;
    AHiliteRangeMap().writeTo(empty);
    EXPECT_EQ("\n", empty.text);
}

TEST(HiliteRangeMap, SearchesSetTheCursor) {
    struct Row {
        const char* what;
        long a, b;
        bool found;
        long start, value, index;
    } rows[] = {
        {"range", 0, 20, true, 10, 3, 0}, {"range", 30, 50, true, 40, 7, 1}, {"range", 11, 40, false, -1, -1, 2},
        {"value", 7, 0, true, 40, 7, 1},  {"value", 9, 0, false, -1, -1, 2},
    };
    AHiliteRangeMap map("10,3,40,7,");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + " " + std::to_string(row.a));
        bool found = row.what[0] == 'r' ? map.findInRange(row.a, row.b) : map.findHit(row.a);
        EXPECT_EQ(row.found, found);
        EXPECT_EQ(row.start, map.hitStart());
        EXPECT_EQ(row.value, map.hitEnd());
        EXPECT_EQ(row.index, map.currentIndex());
    }
    AHiliteRangeMap* part = map.extract(30, 50);
    ASSERT_NE(nullptr, part);
    EXPECT_EQ("10,7,", Line(*part));
    part->release();
    EXPECT_EQ(nullptr, map.extract(11, 40));
    EXPECT_TRUE(map.removeValue(3));
    EXPECT_FALSE(map.removeValue(3));
    EXPECT_EQ("40,7,", Line(map));
}

TEST(HiliteRangeMap, TheCursorWalksOnceAndStopsAfterTheLast) {
    AHiliteRangeMap map("10,3,40,7,");
    std::string walk;
    auto step = [&walk](long position) { walk += std::to_string(position) + " "; };
    for (int i = 0; i < 4; ++i)
        step(map.next());
    walk += "| ";
    step(map.first(-1));
    step(map.next());
    step(map.first(0));
    step(map.currentIndex());
    EXPECT_EQ("10 40 -1 -1 | 10 40 -1 2 ", walk);
    map.gotoIndex(1);
    EXPECT_EQ(40, map.hitStart());
    EXPECT_EQ(2, map.currentIndex());
}

class MarkerFileTest : public TempFolderTest {};

TEST_F(MarkerFileTest, TheFirstLineOfAFileIsTheMap) {
    struct Row {
        const char* content;
        const char* read;
    } rows[] = {{"10,3,-4,7,\r\n1,1,\r\n", "-4,7,10,3,"}, {"", ""}, {"\n5,5,", ""}, {"8,9", "8,9,"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.content);
        WriteAll(PathOf("notes.txt"), row.content);
        AHiliteRangeMap map("1,2,");
        {
            AFileStream stream(AFile(fs_, AFileSpec(PathOf("notes.txt").c_str()), 0, kPlainFileOptions, false), "rb",
                               0);
            map.readFrom(stream);
        }
        EXPECT_EQ(row.read, Line(map));
    }
}

}  // namespace
