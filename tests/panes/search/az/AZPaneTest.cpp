// The A-to-Z index pane in the left dock over the small installation: the
// field's limit, the type-ahead, an entry's click, and a state from the
// history restoring the typed text and the selection.
#include <gtest/gtest.h>

#include <string>

#include "app/lexicon/ASVSearchInList.h"
#include "app/state/AppState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/text/AReader.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/ANativeChild.h"
#include "panes/search/az/DockLeftRechAZPane.h"
#include "panes/search/az/LR_RechAZ.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "search/facade/AKeyIndex.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

namespace {

class AZPaneTest : public LeftDockTest {
protected:
    void SetUp() override {
        LeftDockTest::SetUp();
        if (!frame)
            return;
        pane = dynamic_cast<DockLeftRechAZPane*>(frame->findById(2300, 0));
        ASSERT_TRUE(pane);
        list = pane->getList();
        ASSERT_TRUE(list);
    }
    // A new A-to-Z state (screen 1, left mode 3), shown.
    AppState* showIndex(long docNo = -1) {
        auto* left = new ALeftState;
        left->fMode = 3;
        left->fExpand = 1;
        left->fNew = 1;
        auto* doc = new ADocState(1203);
        doc->fDocType = 1;
        auto* state = new AppState(1, 2, doc, left, new ARightState(1205, -1), nullptr, docNo);
        state->setNew(1);
        frame->goToState(state, 1);
        Pump();
        return frame->currentState();
    }
    void type(const std::string& text) {
        list->getEdit()->setText(text.c_str());
        AKindSet kinds;
        kinds.add(kUpdateValue);
        list->getEdit()->notify(kinds);
    }
    long currentRow() {
        ARenderer* r = list->getListView()->renderer();
        return r ? r->currentItem() : -2;
    }
    DockLeftRechAZPane* pane = nullptr;
    LR_RechAZ* list = nullptr;
};

}  // namespace

TEST_F(AZPaneTest, TypingMovesTheListAndAClickOpensTheEntry) {
    showIndex();
    EXPECT_EQ(1, pane->isPaneWanted());
    EXPECT_EQ(0, searchPane->isPaneWanted());
    ASSERT_NE(nullptr, list->getIndex()) << "the installation's IDXAZ";
    ASSERT_NE(nullptr, list->getLineGetter());
    EXPECT_EQ(3, list->getLineGetter()->getLineCount());
    EXPECT_EQ("1", std::string(list->getLineKey(1).c_str())) << "a row's key is its document";

    // The native field takes 128 characters and no more.
    HWND field = list->getEdit()->nativeChild() ? list->getEdit()->nativeChild()->hwnd() : nullptr;
    ASSERT_TRUE(field);
    EXPECT_EQ(128, static_cast<int>(SendMessageA(field, EM_GETLIMITTEXT, 0, 0)));

    struct Row {
        const char* typed;
        long row;
    } const rows[] = {{"b", 1}, {"Chi", 2}, {"a", 0}, {"bz", 2}, {"zzz", 2}, {"", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        type(r.typed);
        EXPECT_EQ(r.row, currentRow());
    }
    EXPECT_EQ("", centre->shown) << "typing opens nothing";

    // Return in the field opens the entry the text stands on.
    type("Chi");
    list->getEdit()->notifyOwner(2);
    EXPECT_EQ("2;", centre->shown);
    ASSERT_TRUE(frame->currentState());
    EXPECT_EQ(2, frame->currentState()->getDocNo());
    centre->shown.clear();

    clickRow(list, 1);
    EXPECT_EQ("1;", centre->shown);
    AppState* shown = frame->currentState();
    ASSERT_TRUE(shown);
    EXPECT_EQ(1, shown->getDocNo());
    clickRow(list, 1);
    EXPECT_EQ("1;", centre->shown) << "the document shown is not opened again";
}

TEST_F(AZPaneTest, AStateFromTheHistoryRestoresTextAndSelection) {
    showIndex();
    type("chimie");
    clickRow(list, 2);
    ASSERT_EQ(2, frame->currentState()->getDocNo());
    ALeftState left;
    list->saveState(&left);
    EXPECT_EQ("chimie", std::string(left.getUserTxtInfo(LR_RechAZ::kTextKey).c_str()));
    EXPECT_EQ(2, left.fUserInfo.slot(LR_RechAZ::kSelFirstKey));

    // A new A-to-Z state starts afresh.
    showIndex();
    EXPECT_EQ("", std::string(list->getEdit()->getText().c_str()));

    // The saved one replayed: the text and the row come back.
    auto* replay = new ALeftState;
    replay->fMode = 3;
    replay->fHisto = 1;
    replay->fNew = 0;
    replay->setUserTxtInfo(LR_RechAZ::kTextKey, "chimie");
    replay->fUserInfo.slot(LR_RechAZ::kSelFirstKey) = 2;
    replay->fUserInfo.slot(LR_RechAZ::kSelLastKey) = 2;
    auto* state = new AppState(1, 2, new ADocState(1203), replay, new ARightState(1205, -1), nullptr, 2);
    state->setHisto(1);
    state->setNew(0);
    frame->goToState(state, 1);
    Pump();
    EXPECT_EQ("chimie", std::string(list->getEdit()->getText().c_str()));
    EXPECT_EQ(2, currentRow());
    picture("az-pane-chimie.png");
}
