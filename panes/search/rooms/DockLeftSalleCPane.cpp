// Room C's pane: the tab's own document list.
#include "panes/search/rooms/DockLeftSalleCPane.h"

#include <string>

#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/search/rooms/LRSalle_DVD.h"

SV_IMPLEMENT_CLASS(DockLeftSalleCPane, 0, DockLeftSallePane)

namespace {
const char kFile[] = "DockLeftSalleCPane";
}

void DockLeftSalleCPane::setUpItems() {
    DockLeftSallePane::setUpItems();
    getClients()->margin = 30;
    getClients()->spacing = 10;
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 20);
}

void DockLeftSalleCPane::arrangeClients() {
    placeLists(30, nullptr, discList, nullptr);
}

AString DockLeftSalleCPane::makeListKey() {
    ALeftState* left = leftState();
    long record = left ? left->fUserInfo.slot(1148) : -1;
    return AString(("0:" + std::to_string(record) + ":-1").c_str());
}

void DockLeftSalleCPane::updatePane() {
    ALeftState* left = startRefresh(false);
    if (!left)
        return;
    if (!left->fHisto || getPaneText().empty())
        setPaneText(makeListKey().c_str());
    SVPane::updatePane();
    if (discList)
        discList->becomeTarget(0);
}
