// Display components: hit testing, the mouse dispatchers and handler chain,
// hover tracking and the cursor codes.
#include "base/object/AError.h"
#include "framework/components/ABehavior.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"

namespace {

bool IsPassThrough(ACommand* command) {
    return command == AComponent::passThroughCommand();
}

// The point of the event moved from one component's window position to another's.
AMouseEvent Into(const AMouseEvent& event, ADisplayComponent* from, ADisplayComponent* to) {
    return AMouseEvent(event.where + from->windowPosition() - to->windowPosition(), event.value);
}

// The first answer of the component's behaviours that is not the pass-through.
template <class Call>
ACommand* AskBehaviours(ADisplayComponent* c, Call call) {
    Alist& list = c->behaviors();
    for (ALink* link = list.firstLink(); link != list.sentinel(); link = link->next) {
        auto* b = static_cast<ABehavior*>(static_cast<APlink*>(link)->value);
        ACommand* answer = call(b);
        if (!IsPassThrough(answer))
            return answer;
    }
    return AComponent::passThroughCommand();
}

// Behaviours, the component's own operation, then the display parent's handler.
template <class Hook, class Own, class Up>
ACommand* Chain(ADisplayComponent* c, AMouseEvent& event, Hook hook, Own own, Up up) {
    ACommand* answer = AskBehaviours(c, [&](ABehavior* b) { return hook(b, event); });
    if (!IsPassThrough(answer))
        return answer;
    answer = own(event);
    if (!IsPassThrough(answer))
        return answer;
    AMouseEvent parentEvent(event);
    ADisplayComponent* p = c->toDisplayParent(&parentEvent.where);
    return p ? up(p, parentEvent) : AComponent::passThroughCommand();
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

// A press on no component (a mouse-transparent root whose children all
// miss) is not handled: the window procedure lets the system have it.
long ADisplayComponent::dispatchMouseDown(AMouseEvent& event) {
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h)
        return 0;
    ADisplayServices::current().noteMouseDown(h);
    AMouseEvent e(local, event.value);
    return perform(h->mousePressed(e));
}

long ADisplayComponent::dispatchRightMouseDown(AMouseEvent& event) {
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h)
        return 0;
    AMouseEvent e(local, event.value);
    return perform(h->rightMousePressed(e));
}

long ADisplayComponent::dispatchDoubleClick(AMouseEvent& event, long value) {
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h)
        return 0;
    AMouseEvent e(local, event.value);
    return perform(h->mouseDoubleClicked(e, value));
}

long ADisplayComponent::dispatchMouseMove(AMouseEvent& event) {
    ADisplayServices& services = ADisplayServices::current();
    if (AMouseTracker* tracker = services.tracker()) {
        ADisplayComponent* owner = tracker->owner();
        if (!owner)
            ThrowAssert("fdisplay", 2326);
        AMouseEvent e = Into(event, this, owner);
        return perform(tracker->trackMove(e));
    }
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h) {
        services.setHoverComponent(nullptr);
        return 0;
    }
    if (h != services.hoverComponent())
        services.setHoverComponent(h);
    AMouseEvent e(local, event.value);
    long result = perform(h->mouseMoved(e));
    services.noteMouseMove(h);
    return result;
}

long ADisplayComponent::dispatchMouseUp(AMouseEvent& event) {
    ADisplayServices& services = ADisplayServices::current();
    if (AMouseTracker* tracker = services.tracker()) {
        ADisplayComponent* owner = tracker->owner();
        if (!owner)
            ThrowAssert("fdisplay", 2326);
        AMouseEvent e = Into(event, this, owner);
        long result = perform(tracker->trackRelease(e));
        if (services.tracker() == tracker)
            services.endTracking();
        return result;
    }
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h)
        return 0;
    AMouseEvent e(local, event.value);
    return perform(h->mouseReleased(e));
}

long ADisplayComponent::dispatchMouseWheel(AMouseEvent& event, long delta) {
    APoint local;
    ADisplayComponent* h = hitTest(event.where, &local, false);
    if (!h)
        return 0;
    AMouseEvent e(local, event.value);
    return perform(h->mouseWheeled(e, delta));
}

ACommand* ADisplayComponent::mousePressed(AMouseEvent& event) {
    return Chain(
        this, event, [](ABehavior* b, AMouseEvent& e) { return b->mouseDown(e); },
        [this](AMouseEvent& e) { return mouseDown(e); },
        [](ADisplayComponent* p, AMouseEvent& e) { return p->mousePressed(e); });
}

ACommand* ADisplayComponent::rightMousePressed(AMouseEvent& event) {
    return Chain(
        this, event, [](ABehavior* b, AMouseEvent& e) { return b->rightMouseDown(e); },
        [this](AMouseEvent& e) { return rightMouseDown(e); },
        [](ADisplayComponent* p, AMouseEvent& e) { return p->rightMousePressed(e); });
}

ACommand* ADisplayComponent::mouseDoubleClicked(AMouseEvent& event, long value) {
    return Chain(
        this, event, [value](ABehavior* b, AMouseEvent& e) { return b->doubleClick(e, value); },
        [this, value](AMouseEvent& e) { return doubleClick(e, value); },
        [value](ADisplayComponent* p, AMouseEvent& e) { return p->mouseDoubleClicked(e, value); });
}

ACommand* ADisplayComponent::mouseMoved(AMouseEvent& event) {
    return Chain(
        this, event, [](ABehavior* b, AMouseEvent& e) { return b->mouseMove(e); },
        [this](AMouseEvent& e) { return mouseMove(e); },
        [](ADisplayComponent* p, AMouseEvent& e) { return p->mouseMoved(e); });
}

ACommand* ADisplayComponent::mouseReleased(AMouseEvent& event) {
    return Chain(
        this, event, [](ABehavior* b, AMouseEvent& e) { return b->mouseUp(e); },
        [this](AMouseEvent& e) { return mouseUp(e); },
        [](ADisplayComponent* p, AMouseEvent& e) { return p->mouseReleased(e); });
}

ACommand* ADisplayComponent::mouseWheeled(AMouseEvent& event, long delta) {
    return Chain(
        this, event, [delta](ABehavior* b, AMouseEvent& e) { return b->mouseWheel(e, delta); },
        [this, delta](AMouseEvent& e) { return mouseWheel(e, delta); },
        [delta](ADisplayComponent* p, AMouseEvent& e) { return p->mouseWheeled(e, delta); });
}

ACommand* ADisplayComponent::rightMouseDown(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ADisplayComponent::mouseDown(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ADisplayComponent::doubleClick(AMouseEvent& event, long value) {
    (void)event;
    (void)value;
    return passThroughCommand();
}

ACommand* ADisplayComponent::mouseMove(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ADisplayComponent::mouseUp(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ADisplayComponent::mouseWheel(AMouseEvent& event, long delta) {
    (void)event;
    (void)delta;
    return passThroughCommand();
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
