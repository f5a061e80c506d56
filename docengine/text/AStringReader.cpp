// Readers over text in memory.
#include "docengine/text/AStringReader.h"

#include <cstring>

#include "base/procedural/AError.h"

char ASharedStringReader::charAt(long index) {
    if (index < 0 || index >= length_)
        return 0;
    return text_.c_str()[index];
}

AString ASharedStringReader::getText(long start, long count) {
    checkRange(start, count, 262);
    return AString(text_.c_str() + start, count);
}

AMemoryBlockReader::AMemoryBlockReader(void* block, long length) : AReader(length), block_(block) {}

AMemoryBlockReader::~AMemoryBlockReader() {
    pin_.unlock();
}

char AMemoryBlockReader::charAt(long index) {
    if (!pin_.data())
        ThrowAssert("greader", 290);
    if (index < 0 || index >= length_)
        return 0;
    return static_cast<const char*>(pin_.data())[index];
}

AString AMemoryBlockReader::getText(long start, long count) {
    if (!pin_.data())
        ThrowAssert("greader", 299);
    checkRange(start, count, 299);
    return AString(static_cast<const char*>(pin_.data()) + start, count);
}

void AMemoryBlockReader::lock() {
    if (!block_.handle())
        ThrowAssert("greader", 307);
    if (!pin_.data())
        pin_.attach(block_.handle());
}

void AMemoryBlockReader::unlock() {
    pin_.unlock();
}

AStringReader::AStringReader(const char* text, long length) : inner_(nullptr) {
    if (length < 0)
        length = text ? static_cast<long>(strlen(text)) : 0;
    if (length < kBlockThreshold) {
        inner_ = CheckAlloc(new ASharedStringReader(AString(text, length)), "greader", 361);
    } else {
        void* block = GlobalMemoryFromBytes(text, static_cast<uint32_t>(length));
        inner_ = CheckAlloc(new AMemoryBlockReader(block, length), "greader", 364);
    }
    inner_->addRef();
    length_ = length;
}

AStringReader::~AStringReader() {
    ReleaseAndNull(inner_);
}

void AStringReader::lock() {
    if (!inner_)
        ThrowAssert("greader", 388);
    inner_->lock();
}

void AStringReader::unlock() {
    if (!inner_)
        ThrowAssert("greader", 393);
    inner_->unlock();
}
