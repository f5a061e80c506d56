// Reading a term's occurrences from the indexes: words, patterns and thesaurus
// terms, written to lists or held in memory.
#include "search/engine/questions/KyEngineRead.h"

#include <cstring>

#include "base/procedural/EngineTables.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

// A word whose occurrences an operator takes from memory has at most these.
const int32_t kHeldOccurrences = 1 << 18;
const size_t kSoughtKeys = 32;

// "*" any rest, "?" any one byte.
bool Matches(const char* pattern, const char* text) {
    if (!*pattern)
        return !*text;
    if (*pattern == '*')
        return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
    return *text && (*pattern == '?' || *pattern == *text) && Matches(pattern + 1, text + 1);
}

// Adds the documents of occurrences to bits, each occurrence setting its bit:
// skipping a document's further ones was a branch mispredicted at each document.
void AddDocuments(const int32_t* docs, int n, std::vector<uint8_t>* bits) {
    uint8_t* data = bits->data();
    size_t size = bits->size();
    for (int i = 0; i < n; ++i) {
        int32_t doc = docs[i];
        if (doc < 0)
            continue;
        size_t byte = static_cast<size_t>(doc) >> 3;
        if (byte >= size) {
            // At once the room of every document: growing by halves cost a
            // heap block each time.
            if (!bits->capacity())
                *bits = KyTakeBuffer<uint8_t>();
            bits->resize(std::max({byte + 1, size * 2, static_cast<size_t>(LoVectorBytes())}), 0);
            data = bits->data();
            size = bits->size();
        }
        data[byte] = static_cast<uint8_t>(data[byte] | (1u << (doc & 7)));
    }
}

// Writes occurrences to a list as a word's reading writes them: positions with
// a unit, one element a document without. last: the document written last.
int WriteOccurrences(LoDesc* d, const int32_t* docs, const int32_t* positions, int n, bool units, int32_t* last) {
    int code = 0;
    for (int i = 0; !code && i < n;) {
        if (int taken = LoWriteWholeRun(d, docs + i, positions + i, n - i, units)) {
            i += taken;
            *last = docs[i - 1];
        }
        if (i == n)
            break;
        if (units || docs[i] != *last)
            code = Lo_WriteOcc(d, docs[i], units ? positions[i] : 0);
        *last = docs[i++];
    }
    return code;
}

// A word's list begun with the occurrences held in memory, as its reading
// would have written them.
int BeginHeldList(const KyHeldOccurrences& held, LoHandle* out, int32_t* last) {
    int code = LoCreate(kLoReadable | kLoWritable, nullptr, held.unit, 0, 0, out, held.weight);
    if (code)
        return code;
    // Without a unit no position is read: the documents stand in.
    const LoOccurrences& o = held.occurrences;
    code = WriteOccurrences(LoDescOf(*out), o.docs.data(), held.unit ? o.positions.data() : o.docs.data(),
                            static_cast<int>(o.docs.size()), held.unit != 0, last);
    if (code)
        LoFree(out);
    return code;
}

// Ends a word's list whose writing ended with code (0 or kAbpEndOfOcc when
// whole): the list in *out, or the code with the list freed.
int EndList(LoHandle h, int code, LoHandle* out) {
    if (!code || code == kAbpEndOfOcc)
        code = LoWrite(h, -1, 0);
    LoClose(h);
    if (code) {
        LoFree(&h);
        return code;
    }
    *out = h;
    return 0;
}

// The occurrences of the tree's current key as a new list: positions with a unit,
// one element a document without; only those in the filter's documents when
// there is one.
// documents, when not null, gains the documents read: what LoDocumentBits
// would read back from the list.
// held, when not null, keeps them in memory instead (*out -1) as long as they
// are what the list would hold; else the list is written.
int ReadOccurrences(KY_IndexRecord* index, uint8_t unit, LoHandle* out, const KyDocFilter* filter = nullptr,
                    std::vector<uint8_t>* documents = nullptr, KyHeldOccurrences* held = nullptr) {
    LoHandle h = -1;
    int code = 0;
    const int32_t weight = std::max<int>(1, index->weight);
    if (held) {
        held->drop();
        held->unit = unit;
        held->weight = weight;
    } else if ((code = LoCreate(kLoReadable | kLoWritable, nullptr, unit, 0, 0, &h, weight)) != 0) {
        return code;
    }
    // Occurrences a block at a time: one call each was a fifth of a large
    // word's reading.
    LoDesc* d = h == -1 ? nullptr : LoDescOf(h);
    int32_t docs[kOccurrenceBlock], positions[kOccurrenceBlock], last = -1;
    int got = 0;
    // A filtered reading moves past the documents it does not want where the
    // index noted a point, and ends after the last one it wants.
    int32_t wanted = filter ? filter->nextFrom(0) : 0;
    while (!code) {
        if (filter) {
            if (wanted < 0) {
                code = kAbpEndOfOcc;
                break;
            }
            abpSkipToDocument(&index->tree, wanted);
        }
        // Without a unit the list keeps documents alone: their positions are
        // not decoded. A filtered reading decodes them, noting the points it
        // skips by.
        if ((code = unit || filter ? abpNextOccurrences(&index->tree, docs, positions, kOccurrenceBlock, &got)
                                   : abpNextDocuments(&index->tree, docs, positions, kOccurrenceBlock, &got)) != 0)
            break;
        if (filter) {
            // The last document read may go on in the next block.
            wanted = got ? filter->nextFrom(docs[got - 1]) : wanted;
            int kept = 0;
            for (int i = 0; i < got; ++i)
                if (filter->has(docs[i])) {
                    docs[kept] = docs[i];
                    positions[kept++] = positions[i];
                }
            got = kept;
        }
        if (documents)
            AddDocuments(docs, got, documents);
        if (held) {
            if (held->keep(docs, positions, got))
                continue;
            // Not what a list would hold as they stand: the list is written.
            code = BeginHeldList(*held, &h, &last);
            held->drop();
            held = nullptr;
            if (code)
                return code;
            d = LoDescOf(h);
        }
        code = WriteOccurrences(d, docs, positions, got, unit != 0, &last);
    }
    if (held) {
        held->held = code == kAbpEndOfOcc;
        if (!held->held)
            held->drop();
        *out = -1;
        return held->held ? 0 : code;
    }
    return EndList(h, code, out);
}

// The documents of the tree's current key added to a vector list: what
// ReadOccurrences then LoOr do, without writing and reading the list between
// (a third of a prefix's evaluation of 137 words).
int OrOccurrencesInto(KY_IndexRecord* index, LoHandle vector) {
    LoDesc* d = LoDescOf(vector);
    int32_t docs[kOccurrenceBlock], positions[kOccurrenceBlock], last = -1;
    int got = 0, code = 0;
    while (!code && (code = abpNextDocuments(&index->tree, docs, positions, kOccurrenceBlock, &got)) == 0)
        for (int i = 0; !code && i < got; ++i)
            if (docs[i] != last)
                code = Lo_WriteOcc(d, last = docs[i], 0);
    return code == kAbpEndOfOcc ? 0 : code;
}

int Lookup(KY_IndexRecord* index, const std::string& key, uint8_t unit, LoHandle* out, KyDocFilter* filter = nullptr,
           std::vector<uint8_t>* documents = nullptr, KyHeldOccurrences* held = nullptr) {
    *out = -1;
    AbpEntry e;
    int code = KySeekKey(index, key, &e);
    if (code == kQuestNotFound)
        return Fail(kQuestNotFound, key);
    if (code)
        return code;
    if (held && e.values[1] > kHeldOccurrences)
        held = nullptr;
    const bool filtered = filter && filter->worthFor(e.values[1]);
    if (held) {
        // Room at once for the word's occurrences, or for some of them when
        // they are filtered: growing by halves cost a heap block each time.
        size_t room = static_cast<size_t>(std::max<int32_t>(e.values[1], 0));
        room = filtered ? std::min<size_t>(room, 4096) : room;
        auto ready = [room](std::vector<int32_t>* buffer) {
            if (!buffer->capacity())
                *buffer = KyTakeBuffer();
            buffer->reserve(room);
        };
        ready(&held->occurrences.docs);
        if (unit)
            ready(&held->occurrences.positions);
    }
    return ReadOccurrences(index, unit, out, filtered ? filter : nullptr, documents, held);
}

int Pattern(KY_IndexRecord* index, const std::string& pattern, uint8_t unit, int owner, LoHandle* out) {
    size_t cut = pattern.find_first_of("?*");
    std::string prefix = pattern.substr(0, cut);
    AbpEntry e;
    std::memset(&e, 0, sizeof e);
    int code;
    if (prefix.empty()) {
        code = abpFirstLeaf(&index->tree);
        if (!code)
            code = abpNextKey(&index->tree, &e, 0);
    } else {
        std::memcpy(e.key, prefix.data(), std::min<size_t>(prefix.size(), kAbpMaxKey));
        code = abpSearchKey(&e, &index->tree, 0);
    }
    bool found = false;
    while (!code && std::strncmp(e.key, prefix.c_str(), prefix.size()) == 0) {
        if (Matches(pattern.c_str(), e.key)) {
            LoHandle h = -1;
            std::string key = e.key;
            if (LoIsVector(*out))
                code = OrOccurrencesInto(index, *out);
            else if ((code = ReadOccurrences(index, unit, &h)) == 0)
                code = KyOrInto(out, h);
            if (code)
                return code;
            found = true;
            if ((code = KyEnterWord(key, kQuestTerm, owner, index->flags)) != 0)
                return code;
        }
        code = abpNextKey(&index->tree, &e, 0);
    }
    if (code && code != kAbpEndOfKeys && code != kAbpErrNotFound)
        return code;
    return found ? 0 : Fail(kQuestNotFound, pattern);
}

// A kind-6 term: its own list, joined with those of its related terms (one level).
int ThesLookup(KY_IndexRecord* index, const KY_QuestRecord& r, uint8_t unit, int owner, LoHandle* out) {
    KY_EngineState& e = KyEngine();
    std::string term = r.text;
    LoHandle own = -1;
    int code = Lookup(index, term, unit, &own);
    if (code && code != kQuestNotFound)
        return code;
    bool found = code == 0;
    if (found && (code = KyEnterWord(term, kQuestTerm, owner, index->flags)) != 0) {
        LoFree(&own);
        return code;
    }
    if (r.count == 0) {
        *out = own;
        return 0;
    }
    std::string prefix = e.prefixMode && !term.empty() ? term.substr(0, 1) : "";
    std::string related;
    code = e.thes.open ? KY_ThesFirst(&e.thes, r.relation, term.c_str() + prefix.size(), &related, 1) : 1100;
    if (code == 1100) {
        if (!found)
            return Fail(kQuestNotFound, term);
        *out = own;
        return KyEnterWord(term, kQuestThes, owner, index->flags);
    }
    if (code) {
        LoFree(&own);
        return code;
    }
    // A related term missing from the index is passed over, not the end of the walk.
    LoHandle result = own;
    bool any = found;
    while (!code) {
        LoHandle h = -1;
        std::string key = prefix + related;
        int c = Lookup(index, key, unit, &h);
        if (c && c != kQuestNotFound) {
            LoFree(&result);
            return c;
        }
        if (!c) {
            any = true;
            if ((c = KyOrInto(&result, h)) != 0 || (c = KyEnterWord(key, kQuestThes, owner, index->flags)) != 0) {
                LoFree(&result);
                return c;
            }
        }
        code = KY_ThesNext(&e.thes, &related);
    }
    *out = result;
    return any ? 0 : Fail(kQuestNotFound, term);
}

}  // namespace

int KyWriteHeld(const KyHeldOccurrences& held, LoHandle* out) {
    LoHandle h = -1;
    int32_t last = -1;
    int code = BeginHeldList(held, &h, &last);
    return code ? code : EndList(h, 0, out);
}

int KySeekKey(KY_IndexRecord* index, const std::string& key, AbpEntry* e) {
    if (key.empty() || key.size() > kAbpMaxKey)
        return kQuestNotFound;
    std::vector<KY_EngineState::SoughtKey>& sought = KyEngine().sought;
    for (const KY_EngineState::SoughtKey& s : sought)
        if (s.index == index && s.key == key) {
            *e = s.entry;
            return s.code ? s.code : abpTakeFound(&index->tree, e);
        }
    std::memset(e, 0, sizeof *e);
    std::memcpy(e->key, key.data(), key.size());
    int code = abpSearchKey(e, &index->tree, 1);
    code = code == kAbpErrNotFound || code == kAbpEndOfKeys ? kQuestNotFound : code;
    if ((!code || code == kQuestNotFound) && sought.size() < kSoughtKeys)
        sought.push_back({index, key, *e, code});
    return code;
}

int KyOrInto(LoHandle* result, LoHandle add) {
    return LoOr(*result, add, result);
}

bool KyIsPlainWord(const KY_QuestRecord& r) {
    int kind = r.kind & 0x7F;
    return kind != kQuestList && kind != kQuestPattern && kind != kQuestThes;
}

int KyLookupKind(KY_IndexRecord* index, const KY_QuestRecord& r, uint8_t unit, int owner, LoHandle* out,
                 KyDocFilter* filter, std::vector<uint8_t>* documents, KyHeldOccurrences* held) {
    *out = -1;
    int kind = r.kind & 0x7F;
    if (kind == kQuestPattern)
        return Pattern(index, r.text, unit, owner, out);
    if (kind == kQuestThes && !index->noThes)
        return ThesLookup(index, r, unit, owner, out);
    int code = Lookup(index, r.text, unit, out, filter, documents, held);
    return code ? code : KyEnterWord(r.text, kQuestTerm, owner, index->flags);
}
