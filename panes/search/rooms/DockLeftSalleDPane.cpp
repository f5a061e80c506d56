// Room D's panes: one level over the index list and the result lists.
#include "panes/search/rooms/DockLeftSalleDPane.h"

#include <new>

#include "app/state/AppState.h"
#include "base/object/AError.h"
#include "docengine/render/ARendererViews.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"

SV_IMPLEMENT_CLASS(DockLeftSalleDPane, 0, DockLeftSallePane)
SV_IMPLEMENT_CLASS(DockLeftSalleD_DVDPane, 0, DockLeftSalleDPane)
SV_IMPLEMENT_CLASS(DockLeftSalleD_DVDNETPane, 0, DockLeftSalleDPane)

namespace {
const char kFile[] = "DockLeftSalleDPane";
}

void DockLeftSalleDPane::setUpItems() {
    DockLeftSallePane::setUpItems();
    if (!getPopupCallBack())
        setPopupCallBack(CheckAlloc(new (std::nothrow) APopupTreeCallBackSallePop(this, 1), kFile, 26));
    prepareLevelItems(1);
    indexList = CheckAlloc(itemOf<SalleIndexPrec>(kIndexId), kFile, 28);
}

void DockLeftSalleDPane::detachItems() {
    // Freed as room A frees its texts.
    clearPopupTexts();
    DockLeftSallePane::detachItems();
}

void DockLeftSalleDPane::bindActions() {
    DockLeftSallePane::bindActions();
    addAction(kLevel1Command, this, kLevel1Command, nullptr);
}

int16_t DockLeftSalleDPane::commandStatus(int16_t id, long argument) {
    if (id == kLevel1Command)
        return levelStatus(1);
    return DockLeftSallePane::commandStatus(id, argument);
}

ACommand* DockLeftSalleDPane::doCommand(int16_t id, long argument) {
    if (id != kLevel1Command)
        return DockLeftSallePane::doCommand(id, argument);
    openPopup(id, findItem(id, false));
    return noChangeCommand();
}

int16_t DockLeftSalleDPane::acceptClientChange(int16_t paneId, int16_t code) {
    (void)paneId, (void)code;
    return 1;
}

void DockLeftSalleDPane::openPopup(int16_t id, AComponent* button) {
    openLevelPopup(static_cast<int16_t>(id - 2020), button, getPopupCallBack());
}

void DockLeftSalleDPane::arrangeClients() {
    placeLists(kMargin, indexList, discList, source == 1 ? netList : nullptr);
}

void DockLeftSalleDPane::updatePane() {
    ALeftState* left = leftState();
    if (!left)
        return;
    savedMask = static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey));
    arrangeClients();
    loadPopupTexts();
    if (left->fHisto || left->fClone)
        restoreSavedLevels(1);
    else
        readLevelTexts();
    showLevelLabels(1);
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
