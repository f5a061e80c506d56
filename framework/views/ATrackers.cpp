// Mouse trackers and the edge scroller.
#include "framework/views/ATrackers.h"

#include <algorithm>

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/controls/AIconButton.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AImage.h"
#include "framework/views/ALayerView.h"
#include "framework/views/AScroller.h"

static bool QueuedMouseInput() {
    return LOWORD(GetQueueStatus(QS_MOUSEMOVE | QS_MOUSEBUTTON)) != 0;
}

bool (*AScrollingTracker::mouseQueued)() = QueuedMouseInput;

static APoint PinnedInto(const APoint& p, const ARect& r) {
    return APoint(std::clamp(p.x, r.left(), std::max(r.left(), r.right() - 1)),
                  std::clamp(p.y, r.top(), std::max(r.top(), r.bottom() - 1)));
}

static ADisplayComponent* Required(ADisplayComponent* component, long line) {
    if (!component)
        ThrowAssert("ftrack", line);
    return component;
}

AScrollingTracker::AScrollingTracker(ADisplayComponent* component, const AMouseEvent& event, AScroller* scroller)
    : start_(event),
      previous_(event),
      current_(event),
      bounds_(Required(component, 209)->getLocalBounds()),
      anchor_(event.where),
      component_(component),
      scroller_(scroller) {}

AScrollingTracker::~AScrollingTracker() {
    stopTimer();
}

APoint AScrollingTracker::scrollOrigin() {
    return component_->getLocalOrigin();
}

ACommand* AScrollingTracker::trackMove(AMouseEvent& event) {
    mouseMoved(event);
    return AComponent::noChangeCommand();
}

bool AScrollingTracker::hasMoved() {
    return scrolled_ || current_.where != previous_.where;
}

long AScrollingTracker::timerFired(long id) {
    if (onTimer(id)) {
        timer_ = 0;
        return 1;
    }
    return 0;
}

long AScrollingTracker::timerOf(AComponent* component, uint16_t id) {
    auto* tracker = dynamic_cast<AScrollingTracker*>(ADisplayServices::current().tracker());
    if (tracker && tracker->component() == component && tracker->ownsTimer(id))
        return tracker->timerFired(id);
    return -1;
}

bool AScrollingTracker::onTimer(long id) {
    (void)id;
    trackLocked();
    return false;
}

ACommand* AScrollingTracker::trackEnd() {
    return AComponent::noChangeCommand();
}

void AScrollingTracker::autoScrollBegin(AMouseEvent& event, uint16_t direction) {
    (void)event;
    (void)direction;
}

APoint AScrollingTracker::autoScrollStep(AMouseEvent& event, uint16_t direction) {
    if (!scroller_)
        return APoint(0, 0);
    APoint o1 = scrollOrigin();
    APoint before = scroller_->position();
    autoScroll(event, direction);
    scrolled_ = scroller_->position() != before;
    return scrollOrigin() - o1;
}

void AScrollingTracker::autoScrollEnd(AMouseEvent& event, uint16_t direction) {
    (void)event;
    (void)direction;
    scrolled_ = 0;
}

void AScrollingTracker::autoScroll(AMouseEvent& event, uint16_t direction) {
    (void)event;
    if (scroller_)
        scroller_->autoScroll(direction);
}

AEdgeScroller* AScrollingTracker::delegate() {
    AView* v = scroller_ ? scroller_->view() : nullptr;
    return v ? v->autoScroller() : nullptr;
}

void AScrollingTracker::capture() {
    ADisplayComponent* c = Required(component_, 253);
    HWND window = c->enclosingWindow();
    if (!window || !IsWindow(window))
        ThrowAssert("ftrack", 257);
    if (ADisplayServices::current().tracker() != this)
        ADisplayServices::current().startTracking(this);
    SetCapture(window);
}

void AScrollingTracker::release() {
    ADisplayComponent* c = Required(component_, 263);
    HWND window = c->enclosingWindow();
    if (!window || !IsWindow(window))
        ThrowAssert("ftrack", 266);
    // The application's routing forgets (and deletes) the tracker after the release.
    ReleaseCapture();
}

void AScrollingTracker::trackLocked() {
    ADeviceLock lock(Required(component_, 374), nullptr);
    trackStep();
}

ACommand* AScrollingTracker::mouseDown(AMouseEvent& event) {
    current_ = previous_ = event;
    anchor_ = event.where;
    capture();
    AEdgeScroller* d = delegate();
    delegate_ = d && d->track(event) ? d : nullptr;
    if (!delegate_)
        trackBegin();
    return AComponent::noChangeCommand();
}

void AScrollingTracker::mouseMoved(AMouseEvent& event) {
    if (delegate_) {
        current_ = event;
        if (hasMoved())
            delegate_->trackForced(event);
        previous_ = current_;
        return;
    }
    anchor_ = event.where;
    uint16_t direction = uint16_t(bounds_.outcode(event.where));
    if (direction == 0) {
        current_ = event;
        APoint o1 = scrollOrigin();
        trackLocked();
        trackAfterMove();
        // A scroll made by the callbacks keeps the point on the same content.
        current_.where = current_.where + (scrollOrigin() - o1);
        previous_ = current_;
        return;
    }
    AMouseEvent e(event);
    autoScrollBegin(e, direction);
    do {
        APoint delta = autoScrollStep(e, direction);
        e.where = e.where + delta;
        bounds_ = bounds_ + delta;
        current_ = AMouseEvent(PinnedInto(e.where, bounds_), e.value);
        trackLocked();
        trackAfterMove();
        previous_ = current_;
    } while (!mouseQueued());
    autoScrollEnd(e, direction);
}

ACommand* AScrollingTracker::mouseUp(AMouseEvent& event) {
    current_ = AMouseEvent(PinnedInto(event.where, bounds_), event.value);
    anchor_ = event.where;
    release();
    if (delegate_) {
        delegate_->end(event);
        return AComponent::noChangeCommand();
    }
    return trackEnd();
}

void AScrollingTracker::startTimer(uint32_t delay) {
    stopTimer();
    if (AApp* app = AApp::current())
        timer_ = app->addTimer(component_, delay);
}

void AScrollingTracker::setTimerDelay(uint32_t delay) {
    AApp* app = AApp::current();
    if (timer_ && app)
        app->setTimerDelay(component_, timer_, delay);
    else
        startTimer(delay);
}

void AScrollingTracker::stopTimer() {
    if (timer_)
        if (AApp* app = AApp::current())
            app->restartTimer(component_, timer_);
    timer_ = 0;
}

static AView* RequiredView(AView* view) {
    if (!view)
        ThrowAssert("ftrack", 498);
    return view;
}

AViewTracker::AViewTracker(AView* view, const AMouseEvent& event)
    : AScrollingTracker(RequiredView(view), event, view->scroller()), view_(view) {}

void AViewTracker::trackBegin() {
    view_->trackPress(*this);
}

void AViewTracker::trackStep() {
    view_->trackFeedback(*this);
}

void AViewTracker::trackAfterMove() {
    view_->trackMove(*this);
}

ACommand* AViewTracker::trackEnd() {
    return view_->trackRelease(*this);
}

static AViewLayer* RequiredLayer(AViewLayer* layer) {
    if (!layer || !layer->layerOwner())
        ThrowAssert("ftrack", 530);
    return layer;
}

ALayerTracker::ALayerTracker(AViewLayer* layer, const AMouseEvent& event)
    : AViewTracker(RequiredLayer(layer)->layerOwner(), event), layer_(layer) {}

void ALayerTracker::trackBegin() {
    layer_->trackPress(*this);
}

void ALayerTracker::trackStep() {
    layer_->trackFeedback(*this);
}

void ALayerTracker::trackAfterMove() {
    layer_->trackMove(*this);
}

ACommand* ALayerTracker::trackEnd() {
    return layer_->trackRelease(*this);
}

AButtonTracker::AButtonTracker(AIconButton* button, const AMouseEvent& event)
    : AScrollingTracker(button, event, nullptr), button_(button) {}

void AButtonTracker::trackBegin() {
    button_->trackStart();
}

void AButtonTracker::trackStep() {
    button_->trackMove(current().where, hasMoved());
}

ACommand* AButtonTracker::trackEnd() {
    button_->trackEnd(current().where);
    return AComponent::noChangeCommand();
}

AEdgeScroller::AEdgeScroller(AView* view, const APoint& margin, uint16_t cursorBase, uint16_t pressOnly)
    : margin_(margin), view_(view), cursorBase_(cursorBase), pressOnly_(pressOnly) {
    if (!view_)
        ThrowAssert("ftrack", 50);
    refresh();
}

AEdgeScroller::~AEdgeScroller() {
    stop();
}

void AEdgeScroller::refresh() {
    hot_ = view_->getLocalBounds();
    // No scrolling zone along an edge the view cannot scroll past.
    if (view_->scrollX() > 0)
        hot_.first.x += margin_.x;
    if (view_->scrollX() < view_->maxScrollX())
        hot_.second.x -= margin_.x;
    if (view_->scrollY() > 0)
        hot_.first.y += margin_.y;
    if (view_->scrollY() < view_->maxScrollY())
        hot_.second.y -= margin_.y;
}

int16_t AEdgeScroller::cursorFor(int32_t direction) {
    static const int32_t kOrder[8] = {1, 5, 4, 6, 2, 10, 8, 9};
    if (direction == 0)
        return view_->getCursor((view_->displayFlags() & 0x80) ? 1 : 0);
    for (int i = 0; i < 8; ++i)
        if (kOrder[i] == direction)
            return int16_t(cursorBase_ + i);
    return 32512;  // IDC_ARROW
}

void AEdgeScroller::setCursor(int16_t id) {
    cursor_ = id;
    if (AApp* app = AApp::current())
        app->setCursor(id);
}

bool AEdgeScroller::track(AMouseEvent& event, bool forced) {
    int32_t direction = hot_.outcode(event.where);
    if (direction == 0) {
        if (direction_ != 0)
            forced = true;
        stop();
        if (forced)
            setCursor(cursorFor(0));
        return false;
    }
    setCursor(cursorFor(direction));
    if (pressOnly_ == 0 || (event.value & 1)) {
        if (!timer_)
            if (AApp* app = AApp::current())
                timer_ = app->addTimer(view_, 100);
        direction_ = direction;
    }
    return true;
}

bool AEdgeScroller::mouseMoved(AMouseEvent& event) {
    if (event.value & 1)
        return false;
    return track(event, false);
}

void AEdgeScroller::stop() {
    if (timer_)
        if (AApp* app = AApp::current())
            app->restartTimer(view_, timer_);
    timer_ = 0;
    direction_ = 0;
}

bool AEdgeScroller::timerFired(uint16_t id) {
    if (!ownsTimer(id))
        ThrowAssert("ftrack", 63);
    APoint o1 = view_->getLocalOrigin();
    if (AScroller* s = view_->scroller())
        s->autoScroll(uint16_t(direction_));
    if (view_->getLocalOrigin() != o1)
        return false;
    timer_ = 0;
    view_->redrawPendingUpdate();
    return true;
}

void AEdgeScroller::end(AMouseEvent& event) {
    if (hot_.outcode(event.where) == 0 || pressOnly_) {
        stop();
        view_->redrawPendingUpdate();
    }
}
