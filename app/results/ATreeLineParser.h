// The segment parser of grouped rows: one segment per row of a clustered
// getter (row n covers position [n, n + 1)), and one section per category
// that has rows, holding the category's member rows after its header, so a
// laid-out model can close a category down to its header: the header's
// segment then covers the hidden rows too, and shows the header alone.
//
// Shared (ARefObj). Holds one reference on the getter; its row count is read
// when the parser is made. A missing getter is an assertion ("results").
#pragma once

#include "docengine/parser/ASegParser.h"

class AClusteredLineGetter;

class ATreeLineParser : public ALineBasedParser {
public:
    explicit ATreeLineParser(AClusteredLineGetter* getter);
    ~ATreeLineParser() override;

    ASegment* makeSegment(ADocModel* model, long position, bool findStart) override;
    long getLength() override { return rowCount_; }
    // Sections start open; the caller owns the tree.
    AExpandTree* buildExpandTree() override;

private:
    AClusteredLineGetter* getter_;  // one reference held
    long rowCount_;
};
