// Addresses kept in the 32-bit words of the framework's records and keys.
//
// The program is 32-bit, where a long holds any address. The 64-bit build
// the tests fall back to where a machine runs no 32-bit code loads its image
// low and stays small, so its addresses fit too; one that does not is a
// broken invariant there, not a value to truncate.
#pragma once

#include <cstdint>
#include <cstdlib>

inline long AddressWord(const void* p) {
    intptr_t address = reinterpret_cast<intptr_t>(p);
#if INTPTR_MAX > INT32_MAX
    if (address > INT32_MAX || address < INT32_MIN)
        std::abort();
#endif
    return static_cast<long>(address);
}
