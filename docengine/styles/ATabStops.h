// Tab stops of one tab-stop letter: explicit stops read from a list, then
// stops repeated every tab width after the last one. Positions are in the
// sheet's units (pixels at 100 %); the layout scales copies. Shared (ARefObj).
// A negative tab width is a program fault (assertion "gstyles"): readers
// refuse such data before building a set.
#pragma once

#include <cstdint>
#include <vector>

#include "base/object/ARefObj.h"

struct ATabStop {
    enum Justification : uint16_t { kDefault = 0, kCenter = 1, kLeft = 2, kRight = 4, kFull = 8 };
    int32_t position = 0;  // computed
    uint16_t justification = kDefault;
    int32_t value = 0;  // as written
    uint16_t percent = 0;
    int16_t sign = 0;  // 0 absolute, 1 after the previous stop, -1 before the next
};

class ATabStops : public ARefObj {
public:
    ATabStops(long tabWidth, uint16_t justification, uint16_t truncate, long refWidth);
    // Tab width 32, default justification, then the list.
    ATabStops(const char* list, bool cumulative, uint16_t truncate, long refWidth);
    // A copy, scaled when numerator and denominator differ.
    ATabStops(const ATabStops& other, long numerator, long denominator);

    void setDefault(long tabWidth, uint16_t justification, long refWidth);
    // Stops separated by any of " ,;:", each [+|-][|()=][%]digits.
    void parseList(const char* list, bool cumulative, long refWidth);
    ATabStop stopAt(long index) const;
    // The stop a tab reaches from position x after the stop of index i.
    long nextStopIndex(long x, long index) const;
    void scale(long numerator, long denominator);

    long count() const { return static_cast<long>(stops_.size()); }
    long tabWidth() const { return default_.position; }
    uint16_t justification() const { return default_.justification; }
    uint16_t truncate() const { return truncate_; }
    long refWidth() const { return refWidth_; }

private:
    void computePositions();
    long lastPosition() const { return stops_.empty() ? 0 : stops_.back().position; }

    std::vector<ATabStop> stops_;
    ATabStop default_;  // position: the tab width
    uint16_t truncate_;
    int32_t refWidth_;
};
