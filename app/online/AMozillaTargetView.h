// A browser view that draws a target picture (bitmap resource 1024) centred
// on a point over the page, and counts the pointer as always over it, so that
// the web pane holding it takes every web load over. Layouts name it
// ("DOCFLASH").
//
// Owns its picture (a DIB section, freed with the view); a missing resource
// leaves the view without picture, drawing the page alone.
#pragma once

#include <windows.h>

#include "base/object/ARect.h"
#include "web/browser/AMozillaView.h"

class AMozillaTargetView : public AMozillaView {
    SV_DECLARE_CLASS(AMozillaTargetView)
public:
    enum : uint16_t { kPictureResource = 1024 };

    AMozillaTargetView();
    AMozillaTargetView(AComponent* parent, int16_t id, const ASizeSpec& rule);
    ~AMozillaTargetView() override;

    long drawContent(const ARect& rect) override;
    bool isPointerOverView() override { return true; }
    // Forgets the target, then loads as every view does.
    int16_t loadUrl(const AString& url) override;

    void setTargetPoint(const APoint& point) { fTargetPoint = point; }
    const APoint& targetPoint() const { return fTargetPoint; }
    bool hasPicture() const { return fPicture != nullptr; }
    // Where the picture goes, in view coordinates: w by h centred on the
    // point (each half cut toward zero); empty without picture or point.
    ARect targetRect() const;
    // For tests: a picture of the size instead of the resource's (owned).
    void setPicture(HBITMAP picture);

private:
    void loadPicture();
    HBITMAP fPicture = nullptr;  // owned
    APoint fTargetPoint;
};
