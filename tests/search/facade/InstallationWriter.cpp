// Writers of small test installations.
#include "tests/search/facade/InstallationWriter.h"

#include <gtest/gtest.h>

#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "tests/base/procedural/TextTestSupport.h"

std::string Encode(std::string path) {
    for (char& c : path)
        c = c == ':' ? '|' : c == '\\' ? ':' : c;
    return path;
}

std::string Words(std::initializer_list<uint32_t> words) {
    std::string out;
    for (uint32_t w : words)
        PutWord(&out, w);
    return out;
}

void Tree(const std::string& path, std::vector<std::pair<std::string, int32_t>> keys) {
    std::vector<AbpKeyItem> items;
    for (const auto& k : keys) {
        AbpKeyItem item;
        item.key = k.first;
        item.value = k.second;
        items.push_back(item);
    }
    AbpTreeOptions options;
    options.occurrences = false;
    ASSERT_EQ("", AbpWriteTree(path, items, options));
}

void WordTree(const std::string& path, std::vector<std::pair<std::string, std::vector<uint32_t>>> words) {
    std::vector<AbpKeyItem> items;
    for (const auto& w : words) {
        AbpKeyItem item;
        item.key = w.first;
        for (uint32_t d : w.second)
            item.occ.push_back({d, 0});
        items.push_back(item);
    }
    AbpTreeOptions options;
    options.positions = true;
    ASSERT_EQ("", AbpWriteTree(path, items, options));
}

void Table(TempFolder& folder, const std::string& stem, const std::vector<std::string>& records, bool heading) {
    std::string s = folder.path(stem);
    TablePartFiles files{s + (heading ? ".hdg" : ".fmt"), s + (heading ? ".hd7" : ".of7"),
                         s + (heading ? ".uh7" : ".uf7"), ""};
    ASSERT_EQ("", WriteTablePart(files, records, 0, 0, {}));
}
