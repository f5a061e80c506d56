// The ephemeris screen's dock pane: its one list and the event's list text.
#include "panes/search/ephemeris/DockLeftEphemeridePane.h"

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/ephemeris/AEphemerideInfo.h"
#include "panes/search/ephemeris/EphemeridePane.h"
#include "panes/search/ephemeris/LREphemeride.h"

SV_IMPLEMENT_CLASS(DockLeftEphemeridePane, 0, ALayoutPane)

namespace {

const char kFile[] = "DockLeftEphemeridePane";

}  // namespace

DockLeftEphemeridePane::DockLeftEphemeridePane() {
    maskKey = kMaskKey;
    textKey = kTextKey;
}

void DockLeftEphemeridePane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 30);
}

void DockLeftEphemeridePane::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 28;
    getClients()->spacing = 10;
    AComponent* found = findById(kListId, 0);
    resultList = CheckAlloc(found ? static_cast<LREphemeride*>(found->castTo(&LREphemeride::classRecord)) : nullptr,
                            kFile, 40);
}

void DockLeftEphemeridePane::detachItems() {
    resultList = nullptr;
    ALayoutPane::detachItems();
}

int16_t DockLeftEphemeridePane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() == 6 ? 1 : 0;
}

void DockLeftEphemeridePane::arrangeClients() {
    ALayoutClientList* list = getClients();
    if (!list)
        ThrowAssert(kFile, 60);
    list->clear();
    list->addClient(resultList->getClient(), 1, 1, nullptr);
    restoreShownMask();
    list->layout();
}

void DockLeftEphemeridePane::updatePane() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    if (state && left) {
        savedMask = static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey));
        arrangeClients();
        if (left->fClone || left->fHisto) {
            setPaneText(left->getUserTxtInfo(kTextKey).c_str());
        } else {
            long event = state->getUserInfo(EphemeridePane::kEventKey);
            AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable,
                                 state->getUserInfo(EphemeridePane::kDayKey), static_cast<int16_t>(event));
            setPaneText(info.relatedListText(event).c_str());
        }
    }
    SVPane::updatePane();
}
