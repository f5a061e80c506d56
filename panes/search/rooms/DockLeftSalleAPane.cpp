// Room A's panes: two chained levels over the index list and the result lists.
#include "panes/search/rooms/DockLeftSalleAPane.h"

#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"

SV_IMPLEMENT_CLASS(DockLeftSalleAPane, 0, DockLeftSalleLevelPane)
SV_IMPLEMENT_CLASS(DockLeftSalleA_DVDPane, 0, DockLeftSalleAPane)
SV_IMPLEMENT_CLASS(DockLeftSalleA_NETPane, 0, DockLeftSalleAPane)
SV_IMPLEMENT_CLASS(DockLeftSalleA_DVDNETPane, 0, DockLeftSalleAPane)

namespace {
const char kFile[] = "DockLeftSalleAPane";
}

void DockLeftSalleAPane::setUpItems() {
    DockLeftSalleLevelPane::setUpItems();
    prepareLevelItems(2);
    getClients()->margin = kMargin;
    getClients()->spacing = 10;
    indexList = CheckAlloc(itemOf<SalleIndexPrec>(kIndexId), kFile, 30);
}

void DockLeftSalleAPane::arrangeClients() {
    if (source == 1)  // the both-sources pane keeps the margins of its set-up
        placeLists(getClients() ? getClients()->margin : kMargin, indexList, discList, netList);
    else
        placeLists(kMargin, indexList, source == 2 ? static_cast<ListPane*>(netList) : discList, nullptr);
}

void DockLeftSalleAPane::updatePane() {
    ALeftState* left = startRefresh(true);
    if (!left)
        return;
    if (source != 2)
        showLevels(left);
    else if (left->fHisto || left->fClone)
        setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
    SVPane::updatePane();
    if (levels[0].item)
        levels[0].item->becomeTarget(0);
}

void DockLeftSalleA_DVDPane::setUpItems() {
    DockLeftSalleAPane::setUpItems();
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 100);
}

void DockLeftSalleA_NETPane::setUpItems() {
    DockLeftSalleAPane::setUpItems();
    netList = CheckAlloc(itemOf<LRSalle_NET>(kNetId), kFile, 105);
}

void DockLeftSalleA_DVDNETPane::setUpItems() {
    DockLeftSalleAPane::setUpItems();
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 110);
    netList = CheckAlloc(itemOf<LRSalle_NET>(kNetId), kFile, 111);
}
