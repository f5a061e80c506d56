// The parser of the slash markup: turns one segment's text into its chain of
// fragments (paragraphs, styled text, clickable markers, links, note marks and
// the fragments of embedded tables).
//
// Syntax errors raise AParserError ("gparser"): the message followed by the
// text where the error was found. Every scan stays inside the segment; a code
// cut by the end of its range takes the value 0 and parsing resumes at the
// end. Brace constructs nest at most kMaxDepth deep, and their searches scan
// at most kScanFactor times the segment's length. Every step is virtual so
// that the variants see every construct.
#pragma once

#include "docengine/model/AFragParser.h"

class AHiliteSet;

class ATextFragParser : public AFragParser {
public:
    static const int kMaxDepth = 100;
    static const long kScanFactor = 32;

    explicit ATextFragParser(char command = '/') : command_(command) {}

    // The caller holds a lock on the segment.
    AFragment* parseSegment(ASegment* segment) override;

    virtual const char* parseRange(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseBraceSpec(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseDelimitedSpec(AFragParseContext& context, const char* p, const char* end, char delimiter,
                                           char closer);
    virtual const char* parseLines(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseHighlightRange(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseExpansion(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseMarkedRun(AFragParseContext& context, const char* p, const char* end, bool inRange);
    virtual const char* parseTextRun(AFragParseContext& context, const char* p, const char* end, bool inRange);
    virtual const char* parseCode(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseAtCode(AFragParseContext& context, const char* p, const char* end);
    virtual const char* parseTable(AFragParseContext& context, const char* p, const char* end);
    virtual void startParagraph(AFragParseContext& context, const char* p);
    virtual ALocalRange clearLink(AFragParseContext& context);
    virtual void parseExpandSpec(AFragParseContext& context, const char* nameStart, const char* marker,
                                 const char* prefix, const char* prefixEnd);
    virtual void parseButtonSpec(AFragParseContext& context, char letter, const char* nameStart, const char* nameEnd,
                                 const char* marker, const char* prefix, const char* prefixEnd);
    virtual void flushText(AFragParseContext& context, const char* start, const char* end, bool highlighted);
    virtual AFragment* makeClickable(AFragParseContext& context, const char* start, const char* end, int16_t number,
                                     uint16_t flags);
    virtual void makeEmptyText(AFragParseContext& context, const char* p);
    virtual int classifyCodeChar(char c);
    virtual int styleCodeOf(char c);
    virtual int digitValue(char c) { return c - '0'; }
    virtual int upperValue(char c) { return c - 'A'; }
    virtual int lowerValue(char c) { return c - 'a'; }
    virtual uint16_t buttonFlagOf(char c);
    // Search hits of the model's hit set in the parsed chain: each becomes
    // highlighted text fragments of its own and is reported to the model.
    virtual void markHits(AFragParseContext& context, AHiliteSet* set);

protected:
    // The current paragraph's format; a scratch one before any paragraph.
    AParagraphFormat& format(AFragParseContext& context);
    // Charges a brace search that stopped at `stopped` (null: at end); past
    // the segment's budget, an AParserError.
    const char* charged(AFragParseContext& context, const char* from, const char* stopped, const char* end);
    // The section that starts at the local position, or an AParserError.
    class AExpandNode* findSection(AFragParseContext& context, const char* p, long line);

    char command_;
};

// Reads an optionally signed decimal number from [p, end) after blanks;
// answers where it stopped. Overflow saturates.
const char* ReadMarkupNumber(const char* p, const char* end, long* value);
