// Shared set-up of the movie tests: a real application object of the movie
// base without a frame, our movie layer loaded from beside the test, its
// manual clock and call log, and a test window to hold viewers and movies.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/framework/clusters/ClusterTestSupport.h"
#include "web/movie/AQuickTimeApp.h"
#include "web/movie/MovieFile.h"

class MovieTestApp : public AQuickTimeApp {
public:
    MovieTestApp() : AQuickTimeApp(AString("TestMovies"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}
    int exitCode = -1;
    std::string libraryPath;  // empty: beside the program

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
    void endProcess(int code) override { exitCode = code; }
    const char* movieLibraryPath() override { return libraryPath.empty() ? nullptr : libraryPath.c_str(); }
};

// The generated movie of that name (tests/platform/movies).
AMovieFile SampleMovie(const std::string& name, long start = 0, long end = 0);
std::string SampleMoviePath(const std::string& name);

// The layer's seams, through its module.
void LayerSetClock(long mode);
void LayerAdvanceClock(long milliseconds);
void LayerSetLogging(bool on);
std::string LayerTakeLog();
void LayerFailNext(const char* call, int error);
void LayerSetBarHeight(long pixels);

class MovieTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh application; the layer starts unless the library path names a missing file.
    void makeApp(uint16_t options, const std::string& libraryPath = "",
                 const std::function<void()>& beforeAttach = nullptr);
    void dropApp();
    // The test window (with its native window), or null without a display.
    TestWindow* openWindow(const ARect& frame);

    MovieTestApp* app = nullptr;
    TestWindow* window = nullptr;
    CaptureStream errors;
};
