// The phonetic candidate set over the matcher's list of readings.
#include "search/facade/IPhon.h"

#include "search/engine/phon/KyPhon.h"

IPhon::IPhon() : IPhon(KY_PhonCandidates) {}

IPhon::IPhon(CandidateSource source) : source_(source) {}

IPhon::~IPhon() {
    candidates.clear();
}

long IPhon::findCandidates(const char* text) {
    word = AString(text);
    candidates.clear();
    struct ListGuard {
        KyPhonList* list = nullptr;
        ~ListGuard() { KY_PhonFreeList(list); }
    } guard;
    if (source_(text, 0, &guard.list) != 0 || !guard.list)
        return 0;
    for (int32_t k = 0; k < guard.list->count; ++k) {
        AString key(guard.list->strings[k]);
        if (!candidates.contains(key))
            candidates.insert(key) = nullptr;
    }
    return candidates.count();
}

long IPhon::getCount() {
    return candidates.count();
}

AStrDic& IPhon::getCandidates() {
    return candidates;
}
