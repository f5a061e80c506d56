// The sub-parser the parsing benchmarks give their fragment parser: a table
// becomes one text fragment over its range, so that no article is cut short
// by a table the parser could not hand on.
#pragma once

#include "docengine/model/AFragParser.h"
#include "docengine/parser/ATextFragParser.h"

class TableFragments : public ASubParser {
public:
    AFragment* makeFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags, ALocalRange name,
                            uint16_t linkFlags) override {
        return new ATextFragment(segment, previous, range, flags, name, linkFlags, 0, 0);
    }
};
