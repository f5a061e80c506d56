// The disc result list: the documents of the search result pane's result key
// (the chosen refinement row), in the order of the search. Clicking a row
// shows its document in the centre of the main window; a new search opens
// its first document by itself unless the document part is padlocked.
//
// Left part keys: 1004 the open request, 1010 and 1011 the selection, 1300
// to 1303 the list options (shown, filter, display, sort). Nothing is owned
// but the list and its rows (the bases' references). Missing enclosing panes
// fail the allocation check ("LR_DVD").
#pragma once

#include "app/lists/LROptionsPane.h"

class DockLeftRechSIPane;

class LR_DVD : public LROptionsPane {
    SV_DECLARE_CLASS(LR_DVD)
public:
    LR_DVD();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void saveState(ABaseState* part) override;
    void selectionChanged(ARenderer* renderer) override;
    void openClickedLine(ARendererView* view);
    void updatePane() override;
    // The documents of a result key as rows, and their count; an empty key or
    // one whose list part is -1 empties the list.
    void loadList(const char* key) override;

    int16_t filter = 0;
    int16_t display = 0;
    int16_t sort = 1;  // 1 " pertinence", 2 " thème", 0 " ordre alphabétique"

private:
    void openDocument(long docNo, int16_t screenMode);

    DockLeftRechSIPane* searchPane = nullptr;  // not owned
};
