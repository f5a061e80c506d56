// Entry-point lookup.
#include "base/object/ProcLookup.h"

#include <windows.h>

#include <cstring>

void* KY_GetProcAddress(void* module, const char* name, int fold) {
    if (!module || !name)
        return nullptr;
    HMODULE m = static_cast<HMODULE>(module);
    if (!fold)
        return reinterpret_cast<void*>(GetProcAddress(m, name));
    char folded[256];
    size_t len = std::strlen(name);
    if (len >= sizeof folded)
        return nullptr;
    for (size_t i = 0; i <= len; ++i) {
        char c = name[i];
        folded[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return reinterpret_cast<void*>(GetProcAddress(m, folded));
}
