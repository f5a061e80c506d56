// Heap sort over a caller's comparison, used for tables that are sorted once
// and then searched.
#include "search/engine/common/KySort.h"

namespace {

// Items are numbered from 1 so that the children of node i are 2i and 2i + 1.
struct Heap {
    unsigned char* base;
    uint32_t size;
    KY_SortCompare compare;

    unsigned char* item(uint32_t i) const { return base + (i - 1) * size; }

    void swap(uint32_t i, uint32_t j) const {
        unsigned char* a = item(i);
        unsigned char* b = item(j);
        for (uint32_t k = 0; k < size; ++k) {
            unsigned char t = a[k];
            a[k] = b[k];
            b[k] = t;
        }
    }

    // The 2i <= m test is written as i <= m / 2 so that it cannot overflow.
    void siftDown(uint32_t i, uint32_t m) const {
        while (i <= m / 2) {
            uint32_t c = 2 * i;
            if (c < m && compare(item(c), item(c + 1)) < 0)
                ++c;
            if (compare(item(i), item(c)) >= 0)
                return;
            swap(i, c);
            i = c;
        }
    }
};

}  // namespace

void KY_SortArray(void* base, uint32_t count, uint32_t size, KY_SortCompare compare) {
    if (count < 2)
        return;
    Heap heap{static_cast<unsigned char*>(base), size, compare};
    for (uint32_t i = count / 2; i >= 1; --i)
        heap.siftDown(i, count);
    for (uint32_t m = count; m > 1; --m) {
        heap.swap(1, m);
        heap.siftDown(1, m - 1);
    }
}

void KY_SplitLong(uint32_t value, uint16_t* high, uint16_t* low) {
    *high = static_cast<uint16_t>(value >> 16);
    *low = static_cast<uint16_t>(value & 0xFFFF);
}
