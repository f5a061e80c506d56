// The layout pane of the current-map list (LR_AtlasCurrentMap, item 0xaa1),
// shown while the atlas pane's tab is "current map" (left value 4 = 2) and
// the centre shows a map rather than the room's own page (state value 1066
// below 1). Its layout state is saved under left keys 1060 and 1061.
#pragma once

#include "panes/search/atlas/AtlasListLayout.h"

class DockLeftAtlasCurrentMap : public AtlasListLayout {
    SV_DECLARE_CLASS(DockLeftAtlasCurrentMap)
public:
    enum : int16_t { kListId = 0xaa1 };
    DockLeftAtlasCurrentMap();
    void readFrom(AMemoryStream& stream) override;

protected:
    bool wantedOnState(AppState* state) override;
};
