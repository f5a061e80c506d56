// The atlas title bar: the map's controls.
#include "panes/docks/top/DockTopAtlasPane.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/top/ATopDockApp.h"
#include "panes/docks/top/ATopDockViews.h"

SV_IMPLEMENT_CLASS(DockTopAtlasPane, 0, DockTopTitlePane)

namespace {

const int16_t kMapModeKey = 1066;
const int16_t kReferenceKey = 1310;
const int16_t kBoundIds[] = {3012, 3140, 3141, 3142, 3143, 3144, 3145, 3146, 3147, 3148, 3151};

}  // namespace

void DockTopAtlasPane::readFrom(AMemoryStream& stream) {
    DockTopTitlePane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopAtlasPane", 21);
}

void DockTopAtlasPane::setUpItems() {
    DockTopTitlePane::setUpItems();
    setItemHelp(3146, 6007, 38, 0);
    setItemHelp(3147, 6007, 39, 0);
}

void DockTopAtlasPane::bindActions() {
    DockTopTitlePane::bindActions();
    for (int16_t id : kBoundIds)
        addAction(id, this, id, nullptr);
}

void DockTopAtlasPane::updatePane() {
    DockTopTitlePane::updatePane();
    if (AppState* state = currentState())
        showTitle(ATopDockApp::current().getDocTitle(state->getDocNo()));
}

bool DockTopAtlasPane::mapMode() {
    AppState* state = currentState();
    return state && state->getUserInfo(kMapModeKey) == 1;
}

void DockTopAtlasPane::showButton(int16_t id, bool show) {
    if (AClusterItem* item = findItem(id, false))
        item->setVisible(show);
}

void DockTopAtlasPane::goToFrame(int16_t frame) {
    AppState* state = currentState();
    if (!mapView_ || !state)
        return;
    state->fNumFrame = frame;
    mapView_->gotoFrame(frame);
    queueUpdate(0);
}

// The document numbers of field 7 ("first:second") of the map's record.
int16_t DockTopAtlasPane::linkedDocStatus(bool first) {
    AppState* state = currentState();
    if (!state)
        return 2;
    ADocRefInfo info = ATopDockApp::current().getDocRefInfo(state->getDocNo());
    return (first ? info.fField7First : info.fField7Second) >= 0 ? 1 : 2;
}

int16_t DockTopAtlasPane::backStatus() {
    AppState* state = currentState();
    bool ok = state && state->fLink && getFrame()->canGoBack() && state->fSalle != 4 &&
              state->getUserInfo(kReferenceKey) >= 0;
    showButton(3151, ok);
    return ok ? 1 : 2;
}

// Steps back until the reference document shows or the history has no
// earlier state.
void DockTopAtlasPane::backToReference() {
    Frame1* frame = getFrame();
    AppState* state = currentState();
    if (!state)
        return;
    long reference = state->getUserInfo(kReferenceKey);
    while (state && reference >= 0 && state->getDocNo() != reference && frame->canGoBack()) {
        frame->goBack(1);
        state = frame->currentState();
    }
}

ACommand* DockTopAtlasPane::doCommand(int16_t id, long argument) {
    AppState* state = currentState();
    switch (id) {
    case 3140:
    case 3141: goToFrame(0); break;
    case 3142: goToFrame(1); break;
    case 3143: goToFrame(2); break;
    case 3144:
    case 3145:
        if (state) {
            ADocRefInfo info = ATopDockApp::current().getDocRefInfo(state->getDocNo());
            long docNo = id == 3144 ? info.fField7First : info.fField7Second;
            if (docNo >= 0)
                ATopDockApp::current().openMediaWindow(docNo, 0, 0);
        }
        break;
    case 3146:
    case 3147:
        if (mapView_) {
            mapView_->zoomStep(id == 3146 ? 1 : 0);
            queueUpdate(0);
        }
        break;
    case 3148:
        if (mapView_) {
            mapView_->resetZoom(1);
            queueUpdate(0);
        }
        break;
    case 3151: backToReference(); break;
    default: return DockTopTitlePane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DockTopAtlasPane::commandStatus(int16_t id, long argument) {
    AppState* state = currentState();
    int16_t frame = state ? state->fNumFrame : -1;
    switch (id) {
    case 3140:
        showButton(3140, mapMode());
        return mapMode() ? (frame == 0 ? 5 : 1) : 2;
    case 3141:
        showButton(3141, !mapMode());
        return mapMode() ? 2 : (frame == 0 ? 5 : 1);
    case 3142:
        if (mapMode())
            return 2;
        return frame == 1 ? 5 : 1;
    case 3143:
        if (!state)
            return 2;
        return frame == (mapMode() ? 1 : 2) ? 5 : 1;
    case 3144: return linkedDocStatus(true);
    case 3145: return linkedDocStatus(false);
    case 3146: return mapView_ && mapView_->canZoom(1) ? 1 : 2;
    case 3147: return mapView_ && mapView_->canZoom(0) ? 1 : 2;
    case 3148: return !mapView_ || mapView_->zoomPosition() == 1 ? 2 : 1;
    case 3151: return backStatus();
    default: return DockTopTitlePane::commandStatus(id, argument);
    }
}
