// Native scroll bars: AScrollBar keeps a native scroll-bar control in step
// with its range (shifting ranges wider than 15 bits), and AScrollerScrollBar
// passes the user's scrolls to the scrollers attached to it, so that several
// views may share one bar.
//
// The bar owns its native control from attachItems (or, attached hidden,
// from when it is first shown) to detachItems. Missing
// end marks and a control missing when its range is pushed are assertions ("fscroll").
#pragma once

#include "framework/controls/AControl.h"
#include "framework/views/AScroller.h"

class AScrollBar : public AControl, public virtual AScrollRange {
    SV_DECLARE_CLASS(AScrollBar)
public:
    AScrollBar() = default;
    AScrollBar(AComponent* parent, int16_t id, const ASizeSpec& rule, int32_t minimum, int32_t maximum, int32_t value);

    // Record: AControl's, minimum i32, maximum i32, value i32, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    bool setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw) override;
    bool setValue(int32_t value, bool redraw) override;
    // A scroll message of the native control; only the low 16 bits of position count.
    long scrollEvent(int16_t code, int32_t position, uint16_t vertical) override;
    // Code 4 sets the range's value (not the control's); the owner hears the code.
    virtual void barEvent(int16_t code, int32_t value);

    unsigned shift() const { return shift_; }

protected:
    void makeNativeControl(bool shown) override;

private:
    void pushRange();
    void pushPosition();
    void enableForRange();

    unsigned shift_ = 0;
};

class AScrollerScrollBar : public AScrollBar, public AScrollLink {
    SV_DECLARE_CLASS(AScrollerScrollBar)
public:
    AScrollerScrollBar() = default;
    AScrollerScrollBar(AComponent* parent, int16_t id, const ASizeSpec& rule)
        : AScrollRange(0, 0, 0), AScrollBar(parent, id, rule, 0, 0, 0) {}

    // Record: AScrollBar's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    ACommand* mouseDown(AMouseEvent& event) override;
    // The scrollers set the bar's value from their views' real positions.
    void barEvent(int16_t code, int32_t value) override { broadcast(code, value); }
};
