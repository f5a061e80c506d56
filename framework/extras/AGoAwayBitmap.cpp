// The picture popup and the picture it shows.
#include "framework/extras/AGoAwayBitmap.h"

#include "base/object/AError.h"
#include "framework/dib/AStreamDIBReader.h"
#include "framework/dib/DibHelpers.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/windows/AWindowShell.h"

SV_IMPLEMENT_CLASS(AGoAwayBitmap, 149, AClickInGoAway)

ADibPicture::~ADibPicture() {
    if (dib_)
        GlobalFree(dib_);
}

void ADibPicture::setDib(HGLOBAL dib) {
    if (dib_)
        GlobalFree(dib_);
    dib_ = dib;
    size_ = APoint(0, 0);
    if (dib_) {
        const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib_));
        size_ = APoint(h->biWidth, h->biHeight);
        GlobalUnlock(dib_);
    }
    invalidate();
}

long ADibPicture::drawContent(const ARect& rect) {
    (void)rect;
    ADisplayContext* context = ADisplayContext::existing();
    if (!dib_ || !context || !context->current()->isDrawable())
        return 1;
    AGraphicDisplay* display = context->current();
    const ARect d = display->mapRect(getLocalBounds() + display->origin());
    const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(dib_));
    StretchDIBits(display->dc(), d.left(), d.top(), d.width(), d.height(), 0, 0, size_.x, size_.y,
                  DibBits(&info->bmiHeader), info, DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(dib_);
    return 1;
}

AGoAwayBitmap::AGoAwayBitmap(bool closeOnDeactivate, bool captureMouse)
    : AClickInGoAway(AComponent::application(), ARect(), closeOnDeactivate),
      picture_(nullptr),
      captureMouse_(captureMouse ? 1 : 0) {}

void AGoAwayBitmap::childrenLoaded() {
    AClickInGoAway::childrenLoaded();
    picture_ = new ADibPicture(this, ASizeSpec::fill);
    AObject::completeNew(picture_);
}

void AGoAwayBitmap::componentDeleted(AComponent* component) {
    if (component == picture_)
        picture_ = nullptr;
    AClickInGoAway::componentDeleted(component);
}

void AGoAwayBitmap::activationChanged(bool on) {
    AClickInGoAway::activationChanged(on);
    if (!captureMouse_ || !getHWnd())
        return;
    if (on)
        SetCapture(getHWnd());
    else if (GetCapture() == getHWnd())
        ReleaseCapture();
}

void AGoAwayBitmap::setBitmap(const AFileSpec& file, long position) {
    if (!picture_)
        ThrowAssert("fextras", 540);
    AStreamDIBReader reader(file, position, position, 0);
    picture_->setDib(reader.takeDib());
    setSize(picture_->getContentSize(), false);
}

void AGoAwayBitmap::display(const AFileSpec& file, long position) {
    setBitmap(file, position);
    centerIn(nullptr, false);
    showWindow(true);
    if (getHWnd())
        UpdateWindow(getHWnd());
}
