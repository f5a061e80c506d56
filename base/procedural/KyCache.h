// The write-back block cache of a file: a table of resident blocks in
// most-recently-used order and a buffered stream over it that implements the
// file layer's cached operation set.
//
// All disk transfers go through the file's base operations without its byte
// translation: blocks hold file bytes, and the stream operations translate
// between them and the caller (writes only with KY_TranslateOnWrite).
//
// Codes: 106 a move to a block failed or a block needed to extend the file is
// not resident, 107 a short write-back, 110 memory, 111 a cache already
// attached, 2101 no file or table, 2104 access mode outside 1..3, 2106 a block
// read failed, 2110 a table without slots. The stream operations turn them
// into -1 (null for gets).
#pragma once

#include "base/procedural/KyFile.h"

enum : int {
    kCacheErrMove = 106,
    kCacheErrShortWrite = 107,
    kCacheErrMemory = 110,
    kCacheErrAttached = 111,
    kCacheErrNoTable = 2101,
    kCacheErrMode = 2104,
    kCacheErrRead = 2106,
    kCacheErrNoSlots = 2110,
};

enum : uint8_t {
    kCacheAccessMask = 3,  // 1 read, 2 update, 3 write
    kCacheByOffset = 4,
    kCacheByNumber = 8,
};

struct KY_CacheSlot {
    long number;          // block number
    uint8_t flags;        // bit 0 dirty
    unsigned char* data;  // owned, block-size bytes, zero past the valid length
    long valid;           // bytes of the block that hold file data
};

struct KY_CacheTable {
    KY_File* file;  // not owned
    long baseOffset;
    long blockSize;
    long used;
    long count;
    uint8_t flags;
    KY_CacheSlot* slots;  // owned; slot 0 is the most recently used
};

// The stream over a cache; current and remaining describe slot 0's block or are cleared.
struct KY_CacheStream {
    unsigned char* current;  // next byte in the current block, or null
    long remaining;          // bytes getc/putc may take from it without a reload
    long position;
    KY_CacheTable* table;  // owned
};

// Stream level. KY_CacheOpen stores a new stream in *handle; KY_CacheClose
// writes dirty blocks back, frees everything and clears *handle, and answers
// the first failure (the other blocks are still written). KY_CacheFlush writes
// them back the same way and keeps them resident; a failed one stays dirty.
int KY_CacheOpen(KY_CacheStream** handle, KY_File* file, long blockSize, int count);
int KY_CacheClose(KY_CacheStream** handle);
int KY_CacheFlush(KY_CacheStream* stream);
int KY_CacheSetMode(KY_CacheStream* stream, int mode);
long KY_CacheSeek(KY_CacheStream* stream, long position);
long KY_CacheRead(KY_CacheStream* stream, void* buffer, long n);
long KY_CacheWrite(KY_CacheStream* stream, const void* buffer, long n);
int KY_CacheGetc(KY_CacheStream* stream);
int KY_CacheUngetc(int byte, KY_CacheStream* stream);
int KY_CachePutc(int byte, KY_CacheStream* stream);
char* KY_CacheGets(KY_CacheStream* stream, char* buffer, int n);

// Table level.
int KY_CacheTableNew(KY_CacheTable** handle, KY_File* file, long blockSize, int count, int limit, int addressing);
int KY_CacheTableFree(KY_CacheTable** handle);
int KY_CacheTableFlush(KY_CacheTable* table);
int KY_CacheLoadBlock(KY_CacheTable* table, long number, void* copyOut);
// Loads the block, marks it dirty and answers its data (null on failure).
unsigned char* KY_CacheWriteBlock(KY_CacheTable* table, long number, int* code);
long KY_CacheFindBlock(const KY_CacheTable* table, long number);
int KY_CacheFlushRange(KY_CacheTable* table, long from, long to);

// The file layer's cached operation set.
KY_FileOps KY_CachedFileOps();
