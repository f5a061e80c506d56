// The left dock in a main window laid out as the reader's: its four modes
// through the show and hide buttons and the sizer, the entry bars and the
// screens they switch to, and the padlock.
#include <gtest/gtest.h>

#include <string>

#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AActionTable.h"
#include "panes/search/left/DockLeftPane.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "search/facade/ALoVect.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

namespace {

// The command of a range entry as its bar delivers it.
void ClickEntry(DockLeftPane* dock, int16_t command, int16_t first, int16_t index) {
    AActionRecord record = MakeActionRecord(nullptr, 2, first, index, 0);
    dock->doCommand(command, ActionArgument(&record));
}

}  // namespace

TEST_F(LeftDockTest, ShowHideButtonsAndTheSizerMoveBetweenTheFourModes) {
    newSearch(nullptr);
    ALeftState* left = frame->currentLeftState();
    ASSERT_TRUE(left);
    struct Row {
        const char* what;
        int16_t from;
        long key8;
        int16_t command;  // 0: the sizer reports position
        long position;
        int16_t mode;
        long key8After;
    } const rows[] = {
        {"show from folded", 0, 0, DockLeftPane::kShowButton, 0, 1, 0},
        {"show from normal, no width", 1, 0, DockLeftPane::kShowButton, 0, 3, 0},
        {"show from normal, a width", 1, 120, DockLeftPane::kShowButton, 0, 2, 120},
        {"show from the reader's width", 2, 120, DockLeftPane::kShowButton, 0, 3, 120},
        {"show at full width", 3, 0, DockLeftPane::kShowButton, 0, 3, 0},
        {"hide A from full, a width", 3, 120, DockLeftPane::kHideA, 0, 2, 120},
        {"hide A from full, no width", 3, 0, DockLeftPane::kHideA, 0, 1, 0},
        {"hide A from the reader's width", 2, 120, DockLeftPane::kHideA, 0, 1, 120},
        {"hide A from normal", 1, 0, DockLeftPane::kHideA, 0, 0, 0},
        {"hide A when folded", 0, 0, DockLeftPane::kHideA, 0, 0, 0},
        {"hide B folds at once", 3, 0, DockLeftPane::kHideB, 0, 0, 0},
        {"sizer at its lower limit", 2, 120, 0, 250, 1, 0},
        {"sizer elsewhere", 1, 0, 0, 280, 2, 280},
        {"sizer while folded stores the width only", 0, 0, 0, 280, 0, 280},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        dock->applyDockMode(r.from);
        left->fUserInfo.slot(8) = r.key8;
        if (r.command)
            dock->doCommand(r.command, 0);
        else
            dock->setDockMode(r.position);
        EXPECT_EQ(r.mode, dock->getDockMode());
        EXPECT_EQ(r.mode, left->fExpand);
        EXPECT_EQ(r.key8After, left->fUserInfo.slot(8));
    }
    // Folding hides the pane's children and the sizer; unfolding shows the wanted ones.
    dock->applyDockMode(1);
    dock->applyDockMode(0);
    EXPECT_FALSE(searchPane->hasFlags(ADisplayComponent::kShown));
    dock->applyDockMode(1);
    EXPECT_TRUE(searchPane->hasFlags(ADisplayComponent::kShown));
    // Key 7 hides the buttons and makes them unavailable.
    left->fUserInfo.slot(7) = 1;
    for (int16_t id : {DockLeftPane::kShowButton, DockLeftPane::kHideA, DockLeftPane::kHideB})
        EXPECT_EQ(2, dock->commandStatus(id, 0)) << id;
    left->fUserInfo.slot(7) = 0;
    EXPECT_EQ(1, dock->commandStatus(DockLeftPane::kShowButton, 0));
    EXPECT_EQ(1, dock->commandStatus(DockLeftPane::kHideA, 0)) << "a text document's digit 11 is 0";
    EXPECT_EQ(2, dock->commandStatus(DockLeftPane::kHideB, 0));
}

TEST_F(LeftDockTest, EntryBarsFollowTheScreenAndSwitchIt) {
    newSearch(nullptr);
    AppState* state = frame->currentState();
    EXPECT_EQ(0, dock->barOfScreen(1, 0));
    EXPECT_EQ(4, dock->barOfScreen(4, 4));
    EXPECT_EQ(-1, dock->barOfScreen(4, 12));
    EXPECT_EQ(10, dock->barOfScreen(6, 0));
    EXPECT_EQ(-1, dock->barOfScreen(3, 0));
    EXPECT_TRUE(dock->getBar(0)->hasFlags(ADisplayComponent::kShown));
    EXPECT_FALSE(dock->getBar(4)->hasFlags(ADisplayComponent::kShown));
    EXPECT_EQ(0, dock->getCurrentEntry());
    EXPECT_EQ(5, dock->commandStatus(DockLeftPane::kStrip, 0)) << "entry 0 is pressed";
    EXPECT_EQ(2, dock->commandStatus(0x4dd, 0)) << "the room bar is not shown";
    // The current entry again narrows an open dock by one step (hide A: a text document).
    dock->applyDockMode(1);
    ClickEntry(dock, DockLeftPane::kStrip, 0x4c5, 0);
    EXPECT_EQ(0, dock->getDockMode());
    ClickEntry(dock, DockLeftPane::kStrip, 0x4c5, 0);
    EXPECT_EQ(1, dock->getDockMode()) << "unfolded";
    // Another entry switches the screen: entry 2 is the left mode 3.
    ClickEntry(dock, DockLeftPane::kStrip, 0x4c5, 2);
    Pump();
    ASSERT_NE(state, frame->currentState());
    EXPECT_EQ(3, frame->currentLeftState()->fMode);
    EXPECT_EQ(2, dock->getCurrentEntry());
    // The fourth room's bar passes entries 1 and 2 as 4 and 5; the other bars pass them as they are.
    struct Row {
        int bar;
        int16_t entry;
        int16_t value;
    } const rows[] = {{4, 0, 0}, {4, 1, 4}, {4, 2, 5}, {3, 1, 1}, {5, 2, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.bar) + " " + std::to_string(r.entry));
        EXPECT_EQ(r.value, DockLeftPane::roomEntryValue(r.bar, r.entry));
    }
}

TEST_F(LeftDockTest, ThePadlockSwitchesManualDisplayIntoTheDocumentPart) {
    newSearch(nullptr);
    EXPECT_EQ(1, dock->commandStatus(DockLeftPane::kPadlock, 0));
    dock->doCommand(DockLeftPane::kPadlock, 0);
    EXPECT_EQ(1, dock->getManualDisplay());
    EXPECT_EQ(5, dock->commandStatus(DockLeftPane::kPadlock, 0));
    EXPECT_EQ(1, frame->currentDocState()->fCadenas);
    dock->doCommand(DockLeftPane::kPadlock, 0);
    EXPECT_EQ(0, frame->currentDocState()->fCadenas);
}
