// The chronology's scale layer: draws what is not an event (the background
// band with its pictures, the axis line, the axis band, the year labels with
// their grid lines and the marker at the current year) and sizes the view's
// content as (length of the scale, 300).
//
// The scale is not owned; the style sheet and bitmap supplier are held. The
// background pictures become background runs kept in the layer's own column
// array. Without a scale nothing is drawn; a missing picture is left out.
#pragma once

#include <memory>
#include <vector>

#include "base/object/ASortedArray.h"
#include "docengine/lines/ADataRun.h"
#include "framework/views/ALayerView.h"
#include "panes/content/chrono/AChronoColumn.h"

class AChronoScale;
class ABitmapSupplier;
class ARunDisplay;
class AStyleSheet;

// A background picture at a place of the layer.
class AChronoBackgroundDataRun : public ADataRun {
public:
    // Holds the bitmap; width and height are the given size at (left, top).
    AChronoBackgroundDataRun(ABitmapRef* bitmap, const APoint& topLeft, const APoint& size);
    ~AChronoBackgroundDataRun() override;
    AFragment* getFragment() override { return nullptr; }
    void measure(ARunLayoutContext&) override {}
    void draw(ARunDrawContext&) override {}
    // Draws the whole bitmap on the display at its place.
    void drawOn(ARunDisplay* display);
    ARect rect() const { return ARect(int32_t(x), int32_t(top), int32_t(x + width), int32_t(top + height)); }

private:
    ABitmapRef* bitmap_;  // one reference held
    long top;
};

class AChronoScaleLayer : public AViewLayer {
public:
    static const long kContentHeight = 300;

    // display: how pictures and labels are measured and drawn (null: the drawing layer's); not owned.
    AChronoScaleLayer(AComponent* parent, int16_t id, const ASizeSpec& rule, ARunDisplay* display = nullptr);
    ~AChronoScaleLayer() override;

    void setScale(AChronoScale* scale);
    AChronoScale* scale() const { return scale_; }
    void setStyleSheet(AStyleSheet* sheet);
    void setBitmapSupplier(ABitmapSupplier* supplier);
    // Throws the background runs away (next drawing builds them again) and updates the size.
    void reset();
    void updateSize();
    // Background text, one picture per line:
    //   year , bitmap , vertical placement , horizontal alignment (LF | CR LF)
    // decimal numbers; a missing field reads 0; empty lines are skipped.
    void setBackground(const char* text);
    void placeBackground();
    void showMarker();
    void buildBackground(const ARect& visible);
    void drawBackground(const ARect& visible);
    ARect markerRect();

    long drawContent(const ARect& rect) override;
    void detachItems() override;

    long bandHeight = 30;
    long markerPosition = 0;
    bool markerShown = false;
    long entryCount() const { return static_cast<long>(entries_.size()); }
    long entryPosition(long i) const { return positions_.at(i); }
    AChronoColumnArray& columns() { return columns_; }
    // Label x positions of the last drawing (tests read them).
    std::vector<long> labelsDrawn;

private:
    struct Entry {
        long year;
        int16_t bitmap;
        int16_t vertical;
        int16_t horizontal;
    };
    ABitmapRef* bitmapOf(int16_t number);
    ARunDisplay* display();

    AChronoScale* scale_ = nullptr;  // not owned
    AStyleSheet* sheet_ = nullptr;   // one reference held
    ABitmapSupplier* supplier_ = nullptr;  // one reference held
    ARunDisplay* display_;                 // not owned
    std::unique_ptr<ARunDisplay> ownDisplay_;
    std::vector<Entry> entries_;
    std::vector<char> made_;  // entries whose run exists
    ASortedArray positions_;
    AChronoColumnArray columns_;
};
