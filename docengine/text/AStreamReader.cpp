// A reader over a range of a file.
#include "docengine/text/AStreamReader.h"

#include <cstdio>

AStreamReader::AStreamReader(const AFilteredFile& file, long first, long end)
    : stream_(file, "rb", 0), first_(first), cursor_(-1) {
    if (first == end) {
        long size = KY_FileSize(stream_.file());
        first_ = 0;
        length_ = size < 0 ? 0 : size;
    } else {
        length_ = end > first && first >= 0 ? end - first : 0;
    }
}

char AStreamReader::charAt(long index) {
    if (index < 0 || index >= length_)
        return 0;
    if (cursor_ != index) {
        if (stream_.seek(first_ + index, SEEK_SET) < 0) {
            cursor_ = -1;
            return 0;
        }
        if (cursor_ != -1)
            cursor_ = index;
    }
    int c = stream_.getByte();
    if (c < 0) {
        cursor_ = -1;
        return 0;
    }
    if (cursor_ != -1)
        ++cursor_;
    return static_cast<char>(c);
}

AString AStreamReader::getText(long start, long count) {
    checkRange(start, count, 210);
    if (stream_.seek(first_ + start, SEEK_SET) < 0) {
        cursor_ = -1;
        return AString();
    }
    AString text(nullptr, count);
    text.makeUnique(true);
    long got = count ? stream_.read(text.body()->text, count) : 0;
    if (got != count) {
        // A file shorter than its range: what is missing is not invented.
        cursor_ = -1;
        text.setLength(got < 0 ? 0 : got);
        return text;
    }
    if (cursor_ != -1)
        cursor_ = start + count;
    return text;
}

void AStreamReader::lock() {
    cursor_ = stream_.tell() - first_;
    if (cursor_ < 0 || cursor_ > length_) {
        // A file that cannot be positioned (a disc taken out) reads as zeros
        // through the failing reads; it is outside data, not a broken invariant.
        cursor_ = stream_.seek(first_, SEEK_SET) < 0 ? -1 : 0;
    }
}

void AStreamReader::unlock() {
    cursor_ = -1;
}
