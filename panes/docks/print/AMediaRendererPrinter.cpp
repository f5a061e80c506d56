// The media printer.
#include "panes/docks/print/AMediaRendererPrinter.h"

#include <new>

#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/ASVRendererPrinter.h"

namespace {

// The caption page lays its picture and paragraphs out as the preview's caption view does.
const uint16_t kCaptionLayout = 0x4000;

// The holder at or around the printed view, then inside it.
AMediaDocHolder* FindDocHolder(AComponent* w) {
    for (AComponent* up = w; up; up = up->getParent())
        if (auto* holder = dynamic_cast<AMediaDocHolder*>(up))
            return holder;
    return nullptr;
}

}  // namespace

AString MediaCaptionMarkup(AMediaPreviewApp& app, long docNo) {
    AString text("/|/!-1!foo/\n\n");
    text += app.docLegend(docNo);
    text += "\n\n";
    text += app.docCopyright(docNo);
    return text;
}

void SetUpCaptionRenderer(ARenderer& renderer, AMediaPreviewApp& app, long docNo, const char* lead) {
    if (ABitmapSupplier* supplier = app.newDocBitmapSupplier(docNo)) {
        renderer.setBitmapSupplier(supplier);
        supplier->release();
    }
    AString text(lead);
    text += MediaCaptionMarkup(app, docNo);
    renderer.setTextModel(text.c_str(), nullptr);
    renderer.options |= kCaptionLayout;
}

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
    ADisplayComponent* w = renderer->view();
    if (options_->getLong(PrintKey::kMediaCaption) != 0)
        if (ARenderer* page = makeCaptionPage(w))
            return page;
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

ARenderer* AMediaRendererPrinter::makeCaptionPage(ADisplayComponent* w) {
    AMediaDocHolder* holder = FindDocHolder(w);
    AMediaPreviewApp* app = AMediaPreviewApp::current();
    long docNo = holder ? holder->mediaDocNo() : -1;
    if (!app || docNo < 0)
        return nullptr;
    // Made apart from the view: the view keeps showing its picture while the copy prints.
    auto* page = CheckAlloc(new (std::nothrow) AAppTextRenderer(w), "appclass", 620);
    page->addRef();
    ARenderer* copy = nullptr;
    try {
        page->sheet = 6;
        page->setStyleSheet(app->styleSheet(6));
        // The printed page starts one line down.
        SetUpCaptionRenderer(*page, *app, docNo, "\n");
        copy = page->makeDetachedCopy(innerRect(), true, nullptr);
    } catch (...) {
        page->release();
        throw;
    }
    page->release();
    return CheckAlloc(copy, "appclass", 621);
}

AMediaRendererPrinter* InstallMediaPrinter(ADisplayComponent* view, const AString& title) {
    AMediaPreviewApp* app = AMediaPreviewApp::current();
    auto* rv = dynamic_cast<ARendererView*>(view);
    ARendererLayer* layer = rv ? rv->rendererLayer() : nullptr;
    if (!app || !layer)
        ThrowAssert("appclass", 760);
    auto* printer = CheckAlloc(new (std::nothrow) AMediaRendererPrinter(app->printOptions()), "appclass", 761);
    layer->setPrinter(printer);
    AString header("/|");
    header += title;
    SetPrinterHeaderText(*printer, header, view, app->styleSheet(2));
    return printer;
}
