// A lexicon index for the tests of lists over index entries: a key tree
// whose values are the entries' ranks and the data of one "name#key" record
// per key, in key order, opened as an AKeyIndex.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "search/engine/records/KyAccessor.h"
#include "search/facade/AKeyIndex.h"
#include "tests/base/procedural/TextTestSupport.h"

class LexIndex {
public:
    // entries: {key, record}, in any order; withData false opens the tree alone.
    LexIndex(TempFolder& folder, std::vector<std::pair<std::string, std::string>> entries, bool withData = true);
    ~LexIndex();
    AKeyIndex* get() const { return index.get(); }

    std::string error;  // why the files could not be written, or ""

private:
    std::unique_ptr<OpenSpecOf> tree, data, catalogue;
    KyIndexHandle handle{};
    std::unique_ptr<AKeyIndex> index;
};
