// Display components: coordinate spaces, frames, moving and sizing, and the
// application of sizing rules through layout passes.
#include "base/procedural/AError.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AUpdateWatch.h"

namespace {

APoint ClientOriginOnScreen(HWND hwnd) {
    POINT p = {0, 0};
    if (hwnd)
        ClientToScreen(hwnd, &p);
    return APoint(p.x, p.y);
}

// A rectangle of the window (client: its client area; else the whole window)
// in the coordinates of its parent window, screen for a top-level one.
ARect RectInParent(HWND hwnd, bool client) {
    RECT r;
    if (client)
        GetClientRect(hwnd, &r);
    else
        GetWindowRect(hwnd, &r);
    // GetParent answers a popup's owner: only a child window has a parent's coordinates.
    HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    MapWindowPoints(client ? hwnd : nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return ARect(r.left, r.top, r.right, r.bottom);
}

ARect ClientRectInParent(HWND hwnd) {
    return RectInParent(hwnd, true);
}

HWND RequireWindow(HWND hwnd, long line) {
    if (!hwnd || !IsWindow(hwnd))
        ThrowAssert("fdisplay", line);
    return hwnd;
}

}  // namespace

HWND ADisplayComponent::enclosingWindow() {
    ADisplayComponent* w = findWindowedAncestor();
    return w ? w->hwnd_ : nullptr;
}

ADisplayComponent* ADisplayComponent::findWindowedAncestor() {
    for (ADisplayComponent* c = this; c; c = c->getDisplayParent()) {
        if (c->isWindowed())
            return c;
    }
    return nullptr;
}

ADisplayComponent* ADisplayComponent::findOffscreenRoot() {
    for (ADisplayComponent* c = this; c; c = c->getDisplayParent()) {
        if (c->hasFlags(kOffscreenRoot))
            return c;
    }
    return nullptr;
}

ARect ADisplayComponent::getLocalBounds() {
    APoint o = getLocalOrigin();
    return ARect(o, o + getSize());
}

APoint ADisplayComponent::screenOrigin() {
    return ClientOriginOnScreen(enclosingWindow()) + windowPos_;
}

APoint ADisplayComponent::getScreenPosition() {
    return ClientOriginOnScreen(enclosingWindow()) + windowPos_ + getLocalOrigin();
}

ARect ADisplayComponent::getOuterFrame() {
    if (!isWindowed())
        return frame_;
    RECT w;
    GetWindowRect(RequireWindow(hwnd_, 821), &w);
    APoint client = ClientOriginOnScreen(hwnd_);
    return ARect(w.left, w.top, w.right, w.bottom).minusPoint(client) + frame_.first;
}

APoint ADisplayComponent::getOuterSize() {
    ARect r = getOuterFrame();
    return APoint(r.width(), r.height());
}

ARect ADisplayComponent::getScreenFrame() {
    return frameToScreen(getOuterFrame().minusPoint(frame_.first));
}

ARect ADisplayComponent::getScreenBounds() {
    APoint p = getScreenPosition();
    return ARect(p, p + getSize());
}

ARect ADisplayComponent::getWindowBounds() {
    APoint p = windowPos_ + getLocalOrigin();
    return ARect(p, p + getSize());
}

ARect ADisplayComponent::getContainerRect() {
    if (ADisplayComponent* p = getDisplayParent())
        return p->getScreenBounds();
    RECT r;
    GetClientRect(RequireWindow(hwnd_, 1082), &r);
    return ARect(r.left, r.top, r.right, r.bottom) + ClientOriginOnScreen(hwnd_);
}

void ADisplayComponent::computeWindowPosition(ADisplayComponent* parent) {
    windowPos_ = APoint(0, 0) - getLocalOrigin();
    if (!isWindowed()) {
        if (!parent)
            ThrowAssert("fdisplay", 1247);
        windowPos_ = windowPos_ + frame_.first + parent->windowPos_;
    }
    moveNativeWindow();
}

void ADisplayComponent::shiftWindowPositions(const APoint& delta, bool moveNative, bool force) {
    if (isWindowed() && !force) {
        ARect r = RectInParent(hwnd_, false) + delta;
        MoveWindow(hwnd_, r.left(), r.top(), r.width(), r.height(), TRUE);
        return;
    }
    windowPos_ = windowPos_ + delta;
    if (moveNative)
        moveNativeWindow();
    for (ADisplayComponent* child : displayChildren())
        child->shiftWindowPositions(delta, true, false);
}

void ADisplayComponent::moveNativeWindow() {
    if (hwnd_ && !isWindowed()) {
        // What the window uncovers joins its parent's update region.
        AUpdateWatch::touch();
        ARect r = getWindowBounds();
        MoveWindow(hwnd_, r.left(), r.top(), r.width(), r.height(), TRUE);
    }
}

void ADisplayComponent::setFrame(const ARect& screenRect, bool keepInside) {
    ARect rect = screenRect;
    if (keepInside)
        rect.fitInside(getContainerRect());
    ARect s = getScreenFrame();
    ARect next(frame_.first + (rect.first - s.first), frame_.second + (rect.second - s.second));
    if (!sizer_)
        placeFrame(next);
}

void ADisplayComponent::moveTo(const APoint& screenPoint, bool keepInside) {
    ARect s = getScreenFrame();
    setFrame(s + (screenPoint - s.first), keepInside);
}

void ADisplayComponent::setOuterSize(const APoint& size, bool keepInside) {
    ARect s = getScreenFrame();
    setFrame(ARect(s.first, s.first + size), keepInside);
}

void ADisplayComponent::setSize(const APoint& size, bool keepInside) {
    setOuterSize(getOuterSize() + size - getSize(), keepInside);
}

void ADisplayComponent::setScreenBounds(const ARect& screenRect, bool keepInside) {
    ARect s = getScreenFrame();
    ARect b = getScreenBounds();
    setFrame(ARect(s.first + (screenRect.first - b.first), s.second + (screenRect.second - b.second)), keepInside);
}

void ADisplayComponent::centerIn(ADisplayComponent* other, bool keepInside) {
    ARect b = other ? other->getScreenFrame() : getContainerRect();
    ARect own = getScreenFrame();
    // Each half is truncated toward zero: an odd difference leaves one unit more inside.
    int32_t dx = (b.width() - own.width()) / 2;
    int32_t dy = (b.height() - own.height()) / 2;
    setFrame(ARect(b.left() + dx, b.top() + dy, b.right() - dx, b.bottom() - dy), keepInside);
}

void ADisplayComponent::placeFrame(const ARect& rect) {
    if (!isWindowed()) {
        changeFrame(rect);
        return;
    }
    RequireWindow(hwnd_, 890);
    ADisplayComponent* p = getDisplayParent();
    APoint o = p ? p->windowPos_ : APoint(0, 0);
    ARect moved = rect + o;
    if (!isSettled() && ClientRectInParent(hwnd_) == moved) {
        changeFrame(rect);
        return;
    }
    // MoveWindow places the whole window: the client area lands where asked
    // once the non-client border is added around it.
    RECT w;
    RECT c;
    GetWindowRect(hwnd_, &w);
    GetClientRect(hwnd_, &c);
    APoint client = ClientOriginOnScreen(hwnd_);
    APoint before = client - APoint(w.left, w.top);
    APoint after = APoint(w.right, w.bottom) - (client + APoint(c.right, c.bottom));
    ARect whole(moved.first - before, moved.second + after);
    MoveWindow(hwnd_, whole.left(), whole.top(), whole.width(), whole.height(), TRUE);
    nativeWindowMoved();
}

void ADisplayComponent::nativeWindowMoved() {
    if (!hwnd_ || !IsWindow(hwnd_))
        return;
    ADisplayComponent* p = getDisplayParent();
    APoint o = p ? p->windowPos_ : APoint(0, 0);
    changeFrame(ClientRectInParent(hwnd_).minusPoint(o));
}

long ADisplayComponent::changeFrame(const ARect& rect) {
    APoint newSize(rect.width(), rect.height());
    bool wasPlaced = hasFlags(kPlaced);
    bool windowed = isWindowed();
    bool wasVisible = hasFlags(kVisible);
    ARect oldBounds = getLocalBounds();
    bool moved = true;
    bool resized = true;
    if (wasPlaced) {
        moved = rect.first != frame_.first;
        resized = newSize != APoint(oldBounds.width(), oldBounds.height());
        if (!moved && !resized) {
            if (!hasFlags(kChildrenPlaced))
                relayout();
            return 0;
        }
        if (wasVisible) {
            invalidateBorderInParent();
            if (moved && !windowed)
                invalidateRegion(ARegion(oldBounds), true);
        }
    }
    if (moved) {
        APoint delta = rect.first - frame_.first;
        frame_ = frame_ + delta;
        if (!windowed) {
            if (!wasPlaced) {
                ADisplayComponent* p = getDisplayParent();
                if (!p || !p->hasFlags(kPlaced))
                    ThrowAssert("fdisplay", 1361);
                computeWindowPosition(p);
            } else {
                shiftWindowPositions(delta, !resized, false);
            }
        }
    }
    setPlaced(true);
    if (resized) {
        frame_.second = frame_.first + newSize;
        moveNativeWindow();
        relayout();
    } else if (!hasFlags(kChildrenPlaced)) {
        relayout();
    }
    if (wasVisible) {
        invalidateBorderInParent();
        if (!windowed) {
            ARegion now(getLocalBounds());
            if (!moved)
                now.exclusiveOr(ARegion(oldBounds));
            invalidateRegion(now, true);
        }
    }
    return resized ? frameChanged(newSize) : 1;
}

void ADisplayComponent::setSizeSpec(const ASizeSpec& rule, bool schedule) {
    if (sizer_)
        sizer_->rule() = rule;
    else if (rule.isAbsolute())
        setPlaced(false);
    else
        sizer_ = CheckAlloc(makeSizer(rule), "fdisplay", 2372);
    applySizeSpec(rule, schedule);
}

void ADisplayComponent::applySizeSpec(const ASizeSpec& rule, bool schedule) {
    ARect natural = sizer_ ? sizer_->naturalFrame() : rule.naturalFrame();
    ADisplayComponent* p = getDisplayParent();
    if (!schedule || !p || !hasFlags(kPlaced)) {
        frame_ = natural;
        setPlaced(false);
    }
    if (!schedule)
        return;
    if (p) {
        p->setChildrenPlaced(false);
        ADisplayServices::current().scheduleLayout(p);
    } else {
        ADisplayServices::current().scheduleLayout(this);
    }
}

ASizeSpec ADisplayComponent::getSizeSpec() {
    return sizer_ ? sizer_->rule() : ASizeSpec(frame_);
}

ASizer* ADisplayComponent::makeSizer(const ASizeSpec& rule) {
    return new (std::nothrow) ASizer(this, rule);
}

ASizingContext* ADisplayComponent::makeSizingContext() {
    return ADisplayServices::current().makeSizingContext(this);
}

void ADisplayComponent::relayout() {
    ASizingContext* context = makeSizingContext();
    ASizingScope scope(context, this);
    for (ADisplayComponent* child : displayChildren())
        child->placeFrame(context->place(child));
    setChildrenPlaced(true);
}

void ADisplayComponent::updateLayout() {
    if (hasFlags(kPlaced)) {
        relayout();
        return;
    }
    if (!isWindowed()) {
        placeFrame(getNaturalFrame());
        return;
    }
    RequireWindow(hwnd_, 945);
    nativeWindowMoved();
}

void ADisplayComponent::layoutNow() {
    ADisplayServices::current().layoutNow(this);
}
