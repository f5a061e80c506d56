// The media window's right dock: its state, width and the panel's openings.
#include "panes/content/media/MediaDockRightPane.h"

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/display/ADisplayServices.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaPane.h"
#include "panes/docks/right/ARightDockApp.h"

SV_IMPLEMENT_CLASS(MediaDockRightPane, 0, AppDockRightPane)
SV_IMPLEMENT_CLASS(MediaDockRightArtPane, 0, DockRightArtPane)
SV_IMPLEMENT_CLASS(LR_EnsembleMedia, 0, LR_Ensemble)
SV_IMPLEMENT_CLASS(LR_DocLinkMedia, 0, LR_DocLink)
SV_IMPLEMENT_CLASS(LR_ThemeMedia, 0, LR_Theme)
SV_IMPLEMENT_CLASS(LR_LinkNetMedia, 0, LR_LinkNet)
SV_IMPLEMENT_CLASS(LR_SalleMedia, 0, LR_Salle)

AppState* MediaStateOf(AComponent* component) {
    MediaPane* pane = CheckAlloc(FindEnclosing<MediaPane>(component), "MediaDockRightPane", 20);
    return pane->currentState();
}

void MediaDockRightPane::attachItems() {
    AppDockRightPane::attachItems();
    mediaPane_ = CheckAlloc(FindEnclosing<MediaPane>(this), "MediaDockRightPane", 30);
}

ACommand* MediaDockRightPane::doCommand(int16_t id, long argument) {
    if (id != kHideId && id != kShowId)
        return AppDockRightPane::doCommand(id, argument);
    setWidthMode(id == kShowId ? 1 : 0);
    ADisplayServices::current().flushLayouts();
    queueUpdate(0);
    return noChangeCommand();
}

void MediaDockRightPane::updatePane() {
    AppState* state = currentState();
    ARightState* right = state ? state->getRightState() : nullptr;
    hasExt_ = 0;
    if (!right || right->fClone)
        return;
    long docNo = state->getRightDocNo();
    if (docNo < 0) {
        right->fExpand = 0;
        setWidthMode(0);
        queueUpdate(0);
        return;
    }
    locked_ = right->fCadenas;
    AMediaApp& app = AMediaApp::current();
    if (!locked_)
        right->fExpand = hasExt_ = ARightDockApp::current().getDocRefInfo(docNo).hasAnyInfo() ? 1 : 0;
    setWidthMode(right->fExpand ? 1 : 0);
    SVPane::updatePane();
    right->clearFlags();
    // Videos and animations, and readers who asked for it, keep the dock narrow.
    int16_t icon = app.getDocIconType(docNo);
    setWidthMode((icon >= 8 && icon <= 11) || app.hidesMediaExtensions() ? 0 : 1);
    queueUpdate(0);
}

void MediaDockRightPane::setWidthMode(int16_t mode) {
    if (mode == widthMode_ || !mediaPane_) {
        showHeaders(mode);
        return;
    }
    widthMode_ = mode;
    AClusterItem* areaItem = mediaPane_->findItem(kMediaArea, false);
    AClusterItem* placeItem = mediaPane_->findItem(kDockPlace, false);
    auto* area = CheckAlloc(areaItem ? dynamic_cast<AStaticItem*>(areaItem) : nullptr, "MediaDockRightPane", 80);
    auto* place = CheckAlloc(placeItem ? dynamic_cast<AStaticItem*>(placeItem) : nullptr, "MediaDockRightPane", 81);
    long step = mode == 1 ? -(wideWidth_ - narrowWidth_) : wideWidth_ - narrowWidth_;
    ASizeSpec areaRule = area->getSizeSpec(), placeRule = place->getSizeSpec();
    areaRule.edges[2].value += step;
    placeRule.edges[0].value += step;
    showHeaders(mode);
    area->setSizeSpec(areaRule, true);
    place->setSizeSpec(placeRule, true);
    ADisplayServices::current().flushLayouts();
}

void MediaDockRightArtPane::openDocument(long doc) {
    AMediaApp& app = AMediaApp::current();
    if (app.docIsMedia(doc)) {
        app.openMediaWindow(doc, 0, 1);
        queueUpdate(0);
    } else {
        app.showDocument(doc);
    }
}
