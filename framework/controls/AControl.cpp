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

namespace {

HWND WindowOf(AComponent* component) {
    void* d = component->castTo(&ADisplayComponent::classRecord);
    return d ? static_cast<ADisplayComponent*>(d)->getHWnd() : nullptr;
}

// The native window of component when it is a child of parent.
HWND ChildWindowOf(AComponent* component, HWND parent) {
    HWND hwnd = WindowOf(component);
    return hwnd && GetParent(hwnd) == parent ? hwnd : nullptr;
}

// The last child window of parent made within the tree under component (the
// tree's order is the order its windows are made in).
HWND LastChildWindowIn(AComponent* component, HWND parent) {
    Alist& children = component->children();
    for (ALink* link = children.lastLink(); link != children.sentinel(); link = link->previous) {
        if (HWND hwnd = LastChildWindowIn(ChildOf(link), parent))
            return hwnd;
    }
    return ChildWindowOf(component, parent);
}

// The child window of parent that the tree makes just before item's.
HWND PrecedingChildWindow(AComponent* item, HWND parent) {
    for (AComponent* c = item; AComponent* up = c->getParent(); c = up) {
        Alist& siblings = up->children();
        ALink* link = siblings.firstLink();
        while (link != siblings.sentinel() && ChildOf(link) != c)
            link = link->next;
        if (link == siblings.sentinel())
            return nullptr;
        for (link = link->previous; link != siblings.sentinel(); link = link->previous) {
            if (HWND hwnd = LastChildWindowIn(ChildOf(link), parent))
                return hwnd;
        }
        HWND own = WindowOf(up);
        if (own == parent)
            return nullptr;
        if (own && GetParent(own) == parent)
            return own;
    }
    return nullptr;
}

// Puts a control made late where it would stand among its window's children
// had it been made with the layout: beside the one made before it, on the side
// the system stacks new children (the stacking order is the tab order of
// dialogs and decides which of two overlapping controls shows).
void StackAsMadeInOrder(AComponent* item, HWND own) {
    HWND parent = own ? GetParent(own) : nullptr;
    HWND first = parent ? GetWindow(parent, GW_CHILD) : nullptr;
    if (!first || (first == own && !GetWindow(own, GW_HWNDNEXT)))
        return;
    bool newOnTop = first == own;
    HWND before = PrecedingChildWindow(item, parent);
    HWND after = HWND_TOP;
    if (!before) {
        if (newOnTop)
            after = HWND_BOTTOM;
    } else if (!newOnTop) {
        after = before;
    } else if (HWND above = GetWindow(before, GW_HWNDPREV)) {
        if (above == own)
            return;
        after = above;
    }
    SetWindowPos(own, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

}  // namespace

// AControl.

AControl::~AControl() = default;

void AControl::readFrom(AMemoryStream& stream) {
    AAtomicItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcontrol", 96);
}

void AControl::detachItems() {
    nativePending_ = false;
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

void AControl::attachNative() {
    if (hasFlags(kVisible)) {
        makeNativeControl(true);
        return;
    }
    nativePending_ = true;
    enableAsked_ = -1;
}

void AControl::makePendingNative(bool shown) {
    nativePending_ = false;
    makeNativeControl(shown);
    StackAsMadeInOrder(this, native_ ? native_->hwnd() : nullptr);
    if (enableAsked_ >= 0)
        AAtomicItem::enableWindow(enableAsked_ != 0);
    enableAsked_ = -1;
}

ANativeChild* AControl::requireNative() {
    if (nativePending_)
        makePendingNative(false);
    return native_.get();
}

void AControl::showNativeWindow() {
    if (nativePending_)
        makePendingNative(false);
    AAtomicItem::showNativeWindow();
}

void AControl::setNativeWindowShownForced(bool show) {
    if (show && nativePending_)
        makePendingNative(false);
    AAtomicItem::setNativeWindowShownForced(show);
}

void AControl::enableWindow(bool on) {
    if (nativePending_)
        enableAsked_ = on ? 1 : 0;
    else
        AAtomicItem::enableWindow(on);
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
    attachNative();
}

void ATextButton::makeNativeControl(bool shown) {
    DWORD style = (itemFlags() & kGroup) ? WS_GROUP : 0;
    makeNative(new (std::nothrow) ANativePushButton(this, label_.c_str(), style, nativeRect(), shown), 454);
    if (state() & kCurrent)
        sendNative(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void ATextButton::setText(const char* text) {
    if (nativePending())
        label_ = text ? text : "";
    else
        APushButton::setText(text);
}

AString ATextButton::getText() {
    return nativePending() ? label_ : APushButton::getText();
}
