// The picture popup: its bitmap view, its size and the mouse capture.
#include "framework/extras/AGoAwayBitmap.h"

#include "base/procedural/AError.h"
#include "framework/bitmaps/ABitmapView.h"

SV_IMPLEMENT_CLASS(AGoAwayBitmap, 149, AClickInGoAway)

AGoAwayBitmap::AGoAwayBitmap(bool closeOnDeactivate, bool captureMouse)
    : AClickInGoAway(AComponent::application(), ARect(), closeOnDeactivate),
      view_(nullptr),
      captureMouse_(captureMouse ? 1 : 0) {}

void AGoAwayBitmap::childrenLoaded() {
    AClickInGoAway::childrenLoaded();
    view_ = CheckAlloc(new ABitmapView(this, 0, ASizeSpec::fill, 0, 0, "", 0), "fextras", 520);
    AObject::completeNew(view_);
    // The view is shown by its state, which starts off.
    view_->setOn(true);
    // A view takes presses for its own tracking: this one lets every click reach the window.
    view_->setMouseTransparent(true);
    if (ABitmapLayer* layer = view_->layer())
        layer->setMouseTransparent(true);
}

void AGoAwayBitmap::componentDeleted(AComponent* component) {
    if (component == view_)
        view_ = nullptr;
    AClickInGoAway::componentDeleted(component);
}

void AGoAwayBitmap::activate(bool on) {
    AClickInGoAway::activate(on);
    if (!captureMouse_ || !getHWnd())
        return;
    if (on)
        SetCapture(getHWnd());
    else if (GetCapture() == getHWnd())
        ReleaseCapture();
}

void AGoAwayBitmap::setBitmap(const AFileSpec& file, long position) {
    (void)position;
    if (!view_)
        ThrowAssert("fextras", 540);
    // Flag 8: the picture's palette becomes the application's while it is shown.
    view_->setBitmap(AImageSpec::fromFile(file.path().c_str(), 1, AImageSpec::kOwnColors));
    setSize(view_->getContentSize(), false);
}

void AGoAwayBitmap::display(const AFileSpec& file, long position) {
    setBitmap(file, position);
    centerIn(nullptr, false);
    showUpdate();
    if (getHWnd())
        UpdateWindow(getHWnd());
}
