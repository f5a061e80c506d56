// The main window's tool-bar menus: the tables between menu lines and
// actions, the popup a menu button opens and the choice of an entry; the
// history popup and the choice of one of its rows.
#include <cstdlib>
#include <cstring>

#include "app/frame/AFrameServices.h"
#include "app/frame/APopupTreeCallBackHisto.h"
#include "app/frame/APopupTreeCallBackMenu.h"
#include "app/frame/ASVHistoLineGetter.h"
#include "app/frame/Frame1.h"
#include "app/popup/PopupTree.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/controls/AIconButton.h"

int16_t Frame1::menuLineToAction(int16_t group, long line) {
    switch (group) {
    case 0:
        return 0;
    case 1:
        return line >= 1 && line <= 5 ? int16_t(line) : -1;
    case 2:
        // The rooms menu lists the fourth room before the third.
        if (line < 1 || line > 10)
            return -1;
        return int16_t(line == 3 ? 4 : line == 4 ? 3 : line);
    case 3:
    case 4:
        return line >= -0x8000 && line <= 0x7FFF ? int16_t(line) : -1;
    default:
        return -1;
    }
}

int16_t Frame1::menuActionToLine(int16_t group, long action) {
    switch (group) {
    case 0:
        return 0;
    case 1:
        return action >= 1 && action <= 5 ? int16_t(action) : -1;
    case 2:
        if (action < 1 || action > 9)
            return -1;
        return int16_t(action == 3 ? 4 : action == 4 ? 3 : action);
    case 3:
    case 4:
        return action >= -0x8000 && action <= 0x7FFF ? int16_t(action) : -1;
    default:
        return -1;
    }
}

int16_t Frame1::menuButton() const {
    return menuCallBack_ ? menuCallBack_->button() : 0;
}

int32_t Frame1::getMenuPopupLine(int16_t buttonId) {
    const int16_t mode = curState_ ? curState_->getScreenMode() : -1;
    switch (buttonId) {
    case 1041: {
        ALeftState* left = currentLeftState();
        return mode == 1 && left ? menuActionToLine(1, left->fMode) - 1 : 0;
    }
    case 1042:
        return mode == 3 || mode == 4 ? menuActionToLine(2, curState_->fSalle) - 1 : 0;
    default:
        return 0;
    }
}

void Frame1::showMenuPopup(int16_t buttonId, AIconButton* button, int16_t markFlag, int16_t headingFlag) {
    if (!menuCallBack_) {
        menuCallBack_.reset(CheckAlloc(new (std::nothrow) APopupTreeCallBackMenu(this), "frame1", __LINE__));
        menuCallBack_->addRef();
    }
    menuCallBack_->setButton(buttonId);
    PopupTree* popup = PopupTree::load(getParent(), "PopupTree");
    ARect anchor = button ? button->getScreenBounds() : getScreenBounds();
    PopupTreeParams params;
    makeMenuParams(params, 1);
    popup->setParams(params);
    int32_t options = 0x42 | (markFlag ? 0x4000 : 0) | (headingFlag ? 0x2000 : 0);
    popup->setUp(this, menuCallBack_.get(), "PopupTree", options, getMenuPopupLine(buttonId));
    popup->fillFromCallBack(menuText(buttonId).c_str());
    popup->openAt(anchor);
}

void Frame1::menuPopupChosen(const char* key) {
    if (!key)
        return;
    const char* colon = std::strchr(key, ':');
    if (!colon)
        return;
    char* end = nullptr;
    const long index = std::strtol(key, &end, 10);
    if (end != colon || index < -1 || index > 8)
        return;
    const long line = std::strtol(colon + 1, &end, 10);
    if (end == colon + 1)
        return;
    // A key from data that names no action of its group runs nothing.
    const int16_t group = int16_t(index + 1);
    const int16_t action = menuLineToAction(group, line);
    if (action >= 0)
        doMenuAction(group, action);
}

void Frame1::showHistoryPopup(AIconButton* button) {
    if (!headState_)
        ThrowAssert("frame1", __LINE__);
    if (!histoCallBack_) {
        histoCallBack_.reset(CheckAlloc(new (std::nothrow) APopupTreeCallBackHisto(this), "frame1", __LINE__));
        histoCallBack_->addRef();
    }
    PopupTree* popup = PopupTree::load(getParent(), "PopupTree");
    ARect anchor = button ? button->getScreenBounds() : getScreenBounds();
    const long lines = std::atol(FrameServices().configString("HISTO_NBLINES").c_str());
    auto* rows = CheckAlloc(new (std::nothrow) ASVHistoLineGetter(headState_, curState_, lines), "frame1", __LINE__);
    rows->addRef();
    if (ALineGetterCallBack* format = FrameServices().makeHistoryRowFormat())
        rows->setCallBack(format);
    const long current = rows->currentLine();
    PopupTreeParams params;
    makeMenuParams(params, 1);
    popup->setParams(params);
    popup->setUp(this, histoCallBack_.get(), "PopupTree", 0x2042, 0);
    popup->setLineGetter(rows, 1);
    rows->release();
    popup->setLinkedText(button);
    popup->setCurrentLine(current);
    popup->openAt(anchor);
}

void Frame1::historyLineChosen(const char* key) {
    AppState* chosen = ASVHistoLineGetter::stateOfKey(headState_, key);
    AppState* current = curState_;
    if (!chosen || !current || chosen == current)
        return;
    const int16_t from = current->getScreenMode(), to = chosen->getScreenMode();
    const bool sameDoc = chosen->getDocNo() == current->getDocNo();
    bool go;
    if (from == 0)
        go = to != 0 || !sameDoc;
    else if (from == 3 || from == 4)
        go = !(to == from && chosen->fSalle == current->fSalle && sameDoc);
    else
        go = !sameDoc;
    if (go)
        goToHistoryState(chosen);
}
