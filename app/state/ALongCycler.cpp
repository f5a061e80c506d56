// Stepping through a list of numbers.
#include "app/state/ALongCycler.h"

#include <cstdlib>
#include <string>

#include "base/procedural/AError.h"

void ALongCycler::clear() {
    numbers.clear();
    current = previous = 0;
}

long ALongCycler::valueAt(long position) const {
    Pix p = position >= 0 && position < count() ? numbers.seek(position) : nullptr;
    if (!p)
        ThrowAssert("appclass", 20);
    return numbers.numberOf(p);
}

void ALongCycler::setCurrent(long position) {
    if (position < 0 || position >= count())
        ThrowAssert("appclass", 26);
    previous = current;
    current = position;
}

void ALongCycler::next() {
    if (hasNext()) {
        previous = current;
        ++current;
    }
}

void ALongCycler::back() {
    if (hasPrevious()) {
        previous = current;
        --current;
    }
}

long ALongCycler::fill(const char* text, int16_t n) {
    clear();
    long placed = -1;
    // Once a number equal to n went by, n goes at the end: 1,3,5 with 3
    // gives 1,3,5,3.
    bool equalSeen = false;
    std::string rest = text ? text : "";
    size_t start = 0;
    while (true) {
        size_t comma = rest.find(',', start);
        long m = std::atol(rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start).c_str());
        if (placed < 0 && !equalSeen && n < m) {
            placed = count();
            append(n);
        }
        append(m);
        equalSeen = equalSeen || m == n;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (placed < 0) {
        placed = count();
        append(n);
    }
    setCurrent(placed);
    return placed;
}

int16_t ALongCycler::step(int16_t direction) {
    if (direction == 1) {
        if (!hasPrevious())
            return 0;
        back();
        return 1;
    }
    if (direction == 0) {
        if (!hasNext())
            return 0;
        next();
        return 1;
    }
    setCurrent(0);
    return 1;
}
