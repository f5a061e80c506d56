// Fixed-size pools.
#include "base/object/AFixedPool.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

#include <cstring>
#include <new>

// Chunk layout (offsets in 16-bit words from the chunk start):
//
//   [Chunk header: used u16, firstFree u16, next, prev][padding]
//   slot: [padding][own word index u16][element], slotWords words a slot
//
// Every element starts on a multiple of the pool's alignment: the largest
// power of two up to 8 that divides the element size, which is the most any
// type of that size needs. A free slot's first data word holds the word index
// of the next free slot (0 ends the chain). From an element p, its chunk is
// p - 2 * (u16 stored just before p).
struct AFixedPool::Chunk {
    uint16_t used;
    uint16_t firstFree;
    Chunk* next;
    Chunk* prev;
};

AFixedPool* AFixedPool::poolList_ = nullptr;

namespace {

inline uint16_t* Words(void* chunk) {
    return static_cast<uint16_t*>(chunk);
}

size_t AlignmentFor(size_t elementSize) {
    size_t align = 8;
    while (align > 2 && elementSize % align != 0)
        align /= 2;
    return align;
}

size_t RoundUp(size_t n, size_t to) {
    return (n + to - 1) / to * to;
}

}  // namespace

AFixedPool::AFixedPool(uint16_t elementSize, long perChunk, AFixedPool** owner)
    : head_(nullptr), elementSize_(elementSize), align_(AlignmentFor(elementSize)),
      slotWords_(static_cast<long>(RoundUp(elementSize + 2, align_) / 2)), perChunk_(perChunk),
      nextPool_(poolList_), owner_(owner), live_(0), chunks_(0) {
    // Word indexes are 16-bit: a chunk must stay below 65536 words.
    if (perChunk_ < 1 || chunkBytes() / 2 >= 65536)
        ThrowAssert("bfixed", 30);
    poolList_ = this;
}

size_t AFixedPool::chunkBytes() const {
    // The header, the first slot's index word, room to align the first
    // element whatever the heap block's alignment, then the slots.
    return sizeof(Chunk) + 2 + (align_ - 2) + static_cast<size_t>(slotWords_) * 2 * static_cast<size_t>(perChunk_);
}

AFixedPool::~AFixedPool() = default;

AFixedPool::Chunk* AFixedPool::newChunk() {
    Chunk* c = static_cast<Chunk*>(CheckAlloc(NewBlock(chunkBytes(), "bfixed", 57), "bfixed", 57));
    uintptr_t at = reinterpret_cast<uintptr_t>(c);
    uint16_t first = static_cast<uint16_t>((RoundUp(at + sizeof(Chunk) + 2, align_) - at) / 2);
    c->used = 0;
    c->firstFree = first;
    c->next = c->prev = nullptr;
    uint16_t* w = Words(c);
    for (long i = 0; i < perChunk_; ++i) {
        uint16_t data = static_cast<uint16_t>(first + i * slotWords_);
        w[data - 1] = data;
        w[data] = i + 1 < perChunk_ ? static_cast<uint16_t>(data + slotWords_) : 0;
    }
    ++chunks_;
    return c;
}

void* AFixedPool::alloc(size_t size) {
    if (size > elementSize_)
        ThrowAssert("bfixed", 48);
    if (!head_)
        head_ = newChunk();
    Chunk* c = head_;
    uint16_t* w = Words(c);
    uint16_t index = c->firstFree;
    c->firstFree = w[index];
    ++c->used;
    if (c->used == perChunk_) {
        head_ = c->next;
        if (head_)
            head_->prev = nullptr;
        c->next = c->prev = nullptr;
    }
    ++live_;
    void* p = w + index;
    // Rounded up, not down: the slot holds whole words, and an odd element's
    // last byte (or a 1-byte element's only one) would keep old data.
    std::memset(p, 0, (size + 1) & ~size_t(1));
    return p;
}

void AFixedPool::free(void* p) {
    if (!p)
        return;
    uint16_t* data = static_cast<uint16_t*>(p);
    uint16_t index = data[-1];
    Chunk* c = reinterpret_cast<Chunk*>(data - index);
    data[0] = c->firstFree;
    c->firstFree = index;
    if (c->used == perChunk_) {
        c->prev = nullptr;
        c->next = head_;
        if (head_)
            head_->prev = c;
        head_ = c;
    }
    --live_;
    if (--c->used == 0) {
        if (c->prev)
            c->prev->next = c->next;
        else
            head_ = c->next;
        if (c->next)
            c->next->prev = c->prev;
        --chunks_;
        BAlloc::free(c);
    }
}

long AFixedPool::chunkCount() const {
    return chunks_;
}

void DeleteFixedPool(AFixedPool** owner) {
    AFixedPool* pool = *owner;
    if (!pool)
        return;
    *owner = nullptr;
    if (pool->live_ != 0)
        ThrowAssert("bfixed", 174);
    if (pool->owner_ && pool->owner_ != owner)
        ThrowAssert("bfixed", 176);
    if (!AFixedPool::poolList_)
        ThrowAssert("bfixed", 184);
    AFixedPool** link = &AFixedPool::poolList_;
    while (*link && *link != pool)
        link = &(*link)->nextPool_;
    if (!*link)
        ThrowAssert("bfixed", 189);
    *link = pool->nextPool_;
    delete pool;
}

void AFixedPool::releaseUnused() {
    AFixedPool** link = &poolList_;
    while (*link) {
        AFixedPool* pool = *link;
        if (pool->live_ == 0) {
            *link = pool->nextPool_;
            if (pool->owner_ && *pool->owner_ == pool)
                *pool->owner_ = nullptr;
            delete pool;
        } else {
            link = &pool->nextPool_;
        }
    }
}

void* AFixedPool::allocIn(AFixedPool** owner, size_t size, long perChunk, const char* file, long line) {
    if (!*owner)
        *owner = CheckAlloc(new (std::nothrow) AFixedPool(static_cast<uint16_t>(size), perChunk, owner), file, line);
    return (*owner)->alloc(size);
}

void AFixedPool::freeIn(AFixedPool** owner, void* p) {
    AFixedPool* pool = *owner;
    if (!pool || !p)
        return;
    pool->free(p);
    if (pool->live_ == 0)
        DeleteFixedPool(owner);
}
