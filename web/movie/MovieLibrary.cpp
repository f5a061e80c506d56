// The glue to the movie layer: one table of entry points, resolved by name.
#include "web/movie/MovieLibrary.h"

#include <string>

namespace {

HMODULE g_module = nullptr;
MovieLibrary g_table;
bool g_loaded = false;
std::string g_path;

std::string DefaultPath() {
    if (!g_path.empty())
        return g_path;
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, n < MAX_PATH ? n : 0);
    size_t slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "QuickTime.qts";
}

}  // namespace

const MovieLibrary* Movies() {
    return g_loaded ? &g_table : nullptr;
}

bool LoadMovieLibrary(const char* path) {
    if (g_loaded)
        return true;
    std::string file = path ? std::string(path) : DefaultPath();
    // By full path only: never a copy that the search order would find elsewhere.
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module)
        return false;
    MovieLibrary table;
    bool complete = true;
#define SV_MOVIE_RESOLVE(name)                                                                \
    table.name = reinterpret_cast<decltype(table.name)>(                                      \
        reinterpret_cast<void*>(GetProcAddress(module, #name)));                              \
    complete = complete && table.name != nullptr;
    SV_MOVIE_CALLS(SV_MOVIE_RESOLVE)
#undef SV_MOVIE_RESOLVE
    if (!complete) {
        FreeLibrary(module);
        return false;
    }
    g_module = module;
    g_table = table;
    g_loaded = true;
    return true;
}

void UnloadMovieLibrary() {
    if (!g_loaded)
        return;
    g_loaded = false;
    FreeLibrary(g_module);
    g_module = nullptr;
}

void* MovieLibraryModule() {
    return g_module;
}

void SetMovieLibraryPath(const char* path) {
    g_path = path ? path : "";
}
