// The main window's navigation: making a state from the current one, the
// bounded back-and-forward chain, the queue of states asked for while one is
// shown, the refresh of the screen, and the tool-bar menus' actions.
#include "app/frame/Frame1.h"

#include <cstring>
#include <memory>
#include <new>

#include "app/frame/AFrameServices.h"
#include "app/frame/SVPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/app/AApp.h"
#include "framework/app/ACursor.h"
#include "framework/graphics/ARegion.h"
#include "framework/clusters/AStaticItem.h"

namespace {

template <class T>
T* Made(T* p, long line) {
    return CheckAlloc(p, "frame1", line);
}

template <class T>
T* CloneOf(const T* part, long line) {
    return part ? Made(static_cast<T*>(part->clone()), line) : nullptr;
}

// Sets a flag for a scope and clears it however the scope ends.
struct BusyGuard {
    explicit BusyGuard(int16_t& f) : flag(f) { flag = 1; }
    ~BusyGuard() { flag = 0; }
    int16_t& flag;
};

// Deletes a queued state and the one queued after it.
void DropQueue(AppState*& pending) {
    if (!pending)
        return;
    AppState* next = pending->getNext();
    pending->setNext(nullptr);
    delete next;
    delete pending;
    pending = nullptr;
}

}  // namespace

// ---- The chain -------------------------------------------------------------

AppState* Frame1::headState() const {
    if (!headState_)
        ThrowAssert("frame1", 50);
    return headState_;
}

AppState* Frame1::oldestState() const {
    AppState* s = headState();
    while (s->getPrev())
        s = s->getPrev();
    return s;
}

bool Frame1::canGoBack() const {
    return curState_ && curState_->getPrev();
}

bool Frame1::canGoForward() const {
    return curState_ && curState_->getNext();
}

void Frame1::setMaxStates(long count) {
    maxStates_ = static_cast<int16_t>(count < 2 || count > 0x7FFF ? 20 : count);
}

void Frame1::deleteChain() {
    delete headState_;
    headState_ = curState_ = nullptr;
    stateCount_ = 0;
    DropQueue(pendingState_);
}

void Frame1::setFirstState(AppState* state) {
    if (state != headState_) {
        delete headState_;
        headState_ = nullptr;
    }
    state->setNext(nullptr);
    headState_ = curState_ = state;
    stateCount_ = 1;
    updatePanes();
}

void Frame1::saveDocPanes(ADocState* doc) {
    if (!doc)
        return;
    for (SVPane* pane : {slots_.docPane1, slots_.docPane2, slots_.docPane3}) {
        if (pane && pane->isPaneWanted())
            pane->saveState(doc);
    }
}

bool Frame1::inChain(const AppState* state) const {
    for (AppState* s = headState_; s; s = s->getPrev()) {
        if (s == state)
            return true;
    }
    return false;
}

void Frame1::goToState(AppState* state, int16_t refresh) {
    stopMedia();
    if (!state)
        ThrowAssert("frame1", 103);
    if (busy_) {
        if (!pendingState_) {
            pendingState_ = state;
        } else {
            AppState* replaced = pendingState_->getNext();
            pendingState_->setNext(state);
            if (replaced != state)
                delete replaced;
        }
        return;
    }
    if (inChain(state)) {
        // A state of the chain handed again would be linked after itself (or
        // deleted with the old chain): it is shown as a state of the history.
        goToHistoryState(state);
        return;
    }
    {
        BusyGuard busy(busy_);
        if (!curState_ || curState_->getPane() == 0) {
            std::unique_ptr<AppState> owned(state);
            setFirstState(owned.release());
            state->clearPartFlags();
            DropQueue(pendingState_);
        } else {
            std::unique_ptr<AppState> owned(state);
            while (headState_ != curState_) {
                AppState* newer = headState_;
                headState_ = newer->getPrev();
                newer->setPrev(nullptr);
                headState_->setNext(nullptr);
                delete newer;
                --stateCount_;
            }
            if (curState_->fTemporaire) {
                AppState* older = curState_->getPrev();
                curState_->setPrev(nullptr);
                delete curState_;
                --stateCount_;
                // A temporary first state leaves an empty chain: the new
                // state starts it, as the first state of all does.
                headState_ = curState_ = older;
                if (older)
                    older->setNext(nullptr);
            }
            state = owned.release();
            state->setNext(nullptr);
            if (curState_) {
                state->setPrev(curState_);
                curState_->setNext(state);
            }
            headState_ = curState_ = state;
            ++stateCount_;
            if (refresh) {
                BusyGuard follows(pendingFollows_);
                updatePanes();
                state->clearPartFlags();
            }
            if (stateCount_ >= maxStates_) {
                AppState* oldest = oldestState();
                AppState* newer = oldest->getNext();
                newer->setPrev(nullptr);
                oldest->setNext(nullptr);
                delete oldest;
                --stateCount_;
            }
        }
    }
    if (pendingState_ && pendingState_ != state) {
        AppState* next = pendingState_;
        pendingState_ = next->getNext();
        next->setNext(nullptr);
        goToState(next, 1);
        DropQueue(pendingState_);
    }
    FrameServices().activateFrame();
    FrameServices().saveHistoryIfWanted();
}

bool Frame1::isStateSuperseded() const {
    return pendingFollows_ && pendingState_ && curState_ && curState_->fTemporaire;
}

void Frame1::becomeCurrent(AppState* state) {
    curState_ = state;
    state->setHisto(1);
    updatePanes();
    state->clearPartFlags();
}

void Frame1::goBack(int16_t refresh) {
    if (!canGoBack())
        return;
    saveDocPanes(curState_->getDocState());
    curState_ = curState_->getPrev();
    curState_->setHisto(1);
    if (refresh)
        updatePanes();
    curState_->clearPartFlags();
    FrameServices().saveHistoryIfWanted();
}

void Frame1::goForward() {
    if (canGoForward())
        becomeCurrent(curState_->getNext());
}

void Frame1::goToHistoryState(AppState* state) {
    AppState* s = headState_;
    while (s && s != state)
        s = s->getPrev();
    if (!s)
        ThrowAssert("frame1", 197);
    becomeCurrent(s);
}

// ---- Making states -----------------------------------------------------------

AppState* Frame1::makeNavState(int16_t keepLeft, int16_t keepDoc, int16_t keepRight, int16_t keepSearch,
                               int16_t leftIndex, int16_t docKind, int16_t screenMode) {
    AppState* cur = curState_;
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    ALeftState* left = cur ? cur->getLeftState() : nullptr;
    ARightState* right = cur ? cur->getRightState() : nullptr;
    int16_t docPane = FrameServices().getDocKindPane(docKind);

    std::unique_ptr<ALeftState> newLeft;
    if (!keepLeft) {
        newLeft.reset(Made(new (std::nothrow) ALeftState(), 213));
        if (left)
            left->copyTo(*newLeft);
        newLeft->fNew = 1;
        newLeft->fExpand = 1;
    } else if (left) {
        newLeft.reset(CloneOf(left, 219));
        if (slots_.leftPane)
            slots_.leftPane->saveTreeState(newLeft.get());
    }
    saveDocPanes(doc);
    std::unique_ptr<ADocState> newDoc;
    if (!keepDoc) {
        newDoc.reset(Made(new (std::nothrow) ADocState(docPane), 226));
        newDoc->fDocType = docKind;
        if (doc)
            doc->copyTo(*newDoc);
        newDoc->fNew = 1;
    } else if (doc) {
        newDoc.reset(CloneOf(doc, 232));
        saveDocPanes(newDoc.get());
    }
    std::unique_ptr<ARightState> newRight;
    if (docKind != 8) {
        if (!keepRight || !right) {
            newRight.reset(Made(new (std::nothrow) ARightState(1205, -1), 238));
            if (right)
                right->copyTo(*newRight);
            newRight->fNew = 1;
        } else {
            newRight.reset(CloneOf(right, 243));
            if (slots_.rightPane)
                slots_.rightPane->saveTreeState(newRight.get());
        }
    }
    ASVLoSearchState* search = keepSearch && cur ? cur->getSearchState() : nullptr;
    if (!keepLeft && leftIndex >= 0)
        newLeft->fMode = leftIndex;
    if (screenMode < 0)
        screenMode = cur ? cur->getScreenMode() : 1;
    AppState* state = Made(new (std::nothrow) AppState(screenMode, 2, newDoc.get(), newLeft.get(), newRight.get(),
                                                       search, -1),
                           254);
    newDoc.release();
    newLeft.release();
    newRight.release();
    if (cur)
        state->fSalle = cur->fSalle;
    if (keepDoc && cur)
        state->setDocNo(cur->getDocNo());
    return state;
}

void Frame1::goToListView() {
    AppState* state = makeNavState(1, 0, 1, 1, -1, 1, -1);
    state->setDocNo(-1);
    goToState(state, 1);
}

bool Frame1::stateMatches(AppState* state, int16_t screenMode, int16_t pane, int16_t index, int16_t room) const {
    return state->getScreenMode() == screenMode && state->getPane() == pane && state->getLeftState() &&
           state->getLeftState()->fMode == index && (room < 0 || state->fSalle == room);
}

AppState* Frame1::findPreviousState(int16_t screenMode, int16_t pane, int16_t index, int16_t room) {
    for (AppState* s = headState()->getPrev(); s; s = s->getPrev()) {
        if (stateMatches(s, screenMode, pane, index, room))
            return s;
    }
    return nullptr;
}

// The state of a screen not visited before; null when the screen has none.
AppState* Frame1::makeScreenState(int16_t keepSearch, int16_t index, int16_t screenMode, int16_t room) {
    int16_t x = static_cast<int16_t>(index + 1);
    ARightState* right = curState_->getRightState();
    if (screenMode == 1) {
        std::unique_ptr<AppState> state(makeNavState(0, 0, 0, keepSearch, x, 1, 1));
        state->fSalle = 0;
        state->setDocCadenas(0);
        if (x == 5) {
            if (state->getDocState())
                state->getDocState()->fDocType = 7;
            state->fTemporaire = 1;
        }
        if (right && right->fCadenas == 1)
            state->setRightState(CloneOf(right, 300));
        state->setDocNo(-1);
        return state.release();
    }
    if (screenMode == 3) {
        std::unique_ptr<ADocState> doc(Made(new (std::nothrow) ADocState(3006), 305));
        doc->fDocType = 3;
        std::unique_ptr<ARightState> newRight(Made(new (std::nothrow) ARightState(1205, -1), 307));
        newRight->fNew = 1;
        newRight->fExpand = 0;
        newRight->fCadenas = 0;
        AppState* state = Made(new (std::nothrow) AppState(3, 2, doc.get(), nullptr, newRight.get(), nullptr, -1), 311);
        doc.release();
        newRight.release();
        state->fSalle = room;
        state->setNew(1);
        return state;
    }
    if (screenMode == 4 && room == 9 && index == 1) {
        AppState* state = makeNavState(0, 0, 0, 0, x, 3, 4);
        if (ALeftState* left = state->getLeftState()) {
            left->fExpand = 0;
            left->fUserInfo.slot(7) = 1;
        }
        return state;
    }
    AString address = FrameServices().getScreenAddress(static_cast<int16_t>(room - 1), x);
    if (address.empty())
        return nullptr;
    if (std::strstr(address.c_str(), "compl") && !FrameServices().checkConnection(nullptr))
        return nullptr;
    return FrameServices().makeUrlNavState(*this, address, 3, -1);
}

void Frame1::switchScreen(int16_t keepSearch, int16_t menuIndex, int16_t screenMode, int16_t room) {
    if (!curState_)
        ThrowAssert("frame1", 332);
    int16_t x = static_cast<int16_t>(menuIndex + 1);
    AppState* cur = curState_;
    ALeftState* left = cur->getLeftState();
    ARightState* right = cur->getRightState();
    long docNo = cur->getDocNo();
    if (screenMode == 1 && cur->getScreenMode() == 1 && left && left->fMode == x)
        return;
    if (screenMode == 3 && cur->getScreenMode() == 3 && cur->fSalle == room)
        return;
    AppState* previous = screenMode == 1 || screenMode == 3 ? findPreviousState(screenMode, 2, x, -1)
                                                             : findPreviousState(screenMode, 2, x, room);
    std::unique_ptr<AppState> state;
    if (!previous) {
        state.reset(makeScreenState(keepSearch, menuIndex, screenMode, room));
        if (!state)
            return;
    } else {
        state.reset(Made(new (std::nothrow) AppState(*previous), 356));
        if (!cur->hasDocCadenas() && right && right->fCadenas == 1)
            state->setRightState(CloneOf(right, 358));
        if (cur->hasDocCadenas()) {
            state->setDocState(CloneOf(cur->getDocState(), 360));
            state->setRightState(CloneOf(right, 361));
            state->setDocNo(docNo);
        }
        state->setPartsClone(0);
        state->setNew(0);
        state->setHisto(1);
        state->setPrev(nullptr);
        state->setNext(nullptr);
        if (screenMode == 1 && state->getDocNo() == -1) {
            if (state->getDocState())
                state->getDocState()->fDocType = 1;
            state->fTemporaire = 1;
        }
    }
    if (screenMode != 3 && cur->hasDocCadenas() && docNo >= 0 && (screenMode != 1 || previous)) {
        state->setDocCadenas(1);
        state->setDocNo(docNo);
    }
    if (screenMode == 1 && state->getLeftState() && state->getLeftState()->fExpand == 0)
        state->getLeftState()->fExpand = 1;
    goToState(state.release(), 1);
}

void Frame1::openPreferences() {
    FrameServices().openPreferences();
}

void Frame1::openNetDialog(int16_t step) {
    FrameServices().openNetDialog(step);
}

void Frame1::connectionEntry() {
    switch (FrameServices().connectionState()) {
    case 1:
        showInfo(FrameServices().configMessage("MSG_NO_ACTIVE_CONNECTION").c_str(), "Connection Internet");
        break;
    case 3:
        openNetDialog(2);
        break;
    case 0:
    case 2:
        openNetDialog(0);
        break;
    default:
        break;
    }
}

void Frame1::doMenuAction(int16_t group, int16_t action) {
    switch (group) {
    case 0: {
        if (curState_ && curState_->getScreenMode() == 0)
            return;
        AppState* home = Made(new (std::nothrow) AppState(0, 1, nullptr, nullptr, nullptr, nullptr, -1), 404);
        home->setNew(1);
        goToState(home, 1);
        return;
    }
    case 1:
        switchScreen(action == 1 || action == 2 ? 0 : 1, static_cast<int16_t>(action - 1), 1, -1);
        return;
    case 2:
        if (action == 10) {
            FrameServices().openWebHome(1);
            if (curState_ && curState_->getLeftState()) {
                curState_->getLeftState()->fMode = -1;
                curState_->fSalle = -1;
            }
            return;
        }
        switchScreen(0, static_cast<int16_t>(action - 1), 3, action);
        return;
    case 3:
        switch (action) {
        case 1: openHelp(); break;
        case 2: openAssist(); break;
        case 3: openDictionary(""); break;
        case 4: exportCommand(); break;
        case 5: exportRtf(); break;
        case 6: printCommand(1); break;
        case 7: OpenDossier(-1, 0); break;
        case 8: openPreferences(); break;
        case 9: findInText(""); break;
        case 10:
        case 11: {
            int16_t mode = action == 10 ? 1 : 2;
            if (!FrameServices().getCurrentUserName().empty())
                workNameCommand(mode, "");
            else
                askUserName(mode);
            break;
        }
        default: break;
        }
        return;
    case 4:
        switch (action) {
        case 2: openNetDialog(3); break;
        case 3: openNetDialog(6); break;
        case 4: openPreferences(); break;
        case 5: connectionEntry(); break;
        default: break;
        }
        return;
    default:
        return;
    }
}

// ---- Showing the current state -------------------------------------------------

void Frame1::updatePanes() {
    std::unique_ptr<AOwnerCursorGuard> wait;
    if (AApp* app = AApp::current())
        wait.reset(new (std::nothrow) AOwnerCursorGuard(app, 257, 7));
    setActiveExportPane(nullptr);
    ALeftState* left = currentLeftState();
    if (!(left && left->fClone))
        setActiveListPane(nullptr);
    setActivePrintPane(nullptr);
    setActiveFlashPane(nullptr, "", 0);
    setActiveHtmlPane(nullptr);
    AClusterItem* contentHolder = findItem(1200, false);
    AClusterItem* homeHolder = findItem(1201, false);
    auto childPane = [this](int16_t id, long line) {
        AClusterItem* item = findItem(id, false);
        return CheckAlloc(item ? static_cast<SVPane*>(item->castTo(&SVPane::classRecord)) : nullptr, "frame1", line);
    };
    int16_t pane = curState_ ? curState_->getPane() : 0;
    if (pane == 1) {
        SVPane* home = childPane(1001, 466);
        CheckAlloc(contentHolder, "frame1", 467)->setVisible(false);
        home->updatePane();
        CheckAlloc(homeHolder, "frame1", 469)->setVisible(true);
    } else if (pane == 2) {
        SVPane* content = childPane(1002, 471);
        CheckAlloc(homeHolder, "frame1", 472)->setVisible(false);
        content->updatePane();
    // The panes shown, hidden and filled ask for one update of the window.
    AInvalidationHold oneUpdate;
        CheckAlloc(contentHolder, "frame1", 474)->setVisible(true);
    }
    if (isStateSuperseded())
        return;  // the queued state finishes the screen
    if (!currentTarget())
        becomeTarget(1);
    redraw(true);
    refreshPrintMenus(nullptr);
}
