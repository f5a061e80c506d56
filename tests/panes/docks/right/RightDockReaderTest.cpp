// The right dock in the real reader on the sample: an article of a page cut
// into sections shows its sets, linked documents, themes and web link; the
// lock keeps the dock on it, narrow. Pictures of both under Xvfb.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/text/AReader.h"
#include "framework/display/ADisplayServices.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/docks/right/DockRightPane.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

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
