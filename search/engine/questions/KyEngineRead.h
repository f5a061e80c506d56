// Reading a term's occurrences from the indexes, for the evaluation of the
// question stack: the documents another operand keeps a reading to, the
// occurrences held in memory for the operator that takes them, and the buffers
// they reuse from one evaluation to the next.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "search/engine/lists/LoInternal.h"
#include "search/engine/questions/KyQuestInternal.h"

// Occurrences read from an index at a time.
const int kOccurrenceBlock = 256;

// The documents of an AND's other operand or an EXCEPT's left one, read once
// a word's list proves longer than that operand: the word's list then keeps
// only its occurrences in them, and the operator gives what it gave without
// writing and reading back the rest (most of a phrase with a frequent word).
class KyDocFilter {
public:
    // read: from's documents as its reading collected them, or null; held:
    // the elements of an operand held in memory (from -1) whose documents
    // read holds, or -1.
    KyDocFilter(LoHandle from, const std::vector<uint8_t>* read, int32_t held = -1)
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
std::vector<std::vector<T>>& KySpareBuffers() {
    static std::vector<std::vector<T>> spares;
    return spares;
}

template <class T = int32_t>
std::vector<T> KyTakeBuffer() {
    std::vector<std::vector<T>>& spares = KySpareBuffers<T>();
    if (spares.empty())
        return {};
    std::vector<T> buffer = std::move(spares.back());
    spares.pop_back();
    return buffer;
}

template <class T>
void KyGiveBuffer(std::vector<T>* buffer) {
    std::vector<std::vector<T>>& spares = KySpareBuffers<T>();
    if (buffer->capacity() && buffer->capacity() <= kSpareElements && spares.size() < kSpareBuffers) {
        buffer->clear();
        spares.push_back(std::move(*buffer));
    }
}

// A word's occurrences (or documents) kept in memory for the operator that
// takes them, as long as they are what its list would hold: writing the list
// and reading it back were a third of a phrase.
struct KyHeldOccurrences {
    KyHeldOccurrences() = default;
    ~KyHeldOccurrences() {
        KyGiveBuffer(&occurrences.docs);
        KyGiveBuffer(&occurrences.positions);
    }
    KyHeldOccurrences(const KyHeldOccurrences&) = delete;
    KyHeldOccurrences& operator=(const KyHeldOccurrences&) = delete;

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

// The list a word's reading makes of occurrences held in memory.
int KyWriteHeld(const KyHeldOccurrences& held, LoHandle* out);
// Puts the index on key: 0 with its entry, kQuestNotFound (no error text) for a
// key it cannot hold or does not have, or the index's code.
int KySeekKey(KY_IndexRecord* index, const std::string& key, AbpEntry* e);
int KyOrInto(LoHandle* result, LoHandle add);
// A plain word: not a stored list, a pattern or a thesaurus term. Only its
// size is known from the index's keys, and only its reading collects its
// documents.
bool KyIsPlainWord(const KY_QuestRecord& r);
// The list of the term of r in one index, its words entered as owner's: a
// pattern's keys, a thesaurus term with its related terms, or a word. A word's
// reading keeps to the filter's documents, adds its documents to documents
// and may be held in memory (each when not null).
int KyLookupKind(KY_IndexRecord* index, const KY_QuestRecord& r, uint8_t unit, int owner, LoHandle* out,
                 KyDocFilter* filter, std::vector<uint8_t>* documents, KyHeldOccurrences* held);
