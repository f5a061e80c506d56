// Rows of an occurrence list's documents.
#include "app/lists/ALoLineGetter.h"

#include <string>

#include "base/procedural/AError.h"
#include "search/facade/ALo.h"
#include "search/facade/ASearchBase.h"

ALoLineGetter::ALoLineGetter(ALo* list) : lo(list) {
    if (!lo)
        return;
    lo->addRef();
    lo->open();
    for (long i = 0, doc = lo->first(); i < lo->getCount(); ++i, doc = lo->next())
        docs.push_back(doc);
    lo->close();
}

ALoLineGetter::ALoLineGetter(ASearchBase* source, int16_t number, ALo* list) : ALoLineGetter(list) {
    base = source;
    table = number;
}

ALoLineGetter::~ALoLineGetter() {
    ReleaseAndNull(lo);
}

AString ALoLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (record < 0 || record >= getLineCount())
        return AString();
    if (base)
        return entryText(record);
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

AString ALoLineGetter::entryText(long n) {
    if (!base || n < 0 || n >= getLineCount())
        return AString();
    long record = docs[static_cast<size_t>(n)];
    // A list may name records the table does not hold: the row stays empty.
    if (record < 0 || record >= base->getRecordCount(table))
        return AString();
    return base->getText(table, record, 1);
}
