// The sample-table reader: walks a movie file's atoms to one track's 'stts'.
#include "web/movie/SampleTable.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "base/object/AFileStream.h"

namespace {

uint32_t BigEndian(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

bool Read32(SampleTableReader& r, uint32_t& value) {
    unsigned char bytes[4];
    if (r.stream->read(bytes, 4) != 4) {
        r.error = 1;
        return false;
    }
    value = BigEndian(bytes);
    return true;
}

bool SkipForward(SampleTableReader& r, long count) {
    if (count > 0 && r.stream->seek(count, SEEK_CUR) < 0) {
        r.error = 1;
        return false;
    }
    return true;
}

// Atom: size u32 BE (header included) | type 4 chars | contents (size - 8).
// Sizes 0 (to the end of the file) and 1 (a 64-bit size follows) are not read.
long SkipToEnd(SampleTableReader& r, long consumed, uint32_t size) {
    if (consumed < long(size))
        SkipForward(r, long(size) - consumed);
    else if (consumed > long(size))
        r.error = 1;
    return long(size);
}

long ReadChildren(SampleTableReader& r, long consumed, uint32_t size) {
    if (++r.depth > kSampleTableMaxDepth) {
        r.error = 1;
        --r.depth;
        return long(size);
    }
    while (!r.error && !r.table && consumed < long(size))
        consumed += SampleTableReadAtom(r);
    --r.depth;
    return SkipToEnd(r, consumed, size);
}

// 'stts' contents: version u8 | flags u24 | N u32 | N x (count u32, duration u32), big-endian.
long ReadStts(SampleTableReader& r, long consumed, uint32_t size) {
    uint32_t skipped = 0, n = 0;
    if (!Read32(r, skipped) || !Read32(r, n))
        return long(size);
    consumed += 8;
    // The table must lie inside the atom, and its block size must fit.
    if (n > (uint32_t(size) - uint32_t(consumed)) / 8 || n > (0x7FFFFFFFu - 36u) / 16u) {
        r.error = 1;
        return long(size);
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (n + 1) * 16 + 20);
    auto* words = block ? static_cast<int32_t*>(GlobalLock(block)) : nullptr;
    if (!words) {
        if (block)
            GlobalFree(block);
        r.error = 1;
        return long(size);
    }
    words[0] = int32_t(n + 1);
    int64_t time = 0, samples = 0;
    for (uint32_t i = 0; i < n && !r.error; ++i) {
        uint32_t count = 0, duration = 0;
        if (!Read32(r, count) || !Read32(r, duration))
            break;
        consumed += 8;
        int32_t* entry = words + 1 + 4 * i;
        entry[0] = int32_t(time);
        entry[1] = int32_t(duration);
        entry[2] = int32_t(samples);
        entry[3] = int32_t(count);
        samples += count;
        // Two 32-bit factors: the product fits in 64 unsigned bits, not always in 64 signed ones.
        uint64_t span = uint64_t(count) * duration;
        // Times and indexes are 32-bit signed words: a table past them is refused.
        const int64_t kMax = std::numeric_limits<int32_t>::max();
        if (samples > kMax || span > uint64_t(kMax - time))
            r.error = 1;
        else
            time += int64_t(span);
    }
    int32_t* sentinel = words + 1 + 4 * n;
    sentinel[0] = int32_t(time);
    sentinel[2] = int32_t(samples);
    GlobalUnlock(block);
    if (r.error) {
        GlobalFree(block);
        return long(size);
    }
    r.table = block;
    return SkipToEnd(r, consumed, size);
}

bool IsType(const char* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

}  // namespace

long SampleTableReadAtom(SampleTableReader& r) {
    uint32_t size = 0;
    char type[4] = {0, 0, 0, 0};
    if (Read32(r, size) && r.stream->read(type, 4) != 4)
        r.error = 1;
    long consumed = 8;
    if (r.error || r.table)
        return consumed;
    if (size < 8 || size > 0x7FFFFFFFu) {
        r.error = 1;
        return consumed;
    }
    if (IsType(type, "stts")) {
        if (r.trackCounter == r.wantedTrack && !r.table)
            return ReadStts(r, consumed, size);
        return SkipToEnd(r, consumed, size);
    }
    if (IsType(type, "trak")) {
        ++r.trackCounter;
        return ReadChildren(r, consumed, size);
    }
    static const char* const containers[] = {"moov", "mdia", "minf", "dinf", "stbl", "edts"};
    for (const char* name : containers) {
        if (IsType(type, name))
            return ReadChildren(r, consumed, size);
    }
    if (IsType(type, "vmhd")) {
        SkipForward(r, 12);
        return 20;
    }
    return SkipToEnd(r, consumed, size);
}

void* SampleTableRead(const AMovieFile& file, long track) {
    SampleTableReader r;
    r.wantedTrack = track;
    try {
        AFileStream stream(AFile(file.spec, 0, kPlainFileOptions, false), "rb", 0);
        r.stream = &stream;
        if (file.start > 0 && stream.seek(file.start, SEEK_SET) < 0)
            return nullptr;
        while (!r.error && !r.table) {
            // A range ends where the container says, whatever follows it.
            if (file.isRange() && stream.tell() >= file.end)
                break;
            SampleTableReadAtom(r);
        }
    } catch (const AError&) {
        r.error = 1;
    }
    void* table = r.error ? nullptr : r.table;
    if (!table)
        SampleTableFree(r.table);
    return table;
}

void* SampleTableFree(void* table) {
    if (table)
        GlobalFree(static_cast<HGLOBAL>(table));
    return nullptr;
}

long SampleTableCount(void* table) {
    if (!table)
        return 0;
    auto* words = static_cast<const int32_t*>(GlobalLock(static_cast<HGLOBAL>(table)));
    long count = words ? words[0] : 0;
    GlobalUnlock(static_cast<HGLOBAL>(table));
    return count;
}

bool SampleTableFind(void* table, long key, SampleTableKey field, SampleTableEntry* result) {
    if (!table)
        return false;
    auto* words = static_cast<const int32_t*>(GlobalLock(static_cast<HGLOBAL>(table)));
    if (!words)
        return false;
    // Upper bound by halving: the first entry whose field exceeds the key.
    long low = 0, high = words[0];
    while (low < high) {
        long middle = low + (high - low) / 2;
        if (key < words[1 + 4 * middle + field])
            high = middle;
        else
            low = middle + 1;
    }
    bool found = low > 0;
    if (found)
        std::memcpy(result, words + 1 + 4 * (low - 1), sizeof(SampleTableEntry));
    GlobalUnlock(static_cast<HGLOBAL>(table));
    return found;
}

long SampleTableTimeToSample(void* table, long time) {
    SampleTableEntry e;
    if (!SampleTableFind(table, time, kSampleTableByTime, &e))
        return 0;
    if (e.duration == 0)
        return e.firstSample;
    return e.firstSample + (time - e.firstTime) / e.duration;
}

long SampleTableSampleToTime(void* table, long sample) {
    SampleTableEntry e;
    if (!SampleTableFind(table, sample, kSampleTableBySample, &e))
        return 0;
    if (e.duration == 0)
        return e.firstTime;
    return e.firstTime + (sample - e.firstSample) * e.duration;
}
