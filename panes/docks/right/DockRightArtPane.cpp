// The links panel: which lists show, their layout and what they load.
#include "panes/docks/right/DockRightArtPane.h"

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/RightDockText.h"

SV_IMPLEMENT_CLASS(DockRightArtPane, 0, ALayoutPane)

const int16_t DockRightArtPane::kListIds[kListCount] = {1420, 1425, 1421, 1422, 1423, 1424};

DockRightArtPane::DockRightArtPane() {
    maskKey = 2000;
    textKey = 2001;
}

void DockRightArtPane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockRightArtPane", 30);
}

void DockRightArtPane::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 0;
    getClients()->spacing = 10;
    for (int i = 0; i < kListCount; ++i) {
        AComponent* found = findById(kListIds[i], 0);
        lists_[i] = CheckAlloc(dynamic_cast<LRExtPane*>(found), "DockRightArtPane", 40 + i);
        // The last expanded list's header is disabled, not gone.
        if (AClusterItem* header = lists_[i]->findItem(LRPane::kIconCommand, false)) {
            header->clearItemFlags(AClusterItem::kShownByState);
            header->setVisible(true);
        }
    }
}

void DockRightArtPane::detachItems() {
    for (LRExtPane*& l : lists_)
        l = nullptr;
    ALayoutPane::detachItems();
}

int16_t DockRightArtPane::isPaneWanted() {
    AppState* state = currentState();
    if (!state || !state->getRightState())
        return 0;
    long doc = state->getRightDocNo();
    if (doc < 0)
        return 0;
    ADocRefInfo info = ARightDockApp::current().getDocRefInfo(doc);
    for (int i = 0; i < kListCount; ++i)
        if (listWanted(info, i))
            return 1;
    return 0;
}

bool DockRightArtPane::listWanted(ADocRefInfo& info, int i) {
    static const long kFlags[kListCount] = {0, 12, 1, 2, 3, -1};
    return i == kRooms ? info.firstMediaInfo() >= 4 : info.getInfo(kFlags[i]) != 0;
}

bool DockRightArtPane::isExpanded(int i) const {
    ALayoutClient* client = lists_[i] ? lists_[i]->getClient() : nullptr;
    return client && client->list && client->shown;
}

void DockRightArtPane::buildClients(ADocRefInfo& info) {
    ALayoutClientList* placed = getClients();
    if (!placed)
        return;
    placed->clear();
    for (int i = 0; i < kListCount; ++i) {
        LRExtPane* l = lists_[i];
        if (!l || !l->getClient())
            continue;
        bool wanted = listWanted(info, i);
        l->setVisible(wanted);
        if (wanted)
            placed->addClient(l->getClient(), 1, 1, nullptr);
    }
    restoreShownMask();
    // The layout needs one expanded list: a mask that would close them all opens them all.
    if (!placed->clients.empty() && placed->shownMask() == 0)
        for (ALayoutClient* c : placed->clients)
            c->shown = 1;
    if (!placed->clients.empty())
        placed->layout();
}

void DockRightArtPane::updatePane() {
    SVPane::updatePane();
    AppState* state = currentState();
    long doc = state ? state->getRightDocNo() : -1;
    ARightDockApp& app = ARightDockApp::current();
    ADocRefInfo info = doc >= 0 ? app.getDocRefInfo(doc) : ADocRefInfo();
    buildClients(info);
    if (doc < 0)
        return;
    if (info.fField3 >= 0 && isExpanded(kSets))
        lists_[kSets]->loadListHook(info.fField3);
    if (isExpanded(kCaptions))
        lists_[kCaptions]->loadListHook(doc);
    if (info.fField4 >= 0 && isExpanded(kThemes))
        lists_[kThemes]->loadListHook(info.fField4);
    std::string ext = app.getDocExt(doc).c_str();
    if (isExpanded(kDocLinks))
        lists_[kDocLinks]->loadList(PieceOf(ext, '#', 1).c_str());
    if (isExpanded(kWebLinks))
        lists_[kWebLinks]->loadList(PieceOf(ext, '#', 3).c_str());
    long media = info.firstMediaInfo();
    if (isExpanded(kRooms))
        lists_[kRooms]->loadList(media >= 4 ? PieceOf(ext, '#', static_cast<size_t>(media)).c_str() : "");
}

void DockRightArtPane::clearOtherSelections(ListPane* pane) {
    for (LRExtPane* l : lists_)
        if (l && l != pane && l->getClient() && l->getClient()->list && l->getClient()->shown)
            l->resetSelection(1);
}
