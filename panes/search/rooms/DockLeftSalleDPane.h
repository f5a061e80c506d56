// Room D's left panes: one choice level (the popup "Sources" whose choice
// names the record the index list shows) above the index list and the
// result lists. Disc (fSalleLR 0) and both sources (1).
//
// Command 2021 opens the popup under its button; its status is 5 while the
// level's value is a non-zero number, else 1.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class DockLeftSalleDPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleDPane)
public:
    enum : int16_t { kLevel1Command = 2021, kMargin = 57 };

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t acceptClientChange(int16_t paneId, int16_t code) override;
    int16_t isPaneWanted() override { return wantedFor('D', source) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;

    void openPopup(int16_t id, AComponent* button);
    void loadPopupTexts() { loadChainTexts(1); }
    void readLevelTexts() { readChainLevels(1); }

protected:
    int16_t source = 0;  // fSalleLR of the variant
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
