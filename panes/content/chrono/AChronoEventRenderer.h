// The chronology's event renderer: lays out the event lines that fall in and
// around the visible stretch of the time axis as columns of picture and label
// runs, keeps them while the reader scrolls, draws and hit-tests them, and
// keeps the hovered and the selected event.
//
// Shared like every renderer. The scale is not owned. The hover and selected
// runs belong to laid-out columns and are never owned. Without a model or a
// scale nothing is laid out, drawn or hit.
#pragma once

#include <memory>

#include "docengine/render/ARenderer.h"
#include "panes/content/chrono/AChronoColumn.h"

class AChronoScale;
class ARunDisplay;

namespace ChronoBits {
// Interaction: the background shows the cross and ignores drags.
const uint16_t kCrossMode = 0x0002;
// Interaction: a drag on the background scrolls the time line.
const uint16_t kDragMode = 0x0004;
}  // namespace ChronoBits

class AChronoEventRenderer : public ARenderer {
public:
    // Virtual height over which categories and rows are placed, and its parts.
    static const long kVirtualHeight = 420;
    static const long kRowStep = 20;
    static const long kRowCycle = 5;

    // display: how runs measure and draw (null: the drawing layer's); not owned.
    explicit AChronoEventRenderer(ADisplayComponent* view, ARunDisplay* display = nullptr);
    AChronoEventRenderer(const AChronoEventRenderer& source, const ARect& frame, long scaleX, long scaleY,
                         ARenderer* parent);
    ~AChronoEventRenderer() override;

    void setModel(ADocModel* model) override;
    // The layout is made when drawing.
    void layoutFrom(long) override {}
    ARenderer* makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) override;
    void draw(const ARect& area) override;
    AHitRecord hitRecordAt(const APoint& point) override;
    ACommand* activateHit(const AHitRecord& hit) override;
    ACommand* mouseMoved(AMouseEvent& event) override;
    void trackStart(ARendererTracker& tracker) override;
    void trackMove(ARendererTracker& tracker) override;
    ACommand* trackEnd(ARendererTracker& tracker) override;
    void trackPressed(ARendererTracker& tracker) override;
    void trackInside(ARendererTracker& tracker, bool inside) override;
    void trackReleased(ARendererTracker& tracker) override { trackInside(tracker, false); }
    // The chronology has no text selection.
    bool hasSelection(bool) override { return false; }
    uint16_t hitCodeOf(AFragment* fragment, ADataRun* run, long offset) override;
    uint16_t hitKindOf(AFragment* fragment, uint16_t code) override;
    long cursorKindOf(const AHitRecord& hit) override;
    // Empties the columns; hover and selection become none without a redraw.
    void invalidateLayout() override;

    // Centres the view on position; unless index is -1, selects the label run
    // of event index of the line that starts there (none when there is no such event).
    using ARenderer::showPosition;
    void showPosition(long position, long index);
    void mouseLeft() { setHoverRun(nullptr); }
    // Hidden, the view keeps no hovered nor selected event.
    void setWindowShown(bool shown);
    // Hover and selection become none without telling the runs (the view is going).
    void forgetRuns() { hover_ = selected_ = nullptr; }

    // Lays out the visible stretch when the view's rectangle changed.
    void layout();
    void setScale(AChronoScale* scale) { scale_ = scale; }
    AChronoScale* scale() const { return scale_; }
    void setHoverRun(ADataRun* run);
    void setSelectedRun(ADataRun* run);
    // Sets or clears the selected mark of the run's event and redraws the run.
    void markRun(ADataRun* run, bool on);
    ADataRun* hoverRun() const { return hover_; }
    ADataRun* selectedRun() const { return selected_; }
    AChronoColumnArray& columns() { return columns_; }
    // The event lines laid out by the last layout (tests count them).
    long linesLaidOut() const { return linesLaidOut_; }
    // The cursor id last shown.
    long shownCursor() const { return shownCursor_; }

    long bandHeight = 50;  // kept free at the bottom for the scale

protected:
    long viewDefaultCursor() override;

private:
    ALineRenderer* lineLayer();
    ADataRun* buildRuns(ASegment* segment, long bottom, long available);
    bool holdsRun(ADataRun* run) const;
    void showCursor(long key);
    void dropRuns();

    AChronoScale* scale_ = nullptr;  // not owned
    AChronoColumnArray columns_;
    ADataRun* hover_ = nullptr;     // not owned
    ADataRun* selected_ = nullptr;  // not owned
    ARunDisplay* display_;          // not owned
    std::unique_ptr<ARunDisplay> ownDisplay_;
    ALineRenderer* lines_ = nullptr;  // one reference held: the runs' measuring context
    long linesLaidOut_ = 0;
    long shownCursor_ = 0;
};
