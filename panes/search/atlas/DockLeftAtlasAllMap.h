// The layout pane of the all-places list (LR_AtlasAllMap, item 0xa97),
// shown while the atlas pane's tab is "all maps" (left value 4 = 1). Its
// layout state is saved under left keys 1050 (shown mask) and 1051 (text).
#pragma once

#include "panes/search/atlas/AtlasListLayout.h"

class DockLeftAtlasAllMap : public AtlasListLayout {
    SV_DECLARE_CLASS(DockLeftAtlasAllMap)
public:
    enum : int16_t { kListId = 0xa97 };
    DockLeftAtlasAllMap();
    void readFrom(AMemoryStream& stream) override;
};
