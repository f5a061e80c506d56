// The document model: what renderers draw, the selection lives in and the
// export writers walk. It owns its segment and fragment parsers (one
// reference each), the word separators, the selection, the child models shown
// inside it and the link to its parent, and tells its dependents of changes:
// notice 2 selection or marks, 6 collapsed parts, 201 highlighter or
// attachment. The base finds segments through its segment parser and keeps
// none; AIndexedDocModel and ALaidOutDocModel fill the other operations.
//
// Positions: source (offset in the source text), document (what views count;
// equal to source except in the laid-out model), local (in one segment).
// Misuse is an assertion ("gmodel", "cbinary").
#pragma once

#include "base/object/AFilter.h"
#include "base/object/ARangeArray.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/depend/ADependable.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/ATextPosition.h"

class AExpandNode;
#include "docengine/model/AExpandTree.h"
class AExpandTree;
class AExportProvider;
class AExportSink;
class AFragParser;
class AHiliteRangeMap;
class AHiliteSet;
class AHighlighterHook;
class ASegParser;
class ASegment;
class AMemoryExportSink;
class AOutStream;

// A test on fragments for findFragment.
class AFindFragmentFun {
public:
    virtual ~AFindFragmentFun() = default;
    virtual bool test(AFragment* fragment) = 0;
};

// Fragments whose link kind (low 12 bits) is the given one.
class AFindActionFragment : public AFindFragmentFun {
public:
    explicit AFindActionFragment(uint16_t kind = 3) : kind_(kind) {}
    bool test(AFragment* fragment) override;

protected:
    uint16_t kind_;
};

// Anchors (kind 6) of a name, compared without regard to case.
class AFindAnchorFragment : public AFindActionFragment {
public:
    explicit AFindAnchorFragment(const AString& name) : AFindActionFragment(6), name_(name) {}
    bool test(AFragment* fragment) override;

private:
    AString name_;
};

// Turns a fragment's name into the name of its bitmap.
class ABitmapNameResolver : public ARefObj {
public:
    virtual AString resolve(const AString& name) = 0;
};

struct ADocRange {
    long start;
    long end;
};

class ADocModel : public ARefObj, public ADependable {
public:
    // The 60 separator bytes: blank, TAB, LF, CR, ASCII punctuation but '-'
    // and '~', and the Windows-1252 quotation marks, guillemets and signs.
    static const char kWordSeparators[];

    ADocModel();
    // Holds a reference on each parser (either may be null).
    ADocModel(ASegParser* segParser, AFragParser* fragParser);
    ~ADocModel() override;

    void setFragParser(AFragParser* parser);
    AFragParser* getFragParser() const { return fragParser_; }
    ASegParser* getSegParser() const { return segParser_; }

    // A new model with the same parsers, resolver, filter and separators; the caller releases it.
    virtual ADocModel* clone();
    // The segment holding a source position (unlocked), or null.
    virtual ASegment* getSegmentAt(long source, bool findStart);
    virtual long getLength();
    virtual long getPositionCount() { return getLength(); }
    // invalidate (range, true), then the notice.
    virtual void changed(long start, long end, long argument, long code);
    virtual void invalidate(long, long, bool) {}
    virtual void resolvePositionsIn(ASegment* segment);
    virtual void selectionToSource();
    virtual void selectionFromSource(long start, long end);
    virtual void segmentLocked(ASegment*) {}
    virtual void segmentUnlocked(ASegment*) {}
    virtual void removeSegment(ASegment*) {}
    virtual void getMarkCursor(ABinaryCursor& cursor) { cursor.clear(); }
    virtual bool isMarkedStart(long) { return false; }
    virtual void markRange(long, long, bool, long) {}
    virtual long getMarkCount() { return 0; }
    virtual ADocRange getMarkRange(long) { return ADocRange{0, 0}; }
    // The first fragment the test accepts from start on, its segment locked
    // once more for the caller; null when none (limit -1: no limit).
    virtual AFragment* findFragment(AFindFragmentFun*, long, long) { return nullptr; }
    virtual AHighlighterHook* getHighlighter() { return nullptr; }
    virtual void setHighlighter(AHighlighterHook*) {}
    virtual void hitReported(ASegment*, long) {}
    virtual void segmentLoaded(ASegment*) {}
    // The marker map of the reader's notes, or null.
    virtual AHiliteRangeMap* getAttachment() { return nullptr; }
    virtual void setAttachment(AHiliteRangeMap*) {}
    // The reader's note marks shown in this model (notice 201 when they change).
    void setNoteMarkers(AHiliteRangeMap* markers) { setAttachment(markers); }
    virtual void expandAll(long) {}
    virtual void collapseAll(long) {}
    virtual void toggleAt(AFragment*, long) {}
    virtual bool openAt(long, AExpandRecord*, long) { return false; }
    virtual bool restore(AExpandRecord*, long) { return false; }
    virtual bool isVisible(long) { return true; }
    virtual long positionToSource(long position) { return position; }
    virtual long sourceToPosition(long source) { return source; }
    // The section that starts exactly at a position, or null.
    virtual AExpandNode* nodeAt(long position);
    virtual AExpandNode* nodeRecordAt(long) { return nullptr; }
    virtual bool hasCollapsedParts() { return false; }
    virtual bool hasExpandableParts() { return false; }
    virtual AExpandTree* getExpandTree() { return nullptr; }
    // Releases the given tree here.
    virtual void setExpandTree(AExpandTree* tree);

    // Sorted pairs of global positions to highlight; null when none.
    virtual const ARangeArray* highlightRanges() { return nullptr; }
    virtual AHiliteSet* hitSet() { return nullptr; }
    // The first note mark at a document position in [start, end) of the attachment.
    virtual bool findMarker(long start, long end, long* position, long* value);

    ADocModel* GetParentModel() const { return parent_; }
    long getParentOffset() const { return parentOffset_; }
    void setParent(ADocModel* parent, long offset);
    // Drops the record of a child that is going away, without assertions.
    void forgetChild(ADocModel* child);
    long fromParent(long position);
    long toParent(long position);

    ATextPosition GetSelectionStart();
    ATextPosition GetSelectionEnd();
    ADocRange GetSelection();
    // Same values: nothing; otherwise notice 2 (a parent sends its own first).
    void setSelection(const ATextPosition& start, const ATextPosition& end, long argument);
    void setSelection(ADocRange range, long argument);
    // The selection in a segment's local positions: -1 before it, text length + 1 after.
    ALocalRange selectionInSegment(ASegment* segment);

    // The child keeps this model as parent at the range's start; not owned here.
    void addChild(ADocModel* child, long start, long end);
    void removeChild(ADocModel* child);
    ADocModel* getChildAt(long position);
    long childCount() const { return childCount_; }

    long findPosition(AFindFragmentFun* test, long start, long limit);
    void markPosition(long position, bool on, long argument) { markRange(position, position + 1, on, argument); }
    ADocRange firstMarkedRange();

    ASegment* segmentAtPosition(long position) { return getSegmentAt(positionToSource(position), true); }
    ASegment* nextSegment(ASegment* segment);
    ASegment* previousSegment(ASegment* segment);
    // The document range of the search hit that begins at a source position.
    ADocRange hitRangeAt(long source);

    const AString& getWordSeparators() const { return separators_; }
    void setWordSeparators(const AString& separators) { separators_ = separators; }
    const AFilter& getFilter() const { return filter_; }
    void setFilter(const AFilter& filter) { filter_ = filter; }
    // The resolver is shared (one reference held); null: no bitmap runs.
    void setBitmapResolver(ABitmapNameResolver* resolver);
    virtual bool hasBitmapResolver() const { return resolver_ != nullptr; }
    virtual AString resolveBitmapName(const AString& name);

    // Export of a document range (plain or slash markup); a null provider
    // means this model alone. Each answers what the writer wrote.
    bool exportRange(AExportSink* sink, long start, long end, AExportProvider* provider, bool markup);
    virtual AString exportText(long start, long end, AExportProvider* provider = nullptr, bool markup = false);
    AString exportMarkup(long start, long end, AExportProvider* provider) {
        return exportText(start, end, provider, true);
    }
    // The caller deletes the sink's memory with the returned string (Windows-1252 bytes).
    AString exportToMemory(long start, long end, AExportProvider* provider);
    bool exportToStream(AOutStream* stream, long start, long end, AExportProvider* provider, bool markup);
    AString exportSelection(AExportProvider* provider, bool markup);
    AString exportSelectionToMemory(AExportProvider* provider);
    bool exportSelectionToStream(AOutStream* stream, AExportProvider* provider, bool markup);
    AString exportAllToMemory(AExportProvider* provider);
    bool exportAllToStream(AOutStream* stream, AExportProvider* provider, bool markup);

protected:
    // Copies what a clone shares with its source.
    void copySettingsFrom(const ADocModel& source);

private:
    struct ChildRecord {
        long start;
        long end;
        ADocModel* child;  // not owned
    };
    // First record whose end is above position (binary search).
    long childIndexAfter(long position) const;
    void setChildCount(long count);

    AFragParser* fragParser_;  // one reference held
    ASegParser* segParser_;    // one reference held
    AString separators_;
    ATextPosition* selection_;  // owned pair, null while a parent is set
    ADocModel* parent_;         // not owned
    long parentOffset_;
    AFilter filter_;
    ABitmapNameResolver* resolver_;  // one reference held
    ChildRecord* children_;          // owned
    long childCount_;
    long childCapacity_;
};
