// The window "Mes dossiers" in the real reader on the sample: opened by the
// tool bar's button, a dossier of more documents than its list shows scrolls
// by a click in its bar; a picture of it under Xvfb.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/frame/Frame1.h"
#include "docengine/render/ARendererViews.h"
#include "framework/controls/AIconButton.h"
#include "framework/controls/ANativeChild.h"
#include "framework/views/AScrollBar.h"
#include "framework/windows/AWindowShell.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspacewin/DossierWin.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

class DossierReaderTest : public SampleReaderTest {};

// The bar of the scroller that holds the view.
AScrollerScrollBar* BarOf(ARendererView* view) {
    AScroller* scroller = view ? view->scroller() : nullptr;
    return scroller ? dynamic_cast<AScrollerScrollBar*>(scroller->verticalBar()) : nullptr;
}

// A press and release of the left button at a point of a native control,
// both queued first: a scroll bar tracks the press until the release comes.
void ClickControl(HWND control, POINT at) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

}  // namespace

TEST_F(DossierReaderTest, ALongDossierScrollsByItsBar) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        ADossierManager& dossiers = *app->getDossierManager();
        const long keptCurrent = dossiers.getCurrentId();
        Dossier* dossier = dossiers.createDossier("Lectures de la semaine", 1);
        const long id = dossier->getId();
        const long documents = 60;
        for (long doc = 0; doc < documents; ++doc)
            dossiers.addElement(dossier, dossiers.newElement(doc), 0);

        auto* button = dynamic_cast<AIconButton*>(frame->findById(1049, 0));
        ASSERT_TRUE(button) << "the tool bar's dossier button";
        clickAt(button->localToScreen(APoint(button->getSize().x / 2, button->getSize().y / 2)));
        settle();
        DossierWin* window = DossierWin::shown();
        ASSERT_TRUE(window) << "the button opens the dossier window";
        ASSERT_EQ(documents, window->elementRows()->getLineCount());

        struct Row {
            const char* name;
            ARendererView* view;
            bool scrolls;  // more rows than the list shows
        } const rows[] = {
            {"documents", window->elementList(), true},
            {"dossiers", window->dossierList(), false},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.name);
            AScrollerScrollBar* bar = BarOf(r.view);
            ASSERT_TRUE(bar && bar->nativeChild()) << "the list sits in a scroller with its bar";
            EXPECT_EQ(r.scrolls, bar->maximum() > 0) << bar->maximum();
            if (!r.scrolls)
                continue;
            EXPECT_EQ(0, r.view->scrollY());
            // A click in the bar above its down arrow: a page down.
            HWND control = bar->nativeChild()->hwnd();
            RECT box;
            GetClientRect(control, &box);
            ClickControl(control, {box.right / 2, box.bottom - 2 * box.right});
            settle();
            const long moved = r.view->scrollY();
            EXPECT_GT(moved, 0) << "the page went down";
            EXPECT_EQ(moved, bar->value()) << "the bar follows the list";
            EXPECT_LE(moved, bar->maximum());
        }
        if (AWindowShell* shell = window->getNativeWindow())
            printf("%s\n", Canvas::saveWindow(shell->hwnd(), "dossier-window-scrolled", [&] { settle(); }).c_str());

        window->perform(window->doCommand(DossierWin::kClose, 0));
        pump();
        EXPECT_EQ(nullptr, DossierWin::shown());
        dossiers.removeDossier(id);
        dossiers.setCurrentId(keptCurrent);
        dossiers.save();
    });
}
