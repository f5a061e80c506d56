// Hit navigators over a renderer's highlighted search hits.
#include "docengine/render/AHitNavigator.h"

#include <new>

#include "base/procedural/AError.h"
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
    // Hits of another highlighter are counted in a derived model, so the shown model keeps its own.
    bool own = static_cast<AHighlighterHook*>(h) == model->getHighlighter();
    hitModel_ = own && !(flags_ & NavigatorFlags::kDerived) ? model : model->clone();
    hitModel_->addRef();
    // Counted in a derived model, the hits inside closed sections count too.
    if (flags_ & NavigatorFlags::kDerived)
        hitModel_->expandAll(0);
    if (!own)
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

// A rebuild while a hit is shown would drop the model showHit works in: notices then wait.
void AHitNavigator::changed(long code) {
    ADocModel* model = renderer_->model();
    if (!model || model == hitModel_ || busy_)
        return;
    if (code == 6) {
        opened_.clear();
        if (hitModel_ && !(flags_ & NavigatorFlags::kDerived))
            rebuild();
    } else if (code == 201 && static_cast<AHighlighterHook*>(getHighlighter()) == model->getHighlighter()) {
        rebuild();
    }
}

AHighlighter* AHitNavigator::hitHighlighter() {
    return hitModel_ ? dynamic_cast<AHighlighter*>(hitModel_->getHighlighter()) : nullptr;
}

long AHitNavigator::fromRendererPosition(long position) {
    ADocModel* model = renderer_->model();
    if (!model || hitModel_ == model || !hitModel_)
        return position;
    return hitModel_->sourceToPosition(model->positionToSource(position));
}

long AHitNavigator::toRendererPosition(long index) {
    ADocModel* model = renderer_->model();
    if (!model || hitModel_ == model || !hitModel_)
        return index;
    return model->sourceToPosition(hitModel_->positionToSource(index));
}

// Hits inside closed sections of hitModel have no index of their own there
// (they would all fall on the section's end): they are passed over.
long AHitNavigator::hitAfter(long p) {
    AHighlighter* h = hitHighlighter();
    if (!h)
        return -1;
    long q = h->nextHit(hitModel_, p < 0 ? -1 : hitModel_->positionToSource(p));
    while (q >= 0 && !hitModel_->isVisible(q))
        q = h->nextHit(hitModel_, q);
    return q < 0 ? -1 : hitModel_->sourceToPosition(q);
}

long AHitNavigator::hitBefore(long p) {
    AHighlighter* h = hitHighlighter();
    if (!h)
        return -1;
    // A hit counts as before p only when it ends at or before p.
    long q = h->previousHit(hitModel_, p < 0 ? -1 : hitModel_->positionToSource(p));
    while (q >= 0 && (!hitModel_->isVisible(q) || (p >= 0 && hitModel_->hitRangeAt(q).end > p)))
        q = h->previousHit(hitModel_, q);
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
        return m ? hitAfter(fromRendererPosition(m->GetSelection().end) - 1) : -1;
    }
    ADocRange line{0, 0};
    if (!renderer_->visibleLineRange(false, line))
        return hitAfter(-1);
    long p = fromRendererPosition(line.start > 0 ? line.start - 1 : line.start);
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
        return m ? hitBefore(fromRendererPosition(m->GetSelection().start)) : -1;
    }
    ADocRange line{0, 0};
    if (!renderer_->visibleLineRange(true, line))
        return -1;
    long p = fromRendererPosition(line.end > 0 ? line.end - 1 : line.end);
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
        return fromRendererPosition(renderer_->model()->GetSelection().end);
    return -1;
}

bool AHitNavigator::hitBeyond(long index, const ADocRange* upper, const ADocRange* lower) {
    if (index < 0)
        return false;
    ADocModel* model = renderer_->model();
    if (model && hitModel_ && hitModel_ != model && !model->isVisible(hitModel_->positionToSource(index)))
        return true;
    long p = toRendererPosition(index);
    bool inUpper = upper && upper->start <= p && p <= upper->end - 1;
    bool inLower = lower && lower->start <= p && p <= lower->end - 1;
    if (inUpper || inLower) {
        ARect r = renderer_->rangeBounds(p, p + 1);
        ARect view = renderer_->frame();
        return (upper && r.first.y < view.first.y) || (lower && r.second.y > view.second.y);
    }
    return (upper && p < upper->start) || (lower && p >= lower->end);
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

void AHitNavigator::foldBack() {
    ADocModel* model = renderer_->model();
    if (model && !opened_.empty() && model->restore(&opened_, 0)) {
        renderer_->state &= static_cast<uint16_t>(~RendererBits::kLaidOut);
        renderer_->relayoutFrom(6, true);
    }
    opened_.clear();
}

long AHitNavigator::showHit(long index, uint16_t scrollFlags) {
    ADocModel* model = renderer_->model();
    if (index == -1 || !hitModel_ || !model)
        return 0;
    busy_ = 1;
    struct Busy {
        uint16_t& flag;
        ~Busy() { flag = 0; }
    } busy{busy_};
    if (flags_ & (NavigatorFlags::kFromCurrent | NavigatorFlags::kFromSelection))
        scrollFlags = 0x98;
    // Source positions survive folding and opening sections; document positions are taken after.
    ADocRange hit = hitModel_->hitRangeAt(hitModel_->positionToSource(index));
    if (hit.end <= index)
        hit = ADocRange{index, index + 1};  // stepping on from the hit must pass it
    long source = hitModel_->positionToSource(hit.start);
    long end = hitModel_->positionToSource(hit.end);
    if (flags_ & NavigatorFlags::kFoldBack)
        foldBack();
    AExpandRecord* record = (flags_ & NavigatorFlags::kFoldBack) ? &opened_ : nullptr;
    bool opened = model->openAt(source, record, 0);
    ADocRange range{model->sourceToPosition(source), model->sourceToPosition(end)};
    current_ = hitModel_ == model ? range : hit;
    if (opened)
        renderer_->relayoutFrom(6, true);
    renderer_->scrollToRange(range.start, range.end, scrollFlags);
    if (flags_ & NavigatorFlags::kSelect)
        model->setSelection(range, 0);
    return 1;
}

bool AHitNavigator::canShowCurrentHit() {
    return current_.end > current_.start && hitModel_ && renderer_->model();
}

long AHitNavigator::showCurrentHit() {
    return canShowCurrentHit() ? showHit(current_.start, 0x28) : 0;
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
