// The result-list pane bases: a list of documents (an occurrence list) named
// by a short key, shown as rows of the list view.
// - LRPane: the key "n:m" names record m of the LINKS base, whose text is
//   the list (m = -1: no list); icon button 2540 expands and collapses.
// - LRNbResPane: adds count line 2532 ("Aucun document à afficher", "1
//   Document", "2 Documents"), written also as the application's result
//   count, and m = -2 for the current search's results.
//
// Holds one reference on its list; list area 2550 and count line 2532 are
// required items (allocation check or assertion "layout"). Damaged list texts
// raise the facade's error to the caller.
#pragma once

#include <windows.h>

#include "app/lists/ListPane.h"

class ALo;
class AIconButton;
class AStaticItem;
class AStaticText;

class LRPane : public ListPane {
    SV_DECLARE_CLASS(LRPane)
public:
    enum : int16_t { kIconCommand = 2540, kListAreaId = 2550 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    // 2540: 1 or 2 (may toggle or not), plus 4 while expanded.
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override {}

    virtual void loadList(const char* key) { (void)key; }
    // 1 when the key named a list (the pane's list replaced), 0 for m = -1.
    virtual int16_t runQuery(const char* key);

    ALo* getLo() const { return lo; }
    // The button's icon becomes bitmap resource id, cut into the button's frames.
    void setIcon(int16_t id);

protected:
    // Holds one reference on list, releasing the previous one.
    void setLo(ALo* list);
    // n and m of "n:m"; a missing field reads as "".
    static void splitKey(const char* key, long* n, long* m);

    AIconButton* iconButton = nullptr;  // item 2540 or null, not owned
    AStaticItem* listArea = nullptr;    // item 2550, not owned
    ALo* lo = nullptr;                  // one reference held
};

class LRNbResPane : public LRPane {
    SV_DECLARE_CLASS(LRNbResPane)
public:
    enum : int16_t { kCountId = 2532 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    // m = -2 takes the current search's results (0 without them).
    int16_t runQuery(const char* key) override;
    void showResultCount(long n, int16_t highlight);

    int16_t fromSearch = 0;
    long count = 0;
    COLORREF normalColour = 0;
    COLORREF highlightColour = 0;

protected:
    AStaticText* countItem = nullptr;  // item 2532, not owned
};
