// What an indexed model needs of the highlighter that finds search hits:
// hits and parsed segments are reported to it, dropped ranges cut from it,
// and its notices pass on to the model's dependents. Shared (ARefObj).
#pragma once

#include "base/object/ARangeArray.h"
#include "base/object/ARefObj.h"
#include "docengine/depend/ADependable.h"

class AHiliteSet;
class ASegment;

class AHighlighterHook : public ARefObj, public ADependable {
public:
    // A copy for a cloned model; the caller releases it.
    virtual AHighlighterHook* clone() = 0;
    virtual void addHit(ASegment* segment, long local) = 0;
    virtual void addScannedSegment(ASegment* segment) = 0;
    // Source positions of the top model.
    virtual void removeRange(long start, long end) = 0;
    // The highlight ranges the parser marks when there is no hit set, or null.
    virtual const ARangeArray* rangeList() { return nullptr; }
    // The words the parser matches while it reads, or null.
    virtual AHiliteSet* hitSet() { return nullptr; }
};
