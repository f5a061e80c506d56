// The movie component over our movie layer: the calls it makes, positions and
// frames, containers, listeners, full screen, and starting without the layer.
#include "web/movie/AMovie.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "tests/base/procedural/FileTestSupport.h"
#include "tests/web/movie/MovieTestSupport.h"
#include "web/movie/AMovieViewer.h"
#include "web/movie/MovieLibrary.h"

namespace {

// The log lines of the calls that decide playback.
std::string PlaybackCalls(const std::string& log) {
    std::istringstream in(log);
    std::string line, out;
    while (std::getline(in, line)) {
        if (line.rfind("MCDoAction", 0) == 0 || line.rfind("PrerollMovie", 0) == 0 ||
            line.rfind("SetMovieActive", 0) == 0 || line.rfind("BeginFullScreen", 0) == 0 ||
            line.rfind("EndFullScreen", 0) == 0)
            out += line + "\n";
    }
    return out;
}

long Low(long code) {
    return long(int16_t(code & 0xFFFF));
}

class AMovieTest : public MovieTest {
protected:
    AMovie* openMovie(const AMovieFile& file) {
        if (!window && !openWindow(ARect(0, 0, 300, 200)))
            return nullptr;
        AMovie* movie = Open<AMovie>(window);
        EXPECT_EQ(0, Low(movie->openMovie(file, APoint(0, 0))));
        return movie;
    }
};

TEST_F(AMovieTest, TimesRatesAndPlayFromAgainstTheCallLog) {
    AMovie* movie = openMovie(SampleMovie("scale600.mov"));
    if (!movie)
        GTEST_SKIP() << "no display";
    struct Row {
        const char* what;
        std::function<void()> act;
        const char* calls;
    } rows[] = {
        {"1500 ms in a time scale of 600 is 900", [&] { movie->goToTime(1500); }, "MCDoAction 12 900/600\n"},
        {"start 0 to the end goes to 0 first, then plays without a selection",
         [&] { movie->playFrom(0, -2, 1000); },
         "MCDoAction 12 0/600\nMCDoAction 34 0\nPrerollMovie 0 65536\nSetMovieActive 1\n"
         "MCDoAction 8 65536\nMCDoAction 34 0\n"},
        {"rate -500 is -0.5 in 16.16", [&] { movie->playFrom(-1, -2, -500); },
         "MCDoAction 34 0\nPrerollMovie 0 -32768\nSetMovieActive 1\nMCDoAction 8 -32768\nMCDoAction 34 0\n"},
        {"a range plays as a selection", [&] { movie->playFrom(500, 1500, 2000); },
         "MCDoAction 29 300/600\nMCDoAction 30 600/600\nMCDoAction 34 1\nPrerollMovie 300 131072\n"
         "SetMovieActive 1\nMCDoAction 8 131072\n"},
        {"pause keeps the rate", [&] { movie->playFrom(-1, -2, 1500); LayerTakeLog(); movie->pause(); },
         "MCDoAction 42\nMCDoAction 8 0\nMCDoAction 34 0\n"},
        {"resume plays at it", [&] { movie->playFrom(-1, -2, 1500); movie->pause(); LayerTakeLog(); movie->resume(); },
         "MCDoAction 8 98304\nMCDoAction 34 0\n"},
        {"resume without a kept rate does nothing", [&] { movie->resume(); }, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        movie->pause();
        movie->resume();
        movie->goToTime(0);
        LayerSetLogging(true);
        LayerTakeLog();
        r.act();
        EXPECT_EQ(r.calls, PlaybackCalls(LayerTakeLog()));
        LayerSetLogging(false);
    }
}

TEST_F(AMovieTest, PositionsFramesAndTheClock) {
    AMovie* movie = openMovie(SampleMovie("scale600.mov"));
    if (!movie)
        GTEST_SKIP() << "no display";
    EXPECT_EQ(2000, movie->getEndPosition());
    EXPECT_EQ(APoint(64, 48), movie->getExtent());
    EXPECT_EQ(APoint(64, 48 + 16), movie->getDisplayExtent()) << "the bar is attached";
    movie->playFrom(-1, -2, 1000);
    EXPECT_TRUE(movie->isPlaying());
    EXPECT_TRUE(movie->isPlayingState());
    LayerAdvanceClock(1000);
    app->idleMovies();
    EXPECT_EQ(1000, movie->getCurrentPosition());
    EXPECT_EQ(25, movie->toFrame(-1));
    // Pause keeps the rate; resume goes on at it.
    movie->playFrom(-1, -2, 500);
    movie->pause();
    EXPECT_FALSE(movie->isPlaying());
    EXPECT_FALSE(movie->isPlayingState());
    LayerAdvanceClock(400);
    EXPECT_EQ(1000, movie->getCurrentPosition());
    movie->pause();
    movie->resume();
    EXPECT_TRUE(movie->isPlaying());
    LayerAdvanceClock(400);
    EXPECT_EQ(1200, movie->getCurrentPosition());
    movie->pause();
    struct Row {
        long position, frame;
    } rows[] = {{0, 0}, {39, 0}, {40, 1}, {1000, 25}, {1999, 49}, {2000, 49}, {-2, 49}, {-1, 30}};
    for (bool quickTime : {false, true}) {
        movie->setUseQuickTimeLookup(quickTime);
        for (const Row& r : rows) {
            SCOPED_TRACE(std::to_string(r.position) + (quickTime ? " through the layer" : " through the table"));
            EXPECT_EQ(r.frame, movie->toFrame(r.position));
        }
    }
    movie->setUseQuickTimeLookup(0);
    movie->setPositionsInFrames(1);
    EXPECT_EQ(30, movie->getCurrentPosition());
    EXPECT_EQ(49, movie->getEndPosition());
    EXPECT_EQ(600, movie->frameToTime(25));
    EXPECT_EQ(49 * 24, movie->frameToTime(80)) << "clamped to the last frame";
    movie->goToTime(10);
    EXPECT_EQ(240, movie->timeOf(-1, nullptr));
}

TEST_F(AMovieTest, AContainerRangeGivesTheSameAnswersAsTheFile) {
    AMovie* whole = openMovie(SampleMovie("odd.mov"));
    if (!whole)
        GTEST_SKIP() << "no display";
    long size = long(ReadAll(SampleMoviePath("odd.mov")).size());
    AMovie* inside = Open<AMovie>(window);
    ASSERT_EQ(0, Low(inside->openMovie(SampleMovie("odd.mov.bin", 777, 777 + size), APoint(0, 0))));
    EXPECT_EQ(whole->getEndPosition(), inside->getEndPosition());
    EXPECT_EQ(whole->getExtent(), inside->getExtent());
    for (long ms : {0L, 500L, 1500L, 2999L, -2L}) {
        SCOPED_TRACE(ms);
        EXPECT_EQ(whole->toFrame(ms), inside->toFrame(ms));
    }
    EXPECT_NE(nullptr, inside->sampleTable()) << "the table is read from the range";
    // A file that is no movie, and a missing one, leave no movie open.
    EXPECT_NE(0, Low(inside->openMovie(SampleMovie("odd.mov.probe"), APoint(0, 0))));
    EXPECT_EQ(nullptr, inside->movie());
    EXPECT_EQ(-43, Low(inside->openMovie(SampleMovie("missing.mov"), APoint(0, 0))));
}

TEST_F(AMovieTest, AMovieWithoutPictureAndABarOfOddHeight) {
    for (long bar : {14L, 21L, 16L}) {
        SCOPED_TRACE(bar);
        LayerSetBarHeight(bar);
        AMovie* movie = openMovie(SampleMovie("soundonly.mov"));
        if (!movie)
            GTEST_SKIP() << "no display";
        EXPECT_EQ(bar == 16 ? 16 : 18, movie->controllerHeight());
        EXPECT_EQ(320, movie->getExtent().x) << "a box of zero width";
        for (long ms : {0L, 500L, -2L})
            EXPECT_EQ(0, movie->toFrame(ms));
        EXPECT_EQ(1000, movie->getEndPosition());
        AComponent* gone = movie;
        DeleteComponent(gone);
    }
}

class Recorder : public AMovieListener {
public:
    explicit Recorder(bool consume) : consume_(consume) {}
    bool handleAction(AMovie*, short action, void*) override {
        seen += std::to_string(action) + " ";
        return consume_ && action == mcActionPlay;
    }
    std::string seen;

private:
    bool consume_;
};

TEST_F(AMovieTest, ListenersSeeActionsAndOneCanStopPlaying) {
    AMovie* movie = openMovie(SampleMovie("odd.mov"));
    if (!movie)
        GTEST_SKIP() << "no display";
    auto* watcher = new Recorder(false);
    watcher->addRef();
    movie->addListener(1, watcher);
    movie->playFrom(-1, -2, 1000);
    EXPECT_TRUE(movie->isPlaying());
    EXPECT_EQ("34 8 34 42 ", watcher->seen);
    movie->pause();
    auto* blocker = new Recorder(true);
    movie->addListener(0, blocker);
    movie->playFrom(-1, -2, 1000);
    EXPECT_FALSE(movie->isPlaying()) << "a consumed play does not play";
    movie->removeListener(0);
    watcher->enabled = 0;
    watcher->seen.clear();
    movie->playFrom(-1, -2, 1000);
    EXPECT_EQ("", watcher->seen);
    EXPECT_TRUE(movie->isPlaying());
    movie->clearListeners();
    watcher->release();
}

TEST_F(AMovieTest, FullScreenBeginsWithPlayAndEndsWhenPaused) {
    AMovie* movie = openMovie(SampleMovie("odd.mov"));
    if (!movie)
        GTEST_SKIP() << "no display";
    movie->setOption(1);
    LayerSetLogging(true);
    LayerTakeLog();
    movie->playFrom(-1, -2, 1000);
    EXPECT_TRUE(movie->hasFullScreen());
    std::string calls = PlaybackCalls(LayerTakeLog());
    EXPECT_EQ(0u, calls.find("BeginFullScreen 640 480 0\n")) << calls;
    movie->pause();
    EXPECT_TRUE(movie->hasFullScreen()) << "ended at the next event";
    movie->handleEvent(window->hwnd(), WM_NULL, 0, 0);
    EXPECT_FALSE(movie->hasFullScreen());
    EXPECT_NE(std::string::npos, LayerTakeLog().find("EndFullScreen 0"));
    movie->setOption(0);
    movie->playFrom(-1, -2, 1000);
    EXPECT_FALSE(movie->hasFullScreen());
    movie->closeMovie();
}

TEST_F(AMovieTest, StartingWithoutTheLayerOrWithAFailingToolbox) {
    struct Row {
        const char* what;
        uint16_t options;
        const char* library;
        bool failEnter;
        const char* box;
        int exitCode;
        bool ready;
    } rows[] = {
        {"required and missing", AQuickTimeApp::kMoviesRequired, "Z:\\missing\\QuickTime.qts", false,
         "Cette application requiert au moins QuickTime 3.0", 1, false},
        {"optional and missing", 0, "Z:\\missing\\QuickTime.qts", false, nullptr, -1, false},
        {"toolbox failing", 0, "", true, "L'initialisation de QuickTime a \xE9" "chou\xE9", 1, false},
        {"present", AQuickTimeApp::kMoviesRequired, "", false, nullptr, -1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ClearBoxes();
        makeApp(r.options, r.library, [&] {
            if (r.failEnter)
                LayerFailNext("EnterMovies", -1);
        });
        ASSERT_EQ(r.box ? 1u : 0u, CapturedBoxes().size());
        if (r.box) {
            EXPECT_EQ(r.box, CapturedBoxes()[0].text);
        }
        EXPECT_EQ(r.exitCode, app->exitCode);
        EXPECT_EQ(r.ready, MoviesReady());
        if (!r.ready && openWindow(ARect(0, 0, 100, 100))) {
            AMovie* movie = Open<AMovie>(window);
            EXPECT_EQ(-2020, Low(movie->openMovie(SampleMovie("odd.mov"), APoint(0, 0))));
            EXPECT_EQ(AMovie::kMovieErrorDomain, movie->openMovie(SampleMovie("odd.mov"), APoint(0, 0)) >> 16);
        }
    }
}

}  // namespace

namespace {

// The start of a real application process: the child runs only when the
// parent asks for it, with the options word in the environment.
class ChildApp : public AQuickTimeApp {
public:
    ChildApp() : AQuickTimeApp(AString("TestMoviesChild"), ARect(), 0, 0) {}

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
    const char* movieLibraryPath() override { return "Z:\\missing\\QuickTime.qts"; }
};

// Not a test of its own (disabled): the next test runs it in a child process.
TEST(AMovieStart, DISABLED_ChildStartsWithoutTheLayer) {
    const char* options = std::getenv("SV_MOVIE_START_CHILD");
    ASSERT_TRUE(options) << "run by AReaderRequiringMoviesEndsNonZeroWithoutTheLayer";
    AClass::buildRegistry();
    auto* app = new ChildApp;
    app->setOptions(uint16_t(std::atoi(options)));
    app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    bool started = app->activateOtherInstance();
    std::printf("started %d ready %d\n", started ? 1 : 0, app->quickTimeReady() ? 1 : 0);
    delete app;
    AClass::releaseRegistry();
}

TEST(AMovieStart, AReaderRequiringMoviesEndsNonZeroWithoutTheLayer) {
    if (std::getenv("SV_MOVIE_START_CHILD"))
        GTEST_SKIP() << "the child";
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    for (const char* options : {"2", "0"}) {
        SCOPED_TRACE(options);
        SetEnvironmentVariableA("SV_MOVIE_START_CHILD", options);
        std::string command = std::string("\"") + exe +
                              "\" --gtest_also_run_disabled_tests"
                              " --gtest_filter=AMovieStart.DISABLED_ChildStartsWithoutTheLayer";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 60000));
        DWORD code = 99;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        EXPECT_EQ(options[0] == '2' ? 1u : 0u, code);
    }
    SetEnvironmentVariableA("SV_MOVIE_START_CHILD", nullptr);
}

TEST(MovieClasses, NamesNumbersAndParents) {
    RegisterMovieClasses();
    struct Row {
        const AClass* record;
        const char* name;
        long number;
        const AClass* parent;
    } rows[] = {
        {&AQuickTimeApp::classRecord, "AQuickTimeApp", 650, &AApp::classRecord},
        {&AMovie::classRecord, "AMovie", 651, &AComponent::classRecord},
        {&AMovieViewer::classRecord, "AMovieViewer", 652, &AAtomicItem::classRecord},
        {&AMovieController::classRecord, "AMovieController", 653, &AAtomicItem::classRecord},
        {&AMovideoViewer::classRecord, "AMovideoViewer", 654, &AMovieViewer::classRecord},
    };
    AClass::buildRegistry();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_STREQ(r.name, r.record->name());
        EXPECT_EQ(r.number, r.record->classNumber());
        EXPECT_EQ(r.parent, r.record->parents()[0]);
        EXPECT_EQ(r.record, AClass::findByName(r.name));
    }
    AClass::releaseRegistry();
}

}  // namespace
