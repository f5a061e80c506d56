// The online result list: opening an address, the restored selection.
#include "panes/search/left/LR_NET.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_NET, 0, LRNetPane)

namespace {

const char kFile[] = "LR_NET";
const int16_t kWebPage = 8;

}  // namespace

LR_NET::LR_NET() : LRNetPane(1012, 1013) {}

void LR_NET::readFrom(AMemoryStream& stream) {
    LRNetPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_NET::attachItems() {
    LRNetPane::attachItems();
    searchPane = EnclosingSearchPane(this, kFile, 57);
}

void LR_NET::detachItems() {
    LRNetPane::detachItems();
    searchPane = nullptr;
}

void LR_NET::updatePane() {
    LRNetPane::updatePane();
    AString name = searchPane->getNetResultName();
    if (name.empty())
        return;
    loadList(name.c_str());
    if (!listView)
        ThrowAssert(kFile, 129);
    ARenderer* renderer = listView->renderer();
    if (!renderer || !renderer->model())
        return;
    AppState* cur = currentState();
    ALeftState* left = leftState();
    if (!cur)
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    bool docLocked = cur->hasDocCadenas();
    long openRequest = left ? left->fUserInfo.slot(1004) : 0;
    if (!docLocked && left) {
        if (left->fNew) {
            selFirst = selLast = 0;
            searchPane->saveState(left);
            if (ADocState* doc = docState())
                doc->fNew = 1;
            if (ARightState* right = rightState())
                right->fNew = 1;
        } else {
            selFirst = left->fUserInfo.slot(1012);
            selLast = left->fUserInfo.slot(1013);
        }
        // A tree opened whole for its only category stays open; others start folded.
        if (!singleCategory)
            renderer->model()->collapseAll(0);
        app.centerListLine(listView, selFirst, selLast);
        if (openRequest) {
            long n = app.getUrlDocNo(UnescapedKey(getLineKey(selLast > 0 ? selLast : 0)).c_str());
            if (n > -1) {
                AppState* state = getFrame()->makeNavState(1, 0, 0, 1, -1, kWebPage, cur->getScreenMode());
                state->setDocNo(n);
                goToState(state);
            }
        }
    } else if (docLocked) {
        if (left && !left->fHisto && !left->fClone) {
            selLast = -2;
        } else if (left) {
            selFirst = left->fUserInfo.slot(1012);
            selLast = left->fUserInfo.slot(1013);
        }
        SelectListRun(listView, selFirst, selLast);
        if (selLast < 0)
            cur->fTemporaire = cur->fLink == 0 ? 1 : 0;
    }
    listView->invalidate();
    getFrame()->setActiveListPane(nullptr);
}
