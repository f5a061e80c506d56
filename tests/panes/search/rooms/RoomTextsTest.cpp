// The room texts: line reading, index rows, tab descriptors, the banner and
// icon tables, damaged texts, and the rooms base the sample builder writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>

#include "app/lines/ASVSallePrecLineGetter.h"
#include "reader/TheApp.h"
#include "app/state/AppState.h"
#include "panes/search/rooms/DockLeftSallePane.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/SalleIndexPrec.h"
#include "tools/samplebase/SampleRooms.h"

namespace {

struct LineRow {
    const char* text;
    int n;
    const char* label;
    const char* value;
};

TEST(RoomTextsTest, LinesSplitAtEachBreakAndReadLabelAndValue) {
    const LineRow rows[] = {
        {"Peinture#12\r\nSculpture#13\r\n", 1, "Sculpture", "13"},
        {"a#1\rb#2\nc#3", 2, "c", "3"},                 // lone CR and LF
        {"a#1\r\n\r\nb#2", 1, "", ""},                 // an empty line counts
        {"sans valeur\r\n", 0, "sans valeur", ""},
        {"x#1#2", 0, "x", "1"},                        // the value stops at the next '#'
        {"#0:4", 0, "", "0:4"},
        {"a#1\r\n", 1, "", ""},                        // no line 1
        {"a#1", -1, "", ""},
        {"", 0, "", ""},
    };
    for (const LineRow& row : rows) {
        SCOPED_TRACE(std::string(row.text) + " line " + std::to_string(row.n));
        EXPECT_EQ(row.label, std::string(TheApp::getLineLabel(row.text, static_cast<int16_t>(row.n)).c_str()));
        EXPECT_EQ(row.value, std::string(TheApp::getLineValue(row.text, static_cast<int16_t>(row.n)).c_str()));
    }
}

TEST(RoomTextsTest, IndexRowsAreTableRowsKeyedByTheirValue) {
    ASVSallePrecLineGetter getter("Pinceaux#0:12\r\nA[b]#0:13\rsans\r\n");
    ASSERT_EQ(3, getter.getLineCount());
    const char* rows[] = {"/&TABLE:100%:N0:[[100,0,0,0,0:0|//Pinceaux]]&/#0:12",
                          "/&TABLE:100%:N0:[[100,0,0,0,0:0|//A\\[b\\]]]&/#0:13",
                          "/&TABLE:100%:N0:[[100,0,0,0,0:0|//sans]]&/#"};
    for (long n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        AString line;
        getter.getLine(line, n);
        EXPECT_NE(std::string::npos, std::string(line.c_str()).find(rows[n])) << line.c_str();
    }
}

struct TabRow {
    const char* descriptor;
    int16_t applied;
    std::string expected;  // type source 1148 1172 docNo 1066 frames expand
};

std::string Describe(AppState& state) {
    ALeftState* left = state.getLeftState();
    return std::string(1, static_cast<char>(left->fSalleType ? left->fSalleType : '-')) + " " +
           std::to_string(left->fSalleLR) + " " + std::to_string(left->fUserInfo.slot(1148)) + " " +
           std::to_string(left->fUserInfo.slot(1172)) + " " + std::to_string(state.getDocNo()) + " " +
           std::to_string(state.getUserInfo(1066)) + " " + std::to_string(state.fNbFrame) + " " +
           std::to_string(left->fExpand);
}

TEST(RoomTextsTest, TabDescriptorsFillTheStateOrLeaveIt) {
    const TabRow rows[] = {
        {"A:0:7:0", 1, "A 0 7 0 -1 0 0 1"},
        {"D:1:12:5", 1, "D 1 12 5 -1 0 0 1"},
        {"P:0:-1:3", 1, "P 0 -1 0 3 1 2 1"},
        {"I:2:-1:0", 1, "I 2 -1 0 -1 0 0 0"},
        {"Q:0:7:0", 0, "- 0 0 0 -1 0 0 1"},           // no such pane letter
        {"A:3:7:0", 0, "- 0 0 0 -1 0 0 1"},           // no such source
        {"A:0:x:0", 0, "- 0 0 0 -1 0 0 1"},
        {"A:0:99999999999:0", 0, "- 0 0 0 -1 0 0 1"},  // beyond 32 bits
        {"A:0", 0, "- 0 0 0 -1 0 0 1"},
        {"", 0, "- 0 0 0 -1 0 0 1"},
    };
    for (const TabRow& row : rows) {
        SCOPED_TRACE(row.descriptor);
        auto* left = new ALeftState;
        left->fExpand = 1;
        AppState state(4, 2, nullptr, left, nullptr, nullptr, -1);
        state.setDocNo(-1);
        EXPECT_EQ(row.applied, TheApp::applyRoomTab(row.descriptor, &state));
        EXPECT_EQ(row.expected, Describe(state));
    }
}

TEST(RoomTextsTest, BannersAndIconsFollowRoomAndTab) {
    struct Row {
        int16_t room, tab;
        long second;
        int16_t banner, icon;
    };
    const Row rows[] = {
        {5, 5, 0, 1243, 1531}, {7, 1, 1, 1257, 1533}, {7, 3, 1, 1257, 1533}, {7, 2, 0, 1247, 1509},
        {6, 1, 0, 0, 1540},    {6, 3, 0, 0, 1509},    {2, 2, 0, 1234, 1532}, {3, 4, 0, 1251, 1509},
        {9, 6, 0, 0, 1509},    {0, 1, 0, 0, 1509},    {10, 1, 0, 0, 1509},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.room) + "/" + std::to_string(row.tab));
        EXPECT_EQ(row.banner, DockLeftSallePane::bannerOf(row.room, row.tab, row.second));
        EXPECT_EQ(row.icon, LRSalle_DVD::roomIconOf(row.room, row.tab));
    }
}

// Damaged room texts (no '#', empty values, huge numbers, lone CRs, stray
// bytes) give rows or none, and their values name a record or none.
TEST(RoomTextsTest, DamagedContentRecordsGiveAListOrNone) {
    std::mt19937 random(70);
    const std::string pieces[] = {"Peinture", "#", "0:12", "\r", "\n", "\r\n", "", "99999999999999999999",
                                  "-1",       "abc", "#0:", "\x01", "\xE9", ":", "12"};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        SCOPED_TRACE(text);
        ASVSallePrecLineGetter getter(text.c_str());
        long count = getter.getLineCount();
        ASSERT_GE(count, 0);
        for (long n = 0; n < count; ++n) {
            AString line;
            getter.getLine(line, n);
            ASSERT_EQ(0, std::string(line.c_str()).find("/&TABLE:")) << line.c_str();
            long r = SalleIndexPrec::recordOfValue(TheApp::getLineValue(text.c_str(), static_cast<int16_t>(n)));
            ASSERT_GE(r, -1);
            ASSERT_LE(r, 0xFFFFFF);
        }
    }
    for (const char* value : {"-1", "abc", "99999999999", "12abc"})
        EXPECT_EQ(-1, SalleIndexPrec::recordOfValue(AString(value))) << value;
    EXPECT_EQ(12, SalleIndexPrec::recordOfValue(AString("12")));
    EXPECT_EQ(0, SalleIndexPrec::recordOfValue(AString("")));
}

// The plan puts every pane letter and every source in some room.
TEST(RoomTextsTest, TheSampleRoomsCoverEveryLetterAndSource) {
    std::vector<std::string> titles = {"Pinceau et couleurs", "Les calques", "Commande ls"};
    std::vector<SampleRoom> rooms = PlanSampleRooms(titles);
    ASSERT_EQ(9u, rooms.size());
    std::set<char> letters;
    std::set<int> sources;
    std::set<std::string> names;
    for (const SampleRoom& room : rooms) {
        SCOPED_TRACE(room.titleKey);
        EXPECT_GE(room.tabs.size(), 1u);
        EXPECT_LE(room.tabs.size(), 3u);
        for (const SampleRoomTab& tab : room.tabs) {
            letters.insert(tab.type);
            sources.insert(tab.source);
            EXPECT_TRUE(names.insert(tab.name).second) << tab.name;
            for (const auto& group : tab.groups)
                for (const SampleRoomEntry& entry : group.second)
                    EXPECT_FALSE(entry.docs.empty()) << entry.label;
        }
    }
    EXPECT_EQ((std::set<char>{'A', 'B', 'C', 'D', 'E', 'G', 'I', 'P'}), letters);
    EXPECT_EQ((std::set<int>{0, 1, 2}), sources);
}

// The Médiathèque's pictures tab keeps its own entries and lists each kind of
// media document, at most six, as the lists read them; the other rooms keep theirs.
TEST(RoomTextsTest, TheMediathequeListsTheMediaDocumentsByKind) {
    std::vector<std::string> titles = {"Pinceau et couleurs", "Les images", "Commande ls"};
    const std::vector<SampleRoom> before = PlanSampleRooms(titles);
    std::vector<SampleRoom> rooms = before;
    std::vector<std::pair<std::string, long>> media;
    for (long d = 5; d < 13; ++d)
        media.push_back({"FIG", d});
    media.push_back({"VIDEOS", 13});
    media.push_back({"VIDEOS", 14});
    media.push_back({"MEDIA", 15});
    AddSampleMediaEntries(media, &rooms);
    ASSERT_EQ(before.size(), rooms.size());
    for (size_t r = 0; r < rooms.size(); ++r) {
        for (size_t t = 0; t < rooms[r].tabs.size(); ++t) {
            const auto& was = before[r].tabs[t].groups;
            const auto& now = rooms[r].tabs[t].groups;
            ASSERT_EQ(was.size(), now.size());
            bool mediaTab = rooms[r].titleKey == "SALLE_MEDIATHEQUE_TITLE" && rooms[r].tabs[t].name == "IMAGES";
            for (size_t g = 0; g < now.size(); ++g)
                EXPECT_EQ(was[g].second.size() + (mediaTab && g == 0 ? 3 : 0), now[g].second.size())
                    << rooms[r].tabs[t].name;
        }
    }
    std::map<std::string, std::vector<std::string>> records;
    AddSampleRoomRecords(rooms, 16, &records);
    // The tab's index text: its entries' lists, in LINKS:HDG.
    std::string index;
    for (const std::string& text : records["SALLES:CONTENU"])
        if (text.find("Photographies#") != std::string::npos)
            index = text;
    ASSERT_FALSE(index.empty());
    auto listOf = [&](const std::string& label) {
        size_t at = index.find(label + "#0:");
        if (at == std::string::npos)
            return std::string("absent");
        long record = std::atol(index.c_str() + at + label.size() + 3);
        return records["LINKS:HDG"].at(static_cast<size_t>(record));
    };
    EXPECT_EQ("6:15:5,6,7,8,9,10", listOf("Photographies"));
    EXPECT_EQ("2:15:13,14", listOf("Vid\xE9os"));
    EXPECT_EQ("1:15:15", listOf("Animations"));
    EXPECT_EQ(0u, index.find("Images#")) << "its own entries come first";
    // Without media documents a kind has no entry.
    rooms = before;
    AddSampleMediaEntries({{"FIG", 5}}, &rooms);
    records.clear();
    AddSampleRoomRecords(rooms, 16, &records);
    std::string all;
    for (const std::string& text : records["SALLES:CONTENU"])
        all += text;
    EXPECT_NE(std::string::npos, all.find("Photographies#"));
    EXPECT_EQ(std::string::npos, all.find("Animations#"));
}

}  // namespace
