// The application's answers to the list panes.
#include "app/lists/AListApp.h"

#include <algorithm>
#include <new>

#include "app/data/ADataManager.h"
#include "app/data/AppDataManager.h"
#include "app/lists/ALoLineGetter.h"
#include "app/results/ASVClusters.h"
#include "app/state/ABaseState.h"
#include "base/object/AFolderSpecs.h"
#include "base/procedural/AError.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/render/AHotspotRenderer.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATileRenderer.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"

namespace {

AListApp* gInstalled = nullptr;

// The LINKS base in the application's descriptor table.
const int16_t kLinksBase = 4;

// The application's rows act as links: a press selects the row, the release
// on it records the link's hit and tells the owner, which reads the
// document from the hit (a row-tracking click would tell before any hit).
class AAppListRenderer : public AListRenderer {
public:
    using AListRenderer::AListRenderer;
    bool wantsRowTracking() override { return false; }
};

}  // namespace

AListApp::~AListApp() {
    ReleaseAndNull(themes);
    ReleaseAndNull(themeProvider);
}

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
    auto* renderer = new AAppListRenderer(view->rendererLayer());
    renderer->addRef();
    // The option word names no setting the list renderer has: it is kept for the callers' sake.
    (void)option;
    // Added to the list's own options: replacing them would drop the filled
    // rows, and a selected row would show as a bare caret.
    renderer->options |= displayOptions;
    if (AStyleSheet* style = getStyleSheet(sheet))
        renderer->setStyleSheet(style);
    // A title wider than its list (the narrow left dock) says it goes on.
    renderer->setEdgeEllipsis(0);
    view->rendererLayer()->setRenderer(renderer);
    renderer->release();
    return renderer;
}

ATileRenderer* AListApp::createTileRenderer(ARendererView* view, int16_t sheet) {
    if (!view || !view->rendererLayer())
        return nullptr;
    auto* renderer = new ATileRenderer(view->rendererLayer());
    renderer->addRef();
    renderer->options = displayOptions;
    if (AStyleSheet* style = getStyleSheet(sheet))
        renderer->setStyleSheet(style);
    view->rendererLayer()->setRenderer(renderer);
    renderer->release();
    return renderer;
}

AHotspotRenderer* AListApp::createHotspotRenderer(ARendererView* view) {
    if (!view || !view->rendererLayer())
        return nullptr;
    auto* renderer = new AHotspotRenderer(view->rendererLayer());
    renderer->addRef();
    view->rendererLayer()->setRenderer(renderer);
    renderer->release();
    return renderer;
}

AString AListApp::getHighlightQuery(int16_t* hasExpression) {
    if (hasExpression)
        *hasExpression = 0;
    return AString();
}

AString AListApp::getLinkRecord(long n, long m) {
    (void)n;
    ASearchBase* links = gDataManager ? gDataManager->getBase(kLinksBase) : nullptr;
    return links ? links->getText(0, m, 1) : AString();
}

ALo* AListApp::getCategoryList(int16_t k) {
    if (!gAppDataManager || k < 1 || k > 6)
        return nullptr;
    return gAppDataManager->getFilterList(k);
}

ASVLineClusterer* AListApp::getThemeClusterer() {
    if (!themes) {
        // The group headings are the names of the upper themes.
        ASearchBase* glb = gDataManager ? gDataManager->getBase(1) : nullptr;
        AString tree;
        try {
            tree = glb ? glb->getText(3, 0, 1) : AString();
        } catch (const AError&) {
            tree = AString();  // without a theme tree every row falls under "Autres"
        }
        themes = CheckAlloc(new (std::nothrow) ASVLineClusterer(ThemeGroupDefinition(tree.c_str()).c_str()), "layout",
                            1490);
        themes->addRef();
    }
    return themes;
}

ASVClusterIDProvider* AListApp::getClusterIDProvider() {
    if (!themeProvider) {
        ASearchBase* glb = gDataManager ? gDataManager->getBase(1) : nullptr;
        themeProvider = CheckAlloc(new (std::nothrow) ASVClusterIDProvider(glb), "layout", 1491);
        themeProvider->addRef();
    }
    return themeProvider;
}

AFileSpec AListApp::getTempDir() {
    return AAppTempFolderSpec();
}

SortableLineGetter* AListApp::newResultLineGetter(ALo* lo) {
    return lo ? new ALoLineGetter(lo) : nullptr;
}

namespace {

// The first and last shown rows; false when nothing is laid out.
bool ShownRows(ARenderer* renderer, long& top, long& bottom) {
    ADocRange first{-1, -1}, last{-1, -1};
    if (!renderer->visibleLineRange(true, first) || !renderer->visibleLineRange(false, last))
        return false;
    top = first.start;
    bottom = last.start;
    return true;
}

}  // namespace

void AListApp::centerListLine(ARendererView* view, long first, long last) {
    ARenderer* renderer = view ? view->renderer() : nullptr;
    if (!renderer || !renderer->model())
        return;
    // Selecting brings the line in by the least move: whether it was shown is asked first.
    long top = 0, bottom = 0;
    bool outside = first >= 0 && ShownRows(renderer, top, bottom) && (first < top || first > bottom);
    renderer->selectLines(first, last - first);
    if (outside)
        scrollListToLine(renderer, first);
}

void AListApp::scrollListToLine(ARenderer* renderer, long line) {
    if (!renderer || !renderer->model() || line < 0)
        return;
    long top = 0, bottom = 0;
    long half = ShownRows(renderer, top, bottom) ? (bottom - top) / 2 : 0;
    renderer->scrollToPosition(std::max(0L, line - half));
}

void AListApp::saveListPosition(ARenderer* renderer, ABaseState* part, int16_t key1, int16_t key2) {
    if (!renderer || !part)
        return;
    part->fUserInfo.slot(key1) = std::max(0L, renderer->currentPosition());
    part->fUserInfo.slot(key2) = std::max(-1L, renderer->selectionStart()) + 1;
}

void AListApp::restoreListPosition(ARenderer* renderer, ABaseState* part, int16_t key1, int16_t key2,
                                   int16_t onlyWhenNotNew, int16_t redraw) {
    if (!renderer || !part || !renderer->model() || (onlyWhenNotNew && part->fNew))
        return;
    long top = part->fUserInfo.slot(key1);
    long selected = part->fUserInfo.slot(key2) - 1;
    renderer->selectLines(selected >= 0 ? selected : -1, 0);
    renderer->scrollToPosition(std::max(0L, top));
    if (redraw)
        renderer->view()->invalidate();
}

void AListApp::setRowSpacing(ARenderer* renderer, long height, long gap) {
    auto* list = dynamic_cast<ATextRenderer*>(renderer);
    if (!list || !list->lines())
        return;
    list->lines()->minLineHeight = height;
    list->lines()->lineSpacing = gap;
    list->invalidateLayout();
}
