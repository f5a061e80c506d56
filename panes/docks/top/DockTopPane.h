// The top dock of the main window (layout "DOCKTOP"): a row of slots, each
// holding one top-dock pane. It has no selection logic of its own: each pane
// below decides through isPaneWanted, and SVPane's refresh walk shows and
// refreshes the wanted ones and hides the others with their slots.
//
// The frame is SVPane's (not owned). A pane outside a Frame1 fails the
// allocation check at load time.
#pragma once

#include "app/frame/SVPane.h"

class DockTopPane : public SVPane {
    SV_DECLARE_CLASS(DockTopPane)
public:
    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
};
