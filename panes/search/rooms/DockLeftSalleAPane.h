// Room A's left panes: two choice levels (a level-1 popup "Sources" whose
// choice names the record of the level-2 popup "Themes", whose choice names
// the record the index list shows), the index list and the room's result
// lists. One pane per source of the room's content: disc (fSalleLR 0),
// online (2) and both (1); the online pane never reads its popup texts, so
// its buttons open nothing.
//
// Commands 2021 and 2022 open the level popups.
#pragma once

#include "panes/search/rooms/DockLeftSalleLevelPane.h"

class DockLeftSalleAPane : public DockLeftSalleLevelPane {
    SV_DECLARE_CLASS(DockLeftSalleAPane)
public:
    enum : int16_t { kLevel2Command = 2022, kMargin = 81 };

    DockLeftSalleAPane() : DockLeftSalleLevelPane(2) {}
    void setUpItems() override;
    int16_t isPaneWanted() override { return wantedFor('A', source) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
};

class DockLeftSalleA_DVDPane : public DockLeftSalleAPane {
    SV_DECLARE_CLASS(DockLeftSalleA_DVDPane)
public:
    void setUpItems() override;
};

class DockLeftSalleA_NETPane : public DockLeftSalleAPane {
    SV_DECLARE_CLASS(DockLeftSalleA_NETPane)
public:
    DockLeftSalleA_NETPane() { source = 2; }
    void setUpItems() override;
};

class DockLeftSalleA_DVDNETPane : public DockLeftSalleAPane {
    SV_DECLARE_CLASS(DockLeftSalleA_DVDNETPane)
public:
    DockLeftSalleA_DVDNETPane() { source = 1; }
    void setUpItems() override;
};
