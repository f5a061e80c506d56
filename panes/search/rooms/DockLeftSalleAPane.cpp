// Room A's panes: two chained levels over the index list and the result lists.
#include "panes/search/rooms/DockLeftSalleAPane.h"

#include <new>

#include "app/state/AppState.h"
#include "base/object/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"

SV_IMPLEMENT_CLASS(DockLeftSalleAPane, 0, DockLeftSallePane)
SV_IMPLEMENT_CLASS(DockLeftSalleA_DVDPane, 0, DockLeftSalleAPane)
SV_IMPLEMENT_CLASS(DockLeftSalleA_NETPane, 0, DockLeftSalleAPane)
SV_IMPLEMENT_CLASS(DockLeftSalleA_DVDNETPane, 0, DockLeftSalleAPane)

namespace {
const char kFile[] = "DockLeftSalleAPane";
}

void DockLeftSalleAPane::setUpItems() {
    DockLeftSallePane::setUpItems();
    prepareLevelItems(2);
    getClients()->margin = kMargin;
    getClients()->spacing = 10;
    indexList = CheckAlloc(itemOf<SalleIndexPrec>(kIndexId), kFile, 30);
}

void DockLeftSalleAPane::detachItems() {
    clearPopupTexts();
    DockLeftSallePane::detachItems();
}

void DockLeftSalleAPane::bindActions() {
    DockLeftSallePane::bindActions();
    addAction(kLevel1Command, this, kLevel1Command, nullptr);
    addAction(kLevel2Command, this, kLevel2Command, nullptr);
}

int16_t DockLeftSalleAPane::commandStatus(int16_t id, long argument) {
    if (id == kLevel1Command || id == kLevel2Command)
        return levelStatus(static_cast<int16_t>(id - 2020));
    return DockLeftSallePane::commandStatus(id, argument);
}

ACommand* DockLeftSalleAPane::doCommand(int16_t id, long argument) {
    if (id != kLevel1Command && id != kLevel2Command)
        return DockLeftSallePane::doCommand(id, argument);
    openPopup(id, findItem(id, false));
    return noChangeCommand();
}

int16_t DockLeftSalleAPane::acceptClientChange(int16_t paneId, int16_t code) {
    (void)paneId, (void)code;
    return 1;
}

void DockLeftSalleAPane::openPopup(int16_t id, AComponent* button) {
    auto k = static_cast<int16_t>(id - 2020);
    setPopupCallBack(CheckAlloc(new (std::nothrow) APopupTreeCallBackSallePop(this, k), kFile, 62));
    openLevelPopup(k, button, getPopupCallBack());
}

void DockLeftSalleAPane::arrangeClients() {
    if (source == 1)  // the both-sources pane keeps the margins of its set-up
        placeLists(getClients() ? getClients()->margin : kMargin, indexList, discList, netList);
    else
        placeLists(kMargin, indexList, source == 2 ? static_cast<ListPane*>(netList) : discList, nullptr);
}

void DockLeftSalleAPane::updatePane() {
    ALeftState* left = leftState();
    if (!left)
        return;
    savedMask = static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey));
    arrangeClients();
    bool restored = left->fHisto || left->fClone;
    if (source == 2) {
        if (restored)
            setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
    } else {
        loadPopupTexts();
        if (restored)
            restoreSavedLevels(2);
        else
            readLevelTexts();
        showLevelLabels(2);
    }
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
