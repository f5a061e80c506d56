// Procedure lookup by name for the libraries loaded at run time.
#include "base/procedural/ProcAddress.h"

#include <windows.h>

#include <cstring>

void* KY_GetProcAddress(void* module, const char* name, int fold) {
    if (!module || !name)
        return nullptr;
    size_t len = std::strlen(name);
    if (len > 255)
        return nullptr;
    char folded[256];
    if (fold) {
        for (size_t i = 0; i <= len; ++i) {
            char c = name[i];
            folded[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        name = folded;
    }
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
