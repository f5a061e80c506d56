// The list renderer: a model of one segment per row (rows from a line getter)
// laid out as lines, with rows selected singly, additively or as a range,
// row backgrounds and separators, arrow-key moves by rows, mouse tracking by
// rows and select-all.
//
// Layout, drawing, scrolling and printing of the lines are the text
// renderer's; its text selection, caret and word clicks are replaced here.
//
// Shared (ARefObj). The selection is the model's marks: row r is selected
// when a mark starts at r. Without a model, keys are declined and selection
// changes nothing.
#pragma once

#include <cstdint>

#include "docengine/render/ATextRenderer.h"

class ABitmapRef;
class AListRenderer;

namespace ListOptions {
const uint16_t kMultiple = 0x0080;        // several rows may be selected
const uint16_t kTrackAlways = 0x0002;     // rows track the mouse whatever the owner says; plain text is kind 0
const uint16_t kActivateAnyRow = 0x0008;  // a release activates its row even when the press was on another
const uint16_t kAdditiveKey = 0x0004;     // the modifier bit (MK_SHIFT) that adds to the selection
}  // namespace ListOptions

// Modes of AListRenderer::selectRow.
namespace SelectMode {
const uint16_t kAdditive = 0x0001;
const uint16_t kNotify = 0x0002;
const uint16_t kToggleAnchor = 0x0004;  // the anchor row itself is toggled
}  // namespace SelectMode

// The line layer of a list: row backgrounds and separators under the runs.
class AListLineLayer : public ALineRenderer {
public:
    // owner is not owned: it owns this layer.
    AListLineLayer(AListRenderer* owner, ADocModel* model, AStyleSheet* sheet, ARunDisplay* display,
                   const ARect& frame);
    void drawLineBackground(ALine* line, const APoint& origin, const ARect& area) override;

protected:
    AListRenderer* owner_;
};

class AListRenderer : public ATextRenderer {
public:
    // display: how runs measure and draw (null: the drawing layer's display); not owned.
    explicit AListRenderer(ADisplayComponent* view, ARunDisplay* display = nullptr);
    AListRenderer(ADisplayComponent* view, const ARect& frame, ARunDisplay* display);

    // A single-selection list whose model has no mark gets row 0 marked.
    void setModel(ADocModel* model) override;
    ARenderer* makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) override;
    ACommand* moveSelection(uint16_t key, uint16_t modifiers) override;
    ARegion highlightRegion() override;
    ACommand* defaultKey() override;
    ACommand* activateHit(const AHitRecord& hit) override;
    void trackStart(ARendererTracker& tracker) override;
    void trackMove(ARendererTracker& tracker) override;
    ACommand* trackEnd(ARendererTracker& tracker) override;
    void trackPressed(ARendererTracker& tracker) override;
    void trackInside(ARendererTracker& tracker, bool on) override;
    void trackReleased(ARendererTracker& tracker) override;
    // Select-all (the view's command 35), with a model and multiple selection.
    bool canDoRendererCommand() override;
    ACommand* doRendererCommand() override;
    uint16_t hitCodeOf(AFragment* fragment, ADataRun* run, long offset) override;
    uint16_t hitKindOf(AFragment* fragment, uint16_t code) override;

    // Every selection change: modifiers are the event's key bits, mode the
    // SelectMode bits, anchor the row a drag started from (-1: none).
    void selectRow(long row, uint16_t modifiers, uint16_t mode, long anchor);
    // Makes row the only selected row and notifies.
    void setCurrentMark(long row) override { selectRow(row, 0, SelectMode::kNotify, -1); }
    // The current row: the first selected one, -1 when none.
    long currentItem() override { return markedIndex(); }
    // Brings a row into view; -2 (or any negative line): the current row, else the first.
    void showLine(long line) override;
    // Selects rows first .. first + count alone (count 0 or -1: first alone; a
    // single-selection list keeps first alone) and shows first; a negative first clears the selection.
    void selectLines(long first, long count) override;
    // The rectangle of a laid-out row in view coordinates; empty when not laid out.
    ARect rowRect(long row);
    // The row of a hit record, or -1.
    static long rowOfHit(const AHitRecord& hit);
    static long rowOfLine(ALine* line);
    // Whether the owner wants rows to follow the mouse (the framework's default: yes).
    virtual bool wantsRowTracking() { return true; }
    // Paints a line's background, the selected state and the separator (the line layer asks).
    void drawRowBackground(ALineRenderer* layer, ALine* line, const APoint& origin);
    // Rows longer than the list end with an ellipsis drawn in that style of
    // the style sheet; -1: they are cut at the edge.
    void setEdgeEllipsis(long style);

    uint16_t listOptions = 0;
    int16_t skipCheck = 0;  // nonzero: a row followed by a section start is never selected
    uint32_t selectedColour = 0xFD000000;
    uint32_t separatorColour = 0xFF000000;
    long separatorLeftInset = 0;
    long separatorRightInset = 0;
    ABitmapRef* selectedImage = nullptr;  // not owned
    ABitmapRef* rowImage = nullptr;       // not owned

protected:
    long edgeEllipsisStyle_ = -1;

    ALineRenderer* newLineLayer(ARunDisplay* display) override;
    // Whether a row may never be selected.
    virtual bool refusesRow(long row);
    // Brings a row into view (flags 0x80: the least move).
    void showRow(long row);
    // The region of the laid-out rows in [start, end).
    ARegion rowsRegion(long start, long end);
    // The hit of a row's fragment (or of the row's start), with its code and kind.
    AHitRecord hitOfRow(long row, AFragment* fragment);
    bool listTracking() { return wantsRowTracking() || (listOptions & ListOptions::kTrackAlways); }
    void copyListSettings(AListRenderer& copy) const;

private:
    long neighbourRow(long row, bool below);
};
