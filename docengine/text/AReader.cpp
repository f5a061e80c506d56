// The reader base, its lock guard and the row-producer base.
#include "docengine/text/AReader.h"

#include "base/procedural/AError.h"

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

AString ALineGetter::getRawLine(long record, long line) {
    (void)record;
    (void)line;
    return AString();
}

int16_t ALineGetter::getLineLocation(long record) {
    (void)record;
    return 0;
}

AString ALineGetter::getColumnSortText(int16_t column) {
    (void)column;
    return AString();
}

uint32_t ALineGetter::getSortKey(int16_t field) {
    (void)field;
    return 0;
}

void ALineGetter::prepareLine(long record, int16_t sortMode) {
    (void)record;
    (void)sortMode;
}
