// Room D's panes: one level over the index list and the result lists.
#include "panes/search/rooms/DockLeftSalleDPane.h"

#include <new>

#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"

SV_IMPLEMENT_CLASS(DockLeftSalleDPane, 0, DockLeftSalleLevelPane)
SV_IMPLEMENT_CLASS(DockLeftSalleD_DVDPane, 0, DockLeftSalleDPane)
SV_IMPLEMENT_CLASS(DockLeftSalleD_DVDNETPane, 0, DockLeftSalleDPane)

namespace {
const char kFile[] = "DockLeftSalleDPane";
}

void DockLeftSalleDPane::setUpItems() {
    DockLeftSalleLevelPane::setUpItems();
    if (!getPopupCallBack())
        setPopupCallBack(CheckAlloc(new (std::nothrow) APopupTreeCallBackSallePop(this, 1), kFile, 26));
    prepareLevelItems(1);
    indexList = CheckAlloc(itemOf<SalleIndexPrec>(kIndexId), kFile, 28);
}

void DockLeftSalleDPane::openPopup(int16_t id, AComponent* button) {
    openLevelPopup(static_cast<int16_t>(id - 2020), button, getPopupCallBack());
}

void DockLeftSalleDPane::arrangeClients() {
    placeLists(kMargin, indexList, discList, source == 1 ? netList : nullptr);
}

void DockLeftSalleDPane::updatePane() {
    ALeftState* left = startRefresh(true);
    if (!left)
        return;
    showLevels(left);
    SVPane::updatePane();
    if (source == 0 && indexList && indexList->getListView())
        indexList->getListView()->becomeTarget(0);
    else if (levels[0].item)
        levels[0].item->becomeTarget(0);
}

void DockLeftSalleD_DVDPane::setUpItems() {
    DockLeftSalleDPane::setUpItems();
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 90);
}

void DockLeftSalleD_DVDNETPane::setUpItems() {
    DockLeftSalleDPane::setUpItems();
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 95);
    netList = CheckAlloc(itemOf<LRSalle_NET>(kNetId), kFile, 96);
}
