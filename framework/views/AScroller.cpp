// Scroll ranges, bar links and scrollers.
#include "framework/views/AScroller.h"

#include <algorithm>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/views/AView.h"

SV_IMPLEMENT_CLASS(AScroller, 117, ASizerGroup)

AScrollRange::AScrollRange(int32_t minimum, int32_t maximum, int32_t value)
    : minimum_(minimum), maximum_(maximum), value_(value) {
    normalise();
}

bool AScrollRange::normalise() {
    if (maximum_ < minimum_)
        maximum_ = minimum_;
    int32_t v = std::clamp(value_, minimum_, maximum_);
    bool inside = v == value_;
    value_ = v;
    return inside;
}

bool AScrollRange::setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw) {
    (void)redraw;
    if (minimum == minimum_ && maximum == maximum_ && page == page_)
        return false;
    minimum_ = minimum;
    maximum_ = maximum;
    page_ = page;
    normalise();
    return true;
}

bool AScrollRange::setValue(int32_t value, bool redraw) {
    (void)redraw;
    if (value == value_)
        return false;
    value_ = value;
    normalise();
    return true;
}

ANativeScale::ANativeScale(const AScrollRange& range) : minimum(range.minimum()), maximum(range.maximum()), shift(0) {
    int32_t span = maximum - minimum;
    while (span > 0x7FFF) {
        span >>= 1;
        ++shift;
    }
}

int32_t ANativeScale::fromNative(int32_t native) const {
    if (native == nativeMaximum())
        return maximum;
    int64_t v = (int64_t(native) << shift) + minimum;
    if (v < minimum || v > maximum)
        ThrowAssert("fscroll", 727);
    return int32_t(v);
}

AScrollLink::~AScrollLink() {
    if (!scrollers_.empty())
        ThrowAssert("fscroll", 842);
}

void AScrollLink::detachAll() {
    std::vector<AScroller*> all;
    all.swap(scrollers_);
    for (AScroller* s : all)
        s->forgetBar(this);
}

void AScrollLink::attach(AScroller* scroller) {
    if (std::find(scrollers_.begin(), scrollers_.end(), scroller) == scrollers_.end())
        scrollers_.push_back(scroller);
}

void AScrollLink::detach(AScroller* scroller) {
    scrollers_.erase(std::remove(scrollers_.begin(), scrollers_.end(), scroller), scrollers_.end());
}

void AScrollLink::notifyMoved(AScroller* source, int32_t position, const AScrollRequest& request) {
    std::vector<AScroller*> all(scrollers_);
    for (AScroller* s : all)
        if (s != source)
            s->barMoved(this, position, request);
}

void AScrollLink::takeFocus(AComponent* bar) {
    if (bar && !bar->acceptsTarget())
        bar->becomeTarget();
}

void AScrollLink::broadcast(int16_t code, int32_t value) {
    std::vector<AScroller*> all(scrollers_);
    for (AScroller* s : all)
        s->barScrolled(this, code, value);
}

AScroller::AScroller(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t horizontalBarId,
                     uint16_t verticalBarId)
    : ASizerGroup(parent, id, rule), hBarId_(horizontalBarId), vBarId_(verticalBarId) {}

AScroller::~AScroller() {
    if (hBar_)
        hBar_->detach(this);
    if (vBar_)
        vBar_->detach(this);
}

void AScroller::readFrom(AMemoryStream& stream) {
    ASizerGroup::readFrom(stream);
    hBarId_ = uint16_t(stream.readShort());
    vBarId_ = uint16_t(stream.readShort());
    ALayoutLoader::readEndMark(stream, "fscroll", 172);
}

void AScroller::setUpItems() {
    ASizerGroup::setUpItems();
    const struct {
        uint16_t id;
        bool vertical;
        long missing;
        long wrongKind;
    } bars[] = {{vBarId_, true, 130, 133}, {hBarId_, false, 141, 144}};
    for (const auto& b : bars) {
        if (!b.id)
            continue;
        AComponent* c = sendToId(int16_t(b.id), 1);
        if (!c)
            ThrowAssert("fscroll", b.missing);
        attachBar(CheckAlloc(dynamic_cast<AScrollLink*>(c), "fscroll", b.wrongKind), b.vertical);
    }
    setMaximum(true, 0, false);
    setPosition(true, 0, false);
    setMaximum(false, 0, false);
    setPosition(false, 0, false);
}

void AScroller::attachBar(AScrollLink* bar, bool vertical) {
    (vertical ? vBar_ : hBar_) = bar;
    bar->attach(this);
    bar->setMinimum(0, false);
    bar->setVertical(vertical);
}

void AScroller::detachItems() {
    if (hBar_)
        hBar_->detach(this);
    if (vBar_)
        vBar_->detach(this);
    hBar_ = vBar_ = nullptr;
    ASizerGroup::detachItems();
}

void AScroller::componentAdded(AComponent* component) {
    if (!view_ && component->getParent() == this) {
        if (auto* v = dynamic_cast<AView*>(component)) {
            view_ = v;
            v->setScroller(this);
        }
    }
    ASizerGroup::componentAdded(component);
}

void AScroller::componentDeleted(AComponent* component) {
    if (component == view_) {
        // A view moved elsewhere must not keep scrolling through this one.
        view_->setScroller(nullptr);
        view_ = nullptr;
    }
    ASizerGroup::componentDeleted(component);
}

void AScroller::setPosition(bool vertical, int32_t p, bool redraw) {
    AScrollLink* bar = vertical ? vBar_ : hBar_;
    int32_t& pos = vertical ? y_ : x_;
    if (bar) {
        bar->setValue(p, redraw);
        pos = bar->value();
    } else {
        pos = p;
    }
}

void AScroller::setMaximum(bool vertical, int32_t m, bool redraw) {
    AScrollLink* bar = vertical ? vBar_ : hBar_;
    int32_t& max = vertical ? maxY_ : maxX_;
    if (bar) {
        int32_t page = view_ ? (vertical ? view_->visibleHeight() : view_->visibleWidth()) : 0;
        bar->setRange(0, m, page, redraw);
        max = bar->maximum();
    } else {
        max = m;
    }
}

void AScroller::update() {
    if (!view_)
        ThrowAssert("fscroll", 202);
    int32_t maxX = view_->maxScrollX(), x = view_->scrollX();
    int32_t maxY = view_->maxScrollY(), y = view_->scrollY();
    // A view whose content shrank is pulled back inside it.
    if (x > maxX || y > maxY) {
        AScrollRequest h = {x > maxX ? int16_t(4) : int16_t(kScrollNoChange), maxX};
        AScrollRequest v = {y > maxY ? int16_t(4) : int16_t(kScrollNoChange), maxY};
        maxX_ = std::max(maxX_, maxX);
        maxY_ = std::max(maxY_, maxY);
        scroll(h, v, true);
        x = view_->scrollX();
        y = view_->scrollY();
    }
    setMaximum(false, maxX, false);
    setPosition(false, x, false);
    setMaximum(true, maxY, false);
    setPosition(true, y, false);
    view_->refreshAutoScroller();
}

void AScroller::scrollAxis(bool vertical, int16_t code, int32_t value) {
    AScrollRequest r = {code, value}, none = {kScrollNoChange, 0};
    vertical ? scroll(none, r, true) : scroll(r, none, true);
}

void AScroller::barScrolled(AScrollLink* bar, int16_t code, int32_t value) {
    if (bar != hBar_ && bar != vBar_)
        ThrowAssert("fscroll", 401);
    if (code == 8)
        return;
    if (code == 5)
        code = 4;
    AScrollRequest r = {code, value}, none = {kScrollNoChange, 0};
    bar == vBar_ ? scroll(none, r, false) : scroll(r, none, false);
}

void AScroller::barMoved(AScrollLink* bar, int32_t position, const AScrollRequest& request) {
    if (bar != hBar_ && bar != vBar_)
        ThrowAssert("fscroll", 390);
    AScrollRequest none = {kScrollNoChange, 0};
    bool vertical = bar == vBar_;
    APoint p = vertical ? scroll(none, request, false) : scroll(request, none, false);
    // Views that share a bar must have the same extent along it.
    if ((vertical ? p.y : p.x) != position)
        ThrowAssert("fscroll", vertical ? 396 : 393);
}

void AScroller::shiftView(int16_t dx, int16_t dy) {
    if (!view_)
        ThrowAssert("fscroll", 331);
    view_->doScroll(dx, dy);
    view_->refreshAutoScroller();
}

static AScrollRequest Normalised(AScrollRequest r, int32_t max) {
    switch (r.code) {
        case 4:
        case 5:
            return {4, std::clamp(r.value, 0, std::max(0, max))};
        case 6:
            return {4, 0};
        case 7:
            return {4, max};
        case 0:
        case 1:
        case 2:
        case 3:
        case kScrollNoChange:
            return r;
        default:
            return {kScrollNoChange, 0};
    }
}

APoint AScroller::scroll(AScrollRequest h, AScrollRequest v, bool updateBars) {
    if (!view_)
        return APoint(0, 0);
    h = Normalised(h, maxX_);
    v = Normalised(v, maxY_);
    view_->scrollBegin(APoint(0, 0));
    int16_t shiftX = 0, shiftY = 0;
    int32_t deltaX = 0, deltaY = 0;
    bool okX = h.code == kScrollNoChange || view_->scrollHorizontally(h.code, h.value, shiftX, deltaX);
    bool okY = v.code == kScrollNoChange || view_->scrollVertically(v.code, v.value, shiftY, deltaY);
    if (deltaX || deltaY || shiftX || shiftY) {
        if (okX && okY) {
            if (shiftX || shiftY)
                shiftView(shiftX, shiftY);
            else
                MessageBeep(0);
        } else {
            shiftView(0, 0);
        }
        const struct {
            bool vertical;
            int32_t delta;
            int32_t& pos;
            AScrollLink* bar;
            const AScrollRequest& request;
        } axes[] = {{false, deltaX, x_, hBar_, h}, {true, deltaY, y_, vBar_, v}};
        for (const auto& a : axes) {
            if (a.delta)
                setPosition(a.vertical, a.pos + a.delta, true);
            if (updateBars && a.bar)
                a.bar->notifyMoved(this, a.pos, a.request);
        }
    }
    view_->scrollEnd(APoint(0, 0));
    return APoint(x_, y_);
}

void AScroller::scrollTo(int32_t x, int32_t y) {
    scroll({4, x}, {4, y}, true);
}

void AScroller::centerOn(const APoint& point) {
    if (!view_)
        ThrowAssert("fscroll", 379);
    APoint half(view_->visibleWidth() / 2, view_->visibleHeight() / 2);
    APoint content = view_->getContentSize();
    APoint o = point - half;
    // Fitted inside the content rectangle, then clamped by scrollTo.
    o.x = std::max(0, std::min(o.x, content.x - view_->visibleWidth()));
    o.y = std::max(0, std::min(o.y, content.y - view_->visibleHeight()));
    scrollTo(o.x, o.y);
}

void AScroller::forgetBar(AScrollLink* bar) {
    if (bar == hBar_)
        hBar_ = nullptr;
    if (bar == vBar_)
        vBar_ = nullptr;
}

void AScroller::autoScroll(uint16_t directions) {
    int16_t h = kScrollNoChange, v = kScrollNoChange;
    switch (directions) {
        case 1:
            h = 0;
            break;
        case 2:
            h = 1;
            break;
        case 4:
            v = 0;
            break;
        case 8:
            v = 1;
            break;
        case 5:
            h = 0;
            v = 0;
            break;
        case 6:
            h = 1;
            v = 0;
            break;
        case 9:
            h = 0;
            v = 1;
            break;
        case 10:
            h = 1;
            v = 1;
            break;
        default:
            return;
    }
    scroll({h, 0}, {v, 0}, true);
}

ACommand* AScroller::mouseWheel(AMouseEvent& event, long delta) {
    (void)event;
    if (!view_ || !delta)
        return passThroughCommand();
    const long page = 65536;
    bool up = delta > 0;
    long lines = up ? delta : -delta;
    AScrollRequest v = lines >= page ? AScrollRequest{int16_t(up ? 2 : 3), 0}
                                     : AScrollRequest{int16_t(up ? 0 : 1), int32_t(lines)};
    scroll(AScrollRequest{kScrollNoChange, 0}, v, true);
    return noChangeCommand();
}

long AScroller::scrollEvent(int16_t code, int32_t position, uint16_t vertical) {
    if (hBar_ || vBar_)
        scrollAxis(vertical == 1, code, position);
    return 1;
}
