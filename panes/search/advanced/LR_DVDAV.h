// The disc result list of the advanced search pane: the documents of the
// pane's result key ("-2:-2", the current search state's scored list).
// Clicking a row shows its document; a new search opens its first document
// by itself unless the document part is padlocked.
//
// Left part keys: 1110 and 1111 the selection, 1300 to 1303 the list options
// (shown, filter, display, sort). Nothing is owned here. A missing enclosing
// frame, centre switcher or search pane fails the allocation check ("LR_DVDAV").
#pragma once

#include "app/lists/LROptionsDVDPane.h"

class DockLCRPane;
class DockLeftRechAVPane;

class LR_DVDAV : public LROptionsDVDPane {
    SV_DECLARE_CLASS(LR_DVDAV)
public:
    LR_DVDAV();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void saveState(ABaseState* part) override;
    void selectionChanged(ARenderer* renderer) override;
    // First row 0; last 0, or -2 (none) while the document part is padlocked.
    void resetState(long argument) override;
    void openClickedLine(ARendererView* view);
    void updatePane() override;

private:
    void openDocument(long docNo, int16_t screenMode);

    DockLeftRechAVPane* searchPane = nullptr;  // not owned
    DockLCRPane* lcrPane = nullptr;            // not owned
};
