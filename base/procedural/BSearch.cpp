// Binary search helpers over raw element arrays.
#include "base/procedural/BSearch.h"

#include "base/procedural/Trace.h"

#include <cstring>

void* bfind(const void* key, const void* base, size_t count, size_t size, BCompare compare) {
    if (!key || !base || !count || !size || !compare)
        return nullptr;
    const char* b = static_cast<const char*>(base);
    int c = compare(key, b);
    if (c == 0)
        return const_cast<char*>(b);
    if (c < 0)
        return nullptr;
    size_t lo = 1, hi = count - 1;
    while (lo <= hi) {
        size_t mid = lo + (hi - lo) / 2;
        c = compare(key, b + mid * size);
        if (c == 0)
            return const_cast<char*>(b + mid * size);
        if (c < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return nullptr;
}

bool binsert(const void* element, void* base, size_t count, size_t size, BCompare compare) {
    char* b = static_cast<char*>(base);
    long lo = 0, hi = static_cast<long>(count) - 1;
    while (lo <= hi) {
        long mid = lo + (hi - lo) / 2;
        int c = compare(element, b + mid * size);
        if (c == 0)
            return false;
        if (c > 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    if (hi != lo - 1) {
        TraceLevel(0, "binsert : unexpected value\n");
        return false;
    }
    if (static_cast<size_t>(lo) < count)
        std::memmove(b + (lo + 1) * size, b + lo * size, (count - lo) * size);
    std::memcpy(b + lo * size, element, size);
    return true;
}

bool bremove(const void* key, void* base, size_t count, size_t size, BCompare compare) {
    char* found = static_cast<char*>(bfind(key, base, count, size, compare));
    if (!found)
        return false;
    char* end = static_cast<char*>(base) + count * size;
    std::memmove(found, found + size, end - found - size);
    return true;
}
