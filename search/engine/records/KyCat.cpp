// Record catalogues: reading, creating and appending the coded length lists.
#include "search/engine/records/KyCat.h"

#include <cstdio>
#include <cstring>

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyPath.h"

// File: blocks of 2048 bytes, integers little-endian.
//   block 0: wide(1) narrow(1) startWidth(1) perSub(2) count(4) zero(2039)
//   block k+1: data block k = four 512-byte sub-blocks; sub-block s holds the
//     records (4k+s)*perSub .. (4k+s+1)*perSub-1, bits most significant first:
//     start[startWidth] then per record: [flag 0 narrow/1 wide, only when the
//     widths differ] sign[1] magnitude[narrow or wide]; d = previous length -
//     length, previous length 0 at the head (the head holds the length itself).

namespace {

const int kSubBits = kCatSubSize * 8;

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

int Damaged(const KyCat* cat, const char* what) {
    char text[96];
    std::snprintf(text, sizeof text, "catalogue block %ld: %s", static_cast<long>(cat->block + 1), what);
    return Fail(kCatErrRead, text);
}

uint8_t* SubBytes(KyCat* cat) {
    return cat->buffer + cat->sub * kCatSubSize;
}

int BitsUsed(const KyCat* cat) {
    int bit = 0;
    for (uint8_t m = 0x80; m != cat->mask; m >>= 1)
        ++bit;
    return cat->byte * 8 + bit;
}

// Reads n bits of the current sub-block; false past its end.
bool GetBits(KyCat* cat, int n, uint32_t* value) {
    if (BitsUsed(cat) + n > kSubBits)
        return false;
    uint32_t v = 0;
    const uint8_t* bytes = SubBytes(cat);
    for (int i = 0; i < n; ++i) {
        v = (v << 1) | ((bytes[cat->byte] & cat->mask) ? 1u : 0u);
        cat->mask >>= 1;
        if (!cat->mask) {
            cat->mask = 0x80;
            ++cat->byte;
        }
    }
    *value = v;
    return true;
}

void PutBits(KyCat* cat, int n, uint32_t value) {
    uint8_t* bytes = SubBytes(cat);
    for (int i = n - 1; i >= 0; --i) {
        if ((value >> i) & 1u)
            bytes[cat->byte] |= cat->mask;
        cat->mask >>= 1;
        if (!cat->mask) {
            cat->mask = 0x80;
            ++cat->byte;
        }
    }
}

// Width flag and sign of one entry, then its magnitude; d = sign ? -mag : mag.
bool GetEntry(KyCat* cat, int64_t* d) {
    uint32_t flag = 0, sign = 0, magnitude = 0;
    if (cat->wide != cat->narrow && !GetBits(cat, 1, &flag))
        return false;
    if (!GetBits(cat, 1, &sign) || !GetBits(cat, flag ? cat->wide : cat->narrow, &magnitude))
        return false;
    *d = sign ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

// Entry bits for d, or -1 when no width can hold |d|.
int EntryBits(const KyCat* cat, int64_t d, bool* wideFlag) {
    int64_t magnitude = d < 0 ? -d : d;
    int flagBits = cat->wide != cat->narrow ? 1 : 0;
    *wideFlag = magnitude > (int64_t(1) << (cat->narrow - 1));
    int width = *wideFlag ? cat->wide : cat->narrow;
    if (magnitude >= (int64_t(1) << width))
        return -1;
    return flagBits + 1 + width;
}

void PutEntry(KyCat* cat, int64_t d, bool wideFlag) {
    if (cat->wide != cat->narrow)
        PutBits(cat, 1, wideFlag ? 1 : 0);
    PutBits(cat, 1, d < 0 ? 1 : 0);
    PutBits(cat, wideFlag ? cat->wide : cat->narrow, static_cast<uint32_t>(d < 0 ? -d : d));
}

void StartSub(KyCat* cat, int sub) {
    cat->sub = static_cast<int16_t>(sub);
    cat->byte = 0;
    cat->mask = 0x80;
    cat->index = 0;
}

// The file offset of data block block; -1 past what a file offset holds (a
// long is 32 bits on the target: the product would wrap to a real block).
long BlockOffset(int32_t block) {
    int64_t offset = (static_cast<int64_t>(block) + 1) * kCatBlockSize;
    return offset > 0x7FFFFFFF - kCatBlockSize ? -1 : static_cast<long>(offset);
}

int ReadBlock(KyCat* cat, int32_t block) {
    cat->block = block;
    cat->sub = -1;
    long offset = BlockOffset(block);
    if (offset < 0 || KY_FSeek(cat->file, offset, 0) != offset ||
        KY_FRead(cat->file, cat->buffer, kCatBlockSize) != kCatBlockSize) {
        cat->block = -1;
        return Fail(kCatErrRead, "READ");
    }
    return 0;
}

int WriteBlock(KyCat* cat, const char* text) {
    long offset = BlockOffset(cat->block);
    if (offset < 0 || KY_FSeek(cat->file, offset, 0) != offset ||
        KY_FWrite(cat->file, cat->buffer, kCatBlockSize) != kCatBlockSize)
        return Fail(kCatErrWrite, text);
    return 0;
}

// Decodes the head of sub-block sub of the loaded block: its start and first length.
int ReadHead(KyCat* cat, int sub) {
    StartSub(cat, sub);
    uint32_t start = 0;
    int64_t d = 0;
    if (!GetBits(cat, cat->startWidth, &start) || !GetEntry(cat, &d))
        return Damaged(cat, "sub-block head beyond its end");
    if (start > 0x7FFFFFFFu)
        return Damaged(cat, "start offset out of range");
    cat->start = static_cast<int32_t>(start);
    cat->length = static_cast<int32_t>(d < 0 ? -d : d);
    cat->index = 1;
    return 0;
}

int StepForward(KyCat* cat) {
    int64_t d = 0;
    if (!GetEntry(cat, &d))
        return Damaged(cat, "entry beyond its sub-block");
    int64_t start = static_cast<int64_t>(cat->start) + cat->length;
    int64_t length = cat->length - d;
    if (start > 0x7FFFFFFF || length < 0 || length > 0x7FFFFFFF)
        return Damaged(cat, "start or length out of range");
    cat->start = static_cast<int32_t>(start);
    cat->length = static_cast<int32_t>(length);
    ++cat->index;
    return 0;
}

int ReadHeader(KyCat* cat, uint8_t header[kCatBlockSize]) {
    if (KY_FSeek(cat->file, 0, 0) != 0 || KY_FRead(cat->file, header, kCatBlockSize) != kCatBlockSize)
        return Fail(kCatErrRead, "READ");
    cat->wide = header[0];
    cat->narrow = header[1];
    cat->startWidth = header[2];
    cat->perSub = static_cast<uint16_t>(header[3] | (header[4] << 8));
    uint32_t count = header[5] | (header[6] << 8) | (header[7] << 16) | (static_cast<uint32_t>(header[8]) << 24);
    int expected = catEntriesPerSub(cat->wide, cat->narrow, cat->startWidth);
    if (!expected || expected != cat->perSub || count > 0x7FFFFFFFu)
        return Fail(kCatErrRead, "catalogue block 0: widths, entries or count out of range");
    // The first data block is read at every opening: a file that stops
    // before its end is a short read.
    long size = KY_FileSize(cat->file);
    if (size < 2 * kCatBlockSize)
        return Fail(kCatErrRead, "READ");
    // Every record the count holds lies in a block of the file: a count past
    // them would send lookups to blocks that are not there.
    int64_t perBlock = 4 * static_cast<int64_t>(cat->perSub);
    int64_t blocks = count ? (count + perBlock - 1) / perBlock : 0;
    if (size < 0 || (blocks + 1) * kCatBlockSize > size)
        return Fail(kCatErrRead, "catalogue block 0: count beyond the file's blocks");
    cat->count = static_cast<int32_t>(count);
    return 0;
}

void Release(KyCat* cat) {
    if (cat->file)
        KY_FClose(cat->file);
    KY_Free(cat->buffer);
    std::memset(cat, 0, sizeof *cat);
}

int Begin(KyCat* cat, const KY_OpenSpec* spec, const char* mode) {
    std::memset(cat, 0, sizeof *cat);
    cat->block = -1;
    cat->sub = -1;
    cat->file = spec ? KY_FOpen(spec, mode) : nullptr;
    if (!cat->file)
        return Fail(kCatErrOpen, spec && spec->path.text ? spec->path.text : "");
    cat->buffer = static_cast<uint8_t*>(KY_Calloc(1, kCatBlockSize));
    if (!cat->buffer) {
        Release(cat);
        return Fail(kCatErrMemory, "BLKSIZE");
    }
    return 0;
}

// Opens for reading or appending: header, first data block, record 0.
int OpenExisting(KyCat* cat, const KY_OpenSpec* spec, const char* mode, uint8_t catMode) {
    int code = Begin(cat, spec, mode);
    if (code)
        return code;
    uint8_t header[kCatBlockSize];
    if ((code = ReadHeader(cat, header)) != 0 || (code = ReadBlock(cat, 0)) != 0 || (code = ReadHead(cat, 0)) != 0) {
        Release(cat);
        return code;
    }
    cat->mode = catMode;
    return 0;
}

// Positions the decoder on record r (r below the count).
int Seek(KyCat* cat, int32_t r) {
    int32_t perBlock = cat->perSub * 4;
    int32_t block = r / perBlock;
    int code = 0;
    if (block != cat->block && (code = ReadBlock(cat, block)) != 0)
        return code;
    int sub = (r - block * perBlock) / cat->perSub;
    int32_t position = r - (block * 4 + sub) * cat->perSub;
    if ((sub != cat->sub || position + 1 < cat->index) && (code = ReadHead(cat, sub)) != 0)
        return code;
    while (cat->index < position + 1)
        if ((code = StepForward(cat)) != 0)
            return code;
    return 0;
}

}  // namespace

int catEntriesPerSub(int wide, int narrow, int startWidth) {
    if (wide < 1 || wide > 31 || narrow < 1 || narrow > 31 || startWidth < 1 || startWidth > 32)
        return 0;
    int perSub = (kSubBits - startWidth) / (((wide + narrow) >> 1) + 1);
    return perSub > 0 && perSub <= 0xFFFF ? perSub : 0;
}

int catOpen(KyCat* cat, const KY_OpenSpec* spec, const char* mode) {
    // A lazy "rb" open would only show a missing file at the first read.
    if (!spec || !KY_FileExists(&spec->path)) {
        std::memset(cat, 0, sizeof *cat);
        return Fail(kCatErrOpen, spec && spec->path.text ? spec->path.text : "");
    }
    return OpenExisting(cat, spec, mode ? mode : "rb", kCatRead);
}

int catCreate(KyCat* cat, const KY_OpenSpec* spec, int wide, int narrow, int startWidth, int32_t firstStart) {
    int perSub = catEntriesPerSub(wide, narrow, startWidth);
    if (!perSub || firstStart < 0 || (startWidth < 32 && firstStart >= (int64_t(1) << startWidth)))
        return Fail(kCatErrWrite, "catalogue widths");
    int code = Begin(cat, spec, "wb");
    if (code)
        return code;
    cat->wide = static_cast<uint8_t>(wide);
    cat->narrow = static_cast<uint8_t>(narrow);
    cat->startWidth = static_cast<uint8_t>(startWidth);
    cat->perSub = static_cast<uint16_t>(perSub);
    uint8_t header[kCatBlockSize] = {cat->wide, cat->narrow, cat->startWidth, static_cast<uint8_t>(perSub & 0xFF),
                                     static_cast<uint8_t>(perSub >> 8)};
    if (KY_FWrite(cat->file, header, kCatBlockSize) != kCatBlockSize) {
        Release(cat);
        return Fail(kCatErrWrite, "FWRITE");
    }
    cat->block = 0;
    StartSub(cat, 0);
    PutBits(cat, startWidth, static_cast<uint32_t>(firstStart));
    cat->start = firstStart;
    cat->mode = kCatCreate;
    return 0;
}

namespace {

// Positions an append on the last of count records and clears the bits after
// it: appends OR their bits in, and a close that wrote its block but failed on
// the count leaves the bits of a record the count does not hold.
int PositionAppend(KyCat* cat) {
    int code = 0;
    if (cat->count > 0) {
        code = Seek(cat, cat->count - 1);
    } else if (cat->block == 0 || (code = ReadBlock(cat, 0)) == 0) {
        // An empty catalogue appends after its first start, as a created one.
        StartSub(cat, 0);
        uint32_t start = 0;
        GetBits(cat, cat->startWidth, &start);
        cat->start = static_cast<int32_t>(start);
        cat->length = 0;
    }
    if (code)
        return code;
    int at = cat->sub * kCatSubSize + cat->byte;
    if (at < kCatBlockSize && cat->mask != 0x80)
        cat->buffer[at++] &= static_cast<uint8_t>(~((cat->mask << 1) - 1));
    if (at < kCatBlockSize)
        std::memset(cat->buffer + at, 0, static_cast<size_t>(kCatBlockSize - at));
    return 0;
}

}  // namespace

int catOpenAppend(KyCat* cat, const KY_OpenSpec* spec) {
    int code = OpenExisting(cat, spec, "rb+", kCatAppend);
    if (!code && (code = PositionAppend(cat)) != 0)
        Release(cat);
    return code;
}

int catTruncate(KyCat* cat, int32_t count) {
    if (cat->mode != kCatAppend || count < 0 || count > cat->count)
        return Fail(kCatErrRead, "READ");
    cat->count = count;
    int code = PositionAppend(cat);
    if (code)
        cat->mode = kCatRead;
    return code;
}

namespace {

// How the next entry of the length would be written, or why it cannot be.
int PlanAppend(const KyCat* cat, int32_t length, int64_t* start, int64_t* d, bool* wideFlag, bool* newSub) {
    if (cat->mode != kCatCreate && cat->mode != kCatAppend)
        return Fail(kCatErrRead, "READ");
    if (length < 0 || cat->count == 0x7FFFFFFF)
        return Fail(kCatErrWrite, "length out of range");
    *start = static_cast<int64_t>(cat->start) + cat->length;
    *newSub = cat->index >= cat->perSub;
    *d = *newSub ? -static_cast<int64_t>(length) : static_cast<int64_t>(cat->length) - length;
    int bits = EntryBits(cat, *d, wideFlag);
    // The record's end too: the checker and every reader refuse a catalogue
    // whose records end past what an offset holds.
    if (bits < 0 || *start + length > 0x7FFFFFFF ||
        (*newSub && cat->startWidth < 32 && *start >= (int64_t(1) << cat->startWidth)))
        return Fail(kCatErrWrite, "length too wide for the catalogue");
    if (!*newSub && BitsUsed(cat) + bits > kSubBits)
        return Fail(kCatErrWrite, "Sorry your minbit and/or maxbit is too low.\n\t\t\tTry to add 2 bits more\n");
    return 0;
}

}  // namespace

int catCheckAppend(const KyCat* cat, int32_t length) {
    int64_t start = 0, d = 0;
    bool wideFlag = false, newSub = false;
    return PlanAppend(cat, length, &start, &d, &wideFlag, &newSub);
}

int catAppend(KyCat* cat, int32_t length) {
    int64_t start = 0, d = 0;
    bool wideFlag = false, newSub = false;
    if (int code = PlanAppend(cat, length, &start, &d, &wideFlag, &newSub))
        return code;
    if (newSub) {
        if (cat->sub == 3) {
            int code = WriteBlock(cat, "FWRITE");
            if (code)
                return code;
            std::memset(cat->buffer, 0, kCatBlockSize);
            ++cat->block;
            StartSub(cat, 0);
        } else {
            StartSub(cat, cat->sub + 1);
        }
        PutBits(cat, cat->startWidth, static_cast<uint32_t>(start));
    }
    PutEntry(cat, d, wideFlag);
    cat->start = static_cast<int32_t>(start);
    cat->length = length;
    ++cat->index;
    ++cat->count;
    return 0;
}

int catLookup(KyCat* cat, int32_t record, int32_t pair[2]) {
    if (cat->mode != kCatRead)
        return Fail(kCatErrRead, "READ");
    if (record < 0 || record >= cat->count)
        return Fail(kCatErrTooHigh, "Number of doc is too high");
    int code = Seek(cat, record);
    if (code)
        return code;
    // Readers add the start and the length, or a part of it, in 32 bits.
    if (static_cast<int64_t>(cat->start) + cat->length > 0x7FFFFFFF)
        return Damaged(cat, "record ends past the largest offset");
    pair[0] = cat->start;
    pair[1] = cat->length;
    return 0;
}

int catClose(KyCat* cat) {
    int code = 0;
    if (cat->file && (cat->mode == kCatCreate || cat->mode == kCatAppend)) {
        uint8_t count[4] = {static_cast<uint8_t>(cat->count), static_cast<uint8_t>(cat->count >> 8),
                            static_cast<uint8_t>(cat->count >> 16), static_cast<uint8_t>(cat->count >> 24)};
        if (WriteBlock(cat, "Last write") != 0)
            code = kCatErrWrite;
        else if (KY_FSeek(cat->file, 5, 0) != 5 || KY_FWrite(cat->file, count, 4) != 4)
            code = Fail(kCatErrWrite, "Last write");
    }
    if (!cat->file)
        code = code ? code : Fail(kCatErrClosed, "Closed file can't be closed twice");
    else if (KY_FClose(cat->file) != 0 && !code)
        code = Fail(kCatErrWrite, "Last write");
    cat->file = nullptr;
    if (!cat->buffer)
        code = code ? code : Fail(kCatErrNoBuffer, "free of null buffer");
    Release(cat);
    return code;
}
