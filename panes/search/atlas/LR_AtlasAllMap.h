// The list of every place of the atlas. A click opens the place's map
// centred on the place, or, when that map is already shown, moves the shown
// map to the place's frame and zoom. Keys 1052, 1053 (selection) and 1054
// (search text) of the left part.
#pragma once

#include "panes/search/atlas/LR_Atlas.h"

class LR_AtlasAllMap : public LR_Atlas {
    SV_DECLARE_CLASS(LR_AtlasAllMap)
public:
    LR_AtlasAllMap();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    void openLine(ARenderer* renderer) override;
    void openPlace(const AtlasPlace& place) override;
    void openIndex(const char* key, AEditBox* field) override;
};
