// The application's answers to the list panes.
#include "app/lists/AListApp.h"

#include "app/data/ADataManager.h"
#include "app/lists/ALoLineGetter.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "search/facade/ASearchBase.h"

namespace {

AListApp* gInstalled = nullptr;

// The LINKS base in the application's descriptor table.
const int16_t kLinksBase = 4;

}  // namespace

AListApp& AListApp::current() {
    static AListApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void AListApp::install(AListApp* app) {
    gInstalled = app;
}

AStyleSheet* AListApp::getStyleSheet(long n) {
    return sheets ? sheets->getSheet(n) : nullptr;
}

AListRenderer* AListApp::createListRenderer(ARendererView* view, int16_t option, int16_t sheet) {
    if (!view || !view->rendererLayer())
        return nullptr;
    auto* renderer = new AListRenderer(view->rendererLayer());
    renderer->addRef();
    // The option word names no setting the list renderer has: it is kept for the callers' sake.
    (void)option;
    renderer->options = displayOptions;
    if (AStyleSheet* style = getStyleSheet(sheet))
        renderer->setStyleSheet(style);
    view->rendererLayer()->setRenderer(renderer);
    renderer->release();
    return renderer;
}

AString AListApp::getLinkRecord(long n, long m) {
    (void)n;
    ASearchBase* links = gDataManager ? gDataManager->getBase(kLinksBase) : nullptr;
    return links ? links->getText(0, m, 1) : AString();
}

SortableLineGetter* AListApp::newResultLineGetter(ALo* lo) {
    return lo ? new ALoLineGetter(lo) : nullptr;
}
