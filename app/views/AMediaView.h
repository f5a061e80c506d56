// The hot-spot view of media pictures: a printed page goes to one of its two
// layers only, the first or, with layerSwitch, the second, even when that
// layer is hidden; a view without that layer prints nothing of it.
#pragma once

#include "docengine/render/ARendererViews.h"

class AMediaView : public AHotspotView {
    SV_DECLARE_CLASS(AMediaView)
public:
    AMediaView() = default;
    using AHotspotView::AHotspotView;

    void drawPage(const ARect& body, long page, bool draw) override;

    int16_t layerSwitch = 0;
};
