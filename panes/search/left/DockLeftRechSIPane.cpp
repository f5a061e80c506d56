// The search result pane: arranging its three lists, the result key and the online search.
#include "panes/search/left/DockLeftRechSIPane.h"

#include <cstdlib>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/object/AStringList.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/LR_DVD.h"
#include "panes/search/left/LR_NET.h"
#include "panes/search/left/RechIndexPrec.h"

SV_IMPLEMENT_CLASS(DockLeftRechSIPane, 0, ALayoutPane)

namespace {

const char kFile[] = "DockLeftRechSIPane";

template <class T>
T* Child(AItemCluster* pane, int16_t id) {
    AClusterItem* item = pane->findItem(id, false);
    return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
}

}  // namespace

DockLeftRechSIPane* EnclosingSearchPane(AComponent* list, const char* file, int line) {
    AComponent* found = list->findAncestor(&DockLeftRechSIPane::classRecord);
    return CheckAlloc(
        found ? static_cast<DockLeftRechSIPane*>(found->castTo(&DockLeftRechSIPane::classRecord)) : nullptr, file, line);
}

DockLeftRechSIPane::DockLeftRechSIPane() {
    maskKey = kMaskKey;
    textKey = kKeyKey;
}

void DockLeftRechSIPane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftRechSIPane::attachItems() {
    ALayoutPane::attachItems();
}

void DockLeftRechSIPane::setUpItems() {
    ALayoutPane::setUpItems();
    getClients()->margin = 28;
    getClients()->spacing = 10;
    precList = CheckAlloc(Child<RechIndexPrec>(this, kPrecId), kFile, 72);
    discList = CheckAlloc(Child<LR_DVD>(this, kDiscId), kFile, 74);
    netList = CheckAlloc(Child<LR_NET>(this, kNetId), kFile, 76);
    setItemHelp(kGuideCommand, 6007, 56, 0);
}

void DockLeftRechSIPane::detachItems() {
    precList = nullptr;
    discList = nullptr;
    netList = nullptr;
    ALayoutPane::detachItems();
}

void DockLeftRechSIPane::bindActions() {
    ALayoutPane::bindActions();
    addAction(kGuideCommand, this, kGuideCommand, nullptr);
}

int16_t DockLeftRechSIPane::commandStatus(int16_t id, long argument) {
    if (id != kGuideCommand)
        return ALayoutPane::commandStatus(id, argument);
    ADocState* doc = docState();
    AppState* state = currentState();
    return doc && doc->fDocType == 1 && state && state->getDocNo() < 0 ? 2 : 1;
}

ACommand* DockLeftRechSIPane::doCommand(int16_t id, long argument) {
    if (id != kGuideCommand)
        return ALayoutPane::doCommand(id, argument);
    getFrame()->goToListView();
    return noChangeCommand();
}

int16_t DockLeftRechSIPane::isPaneWanted() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left && state->getScreenMode() == 1 && left->fMode == 1 ? 1 : 0;
}

void DockLeftRechSIPane::saveState(ABaseState* part) {
    if (!part)
        return;
    ALayoutClientList* list = getClients();
    part->fUserInfo.slot(kMaskKey) = list ? static_cast<long>(list->shownMask()) : 0;
    if (!getPaneText().empty())
        part->setUserTxtInfo(kKeyKey, getPaneText().c_str());
}

void DockLeftRechSIPane::arrangeClients() {
    ALayoutClientList* list = getClients();
    if (!list)
        ThrowAssert(kFile, 143);
    list->clear();
    AppState* state = currentState();
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    bool online = search && search->isNetSearch();
    list->addClient(precList->getClient(), 0, 1, nullptr);
    list->addClient(discList->getClient(), 1, online ? 0 : 1, nullptr);
    list->addClient(netList->getClient(), 1, online ? 1 : 0, discList->getClient());
    if (online) {
        if (ALeftState* left = leftState())
            left->fUserInfo.slot(kMaskKey) = static_cast<long>(list->shownMask());
    }
    restoreShownMask();
    list->layout();
}

void DockLeftRechSIPane::updatePane() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    savedMask = left ? static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey)) : 0;
    arrangeClients();
    if (left && (left->fHisto || left->fClone))
        setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
    ALayoutPane::updatePane();
    bool histo = left && left->fHisto;
    bool online = (!histo && search && search->isNetSearch()) || (histo && savedMask == 5);
    // An online search that gives nothing leaves the disc list shown, as a
    // reader's switch to the online list that gives nothing does.
    if (online && !searchOnline())
        showDiscList();
    queueUpdate(0);
}

int16_t DockLeftRechSIPane::clientShownChanged(int16_t itemId, int16_t action) {
    ALeftState* left = leftState();
    auto request = [left](long value) {
        if (left)
            left->fUserInfo.slot(kOpenRequestKey) = value;
    };
    int16_t result = 1;
    bool netShown = itemId == kNetId && action == 1;
    bool discHidden = itemId == kDiscId && action == 2;
    bool discShown = itemId == kDiscId && action == 1;
    bool netHidden = itemId == kNetId && action == 2;
    if (netShown || discHidden) {
        request(1);
        result = searchOnline();
    } else if (discShown || netHidden) {
        request(1);
        showDiscList();
    }
    request(0);
    // The reader's choice is the state's: the next refresh restores it.
    ALayoutClientList* list = getClients();
    if (result && left && list)
        left->fUserInfo.slot(kMaskKey) = static_cast<long>(list->shownMask());
    return result;
}

int16_t DockLeftRechSIPane::setPaneText(const char* key) {
    if (!ALayoutPane::setPaneText(key))
        return 0;
    netResultName = AString();
    return 1;
}

int16_t DockLeftRechSIPane::setNetResultName(const char* name) {
    const char* v = name ? name : "";
    if (netResultName == AString(v))
        return 0;
    netResultName = AString(v);
    return 1;
}

void DockLeftRechSIPane::showList(ListPane* list) {
    showClient(list->getClient());
    list->selFirst = list->selLast = 0;
    list->updatePane();
}

void DockLeftRechSIPane::showDiscList() {
    showList(discList);
}

void DockLeftRechSIPane::showNetList() {
    showList(netList);
}

int16_t DockLeftRechSIPane::searchOnline() {
    AppState* state = currentState();
    if (!state)
        ThrowAssert(kFile, 202);
    ASVLoSearchState* search = state->getSearchState();
    if (!search)
        return 1;
    ARefHold<AStringList> fields(new AStringList(getPaneText().c_str(), ':'));
    long id = atol(fields->at(2));
    long d = atol(fields->at(3));
    const char* action = "text";
    if (d != 0) {
        search->setDisplayQuery(precList->getLineLabel(d).c_str());
        action = "index";
    }
    AString name = ASearchPanesApp::current().searchOnline(search, d, action, id);
    if (name.empty())
        return 0;
    setNetResultName(name.c_str());
    showNetList();
    return 1;
}
