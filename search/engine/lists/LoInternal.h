// What the occurrence-list modules share: the package state.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "search/engine/lists/Lo.h"

const int kLoFastWords = 2048;  // the fast writer's 8192-byte buffer

struct LoSavedEntry {
    std::string name;
    int32_t count, start;
    int32_t end;  // the swap end when saved: the list lies before it
    uint32_t units, flags;
    int32_t weight;
};

// A list file's bytes kept in memory under its name.
struct LoImage {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string note;  // the owner's, kept and dropped with the bytes
};

struct LoPackage {
    bool started = false;
    char swapName[kLoNameSize] = "";
    FILE* swap = nullptr;
    std::vector<uint8_t> swapMemory;            // the swap's bytes while they fit in memory
    size_t swapMemoryLimit = size_t(16) << 20;  // beyond it they go to the file
    bool swapInFile = false;                    // from then on the file holds them
    int32_t swapEnd = 0;
    LoDesc* lists[kLoMaxLists] = {};
    uint8_t* vector = nullptr;  // owned, vecBytes bytes
    int vecBytes = 0;
    // Its bytes [vecLow, vecHigh) may hold bits; all others are clear. A
    // result of a few documents then costs their bytes, not the vector's
    // (scanned and cleared whole, a fifth of an AND of two rare words).
    int vecLow = 0, vecHigh = 0;
    LoDesc* owner = nullptr;  // not owned: the vector list
    int nbits = 18;
    uint32_t masks[4] = {0xFFFF, 0, 0x7FFF0000, 0};
    int32_t before = 0, after = 0;
    std::vector<LoSavedEntry> saved;  // in decreasing order of name
    std::vector<LoImage> images;      // kept when the package ends
    // Write buffers and descriptors of lists gone, for the next ones: under
    // Wine a heap block each cost a question of one rare word a twentieth.
    std::vector<uint32_t*> spareWords;
    std::vector<LoDesc*> spareDescs;
    LoDesc* fastOwner = nullptr;      // not owned: the list that the fast writer buffers
    uint32_t fastWords[kLoFastWords] = {};
    int fastIndex = 0;  // words completed in fastWords
};

// The package's state, one a process; an inline accessor: the list coders
// ask for it at every field.
extern LoPackage gLoPackage;
inline LoPackage& LoPkg() {
    return gLoPackage;
}
// Clears the vector's bits, those that may be set.
void LoClearVector();
// Copies every element of src (rewound, read from its first element) to dst.
int LoCopyElements(LoDesc* src, LoDesc* dst);
// Releases what a descriptor owns (buffer, own file, the vector) without freeing it.
void LoReleaseDesc(LoDesc* d);

// Shared by the writing and reading of lists (Lo.cpp) and their saving (LoFiles.cpp).
void LoCopyName(char* to, const char* from);
void LoSetUnits(LoDesc* d, uint32_t unitCode);
// Writes n bytes at offset at of f (the swap or a list's own file).
bool LoWriteAt(FILE* f, int64_t at, const void* data, size_t n);
// Reads at most n bytes at offset at of f; answers the bytes read.
size_t LoReadAt(FILE* f, int64_t at, void* data, size_t n);
// Writes d's pending words where they belong, just before its offset.
int LoFlushPending(LoDesc* d);
// Gives d's write buffer back (to the spares or the heap), its words unwritten.
void LoDropPending(LoDesc* d);
// Ends fast writing of d, if it was the list being written fast.
int LoEndFast(LoDesc* d);
// The bits of a vector list (the package's vector) or of a raw vector read back.
const uint8_t* LoVectorBytesOf(const LoDesc* d);
// A sequential list without scores, in the swap or in memory: it reads back
// every element it was written with, so that writing them again gives the same
// words, which are then copied as they stand rather than decoded and coded.
bool LoCopiesAsItStands(const LoDesc* d);
// The data of an in-memory list (LoSaveImage), from its start.
int LoImageData(const LoDesc* d, const uint8_t** data, size_t* size);

const int kLoPendingWords = 1024;  // a list's write buffer, 4096 bytes

// Lists in a file of their own: written ones (flag 2), and reopened raw vectors,
// whose files carry flags 68 (readable, raw) and are read by name.
inline bool LoOwnsFile(const LoDesc* d) {
    return !(d->flags & kLoInMemory) &&
           ((d->flags & kLoOwnFile) || (d->flags & ~(kLoRawVector | kLoScored | kLoBuffered)) == kLoReadable);
}

// The common case of writing an element of an unwritten document or unit, inline:
// whole-word fields of an unscored sequential list, after its first element,
// with room in its write buffer, go straight there. False, nothing done, when
// the general path must write it. A call a field was most of a word's coding.
inline bool LoWriteWhole(LoDesc* d, int32_t doc, int32_t pos) {
    LoPackage& p = LoPkg();
    if ((d->flags & (kLoWritable | kLoVector)) != kLoWritable || (LoScoreMode && (d->flags & kLoScored)) || doc == -1 ||
        d->count <= 0 || p.nbits != 32 || d->mask != 0x80000000u || p.fastOwner == d || !d->file || !d->pending ||
        d->pendingWords + 2 >= kLoPendingWords || doc < d->doc ||
        (d->units && (doc != d->doc ? pos < 0 : pos < d->pos)))
        return false;
    if (doc == d->doc && (!d->unitMask || (pos & d->unitMask) == (d->pos & d->unitMask)))
        return true;  // already there
    d->word = 0;
    d->pending[d->pendingWords++] = static_cast<uint32_t>(doc - d->doc);
    d->offset += 4;
    if (d->units) {
        d->pending[d->pendingWords++] = static_cast<uint32_t>(pos) - static_cast<uint32_t>(doc == d->doc ? d->pos : 0);
        d->offset += 4;
    }
    if (!LoOwnsFile(d) && d->offset > p.swapEnd)
        p.swapEnd = d->offset;
    d->doc = doc;
    d->pos = pos;
    ++d->count;
    return true;
}

// LoWriteWhole over n elements in turn (positions taken with units only): how
// many it took. It stops before the first it cannot take, which the general
// path then writes or refuses. The list's state is held in locals meanwhile:
// the buffer's stores would make the compiler read it again at each element.
inline int LoWriteWholeRun(LoDesc* d, const int32_t* docs, const int32_t* positions, int n, bool units) {
    LoPackage& p = LoPkg();
    if ((d->flags & (kLoWritable | kLoVector)) != kLoWritable || (LoScoreMode && (d->flags & kLoScored)) ||
        d->count <= 0 || p.nbits != 32 || d->mask != 0x80000000u || p.fastOwner == d || !d->file || !d->pending)
        return 0;
    uint32_t* pending = d->pending;
    const bool withUnits = d->units != 0;
    const uint32_t unitMask = d->unitMask;
    int32_t last = d->doc, lastPos = d->pos, count = d->count, offset = d->offset, words = d->pendingWords;
    int i = 0;
    if (units && withUnits && unitMask) {
        // Positions under a unit mask, most occurrences an element of their
        // own: the checks of the loop below in its order, split by document.
        const int32_t first = words;
        for (; i < n; ++i) {
            int32_t doc = docs[i], pos = positions[i];
            if (doc == last) {
                if (words + 2 >= kLoPendingWords || pos < lastPos)
                    break;
                if ((static_cast<uint32_t>(pos) & unitMask) == (static_cast<uint32_t>(lastPos) & unitMask))
                    continue;
                pending[words] = 0;
                pending[words + 1] = static_cast<uint32_t>(pos) - static_cast<uint32_t>(lastPos);
            } else {
                if (doc == -1 || words + 2 >= kLoPendingWords || doc < last || pos < 0)
                    break;
                pending[words] = static_cast<uint32_t>(doc - last);
                pending[words + 1] = static_cast<uint32_t>(pos);
            }
            words += 2;
            last = doc;
            lastPos = pos;
            ++count;
        }
        offset += 4 * (words - first);
        if (words != first)
            d->word = 0;
    } else if (!units && !withUnits && !unitMask) {
        // Documents alone: an element at each new document, counted without a
        // branch on it (mispredicted at each document). A document below the
        // last one, -1 among them, ends the run as it ends the loop below.
        const int32_t first = words;
        for (; i < n; ++i) {
            int32_t doc = docs[i];
            if (doc < last || (words + 2 >= kLoPendingWords && doc != last))
                break;
            int32_t added = doc != last;
            pending[words] = static_cast<uint32_t>(doc - last);
            words += added;
            count += added;
            last = doc;
        }
        offset += 4 * (words - first);
        if (words != first)
            d->word = 0;
    } else {
        for (; i < n; ++i) {
            int32_t doc = docs[i], pos = units ? positions[i] : 0;
            if (doc == last && !unitMask)
                continue;  // already there: a document's further positions, most of a word's
            if (doc == -1 || words + 2 >= kLoPendingWords || doc < last ||
                (withUnits && (doc != last ? pos < 0 : pos < lastPos)))
                break;
            if (doc == last &&
                (!unitMask || (static_cast<uint32_t>(pos) & unitMask) == (static_cast<uint32_t>(lastPos) & unitMask)))
                continue;  // already there
            pending[words++] = static_cast<uint32_t>(doc - last);
            offset += 4;
            if (withUnits) {
                pending[words++] = static_cast<uint32_t>(pos) - static_cast<uint32_t>(doc == last ? lastPos : 0);
                offset += 4;
            }
            last = doc;
            lastPos = pos;
            ++count;
            d->word = 0;
        }
    }
    d->doc = last;
    d->pos = lastPos;
    d->count = count;
    d->offset = offset;
    d->pendingWords = words;
    if (!LoOwnsFile(d) && d->offset > p.swapEnd)
        p.swapEnd = d->offset;
    return i;
}

// Reads the next element of an unscored list of whole-word fields when it lies
// in the read buffer, giving its document delta; false, nothing read, otherwise
// (the general path then reads it or says why it cannot).
inline bool LoReadWhole(LoDesc* d, uint32_t* delta) {
    const int32_t fields = d->units ? 2 : 1;
    if (d->mask || LoPkg().nbits != 32 || d->bufferIndex + fields > d->bufferWords)
        return false;
    const uint8_t* w = d->buffer + 4 * d->bufferIndex;
    uint32_t first, posDelta = 0;
    std::memcpy(&first, w, 4);
    if (fields == 2)
        std::memcpy(&posDelta, w + 4, 4);
    // 32-bit sums (64-bit ones cost several instructions here): a carry shows
    // as the sum falling below what was added; negative bases take the general path.
    int32_t base = first ? 0 : d->pos;
    uint32_t doc = static_cast<uint32_t>(d->doc) + first, pos = static_cast<uint32_t>(base) + posDelta;
    if (d->doc < 0 || base < 0 || doc < first || doc > 0x7FFFFFFFu || pos < posDelta || pos > 0x7FFFFFFFu)
        return false;
    d->bufferIndex += fields;
    d->word = fields == 2 ? posDelta : first;
    d->doc = static_cast<int32_t>(doc);
    d->pos = static_cast<int32_t>(pos);
    ++d->index;
    *delta = first;
    return true;
}

// Lo_NextOcc with its common case inline, for the set operations' loops.
inline int LoNextOcc(LoDesc* d) {
    uint32_t delta;
    int32_t previousPos = d->pos;
    if (d->doc != -1 && !(d->flags & (kLoVector | kLoRawVector | kLoScored)) && d->index < d->count &&
        LoReadWhole(d, &delta) &&
        (d->index == 1 || delta || (d->unitMask && (d->pos & d->unitMask) != (previousPos & d->unitMask))))
        return 0;
    return Lo_NextOcc(d);
}
