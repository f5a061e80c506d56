// The room base pane, index list and disc list in a window: level choices,
// the saved state, the index list's record and selection, the first
// document of a new room state, and every room's entries on the small
// installation and on the sample (skipped when it is not built).
#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "app/lines/ASVSallePrecLineGetter.h"
#include "app/lists/AListApp.h"
#include "reader/TheApp.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/object/AStringList.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ASearchBase.h"
#include "tests/panes/search/rooms/RoomTestSupport.h"

namespace {

AString Text(short table, long r) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(8) : nullptr;
    return base ? base->getText(table, r, 1) : AString();
}

std::string Str(const AString& s) {
    return s.c_str();
}

// The documents of a result key "0:b" as the links base lists them.
std::vector<long> DocsOfKey(const AString& key) {
    ARefHold<AStringList> fields(new AStringList(key.c_str(), ':'));
    AString record = AListApp::current().getLinkRecord(0, std::atol(fields->at(1)));
    ARefHold<ALoSimple> list(new ALoSimple(record.c_str()));
    std::vector<long> docs;
    for (long i = 0; i < list->getCount(); ++i)
        docs.push_back(list->seek(i));
    return docs;
}

TEST_F(RoomPaneTest, ALevelChoiceStoresItsNumberClearsDeeperOnesAndRefreshesOnce) {
    ASSERT_TRUE(openRoom(0, "VISITES"));
    pane->readLevels = false;
    // Padlocked, the disc list opens nothing: the refresh is the pane's own.
    frame->currentState()->setDocCadenas(1);
    pane->setLevel3("Trois", "30", 4, 0);
    ALeftState* left = frame->currentState()->getLeftState();
    ASSERT_TRUE(left);
    for (int key : {1153, 1157, 1161, 1165, 1169, 1140, 1141})
        left->fUserInfo.slot(key) = 9;
    pane->refreshes = 0;
    pane->setLevel1("Peinture", "1", 3, 0);
    EXPECT_EQ(1, pane->refreshes);
    EXPECT_EQ(3, left->fUserInfo.slot(1149));
    for (int key : {1153, 1157, 1161, 1165, 1169, 1140, 1141}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(0, left->fUserInfo.slot(key));
    }
    EXPECT_EQ("Peinture", Str(pane->level(1).label));
    EXPECT_EQ("1", Str(pane->level(1).value));
    EXPECT_EQ("Trois", Str(pane->level(3).label));
}

TEST_F(RoomPaneTest, APopupChoiceGoesToItsLevelAndOnlyToARoomPane) {
    ASSERT_TRUE(openRoom(0, "VISITES"));
    frame->currentState()->setDocCadenas(1);
    pane->readLevels = false;
    for (int16_t level : {1, 2, 6, 0, 7}) {
        SCOPED_TRACE(level);
        APopupTreeCallBackSallePop callBack(pane, level);
        std::string label = "choix " + std::to_string(level);
        callBack.itemChosen(label.c_str(), "12", 2, nullptr);
        if (level >= 1 && level <= 6) {
            EXPECT_EQ(label, Str(pane->level(level).label));
            EXPECT_EQ("12", Str(pane->level(level).value));
            EXPECT_EQ(2, frame->currentState()->getLeftState()->fUserInfo.slot(1145 + 4 * level));
        }
    }
    EXPECT_EQ("choix 6", Str(pane->level(6).label));  // 0 and 7 changed nothing
    APopupTreeCallBackSallePop stranger(centre, 1);
    // A failed allocation check is fatal: the tests' report raises it on.
    EXPECT_ANY_THROW(stranger.itemChosen("x", "1", 0, nullptr));
}

TEST_F(RoomPaneTest, TheSavedStateHoldsMaskKeyAndTheLevelsThatAreSet) {
    ASSERT_TRUE(openRoom(0, "VISITES"));
    frame->currentState()->setDocCadenas(1);
    pane->readLevels = false;
    for (int k = 1; k <= 6; ++k)
        pane->setLevel(static_cast<int16_t>(k), "", "", 0);
    pane->setLevel1("Un", "v1", 0, 0);
    pane->setLevel3("", "v3", 0, 0);
    pane->setPaneText("0:5");
    ALeftState part;
    part.setUserTxtInfo(1154, "avant");
    pane->saveState(&part);
    EXPECT_EQ(static_cast<long>(pane->getClients()->shownMask()), part.fUserInfo.slot(1146));
    const std::pair<int, const char*> texts[] = {{1147, "0:5"}, {1150, "Un"}, {1151, "v1"}, {1154, "avant"},
                                                 {1155, ""},    {1158, ""},   {1159, "v3"}, {1170, ""}};
    for (const auto& t : texts) {
        SCOPED_TRACE(t.first);
        EXPECT_EQ(t.second, Str(part.getUserTxtInfo(static_cast<int16_t>(t.first))));
    }
}

TEST_F(RoomPaneTest, TheIndexListShowsTheDeeperLevelsRecordAndNoneForDamagedValues) {
    ASSERT_TRUE(openRoom(0, "VISITES"));
    frame->currentState()->setDocCadenas(1);
    pane->readLevels = false;
    ASSERT_NE(Str(Text(1, 7)), Str(Text(1, 12)));
    struct Row {
        const char* first;
        const char* second;
        long record;  // -1: no rows
    };
    const Row rows[] = {{"7", "12", 12}, {"7", "", 7}, {"", "", 0}, {"7", "-1", -1},
                        {"7", "abc", -1}, {"7", "99999999999", -1}, {"-3", "", -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.first) + "/" + row.second);
        try {
            pane->setLevel2("", row.second, 0, 0);
            pane->setLevel1("", row.first, 0, 0);
        } catch (const AError& e) {
            FAIL() << e.className() << " " << e.fileOrUnknown() << ":" << e.line();
        }
        if (row.record < 0) {
            EXPECT_EQ(nullptr, index->getLineGetter());
            EXPECT_EQ("", Str(pane->getPaneText()));
        } else {
            ASSERT_TRUE(index->getLineGetter());
            AString text = Text(1, row.record);
            EXPECT_EQ(Str(TheApp::getLineValue(text.c_str(), 0)), Str(pane->getPaneText()));
        }
    }
}

TEST_F(RoomPaneTest, TheIndexSelectionComesFromTheStateUnlessItIsNew) {
    ASSERT_TRUE(openRoom(0, "VISITES"));
    frame->currentState()->setDocCadenas(1);
    ALeftState* left = frame->currentState()->getLeftState();
    ASSERT_TRUE(left && index->getLineGetter());
    ASSERT_GE(index->getLineGetter()->getLineCount(), 2);
    left->fNew = 0;
    struct Row {
        long first, last;
        long keyLine;
    };
    const Row rows[] = {{-1, -1, 0}, {1, 1, 1}, {0, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.last);
        left->fUserInfo.slot(1140) = row.first;
        left->fUserInfo.slot(1141) = row.last;
        pane->updatePane();
        EXPECT_EQ(row.first, index->selFirst);
        EXPECT_EQ(row.last, index->selLast);
        EXPECT_EQ(Str(index->getLineKey(row.keyLine)), Str(pane->getPaneText()));
    }
}

TEST_F(RoomPaneTest, ANewRoomStateOpensItsFirstDocumentUnlessLinkedOrPadlocked) {
    struct Row {
        const char* what;
        int16_t link, padlock;
        bool opens;
    };
    const Row rows[] = {{"plain", 0, 0, true}, {"link", 1, 0, false}, {"padlock", 0, 1, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        centre->shown.clear();
        AppState* state = TheApp::makeRoomState(*frame, "1:GUIDE");
        ASSERT_TRUE(state);
        state->setNew(1);
        state->fLink = row.link;
        state->setDocCadenas(row.padlock);
        frame->goToState(state, 1);
        Pump();
        std::vector<long> docs = DocsOfKey(index->getLineKey(0));
        ASSERT_FALSE(docs.empty());
        if (row.opens) {
            EXPECT_EQ(std::to_string(docs[0]) + ";", centre->shown);
            EXPECT_EQ(docs[0], frame->currentState()->getDocNo());
            EXPECT_EQ(2, frame->currentState()->fSalle);
            // Temporary, the room state gave its place to its document's.
            AppState* before = frame->currentState()->getPrev();
            EXPECT_TRUE(!before || before->fSalle != 2 || before->getDocNo() >= 0);
        } else {
            EXPECT_EQ("", centre->shown);
            EXPECT_EQ(2, frame->currentState()->fSalle);
        }
    }
}

TEST_F(RoomPaneTest, UnknownRoomLinksMakeNoState) {
    for (const char* link : {"", "9:VISITES", "-1:VISITES", "0:", "0:NOPE", "x:VISITES", "1:VISITES"}) {
        SCOPED_TRACE(link);
        EXPECT_EQ(nullptr, TheApp::makeRoomState(*frame, link));
    }
    EXPECT_EQ("0:VISITES", Str(TheApp::roomLinkOfPage("art_visites")));
    EXPECT_EQ("", Str(TheApp::roomLinkOfPage("nope")));
    EXPECT_EQ(nullptr, TheApp::makeRoomPageState(*frame, "nope"));
    // A room's page is the state of the tab it is filed under.
    std::unique_ptr<AppState> page(TheApp::makeRoomPageState(*frame, "art_visites"));
    ASSERT_TRUE(page);
    EXPECT_EQ(4, page->getScreenMode());
    EXPECT_EQ(1, page->fSalle);
    ASSERT_TRUE(page->getLeftState());
    EXPECT_EQ('A', page->getLeftState()->fSalleType);
    ASSERT_TRUE(page->getDocState());
    EXPECT_EQ(3, page->getDocState()->fDocType) << "the centre keeps the room's movie, not an empty article";
}

// Every index entry of every room with an index list, chosen as the reader
// would, lists the documents of the links record its value names, and a
// click on a row shows that document.
void CheckEveryEntry(RoomPaneTest* test, TestFrame* frame, TestSallePane* pane, SalleIndexPrec* index,
                     LRSalle_DVD* disc, TestCentre* centre, const std::function<void(ListPane*, long)>& click) {
    (void)test;
    int entries = 0;
    for (long room = 0; room < 9; ++room) {
        AString tabs = Text(3, room);
        std::vector<std::string> lines = ASVSallePrecLineGetter::splitLines(tabs.c_str());
        for (size_t t = 0; t < lines.size(); ++t) {
            std::string name = Str(TheApp::getLineLabel(tabs.c_str(), static_cast<int16_t>(t)));
            char type = TheApp::getLineValue(tabs.c_str(), static_cast<int16_t>(t)).c_str()[0];
            if (type != 'A' && type != 'B' && type != 'D')
                continue;
            SCOPED_TRACE(std::to_string(room) + ":" + name);
            AppState* state = TheApp::makeRoomState(*frame, (std::to_string(room) + ":" + name).c_str());
            ASSERT_TRUE(state);
            state->setNew(1);
            frame->goToState(state, 1);
            Pump();
            long groups = 1;
            if (type != 'B') {
                AString top = Text(1, frame->currentState()->getLeftState()->fUserInfo.slot(1148));
                groups = static_cast<long>(ASVSallePrecLineGetter::splitLines(top.c_str()).size());
            }
            for (long g = 0; g < groups; ++g) {
                if (type != 'B') {
                    AString top = Text(1, frame->currentState()->getLeftState()->fUserInfo.slot(1148));
                    pane->setLevel1(TheApp::getLineLabel(top.c_str(), static_cast<int16_t>(g)).c_str(),
                                    TheApp::getLineValue(top.c_str(), static_cast<int16_t>(g)).c_str(),
                                    static_cast<int16_t>(g), 0);
                    Pump();
                }
                ASSERT_TRUE(index->getLineGetter());
                long count = index->getLineGetter()->getLineCount();
                for (long n = 0; n < count; ++n) {
                    SCOPED_TRACE(n);
                    click(index, n);
                    AString key = index->getLineKey(n);
                    EXPECT_EQ(Str(key), Str(pane->getPaneText()));
                    std::vector<long> docs = DocsOfKey(key);
                    ASSERT_FALSE(docs.empty());
                    ASSERT_TRUE(disc->getLineGetter());
                    ASSERT_EQ(static_cast<long>(docs.size()), disc->getLineGetter()->getLineCount());
                    for (size_t i = 0; i < docs.size(); ++i)
                        EXPECT_EQ(std::to_string(docs[i]), Str(disc->getLineKey(static_cast<long>(i))));
                    ++entries;
                }
            }
            long last = static_cast<long>(disc->getLineGetter()->getLineCount()) - 1;
            centre->shown.clear();
            click(disc, last);
            long doc = std::atol(disc->getLineKey(last).c_str());
            EXPECT_EQ(doc, frame->currentState()->getDocNo());
        }
    }
    EXPECT_GE(entries, 20);
}

TEST_F(RoomPaneTest, EveryEntryOfEveryRoomListsItsLinksRecord) {
    CheckEveryEntry(this, frame, pane, index, disc, centre, [this](ListPane* list, long row) { clickRow(list, row); });
}

class SampleRoomPaneTest : public RoomPaneTest {
protected:
    std::string folder() override {
        std::string sample = std::string("Z:") + SV_BINARY_DIR + "/sample";
        return GetFileAttributesA((sample + "/sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES ? "" : sample;
    }
};

TEST_F(SampleRoomPaneTest, EveryEntryOfEveryRoomListsItsLinksRecord) {
    CheckEveryEntry(this, frame, pane, index, disc, centre, [this](ListPane* list, long row) { clickRow(list, row); });
}

TEST_F(SampleRoomPaneTest, ARoomScreenShowsBannerLevelsIndexAndDocuments) {
    ASSERT_TRUE(openRoom(0, "VISITES"));
    frame->goToState(frame->currentState()->getPrev() ? frame->currentState() : frame->currentState(), 1);
    ASSERT_TRUE(disc->getLineGetter());
    EXPECT_GT(disc->getLineGetter()->getLineCount(), 0);
    EXPECT_FALSE(Str(pane->level(1).label).empty());
    std::string path = picture("room-pane-sample");
    EXPECT_FALSE(path.empty());
}

}  // namespace
