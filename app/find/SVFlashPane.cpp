// The Flash panes' requests: targets, links, addresses and the document popup.
#include "app/find/SVFlashPane.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/find/AFlashServices.h"
#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "app/popup/PopupTree.h"
#include "app/popup/PopupTreeParams.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/AStringList.h"
#include "base/procedural/AError.h"
#include "framework/app/AWindowManager.h"
#include "search/facade/ALoSimple.h"

SV_IMPLEMENT_CLASS(SVFlashPane, 0, SVPane)

AFlashServices* gFlashServices = nullptr;

AFlashServices& FlashServices() {
    static AFlashServices none;
    return gFlashServices ? *gFlashServices : none;
}

namespace {

// The document-information base: the titles of the popup's documents.
const int16_t kDocumentsBase = 13;

// A decimal number as the requests write it: leading blanks, an optional
// sign, digits up to the first other character. False without a digit or
// beyond 32 bits.
bool ReadNumber(const char* text, long& value) {
    if (!text)
        return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = v;
    return true;
}

}  // namespace

APopupTreeCallBackFlash::APopupTreeCallBackFlash(AComponent* owner) : APopupTreeCallBack(owner) {
    CheckAlloc(owner ? owner->castTo(&SVFlashPane::classRecord) : nullptr, "SVPane", __LINE__);
}

void APopupTreeCallBackFlash::itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) {
    (void)value, (void)line, (void)top;
    static_cast<SVFlashPane*>(owner()->castTo(&SVFlashPane::classRecord))->openChosenDocument(0, name);
}

SVFlashPane::~SVFlashPane() {
    ReleaseAndNull(popupList_);
    ReleaseAndNull(popupCallBack_);
}

void SVFlashPane::setUpItems() {
    SVPane::setUpItems();
    ReleaseAndNull(popupCallBack_);
    popupCallBack_ = CheckAlloc(new (std::nothrow) APopupTreeCallBackFlash(this), "SVPane", __LINE__);
    popupCallBack_->addRef();
}

void SVFlashPane::detachItems() {
    SVPane::detachItems();
    ReleaseAndNull(popupCallBack_);
}

void SVFlashPane::onFlashCommand(int16_t code, const char* text) {
    if (code == 5) {
        long number = 0;
        AppState* state = currentState();
        if (!state || !ReadNumber(text, number))
            return;
        std::string name = std::to_string(number) + "_" + std::to_string(state->getDocNo());
        openTarget(FlashServices().getMapFsText(name.c_str()).c_str());
    } else if (code == 2 || code == 3) {
        AString name = AString(text ? text : "").withoutChars(" ");
        if (openTarget(FlashServices().getLinkFsText(name.c_str()).c_str()))
            return;
        if (AppState* room = FlashServices().makeRoomPageState(*this, name.c_str())) {
            goToState(room);
            return;
        }
        if (AppState* state = FrameServices().makeUrlNavState(*getFrame(), AString(text ? text : ""), 3, -1))
            goToState(state);
    }
}

void SVFlashPane::onFlashNetCommand(int16_t code, const char* text) {
    if (code != 4 || !FrameServices().checkConnection(nullptr))
        return;
    if (AppState* state = FrameServices().makeUrlNavState(*getFrame(), AString(text ? text : ""), 8, -1))
        goToState(state);
}

int16_t SVFlashPane::openTarget(const char* text) {
    if (!text || !*text)
        return 0;
    AStringList fields(text, ':');
    long k = 0, n = 0;
    if (!ReadNumber(fields.at(0), k) || !ReadNumber(fields.at(1), n))
        return 0;
    AppState* current = currentState();
    if (k == 0) {
        if (n < 0)
            return 0;
        ADocState* doc = current ? current->getDocState() : nullptr;
        const int16_t kind = FlashServices().getDocKind(n, doc ? doc->fDocType : int16_t(2));
        AppState* state = getFrame()->makeNavState(1, 0, 0, 1, -1, kind, -1);
        state->setDocNo(n);
        state->setNew(1);
        state->fLink = 1;
        state->setUserInfo(1310, current ? current->getUserInfo(1310) : 0);
        if (ALeftState* left = state->getLeftState())
            left->fClone = 0;
        goToState(state);
        return 1;
    }
    if (k != 1)
        return 0;
    AString record = FlashServices().getLinkRecord(n);
    if (record.empty())
        return 0;
    AStringList parts(record.c_str(), ':');
    long direct = 0, d = -1;
    ReadNumber(parts.at(0), direct);
    if (direct == 1 && current && current->getUserInfo(1174) != 0) {
        if (!ReadNumber(parts.at(2), d) || d < 0)
            return 0;
        if (FlashServices().docIsMedia(d))
            FlashServices().openMediaWindow(d, 0, 0);
        else if (!FlashServices().showDocument(*this, d))
            openChosenDocument(0, parts.at(2));
        return 1;
    }
    showDocumentPopup(record.c_str());
    return 1;
}

int16_t SVFlashPane::showDocumentPopup(const char* text) {
    // A damaged list raises before any window is made.
    ALoSimple* list = CheckAlloc(new (std::nothrow) ALoSimple(text ? text : ""), "SVPane", __LINE__);
    list->addRef();
    ReleaseAndNull(popupList_);
    popupList_ = list;
    // The rows are the documents' titles: without the document base there is nothing to show.
    ASearchBase* documents = gDataManager ? gDataManager->getBase(kDocumentsBase) : nullptr;
    if (!documents)
        return 0;
    PopupTree* popup = PopupTree::load(this, "PopupTree");
    const APoint mouse = GetWindowCursorPos();
    const ARect place(mouse.x, mouse.y, mouse.x + 10, mouse.y + 10);
    PopupTreeParams params;
    getFrame()->makeMenuParams(params, 1);
    popup->setParams(params);
    auto* rows = CheckAlloc(new (std::nothrow) ASVResultLineGetter(documents, nullptr, popupList_, 0, nullptr, -1,
                                                                   nullptr, -1, nullptr, -1),
                            "SVPane", __LINE__);
    popup->setUp(this, popupCallBack_, "PopupTree", 0x2145, 0);
    popup->setLineGetter(rows, 1);
    popup->openAt(place);
    return 1;
}

void SVFlashPane::openChosenDocument(long ignored, const char* text) {
    (void)ignored;
    long n = 0;
    if (!ReadNumber(text, n) || n < 0)
        return;
    if (FlashServices().docIsMedia(n)) {
        FlashServices().openMediaWindow(n, 0, 0);
        return;
    }
    AppState* current = currentState();
    if (current && n == current->getDocNo())
        return;
    const bool home = current && current->getScreenMode() == 0;
    ADocState* doc = current ? current->getDocState() : nullptr;
    const int16_t kind = FlashServices().getDocKind(n, doc ? doc->fDocType : int16_t(0));
    AppState* state = getFrame()->makeNavState(home ? 0 : 1, 0, 0, 0, home ? 1 : -1, kind, home ? 1 : -1);
    state->setDocNo(n);
    getFrame()->goToState(state, 1);
}
