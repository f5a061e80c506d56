// What the occurrence-list modules share: the package state.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "search/engine/Lo.h"

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
    LoDesc* owner = nullptr;  // not owned: the vector list
    int nbits = 18;
    uint32_t masks[4] = {0xFFFF, 0, 0x7FFF0000, 0};
    int32_t before = 0, after = 0;
    std::vector<LoSavedEntry> saved;  // in decreasing order of name
    std::vector<LoImage> images;      // kept when the package ends
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
// Copies every element of src (rewound, read from its first element) to dst.
int LoCopyElements(LoDesc* src, LoDesc* dst);
// Releases what a descriptor owns (buffer, own file, the vector) without freeing it.
void LoReleaseDesc(LoDesc* d);

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
    int64_t doc = static_cast<int64_t>(d->doc) + first;
    int64_t pos = (first ? 0 : static_cast<int64_t>(d->pos)) + posDelta;
    if (doc > 0x7FFFFFFF || pos > 0x7FFFFFFF)
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
