// The linked-document list of the right dock's links panel: the documents
// the right document points to, from item 1 of its "EXT" field (the text of
// an occurrence list), loaded by the family's loadList. Selection keys 2050
// and 2051; header picture 1507.
#pragma once

#include "app/lists/LRExtPane.h"

class LR_DocLink : public LRExtPane {
    SV_DECLARE_CLASS(LR_DocLink)
public:
    enum : int16_t { kIcon = 1507 };

    LR_DocLink();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
};
