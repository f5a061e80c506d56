// The application's answer to a right click on a text selection: four
// entries ("Copier", "Définition", "Rechercher dans le texte", "Rechercher
// dans l' Encyclopédie"), the menu run, the chosen entry carried out on the
// main window.
//
// Two are shared by the application object (TheApp::getSelContextMenu), one
// with find-in-text, one without; panes hold plain pointers. The menu is the
// document engine's (not owned). Without a main window the entries that need
// one do nothing.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "docengine/hilite/AMarkerCallBack.h"

class ASVLoSearchState;
class Frame1;

class ASVSelContextMenuCallBack : public ASelContextMenuCallBack {
public:
    enum : int16_t { kCopy = 0, kDefinition = 1, kFindInText = 2, kSearchAll = 3 };

    ASVSelContextMenuCallBack() = default;
    explicit ASVSelContextMenuCallBack(int16_t findInText) : fFindInText(findInText) {}

    void fillMenu(APopupMenu* menu, const AString& selection) override;

    // Tabs, line feeds and returns become one space each; then spaces are trimmed from both ends.
    static AString cleanWord(const char* selection);
    // The full-text search of word shown in a new state of the main window.
    void searchEncyclopedia(const char* word);

    int16_t fFindInText = 1;

protected:
    // Seams for tests: the menu run at the mouse (the chosen index, -1 for
    // none), the main window (null without one), the full-text search
    // (TheApp::runFullTextSearch).
    virtual int16_t chooseFromMenu(APopupMenu* menu);
    virtual Frame1* mainWindow();
    virtual ASVLoSearchState* runSearch(const char* word);
};
