// The room panes in the real reader on the sample: each room opens from the
// menu with its movie, a tab of the movie opens the room's state, and the
// left dock shows that room's pane with its lists filled.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/frame/Frame1.h"
#include "docengine/text/AReader.h"
#include "reader/TheApp.h"
#include "app/online/AMozillaTargetView.h"
#include "app/state/AppState.h"
#include "panes/content/flash/FlashPane.h"
#include "panes/content/media/MediaPane.h"
#include "panes/content/media/MediaWin.h"
#include "panes/search/rooms/DockLeftSalleAPane.h"
#include "panes/search/rooms/DockLeftSalleBPane.h"
#include "panes/search/rooms/DockLeftSalleCPane.h"
#include "panes/search/rooms/DockLeftSalleDPane.h"
#include "panes/search/rooms/DockLeftSalleEPane.h"
#include "panes/search/rooms/DockLeftSalleGLIPane.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LR_RechE.h"
#include "panes/search/rooms/SalleIndexPrec.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/flash/MovieReaderSupport.h"

namespace {

class RoomLettersReaderTest : public MovieReaderTest {
protected:
    // Opens room n (1-9) as the menu does, then its tab (from 0) as the movie's button does.
    bool openTab(int16_t n, int tab) {
        frame->doMenuAction(2, n);
        pump();
        FlashPane* movie = paneOf<FlashPane>();
        if (!movie || !waitForStandIn(movie->view()))
            return false;
        if (!clickMovie(movie->view(), 800, 500, 40 + tab * 250, 140, 230, 80))
            return false;
        pump();
        AppState* state = frame->currentState();
        return state && state->getScreenMode() == 4 && state->fSalle == n;
    }
    // The shown room pane: wanted, visible, with a filled disc list.
    void checkShown(DockLeftSallePane* pane) {
        ASSERT_TRUE(pane);
        EXPECT_TRUE(pane->isPaneWanted());
        EXPECT_TRUE(pane->hasFlags(ADisplayComponent::kVisible));
        ASSERT_TRUE(pane->discList && pane->discList->getLineGetter());
        EXPECT_GT(pane->discList->getLineGetter()->getLineCount(), 0);
        if (pane->indexList) {
            ASSERT_TRUE(pane->indexList->getLineGetter());
            EXPECT_GT(pane->indexList->getLineGetter()->getLineCount(), 0);
        }
    }
};

}  // namespace

TEST_F(RoomLettersReaderTest, EachRoomTabShowsItsLetterPaneWithItsLists) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        struct Row {
            int16_t room;
            int tab;
            const char* shot;
        };
        // Arts "Visites" (A), Bibliothèque "Guide" (B), Initiation (C),
        // Musique "Histoire" (D), Sport "Jeux" (E), Musique "Généalogie" (GLI).
        const Row rows[] = {{1, 0, "room-pane-A"}, {2, 0, "room-pane-B"}, {3, 0, "room-pane-C"},
                            {6, 0, "room-pane-D"}, {8, 0, "room-pane-E"}, {6, 1, "room-pane-GLI"}};
        for (const Row& row : rows) {
            SCOPED_TRACE(row.shot);
            ASSERT_TRUE(openTab(row.room, row.tab));
            char letter = frame->currentState()->getLeftState()->fSalleType;
            DockLeftSallePane* pane = nullptr;
            switch (letter) {
            case 'A': pane = paneOf<DockLeftSalleA_DVDPane>(); break;
            case 'B': pane = paneOf<DockLeftSalleB_DVDPane>(); break;
            case 'C': pane = paneOf<DockLeftSalleCPane>(); break;
            case 'D': pane = paneOf<DockLeftSalleD_DVDPane>(); break;
            case 'E': pane = paneOf<DockLeftSalleEPane>(); break;
            case 'G': pane = paneOf<DockLeftSalleGLIPane>(); break;
            default: break;
            }
            ASSERT_TRUE(pane) << letter;
            if (letter == 'E') {
                auto* authors = static_cast<LR_RechE*>(pane->searchList);
                ASSERT_TRUE(authors);
                // The pages of an author who wrote or translated several.
                ASSERT_TRUE(authors->getLineGetter());
                long count = authors->getLineGetter()->getLineCount();
                ASSERT_GT(count, 0);
                pane->setPaneText(authors->getLineKey(count / 2).c_str());
                pane->showResultList();
                pump();
            }
            if (letter == 'G') {
                // Four levels chosen: the second row of each.
                for (int16_t k = 1; k <= 4; ++k) {
                    AString text = pane->getPopupText(static_cast<int16_t>(2020 + k));
                    APopupTreeCallBackSallePop(pane, k)
                        .itemChosen(TheApp::getLineLabel(text.c_str(), 1).c_str(),
                                    TheApp::getLineValue(text.c_str(), 1).c_str(), 1, nullptr);
                    pump();
                }
                EXPECT_FALSE(std::string(pane->level(6).value.c_str()).empty());
            }
            checkShown(pane);
            saveShot(row.shot);
        }
    });
}

// The Médiathèque's pictures tab lists the sample's pictures, videos and
// animations: a click on an entry lists its documents, a click on one of
// them opens it in the media window of its kind.
TEST_F(RoomLettersReaderTest, AMediathequeRowOpensItsDocumentInTheMediaWindow) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        struct Row {
            const char* label;
            int16_t kind;
            const char* shot;
        };
        const Row rows[] = {{"Photographies", MediaPane::kPicture, "mediatheque-picture"},
                            {"Vid\xE9os", MediaPane::kVideo, "mediatheque-video"},
                            {"Animations", MediaPane::kFlash, "mediatheque-animation"}};
        ASSERT_TRUE(openTab(5, 1));
        auto* pane = paneOf<DockLeftSalleB_DVDPane>();
        ASSERT_TRUE(pane && pane->indexList && pane->indexList->getLineGetter());
        for (const Row& row : rows) {
            SCOPED_TRACE(row.label);
            ALineGetter* entries = pane->indexList->getLineGetter();
            long entry = -1;
            for (long n = 0; n < entries->getLineCount() && entry < 0; ++n) {
                AString line;
                entries->getLine(line, n);
                if (std::string(line.c_str()).find(row.label) != std::string::npos)
                    entry = n;
            }
            ASSERT_GE(entry, 0) << "the tab lists its media entries";
            ClickListRow(pane->indexList, entry, [this] { pump(); });
            ASSERT_TRUE(pane->discList && pane->discList->getLineGetter());
            ASSERT_GT(pane->discList->getLineGetter()->getLineCount(), 0);
            ClickListRow(pane->discList, 0, [this] { pump(); });
            settle();
            ASSERT_EQ(1u, app->mediaWindows().count()) << "the row's click opens the media window";
            MediaWin* media = app->mediaWindows().windows().begin()->second;
            ASSERT_TRUE(media && media->mediaPane());
            EXPECT_EQ(row.kind, media->mediaPane()->mediaKind());
            EXPECT_FALSE(media->mediaPane()->captionText().empty());
            saveShot(row.shot);
            EXPECT_FALSE(Canvas::saveWindow(media->getHWnd(), (std::string(row.shot) + "-window").c_str(),
                                            [&] { settle(); })
                             .empty());
            // Closed, as its close box does, so it covers no later click.
            SendMessageA(media->getHWnd(), WM_CLOSE, 0, 0);
            settle();
            ASSERT_EQ(0u, app->mediaWindows().count());
        }
    });
}
