// The blocks of one B+ tree file a reader keeps: its pages and occurrence
// areas as 4096-byte blocks of the file, four ways a set, the least recently
// used of a set replaced. Every search descends through the same upper pages
// and most read a few leaves and occurrence blocks again; under Wine a read
// of the file costs microseconds, and a cache of the file layer answered a hit
// by walking and shifting its whole slot table. 1024 sets (up to 16 MB, taken
// as blocks are first read): with 256, the 587 blocks a round of 220 searches
// of the sample reads filled some sets beyond their four ways, and 72 of them
// were read from the file again at every round, 5 us each, often more than
// the rest of a rare word's search.
//
// Holds bytes as the file layer's reads give them (translated, descrambled).
// A read-only file is assumed: nothing here sees a write.
#pragma once

#include <cstdint>

#include "base/procedural/KyFile.h"

class AbpBlockCache {
public:
    static const int kBlock = 4096;
    static const int kSets = 1024;
    static const int kWays = 4;

    AbpBlockCache() = default;
    ~AbpBlockCache();
    AbpBlockCache(const AbpBlockCache&) = delete;
    AbpBlockCache& operator=(const AbpBlockCache&) = delete;

    // Copies up to n bytes of file from offset into out: the bytes copied,
    // fewer at the end of the file, or -1 when nothing could be read there.
    // A block that cannot be kept (memory) is read straight from the file.
    long read(KY_File* file, int32_t offset, uint8_t* out, long n);
    // The same read straight from the file, for a reader without a cache.
    static long readFile(KY_File* file, long offset, uint8_t* out, long n);

private:
    struct Way {
        int32_t block = -1;
        int32_t valid = 0;      // bytes of the block in the file
        uint32_t used = 0;      // the clock's value at its last use
        uint8_t* data = nullptr;  // owned, kBlock bytes, null until first kept
    };
    // The way holding block, loaded when missing; null when it cannot be
    // kept or read (*failed says which).
    const Way* find(KY_File* file, int32_t block, bool* failed);

    Way ways_[kSets][kWays];
    uint32_t clock_ = 0;
};
