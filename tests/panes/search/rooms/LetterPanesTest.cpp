// The room panes of the left dock (rooms A to E and GLI) in the left dock
// of a test window: which pane a room state wants, the keys, the level
// chain and its popups, the restored states and the author list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "app/lines/ASVSallePrecLineGetter.h"
#include "app/lists/AListApp.h"
#include "reader/TheApp.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "panes/search/left/DockLeftPane.h"
#include "panes/search/rooms/DockLeftSalleAPane.h"
#include "panes/search/rooms/DockLeftSalleBPane.h"
#include "panes/search/rooms/DockLeftSalleCPane.h"
#include "panes/search/rooms/DockLeftSalleDPane.h"
#include "panes/search/rooms/DockLeftSalleEPane.h"
#include "panes/search/rooms/DockLeftSalleGLIPane.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"
#include "panes/search/rooms/LR_RechE.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ASearchBase.h"
#include "tests/panes/search/rooms/RoomTestSupport.h"

namespace {

std::string Str(const AString& s) {
    return s.c_str();
}

AString RoomRecord(long r) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(8) : nullptr;
    return base ? base->getText(1, r, 1) : AString();
}

class LetterPaneTest : public LeftDockTest {
protected:
    void SetUp() override {
        LeftDockTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        gDataLocation = &location;  // the room links read the tab numbers from it
        AListApp::install(&roomApp);
        for (int16_t id : {2007, 2008, 2009, 2010, 2011, 2012, 2013, 2014, 2015, 2017}) {
            auto* pane = dynamic_cast<DockLeftSallePane*>(frame->findById(id, 0));
            ASSERT_TRUE(pane) << id;
            panes.push_back(pane);
        }
    }
    void TearDown() override {
        if (gDataLocation == &location)
            gDataLocation = nullptr;
        LeftDockTest::TearDown();
    }
    // Opens the tab of room (from 0), fresh or restored; the left part.
    ALeftState* open(int room, const char* tab, int16_t histo = 0) {
        AppState* state = TheApp::makeRoomState(*frame, (std::to_string(room) + ":" + tab).c_str());
        if (!state)
            return nullptr;
        state->setNew(histo ? 0 : 1);
        state->getLeftState()->fHisto = histo;
        frame->goToState(state, 1);
        Pump();
        return frame->currentState()->getLeftState();
    }
    template <class T>
    T* pane(int16_t id) {
        return dynamic_cast<T*>(frame->findById(id, 0));
    }
    std::vector<DockLeftSallePane*> wanted() {
        std::vector<DockLeftSallePane*> out;
        for (DockLeftSallePane* p : panes)
            if (p->isPaneWanted())
                out.push_back(p);
        return out;
    }

    RoomListApp roomApp;
    std::vector<DockLeftSallePane*> panes;
};

TEST_F(LetterPaneTest, ExactlyOnePaneIsWantedPerLetterAndSource) {
    struct Row {
        char letter;
        int16_t source;
        int16_t salle;
        int16_t paneId;  // 0: none
    };
    const Row rows[] = {
        {'A', 0, 1, 2007}, {'A', 2, 1, 2008}, {'A', 1, 1, 2009}, {'B', 0, 2, 2010}, {'B', 1, 2, 2011},
        {'C', 0, 3, 2012}, {'C', 1, 3, 0},    {'D', 0, 4, 2013}, {'D', 1, 4, 2014}, {'D', 2, 4, 0},
        {'E', 0, 8, 2015}, {'E', 1, 8, 0},    {'G', 0, 6, 2017}, {'G', 2, 6, 2017}, {'A', 1, 0, 0},
        {'A', 0, -1, 0},   {'B', 2, 2, 0},
    };
    ASSERT_TRUE(open(0, "VISITES"));
    AppState* state = frame->currentState();
    ALeftState* left = state->getLeftState();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(1, row.letter) + std::to_string(row.source) + " salle " + std::to_string(row.salle));
        left->fSalleType = row.letter;
        left->fSalleLR = row.source;
        state->fSalle = row.salle;
        std::vector<DockLeftSallePane*> found = wanted();
        if (!row.paneId) {
            EXPECT_TRUE(found.empty());
            continue;
        }
        ASSERT_EQ(1u, found.size());
        EXPECT_EQ(row.paneId, found[0]->id());
    }
}

TEST_F(LetterPaneTest, RoomAWithBothSourcesStartsWithItsOnlineListHidden) {
    ASSERT_TRUE(open(0, "PEINTURE"));
    auto* a = pane<DockLeftSalleA_DVDNETPane>(2009);
    ASSERT_TRUE(a && a->isPaneWanted() && a->discList && a->netList);
    EXPECT_TRUE(a->discList->getClient()->shown);
    EXPECT_FALSE(a->netList->getClient()->shown);
    EXPECT_EQ(a->discList->getClient(), a->netList->getClient()->partner);
    // Its online popup opens nothing (no texts are read for the online pane).
    auto* online = pane<DockLeftSalleA_NETPane>(2008);
    ASSERT_TRUE(online);
    EXPECT_NO_THROW(online->openPopup(2021, online->findItem(2021, false)));
}

TEST_F(LetterPaneTest, RoomCBuildsItsKeyFromTheTabRecord) {
    ALeftState* left = open(2, "MINI");
    ASSERT_TRUE(left);
    auto* c = pane<DockLeftSalleCPane>(2012);
    ASSERT_TRUE(c && c->isPaneWanted());
    ASSERT_TRUE(c->discList->getLineGetter());
    EXPECT_GT(c->discList->getLineGetter()->getLineCount(), 0);
    const std::pair<long, const char*> rows[] = {{42, "0:42:-1"}, {-1, "0:-1:-1"}, {0, "0:0:-1"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        left->fUserInfo.slot(1148) = row.first;
        EXPECT_EQ(row.second, Str(c->makeListKey()));
    }
    // A fresh state takes the record's key; the key of record -1 lists nothing.
    left = frame->currentState()->getLeftState();
    left->fHisto = 0;
    left->fUserInfo.slot(1148) = -1;
    c->updatePane();
    EXPECT_EQ("0:-1:-1", Str(c->getPaneText()));
    ARenderer* renderer = c->discList->getListView()->renderer();
    EXPECT_TRUE(!renderer || !renderer->model());
}

TEST_F(LetterPaneTest, LevelButtonsAreMarkedForNonZeroNumbers) {
    const std::pair<const char*, int16_t> rows[] = {{"", 1}, {"0", 1}, {"12", 5}, {"-3", 5}, {"abc", 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        // A restored state shows the values saved with it.
        AppState* state = TheApp::makeRoomState(*frame, "0:VISITES");
        ASSERT_TRUE(state);
        ALeftState* left = state->getLeftState();
        left->fHisto = 1;
        for (int16_t key : {1151, 1155})
            left->setUserTxtInfo(key, row.first);
        frame->goToState(state, 1);
        Pump();
        auto* a = pane<DockLeftSalleA_DVDPane>(2007);
        ASSERT_TRUE(a && a->isPaneWanted());
        EXPECT_EQ(row.second, a->commandStatus(2021, 0));
        EXPECT_EQ(row.second, a->commandStatus(2022, 0));
    }
}

TEST_F(LetterPaneTest, APopupChoiceAtLevelOneReadsTheNewLevelTwoRecord) {
    ALeftState* left = open(0, "VISITES");
    ASSERT_TRUE(left);
    auto* a = pane<DockLeftSalleA_DVDPane>(2007);
    ASSERT_TRUE(a);
    AString top = RoomRecord(left->fUserInfo.slot(1148));
    ASSERT_GE(ASVSallePrecLineGetter::splitLines(top.c_str()).size(), 2u);
    EXPECT_EQ(Str(TheApp::getLineLabel(top.c_str(), 0)), Str(a->level(1).label));
    left->fUserInfo.slot(1153) = 3;
    APopupTreeCallBackSallePop callBack(a, 1);
    callBack.itemChosen(TheApp::getLineLabel(top.c_str(), 1).c_str(), TheApp::getLineValue(top.c_str(), 1).c_str(), 1,
                        nullptr);
    EXPECT_EQ(1, left->fUserInfo.slot(1149));
    EXPECT_EQ(0, left->fUserInfo.slot(1153));
    EXPECT_EQ(Str(TheApp::getLineLabel(top.c_str(), 1)), Str(a->level(1).label));
    long second = std::atol(TheApp::getLineValue(top.c_str(), 1).c_str());
    EXPECT_EQ(second, left->fUserInfo.slot(1152));
    AString level2 = RoomRecord(second);
    EXPECT_EQ(Str(TheApp::getLineLabel(level2.c_str(), 0)), Str(a->level(2).label));
    EXPECT_EQ(Str(level2), Str(a->getPopupText(2022)));
    // The index list shows the level-2 record's entries and the disc list the first one's documents.
    ASSERT_TRUE(a->indexList->getLineGetter());
    EXPECT_EQ(static_cast<long>(ASVSallePrecLineGetter::splitLines(
                  RoomRecord(std::atol(a->level(2).value.c_str())).c_str()).size()),
              a->indexList->getLineGetter()->getLineCount());
}

TEST_F(LetterPaneTest, RestoredStatesShowTheSavedLevelsOfEachLetter) {
    struct Row {
        int room;
        const char* tab;
        int16_t paneId;
        int levels;
    };
    const Row rows[] = {{0, "VISITES", 2007, 2}, {0, "RETOUCHE", 2013, 1}, {5, "GENEALOGIE", 2017, 6}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tab);
        AppState* state = TheApp::makeRoomState(*frame, (std::to_string(row.room) + ":" + row.tab).c_str());
        ASSERT_TRUE(state);
        ALeftState* left = state->getLeftState();
        left->fHisto = 1;
        left->setUserTxtInfo(1147, "0:1");
        for (int k = 1; k <= row.levels; ++k) {
            left->setUserTxtInfo(static_cast<int16_t>(1146 + 4 * k), ("ancien " + std::to_string(k)).c_str());
            left->setUserTxtInfo(static_cast<int16_t>(1147 + 4 * k), std::to_string(k).c_str());
        }
        frame->goToState(state, 1);
        Pump();
        auto* p = pane<DockLeftSallePane>(row.paneId);
        ASSERT_TRUE(p && p->isPaneWanted());
        if (!p->indexList) {  // an index list sets the key of its own selection
            EXPECT_EQ("0:1", Str(p->getPaneText()));
        }
        for (int16_t k = 1; k <= row.levels; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ("ancien " + std::to_string(k), Str(p->level(k).label));
            ASSERT_TRUE(p->level(k).item);
            EXPECT_EQ("ancien " + std::to_string(k), Str(p->level(k).item->getText()));
        }
    }
}

TEST_F(LetterPaneTest, TheGliChainFollowsEachChoiceAndEndsAtABrokenValue) {
    ALeftState* left = open(5, "GENEALOGIE");
    ASSERT_TRUE(left);
    auto* g = pane<DockLeftSalleGLIPane>(2017);
    ASSERT_TRUE(g && g->isPaneWanted());
    // Each level's record is the value chosen above it; the sixth's value is the list's key.
    for (int16_t k = 2; k <= 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(std::atol(g->level(static_cast<int16_t>(k - 1)).value.c_str()),
                  left->fUserInfo.slot(1144 + 4 * k));
        EXPECT_FALSE(Str(g->level(k).label).empty());
    }
    EXPECT_EQ(Str(g->level(6).value), Str(g->getPaneText()));
    ASSERT_TRUE(g->discList->getLineGetter());
    EXPECT_GT(g->discList->getLineGetter()->getLineCount(), 0);
    for (int16_t id = 2021; id <= 2026; ++id)
        EXPECT_EQ(id == 2026 ? 1 : 5, g->commandStatus(id, 0)) << id;  // "0:n" reads as 0

    // A choice at level 2 resets the rows below it to the first lines of the new chain.
    for (int key : {1157, 1161, 1165, 1169})
        left->fUserInfo.slot(key) = 1;
    APopupTreeCallBackSallePop(g, 2).itemChosen("choix", g->level(2).value.c_str(), 1, nullptr);
    for (int16_t k = 3; k <= 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(0, left->fUserInfo.slot(1145 + 4 * k));
        AString record = RoomRecord(left->fUserInfo.slot(1144 + 4 * k));
        EXPECT_EQ(Str(TheApp::getLineLabel(record.c_str(), 0)), Str(g->level(k).label));
    }

    // A level whose values name no record (result keys here) ends the chain:
    // the deeper levels show empty, nothing is read out of the table.
    AString tabs = gDataManager->getBase(8)->getText(3, 1, 1);
    long indexRecord = std::atol(TheApp::getLineValue(tabs.c_str(), 0).c_str() + 4);  // "B:0:n:0"
    // The disc list may have opened its first document: a state of its own.
    left = frame->currentState()->getLeftState();
    left->fUserInfo.slot(1148) = indexRecord;
    left->fUserInfo.slot(1149) = 0;
    ASSERT_NO_THROW(g->updatePane());
    EXPECT_FALSE(Str(g->level(1).label).empty());
    for (int16_t k = 2; k <= 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(-1, left->fUserInfo.slot(1144 + 4 * k));
        EXPECT_EQ("", Str(g->level(k).label));
        EXPECT_EQ("", Str(g->getPopupText(static_cast<int16_t>(2020 + k))));
    }
}

TEST_F(LetterPaneTest, TheAuthorFieldTakesAtMost128CharactersAndTheListStartsEmpty) {
    ALeftState* left = open(7, "JEUX");
    ASSERT_TRUE(left);
    auto* e = pane<DockLeftSalleEPane>(2015);
    ASSERT_TRUE(e && e->isPaneWanted());
    auto* authors = dynamic_cast<LR_RechE*>(e->searchList);
    ASSERT_TRUE(authors && authors->getEdit());
    EXPECT_EQ(128, authors->getEdit()->maxLength());
    EXPECT_EQ("", Str(authors->getEdit()->getText()));
    // Re-choosing the author shown keeps the state as the history left it.
    e->setPaneText("0:3");
    frame->currentState()->setHisto(1);
    EXPECT_EQ(0, e->setPaneText("0:3"));
    EXPECT_EQ(1, frame->currentState()->fHisto);
    // The typed text goes with the state.
    authors->getEdit()->setText("Mar");
    ALeftState saved;
    authors->saveState(&saved);
    EXPECT_EQ("Mar", Str(saved.getUserTxtInfo(1045)));
}

}  // namespace

namespace {

// The room panes over the sample (skipped when it is not built).
class SampleLetterPaneTest : public LetterPaneTest {
protected:
    std::string dataFolder() override {
        std::string sample = std::string("Z:") + SV_BINARY_DIR + "/sample";
        return GetFileAttributesA((sample + "/sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES ? "" : sample;
    }
    void SetUp() override {
        if (dataFolder().empty())
            GTEST_SKIP() << "no sample (tools/sample/build.sh)";
        LetterPaneTest::SetUp();
    }
};

TEST_F(SampleLetterPaneTest, TypingFindsAnAuthorAndAClickListsExactlyTheirPages) {
    ALeftState* left = open(7, "JEUX");
    ASSERT_TRUE(left);
    auto* e = pane<DockLeftSalleEPane>(2015);
    ASSERT_TRUE(e && e->isPaneWanted());
    auto* authors = dynamic_cast<LR_RechE*>(e->searchList);
    ASSERT_TRUE(authors && authors->getIndex() && authors->getLineGetter());
    long count = authors->getLineGetter()->getLineCount();
    ASSERT_GT(count, 10) << "the man pages' authors and translators";
    HWND field = authors->getEdit()->nativeChild() ? authors->getEdit()->nativeChild()->hwnd() : nullptr;
    ASSERT_TRUE(field);
    EXPECT_EQ(128, static_cast<int>(SendMessageA(field, EM_GETLIMITTEXT, 0, 0)));
    ASearchBase* text = gDataManager->getBase(5);  // TEXT: DOC 0, EXT 1, TITLE 2
    for (long row : {0L, count / 2, count - 1}) {
        SCOPED_TRACE(row);
        std::string entry = Str(authors->getIndex()->getText(row));
        std::string name = entry.substr(0, entry.find('#'));
        AString key = authors->getLineKey(row);
        // Typing the name's start moves the list to the first entry at or after it.
        std::string typed = name.substr(0, 4);
        authors->getEdit()->setText(typed.c_str());
        AKindSet kinds;
        kinds.add(kUpdateValue);
        authors->getEdit()->notify(kinds);
        Pump();
        ARenderer* r = authors->getListView()->renderer();
        ASSERT_TRUE(r);
        EXPECT_EQ(authors->getIndex()->find(typed.c_str()), r->currentItem());

        clickRow(authors, row);
        EXPECT_EQ(Str(key), Str(e->getPaneText()));
        // The author shown, clicked again, keeps the state as the history left it.
        frame->currentState()->setHisto(1);
        clickRow(authors, row);
        EXPECT_EQ(1, frame->currentState()->fHisto);
        ASSERT_TRUE(e->discList->getLineGetter());
        AString list = AListApp::current().getLinkRecord(0, std::atol(key.c_str() + 2));
        long listed = std::atol(list.c_str());
        ASSERT_EQ(listed, e->discList->getLineGetter()->getLineCount());
        // Each page listed names the person in its own author or translation section.
        for (long i = 0; i < listed; ++i) {
            long doc = std::atol(e->discList->getLineKey(i).c_str());
            SCOPED_TRACE(doc);
            std::string page = Str(text->getText(1, doc, 1));
            page = page.substr(0, page.find('#'));  // the right dock's fields follow
            bool named = false;
            for (long k = doc + 1; !named; ++k) {
                std::string ext = Str(text->getText(1, k, 1));
                if (ext.substr(0, ext.find('#')) != page)  // the page's sections follow it
                    break;
                std::string title = Str(text->getText(2, k, 1));
                bool section = title.find("\x97 AUTEUR") != std::string::npos ||
                               title.find("\x97 TRADUCTION") != std::string::npos;
                named = section && Str(text->getText(0, k, 1)).find(name) != std::string::npos;
            }
            EXPECT_TRUE(named) << page << " " << name;
        }
    }
}

}  // namespace
