// What the top dock's title bars ask of the centre's views: the article view
// for the article bar, the map's movie pane for the atlas bar. The centre
// arrangement hands its views to the bars (DockTopKycfPane::setArticleView,
// DockTopAtlasPane::setMapView); a bar without its view leaves those
// commands unavailable.
#pragma once

#include <cstdint>

// The article view of the centre.
class ATopArticleView {
public:
    virtual ~ATopArticleView() = default;
    // Re-arranges the view by the document part's user-info entry 2.
    virtual void applySplitMode() = 0;
    // Highlight flag: 0 hits highlighted, 1 not.
    virtual void setViewStyles(int16_t highlightOff) = 0;
    // +1, -1, or 0 back to the initial size; a step beyond the limits beeps.
    virtual void changeFontSize(int16_t step) = 0;
    virtual bool canReduceFont() = 0;
    virtual bool canEnlargeFont() = 0;
    virtual bool isFontChanged() = 0;
    virtual void toggleMedia() = 0;
    virtual int16_t mediaFlag() = 0;
    virtual int16_t hasSearchHits() = 0;
    virtual int16_t hasPreviousHit() = 0;
    virtual int16_t hasNextHit() = 0;
    virtual void showPreviousHit() = 0;
    virtual void showNextHit() = 0;
};

// The movie pane that plays an atlas map.
class ATopMapView {
public:
    virtual ~ATopMapView() = default;
    virtual void gotoFrame(int16_t frame) = 0;
    // direction 1 enlarges, 0 reduces.
    virtual bool canZoom(int16_t direction) = 0;
    virtual void zoomStep(int16_t direction) = 0;
    virtual void resetZoom(int16_t position) = 0;
    virtual int16_t zoomPosition() = 0;
};
