// The themes pane in the left dock over the small installation (LINKS
// records 1 "1:4:2" and 2 "3:4:0,1,2", every other one empty): when it is
// shown, the theme keys the article list reads, the path of a theme and its
// buttons, and the state a fresh themes screen stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lines/StandardLineGetter.h"
#include "app/state/APrevNextState.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/themes/DockLeftThemePane.h"
#include "panes/search/themes/LR_ThemeDVD.h"
#include "panes/search/themes/RechThemePrec.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

namespace {

class ThemesPaneTest : public LeftDockTest {
protected:
    void SetUp() override {
        LeftDockTest::SetUp();
        if (!frame)
            return;
        pane = dynamic_cast<DockLeftThemePane*>(frame->findById(2400, 0));
        ASSERT_TRUE(pane);
        tree = pane->themeTree;
        list = pane->themeList;
        ASSERT_TRUE(tree && list);
    }
    // A new themes state (screen 1, left mode 4), shown.
    AppState* showThemes(int16_t mode = 4) {
        auto* left = new ALeftState;
        left->fMode = mode;
        left->fExpand = 1;
        left->fNew = 1;
        auto* doc = new ADocState(1203);
        doc->fDocType = 1;
        auto* state = new AppState(1, 2, doc, left, new ARightState(1205, -1), nullptr, -1);
        state->setNew(1);
        frame->goToState(state, 1);
        Pump();
        return frame->currentState();
    }
    std::string count() {
        auto* text = dynamic_cast<AStaticText*>(list->findItem(2532, false));
        return text ? text->getText().c_str() : "(none)";
    }
    long rowCount() { return list->getLineGetter() ? list->getLineGetter()->getLineCount() : 0; }
    // Chooses a theme as a click on its row does.
    void choose(const char* key) {
        if (pane->setPaneText(key))
            pane->showResultList();
        Pump();
    }
    DockLeftThemePane* pane = nullptr;
    RechThemePrec* tree = nullptr;
    LR_ThemeDVD* list = nullptr;
};

}  // namespace

TEST_F(ThemesPaneTest, ShownForTheFourthEntryAndAFreshScreenStoresItsSelection) {
    struct Row {
        int16_t mode;
        int16_t wanted;
    } const rows[] = {{4, 1}, {3, 0}, {1, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        showThemes(r.mode);
        EXPECT_EQ(r.wanted, pane->isPaneWanted());
    }
    AppState* state = showThemes();
    ALeftState* left = state ? state->getLeftState() : nullptr;
    ASSERT_TRUE(left);
    EXPECT_EQ(0, left->fUserInfo.slot(1020));
    EXPECT_EQ(-2, left->fUserInfo.slot(1021));
    ASSERT_NE(nullptr, tree->getTreeModel()) << "the tree is built on the first refresh, empty here";
    EXPECT_EQ(2, pane->commandStatus(1234, 0)) << "the list view without a document: the guide is shown already";
}

TEST_F(ThemesPaneTest, TheThemeKeyGivesTheListAndItsCount) {
    // A right part entry that only the padlocked part itself carries.
    const long kLockedMark = 2999;
    showThemes();
    struct Row {
        const char* key;
        long rows;
        const char* count;
        long opened;  // the document the list opens, -1 none
    } const rows[] = {
        {"0:2", 3, "3 Documents", 0},
        {"0:-1", 3, "3 Documents", -1},  // no list: the list stays as it was
        {"7:1", 1, "1 Document", 2},
        {"0:0", 0, "Aucun document \xE0 afficher", -1},
        {"0:2", 3, "3 Documents", 0},
        {"x:-7", 0, "Aucun document \xE0 afficher", -1},
        {"0:2", 3, "3 Documents", 0},
        {"0:abc", 0, "Aucun document \xE0 afficher", -1},
        {"0:1", 1, "1 Document", 2},
        {"", 0, "Aucun document \xE0 afficher", -1},  // a theme without articles
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        centre->shown.clear();
        choose(r.key);
        EXPECT_EQ(r.rows, rowCount());
        EXPECT_EQ(r.count, count());
        EXPECT_EQ(r.opened < 0 ? "" : std::to_string(r.opened) + ";", centre->shown);
    }

    // A click on a row opens its document.
    choose("0:2");
    centre->shown.clear();
    clickRow(list, 1);
    EXPECT_EQ("1;", centre->shown);

    // Even a padlocked right part makes way for the new document's own.
    ARightState* locked = frame->currentState()->getRightState();
    ASSERT_TRUE(locked);
    locked->fCadenas = 1;
    locked->fUserInfo.slot(kLockedMark) = 7;
    clickRow(list, 2);
    EXPECT_EQ(2, frame->currentState()->getDocNo());
    ARightState* right = frame->currentState()->getRightState();
    ASSERT_TRUE(right);
    EXPECT_EQ(0, right->fUserInfo.slot(kLockedMark)) << "not the padlocked part kept";

    // The chosen theme again: no reload, the history flag untouched.
    choose("0:2");
    AppState* state = frame->currentState();
    ASSERT_TRUE(state);
    state->fHisto = 1;
    centre->shown.clear();
    EXPECT_EQ(0, pane->setPaneText("0:2"));
    EXPECT_EQ(1, state->fHisto);
    EXPECT_EQ("", centre->shown);
}

TEST_F(ThemesPaneTest, ThePathListsTheAncestorsAndItsButtonsStopAtTheEnds) {
    showThemes();
    BufferedLineGetter themes("Arts#0:1\n\tPeinture\t#0:2\n\t\tHuile#0:3\nSciences", -1);
    struct Row {
        std::vector<long> lines;
        const char* text;
        int16_t previous, next;  // statuses of 2411 and 2412 at the path's end
    } const rows[] = {
        {{0, 1}, "/BArts#0\n/BPeinture#1\n", 1, 2},
        {{0, 1, 2}, "/BArts#0\n/BPeinture#1\n/BHuile#2\n", 1, 2},
        {{3}, "/BSciences#3\n", 2, 2},
        {{}, "", 2, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(r.text, std::string(RechThemePrec::pathText(&themes, r.lines).c_str()));
        tree->fillPath(r.lines);
        EXPECT_EQ(r.previous, tree->commandStatus(2411, 0));
        EXPECT_EQ(r.next, tree->commandStatus(2412, 0));
    }
    // Stepping a three-line path: back to the top, no wrap, then down again.
    tree->fillPath({0, 1, 2});
    struct Step {
        int16_t command;
        long current;
    } const steps[] = {{2411, 1}, {2411, 0}, {2411, 0}, {2412, 1}, {2412, 2}, {2412, 2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        tree->doCommand(s.command, 0);
        EXPECT_EQ(s.current, tree->getPathState()->getCurrent());
    }
}

TEST_F(ThemesPaneTest, AStateFromTheHistoryBringsBackTheThemeAndItsListWithoutOpening) {
    showThemes();
    choose("0:2");
    ASSERT_EQ("3 Documents", count());
    // The state as the history replays it: another theme and its selection.
    auto* left = new ALeftState;
    left->fMode = 4;
    left->fExpand = 1;
    left->fHisto = 1;
    left->setUserTxtInfo(DockLeftThemePane::kKeyKey, "0:1");
    left->fUserInfo.slot(1020) = 0;
    left->fUserInfo.slot(1021) = 0;
    left->fUserInfo.slot(1030) = 0;
    left->fUserInfo.slot(1031) = 0;
    auto* doc = new ADocState(1203);
    doc->fDocType = 1;
    auto* state = new AppState(1, 2, doc, left, new ARightState(1205, -1), nullptr, 2);
    state->fHisto = 1;
    centre->shown.clear();
    frame->goToState(state, 1);
    Pump();
    EXPECT_EQ("0:1", std::string(pane->getPaneText().c_str()));
    EXPECT_EQ("1 Document", count());
    EXPECT_EQ(0, list->selLast);
    EXPECT_EQ("2;", centre->shown) << "the state's own document, no other";
}
