// Builds a tree from a sorted list of "key TAB document [TAB position]" lines.
#include <cstdlib>

#include "base/procedural/Trace.h"
#include "search/engine/trees/KyAbp.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"

std::string abpBuildFirstLevel(const std::string& itemsPath, const std::string& treePath,
                               const AbpTreeOptions& options) {
    std::string text;
    if (!LoadFile(itemsPath, &text))
        return "cannot read " + itemsPath;
    TraceLevel(1, "Firstlevel");
    std::vector<AbpKeyItem> keys;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t tab = line.find('\t');
        size_t docAt = line.find_first_not_of('\t', tab == std::string::npos ? line.size() : tab);
        if (tab == std::string::npos || docAt == std::string::npos) {
            // The message keeps its code-page-437 e acute.
            TracePrint("Cl\x82 vide !!!! Verifiez\n");
            continue;
        }
        char* next = nullptr;
        unsigned long doc = std::strtoul(line.c_str() + docAt, &next, 10);
        unsigned long pos = *next == '\t' ? std::strtoul(next + 1, nullptr, 10) : 0;
        std::string key = line.substr(0, std::min<size_t>(tab, kAbpMaxKey));
        if (keys.empty() || keys.back().key != key) {
            keys.emplace_back();
            keys.back().key = key;
        }
        keys.back().occ.push_back({static_cast<uint32_t>(doc), static_cast<uint32_t>(pos)});
    }
    std::string error = AbpWriteTree(treePath, keys, options);
    TraceLevel(1, "fin Firstlevel");
    return error;
}
