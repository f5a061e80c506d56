// Whole-file saving through a temporary sibling, and loading.
#include "search/writers/FileImage.h"

#include <windows.h>

#include <cstdio>

std::string SaveFileReplacing(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".new~";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return "cannot create " + temp;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return "cannot write " + path;
    }
    return "";
}

bool LoadFile(const std::string& path, std::string* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bytes->clear();
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes->append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
