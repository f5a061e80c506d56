// Scrolling areas and their bars' shared parts: AScrollRange (a bar's value
// model), AScrollLink (the scrollers attached to one bar, so that several
// views scroll in step) and AScroller (binds a view to up to two bars).
//
// Scroll codes are the Win32 SB_ codes; 1000 means no change on an axis.
// Nothing here owns a view or a bar. Broken invariants are assertions ("fscroll").
#pragma once

#include <cstdint>
#include <vector>

#include "framework/display/ASizerGroup.h"

class AScroller;
class AView;

struct AScrollRequest {
    int16_t code;
    int32_t value;
};

enum : int16_t { kScrollNoChange = 1000 };

// minimum <= value <= maximum after every change; the page is the visible extent.
class AScrollRange {
public:
    AScrollRange() = default;
    AScrollRange(int32_t minimum, int32_t maximum, int32_t value);
    virtual ~AScrollRange() = default;

    // Each answers whether something changed; bars override them to show it.
    virtual bool setMinimum(int32_t minimum, bool redraw) { return setRange(minimum, maximum_, 0, redraw); }
    virtual bool setMaximum(int32_t maximum, bool redraw) { return setRange(minimum_, maximum, 0, redraw); }
    virtual bool setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw);
    virtual bool setValue(int32_t value, bool redraw);

    int32_t minimum() const { return minimum_; }
    int32_t maximum() const { return maximum_; }
    int32_t value() const { return value_; }
    int32_t page() const { return page_; }
    bool isVertical() const { return vertical_ != 0; }
    void setVertical(bool on) { vertical_ = on ? 1 : 0; }

protected:
    // Answers whether the value was already inside.
    bool normalise();

    int32_t minimum_ = 0;
    int32_t maximum_ = 0;
    int32_t value_ = 0;
    int32_t page_ = 0;
    uint16_t vertical_ = 0;
};

// A native scroll bar holds 15-bit values: ranges wider than that are shifted.
struct ANativeScale {
    explicit ANativeScale(const AScrollRange& range);
    int32_t nativeMaximum() const { return (maximum - minimum) >> shift; }
    int32_t toNative(int32_t value) const { return (value - minimum) >> shift; }
    // The native maximum gives the maximum exactly; out of range is an assertion.
    int32_t fromNative(int32_t native) const;

    int32_t minimum;
    int32_t maximum;
    unsigned shift;
};

// The bar side of the scroller/bar relation. Destroying a link with scrollers
// still attached is an assertion ("fscroll" 842).
class AScrollLink : public virtual AScrollRange {
public:
    AScrollLink() = default;
    ~AScrollLink() override;
    AScrollLink(const AScrollLink&) = delete;
    AScrollLink& operator=(const AScrollLink&) = delete;

    virtual void detachAll();
    virtual void attach(AScroller* scroller);
    virtual void detach(AScroller* scroller);
    // barMoved on every attached scroller but source.
    virtual void notifyMoved(AScroller* source, int32_t position, const AScrollRequest& request);
    // Makes the bar the command target when it does not take it itself.
    virtual void takeFocus(AComponent* bar);
    // barScrolled on every attached scroller.
    virtual void broadcast(int16_t code, int32_t value);
    size_t scrollerCount() const { return scrollers_.size(); }

private:
    std::vector<AScroller*> scrollers_;  // not owned, in attach order
};

class AScroller : public ASizerGroup {
    SV_DECLARE_CLASS(AScroller)
public:
    AScroller() = default;
    AScroller(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t horizontalBarId, uint16_t verticalBarId);
    ~AScroller() override;

    // Record: ASizerGroup's, horizontal bar id u16, vertical bar id u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;

    // Re-reads the view's extent and position and updates the bars.
    virtual void update();
    virtual void scrollAxis(bool vertical, int16_t code, int32_t value);
    virtual void barScrolled(AScrollLink* bar, int16_t code, int32_t value);
    virtual void barMoved(AScrollLink* bar, int32_t position, const AScrollRequest& request);
    virtual void shiftView(int16_t dx, int16_t dy);
    // Answers the new (x, y).
    virtual APoint scroll(AScrollRequest h, AScrollRequest v, bool updateBars);
    virtual void scrollTo(int32_t x, int32_t y);
    virtual void centerOn(const APoint& point);
    virtual void forgetBar(AScrollLink* bar);

    void scrollBy(int32_t dx, int32_t dy) { scrollTo(x_ - dx, y_ - dy); }
    // 1 left, 2 right, 4 up, 8 down, and the four diagonals; other values do nothing.
    void autoScroll(uint16_t directions);
    // The wheel scrolls the vertical axis: delta in lines, positive upwards, a page 65536.
    ACommand* mouseWheel(AMouseEvent& event, long delta) override;
    // The scroll message of a window: code, position, orientation (1 vertical).
    long scrollEvent(int16_t code, int32_t position, uint16_t vertical) override;
    // Binds a bar to an axis as setUpItems does for the bars it finds.
    void attachBar(AScrollLink* bar, bool vertical);

    AView* view() const { return view_; }
    AScrollLink* horizontalBar() const { return hBar_; }
    AScrollLink* verticalBar() const { return vBar_; }
    APoint position() const { return APoint(x_, y_); }
    APoint maximum() const { return APoint(maxX_, maxY_); }

private:
    void setPosition(bool vertical, int32_t p, bool redraw);
    void setMaximum(bool vertical, int32_t m, bool redraw);

    uint16_t hBarId_ = 0;
    uint16_t vBarId_ = 0;
    AScrollLink* hBar_ = nullptr;  // not owned
    AScrollLink* vBar_ = nullptr;  // not owned
    AView* view_ = nullptr;        // not owned
    int32_t x_ = 0;
    int32_t maxX_ = 0;
    int32_t y_ = 0;
    int32_t maxY_ = 0;
};
