// The find dialog over a text renderer: where it opens, the text typed in
// it marking the words, its buttons moving the hit, and a fresh dialog after
// a close.
#include <gtest/gtest.h>

#include <string>

#include "app/find/FindDialog.h"
#include "app/find/RechPane.h"
#include "app/state/ASVLoSearchState.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/controls/AEditBox.h"
#include "tests/app/find/FindTestSupport.h"
#include "tests/app/frame/FrameTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

SV_IMPLEMENT_CLASS(ArticleProbe, 0, SearchPane)

namespace {

const char* const kArticle =
    "/\"1Le chat\n"
    "Le chat est un petit mammif\xE8re carnivore. Le chien et le chat vivent souvent ensemble.\n"
    "Un chat dort seize heures par jour; le chat sauvage chasse la nuit.\n";

class FindDialogTest : public FrameTest {
protected:
    ArticleProbe* open() {
        if (!openFrame("FindFrame"))
            return nullptr;
        AComponent* c = frame->findById(1301, 0);
        auto* pane = c ? static_cast<ArticleProbe*>(c->castTo(&ArticleProbe::classRecord)) : nullptr;
        auto* view = pane ? dynamic_cast<AStandardView*>(pane->findById(302, 0)) : nullptr;
        if (!view || !view->rendererLayer())
            return nullptr;
        renderer = new ATextRenderer(view->rendererLayer());
        renderer->addRef();
        renderer->setTextModel(kArticle, nullptr);
        view->rendererLayer()->setRenderer(renderer);
        renderer->attach();
        pane->renderer = renderer;
        pane->installHitNavigator();
        frame->showUpdate();
        app->flushUpdates();
        Pump();
        return pane;
    }
    void TearDown() override {
        if (renderer)
            renderer->release();
        FrameTest::TearDown();
    }
    ATextRenderer* renderer = nullptr;
};

}  // namespace

TEST_F(FindDialogTest, TheDialogOpensAtItsPlaceAndItsButtonsStepThroughTheHits) {
    ArticleProbe* pane = open();
    if (!pane)
        GTEST_SKIP() << "no display";
    pane->findText("");
    FindDialog* dialog = pane->findDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(10, dialog->getScreenFrame().left());
    EXPECT_EQ(270, dialog->getScreenFrame().top());
    EXPECT_EQ("", std::string(pane->getHiliteExpression().c_str())) << "an empty text only raises the dialog";

    dialog->findField()->setText("chat");
    AHitNavigator* navigator = renderer->hitNavigator();
    ASSERT_NE(nullptr, navigator);
    std::string trail;
    // The buttons are clicked in the dialog's own window.
    auto click = [&](int16_t id) {
        auto* button = dynamic_cast<ADisplayComponent*>(dialog->findById(id, 0));
        ASSERT_NE(nullptr, button);
        HWND hwnd = dialog->getHWnd();
        ARect r = button->getFrame();
        const int x = (r.first.x + r.second.x) / 2, y = (r.first.y + r.second.y) / 2;
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
        PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
        app->commandQueue().run();
    };
    for (int16_t button : {4203, 4203, 4203, 4203, 4203, 4203, 4202}) {
        const int before = ClusterTestBeeps;
        click(button);
        trail += std::to_string(navigator->currentHitEnd()) + std::string(size_t(ClusterTestBeeps - before), '!') + " ";
    }
    // Five hits; the sixth step wraps to the first and completes the cycle
    // begun before any hit; the step back from the first jumps to the last.
    EXPECT_EQ("10 18 72 105 141 10! 141 ", trail);
    EXPECT_EQ("chat", std::string(pane->getFindText().c_str()));
    app->flushUpdates();
    Pump();
    ARect area = frame->getScreenBounds();
    EXPECT_FALSE(Canvas::saveScreen(area, "find-dialog").empty());

    app->perform(dialog->closeWindow());
    EXPECT_EQ(nullptr, pane->findDialog());
    pane->findText("chien");
    ASSERT_NE(nullptr, pane->findDialog());
    EXPECT_NE(dialog, pane->findDialog()) << "a fresh dialog";
    EXPECT_EQ(270, pane->findDialog()->getScreenFrame().top());
    EXPECT_EQ("chien", std::string(pane->findDialog()->findField()->getText().c_str()));
}

TEST_F(FindDialogTest, ASearchFieldPaneBaseClearsTheSearchStateAndHasNeutralHooks) {
    if (!open())
        GTEST_SKIP() << "no display";
    AComponent* c = frame->findById(1250, 0);
    auto* pane = c ? static_cast<RechPane*>(c->castTo(&RechPane::classRecord)) : nullptr;
    ASSERT_NE(nullptr, pane);
    pane->clearSearchState();  // no current state: nothing to clear
    CountedState* state = step(7);
    state->setSearchState(new ASVLoSearchState());
    ASSERT_NE(nullptr, state->getSearchState());
    pane->clearSearchState();
    EXPECT_EQ(nullptr, state->getSearchState());
    EXPECT_EQ("", std::string(pane->getQueryText().c_str()));
}
