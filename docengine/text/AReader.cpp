// The reader base, its lock guard and the row-producer base.
#include "docengine/text/AReader.h"

#include "base/object/AError.h"

void AReader::checkRange(long start, long count, long line) const {
    if (count < 0 || start < 0 || start > length_ - count)
        ThrowAssert("greader", line);
}

AReaderLock::AReaderLock(AReader* reader) : reader_(reader) {
    if (!reader_)
        ThrowAssert("greader", 114);
    reader_->lock();
}

AReaderLock::~AReaderLock() {
    reader_->unlock();
}

ALineGetter::~ALineGetter() = default;
