// Shared pieces of the view tests: a view of numbered 16-pixel lines, each
// drawn in its own colour, and a scroller holding one in a test window.
#pragma once

#include <functional>
#include <string>

#include "framework/views/ALayerView.h"
#include "framework/views/AScroller.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

// Dispatches the messages waiting in the queue.
void Pump();

// The colour of content line n (16 pixels high).
COLORREF LineColor(int32_t n);

class LinesView : public AView {
public:
    LinesView(AComponent* parent, const ARect& frame, int16_t id = 5)
        : AView(parent, id, ASizeSpec(frame), 0, 1, nullptr, 0x3000) {}
    long drawContent(const ARect& rect) override;
    ACommand* trackRelease(AViewTracker& tracker) override;
    void trackFeedback(AViewTracker& tracker) override {
        ++steps;
        if (onStep)
            onStep(tracker);
    }
    void trackPress(AViewTracker&) override { log += "press "; }
    void trackMove(AViewTracker& tracker) override {
        log += "move ";
        if (onMove)
            onMove(tracker);
    }

    bool dark = false;                          // draws every line black
    int draws = 0;                              // drawContent calls
    ARect lastDrawn;                            // the rectangle of the last drawContent
    int steps = 0;                              // trackFeedback calls
    std::function<void(AViewTracker&)> onStep;  // run at each of them
    std::function<void(AViewTracker&)> onMove;  // run at each trackMove
    std::string log;                            // tracking calls
};

// A layer that may answer the vertical maximum and counts its scroll calls.
class CountingLayer : public AViewLayer {
public:
    CountingLayer(AComponent* parent, int16_t id, int32_t maxY = -1)
        : AViewLayer(parent, id, ASizeSpec::fill), maxY_(maxY) {}
    int32_t maxScrollY() override { return maxY_; }
    bool scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) override {
        ++scrolls;
        return AViewLayer::scrollVertically(code, value, shift, delta);
    }
    int scrolls = 0;

private:
    int32_t maxY_;
};

// A bar part standing for a scroll bar that scrollers bind to.
class TestBar : public ADisplayComponent, public AScrollLink {
public:
    TestBar(AComponent* parent, int16_t id) : ADisplayComponent(parent, id, ASizeSpec::zero) {}
};

class ViewTest : public ClusterTest {
protected:
    // A window (no native one unless opened) with a scroller of the frame
    // holding a lines view of the same frame.
    void build(const ARect& frame, const APoint& content);
    // The same in an opened window; false without a display.
    bool buildShown(const ARect& frame, const APoint& content);

    TestWindow* window = nullptr;
    AScroller* scroller = nullptr;
    LinesView* view = nullptr;
};
