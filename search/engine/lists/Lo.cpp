// Occurrence lists: the package, the coding of their elements, writing and
// reading them.
#include <strings.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "base/procedural/EngineTables.h"
#include "search/engine/common/TextCopy.h"
#include "search/engine/lists/LoInternal.h"

// Sequential list data, from `start`: fields of nbits bits, most significant bit
// first in 32-bit words stored little-endian, the last word padded with zeros.
// Per element: [score of the previous document (hits x weight) [, its first
// position], scored lists from the second document] document delta [, position
// delta, from 0 on a new document]; a scored list ends with the last score.
// List files (LoFiles.cpp) hold the same stream after their header.

int LoScoreMode = 0;
int LoFirstPosMode = 0;
int LoKeepSaved = 1;
int LoCurrentUnitByte = 0;

namespace {

const int kReadBytes = 4096;

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

bool OwnsFile(const LoDesc* d) {
    return LoOwnsFile(d);
}

// The swap's bytes stay in memory up to the package's limit: under Wine each
// file call costs microseconds, and a search of one word made some forty of
// them. Past the limit they go to the swap file, which holds them from then on.
bool SwapInMemory(FILE* f) {
    LoPackage& p = LoPkg();
    return f && f == p.swap && !p.swapInFile;
}

bool SpillSwap() {
    LoPackage& p = LoPkg();
    std::vector<uint8_t>& m = p.swapMemory;
    if (std::fseek(p.swap, 0, SEEK_SET) != 0 || (!m.empty() && std::fwrite(m.data(), 1, m.size(), p.swap) != m.size()))
        return false;
    p.swapInFile = true;
    std::vector<uint8_t>().swap(m);
    return true;
}

bool Fits(uint64_t value) {
    int nbits = LoPkg().nbits;
    return nbits >= 32 ? value <= 0xFFFFFFFFu : value < (uint64_t(1) << nbits);
}

// Writes the fast writer's completed words at the list's offset.
int FlushFast(LoDesc* d) {
    LoPackage& p = LoPkg();
    uint8_t bytes[4 * kLoFastWords];
    for (int i = 0; i < p.fastIndex; ++i)
        for (int b = 0; b < 4; ++b)
            bytes[4 * i + b] = static_cast<uint8_t>(p.fastWords[i] >> (8 * b));
    size_t n = 4 * static_cast<size_t>(p.fastIndex);
    p.fastIndex = 0;
    if (n && (!d->file || !LoWriteAt(d->file, d->offset, bytes, n)))
        return Fail(kLoErrSeek, d->name);
    d->offset += static_cast<int32_t>(n);
    if (!OwnsFile(d) && d->offset > p.swapEnd)
        p.swapEnd = d->offset;
    return 0;
}

const size_t kLoMostSpares = 8;

void SpareDesc(LoDesc* d) {
    std::vector<LoDesc*>& spares = LoPkg().spareDescs;
    if (spares.size() < kLoMostSpares && spares.capacity() >= kLoMostSpares)
        spares.push_back(d);
    else
        std::free(d);
}

int PutWord(LoDesc* d) {
    LoPackage& p = LoPkg();
    if (p.fastOwner == d) {
        if (int code = LoFlushPending(d))
            return code;
        p.fastWords[p.fastIndex++] = d->word;
        d->word = 0;
        d->mask = 0x80000000u;
        return p.fastIndex == kLoFastWords ? FlushFast(d) : 0;
    }
    if (!d->file)
        return Fail(kLoErrSeek, d->name);
    if (!d->pending && !p.spareWords.empty()) {
        d->pending = p.spareWords.back();
        p.spareWords.pop_back();
    }
    if (!d->pending && !(d->pending = static_cast<uint32_t*>(std::malloc(4 * kLoPendingWords))))
        return Fail(kLoErrSeek, "write buffer");
    d->pending[d->pendingWords++] = d->word;
    d->offset += 4;
    d->word = 0;
    d->mask = 0x80000000u;
    if (!OwnsFile(d) && d->offset > p.swapEnd)
        p.swapEnd = d->offset;
    return d->pendingWords == kLoPendingWords ? LoFlushPending(d) : 0;
}

// The bits of the word from the mask's bit down: 1 to 32.
int BitsLeft(uint32_t mask) {
    return 32 - __builtin_clz(mask);
}

// Fields go in and out as many bits at a time as the word holds: bit by bit,
// coding the fields was the most of copying a large list.
int PutField(LoDesc* d, uint32_t value) {
    int n = LoPkg().nbits;
    // Lists with positions have fields of a whole word, each one a word.
    if (n == 32 && d->mask == 0x80000000u) {
        d->word = value;
        return PutWord(d);
    }
    if (!d->mask) {
        if (int code = PutWord(d))
            return code;
    }
    while (n > 0) {
        int left = BitsLeft(d->mask), take = n < left ? n : left;
        uint64_t bits = (static_cast<uint64_t>(value) >> (n - take)) & ((uint64_t(1) << take) - 1);
        d->word |= static_cast<uint32_t>(bits << (left - take));
        d->mask = take == left ? 0 : d->mask >> take;
        n -= take;
        if (!d->mask) {
            int code = PutWord(d);
            if (code)
                return code;
        }
    }
    return 0;
}

int GetField(LoDesc* d, uint32_t* value) {
    int bits = LoPkg().nbits;
    if (bits == 32 && !d->mask && d->bufferIndex < d->bufferWords) {
        const uint8_t* w = d->buffer + 4 * d->bufferIndex++;
        *value = d->word = w[0] | (w[1] << 8) | (w[2] << 16) | (static_cast<uint32_t>(w[3]) << 24);
        return 0;
    }
    // Most fields lie within the current word.
    if (d->mask) {
        int left = BitsLeft(d->mask);
        if (bits <= left) {
            *value =
                static_cast<uint32_t>((static_cast<uint64_t>(d->word) >> (left - bits)) & ((uint64_t(1) << bits) - 1));
            d->mask = bits == left ? 0 : d->mask >> bits;
            return 0;
        }
    }
    uint64_t v = 0;
    for (int n = bits; n > 0;) {
        if (!d->mask) {
            if (d->bufferIndex >= d->bufferWords) {
                size_t words = d->file ? LoReadAt(d->file, d->offset, d->buffer, kReadBytes) / 4 : 0;
                if (words == 0)
                    return Fail(kLoErrFile, "list data beyond its file");
                d->offset += static_cast<int32_t>(words * 4);
                d->bufferWords = static_cast<int32_t>(words);
                d->bufferIndex = 0;
            }
            const uint8_t* w = d->buffer + 4 * d->bufferIndex++;
            d->word = w[0] | (w[1] << 8) | (w[2] << 16) | (static_cast<uint32_t>(w[3]) << 24);
            d->mask = 0x80000000u;
        }
        int left = BitsLeft(d->mask), take = n < left ? n : left;
        v = (v << take) | ((static_cast<uint64_t>(d->word) >> (left - take)) & ((uint64_t(1) << take) - 1));
        d->mask = take == left ? 0 : d->mask >> take;
        n -= take;
    }
    *value = static_cast<uint32_t>(v);
    return 0;
}

int NextBit(LoDesc* d) {
    const uint8_t* bytes = LoVectorBytesOf(d);
    const int32_t n = LoPkg().vecBytes;
    // Past its bytes that may hold bits the vector is clear.
    const int32_t high = (d->flags & kLoVector) ? std::min(n, LoPkg().vecHigh) : n;
    d->doc = bytes ? LoNextSetBit(bytes, high, d->index < 0 ? 0 : d->index) : -1;
    d->index = d->doc < 0 ? n * 8 : d->doc + 1;
    return 0;
}

LoHandle Register(LoDesc* d) {
    LoPackage& p = LoPkg();
    for (int i = 0; i < kLoMaxLists; ++i)
        if (!p.lists[i]) {
            p.lists[i] = d;
            return i;
        }
    return -1;
}

}  // namespace

void LoCopyName(char* to, const char* from) {
    TextCopy(to, kLoNameSize, from ? from : "");
}

void LoSetUnits(LoDesc* d, uint32_t unitCode) {
    const LoPackage& p = LoPkg();
    static const uint32_t kCascade[4] = {1 | 2 | 4 | 8, 2 | 4 | 8, 4 | 8, 8};
    int first = unitCode == 1 ? 0 : unitCode == 2 ? 1 : unitCode == 4 ? 2 : unitCode == 8 ? 3 : -1;
    d->units = first < 0 ? 0 : kCascade[first];
    d->unitMask = 0;
    for (int i = 0; i < 4; ++i)
        if (d->units & (1u << i))
            d->unitMask |= p.masks[i];
}

bool LoWriteAt(FILE* f, int64_t at, const void* data, size_t n) {
    if (at < 0)
        return false;
    if (SwapInMemory(f)) {
        std::vector<uint8_t>& m = LoPkg().swapMemory;
        if (static_cast<uint64_t>(at) + n <= LoPkg().swapMemoryLimit) {
            if (m.size() < at + n)
                m.resize(static_cast<size_t>(at) + n);
            std::memcpy(m.data() + at, data, n);
            return true;
        }
        if (!SpillSwap())
            return false;
    }
    return std::fseek(f, static_cast<long>(at), SEEK_SET) == 0 && std::fwrite(data, 1, n, f) == n;
}

size_t LoReadAt(FILE* f, int64_t at, void* data, size_t n) {
    if (at < 0)
        return 0;
    if (SwapInMemory(f)) {
        const std::vector<uint8_t>& m = LoPkg().swapMemory;
        if (static_cast<uint64_t>(at) >= m.size())
            return 0;
        size_t k = std::min(n, m.size() - static_cast<size_t>(at));
        std::memcpy(data, m.data() + at, k);
        return k;
    }
    return std::fseek(f, static_cast<long>(at), SEEK_SET) == 0 ? std::fread(data, 1, n, f) : 0;
}

// Pending words go out together: one write a word cost two system calls a
// word, most of a large search's time.
int LoFlushPending(LoDesc* d) {
    size_t n = 4 * static_cast<size_t>(d->pendingWords);
    if (n == 0)
        return 0;
    // The words go out little-endian, as they lie in memory here.
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "list words are little-endian");
    d->pendingWords = 0;
    if (!d->file || !LoWriteAt(d->file, d->offset - static_cast<int64_t>(n), d->pending, n))
        return Fail(kLoErrSeek, d->name);
    return 0;
}

void LoDropPending(LoDesc* d) {
    std::vector<uint32_t*>& spares = LoPkg().spareWords;
    if (d->pending && spares.size() < kLoMostSpares && spares.capacity() >= kLoMostSpares)
        spares.push_back(d->pending);
    else
        std::free(d->pending);
    d->pending = nullptr;
    d->pendingWords = 0;
}

int LoEndFast(LoDesc* d) {
    LoPackage& p = LoPkg();
    if (p.fastOwner != d)
        return 0;
    int code = FlushFast(d);
    p.fastOwner = nullptr;
    return code;
}

const uint8_t* LoVectorBytesOf(const LoDesc* d) {
    return (d->flags & kLoVector) ? LoPkg().vector : d->buffer;
}

bool LoCopiesAsItStands(const LoDesc* d) {
    return !(d->flags & (kLoVector | kLoRawVector | kLoScored)) && ((d->flags & kLoInMemory) || !OwnsFile(d)) &&
           d->count >= 0;
}

LoPackage gLoPackage;

void LoReleaseDesc(LoDesc* d) {
    LoPackage& p = LoPkg();
    LoEndFast(d);
    LoFlushPending(d);
    LoDropPending(d);
    std::free(d->buffer);
    d->buffer = nullptr;
    if (OwnsFile(d) && d->file)
        std::fclose(d->file);
    d->file = nullptr;
    if (p.owner == d) {
        LoClearVector();
        p.owner = nullptr;
    }
}

int LoInitPkg(const char* swapName, int32_t maxDoc) {
    LoPackage& p = LoPkg();
    if (p.vector || p.started)
        return Fail(kLoErrVector, "GlbVect LoInitPkg");
    if (swapName) {
        LoCopyName(p.swapName, swapName);
    } else {
        // A unique name in the user's temporary folder: never a fixed file shared by two programs.
        char folder[MAX_PATH];
        DWORD n = GetTempPathA(sizeof folder, folder);
        if (n == 0 || n >= sizeof folder || !GetTempFileNameA(folder, "lo", 0, p.swapName))
            return Fail(kLoErrSwap, "tmp.lo");
    }
    if (!(p.swap = std::fopen(p.swapName, "w+b")))
        return Fail(kLoErrSwap, p.swapName);
    std::vector<uint8_t>().swap(p.swapMemory);
    p.swapInFile = false;
    p.swapEnd = 0;
    p.started = true;
    p.vecBytes = maxDoc < 1 ? 0 : (maxDoc >> 3) + 1;
    if (maxDoc == -1 || p.vecBytes > kLoMaxVectorBytes)
        p.vecBytes = 0;
    if (p.vecBytes && !(p.vector = static_cast<uint8_t*>(std::calloc(1, p.vecBytes))))
        p.vecBytes = 0;
    p.vecLow = p.vecBytes;
    p.vecHigh = 0;
    p.owner = nullptr;
    try {
        p.spareWords.reserve(kLoMostSpares);
        p.spareDescs.reserve(kLoMostSpares);
    } catch (const std::bad_alloc&) {
        // Without the room, blocks go back to the heap as before.
    }
    return 0;
}

int LoResetAll() {
    LoPackage& p = LoPkg();
    if (LoKeepSaved != 1)
        p.swapEnd = 0;
    for (int i = 0; i < kLoMaxLists; ++i) {
        LoHandle h = i;
        if (p.lists[i])
            LoFree(&h);
    }
    LoClearVector();
    p.owner = nullptr;
    p.fastOwner = nullptr;
    p.fastIndex = 0;
    return 0;
}

int LoEndPkg() {
    LoPackage& p = LoPkg();
    if (!p.started)
        return kLoErrNoFile;
    LoResetAll();
    std::free(p.vector);
    p.vector = nullptr;
    p.vecBytes = p.vecLow = p.vecHigh = 0;
    std::fclose(p.swap);
    p.swap = nullptr;
    std::vector<uint8_t>().swap(p.swapMemory);
    p.swapInFile = false;
    DeleteFileA(p.swapName);
    p.saved.clear();
    for (uint32_t* words : p.spareWords)
        std::free(words);
    p.spareWords.clear();
    for (LoDesc* d : p.spareDescs)
        std::free(d);
    p.spareDescs.clear();
    p.started = false;
    return 0;
}

int32_t LoSetBitWidth(uint32_t maxValue) {
    LoPackage& p = LoPkg();
    int old = p.nbits;
    int bits = 0;
    for (uint32_t v = maxValue; v; v >>= 1)
        ++bits;
    p.nbits = std::min(bits + 1, 32);
    return static_cast<int32_t>(1u << (old - 1));
}

int LoVectorBytes() {
    return LoPkg().vector ? LoPkg().vecBytes : 0;
}

void LoSetUnitMasks(uint32_t m1, uint32_t m2, uint32_t m4, uint32_t m8) {
    LoPackage& p = LoPkg();
    p.masks[0] = m1;
    p.masks[1] = m2;
    p.masks[2] = m4;
    p.masks[3] = m8;
}

LoHandle LoNew() {
    std::vector<LoDesc*>& spares = LoPkg().spareDescs;
    LoDesc* d = nullptr;
    if (!spares.empty()) {
        d = spares.back();
        spares.pop_back();
        std::memset(d, 0, sizeof *d);
    } else if (!(d = static_cast<LoDesc*>(std::calloc(1, sizeof(LoDesc))))) {
        return -1;
    }
    LoHandle h = Register(d);
    if (h < 0)
        SpareDesc(d);
    return h;
}

LoDesc* LoDescOf(LoHandle h) {
    return h >= 0 && h < kLoMaxLists ? LoPkg().lists[h] : nullptr;
}

int LoCreate(uint32_t flags, const char* name, uint32_t unitCode, int32_t start, int32_t count, LoHandle* h,
             int32_t weight) {
    *h = LoNew();
    if (*h < 0)
        return kLoErrNoHandle;
    int code = LoInitDesc(LoDescOf(*h), flags, name, unitCode, start, count, weight);
    if (code)
        LoFree(h);
    return code;
}

int LoInitDesc(LoDesc* d, uint32_t flags, const char* name, uint32_t unitCode, int32_t start, int32_t count,
               int32_t weight) {
    LoPackage& p = LoPkg();
    if (!p.vector || unitCode != 0)
        flags &= ~kLoVector;
    if (LoScoreMode) {
        flags = unitCode == kLoScored ? flags | kLoScored : flags & ~kLoScored;
        unitCode &= 0x7F;
        weight = std::max(weight, 1);
    }
    std::memset(d, 0, sizeof *d);
    d->flags = flags;
    d->weight = LoScoreMode ? weight : 0;
    LoSetUnits(d, LoLowestUnitBit(unitCode));
    d->doc = -1;
    if (flags & kLoVector) {
        if (p.owner && p.owner != d) {
            int code = LoVectorToSeq(p.owner);
            if (code) {
                std::memset(d, 0, sizeof *d);
                return Fail(code, "Can't swap vector to disk");
            }
        }
        LoClearVector();
        p.owner = d;
        return 0;
    }
    d->count = (flags & (kLoOwnFile | kLoReadable | kLoWritable)) ? 0 : count;
    d->doc = 0;
    d->mask = 0x80000000u;
    if (flags & kLoOwnFile) {
        d->start = d->offset = start;
        LoCopyName(d->name, name);
        if (!(d->file = std::fopen(d->name, "w+b")))
            return Fail(kLoErrFile, d->name);
    } else {
        d->start = d->offset = p.swapEnd;
        d->file = p.swap;
    }
    return 0;
}

namespace {

// A document written to the vector list d (writable).
int WriteVectorDocument(LoDesc* d, int32_t doc) {
    LoPackage& p = LoPkg();
    if (doc == -1)
        return 0;
    if (doc < 0 || (doc >> 3) >= p.vecBytes)
        return Fail(kLoErrWrite, "document outside the vector");
    if (!LoTestBit(doc, p.vector)) {
        LoSetBit(doc, p.vector, 1);
        ++d->count;
        p.vecLow = std::min(p.vecLow, doc >> 3);
        p.vecHigh = std::max(p.vecHigh, (doc >> 3) + 1);
    }
    d->doc = doc;
    return 0;
}

}  // namespace

int Lo_WriteDocuments(LoDesc* d, const int32_t* docs, size_t n) {
    const bool vector = d && (d->flags & kLoVector) && (d->flags & kLoWritable);
    int code = 0;
    for (size_t i = 0; !code && i < n; ++i)
        code = vector ? WriteVectorDocument(d, docs[i]) : Lo_WriteOcc(d, docs[i], 0);
    return code;
}

int Lo_WriteOcc(LoDesc* d, int32_t doc, int32_t pos) {
    if (!d)
        return Fail(kLoErrHandle, "in Lo_WriteOcc");
    if (!(d->flags & kLoWritable))
        return kLoErrWrite;
    LoPackage& p = LoPkg();
    const bool scored = LoScoreMode && (d->flags & kLoScored);
    if (d->flags & kLoVector)
        return WriteVectorDocument(d, doc);
    if (doc != -1 && d->count > 0 && doc == d->doc) {
        if (scored)
            ++d->hits;
        if (!d->unitMask || (pos & d->unitMask) == (d->pos & d->unitMask))
            return 0;
    }
    if (!scored && LoWriteWhole(d, doc, pos))
        return 0;
    int code = 0;
    if (doc != -1) {
        // A list of the swap file takes its place at its first word, not at its creation: a list made
        // while another was still being written would otherwise start inside that one.
        if (!OwnsFile(d) && d->count == 0 && d->offset == d->start && d->mask == 0x80000000u && !d->pendingWords &&
            (p.fastOwner != d || p.fastIndex == 0))
            d->start = d->offset = p.swapEnd;
        // Refuse what the fields cannot hold rather than store wrong documents.
        int64_t docDelta = static_cast<int64_t>(doc) - (d->count ? d->doc : 0);
        int64_t posDelta = static_cast<int64_t>(pos) - (d->count && doc == d->doc ? d->pos : 0);
        int64_t score = static_cast<int64_t>(d->hits) * d->weight;
        if (docDelta < 0 || !Fits(docDelta) || (d->units && (posDelta < 0 || !Fits(posDelta))) ||
            (scored && d->count && (!Fits(score) || (LoFirstPosMode && !Fits(static_cast<uint32_t>(d->firstPos))))))
            return Fail(kLoErrWrite, "value wider than the list width or out of order");
        if (scored && d->count >= 1) {
            code = PutField(d, static_cast<uint32_t>(score));
            if (!code && LoFirstPosMode)
                code = PutField(d, static_cast<uint32_t>(d->firstPos));
            d->firstPos = pos;
            d->hits = 0;
        }
        if (!code)
            code = PutField(d, static_cast<uint32_t>(docDelta));
        if (!code && d->units)
            code = PutField(d, static_cast<uint32_t>(posDelta));
        if (code)
            return code;
        if (scored) {
            ++d->hits;
            if (d->count == 0)
                d->firstPos = pos;
        }
        d->doc = doc;
        d->pos = pos;
        ++d->count;
        return 0;
    }
    if (scored && d->count >= 1) {
        code = PutField(d, static_cast<uint32_t>(static_cast<int64_t>(d->hits) * d->weight));
        if (!code && LoFirstPosMode)
            code = PutField(d, static_cast<uint32_t>(d->firstPos));
    }
    if (!code && d->mask != 0x80000000u)
        code = PutWord(d);
    int flushed = LoFlushPending(d);
    LoDropPending(d);
    d->doc = -1;
    d->pos = 0;
    return code ? code : flushed;
}

int LoWrite(LoHandle h, int32_t doc, int32_t pos) {
    return Lo_WriteOcc(LoDescOf(h), doc, pos);
}

int Lo_WriteOccFast(LoDesc* d, int32_t doc, int32_t pos) {
    if (!d)
        return Fail(kLoErrHandle, "in Lo_WriteOccFast");
    LoPackage& p = LoPkg();
    if (p.fastOwner && p.fastOwner != d)
        return Fail(kLoErrWrite, "another list is being written fast");
    // Scored lists and the vector gain nothing from the buffer.
    if (!(d->flags & kLoWritable) || (d->flags & kLoVector) || (LoScoreMode && (d->flags & kLoScored)))
        return Lo_WriteOcc(d, doc, pos);
    if (int flushed = LoFlushPending(d))
        return flushed;
    p.fastOwner = d;
    int code = Lo_WriteOcc(d, doc, pos);
    if (doc == -1 || code) {
        int flushed = LoEndFast(d);
        code = code ? code : flushed;
    }
    return code;
}

int LoWriteFast(LoHandle h, int32_t doc, int32_t pos) {
    return Lo_WriteOccFast(LoDescOf(h), doc, pos);
}

int Lo_Rewind(LoDesc* d) {
    if (!d)
        return kLoErrRewind;
    if (int code = LoEndFast(d))
        return code;
    if (int code = LoFlushPending(d))
        return code;
    if (d->flags & kLoVector) {
        d->index = 0;
        return 0;
    }
    d->offset = d->start;
    if (d->flags & kLoInMemory) {
        d->file = nullptr;
    } else if (OwnsFile(d)) {
        if (!d->file && !(d->file = std::fopen(d->name, (d->flags & kLoOwnFile) ? "r+b" : "rb")))
            return Fail(kLoErrOpen, d->name);
        if (std::fseek(d->file, d->start, SEEK_SET) != 0)
            return Fail(kLoErrSeek, d->name);
    } else {
        if (!LoPkg().swap)
            return kLoErrNoFile;
        d->file = LoPkg().swap;
    }
    d->doc = d->pos = 0;
    d->word = 0;
    d->mask = 0x80000000u;
    d->hits = d->firstPos = 0;
    return 0;
}

int LoRewind(LoHandle h) {
    return Lo_Rewind(LoDescOf(h));
}

int Lo_Close(LoDesc* d) {
    if (!d)
        return kLoErrClose;
    int fast = LoEndFast(d);
    int pending = LoFlushPending(d);
    LoDropPending(d);
    fast = fast ? fast : pending;
    if (d->flags & kLoVector)
        return 0;
    if (!(d->flags & kLoRawVector)) {
        std::free(d->buffer);
        d->buffer = nullptr;
    }
    d->flags &= ~kLoBuffered;
    if (d->flags & kLoInMemory)
        return fast;
    if (!d->file)
        return kLoErrNoFile;
    if (OwnsFile(d))
        std::fclose(d->file);
    d->file = nullptr;
    return fast;
}

int LoClose(LoHandle h) {
    return Lo_Close(LoDescOf(h));
}

int Lo_FirstOcc(LoDesc* d) {
    if (!d)
        return Fail(kLoErrHandle, "in Lo_FirstOcc");
    LoPackage& p = LoPkg();
    d->index = 0;
    if (d->flags & kLoVector)
        return NextBit(d);
    if (int code = LoFlushPending(d))
        return code;
    const bool memory = (d->flags & kLoInMemory) != 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (memory) {
        if (int code = LoImageData(d, &data, &size))
            return code;
    } else if (!d->file) {
        int code = Lo_Rewind(d);
        if (code)
            return code;
    }
    if (d->flags & kLoRawVector) {
        if (!d->buffer) {
            size_t n = static_cast<size_t>(p.vecBytes);
            d->buffer = static_cast<uint8_t*>(std::calloc(1, n ? n : 1));
            if (memory && d->buffer && n && size >= n)
                std::memcpy(d->buffer, data, n);
            else if (!d->buffer || !n || memory || LoReadAt(d->file, d->start, d->buffer, n) != n)
                return Fail(kLoErrFile, d->name);
        }
        return NextBit(d);
    }
    d->doc = d->pos = 0;
    d->offset = d->start;
    d->mask = 0;
    d->bufferWords = d->bufferIndex = 0;
    if (d->count <= 0) {
        d->doc = -1;
        return 0;
    }
    if (memory) {
        // The whole data is the read buffer: there is nothing to read after it.
        std::free(d->buffer);
        if (!(d->buffer = static_cast<uint8_t*>(std::malloc(size ? size : 1))))
            return Fail(kLoErrFile, "read buffer");
        std::memcpy(d->buffer, data, size);
        d->bufferWords = static_cast<int32_t>(size / 4);
    } else if (!d->buffer && !(d->buffer = static_cast<uint8_t*>(std::malloc(kReadBytes)))) {
        return Fail(kLoErrFile, "read buffer");
    }
    d->flags |= kLoBuffered;
    return Lo_NextOcc(d);
}

int Lo_NextOcc(LoDesc* d) {
    if (!d)
        return Fail(kLoErrHandle, "in Lo_NextOcc");
    if (d->flags & (kLoVector | kLoRawVector))
        return NextBit(d);
    if (d->doc == -1)
        return 0;
    const bool scored = d->flags & kLoScored;
    while (d->index < d->count) {
        uint32_t delta = 0, posDelta = 0, value = 0;
        int32_t previousPos = d->pos;
        if (!scored && LoReadWhole(d, &delta)) {
            if (d->index == 1 || delta)
                return 0;
            if (d->unitMask && (d->pos & d->unitMask) != (previousPos & d->unitMask))
                return 0;
            continue;
        }
        int code = GetField(d, &delta);
        if (!code && scored) {
            code = GetField(d, &value);
            d->hits = static_cast<int32_t>(value);
            if (!code && LoFirstPosMode && (code = GetField(d, &value)) == 0)
                d->firstPos = static_cast<int32_t>(value);
        }
        if (!code && d->units)
            code = GetField(d, &posDelta);
        if (code)
            return code;
        int64_t doc = static_cast<int64_t>(d->doc) + delta;
        int64_t pos = (delta ? 0 : static_cast<int64_t>(d->pos)) + posDelta;
        if (doc > 0x7FFFFFFF || pos > 0x7FFFFFFF)
            return Fail(kLoErrFile, "list data out of range");
        d->doc = static_cast<int32_t>(doc);
        d->pos = static_cast<int32_t>(pos);
        if (++d->index == 1 || delta)
            return 0;
        if (d->unitMask && (d->pos & d->unitMask) != (previousPos & d->unitMask))
            return 0;
    }
    d->doc = -1;
    d->pos = 0;
    std::free(d->buffer);
    d->buffer = nullptr;
    d->flags &= ~kLoBuffered;
    return 0;
}

int LoFirst(LoHandle h, int32_t* count, int32_t* doc, int32_t* value, int32_t* firstPos) {
    LoDesc* d = LoDescOf(h);
    if (!d)
        return Fail(kLoErrHandle, "in LoFirst");
    int code = Lo_FirstOcc(d);
    *count = d->count;
    *doc = d->doc;
    *value = LoScoreMode && (d->flags & kLoScored) ? d->hits : d->pos;
    *firstPos = d->firstPos;
    return code;
}

int LoNext(LoHandle h, int32_t* doc, int32_t* value, int32_t* firstPos) {
    LoDesc* d = LoDescOf(h);
    if (!d)
        return Fail(kLoErrHandle, "in LoNext");
    int code = Lo_NextOcc(d);
    *doc = d->doc;
    *value = LoScoreMode && (d->flags & kLoScored) ? d->hits : d->pos;
    *firstPos = d->firstPos;
    return code;
}

int LoFree(LoHandle* h) {
    LoDesc* d = LoDescOf(*h);
    if (!d)
        return Fail(kLoErrHandle, "in LoFree");
    LoReleaseDesc(d);
    SpareDesc(d);
    LoPackage& p = LoPkg();
    p.lists[*h] = nullptr;
    *h = -1;
    // The swap file holds the lists of live handles and the saved lists: once no live list is left,
    // the next list starts past the last saved one, so the file does not grow with every search of a
    // session and no saved list is written over.
    bool swapInUse = false;
    for (const LoDesc* o : p.lists)
        swapInUse = swapInUse || (o && !OwnsFile(o) && !(o->flags & kLoVector));
    if (!swapInUse) {
        p.swapEnd = 0;
        for (const LoSavedEntry& e : p.saved)
            p.swapEnd = std::max(p.swapEnd, e.end);
    }
    return 0;
}

int LoIsDocumentStream(LoHandle h) {
    const LoDesc* d = LoDescOf(h);
    return d && LoCopiesAsItStands(d) && !d->units ? 1 : 0;
}

int LoIsVector(LoHandle h) {
    LoDesc* d = LoDescOf(h);
    return d && (d->flags & kLoVector) ? 1 : 0;
}

void LoClearVector() {
    LoPackage& p = LoPkg();
    if (p.vector && p.vecLow < p.vecHigh)
        std::memset(p.vector + p.vecLow, 0, static_cast<size_t>(p.vecHigh - p.vecLow));
    p.vecLow = p.vecBytes;
    p.vecHigh = 0;
}

int32_t LoCount() {
    LoPackage& p = LoPkg();
    int32_t n = 0;
    for (int i = p.vecLow; p.vector && i < p.vecHigh; ++i)
        for (uint8_t b = p.vector[i]; b; b &= b - 1)
            ++n;
    return n;
}

// Empty stretches are passed four bytes at a time: a byte at a time, reading
// a result of a few documents from the vector was a twentieth of a rare
// words' AND.
int32_t LoNextSetBit(const uint8_t* bytes, int32_t n, int32_t from) {
    if (from < 0)
        from = 0;
    int32_t b = from >> 3;
    if (b >= n)
        return -1;
    if (uint32_t rest = static_cast<uint32_t>(bytes[b]) >> (from & 7))
        return from + __builtin_ctz(rest);
    for (++b; b < n; ++b) {
        uint32_t four;
        while (b + 4 <= n && (std::memcpy(&four, bytes + b, 4), four == 0))
            b += 4;
        if (b < n && bytes[b])
            return b * 8 + __builtin_ctz(bytes[b]);
    }
    return -1;
}

int LoFirstNonZeroByte(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        if ((value >> shift) & 0xFF)
            return shift;
    return -1;
}

uint32_t LoLowestUnitBit(uint32_t value) {
    for (uint32_t bit = 1; bit <= 8; bit <<= 1)
        if (value & bit)
            return bit;
    return 0;
}
