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

void* KY_LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (!name || n == 0 || n + std::strlen(name) + 2 > MAX_PATH)
        return nullptr;
    std::strcat(path, "\\");
    std::strcat(path, name);
    return LoadLibraryA(path);
}

void* KY_SystemProc(const char* dll, const char* name) {
    // Already loaded, it is found without another reference; else it stays
    // loaded, as an imported DLL would.
    HMODULE module = dll ? GetModuleHandleA(dll) : nullptr;
    if (!module)
        module = static_cast<HMODULE>(KY_LoadSystemLibrary(dll));
    return KY_GetProcAddress(module, name, 0);
}
