// The picture popup (the splash screen): a popup sized to one picture read
// from a file, centred, gone on the first click; with captureMouse it takes
// the mouse while it is active, so that a click anywhere ends it.
//
// The picture is shown by a bitmap view child. A picture the drawing layer
// refuses raises AImageLibError; setBitmap before the children are loaded is
// an assertion ("fextras").
#pragma once

#include "base/object/AFileSpec.h"
#include "framework/app/AApp.h"
#include "framework/extras/APopupWin.h"

class ABitmapView;

class AGoAwayBitmap : public AClickInGoAway, public ASplashPicture {
    SV_DECLARE_CLASS(AGoAwayBitmap)
public:
    AGoAwayBitmap() : AGoAwayBitmap(true, false) {}
    AGoAwayBitmap(bool closeOnDeactivate, bool captureMouse);

    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    void activate(bool on) override;

    // Shows the picture file and sizes the window's client area to it. The
    // byte range starts and ends at position: empty, so the whole file is read.
    void setBitmap(const AFileSpec& file, long position);
    // setBitmap, then centred in the application's area, shown and painted.
    void display(const AFileSpec& file, long position) override;
    ABitmapView* bitmapView() const { return view_; }

private:
    ABitmapView* view_;  // a child, or null
    uint16_t captureMouse_;
};
