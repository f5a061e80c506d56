// The fragment parser interface a model owns, the record of one parse of one
// segment, and the sub-parsers that turn an embedded construct into one
// fragment.
//
// Parsers and sub-parsers are shared (ARefObj). A parser keeps no state
// between segments: each parse builds a fresh context.
#pragma once

#include "base/object/ARangeArray.h"
#include "base/object/ARefObj.h"
#include "docengine/model/AFragment.h"

class ASubParser;

class AFragParser : public ARefObj {
public:
    AFragParser() : subParser_(nullptr) {}
    ~AFragParser() override;

    // The first fragment of the segment's chain, or null; the segment owns it.
    virtual AFragment* parseSegment(ASegment* segment) = 0;

    // Keeps the new sub-parser (a reference added) and releases the old one.
    void setSubParser(ASubParser* subParser);
    ASubParser* subParser() const { return subParser_; }

private:
    ASubParser* subParser_;  // one reference held, or null
};

// The record of one parse of one segment.
struct AFragParseContext {
    ASegment* segment = nullptr;  // locked for the parse
    const char* start = nullptr;  // the segment's text
    const char* end = nullptr;
    // The end of the range being parsed: codes read no further.
    const char* limit = nullptr;
    AFragment* first = nullptr;
    AFragment* last = nullptr;
    AParagraphFragment* paragraph = nullptr;
    int16_t style = 0;
    int16_t colour = 0;
    int16_t hValue = 0;
    ALocalRange name{0, 0};
    uint16_t linkFlags = 0;
    // Highlight ranges (global positions), the current one as local
    // pointers, and the index of its pair (-1 before the first).
    const ARangeArray* ranges = nullptr;
    const char* rangeStart = nullptr;
    const char* rangeEnd = nullptr;
    long rangeIndex = -1;
    // Brace constructs open around the current position.
    int depth = 0;
    // Bytes the brace searches may still scan in this segment.
    long scanBudget = 0;
    // The format that codes change before the first paragraph (variants that make none).
    AParagraphFormat scratch;

    long local(const char* p) const { return static_cast<long>(p - start); }
    // Links a fragment made with `last` as its previous one into the chain.
    AFragment* append(AFragment* fragment);
};

class ASubParser : public ARefObj {
public:
    // Builds one fragment over [start, end) of the context's text, appended after its last fragment.
    virtual AFragment* parse(AFragParseContext& context, const char* start, const char* end);
    virtual AFragment* makeFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags,
                                    ALocalRange name, uint16_t linkFlags) = 0;
};
