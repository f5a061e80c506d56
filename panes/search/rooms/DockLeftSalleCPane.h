// Room C's left pane: one fixed list of documents for the room tab, whose
// key is "0:" the tab's record (left-state entry 1148) ":-1". Disc only.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class DockLeftSalleCPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleCPane)
public:
    void setUpItems() override;
    int16_t isPaneWanted() override { return wantedFor('C', 0) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
    AString makeListKey() override;
};
