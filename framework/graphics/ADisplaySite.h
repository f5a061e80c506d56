// What the graphic display, the locks and the display environments need of
// the component they draw for: the display component's side of drawing.
//
// A display component implements it beside AComponent; the graphics layer
// finds it on a component with dynamic_cast, so components without it simply
// have no window position, environment or colours of their own.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"

class AComponent;
class ARegion;
class ATextStyle;
struct APrinterInfo;

class ADisplaySite {
public:
    virtual ~ADisplaySite() = default;

    // The component itself (not owned).
    virtual AComponent* siteComponent() = 0;
    // The handle of the native window the component lives in, or null.
    virtual HWND siteWindow() = 0;
    // The component's origin in its window's client coordinates.
    virtual APoint originInWindow() = 0;
    // The component's rectangle in its own coordinates.
    virtual ARect getLocalBounds() = 0;
    // What the component shows of itself: its local bounds unless it knows better.
    virtual ARegion getVisibleRegion();
    // Background colour of the component; 0xFE000000 when it has none.
    virtual COLORREF getBackColor() { return 0xFE000000; }
    // The component's own device context (off-screen components), or null.
    virtual HDC getDisplay() { return nullptr; }
    virtual bool isOffscreen() { return false; }
    // The printer information when the component can print, else null.
    virtual const APrinterInfo* canPrint();
    // The nearest enclosing site, or null at the top.
    ADisplaySite* getDisplayParent();
    // Off-screen drawing, when a lock on an off-screen component ends (region
    // in the component's space): its off-screen root copies the region from
    // its image to the screen; a component on its own device has the region
    // redrawn on screen; a paint display's region is redrawn in the root.
    virtual void copyOffscreenToScreen(const ARegion& region) { (void)region; }
    virtual void invalidateClippedOnScreen(const ARegion& region) { (void)region; }
    virtual void invalidateOffscreen(const ARegion& region) { (void)region; }
    // The component's own palette realisation, asked first by the palette
    // table for the components filed as handlers: non-zero when colours changed.
    virtual int realizePalette(bool background) {
        (void)background;
        return 0;
    }

    // Display environments: the component's own one (null when it sets none),
    // the one in force (its own, else its nearest enclosing site's), and the
    // hook told when a property it shows changed (mask: 1 font, 2 fore, 4 back, 8 align).
    virtual ATextStyle* ownDisplayEnv() { return nullptr; }
    virtual ATextStyle* getDisplayEnv();
    virtual void displayEnvChanged(ATextStyle* style, uint8_t mask) {
        (void)style;
        (void)mask;
    }
    // Marks the component for redrawing.
    virtual void invalidate() {}

    // The site of a component, or null when it is not a display component.
    static ADisplaySite* of(AComponent* component);
};
