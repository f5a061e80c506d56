// The two pages of the chronology's left dock.
#include "panes/content/chrono/DockLeftChronoPages.h"

#include "app/lists/ListPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/chrono/DockLeftChronoPane.h"
#include "panes/content/chrono/LR_Chrono_Evemnt.h"

SV_IMPLEMENT_CLASS(DockLeftChronoPage, 0, ALayoutPane)
SV_IMPLEMENT_CLASS(DockLeftChronoTheme, 0, DockLeftChronoPage)
SV_IMPLEMENT_CLASS(DockLeftChronoMotsCle, 0, DockLeftChronoPage)

DockLeftChronoPage* EnclosingChronoPage(AComponent* component) {
    AComponent* found = component ? component->findAncestor(&DockLeftChronoPage::classRecord) : nullptr;
    return found ? static_cast<DockLeftChronoPage*>(found->castTo(&DockLeftChronoPage::classRecord)) : nullptr;
}

void ShowChronoLink(SVPane* list, ARenderer* renderer, bool skipEmpty) {
    if (!renderer || renderer->getHitKind() != 3)
        return;
    AString name = renderer->getHitName();
    if (skipEmpty && name.empty())
        return;
    DockLeftChronoPage* page = EnclosingChronoPage(list);
    if (!page || !page->setPaneText(name.c_str()))
        return;
    if (AppState* state = list->currentState())
        state->setHisto(0);
    page->refreshEventList();
}

DockLeftChronoTheme::DockLeftChronoTheme() {
    maskKey = 1080;
    textKey = 1081;
}

DockLeftChronoMotsCle::DockLeftChronoMotsCle() {
    maskKey = 1070;
    textKey = 1071;
}

void DockLeftChronoPage::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockLeftChronoPage", 30);
}

void DockLeftChronoPage::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 1;
    getClients()->spacing = 10;
    AComponent* list = findById(listId(), 0);
    list_ = CheckAlloc(list ? static_cast<ListPane*>(list->castTo(&ListPane::classRecord)) : nullptr,
                       "DockLeftChronoPage", 40);
    AComponent* events = findById(eventsId(), 0);
    events_ = CheckAlloc(events ? static_cast<LR_Chrono_Evemnt*>(events->castTo(&LR_Chrono_Evemnt::classRecord))
                                : nullptr,
                         "DockLeftChronoPage", 41);
}

void DockLeftChronoPage::detachItems() {
    list_ = nullptr;
    events_ = nullptr;
    ALayoutPane::detachItems();
}

void DockLeftChronoPage::arrangeClients() {
    ALayoutClientList* placed = getClients();
    if (!placed || !list_ || !events_ || !list_->getClient() || !events_->getClient())
        return;
    placed->clear();
    placed->addClient(list_->getClient(), 0, 1, nullptr);
    placed->addClient(events_->getClient(), 1, 1, nullptr);
    if (keepsMask())
        restoreShownMask();
    // One client must stretch: a mask that hides the event list shows it again.
    events_->getClient()->shown = 1;
    placed->layout();
}

int16_t DockLeftChronoPage::isPaneWanted() {
    AppState* state = currentState();
    if (!IsChronoScreen(state))
        return 0;
    return state->getLeftState()->fUserInfo.slot(DockLeftChronoPane::kModeEntry) == pageEntry() ? 1 : 0;
}

void DockLeftChronoPage::updatePane() {
    arrangeClients();
    AppState* state = currentState();
    ALeftState* left = state ? state->getLeftState() : nullptr;
    if (left && (left->fHisto || state->fTemporaire))
        setPaneText(left->getUserTxtInfo(textKey).c_str());
    SVPane::updatePane();
}

void DockLeftChronoPage::refreshEventList() {
    if (!events_)
        return;
    events_->resetState(0);
    events_->updatePane();
}
