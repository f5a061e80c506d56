// Shared pieces of the graphics tests: a display component stand-in, a
// memory canvas whose pixels the tests read back, and PNG artifacts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "tests/framework/FrameworkTestSupport.h"

class ATextStyle;

// A component that draws: a frame in its window, an optional own environment.
class SiteComponent : public AComponent, public ADisplaySite {
public:
    SiteComponent(AComponent* parent, int16_t id, const ARect& frame = ARect(0, 0, 100, 50))
        : AComponent(parent, id), frame_(frame) {}
    ~SiteComponent() override;

    AComponent* siteComponent() override { return this; }
    HWND siteWindow() override { return window; }
    APoint originInWindow() override { return frame_.first; }
    ARect getLocalBounds() override { return ARect(0, 0, frame_.width(), frame_.height()); }
    ATextStyle* ownDisplayEnv() override { return env; }
    void displayEnvChanged(ATextStyle*, uint8_t mask) override { changes |= mask; }
    void invalidate() override { ++invalidations; }
    bool isOffscreen() override { return offscreen; }
    HDC getDisplay() override { return ownDevice; }
    void copyOffscreenToScreen(const ARegion& region) override { note("copy", region); }
    void invalidateClippedOnScreen(const ARegion& region) override { note("screen", region); }
    void invalidateOffscreen(const ARegion& region) override { note("root", region); }
    int realizePalette(bool background) override {
        calls += background ? "palette-bg " : "palette ";
        return paletteAnswer;
    }
    // Attaches style (owned from now on) as this component's environment.
    void setEnv(ATextStyle* style);

    HWND window = nullptr;
    ATextStyle* env = nullptr;  // owned
    uint8_t changes = 0;
    int invalidations = 0;
    bool offscreen = false;
    HDC ownDevice = nullptr;
    int paletteAnswer = 0;
    std::string calls;  // the off-screen and palette hooks called, with their regions

private:
    void note(const char* what, const ARegion& region);

    ARect frame_;
};

// A 24-bit memory bitmap selected into a memory DC, white at the start.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    // Pixels that are not white inside the rectangle.
    int inkIn(const ARect& r) const;
    // Saves the picture as build/artifacts/<name>.png; answers the Windows path.
    std::string savePng(const char* name) const;

    // The screen's pixels in a rectangle of screen coordinates, saved as
    // build/artifacts/<name>.png; answers the Windows path ("" when not saved).
    static std::string saveScreen(const ARect& area, const char* name);
    // A top-level window brought forward and painted (flush and the messages
    // run for a while first), saved as saveScreen does.
    static std::string saveWindow(HWND window, const char* name, const std::function<void()>& flush);

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    int width_;
    int height_;
};

// The framework fixture plus a printer-free display context, ended after each test.
class GraphicsTest : public FrameworkTest {
protected:
    void TearDown() override;
    SiteComponent* makeSite(AComponent* parent, int16_t id, const ARect& frame = ARect(0, 0, 100, 50));
};

// A region over the whole plane: a lock pushed without a region draws nothing.
const ARegion* Everywhere();

// Runs a shell script on the host (Wine starts Unix programs) and answers
// what it printed, once it ended; empty when it did not end within 60 s.
std::string RunOnHost(const std::string& script);

// The folder of the test artifacts (Windows path, with a trailing slash), made on demand.
std::string ArtifactsFolder();
