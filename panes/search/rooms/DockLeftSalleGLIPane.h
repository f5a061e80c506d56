// The GLI room's left pane: six chained levels (each choice names the room
// record whose entries the next level offers; the sixth's value is the key
// of the room's link record) above the disc result list. Every source.
//
// Commands 2021-2026 open the level popups; their status is 5 while the
// level's value is a non-zero number, else 1.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class DockLeftSalleGLIPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleGLIPane)
public:
    enum : int16_t { kFirstCommand = 2021, kLastCommand = 2026, kMargin = 180 };

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t isPaneWanted() override { return wantedFor('G', -1) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
    // The links record named by the sixth level's value.
    AString makeListKey() override;

    void openPopup(int16_t id, AComponent* button);
    void loadPopupTexts() { loadChainTexts(kLevels); }
    void readLevelTexts() { readChainLevels(kLevels); }
};
