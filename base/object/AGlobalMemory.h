// Windows global memory (the movable blocks of the clipboard, drag and drop
// and some system interfaces): an owning handle, a lock guard, and a memory
// stream that writes into a growing block.
//
// Handles are HGLOBAL values passed as void*. Refused allocations in the
// copying helpers are assertions ("bhandle"); a refused growth of the stream
// raises AMemError and keeps the old block and its bytes.
#pragma once

#include "base/object/AMemoryStream.h"

#include <cstdint>

// Owns one handle: the destructor frees it.
class AGlobalHandle {
public:
    explicit AGlobalHandle(void* handle = nullptr) : handle_(handle) {}
    virtual ~AGlobalHandle() { free(); }
    AGlobalHandle(const AGlobalHandle&) = delete;
    AGlobalHandle& operator=(const AGlobalHandle&) = delete;

    // Replaces the handle without freeing the old one.
    void set(void* handle) { handle_ = handle; }
    // Answers the handle and forgets it: the caller owns it.
    void* detach();
    void free();
    void* handle() const { return handle_; }

private:
    void* handle_;  // owned
};

// Keeps a block locked: the destructor unlocks, never frees.
class AGlobalMemory {
public:
    AGlobalMemory() : handle_(nullptr), data_(nullptr) {}
    explicit AGlobalMemory(void* handle);
    virtual ~AGlobalMemory() { unlock(); }
    AGlobalMemory(const AGlobalMemory&) = delete;
    AGlobalMemory& operator=(const AGlobalMemory&) = delete;

    void attach(void* handle);
    void lock();
    void unlock();
    // Unlocks and frees the block.
    void free();
    void* handle() const { return handle_; }
    void* data() const { return data_; }

protected:
    void* handle_;  // not owned
    void* data_;    // while locked
};

// A new movable block holding a copy of the bytes; the caller owns it.
void* GlobalMemoryFromBytes(const void* bytes, uint32_t size);
// A new movable block holding bytes [start, end) of an existing block.
void* GlobalMemoryFromRange(void* handle, uint32_t start, uint32_t end);
// Length of the NUL-terminated text at the start of a block (at most its size).
uint32_t GlobalMemoryTextLength(void* handle);

// The stream's size is the bytes in use; the block is allocated in steps of
// 1024 bytes, always strictly above the size needed.
class AGlobalMemoryStream : public AGlobalMemory, public AMemoryStream {
public:
    // With a handle, attaches to it (not owned); without, allocates on first write.
    explicit AGlobalMemoryStream(void* handle = nullptr);
    // Frees the block when the stream allocated it.
    ~AGlobalMemoryStream() override;

    void attach(void* handle);
    // Shrinks the block to the bytes in use, empties the stream and hands the
    // block over: the caller owns it.
    void* detach();
    using AMemoryStream::data;
    uint32_t allocatedSize() const { return allocated_; }
    bool ownsBlock() const { return owned_; }

    void grow(long newSize) override;

private:
    void release();

    uint32_t allocated_;
    bool owned_;
};
