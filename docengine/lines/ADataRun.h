// Data runs: the smallest pieces of a laid-out line, each a stretch of
// segment-local positions measured, placed, broken and drawn as one unit;
// the contexts the line renderer passes them while it lays out and draws;
// and the run classes the fragments cut themselves into.
//
// Missing renderer, display, fragment or font are assertions ("gdatarun").
#pragma once

#include <cstdint>

#include "base/object/ARect.h"
#include "base/object/AString.h"

class AFragment;
class ALine;
class ALineRenderer;
class ARunDisplay;
class ARunDrawContext;
class ARunLayoutContext;
class ARunWidths;
class AStyleFont;
class ATabStops;
class ABitmapRef;
class ARegion;
class ARunContext;
struct AHitRecord;
struct ATabStopCopy;

// The second interface of a run that holds cells with renderers of their own
// (a table): the line renderer reaches the cells through it. View coordinates.
class AEmbeddedRun {
public:
    virtual ~AEmbeddedRun() = default;
    virtual ARect rectOfPosition(long position) = 0;
    virtual AHitRecord hitTest(const APoint& point) = 0;
    virtual ARegion regionOfRange(const ARect& clip, long start, long end, bool clipping) = 0;
    // Puts the run at its line's baseline origin.
    virtual void moveTo(const APoint& origin, ARunContext& context) = 0;
};

// Colour values shared by runs and contexts.
namespace RunColour {
const uint32_t kNone = 0xFF000000;
const uint32_t kRendererDefault = 0xFE000000;
const uint32_t kDisplayDefault = 0xFD000000;
inline bool isNone(uint32_t c) {
    return (c & 0x80000000u) != 0;
}
}  // namespace RunColour

// Break classes answered by breakClassAt.
enum : int { kBreakInWord = 5, kBreakOpportunity = 6, kBreakObject = 8 };

class ADataRun {
public:
    ADataRun(long runStart, long runEnd);
    // Cuts other at other.start + offset: this run takes the rest and follows it.
    ADataRun(ADataRun* other, long offset);
    // Destroys the chain that follows, one run at a time.
    virtual ~ADataRun();
    ADataRun(const ADataRun&) = delete;
    ADataRun& operator=(const ADataRun&) = delete;

    virtual AFragment* getFragment() = 0;
    virtual void measure(ARunLayoutContext& context) = 0;
    virtual void draw(ARunDrawContext& context) = 0;
    virtual void drawBackground(ARunDrawContext& context);
    virtual bool hasBackground() { return !RunColour::isNone(background); }
    // Three hooks no run class answers yet.
    virtual long hookA(long, long) { return 0; }
    virtual long hookB(long, long, long) { return 0; }
    virtual long hookC(long, long) { return 0; }
    virtual int onMouseEnter() { return 0; }
    virtual int onMouseLeave() { return 0; }
    virtual void place(ARunLayoutContext& context);
    virtual void followedBy(ARunLayoutContext&, ADataRun*) {}
    virtual int breakAt(long) { return 0; }
    virtual int forceBreakAt(long) { return 0; }
    virtual int canBreak() { return 0; }
    virtual int isBlank() { return 0; }
    virtual void setStretch(long) {}
    virtual long positionAtX(long px, int16_t* atStart);
    virtual long xOfPosition(long position);
    virtual int breakClassAt(long) { return 0; }
    virtual AEmbeddedRun* getCell() { return nullptr; }

    void setNext(ADataRun* run) { next = run; }
    ADataRun* takeNext() {
        ADataRun* n = next;
        next = nullptr;
        return n;
    }
    ADataRun* getNext() const { return next; }
    long length() const { return end - start; }
    long right() const { return x + width; }

    long start, end;
    int16_t generated;
    ADataRun* next;
    long width, height, ascent, x, yOffset;
    uint32_t background;
};

// The renderer and display a layout or drawing works with.
class ARunContext {
public:
    explicit ARunContext(ALineRenderer* renderer);
    virtual ~ARunContext() = default;

    ALineRenderer* renderer;
    ARunDisplay* display;
    int16_t printing;
    int16_t scaled;
};

class ARunLayoutContext : public ARunContext {
public:
    ARunLayoutContext(ALineRenderer* renderer, ALine* line);
    ~ARunLayoutContext() override;

    void setFragment(AFragment* fragment, uint16_t styleWord);
    void runAdded(ADataRun* run);
    void runPlaced(ADataRun* run);
    void endLine(long limitX);
    void startLine();
    // 1 when the renderer's lines end with an ellipsis at the frame's edge.
    int16_t edgeColumn() const;
    // A run laid out: it may start the open column (after a truncating tab, or a line's first text run at the edge).
    void takeColumnStart(ADataRun* run);
    // The tab-stop set of the current fragment's style, fetched on first use.
    ATabStops* tabStops();
    // Closes the truncating column at stopX (Part of the tab algorithm).
    void closeColumn(long stopX, uint16_t justification, ADataRun* last);

    AFragment* fragment;
    ADataRun* pendingTab;
    ADataRun* columnStart;
    int16_t columnOpen;  // a truncating tab waits for the first run of its column
    int16_t edgeOpen = 0;  // the line's first run waits to start the column cut at the edge
    int16_t edgeCut = 0;   // the open column is that one
    long tabIndex;
    long currentX;
    long leftMarginX;
    ATabStops* stops;  // held
    int16_t startAtMargin;
    int16_t tabsActive;
    int16_t justify;
    int16_t truncationPending;
    int16_t startAtFirstStop;
    int16_t nextIndexTabs;
    ALine* line;  // not held
};

class ARunDrawContext : public ARunContext {
public:
    ARunDrawContext(ALineRenderer* renderer, const ARect& frame);
    ~ARunDrawContext() override;

    void setLine(const APoint& lineOrigin, ALine* drawnLine, long lineAscent, long lineDescent);
    // The selected part [from, to) of a run's text of the given length.
    void visibleRange(ADataRun* run, long length, long& from, long& to) const;
    // The line's origin plus the run's box.
    ARect boxOf(ADataRun* run) const;
    bool lineSelected() const;

    ARect frame;
    APoint origin;
    ALine* line;  // held
    long lineAscent, lineDescent;
    uint32_t selectionColour;
    long selStart, selEnd;  // segment-local positions of the line's segment
    int16_t drawSelection;
    int16_t hilite;
    int16_t fixedSelection;
};

// Base of the runs that carry a fragment, font and colour.
class AStyledDataRun : public ADataRun {
public:
    AStyledDataRun(AFragment* fragment, long runStart, long runEnd);
    AStyledDataRun(AStyledDataRun* other, long offset);
    ~AStyledDataRun() override;

    AFragment* getFragment() override { return fragment_; }
    // Font and colour for the fragment's style, or the renderer's defaults.
    void loadFont(ALineRenderer* renderer, int16_t variant);
    AStyleFont* font() const { return font_; }
    uint32_t colour() const { return colour_; }

protected:
    // Takes the height and ascent of a blank in the run's font; answers its width.
    long measureBlank(ARunLayoutContext& context, long assertLine);
    // The segment's bytes from start, clamped to its text.
    const char* textAt(long position, long& available) const;
    // Draws text in up to three pieces split by the selection.
    void drawPieces(ARunDrawContext& context, const char* text, long length, long px);

    AFragment* fragment_;
    AStyleFont* font_;  // held
    uint32_t colour_;
};

class ATextDataRun : public AStyledDataRun {
public:
    ATextDataRun(AFragment* fragment, long runStart, long runEnd);
    ATextDataRun(ATextDataRun* other, long offset);
    ~ATextDataRun() override;

    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    int breakAt(long limitX) override;
    int forceBreakAt(long limitX) override;
    int canBreak() override;
    long positionAtX(long px, int16_t* atStart) override;
    long xOfPosition(long position) override;
    int breakClassAt(long position) override;

private:
    void remeasure(bool trimBlanks);
    ARunDisplay* display_;  // not owned: the one of the last measure
    // The widths of the text first measured, shared by the pieces cut from
    // it (held); null where the display measures pieces one by one.
    ARunWidths* widths_;
};

class ASpecialCharDataRun : public AStyledDataRun {
public:
    ASpecialCharDataRun(AFragment* fragment, long runStart, long runEnd, uint8_t code);
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    int breakClassAt(long) override { return kBreakInWord; }
    uint8_t code() const { return code_; }

private:
    uint8_t code_;
};

class ATabDataRun : public AStyledDataRun {
public:
    ATabDataRun(AFragment* fragment, long runStart, long runEnd);
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext&) override {}
    void place(ARunLayoutContext& context) override;
    void followedBy(ARunLayoutContext& context, ADataRun* run) override;
    int breakAt(long limitX) override;
    int forceBreakAt(long limitX) override { return breakAt(limitX); }
    int canBreak() override { return 1; }
    int breakClassAt(long) override { return kBreakOpportunity; }

    long stopX;
    uint16_t stopJustification;
};

class ABlankDataRun : public AStyledDataRun {
public:
    ABlankDataRun(AFragment* fragment, long runStart, long runEnd);
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext&) override {}
    int breakAt(long limitX) override;
    int forceBreakAt(long limitX) override { return breakAt(limitX); }
    int canBreak() override { return 1; }
    int isBlank() override { return 1; }
    void setStretch(long w) override;
    int breakClassAt(long) override { return kBreakOpportunity; }

private:
    long stretch_;
};

class AEllipsisDataRun : public AStyledDataRun {
public:
    AEllipsisDataRun(AFragment* fragment, long at);
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    int breakAt(long limitX) override;
    int forceBreakAt(long limitX) override { return breakAt(limitX); }
    int breakClassAt(long) override { return kBreakOpportunity; }
};

class ABitmapDataRun : public ADataRun {
public:
    ABitmapDataRun(AFragment* fragment, long runStart, long runEnd, uint16_t placement);
    ~ABitmapDataRun() override;
    AFragment* getFragment() override { return fragment_; }
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    long positionAtX(long, int16_t* atStart) override;
    int breakClassAt(long) override { return kBreakObject; }

    // Baseline placement bits of the fragment.
    enum : uint16_t { kMiddle = 0x10, kTop = 0x20, kBottom = 0x40, kFitReserved = 0x4000 };
    // The name the bitmap is asked for by (empty: by the fragment's number).
    AString name;

private:
    // The supplier's bitmap of the picture's name, held; a missing one when it has none.
    ABitmapRef* namedBitmap(ALineRenderer* renderer);
    // The sub-image to draw; drawn may become the sheet's substitute picture.
    long subImageFor(ARunDrawContext& context, ABitmapRef*& drawn);
    static const long kSubstituteBitmap = 3;

    AFragment* fragment_;
    ABitmapRef* bitmap_;  // held
    uint16_t placement_;
};
