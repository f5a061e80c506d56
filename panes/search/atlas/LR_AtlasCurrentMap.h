// The list of the places of the map shown in the centre (left value 1065):
// the map's place list (table 7 of the maps base) filters the place index.
// A click moves and zooms the shown map onto the place; it never opens
// another map. Keys 1062, 1063 (selection) and 1064 (search text).
#pragma once

#include "panes/search/atlas/LR_Atlas.h"

class ASVAtlasFilterLexLineGetter;

class LR_AtlasCurrentMap : public LR_Atlas {
    SV_DECLARE_CLASS(LR_AtlasCurrentMap)
public:
    LR_AtlasCurrentMap();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    void openLine(ARenderer* renderer) override;
    void openPlace(const AtlasPlace& place) override;
    void openIndex(const char* key, AEditBox* field) override;

    // Filters the rows on the places of a map (no row for a map without places).
    void filterOnMap(long mapDoc);

private:
    ASVAtlasFilterLexLineGetter* filterGetter() const;
};
