// Binary search, sorted insertion and removal over arrays of fixed-size elements.
#pragma once

#include <cstddef>

// compare(key, element): negative, zero or positive.
using BCompare = int (*)(const void* key, const void* element);

// The matching element, or null (also when any argument is 0/null).
void* bfind(const void* key, const void* base, size_t count, size_t size, BCompare compare);
// The array holds count sorted elements and room for one more; an element
// equal to one present is not inserted. Answers true when it inserted.
bool binsert(const void* element, void* base, size_t count, size_t size, BCompare compare);
// Moves the following elements down over the matching one; the caller
// decreases its count. Answers true when it removed.
bool bremove(const void* key, void* base, size_t count, size_t size, BCompare compare);
