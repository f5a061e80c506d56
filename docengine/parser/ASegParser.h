// Segment parsers: they know the length of a whole text and cut it into the
// segments a model asks for: lines of a reader, visible lines of a text with
// expandable sections, or the rows of a list-row producer.
//
// A segment comes back unlocked (count 0): the caller locks it. Markup the
// section scan cannot read raises AParserError ("gparser").
#pragma once

#include "docengine/model/ASegParser.h"

class AReader;
class ALineGetter;

// One segment per line of a reader, its line end included.
class AReaderSegParser : public ASegParser {
public:
    explicit AReaderSegParser(AReader* reader);
    ~AReaderSegParser() override;
    ASegment* makeSegment(ADocModel* model, long position, bool findStart) override;
    long getLength() override;

private:
    AReader* reader_;  // one reference held
};

// One segment per visible line: the content of closed sections is left out,
// so a line that crosses a closed section is one segment.
class ALineSegParser : public ALineBasedParser {
public:
    explicit ALineSegParser(AReader* reader);
    ~ALineSegParser() override;
    // The model must have an expand tree.
    ASegment* makeSegment(ADocModel* model, long position, bool findStart) override;
    long getLength() override;
    AExpandTree* buildExpandTree() override;

private:
    AReader* reader_;  // one reference held
};

// One segment per row: row n covers [n, n + 1).
class ASourceSegParser : public ASegParser {
public:
    explicit ASourceSegParser(ALineGetter* getter);
    ~ASourceSegParser() override;
    ASegment* makeSegment(ADocModel* model, long position, bool findStart) override;
    long getLength() override { return rowCount_; }

private:
    ALineGetter* getter_;  // one reference held
    long rowCount_;
};
