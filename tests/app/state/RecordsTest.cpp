// Document information records, document numbers, recent queries, ephemeris
// records and the cycler, each as a table of cases.
#include <gtest/gtest.h>

#include <string>

#include "app/data/ADataManager.h"
#include "app/data/AEphemerideRecord.h"
#include "app/state/ADocRef.h"
#include "app/state/ALongCycler.h"
#include "app/state/ASiReqSearch.h"
#include "app/state/MarkedLines.h"
#include "tests/support/TestHooks.h"

namespace {

class TestBaseNames : public ADocBaseNames {
public:
    TestBaseNames() { gDocBaseNames = this; }
    ~TestBaseNames() override { gDocBaseNames = nullptr; }
    int16_t baseIndex(const char* name) override { return std::string(name) == "GLB" ? 1 : -1; }
    bool cdBaseOf(long docNo, int16_t* base) override {
        *base = static_cast<int16_t>(docNo % 7);
        return cdSet;
    }
    bool cdSet = false;
};

std::string Describe(ADocRefInfo& info) {
    std::string flags;
    for (long k = 0; k < 15; ++k)
        flags += std::to_string(info.getInfo(k));
    return flags + " type " + std::to_string(info.fType) + " rec " + std::to_string(info.fRecord) + "x" +
           std::to_string(info.fNbFrame) + " f3 " + std::to_string(info.fField3) + " f4 " +
           std::to_string(info.fField4) + " base " + std::to_string(info.fDocBase) + "/" +
           std::to_string(info.fCdBase) + ":" + std::to_string(info.fDocBaseNo) + " f6 " +
           std::to_string(info.fField6) + " f7 " + std::to_string(info.fField7First) + ":" +
           std::to_string(info.fField7Second) + " any " + std::to_string(info.hasAnyInfo()) + " media " +
           std::to_string(info.firstMediaInfo()) + " icon " + std::to_string(info.firstMediaIconId()) + " kind " +
           std::to_string(info.getMediaKind());
}

}  // namespace

TEST(ADocRefInfo, ParsesTheEightFieldsOfAnInformationRecord) {
    TestBaseNames names;
    struct Row {
        const char* text;
        bool cdSet;
        const char* described;
    } const rows[] = {
        {"000010000000000\t2\t125\t7\t8\tGLB:40\t9\t3:4", false,
         "000010000000000 type 2 rec 125x1 f3 7 f4 8 base 1/1:40 f6 9 f7 3:4 any 1 media 4 icon 1503 kind 3"},
        {"000000000111000\t9\t125:12\t\t\tNONE:2\t\t:40", false,
         "000000000111000 type 9 rec 125x12 f3 0 f4 0 base -1/-1:2 f6 0 f7 -1:40 any 0 media -1 icon -1 kind -1"},
        {"00000001x000000\t6\t-3\t1\t2", false,
         "000000010000000 type 6 rec -3x1 f3 1 f4 2 base -1/-1:0 f6 0 f7 -1:-1 any 1 media 7 icon 1501 kind 4"},
        {"000000100000001\t4\t1\t1\t1\tGLB:1\t1\t5", true,
         "000000100000001 type 4 rec 1x1 f3 1 f4 1 base 1/3:1 f6 1 f7 5:-1 any 1 media 6 icon 1527 kind 5"},
        {"000001000000000\t1", false,
         "000001000000000 type 1 rec 0x1 f3 0 f4 0 base -1/-1:0 f6 0 f7 -1:-1 any 1 media 5 icon 1502 kind 4"},
        {"000000001000000\t0\t2", false,
         "000000001000000 type 0 rec 2x1 f3 0 f4 0 base -1/-1:0 f6 0 f7 -1:-1 any 1 media 8 icon 1528 kind 0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        names.cdSet = r.cdSet;
        ADocRefInfo info(10, 13, 1);
        info.parse(r.text);
        EXPECT_EQ(r.described, Describe(info));
        ADocRefInfo copy(info);
        EXPECT_EQ(r.described, Describe(copy));
    }
    for (const char* bad : {"0000\t1", "", "0000000000000000\t1"}) {
        SCOPED_TRACE(bad);
        ADocRefInfo info;
        info.fType = 3;
        EXPECT_THROW(info.parse(bad), AStateFormatError);
        EXPECT_EQ(3, info.fType) << "nothing stored";
        EXPECT_EQ(-1, info.fRecord);
    }
}

TEST(DocRecordOf, TakesTheLowBitsOfTheFirstBaseAndCountsTheOthersAfterIt) {
    struct Row {
        long reference, record;
    } const rows[] = {{3051, 3051},        {0x01000000 | 3051, 3051}, {0x02000000 | 12, 1012},
                      {0x00FFFFFF, 0xFFFFFF}, {-1, -1},                  {0x03000000, 1000}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.reference);
        EXPECT_EQ(r.record, DocRecordOf(r.reference, 1000));
    }
}

TEST(ASiReqSearch, KeepsTheLastQueriesUpToItsCapacity) {
    struct Row {
        int16_t capacity;
        const char* added;
        const char* kept;
    } const rows[] = {{3, "abcd", "bcd"}, {0, "abcd", "abcd"}, {-1, "abcde", "abcde"}, {2, "aa", "aa"}, {1, "xyz", "z"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.capacity) + r.added);
        ASiReqSearch list(r.capacity);
        for (const char* p = r.added; *p; ++p)
            list.add(std::string(1, *p).c_str());
        std::string kept;
        for (int16_t i = 0; i < list.count(); ++i)
            kept += list.get(i).c_str();
        EXPECT_EQ(r.kept, kept);
        EXPECT_STREQ("", list.get(5).c_str());
        EXPECT_STREQ("", list.get(-1).c_str());
    }
    ASiReqSearch list(0);
    list.add("a");
    EXPECT_NE(-1, FatalExitCodeOf([&] { list.remove(1); }));
    ClearBoxes();
    g_reportInProgress = 0;
}

TEST(AEphemerideRecord, SplitsARecordIntoItsEvents) {
    struct Row {
        const char* text;
        int16_t event;
        const char* selected;  // f0 f1 main f3
        const char* lists;     // each event: list|main;
    } const rows[] = {
        {"1:2:30:4:100:200,5:6:70:8", 1, "5 6 70 8", "2:200:100,200|1:30:30;0:-1:|1:70:70;"},
        {"1:2:30:4:100:200,5:6:70:8", 0, "1 2 30 4", "2:200:100,200|1:30:30;0:-1:|1:70:70;"},
        {"1:2:30:4:100:200,5:6:70:8", 2, "-1 -1 -1 -1", ""},
        {"1:2:30,5:6:70:8:9", 1, "5 6 70 8", "|;1:9:9|1:70:70;"},
        {"1:2:x:4:-5:y", 0, "1 2 0 4", "2:0:-5,0|1:0:0;"},
        {"0:0:100000:0:70000,80000", 0, "0 0 100000 0", "1:70000:70000|1:100000:100000;|;"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " @" + std::to_string(r.event));
        AEphemerideRecord record(10, 0, -1, 0);
        record.loadText(r.text, 4, r.event);
        EXPECT_EQ(r.selected, std::to_string(record.fField0) + " " + std::to_string(record.fField1) + " " +
                                  std::to_string(record.fMainDoc) + " " + std::to_string(record.fField3));
        std::string lists;
        for (long e = 0; e < record.fEventCount && *r.lists; ++e)
            lists += std::string(record.getDocList(e).c_str()) + "|" + record.getMainDocList(e).c_str() + ";";
        EXPECT_EQ(r.lists, lists);
    }
    AEphemerideRecord record(10, 0, -1, 0);
    record.loadText("1:2:30:4:100:200,5:6:70:8", 4, 0);
    EXPECT_EQ(100, record.getFirstDoc(0));
    EXPECT_EQ(-1, record.getFirstDoc(1)) << "no further document";
    EXPECT_EQ(-1, record.getFirstDoc(9)) << "an event the load did not store";
    EXPECT_STREQ("", record.getDocList(9).c_str());
}

TEST(ALongCycler, PlacesTheShownNumberAndStepsAroundIt) {
    struct Row {
        const char* text;
        int16_t n;
        const char* list;
        long current;
    } const rows[] = {{"2,4,6", 5, "2,4,5,6", 2}, {"2,4,6", 9, "2,4,6,9", 3}, {"2,4,6", 1, "1,2,4,6", 0},
                      {"7", 3, "3,7", 0},         {"7", 8, "7,8", 1},         {"1,3,5", 3, "1,3,5,3", 3},
                      {"", 4, "0,4", 1},          {"1,,2", 1, "1,0,2,1", 3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " with " + std::to_string(r.n));
        AMediaItemCycler cycler;
        EXPECT_EQ(r.current, cycler.fill(r.text, r.n));
        std::string list;
        for (long i = 0; i < cycler.count(); ++i) {
            cycler.setCurrent(i);
            list += (i ? "," : "") + std::to_string(cycler.currentValue());
        }
        EXPECT_EQ(r.list, list);
    }
    ALongCycler cycler;
    cycler.fill("10,20,30", 25);
    cycler.setCurrent(1);
    EXPECT_FALSE(cycler.hasPrevious()) << "position 1 offers no step back";
    EXPECT_EQ(0, cycler.step(1));
    EXPECT_EQ(1, cycler.getCurrent());
    EXPECT_EQ(1, cycler.step(0));
    EXPECT_EQ(25, cycler.currentValue());
    EXPECT_EQ(20, cycler.previousValue());
    EXPECT_EQ(1, cycler.step(1));
    EXPECT_EQ(1, cycler.step(2));
    EXPECT_EQ(0, cycler.getCurrent());
    ALongCycler empty;
    EXPECT_NE(-1, FatalExitCodeOf([&] { empty.currentValue(); }));
    ClearBoxes();
    g_reportInProgress = 0;
}
