// The program's one heap: boundary-tagged blocks carved from 32 KB system segments.
//
// Every block it hands out is zero-filled. Failures (oversized requests, an
// overflowing count x size, the system out of memory) answer null; callers pass
// results through CheckAlloc. Not thread-safe: the program has one thread.
// The C runtime's malloc is deliberately not routed here.
#pragma once

#include <cstddef>
#include <cstdint>

class BAlloc {
public:
    // count x size bytes, zero-filled; null on overflow, on 0 bytes, or when the system refuses.
    static void* alloc(size_t count, size_t size);
    // Null p allocates; size 0 frees and answers null; growth is zero-filled;
    // a refused growth answers null and leaves the old block untouched.
    static void* realloc(void* p, size_t size);
    static void free(void* p);

    // Usable bytes of a block handed out by alloc/realloc.
    static size_t usableSize(const void* p);

    // Block size (header included) that a request of n bytes takes; 0 when it cannot be served.
    static uint32_t blockSizeFor(size_t n);

    // Test seam: the system page source (defaults: GlobalAlloc/GlobalFree with fixed memory).
    using SystemAlloc = void* (*)(uint32_t bytes);
    using SystemFree = void (*)(void* memory);
    static void setSystemFunctions(SystemAlloc a, SystemFree f);
    static uint32_t segmentCount();  // segments currently held from the system
    // Bytes of the blocks handed out and not freed, headers included: flat
    // over repeated actions unless something is kept.
    static size_t bytesInUse();

    static const uint32_t kSegmentSize = 32768;
};

// Allocation entry points of the object layer; file and line are accepted for
// a tracking allocator and not used.
void* NewBlock(size_t size, const char* file, long line);
void* NewBlockAt(size_t size, const char* file, long line);

// The procedural modules' allocator: the same heap.
extern "C" {
void* KY_Malloc(size_t size);
void* KY_Calloc(size_t count, size_t size);
void* KY_Realloc(void* p, size_t size);
void KY_Free(void* p);
}
