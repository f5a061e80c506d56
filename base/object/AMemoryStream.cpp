// Memory streams over resource blocks.
#include "base/object/AMemoryStream.h"

#include <cstring>

AMemoryStream::AMemoryStream(void* block, long size)
    : size_(block ? size : 0), base_(static_cast<uint8_t*>(block)), current_(base_), swap_(false) {}

void AMemoryStream::setBlock(void* block, long size) {
    long offset = this->offset();
    base_ = static_cast<uint8_t*>(block);
    size_ = block && size > 0 ? size : 0;
    current_ = base_ + (offset < size_ ? offset : size_);
}

void AMemoryStream::setBlockKeepingOffset(void* block, long size) {
    long offset = this->offset();
    base_ = static_cast<uint8_t*>(block);
    size_ = size;
    current_ = base_ + offset;
}

void AMemoryStream::seek(long offset) {
    if (offset < 0 || offset > size_)
        ThrowAssert("bstream", 1595);
    current_ = base_ + offset;
}

void AMemoryStream::need(long count) const {
    if (count < 0 || count > size_ - offset()) {
        FormatErrorMessage("Read of %ld bytes at offset %ld passes the end of a %ld-byte block", count, offset(),
                           size_);
        ThrowTyped(AMemoryStreamError("bstream", 1610));
    }
}

int16_t AMemoryStream::readShort() {
    need(2);
    uint16_t v = static_cast<uint16_t>(current_[0] | current_[1] << 8);
    if (swap_)
        v = static_cast<uint16_t>(v >> 8 | v << 8);
    current_ += 2;
    return static_cast<int16_t>(v);
}

int32_t AMemoryStream::readLong() {
    need(4);
    uint32_t v = static_cast<uint32_t>(current_[0]) | static_cast<uint32_t>(current_[1]) << 8 |
                 static_cast<uint32_t>(current_[2]) << 16 | static_cast<uint32_t>(current_[3]) << 24;
    if (swap_)
        v = v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
    current_ += 4;
    return static_cast<int32_t>(v);
}

AString AMemoryStream::readString(long length) {
    if (length == -1) {
        long left = size_ - offset();
        const void* nul = left > 0 ? std::memchr(current_, 0, left) : nullptr;
        if (!nul)
            need(left + 1);
        long n = static_cast<long>(static_cast<const uint8_t*>(nul) - current_);
        AString s(reinterpret_cast<const char*>(current_), n);
        current_ += n + 1;
        return s;
    }
    need(length);
    AString s(reinterpret_cast<const char*>(current_), length);
    current_ += length;
    return s;
}

void AMemoryStream::readBytes(void* destination, long count) {
    need(count);
    if (count > 0)
        std::memcpy(destination, current_, count);
    current_ += count;
}

void AMemoryStream::writeByte(uint8_t b) {
    writeBlock(&b, 1);
}

long AMemoryStream::writeBlock(const void* bytes, long count) {
    if (count <= 0)
        return 0;
    long at = offset();
    if (count > size_ - at) {
        if (count > 0x7FFFFFFF - at)
            ThrowAssert("bstream", 1652);
        grow(at + count);
        if (count > size_ - offset())
            ThrowAssert("bstream", 1652);
    }
    std::memcpy(current_, bytes, count);
    current_ += count;
    return count;
}

void AMemoryStream::grow(long) {
    ThrowAssert("bstream", 1652);
}
