// Room D's left panes: one choice level (the popup "Sources" whose choice
// names the record the index list shows) above the index list and the
// result lists. Disc (fSalleLR 0) and both sources (1).
//
// Command 2021 opens the popup.
#pragma once

#include "panes/search/rooms/DockLeftSalleLevelPane.h"

class DockLeftSalleDPane : public DockLeftSalleLevelPane {
    SV_DECLARE_CLASS(DockLeftSalleDPane)
public:
    enum : int16_t { kMargin = 57 };

    DockLeftSalleDPane() : DockLeftSalleLevelPane(1) {}
    void setUpItems() override;
    int16_t isPaneWanted() override { return wantedFor('D', source) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
    // The popup under button with the callback made at set-up.
    void openPopup(int16_t id, AComponent* button) override;
};

class DockLeftSalleD_DVDPane : public DockLeftSalleDPane {
    SV_DECLARE_CLASS(DockLeftSalleD_DVDPane)
public:
    void setUpItems() override;
};

class DockLeftSalleD_DVDNETPane : public DockLeftSalleDPane {
    SV_DECLARE_CLASS(DockLeftSalleD_DVDNETPane)
public:
    DockLeftSalleD_DVDNETPane() { source = 1; }
    void setUpItems() override;
};
