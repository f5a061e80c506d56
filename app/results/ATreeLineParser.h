// The segment parser of rows at tree levels: one segment per row of a
// levelled getter (row n covers position [n, n + 1)), and one section per row
// followed by deeper rows, holding those rows (nested by level), so a
// laid-out model can close a section down to its header: the header's
// segment then covers the hidden rows too, and shows the header alone.
// Grouped rows are the two-level case (headers 0, members 1).
//
// Shared (ARefObj). Holds one reference on the getter; its row count is read
// when the parser is made. A missing getter is an assertion ("results").
#pragma once

#include "docengine/parser/ASegParser.h"

class ALevelledLineGetter;

class ATreeLineParser : public ALineBasedParser {
public:
    explicit ATreeLineParser(ALevelledLineGetter* getter);
    ~ATreeLineParser() override;

    ASegment* makeSegment(ADocModel* model, long position, bool findStart) override;
    long getLength() override { return rowCount_; }
    // Sections start open; the caller owns the tree.
    AExpandTree* buildExpandTree() override;

private:
    ALevelledLineGetter* getter_;  // one reference held
    long rowCount_;
};
