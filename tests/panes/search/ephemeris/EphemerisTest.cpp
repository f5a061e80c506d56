// The ephemeris's texts without windows: day indexes, date titles, link
// lines and the day records' document lists.
#include <gtest/gtest.h>

#include <string>

#include "panes/search/ephemeris/AEphemerideInfo.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "panes/search/ephemeris/EphemeridePane.h"

namespace {

// Titles with every markup character; icon type 3.
class TitleApp : public AEphemerisApp {
public:
    int16_t getDocIconType(long docNo) override { return docNo == 7 ? 3 : 0; }
    AString getDocTitle(long docNo) override { return AString(docNo == 7 ? "A/B #1 {x}" : "Prise"); }
};

}  // namespace

TEST(EphemeridePane, NamesTheDayAndLinksTheEvent) {
    struct Day {
        long month, day, index;
    } const days[] = {{3, 5, 66}, {12, 31, 371}, {2, 29, 59}, {3, 1, 62}, {1, 1, 0}};
    for (const Day& d : days) {
        SCOPED_TRACE(std::to_string(d.day) + "/" + std::to_string(d.month));
        EXPECT_EQ(d.index, AEphemerideInfo::dayIndex(d.month, d.day));
    }
    struct Title {
        long day, month, year;
        const char* text;
    } const titles[] = {{14, 6, 1789, "14 juillet 1789"},
                        {5, 2, 1900, "5 mars 1900"},
                        {29, 1, -44, "29 f\xE9vrier -44"},
                        {15, 7, 1945, "15 ao\xFBt 1945"},
                        {1, 11, 2000, "1 d\xE9" "cembre 2000"},
                        {3, 0, -1, "3 janvier"}};
    for (const Title& t : titles) {
        SCOPED_TRACE(t.text);
        EXPECT_EQ(t.text, std::string(EphemeridePane::makeDateTitle(t.day, t.month, t.year).c_str()));
    }
    TitleApp app;
    AEphemerisApp::install(&app);
    struct Link {
        long day, event, doc;
        const char* text;
    } const links[] = {
        {199, 2, 7, "/|{@R!7!/@#199:2}\n/|{rA\\/B \\#1 \\{x\\}#199:2}"},
        {0, 0, 12, "/|{@R!4!/@#0:0}\n/|{rPrise#0:0}"},
        {66, 1, -1, ""},
    };
    for (const Link& l : links) {
        SCOPED_TRACE(l.text);
        EXPECT_EQ(l.text, std::string(EphemeridePane::makeEventLink(l.day, l.event, l.doc).c_str()));
    }
    AEphemerisApp::install(nullptr);
}

TEST(AEphemerideInfo, ListsAnEventsDocuments) {
    struct Row {
        const char* day;
        int16_t event;
        const char* expected;  // related | own | first related | year text doc picture | count
    } const rows[] = {
        {"1789:12:345:67:100:200", 0, "2:200:100,200|1:345:345|100|1789 12 345 67|1"},
        {"1789:12:345:67", 0, "0:-1:|1:345:345|-1|1789 12 345 67|1"},
        {"1:2:3,1789:12:345:67:9", 1, "1:9:9|1:345:345|9|1789 12 345 67|2"},
        {"1:2:3", 0, "||-1|-1 -1 -1 -1|1"},
        {"1789:12:345:67", 3, "||-1|-1 -1 -1 -1|0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.day) + " @" + std::to_string(r.event));
        AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, -1, 0);
        info.loadText(r.day, 0, r.event);
        std::string got = std::string(info.relatedListText(r.event).c_str()) + "|" + info.docListText(r.event).c_str() +
                          "|" + std::to_string(info.firstRelatedDoc(r.event)) + "|" + std::to_string(info.year()) +
                          " " + std::to_string(info.textRecord()) + " " + std::to_string(info.docNo()) + " " +
                          std::to_string(info.pictureRecord()) + "|" + std::to_string(info.count());
        EXPECT_EQ(r.expected, got);
    }
}
