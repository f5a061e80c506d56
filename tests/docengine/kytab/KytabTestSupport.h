// Helpers of the kytab tests: a table read from markup in a one-segment
// model, and the canonical description of a table and its grid.
#pragma once

#include <string>

#include "docengine/kytab/AKytabFragment.h"
#include "docengine/model/AIndexedDocModel.h"

class ASegment;

// Reads markup with a '*' sub-parser; holds the model and the segment's lock.
class ParsedTable {
public:
    explicit ParsedTable(const std::string& markup, char separator = '*');
    ~ParsedTable();
    ParsedTable(const ParsedTable&) = delete;
    ParsedTable& operator=(const ParsedTable&) = delete;

    AKytabFragment* table = nullptr;  // null when the parse failed
    std::string error;                // the parser error's text
    AIndexedDocModel* model = nullptr;
    ASegment* segment = nullptr;
};

// "mode=3 width=100 frame=1 margin=4 line=FF00FF00 fill=5 2x1" then per row
// " [cell ...]", a cell "w,h,rs,cs,va,fill:sides:lw" + " T" + " pic=N" + "|text",
// "^" for a covered placeholder and "_" for an empty filler.
std::string DescribeTable(AKytabFragment* table);
