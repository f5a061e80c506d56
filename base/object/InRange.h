// The closed-interval test shared by the range sets and the web code.
#pragma once

// 1 when low <= value <= high, else 0.
inline int InRange(long value, long low, long high) {
    return value >= low && value <= high ? 1 : 0;
}
