// The room online list: its key, opening a row and the restored selection.
#include "panes/search/rooms/LRSalle_NET.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/DockLCRPane.h"
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
    lcr = DockLCRPane::around(this);
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
    AppState* cur = nullptr;
    ALeftState* left = nullptr;
    if (!shownStates(cur, left))
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
            readSavedSelection(left);
        }
        app.centerListLine(listView, selFirst, selLast);
    } else {
        if (!left->fHisto && !left->fClone) {
            selLast = -2;
        } else {
            readSavedSelection(left);
        }
        SelectListRun(listView, selFirst, selLast);
    }
    listView->invalidate();
}
