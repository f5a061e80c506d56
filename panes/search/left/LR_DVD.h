// The disc result list: the documents of the search result pane's result key
// (the chosen refinement row), in the order of the search. Clicking a row
// shows its document in the centre of the main window; a new search opens
// its first document by itself unless the document part is padlocked.
//
// Documents open through the enclosing centre switcher, which knows each
// document's kind; a frame without one builds the state here.
//
// Left part keys: 1004 the open request, 1010 and 1011 the selection, 1300
// to 1303 the list options (shown, filter, display, sort). Nothing is owned
// here; the list and its rows are the options base's. Missing enclosing panes
// fail the allocation check ("LR_DVD").
#pragma once

#include "panes/search/left/LRDiscPane.h"

class DockLeftRechSIPane;

class LR_DVD : public LRDiscPane {
    SV_DECLARE_CLASS(LR_DVD)
public:
    LR_DVD();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    void updatePane() override;

private:
    DockLeftRechSIPane* searchPane = nullptr;  // not owned
};
