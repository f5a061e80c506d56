// The selection menu: its entries and what each one does.
#include "reader/ASVSelContextMenuCallBack.h"

#include <string>

#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/controls/APopupMenu.h"

namespace {

template <class T>
T* Made(T* p) {
    return CheckAlloc(p, "appclass", __LINE__);
}

AComponent* CopyTarget() {
    AApp* app = AApp::current();
    return app ? app->target() : nullptr;
}

}  // namespace

AString ASVSelContextMenuCallBack::cleanWord(const char* selection) {
    std::string word(selection ? selection : "");
    for (char& c : word)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    size_t first = word.find_first_not_of(' ');
    if (first == std::string::npos)
        return AString();
    size_t last = word.find_last_not_of(' ');
    return AString(word.substr(first, last - first + 1).c_str());
}

int16_t ASVSelContextMenuCallBack::chooseFromMenu(APopupMenu* menu) {
    // No entry is marked as current.
    return menu->popupAtCursor(0);
}

void ASVSelContextMenuCallBack::fillMenu(APopupMenu* menu, const AString& selection) {
    if (!menu)
        return;
    AString word = cleanWord(selection.c_str());
    AComponent* target = CopyTarget();
    struct Entry {
        const char* text;
        bool enabled;
    } const entries[] = {{"Copier", target && target->canCopy()},
                         {"D\xE9" "finition", true},
                         {"Rechercher dans le texte", fFindInText != 0},
                         {"Rechercher dans l' Encyclop\xE9" "die", true}};
    for (const Entry& e : entries) {
        int index = menu->addItem(e.text);
        menu->enableItem(static_cast<int16_t>(index), e.enabled);
    }
    int16_t choice = chooseFromMenu(menu);
    Frame1* frame = mainWindow();
    switch (choice) {
    case kCopy:
        // The target may have changed while the menu was open.
        if ((target = CopyTarget()) != nullptr)
            target->perform(target->copy());
        break;
    case kDefinition:
        if (frame)
            frame->openDictionary(word.c_str());
        break;
    case kFindInText:
        if (frame)
            frame->findInText(word.c_str());
        break;
    case kSearchAll:
        searchEncyclopedia(word.c_str());
        break;
    default:
        break;
    }
}

Frame1* ASVSelContextMenuCallBack::mainWindow() {
    TheApp* app = TheApp::current();
    return app ? app->getFrame() : nullptr;
}

ASVLoSearchState* ASVSelContextMenuCallBack::runSearch(const char* word) {
    TheApp* app = TheApp::current();
    return app ? app->runFullTextSearch(1, word, 0) : nullptr;
}

void ASVSelContextMenuCallBack::searchEncyclopedia(const char* word) {
    Frame1* frame = mainWindow();
    if (!frame)
        return;
    ASVLoSearchState* search = runSearch(word);
    if (!search)
        return;
    AppState* cur = frame->currentState();
    ADocState* doc = frame->currentDocState();
    ALeftState* left = frame->currentLeftState();
    ARightState* right = frame->currentRightState();
    bool locked = cur && doc && doc->fCadenas == 1;

    ALeftState* newLeft = Made(new ALeftState());
    if (left) {
        newLeft->fExpand = left->fExpand;
        newLeft->fMode = left->fMode;
    }
    newLeft->fNew = 1;
    newLeft->fMode = 1;

    ADocState* newDoc;
    if (locked) {
        newDoc = Made(static_cast<ADocState*>(doc->clone()));
    } else {
        newDoc = Made(new ADocState(1203));
        if (doc)
            doc->copyTo(*newDoc);
        newDoc->fNew = 1;
    }

    ARightState* newRight;
    if (locked && right) {
        newRight = Made(static_cast<ARightState*>(right->clone()));
    } else {
        newRight = Made(new ARightState(1205, -1));
        if (right)
            right->copyTo(*newRight);
        newRight->fNew = 1;
    }

    AppState* state = Made(new AppState(1, 2, newDoc, newLeft, newRight, search, -1));
    state->setSearchState(search);
    frame->goToState(state, 1);
}
