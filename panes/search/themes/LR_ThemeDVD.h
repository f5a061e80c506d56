// The article list of the themes pane: the documents filed under the chosen
// theme, with their count. Clicking a row opens its document; a new theme
// opens its first document unless the document part is padlocked.
//
// Theme key (the themes pane's key text): "a:m", m a record of the links
// base's table 0 (its text an occurrence list, "count:max:d1,d2,..."), -1
// for a theme without a list (the list then stays as it was). An empty key
// (a theme without articles), a negative m other than -1, an m past the
// table or a field that is not a number show an empty list.
//
// Holds one reference on its list (LRPane's) and on its rows (ListPane's).
// Left part keys 1030 and 1031 (the selection). Missing enclosing panes fail
// the allocation check ("LR_ThemeDVD").
#pragma once

#include "app/lists/LRPane.h"

class DockLCRPane;
class DockLeftThemePane;
class Frame1;

class LR_ThemeDVD : public LRNbResPane {
    SV_DECLARE_CLASS(LR_ThemeDVD)
public:
    enum : int16_t { kDocumentBase = 13 };

    LR_ThemeDVD();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void loadList(const char* key) override;
    void updatePane() override;
    void selectionChanged(ARenderer* renderer) override;
    void lineClicked(ARenderer* renderer);
    void resetSelection(int16_t unused);

    // The record m of a theme key: -1 for "no list", -2 for a key that names
    // no record (empty, not a number, negative), else m.
    static long recordOfKey(const char* key);
    // The text of links record m (a hook the tests replace).
    virtual AString themeRecord(long a, long m);

    Frame1* frame = nullptr;                 // not owned
    DockLCRPane* lcr = nullptr;              // not owned; null without a centre
    DockLeftThemePane* themePane = nullptr;  // not owned

private:
    void showEmpty();
    void openDocument(long docNo, int16_t screenMode);
};
