// Controls and push buttons.
#include "framework/controls/AControl.h"

#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/AppServices.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AControl, 110, AAtomicItem)
SV_IMPLEMENT_CLASS(AButton, 111, AControl)
SV_IMPLEMENT_CLASS(APushButton, 112, AButton)
SV_IMPLEMENT_CLASS(ATextButton, 126, APushButton)

// AControl.

AControl::~AControl() = default;

void AControl::readFrom(AMemoryStream& stream) {
    AAtomicItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcontrol", 96);
}

void AControl::detachItems() {
    native_.reset();
    setNativeWindow(nullptr);
    AAtomicItem::detachItems();
}

void AControl::makeNative(ANativeChild* child, long line) {
    native_.reset(child);
    if (!native_ || !native_->hwnd())
        ThrowAssert("fcontrol", line);
    setNativeWindow(native_->hwnd());
    // The control paints its whole frame; the parent must not paint over it.
    setEraseBackground(false);
}

LRESULT AControl::sendNative(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!native_ || !IsWindow(native_->hwnd()))
        return 0;
    return SendMessageA(native_->hwnd(), message, wParam, lParam);
}

// AButton.

void AButton::readFrom(AMemoryStream& stream) {
    AControl::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcontrol", 268);
}

void AButton::attachItems() {
    addItemFlags(kShownByState);
    clearItemFlags(kTabStop | kFocusable);
    AControl::attachItems();
}

void AButton::stateChanged(uint16_t state) {
    AControl::stateChanged(state);
    if ((state & kCurrent) && owner())
        owner()->setCurrentItem(id());
    if (!nativeChild())
        invalidate();
}

void AButton::setMarked(uint16_t marked) {
    if (nativeChild() && IsWindow(nativeChild()->hwnd()))
        sendNative(BM_SETCHECK, marked & kMarked, 0);
    else
        invalidate();
}

void AButton::setHilite(uint16_t on) {
    sendNative(BM_SETSTATE, on, 0);
}

void AButton::flash() {
    AApp* app = AApp::current();
    auto now = [app] { return app ? app->updateTime() : TickCount(); };
    setHilite(1);
    // Yield while waiting, and give up after a bounded number of readings so a clock that stands still
    // (a test's seam) cannot hang the program.
    uint32_t start = now();
    for (int readings = 0; now() - start < 200 && readings < 1000; ++readings)
        Sleep(1);
    setHilite(0);
}

// APushButton.

APushButton::APushButton(AComponent* parent, int16_t id, const ASizeSpec& rule, bool isDefault)
    : AButton(parent, id, rule) {
    if (isDefault)
        AClusterItem::setFlag100(true);
}

void APushButton::readFrom(AMemoryStream& stream) {
    AButton::readFrom(stream);
    if (stream.readShort() != 0)
        AClusterItem::setFlag100(true);
    ALayoutLoader::readEndMark(stream, "fcontrol", 377);
}

void APushButton::setFlag100(bool on) {
    AClusterItem::setFlag100(on);
    sendNative(BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

// ATextButton.

void ATextButton::readFrom(AMemoryStream& stream) {
    APushButton::readFrom(stream);
    label_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fcontrol", 471);
}

void ATextButton::attachItems() {
    APushButton::attachItems();
    DWORD style = (itemFlags() & kGroup) ? WS_GROUP : 0;
    makeNative(new (std::nothrow) ANativePushButton(this, label_.c_str(), style, nativeRect(), true), 454);
    if (state() & kCurrent)
        sendNative(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}
