// Hit navigators over a renderer's highlighted search hits.
#include "docengine/render/AHitNavigator.h"

#include <new>

#include "base/object/AError.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/render/ARenderer.h"

AHitNavigator::AHitNavigator(ARenderer* renderer, uint16_t flags) : renderer_(renderer), flags_(flags) {
    if (!renderer_)
        ThrowAssert("gsearch", 44);
}

AHitNavigator::~AHitNavigator() {
    if (hitModel_)
        hitModel_->release();
}

void AHitNavigator::rebuild() {
    if (hitModel_) {
        hitModel_->release();
        hitModel_ = nullptr;
    }
    ADocModel* model = renderer_->model();
    AHighlighter* h = getHighlighter();
    if (!model || !h)
        return;
    // Hits are counted in the renderer's model itself; a derived model is not built here.
    hitModel_ = model;
    hitModel_->addRef();
    if (static_cast<AHighlighterHook*>(h) != model->getHighlighter())
        applyHighlighter(h);
}

void AHitNavigator::applyHighlighter(AHighlighter* highlighter) {
    if (!hitModel_ || !highlighter) {
        if (hitModel_) {
            hitModel_->release();
            hitModel_ = nullptr;
        }
        return;
    }
    hitModel_->setHighlighter(highlighter);
}

void AHitNavigator::reset() {
    rebuild();
    current_ = ADocRange{0, 0};
}

void AHitNavigator::changed(long code) {
    ADocModel* model = renderer_->model();
    if (!model || model == hitModel_)
        return;
    if (code == 6 && hitModel_ && !(flags_ & NavigatorFlags::kDerived))
        rebuild();
    else if (code == 201 && static_cast<AHighlighterHook*>(getHighlighter()) == model->getHighlighter())
        rebuild();
}

long AHitNavigator::hitAfter(long p) {
    AHighlighter* h = hitModel_ ? getHighlighter() : nullptr;
    if (!h)
        return -1;
    long q = h->nextHit(hitModel_, p);
    return q < 0 ? -1 : hitModel_->sourceToPosition(q);
}

long AHitNavigator::hitBefore(long p) {
    AHighlighter* h = hitModel_ ? getHighlighter() : nullptr;
    if (!h)
        return -1;
    // A hit counts as before p only when it ends at or before p.
    long q = h->previousHit(hitModel_, p < 0 ? -1 : hitModel_->positionToSource(p));
    while (q >= 0 && p >= 0) {
        ADocRange r = hitModel_->hitRangeAt(q);
        if (r.end <= p)
            break;
        q = h->previousHit(hitModel_, q);
    }
    return q < 0 ? -1 : hitModel_->sourceToPosition(q);
}

long AHitNavigator::firstHitIndex() {
    return hitAfter(-1);
}

long AHitNavigator::lastHitIndex() {
    return hitBefore(-1);
}

long AHitNavigator::findNextHit() {
    if (!hitModel_ || !getHighlighter())
        return -1;
    if (flags_ & NavigatorFlags::kFromCurrent)
        return hitAfter(current_.end - 1);
    if (flags_ & NavigatorFlags::kFromSelection) {
        ADocModel* m = renderer_->model();
        return m ? hitAfter(m->GetSelection().end - 1) : -1;
    }
    ADocRange line{0, 0};
    if (!renderer_->visibleLineRange(false, line))
        return hitAfter(-1);
    long p = line.start > 0 ? line.start - 1 : line.start;
    while ((p = hitAfter(p)) >= 0)
        if (hitBeyond(p, nullptr, &line))
            return p;
    return -1;
}

long AHitNavigator::findPreviousHit() {
    if (!hitModel_ || !getHighlighter())
        return -1;
    if (flags_ & NavigatorFlags::kFromCurrent)
        return current_.end > current_.start ? hitBefore(current_.start) : -1;
    if (flags_ & NavigatorFlags::kFromSelection) {
        ADocModel* m = renderer_->model();
        return m ? hitBefore(m->GetSelection().start) : -1;
    }
    ADocRange line{0, 0};
    if (!renderer_->visibleLineRange(true, line))
        return -1;
    long p = line.end > 0 ? line.end - 1 : line.end;
    while ((p = hitBefore(p)) >= 0)
        if (hitBeyond(p, &line, nullptr))
            return p;
    return -1;
}

long AHitNavigator::currentHitEnd() {
    if (!getHighlighter())
        return -1;
    if (flags_ & NavigatorFlags::kFromCurrent)
        return current_.end - 1;
    if ((flags_ & NavigatorFlags::kFromSelection) && renderer_->model())
        return renderer_->model()->GetSelection().end;
    return -1;
}

bool AHitNavigator::hitBeyond(long index, const ADocRange* upper, const ADocRange* lower) {
    if (index < 0)
        return false;
    bool inUpper = upper && upper->start <= index && index <= upper->end - 1;
    bool inLower = lower && lower->start <= index && index <= lower->end - 1;
    if (inUpper || inLower) {
        ARect r = renderer_->rangeBounds(index, index + 1);
        ARect view = renderer_->frame();
        return (upper && r.first.y < view.first.y) || (lower && r.second.y > view.second.y);
    }
    return (upper && index < upper->start) || (lower && index >= lower->end);
}

bool AHitNavigator::isHitHidden(long index) {
    if (index < 0)
        return false;
    if (flags_ & (NavigatorFlags::kFromCurrent | NavigatorFlags::kFromSelection))
        return true;
    ADocRange top{0, 0}, bottom{0, 0};
    bool t = renderer_->visibleLineRange(true, top);
    bool b = renderer_->visibleLineRange(false, bottom);
    return hitBeyond(index, t ? &top : nullptr, b ? &bottom : nullptr);
}

long AHitNavigator::showHit(long index, uint16_t scrollFlags) {
    if (index == -1 || !hitModel_)
        return 0;
    busy_ = 1;
    if (flags_ & (NavigatorFlags::kFromCurrent | NavigatorFlags::kFromSelection))
        scrollFlags = 0x98;
    ADocRange range = hitModel_->hitRangeAt(hitModel_->positionToSource(index));
    if (range.end <= range.start)
        range = ADocRange{index, index + 1};
    renderer_->scrollToRange(range.start, range.end, scrollFlags);
    current_ = range;
    if ((flags_ & NavigatorFlags::kSelect) && renderer_->model())
        renderer_->model()->setSelection(range, 0);
    busy_ = 0;
    return 1;
}

AModelHitNavigator::AModelHitNavigator(ARenderer* renderer, uint16_t flags) : AHitNavigator(renderer, flags) {
    reset();
}

AHighlighter* AModelHitNavigator::getHighlighter() {
    ADocModel* m = renderer_->model();
    return m ? dynamic_cast<AHighlighter*>(m->getHighlighter()) : nullptr;
}

ASearchHitNavigator::ASearchHitNavigator(ARenderer* renderer, uint16_t flags) : AHitNavigator(renderer, flags) {}

ASearchHitNavigator::~ASearchHitNavigator() {
    if (highlighter_)
        highlighter_->release();
}

void ASearchHitNavigator::attachModel(ADocModel* model, const ARangeArray* ranges) {
    AHighlighter* h = model ? CheckAlloc(new (std::nothrow) AHighlighter(nullptr, ranges), "gsearch", 391) : nullptr;
    if (h == highlighter_)
        return;
    if (h)
        h->addRef();
    if (highlighter_)
        highlighter_->release();
    highlighter_ = h;
    rebuild();
}
