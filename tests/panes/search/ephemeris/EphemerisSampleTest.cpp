// The ephemeris and the captions in the real reader on the sample: the home
// screen on 14 July shows the calendar's events of the day, whose documents
// all exist and open; the ephemeris screen lists an event's documents; the
// right dock's caption of an article with pictures highlights a searched
// word. Pictures of the three under Xvfb.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/text/AReader.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/content/article/DockRightPane.h"
#include "panes/search/ephemeris/AEphemerideInfo.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "panes/search/ephemeris/DockLeftEphemeridePane.h"
#include "panes/search/ephemeris/EphemeridePane.h"
#include "panes/search/ephemeris/LREphemeride.h"
#include "panes/search/ephemeris/LR_Legende.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"
#include "panes/content/media/MediaPane.h"
#include "panes/content/media/MediaWin.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/article/ArticleTestSupport.h"
#include "tools/samplebase/SampleChrono.h"

namespace {

// A day of 2026 for the application's clock.
template <int Month, int Day>
std::tm DayOf2026() {
    std::tm day{};
    day.tm_mday = Day;
    day.tm_mon = Month - 1;
    day.tm_year = 126;
    return day;
}

class EphemerisSampleTest : public SampleReaderTest {
protected:
    // The home screen shown again (the ephemeris moves to its next event).
    void home() {
        frame->goToState(new AppState(0, 1, nullptr, nullptr, nullptr, nullptr, -1), 1);
        pump();
    }
};

}  // namespace

TEST_F(EphemerisSampleTest, OnJuly14TheHomeScreenShowsTheDaysEventsAndTheirDocumentsOpen) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        app->setClock(DayOf2026<7, 14>);
        EXPECT_EQ("14-07-26", std::string(app->todayText().c_str()));
        home();
        auto* pane = dynamic_cast<EphemeridePane*>(frame->findById(1207, 0));
        ASSERT_TRUE(pane);
        AppState* state = frame->currentState();
        const long day = AEphemerideInfo::dayIndex(7, 14);
        ASSERT_EQ(day, state->getUserInfo(EphemeridePane::kDayKey));
        const long count = state->getUserInfo(EphemeridePane::kCountKey);
        ASSERT_GE(count, 1) << "the calendar has events on 14 July";
        // The French calendar's order: the national holiday comes first, without a year.
        std::string titles;
        for (long e = 0; e < count; ++e) {
            AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, day, static_cast<int16_t>(e));
            titles += EphemeridePane::makeDateTitle(14, 6, info.year()).c_str();
            titles += ";";
        }
        EXPECT_EQ(0u, titles.find("14 juillet;")) << titles;
        // Show event 0 for the picture.
        while (state->getUserInfo(EphemeridePane::kEventKey) != 0) {
            home();
            state = frame->currentState();
        }
        EXPECT_EQ("14 juillet", std::string(pane->findItem(EphemeridePane::kTitle, false)->getText().c_str()));
        settle();
        saveShot("ephemeris-home-14-july");
        // Every document of the day's events exists and opens on the ephemeris screen.
        // The document table (HDFILES' first) has a record per document.
        const long documents = app->getDataManager()->getBase(13)->getRecordCount(0);
        for (long e = 0; e < count; ++e) {
            SCOPED_TRACE(e);
            home();
            pane->eventIndex = static_cast<int16_t>(e);
            AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, day, static_cast<int16_t>(e));
            ASSERT_GE(info.docNo(), 0);
            ASSERT_LT(info.docNo(), documents);
            pane->openEvent();
            pump();
            EXPECT_EQ(6, frame->currentState()->getScreenMode());
            long shown = frame->currentState()->getDocNo();
            EXPECT_GE(shown, 0);
            EXPECT_LT(shown, documents);
            std::string related = info.relatedListText(e).c_str();
            EXPECT_TRUE(shown == info.docNo() || related.find(std::to_string(shown)) != std::string::npos)
                << shown << " of " << related;
        }
    });
}

TEST_F(EphemerisSampleTest, TheEphemerisScreenListsTheEventsDocuments) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        app->setClock(DayOf2026<7, 14>);
        home();
        auto* pane = dynamic_cast<EphemeridePane*>(frame->findById(1207, 0));
        ASSERT_TRUE(pane);
        while (frame->currentState()->getUserInfo(EphemeridePane::kEventKey) != 0)
            home();
        pane->doCommand(EphemeridePane::kRelated, 0);
        pump();
        AppState* state = frame->currentState();
        EXPECT_EQ(6, state->getScreenMode());
        auto* screen = dynamic_cast<DockLeftEphemeridePane*>(frame->findById(2016, 0));
        ASSERT_TRUE(screen);
        ASSERT_TRUE(screen->getList()->getLineGetter());
        EXPECT_GE(screen->getList()->getLineGetter()->getLineCount(), 1);
        EXPECT_GE(state->getDocNo(), 0);
        settle();
        saveShot("ephemeris-screen");
    });
}

TEST_F(EphemerisSampleTest, TheRightDocksCaptionHighlightsTheSearchedWord) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        auto* dock = dynamic_cast<DockRightPane*>(centre->link(DockLCRPane::kDockRight));
        ASSERT_TRUE(dock);
        auto* panel = dynamic_cast<DockRightArtPane*>(dock->findById(1410, 0));
        ASSERT_TRUE(panel);
        auto* caption = dynamic_cast<LR_Legende*>(panel->list(DockRightArtPane::kCaptions));
        ASSERT_TRUE(caption);
        // The first figure (after the articles) has a caption; article 0 shows it.
        AEphemerisApp& services = AEphemerisApp::current();
        long figure = -1;
        for (long d = 0; d < 30000 && figure < 0; ++d) {
            ADocRefInfo info = services.getDocRefInfo(d);
            if (info.getInfo(12) && info.fDocBase >= 0 && services.findBaseField(info.fDocBase, "LEG") >= 0)
                figure = d;
        }
        ASSERT_GE(figure, 0) << "the sample's figures have captions";
        centre->showDocument(0);
        pump();
        // The search of the caption's word, as the quick search leaves it.
        ARefHold<ALoVect> results(new ALoVect("1:0:0"));
        results->getStrings().insert(AString("l\xE9gende"));
        ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
        search->setQuery("l\xE9gende");
        search->setTextResults(static_cast<ALoScore*>(static_cast<ALo*>(results.get())));
        AppState* state = frame->makeNavState(1, 1, 0, 1, -1, 0, -1);
        state->setDocNo(0);
        state->setSearchState(search.get());
        state->getRightState()->fExtDocNo = figure;
        frame->goToState(state, 1);
        pump();
        EXPECT_EQ(figure, frame->currentState()->getRightDocNo());
        EXPECT_TRUE(panel->isExpanded(DockRightArtPane::kCaptions));
        EXPECT_TRUE(caption->hasHits());
        settle();
        saveShot("right-dock-caption");
    });
}

// On 21 March the day's last event is a video: a click on its picture, where
// the home screen draws it, opens the video in the media window.
TEST_F(EphemerisSampleTest, AClickOnTheMediaEventsPictureOpensTheMediaWindow) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        app->setClock(DayOf2026<3, 21>);
        home();
        auto* pane = dynamic_cast<EphemeridePane*>(frame->findById(1207, 0));
        ASSERT_TRUE(pane);
        const long day = AEphemerideInfo::dayIndex(3, 21);
        ASSERT_EQ(kMediaEventDay, day);
        const long count = frame->currentState()->getUserInfo(EphemeridePane::kCountKey);
        ASSERT_GE(count, 1);
        AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, day, static_cast<int16_t>(count - 1));
        const long doc = info.docNo();
        ASSERT_TRUE(app->docIsMedia(doc)) << doc;
        EXPECT_EQ(doc, info.pictureRecord()) << "the event shows the video's own picture";
        for (long n = 0; n < count && frame->currentState()->getUserInfo(EphemeridePane::kEventKey) != count - 1; ++n)
            home();
        ASSERT_EQ(count - 1, frame->currentState()->getUserInfo(EphemeridePane::kEventKey));
        settle();
        saveShot("ephemeris-media-event");
        AppState* before = frame->currentState();
        ASSERT_EQ(0u, app->mediaWindows().count());
        ClickMiddle(pane->findItem(EphemeridePane::kPicture, false), [this] { pump(); });
        settle();
        ASSERT_EQ(1u, app->mediaWindows().count()) << "the picture's click opens the media window";
        EXPECT_EQ(before, frame->currentState()) << "the home screen stays";
        MediaWin* media = app->mediaWindows().windows().begin()->second;
        ASSERT_TRUE(media && media->mediaPane());
        EXPECT_EQ(MediaPane::kVideo, media->mediaPane()->mediaKind());
        EXPECT_NE(std::string::npos, media->mediaPane()->captionText().find("Vid")) << media->mediaPane()->captionText();
        EXPECT_FALSE(Canvas::saveWindow(media->getHWnd(), "ephemeris-media-window", [&] { settle(); }).empty());
    });
}
