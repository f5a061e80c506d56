// The GLI room's left pane: six chained levels (each choice names the room
// record whose entries the next level offers; the sixth's value is the key
// of the room's link record) above the disc result list. Every source.
//
// Commands 2021-2026 open the level popups.
#pragma once

#include "panes/search/rooms/DockLeftSalleLevelPane.h"

class DockLeftSalleGLIPane : public DockLeftSalleLevelPane {
    SV_DECLARE_CLASS(DockLeftSalleGLIPane)
public:
    enum : int16_t { kFirstCommand = 2021, kLastCommand = 2026, kMargin = 180 };

    DockLeftSalleGLIPane() : DockLeftSalleLevelPane(kLevels) {}
    void setUpItems() override;
    int16_t isPaneWanted() override { return wantedFor('G', -1) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
    // The links record named by the sixth level's value.
    AString makeListKey() override;
    // Nothing without the level's button.
    void openPopup(int16_t id, AComponent* button) override;
};
