// The highlighter's lazy walk over a model's hits.
#include "docengine/hilite/AHighlighter.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "base/procedural/AError.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/ASegment.h"

AHighlighter::AHighlighter(AHiliteSet* set, const ARangeArray* ranges) : set_(set) {
    if (set_) {
        set_->addRef();
        dependOn(set_);
    }
    for (long i = 0; ranges && i < ranges->count(); ++i)
        ranges_.addRange(ranges->at(i));
}

AHighlighter::~AHighlighter() {
    if (set_) {
        stopDependingOn(set_);
        set_->release();
    }
}

AHighlighterHook* AHighlighter::clone() {
    return CheckAlloc(new AHighlighter(set_, &ranges_), "ghilite", 1420);
}

void AHighlighter::changed(ADependable*, long code, long) {
    hits_.clear();
    scanned_.removeRange(ARange{INT32_MIN, INT32_MAX});
    notify(code, 0);
}

long AHighlighter::topShift(ASegment* segment) {
    long shift = 0;
    for (ADocModel* m = segment->owner(); m && m->GetParentModel(); m = m->GetParentModel())
        shift += m->getParentOffset();
    return shift;
}

void AHighlighter::addHit(ASegment* segment, long local) {
    if (!segment)
        ThrowAssert("ghilite", 1494);
    if (!set_)
        return;
    long p = segment->sourceOf(local) + topShift(segment);
    auto at = std::lower_bound(hits_.begin(), hits_.end(), p);
    if (at == hits_.end() || *at != p)
        hits_.insert(at, p);
}

void AHighlighter::addScannedSegment(ASegment* segment) {
    if (!set_ || !segment)
        return;
    long shift = topShift(segment);
    scanned_.addRange(
        ARange{static_cast<int32_t>(segment->getStart() + shift), static_cast<int32_t>(segment->getEnd() + shift)});
}

void AHighlighter::removeRange(long start, long end) {
    if (!set_ || end <= start)
        return;
    hits_.erase(std::lower_bound(hits_.begin(), hits_.end(), start), std::lower_bound(hits_.begin(), hits_.end(), end));
    scanned_.removeRange(ARange{static_cast<int32_t>(start), static_cast<int32_t>(end)});
}

long AHighlighter::firstUnscanned(long from, long to) const {
    for (long i = 0; i < scanned_.count() && from < to; ++i) {
        const ARange& r = scanned_.at(i);
        if (r.start > from)
            break;
        if (r.end > from)
            from = r.end;
    }
    return from < to ? from : -1;
}

long AHighlighter::lastUnscanned(long from, long to) const {
    for (long i = scanned_.count() - 1; i >= 0 && from < to; --i) {
        const ARange& r = scanned_.at(i);
        if (r.end < to)
            break;
        if (r.start < to)
            to = r.start;
    }
    return from < to ? to - 1 : -1;
}

void AHighlighter::scan(ADocModel* model, long position) {
    ASegment* segment = model->getSegmentAt(position, true);
    if (!segment) {
        scanned_.addRange(ARange{static_cast<int32_t>(position), static_cast<int32_t>(position + 1)});
        return;
    }
    segment->lock();
    try {
        segment->load();
    } catch (...) {
        segment->unlock();
        throw;
    }
    // A segment parsed before this highlighter was installed reports nothing: cover it
    // so that the walk moves on.
    long shift = topShift(segment);
    scanned_.addRange(ARange{static_cast<int32_t>(segment->getStart() + shift),
                             static_cast<int32_t>(std::max(segment->getEnd(), position + 1) + shift)});
    segment->unlock();
}

long AHighlighter::nextHit(ADocModel* model, long position) {
    if (!set_) {
        for (long i = 0; i < ranges_.count(); ++i)
            if (ranges_.at(i).start > position)
                return ranges_.at(i).start;
        return -1;
    }
    if (!model)
        return -1;
    long from = std::max(position, 0L);
    for (;;) {
        auto after = std::upper_bound(hits_.begin(), hits_.end(), position);
        long h = after == hits_.end() ? -1 : *after;
        long gap = firstUnscanned(from, h >= 0 ? h : model->getLength());
        if (gap < 0)
            return h;
        scan(model, gap);
    }
}

long AHighlighter::previousHit(ADocModel* model, long position) {
    if (!set_) {
        for (long i = ranges_.count() - 1; i >= 0; --i)
            if (position < 0 || ranges_.at(i).end <= position)
                return ranges_.at(i).start;
        return -1;
    }
    if (!model)
        return -1;
    long to = position < 0 ? model->getLength() : position;
    for (;;) {
        auto before = std::lower_bound(hits_.begin(), hits_.end(), to);
        long h = before == hits_.begin() ? -1 : *(before - 1);
        long gap = lastUnscanned(h >= 0 ? h + 1 : 0, to);
        if (gap < 0)
            return h;
        scan(model, gap);
    }
}

void AHighlighter::scanAll(ADocModel* model) {
    if (!set_)
        return;
    for (long p = firstHit(model); p >= 0;)
        p = nextHit(model, p);
}

long AHighlighter::hitCount() const {
    return set_ ? static_cast<long>(hits_.size()) : ranges_.count();
}
