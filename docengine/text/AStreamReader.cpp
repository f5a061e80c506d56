// A reader over a range of a file.
#include "docengine/text/AStreamReader.h"

#include <cstdio>

AStreamReader::AStreamReader(const AFilteredFile& file, long first, long end)
    : stream_(file, "rb", 0), first_(first), windowStart_(0), windowLength_(0) {
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
    long at = index - windowStart_;
    if (at >= 0 && at < windowLength_)
        return window_[at];
    // Aligned windows: a walk backwards reads each one once too.
    windowStart_ = index - index % kWindow;
    windowLength_ = 0;
    long count = length_ - windowStart_ < kWindow ? length_ - windowStart_ : kWindow;
    if (stream_.seek(first_ + windowStart_, SEEK_SET) < 0)
        return 0;
    long got = stream_.read(window_, count);
    windowLength_ = got < 0 ? 0 : got;
    at = index - windowStart_;
    // A file shorter than its range: what is missing is not invented.
    return at < windowLength_ ? window_[at] : 0;
}

AString AStreamReader::getText(long start, long count) {
    checkRange(start, count, 210);
    if (stream_.seek(first_ + start, SEEK_SET) < 0)
        return AString();
    AString text(nullptr, count);
    text.makeUnique(true);
    long got = count ? stream_.read(text.body()->text, count) : 0;
    // A file shorter than its range: what is missing is not invented.
    if (got != count)
        text.setLength(got < 0 ? 0 : got);
    return text;
}
