// A map's place list over the atlas lexicon.
#include "app/lines/ASVAtlasFilterLexLineGetter.h"

#include <cerrno>
#include <cstdlib>

ASVAtlasFilterLexLineGetter::ASVAtlasFilterLexLineGetter(AKeyIndex* index)
    : ASVStandardLexLineGetter(index, DefaultLexRange()) {}

void ASVAtlasFilterLexLineGetter::setFilter(const char* text) {
    filter_.clear();
    long total = entryCount();
    const char* p = text ? text : "";
    while (*p) {
        const char* stopAt = p;
        while (*stopAt && *stopAt != ',' && *stopAt != ':')
            ++stopAt;
        errno = 0;
        char* stop = nullptr;
        long long n = std::strtoll(p, &stop, 10);
        if (stop == stopAt && stop != p && errno != ERANGE && n >= 0 && n < total) {
            long at = filter_.lowerBound(static_cast<int32_t>(n));
            if (at >= filter_.count() || filter_.at(at) != n)
                filter_.insertAt(static_cast<int32_t>(n), at);
        }
        p = *stopAt ? stopAt + 1 : stopAt;
    }
}

long ASVAtlasFilterLexLineGetter::getLineCount() {
    return filter_.count();
}

AString ASVAtlasFilterLexLineGetter::entryText(long n) {
    if (n < 0 || n >= filter_.count())
        return AString();
    return ASVStandardLexLineGetter::entryText(filter_.at(n));
}
