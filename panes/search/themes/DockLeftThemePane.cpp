// The themes pane: its two clients, the shared theme key and the guide button.
#include "panes/search/themes/DockLeftThemePane.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/themes/LR_ThemeDVD.h"
#include "panes/search/themes/RechThemePrec.h"

SV_IMPLEMENT_CLASS(DockLeftThemePane, 0, ALayoutPane)

namespace {

const char kFile[] = "DockLeftThemePane";

template <class T>
T* ItemOf(ALayoutPane* pane, int16_t id, int line) {
    AClusterItem* item = pane->findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, kFile, line);
}

}  // namespace

DockLeftThemePane::DockLeftThemePane() {
    maskKey = kMaskKey;
    textKey = kKeyKey;
}

void DockLeftThemePane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftThemePane::attachItems() {
    ALayoutPane::attachItems();
    CheckAlloc(getFrame(), kFile, 55);
}

void DockLeftThemePane::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 28;
    getClients()->spacing = 10;
    themeTree = ItemOf<RechThemePrec>(this, kTreeId, 71);
    themeList = ItemOf<LR_ThemeDVD>(this, kListId, 73);
    setItemHelp(kGuideCommand, 6007, 56, 0);
}

void DockLeftThemePane::detachItems() {
    themeTree = nullptr;
    themeList = nullptr;
    ALayoutPane::detachItems();
}

void DockLeftThemePane::bindActions() {
    ALayoutPane::bindActions();
    addAction(kPathCommand, this, kPathCommand, nullptr);
    addAction(kGuideCommand, this, kGuideCommand, nullptr);
}

int16_t DockLeftThemePane::commandStatus(int16_t id, long argument) {
    if (id == kPathCommand)
        return 1;
    if (id != kGuideCommand)
        return ALayoutPane::commandStatus(id, argument);
    ADocState* doc = docState();
    AppState* state = currentState();
    return doc && doc->fDocType == 1 && state && state->getDocNo() < 0 ? 2 : 1;
}

ACommand* DockLeftThemePane::doCommand(int16_t id, long argument) {
    if (id == kPathCommand)
        return noChangeCommand();  // the tree acts on the path click
    if (id != kGuideCommand)
        return ALayoutPane::doCommand(id, argument);
    getFrame()->goToListView();
    return noChangeCommand();
}

int16_t DockLeftThemePane::isPaneWanted() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left && state->getScreenMode() == 1 && left->fMode == 4 ? 1 : 0;
}

void DockLeftThemePane::arrangeClients() {
    ALayoutClientList* list = getClients();
    if (!list)
        ThrowAssert(kFile, 144);
    list->hideAll();
    list->clear();
    list->addClient(themeTree->getClient(), 1, 1, nullptr);
    list->addClient(themeList->getClient(), 1, 1, nullptr);
    list->layout();
}

void DockLeftThemePane::updatePane() {
    arrangeClients();
    ALeftState* left = leftState();
    if (left && (left->fHisto || left->fClone)) {
        AString saved = left->fUserTxtInfo.get(kKeyKey);
        setPaneText(saved.c_str());
    }
    ALayoutPane::updatePane();
    queueUpdate(0);
}

void DockLeftThemePane::showResultList() {
    ALayoutClient* client = themeList->getClient();
    if (client && !client->shown && getClients()) {
        client->flip();
        getClients()->layout();
    }
    themeList->resetSelection(0);
    themeList->updatePane();
}
