// The room list of the right dock's links panel: the documents of the room
// of the right document's first media kind, from the matching item of its
// "EXT" field, loaded by the family's loadList. Its header picture follows
// the media kind of the document the state shows. Selection keys 2030, 2031.
#pragma once

#include "app/lists/LRExtPane.h"

class LR_Salle : public LRExtPane {
    SV_DECLARE_CLASS(LR_Salle)
public:
    LR_Salle();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
};
