// Native scroll bars and the scroll bars that scrollers share.
#include "framework/views/AScrollBar.h"

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AScrollBar, 115, AControl)
SV_IMPLEMENT_CLASS(AScrollerScrollBar, 116, AScrollBar)

namespace {

// Sets what changed and leaves the drawing to the window's next paint: a bar
// drawn at once is drawn again with the screen it belongs to, and the themed
// bar is a dozen blits and display queries each time.
void SetBarInfo(HWND bar, SCROLLINFO info) {
    SCROLLINFO now = {};
    now.cbSize = sizeof now;
    now.fMask = info.fMask & (SIF_RANGE | SIF_PAGE | SIF_POS);
    if (GetScrollInfo(bar, SB_CTL, &now) &&
        (!(info.fMask & SIF_RANGE) || (now.nMin == info.nMin && now.nMax == info.nMax)) &&
        (!(info.fMask & SIF_PAGE) || now.nPage == info.nPage) && (!(info.fMask & SIF_POS) || now.nPos == info.nPos))
        return;
    SetScrollInfo(bar, SB_CTL, &info, FALSE);
    InvalidateRect(bar, nullptr, FALSE);
}

}  // namespace

AScrollBar::AScrollBar(AComponent* parent, int16_t id, const ASizeSpec& rule, int32_t minimum, int32_t maximum,
                       int32_t value)
    : AScrollRange(minimum, maximum, value), AControl(parent, id, rule) {}

void AScrollBar::readFrom(AMemoryStream& stream) {
    AControl::readFrom(stream);
    minimum_ = stream.readLong();
    maximum_ = stream.readLong();
    value_ = stream.readLong();
    normalise();
    ALayoutLoader::readEndMark(stream, "fscroll", 619);
}

void AScrollBar::attachItems() {
    AControl::attachItems();
    clearItemFlags(kShownByState);
    shift_ = ANativeScale(*this).shift;
    attachNative();
    if (nativePending())
        enableForRange();
}

void AScrollBar::makeNativeControl(bool shown) {
    ARect f = getFrame();
    DWORD style = f.width() <= f.height() ? SBS_VERT : SBS_HORZ;
    if (itemFlags() & kTabStop)
        style |= WS_TABSTOP;
    if (itemFlags() & kGroup)
        style |= WS_GROUP;
    makeNative(new (std::nothrow) ANativeScrollBar(this, "", style, nativeRect(), shown), 597);
    pushRange();
    pushPosition();
}

void AScrollBar::enableForRange() {
    setEnabled(ANativeScale(*this).nativeMaximum() > 0);
}

void AScrollBar::pushRange() {
    if (!nativeChild())
        ThrowAssert("fscroll", 672);
    ANativeScale scale(*this);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_DISABLENOSCROLL;
    info.nMax = scale.nativeMaximum();
    if ((page_ >> scale.shift) > 0) {
        info.fMask |= SIF_PAGE;
        info.nPage = UINT(page_ >> scale.shift);
        info.nMax += int(info.nPage) - 1;
    }
    SetBarInfo(nativeChild()->hwnd(), info);
    enableForRange();
}

void AScrollBar::pushPosition() {
    if (!nativeChild())
        ThrowAssert("fscroll", 703);
    HWND control = nativeChild()->hwnd();
    int native = ANativeScale(*this).toNative(value_);
    if (GetScrollPos(control, SB_CTL) == native)
        return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_DISABLENOSCROLL;
    info.nPos = native;
    SetBarInfo(control, info);
}

bool AScrollBar::setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw) {
    if (!AScrollRange::setRange(minimum, maximum, page, redraw))
        return false;
    shift_ = ANativeScale(*this).shift;
    if (nativeChild()) {
        pushRange();
        pushPosition();
    } else if (nativePending()) {
        enableForRange();
    }
    queueUpdate(6);
    return true;
}

bool AScrollBar::setValue(int32_t value, bool redraw) {
    if (!AScrollRange::setValue(value, redraw))
        return false;
    if (nativeChild())
        pushPosition();
    queueUpdate(6);
    return true;
}

long AScrollBar::scrollEvent(int16_t code, int32_t position, uint16_t vertical) {
    (void)vertical;
    int32_t native = int16_t(position & 0xFFFF);
    barEvent(code, code == 0 || code == 1 ? native : ANativeScale(*this).fromNative(native));
    return 1;
}

void AScrollBar::barEvent(int16_t code, int32_t value) {
    if (code == 4)
        AScrollRange::setValue(value, false);
    notifyOwner(code);
}

void AScrollerScrollBar::readFrom(AMemoryStream& stream) {
    AScrollBar::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fscroll", 930);
}

void AScrollerScrollBar::detachItems() {
    detachAll();
    AScrollBar::detachItems();
}

ACommand* AScrollerScrollBar::mouseDown(AMouseEvent& event) {
    takeFocus(this);
    return AScrollBar::mouseDown(event);
}
