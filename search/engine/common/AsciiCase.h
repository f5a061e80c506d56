// Texts compared with ASCII letters in either case, as the runtime's
// comparison does in its default locale: under its locale layer that
// comparison took a tenth of a short search.
#pragma once

#include <cstddef>

// The n bytes at a and b are the same, letters in either case; from the end
// when fromEnd (names of one folder differ there).
inline bool AsciiSameNoCase(const char* a, const char* b, size_t n, bool fromEnd = false) {
    for (size_t k = 0; k < n; ++k) {
        size_t i = fromEnd ? n - 1 - k : k;
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y && ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z'))
            return false;
    }
    return true;
}
