// The set list of the right dock's links panel: the outline of the set the
// article belongs to, headings and member documents, read from record n of
// the global base's ESSLST table.
//
// ESSLST record: lines cut at CR and LF, blank lines skipped; each line
//   title [ '#' number ]      title may start with TABs (not shown);
//                             number empty, missing or < 0: a heading
// A member's HDGLIB record (HDFILES, table 0), TAB-separated:
//   field 0  the row's link name (the member's own number when it is no number)
//   field 1  k: the icon style is k + 4 (missing: 0)
// Rows, one a line (titles escaped over "&<>*[]|"):
//   heading  /&TABLE:100%:N0:[[100,0,0,0,0:0| /B<title>]]&/#<number>
//   member   /&TABLE:100%:N0:[[-20,0,0,0,0:0|/!<k+4>!/*100,0,0,0,0:0|<title>]]&/#<field 0>
// Selection keys 2010 and 2011.
#pragma once

#include "app/lists/LRExtPane.h"

class LR_Ensemble : public LRExtPane {
    SV_DECLARE_CLASS(LR_Ensemble)
public:
    enum : int16_t { kIcon = 1506 };

    LR_Ensemble();
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    // Loads record n of ESSLST.
    void loadListHook(long n) override;

    // The rows of a set record, each followed by "\n".
    static AString buildRows(const char* record);
    static AString makeHeadingRow(const char* title, const char* number);
    // The member row of document docNo, whose HDGLIB record is info.
    static AString formatDocumentRow(const char* title, long docNo, const char* info);
};
