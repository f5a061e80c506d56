// The segment parser of the chronology's event text.
#include "panes/content/chrono/AChronoSegParser.h"

#include <cstdlib>
#include <new>

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/Trace.h"
#include "docengine/parser/ALineAccessor.h"
#include "panes/content/chrono/AChronoScale.h"

AChronoSegParser::AChronoSegParser(ALineAccessor* lines, AChronoScale* scale) : source_(lines), scale_(scale) {
    if (!source_ || !scale_)
        ThrowAssert("chrono", 808);
    source_->addRef();
    buildYears();
    buildPositions();
}

AChronoSegParser::~AChronoSegParser() {
    source_->release();
}

// Each line starts with its year (decimal, optionally negative); only lines
// whose year comes after the previous kept line's are kept.
void AChronoSegParser::buildYears() {
    years_.clear();
    positions_.clear();
    lines_.clear();
    long last = 0;
    for (long i = 0; i < source_->lineCount(); ++i) {
        AString line = source_->lineAt(i);
        if (line.length() == 0)
            continue;
        long year = std::atol(line.c_str());
        if (year > AChronoScale::kLimit / 2 || year < -AChronoScale::kLimit / 2) {
            CurrentErrorStream().writeString("chrono event line ").writeLong(i + 1).writeString(": bad year\n");
            continue;
        }
        year += scale_->offset;
        if (!lines_.empty() && year <= last) {
            CurrentErrorStream().writeString("chrono event line ").writeLong(i + 1).writeString(": year goes back\n");
            continue;
        }
        years_.append(static_cast<int32_t>(year));
        lines_.push_back(i);
        last = year;
    }
    if (!lines_.empty())
        years_.append(static_cast<int32_t>(last + 10));
}

void AChronoSegParser::buildPositions() {
    positions_.clear();
    for (long i = 0; i < years_.count(); ++i)
        positions_.append(static_cast<int32_t>(scale_->yearToPos(years_.at(i))));
}

long AChronoSegParser::getLength() {
    return positions_.count() ? positions_.at(positions_.count() - 1) : 0;
}

long AChronoSegParser::lineOfPosition(long position) const {
    return positions_.upperBound(static_cast<int32_t>(position)) - 1;
}

ASegment* AChronoSegParser::makeSegment(ADocModel* model, long position, bool) {
    return segmentAt(model, position);
}

ASegment* AChronoSegParser::segmentAt(ADocModel* model, long position) {
    if (position < 0 || position > getLength())
        return nullptr;
    long i = lineOfPosition(position);
    // Before the first line, or at the end year, which has no line.
    if (i < 0 || i >= lineCount())
        return nullptr;
    long start = positions_.at(i);
    long end = positions_.at(i + 1);
    // A zoom so small that the line has no width holds no position.
    if (end <= start)
        return nullptr;
    return CheckAlloc(new (std::nothrow) ASegmentSub(model, start, end, source_->lineAt(sourceLine(i))), "chrono",
                      795);
}
