// Room E's left pane: the author list above the disc result list; picking
// an author makes that author's key the key text. Disc only.
#pragma once

#include "panes/search/rooms/DockLeftSallePane.h"

class LR_RechE;

class DockLeftSalleEPane : public DockLeftSallePane {
    SV_DECLARE_CLASS(DockLeftSalleEPane)
public:
    void setUpItems() override;
    int16_t isPaneWanted() override { return wantedFor('E', 0) ? 1 : 0; }
    void arrangeClients() override;
    void updatePane() override;
};
