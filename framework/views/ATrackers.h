// Mouse tracking: a press on a component captures the mouse, follows the
// pointer until the release, calls back into its client at each step, and
// scrolls the content while the pointer is outside the component's bounds.
// AEdgeScroller scrolls a view while the pointer rests in a margin of it.
//
// The display layer's AMouseTracker is the interface the application drives;
// AScrollingTracker holds the steps every tracker shares. The application
// owns the current tracker (ADisplayServices); trackers own nothing else.
// Assertions are "ftrack".
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"

class AEdgeScroller;
class AIconButton;
class AScroller;
class AView;
class AViewLayer;

class AScrollingTracker : public AMouseTracker {
public:
    // The scroller may be null: the tracker then never scrolls.
    AScrollingTracker(ADisplayComponent* component, const AMouseEvent& event, AScroller* scroller);
    ~AScrollingTracker() override;
    AScrollingTracker(const AScrollingTracker&) = delete;
    AScrollingTracker& operator=(const AScrollingTracker&) = delete;

    // AMouseTracker: what the application's mouse routing calls.
    ADisplayComponent* owner() override { return component_; }
    ACommand* trackMove(AMouseEvent& event) override;
    ACommand* trackRelease(AMouseEvent& event) override { return mouseUp(event); }

    virtual bool hasMoved();
    // A nonzero answer ends the timer.
    virtual long timerFired(long id);
    virtual bool onTimer(long id);
    // The client's steps: begin, move (inside a device lock), after move, end.
    virtual void trackBegin() {}
    virtual void trackStep() {}
    virtual void trackAfterMove() {}
    virtual ACommand* trackEnd();
    virtual void autoScrollBegin(AMouseEvent& event, uint16_t direction);
    // The displacement of the content the step made.
    virtual APoint autoScrollStep(AMouseEvent& event, uint16_t direction);
    virtual void autoScrollEnd(AMouseEvent& event, uint16_t direction);
    virtual void autoScroll(AMouseEvent& event, uint16_t direction);
    virtual AEdgeScroller* delegate();
    virtual void capture();
    virtual void release();
    void trackLocked();

    // Starts the tracking (the application takes the tracker); answers a command.
    ACommand* mouseDown(AMouseEvent& event);
    void mouseMoved(AMouseEvent& event);
    ACommand* mouseUp(AMouseEvent& event);

    void startTimer(uint32_t delay);
    void setTimerDelay(uint32_t delay);
    void stopTimer();
    bool ownsTimer(uint16_t id) const { return id != 0 && id == timer_; }
    // A tracker's timer is set on its component, which passes it on here:
    // the current tracker's answer when it owns the timer, else -1.
    static long timerOf(AComponent* component, uint16_t id);

    const AMouseEvent& startEvent() const { return start_; }
    const AMouseEvent& previous() const { return previous_; }
    const AMouseEvent& current() const { return current_; }
    const ARect& bounds() const { return bounds_; }
    const APoint& anchor() const { return anchor_; }
    ADisplayComponent* component() const { return component_; }
    AScroller* scroller() const { return scroller_; }
    // Mouse messages already queued end the outside loop (GetQueueStatus); tests may replace it.
    static bool (*mouseQueued)();

private:
    APoint scrollOrigin();

    AMouseEvent start_;
    AMouseEvent previous_;
    AMouseEvent current_;
    ARect bounds_;
    APoint anchor_;
    ADisplayComponent* component_;       // not owned
    AEdgeScroller* delegate_ = nullptr;  // not owned
    uint16_t timer_ = 0;
    AScroller* scroller_;  // not owned
    uint16_t scrolled_ = 0;
};

// A tracking that reports to a view's tracking calls.
class AViewTracker : public AScrollingTracker {
public:
    AViewTracker(AView* view, const AMouseEvent& event);
    void trackBegin() override;
    void trackStep() override;
    void trackAfterMove() override;
    ACommand* trackEnd() override;
    AView* view() const { return view_; }

private:
    AView* view_;  // not owned
};

// A view tracking that reports to one layer's tracking calls.
class ALayerTracker : public AViewTracker {
public:
    ALayerTracker(AViewLayer* layer, const AMouseEvent& event);
    void trackBegin() override;
    void trackStep() override;
    void trackAfterMove() override;
    ACommand* trackEnd() override;
    AViewLayer* layer() const { return layer_; }

private:
    AViewLayer* layer_;  // not owned
};

// A tracking that reports to a button's press steps (the button is not owned).
class AButtonTracker : public AScrollingTracker {
public:
    AButtonTracker(AIconButton* button, const AMouseEvent& event);
    void trackBegin() override;
    void trackStep() override;
    ACommand* trackEnd() override;
    AIconButton* button() const { return button_; }

private:
    AIconButton* button_;  // not owned
};

// Scrolls its view every 100 ms while the pointer rests in the margins
// (the hot rectangle's outside). Lives with the view, which owns it.
class AEdgeScroller {
public:
    AEdgeScroller(AView* view, const APoint& margin, uint16_t cursorBase, uint16_t pressOnly);
    virtual ~AEdgeScroller();
    AEdgeScroller(const AEdgeScroller&) = delete;
    AEdgeScroller& operator=(const AEdgeScroller&) = delete;

    // One step; true when the timer ends (the step no longer scrolled).
    virtual bool timerFired(uint16_t id);
    virtual bool ownsTimer(uint16_t id) { return id != 0 && id == timer_; }
    virtual bool mouseMoved(AMouseEvent& event);
    virtual void stop();
    virtual bool track(AMouseEvent& event) { return track(event, false); }
    virtual bool trackForced(AMouseEvent& event) { return track(event, true); }
    virtual void end(AMouseEvent& event);
    // Takes the view's bounds and scroll state again.
    void refresh();
    // The cursor id for an outcode direction.
    int16_t cursorFor(int32_t direction);

    const ARect& hotRect() const { return hot_; }
    int32_t direction() const { return direction_; }
    uint16_t timer() const { return timer_; }
    int16_t lastCursor() const { return cursor_; }

private:
    bool track(AMouseEvent& event, bool forced);
    void setCursor(int16_t id);

    ARect hot_;
    APoint margin_;
    AView* view_;  // not owned
    uint16_t cursorBase_;
    uint16_t timer_ = 0;
    int32_t direction_ = 0;
    uint16_t pressOnly_;
    int16_t cursor_ = 0;
};
