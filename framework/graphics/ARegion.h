// An area of the plane backed by a GDI region, or by a rectangle until GDI
// needs the region: copied by sharing a pooled, reference-counted body (copy
// on write), moved by a logical offset that reaches GDI only when the region
// is combined or handed to it.
//
// A point p of the region in the owner's coordinates has GDI coordinates
// p - offset. Body allocation failures raise AMemError ("fregion"); a dead
// window or an undrawable display is an assertion ("fregion").
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"

class AGraphicDisplay;

class ARegion {
public:
    ARegion();
    // A copy of rgn (not owned) whose GDI coordinates are owner coordinates - offset.
    ARegion(const APoint& offset, HRGN rgn);
    explicit ARegion(const ARect& rect) : ARegion() { initFromRect(rect); }
    ARegion(const ARegion& other);
    ARegion& operator=(const ARegion& other) {
        assign(other);
        return *this;
    }
    ~ARegion();

    void assign(const ARegion& other);
    void initFromRect(const ARect& rect);
    void setRect(const ARect& rect);

    // Set operations with another region; the other is unchanged.
    void intersect(const ARegion& other) { combine(other, RGN_AND); }
    void unite(const ARegion& other) { combine(other, RGN_OR); }
    void exclusiveOr(const ARegion& other) { combine(other, RGN_XOR); }
    void subtract(const ARegion& other) { combine(other, RGN_DIFF); }

    void offsetBy(const APoint& p) { offset_ = offset_ + p; }
    void offsetBack(const APoint& p) { offset_ = offset_ - p; }
    // Moves the GDI region so that the offset becomes target; the area stays.
    void alignTo(const APoint& target);

    // On the body, in GDI coordinates.
    bool isEmpty() const;
    // One non-empty rectangle.
    bool isRectangle() const;
    bool contains(const APoint& gdiPoint) const;
    void bounds(ARect& out) const;
    // The bounding box in owner coordinates (empty rectangle for an empty region).
    ARect ownerBounds() const;

    void fromUpdateRegion(const APoint& p, HWND window);
    // False (and empty) when dc has no clip.
    bool fromClipRegion(const APoint& p, HDC dc);
    // Shifted by p (owner coordinates + p become GDI coordinates), then handed to GDI.
    void selectClipAt(const APoint& p, HDC dc);
    void validateAt(const APoint& p, HWND window);
    void invalidateAt(const APoint& p, HWND window);
    // Framed or filled in the display's foreground colour, at its component's window position.
    void frameOn(AGraphicDisplay& display);
    void fillOn(AGraphicDisplay& display);
    void fillOn(AGraphicDisplay& display, HBRUSH brush);

    const APoint& offset() const { return offset_; }
    // The body's region (owned by the body), made on first use: valid while
    // this region is unchanged. Callers only read it.
    HRGN handle() const;
    // Both regions share one body: the same area while neither changes.
    bool sharesBody(const ARegion& other) const { return body_ == other.body_; }
    // Live bodies, for leak checks.
    static long liveBodies();

    struct Body;

private:
    void replaceBody(Body* body);
    void makeOwnBody(long line, bool copy);
    void combine(const ARegion& other, int mode);
    void shiftedCall(const APoint& p, void (*call)(HRGN, void*), void* arg);

    Body* body_;     // shared
    APoint offset_;  // owner coordinates - GDI coordinates
};

// Moves a region's GDI area to owner coordinates + point for as long as it
// lives; afterwards the offset is back and the GDI region stays moved.
class AOriginShift {
public:
    AOriginShift(ARegion& region, const APoint& p) : region_(region), p_(p) {
        region_.offsetBy(p_);
        region_.alignTo(APoint(0, 0));
    }
    ~AOriginShift() { region_.offsetBack(p_); }
    AOriginShift(const AOriginShift&) = delete;
    AOriginShift& operator=(const AOriginShift&) = delete;

private:
    ARegion& region_;  // not owned
    APoint p_;
};

// While one lives, the framework's invalidations are gathered into one region
// a window and handed to the window system once, when the outermost hold
// ends: a screen built from many panes and items asks for one update a
// window, not one an item. Whatever reads, validates or paints a window's
// update region first hands over what was gathered for it.
class AInvalidationHold {
public:
    AInvalidationHold();
    ~AInvalidationHold();
    AInvalidationHold(const AInvalidationHold&) = delete;
    AInvalidationHold& operator=(const AInvalidationHold&) = delete;
    // Hands what was gathered for window to the window system now.
    static void flush(HWND window);
};
