// B+ tree index files: open and close, leaf decoding, key scan and the occurrence reader.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyPath.h"
#include "search/engine/trees/AbpBlockCache.h"
#include "search/engine/trees/AbpInternal.h"
#include "search/engine/trees/AbpOccMarks.h"

// Page n at byte n * 4096, integers little-endian:
//   used(2) link(4) entries[4090], `used` bytes of them
//   link: leaf: bit 31 set, next leaf in bits 0-30 (0xFFFFFFFF last); index: bit 31
//   clear; page 0 (the root, always an index page): positions flag low 16 bits,
//   format flags high 16 bits (bit 0: 12-byte values and an occurrence area).
// Index entry: child(4) key bytes, end byte 0x40 (an empty key takes all larger keys).
// Leaf entry: L(1) P(1) key bytes [L-P-1] value(4) or first document(4) count(4) offset(4)
//   L: key length with its terminator (1..128); P: bytes shared with the previous
//   key of the page (0 for the first).
// Occurrence area: at each entry's absolute offset, count items, bits most significant
// first: document delta [, position delta], each flag(1) then 9 bits (flag 0,
// delta < 256) or `width` bits (flag 1); the position restarts from 0 on a new document.

namespace {

const int kSmallBlock = 512;
const int kLargeBlock = 5120;
const int kLargeListOccurrences = 900;

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

void FreeAll(AbpTree* tree) {
    if (tree->file)
        KY_FClose(tree->file);
    KY_Free(tree->root);
    KY_Free(tree->leaf);
    KY_Free(tree->current);
    KY_Free(tree->block);
    delete tree->keys;
    delete tree->blocks;
    delete tree->marks;
    delete tree->indexPages;
    int width = tree->width;
    std::memset(tree, 0, sizeof *tree);
    tree->width = width;
    tree->loadedPage = tree->leafPage = tree->leafOffset = tree->blockStart = -1;
}

int OccDamaged(const AbpTree* tree, const char* what) {
    char text[96];
    std::snprintf(text, sizeof text, "occurrences at %ld: %s", static_cast<long>(tree->occOffset), what);
    return Fail(kAbpErrPage, text);
}

// Reads the block holding byte offset; 0, or 301 when nothing can be read there.
int LoadBlock(AbpTree* tree, int32_t offset) {
    int size = tree->block[0] == 2 ? kLargeBlock : kSmallBlock;
    long read = AbpReadBytes(tree, offset, tree->block + 1, size);
    if (read <= 0) {
        tree->blockStart = -1;
        return OccDamaged(tree, "beyond the end of the file");
    }
    tree->blockStart = offset;
    tree->blockBytes = static_cast<int32_t>(read);
    return 0;
}

// Takes the bits a byte at most at a time: bit by bit, decoding was most of a
// large word's lookup.
int GetBits(AbpTree* tree, int n, uint32_t* value) {
    uint64_t v = 0;
    while (n > 0) {
        if (tree->blockStart < 0 || tree->occOffset < tree->blockStart ||
            tree->occOffset >= tree->blockStart + tree->blockBytes) {
            int code = LoadBlock(tree, tree->occOffset);
            if (code)
                return code;
        }
        uint8_t byte = tree->block[1 + tree->occOffset - tree->blockStart];
        int left = 8 - tree->occBit, take = n < left ? n : left;
        v = (v << take) | ((byte >> (left - take)) & ((1u << take) - 1));
        n -= take;
        if ((tree->occBit += take) == 8) {
            tree->occBit = 0;
            ++tree->occOffset;
        }
    }
    *value = static_cast<uint32_t>(v);
    return 0;
}

// A delta is at most 1 + 32 bits from a bit offset of at most 7: five bytes.
// When they lie in the loaded block, flag and value come from one window;
// the bits read are those GetBits reads.
int GetDelta(AbpTree* tree, uint32_t* delta) {
    int32_t at = tree->occOffset - tree->blockStart;
    if (tree->blockStart >= 0 && at >= 0 && at + 5 <= tree->blockBytes) {
        const uint8_t* p = tree->block + 1 + at;
        uint64_t window =
            (uint64_t(p[0]) << 32) | (uint32_t(p[1]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 8) | p[4];
        int bit = tree->occBit;
        int n = (window >> (39 - bit)) & 1 ? tree->width : 9;
        *delta = static_cast<uint32_t>((window >> (39 - bit - n)) & ((uint64_t(1) << n) - 1));
        bit += 1 + n;
        tree->occOffset += bit >> 3;
        tree->occBit = bit & 7;
        return 0;
    }
    uint32_t flag = 0;
    int code = GetBits(tree, 1, &flag);
    if (!code)
        code = GetBits(tree, flag ? tree->width : 9, delta);
    return code;
}

int NextOccurrence(AbpTree* tree, AbpEntry* record) {
    if (!tree->wantOcc || !(tree->format & 1) || tree->occRemaining <= 0) {
        if (tree->block)
            tree->block[0] = 1;
        return kAbpEndOfOcc;
    }
    if (tree->width < 1 || tree->width > 32)
        return OccDamaged(tree, "no occurrence width set");
    if (tree->reposition) {
        tree->reposition = false;
        tree->prevDoc = tree->prevPos = 0;
        tree->occBit = 0;
        if (tree->occOffset < tree->blockStart || tree->occOffset >= tree->blockStart + tree->blockBytes) {
            // The buffer holds a large block: a word after a word of the
            // other size changes what is read, not the buffer (growing it
            // walked the free blocks of a fragmented heap).
            tree->block[0] = static_cast<uint8_t>(tree->occRemaining > kLargeListOccurrences ? 2 : 1);
            tree->blockStart = -1;
        }
    }
    uint32_t docDelta = 0, posDelta = 0;
    int code = GetDelta(tree, &docDelta);
    if (!code && tree->positions)
        code = GetDelta(tree, &posDelta);
    if (code)
        return code;
    uint64_t doc = static_cast<uint64_t>(tree->prevDoc) + docDelta;
    uint64_t pos = (docDelta ? 0 : static_cast<uint64_t>(tree->prevPos)) + posDelta;
    if (doc > 0x7FFFFFFF || pos > 0xFFFFFFFFu)
        return OccDamaged(tree, "document or position out of range");
    tree->prevDoc = static_cast<uint32_t>(doc);
    tree->prevPos = static_cast<uint32_t>(pos);
    --tree->occRemaining;
    record->values[0] = static_cast<int32_t>(doc);
    record->values[1] = static_cast<int32_t>(pos);
    abpAddValueOffset(tree, record);
    return 0;
}

// The reader's state while DecodeInBlock runs, in locals: a bit cursor in
// the loaded block, where the byte and bit offsets kept in the tree were
// spilled and reloaded at every delta.
struct BlockRun {
    const uint8_t* block;
    uint32_t stop;  // an occurrence starting before it has its bytes in the block
    int width;
    int32_t valueOffset;
    uint32_t cursor, prevDoc, prevPos;
};

uint32_t LoadBigEndian(const uint8_t* p) {
    uint32_t word;
    std::memcpy(&word, p, 4);
    return __builtin_bswap32(word);
}

// Occurrences while they lie before the run's stop, with or without positions;
// of a documents-only reading, the documents alone, each once in a run of its
// occurrences: a position's flag gives its length and its value is passed
// over (positions are left as they were, the run's last position is 0).
// Returns the occurrences taken; *written, the elements written.
template <bool kDocumentsOnly>
int DecodeRun(BlockRun& run, bool withPositions, int32_t* docs, int32_t* positions, int count, int* written) {
    const uint8_t* block = run.block;
    const uint32_t width = static_cast<uint32_t>(run.width), stop = run.stop;
    // In a local: the stores to docs could otherwise change it.
    const int32_t valueOffset = run.valueOffset;
    uint32_t cur = run.cursor, prevDoc = run.prevDoc, prevPos = run.prevPos;
    // A flag and its 9 bits lie in the 32 bits from the delta's byte; a wide
    // value in those from the next bit's byte and the byte after them: two
    // loads and three shifts, where a 64-bit window took a dozen instructions
    // of a 32-bit processor, and every wide delta of a position index (32
    // bits) took it. Returns the bits taken.
    auto take = [block, width](uint32_t at, uint32_t* value) -> uint32_t {
        uint32_t word = LoadBigEndian(block + (at >> 3)) << (at & 7);
        if (static_cast<int32_t>(word) >= 0) {
            *value = (word << 1) >> 23;
            return 10;
        }
        uint32_t from = at + 1, bit = from & 7;
        const uint8_t* q = block + (from >> 3);
        uint32_t bits = (LoadBigEndian(q) << bit) | ((static_cast<uint32_t>(q[4]) << bit) >> 8);
        *value = bits >> (32 - width);
        return 1 + width;
    };
    int n = 0, k = 0;
    for (; n < count && cur < stop; ++n) {
        uint32_t docDelta, posDelta = 0, after;
        // A short document delta (most are: the same document, or one near)
        // and the flag of the position after it, with that position when it
        // is short too, lie in the 25 bits its load gives: one load an
        // occurrence, where the position's own load lengthened the chain from
        // one occurrence to the next.
        const uint32_t word = LoadBigEndian(block + (cur >> 3)) << (cur & 7);
        if (static_cast<int32_t>(word) >= 0) {
            docDelta = (word << 1) >> 23;
            after = cur + 10;
            if (withPositions) {
                const bool widePosition = static_cast<int32_t>(word << 10) < 0;
                if (kDocumentsOnly) {
                    after += widePosition ? 1 + width : 10;
                } else {
                    // Both readings of the position, its flag choosing: a
                    // branch on it was mispredicted at each change of
                    // paragraph.
                    const uint32_t from = cur + 11, bit = from & 7;
                    const uint8_t* q = block + (from >> 3);
                    const uint32_t wide =
                        ((LoadBigEndian(q) << bit) | ((static_cast<uint32_t>(q[4]) << bit) >> 8)) >> (32 - width);
                    posDelta = widePosition ? wide : (word << 11) >> 23;
                    after += widePosition ? 1 + width : 10;
                }
            }
        } else {
            after = cur + take(cur, &docDelta);
            if (withPositions && kDocumentsOnly) {
                uint32_t next = LoadBigEndian(block + (after >> 3)) << (after & 7);
                after += static_cast<int32_t>(next) < 0 ? 1 + width : 10;
            } else if (withPositions) {
                after += take(after, &posDelta);
            }
        }
        if (kDocumentsOnly) {
            uint32_t doc = prevDoc + docDelta;
            if (doc < prevDoc || doc > 0x7FFFFFFFu)
                break;
            cur = after;
            prevDoc = doc;
            // A document's further occurrences, most of a frequent word's,
            // overwrite it: every reader took it once.
            docs[k] = static_cast<int32_t>(doc) + valueOffset;
            k += (k == 0) | (docDelta != 0);
            continue;
        }
        // 32-bit sums, a carry caught by the sum falling below its base.
        uint32_t doc = prevDoc + docDelta, base = docDelta ? 0 : prevPos, pos = base + posDelta;
        if (doc < prevDoc || doc > 0x7FFFFFFFu || pos < base)
            break;
        cur = after;
        prevDoc = doc;
        prevPos = pos;
        docs[n] = static_cast<int32_t>(doc) + valueOffset;
        positions[n] = static_cast<int32_t>(pos);
    }
    run.cursor = cur;
    run.prevDoc = prevDoc;
    run.prevPos = kDocumentsOnly ? 0 : prevPos;
    *written = kDocumentsOnly ? k : n;
    return n;
}

// Decodes occurrences of the current key while both deltas of the next one
// lie in the loaded block: what NextOccurrence gives, without its checks at
// each one. Stops before anything it does not take: a new key, a block to
// load, the end, a value out of range.
int DecodeInBlock(AbpTree* tree, int32_t* docs, int32_t* positions, int most, bool documentsOnly) {
    if (tree->reposition || !tree->wantOcc || !(tree->format & 1) || tree->blockStart < 0 || tree->width < 1 ||
        tree->width > 32)
        return 0;
    const int32_t at = tree->occOffset - tree->blockStart, bytes = tree->blockBytes;
    // An occurrence takes at most 10 bytes from its first, and its deltas are
    // read within them.
    if (at < 0 || at + 10 > bytes)
        return 0;
    BlockRun run{tree->block + 1,
                 static_cast<uint32_t>(bytes - 9) * 8,
                 tree->width,
                 tree->valueOffset,
                 static_cast<uint32_t>(at) * 8 + static_cast<uint32_t>(tree->occBit),
                 tree->prevDoc,
                 tree->prevPos};
    const bool withPositions = tree->positions != 0;
    // Points need the positions: a documents-only reading notes none.
    std::vector<AbpOccMark>* marks = documentsOnly ? nullptr : tree->keyMarks;
    int32_t remaining = tree->occRemaining;
    int n = 0;
    while (n < most && remaining > 0 && run.cursor < run.stop) {
        // A point every kEvery occurrences, each noted once (room was made).
        const int32_t every = AbpOccMarks::kEvery;
        if (marks && (remaining & (every - 1)) == 0 && (marks->empty() || remaining < marks->back().remaining) &&
            marks->size() < marks->capacity())
            marks->push_back({tree->blockStart + static_cast<int32_t>(run.cursor >> 3), remaining, run.prevDoc,
                              run.prevPos, static_cast<int>(run.cursor & 7)});
        int count = std::min(most - n, remaining);
        if (marks)
            count = std::min(count, ((remaining - 1) & (every - 1)) + 1);
        int written = 0;
        int taken = documentsOnly ? DecodeRun<true>(run, withPositions, docs + n, positions + n, count, &written)
                                  : DecodeRun<false>(run, withPositions, docs + n, positions + n, count, &written);
        n += written;
        remaining -= taken;
        if (taken < count)
            break;
    }
    tree->occOffset = tree->blockStart + static_cast<int32_t>(run.cursor >> 3);
    tree->occBit = static_cast<int>(run.cursor & 7);
    tree->prevDoc = run.prevDoc;
    tree->prevPos = run.prevPos;
    tree->occRemaining = remaining;
    return n;
}

}  // namespace

int AbpDamaged(long page, const char* what) {
    char text[96];
    std::snprintf(text, sizeof text, "page %ld: %s", page, what);
    return Fail(kAbpErrPage, text);
}

long AbpReadBytes(AbpTree* tree, int32_t offset, uint8_t* out, long n) {
    if (!tree->blocks)
        tree->blocks = new (std::nothrow) AbpBlockCache;
    if (tree->blocks)
        return tree->blocks->read(tree->file, offset, out, n);
    return AbpBlockCache::readFile(tree->file, offset, out, n);
}

int AbpReadPage(AbpTree* tree, int32_t n, uint8_t* buffer) {
    if (n < 0 || n >= tree->pageCount)
        return AbpDamaged(n, "beyond the end of the file");
    if (AbpReadBytes(tree, n * kAbpPageSize, buffer + 2, kAbpPageSize) != kAbpPageSize)
        return AbpDamaged(n, "short read");
    // Read two bytes in, the link and entries land at 4 and 8; used moves back to 0.
    buffer[0] = buffer[2];
    buffer[1] = buffer[3];
    buffer[2] = buffer[3] = 0;
    if (AbpUsed(buffer) > kAbpPageSize - 6)
        return AbpDamaged(n, "used bytes beyond the page end");
    return 0;
}

int AbpLoadLeaf(AbpTree* tree, int32_t n) {
    if (tree->loadedPage == n)
        return 0;
    if (!tree->leaf && !(tree->leaf = static_cast<uint8_t*>(KY_Calloc(1, kAbpBufferSize))))
        return Fail(kAbpErrMemory, "leaf page");
    tree->loadedPage = -1;
    int code = AbpReadPage(tree, n, tree->leaf);
    if (code)
        return code;
    if (!(AbpWord(tree->leaf + 4) & kAbpLeafBit))
        return AbpDamaged(n, "a leaf was expected");
    tree->loadedPage = n;
    return 0;
}

void AbpTakeEntry(AbpTree* tree, AbpEntry* record, const int32_t values[3]) {
    std::memcpy(record->values, values, sizeof record->values);
    if (tree->format & 1) {
        tree->occRemaining = values[1];
        tree->occOffset = values[2];
        tree->occBit = 0;
        tree->reposition = true;
        tree->keyMarks = nullptr;
        if (tree->wantOcc && values[1] >= AbpOccMarks::kLongList) {
            if (!tree->marks)
                tree->marks = new (std::nothrow) AbpOccMarks;
            if (tree->marks)
                tree->keyMarks = tree->marks->of(values[2], values[1]);
        }
    }
    abpAddValueOffset(tree, record);
}

int AbpDecodeNext(AbpTree* tree, AbpEntry* record) {
    for (;;) {
        if (tree->leafPage < 0)
            return kAbpEndOfKeys;
        int code = AbpLoadLeaf(tree, tree->leafPage);
        if (code)
            return code;
        const uint8_t* page = tree->leaf;
        int end = kAbpHeader + AbpUsed(page);
        int off = tree->leafOffset;
        if (off < end) {
            int valueSize = (tree->format & 1) ? 12 : 4;
            if (off + 2 > end)
                return AbpDamaged(tree->leafPage, "entry header beyond used bytes");
            int length = page[off], prefix = page[off + 1];
            int previous = off == kAbpHeader ? 0 : tree->currentLength - 1;
            if (length < 1 || length > kAbpMaxKey + 1 || prefix > length - 1 || prefix > previous)
                return AbpDamaged(tree->leafPage, "key or prefix length out of range");
            int rest = length - prefix - 1;
            if (off + 2 + rest + valueSize > end)
                return AbpDamaged(tree->leafPage, "entry beyond used bytes");
            std::memcpy(tree->current + prefix, page + off + 2, rest);
            tree->current[length - 1] = 0;
            tree->currentLength = length;
            int32_t values[3] = {0, 0, 0};
            for (int i = 0; i < valueSize / 4; ++i)
                values[i] = static_cast<int32_t>(AbpWord(page + off + 2 + rest + 4 * i));
            std::memcpy(record->key, tree->current, length);
            AbpTakeEntry(tree, record, values);
            tree->leafOffset = off + 2 + rest + valueSize;
            if (tree->leafOffset < end)
                return 0;
            off = tree->leafOffset;
            code = 0;
        } else {
            code = -1;  // an empty leaf: go on with the next one
        }
        uint32_t link = AbpWord(page + 4);
        if (link == kAbpLastLeaf) {
            tree->leafPage = tree->leafOffset = -1;
        } else {
            int32_t next = static_cast<int32_t>(link & ~kAbpLeafBit);
            // Leaves follow each other forward: a link backwards would loop.
            if (next <= tree->leafPage || next >= tree->pageCount)
                return AbpDamaged(tree->leafPage, "next leaf out of range");
            tree->leafPage = next;
            tree->leafOffset = kAbpHeader;
        }
        if (code == 0)
            return 0;
    }
}

int abpOpen(const KY_OpenSpec* spec, AbpTree* tree, int wantOccurrences, int wantPositions) {
    if (tree->file)
        return Fail(kAbpErrAlreadyOpen, "abpOpen");
    FreeAll(tree);
    if (!(tree->root = static_cast<uint8_t*>(KY_Calloc(1, kAbpBufferSize))))
        return Fail(kAbpErrMemory, "root page");
    const char* path = spec && spec->path.text ? spec->path.text : "";
    if (!spec || !KY_FileExists(&spec->path) || !(tree->file = KY_FOpen(spec, "rb"))) {
        FreeAll(tree);
        return Fail(kAbpErrOpen, path);
    }
    long size = KY_FileSize(tree->file);
    tree->pageCount = size > 0 ? static_cast<int32_t>(size / kAbpPageSize) : 0;
    if (AbpReadPage(tree, 0, tree->root) != 0) {
        FreeAll(tree);
        return Fail(kAbpErrOpen, path);
    }
    uint32_t flags = AbpWord(tree->root + 4);
    tree->positions = static_cast<int16_t>(flags & 0xFFFF);
    tree->format = static_cast<int16_t>(flags >> 16);
    if (wantOccurrences && !(tree->format & 1)) {
        FreeAll(tree);
        return Fail(kAbpErrNoOcc, path);
    }
    if (wantPositions && !tree->positions) {
        FreeAll(tree);
        return Fail(kAbpErrNoPositions, path);
    }
    tree->current = static_cast<char*>(KY_Calloc(1, kAbpMaxKey + 1));
    if (wantOccurrences && tree->current)
        tree->block = static_cast<uint8_t*>(KY_Calloc(1, 1 + kLargeBlock));
    if (!tree->current || (wantOccurrences && !tree->block)) {
        FreeAll(tree);
        return Fail(kAbpErrMemory, "key buffer");
    }
    if (tree->block)
        tree->block[0] = 1;
    tree->wantOcc = wantOccurrences != 0;
    return 0;
}

int abpClose(AbpTree* tree) {
    if (!tree->file)
        return Fail(kAbpErrNotOpen, "abpClose");
    FreeAll(tree);
    return 0;
}

int abpWidthOf(uint32_t value) {
    int bits = 0;
    while (value) {
        ++bits;
        value >>= 1;
    }
    return bits + 1 > 32 ? 32 : bits + 1;
}

int32_t abpSetWidth(AbpTree* tree, uint32_t maxValue) {
    int old = tree->width;
    tree->width = abpWidthOf(maxValue);
    return old > 0 ? static_cast<int32_t>(1u << (old - 1)) : 0;
}

int abpNextKey(AbpTree* tree, AbpEntry* record, int mode) {
    if (!tree->file)
        return Fail(kAbpErrNotOpen, "abpNextKey");
    if (mode == 1)
        return NextOccurrence(tree, record);
    if (!tree->leaf && !(tree->leaf = static_cast<uint8_t*>(KY_Calloc(1, kAbpBufferSize))))
        return Fail(kAbpErrMemory, "leaf page");
    return AbpDecodeNext(tree, record);
}

namespace {

int NextOccurrences(AbpTree* tree, int32_t* docs, int32_t* positions, int most, int* got, bool documentsOnly) {
    *got = 0;
    if (!tree->file)
        return Fail(kAbpErrNotOpen, documentsOnly ? "abpNextDocuments" : "abpNextOccurrences");
    AbpEntry record;
    while (*got < most) {
        if (!documentsOnly && tree->keyMarks && !AbpOccMarks::makeRoom(tree->keyMarks, most - *got))
            tree->keyMarks = nullptr;
        *got += DecodeInBlock(tree, docs + *got, positions + *got, most - *got, documentsOnly);
        if (*got == most)
            break;
        int code = NextOccurrence(tree, &record);
        if (code)
            return code == kAbpEndOfOcc && *got ? 0 : code;
        docs[*got] = record.values[0];
        positions[*got] = record.values[1];
        ++*got;
    }
    return 0;
}

}  // namespace

int abpNextOccurrences(AbpTree* tree, int32_t* docs, int32_t* positions, int most, int* got) {
    return NextOccurrences(tree, docs, positions, most, got, false);
}

int abpNextDocuments(AbpTree* tree, int32_t* docs, int32_t* positions, int most, int* got) {
    return NextOccurrences(tree, docs, positions, most, got, true);
}

void abpSkipToDocument(AbpTree* tree, int32_t doc) {
    const std::vector<AbpOccMark>* marks = tree->keyMarks;
    if (!marks || marks->empty() || !tree->file || tree->occRemaining <= 0)
        return;
    int64_t raw = static_cast<int64_t>(doc) - tree->valueOffset;
    if (raw <= 0)
        return;
    // The last point whose previous occurrence lies before doc: every
    // occurrence it skips belongs to an earlier document.
    auto after = std::lower_bound(marks->begin(), marks->end(), raw,
                                  [](const AbpOccMark& m, int64_t d) { return int64_t(m.prevDoc) < d; });
    if (after == marks->begin())
        return;
    const AbpOccMark& m = *(after - 1);
    // Forward only, and only past enough occurrences to pay for a block's load.
    if (m.remaining > tree->occRemaining - AbpOccMarks::kEvery)
        return;
    if (tree->reposition) {
        tree->reposition = false;
        tree->block[0] = static_cast<uint8_t>(tree->occRemaining > kLargeListOccurrences ? 2 : 1);
    }
    tree->occOffset = m.offset;
    tree->occBit = m.bit;
    tree->prevDoc = m.prevDoc;
    tree->prevPos = m.prevPos;
    tree->occRemaining = m.remaining;
}

int abpTakeFound(AbpTree* tree, const AbpEntry* found) {
    if (!tree->file)
        return Fail(kAbpErrNotOpen, "abpTakeFound");
    AbpEntry record = *found;
    int32_t values[3];
    std::memcpy(values, found->values, sizeof values);
    if (values[0] != -1)
        values[0] -= tree->valueOffset;
    AbpTakeEntry(tree, &record, values);
    return 0;
}

int abpFindKey(AbpEntry* record, AbpTree* tree) {
    if (!tree->file)
        return Fail(kAbpErrNotOpen, "abpFindKey");
    std::memcpy(record->key, tree->current, tree->currentLength ? tree->currentLength : 1);
    return abpNextKey(tree, record, 0);
}

int abpCompareBytes(const void* a, const void* b, int n) {
    int c = n > 0 ? std::memcmp(a, b, static_cast<size_t>(n)) : 0;
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void abpAddValueOffset(const AbpTree* tree, AbpEntry* record) {
    if (record->values[0] != -1)
        record->values[0] += tree->valueOffset;
}
