// The base of the room panes with choice levels (rooms A, D and GLI): the
// level buttons' commands 2021 onwards, one a level, open the level popups
// under their buttons; a command's status is 5 while its level's value is
// a non-zero number, else 1. The popup texts go at detach.
//
// Owns what the room base owns; nothing more.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class DockLeftSalleLevelPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleLevelPane)
public:
    enum : int16_t { kLevel1Command = 2021 };

    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;

    // A new popup callback for the level of command id, then its popup under button.
    virtual void openPopup(int16_t id, AComponent* button);
    // The popup texts of the pane's levels (level k's record under 1144 + 4k).
    void loadPopupTexts() { loadChainTexts(levelCount); }
    void readLevelTexts() { readChainLevels(levelCount); }

protected:
    explicit DockLeftSalleLevelPane(int16_t count) : levelCount(count) {}
    bool isLevelCommand(int16_t id) const { return id >= kLevel1Command && id < kLevel1Command + levelCount; }
    // The popup texts, the levels (saved with a restored state, else read
    // from the records) and their labels.
    void showLevels(const ALeftState* left);

    const int16_t levelCount;
};
