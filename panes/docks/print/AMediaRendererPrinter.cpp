// The media printer.
#include "panes/docks/print/AMediaRendererPrinter.h"

#include "base/object/AError.h"
#include "docengine/render/ARendererViews.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/ASVRendererPrinter.h"

int16_t AMediaRendererPrinter::preparePass(int16_t pass, ARenderer* renderer) {
    if (pass != 0 || !renderer)
        return 0;
    setRenderer(renderer);
    return 1;
}

long AMediaRendererPrinter::prepare(const ARect& pageRect, ARenderer* renderer) {
    ARendererPrinter::prepare(pageRect, nullptr);
    if (!preparePass(0, renderer))
        return 0;
    return printedRenderer()->preparePrint(innerRect(), selectionOnly);
}

ARect AMediaRendererPrinter::headerRect(const ARect& pageRect, ARenderer* header) {
    ARect r = ARendererPrinter::headerRect(pageRect, header);
    r.second.y += 4;
    return r;
}

void AMediaRendererPrinter::drawHeader(ARenderer* header) {
    DrawHeaderWithRule(header);
}

ARenderer* AMediaRendererPrinter::makePrintedRenderer(ARenderer* renderer) {
    if (!renderer || !renderer->view())
        ThrowAssert("appclass", 600);
    if (!options_)
        ThrowAssert("appclass", 601);
    // The caption page of key 10 needs the application's caption renderer and
    // media pane: until they exist the image view prints as it is.
    ADisplayComponent* w = renderer->view();
    AComponent* found = w->findDescendant(&AHotspotView::classRecord, nullptr);
    if (!found)
        for (AComponent* up = w; up && !found; up = up->getParent())
            if (up->castTo(&AHotspotView::classRecord))
                found = up;
    auto* image = CheckAlloc(found ? static_cast<AHotspotView*>(found->castTo(&AHotspotView::classRecord)) : nullptr,
                             "appclass", 610);
    if (image->layerCount() > 0)
        image->setLayerState(0, 0);
    return renderer;
}
