// The disc result list of the advanced search pane: the documents of the
// pane's result key ("-2:-2", the current search state's scored list).
// Clicking a row shows its document; a new search opens its first document
// by itself unless the document part is padlocked.
//
// Left part keys: 1110 and 1111 the selection, 1300 to 1303 the list options
// (shown, filter, display, sort). Nothing is owned here. A missing enclosing
// frame, centre switcher or search pane fails the allocation check ("LR_DVDAV").
#pragma once

#include "panes/search/left/LRDiscPane.h"

class DockLeftRechAVPane;

class LR_DVDAV : public LRDiscPane {
    SV_DECLARE_CLASS(LR_DVDAV)
public:
    LR_DVDAV();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    // First row 0; last 0, or -2 (none) while the document part is padlocked.
    void resetState(long argument) override;
    void updatePane() override;

protected:
    // Not through the centre switcher: a new search has already made its
    // first document the current one, which the switcher would leave unopened.
    DockLCRPane* openingCentre() override { return nullptr; }

private:
    DockLeftRechAVPane* searchPane = nullptr;  // not owned
};
