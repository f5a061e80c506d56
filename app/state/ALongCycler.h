// An ordered list of 32-bit numbers with a current position and the one
// visited before it: the media pane steps back and forth through it.
// Positions not below the count are assertions ("appclass").
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"

class ALongCycler {
public:
    void clear();
    void append(long number) { numbers.slot(numbers.count()) = number; }
    long count() const { return numbers.count(); }
    long currentValue() const { return valueAt(current); }
    long previousValue() const { return valueAt(previous); }
    long getCurrent() const { return current; }
    void setCurrent(long position);
    bool hasNext() const { return current < count() - 1; }
    // Position 1 offers no step back either.
    bool hasPrevious() const { return current > 1; }
    void next();
    void back();
    // The comma-separated numbers of text with n placed before the first
    // greater one (or last); n becomes current. Answers its position.
    long fill(const char* text, int16_t n);
    // 1: back, 0: next, other: position 0. Answers 1 when it moved or reset.
    int16_t step(int16_t direction);

private:
    long valueAt(long position) const;

    ALongLongDic numbers;  // position -> number
    long current = 0;
    long previous = 0;
};

// The media pane's name for the cycler.
using AMediaItemCycler = ALongCycler;
