// Display locks: stack objects that make a graphic display current for a
// component, save its device state and clip, and put everything back in
// reverse order when they end. Each subclass is one way of choosing the
// display. Locks must end in reverse order of creation; one that does not
// writes the checkpoint line to the error stream and carries on.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ARegion.h"

class ADisplaySite;

// The saved state of a display's contexts: SaveDC levels, font, colours, text mode.
class ADisplayState {
public:
    ADisplayState() = default;
    ~ADisplayState() { restore(); }
    ADisplayState(const ADisplayState&) = delete;
    ADisplayState& operator=(const ADisplayState&) = delete;

    // Saving twice without restoring is an assertion ("fgrdisp"). Without
    // contexts, only the display's own fields are saved.
    void save(AGraphicDisplay* display, bool contexts = true);
    void restore();

private:
    AGraphicDisplay* display_ = nullptr;  // not owned; null when nothing is saved
    _AFont* font_ = nullptr;
    COLORREF fore_ = 0;
    COLORREF back_ = 0;
    uint16_t textMode_ = 0;
    HPEN pen_ = nullptr;  // not owned
    COLORREF penColor_ = 0;
    bool penWanted_ = false;
    int level_ = 0;
    int measureLevel_ = 0;
};

// Replaces the current display's clip while it is active.
class AClipLock {
public:
    AClipLock() = default;
    explicit AClipLock(const ARegion& region) { set(region); }
    virtual ~AClipLock() { restore(); }
    AClipLock(const AClipLock&) = delete;
    AClipLock& operator=(const AClipLock&) = delete;

    // Takes the current display on first use (none is an assertion), saves
    // its clip unless told it has none.
    void set(const ARegion& region, bool unclipped = false);
    void restore();
    // Ends without putting the clip back: the context goes with the display.
    void drop() {
        display_ = nullptr;
        unchanged_ = false;
    }

private:
    ARegion saved_;
    bool hadClip_ = false;
    bool unchanged_ = false;
    AGraphicDisplay* display_ = nullptr;  // not owned; null when inactive
};

class ADisplayLock {
public:
    ADisplayLock();
    // A new display (site, dc, flags, measureDC) pushed with region (may be null).
    ADisplayLock(ADisplaySite* site, HDC dc, uint16_t flags, HDC measureDC, const ARegion* region);
    virtual ~ADisplayLock() { reset(); }
    ADisplayLock(const ADisplayLock&) = delete;
    ADisplayLock& operator=(const ADisplayLock&) = delete;

    // Without clipNow the clip waits for the first reclip.
    void push(AGraphicDisplay* display, const ARegion* region, int16_t componentClip, bool clipNow = true);
    void reset();
    // Narrows the clip to the part of region (local) inside the lock region.
    void reclip(const ARegion& region);

    AGraphicDisplay* display() const { return display_; }
    const ARegion& lockRegion() const { return region_; }

protected:
    AGraphicDisplay* previous_;  // one reference held
    AGraphicDisplay* display_;   // one reference held
    ADisplayState state_;
    AClipLock clip_;
    ARegion region_;
    // The display was made for this lock on a common window context.
    bool disposable_ = false;
};

// Drawing inside the component's window, outside WM_PAINT.
class APaintLock : public ADisplayLock {
public:
    APaintLock(ADisplaySite* site, const ARegion* region);
};

// Drawing on the component's device: its window, or its own device when off-screen.
class ADeviceLock : public ADisplayLock {
public:
    ADeviceLock(ADisplaySite* site, const ARegion* region, bool clipNow = true);
};

class AOffscreenLock : public ADisplayLock {
public:
    AOffscreenLock(ADisplaySite* site, const ARegion* region);
};

// Drawing and measuring for a component wherever it is drawn now; nothing
// when a printing display is current (the drawing goes to the printer).
class ADrawLock : public ADisplayLock {
public:
    explicit ADrawLock(ADisplaySite* site);
};

// A child drawn on its display parent's display.
class AChildPaintLock : public ADisplayLock {
public:
    AChildPaintLock(ADisplaySite* site, const ARegion* region);
};

// Measuring with the printer's reference context.
class APrintMeasureLock : public ADisplayLock {
public:
    explicit APrintMeasureLock(ADisplaySite* site);
};

// WM_PAINT: BeginPaint and EndPaint around a paint display of the update region.
class ABeginPaintLock : public ADisplayLock {
public:
    explicit ABeginPaintLock(ADisplaySite* site);
    ~ABeginPaintLock() override;
    ARegion region() const { return painted_; }

private:
    HWND window_;
    ARegion painted_;
    PAINTSTRUCT paint_;
    HDC paintDC_;
};

// Drawing into a memory metafile, measured on the screen.
class AMetafileLock : public ADisplayLock {
public:
    explicit AMetafileLock(ADisplaySite* site);
    ~AMetafileLock() override;
    // Ends the lock and answers the metafile (the caller deletes it).
    HMETAFILE close();

private:
    HDC metaDC_;    // owned until close
    HDC screenDC_;  // owned until close
};
