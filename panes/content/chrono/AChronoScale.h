// The chronology's time scale: a piecewise-linear map between internal years
// (real year + offset) and x positions in pixels on the time axis.
//
// Owned by whoever shows the chronology. Bad scale lines (a factor below 1, a
// year before the previous one, a value too large) are left out with a logged
// error, so no conversion divides by zero; an empty line is no breakpoint.
// An index outside the breakpoints is an assertion ("cbinary").
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "base/object/ASortedArray.h"
#include "base/object/AString.h"

class AChronoScale {
public:
    // Years and positions are kept within this magnitude; beyond it they saturate.
    static const long kLimit = 0x3FFFFFFF;

    AChronoScale() = default;
    virtual ~AChronoScale() = default;
    AChronoScale(const AChronoScale&) = delete;
    AChronoScale& operator=(const AChronoScale&) = delete;

    // Clears the scale and reads the text: per line a year, TAB, a factor
    // (years per unit up to the next line). Answers the breakpoints taken.
    long parse(const char* text);
    // Recomputes every position for a unit of u pixels (at least 1).
    void refresh(long u);
    void setUnit(long u) { unit = u < 1 ? 1 : u; }

    // The last breakpoint not after the year (position); 0 before the first.
    long indexOfYear(long year) const;
    long indexOfPos(long position) const;
    // (0, position of the last breakpoint); (0, 0) and conversions to 0 without breakpoints.
    std::pair<long, long> getExtent() const;
    long length() const { return getExtent().second; }
    long yearToPos(long year) const;
    long posToYear(long position) const;
    // The real year of an internal year, in decimal.
    AString formatYear(long year) const;

    bool parsed() const { return parsed_; }
    long entryCount() const { return years_.count(); }
    long yearAt(long i) const { return years_.at(i); }
    long positionAt(long i) const { return positions_.at(i); }
    long factorAt(long i) const { return factors_.at(static_cast<size_t>(i)); }
    // The unit of the first breakpoint (the label step), at least 1.
    long firstUnit() const { return units_.empty() ? unit : units_[0]; }

    long offset = 0;  // internal year = real year + offset
    long unit = 1;    // pixels per factor step, set before parse

private:
    void clear();

    bool parsed_ = false;
    ASortedArray years_;
    ASortedArray positions_;
    std::vector<long> units_;
    std::vector<long> factors_;
};
