// Copying a text into a fixed buffer, cut to fit: the formatted-output
// routines did it at several times the cost on every search.
#pragma once

#include <cstddef>
#include <cstring>

// Copies at most size - 1 bytes of from, then a terminating zero; size > 0.
inline void TextCopy(char* to, size_t size, const char* from, size_t length) {
    size_t n = length < size - 1 ? length : size - 1;
    std::memcpy(to, from, n);
    to[n] = 0;
}

inline void TextCopy(char* to, size_t size, const char* from) {
    TextCopy(to, size, from, std::strlen(from));
}
