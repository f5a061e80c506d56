// Fixed-size pools for small objects created by the thousand (string bodies,
// map nodes, list links). Slots are carved from heap chunks; a chunk goes
// back to the heap as soon as its last slot is freed.
#pragma once

#include <cstddef>
#include <cstdint>

class AFixedPool {
public:
    // owner: the static pointer that holds this pool; cleared when the pool is deleted.
    AFixedPool(uint16_t elementSize, long perChunk, AFixedPool** owner);
    ~AFixedPool();
    AFixedPool(const AFixedPool&) = delete;
    AFixedPool& operator=(const AFixedPool&) = delete;

    // A zero-filled element aligned as any type of the element size needs (up
    // to 8 bytes); asserts ("bfixed") when size exceeds the element size.
    void* alloc(size_t size);
    void free(void* p);
    long live() const { return live_; }
    long perChunk() const { return perChunk_; }
    long chunkCount() const;

    // Deletes every pool whose live count is 0 (exit path).
    static void releaseUnused();
    static AFixedPool* listHead() { return poolList_; }

    // The allocation and release operations of a pooled class: builds the
    // pool on first use, deletes it when its live count drops to 0.
    static void* allocIn(AFixedPool** owner, size_t size, long perChunk, const char* file, long line);
    static void freeIn(AFixedPool** owner, void* p);

private:
    friend void DeleteFixedPool(AFixedPool** owner);
    struct Chunk;
    Chunk* newChunk();
    size_t chunkBytes() const;

    Chunk* head_;       // owned chunks with a free slot; full chunks are off the list
    size_t elementSize_;
    size_t align_;  // of every element: 2, 4 or 8 bytes
    long slotWords_;
    long perChunk_;
    AFixedPool* nextPool_;
    AFixedPool** owner_;
    long live_;
    long chunks_;

    static AFixedPool* poolList_;
};

// Checks and unlinks the pool held by *owner, then frees it.
void DeleteFixedPool(AFixedPool** owner);
