// Display components: hit testing, the mouse dispatchers and handler chain,
// hover tracking and the cursor codes.
#include "base/procedural/AError.h"
#include "framework/components/ABehavior.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"

namespace {

bool IsPassThrough(ACommand* command) {
    return command == AComponent::passThroughCommand();
}

// Behaviours, the component's own operation, then the display parent's
// handler with the point converted: the first answer that is not the pass-through.
template <class... Args>
ACommand* Chain(ADisplayComponent* c, AMouseEvent& event, ACommand* (ABehavior::*hook)(AMouseEvent&, Args...),
                ACommand* (ADisplayComponent::*own)(AMouseEvent&, Args...),
                ACommand* (ADisplayComponent::*handler)(AMouseEvent&, Args...), Args... args) {
    Alist& list = c->behaviors();
    for (ALink* link = list.firstLink(); link != list.sentinel(); link = link->next) {
        auto* b = static_cast<ABehavior*>(static_cast<APlink*>(link)->value);
        ACommand* answer = (b->*hook)(event, args...);
        if (!IsPassThrough(answer))
            return answer;
    }
    ACommand* answer = (c->*own)(event, args...);
    if (!IsPassThrough(answer))
        return answer;
    AMouseEvent parentEvent(event);
    ADisplayComponent* p = c->toDisplayParent(&parentEvent.where);
    return p ? (p->*handler)(parentEvent, args...) : AComponent::passThroughCommand();
}

}  // namespace

ADisplayComponent* ADisplayComponent::hitTest(const APoint& point, APoint* local, bool includeInactive) {
    std::vector<ADisplayComponent*> list = displayChildren();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        ADisplayComponent* child = *it;
        if (!child->hasFlags(kShown) || (!includeInactive && !child->hasFlags(kActive)) || child->isWindowed())
            continue;
        const ARect& f = child->frame_;
        if (point.x < f.left() || point.x > f.right() - 1 || point.y < f.top() || point.y > f.bottom() - 1)
            continue;
        APoint childPoint = point + windowPos_ - child->windowPos_;
        if (local)
            *local = childPoint;
        if (ADisplayComponent* r = child->hitTest(childPoint, local, false))
            return r;
    }
    if (hasFlags(kMouseTransparent))
        return nullptr;
    if (local)
        *local = point;
    return this;
}

ADisplayComponent* ADisplayComponent::toDisplayParent(APoint* point) {
    ADisplayComponent* p = getDisplayParent();
    if (p && point) {
        if (!isWindowed())
            *point = *point + windowPos_ - p->windowPos_;
        else
            *point = p->screenToLocal(localToScreen(*point));
    }
    return p;
}

namespace {

// The hit component's handler with the event in its coordinates. A point on
// no component (a mouse-transparent root whose children all miss) is not
// handled: the window procedure lets the system have it.
template <class... Args>
long DispatchToHit(ADisplayComponent* root, AMouseEvent& event, void (*note)(ADisplayComponent*),
                   ACommand* (ADisplayComponent::*handler)(AMouseEvent&, Args...), Args... args) {
    APoint local;
    ADisplayComponent* h = root->hitTest(event.where, &local, false);
    if (!h)
        return 0;
    if (note)
        note(h);
    AMouseEvent e(local, event.value);
    return root->perform((h->*handler)(e, args...));
}

void NoteMouseDown(ADisplayComponent* h) {
    ADisplayServices::current().noteMouseDown(h);
}

}  // namespace

long ADisplayComponent::dispatchMouseDown(AMouseEvent& event) {
    return DispatchToHit(this, event, NoteMouseDown, &ADisplayComponent::mousePressed);
}

long ADisplayComponent::dispatchRightMouseDown(AMouseEvent& event) {
    return DispatchToHit(this, event, nullptr, &ADisplayComponent::rightMousePressed);
}

long ADisplayComponent::dispatchDoubleClick(AMouseEvent& event, long value) {
    return DispatchToHit(this, event, nullptr, &ADisplayComponent::mouseDoubleClicked, value);
}

AMouseTracker* ADisplayComponent::trackerFor(APoint* point) {
    AMouseTracker* tracker = ADisplayServices::current().tracker();
    if (!tracker)
        return nullptr;
    ADisplayComponent* owner = tracker->owner();
    if (!owner)
        ThrowAssert("fdisplay", 2326);
    if (point)
        *point = *point + windowPos_ - owner->windowPos_;
    return tracker;
}

long ADisplayComponent::dispatchMouseMove(AMouseEvent& event) {
    ADisplayServices& services = ADisplayServices::current();
    AMouseEvent e(event);
    if (AMouseTracker* tracker = trackerFor(&e.where))
        return perform(tracker->trackMove(e));
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h) {
        services.setHoverComponent(nullptr);
        return 0;
    }
    if (h != services.hoverComponent())
        services.setHoverComponent(h);
    e = AMouseEvent(local, event.value);
    long result = perform(h->mouseMoved(e));
    services.noteMouseMove(h);
    return result;
}

long ADisplayComponent::dispatchMouseUp(AMouseEvent& event) {
    ADisplayServices& services = ADisplayServices::current();
    AMouseEvent e(event);
    if (AMouseTracker* tracker = trackerFor(&e.where)) {
        long result = perform(tracker->trackRelease(e));
        if (services.tracker() == tracker)
            services.endTracking();
        return result;
    }
    return DispatchToHit(this, event, nullptr, &ADisplayComponent::mouseReleased);
}

long ADisplayComponent::dispatchMouseWheel(AMouseEvent& event, long delta) {
    return DispatchToHit(this, event, nullptr, &ADisplayComponent::mouseWheeled, delta);
}

ACommand* ADisplayComponent::mousePressed(AMouseEvent& event) {
    return Chain(this, event, &ABehavior::mouseDown, &ADisplayComponent::mouseDown, &ADisplayComponent::mousePressed);
}

ACommand* ADisplayComponent::rightMousePressed(AMouseEvent& event) {
    return Chain(this, event, &ABehavior::rightMouseDown, &ADisplayComponent::rightMouseDown,
                 &ADisplayComponent::rightMousePressed);
}

ACommand* ADisplayComponent::mouseDoubleClicked(AMouseEvent& event, long value) {
    return Chain(this, event, &ABehavior::doubleClick, &ADisplayComponent::doubleClick,
                 &ADisplayComponent::mouseDoubleClicked, value);
}

ACommand* ADisplayComponent::mouseMoved(AMouseEvent& event) {
    return Chain(this, event, &ABehavior::mouseMove, &ADisplayComponent::mouseMove, &ADisplayComponent::mouseMoved);
}

ACommand* ADisplayComponent::mouseReleased(AMouseEvent& event) {
    return Chain(this, event, &ABehavior::mouseUp, &ADisplayComponent::mouseUp, &ADisplayComponent::mouseReleased);
}

ACommand* ADisplayComponent::mouseWheeled(AMouseEvent& event, long delta) {
    return Chain(this, event, &ABehavior::mouseWheel, &ADisplayComponent::mouseWheel, &ADisplayComponent::mouseWheeled,
                 delta);
}

void ADisplayComponent::refreshHover() {
    ADisplayServices& services = ADisplayServices::current();
    POINT cursor;
    GetCursorPos(&cursor);
    for (ADisplayComponent* c = this; c; c = c->getDisplayParent()) {
        if (!c->hasFlags(kActive))
            continue;
        APoint p = c->screenToLocal(APoint(cursor.x, cursor.y));
        if (!c->getLocalBounds().contains(p))
            continue;
        AMouseEvent event(p, GetInputModifiers());
        if (c == services.hoverComponent())
            services.setHoverComponent(nullptr);
        c->dispatchMouseMove(event);
        return;
    }
    services.setHoverComponent(nullptr);
}

int16_t ADisplayComponent::resolveCursor(int16_t kind, int16_t own) {
    if (own != 0)
        return kind == 0 ? ADisplayServices::kNoCursorChoice : own;
    if (ADisplayComponent* p = getDisplayParent())
        return p->childCursor(kind);
    return kind == 0 ? ADisplayServices::kNoCursorChoice : ADisplayServices::kDefaultCursor;
}

int16_t ADisplayComponent::cursorFor(int16_t kind) {
    return isWindowed() ? ADisplayServices::kNoCursorChoice : getCursor(kind);
}
