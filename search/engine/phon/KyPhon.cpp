// The phonetic matcher: folding, exception lookup, segmentation, branching
// transcription into candidates, scoring and the list of best readings.
#include "search/engine/phon/KyPhon.h"

#include <cstring>

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/common/KySort.h"

namespace {

const float kUntranscribedPenalty = 100.0f;
const float kBadShapePenalty = 100000.0f;
const int32_t kSetBlock = 100;

// A growing KY_Malloc text; ok turns false for good once memory is short.
struct Buffer {
    char* text = nullptr;
    size_t length = 0;
    size_t capacity = 0;
    bool ok = true;

    ~Buffer() { KY_Free(text); }

    void append(const char* bytes, size_t n) {
        if (!ok)
            return;
        if (length + n + 1 > capacity) {
            size_t wanted = (length + n + 1) * 2;
            char* grown = static_cast<char*>(KY_Realloc(text, wanted));
            if (!grown) {
                ok = false;
                return;
            }
            text = grown;
            capacity = wanted;
        }
        std::memcpy(text + length, bytes, n);
        length += n;
        text[length] = 0;
    }
    void append(const char* s) { append(s, std::strlen(s)); }
};

// Appends n bytes to an owned string that may still be null.
bool AppendTo(char** s, const char* bytes, size_t n) {
    size_t length = *s ? std::strlen(*s) : 0;
    char* grown = static_cast<char*>(KY_Realloc(*s, length + n + 1));
    if (!grown)
        return false;
    std::memcpy(grown + length, bytes, n);
    grown[length + n] = 0;
    *s = grown;
    return true;
}

char* CopyOf(const char* s) {
    char* copy = nullptr;
    return AppendTo(&copy, s ? s : "", s ? std::strlen(s) : 0) ? copy : nullptr;
}

// Room for one more candidate: blocks of 100, copied into a bigger array.
bool GrowSet(KyPhonSet* set) {
    if (set->last + 1 < set->capacity)
        return true;
    int32_t capacity = (set->last / kSetBlock + 2) * kSetBlock;
    void* items = KY_Calloc(static_cast<size_t>(capacity), sizeof(KyPhonCandidate));
    if (!items)
        return false;
    if (set->items)
        std::memcpy(items, set->items, sizeof(KyPhonCandidate) * static_cast<size_t>(set->capacity));
    KY_Free(set->items);
    set->items = static_cast<KyPhonCandidate*>(items);
    set->capacity = capacity;
    return true;
}

struct Snapshot {
    char* key = nullptr;
    char* phonetic = nullptr;
    float score = 0.0f;
    ~Snapshot() {
        KY_Free(key);
        KY_Free(phonetic);
    }
};

int Transcribe(const char* text, KyPhonSet* set, int32_t i) {
    if (!*text) {
        set->items[i].score += 1.0f;
        return 0;
    }
    KyPhonAlternative alternatives[kPhonMaxAlternatives];
    int n = KY_PhonApplyRules(text, alternatives);
    if (n == 0) {
        KyPhonCandidate& c = set->items[i];
        c.score += kUntranscribedPenalty;
        return AppendTo(&c.key, text, std::strlen(text)) && AppendTo(&c.phonetic, "?", 1) ? 0 : 1;
    }
    Snapshot snapshot;
    if (n > 1) {
        const KyPhonCandidate& c = set->items[i];
        snapshot.key = CopyOf(c.key);
        snapshot.phonetic = CopyOf(c.phonetic);
        if (!snapshot.key || !snapshot.phonetic)
            return 1;
        snapshot.score = c.key || c.phonetic ? c.score : 0.0f;
    }
    int32_t c = i;
    for (int j = 0; j < n; ++j) {
        const KyPhonAlternative& a = alternatives[j];
        // The set may move while the branch grows it: index, never hold.
        if (!AppendTo(&set->items[c].key, text, a.keyLength) ||
            !AppendTo(&set->items[c].phonetic, a.phonetic, std::strlen(a.phonetic)))
            return 1;
        set->items[c].score += 1.0f;
        if (Transcribe(text + a.keyLength, set, c) != 0)
            return 1;
        if (j + 1 < n) {
            if (set->last + 1 >= kPhonMaxCandidates || !GrowSet(set))
                return 1;
            c = ++set->last;
            KyPhonCandidate& next = set->items[c];
            next.key = CopyOf(snapshot.key);
            next.phonetic = CopyOf(snapshot.phonetic);
            next.score = snapshot.score;
            if (!next.key || !next.phonetic)
                return 1;
        }
    }
    return 0;
}

// Ascending score; equal scores compare equal.
int CompareScores(const void* a, const void* b) {
    float d = static_cast<const KyPhonCandidate*>(b)->score - static_cast<const KyPhonCandidate*>(a)->score;
    return d < 0.0f ? 1 : d > 0.0f ? -1 : 0;
}

// "^" + the word cut in segments, markers included; null when memory is short.
char* Segment(const char* word) {
    Buffer out;
    out.append("^");
    for (size_t pos = 0; word[pos];) {
        const KyPhonSegment* rule = KY_PhonSegmentRules(word + pos, word, pos);
        if (rule) {
            out.append(rule->replacement);
            pos += std::strlen(rule->key);
        } else {
            out.append(word + pos, 1);
            ++pos;
        }
    }
    if (!out.ok)
        return nullptr;
    char* text = out.text;
    out.text = nullptr;
    return text;
}

KyPhonList* NewList(int32_t capacity) {
    if (capacity <= 0)
        capacity = 100;
    KyPhonList* list = static_cast<KyPhonList*>(KY_Calloc(1, sizeof(KyPhonList)));
    if (!list)
        return nullptr;
    list->strings = static_cast<char**>(KY_Calloc(static_cast<size_t>(capacity), sizeof(char*)));
    if (!list->strings) {
        KY_Free(list);
        return nullptr;
    }
    list->capacity = capacity;
    return list;
}

// Adds a normalised copy of n bytes of text unless the list holds it already.
bool AddUnique(KyPhonList* list, const char* text, size_t n) {
    char* copy = nullptr;
    if (!AppendTo(&copy, text, n))
        return false;
    KY_PhonNormalize(copy);
    for (int32_t k = 0; k < list->count; ++k) {
        if (std::strcmp(list->strings[k], copy) == 0) {
            KY_Free(copy);
            return true;
        }
    }
    if (list->count == list->capacity) {
        KY_Free(copy);
        return false;
    }
    list->strings[list->count++] = copy;
    return true;
}

int Fail(KyPhonList** result, const char* why) {
    KY_SetEngineErrorText(why);
    *result = nullptr;
    return 1;
}

}  // namespace

int KY_PhonTranscribe(char* text, KyPhonSet* set, int32_t i) {
    for (char* p = text; *p; ++p) {
        if (static_cast<unsigned char>(*p) == 0x9C)
            *p = '@';
    }
    return Transcribe(text, set, i);
}

void KY_PhonFreeSet(KyPhonSet* set) {
    for (int32_t k = 0; set->items && k < set->capacity; ++k) {
        KY_Free(set->items[k].key);
        KY_Free(set->items[k].phonetic);
    }
    KY_Free(set->items);
    set->items = nullptr;
    set->last = -1;
    set->capacity = 0;
}

float KY_PhonScore(char* phonetic) {
    if (!phonetic)
        return 2 * kBadShapePenalty;
    float score = 0.0f;
    size_t out = 0;
    size_t run = 0;
    int dots = 0;
    char previous = 0;
    for (size_t in = 0; phonetic[in]; ++in) {
        char b = phonetic[in];
        if (b == '.') {
            if (++dots >= 2)
                score += kBadShapePenalty;
            continue;
        }
        dots = 0;
        if (KY_PhonIsConsonant(b)) {
            if (b != previous) {
                phonetic[out++] = b;
                ++run;
            }
            bool cluster = b == 'w' || b == 'j' || ((b == 't' || b == 'k') && previous == 's');
            if (run >= 3 && !cluster)
                score += kBadShapePenalty;
        } else {
            run = 0;
            if (b != previous || phonetic[in + 1] == '~')
                phonetic[out++] = b;
        }
        previous = b;
    }
    phonetic[out] = 0;
    if (out == 0 || run == out)
        score += kBadShapePenalty;
    return score;
}

int KY_PhonCandidates(const char* word, long /*reserved*/, KyPhonList** result) {
    if (!result)
        return 1;
    *result = nullptr;
    if (!word || !*word)
        return Fail(result, "phon: empty word");

    char folded[kPhonMaxWord + 2];
    size_t length = strnlen(word, kPhonMaxWord);
    std::memcpy(folded, word, length);
    folded[length] = 0;
    KY_PhonFold(folded);
    const char* exception = KY_PhonException(folded);
    folded[length] = '$';
    folded[length + 1] = 0;

    char* text = Segment(folded);
    if (!text)
        return Fail(result, "phon: out of memory");
    KyPhonSet set{static_cast<KyPhonCandidate*>(KY_Calloc(kSetBlock, sizeof(KyPhonCandidate))), 0, kSetBlock};
    int rc = set.items ? KY_PhonTranscribe(text, &set, 0) : 1;
    KY_Free(text);
    if (rc != 0) {
        KY_PhonFreeSet(&set);
        return Fail(result, "phon: too many readings");
    }
    int32_t count = set.last + 1;
    for (int32_t k = 0; k < count; ++k)
        set.items[k].score += KY_PhonScore(set.items[k].phonetic);
    KY_SortArray(set.items, static_cast<uint32_t>(count), sizeof(KyPhonCandidate), CompareScores);

    int32_t forms = 0;
    for (const char* p = exception; p && *p; ++p)
        forms += *p == '/';
    KyPhonList* list = NewList(count + (exception ? forms + 1 : 0));
    bool ok = list != nullptr;
    for (const char* p = exception; ok && p;) {
        const char* slash = std::strchr(p, '/');
        size_t n = slash ? static_cast<size_t>(slash - p) : std::strlen(p);
        ok = AddUnique(list, p, n);
        p = slash ? slash + 1 : nullptr;
    }
    for (int32_t k = 0; ok && k < count && set.items[k].score == set.items[0].score; ++k) {
        const char* phonetic = set.items[k].phonetic;
        if (phonetic && *phonetic)
            ok = AddUnique(list, phonetic, std::strlen(phonetic));
    }
    KY_PhonFreeSet(&set);
    if (!ok) {
        KY_PhonFreeList(list);
        return Fail(result, "phon: out of memory");
    }
    *result = list;
    return 0;
}

void KY_PhonFreeList(KyPhonList* list) {
    if (!list)
        return;
    for (int32_t k = 0; k < list->count; ++k)
        KY_Free(list->strings[k]);
    KY_Free(list->strings);
    KY_Free(list);
}
