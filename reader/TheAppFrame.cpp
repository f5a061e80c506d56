// The application object's side of the main window: the document pane of
// each document kind, the states of addresses and documents, the stored
// screen addresses and the menu data the frame reads.
#include "reader/TheApp.h"

#include <cstring>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"

namespace {

std::string ScreenKey(int16_t first, int16_t second) {
    return std::to_string(first) + "_" + std::to_string(second);
}

// The article pane keeps the item it shows under this key of the document part.
const long kArticleItemKey = 11;

}  // namespace

Frame1* TheApp::getFrame() {
    AComponent* found = findDescendant(&Frame1::classRecord, nullptr);
    return found ? static_cast<Frame1*>(found->castTo(&Frame1::classRecord)) : nullptr;
}

AString TheApp::getHighlightQuery(int16_t* hasExpression) {
    Frame1* frame = getFrame();
    AppState* state = frame ? frame->currentState() : nullptr;
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    AString query = search ? search->getQuery() : AString();
    if (hasExpression)
        *hasExpression = strstr(query.c_str(), "<EXPR>") ? 1 : 0;
    return query;
}

SortableLineGetter* TheApp::newResultLineGetter(ALo* lo) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(13) : nullptr;
    // Without the document base the rows fall back to the bare numbers.
    if (!lo || !base)
        return AListApp::newResultLineGetter(lo);
    return new (std::nothrow) ASVResultLineGetter(base, nullptr, lo, 0, base, 2, base, 4, nullptr, -1);
}

int16_t TheApp::getDocKindPane(int16_t kind) {
    // Texts, lists and chronologies go to the article pane, maps and Flash
    // documents to the Flash pane, web pages to the web pane, media to the media pane.
    switch (kind) {
    case 2:
    case 3:
        return 1203;
    case 4:
    case 5:
        return 1206;
    case 8:
        return 1204;
    default:
        return 1201;
    }
}

AppState* TheApp::makeUrlNavState(Frame1& frame, const AString& address, int16_t kind, long value) {
    if (address.empty())
        return nullptr;
    // A room screen's stored address is its room link "room:TAB".
    if (kind == 3) {
        if (AppState* room = makeRoomState(frame, address.c_str()))
            return room;
    }
    // A web page's state names its page by its web document: without one
    // the online pane would have nothing to load.
    long docNo = kind == 8 ? getUrlDocNo((std::string(address.c_str()) + ";").c_str()) : -1;
    if (kind == 8 && docNo < 0)
        return nullptr;
    // A room's page (the countries page, a room movie's page) opens the room
    // tab the rooms base files it under, with that tab's document or lists.
    if (kind == 3)
        if (AppState* room = makeRoomPageState(frame, address.c_str()))
            return room;
    AppState* state = frame.makeNavState(0, 0, 0, 0, -1, kind, 4);
    if (kind == 8)
        state->setDocNo(docNo);
    if (value >= 0)
        state->fSalle = static_cast<int16_t>(value);
    // The atlas room's own page opens the atlas screen (a room tab of type
    // 'P' of room 4); the rooms' other tabs come from their room records.
    if (address == AString(kAtlasPage)) {
        state->fSalle = 4;
        state->fNbFrame = 2;
        state->setUserInfo(1066, 1);
        if (ALeftState* left = state->getLeftState()) {
            left->fSalleType = 'P';
            left->fMode = 1;
        }
    }
    return state;
}

AString TheApp::getScreenAddress(int16_t first, int16_t second) {
    if (first < 0 || second < 0)
        return AString();
    auto it = screenAddresses_.find(ScreenKey(first, second));
    return it == screenAddresses_.end() ? AString() : it->second;
}

void TheApp::setScreenAddress(int16_t first, int16_t second, const char* address) {
    screenAddresses_[ScreenKey(first, second)] = AString(address ? address : "");
}

bool TheApp::workFolderExists() {
    // Work names belong to the readers of a network installation: a
    // single-user reader has no users' folder, and would have every name refused.
    if (!isNetworkInstall())
        return false;
    AFileSpec folder = getWorkFolder();
    return !folder.empty() && folder.exists();
}

AString TheApp::menuRecordText(long record) {
    ASearchBase* base = getDataManager()->getBase(0);
    if (!base)
        ThrowAssert("frame1", 95);
    return base->getText(1, record, 1);
}

AString TheApp::roomTitle(AppState* state) {
    return state ? getDataManager()->getSalleTitle(state->fSalle, state) : AString();
}

AString TheApp::docListRecord(long docNo) {
    ASearchBase* base = getDataManager()->getBase(13);
    if (!base || docNo < 0)
        return AString();
    // A document the base does not hold gives a row without a title, not a
    // popup that fails to open.
    try {
        return base->getText(0, docNo, 1);
    } catch (const AError&) {
        return AString();
    }
}

ALineGetterCallBack* TheApp::makeHistoryRowFormat() {
    return new ASVResultLineGetterCallBack();
}

AString TheApp::configString(const char* key) {
    return gDataLocation ? gDataLocation->getString(key) : AString();
}

AString TheApp::configMessage(const char* key) {
    return gDataLocation ? gDataLocation->getMessage(key) : AString();
}

void TheApp::showDocument(long docNo) {
    Frame1* frame = getFrame();
    AppState* cur = frame ? frame->currentState() : nullptr;
    if (!frame)
        return;
    if (docNo == -1 && cur)
        docNo = cur->getDocNo();
    if (docNo < 0)
        return;
    int16_t keepLeft = 1, leftMode = -1, screenMode = -1;
    if (!cur || cur->getScreenMode() == 0) {
        keepLeft = 0;
        leftMode = 1;
        screenMode = 1;
    }
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    int16_t kind = doc && doc->fDocType != 7 ? doc->fDocType : 0;
    AppState* state = frame->makeNavState(keepLeft, 0, cur && cur->hasRightCadenas() ? 1 : 0, 1, leftMode, kind,
                                          screenMode);
    state->setDocNo(docNo);
    frame->goToState(state, 1);
}

void TheApp::showDocumentIfOpen(long docNo) {
    Frame1* frame = getFrame();
    if (frame && frame->currentDocState())
        showDocument(docNo);
}

void TheApp::showDocumentAt(long position) {
    Frame1* frame = getFrame();
    AppState* cur = frame ? frame->currentState() : nullptr;
    if (!cur || cur->getDocNo() < 0)
        return;
    AppState* state = frame->makeNavState(1, 0, 1, 1, -1, cur->getDocState() ? cur->getDocState()->fDocType : 0, -1);
    state->setDocNo(cur->getDocNo());
    if (state->getDocState())
        state->getDocState()->fUserInfo.slot(kArticleItemKey) = position;
    frame->goToState(state, 1);
}
