// Parsing a text as one segment of a test model, described canonically.
#pragma once

#include <string>

#include "docengine/parser/ATextFragParser.h"
#include "tests/docengine/model/DocTestSupport.h"

// A table sub-parser that makes one text fragment over the table's range.
class TableStub : public ASubParser {
public:
    AFragment* makeFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags, ALocalRange name,
                            uint16_t linkFlags) override {
        return new ATextFragment(segment, previous, range, flags, name, linkFlags, 25, 9);
    }
};

// The description of the chain, or "error: " and the parser error's text.
std::string ParseText(const std::string& markup, ATextFragParser* parser, TestModel* model = nullptr);
