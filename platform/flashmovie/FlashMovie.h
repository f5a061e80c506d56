// Replaces the Flash player, which does not exist for this program: a movie
// of our own is a short text naming frame pictures (PNG) and, per frame,
// the hotspots whose click sends the text the real movie would have sent.
//
// Movie file (Windows-1252 text, one directive per line, "#" lines ignored):
//   SVMOVIE 1                  first line, exactly
//   SIZE <w> <h>               design size in pixels, each 1..4096
//   FRAME <picture>            a new frame; the picture is a PNG file named
//                              relative to the movie's folder (no "..")
//   FRAMEDATA <base64>         a new frame whose PNG picture is written in
//                              the line (a movie copied alone, as an atlas
//                              map extracted to the temporary folder)
//   HOT <x> <y> <w> <h> <text> a hotspot of the last frame, design pixels;
//                              the text (to the end of the line) is sent
// At most 256 frames and 1024 hotspots a frame (a world map's places). Reading never throws: a bad
// movie answers false with the line named in the error text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FlashHotspot {
    int32_t x = 0, y = 0, w = 0, h = 0;
    std::string text;
};

struct FlashFrame {
    std::string picture;  // as written in the movie, empty for an inline picture
    std::string data;     // the inline picture's bytes (FRAMEDATA)
    std::vector<FlashHotspot> hotspots;
};

class FlashMovie {
public:
    bool read(const std::string& text, std::string& error);
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    const std::vector<FlashFrame>& frames() const { return frames_; }
    // The text of the hotspot of frame under the design point, or null.
    const std::string* hotspotAt(int32_t frame, int32_t x, int32_t y) const;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<FlashFrame> frames_;
};

// The view of a movie at a size: the current frame, the zoom (percent of the
// fitted size) and the pan, driven by the page's calls.
class FlashPlayback {
public:
    explicit FlashPlayback(const FlashMovie* movie) : movie_(movie) {}
    // "gotoframe" (n), "zoom" (n: 0 back to 100, else the zoom is divided by
    // n / 100), "zoompan" (10000/z, px, py, _), "play", "stop",
    // "stopAndRewind". Bad or missing numbers leave the playback unchanged;
    // answers false for a call it does not know.
    bool call(const std::string& function, const std::vector<std::string>& arguments);
    int32_t frame() const { return frame_; }
    int32_t zoom() const { return zoom_; }
    int32_t panX() const { return panX_; }
    int32_t panY() const { return panY_; }
    bool playing() const { return playing_; }
    // Design point of a view point for a view of cx by cy (the movie fitted,
    // centred, zoomed and panned); false outside the movie.
    bool toDesign(int32_t cx, int32_t cy, int32_t vx, int32_t vy, int32_t& dx, int32_t& dy) const;
    // Where the movie lies in a view of cx by cy.
    void placement(int32_t cx, int32_t cy, int32_t& x, int32_t& y, int32_t& w, int32_t& h) const;

private:
    const FlashMovie* movie_;  // not owned
    int32_t frame_ = 0;
    int32_t zoom_ = 100;
    int32_t panX_ = 0;
    int32_t panY_ = 0;
    bool playing_ = false;
};

// Registers the stand-in as the plug-in of "application/x-shockwave-flash".
void RegisterFlashStandIn();
// The stand-in drawn in a window (an HWND), as "frame F zoom Z pan X,Y
// last CALL" (CALL as the page made it, "-" before any); empty for a window
// that is not a stand-in's. For tests and diagnostics.
std::string DescribeFlashStandIn(void* window);
