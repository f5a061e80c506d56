// Evaluation of the question stack into occurrence lists, highlight words, the
// engine's start and close, its indexes and its stored lists.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyStopWord.h"
#include "base/procedural/Trace.h"
#include "search/engine/KyFileSet.h"
#include "search/engine/KyQuestInternal.h"
#include "search/engine/LoInternal.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

const int kOccurrenceBlock = 256;
// A left word of an AND with at most these occurrences is read first, whole:
// one block of them costs little. Up to 2048 were: a word of 2,000 AND a word
// of one document took 18 us, where reading the rare one first keeps the other
// to one block (13 us).
const int64_t kShortList = kOccurrenceBlock;
// A word whose occurrences an operator takes from memory has at most these.
const int32_t kHeldOccurrences = 1 << 18;
const size_t kSoughtKeys = 32;

bool IsNone(uint8_t list) {
    return list >= 0xFE;
}

// "*" any rest, "?" any one byte.
bool Matches(const char* pattern, const char* text) {
    if (!*pattern)
        return !*text;
    if (*pattern == '*')
        return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
    return *text && (*pattern == '?' || *pattern == *text) && Matches(pattern + 1, text + 1);
}

// The documents of an AND's other operand or an EXCEPT's left one, read once
// a word's list proves longer than that operand: the word's list then keeps
// only its occurrences in them, and the operator gives what it gave without
// writing and reading back the rest (most of a phrase with a frequent word).
class DocFilter {
public:
    // read: from's documents as its reading collected them, or null; held:
    // the elements of an operand held in memory (from -1) whose documents
    // read holds, or -1.
    DocFilter(LoHandle from, const std::vector<uint8_t>* read, int32_t held = -1)
        : from_(from), read_(read), held_(held) {}
    bool worthFor(int32_t occurrences) {
        if (bits_)
            return true;
        const LoDesc* d = from_ == -1 ? nullptr : LoDescOf(from_);
        if (!d && (held_ < 0 || !read_))
            return false;
        int32_t cost = !d ? held_ : (d->flags & kLoVector) ? LoVectorBytes() / 16 : d->count;
        if (occurrences <= cost)
            return false;
        if (read_) {
            bits_ = read_;
            return true;
        }
        // A list that cannot be read here is read again by the AND, which reports it.
        if (LoDocumentBits(from_, &own_)) {
            from_ = -1;
            return false;
        }
        bits_ = &own_;
        return true;
    }
    bool has(int32_t doc) const {
        return doc >= 0 && static_cast<size_t>(doc >> 3) < bits_->size() && LoTestBit(doc, bits_->data());
    }
    // The first of the documents from doc on, or -1 past the last.
    int32_t nextFrom(int32_t doc) const {
        return LoNextSetBit(bits_->data(), static_cast<int32_t>(bits_->size()), doc);
    }

private:
    LoHandle from_;
    const std::vector<uint8_t>* read_;
    int32_t held_;
    const std::vector<uint8_t>* bits_ = nullptr;
    std::vector<uint8_t> own_;
};

// Buffers of held occurrences and of the documents a reading collects, from
// one evaluation to the next: made afresh, those of a frequent word cost their
// pages again each time (a tenth of a phrase of two such words), and a word's
// documents took a block of every document's bit, zero-filled twice.
const size_t kSpareBuffers = 8;
const size_t kSpareElements = size_t(1) << 16;

template <class T>
std::vector<std::vector<T>>& SpareBuffers() {
    static std::vector<std::vector<T>> spares;
    return spares;
}

template <class T = int32_t>
std::vector<T> TakeBuffer() {
    std::vector<std::vector<T>>& spares = SpareBuffers<T>();
    if (spares.empty())
        return {};
    std::vector<T> buffer = std::move(spares.back());
    spares.pop_back();
    return buffer;
}

template <class T>
void GiveBuffer(std::vector<T>* buffer) {
    std::vector<std::vector<T>>& spares = SpareBuffers<T>();
    if (buffer->capacity() && buffer->capacity() <= kSpareElements && spares.size() < kSpareBuffers) {
        buffer->clear();
        spares.push_back(std::move(*buffer));
    }
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
                *bits = TakeBuffer<uint8_t>();
            bits->resize(std::max({byte + 1, size * 2, static_cast<size_t>(LoVectorBytes())}), 0);
            data = bits->data();
            size = bits->size();
        }
        data[byte] = static_cast<uint8_t>(data[byte] | (1u << (doc & 7)));
    }
}

// A word's occurrences (or documents) kept in memory for the operator that
// takes them, as long as they are what its list would hold: writing the list
// and reading it back were a third of a phrase.
struct HeldOccurrences {
    HeldOccurrences() = default;
    ~HeldOccurrences() {
        GiveBuffer(&occurrences.docs);
        GiveBuffer(&occurrences.positions);
    }
    HeldOccurrences(const HeldOccurrences&) = delete;
    HeldOccurrences& operator=(const HeldOccurrences&) = delete;

    LoOccurrences occurrences;
    bool held = false;  // the word's list is these (its handle -1)
    uint8_t unit = 0;
    int32_t weight = 1;
    int32_t lastDoc = -1, lastPos = 0;

    // Keeps the occurrences while each document comes after the last one and
    // each position after the last one of its document, none negative (each
    // then an element of a list of positions): false, nothing kept, otherwise.
    // Without a unit, each document once, while none goes back (positions
    // are not read). Without a branch on each new document, mispredicted at
    // each one.
    bool keep(const int32_t* docs, const int32_t* positions, int n) {
        if (!unit)
            return keepDocuments(docs, n);
        int32_t doc = lastDoc, pos = lastPos;
        uint32_t bad = 0;
        for (int i = 0; i < n; ++i) {
            int64_t step = int64_t(docs[i]) - doc;
            bad |= static_cast<uint32_t>(docs[i] | positions[i]) >> 31;
            bad |= static_cast<uint32_t>(step < 0) | (static_cast<uint32_t>(step == 0) & (positions[i] <= pos));
            doc = docs[i];
            pos = positions[i];
        }
        if (bad)
            return false;
        occurrences.docs.insert(occurrences.docs.end(), docs, docs + n);
        occurrences.positions.insert(occurrences.positions.end(), positions, positions + n);
        lastDoc = doc;
        lastPos = pos;
        return true;
    }
    bool keepDocuments(const int32_t* docs, int n) {
        int32_t doc = lastDoc;
        uint32_t bad = 0;
        for (int i = 0; i < n; ++i) {
            bad |= static_cast<uint32_t>(docs[i] < doc) | (static_cast<uint32_t>(docs[i]) >> 31);
            doc = docs[i];
        }
        if (bad)
            return false;
        std::vector<int32_t>& kept = occurrences.docs;
        size_t k = kept.size();
        kept.resize(k + static_cast<size_t>(n));
        doc = lastDoc;
        for (int i = 0; i < n; ++i) {
            kept[k] = docs[i];
            k += docs[i] != doc;
            doc = docs[i];
        }
        kept.resize(k);
        lastDoc = doc;
        return true;
    }
    void drop() {
        occurrences.docs.clear();
        occurrences.positions.clear();
        held = false;
        lastDoc = -1;
        lastPos = 0;
    }
};

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
int BeginHeldList(const HeldOccurrences& held, LoHandle* out, int32_t* last) {
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

// The list a word's reading makes of occurrences held in memory.
int WriteHeld(const HeldOccurrences& held, LoHandle* out) {
    LoHandle h = -1;
    int32_t last = -1;
    int code = BeginHeldList(held, &h, &last);
    return code ? code : EndList(h, 0, out);
}

// The occurrences of the tree's current key as a new list: positions with a unit,
// one element a document without; only those in the filter's documents when
// there is one.
// documents, when not null, gains the documents read: what LoDocumentBits
// would read back from the list.
// held, when not null, keeps them in memory instead (*out -1) as long as they
// are what the list would hold; else the list is written.
int ReadOccurrences(KY_IndexRecord* index, uint8_t unit, LoHandle* out, const DocFilter* filter = nullptr,
                    std::vector<uint8_t>* documents = nullptr, HeldOccurrences* held = nullptr) {
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

// Puts the index on key: 0 with its entry, kQuestNotFound (no error text) for a
// key it cannot hold or does not have, or the index's code.
int SeekKey(KY_IndexRecord* index, const std::string& key, AbpEntry* e) {
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

int Lookup(KY_IndexRecord* index, const std::string& key, uint8_t unit, LoHandle* out, DocFilter* filter = nullptr,
           std::vector<uint8_t>* documents = nullptr, HeldOccurrences* held = nullptr) {
    *out = -1;
    AbpEntry e;
    int code = SeekKey(index, key, &e);
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
                *buffer = TakeBuffer();
            buffer->reserve(room);
        };
        ready(&held->occurrences.docs);
        if (unit)
            ready(&held->occurrences.positions);
    }
    return ReadOccurrences(index, unit, out, filtered ? filter : nullptr, documents, held);
}

int OrInto(LoHandle* result, LoHandle add) {
    return LoOr(*result, add, result);
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
                code = OrInto(out, h);
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
            if ((c = OrInto(&result, h)) != 0 || (c = KyEnterWord(key, kQuestThes, owner, index->flags)) != 0) {
                LoFree(&result);
                return c;
            }
        }
        code = KY_ThesNext(&e.thes, &related);
    }
    *out = result;
    return any ? 0 : Fail(kQuestNotFound, term);
}

// A plain word: not a stored list, a pattern or a thesaurus term. Only its
// size is known from the index's keys, and only its reading collects its
// documents.
bool IsPlainWord(const KY_QuestRecord& r) {
    int kind = r.kind & 0x7F;
    return kind != kQuestList && kind != kQuestPattern && kind != kQuestThes;
}

int LookupKind(KY_IndexRecord* index, const KY_QuestRecord& r, uint8_t unit, int owner, LoHandle* out,
               DocFilter* filter, std::vector<uint8_t>* documents, HeldOccurrences* held) {
    *out = -1;
    int kind = r.kind & 0x7F;
    if (kind == kQuestPattern)
        return Pattern(index, r.text, unit, owner, out);
    if (kind == kQuestThes && !index->noThes)
        return ThesLookup(index, r, unit, owner, out);
    int code = Lookup(index, r.text, unit, out, filter, documents, held);
    return code ? code : KyEnterWord(r.text, kQuestTerm, owner, index->flags);
}

// The indexes a term searches. A field has few: they are kept without a heap
// block (a phrase's search took a dozen).
class IndexSet {
public:
    void push(int x) {
        if (n_ < kInline)
            inline_[n_] = x;
        else
            more_.push_back(x);
        ++n_;
    }
    bool has(int x) const {
        for (size_t i = 0; i < n_; ++i)
            if ((*this)[i] == x)
                return true;
        return false;
    }
    size_t size() const { return n_; }
    int operator[](size_t i) const { return i < kInline ? inline_[i] : more_[i - kInline]; }

private:
    static const size_t kInline = 8;
    int inline_[kInline];
    size_t n_ = 0;
    std::vector<int> more_;
};

// Its field's own (*own of them), then the extra ones.
IndexSet SearchedIndexes(const KY_QuestRecord& r, size_t* own) {
    const std::vector<KY_IndexItem>* list = KyFieldList(r.field);
    IndexSet searched;
    if (list)
        for (const KY_IndexItem& item : *list)
            if (!item.skip)
                searched.push(item.index);
    *own = searched.size();
    for (int x : KyEngine().extra[(r.field & 0x80) ? 0 : 1])
        if (!searched.has(x))
            searched.push(x);
    return searched;
}

// A plain word's occurrences in the indexes it searches, from their keys
// alone; -1 for any other operand or an index that cannot tell.
int64_t WordOccurrences(int i) {
    const KY_QuestRecord& r = KyEngine().stack[i].record;
    if (!IsPlainWord(r))
        return -1;
    size_t own = 0;
    int64_t total = 0;
    std::string key = r.text;
    const IndexSet searched = SearchedIndexes(r, &own);
    for (size_t n = 0; n < searched.size(); ++n) {
        KY_IndexRecord* index = KyIndexAt(searched[n]);
        if (!index || !index->open)
            continue;
        AbpEntry e;
        int code = SeekKey(index, key, &e);
        if (code == kQuestNotFound)
            continue;
        if (code)
            return -1;
        total += e.values[1];
    }
    return total;
}

// andWith: the other operand of the AND that takes this one, or -1, with its
// documents when its reading collected them (else null) and, when it is held
// in memory, its elements (else -1). documents, when not null and the operand
// is a plain word, gains the documents of its list. held, when not null, may
// take the occurrences of a plain word of one index instead of its list.
int EvalOperand(int i, uint8_t unit, LoHandle andWith, const std::vector<uint8_t>* andDocuments, int32_t andHeld,
                LoHandle* out, std::vector<uint8_t>* documents, HeldOccurrences* held) {
    KY_EngineState& e = KyEngine();
    const KY_QuestRecord& r = e.stack[i].record;
    *out = -1;
    if ((r.kind & 0x7F) == kQuestList)
        return KY_EngineOpenStoredList(KY_EngineListPath(r.text).c_str(), out);
    size_t own = 0;
    const IndexSet searched = SearchedIndexes(r, &own);
    bool found = false;
    DocFilter filter(andWith, andDocuments, andHeld);
    if (!IsPlainWord(r))
        documents = nullptr;
    if (held)
        held->drop();
    if (!IsPlainWord(r) || searched.size() != 1)
        held = nullptr;
    for (size_t n = 0; n < searched.size(); ++n) {
        KY_IndexRecord* index = KyIndexAt(searched[n]);
        if (!index || !index->open) {
            if (n < own)
                return Fail(kQuestErrIndexClosed, r.text);
            continue;
        }
        LoHandle h = -1;
        int code = LookupKind(index, r, unit, i, &h, &filter, documents, held);
        if (code == kQuestNotFound)
            continue;
        if (code || (code = OrInto(out, h)) != 0) {
            LoFree(&h);
            LoFree(out);
            return code;
        }
        found = true;
    }
    return found ? 0 : Fail(kQuestNotFound, r.text);
}

void RemoveOwned(int owner, std::vector<KY_EnteredWord>* removed) {
    auto& words = KyEngine().entered;
    for (size_t n = 0; n < words.size();) {
        if (words[n].owner == owner) {
            if (removed)
                removed->push_back(words[n]);
            words.erase(words.begin() + static_cast<long>(n));
        } else {
            ++n;
        }
    }
}

// A proximity operand's words become one "term <EXPR>distance other" word.
int ProximityWord(int operand, int other, int distance, int owner) {
    KY_EngineState& e = KyEngine();
    std::vector<KY_EnteredWord> removed;
    RemoveOwned(operand, &removed);
    if (removed.empty())
        return 0;
    uint8_t kind = kQuestTerm;
    for (const KY_EnteredWord& w : removed)
        kind = std::max(kind, w.kind);
    const char* otherText = e.stack[other].record.text[0] ? e.stack[other].record.text : "\xFE";
    char text[2 * kQuestTextSize + 32];
    std::snprintf(text, sizeof text, "%s <EXPR>%d %s", e.stack[operand].record.text, distance, otherText);
    return KyEnterWord(text, kind, owner, 0);
}

// unit: the one the operator gives both its operands (0 none); held: the
// operands' occurrences when they are held in memory, or null.
int EvalOperator(int i, int left, int right, uint8_t unit, HeldOccurrences* heldLeft, HeldOccurrences* heldRight) {
    KY_EngineState& e = KyEngine();
    KY_QuestEntry& op = e.stack[i];
    int32_t distance = op.record.count;
    int mode = 0;
    if (unit) {
        if (distance < 0) {
            std::swap(left, right);
            distance = -distance;
        }
        int shift = 0;
        uint32_t mask = LoPkg().masks[unit == kUnitW ? 0 : unit == kUnitS ? 1 : unit == kUnitP ? 2 : 3];
        if (unit != kUnitW && mask)
            while (!(mask & (1u << shift)))
                ++shift;
        // The package takes a window only for words; other units give theirs in
        // position units, the distance shifted to the unit's field.
        LoSetProximity(kUnitW, static_cast<int32_t>(static_cast<uint32_t>(distance) << shift));
        mode = unit;
    } else {
        distance = 0;
        LoSetProximity(0, 0);
    }
    if (e.scoreMode)
        mode |= kLoScored | (distance >= 1 ? 0x100 : 0);
    LoHandle a = e.stack[left].list, b = e.stack[right].list, result = -1;
    e.stack[left].list = e.stack[right].list = -1;
    int code = 0;
    int kind = op.record.kind & 0x7F;
    const bool heldA = heldLeft && heldLeft->held, heldB = heldRight && heldRight->held;
    if (kind == kQuestAnd && heldA && heldB) {
        code = LoAndOccurrences(heldLeft->occurrences, heldRight->occurrences, mode, &result);
    } else if (kind == kQuestOr && heldA && heldB) {
        code = LoOrDocuments(heldLeft->occurrences, heldRight->occurrences, &result);
    } else if (kind == kQuestExcept && heldA && heldB) {
        RemoveOwned(right, nullptr);
        code = LoExceptDocuments(heldLeft->occurrences, heldRight->occurrences, &result);
    } else {
        // An operand held for an operator that takes the other from a list becomes a list.
        if (heldA)
            code = WriteHeld(*heldLeft, &a);
        if (heldB && !code)
            code = WriteHeld(*heldRight, &b);
        if (!code && kind == kQuestAnd) {
            code = LoAnd(a, b, &result, mode);
        } else if (!code && kind == kQuestOr) {
            code = LoOr(a, b, &result);
        } else if (!code) {
            RemoveOwned(right, nullptr);
            code = LoExcept(a, b, &result, mode);
        }
    }
    for (HeldOccurrences* held : {heldLeft, heldRight})
        if (held)
            held->drop();
    if (code) {
        LoFree(&a);
        LoFree(&b);
        return code;
    }
    op.list = result;
    if (e.hiliteOn) {
        for (int side : {left, right})
            if (unit && (code = ProximityWord(side, side == left ? right : left, distance, i)) != 0)
                return code;
        for (KY_EnteredWord& w : e.entered)
            if (w.owner == left || w.owner == right)
                w.owner = i;
    }
    e.stack[left].done = e.stack[right].done = 1;
    return 0;
}

// The nearest earlier entry that holds a result not taken yet; taken(j) is
// entry j's flag.
template <class Taken>
int Nearest(int before, Taken&& taken) {
    for (int j = before - 1; j >= 0; --j)
        if (!taken(j)) {
            taken(j) = true;
            return j;
        }
    return -1;
}

void FreeStackLists() {
    KY_EngineState& e = KyEngine();
    for (int i = 0; i < e.used; ++i)
        if (e.stack[i].list != -1)
            LoFree(&e.stack[i].list);
}

}  // namespace

KY_EngineState& KyEngine() {
    static KY_EngineState state;
    return state;
}

const std::vector<KY_IndexItem>* KyFieldList(uint32_t field) {
    KY_EngineState& e = KyEngine();
    if (!e.tables)
        return nullptr;
    size_t at = (field & 0x7F) * 2 + ((field & 0x80) ? 1 : 0);
    if (at >= e.tables->fields.size() || IsNone(e.tables->fields[at]))
        return nullptr;
    size_t list = e.tables->fields[at];
    return list < e.tables->lists.size() ? &e.tables->lists[list] : nullptr;
}

KY_IndexRecord* KyIndexAt(int index) {
    KY_EngineState& e = KyEngine();
    if (!e.tables || !e.tables->indexes || index < 0 || index >= static_cast<int>(e.tables->indexes->size()))
        return nullptr;
    return &(*e.tables->indexes)[static_cast<size_t>(index)];
}

uint32_t KyEntryUnits(int i) {
    KY_EngineState& e = KyEngine();
    std::vector<uint8_t> flags(static_cast<size_t>(i) + 1, 0);
    auto taken = [&flags](int j) -> uint8_t& { return flags[j]; };
    // Operands of each operator up to i, found as the evaluation will.
    std::vector<uint32_t> units(static_cast<size_t>(i) + 1, 0);
    for (int n = 0; n <= i; ++n) {
        const KY_QuestRecord& r = e.stack[n].record;
        int kind = r.kind & 0x7F;
        if (kind == kQuestList) {
            units[n] = std::strcmp(r.text, "@") == 0 ? 0xF : r.unit;
        } else if (kind >= kQuestTerm) {
            uint32_t mask = 0xF;
            const std::vector<KY_IndexItem>* list = KyFieldList(r.field);
            if (list)
                for (const KY_IndexItem& item : *list) {
                    KY_IndexRecord* index = KyIndexAt(item.index);
                    mask &= index ? index->unitByte : 0u;
                }
            units[n] = list ? mask : 0;
        } else {
            int right = Nearest(n, taken), left = Nearest(right < 0 ? 0 : right, taken);
            units[n] = left < 0 || right < 0 ? 0 : units[left] & units[right];
        }
    }
    return units[i];
}

bool KyIsStopWord(const char* word) {
    return KyEngine().stopWords && KY_FindStopWord(word, KY_EngineStopWordTable()) == 1;
}

bool KyIsStopWord(const std::string& word) {
    return KyIsStopWord(word.c_str());
}

int KyEnterWord(const std::string& input, uint8_t kind, int owner, uint32_t indexFlags) {
    KY_EngineState& e = KyEngine();
    if (!e.hiliteOn)
        return 0;
    std::string word = (indexFlags & 0x10) && !input.empty() ? input.substr(1) : input;
    auto at = std::lower_bound(e.entered.begin(), e.entered.end(), word,
                               [](const KY_EnteredWord& w, const std::string& k) { return w.word < k; });
    if (at != e.entered.end() && at->word == word) {
        if (kind == kQuestThes)
            at->kind = kQuestThes;
        return 0;
    }
    if (static_cast<int>(e.entered.size()) >= kEnteredCapacity)
        return 0;
    e.entered.insert(at, KY_EnteredWord{kind, word, owner});
    return 0;
}

const std::vector<KY_EnteredWord>& KY_EngineEnteredWords() {
    return KyEngine().entered;
}

int KY_EngineInit(const KY_EngineTables* tables, const char* swapPath, int32_t maxDoc) {
    KY_EngineState& e = KyEngine();
    if (e.open)
        return Fail(111, "KY_EngineInit");
    int code = LoInitPkg(swapPath, maxDoc);
    if (code)
        return code;
    bool positions = false;
    if (tables && tables->indexes)
        for (const KY_IndexRecord& index : *tables->indexes)
            positions = positions || index.unitByte;
    LoSetBitWidth(positions ? 0x7FFFFFFFu : static_cast<uint32_t>(std::max(maxDoc, 1)));
    e.tables = tables;
    e.stack.clear();
    e.used = 0;
    KY_QuestRecord fresh;
    KY_QuestRecordInit(&fresh);
    fresh.kind = kQuestDone;
    e.stack.assign(100, KY_QuestEntry{0, -1, -1, fresh});
    e.lastPush = 0;
    e.open = true;
    return 0;
}

int KY_EngineIsOpen() {
    return KyEngine().open;
}

int KY_EngineClose() {
    KY_EngineState& e = KyEngine();
    KY_EngineClearQuests();
    if (!e.open)
        return Fail(112, "KY_EngineClose");
    e.stack.clear();
    e.entered.clear();
    e.hilite.clear();
    LoEndPkg();
    if (e.thes.open)
        KY_ThesClose(&e.thes);
    e.tables = nullptr;
    e.listFolder.clear();
    e.open = false;
    std::vector<std::vector<int32_t>>().swap(SpareBuffers<int32_t>());
    std::vector<std::vector<uint8_t>>().swap(SpareBuffers<uint8_t>());
    return 0;
}

void KY_EngineClearQuests() {
    KY_EngineState& e = KyEngine();
    FreeStackLists();
    while (e.used > 0)
        KY_QuestPop();
    e.lastPush = 0;
}

void KY_EngineSetPrefixMode(int on) {
    KyEngine().prefixMode = on;
}

void KY_EngineSetScoreMode(int on) {
    KyEngine().scoreMode = on;
    LoScoreMode = on;
}

int KY_IndexOpen(KY_IndexRecord* index) {
    if (index->open)
        return 1112;
    KY_ClearOpenSpec(&index->spec);
    int code = KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), index->path.c_str(), nullptr, 0, 0, 0, 0, &index->spec);
    if (!code) {
        abpSetWidth(&index->tree, index->unitByte ? 0x7FFFFFFFu : index->maxValue);
        code = abpOpen(&index->spec, &index->tree, index->occurrences, index->unitByte ? 1 : 0);
    }
    if (code) {
        KY_FreeOpenSpec(&index->spec);
        return Fail(code, index->path);
    }
    index->open = 1;
    return 0;
}

int KY_IndexClose(KY_IndexRecord* index) {
    if (!index->open)
        return Fail(1113, index->path);
    // What its keys answered goes with the tree.
    KyEngine().sought.clear();
    int code = abpClose(&index->tree);
    KY_FreeOpenSpec(&index->spec);
    index->open = 0;
    return code == 112 ? Fail(1113, index->path) : 0;
}

namespace {

void BeginEvaluation(LoHandle* result, int mode, const char* separators) {
    KY_EngineState& e = KyEngine();
    *result = -1;
    if (separators)
        e.separators = separators;
    e.sought.clear();
    e.hiliteOn = (mode & 0x7F) != 1;
    if (e.hiliteOn)
        e.entered.clear();
}

}  // namespace

int KY_EngineEvaluate(LoHandle* result, int mode, const char* separators) {
    KY_EngineState& e = KyEngine();
    BeginEvaluation(result, mode, separators);
    if (e.lastPush && e.lastPush != kQuestWaiting)
        return Fail(kQuestErrPushFailed, "KY_EngineEvaluate");
    if (e.used == 0)
        return Fail(kQuestErrOperands, "");
    // An operator's operands; the right operand of an AND or an EXCEPT reads
    // only what the left one's documents keep (an EXCEPT takes nothing away
    // from other documents), and of two words joined by AND the one with fewer
    // occurrences is read first (its code kept for its turn).
    // A word that another one's reading keeps to (filters) collects its
    // documents as it is read: reading its list back for them was a tenth of
    // a phrase.
    // The two plain words of an AND, or of an OR or EXCEPT of documents, each
    // in one index, are held in memory for it (as long as they are what a list
    // would hold).
    // One block for all of it: a single word's search took three.
    struct Plan {
        int left = -1, right = -1, filterBy = -1, andRight = -1, early = -1;
        bool filters = false, collected = false, hold = false, taken = false;
        uint8_t unit = 0;  // each proximity operator gives its unit to its two operands
        std::vector<uint8_t> documents;
        HeldOccurrences held;
        ~Plan() { GiveBuffer(&documents); }
    };
    auto holdable = [&e](int i) {
        const KY_QuestRecord& r = e.stack[i].record;
        size_t own = 0;
        return (r.kind & 0x7F) >= kQuestTerm && IsPlainWord(r) && SearchedIndexes(r, &own).size() == 1;
    };
    std::vector<Plan> plan(static_cast<size_t>(e.used));
    auto taken = [&plan](int j) -> bool& { return plan[j].taken; };
    for (int i = 0; i < e.used; ++i) {
        if ((e.stack[i].record.kind & 0x7F) >= kQuestTerm)
            continue;
        int right = Nearest(i, taken);
        int left = right < 0 ? -1 : Nearest(right, taken);
        if (left < 0)
            return Fail(kQuestErrOperands, e.stack[i].record.text);
        plan[i].left = left;
        plan[i].right = right;
        if (e.stack[i].record.unit)
            plan[left].unit = plan[right].unit = e.stack[i].record.unit;
        int kind = e.stack[i].record.kind & 0x7F;
        if (kind == kQuestAnd || kind == kQuestExcept) {
            plan[right].filterBy = left;
            plan[left].filters = true;
        }
        if (kind == kQuestAnd && (e.stack[left].record.kind & 0x7F) >= kQuestTerm &&
            (e.stack[right].record.kind & 0x7F) >= kQuestTerm)
            plan[left].andRight = right;
        const uint8_t unit = e.stack[i].record.unit;
        const bool held = kind == kQuestAnd      ? LoAndOccurrencesApplies(unit)
                          : kind == kQuestOr     ? !unit && LoOrDocumentsApplies()
                          : kind == kQuestExcept ? !unit && LoExceptDocumentsApplies()
                                                 : false;
        if (held && !e.scoreMode && holdable(left) && holdable(right))
            plan[left].hold = plan[right].hold = true;
    }
    auto heldCount = [&plan](int i) {
        return i >= 0 && plan[i].held.held ? static_cast<int32_t>(plan[i].held.occurrences.docs.size()) : -1;
    };
    int last = 0;
    for (int i = 0; i < e.used; ++i) {
        KY_QuestEntry& entry = e.stack[i];
        int code;
        if (plan[i].early >= 0) {
            last = plan[i].early;
            continue;
        }
        if ((entry.record.kind & 0x7F) >= kQuestTerm) {
            int by = plan[i].filterBy;
            LoHandle filterFrom = by < 0 ? -1 : e.stack[by].list;
            int32_t filterHeld = heldCount(by);
            const std::vector<uint8_t>* filterDocuments = by >= 0 && plan[by].collected ? &plan[by].documents : nullptr;
            int right = plan[i].andRight;
            // A short left list costs little to read whole: its right one is not looked up first.
            int64_t mine = right < 0 ? -1 : WordOccurrences(i);
            int64_t theirs = mine <= kShortList ? -1 : WordOccurrences(right);
            if (theirs >= 0 && theirs < mine) {
                KY_QuestEntry& other = e.stack[right];
                std::vector<uint8_t>* read = &plan[right].documents;
                code = EvalOperand(right, plan[right].unit, -1, nullptr, -1, &other.list, read,
                                   plan[right].hold ? &plan[right].held : nullptr);
                if (code && code != kQuestNotFound) {
                    FreeStackLists();
                    return code;
                }
                other.record.kind |= kQuestDone;
                other.record.source = 2;
                plan[right].early = code;
                filterFrom = other.list;
                filterHeld = heldCount(right);
                filterDocuments = !code && IsPlainWord(other.record) ? read : nullptr;
            }
            // Read after its right operand, this word filters nothing.
            bool collect = plan[i].filters && (right < 0 || plan[right].early < 0);
            code = EvalOperand(i, plan[i].unit, filterFrom, filterDocuments, filterHeld, &entry.list,
                               collect ? &plan[i].documents : nullptr, plan[i].hold ? &plan[i].held : nullptr);
            plan[i].collected = collect && !code && IsPlainWord(entry.record);
            if (code && code != kQuestNotFound) {
                FreeStackLists();
                return code;
            }
            last = code;
        } else {
            code = EvalOperator(i, plan[i].left, plan[i].right, plan[plan[i].left].unit, &plan[plan[i].left].held,
                                &plan[plan[i].right].held);
            if (code) {
                FreeStackLists();
                return code;
            }
            last = 0;
        }
        entry.record.kind |= kQuestDone;
        entry.record.source = 2;
    }
    if (last) {
        FreeStackLists();
        return last;
    }
    *result = e.stack[e.used - 1].list;
    e.stack[e.used - 1].list = -1;
    FreeStackLists();
    return 0;
}

void KY_EngineTakeStoredList(int mode, const char* separators) {
    LoHandle none;
    BeginEvaluation(&none, mode, separators);
}

int KY_EngineBuildHilite(int mode) {
    KY_EngineState& e = KyEngine();
    e.hilite.clear();
    auto insert = [&](const std::string& w) {
        auto at = std::lower_bound(e.hilite.begin(), e.hilite.end(), w);
        if ((at == e.hilite.end() || *at != w) && static_cast<int>(e.hilite.size()) < kEnteredCapacity)
            e.hilite.insert(at, w);
    };
    auto add = [&](const std::string& word) {
        if (mode == 1) {
            insert(word);
            return;
        }
        std::vector<std::string> tokens;
        std::string token;
        for (char c : word + (e.separators.empty() ? std::string(" ") : e.separators.substr(0, 1))) {
            if (e.separators.find(c) != std::string::npos || (e.separators.empty() && c == ' ')) {
                if (!token.empty())
                    tokens.push_back(token);
                token.clear();
            } else {
                token += c;
            }
        }
        for (const std::string& t : tokens)
            if (!KyIsStopWord(t) || (tokens.size() > 1 && t.size() > 2))
                insert(t);
    };
    for (const KY_EnteredWord& w : e.entered) {
        add(w.word);
        if (w.kind != kQuestThes || w.word.find("<EXPR>") != std::string::npos || !e.thes.open)
            continue;
        std::string related;
        for (int code = KY_ThesFirst(&e.thes, 1, w.word.c_str(), &related, 1); !code;
             code = KY_ThesNext(&e.thes, &related))
            add(related);
    }
    return 0;
}

const std::vector<std::string>& KY_EngineHilite() {
    return KyEngine().hilite;
}

void KY_HiliteFree() {
    KyEngine().hilite.clear();
}

namespace {

std::string QsvPath(const std::string& name) {
    size_t slash = name.find_last_of("\\/:");
    size_t dot = name.rfind('.');
    std::string base =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? name.substr(0, dot) : name;
    return base + ".qsv";
}

// Lists of a working folder named by the engine, never by the system: no
// file name of the temporary folder starts "KYM" ("KY" and hexadecimal digits).
std::string MemoryListName() {
    static uint32_t serial = 0;
    char digits[8];
    int n = 0;
    for (uint32_t v = ++serial; v || n == 0; v >>= 4)
        digits[n++] = "0123456789ABCDEF"[v & 15];
    std::string name("KYM");
    while (n > 0)
        name += digits[--n];
    return name + ".tmp";
}

int SaveList(LoHandle* list, const char* name, bool memory) {
    KY_EngineState& e = KyEngine();
    // A list kept in the swap file would die with it when its engine part is
    // suspended: stored lists are files of their own, or their bytes in memory.
    // The list file and its words are replaced together: a list never reads
    // with the words of the one it replaced.
    std::string words;
    if (e.hiliteOn)
        for (const KY_EnteredWord& w : e.entered) {
            words += static_cast<char>(w.kind);
            words += w.word;
            words += '\n';
        }
    KyFileSet set;
    // A list kept in memory keeps its words beside its bytes (they move
    // there); a list file has them in a file of the set.
    int code = memory ? LoSaveImage(name, *list, std::move(words)) : LoSaveInSet(name, *list, &set);
    LoFree(list);
    if (code)
        return code;
    if (e.hiliteOn) {
        e.entered.clear();
        if (!memory && !set.write(QsvPath(name), words).empty())
            return Fail(105, QsvPath(name));
    }
    return memory || set.commit().empty() ? 0 : Fail(105, name);
}

}  // namespace

void KY_EngineSetListFolder(const std::string& folder) {
    KyEngine().listFolder = folder;
}

// Question texts name lists without their folder: a folder may hold parentheses.
std::string KY_EngineListPath(const char* name) {
    const std::string& folder = KyEngine().listFolder;
    if (folder.empty() || std::strcmp(name, "@") == 0 || std::strpbrk(name, "\\/:"))
        return name;
    return KY_ListPath(folder, name);
}

int KY_EngineSaveList(LoHandle* list, const char* name) {
    return SaveList(list, name, false);
}

int KY_EngineSaveWorkList(LoHandle* list, const std::string& folder, std::string* name) {
    const LoDesc* d = LoDescOf(*list);
    bool memory = d && d->count <= kMemoryListElements;
    *name = memory ? MemoryListName() : KY_MakeListName(folder.c_str());
    if (name->empty()) {
        LoFree(list);
        return Fail(kQuestErrMemory, "KY_MakeListName");
    }
    return SaveList(list, KY_ListPath(folder, *name).c_str(), memory);
}

// A stored list's highlight words, "<list name less extension>.qsv", one record a word:
//   kind(1: 4 direct, 6 through the thesaurus) word bytes "\n"
// Characters of a word beyond 999 are dropped on reading.
int KY_EngineOpenStoredList(const char* name, LoHandle* list, bool words) {
    *list = -1;
    if (std::strcmp(name, "@") == 0)
        return 0;
    int code = LoOpen(name, list);
    if (code || !words || !KyEngine().hiliteOn)
        return code;
    KY_EngineEnterListWords(name);
    return 0;
}

void KY_EngineEnterListWords(const char* name) {
    KY_EngineState& e = KyEngine();
    // A list kept in memory is read with its words where they are.
    std::string read;
    const std::string* kept = LoImageNote(name);
    if (!kept) {
        FILE* f = std::fopen(QsvPath(name).c_str(), "rb");
        if (!f)
            return;
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
            read.append(chunk, n);
        std::fclose(f);
    }
    const std::string& words = kept ? *kept : read;
    int owner = e.used > 0 ? e.used - 1 : 0;
    for (size_t at = 0; at < words.size();) {
        uint8_t kind = static_cast<uint8_t>(words[at++]);
        size_t end = std::min(words.find('\n', at), words.size());
        KyEnterWord(words.substr(at, std::min<size_t>(end - at, 999)), kind, owner, 0);
        at = end + 1;
    }
}

int KY_EngineDeleteList(const char* name) {
    auto& saved = LoPkg().saved;
    saved.erase(std::remove_if(saved.begin(), saved.end(),
                               [&](const LoSavedEntry& s) { return strcasecmp(s.name.c_str(), name) == 0; }),
                saved.end());
    if (LoForget(name))
        return 0;
    for (const std::string& path : {std::string(name), QsvPath(name)}) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            continue;
        std::fclose(f);
        if (std::remove(path.c_str()) != 0)
            return Fail(kQuestErrDelete, path);
    }
    return 0;
}

int MakeHlo(int field, const char* low, const char* high, LoHandle* result) {
    *result = -1;
    const std::vector<KY_IndexItem>* list = KyFieldList(static_cast<uint32_t>(field));
    if (!list)
        return Fail(105, "MakeHlo");
    std::string lo = low, hi = high;
    for (const KY_IndexItem& item : *list) {
        if (item.skip)
            continue;
        KY_IndexRecord* index = KyIndexAt(item.index);
        if (!index || !index->open)
            return Fail(105, "MakeHlo");
        AbpEntry e;
        std::memset(&e, 0, sizeof e);
        std::memcpy(e.key, lo.data(), std::min<size_t>(lo.size(), kAbpMaxKey));
        int code = abpSearchKey(&e, &index->tree, 0);
        int32_t first = -1, lastDoc = -1;
        while (!code && hi.compare(e.key) >= 0) {
            if (first < 0)
                first = e.values[0];
            lastDoc = e.values[0] + e.values[1] - 1;
            code = abpNextKey(&index->tree, &e, 0);
        }
        if (code && code != kAbpEndOfKeys && code != kAbpErrNotFound) {
            LoFree(result);
            return code;
        }
        if (first < 0 || lastDoc < first)
            continue;
        LoHandle h = -1;
        if ((code = LoCreate(kLoReadable | kLoWritable, nullptr, 0, 0, 0, &h, 1)) != 0) {
            LoFree(result);
            return code;
        }
        for (int32_t d = first; !code && d <= lastDoc; ++d)
            code = LoWrite(h, d, 0);
        if (!code)
            code = LoWrite(h, -1, 0);
        LoClose(h);
        if (code || (code = LoOr(*result, h, result)) != 0) {
            LoFree(&h);
            LoFree(result);
            return code;
        }
    }
    return 0;
}
