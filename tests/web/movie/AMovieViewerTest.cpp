// The viewers and the controller item in a real window over our movie layer:
// layouts, controller modes, clicks and presses, hiding, fitting, hot spots,
// and the picture of a playing movie (build/artifacts/movie-viewer.png).
#include "web/movie/AMovieViewer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/object/AFile.h"
#include "base/object/AMemoryStream.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/web/movie/MovieTestSupport.h"
#include "web/movie/MovieLibrary.h"

namespace {

class AMovieViewerTest : public MovieTest {
protected:
    // A shown viewer of the mode and flags in a window, its movie open.
    template <class Viewer = AMovieViewer>
    Viewer* viewerWith(uint16_t mode, uint16_t flags, const char* movie = "odd.mov", int16_t id = 5) {
        if (!window && !openWindow(ARect(0, 0, 320, 240)))
            return nullptr;
        window->showUpdate();
        auto* viewer = Shown(Open<Viewer>(window, id, Frame(0, 0, 200, 160), mode, flags));
        EXPECT_EQ(0, viewer->setMovie(SampleMovie(movie)) & 0xFFFF);
        return viewer;
    }
    void press(AMovieViewer* viewer, long x, long y) {
        AMouseEvent event(APoint(x, y), MK_LBUTTON);
        viewer->mouseDown(event);
    }
};

TEST_F(AMovieViewerTest, ControllerModes) {
    if (!openWindow(ARect(0, 0, 320, 240)))
        GTEST_SKIP() << "no display";
    auto* separate = Open<AMovieController>(window, int16_t(10), Frame(0, 200, 200, 216));
    struct Row {
        uint16_t mode;
        bool attached;
        bool bound;
    } rows[] = {{0, false, false}, {1, true, false}, {2, true, false}, {3, false, false},
                {9, false, false}, {10, false, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        AMovieViewer* viewer = viewerWith(r.mode, 0);
        ASSERT_NE(nullptr, viewer->movie());
        EXPECT_EQ(r.attached, Movies()->MCIsControllerAttached(viewer->movie()->controller()) != 0);
        EXPECT_EQ(r.attached, viewer->inBar(APoint(100, 150)));
        EXPECT_EQ(r.attached ? 160 - 16 : 160, viewer->movieArea().y);
        EXPECT_EQ(61 + (r.attached ? 16 : 0), viewer->movie()->getDisplayExtent().y);
        EXPECT_EQ(r.bound ? separate : nullptr, viewer->controllerItem());
        EXPECT_EQ(r.bound ? viewer : nullptr, separate->viewer());
        AComponent* gone = viewer;
        DeleteComponent(gone);
        EXPECT_EQ(nullptr, separate->viewer());
    }
}

TEST_F(AMovieViewerTest, ClicksPressesAndHiding) {
    AMovieViewer* viewer = viewerWith(1, 0);
    if (!viewer)
        GTEST_SKIP() << "no display";
    AMovie* movie = viewer->movie();
    press(viewer, 50, 50);
    EXPECT_TRUE(movie->isPlaying()) << "a click on a stopped movie plays it";
    EXPECT_TRUE(app->isRegistered(movie));
    press(viewer, 50, 50);
    EXPECT_FALSE(movie->isPlaying()) << "a press on a playing one pauses it";
    press(viewer, 100, 150);
    EXPECT_FALSE(movie->isPlaying()) << "the bar belongs to the controller";
    press(viewer, 5, 150);
    EXPECT_TRUE(movie->isPlaying()) << "the bar's button plays";
    viewer->hideUpdate();
    EXPECT_FALSE(movie->isPlaying()) << "hidden";
    EXPECT_FALSE(app->isRegistered(movie));
    viewer->showUpdate();
    EXPECT_TRUE(app->isRegistered(movie));
}

TEST_F(AMovieViewerTest, FittingAndLookupFlags) {
    AMovieViewer* fitted = viewerWith(1, AMovieViewer::kFitToMovie);
    if (!fitted)
        GTEST_SKIP() << "no display";
    EXPECT_EQ(APoint(97, 61 + 16), fitted->getSize());
    AMovieViewer* looked = viewerWith(0, AMovieViewer::kFitToMovie | AMovieViewer::kQuickTimeLookup, "odd.mov", 6);
    EXPECT_EQ(APoint(97, 61), looked->getSize());
    EXPECT_EQ(20, looked->movie()->toFrame(-2));
    EXPECT_TRUE(looked->movie()->useQuickTimeLookup());
    EXPECT_EQ(nullptr, looked->movie()->sampleTable());
    // A file that is not a movie leaves the viewer empty.
    EXPECT_NE(0, looked->setMovie(SampleMovie("odd.mov.probe")) & 0xFFFF);
    EXPECT_EQ(nullptr, looked->movie()->movie());
}

TEST_F(AMovieViewerTest, ThePlayingPictureAfterOneSecondMatchesFfmpeg) {
    AMovieViewer* viewer = viewerWith(1, AMovieViewer::kFitToMovie, "mjpeg_sound.mov");
    if (!viewer)
        GTEST_SKIP() << "no display";
    ShowWindow(window->hwnd(), SW_SHOW);
    viewer->movie()->playFrom(-1, -2, 1000);
    LayerAdvanceClock(1000);
    app->idleMovies();
    EXPECT_EQ(1000, viewer->movie()->getCurrentPosition());
    viewer->movie()->draw(window->hwnd(), false);
    Canvas canvas(200, 160);
    HDC screen = GetDC(window->hwnd());
    BitBlt(canvas.dc(), 0, 0, 200, 160, screen, 0, 0, SRCCOPY);
    ReleaseDC(window->hwnd(), screen);
    canvas.savePng("movie-viewer");
    const std::string expected = ReadAll(SampleMoviePath("mjpeg_sound.frame25.rgb"));
    ASSERT_EQ(size_t(160 * 120 * 3), expected.size());
    double total = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            COLORREF c = canvas.pixel(x, y);
            const unsigned char* e = reinterpret_cast<const unsigned char*>(expected.data()) + (y * 160 + x) * 3;
            total += std::abs(int(GetRValue(c)) - e[0]) + std::abs(int(GetGValue(c)) - e[1]) +
                     std::abs(int(GetBValue(c)) - e[2]);
        }
    }
    EXPECT_LT(total / (160 * 120 * 3), 4.0);
    // Pause, then resume at the former rate.
    viewer->movie()->playFrom(-1, -2, 500);
    viewer->movie()->pause();
    LayerAdvanceClock(600);
    viewer->movie()->resume();
    LayerAdvanceClock(400);
    EXPECT_EQ(1200, viewer->movie()->getCurrentPosition());
}

}  // namespace

namespace {

class AMovideoViewerTest : public AMovieViewerTest {
protected:
    AMovideoViewer* hotViewer() {
        auto* viewer = viewerWith<AMovideoViewer>(0, 0);
        if (!viewer)
            return nullptr;
        HotSpotPair pair;
        auto file = [](const char* name) {
            return AFile(AFileSpec((std::string(SV_HOTSPOTS) + name).c_str()), 0, kPlainFileOptions, false);
        };
        EXPECT_EQ(0, HotSpotPairOpen(pair, file("odd.rec"), file("odd.idx")));
        viewer->setHotSpots(pair);
        return viewer;
    }
};

TEST_F(AMovideoViewerTest, HotSpotsFollowTheFrames) {
    AMovideoViewer* viewer = hotViewer();
    if (!viewer)
        GTEST_SKIP() << "no display";
    struct Row {
        long ms;  // 7 fps: frame = ms x 7 / 1000
        long x, y;
        long hit;
    } rows[] = {
        {0, 50, 60, 1},     {0, 150, 60, -1},   {600, 50, 60, 1},   {800, 50, 60, -1},
        {1500, 150, 60, 1}, {1500, 10, 10, 2},  {1500, 50, 60, -1}, {1500, 100, 60, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.ms) + " ms at " + std::to_string(r.x) + "," + std::to_string(r.y));
        EXPECT_EQ(r.hit, viewer->hotSpotAt(APoint(r.x, r.y), r.ms));
        viewer->movie()->goToTime(r.ms);
        AMouseEvent up(APoint(r.x, r.y), 0);
        viewer->mouseUp(up);
        EXPECT_EQ(r.hit, viewer->lastHotSpot());
        EXPECT_EQ(r.ms, viewer->clickFrame());
        AMouseEvent move(APoint(r.x, r.y), 0);
        viewer->mouseMove(move);
        EXPECT_EQ(r.hit > 0 ? -2 : -3, app->cursorId());
    }
    AComponent* gone = viewer;
    DeleteComponent(gone);
}

}  // namespace

namespace {

TEST_F(AMovieViewerTest, AControllerIdNamingNoControllerIsALayoutError) {
    if (!openWindow(ARect(0, 0, 320, 240)))
        GTEST_SKIP() << "no display";
    Open<AStaticItem>(window, int16_t(12), Frame(0, 200, 200, 216));
    // No item with the id: the assertion; an item of another class: the allocation check.
    std::string boxes[2];
    for (uint16_t mode : {11, 12}) {
        SCOPED_TRACE(mode);
        ClearBoxes();
        EXPECT_GT(FatalExitCodeOf([&] { Open<AMovieViewer>(window, int16_t(20 + mode), Frame(0, 0, 100, 100), mode, 0); }),
                  0);
        ASSERT_FALSE(CapturedBoxes().empty());
        boxes[mode - 11] = CapturedBoxes()[0].text;
        EXPECT_NE(std::string::npos, boxes[mode - 11].find("File umovies"));
    }
    EXPECT_NE(boxes[0], boxes[1]);
}

TEST_F(AMovieViewerTest, TheApplicationStopsTheLayerWhenItGoes) {
    ASSERT_TRUE(MoviesReady());
    LayerSetLogging(true);
    LayerTakeLog();
    dropApp();
    EXPECT_EQ("ExitMovies\nTerminateQTML\n", LayerTakeLog());
    EXPECT_FALSE(MoviesReady());
    LayerSetLogging(false);
}

}  // namespace

namespace {

void Word(std::vector<unsigned char>& out, uint16_t w) {
    out.push_back(static_cast<unsigned char>(w & 0xFF));
    out.push_back(static_cast<unsigned char>(w >> 8));
}

// An AMovieViewer object of a layout: the component (id), display (four
// plain edges), cluster item (cursor, id mode, no environment), command item
// and atomic item (focus mode) records, each with its end mark, then the
// viewer's controller mode, flags and the given end mark; no children.
std::vector<unsigned char> ViewerObject(uint16_t mode, uint16_t flags, uint16_t mark) {
    std::vector<unsigned char> out;
    const char* name = "AMovieViewer";
    out.insert(out.end(), name, name + 13);
    Word(out, 7);
    Word(out, 0xFFFF);
    for (int32_t edge : {0, 0, 120, 90}) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<unsigned char>(static_cast<uint32_t>(edge) >> (8 * i)));
        Word(out, 0);
        Word(out, 0);
    }
    Word(out, 0xFFFF);
    Word(out, 0);
    Word(out, 1);
    out.push_back(0);
    Word(out, 0xFFFF);
    Word(out, 0xFFFF);
    Word(out, 0);
    Word(out, 0xFFFF);
    Word(out, mode);
    Word(out, flags);
    Word(out, mark);
    for (uint16_t w : {0xFFFF, 0xFFFF, 0x0000})
        Word(out, w);
    return out;
}

TEST_F(AMovieViewerTest, ViewersComeFromLayouts) {
    if (!openWindow(ARect(0, 0, 320, 240)))
        GTEST_SKIP() << "no display";
    for (uint16_t mark : {uint16_t(0xFFFF), uint16_t(0x1234)}) {
        SCOPED_TRACE(mark);
        std::vector<unsigned char> bytes = {0x02, 0x00, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00};
        std::vector<unsigned char> object = ViewerObject(2, AMovieViewer::kQuickTimeLookup, mark);
        bytes.insert(bytes.end(), object.begin(), object.end());
        AMemoryStream stream(bytes.data(), static_cast<long>(bytes.size()));
        std::string failedIn;
        AComponent* made = nullptr;
        try {
            made = ALayoutLoader::loadFromStream(window, stream, 0);
        } catch (const AError& e) {
            failedIn = e.fileOrUnknown();
        }
        if (mark != 0xFFFF) {
            EXPECT_EQ("umovies", failedIn) << "a missing end mark";
            continue;
        }
        ASSERT_NE(nullptr, made) << failedIn;
        auto* viewer = static_cast<AMovieViewer*>(made->castTo(&AMovieViewer::classRecord));
        ASSERT_NE(nullptr, viewer);
        EXPECT_EQ(2, viewer->controllerMode());
        ASSERT_NE(nullptr, viewer->movie());
        EXPECT_TRUE(viewer->movie()->useQuickTimeLookup());
        EXPECT_EQ(0, viewer->setMovie(SampleMovie("odd.mov")) & 0xFFFF);
        EXPECT_EQ(APoint(120, 90), viewer->getSize());
    }
}

}  // namespace
