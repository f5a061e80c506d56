// The lexicon index of the list tests.
#include "tests/app/lines/LexIndexSupport.h"

#include <algorithm>

#include "search/writers/AbpWriter.h"
#include "search/writers/TableWriter.h"

LexIndex::LexIndex(TempFolder& folder, std::vector<std::pair<std::string, std::string>> entries, bool withData) {
    std::sort(entries.begin(), entries.end());
    std::vector<AbpKeyItem> keys;
    std::vector<std::string> records;
    for (const auto& e : entries) {
        AbpKeyItem item;
        item.key = e.first;
        item.value = static_cast<int32_t>(keys.size());
        keys.push_back(item);
        records.push_back(e.second);
    }
    AbpTreeOptions options;
    options.occurrences = false;
    std::string path = folder.path("lex.abp");
    if (!(error = AbpWriteTree(path, keys, options)).empty())
        return;
    tree.reset(new OpenSpecOf(path));
    handle.spec = tree->get();
    if (withData) {
        TablePartFiles files{folder.path("lex.hdg"), folder.path("lex.hd7"), "", ""};
        if (!(error = WriteTablePart(files, records, 0, 0, {})).empty())
            return;
        data.reset(new OpenSpecOf(files.data));
        catalogue.reset(new OpenSpecOf(files.catalogue));
        handle.dataSpec = data->get();
        handle.catSpec = catalogue->get();
    }
    index.reset(new AKeyIndex(&handle));
}

LexIndex::~LexIndex() {
    index.reset();
}
