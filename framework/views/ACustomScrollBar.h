// A scroll bar made of items: two line buttons (890, 891), a thumb (the
// first ASliderButton child, command 892) and optional page buttons (893,
// 894) covering the track on either side of it. It carries the same range
// and scroller link as the native bar and broadcasts every user action as a
// scroll code to its scrollers.
//
// The bar's items are its children (owned by the tree); the thumb and page
// buttons are not owned here. A missing line button fails the allocation
// check ("fscroll" 1278, 1487, 1488); a missing end mark is an assertion.
#pragma once

#include "framework/clusters/ALocalCluster.h"
#include "framework/controls/AIconButton.h"
#include "framework/views/AScroller.h"
#include "framework/views/ATrackers.h"

// What a drag reports: the tracked component, the last raw pointer, the
// component's bounds and the press point.
struct ATrackRecord {
    ADisplayComponent* component;
    APoint anchor;
    ARect bounds;
    APoint start;
};

class ASliderHandler {
public:
    virtual ~ASliderHandler() = default;
    virtual void start(const ATrackRecord& record) = 0;
    virtual void step(const ATrackRecord& record) = 0;
    virtual long end(const ATrackRecord& record) = 0;
};

// The thumb: converts between its place on the track (its display parent's
// local bounds) and a value, and sizes itself in proportion to the page.
class ASliderButton : public AIconButton {
    SV_DECLARE_CLASS(ASliderButton)
public:
    ASliderButton() = default;
    ASliderButton(AComponent* parent, int16_t id, const ASizeSpec& rule) : AIconButton(parent, id, rule, 0, "") {}

    // Record: AIconButton's, one unused u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    ACommand* mouseDown(AMouseEvent& event) override;
    void trackStart() override;
    void trackMove(const APoint& where, bool moved) override;
    void trackEnd(const APoint& where) override;

    // Per axis (x horizontal, y vertical); 64-bit products, truncated.
    virtual APoint positionToValue(const APoint& range);
    virtual void setPosition(const APoint& value, const APoint& range);
    virtual void setProportion(const APoint& page, const APoint& range);
    int32_t axisValue(int32_t range, int axis);
    void setAxisPosition(int32_t value, int32_t range, int axis);
    void setAxisProportion(int32_t page, int32_t range, int axis);

    void setHandler(ASliderHandler* handler) { handler_ = handler; }
    APoint naturalSize() const { return natural_; }

private:
    ARect track();
    void moveFrame(const ARect& frame);
    ATrackRecord record(const APoint& where);

    ASliderHandler* handler_ = nullptr;  // not owned
    APoint natural_;
    APoint press_;  // the press point, local
};

class ACustomScrollBar : public ALocalCluster, public AScrollLink, public ASliderHandler {
    SV_DECLARE_CLASS(ACustomScrollBar)
public:
    enum : int16_t { kLineBack = 890, kLineForward = 891, kThumb = 892, kPageBack = 893, kPageForward = 894 };

    ACustomScrollBar() = default;
    ACustomScrollBar(AComponent* parent, int16_t id, const ASizeSpec& rule, int32_t minimum, int32_t maximum,
                     int32_t value, uint16_t repeatInterval, bool liveTracking);

    // Record: ALocalCluster's, minimum i32, maximum i32, value i32, repeat interval u16, live tracking u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* mouseDown(AMouseEvent& event) override;
    long frameChanged(const APoint& size) override;
    long scrollEvent(int16_t code, int32_t position, uint16_t vertical) override;
    long timerFired(uint16_t id, uint32_t now) override;

    // A tracker repeating trackStep every repeat interval (the caller owns it).
    virtual AScrollingTracker* makeRepeatTracker(AMouseEvent& event);
    void start(const ATrackRecord& record) override { (void)record; }
    void step(const ATrackRecord& record) override;
    long end(const ATrackRecord& record) override;
    bool setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw) override;
    bool setValue(int32_t value, bool redraw) override;

    // 0 means 100 ms; the line and page buttons repeat at it after 1 s.
    void setRepeatInterval(int16_t ms);
    int16_t repeatInterval() const { return repeatInterval_; }
    bool liveTracking() const { return liveTracking_ != 0; }
    void setLiveTracking(bool on) { liveTracking_ = on ? 1 : 0; }
    ASliderButton* thumb() const { return thumb_; }

private:
    int axis() const { return isVertical() ? 1 : 0; }
    void placeThumb();
    void relayPageButtons();
    void sendThumbValue();

    ASliderButton* thumb_ = nullptr;      // not owned
    AIconButton* pageBack_ = nullptr;     // not owned
    AIconButton* pageForward_ = nullptr;  // not owned
    int16_t repeatInterval_ = 100;
    uint16_t liveTracking_ = 0;
    uint16_t autoDisable_ = 0;
    uint16_t pageButtonsAttached_ = 0;
};
