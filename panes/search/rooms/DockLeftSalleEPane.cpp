// Room E's pane: authors above their documents.
#include "panes/search/rooms/DockLeftSalleEPane.h"

#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LR_RechE.h"

SV_IMPLEMENT_CLASS(DockLeftSalleEPane, 0, DockLeftSallePane)

namespace {
const char kFile[] = "DockLeftSalleEPane";
}

void DockLeftSalleEPane::setUpItems() {
    DockLeftSallePane::setUpItems();
    getClients()->margin = 5;
    getClients()->spacing = 10;
    searchList = CheckAlloc(itemOf<LR_RechE>(kSearchId), kFile, 20);
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 21);
}

void DockLeftSalleEPane::arrangeClients() {
    placeLists(30, searchList, discList, nullptr);
}

void DockLeftSalleEPane::updatePane() {
    ALeftState* left = startRefresh(true);
    if (!left)
        return;
    // A new room state keeps the author shown before.
    if (left->fHisto || left->fClone)
        setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
    SVPane::updatePane();
}
