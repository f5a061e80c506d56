// The operations of a document model that segments and parsers call, with
// the base model's answers (no action, null, false or the identity). The
// model's own structure (positions, selection, marks) is built on top.
//
// A model owns one fragment parser (one reference held).
#pragma once

#include "base/object/ARangeArray.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/depend/ADependable.h"

class AExpandNode;
class AExpandTree;
class AFragParser;
class ASegment;

class ADocModel : public ARefObj, public ADependable {
public:
    ADocModel() : fragParser_(nullptr) {}
    ~ADocModel() override;

    void setFragParser(AFragParser* parser);
    AFragParser* getFragParser() const { return fragParser_; }

    // The tree of expandable sections of a laid-out model; null here.
    virtual AExpandTree* getExpandTree() { return nullptr; }
    // The section that starts exactly at a document position, or null.
    virtual AExpandNode* nodeAt(long position);
    virtual ADocModel* parentModel() { return nullptr; }
    virtual long parentOffset() { return 0; }
    // Sorted pairs of global positions to highlight; null when none.
    virtual const ARangeArray* highlightRanges() { return nullptr; }
    // The first note mark at a document position in [start, end): true with
    // its position and value.
    virtual bool findMarker(long start, long end, long* position, long* value);
    virtual void hitReported(ASegment*, long) {}
    virtual void segmentLoaded(ASegment*) {}
    virtual void* getAttachment() { return nullptr; }
    virtual void segmentLocked(ASegment*) {}
    virtual void segmentUnlocked(ASegment*) {}
    virtual void resolvePositionsIn(ASegment*) {}
    virtual bool isMarkedStart(long) { return false; }
    virtual long sourceToPosition(long source) { return source; }
    virtual long positionToSource(long position) { return position; }
    // The plain text of a document range; empty here.
    virtual AString exportText(long start, long end);
    virtual const char* wordSeparators() const;
    // Whether the model maps fragment names to bitmap names, and the mapping.
    virtual bool hasBitmapResolver() const { return false; }
    virtual AString resolveBitmapName(const AString& name) { return name; }

private:
    AFragParser* fragParser_;  // one reference held
};
