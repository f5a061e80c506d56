// The highlighter: where the hits of a hit set lie in a model, found lazily.
// It never reads text itself: it has the model load segments nobody has
// parsed yet, and the parser reports each hit and each parsed segment back.
// Positions are source positions of the top model; -1 means none.
//
// Shared (ARefObj); holds a reference on its hit set and depends on it: any
// notice from the set empties what was found and passes on with data 0.
// A hit reported without a segment is an assertion ("ghilite").
#pragma once

#include <vector>

#include "base/object/ARangeArray.h"
#include "docengine/depend/ADependable.h"
#include "docengine/model/AHighlighterHook.h"

class ADocModel;
class AHiliteSet;

class AHighlighter : public AHighlighterHook, public ADependent {
public:
    // Either may be null; the ranges are copied (highlighted without a hit set).
    AHighlighter(AHiliteSet* set, const ARangeArray* ranges);
    ~AHighlighter() override;

    AHighlighterHook* clone() override;
    void addHit(ASegment* segment, long local) override;
    void addScannedSegment(ASegment* segment) override;
    void removeRange(long start, long end) override;
    const ARangeArray* rangeList() override { return set_ ? nullptr : &ranges_; }
    AHiliteSet* hitSet() override { return set_; }
    void changed(ADependable* source, long code, long data) override;

    // The first hit after the position; parses only as far as it must.
    long nextHit(ADocModel* model, long position);
    // The last hit before the position (a negative one: the last of the document).
    long previousHit(ADocModel* model, long position);
    long firstHit(ADocModel* model) { return nextHit(model, -1); }
    long lastHit(ADocModel* model) { return previousHit(model, -1); }
    // Parses the whole document: hitCount is then the total.
    void scanAll(ADocModel* model);
    long hitCount() const;

private:
    // Source offset of the segment's model in the top model.
    static long topShift(ASegment* segment);
    // The first (or last) position of [from, to) no parse has covered; -1 when none.
    long firstUnscanned(long from, long to) const;
    long lastUnscanned(long from, long to) const;
    // Loads the segment that holds the source position; covers it when no parse reported it.
    void scan(ADocModel* model, long position);

    AHiliteSet* set_;  // one reference held, or null
    ARangeArray ranges_;
    std::vector<long> hits_;  // ascending, no duplicates
    ARangeArray scanned_;
};
