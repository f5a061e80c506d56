// The GLI room's pane: six chained levels over the disc list.
#include "panes/search/rooms/DockLeftSalleGLIPane.h"

#include <cstdlib>
#include <new>

#include "app/lists/AListApp.h"
#include "app/state/AppState.h"
#include "base/object/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"

SV_IMPLEMENT_CLASS(DockLeftSalleGLIPane, 0, DockLeftSallePane)

namespace {
const char kFile[] = "DockLeftSalleGLIPane";
}

void DockLeftSalleGLIPane::setUpItems() {
    DockLeftSallePane::setUpItems();
    prepareLevelItems(kLevels);
    getClients()->margin = kMargin;
    getClients()->spacing = 10;
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 25);
}

void DockLeftSalleGLIPane::detachItems() {
    clearPopupTexts();
    DockLeftSallePane::detachItems();
}

void DockLeftSalleGLIPane::bindActions() {
    DockLeftSallePane::bindActions();
    for (int16_t id = kFirstCommand; id <= kLastCommand; ++id)
        addAction(id, this, id, nullptr);
}

int16_t DockLeftSalleGLIPane::commandStatus(int16_t id, long argument) {
    if (id >= kFirstCommand && id <= kLastCommand)
        return levelStatus(static_cast<int16_t>(id - 2020));
    return DockLeftSallePane::commandStatus(id, argument);
}

ACommand* DockLeftSalleGLIPane::doCommand(int16_t id, long argument) {
    if (id < kFirstCommand || id > kLastCommand)
        return DockLeftSallePane::doCommand(id, argument);
    if (AClusterItem* button = findItem(id, false))
        openPopup(id, button);
    return noChangeCommand();
}

void DockLeftSalleGLIPane::openPopup(int16_t id, AComponent* button) {
    auto k = static_cast<int16_t>(id - 2020);
    setPopupCallBack(CheckAlloc(new (std::nothrow) APopupTreeCallBackSallePop(this, k), kFile, 55));
    openLevelPopup(k, button, getPopupCallBack());
}

void DockLeftSalleGLIPane::arrangeClients() {
    placeLists(kMargin, nullptr, discList, nullptr);
}

AString DockLeftSalleGLIPane::makeListKey() {
    return AListApp::current().getLinkRecord(0, std::atol(levels[kLevels - 1].value.c_str()));
}

void DockLeftSalleGLIPane::updatePane() {
    ALeftState* left = leftState();
    if (!left)
        return;
    savedMask = static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey));
    arrangeClients();
    loadPopupTexts();
    if (left->fHisto || left->fClone)
        restoreSavedLevels(kLevels);
    else
        readLevelTexts();
    showLevelLabels(kLevels);
    if (!left->fHisto || getPaneText().empty())
        setPaneText(levels[kLevels - 1].value.c_str());
    SVPane::updatePane();
    if (levels[0].item)
        levels[0].item->becomeTarget(0);
}
