// Rows of an occurrence list's documents.
#include "app/lists/ALoLineGetter.h"

#include <string>

#include "search/facade/ALo.h"

ALoLineGetter::ALoLineGetter(ALo* list) : lo(list) {
    if (!lo)
        return;
    lo->addRef();
    lo->open();
    for (long i = 0, doc = lo->first(); i < lo->getCount(); ++i, doc = lo->next())
        docs.push_back(doc);
    lo->close();
}

ALoLineGetter::~ALoLineGetter() {
    ReleaseAndNull(lo);
}

AString ALoLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (record < 0 || record >= getLineCount())
        return AString();
    std::string doc = std::to_string(docs[static_cast<size_t>(record)]);
    return AString((doc + "#" + doc).c_str());
}

void ALoLineGetter::prepareLine(long record, int16_t sortMode) {
    (void)sortMode;
    prepared = record;
}

uint32_t ALoLineGetter::getSortKey(int16_t field) {
    (void)field;
    return prepared >= 0 && prepared < getLineCount() ? static_cast<uint32_t>(docs[static_cast<size_t>(prepared)]) : 0;
}
