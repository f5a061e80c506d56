// A segment: one slice of a document's source text, parsed on first use into
// the chain of fragments that it owns, and the conversions between its local
// positions and the owner model's document positions.
//
// Shared: the reference count is the lock count; the first lock attaches the
// segment to its owner model (which it then holds), the last unlock detaches
// it. Misuse is an assertion ("gsegment").
#pragma once

#include "base/object/ARangeArray.h"
#include "base/object/ARefObj.h"
#include "docengine/model/AFragment.h"

class ADocModel;
class AHiliteRangeMap;

class ASegment : public ARefObj {
public:
    static const uint16_t kLoaded = 1;
    static const uint16_t kMarked = 2;

    // text is shared, not copied; owner may be null.
    ASegment(ADocModel* owner, long start, long end, const AString& text);
    ~ASegment() override;

    // Parses on first use; later calls answer the same chain.
    AFragment* load();
    void lock();
    void unlock();
    void dropOwner();
    // The document range again from the owner's conversions (after sections changed).
    void recomputeDocRange();
    // Into other's ring just before it; null: a ring of this one alone.
    void linkInto(ASegment* other);
    void unlink();

    // The owner's highlight ranges (global positions), or null.
    virtual const ARangeArray* getHighlightRanges();
    virtual void reportHit(long position);
    virtual void didLoad();
    virtual AHiliteRangeMap* getAttachment();
    // The first note mark of the owner's marker map in [start, end) (document
    // positions); none in a table segment.
    bool findMarker(long start, long end, long* position, long* value);
    virtual long getStart() const { return start_; }
    virtual long getEnd() const { return end_; }
    virtual long getLastBefore() const { return start_ - 1; }
    virtual long toLocalOffset(long p) const { return p; }
    virtual long fromLocalOffset(long p) const { return p; }
    virtual AString getText(ALocalRange range);
    virtual void attach();
    virtual void detach();

    bool isTable() const;
    bool hasTable() const;
    long toDocument(long local) const { return docStart_ + toLocalOffset(local); }
    ALocalRange rangeToDocument(ALocalRange local) const;
    long fromDocument(long position) const { return fromLocalOffset(position - docStart_); }
    long sourceOf(long local) const;
    long localOfSource(long source) const;
    AString rawText(ALocalRange range) const;
    AFragment* nextFragment(AFragment* fragment) const;
    ALocalRange wordAt(AFragment* fragment, long position);
    ALocalRange nameExtent(AFragment* fragment) const;
    AFragment* firstOfName(AFragment* fragment) const;

    ADocModel* owner() const { return owner_; }
    AFragment* content() const { return content_; }
    const AString& text() const { return text_; }
    uint16_t flags() const { return flags_; }
    void setMarked(bool on) { AFragment::setFlagBits(flags_, kMarked, on); }
    long docStart() const { return docStart_; }
    long docEnd() const { return docEnd_; }
    ASegment* ringNext() const { return ringNext_; }
    ASegment* ringPrev() const { return ringPrev_; }

private:
    ADocModel* owner_;    // held while attached
    AFragment* content_;  // owned chain
    long start_, end_;    // source range
    long docStart_, docEnd_;
    AString text_;
    uint16_t flags_;
    ASegment* ringNext_;  // not owned
    ASegment* ringPrev_;
};

// A segment that stands for one document position: every conversion gives 0
// and its text drops trailing line ends.
class ASegmentSub : public ASegment {
public:
    ASegmentSub(ADocModel* owner, long start, long end, const AString& text) : ASegment(owner, start, end, text) {}
    long toLocalOffset(long) const override { return 0; }
    long fromLocalOffset(long) const override { return 0; }
    AString getText(ALocalRange range) override;
};
