// Line-oriented variants of the slash-markup parser: a label with its target
// after '#', a layout line whose target follows '#', '<' or '>', and a picture
// area given as numbers. Each segment is one line.
//
// A label that stops the line parser before its end (a brace, for one)
// raises AParserError "Could not parse :".
#pragma once

#include "docengine/parser/ATextFragParser.h"

class ALabelTargetFragParser : public ATextFragParser {
public:
    explicit ALabelTargetFragParser(char command = '/') : ATextFragParser(command) {}
    const char* parseRange(AFragParseContext& context, const char* p, const char* end) override;
};

class ALayoutFragParser : public ATextFragParser {
public:
    explicit ALayoutFragParser(char command = '/') : ATextFragParser(command) {}
    const char* parseRange(AFragParseContext& context, const char* p, const char* end) override;
};

// "left,top,width,height,kind#name": one area fragment, no paragraph.
class AAnchorFragParser : public ATextFragParser {
public:
    explicit AAnchorFragParser(char command = '/') : ATextFragParser(command) {}
    const char* parseRange(AFragParseContext& context, const char* p, const char* end) override;
    void startParagraph(AFragParseContext&, const char*) override {}
    // The link flags of an area kind.
    virtual uint16_t kindOf(long n);
};
