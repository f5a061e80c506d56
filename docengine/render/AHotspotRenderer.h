// The hotspot renderer: clickable rectangular regions over a picture. Its
// model's first segment is not a region; each later segment's first fragment
// is an area fragment whose rectangle and type make one region. It outlines
// the regions on request, shows a marker picture centred on a region, and
// either activates regions on a click, pans the view on a drag, or ignores
// drags (cross mode).
//
// Shared like every renderer. The region list keeps the regions' segments
// locked until the next relayout. Points and rectangles are view pixels.
#pragma once

#include <memory>

#include "docengine/render/ARenderer.h"
#include "framework/graphics/AImage.h"

class AFragmentArea;

namespace HotspotBits {
// Interaction: drags outside regions are ignored and show the cross.
const uint16_t kCrossMode = 0x0002;
// Interaction: drags outside regions scroll the view.
const uint16_t kPanMode = 0x0004;
// Options: regions are outlined in their type's colour.
const uint16_t kOutlines = 0x0008;
}  // namespace HotspotBits

class AHotspotRenderer : public ARenderer {
public:
    // view is required ("grender"); starts in region mode with a pick margin of 16.
    explicit AHotspotRenderer(ADisplayComponent* view);
    // The renderer copy with source's pick margin and marker picture, no regions and no marker.
    AHotspotRenderer(const AHotspotRenderer& source, const ARect& frame, long scaleX, long scaleY, ARenderer* parent);
    ~AHotspotRenderer() override;

    void layoutFrom(long code) override;
    ARenderer* makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) override;
    void draw(const ARect& area) override;
    AHitRecord hitRecordAt(const APoint& point) override;
    void drawHighlight(bool on) override;
    ACommand* activateHit(const AHitRecord& hit) override;
    ACommand* mouseMoved(AMouseEvent& event) override;
    void trackStart(ARendererTracker& tracker) override;
    void trackMove(ARendererTracker& tracker) override;
    ACommand* trackEnd(ARendererTracker& tracker) override;
    void trackPressed(ARendererTracker& tracker) override;
    void trackInside(ARendererTracker& tracker, bool pressed) override;
    void trackReleased(ARendererTracker& tracker) override { trackInside(tracker, false); }
    // Printing keeps the base's answers: a printed view is the one page its
    // picture fills, never as many as the print range allows.
    bool hasSelection(bool whole) override {
        (void)whole;
        return false;
    }
    uint16_t hitCodeOf(AFragment* fragment, ADataRun* run, long offset) override;
    uint16_t hitKindOf(AFragment* fragment, uint16_t code) override;
    long cursorKindOf(const AHitRecord& hit) override;
    void invalidateLayout() override;

    // Half-width of the square in which a press outside every region stays a click.
    void setPickMargin(long margin) { pickMargin_ = margin; }
    long pickMargin() const { return pickMargin_; }
    // Centres the view on region number count (1 is the first); without a
    // marker picture the mouse pointer moves there, with one the marker does.
    void showRegion(long index, long count);
    // Centres the marker picture's first sub-image on point (nothing without a picture).
    void moveMarker(const APoint& point);
    void clearMarker();
    // A grid of two frames: the marker, and the marker while the highlight is drawn.
    void setMarkerPicture(const AImageSpec& spec);
    AImage* markerPicture() const { return marker_.get(); }
    const ARect& markerRect() const { return markerRect_; }
    // The regions in document order (null before layout).
    AFragmentArea* regions() const { return regions_; }
    // The cursor id last shown (tests read it).
    long shownCursor() const { return shownCursor_; }

protected:
    long viewDefaultCursor() override;

private:
    void setCursorTable();
    void showCursor(long key);

    AFragmentArea* regions_ = nullptr;  // owned list
    long pickMargin_ = 16;
    ARect markerRect_;
    std::unique_ptr<AImage> marker_;
    long shownCursor_ = 0;
};
