// The segment parser of the chronology's event text: one segment per event
// line, placed on the time axis from the position of the line's year to the
// position of the next line's year (the last line: its year + 10).
//
// Shared (ARefObj). Positions are x pixels of the scale, not characters.
// Empty lines and lines whose year does not follow the previous line's are
// left out (logged), so every segment starts at its own position.
#pragma once

#include <vector>

#include "base/object/ASortedArray.h"
#include "docengine/parser/ASegParser.h"

class AChronoScale;
class ALineAccessor;

class AChronoSegParser : public ALineBasedParser {
public:
    // Holds a reference on lines (required, "chrono"); the scale is not owned.
    AChronoSegParser(ALineAccessor* lines, AChronoScale* scale);
    ~AChronoSegParser() override;

    // The internal year of every kept line, plus the end year.
    void buildYears();
    // Positions of the years at the scale's current unit (again after a zoom).
    void buildPositions();
    // The segment of the line that holds the position, or null.
    ASegment* segmentAt(ADocModel* model, long position);
    ASegment* makeSegment(ADocModel* model, long position, bool findStart) override;
    long getLength() override;
    // Index of the kept line holding the position; -1 before the first.
    long lineOfPosition(long position) const;
    // The source line of kept line i.
    long sourceLine(long i) const { return lines_[static_cast<size_t>(i)]; }
    long lineCount() const { return static_cast<long>(lines_.size()); }
    // The position where kept line i starts.
    long lineStart(long i) const { return positions_.at(i); }
    AExpandTree* buildExpandTree() override { return nullptr; }

private:
    ALineAccessor* source_;  // one reference held
    AChronoScale* scale_;    // not owned
    ASortedArray years_;
    ASortedArray positions_;
    std::vector<long> lines_;  // source line of each kept line
};
