// The data runs of a chronology event: its picture and its label, the
// layout context that carries the view they redraw in, and the rectangle of a
// run in view coordinates.
//
// Runs live in a column's chain; each holds its fragment's segment locked.
// Geometry: the run's rectangle is [x, x + width) by [-ascent, -ascent +
// height): a run is laid out on baseline 0 and moved down by lowering its
// ascent. A picture or font that is missing draws nothing and is logged once.
#pragma once

#include "base/object/ARect.h"
#include "base/object/AString.h"
#include "docengine/lines/ADataRun.h"

class ADisplayComponent;
class AChronoFragment;
class AStyleFont;

// The run layout context with the component that the runs redraw in.
class AChronoLayoutContext : public ARunLayoutContext {
public:
    AChronoLayoutContext(ALineRenderer* lineRenderer, ADisplayComponent* redrawIn)
        : ARunLayoutContext(lineRenderer, nullptr), view(redrawIn) {}
    ADisplayComponent* view;  // not owned
};

ARect ChronoRunRect(const ADataRun* run);

// The event's picture: bitmap category (+ 4 when large) of the style sheet,
// or for number -1 the bitmap that the bitmap supplier has under the label.
class AChronoBmpDataRun : public ADataRun {
public:
    explicit AChronoBmpDataRun(AChronoFragment* fragment);
    ~AChronoBmpDataRun() override;

    AFragment* getFragment() override;
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    int onMouseEnter() override { return next ? next->onMouseEnter() : 0; }
    int onMouseLeave() override { return next ? next->onMouseLeave() : 0; }
    int breakClassAt(long) override { return kBreakObject; }
    ABitmapRef* bitmap() const { return bitmap_; }

private:
    AChronoFragment* fragment_;
    ABitmapRef* bitmap_ = nullptr;  // one reference held, or null
};

// The event's label, drawn in the highlight font and colours while the event
// is selected or hovered.
class AChronoTextDataRun : public ADataRun {
public:
    explicit AChronoTextDataRun(AChronoFragment* fragment);
    ~AChronoTextDataRun() override;

    AFragment* getFragment() override;
    void measure(ARunLayoutContext& context) override;
    void draw(ARunDrawContext& context) override;
    int onMouseEnter() override { return hover(true); }
    int onMouseLeave() override { return hover(false); }
    uint32_t colourInUse() const { return inUse_; }

private:
    AStyleFont* currentFont() const;
    int hover(bool on);

    AChronoFragment* fragment_;
    AString label_;
    AStyleFont* font_ = nullptr;       // one reference held
    AStyleFont* hiliteFont_ = nullptr;  // one reference held
    uint32_t colour_ = 0;
    uint32_t hiliteColour_ = 0;
    uint32_t inUse_ = RunColour::kRendererDefault;
    uint32_t boxColour_ = 0;
    long labelAscent_ = 0;
    ADisplayComponent* view_ = nullptr;  // not owned
};
