// The A-to-Z index pane: its guide button and its one list.
#include "panes/search/az/DockLeftRechAZPane.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/az/LR_RechAZ.h"

SV_IMPLEMENT_CLASS(DockLeftRechAZPane, 0, ALayoutPane)

namespace {

const char kFile[] = "DockLeftRechAZPane";

}  // namespace

void DockLeftRechAZPane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftRechAZPane::attachItems() {
    ALayoutPane::attachItems();
    CheckAlloc(getFrame(), kFile, 53);
}

void DockLeftRechAZPane::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 28;
    getClients()->spacing = 10;
    AClusterItem* item = findItem(kListId, false);
    azList = CheckAlloc(item ? static_cast<LR_RechAZ*>(item->castTo(&LR_RechAZ::classRecord)) : nullptr, kFile, 69);
    setItemHelp(kGuideCommand, 6007, 56, 0);
}

void DockLeftRechAZPane::detachItems() {
    azList = nullptr;
    ALayoutPane::detachItems();
}

void DockLeftRechAZPane::bindActions() {
    ALayoutPane::bindActions();
    addAction(kGuideCommand, this, kGuideCommand, nullptr);
}

int16_t DockLeftRechAZPane::commandStatus(int16_t id, long argument) {
    if (id != kGuideCommand)
        return ALayoutPane::commandStatus(id, argument);
    ADocState* doc = docState();
    AppState* state = currentState();
    return doc && doc->fDocType == 1 && state && state->getDocNo() < 0 ? 2 : 1;
}

ACommand* DockLeftRechAZPane::doCommand(int16_t id, long argument) {
    if (id != kGuideCommand)
        return ALayoutPane::doCommand(id, argument);
    getFrame()->goToListView();
    return noChangeCommand();
}

int16_t DockLeftRechAZPane::isPaneWanted() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left && state->getScreenMode() == 1 && left->fMode == 3 ? 1 : 0;
}

void DockLeftRechAZPane::arrangeClients() {
    ALayoutClientList* list = getClients();
    if (!list)
        ThrowAssert(kFile, 128);
    list->hideAll();
    list->clear();
    list->addClient(azList->getClient(), 1, 1, nullptr);
    list->layout();
}

void DockLeftRechAZPane::updatePane() {
    ALayoutPane::updatePane();
    arrangeClients();
    queueUpdate(0);
}
