// The navigation chain of the main window: its bound, back and forward, the
// queue of states asked for during an update, temporary states, the screens
// of the tool-bar menus and what an update shows.
#include <gtest/gtest.h>

#include <string>

#include "app/state/ABaseState.h"
#include "framework/clusters/AStaticItem.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace {

// The chain from the oldest state as document numbers, the current one starred.
std::string Chain(Frame1* frame) {
    std::string s;
    if (!frame->stateCount())
        return s;
    for (AppState* p = frame->oldestState(); p; p = p->getNext())
        s += std::to_string(p->getDocNo()) + (p == frame->currentState() ? "*" : "") + ";";
    return s;
}

bool Shown(AComponent* c) {
    return c && (static_cast<ADisplayComponent*>(c)->displayFlags() & ADisplayComponent::kShown);
}

}  // namespace

TEST_F(FrameTest, TheChainKeepsOneStateFewerThanItsLimit) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    struct Row {
        long limit;
        int steps;
        int held;
    } const rows[] = {{5, 10, 4}, {20, 30, 19}, {2, 4, 1}, {1, 25, 19}, {0, 25, 19}, {-7, 25, 19}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.limit);
        frame->setMaxStates(r.limit);
        for (int i = 0; i < r.steps; ++i)
            step(i);
        EXPECT_EQ(r.held, frame->stateCount());
        EXPECT_EQ(r.held, CountedState::live) << "dropped states are deleted";
        EXPECT_EQ(r.steps - 1, frame->currentState()->getDocNo());
        EXPECT_EQ(frame->headState(), frame->currentState());
        // A state of pane 0 makes the next one replace the chain whole.
        frame->goToState(new CountedState(0, 0), 1);
        frame->goToState(new CountedState(), 1);
        EXPECT_EQ(1, frame->stateCount());
        EXPECT_EQ(1, CountedState::live);
    }
}

TEST_F(FrameTest, BackAndForwardMoveTheCurrentStateAndANewStateDropsTheNewerOnes) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->setMaxStates(20);
    step(0);
    EXPECT_EQ(2, frame->commandStatus(1043, 0)) << "no older state at start";
    step(1);
    EXPECT_EQ(1, frame->commandStatus(1043, 0));
    step(2);
    step(3);
    struct Row {
        const char* action;
        const char* chain;
        int16_t back, forward;
    } const rows[] = {
        {"back", "0;1;2*;3;", 1, 1},  {"back", "0;1*;2;3;", 1, 1},   {"forward", "0;1;2*;3;", 1, 1},
        {"back", "0;1*;2;3;", 1, 1},  {"new", "0;1;7*;", 1, 2},       {"forward", "0;1;7*;", 1, 2},
        {"back", "0;1*;7;", 1, 1},    {"back", "0*;1;7;", 2, 1},      {"back", "0*;1;7;", 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.action) + " to " + r.chain);
        std::string a = r.action;
        if (a == "back")
            frame->doCommand(1043, 0);
        else if (a == "forward")
            frame->doCommand(1045, 0);
        else
            step(7);
        EXPECT_EQ(r.chain, Chain(frame));
        EXPECT_EQ(r.back, frame->commandStatus(1043, 0));
        EXPECT_EQ(r.forward, frame->commandStatus(1045, 0));
        EXPECT_EQ(static_cast<int>(frame->stateCount()), CountedState::live);
    }
    EXPECT_EQ(1, frame->currentState()->fHisto) << "a state reached through the history";
    AppState* second = frame->currentState()->getNext();
    frame->goToHistoryState(second);
    EXPECT_EQ(second, frame->currentState());
    frame->goToState(frame->oldestState(), 1);
    EXPECT_EQ("0*;1;7;", Chain(frame)) << "a state of the chain handed again is not linked after itself";
    frame->goToState(frame->headState(), 1);
    EXPECT_EQ("0;1;7*;", Chain(frame));
    CountedState stranger;
    EXPECT_NE("", assertionText([&] { frame->goToHistoryState(&stranger); })) << "not in the chain";
    g_reportInProgress = 0;
}

TEST_F(FrameTest, StatesAskedForDuringAnUpdateAreQueuedAndTheReplacedOneIsFreed) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->setMaxStates(20);
    step(0);
    auto ask = [&](int16_t paneId, long docNo) {
        auto* s = new CountedState();
        s->setDocNo(docNo);
        pane(paneId)->askDuringUpdate = s;
    };
    ask(1201, 1);
    ask(1203, 2);
    ask(1204, 3);
    step(9);
    EXPECT_EQ("0;9;1;3*;", Chain(frame)) << "the first asked, then the last; the middle one is never shown";
    EXPECT_EQ(4, CountedState::live);

    // The first state of all drops what its update asked for.
    frame->setMaxStates(20);
    frame->goToState(new CountedState(0, 0), 1);
    ask(1201, 5);
    ask(1203, 6);
    frame->goToState(new CountedState(), 1);
    EXPECT_EQ("-1*;", Chain(frame));
    EXPECT_EQ(1, CountedState::live);
}

TEST_F(FrameTest, ATemporaryCurrentStateIsReplaced) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->setMaxStates(20);
    struct Row {
        int before;  // states shown before the temporary one
        const char* chain;
    } const rows[] = {{2, "0;1;9*;"}, {0, "9*;"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.chain);
        frame->goToState(new CountedState(0, 0), 1);
        frame->goToState(new CountedState(), 1);
        if (r.before) {
            frame->currentState()->setDocNo(0);
            for (int i = 1; i < r.before; ++i)
                step(i);
            step(8)->fTemporaire = 1;
        } else {
            frame->currentState()->setDocNo(8);
            frame->currentState()->fTemporaire = 1;
        }
        step(9);
        EXPECT_EQ(r.chain, Chain(frame));
        EXPECT_EQ(nullptr, frame->oldestState()->getPrev());
        EXPECT_EQ(static_cast<int>(frame->stateCount()), CountedState::live);
    }
}

TEST_F(FrameTest, AnUpdateShowsTheLayoutOfTheStatesPane) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    AComponent* content = frame->findItem(1200, true);
    AComponent* home = frame->findItem(1201, true);
    frame->doMenuAction(0, 0);
    EXPECT_EQ(0, frame->currentState()->getScreenMode());
    EXPECT_EQ(1, frame->currentState()->getPane());
    EXPECT_FALSE(Shown(content));
    EXPECT_TRUE(Shown(home));
    EXPECT_EQ("1001:update;", ProbePane::log);
    AppState* homeState = frame->currentState();
    ProbePane::log.clear();
    frame->doMenuAction(0, 0);
    EXPECT_EQ(homeState, frame->currentState()) << "home from home does nothing";
    EXPECT_EQ("", ProbePane::log);

    pane(1203)->wanted = 0;
    step(4);
    EXPECT_TRUE(Shown(content));
    EXPECT_FALSE(Shown(home));
    EXPECT_EQ(0u, ProbePane::log.find("1002:update;1202:show;1202:update;1210:show;"));
    EXPECT_NE(std::string::npos, ProbePane::log.find("1203:hide;1204:show;"));
    EXPECT_EQ(std::string::npos, ProbePane::log.find("1203:update")) << "an unwanted pane is not refreshed";

    // A state whose layout is missing is an error the frame survives.
    AComponent* gone = frame->findItem(1001, true);
    DeleteComponent(gone);
    EXPECT_NE("", assertionText([&] { frame->doMenuAction(0, 0); }));
    g_reportInProgress = 0;
    step(5);
    EXPECT_EQ(5, frame->currentState()->getDocNo()) << "the frame is not left busy";
}

TEST_F(FrameTest, TheSearchScreensComeBackAsClonesCarryingALockedDocument) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->setMaxStates(20);
    frame->doMenuAction(0, 0);
    frame->doMenuAction(1, 3);
    AppState* third = frame->currentState();
    ASSERT_NE(nullptr, third->getLeftState());
    EXPECT_EQ(1, third->getScreenMode());
    EXPECT_EQ(3, third->getLeftState()->fMode);
    EXPECT_EQ(1, frame->menuItemIsCurrent(1041, 3));
    EXPECT_EQ(0, frame->menuItemIsCurrent(1041, 4));
    frame->doMenuAction(1, 3);
    EXPECT_EQ(third, frame->currentState()) << "the screen already shown";
    EXPECT_EQ(2, frame->stateCount());

    frame->doMenuAction(1, 4);
    AppState* fourth = frame->currentState();
    EXPECT_EQ(4, fourth->getLeftState()->fMode);
    fourth->setDocNo(42);
    fourth->getDocState()->fCadenas = 1;
    frame->doMenuAction(1, 3);
    AppState* again = frame->currentState();
    EXPECT_NE(third, again);
    EXPECT_EQ(3, again->getLeftState()->fMode);
    EXPECT_EQ(42, again->getDocNo()) << "the locked document comes along";
    EXPECT_TRUE(again->hasDocCadenas());
    EXPECT_EQ(0, again->fTemporaire);

    again->getDocState()->fCadenas = 0;
    fourth->setDocNo(-1);
    frame->doMenuAction(1, 4);
    AppState* unlocked = frame->currentState();
    EXPECT_EQ(-1, unlocked->getDocNo());
    EXPECT_EQ(1, unlocked->fTemporaire) << "a search screen without a document is temporary";
    EXPECT_EQ(1, unlocked->getDocState()->fDocType);
}

TEST_F(FrameTest, RoomAndAddressScreens) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->doMenuAction(0, 0);
    frame->doMenuAction(2, 4);
    AppState* room = frame->currentState();
    EXPECT_EQ(3, room->getScreenMode());
    EXPECT_EQ(4, room->fSalle);
    EXPECT_EQ(3006, room->getDocState()->fPane);
    EXPECT_EQ(nullptr, room->getLeftState());
    EXPECT_EQ(1, frame->menuItemIsCurrent(1042, 3)) << "room 4 is the third line of the rooms menu";
    frame->doMenuAction(2, 4);
    EXPECT_EQ(room, frame->currentState()) << "the room already shown";

    services.addresses["4_3"] = "http://service/compl.html";
    services.addresses["6_3"] = "http://service/page.html";
    struct Row {
        int16_t room;
        bool connected;
        const char* urls;
    } const rows[] = {{5, false, ""}, {5, true, "http://service/compl.html;"}, {7, false, "http://service/page.html;"},
                      {8, true, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.room);
        services.urls.clear();
        services.connected = r.connected;
        AppState* before = frame->currentState();
        frame->switchScreen(0, 2, 4, r.room);
        EXPECT_EQ(r.urls, services.urls);
        EXPECT_EQ(*r.urls != 0, frame->currentState() != before);
    }
}

namespace {

std::string Describe(AppState* s) {
    auto v = [](ABaseState* p, long key) { return std::to_string(p->fUserInfo.slot(key)); };
    std::string d = "mode " + std::to_string(s->getScreenMode()) + " pane " + std::to_string(s->getPane()) + " doc " +
                    std::to_string(s->getDocNo()) + " room " + std::to_string(s->fSalle);
    if (ADocState* doc = s->getDocState())
        d += " | D" + std::to_string(doc->fPane) + " kind " + std::to_string(doc->fDocType) + " lock " +
             std::to_string(doc->fCadenas) + " new " + std::to_string(doc->fNew) + " clone " +
             std::to_string(doc->fClone) + " u2 " + v(doc, 2) + " u9 " + v(doc, 9) + " saved " + v(doc, 1201);
    if (ALeftState* left = s->getLeftState())
        d += " | L mode " + std::to_string(left->fMode) + " expand " + std::to_string(left->fExpand) + " new " +
             std::to_string(left->fNew) + " clone " + std::to_string(left->fClone) + " saved " + v(left, 1210);
    if (ARightState* right = s->getRightState())
        d += " | R" + std::to_string(right->fPane) + " ext " + std::to_string(right->fExtDocNo) + " lock " +
             std::to_string(right->fCadenas) + " expand " + std::to_string(right->fExpand) + " clone " +
             std::to_string(right->fClone);
    return d;
}

}  // namespace

TEST_F(FrameTest, ANewStateKeepsOrRenewsEachPartOfTheCurrentOne) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    auto* doc = new ADocState(1201);
    doc->fCadenas = 1;
    doc->fUserInfo.slot(2) = 5;
    doc->fUserInfo.slot(9) = 7;
    auto* left = new ALeftState();
    left->fMode = 3;
    left->fExpand = 0;
    auto* right = new ARightState(1205, 44);
    right->fCadenas = 1;
    auto* cur = new AppState(1, 2, doc, left, right, nullptr, 12);
    cur->fSalle = 6;
    frame->goToState(cur, 1);
    struct Row {
        int16_t keepLeft, keepDoc, keepRight, leftIndex, kind, mode;
        const char* state;
    } const rows[] = {
        {0, 0, 0, -1, 0, -1,
         "mode 1 pane 2 doc -1 room 6 | D1300 kind 0 lock 1 new 1 clone 0 u2 5 u9 0 saved 0 | L mode 3 expand 1 new 1 "
         "clone 0 saved 0 | R1205 ext 44 lock 1 expand 1 clone 0"},
        {0, 0, 0, 5, 2, 3,
         "mode 3 pane 2 doc -1 room 6 | D1302 kind 2 lock 1 new 1 clone 0 u2 5 u9 0 saved 0 | L mode 5 expand 1 new 1 "
         "clone 0 saved 0 | R1205 ext 44 lock 1 expand 1 clone 0"},
        {1, 1, 1, 5, 8, 4,
         "mode 4 pane 2 doc 12 room 6 | D1201 kind 0 lock 1 new 0 clone 1 u2 5 u9 7 saved 1 | L mode 3 expand 0 new 0 "
         "clone 1 saved 1"},
        {1, 0, 1, -1, 1, -1,
         "mode 1 pane 2 doc -1 room 6 | D1301 kind 1 lock 1 new 1 clone 0 u2 5 u9 0 saved 0 | L mode 3 expand 0 new 0 "
         "clone 1 saved 1 | R1205 ext 44 lock 1 expand 1 clone 1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.state);
        AppState* made = frame->makeNavState(r.keepLeft, r.keepDoc, r.keepRight, 0, r.leftIndex, r.kind, r.mode);
        EXPECT_EQ(r.state, Describe(made));
        delete made;
    }
    EXPECT_EQ(1, doc->fUserInfo.slot(1201)) << "the wanted document panes saved into the part left";
    EXPECT_EQ(0, doc->fUserInfo.slot(1202) + doc->fUserInfo.slot(1205)) << "the right pane is no document pane";
}
