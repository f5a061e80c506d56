// The chronology's time scale.
#include "panes/content/chrono/AChronoScale.h"

#include <cstdlib>
#include <cstring>

#include "base/object/AStringList.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/Trace.h"

namespace {

long Saturate(int64_t v) {
    if (v > AChronoScale::kLimit)
        return AChronoScale::kLimit;
    if (v < -AChronoScale::kLimit)
        return -AChronoScale::kLimit;
    return static_cast<long>(v);
}

// One segment's step: (d / f) * s + ((d mod f) * s) / f, each quotient taken first.
long Scaled(long d, long f, long s) {
    int64_t q = static_cast<int64_t>(d / f) * s;
    int64_t r = (static_cast<int64_t>(d % f) * s) / f;
    return Saturate(q + r);
}

// The position after a segment of `years` at factor f and unit u.
long Advance(long position, long years, long factor, long u) {
    int64_t step = factor != 0 ? static_cast<int64_t>(years / factor) * u : 0;
    return Saturate(position + step);
}

}  // namespace

void AChronoScale::clear() {
    parsed_ = false;
    years_.clear();
    positions_.clear();
    units_.clear();
    factors_.clear();
}

// Scale text, one breakpoint per line:
//   year TAB factor (LF | CR LF | CR)
// year: decimal, optionally negative, ascending from line to line; factor:
// decimal, years per unit from this year to the next line's, at least 1.
// The first year, when negative, sets the offset that makes it 0.
long AChronoScale::parse(const char* text) {
    clear();
    setUnit(unit);
    AStringList lines(text ? text : "", "\n\r");
    long previousYear = 0, previousFactor = 0, position = 0;
    bool first = true;
    for (short i = 0; i < lines.count(); ++i) {
        const char* line = lines.at(i);
        if (!*line)
            continue;
        const char* tab = std::strchr(line, '\t');
        long year = std::atol(line);
        long factor = tab ? std::atol(tab + 1) : 0;
        if (factor < 1 || year > kLimit / 2 || year < -kLimit / 2) {
            CurrentErrorStream().writeString("chrono scale line ").writeLong(i + 1).writeString(": bad year or factor\n");
            continue;
        }
        if (first)
            offset = year < 0 ? -year : 0;
        year += offset;
        if (!first && year < previousYear) {
            CurrentErrorStream().writeString("chrono scale line ").writeLong(i + 1).writeString(": year goes back\n");
            continue;
        }
        first = false;
        position = Advance(position, year - previousYear, previousFactor, unit);
        years_.append(static_cast<int32_t>(year));
        positions_.append(static_cast<int32_t>(position));
        units_.push_back(unit);
        factors_.push_back(factor);
        previousYear = year;
        previousFactor = factor;
    }
    parsed_ = true;
    return years_.count();
}

void AChronoScale::refresh(long u) {
    setUnit(u);
    positions_.clear();
    long previousYear = 0, previousFactor = 0, position = 0;
    for (long i = 0; i < years_.count(); ++i) {
        long year = years_.at(i);
        position = Advance(position, year - previousYear, previousFactor, unit);
        positions_.append(static_cast<int32_t>(position));
        units_[static_cast<size_t>(i)] = unit;
        TraceLevel(1, "Refresh i=%ld BoundT\t%ld BoundS\t%ld\n", i, year, position);
        previousYear = year;
        previousFactor = factors_[static_cast<size_t>(i)];
    }
    parsed_ = true;
}

long AChronoScale::indexOfYear(long year) const {
    long i = years_.upperBound(static_cast<int32_t>(Saturate(year))) - 1;
    return i < 0 ? 0 : i;
}

long AChronoScale::indexOfPos(long position) const {
    long i = positions_.upperBound(static_cast<int32_t>(Saturate(position))) - 1;
    return i < 0 ? 0 : i;
}

std::pair<long, long> AChronoScale::getExtent() const {
    if (positions_.count() == 0)
        return std::make_pair(0L, 0L);
    return std::make_pair(0L, static_cast<long>(positions_.at(positions_.count() - 1)));
}

long AChronoScale::yearToPos(long year) const {
    if (years_.count() == 0)
        return 0;
    long i = indexOfYear(year);
    long d = Saturate(static_cast<int64_t>(year) - years_.at(i));
    return Saturate(static_cast<int64_t>(Scaled(d, factors_[static_cast<size_t>(i)], units_[static_cast<size_t>(i)])) +
                    positions_.at(i));
}

long AChronoScale::posToYear(long position) const {
    if (years_.count() == 0)
        return 0;
    long i = indexOfPos(position);
    long d = Saturate(static_cast<int64_t>(position) - positions_.at(i));
    return Saturate(static_cast<int64_t>(Scaled(d, units_[static_cast<size_t>(i)], factors_[static_cast<size_t>(i)])) +
                    years_.at(i));
}

AString AChronoScale::formatYear(long year) const {
    return AString(year - offset);
}
