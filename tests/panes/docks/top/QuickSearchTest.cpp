// The quick search field: what a query starts, the state it builds, the query
// history and its popup rows, and when the search runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/lines/ASVSiSearchLineGetter.h"
#include "app/popup/PopupTree.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/controls/AEditBox.h"
#include "panes/docks/top/DockTopLeftRechPane.h"
#include "tests/panes/docks/top/TopDockTestSupport.h"

TEST_F(TopDockTest, AQueryBuildsTheResultStateAndOnlyAFoundOneEntersTheHistory) {
    if (!open())
        GTEST_SKIP() << "no display";
    dock.found = {{"calque", "calque"}, {"kalk", "calque"}};
    struct Row {
        const char* query;
        bool locked;
        bool newState;
        const char* field;  // the field after the refresh
        long history;
    } const rows[] = {
        {"", false, false, "", 0},
        {"rien", false, false, "rien", 0},
        {"calque", false, true, "calque", 1},
        {"kalk", false, true, "calque", 2},  // the application's alternative is what is kept
        {"calque", true, true, "calque", 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.query + std::string(r.locked ? " locked" : ""));
        AppState* before = show(2, 0, -1, 5);
        before->setDocCadenas(r.locked ? 1 : 0);
        before->getDocState()->fUserInfo.slot(1234) = 9;
        rech->field()->setText(r.query);
        // Enter in the field: the field tells its pane, which runs the search button's command.
        rech->field()->notifyOwner(2);
        AppState* after = frame->currentState();
        EXPECT_EQ(r.newState, after != before);
        EXPECT_EQ(r.field, std::string(rech->field()->getText().c_str()));
        EXPECT_EQ(r.history, dock.history->count());
        if (!r.newState)
            continue;
        EXPECT_EQ(1, after->getScreenMode());
        ASSERT_TRUE(after->getLeftState());
        EXPECT_EQ(1, after->getLeftState()->fMode);
        ASSERT_TRUE(after->getSearchState());
        EXPECT_EQ(r.field, std::string(after->getSearchState()->getText(4).c_str()));
        EXPECT_EQ(r.field, std::string(dock.history->get(static_cast<int16_t>(r.history - 1)).c_str()));
        // Locked, the document part is kept (with its values); else a list part of kind 1 is made.
        EXPECT_EQ(r.locked ? 0 : 1, after->getDocState()->fDocType);
        EXPECT_EQ(r.locked ? 9 : 0, after->getDocState()->fUserInfo.slot(1234));
        EXPECT_EQ("rech", shownPanes().substr(0, 4));
    }
}

TEST_F(TopDockTest, TheHistoryKeepsTheNewestQueriesForItsPopup) {
    if (!open())
        GTEST_SKIP() << "no display";
    dock.history = std::make_unique<ASiReqSearch>(5);
    show(2, -1, -1);
    EXPECT_EQ(2, status(rech, 3151));
    for (int i = 0; i < 6; ++i) {
        std::string q = "q" + std::to_string(i);
        dock.found[q] = q;
        rech->setSearchText(q.c_str());
        EXPECT_EQ(1, status(rech, 3151));
    }
    ASSERT_EQ(5, dock.history->count());
    std::string rows;
    for (int16_t i = 0; i < 5; ++i)
        rows += std::string(dock.history->get(i).c_str()) + ";";
    EXPECT_EQ("q1;q2;q3;q4;q5;", rows) << "the oldest went";
    // The popup lists them newest first, each keyed by its place.
    ASVSiSearchLineGetter lines(dock.history.get());
    std::string popup;
    for (long n = 0; n < lines.getLineCount(); ++n) {
        AString line;
        lines.getLine(line, n);
        popup += std::string(line.c_str()) + ";";
    }
    EXPECT_EQ(" q5#4; q4#3; q3#2; q2#1; q1#0;", popup);
    // A chosen row puts its query back into the field and runs it.
    APopupTreeCallBackSiSearch chooser(rech);
    chooser.itemChosen(" q2", "1", 3, nullptr);
    EXPECT_EQ("q2", std::string(rech->field()->getText().c_str()));
    EXPECT_EQ(7, dock.searches);
    // The same from the popup, twice: the choice waits for the command queue,
    // and the pane keeps its callback for the next popup.
    AStyleSheetSet sheets(AFileSpec(SV_SOURCE_DIR "/tools/sample/svstyles.xml"), 0);
    dock.sheets = &sheets;
    for (const char* key : {"3", "0"}) {
        SCOPED_TRACE(key);
        std::string before(rech->field()->getText().c_str());
        std::string wanted(dock.history->get(int16_t(atoi(key))).c_str());
        rech->showQueryHistory();
        auto* tree = dynamic_cast<PopupTree*>(app->findDescendant(&PopupTree::classRecord, nullptr));
        ASSERT_TRUE(tree);
        tree->rowClicked(3, key, key, 0);
        EXPECT_EQ(before, std::string(rech->field()->getText().c_str())) << "not inside the popup's handlers";
        app->commandQueue().run();
        EXPECT_EQ(wanted, rech->field()->getText().c_str());
        EXPECT_EQ(nullptr, app->findDescendant(&PopupTree::classRecord, nullptr)) << "the popup is gone";
    }
    dock.sheets = nullptr;
}

TEST_F(TopDockTest, TheSearchButtonWaitsForTheLoopOnlyOnTheHomeScreen) {
    if (!open())
        GTEST_SKIP() << "no display";
    dock.found = {{"calque", "calque"}};
    for (int16_t screen : {0, 2}) {
        SCOPED_TRACE(screen);
        dock.searches = 0;
        show(screen, -1, -1);
        rech->field()->setText("calque");
        press(rech, 3152);
        EXPECT_EQ(screen == 0 ? 0 : 1, dock.searches);
        app->commandQueue().run();
        EXPECT_EQ(1, dock.searches);
    }
}
