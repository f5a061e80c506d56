// Line access over a reader.
#include "docengine/parser/ALineAccessor.h"

#include "docengine/text/AReader.h"

ALineAccessor::ALineAccessor(AReader* reader) : reader_(reader), length_(reader ? reader->length() : 0) {
    if (!reader_)
        return;
    reader_->addRef();
    AReaderLock lock(reader_);
    if (length_ > 0)
        starts_.push_back(0);
    for (long i = 0; i < length_; ++i)
        if (reader_->charAt(i) == '\n' && i + 1 < length_)
            starts_.push_back(i + 1);
}

ALineAccessor::~ALineAccessor() {
    if (reader_)
        reader_->release();
}

AString ALineAccessor::lineAt(long index) {
    if (index < 0 || index >= lineCount())
        return AString();
    long start = starts_[static_cast<size_t>(index)];
    long end = index + 1 < lineCount() ? starts_[static_cast<size_t>(index + 1)] : length_;
    AReaderLock lock(reader_);
    while (end > start && (reader_->charAt(end - 1) == '\n' || reader_->charAt(end - 1) == '\r'))
        --end;
    return reader_->getText(start, end - start);
}
