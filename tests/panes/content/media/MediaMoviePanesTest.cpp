// The media window's movie panes loaded from the reader's layouts (the
// browser views record what they are asked to load): the video's files,
// fitting and transport over our movie layer with ffmpeg's movies and its
// picture after a fast forward against ffmpeg's frame; the Flash page, zoom
// and calls; the Director page and its road.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panes/content/media/MediaDCRPane.h"
#include "panes/content/media/MediaFlashPane.h"
#include "panes/content/media/MediaVideoPane.h"
#include "tests/panes/content/media/MediaTestSupport.h"
#include "tests/web/movie/MovieTestSupport.h"
#include "web/browser/AMozillaView.h"
#include "web/movie/AMovieViewer.h"
#include "web/movie/AQuickTimeApp.h"
#include "web/movie/MovieLibrary.h"

// The pane's road to the Director page is closed in the reader; tests open it here.
struct MediaPaneTestAccess {
    static void setExternalMode(MediaPane* pane, int16_t mode) { pane->externalMode_ = mode; }
};

namespace {

// A browser view that only records the addresses it is asked to load.
class RecordingMozillaView : public AMozillaView {
    SV_DECLARE_CLASS(RecordingMozillaView)
public:
    int16_t loadUrl(const AString& url) override {
        loaded.push_back(url.c_str());
        return 1;
    }
    std::string take() {
        std::string out;
        for (const std::string& url : loaded)
            out += url + ";";
        loaded.clear();
        return out;
    }
    // The display flag the view's handlers read.
    void setVisibleFlag(bool on) { setBit(kVisible, on); }
    std::vector<std::string> loaded;
};

class MediaMovieApp : public AQuickTimeApp {
public:
    MediaMovieApp() : AQuickTimeApp(AString("TestMedia"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}
};

// The movies the tests' build made with ffmpeg (in its "VIDEOS" folder).
const char* const kMovieFolder = "Z:" SV_MEDIA_MOVIES;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MediaMovieTest : public MediaWindowTest {
protected:
    // A framed movie application, as the reader's, over our movie layer with its manual clock.
    void makeTestApp() override {
        dropApp();
        TestClock() = 1000;
        AClass::buildRegistry();
        SetErrorStream(&errors);
        auto* movies = new MediaMovieApp;
        movies->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        movies->activateOtherInstance();
        AObject::completeNew(movies);
        app = movies;
        ASSERT_TRUE(MoviesReady());
        LayerSetClock(1);
    }
    void SetUp() override {
        MediaWindowTest::SetUp();
        if (!reader)
            return;
        testApp.fieldFolder = kMovieFolder;
        testApp.infos[5] = "000000000000000\t4\t0";   // videos
        testApp.infos[6] = "000000000000000\t4\t0";
        testApp.infos[7] = "000000000000000\t2\t0";   // a Flash animation
        testApp.icons[5] = testApp.icons[6] = 8;
        testApp.icons[7] = 11;
    }
    template <class T>
    static T* paneOf(MediaWin* window) {
        AComponent* found = window ? window->findDescendant(&T::classRecord, nullptr) : nullptr;
        return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
    }
    static RecordingMozillaView* viewOf(AMozillaView* view) {
        return view ? static_cast<RecordingMozillaView*>(view->castTo(&RecordingMozillaView::classRecord)) : nullptr;
    }
    MediaVideoPane* openVideo(long docNo, const char* name, MediaWin** window = nullptr) {
        testApp.fields[std::to_string(docNo) + ":VIDNAME"] = name;
        MediaWin* w = open(docNo);
        if (window)
            *window = w;
        return paneOf<MediaVideoPane>(w);
    }
};

}  // namespace

SV_IMPLEMENT_CLASS(RecordingMozillaView, 0, AMozillaView)

TEST(MediaVideoFit, TheMovieFillsItsBoxInStepsOf128thsWithItsProportions) {
    struct Row {
        long w, h, bw, bh, tw, th;
    } const rows[] = {
        {320, 240, 800, 500, 665, 498},  // r = min(266, 320)
        {320, 240, 320, 240, 320, 240},
        {640, 480, 320, 480, 320, 240},  // scaled down
        {100, 50, 100, 100, 100, 50},
        {0, 240, 800, 500, 0, 0},        // no movie
        {320, 240, 0, 500, 0, 0},
        {32000, 1, 32000, 32000, 32000, 1},  // wide products stay exact
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h) + " in " + std::to_string(r.bw) + "x" +
                     std::to_string(r.bh));
        APoint fit = MediaVideoPane::FitSize(APoint(r.w, r.h), APoint(r.bw, r.bh));
        EXPECT_EQ(r.tw, fit.x);
        EXPECT_EQ(r.th, fit.y);
    }
}

TEST(MediaVideoFiles, NamesThatCouldLeaveTheirFolderAreRefused) {
    struct Row {
        const char* name;
        bool safe;
    } const rows[] = {
        {"film.mov", true}, {"sous\\film.mov", true}, {"", false}, {"..\\film.mov", false},
        {"a\\..\\..\\b.mov", false}, {"C:\\film.mov", false}, {"c:film.mov", false}, {"\\film.mov", false},
        {"/film.mov", false}, {"\\\\serveur\\film.mov", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.safe, MediaVideoPane::IsSafeFileName(r.name));
    }
    EXPECT_FALSE(MediaVideoPane::IsSafeFileName(nullptr));
}

TEST(MediaFlashZoom, TheZoomArgumentIsThePreviousStepOverTheNewOne) {
    struct Row {
        int32_t percent, previous, n;
    } const rows[] = {{100, 200, 0}, {200, 100, 50}, {300, 200, 66}, {0, 100, 0}, {-50, 100, 0},
                      {25, 32767, 131068}};  // beyond 16 bits
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.percent) + " from " + std::to_string(r.previous));
        EXPECT_EQ(r.n, MediaFlashPane::ZoomArgument(r.percent, r.previous));
    }
}

TEST_F(MediaMovieTest, TheTransportStepsByATenthOfTheDuration) {
    MediaWin* window = nullptr;
    MediaVideoPane* video = openVideo(5, "long95.mov", &window);
    ASSERT_NE(nullptr, video);
    ASSERT_NE(nullptr, video->movie()) << errors.text;
    AMovie* movie = video->movie();
    EXPECT_EQ(95000, movie->getEndPosition());
    EXPECT_EQ(9500, video->step());
    EXPECT_STREQ((std::string(kMovieFolder) + "\\VIDEOS\\long95.mov").c_str(), pane(window)->videoPath().c_str());
    EXPECT_TRUE(pane(window)->directorPath().empty()) << "no DCRNAME field";
    // Stopped at 0 nothing rewinds or stops.
    video->stop();
    EXPECT_FALSE(video->canRewind());
    EXPECT_FALSE(video->canStop());
    EXPECT_TRUE(video->canFastForward());
    EXPECT_TRUE(video->isStopped());
    struct Row {
        const char* label;
        long at;
        void (MediaVideoPane::*run)();
        long then;
    } const rows[] = {
        {"forward at 90000", 90000, &MediaVideoPane::fastForward, 94999},
        {"forward at 10000", 10000, &MediaVideoPane::fastForward, 19500},
        {"rewind at 3000", 3000, &MediaVideoPane::rewind, 0},
        {"rewind at 50000", 50000, &MediaVideoPane::rewind, 40500},
        {"stop at 50000", 50000, &MediaVideoPane::stop, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        movie->pause();
        movie->goToTime(r.at);
        (video->*r.run)();
        EXPECT_EQ(r.then, movie->getCurrentPosition());
        EXPECT_EQ(r.run != &MediaVideoPane::stop, video->isPlaying()) << "plays on from there";
    }
    // Pause, then play again at the former rate.
    video->stop();
    movie->playFrom(-1, -2, 500);
    video->pause();
    EXPECT_FALSE(video->isPlaying());
    LayerAdvanceClock(600);
    video->play();
    EXPECT_TRUE(video->isPlaying());
    LayerAdvanceClock(1000);
    EXPECT_EQ(500, movie->getCurrentPosition());
    // At the end nothing goes forward.
    video->stop();
    movie->goToTime(95000);
    EXPECT_FALSE(video->canFastForward());
    EXPECT_TRUE(video->canRewind());
}

TEST_F(MediaMovieTest, MissingOrRefusedVideosLeaveTheTransportDisabled) {
    struct Row {
        const char* label;
        const char* name;   // null: no VIDNAME field
        const char* dcr;    // null: no DCRNAME field
        const char* log;
        bool opened;
        const char* director;  // the media pane's Director file after it
    } const rows[] = {
        {"no field", nullptr, nullptr, "pas de vid", false, ""},
        {"empty field", "", "x.dcr", "pas de vid", false, ""},
        {"parent folder", "..\\long95.mov", nullptr, "refus", false, ""},
        {"drive", "C:\\long95.mov", nullptr, "refus", false, ""},
        {"missing file", "absent.mov", "film.dcr", "absent", false, "\\DCR\\film.dcr"},
        {"refused companion", "long95.mov", "..\\..\\x.dcr", "refus", true, ""},
        {"companion", "long95.mov", "film.dcr", "", true, "\\DCR\\film.dcr"},
    };
    MediaWin* window = open(6);
    MediaVideoPane* video = paneOf<MediaVideoPane>(window);
    ASSERT_NE(nullptr, video);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        testApp.fields.erase("6:VIDNAME");
        testApp.fields.erase("6:DCRNAME");
        if (r.name)
            testApp.fields["6:VIDNAME"] = r.name;
        if (r.dcr)
            testApp.fields["6:DCRNAME"] = r.dcr;
        errors.text.clear();
        window->showDocument(6, 0, 0, 0);
        settle();
        EXPECT_EQ(r.opened, video->movie() != nullptr);
        EXPECT_NE(std::string::npos, errors.text.find(r.log)) << errors.text;
        std::string director = pane(window)->directorPath().c_str();
        EXPECT_EQ(r.director, director.empty() ? "" : director.substr(std::strlen(kMovieFolder)));
        if (!r.opened) {
            EXPECT_FALSE(video->isStopped());
            const int16_t transport[] = {MediaPane::kRewind, MediaPane::kStop, MediaPane::kPlay, MediaPane::kForward};
            for (int16_t id : transport)
                EXPECT_EQ(2, pane(window)->commandStatus(id, 0)) << id;
            video->play();
            video->fastForward();
            EXPECT_FALSE(video->isPlaying());
        }
    }
}

TEST_F(MediaMovieTest, AFastForwardShowsTheFrameFfmpegExtractsAtThatTime) {
    MediaWin* window = nullptr;
    MediaVideoPane* video = openVideo(5, "clip320.mov", &window);
    ASSERT_NE(nullptr, video);
    ASSERT_NE(nullptr, video->movie()) << errors.text;
    ShowWindow(window->getHWnd(), SW_SHOW);
    settle();
    AMovieViewer* viewer = video->viewer();
    APoint size = viewer->getSize();
    APoint fit = MediaVideoPane::FitSize(APoint(320, 240), viewer->getDisplayParent()->getSize());
    EXPECT_EQ(fit.x, size.x);
    EXPECT_EQ(fit.y, size.y);
    EXPECT_EQ(400, video->step());
    video->fastForward();
    video->pause();
    EXPECT_EQ(400, video->movie()->getCurrentPosition());
    HWND hwnd = viewer->enclosingWindow();
    video->movie()->draw(hwnd, false);
    APoint at = viewer->windowPosition();
    Canvas canvas(size.x, size.y);
    HDC screen = GetDC(hwnd);
    BitBlt(canvas.dc(), 0, 0, size.x, size.y, screen, at.x, at.y, SRCCOPY);
    ReleaseDC(hwnd, screen);
    canvas.savePng("media-video-forward");
    const std::string expected = ReadFile(std::string(kMovieFolder) + "/VIDEOS/clip320.frame4.rgb");
    ASSERT_EQ(size_t(320 * 240 * 3), expected.size());
    // Nearest sample of ffmpeg's frame at the fitted size.
    double total = 0;
    for (long y = 0; y < size.y; ++y) {
        for (long x = 0; x < size.x; ++x) {
            long sx = x * 320 / size.x, sy = y * 240 / size.y;
            COLORREF c = canvas.pixel(x, y);
            const auto* e = reinterpret_cast<const unsigned char*>(expected.data()) + (sy * 320 + sx) * 3;
            total += std::abs(int(GetRValue(c)) - e[0]) + std::abs(int(GetGValue(c)) - e[1]) +
                     std::abs(int(GetBValue(c)) - e[2]);
        }
    }
    EXPECT_LT(total / (size.x * size.y * 3), 12.0);
}

TEST_F(MediaMovieTest, TheFlashPageIsBlackAndTheMovieIsDrivenOnlyOnceLoaded) {
    // A picture window: the Flash pane has loaded nothing, so calls send nothing.
    MediaWin* window = open(1);
    auto* flash = paneOf<MediaFlashPane>(window);
    ASSERT_NE(nullptr, flash);
    RecordingMozillaView* view = viewOf(flash->view());
    ASSERT_NE(nullptr, view);
    flash->play();
    flash->stopAndRewind();
    flash->gotoFrame(2);
    flash->zoom(300, 200);
    EXPECT_EQ("", view->take());
    struct Row {
        const char* label;
        int16_t icon;
        const char* info;
        int16_t frame;
        const char* page;  // stop|frame|background
        int16_t toggle;
    } const rows[] = {
        {"at once", 11, "000000000000000\t2\t0:4", 2, "play()|2|#000000", 0},
        {"at once too", 15, "000000000000000\t2\t0", 0, "play()|0|#000000", 0},
        {"waits", 12, "000000000000000\t3\t0:4", 3, "stop()|3|#000000", 0},
        {"two-frame", 16, "000000000000000\t2\t0:4", 3, "stop()|1|#000000", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        testApp.icons[7] = r.icon;
        testApp.infos[7] = r.info;
        testApp.pages.clear();
        testApp.registered.clear();
        AString before = flash->movieFile();
        window->showDocument(7, r.frame, 0, 0);
        settle();
        ASSERT_EQ(1u, testApp.pages.size());
        const std::string& page = testApp.pages[0];
        EXPECT_EQ(0u, page.find("HTMLFLASHMEDIAWIN File:///")) << page;
        EXPECT_NE(std::string::npos, page.find(std::string("|") + r.page)) << page;
        EXPECT_EQ(r.toggle, pane(window)->frameToggle());
        EXPECT_EQ("File:///", view->take().substr(0, 8));
        EXPECT_EQ(-1, flash->currentFrame());
        EXPECT_FALSE(flash->movieFile().empty());
        if (!before.empty()) {
            EXPECT_NE(testApp.registered.end(),
                      std::find(testApp.registered.begin(), testApp.registered.end(), before.c_str()))
                << "the movie before goes to the temporary-file list";
        }
    }
    flash->play();
    flash->stopAndRewind();
    flash->gotoFrame(2);
    flash->zoom(300, 200);
    flash->zoom(100, 200);
    EXPECT_EQ("javascript:play();javascript:stopAndRewind();javascript:gotoframe(2);javascript:zoom(66);"
              "javascript:zoom(0);",
              view->take());
    // Every message the shown movie raises is taken, a frame change included,
    // and only the title of the other events.
    struct Event {
        const char* name;
        const char* data;
        bool visible;
        int16_t taken;
    } const events[] = {{"Observe", "framechange=3", true, 1}, {"Observe", "FSCommand:stop", true, 1},
                        {"UpdateTitle", "", true, 1},
                        {"UpdateProgress", "", true, 0}};
    for (const Event& e : events) {
        SCOPED_TRACE(std::string(e.name) + " " + e.data);
        view->setVisibleFlag(e.visible);
        AMozillaObserveEvent observe;
        observe.data = e.data;
        AMozillaUpdateTitleEvent title;
        AMozillaUpdateProgressEvent progress;
        AMozillaEvent* event = std::string(e.name) == "Observe" ? static_cast<AMozillaEvent*>(&observe)
                               : std::string(e.name) == "UpdateTitle" ? static_cast<AMozillaEvent*>(&title)
                                                                      : static_cast<AMozillaEvent*>(&progress);
        EXPECT_EQ(e.taken, view->dispatchEvent(event));
        settle();
    }
    view->setVisibleFlag(true);
    // The media pane's zoom steps are the configuration's with 100 inserted.
    EXPECT_STREQ("ZOOM", pane(window)->zoomText().c_str());
    EXPECT_EQ(4, pane(window)->scales().count());
}

TEST_F(MediaMovieTest, TheDirectorPageIsWrittenOnlyWhileTheExternalModeIsSet) {
    testApp.fields["5:VIDNAME"] = "long95.mov";
    testApp.fields["5:DCRNAME"] = "film.dcr";
    MediaWin* window = open(5);
    auto* dcr = paneOf<MediaDCRPane>(window);
    auto* video = paneOf<MediaVideoPane>(window);
    ASSERT_NE(nullptr, dcr);
    ASSERT_NE(nullptr, video);
    // The reader's road: the mode is clear, the video pane shows and the page is never written.
    EXPECT_EQ(0, dcr->isPaneWanted());
    EXPECT_EQ(1, video->isPaneWanted());
    EXPECT_TRUE(dcr->pageFile().empty());
    MediaPaneTestAccess::setExternalMode(pane(window), 1);
    EXPECT_EQ(1, dcr->isPaneWanted());
    EXPECT_EQ(0, video->isPaneWanted());
    std::string first;
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        testApp.registered.clear();
        dcr->updatePane();
        ASSERT_FALSE(dcr->pageFile().empty());
        std::string text = ReadFile(dcr->pageFile().c_str());
        std::string folder = std::string(kMovieFolder);
        EXPECT_EQ("HTMLDCRMEDIAWIN\n<html><head><title>Image 5</title></head><body>" + folder +
                      "\\VIDEOS\\long95.mov|" + folder + "\\DCR\\film.dcr|launcher</body></html>",
                  text);
        EXPECT_EQ("File:///", viewOf(dcr->view())->take().substr(0, 8));
        if (pass == 1) {
            EXPECT_NE(first, dcr->pageFile().c_str()) << "a new page each time";
            ASSERT_EQ(1u, testApp.registered.size());
            EXPECT_EQ(first, testApp.registered[0]) << "the first page goes to the temporary-file list";
        }
        first = dcr->pageFile().c_str();
    }
    // A negative document keeps the page.
    dcr->loadMovie(-1);
    EXPECT_EQ(first, dcr->pageFile().c_str());
}

TEST(MediaVideoPage, TheThreeMarkersAndTheTitleAreReplaced) {
    struct Row {
        const char* page;
        const char* expected;
    } const rows[] = {
        {"<title>old</title><VIDEO_FILENAME_TO_REPLACE><DCR_FILENAME_TO_REPLACE><LAUNCHER_FILENAME_TO_REPLACE>",
         "<title>A &amp; B</title>v|d|l"},
        {"<VIDEO_FILENAME_TO_REPLACE> <VIDEO_FILENAME_TO_REPLACE>", "v| v|"},
        {"no title <title>", "no title <title>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        EXPECT_EQ(r.expected, FillVideoPage(r.page, "v|", "d|", "l", "A & B"));
    }
}
