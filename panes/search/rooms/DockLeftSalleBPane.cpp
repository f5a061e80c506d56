// Room B's panes: the room's record in the index list over the result lists.
#include "panes/search/rooms/DockLeftSalleBPane.h"

#include <string>

#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"

SV_IMPLEMENT_CLASS(DockLeftSalleBPane, 0, DockLeftSallePane)
SV_IMPLEMENT_CLASS(DockLeftSalleB_DVDPane, 0, DockLeftSalleBPane)
SV_IMPLEMENT_CLASS(DockLeftSalleB_DVDNETPane, 0, DockLeftSalleBPane)

namespace {
const char kFile[] = "DockLeftSalleBPane";
}

void DockLeftSalleBPane::setUpItems() {
    DockLeftSallePane::setUpItems();
    getClients()->margin = kMargin;
    getClients()->spacing = 10;
    indexList = CheckAlloc(itemOf<SalleIndexPrec>(kIndexId), kFile, 25);
}

void DockLeftSalleBPane::arrangeClients() {
    int32_t margin = source == 1 && getClients() ? getClients()->margin : kMargin;
    placeLists(margin, indexList, discList, source == 1 ? netList : nullptr);
}

void DockLeftSalleBPane::updatePane() {
    // The disc pane keeps the mask it last had.
    ALeftState* left = startRefresh(source != 0);
    if (!left)
        return;
    if (left->fHisto || left->fClone) {
        setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
        if (source == 0)
            levels[0].value = left->getUserTxtInfo(1151);
    } else {
        levels[0].value = AString(std::to_string(left->fUserInfo.slot(1148)).c_str());
    }
    SVPane::updatePane();
    if (source == 0 && indexList && indexList->getListView())
        indexList->getListView()->becomeTarget(0);
    else if (indexList)
        indexList->becomeTarget(0);
}

void DockLeftSalleB_DVDPane::setUpItems() {
    DockLeftSalleBPane::setUpItems();
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 60);
}

void DockLeftSalleB_DVDNETPane::setUpItems() {
    DockLeftSalleBPane::setUpItems();
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 65);
    netList = CheckAlloc(itemOf<LRSalle_NET>(kNetId), kFile, 66);
}
