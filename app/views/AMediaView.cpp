// The media view's printed page.
#include "app/views/AMediaView.h"

#include <new>

SV_IMPLEMENT_CLASS(AMediaView, 0, AHotspotView)

void AMediaView::drawPage(const ARect& body, long page, bool draw) {
    if (AViewLayer* layer = layerAt(layerSwitch ? 1 : 0))
        layer->drawPage(body, page, draw);
}
