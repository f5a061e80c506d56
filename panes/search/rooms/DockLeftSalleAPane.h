// Room A's left panes: two choice levels (a level-1 popup "Sources" whose
// choice names the record of the level-2 popup "Themes", whose choice names
// the record the index list shows), the index list and the room's result
// lists. One pane per source of the room's content: disc (fSalleLR 0),
// online (2) and both (1); the online pane never reads its popup texts, so
// its buttons open nothing.
//
// Commands 2021 and 2022 open the level popups under their buttons; their
// status is 5 while the level's value is a non-zero number, else 1.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class DockLeftSalleAPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleAPane)
public:
    enum : int16_t { kLevel1Command = 2021, kLevel2Command = 2022, kMargin = 81 };

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t acceptClientChange(int16_t paneId, int16_t code) override;
    int16_t isPaneWanted() override { return wantedFor('A', source) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;

    void openPopup(int16_t id, AComponent* button);
    // The popup texts of levels 1 and 2 (the level-2 record under 1152).
    void loadPopupTexts() { loadChainTexts(2); }
    void readLevelTexts() { readChainLevels(2); }

protected:
    int16_t source = 0;  // fSalleLR of the variant
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
