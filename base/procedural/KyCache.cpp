// The block cache: resident blocks in most-recently-used order, write-back of
// dirty blocks, and the buffered stream behind the cached operation set.
#include "base/procedural/KyCache.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

#include <cstring>

namespace {

bool Writes(const KY_CacheTable* t) {
    int mode = t->flags & kCacheAccessMask;
    return mode == 2 || mode == 3;
}

long BlockOffset(const KY_CacheTable* t, long number) {
    return t->baseOffset + number * t->blockSize;
}

long BaseSeek(KY_CacheTable* t, long offset, int origin) {
    return t->file->baseOps->seek(t->file, offset, origin);
}

// Writes the valid bytes of a slot at its own offset and clears the dirty mark.
int WriteSlot(KY_CacheTable* t, KY_CacheSlot& slot) {
    if (BaseSeek(t, BlockOffset(t, slot.number), 0) < 0)
        return kCacheErrMove;
    if (slot.valid > 0 && KY_FileWriteRaw(t->file, slot.data, slot.valid) != slot.valid)
        return kCacheErrShortWrite;
    slot.flags &= static_cast<uint8_t>(~1u);
    return 0;
}

// A dirty block that lies past the end of the file: the resident blocks
// between the end and it are written first, so that the file has no hole.
int WriteBack(KY_CacheTable* t, KY_CacheSlot& slot) {
    if (BaseSeek(t, BlockOffset(t, slot.number), 0) < 0) {
        if (!Writes(t))
            return kCacheErrMove;
        long end = BaseSeek(t, 0, 2);
        if (end < 0 || KY_CacheFlushRange(t, (end - t->baseOffset) / t->blockSize, slot.number))
            return kCacheErrMove;
    }
    return WriteSlot(t, slot);
}

// The end of the data: written bytes may still sit in resident blocks past the file's end.
long DataEnd(const KY_CacheTable* t, long fileSize) {
    // A read cache refuses writes: no byte of it lies past the file's end, and
    // a seek in an index of 512 blocks no longer walks them all.
    if ((t->flags & kCacheAccessMask) == 1)
        return fileSize;
    long end = fileSize;
    for (long i = 0; i < t->used; ++i) {
        const KY_CacheSlot& slot = t->slots[i];
        if (slot.number >= 0 && slot.valid > 0 && BlockOffset(t, slot.number) + slot.valid > end)
            end = BlockOffset(t, slot.number) + slot.valid;
    }
    return end;
}

KY_CacheSlot& Front(KY_CacheStream* s) {
    return s->table->slots[0];
}

// Loads the block of the stream's position and points current at it: the
// offset in the block, or -1 when the load fails.
long LoadCurrent(KY_CacheStream* s) {
    KY_CacheTable* t = s->table;
    long number = s->position / t->blockSize;
    if (KY_CacheLoadBlock(t, number, nullptr))
        return -1;
    long offset = s->position % t->blockSize;
    KY_CacheSlot& slot = Front(s);
    s->current = slot.data + offset;
    s->remaining = slot.valid > offset ? slot.valid - offset : 0;
    return offset;
}

void Advance(KY_CacheStream* s, long n) {
    s->position += n;
    s->current += n;
    s->remaining = s->remaining > n ? s->remaining - n : 0;
}

// Written bytes pass through the file's table only when the layer asks for it.
const unsigned char* WriteTable(const KY_CacheTable* t) {
    return KY_TranslateOnWrite ? t->file->table : nullptr;
}

KY_CacheStream* StreamOf(KY_File* f) {
    f->spec.owner->lastError = 0;
    return f->cache;
}

long CachedRead(KY_File* f, void* buffer, long count) {
    return KY_CacheRead(StreamOf(f), buffer, count);
}

// A read-only cache never writes back: writing into it would report success
// for bytes that are later dropped.
bool RefusesWrites(KY_File* f) {
    if ((f->cache->table->flags & kCacheAccessMask) != 1)
        return false;
    f->spec.owner->lastError = kFileErrIO;
    return true;
}

long CachedWrite(KY_File* f, const void* buffer, long count) {
    KY_CacheStream* s = StreamOf(f);
    return RefusesWrites(f) ? -1 : KY_CacheWrite(s, buffer, count);
}

// No seek passes the end of the data, as no direct seek passes the size. The
// size the layer keeps is measured again when it would refuse the target: a
// lazily opened file has not measured it yet.
long CachedSeek(KY_File* f, long offset, int origin) {
    KY_CacheStream* s = StreamOf(f);
    if (origin < 0 || origin > 2) {
        f->spec.owner->lastError = kFileErrOrigin;
        return -1;
    }
    long base = origin == 1 ? s->position : 0;
    long end = DataEnd(s->table, f->size);
    if (origin == 2 || base + offset > end) {
        long size = KY_FileSize(f);
        if (size == -1)
            return -1;
        end = DataEnd(s->table, size);
    }
    long target = (origin == 2 ? end : base) + offset;
    if (target == s->position)
        return target;
    // A refused seek carries the same code as a direct one.
    long result = target < 0 || target > end ? -1 : KY_CacheSeek(s, target);
    f->spec.owner->lastError = result < 0 ? kFileErrIO : 0;
    return result;
}

long CachedTell(KY_File* f) {
    return f->cache->position;
}

int CachedGetc(KY_File* f) {
    return KY_CacheGetc(f->cache);
}

int CachedUngetc(int byte, KY_File* f) {
    return KY_CacheUngetc(byte, f->cache);
}

int CachedPutc(int byte, KY_File* f) {
    return RefusesWrites(f) ? -1 : KY_CachePutc(byte, f->cache);
}

char* CachedGets(char* buffer, int size, KY_File* f) {
    return KY_CacheGets(StreamOf(f), buffer, size);
}

long CachedPuts(const char* text, KY_File* f) {
    return CachedWrite(f, text, static_cast<long>(std::strlen(text)));
}

}  // namespace

KY_FileOps KY_CachedFileOps() {
    return KY_FileOps{CachedRead, CachedWrite, CachedSeek, CachedTell, CachedGetc,
                      CachedUngetc, CachedPutc, CachedGets, CachedPuts};
}

// --- Table level

int KY_CacheTableNew(KY_CacheTable** handle, KY_File* file, long blockSize, int count, int, int addressing) {
    if (!file || !handle)
        return kCacheErrNoTable;
    if (*handle)
        return kCacheErrAttached;
    if (blockSize <= 0 || count <= 0)
        return kCacheErrMemory;
    KY_CacheTable* t = static_cast<KY_CacheTable*>(KY_Calloc(1, sizeof(KY_CacheTable)));
    if (!t)
        return kCacheErrMemory;
    t->slots = static_cast<KY_CacheSlot*>(KY_Calloc(static_cast<size_t>(count), sizeof(KY_CacheSlot)));
    if (!t->slots) {
        KY_Free(t);
        return kCacheErrMemory;
    }
    t->file = file;
    t->blockSize = blockSize;
    t->count = count;
    t->flags = addressing == kCacheByOffset ? kCacheByOffset : kCacheByNumber;
    for (long i = 0; i < count; ++i) {
        t->slots[i].number = -1;
        t->slots[i].data = static_cast<unsigned char*>(KY_Calloc(1, static_cast<size_t>(blockSize)));
        if (!t->slots[i].data) {
            for (long j = 0; j < i; ++j)
                KY_Free(t->slots[j].data);
            KY_Free(t->slots);
            KY_Free(t);
            return kCacheErrMemory;
        }
    }
    *handle = t;
    return 0;
}

// Every dirty block is written back even when an earlier one fails, so that
// one refused write loses no other block; the first failure is answered.
int KY_CacheTableFlush(KY_CacheTable* t) {
    if (!t)
        return kCacheErrNoTable;
    if (!t->slots)
        return kCacheErrNoSlots;
    int result = 0;
    if ((t->flags & kCacheAccessMask) != 1) {
        for (long i = 0; i < t->used; ++i) {
            if (!(t->slots[i].flags & 1))
                continue;
            int code = WriteBack(t, t->slots[i]);
            if (!result)
                result = code;
        }
    }
    return result;
}

int KY_CacheTableFree(KY_CacheTable** handle) {
    if (!handle || !*handle)
        return kCacheErrNoTable;
    KY_CacheTable* t = *handle;
    int result = KY_CacheTableFlush(t);
    if (result == kCacheErrNoSlots)
        return result;
    for (long i = 0; i < t->count; ++i)
        KY_Free(t->slots[i].data);
    KY_Free(t->slots);
    KY_Free(t);
    *handle = nullptr;
    return result;
}

long KY_CacheFindBlock(const KY_CacheTable* t, long number) {
    for (long i = 0; i < t->used; ++i) {
        if (t->slots[i].number == number)
            return i;
    }
    return -1;
}

int KY_CacheFlushRange(KY_CacheTable* t, long from, long to) {
    for (long number = from; number < to; ++number) {
        long i = KY_CacheFindBlock(t, number);
        if (i < 0)
            return kCacheErrMove;
        if ((t->slots[i].flags & 1) && WriteSlot(t, t->slots[i]))
            return kCacheErrMove;
    }
    return 0;
}

int KY_CacheLoadBlock(KY_CacheTable* t, long number, void* copyOut) {
    if (!t)
        return kCacheErrNoTable;
    long found = KY_CacheFindBlock(t, number);
    if (found > 0) {
        KY_CacheSlot hit = t->slots[found];
        std::memmove(t->slots + 1, t->slots, sizeof(KY_CacheSlot) * static_cast<size_t>(found));
        t->slots[0] = hit;
    } else if (found < 0) {
        if (t->used == t->count && (t->slots[t->count - 1].flags & 1) && Writes(t)) {
            int code = WriteBack(t, t->slots[t->count - 1]);
            if (code)
                return code;
        }
        if (t->used < t->count)
            ++t->used;
        KY_CacheSlot reused = t->slots[t->used - 1];
        std::memmove(t->slots + 1, t->slots, sizeof(KY_CacheSlot) * static_cast<size_t>(t->used - 1));
        KY_CacheSlot& slot = t->slots[0];
        slot.data = reused.data;
        slot.number = -1;
        slot.flags = 0;
        slot.valid = 0;
        long got = 0;
        if (BaseSeek(t, BlockOffset(t, number), 0) < 0) {
            long end = Writes(t) ? BaseSeek(t, 0, 2) : -1;
            if (end < 0 || KY_CacheFlushRange(t, (end - t->baseOffset) / t->blockSize, number))
                return kCacheErrMove;
        } else if ((t->flags & kCacheAccessMask) != 3 || BlockOffset(t, number) < t->file->size) {
            // A write cache reads only the blocks it has already written out.
            YieldToApplication();
            got = KY_FileReadRaw(t->file, slot.data, t->blockSize);
            if (got < 0)
                return kCacheErrRead;
        }
        slot.number = number;
        slot.valid = got;
        std::memset(slot.data + got, 0, static_cast<size_t>(t->blockSize - got));
    }
    if (copyOut)
        std::memcpy(copyOut, t->slots[0].data, static_cast<size_t>(t->blockSize));
    return 0;
}

unsigned char* KY_CacheWriteBlock(KY_CacheTable* t, long number, int* code) {
    int result = KY_CacheLoadBlock(t, number, nullptr);
    if (code)
        *code = result;
    if (result)
        return nullptr;
    t->slots[0].flags |= 1;
    return t->slots[0].data;
}

// --- Stream level

int KY_CacheOpen(KY_CacheStream** handle, KY_File* file, long blockSize, int count) {
    if (!handle)
        return kCacheErrNoTable;
    if (*handle)
        return kCacheErrAttached;
    KY_CacheStream* s = static_cast<KY_CacheStream*>(KY_Calloc(1, sizeof(KY_CacheStream)));
    if (!s)
        return kCacheErrMemory;
    int code = KY_CacheTableNew(&s->table, file, blockSize, count, 255, kCacheByNumber);
    if (code) {
        KY_Free(s);
        return code;
    }
    *handle = s;
    return 0;
}

int KY_CacheClose(KY_CacheStream** handle) {
    if (!handle || !*handle)
        return kCacheErrNoTable;
    int code = KY_CacheTableFree(&(*handle)->table);
    KY_Free(*handle);
    *handle = nullptr;
    return code;
}

int KY_CacheFlush(KY_CacheStream* s) {
    return s ? KY_CacheTableFlush(s->table) : kCacheErrNoTable;
}

int KY_CacheSetMode(KY_CacheStream* s, int mode) {
    if (!s || !s->table)
        return kCacheErrNoTable;
    if (mode < 1 || mode > 3)
        return kCacheErrMode;
    s->table->flags = static_cast<uint8_t>(s->table->flags | mode);
    return 0;
}

long KY_CacheSeek(KY_CacheStream* s, long position) {
    long saved = s->position;
    s->position = position;
    long offset = LoadCurrent(s);
    if (offset < 0 || offset > Front(s).valid) {
        s->position = saved;
        s->current = nullptr;
        s->remaining = 0;
        return -1;
    }
    return position;
}

long KY_CacheRead(KY_CacheStream* s, void* buffer, long n) {
    unsigned char* out = static_cast<unsigned char*>(buffer);
    long copied = 0;
    while (copied < n) {
        long offset = LoadCurrent(s);
        if (offset < 0)
            return copied ? copied : -1;
        long take = n - copied < s->remaining ? n - copied : s->remaining;
        if (take <= 0)
            break;
        std::memcpy(out + copied, s->current, static_cast<size_t>(take));
        KY_FileTranslate(s->table->file, out + copied, take);
        copied += take;
        Advance(s, take);
        if (offset + take < s->table->blockSize && s->remaining == 0)
            break;
    }
    return copied;
}

long KY_CacheWrite(KY_CacheStream* s, const void* buffer, long n) {
    const unsigned char* in = static_cast<const unsigned char*>(buffer);
    KY_CacheTable* t = s->table;
    long done = 0;
    while (done < n) {
        long number = s->position / t->blockSize;
        long offset = s->position % t->blockSize;
        unsigned char* data = KY_CacheWriteBlock(t, number, nullptr);
        if (!data) {
            s->current = nullptr;
            s->remaining = 0;
            return -1;
        }
        long take = t->blockSize - offset < n - done ? t->blockSize - offset : n - done;
        std::memcpy(data + offset, in + done, static_cast<size_t>(take));
        if (WriteTable(t))
            KY_FileTranslate(t->file, data + offset, take);
        KY_CacheSlot& slot = t->slots[0];
        if (offset + take > slot.valid)
            slot.valid = offset + take;
        done += take;
        s->position += take;
        s->current = data + offset + take;
        s->remaining = slot.valid - offset - take;
    }
    return n;
}

int KY_CacheGetc(KY_CacheStream* s) {
    if (s->remaining <= 0) {
        if (LoadCurrent(s) < 0 || s->remaining <= 0)
            return -1;
    }
    const unsigned char* table = s->table->file->table;
    int c = table ? table[*s->current] : *s->current;
    Advance(s, 1);
    return c;
}

int KY_CacheUngetc(int byte, KY_CacheStream* s) {
    int mode = s->table->flags & kCacheAccessMask;
    if (mode == 2 || mode == 3 || s->position <= 0)
        return -1;
    --s->position;
    if (LoadCurrent(s) < 0) {
        ++s->position;
        return -1;
    }
    *s->current = static_cast<unsigned char>(byte);
    return byte & 0xFF;
}

int KY_CachePutc(int byte, KY_CacheStream* s) {
    KY_CacheTable* t = s->table;
    unsigned char c = static_cast<unsigned char>(byte);
    if (const unsigned char* table = WriteTable(t))
        c = table[c];
    if (s->remaining > 0 && s->current) {
        *s->current = c;
        t->slots[0].flags |= 1;
        Advance(s, 1);
        return byte & 0xFF;
    }
    long offset = s->position % t->blockSize;
    unsigned char* data = KY_CacheWriteBlock(t, s->position / t->blockSize, nullptr);
    if (!data)
        return -1;
    data[offset] = c;
    KY_CacheSlot& slot = t->slots[0];
    if (offset + 1 > slot.valid)
        slot.valid = offset + 1;
    ++s->position;
    s->current = data + offset + 1;
    s->remaining = slot.valid - offset - 1;
    return byte & 0xFF;
}

// Decided over the same bytes as a direct line read, whatever the blocks:
// a line end in a later block outranks a CR in this one.
char* KY_CacheGets(KY_CacheStream* s, char* buffer, int n) {
    if (!buffer || n < 2)
        return nullptr;
    long got = KY_CacheRead(s, buffer, n - 1);
    if (got <= 0)
        return nullptr;
    long keep = KY_LineLength(s->table->file, buffer, got, n);
    buffer[keep] = 0;
    if (keep < got && KY_CacheSeek(s, s->position - (got - keep)) < 0)
        return nullptr;
    return buffer;
}
