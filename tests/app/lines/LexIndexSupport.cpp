// The lexicon index of the list tests.
#include "tests/app/lines/LexIndexSupport.h"

#include <algorithm>

#include "tools/samplebase/SampleBaseInternal.h"

LexIndex::LexIndex(TempFolder& folder, std::vector<std::pair<std::string, std::string>> entries, bool withData) {
    std::sort(entries.begin(), entries.end());
    std::string base = folder.path("lex");
    if (!(error = WriteKeyedRecords(entries, base)).empty())
        return;
    tree.reset(new OpenSpecOf(base + ".abp"));
    handle.spec = tree->get();
    if (withData) {
        data.reset(new OpenSpecOf(base + ".hdg"));
        catalogue.reset(new OpenSpecOf(base + ".hd7"));
        handle.dataSpec = data->get();
        handle.catSpec = catalogue->get();
    }
    index.reset(new AKeyIndex(&handle));
}

LexIndex::~LexIndex() {
    index.reset();
}
