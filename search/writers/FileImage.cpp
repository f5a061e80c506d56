// Whole-file saving through a temporary sibling, and loading.
#include "search/writers/FileImage.h"

#include <cstdio>

#include "search/engine/common/KyFileSet.h"

std::string SaveFileReplacing(const std::string& path, const std::string& bytes) {
    KyFileSet set;
    std::string why = set.write(path, bytes);
    return why.empty() ? set.commit() : why;
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
