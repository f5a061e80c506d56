// The web-link list of the right dock's links panel: one row that opens the
// online service's links page of the article's web-link key.
//
// Row (kytab markup, '*' between cells), label L escaped over "&<>*[]|", key
// K appended as it is, W the label cell's width:
//   /&TABLE:100%:N0:[[-20,0,0,0,0:0|/!23!/*W,0,0,0,0:0|L]]&/#@K
// Selection keys 2020 and 2021.
#pragma once

#include "app/lists/LRExtPane.h"

class LR_LinkNet : public LRExtPane {
    SV_DECLARE_CLASS(LR_LinkNet)
public:
    enum : int16_t { kIcon = 1504 };

    LR_LinkNet();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    // "" and " " load nothing (the rows shown stay).
    void loadList(const char* key) override;
    // A link hit named "@K" opens the links page of K.
    void selectionChanged(ARenderer* renderer) override;

    static AString makeLinkRow(const char* label, const char* key, long width);
};
