// The room panes' level buttons: their commands, statuses and popups.
#include "panes/search/rooms/DockLeftSalleLevelPane.h"

#include <new>

#include "app/state/AppState.h"
#include "base/procedural/AError.h"

SV_IMPLEMENT_ABSTRACT_CLASS(DockLeftSalleLevelPane, 0, DockLeftSallePane)

namespace {
const char kFile[] = "DockLeftSalleLevelPane";
}

void DockLeftSalleLevelPane::detachItems() {
    clearPopupTexts();
    DockLeftSallePane::detachItems();
}

void DockLeftSalleLevelPane::bindActions() {
    DockLeftSallePane::bindActions();
    for (int16_t id = kLevel1Command; isLevelCommand(id); ++id)
        addAction(id, this, id, nullptr);
}

int16_t DockLeftSalleLevelPane::commandStatus(int16_t id, long argument) {
    if (isLevelCommand(id))
        return levelStatus(static_cast<int16_t>(id - 2020));
    return DockLeftSallePane::commandStatus(id, argument);
}

ACommand* DockLeftSalleLevelPane::doCommand(int16_t id, long argument) {
    if (!isLevelCommand(id))
        return DockLeftSallePane::doCommand(id, argument);
    openPopup(id, findItem(id, false));
    return noChangeCommand();
}

void DockLeftSalleLevelPane::openPopup(int16_t id, AComponent* button) {
    auto k = static_cast<int16_t>(id - 2020);
    setPopupCallBack(CheckAlloc(new (std::nothrow) APopupTreeCallBackSallePop(this, k), kFile, 42));
    openLevelPopup(k, button, getPopupCallBack());
}

void DockLeftSalleLevelPane::showLevels(const ALeftState* left) {
    loadPopupTexts();
    if (left->fHisto || left->fClone)
        restoreSavedLevels(levelCount);
    else
        readLevelTexts();
    showLevelLabels(levelCount);
}
