// The hot-spot lookup over the record and index files of a video.
#include "web/movie/HotSpots.h"

#include <cstdio>
#include <memory>

#include "base/object/AFileStream.h"

namespace {

bool ReadAt(AFileStream* stream, long offset, void* buffer, long count) {
    return offset >= 0 && stream->seek(offset, SEEK_SET) == offset && stream->read(buffer, count) == count;
}

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Corners above 1000 are clamped; a value with its top bit set is a negative one: 0.
long Corner(const unsigned char* p) {
    unsigned value = unsigned(p[0]) | (unsigned(p[1]) << 8);
    if (value >= 0x8000)
        return 0;
    return value > 1000 ? 1000 : long(value);
}

}  // namespace

int HotSpotPairOpen(HotSpotPair& pair, const AFile& records, const AFile& index) {
    HotSpotPairClose(&pair);
    try {
        std::unique_ptr<AFileStream> r(new AFileStream(records, "rb", 0));
        std::unique_ptr<AFileStream> i(new AFileStream(index, "rb", 0));
        long size = r->seek(0, SEEK_END);
        if (size < 0)
            return int(r->lastError() ? r->lastError() : 1);
        pair.records = r.release();
        pair.index = i.release();
        pair.recordSize = size;
        return 0;
    } catch (const AFileSpecError& e) {
        return int(e.code() ? e.code() : 1);
    }
}

int HotSpotPairClose(HotSpotPair* pair) {
    if (!pair)
        return -3;
    delete pair->records;
    delete pair->index;
    pair->records = nullptr;
    pair->index = nullptr;
    pair->recordSize = 0;
    return 0;
}

long HotSpotFind(const HotSpotPair& pair, long width, long height, long frame, long x, long y) {
    if (!pair.records || !pair.index)
        return -1;
    // A movie area without width or height has no thousandths to scale to.
    if (width <= 0 || height <= 0)
        return -1;
    unsigned char bytes[kHotSpotRecordSize];
    if (pair.recordSize < 2 || !ReadAt(pair.records, pair.recordSize - 2, bytes, 2))
        return -1;
    uint32_t step = uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8);
    if (step == 0)
        return -1;
    uint32_t group = (uint32_t(frame) / step) * step;
    uint64_t indexAt = uint64_t(group / step) * 4;
    if (indexAt > 0x7FFFFFFF || !ReadAt(pair.index, long(indexAt), bytes, 4))
        return -1;
    uint32_t offset = Le32(bytes);
    if (offset == 0)
        return -1;
    long px = long(int64_t(x) * 1000 / width);
    long py = long(int64_t(y) * 1000 / height);
    for (long n = 1;; ++n) {
        if (offset > 0x7FFFFFFFu - kHotSpotRecordSize || !ReadAt(pair.records, long(offset), bytes, 20))
            return -1;
        if (Le32(bytes) != group)
            return -1;
        long corners[8];
        for (int i = 0; i < 8; ++i)
            corners[i] = Corner(bytes + 4 + 2 * i);
        if (PointInQuad(4, px, py, corners))
            return n;
        offset += kHotSpotRecordSize;
    }
}

bool PointInTriangle(long x0, long y0, long x1, long y1, long x2, long y2, long px, long py) {
    // 64-bit products: a point far outside the movie must not overflow into a hit.
    int64_t d = int64_t(x1 - x0) * (y2 - y0) - int64_t(y1 - y0) * (x2 - x0);
    if (d == 0)
        return false;
    int64_t s = int64_t(y2 - y0) * (px - x0) - int64_t(x2 - x0) * (py - y0);
    int64_t t = int64_t(py - y0) * (x1 - x0) - int64_t(px - x0) * (y1 - y0);
    int64_t u = d - s - t;
    if (d > 0)
        return s >= 1 && t >= 1 && u >= 1;
    return s < 0 && t < 0 && u < 0;
}

bool PointInQuad(int n, long px, long py, const long* points) {
    if (n < 4)
        return false;
    int inside = 0;
    for (int i = 1; i + 1 < n; ++i) {
        if (PointInTriangle(points[0], points[1], points[2 * i], points[2 * i + 1], points[2 * i + 2],
                            points[2 * i + 3], px, py))
            ++inside;
    }
    return (inside & 1) != 0;
}
