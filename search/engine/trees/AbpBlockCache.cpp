// The B+ tree reader's block cache.
#include "search/engine/trees/AbpBlockCache.h"

#include <cstring>

#include "base/procedural/BAlloc.h"

long AbpBlockCache::readFile(KY_File* file, long offset, uint8_t* out, long n) {
    return offset >= 0 && KY_FSeek(file, offset, 0) == offset ? KY_FRead(file, out, n) : -1;
}

AbpBlockCache::~AbpBlockCache() {
    for (auto& set : ways_)
        for (Way& w : set)
            KY_Free(w.data);
}

const AbpBlockCache::Way* AbpBlockCache::find(KY_File* file, int32_t block, bool* failed) {
    *failed = false;
    Way* set = ways_[block % kSets];
    Way* victim = &set[0];
    for (int i = 0; i < kWays; ++i) {
        if (set[i].block == block) {
            set[i].used = ++clock_;
            return &set[i];
        }
        if (!set[i].data || (victim->data && set[i].used < victim->used))
            victim = &set[i];
    }
    if (!victim->data && !(victim->data = static_cast<uint8_t*>(KY_Malloc(kBlock))))
        return nullptr;
    victim->block = -1;
    long got = readFile(file, static_cast<long>(block) * kBlock, victim->data, kBlock);
    // Past the end of the file nothing is kept: the caller reports it.
    if (got <= 0) {
        *failed = true;
        return nullptr;
    }
    victim->block = block;
    victim->valid = static_cast<int32_t>(got);
    victim->used = ++clock_;
    return victim;
}

long AbpBlockCache::read(KY_File* file, int32_t offset, uint8_t* out, long n) {
    if (offset < 0)
        return -1;
    long copied = 0;
    while (copied < n) {
        int32_t at = offset + static_cast<int32_t>(copied);
        if (at < offset)
            break;  // past the largest offset
        bool failed = false;
        const Way* w = find(file, at / kBlock, &failed);
        if (!w && !failed) {
            long got = readFile(file, at, out + copied, n - copied);
            return got > 0 ? copied + got : copied ? copied : -1;
        }
        if (!w)
            return copied ? copied : -1;
        long within = at % kBlock, take = w->valid - within;
        if (take <= 0)
            break;
        if (take > n - copied)
            take = n - copied;
        std::memcpy(out + copied, w->data + within, static_cast<size_t>(take));
        copied += take;
        if (w->valid < kBlock)
            break;  // the file's last block
    }
    return copied ? copied : -1;
}
