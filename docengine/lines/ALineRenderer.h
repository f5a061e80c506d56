// The line renderer: lays a document model out into a vertical stack of
// lines of data runs, keeps laid out only what the view needs, draws the
// lines that meet an area, answers hit records and geometry questions and
// scrolls by anchors (document position, pixel offset in its line).
//
// Broken invariants are assertions ("glines"); positions and points outside
// the laid-out lines give empty answers, never failures.
#pragma once

#include <cstdint>
#include <vector>

#include "base/object/ARect.h"
#include "base/object/ARefObj.h"
#include "docengine/depend/ADependable.h"
#include "docengine/lines/ADataRun.h"
#include "docengine/model/AFragment.h"
#include "framework/graphics/ARegion.h"

class ADocModel;
class AFragmentRef;
class ASegment;
class AStyleSheet;
class ABitmapSupplier;
class AImageStateSupplier;
class ARunDisplay;

// The renderer's flag words, one name per meaning. Readings that disagree
// elsewhere are mapped here so that no bare bit number appears in code:
// - first 0x40 and second 0x4: "no background erase"; setting first 0x40
//   before a table cell's layout is this same meaning (a cell draws on its
//   table's background); the "selection present" reading of these bits is
//   the renderer's hasSelection field, not a bit.
// - first 0x8000 "print in colour"; second 0x8000 "fixed selection colour".
// - second 0x2 "laid out" is the bit every relayout sets; first 0x2 clips.
// - The renderer's option word (hit reporting 0x40, the text renderer's 0x10
//   and 0x1) is a third word, not read by the line layer.
namespace LineFlags {
// First word.
const uint16_t kDecorationFirst = 0x0001;      // decoration before the runs, not between passes
const uint16_t kClipLastLine = 0x0002;         // a line cut by the frame bottom is erased, drawing stops
const uint16_t kNoSelectionDrawing = 0x0004;   // the draw context never draws the selection
const uint16_t kQuietLayout = 0x0010;          // layout notices without their visible follow-up
const uint16_t kNoBackgroundErase = 0x0040;    // the background region is not filled before drawing
const uint16_t kFixedLayoutWidth = 0x0100;     // updateLayoutWidth leaves layoutWidth alone
const uint16_t kHiliteMode = 0x0200;           // flagged lines draw whole in the selection colour
const uint16_t kEndAnchorAtLastLine = 0x0800;  // the end anchor is the top of the last line
const uint16_t kPrintInColour = 0x8000;        // printing keeps the runs' colours
// Second word.
const uint16_t kMayLayout = 0x0001;
const uint16_t kLaidOut = 0x0002;
const uint16_t kNoBackgroundErase2 = 0x0004;
const uint16_t kPostDraw = 0x0010;
const uint16_t kWholeDocument = 0x0020;
const uint16_t kNoAlignment = 0x0040;
const uint16_t kFixedSelection = 0x8000;
}  // namespace LineFlags

// Bits of a paragraph's style word read by line building.
namespace ParaBits {
const uint16_t kCentre = 0x1;
const uint16_t kRight = 0x4;
const uint16_t kJustify = 0x8;
const uint16_t kVCentre = 0x10;
const uint16_t kVTop = 0x20;
const uint16_t kVBottom = 0x40;
const uint16_t kVertical = 0x70;
const uint16_t kStartAtMargin = 0x100;
const uint16_t kNoWrap = 0x200;
const uint16_t kTruncate = 0x400;
const uint16_t kStartAtFirstStop = 0x800;
const uint16_t kNextIndexTabs = 0x8000;
// A line flag: drawn whole in the selection colour in hilite mode.
const uint16_t kLineSelected = 0x2;
}  // namespace ParaBits

struct AAnchor {
    long position;
    long offset;
    bool operator==(const AAnchor& o) const { return position == o.position && offset == o.offset; }
    bool operator!=(const AAnchor& o) const { return !(*this == o); }
    bool operator<(const AAnchor& o) const {
        return position < o.position || (position == o.position && offset < o.offset);
    }
    static AAnchor none() { return AAnchor{0x7FFFFFFF, 0x7FFFFFFF}; }
};

class ALine : public ARefObj {
public:
    // Document and local start may be -1 (see the .cpp); the ends equal the starts.
    ALine(AFragmentRef* ref, ADataRun* firstRun, long docStart, long localStart);
    ~ALine() override;

    void setEnds(long docEnd, long newLocalEnd) {
        end = docEnd;
        localEnd = newLocalEnd;
    }
    void setGeometry(long newTop, long newBaseline, long descentAndPadding, long newRight, long newX);
    long length() const { return end - start; }
    long bottom() const { return top + height; }
    long contentWidth() const { return runs ? right - runs->x : 0; }
    long xOfPosition(long localPosition, long dflt) const;
    long positionAtX(ADataRun* run, long px) const;
    ADataRun* runAtX(long px) const;
    ASegment* segment() const;
    AFragmentRef* fragmentRef() const { return fragmentRef_; }
    uint16_t styleWord() const;

    ADataRun* runs;  // owned chain
    long localStart, localEnd;
    long start, end;
    long x, top, right, baseline, height;
    int16_t hasCells;
    int16_t hasBackground;
    uint32_t background;
    uint16_t flags;  // ParaBits::kLineSelected

private:
    AFragmentRef* fragmentRef_;  // held
};

class ALineRef {
public:
    ALineRef() : line_(nullptr) {}
    explicit ALineRef(ALine* line) : line_(line) {
        if (line_)
            line_->addRef();
    }
    ALineRef(const ALineRef& o) : ALineRef(o.line_) {}
    ALineRef& operator=(const ALineRef& o) {
        assign(o.line_);
        return *this;
    }
    ~ALineRef() { assign(nullptr); }
    void assign(ALine* line);
    ALine* get() const { return line_; }
    ALine* operator->() const { return line_; }

private:
    ALine* line_;
};

class ALineArray {
public:
    ALineArray() : capacity_(-1) {}
    ~ALineArray() { clear(); }
    ALineArray(const ALineArray&) = delete;
    ALineArray& operator=(const ALineArray&) = delete;

    long count() const { return static_cast<long>(lines_.size()); }
    long capacity() const { return capacity_; }
    ALine* at(long index) const;
    ALine* first() const { return lines_.empty() ? nullptr : lines_.front().get(); }
    ALine* last() const { return lines_.empty() ? nullptr : lines_.back().get(); }

    void insertAt(ALine* line, long index);
    void removeRange(long from, long to);
    void clear();
    void shiftAll(long dy);

    long totalHeight() const;
    long firstTop() const { return lines_.empty() ? 0 : first()->top; }
    long bottom() const { return lines_.empty() ? 0 : last()->bottom(); }
    long firstPosition() const { return lines_.empty() ? 0 : first()->start; }
    long lastPosition() const { return lines_.empty() ? 0 : last()->end; }
    long widest() const;
    long indexAtY(long y) const;
    long indexAtPoint(long px, long y, long from) const;
    long indexOfPosition(long position, long from) const;
    AAnchor anchorAtY(long y) const;

private:
    void resize();
    // The first line from `from` on whose bottom lies below y (binary search).
    long firstBelow(long y, long from) const;

    std::vector<ALineRef> lines_;
    long capacity_;  // moves in steps of 20; -1 without storage
};

// A hit record: the point, fragment, document position, run and its origin.
struct AHitRecord {
    ALineRenderer* renderer = nullptr;
    APoint point;
    AFragment* fragment = nullptr;
    long position = 0;
    ADataRun* run = nullptr;
    APoint origin;
    // Filled by the renderers above the line layer: their hit code and hit kind.
    uint16_t code = 0;
    uint16_t kind = 4;
    bool empty() const { return fragment == nullptr; }
};

class ALineRenderer : public ARefObj, public ADependent {
public:
    // model may be null; the renderer holds model and sheet. display is not owned.
    ALineRenderer(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display);
    ALineRenderer(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display, const ARect& frame);
    // A copy for another resolution: no lines; margin and width scaled by numerator / denominator.
    ALineRenderer(const ALineRenderer& other, long numerator, long denominator);
    ~ALineRenderer() override;
    ALineRenderer(const ALineRenderer&) = delete;
    ALineRenderer& operator=(const ALineRenderer&) = delete;

    // The model's notices: 2 (selection) needs no layout, 6 and 201 relay out
    // with 6, any other code with itself; only while the renderer may lay out.
    // The lines are rebuilt but for codes 101 and 200.
    void changed(ADependable* source, long code, long data) override;

    // Frame and width.
    void setFrame(const ARect& frame);
    const ARect& frame() const { return frame_; }
    long viewHeight() const { return frame_.second.y - frame_.first.y; }
    // The width lines are broken at, from the frame; lines of another width are dropped.
    virtual void updateLayoutWidth();
    long getLayoutWidth() const { return layoutWidth; }
    void setMargin(long m) {
        margin = m;
        updateLayoutWidth();
    }
    virtual long pageWidth() { return layoutWidth; }

    // Rows: what a relayout never cuts. One segment here; renderers that lay
    // several segments side by side (tiles) make a row of them.
    virtual ASegment* rowStartSegment(ASegment* segment) { return segment; }
    virtual ASegment* nextRowSegment(ASegment* segment);
    virtual ASegment* previousRowSegment(ASegment* segment);
    virtual bool sameRow(ASegment* a, ASegment* b);
    // True when lines stand side by side (tiles): a point is looked up by both coordinates.
    virtual bool linesSideBySide() { return false; }
    // The line under a layout point (x from the margin, y from the frame's top); lines.count() when none.
    virtual long lineIndexAt(long px, long y) {
        (void)px;
        return lines.indexAtY(y);
    }
    // Paints under a line's runs (origin: the line's baseline origin); the line's own background here.
    virtual void drawLineBackground(ALine* line, const APoint& origin, const ARect& area);

    // Building (one segment at a time) and finishing lines.
    virtual long buildLines(ALineArray& into, ASegment* segment, long index, long& ioTop);
    virtual void finishLine(ALine* line, long top, long freeWidth);
    void realignLines();

    // Incremental relayout.
    long relayoutLines(ALineArray& into, long position, long top, bool trim, bool keepInside);
    ASegment* shiftLines(ALineArray& into, long fromLine, long& ioBottom, long& ioIndex, long limit, bool stopAtLimit);
    void resetLayout();
    void layoutFrom(long code);
    long prependSegment(ALineArray& into);
    long appendSegment(ALineArray& into);
    bool hasMoreBelow();

    // Drawing and hit records.
    void draw(const ARect& area);
    // Gives the embedded runs (tables) of a line their place at the line's baseline origin.
    void placeCells(ALine* line, const APoint& origin);
    AHitRecord hitRecordAt(const APoint& point);
    AHitRecord buildHitRecord(const APoint& point, long px, long index);
    long lineOfPosition(long position, long& xOut, long localHint, ADataRun** runOut);
    AHitRecord hitRecordOfPosition(long position, long localHint);
    // The table cell holding a document position, placed, with the position's box in it; null when none.
    AEmbeddedRun* cellOfPosition(long position, ARect& box);
    AHitRecord previousFragmentHit(const AHitRecord& hit);
    AHitRecord hitAbove(const AHitRecord& place, long px);

    // Scrolling.
    virtual AAnchor lineDownAnchor(long n);
    virtual AAnchor lineUpAnchor(long n);
    AAnchor pageDownAnchor();
    AAnchor pageUpAnchor();
    AAnchor anchorByPixels(long dy);
    AAnchor endAnchorFrom(ALineArray& into, long position);
    AAnchor endAnchor(ALineArray& into);
    long relayoutFromAnchor(ALineArray& into, AAnchor anchor, bool trim, bool keepInside, bool clamp);
    void rememberTop();
    void relayoutAfterChange(long code);
    int scroll(long kind, long amount, long* changedOut, long* deltaOut);
    void showRange(long start, long end, uint16_t showFlags);
    void showRangeRegion(long start, long end, uint16_t showFlags);
    // Answers the vertical move the view must make (the renderer moves itself when windowed).
    long scrollRectIntoView(const ARect& rect, uint16_t showFlags);
    void scrollToPosition(long position);
    void scrollToName(const char* text);
    long verticalScrollValue() const { return viewScroll_; }
    // What a scroll left to repaint (the bands of lines cut by the bottom edge).
    ARegion pendingRegionCopy() const;

    // View queries.
    long topLineLength();
    long maxScrollValue();
    long scrollValue();
    long pageLength();
    long currentScrollValue();
    long viewTopY();
    long viewBottomY();
    ALine* lineAtY(long y, bool fromBelow);
    long positionAtY(long y, bool fromBelow);
    long firstVisiblePosition() { return positionAtY(viewTopY(), false); }
    long lastVisiblePosition() { return positionAtY(viewBottomY(), true); }
    long firstLaidOutPosition() const { return lines.firstPosition(); }
    long lastLaidOutPosition() const { return lines.lastPosition(); }
    bool isAllLaidOut();
    bool isLaidOut(long position) const;
    bool isRectVisible(const ARect& rect, bool horizontally, bool vertically);
    bool isPositionVisible(long position, bool horizontally, bool vertically);
    long displayWidth() { return frame_.second.x - frame_.first.x; }
    long xInLine(ALine* line, long position, long local, long width);
    ARegion rangeRegion(long start, long end);
    ARegion runsRegion(ALine* line, long startPosition, long endPosition, long width);
    AHitRecord hitBelow(const AHitRecord& place, long px);
    AHitRecord nextFragmentHit(const AHitRecord& hit);
    long contentHeight() const { return lines.count() ? lines.bottom() - lines.firstTop() : 0; }
    long contentWidth() const { return displayWidthConst() + lines.widest() - layoutWidth; }

    ADocModel* model() const { return model_; }
    AStyleSheet* styleSheet() const { return sheet_; }
    ARunDisplay* display() const { return display_; }

    // State (read and set by the renderer's users and by tests).
    ALineArray lines;
    AAnchor markedRange;  // the end anchor
    AAnchor topAnchor;
    long layoutWidth;
    long margin;
    long lineSpacing;
    long minLineHeight;
    long anchorExtra;
    long scrollDelta;
    uint16_t scrollFlags;
    int16_t drawnOnce;
    int16_t cellHits;
    ARegion pendingRegion;

    uint16_t flags1;
    uint16_t flags2;
    long defaultStyle;   // -1: the fragment's own
    long defaultColour;  // -1: the fragment's own
    long tabStyle;       // -1: no tab font
    // Nonzero: a line longer than the frame ends with an ellipsis at its edge
    // (in the tab font) instead of being cut there.
    int16_t edgeEllipsis;
    long minAscent, minDescent;
    uint32_t colour;           // background colour of the view
    uint32_t selectionColour;  // drawn over selected text
    bool hasSelection;
    bool fitBitmaps;
    // Pictures named by their fragment come from here (set by the renderer that owns the layer).
    ABitmapSupplier* bitmapSupplier = nullptr;  // not owned
    // Sub-images of picture fragments come from here (null: by the line's flag).
    AImageStateSupplier* imageStateSupplier = nullptr;  // not owned
    int16_t drawMode;
    AParagraphFormat defaultFormat;
    // Counts of lines drawn and erased by the last draw (for the view's bookkeeping).
    long drawnLines;

private:
    ALine* cutBottomLine();
    ARect bandOf(ALine* line, long dy) const;
    long displayWidthConst() const { return frame_.second.x - frame_.first.x; }
    ASegment* segmentAt(long position);
    long heightLimit() const;
    long scrollValueOf(AAnchor a, AAnchor reference) const;

    ADocModel* model_;    // held
    AStyleSheet* sheet_;  // held
    ARunDisplay* display_;
    ARect frame_;
    long viewScroll_;  // whole-document mode: the view's vertical scroll value
};
