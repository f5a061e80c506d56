// In-place heap sort of fixed-size items, and the split of a 32-bit value into
// its 16-bit halves. Neither allocates.
#pragma once

#include <cstdint>

// Negative when a sorts before b, 0 when equal, positive after.
typedef int (*KY_SortCompare)(const void* a, const void* b);

// Sorts count items of size bytes at base in ascending order of compare. Not
// stable; no recursion, no allocation; items move byte by byte so any size works.
void KY_SortArray(void* base, uint32_t count, uint32_t size, KY_SortCompare compare);

// high = the upper 16 bits of value, low = its lower 16 bits.
void KY_SplitLong(uint32_t value, uint16_t* high, uint16_t* low);
