// The picture popup (the splash screen): a popup sized to one picture read
// from a file, centred, gone on the first click; with captureMouse it takes
// the mouse while it is active, so that a click anywhere ends it.
//
// The picture is shown by a child that draws a packed DIB, standing in for
// the bitmap view until views exist. A picture the readers refuse raises
// AImageLibError; setBitmap before the children are loaded is an assertion ("fextras").
#pragma once

#include <windows.h>

#include "base/object/AFileSpec.h"
#include "framework/extras/APopupWin.h"

// Draws a packed DIB (owned) stretched over its bounds; its content size is the picture's.
class ADibPicture : public ADisplayComponent {
public:
    ADibPicture(AComponent* parent, const ASizeSpec& rule) : ADisplayComponent(parent, 0, rule), dib_(nullptr) {}
    ~ADibPicture() override;
    // Takes the block (a packed DIB); null clears the picture.
    void setDib(HGLOBAL dib);
    APoint getContentSize() override { return size_; }
    long drawContent(const ARect& rect) override;

private:
    HGLOBAL dib_;  // owned
    APoint size_;
};

class AGoAwayBitmap : public AClickInGoAway {
    SV_DECLARE_CLASS(AGoAwayBitmap)
public:
    AGoAwayBitmap() : AGoAwayBitmap(true, false) {}
    AGoAwayBitmap(bool closeOnDeactivate, bool captureMouse);

    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    void activationChanged(bool on) override;

    // Reads the picture from position to the end of the file and sizes the window to it.
    void setBitmap(const AFileSpec& file, long position);
    // setBitmap, then centred on the screen, shown and painted.
    void display(const AFileSpec& file, long position);
    ADibPicture* picture() const { return picture_; }

private:
    ADibPicture* picture_;  // a child, or null
    uint16_t captureMouse_;
};
