// Display components: invalidation, validation, immediate redrawing, the two
// painting orders, the focus frame and off-screen membership.
#include <memory>

#include "base/procedural/AError.h"
#include "framework/components/ABehavior.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/ARegion.h"

namespace {

HWND RequireLiveWindow(HWND hwnd, long line) {
    if (!hwnd || !IsWindow(hwnd))
        ThrowAssert("fdisplay", line);
    return hwnd;
}

bool PainterOrder() {
    return (ADisplayServices::current().lookOptions() & ADisplayServices::kPainterOrder) != 0;
}

// A region moved by p (its points gain p).
ARegion Moved(const ARegion& region, const APoint& p) {
    ARegion r(region);
    r.offsetBy(p);
    return r;
}

// Where the framework places a native child window of a component that is not windowed.
APoint ChildWindowOffset(ADisplayComponent* c) {
    POINT origin = {0, 0};
    ClientToScreen(c->getHWnd(), &origin);
    return APoint(0, 0) - c->screenToLocal(APoint(origin.x, origin.y));
}

// Takes out of uncovered (parent's coordinates) what child hides: an opaque
// child the opaque region, any other child only what its opaque descendants hide.
void Cover(ADisplayComponent* parent, ADisplayComponent* child, ARegion& uncovered, const ARegion& opaque,
           bool useOuterFrames) {
    if (child->hasFlags(ADisplayComponent::kEraseBackground)) {
        uncovered.subtract(opaque);
        return;
    }
    APoint shift = child->windowPosition() - parent->windowPosition();
    uncovered = Moved(child->uncoveredRegion(Moved(uncovered, APoint(0, 0) - shift), useOuterFrames, nullptr), shift);
}

}  // namespace

void ADisplayComponent::invalidateRegion(const ARegion& region, bool alsoOffscreen) {
    if (!hasFlags(kVisible))
        return;
    if (HWND window = enclosingWindow())
        Moved(region, windowPos_).invalidateAt(APoint(0, 0), window);
    if (hwnd_ && !isWindowed() && IsWindow(hwnd_))
        Moved(region, ChildWindowOffset(this)).invalidateAt(APoint(0, 0), hwnd_);
    if (alsoOffscreen)
        invalidateOffscreen(region);
}

void ADisplayComponent::invalidateClipped(const ARegion& region) {
    ARegion r(region);
    r.intersect(ARegion(getLocalBounds()));
    invalidateRegion(r, true);
}

void ADisplayComponent::invalidateClippedOnScreen(const ARegion& region) {
    ARegion r(region);
    r.intersect(ARegion(getLocalBounds()));
    invalidateRegion(r, false);
}

void ADisplayComponent::invalidate() {
    invalidateRegion(ARegion(getLocalBounds()), true);
}

void ADisplayComponent::invalidateOffscreen(const ARegion& region) {
    if (!hasFlags(kVisible) || !(displayFlags_ & (kOffscreen | kOffscreenRoot | kOffscreenExcluded)))
        return;
    ADisplayComponent* root = findOffscreenRoot();
    if (!root)
        ThrowAssert("fdisplay", 503);
    root->offscreenInvalidate(Moved(region, windowPos_ - root->windowPos_));
}

void ADisplayComponent::copyOffscreenToScreen(const ARegion& region) {
    ADisplayComponent* root = hasFlags(kOffscreenRoot) ? nullptr : findOffscreenRoot();
    if (root)
        root->copyOffscreenToScreen(Moved(region, windowPos_ - root->windowPos_));
}

void ADisplayComponent::invalidateBorderInParent() {
    ADisplayComponent* p = getDisplayParent();
    if (!p)
        return;
    ARegion border(getOuterFrame());
    border.subtract(ARegion(frame_));
    p->invalidateClipped(border);
}

void ADisplayComponent::validateRegion(const ARegion& region, bool alsoOffscreen) {
    if (!hasFlags(kVisible))
        return;
    if (alsoOffscreen && hasFlags(kOffscreen)) {
        ADisplayComponent* root = findOffscreenRoot();
        if (!root)
            ThrowAssert("fdisplay", 544);
        root->offscreenValidate(Moved(region, windowPos_ - root->windowPos_));
    }
    if (ADisplayServices::current().isUpdateLocked(this))
        return;
    if (hwnd_ && !isWindowed() && IsWindow(hwnd_))
        Moved(region, ChildWindowOffset(this)).validateAt(APoint(0, 0), hwnd_);
    if (HWND window = enclosingWindow())
        Moved(region, windowPos_).validateAt(APoint(0, 0), window);
}

void ADisplayComponent::validateClipped(const ARegion& region) {
    ARegion r(region);
    r.intersect(ARegion(getLocalBounds()));
    validateRegion(r, false);
}

void ADisplayComponent::redrawRegion(const ARegion& region, bool deferred) {
    if (deferred) {
        invalidateRegion(region, true);
        return;
    }
    if (!hasFlags(kVisible) || region.isEmpty())
        return;
    if (!(displayFlags_ & (kTransparent | kDrawnThroughAncestor))) {
        if (isWindowed()) {
            invalidateRegion(region, true);
            AInvalidationHold::flush(enclosingWindow());
            UpdateWindow(RequireLiveWindow(enclosingWindow(), 362));
            return;
        }
        ADeviceLock lock(this, &region);
        draw(region);
        if (hwnd_) {
            invalidateRegion(region, false);
            AInvalidationHold::flush(hwnd_);
            UpdateWindow(RequireLiveWindow(hwnd_, 362));
        }
        validateRegion(region, false);
        return;
    }
    ADisplayComponent* o = (displayFlags_ & (kOffscreen | kOffscreenExcluded)) ? findOffscreenRoot() : nullptr;
    ADisplayComponent* a = o ? o : findWindowedAncestor();
    if (!a)
        ThrowAssert("fdisplay", 402);
    ARegion there = Moved(region, windowPos_ - a->windowPos_);
    APaintLock lock(a, &there);
    if (o)
        o->offscreenInvalidate(lock.lockRegion());
    a->draw(lock.lockRegion());
    a->validateRegion(lock.lockRegion(), false);
}

void ADisplayComponent::redrawClipped(const ARegion& region, bool deferred) {
    ARegion r(region);
    r.intersect(ARegion(getLocalBounds()));
    redrawRegion(r, deferred);
}

void ADisplayComponent::redraw(bool deferred) {
    redrawRegion(ARegion(getLocalBounds()), deferred);
}

void ADisplayComponent::redrawPendingUpdate() {
    if (!hasFlags(kVisible))
        return;
    ARegion update;
    if (HWND window = enclosingWindow())
        update.fromUpdateRegion(windowPos_, window);
    if (hwnd_ && !isWindowed() && IsWindow(hwnd_)) {
        ARegion own;
        own.fromUpdateRegion(ChildWindowOffset(this), hwnd_);
        update.unite(own);
    }
    redrawClipped(update, false);
}

ARegion ADisplayComponent::getVisibleRegion() {
    // clipToAncestors on rectangles: each lock asks, and regions cost GDI calls.
    ARect r = getLocalBounds();
    for (ADisplayComponent* c = this; c->hasFlags(kClippedByAncestors);) {
        ADisplayComponent* p = c->getDisplayParent();
        if (!p)
            break;
        r.intersect(p->getLocalBounds() + (p->windowPos_ - windowPos_));
        c = p;
    }
    return ARegion(r);
}

void ADisplayComponent::clipToAncestors(ARegion& region) {
    for (ADisplayComponent* c = this; c->hasFlags(kClippedByAncestors);) {
        ADisplayComponent* p = c->getDisplayParent();
        if (!p)
            break;
        ARegion bounds(p->getLocalBounds());
        bounds.offsetBy(p->windowPos_ - windowPos_);
        region.intersect(bounds);
        c = p;
    }
}

ARegion ADisplayComponent::uncoveredRegion(const ARegion& region, bool useOuterFrames, ADisplayComponent* stopAt) {
    ARegion result(region);
    std::vector<ADisplayComponent*> list = displayChildren();
    for (auto it = list.rbegin(); it != list.rend() && *it != stopAt; ++it) {
        ADisplayComponent* child = *it;
        if (!child->hasFlags(kVisible) || child->isWindowed())
            continue;
        ARegion covered(useOuterFrames ? child->getOuterFrame() : child->frame_);
        covered.intersect(result);
        if (covered.isEmpty())
            continue;
        if (child->hasFlags(kEraseBackground)) {
            result.subtract(covered);
        } else {
            APoint shift = child->windowPos_ - windowPos_;
            result = Moved(child->uncoveredRegion(Moved(result, APoint(0, 0) - shift), useOuterFrames, nullptr), shift);
        }
    }
    return result;
}

long ADisplayComponent::draw(const ARegion& region) {
    if (!PainterOrder()) {
        drawChildren(region, true);
        return 1;
    }
    ARect b = region.ownerBounds();
    if (!hasFlags(kTransparent) && hasFlags(kEraseBackground))
        eraseBackground(b);
    ARegion r(region);
    if (runBehavioursDraw(r, true) == 1) {
        drawContent(b);
        runBehavioursDraw(r, false);
    }
    drawChildren(region, false);
    return 1;
}

void ADisplayComponent::eraseBackground(const ARect& rect) {
    ADisplayContext* context = ADisplayContext::existing();
    AGraphicDisplay* d = context ? context->current() : nullptr;
    if (!d || (d->flags() & (AGraphicDisplay::kPreview | AGraphicDisplay::kPrinter)) || !d->isDrawable())
        return;
    d->eraseRect(rect);
}

long ADisplayComponent::runBehavioursDraw(ARegion& region, bool before) {
    Alist& list = behaviors();
    for (ALink* link = list.firstLink(); link != list.sentinel(); link = link->next) {
        auto* b = static_cast<ABehavior*>(static_cast<APlink*>(link)->value);
        if (b->drawHook(&region, before ? 1 : 0))
            return 0;
    }
    return 1;
}

namespace {

// Draws one child inside a lock on the parent's display, or hands an
// excluded child to the off-screen root above the parent.
void DrawInside(ADisplayComponent* parent, ADisplayComponent* child, const ARegion& local) {
    if (local.isEmpty())
        return;
    if (!child->hasFlags(ADisplayComponent::kOffscreenExcluded)) {
        AChildPaintLock lock(child, &local);
        child->draw(local);
        return;
    }
    if (ADisplayComponent* root = parent->findOffscreenRoot()) {
        root->excludeChild(child);
        child->invalidateOffscreen(local);
    }
}

void DrawChildBorder(ADisplayComponent* child, const ARegion& region) {
    ARegion border(child->getOuterFrame());
    border.subtract(ARegion(child->getFrame()));
    border.intersect(region);
    if (border.isEmpty())
        return;
    AClipLock clip(border);
    child->drawBorder(border.ownerBounds(), 0, 0);
}

// The region in the child's local coordinates, cut to its bounds.
ARegion IntoChild(ADisplayComponent* parent, ADisplayComponent* child, const ARegion& region) {
    ARegion local = Moved(region, parent->windowPosition() - child->windowPosition());
    local.intersect(ARegion(child->getLocalBounds()));
    return local;
}

}  // namespace

void ADisplayComponent::drawChildren(const ARegion& region, bool withSelf) {
    std::vector<ADisplayComponent*> list = displayChildren();
    if (PainterOrder()) {
        for (ADisplayComponent* child : list) {
            if (!child->hasFlags(kVisible))
                continue;
            DrawChildBorder(child, region);
            if (!child->isWindowed())
                DrawInside(this, child, IntoChild(this, child, region));
        }
        return;
    }
    // Clipped order: topmost child first, each opaque child takes its frame
    // out of what is still uncovered, so no pixel is painted twice.
    std::vector<std::unique_ptr<ARegion>> entries(list.size());
    ARegion uncovered(region);
    for (size_t i = list.size(); i-- > 0;) {
        ADisplayComponent* child = list[i];
        if (!child->hasFlags(kVisible))
            continue;
        ARegion c(child->getOuterFrame());
        c.intersect(uncovered);
        if (c.isEmpty())
            continue;
        entries[i].reset(CheckAlloc(new (std::nothrow) ARegion(c), "fdisplay", 1489));
        if (child->isWindowed())
            continue;
        Cover(this, child, uncovered, ARegion(child->frame_), false);
    }
    if (withSelf && !uncovered.isEmpty()) {
        AClipLock clip(uncovered);
        ARect b = uncovered.ownerBounds();
        if (hasFlags(kEraseBackground))
            eraseBackground(b);
        if (runBehavioursDraw(uncovered, true) == 1) {
            drawContent(b);
            runBehavioursDraw(uncovered, false);
        }
    }
    for (size_t i = 0; i < list.size(); ++i) {
        ADisplayComponent* child = list[i];
        if (!entries[i] || !child->hasFlags(kVisible))
            continue;
        DrawChildBorder(child, *entries[i]);
        if (child->isWindowed())
            continue;
        ARegion cut(*entries[i]);
        cut.intersect(ARegion(child->frame_));
        DrawInside(this, child, IntoChild(this, child, cut));
    }
}

ARect ADisplayComponent::getFocusFrameRect() {
    return ARect(frame_.left() - 4, frame_.top() - 4, frame_.right() + 4, frame_.bottom() + 4);
}

void ADisplayComponent::drawFocusFrame(const ARect& rect, AGraphicDisplay& display, bool inner, bool outer) {
    ARect r(rect.left() + 3, rect.top() + 3, rect.right() - 3, rect.bottom() - 3);
    if (inner && r.first.isLessThan(r.second))
        display.FrameRect(r, 1);
    if (outer && (flags() & kOnTargetChain) && rect.first.isLessThan(rect.second))
        display.FrameRect(rect, 2);
}

void ADisplayComponent::setOffscreenTree(bool on, bool recursive) {
    setOffscreenFlag(on);
    if (!on)
        setOffscreenExcludedFlag(false);
    if (!recursive)
        return;
    for (ADisplayComponent* child : displayChildren()) {
        if (!on || (!child->hasFlags(kOffscreenExcluded) && !child->hwnd_))
            child->setOffscreenTree(on, true);
    }
}

void ADisplayComponent::setOffscreen(bool on, bool recursive) {
    if (on) {
        ADisplayComponent* p = getDisplayParent();
        if (hasFlags(kOffscreenExcluded) || hwnd_ || !p || !(p->displayFlags_ & (kOffscreen | kOffscreenRoot)))
            return;
    }
    setOffscreenTree(on, recursive);
}

void ADisplayComponent::setOffscreenExcluded(bool on) {
    if (on && !hasFlags(kOffscreen))
        return;
    if (on)
        setOffscreen(false, true);
    setOffscreenExcludedFlag(on);
}
