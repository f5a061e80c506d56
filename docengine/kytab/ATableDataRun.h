// The data run of an inline kytab table: one run over the whole table that
// sizes the columns and rows, places and draws the cells, and answers hits,
// rectangles and regions through the cells' own renderers; with the cell
// boxes it owns and the renderer class the boxes lay their content out with.
//
// The run keeps the table's segment locked while it lives. Broken invariants
// are assertions ("kytab"); a picture number the style sheet lacks shows the
// cell's text instead.
#pragma once

#include <map>
#include <vector>

#include "docengine/lines/ADataRun.h"
#include "docengine/lines/ALineRenderer.h"

class ABitmapRef;
class ADocModel;
class AKytabCell;
class AKytabFragment;
class ATableDataRun;

// A cell's content renderer: draws on its table's background.
class AKytabCellRenderer : public ALineRenderer {
public:
    AKytabCellRenderer(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display, const ARect& frame);
};

// The layout record of one grid position; owned by its run.
class ATableCellBox {
public:
    ATableCellBox(ATableDataRun* run, AKytabCell* cell);
    virtual ~ATableCellBox();
    ATableCellBox(const ATableCellBox&) = delete;
    ATableCellBox& operator=(const ATableCellBox&) = delete;

    // Sizes the box (trial width 10000 when it has none) and lays out its content.
    void layout(ARunContext& context);
    void placeRenderer(ARunContext& context);
    void alignContent(ARunContext& context);
    void drawBackground(ARunDrawContext& context);
    void drawContent(ARunDrawContext& context);
    ARect rect() const { return ARect(x, y, x + width, y + height); }
    bool isAnchor() const;

    ATableDataRun* run;  // not owned
    AKytabCell* cell;    // not owned: the table's grid holds it
    long x, y, width, height;
    AKytabCellRenderer* renderer;           // one reference held, or null
    uint32_t textColour, fill, lineColour;  // display colours; fill 0xFFFFFF: none
    ATableCellBox* owner;                   // not owned: the anchor whose span covers this box
    ABitmapRef* picture;                    // one reference held, or null

private:
    ARect contentFrame() const;
    uint32_t displayColour(long value, uint32_t dflt, AStyleSheet* sheet) const;
};

class ATableDataRun : public ADataRun, public AEmbeddedRun {
public:
    explicit ATableDataRun(AKytabFragment* table);
    ~ATableDataRun() override;

    AFragment* getFragment() override;
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    void drawBackground(ARunDrawContext& context) override;
    bool hasBackground() override { return true; }
    long positionAtX(long px, int16_t* atStart) override;
    long xOfPosition(long position) override;
    int breakClassAt(long) override { return kBreakObject; }
    AEmbeddedRun* getCell() override { return this; }

    ARect rectOfPosition(long position) override;
    AHitRecord hitTest(const APoint& point) override;
    ARegion regionOfRange(const ARect& clip, long rangeStart, long rangeEnd, bool clipping) override;
    void moveTo(const APoint& origin, ARunContext& context) override;

    ATableCellBox* boxAt(long row, long column) const;
    AKytabFragment* table() const { return table_; }
    long gap() const;
    // A length of the markup (screen pixels) in the units of the display measured for.
    long scaled(long length) const;

    std::vector<long> rowEdges, columnEdges;
    ARect tableRect;
    std::vector<long> columnWidths;

private:
    void fixColumnWidths();
    void equaliseRowHeights();
    void mergeSpan(long row, long column);
    template <class F>
    void forEachAnchor(F f);

    AKytabFragment* table_;  // not owned: the locked segment keeps it
    long rows_, columns_;
    long scaleNumerator_, scaleDenominator_;         // of the last layout's display
    std::vector<std::vector<ATableCellBox*>> grid_;  // owned boxes
    std::map<ADocModel*, ATableCellBox*> cellIndex_;
};
