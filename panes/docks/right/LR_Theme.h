// The theme list of the right dock's links panel: the theme groups of the
// right document, each a heading followed by its documents, built from
// record n of the global base's THMEXT table.
//
// THMEXT record: one group per line (cut at '\n' and '\r'; an empty line is
// skipped but counts: group numbers are line index + 1):
//   label '#' t ':' r      r: record of the links base's HDG table listing
//                          the group's documents ("count:max:d1,d2,..."),
//                          -1 or missing: none
// Tree text: per group "-g" then its documents, joined by ','; negative
// numbers of a links record are left out. Selection keys 2040 and 2041.
#pragma once

#include <map>
#include <string>

#include "app/lists/LRExtPane.h"

class LR_Theme : public LRExtPane {
    SV_DECLARE_CLASS(LR_Theme)
public:
    enum : int16_t { kIcon = 1505 };

    LR_Theme();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    // Loads record n of THMEXT.
    void loadListHook(long n) override;

    // The tree text of a theme record and its group labels ("<label>#-1").
    static std::string buildTree(const char* record, std::map<long, std::string>* labels);
};
