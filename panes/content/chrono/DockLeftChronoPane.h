// The chronology screen's left dock: the choice between its two pages (by
// theme 2601, by keyword 2602, one range command 2600), the button back to
// the document (2606), the button back to the chronology (2605) and the list
// view button (1234). The chosen page lives in entry 3 of the left part's
// values as page + 1.
//
// The items, the main window and the switcher are not owned; a missing item
// or main window fails the allocation check ("DockLeftChronoPane"); without
// a switcher above it the dock registers nowhere.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"

class AIconButton;
class DockLCRPane;

class DockLeftChronoPane : public SVPane {
    SV_DECLARE_CLASS(DockLeftChronoPane)
public:
    enum : int16_t { kModeChoice = 2600, kByTheme = 2601, kByKeyword = 2602, kChrono = 2605, kDocument = 2606,
                     kListView = 1234 };
    // The left part's entry that holds the page + 1, and the left kind of the chronology.
    static const long kModeEntry = 3;
    static const int16_t kChronoLeftKind = 5;

    DockLeftChronoPane() = default;

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    // The chronology screen: screen mode 1 with a left part of kind 5.
    int16_t isPaneWanted() override;
    // Entry 3 of the left part becomes 1 unless it is 1 or 2.
    void setPaneVisible(int16_t visible) override;

    int16_t mode() const { return mode_; }

private:
    DockLCRPane* switcher_ = nullptr;  // not owned
    int16_t mode_ = 0;                 // 0 by theme, 1 by keyword
    AIconButton* document_ = nullptr;  // item 2606, not owned
    AIconButton* chrono_ = nullptr;    // item 2605, not owned
};

// Whether the state is the chronology screen (screen mode 1, left kind 5).
class AppState;
bool IsChronoScreen(AppState* state);
