// The item-drawn scroll bar and its thumb.
#include "framework/views/ACustomScrollBar.h"

#include <algorithm>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AImage.h"

SV_IMPLEMENT_CLASS(ASliderButton, 0, AIconButton)
SV_IMPLEMENT_CLASS(ACustomScrollBar, 0, ALocalCluster)

static int32_t& Axis(APoint& p, int axis) {
    return axis ? p.y : p.x;
}

static int32_t Scaled(int64_t a, int64_t b, int64_t c) {
    return int32_t(a * b / c);
}

// ASliderButton.

void ASliderButton::readFrom(AMemoryStream& stream) {
    AIconButton::readFrom(stream);
    (void)stream.readShort();
    ALayoutLoader::readEndMark(stream, "fscroll", 1017);
}

void ASliderButton::attachItems() {
    AIconButton::attachItems();
    natural_ = getSize();
}

ARect ASliderButton::track() {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->getLocalBounds() : ARect();
}

void ASliderButton::moveFrame(const ARect& frame) {
    // The rule follows, so that a layout of the bar keeps the thumb where it is.
    setSizeSpec(ASizeSpec(frame), false);
    setPlaced(true);
    placeFrame(frame);
}

ATrackRecord ASliderButton::record(const APoint& where) {
    return {this, where, getLocalBounds(), press_};
}

ACommand* ASliderButton::mouseDown(AMouseEvent& event) {
    press_ = event.where;
    return AIconButton::mouseDown(event);
}

void ASliderButton::trackStart() {
    AIconButton::trackStart();
    if (handler_)
        handler_->start(record(press_));
}

void ASliderButton::trackMove(const APoint& where, bool moved) {
    if (!moved)
        return;
    ARect f = getFrame();
    APoint origin = f.first + (where - press_);
    moveFrame(ARect(origin, origin + getSize()));
    invalidate();
    if (handler_)
        handler_->step(record(where));
    else
        notifyOwner(3);
}

void ASliderButton::trackEnd(const APoint& where) {
    if (!handler_) {
        AIconButton::trackEnd(where);
        if (getLocalBounds().outcode(where))
            notifyOwner(1);
        return;
    }
    // A point outside: the button only loses its pressed look.
    AIconButton::trackEnd(APoint(INT32_MIN / 2, INT32_MIN / 2));
    handler_->end(record(where));
}

APoint ASliderButton::positionToValue(const APoint& range) {
    ARect t = track(), f = getFrame();
    APoint result;
    for (int axis = 0; axis < 2; ++axis) {
        APoint r = range;
        int32_t offset = axis ? f.top() - t.top() : f.left() - t.left();
        int32_t space = axis ? t.height() - f.height() : t.width() - f.width();
        int32_t span = Axis(r, axis);
        int32_t& out = Axis(result, axis);
        if (offset <= 0 || span <= 0 || space <= 0)
            out = 0;
        else if (offset >= space)
            out = span;
        else
            out = Scaled(offset, span, space);
    }
    return result;
}

void ASliderButton::setPosition(const APoint& value, const APoint& range) {
    ARect t = track(), f = getFrame();
    APoint shift;
    for (int axis = 1; axis >= 0; --axis) {
        APoint v = value, r = range;
        int32_t space = axis ? t.height() - f.height() : t.width() - f.width();
        int32_t val = Axis(v, axis), span = Axis(r, axis);
        int32_t offset = 0;
        if (val <= 0 || space <= 0 || span <= 0)
            offset = 0;
        else if (val >= span)
            offset = space;
        else
            offset = Scaled(val, space, span);
        Axis(shift, axis) = offset - (axis ? f.top() - t.top() : f.left() - t.left());
    }
    if (shift != APoint(0, 0))
        moveFrame(f + shift);
}

void ASliderButton::setProportion(const APoint& page, const APoint& range) {
    if (!isResizable())
        return;
    ARect t = track(), f = getFrame();
    APoint size;
    for (int axis = 0; axis < 2; ++axis) {
        APoint p = page, r = range, n = natural_;
        int64_t pg = Axis(p, axis), total = pg + Axis(r, axis);
        int32_t extent = axis ? t.height() : t.width();
        int32_t s = 0;
        if (pg <= 0 || extent <= 0 || total <= 0)
            s = 0;
        else if (pg >= total)
            s = extent;
        else
            s = Scaled(pg, extent, total);
        Axis(size, axis) = std::max(s, Axis(n, axis));
    }
    if (size != getSize())
        moveFrame(ARect(f.first, f.first + size));
}

int32_t ASliderButton::axisValue(int32_t range, int axis) {
    APoint r;
    Axis(r, axis) = range;
    APoint v = positionToValue(r);
    return Axis(v, axis);
}

void ASliderButton::setAxisPosition(int32_t value, int32_t range, int axis) {
    APoint v, r;
    Axis(v, axis) = value;
    Axis(r, axis) = range;
    setPosition(v, r);
}

void ASliderButton::setAxisProportion(int32_t page, int32_t range, int axis) {
    APoint p, r;
    Axis(p, axis) = page;
    Axis(r, axis) = range;
    setProportion(p, r);
}

// ACustomScrollBar.

namespace {

// Repeats the bar's step every repeat interval while the button is held.
class ARepeatTracker : public AScrollingTracker {
public:
    ARepeatTracker(ACustomScrollBar* bar, const AMouseEvent& event)
        : AScrollingTracker(bar, event, nullptr), bar_(bar) {}
    void trackBegin() override {
        bar_->start(record());
        startTimer(uint32_t(bar_->repeatInterval()));
        bar_->step(record());
    }
    void trackStep() override { bar_->step(record()); }
    ACommand* trackEnd() override {
        stopTimer();
        bar_->end(record());
        return AComponent::noChangeCommand();
    }

private:
    ATrackRecord record() { return {component(), anchor(), bounds(), startEvent().where}; }
    ACustomScrollBar* bar_;  // not owned
};

}  // namespace

ACustomScrollBar::ACustomScrollBar(AComponent* parent, int16_t id, const ASizeSpec& rule, int32_t minimum,
                                   int32_t maximum, int32_t value, uint16_t repeatInterval, bool liveTracking)
    : AScrollRange(minimum, maximum, value),
      ALocalCluster(parent, id, rule, 0, 1, nullptr),
      repeatInterval_(int16_t(repeatInterval)),
      liveTracking_(liveTracking ? 1 : 0) {}

void ACustomScrollBar::readFrom(AMemoryStream& stream) {
    ALocalCluster::readFrom(stream);
    minimum_ = stream.readLong();
    maximum_ = stream.readLong();
    value_ = stream.readLong();
    normalise();
    repeatInterval_ = stream.readShort();
    liveTracking_ = stream.readShort() ? 1 : 0;
    ALayoutLoader::readEndMark(stream, "fscroll", 1273);
}

void ACustomScrollBar::attachItems() {
    ALocalCluster::attachItems();
    setVertical(getFrame().width() <= getFrame().height());
}

void ACustomScrollBar::setUpItems() {
    ALocalCluster::setUpItems();
    auto* lineBack = CheckAlloc(dynamic_cast<AIconButton*>(findItem(kLineBack, false)), "fscroll", 1278);
    autoDisable_ = (lineBack->itemFlags() & 0x8) ? 1 : 0;
    pageBack_ = dynamic_cast<AIconButton*>(findItem(kPageBack, false));
    pageForward_ = dynamic_cast<AIconButton*>(findItem(kPageForward, false));
    setRepeatInterval(repeatInterval_);
    placeThumb();
}

void ACustomScrollBar::detachItems() {
    detachAll();
    ALocalCluster::detachItems();
}

void ACustomScrollBar::componentAdded(AComponent* component) {
    if (!thumb_ && component->getParent() == this)
        if (auto* t = dynamic_cast<ASliderButton*>(component)) {
            thumb_ = t;
            t->setHandler(this);
        }
    ALocalCluster::componentAdded(component);
}

void ACustomScrollBar::componentDeleted(AComponent* component) {
    if (component == thumb_)
        thumb_ = nullptr;
    ALocalCluster::componentDeleted(component);
}

void ACustomScrollBar::bindActions() {
    ALocalCluster::bindActions();
    for (int16_t id : {kLineBack, kLineForward, kPageBack, kPageForward, kThumb})
        addAction(id, this, id, ownActionTable());
}

ACommand* ACustomScrollBar::doCommand(int16_t id, long argument) {
    switch (id) {
        case kLineBack:
            broadcast(0, 0);
            return noChangeCommand();
        case kLineForward:
            broadcast(1, 0);
            return noChangeCommand();
        case kPageBack:
            broadcast(2, 0);
            return noChangeCommand();
        case kPageForward:
            broadcast(3, 0);
            return noChangeCommand();
        case kThumb:
            return noChangeCommand();
        default:
            return ALocalCluster::doCommand(id, argument);
    }
}

int16_t ACustomScrollBar::commandStatus(int16_t id, long argument) {
    if (id >= kLineBack && id <= kPageForward)
        return autoDisable_ && maximum_ == minimum_ ? 2 : 1;
    return ALocalCluster::commandStatus(id, argument);
}

AScrollingTracker* ACustomScrollBar::makeRepeatTracker(AMouseEvent& event) {
    return CheckAlloc(new (std::nothrow) ARepeatTracker(this, event), "fscroll", 1338);
}

ACommand* ACustomScrollBar::mouseDown(AMouseEvent& event) {
    takeFocus(this);
    if (AScrollingTracker* tracker = makeRepeatTracker(event))
        return tracker->mouseDown(event);
    return ALocalCluster::mouseDown(event);
}

long ACustomScrollBar::timerFired(uint16_t id, uint32_t now) {
    long answer = AScrollingTracker::timerOf(this, id);
    if (answer >= 0)
        return answer;
    return ALocalCluster::timerFired(id, now);
}

long ACustomScrollBar::frameChanged(const APoint& size) {
    placeThumb();
    return ALocalCluster::frameChanged(size);
}

long ACustomScrollBar::scrollEvent(int16_t code, int32_t position, uint16_t vertical) {
    (void)vertical;
    broadcast(code, position);
    return 1;
}

void ACustomScrollBar::placeThumb() {
    if (!thumb_)
        return;
    int32_t span = maximum_ - minimum_;
    thumb_->setAxisProportion(page_, span, axis());
    thumb_->setAxisPosition(value_ - minimum_, span, axis());
    relayPageButtons();
}

void ACustomScrollBar::step(const ATrackRecord& record) {
    if (record.component == this && thumb_ && !pageBack_ && !pageForward_) {
        if (record.bounds.outcode(record.anchor) != 0)
            return;
        int where = thumb_->getFrame().outcode(record.anchor);
        if (where & (1 | 4))
            broadcast(2, 0);
        else if (where & (2 | 8))
            broadcast(3, 0);
        return;
    }
    if (liveTracking_ && record.component == thumb_)
        sendThumbValue();
}

long ACustomScrollBar::end(const ATrackRecord& record) {
    if (record.component != thumb_)
        return 1;
    if (!liveTracking_)
        sendThumbValue();
    // A drag that left the value as it was sets no value: the thumb snaps back here.
    placeThumb();
    return 1;
}

void ACustomScrollBar::sendThumbValue() {
    relayPageButtons();
    broadcast(4, thumb_->axisValue(maximum_ - minimum_, axis()) + minimum_);
}

bool ACustomScrollBar::setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw) {
    if (!AScrollRange::setRange(minimum, maximum, page, redraw))
        return false;
    int32_t span = maximum_ - minimum_;
    if (thumb_) {
        if (span != 0) {
            thumb_->setAxisProportion(page_, span, axis());
            thumb_->setAxisPosition(value_ - minimum_, span, axis());
            thumb_->show(false);
        } else {
            thumb_->hide(false);
        }
        pageButtonsAttached_ = 0;
        relayPageButtons();
        if (redraw)
            this->redraw(false);
    }
    setEnabled(span > 0);
    queueUpdate(6);
    return true;
}

bool ACustomScrollBar::setValue(int32_t value, bool redraw) {
    if (!AScrollRange::setValue(value, redraw))
        return false;
    if (thumb_) {
        thumb_->setAxisPosition(value_ - minimum_, maximum_ - minimum_, axis());
        relayPageButtons();
        if (redraw)
            this->redraw(false);
    }
    queueUpdate(6);
    return true;
}

void ACustomScrollBar::relayPageButtons() {
    if (!thumb_ || !pageBack_ || !pageForward_)
        return;
    if (!pageButtonsAttached_) {
        uint16_t m = !(thumb_->displayFlags() & kShown) ? 0x20 : (thumb_->displayFlags() & kTransparent) ? 0x40 : 0x30;
        AEdge edge = {0, uint16_t(m | 0x4000), uint16_t(kThumb)};
        ASizeSpec back = pageBack_->getSizeSpec(), forward = pageForward_->getSizeSpec();
        // Vertical: the back button's bottom and the forward one's top; horizontal: right and left.
        back.edges[isVertical() ? 3 : 2] = edge;
        forward.edges[isVertical() ? 1 : 0] = edge;
        pageBack_->setSizeSpec(back, true);
        pageForward_->setSizeSpec(forward, true);
        pageButtonsAttached_ = 1;
    }
    if (ADisplayComponent* sizer = thumb_->getDisplayParent())
        if (!(sizer->displayFlags() & kChildrenPlaced))
            sizer->relayout();
}

void ACustomScrollBar::setRepeatInterval(int16_t ms) {
    auto* back = CheckAlloc(dynamic_cast<AIconButton*>(findItem(kLineBack, false)), "fscroll", 1487);
    auto* forward = CheckAlloc(dynamic_cast<AIconButton*>(findItem(kLineForward, false)), "fscroll", 1488);
    repeatInterval_ = ms ? ms : 100;
    for (AIconButton* b : {back, forward, pageBack_, pageForward_})
        if (b)
            b->setAutoRepeat(uint32_t(repeatInterval_), 1000);
}
