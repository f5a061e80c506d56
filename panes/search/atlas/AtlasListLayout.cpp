// The layout panes of the atlas place lists.
#include "panes/search/atlas/AtlasListLayout.h"

#include "app/frame/Frame1.h"
#include "app/lists/AClientPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"

AtlasListLayout::AtlasListLayout(const char* file, long tabValue, int16_t listId, int16_t maskId, int16_t textId)
    : file_(file), tabValue_(tabValue), listId_(listId) {
    maskKey = maskId;
    textKey = textId;
}

void AtlasListLayout::attachItems() {
    ALayoutPane::attachItems();
    AComponent* found = findAncestor(&Frame1::classRecord);
    frame_ = CheckAlloc(found ? static_cast<Frame1*>(found->castTo(&Frame1::classRecord)) : nullptr, file_, __LINE__);
}

void AtlasListLayout::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 1;
    getClients()->spacing = 10;
    AClusterItem* item = findItem(listId_, false);
    auto* list = CheckAlloc(item ? static_cast<AClientPane*>(item->castTo(&AClientPane::classRecord)) : nullptr,
                            file_, __LINE__);
    listClient_ = list->getClient();
}

void AtlasListLayout::detachItems() {
    listClient_ = nullptr;
    frame_ = nullptr;
    ALayoutPane::detachItems();
}

int16_t AtlasListLayout::isPaneWanted() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    if (!left)
        ThrowAssert(file_, __LINE__);
    return IsAtlasScreen(state) && left->fUserInfo.slot(DockLeftAtlasPane::kTabKey) == tabValue_ &&
                   wantedOnState(state)
               ? 1
               : 0;
}

void AtlasListLayout::arrangeClients() {
    ALayoutClientList* list = getClients();
    if (!list || !listClient_)
        return;
    // The list is the one client: it is added afresh each time, never twice.
    list->clear();
    list->addClient(listClient_, 1, 1, nullptr);
    list->layout();
}

void AtlasListLayout::updatePane() {
    ALayoutPane::updatePane();
    arrangeClients();
}
