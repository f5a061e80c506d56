// The phonetic matcher's exception dictionary: words whose reading the rules
// get wrong, with their phonetic forms ('/' between forms).
//
// UTF-8 source compiled with -fexec-charset=CP1252. Entries stay sorted by the
// Windows-1252 byte values of the words (accented letters after 'z'): the
// lookup is a binary search.
#include <cstring>

#include "search/engine/phon/KyPhon.h"

namespace {

struct Exception {
    const char* word;
    const char* forms;
};

const Exception kExceptions[] = {
#include "search/engine/phon/KyPhonExceptions.inc"
};

const int kExceptionCount = sizeof kExceptions / sizeof kExceptions[0];

}  // namespace

const char* KY_PhonException(const char* word) {
    int lo = 0;
    int hi = kExceptionCount - 1;
    while (lo <= hi) {
        int middle = (lo + hi) / 2;
        int d = std::strcmp(word, kExceptions[middle].word);
        if (d == 0)
            return kExceptions[middle].forms;
        if (d < 0)
            hi = middle - 1;
        else
            lo = middle + 1;
    }
    return nullptr;
}
