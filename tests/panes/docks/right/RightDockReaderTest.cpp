// The right dock in the real reader on the sample: an article of a page cut
// into sections shows its sets, linked documents, themes and web link; the
// lock keeps the dock on it, narrow. Pictures of both under Xvfb.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/text/AReader.h"
#include "framework/display/ADisplayServices.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/content/article/DockRightPane.h"
#include "panes/content/article/DocKycfPane.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/controls/AIconButton.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/article/ArticleTestSupport.h"
#include "tests/support/ScreenPicture.h"

namespace {

class RightDockReaderTest : public SampleReaderTest {};

// The first article with a set, linked documents and themes.
long ArticleWithThreeLists() {
    for (long doc = 0; doc < 2000; ++doc) {
        ADocRefInfo info = ARightDockApp::current().getDocRefInfo(doc);
        if (info.getInfo(0) && info.getInfo(1) && info.getInfo(2))
            return doc;
    }
    return -1;
}

}  // namespace

TEST_F(RightDockReaderTest, AnArticleShowsItsListsAndTheLockKeepsThem) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        auto* dock = dynamic_cast<DockRightPane*>(centre->link(DockLCRPane::kDockRight));
        ASSERT_TRUE(dock);
        auto* panel = dynamic_cast<DockRightArtPane*>(dock->findById(1410, 0));
        ASSERT_TRUE(panel);
        long doc = ArticleWithThreeLists();
        ASSERT_GE(doc, 0) << "the sample has pages cut into sections";
        centre->showDocument(doc);
        pump();
        ASSERT_EQ(doc, frame->currentState()->getDocNo());
        EXPECT_EQ(1, dock->widthMode());
        EXPECT_TRUE(panel->isExpanded(DockRightArtPane::kSets));
        EXPECT_TRUE(panel->isExpanded(DockRightArtPane::kDocLinks));
        EXPECT_TRUE(panel->isExpanded(DockRightArtPane::kThemes));
        EXPECT_TRUE(panel->isExpanded(DockRightArtPane::kWebLinks));
        ASSERT_TRUE(panel->list(DockRightArtPane::kSets)->getLineGetter());
        EXPECT_GE(panel->list(DockRightArtPane::kSets)->getLineGetter()->getLineCount(), 3);
        // Linked documents are listed by title, not by number.
        ALineGetter* linked = panel->list(DockRightArtPane::kDocLinks)->getLineGetter();
        ASSERT_TRUE(linked && linked->getLineCount() > 0);
        AString line;
        linked->getLine(line, 0);
        std::string row = line.c_str();
        EXPECT_FALSE(row.empty() || std::isdigit(static_cast<unsigned char>(row[0]))) << row;
        settle();
        saveShot("right-dock-sample");
        // Locked on the article, then narrow: another document keeps the reference.
        dock->doCommand(DockRightPane::kLockId, 0);
        dock->doCommand(DockRightPane::kHideId, 0);
        pump();
        EXPECT_EQ(0, dock->widthMode());
        EXPECT_EQ(6, dock->commandStatus(DockRightPane::kLockId, 0));
        EXPECT_EQ(doc, frame->currentState()->getRightState()->fExtDocNo);
        settle();
        saveShot("right-dock-sample-narrow-locked");
    });
}

// The wide dock folded by its button: the article takes the freed width,
// wrapped anew, and draws the whole of it as a fresh layout at that width does.
TEST_F(RightDockReaderTest, FoldingTheDockRewrapsTheArticleOverTheFreedStrip) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        auto* dock = dynamic_cast<DockRightPane*>(centre->link(DockLCRPane::kDockRight));
        ASSERT_TRUE(dock);
        long doc = ArticleWithThreeLists();
        ASSERT_GE(doc, 0);
        centre->showDocument(doc);
        settle();
        ASSERT_EQ(1, dock->widthMode());
        ATextRenderer* renderer = articlePane()->articleRenderer();
        ADisplayComponent* view = renderer->view();
        const long before = view->getSize().x;
        const long lineWidth = renderer->frame().width();
        auto* fold = dynamic_cast<AIconButton*>(dock->findItem(DockRightPane::kHideId, false));
        ASSERT_TRUE(fold);
        clickAt(fold->localToScreen(APoint(fold->getSize().x / 2, fold->getSize().y / 2)));
        // What the reader draws of itself, without a repaint of the whole window.
        for (int i = 0; i < 20; ++i) {
            ADisplayServices::current().flushLayouts();
            pump();
            Sleep(10);
        }
        ASSERT_EQ(0, dock->widthMode()) << "the click folds the dock";
        const long after = view->getSize().x;
        EXPECT_EQ(dock->wideWidth() - dock->narrowWidth(), after - before) << "the article takes the freed width";
        EXPECT_EQ(lineWidth + after - before, renderer->frame().width()) << "its lines wrap at the new width";
        const ARect area = view->localToScreen(ARect(0, 0, after, view->getSize().y));
        const RECT screen = {area.left(), area.top(), area.right(), area.bottom()};
        std::vector<uint32_t> folded = ScreenPixels(screen);
        Canvas::saveScreen(area, "right-dock-folded");
        // The same article laid out afresh at this width, drawn whole.
        renderer->relayoutFrom(0, true);
        InvalidateRect(frame->getHWnd(), nullptr, TRUE);
        settle();
        std::vector<uint32_t> fresh = ScreenPixels(screen);
        Canvas::saveScreen(area, "right-dock-folded-fresh");
        ASSERT_EQ(fresh.size(), folded.size());
        long differ = 0, firstX = -1, firstY = -1;
        for (size_t i = 0; i < fresh.size(); ++i) {
            if (fresh[i] == folded[i])
                continue;
            if (!differ++) {
                firstX = static_cast<long>(i % area.width());
                firstY = static_cast<long>(i / area.width());
            }
        }
        EXPECT_EQ(0, differ) << "first at " << firstX << ", " << firstY << " of " << area.width() << " x "
                             << area.height();
    });
}
