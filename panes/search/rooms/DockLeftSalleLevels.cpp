// The room panes' choice levels: the chain of room records behind the
// popups, the labels and values of each level, the popups and the lists' stack.
#include <cerrno>
#include <cstdlib>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lists/ListPane.h"
#include "app/lines/ASVSallePrecLineGetter.h"
#include "app/popup/PopupTree.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/rooms/DockLeftSallePane.h"
#include "search/facade/ASearchBase.h"

namespace {

const char kFile[] = "DockLeftSalleLevels";
const short kRoomsBase = 8;
const short kRoomsTable = 1;
const int16_t kFirstButton = 2020;

// Record r of the rooms' table 1; "" for a negative record or a record the base lacks.
AString RoomRecord(long r) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(kRoomsBase) : nullptr;
    if (!base)
        ThrowAssert(kFile, 30);
    if (r < 0)
        return AString();
    try {
        return base->getText(kRoomsTable, r, 1);
    } catch (const AError&) {
        return AString();
    }
}

// A value naming the next record: a whole number of 0 or more; an empty value
// is record 0, anything else (negative, not a number) ends the chain (-1).
long ChainValue(const AString& value) {
    const char* text = value.c_str();
    if (!*text)
        return 0;
    char* end = nullptr;
    errno = 0;
    long r = std::strtol(text, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    return errno != 0 || end == text || *end != 0 || r < 0 ? -1 : r;
}

}  // namespace

bool DockLeftSallePane::wantedFor(char letter, int16_t wanted) {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left && state->fSalle > 0 && state->getScreenMode() == 4 && left->fSalleType == letter &&
           (wanted < 0 || left->fSalleLR == wanted);
}

void DockLeftSallePane::prepareLevelItems(int16_t count) {
    for (int16_t k = 1; k <= count; ++k) {
        int16_t id = static_cast<int16_t>(kFirstLevelId + k - 1);
        AStaticText* label = CheckAlloc(itemOf<AStaticText>(id), kFile, 62);
        label->setTransparentFlag(true);
        setItemHelp(id, 6007, 40, 0);
        levels[k - 1].item = label;
    }
}

void DockLeftSallePane::loadChainTexts(int16_t count) {
    ALeftState* left = leftState();
    if (!left)
        return;
    long r = left->fUserInfo.slot(recordKey(1));
    if (r < 0)
        ThrowAssert(kFile, 78);
    AString record = RoomRecord(r);
    setPopupText(static_cast<int16_t>(kFirstButton + 1), record.c_str());
    for (int16_t k = 2; k <= count; ++k) {
        if (r >= 0) {
            r = ChainValue(ASVSallePrecLineGetter::lineValue(record.c_str(), static_cast<int16_t>(left->fUserInfo.slot(rowKey(k - 1)))));
            record = RoomRecord(r);
        }
        left->fUserInfo.slot(recordKey(k)) = r;
        setPopupText(static_cast<int16_t>(kFirstButton + k), record.c_str());
    }
}

void DockLeftSallePane::readChainLevels(int16_t count) {
    ALeftState* left = leftState();
    if (!left)
        return;
    for (int16_t k = 1; k <= count; ++k) {
        long r = left->fUserInfo.slot(recordKey(k));
        if (k == 1 && r < 0)
            ThrowAssert(kFile, 98);
        AString record = RoomRecord(r);
        auto row = static_cast<int16_t>(left->fUserInfo.slot(rowKey(k)));
        levels[k - 1].label = ASVSallePrecLineGetter::lineLabel(record.c_str(), row);
        levels[k - 1].value = ASVSallePrecLineGetter::lineValue(record.c_str(), row);
    }
}

void DockLeftSallePane::restoreSavedLevels(int16_t count) {
    ALeftState* left = leftState();
    if (!left)
        return;
    setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
    for (int16_t k = 1; k <= count; ++k) {
        levels[k - 1].label = left->getUserTxtInfo(static_cast<int16_t>(1146 + 4 * k));
        levels[k - 1].value = left->getUserTxtInfo(static_cast<int16_t>(1147 + 4 * k));
    }
}

void DockLeftSallePane::showLevelLabels(int16_t count) {
    for (int16_t k = 1; k <= count; ++k)
        if (levels[k - 1].item)
            levels[k - 1].item->setText(levels[k - 1].label.c_str());
}

int16_t DockLeftSallePane::levelStatus(int16_t k) const {
    if (k < 1 || k > kLevels)
        return 1;
    return std::atol(levels[k - 1].value.c_str()) != 0 ? 5 : 1;
}

void DockLeftSallePane::openLevelPopup(int16_t k, AComponent* button, APopupTreeCallBack* callBack) {
    AString record = getPopupText(static_cast<int16_t>(kFirstButton + k));
    // An online pane never reads its texts: nothing to offer, no popup.
    if (record.empty())
        return;
    PopupTree* popup = CheckAlloc(PopupTree::load(getParent(), "PopupTree"), kFile, 136);
    PopupTreeParams params;
    getFrame()->makeMenuParams(params, 1);
    popup->setParams(params);
    popup->setUp(this, callBack, "PopupTree", 0x2146, 0);
    popup->fillFromCallBack(record.c_str());
    popup->setItemFlag(0, 1);
    auto* shown = button ? static_cast<ADisplayComponent*>(button->castTo(&ADisplayComponent::classRecord)) : nullptr;
    popup->openAt(shown ? shown->getScreenBounds() : getScreenBounds());
}

void DockLeftSallePane::placeLists(int32_t margin, ListPane* fixed, ListPane* main, ListPane* partner) {
    ALayoutClientList* list = getClients();
    if (!list)
        ThrowAssert(kFile, 150);
    list->margin = margin;
    list->spacing = 10;
    list->hideAll();
    // Arranged at every refresh: the clients are added anew, not twice.
    list->clear();
    if (fixed && fixed->getClient())
        list->addClient(fixed->getClient(), 0, 1, nullptr);
    if (main && main->getClient())
        list->addClient(main->getClient(), 1, 1, nullptr);
    if (partner && partner->getClient())
        list->addClient(partner->getClient(), 1, 0, main ? main->getClient() : nullptr);
    restoreShownMask();
    list->layout();
}

ALeftState* DockLeftSallePane::startRefresh(bool takeMask) {
    ALeftState* left = leftState();
    if (!left)
        return nullptr;
    if (takeMask)
        savedMask = static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey));
    arrangeClients();
    return left;
}
