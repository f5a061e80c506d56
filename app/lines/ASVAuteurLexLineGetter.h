// The author lexicon: one row per entry of an open author index, the
// entry's "name#key" shown as the name with the key (a result key naming
// the author's documents) as the row's anchor.
#pragma once

#include "app/lines/ASVLexLineGetter.h"

// The author row: the name as one table cell, "Surname, Forenames" shown
// as it stands; an entry without "#" keeps no key (its row opens nothing).
class ASVAuteurLineGetterCallBack : public ASVTableLineGetterCallBack {
public:
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override;
};

class ASVAuteurLexLineGetter : public ASVStandardLexLineGetter {
public:
    // Every entry of index (not owned), rows made by callBack (owned; null: the author row).
    ASVAuteurLexLineGetter(AKeyIndex* index, ALineGetterCallBack* callBack);
};
