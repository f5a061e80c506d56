// The program's heap: first fit from a roving position over one circular free list.
#include "base/procedural/BAlloc.h"

#include "base/procedural/AError.h"
#include "base/procedural/AddressWord.h"

#include <windows.h>

#include <cstring>
#include <new>

// Segment layout (little-endian 32-bit words):
//
//   [-4 start marker] [block] [block] ... [-4 end marker]
//
// Block: [header: size | inUse(bit 0) | prevInUse(bit 1)] [user bytes ...]
//   size counts the header, is a multiple of 8 and at least 16.
// A free block also holds: [next link] [prev link] ... [footer: size].
// The user pointer is block + 4. A negative word where a header or footer is
// expected marks a segment boundary.
namespace {

const uint32_t kInUse = 1;
const uint32_t kPrevInUse = 2;
const uint32_t kFlags = 3;
const uint32_t kMarker = 0xFFFFFFFCu;
const uint32_t kMaxRequest = 0xFFFFFFF4u;

struct FreeBlock;

// A free list's link, kept in a 32-bit word as the block layout has room
// for (a free block of 16 bytes holds its header, two links and its footer).
class Link {
public:
    Link& operator=(FreeBlock* b) {
        word_ = static_cast<int32_t>(AddressWord(b));
        return *this;
    }
    operator FreeBlock*() const { return reinterpret_cast<FreeBlock*>(static_cast<intptr_t>(word_)); }
    FreeBlock* operator->() const { return *this; }

private:
    int32_t word_;
};

struct FreeBlock {
    uint32_t header;
    Link next;
    Link prev;
};

struct Heap {
    bool ready;
    FreeBlock* rover;
    FreeBlock sentinel;
    BAlloc::SystemAlloc systemAlloc;
    BAlloc::SystemFree systemFree;
    uint32_t segments;
    size_t inUse;  // bytes of the blocks handed out, headers included
    uint32_t largestFree;  // no free block is larger: exact after a search that found none
    uint32_t lastExact;    // largestFree after the last search that found none
    uint32_t aboveExact;   // free blocks larger than lastExact
};

// Zero-initialised before any static constructor runs, so allocations made
// during static initialisation find a consistent (not yet ready) heap.
Heap g_heap;

void* DefaultSystemAlloc(uint32_t bytes) {
    return GlobalAlloc(GMEM_FIXED, bytes);
}

void DefaultSystemFree(void* memory) {
    GlobalFree(static_cast<HGLOBAL>(memory));
}

inline uint32_t& Word(void* p) {
    return *static_cast<uint32_t*>(p);
}
inline uint32_t SizeOf(const FreeBlock* b) {
    return b->header & ~kFlags;
}
inline FreeBlock* At(void* p, int32_t offset) {
    return reinterpret_cast<FreeBlock*>(static_cast<char*>(p) + offset);
}
inline FreeBlock* After(FreeBlock* b) {
    return At(b, SizeOf(b));
}
inline bool IsMarker(const FreeBlock* b) {
    return b->header == kMarker;
}
inline void WriteFooter(FreeBlock* b) {
    Word(static_cast<char*>(static_cast<void*>(b)) + SizeOf(b) - 4) = SizeOf(b);
}

void Init() {
    if (g_heap.ready)
        return;
    g_heap.sentinel.header = 0;
    g_heap.sentinel.next = &g_heap.sentinel;
    g_heap.sentinel.prev = &g_heap.sentinel;
    g_heap.rover = &g_heap.sentinel;
    if (!g_heap.systemAlloc) {
        g_heap.systemAlloc = DefaultSystemAlloc;
        g_heap.systemFree = DefaultSystemFree;
    }
    g_heap.ready = true;
}

void Unlink(FreeBlock* b) {
    // Once the blocks above the last exact bound are gone, that bound holds
    // again: a released segment left it stale and every article's first large
    // request walked ~20000 small free blocks for nothing.
    if (SizeOf(b) > g_heap.lastExact && --g_heap.aboveExact == 0)
        g_heap.largestFree = g_heap.lastExact;
    if (g_heap.rover == b)
        g_heap.rover = b->prev;
    b->prev->next = b->next;
    b->next->prev = b->prev;
}

// Appends just before the sentinel: the next links from the sentinel lead
// through the blocks in the order they were freed.
void Append(FreeBlock* b) {
    FreeBlock* s = &g_heap.sentinel;
    b->next = s;
    b->prev = s->prev;
    s->prev->next = b;
    s->prev = b;
    if (SizeOf(b) > g_heap.lastExact)
        ++g_heap.aboveExact;
    if (SizeOf(b) > g_heap.largestFree)
        g_heap.largestFree = SizeOf(b);
}

// Rounded request -> block size; 0 when the request cannot be served.
uint32_t BlockSize(size_t n) {
    if (n == 0 || n > kMaxRequest)
        return 0;
#if INTPTR_MAX > INT32_MAX
    // The 64-bit build's blocks are 16-byte aligned, as its ABI wants of new
    // (setjmp's buffer, SSE data): sizes go by 16 from an aligned start.
    uint32_t s = (static_cast<uint32_t>(n) + 4u + 15u) & ~15u;
    if (s == 0 || s > kMaxRequest)
        return 0;
    return s;
#else
    uint32_t rounded = (static_cast<uint32_t>(n) + 7u) & ~7u;
    if (rounded > kMaxRequest)
        return 0;
    uint32_t s = rounded + 8;
    return s < 16 ? 16 : s;
#endif
}

// The system's pages are 16-byte aligned; a 64-bit segment starts 8 bytes in,
// so that each block's user bytes (4 past its start) are aligned too.
#if INTPTR_MAX > INT32_MAX
const uint32_t kSegmentLead = 8;
#else
const uint32_t kSegmentLead = 0;
#endif

// A new segment holding one free block of `blockSize` bytes (not on the list).
FreeBlock* NewSegment(uint32_t blockSize) {
    // Near 4 GB the two markers would wrap the size asked of the system.
    if (blockSize > UINT32_MAX - 8)
        return nullptr;
    if (blockSize > UINT32_MAX - 8 - kSegmentLead)
        return nullptr;
    void* pages = g_heap.systemAlloc(blockSize + 8 + kSegmentLead);
    if (!pages)
        return nullptr;
    void* seg = static_cast<char*>(pages) + kSegmentLead;
    ++g_heap.segments;
    Word(seg) = kMarker;
    FreeBlock* b = At(seg, 4);
    b->header = blockSize;
    WriteFooter(b);
    Word(After(b)) = kMarker;
    return b;
}

// Splits B to size s; a free neighbour is absorbed into the remainder.
void Split(FreeBlock* b, uint32_t s) {
    uint32_t r = SizeOf(b) - s;
    FreeBlock* f = After(b);
    if (!IsMarker(f) && !(f->header & kInUse)) {
        Unlink(f);
        r += SizeOf(f);
    } else if (r < 16) {
        return;
    }
    if (r == 0)
        return;
    bool inUse = (b->header & kInUse) != 0;
    b->header = s | (b->header & kFlags);
    if (!inUse)
        WriteFooter(b);
    FreeBlock* rem = At(b, s);
    rem->header = r | (inUse ? kPrevInUse : 0);
    WriteFooter(rem);
    FreeBlock* next = After(rem);
    if (!IsMarker(next))
        next->header &= ~kPrevInUse;
    Append(rem);
}

// Finds (and unlinks) a block of at least s bytes, or takes a new segment.
FreeBlock* Take(uint32_t s) {
    if (s >= BAlloc::kSegmentSize)
        return NewSegment(s);
    // A request that no block can fit skips the walk: in a heap of a million
    // small free blocks each such walk took 20 ms.
    if (s <= g_heap.largestFree) {
        uint32_t largest = 0;
        FreeBlock* b = g_heap.rover;
        do {
            if (SizeOf(b) >= s && b != &g_heap.sentinel) {
                g_heap.rover = b;
                Unlink(b);
                return b;
            }
            if (SizeOf(b) > largest)
                largest = SizeOf(b);
            b = b->prev;
        } while (b != g_heap.rover);
        g_heap.largestFree = largest;
        g_heap.lastExact = largest;
        g_heap.aboveExact = 0;
    }
    return NewSegment(BAlloc::kSegmentSize);
}

void* AllocBlock(uint32_t s) {
    FreeBlock* b = Take(s);
    if (!b)
        return nullptr;
    Split(b, s);
    b->header |= kInUse;
    g_heap.inUse += SizeOf(b);
    FreeBlock* next = After(b);
    // The search goes on from what is left of the found block: restarting
    // behind it rescanned every older free block that was too small, on each
    // request (a fragmented heap made each small allocation walk ~1e5 blocks).
    if (!IsMarker(next) && !(next->header & kInUse))
        g_heap.rover = next;
    if (!IsMarker(next))
        next->header |= kPrevInUse;
    return At(b, 4);
}

inline FreeBlock* BlockOf(const void* p) {
    return At(const_cast<void*>(p), -4);
}

}  // namespace

uint32_t BAlloc::blockSizeFor(size_t n) {
    return BlockSize(n);
}

void* BAlloc::alloc(size_t count, size_t size) {
    Init();
    if (count != 0 && size > SIZE_MAX / count)
        return nullptr;
    size_t n = count * size;
    uint32_t s = BlockSize(n);
    if (s == 0)
        return nullptr;
    void* p = AllocBlock(s);
    // The whole block, not just the request: a later resize within the
    // block hands out its spare bytes without zeroing them.
    if (p)
        std::memset(p, 0, SizeOf(BlockOf(p)) - 4);
    return p;
}

void BAlloc::free(void* p) {
    if (!p || !g_heap.ready)
        return;
    FreeBlock* b = BlockOf(p);
    b->header &= ~kInUse;
    g_heap.inUse -= SizeOf(b);
    FreeBlock* next = After(b);
    if (!IsMarker(next)) {
        next->header &= ~kPrevInUse;
        if (!(next->header & kInUse)) {
            Unlink(next);
            b->header += SizeOf(next);
        }
    }
    uint32_t before = *reinterpret_cast<uint32_t*>(At(b, -4));
    if (!(b->header & kPrevInUse) && before != kMarker) {
        FreeBlock* prev = At(b, -static_cast<int32_t>(before));
        Unlink(prev);
        prev->header += SizeOf(b);
        b = prev;
    }
    WriteFooter(b);
    bool segmentStart = *reinterpret_cast<uint32_t*>(At(b, -4)) == kMarker;
    if (!(b->header & kPrevInUse) && segmentStart && IsMarker(After(b))) {
        --g_heap.segments;
        g_heap.systemFree(static_cast<char*>(static_cast<void*>(At(b, -4))) - kSegmentLead);
        return;
    }
    Append(b);
}

size_t BAlloc::usableSize(const void* p) {
    return p ? SizeOf(BlockOf(p)) - 4 : 0;
}

void* BAlloc::realloc(void* p, size_t n) {
    if (!p)
        return alloc(1, n);
    if (n == 0) {
        free(p);
        return nullptr;
    }
    uint32_t s = BlockSize(n);
    if (s == 0)
        return nullptr;
    FreeBlock* b = BlockOf(p);
    uint32_t old = SizeOf(b);
    size_t oldUsable = old - 4;
    if (s <= old) {
        if (s < old)
            Split(b, s);
        g_heap.inUse -= old - SizeOf(b);
        // Bytes past the new size are zeroed, so that a later growth in
        // place shows no stale data.
        size_t usable = SizeOf(b) - 4;
        if (usable > n)
            std::memset(static_cast<char*>(p) + n, 0, usable - n);
        return p;
    }
    FreeBlock* next = After(b);
    if (!IsMarker(next) && !(next->header & kInUse) && old + SizeOf(next) >= s) {
        Unlink(next);
        b->header += SizeOf(next);
        FreeBlock* after = After(b);
        if (!IsMarker(after))
            after->header |= kPrevInUse;
        Split(b, s);
        g_heap.inUse += SizeOf(b) - old;
    } else {
        void* q = AllocBlock(s);
        if (!q)
            return nullptr;
        std::memcpy(q, p, oldUsable);
        free(p);
        p = q;
    }
    std::memset(static_cast<char*>(p) + oldUsable, 0, SizeOf(BlockOf(p)) - 4 - oldUsable);
    return p;
}

void BAlloc::setSystemFunctions(SystemAlloc a, SystemFree f) {
    Init();
    g_heap.systemAlloc = a ? a : DefaultSystemAlloc;
    g_heap.systemFree = f ? f : DefaultSystemFree;
}

uint32_t BAlloc::segmentCount() {
    return g_heap.segments;
}

size_t BAlloc::bytesInUse() {
    return g_heap.inUse;
}

void* NewBlock(size_t size, const char*, long) {
    return BAlloc::alloc(1, size);
}

void* NewBlockAt(size_t size, const char* file, long line) {
    return NewBlock(size, file, line);
}

extern "C" {
void* KY_Malloc(size_t size) {
    return BAlloc::alloc(1, size);
}
void* KY_Calloc(size_t count, size_t size) {
    return BAlloc::alloc(count, size);
}
void* KY_Realloc(void* p, size_t size) {
    return BAlloc::realloc(p, size);
}
void KY_Free(void* p) {
    BAlloc::free(p);
}
}

// operator new never hands null to a constructor: exhaustion raises AMemError.
// operator new(0) is legal C++ and must give a unique pointer: one byte is asked.
void* operator new(size_t size) {
    return CheckAlloc(NewBlockAt(size ? size : 1, nullptr, 0), "balloc", __LINE__);
}
void* operator new[](size_t size) {
    return CheckAlloc(NewBlockAt(size ? size : 1, nullptr, 0), "balloc", __LINE__);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return NewBlockAt(size ? size : 1, nullptr, 0);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return NewBlockAt(size ? size : 1, nullptr, 0);
}
void operator delete(void* p) noexcept {
    BAlloc::free(p);
}
void operator delete[](void* p) noexcept {
    BAlloc::free(p);
}
void operator delete(void* p, size_t) noexcept {
    BAlloc::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    BAlloc::free(p);
}
