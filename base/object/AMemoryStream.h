// Reads and writes binary data in a memory block that it does not own: how the
// program reads its own resources (layouts, text styles, string lists).
//
// 16- and 32-bit reads take little-endian data, or big-endian data after
// setByteOrder with any code but 2. A read past the end of the block raises
// AMemoryStreamError (recoverable) and leaves the position unchanged. A seek
// outside the block and growing a fixed block are assertions ("bstream").
#pragma once

#include "base/object/AString.h"
#include "base/procedural/AError.h"

#include <cstdint>

class AMemoryStreamError : public AThrowableError {
public:
    AMemoryStreamError(const char* file = nullptr, long line = 0) : AThrowableError(file, line) {}
    const char* className() const override { return "AMemoryStreamError"; }
};

class AMemoryStream {
public:
    AMemoryStream(void* block = nullptr, long size = 0);
    virtual ~AMemoryStream() = default;
    AMemoryStream(const AMemoryStream&) = delete;
    AMemoryStream& operator=(const AMemoryStream&) = delete;

    // Keeps the current offset, moved back to the new size when beyond it.
    void setBlock(void* block, long size);
    void seek(long offset);
    // 2: little-endian data; any other code: big-endian.
    void setByteOrder(int code) { swap_ = code != 2; }

    int16_t readShort();
    int32_t readLong();
    // length -1: a NUL-terminated text, the position moves past the NUL;
    // otherwise exactly length bytes.
    AString readString(long length);
    void readBytes(void* destination, long count);

    void writeByte(uint8_t b);
    long writeBlock(const void* bytes, long count);

    long size() const { return size_; }
    long offset() const { return static_cast<long>(current_ - base_); }
    const uint8_t* data() const { return base_; }

protected:
    // Called by a write that would pass the end, with the size it needs. This
    // class holds a fixed block: an assertion. Subclasses make room.
    virtual void grow(long newSize);
    // Points the stream at a block, keeping the current offset as it is.
    void setBlockKeepingOffset(void* block, long size);

private:
    // Raises AMemoryStreamError unless count bytes are left to read.
    void need(long count) const;

    long size_;
    uint8_t* base_;     // not owned
    uint8_t* current_;  // within [base_, base_ + size_]
    bool swap_;
};
