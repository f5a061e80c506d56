// The segment parser interfaces a model owns: a parser knows the length of a
// whole text and cuts it into the segments the model asks for. The parsers
// themselves are in the parser layer.
//
// A segment comes back unlocked (count 0): the caller locks it.
#pragma once

#include "base/object/ARefObj.h"
#include "docengine/model/ASegment.h"

class AExpandTree;

class ASegParser : public ARefObj {
public:
    // The segment that holds position, or null; findStart: search back for its start.
    virtual ASegment* makeSegment(ADocModel* model, long position, bool findStart) = 0;
    virtual long getLength() = 0;
};

class ALineBasedParser : public ASegParser {
public:
    // The tree of expandable sections of the whole text; the caller owns it.
    virtual AExpandTree* buildExpandTree() = 0;
};
