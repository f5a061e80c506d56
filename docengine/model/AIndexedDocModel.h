// The model renderers use: it indexes the segments it has made by source
// start, keeps at most `cacheLimit` released segments parsed in a ring (least
// recently released evicted first), keeps marked ranges, and passes on the
// notices of its highlighter and attachment (the marker map of the reader's
// notes) after dropping every segment.
//
// Index conflicts and a broken ring are assertions ("gmodel").
#pragma once

#include "base/object/ALongDic.h"
#include "docengine/model/ADocModel.h"

class AIndexedDocModel : public ADocModel, public ADependent {
public:
    // The highlighter may be null; one reference is held on it.
    AIndexedDocModel(ASegParser* segParser, AFragParser* fragParser, AHighlighterHook* highlighter);
    ~AIndexedDocModel() override;

    ADocModel* clone() override;
    ASegment* getSegmentAt(long source, bool findStart) override;
    void invalidate(long start, long end, bool recompute) override;
    void segmentLocked(ASegment* segment) override;
    void segmentUnlocked(ASegment* segment) override;
    void removeSegment(ASegment* segment) override;
    void getMarkCursor(ABinaryCursor& cursor) override { cursor.attach(&marked_); }
    bool isMarkedStart(long position) override;
    void markRange(long start, long end, bool on, long argument) override;
    long getMarkCount() override { return marked_.count(); }
    ADocRange getMarkRange(long index) override;
    AFragment* findFragment(AFindFragmentFun* test, long start, long limit) override;
    AHighlighterHook* getHighlighter() override;
    void setHighlighter(AHighlighterHook* highlighter) override;
    void hitReported(ASegment* segment, long position) override;
    void segmentLoaded(ASegment* segment) override;
    AHiliteRangeMap* getAttachment() override { return attachment_; }
    void setAttachment(AHiliteRangeMap* attachment) override;
    const ARangeArray* highlightRanges() override;
    AHiliteSet* hitSet() override;

    // A notice of the highlighter or the attachment.
    void changed(ADependable* source, long code, long data) override;
    using ADocModel::changed;

    // invalidate the whole length, then the notice.
    void refreshAll(long argument, long code);
    void keepAllLoaded();
    void clearCache();
    // Drops every loaded segment not in use and has the dependents lay out again (notice 6).
    void releaseSegments();

    long cacheLimit() const { return cacheLimit_; }
    void setCacheLimit(long limit) { cacheLimit_ = limit; }
    long cacheCount() const { return cacheCount_; }
    long indexedCount() const { return index_.count(); }
    const ARangeArray& coveredRanges() const { return covered_; }

private:
    ASegment* indexed(long start) const;
    // The indexed segment with the greatest start not after source (a descent of the index), or null.
    ASegment* startingAtOrBefore(long source) const;
    void setAttachmentQuietly(AHiliteRangeMap* attachment);
    void evict(ASegment* segment);

    long cacheLimit_;
    long cacheCount_;
    ASegment* cacheHead_;      // most recently released; the ring holds one reference on each
    longa_pvoidAVLMap index_;  // source start -> ASegment (not owned)
    ARangeArray covered_;
    ARangeArray marked_;
    AHighlighterHook* highlighter_;  // one reference held
    AHiliteRangeMap* attachment_;    // one reference held
};
