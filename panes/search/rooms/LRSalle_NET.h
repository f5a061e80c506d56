// The online result list of a room pane: the pages of the stored online
// result that the room pane's online key names. Clicking a row shows its
// page in the centre; an address the application does not know beeps.
// Nothing in the reader writes a room's online key yet, so this list stays
// empty until something does.
//
// Left part keys: 1144 and 1145 the selection, 1305 the options panel, 1307
// the display. Nothing is owned here; missing enclosing panes fail the
// allocation check ("LRSalle_NET").
#pragma once

#include "panes/search/left/LRNetPane.h"

class DockLCRPane;
class DockLeftSallePane;
class Frame1;

class LRSalle_NET : public LRNetPane {
    SV_DECLARE_CLASS(LRSalle_NET)
public:
    LRSalle_NET();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    void updatePane() override;

    Frame1* frame = nullptr;                // not owned
    DockLCRPane* lcr = nullptr;             // not owned
    DockLeftSallePane* roomPane = nullptr;  // not owned
};
