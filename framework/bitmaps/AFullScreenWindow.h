// A window that covers the whole screen, whatever its layout says, and
// leaves the area of its off-screen root alone when it paints its background.
//
// The root is a child (not owned), known while it is one. A null child
// added is an assertion ("foffscrn").
#pragma once

#include "framework/app/AWindow.h"
#include "framework/bitmaps/AOffscreenRoot.h"

class AFullScreenWindow : public AWindow {
    SV_DECLARE_CLASS(AFullScreenWindow)
public:
    AFullScreenWindow() = default;
    AFullScreenWindow(AComponent* parent, int16_t id, const char* title, uint16_t flags)
        : AWindow(parent, id, ASizeSpec(ScreenRect()), title, nullptr, flags, 0, ScreenRect()) {}

    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;
    long draw(const ARegion& region) override;
    ARect getNaturalFrame() override { return ScreenRect(); }
    // The screen, not the application's area: opened at (0, 0), it is centred over the screen it covers.
    ARect getContainerRect() override { return ScreenRect(); }
    long changeFrame(const ARect& rect) override;

    AOffscreenRoot* root() const { return root_; }
    // (0, 0, SM_CXSCREEN, SM_CYSCREEN).
    static ARect ScreenRect() { return ARect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

private:
    AOffscreenRoot* root_ = nullptr;  // a child, or null
};
