// The previous queries' rows.
#include "app/lines/ASVSiSearchLineGetter.h"

#include <cstdio>

#include "app/state/ASiReqSearch.h"

long ASVSiSearchLineGetter::getLineCount() {
    return list_ ? static_cast<int16_t>(list_->count()) : 0;
}

AString ASVSiSearchLineGetter::getRawLine(long record, long line) {
    (void)line;
    const long count = getLineCount();
    if (record < 0 || record >= count)
        return AString();
    const long i = count - 1 - record;
    AString row(" ");
    row += list_->get(static_cast<int16_t>(i));
    char key[24];
    std::snprintf(key, sizeof key, "#%ld", i);
    row += key;
    return row;
}
