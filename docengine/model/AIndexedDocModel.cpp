// The indexed model: segment index, cache ring, marked ranges, highlighter
// and attachment.
#include "docengine/model/AIndexedDocModel.h"

#include <algorithm>
#include <vector>

#include "base/procedural/AError.h"
#include "docengine/model/AHighlighterHook.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/ASegment.h"

namespace {

// True when one range of the set holds [start, end).
bool RangesContain(const ARangeArray& set, long start, long end) {
    long low = 0, high = set.count();
    while (low < high) {
        long mid = (low + high) / 2;
        if (set.at(mid).end <= start)
            low = mid + 1;
        else
            high = mid;
    }
    return low < set.count() && set.at(low).start <= start && end <= set.at(low).end;
}

ARange Clamp(long start, long end) {
    return ARange{static_cast<int32_t>(start), static_cast<int32_t>(end)};
}

}  // namespace

AIndexedDocModel::AIndexedDocModel(ASegParser* segParser, AFragParser* fragParser, AHighlighterHook* highlighter)
    : ADocModel(segParser, fragParser),
      cacheLimit_(100),
      cacheCount_(0),
      cacheHead_(nullptr),
      highlighter_(nullptr),
      attachment_(nullptr) {
    AssignRef(highlighter_, highlighter);
    dependOn(highlighter_);
}

AIndexedDocModel::~AIndexedDocModel() {
    clearCache();
    while (Pix p = index_.first()) {
        ASegment* segment = static_cast<ASegment*>(index_.contentsOf(p));
        segment->dropOwner();
        segment->addRef();
        removeSegment(segment);
        segment->release();
    }
    stopDependingOn(highlighter_);
    ReleaseAndNull(highlighter_);
    stopDependingOn(attachment_);
    ReleaseAndNull(attachment_);
}

ADocModel* AIndexedDocModel::clone() {
    AHighlighterHook* highlighter = highlighter_ ? highlighter_->clone() : nullptr;
    if (highlighter)
        highlighter->addRef();  // the clone comes without a reference
    AIndexedDocModel* copy;
    try {
        copy = CheckAlloc(new AIndexedDocModel(getSegParser(), getFragParser(), highlighter), "gmodel", 1020);
    } catch (...) {
        if (highlighter)
            highlighter->release();
        throw;
    }
    if (highlighter)
        highlighter->release();  // the copy holds its own
    copy->cacheLimit_ = cacheLimit_;
    copy->copySettingsFrom(*this);
    copy->setAttachmentQuietly(attachment_);
    return copy;
}

void AIndexedDocModel::setAttachmentQuietly(AHiliteRangeMap* attachment) {
    stopDependingOn(attachment_);
    AssignRef(attachment_, attachment);
    dependOn(attachment_);
}

ASegment* AIndexedDocModel::indexed(long start) const {
    Pix p = index_.seek(start);
    return p ? static_cast<ASegment*>(index_.contentsOf(p)) : nullptr;
}

ASegment* AIndexedDocModel::startingAtOrBefore(long source) const {
    const longa_pvoidAVLNode* best = nullptr;
    for (const AVLNode* n = index_.root(); n;) {
        const auto* node = static_cast<const longa_pvoidAVLNode*>(n);
        if (node->key <= source) {
            best = node;
            n = (n->status & avl::kRightThread) ? nullptr : n->right;
        } else {
            n = (n->status & avl::kLeftThread) ? nullptr : n->left;
        }
    }
    return best ? static_cast<ASegment*>(best->value) : nullptr;
}

ASegment* AIndexedDocModel::getSegmentAt(long source, bool findStart) {
    if (source < 0 || source >= getLength())
        return nullptr;
    if (ASegment* segment = indexed(source))
        return segment;
    if (findStart && RangesContain(covered_, source, source + 1)) {
        ASegment* segment = startingAtOrBefore(source);
        if (segment && segment->getStart() <= source && source < segment->getEnd())
            return segment;
        for (Pix p = index_.first(); p; index_.next(p)) {
            segment = static_cast<ASegment*>(index_.contentsOf(p));
            if (!segment)
                ThrowAssert("gmodel", 1092);
            if (segment->getStart() <= source && source < segment->getEnd())
                return segment;
        }
    }
    ASegment* segment = ADocModel::getSegmentAt(source, findStart);
    if (!segment)
        return nullptr;
    if (indexed(segment->getStart())) {
        delete segment;
        ThrowAssert("gmodel", 1106);
    }
    index_.slot(segment->getStart()) = segment;
    covered_.addRange(Clamp(segment->getStart(), segment->getEnd()));
    return segment;
}

void AIndexedDocModel::removeSegment(ASegment* segment) {
    if (!segment || indexed(segment->getStart()) != segment)
        ThrowAssert("gmodel", 1113);
    index_.removeKey(segment->getStart());
    covered_.removeRange(Clamp(segment->getStart(), segment->getEnd()));
}

void AIndexedDocModel::segmentLocked(ASegment* segment) {
    if (!segment->ringNext())
        return;
    if (cacheHead_ == segment)
        cacheHead_ = segment->ringNext() == segment ? nullptr : segment->ringNext();
    segment->unlink();
    --cacheCount_;
    segment->release();
}

void AIndexedDocModel::segmentUnlocked(ASegment* segment) {
    if (segment != cacheHead_) {
        if (!segment->ringNext()) {
            segment->addRef();  // the ring's reference
            ++cacheCount_;
        } else {
            segment->unlink();
        }
        segment->linkInto(cacheHead_);
        cacheHead_ = segment;
    }
    if (cacheLimit_ > 0 && cacheCount_ > cacheLimit_) {
        ASegment* oldest = cacheHead_->ringPrev();
        if (oldest != segment)
            evict(oldest);
    }
}

void AIndexedDocModel::evict(ASegment* segment) {
    if (cacheHead_ == segment)
        cacheHead_ = segment->ringNext() == segment ? nullptr : segment->ringNext();
    segment->dropOwner();
    removeSegment(segment);
    segment->unlink();
    --cacheCount_;
    segment->release();
}

void AIndexedDocModel::clearCache() {
    while (cacheHead_)
        evict(cacheHead_->ringPrev());
}

void AIndexedDocModel::releaseSegments() {
    invalidate(0, getLength(), false);
    clearCache();
    notify(6, 0);
}

void AIndexedDocModel::keepAllLoaded() {
    if (cacheLimit_ < 0)
        cacheLimit_ = -2;
    clearCache();
}

void AIndexedDocModel::invalidate(long start, long end, bool recompute) {
    if (start >= end)
        return;
    if (AHighlighterHook* highlighter = getHighlighter()) {
        long shift = 0;
        for (ADocModel* m = this; m->GetParentModel(); m = m->GetParentModel())
            shift += m->getParentOffset();
        highlighter->removeRange(start + shift, end + shift);
    }
    std::vector<ASegment*> held, temporary;
    for (Pix p = index_.first(); p; index_.next(p)) {
        ASegment* segment = static_cast<ASegment*>(index_.contentsOf(p));
        if (!segment)
            ThrowAssert("gmodel", 1234);
        if (segment->getStart() < end && start < segment->getEnd()) {
            if (!segment->ringNext() && segment->refCount() > 0)
                held.push_back(segment);
            else
                temporary.push_back(segment);
        } else if (recompute) {
            segment->recomputeDocRange();
        }
    }
    for (ASegment* segment : temporary) {
        segment->lock();
        if (segment->ringNext())
            ThrowAssert("gmodel", 1240);
    }
    for (std::vector<ASegment*>* list : {&held, &temporary}) {
        for (ASegment* segment : *list) {
            removeSegment(segment);
            segment->unlink();
            segment->dropOwner();
        }
    }
    for (ASegment* segment : temporary)
        segment->unlock();
    if (cacheLimit_ == -2) {
        for (ASegment* s = getSegmentAt(0, true); s;) {
            s->lock();
            s->load();
            ASegment* next = nextSegment(s);
            s->unlock();
            s = next;
        }
        cacheLimit_ = -1;
    }
}

bool AIndexedDocModel::isMarkedStart(long position) {
    return RangesContain(marked_, position, position + 1);
}

void AIndexedDocModel::markRange(long start, long end, bool on, long argument) {
    if (start < 0)
        return;
    long length = getLength();
    if (end > length)
        end = length;
    if (start > end)
        start = end;
    if (covered_.count() > 0) {
        long from = std::max<long>(start, covered_.at(0).start);
        long to = std::min<long>(end, covered_.at(covered_.count() - 1).end);
        for (Pix p = index_.first(); p; index_.next(p)) {
            long key = index_.keyOf(p);
            if (key >= from && key < to)
                static_cast<ASegment*>(index_.contentsOf(p))->setMarked(on);
        }
    }
    if (on)
        marked_.addRange(Clamp(start, end));
    else
        marked_.removeRange(Clamp(start, end));
    notify(2, argument);
}

ADocRange AIndexedDocModel::getMarkRange(long index) {
    const ARange& r = marked_.at(index);
    return ADocRange{r.start, r.end};
}

AFragment* AIndexedDocModel::findFragment(AFindFragmentFun* test, long start, long limit) {
    ASegment* segment = getSegmentAt(start, true);
    while (segment) {
        segment->lock();
        ASegment* next = nullptr;
        try {
            for (AFragment* f = segment->load(); f; f = f->next()) {
                if (test->test(f)) {
                    segment->lock();
                    segment->unlock();
                    return f;
                }
            }
            if (limit == -1 || segment->getEnd() < limit)
                next = nextSegment(segment);
        } catch (...) {
            segment->unlock();
            throw;
        }
        segment->unlock();
        segment = next;
    }
    return nullptr;
}

AHighlighterHook* AIndexedDocModel::getHighlighter() {
    if (ADocModel* parent = GetParentModel())
        return parent->getHighlighter();
    return highlighter_;
}

void AIndexedDocModel::setHighlighter(AHighlighterHook* highlighter) {
    if (highlighter == highlighter_)
        return;
    stopDependingOn(highlighter_);
    AssignRef(highlighter_, highlighter);
    dependOn(highlighter_);
    refreshAll(0, 201);
}

void AIndexedDocModel::hitReported(ASegment* segment, long position) {
    if (AHighlighterHook* highlighter = getHighlighter())
        highlighter->addHit(segment, position);
}

void AIndexedDocModel::segmentLoaded(ASegment* segment) {
    if (AHighlighterHook* highlighter = getHighlighter())
        highlighter->addScannedSegment(segment);
}

const ARangeArray* AIndexedDocModel::highlightRanges() {
    AHighlighterHook* highlighter = getHighlighter();
    return highlighter ? highlighter->rangeList() : nullptr;
}

AHiliteSet* AIndexedDocModel::hitSet() {
    AHighlighterHook* highlighter = getHighlighter();
    return highlighter ? highlighter->hitSet() : nullptr;
}

void AIndexedDocModel::setAttachment(AHiliteRangeMap* attachment) {
    if (attachment == attachment_)
        return;
    setAttachmentQuietly(attachment);
    refreshAll(0, 201);
}

void AIndexedDocModel::changed(ADependable*, long code, long data) {
    refreshAll(data, code);
}

void AIndexedDocModel::refreshAll(long argument, long code) {
    invalidate(0, getLength(), false);
    notify(code, argument);
}
