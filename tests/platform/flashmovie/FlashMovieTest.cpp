// The stand-in movie's format, its playback calls, and the page sizes and
// stop texts the movie panes compute.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panes/content/article/AContentApp.h"
#include "panes/content/flash/FlashPane.h"
#include "platform/flashmovie/FlashMovie.h"

namespace {

const char kMovie[] = "SVMOVIE 1\r\nSIZE 1000 500\r\n# a comment\r\nFRAME a.png\r\nHOT 10 20 100 50 sv10:x?appl=go_art\r\n"
                      "FRAME sub/b.png\r\n";

}  // namespace

TEST(FlashMovieTest, AMovieReadsOrFailsNamingItsLine) {
    struct Row {
        std::string text;
        std::string error;  // empty: reads
    } rows[] = {
        {kMovie, ""},
        {"", "line 1: empty movie"},
        {"SVMOVIE 2\nSIZE 1 1\nFRAME a.png\n", "line 1: not a movie (SVMOVIE 1 expected)"},
        {"SVMOVIE 1\nSIZE 0 10\n", "line 2: bad size"},
        {"SVMOVIE 1\nSIZE 10 99999999999\n", "line 2: bad size"},
        {"SVMOVIE 1\nSIZE 10 10\nHOT 1 1 1 1 x\n", "line 3: hotspot before any frame"},
        {"SVMOVIE 1\nSIZE 10 10\nFRAME ../x.png\n", "line 3: bad frame picture name"},
        {"SVMOVIE 1\nSIZE 10 10\nFRAME c:x.png\n", "line 3: bad frame picture name"},
        {"SVMOVIE 1\nSIZE 10 10\nFRAME a.png\nHOT 1 1 0 1 x\n", "line 4: bad hotspot rectangle"},
        {"SVMOVIE 1\nSIZE 10 10\nFRAME a.png\nHOT 1 1 1 1\n", "line 4: hotspot without text"},
        {"SVMOVIE 1\nSIZE 10 10\nPLAY\n", "line 3: unknown directive"},
        {"SVMOVIE 1\nSIZE 10 10\n", "line 2: no FRAME"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        FlashMovie movie;
        std::string error;
        EXPECT_EQ(row.error.empty(), movie.read(row.text, error));
        EXPECT_EQ(row.error, error);
    }
    FlashMovie movie;
    std::string error;
    ASSERT_TRUE(movie.read(kMovie, error));
    ASSERT_EQ(2u, movie.frames().size());
    EXPECT_EQ("sub/b.png", movie.frames()[1].picture);
    ASSERT_TRUE(movie.hotspotAt(0, 10, 20));
    EXPECT_EQ("sv10:x?appl=go_art", *movie.hotspotAt(0, 109, 69));
    EXPECT_FALSE(movie.hotspotAt(0, 110, 20));
    EXPECT_FALSE(movie.hotspotAt(1, 10, 20));
    EXPECT_FALSE(movie.hotspotAt(7, 10, 20));
}

TEST(FlashMovieTest, ThePagesCallsMoveTheMovie) {
    FlashMovie movie;
    std::string error;
    ASSERT_TRUE(movie.read(kMovie, error));
    struct Row {
        const char* function;
        std::vector<std::string> arguments;
        int32_t frame, zoom, panX, panY;
    } rows[] = {
        {"gotoframe", {"1"}, 1, 100, 0, 0},
        {"gotoframe", {"9"}, 1, 100, 0, 0},   // no such frame
        {"gotoframe", {"x"}, 1, 100, 0, 0},   // not a number
        {"zoom", {"50"}, 1, 200, 0, 0},       // from 100 to 200
        {"zoom", {"0"}, 1, 100, 0, 0},        // back to 100
        {"zoompan", {"50", "-35", "12", "0"}, 1, 200, -35, 12},
        {"zoompan", {"0", "1", "1", "0"}, 1, 200, -35, 12},  // a zero divisor is refused
        {"stopAndRewind", {}, 0, 200, -35, 12},
    };
    FlashPlayback playback(&movie);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.function);
        EXPECT_TRUE(playback.call(row.function, row.arguments));
        EXPECT_EQ(row.frame, playback.frame());
        EXPECT_EQ(row.zoom, playback.zoom());
        EXPECT_EQ(row.panX, playback.panX());
        EXPECT_EQ(row.panY, playback.panY());
    }
    EXPECT_FALSE(playback.call("eval", {"x"}));
    // A view of 500 x 500 shows the 1000 x 500 movie at 500 x 250, centred.
    FlashPlayback fitted(&movie);
    int32_t x, y, w, h, dx, dy;
    fitted.placement(500, 500, x, y, w, h);
    EXPECT_EQ(0, x);
    EXPECT_EQ(125, y);
    EXPECT_EQ(500, w);
    EXPECT_EQ(250, h);
    ASSERT_TRUE(fitted.toDesign(500, 500, 5, 135, dx, dy));
    EXPECT_EQ(10, dx);
    EXPECT_EQ(20, dy);
    EXPECT_FALSE(fitted.toDesign(500, 500, 5, 100, dx, dy));
}

TEST(FlashPageTest, MoviesFitTheirViewAndMapsStopWhereTheyWereLeft) {
    struct Fit {
        long vw, vh, w, h, outW, outH;
    } fits[] = {
        {800, 500, 1000, 500, 800, 400}, {250, 500, 1000, 1000, 250, 250}, {800, 600, 1024, 768, 800, 600},
        {512, 300, 1024, 768, 400, 300}, {800, 600, 0, 768, 0, 768},      {800, 600, -5, -5, 0, 0},
    };
    for (const Fit& f : fits) {
        SCOPED_TRACE(std::to_string(f.vw) + "x" + std::to_string(f.vh) + " " + std::to_string(f.w) + "x" +
                     std::to_string(f.h));
        long w = -1, h = -1;
        FitMovie(f.vw, f.vh, f.w, f.h, w, h);
        EXPECT_EQ(f.outW, w);
        EXPECT_EQ(f.outH, h);
    }
    struct Stop {
        bool map;
        int32_t zoom, panX, panY;
        const char* text;
    } stops[] = {
        {true, 200, -35, 12, "zoompan(50,-35,12,0)"},
        {true, 100, 0, 0, "stop()"},
        {true, 100, 0, 3, "zoompan(100,0,3,0)"},
        {false, 200, -35, 12, "stop()"},
        {true, 0, 5, 5, "stop()"},
    };
    for (const Stop& s : stops) {
        SCOPED_TRACE(s.text);
        EXPECT_STREQ(s.text, FlashPane::stopText(s.map, s.zoom, s.panX, s.panY).c_str());
    }
}
