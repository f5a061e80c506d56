// The GLI room's pane: six chained levels over the disc list.
#include "panes/search/rooms/DockLeftSalleGLIPane.h"

#include <cstdlib>

#include "app/lists/AListApp.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/LRSalle_DVD.h"

SV_IMPLEMENT_CLASS(DockLeftSalleGLIPane, 0, DockLeftSalleLevelPane)

namespace {
const char kFile[] = "DockLeftSalleGLIPane";
}

void DockLeftSalleGLIPane::setUpItems() {
    DockLeftSalleLevelPane::setUpItems();
    prepareLevelItems(kLevels);
    getClients()->margin = kMargin;
    getClients()->spacing = 10;
    discList = CheckAlloc(itemOf<LRSalle_DVD>(kDiscId), kFile, 25);
}

void DockLeftSalleGLIPane::openPopup(int16_t id, AComponent* button) {
    if (button)
        DockLeftSalleLevelPane::openPopup(id, button);
}

void DockLeftSalleGLIPane::arrangeClients() {
    placeLists(kMargin, nullptr, discList, nullptr);
}

AString DockLeftSalleGLIPane::makeListKey() {
    return AListApp::current().getLinkRecord(0, std::atol(levels[kLevels - 1].value.c_str()));
}

void DockLeftSalleGLIPane::updatePane() {
    ALeftState* left = startRefresh(true);
    if (!left)
        return;
    showLevels(left);
    if (!left->fHisto || getPaneText().empty())
        setPaneText(levels[kLevels - 1].value.c_str());
    SVPane::updatePane();
    if (levels[0].item)
        levels[0].item->becomeTarget(0);
}
