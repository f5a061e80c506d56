// The room online list: its key, opening a row and the restored selection.
#include "panes/search/rooms/LRSalle_NET.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"
#include "panes/search/rooms/DockLeftSallePane.h"

SV_IMPLEMENT_CLASS(LRSalle_NET, 0, LRNetPane)

namespace {

const char kFile[] = "LRSalle_NET";

}  // namespace

LRSalle_NET::LRSalle_NET() : LRNetPane(1144, 1145) {}

void LRSalle_NET::readFrom(AMemoryStream& stream) {
    LRNetPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LRSalle_NET::attachItems() {
    LRNetPane::attachItems();
    frame = getFrame();
    lcr = EnclosingCentre(this);
    roomPane = EnclosingRoomPane(this, kFile, 43);
}

void LRSalle_NET::detachItems() {
    LRNetPane::detachItems();
    frame = nullptr;
    lcr = nullptr;
    roomPane = nullptr;
}

void LRSalle_NET::updatePane() {
    LRNetPane::updatePane();
    AString key = roomPane->getNetKey();
    if (key.empty())
        return;
    loadList(key.c_str());
    if (!listView)
        ThrowAssert(kFile, 133);
    ARenderer* renderer = listView->renderer();
    AppState* cur = currentState();
    ALeftState* left = leftState();
    if (!renderer || !renderer->model() || !cur || !left)
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (!cur->hasDocCadenas()) {
        if (IsFirstShowing(left)) {
            selFirst = selLast = 0;
            cur->setDocNo(app.getUrlDocNo(UnescapedKey(getLineKey(0)).c_str()));
            roomPane->saveState(left);
            if (ADocState* doc = docState())
                doc->fNew = 1;
            if (ARightState* right = rightState())
                right->fNew = 1;
        } else {
            selFirst = left->fUserInfo.slot(selFirstKey);
            selLast = left->fUserInfo.slot(selLastKey);
        }
        app.centerListLine(listView, selFirst, selLast);
    } else {
        if (!left->fHisto && !left->fClone) {
            selLast = -2;
        } else {
            selFirst = left->fUserInfo.slot(selFirstKey);
            selLast = left->fUserInfo.slot(selLastKey);
        }
        SelectListRun(listView, selFirst, selLast);
    }
    listView->invalidate();
}
