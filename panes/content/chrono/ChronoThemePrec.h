// The theme list of the chronology's left dock: the theme tree of the
// chronology base (table THM, record 0) one row a line, each theme keyed by
// its LNK record. Choosing a theme hands its key to the enclosing page,
// which reloads the event list.
//
// Holds one reference on its theme rows from the first refresh to detach.
// The list must sit inside a DockLeftChronoTheme (assertion otherwise).
#pragma once

#include "app/lists/ListPane.h"

class ASVThemeChronoLineGetter;

class ChronoThemePrec : public ListPane {
    SV_DECLARE_CLASS(ChronoThemePrec)
public:
    ChronoThemePrec();
    ~ChronoThemePrec() override;

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    // A theme row (hit kind 3) chosen in the list.
    void selectionChanged(ARenderer* renderer) override;

    // Reads the theme tree into the list (once).
    void buildList();
    ASVThemeChronoLineGetter* themes() const { return themes_; }

private:
    ASVThemeChronoLineGetter* themes_ = nullptr;  // one reference held
};
