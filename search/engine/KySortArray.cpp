// In-place heap sort and the split of a 32-bit value.
#include "search/engine/KySortArray.h"

namespace {

// Item i of the 1-based heap.
unsigned char* Item(unsigned char* base, uint32_t i, uint32_t size) {
    return base + static_cast<size_t>(i - 1) * size;
}

void Swap(unsigned char* a, unsigned char* b, uint32_t size) {
    for (uint32_t k = 0; k < size; ++k) {
        unsigned char t = a[k];
        a[k] = b[k];
        b[k] = t;
    }
}

void SiftDown(unsigned char* base, uint32_t i, uint32_t m, uint32_t size, KY_SortCompare compare) {
    // i <= m / 2 keeps 2i from overflowing for any count.
    while (i <= m / 2) {
        uint32_t c = 2 * i;
        if (c < m && compare(Item(base, c, size), Item(base, c + 1, size)) < 0)
            ++c;
        if (compare(Item(base, i, size), Item(base, c, size)) >= 0)
            return;
        Swap(Item(base, i, size), Item(base, c, size), size);
        i = c;
    }
}

}  // namespace

void KY_SortArray(void* base, uint32_t count, uint32_t size, KY_SortCompare compare) {
    if (count < 2 || size == 0 || !base || !compare)
        return;
    unsigned char* items = static_cast<unsigned char*>(base);
    for (uint32_t i = count / 2; i >= 1; --i)
        SiftDown(items, i, count, size, compare);
    for (uint32_t m = count; m > 1; --m) {
        Swap(Item(items, 1, size), Item(items, m, size), size);
        SiftDown(items, 1, m - 1, size, compare);
    }
}

void KY_SplitLong(uint32_t value, uint16_t* high, uint16_t* low) {
    if (high)
        *high = static_cast<uint16_t>(value >> 16);
    if (low)
        *low = static_cast<uint16_t>(value & 0xFFFF);
}
