// Room B's left panes: no popup; the index list shows the room's own record
// (left-state entry 1148, as the level-1 value) above the result lists.
// Disc (fSalleLR 0) and both sources (1); the both-sources pane reads the
// room's record as the disc pane does.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class DockLeftSalleBPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleBPane)
public:
    enum : int16_t { kMargin = 28 };

    void setUpItems() override;
    int16_t isPaneWanted() override { return wantedFor('B', source) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
};

class DockLeftSalleB_DVDPane : public DockLeftSalleBPane {
    SV_DECLARE_CLASS(DockLeftSalleB_DVDPane)
public:
    void setUpItems() override;
};

class DockLeftSalleB_DVDNETPane : public DockLeftSalleBPane {
    SV_DECLARE_CLASS(DockLeftSalleB_DVDNETPane)
public:
    DockLeftSalleB_DVDNETPane() { source = 1; }
    void setUpItems() override;
};
