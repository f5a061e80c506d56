// B+ tree index files: the read-only word, lexicon and link indexes of a base.
// Codes: 0, 7 end of keys, 8 end of occurrences, 105/110/111/112, 300-304; a
// damaged page gives 301 with KY_EngineErrorText naming the page. Single-threaded.
#pragma once

#include <cstdint>
#include <vector>

struct KY_File;
struct KY_OpenSpec;
struct AbpLeafKeys;
struct AbpIndexPages;
class AbpBlockCache;
class AbpOccMarks;
struct AbpOccMark;

enum : int {
    kAbpEndOfKeys = 7,
    kAbpEndOfOcc = 8,
    kAbpErrOpen = 105,
    kAbpErrMemory = 110,
    kAbpErrAlreadyOpen = 111,
    kAbpErrNotOpen = 112,
    kAbpErrEmptyKey = 300,
    kAbpErrPage = 301,
    kAbpErrNotFound = 302,
    kAbpErrNoOcc = 303,
    kAbpErrNoPositions = 304,
};

const int kAbpPageSize = 4096;
const int kAbpMaxKey = 127;  // bytes of a key, its terminator aside
const int kAbpKeyField = 132;

// A key with its values: (value) or (first document, occurrence count, occurrence
// offset); mode 1 of abpNextKey puts (document, position) in values[0..1].
struct AbpEntry {
    int32_t values[3];
    char key[kAbpKeyField];  // zero-terminated
};

// An open tree. Zero it before the first abpOpen; abpClose frees what it owns.
struct AbpTree {
    KY_File* file;          // owned
    uint8_t* root;          // owned page buffer of page 0 (entries at 8)
    uint8_t* leaf;          // owned leaf buffer, null until the first search
    int32_t pageCount;      // whole pages in the file
    int32_t loadedPage;     // page in the leaf buffer, -1 none
    int32_t leafPage;       // leaf of the scan, -1 at the end
    int32_t leafOffset;     // next entry in it (from 8), -1 at the end
    char* current;          // owned 128-byte buffer: the current key
    int32_t currentLength;  // its length with the terminator, 0 none
    int32_t occOffset;      // absolute file offset of the current key's next occurrence byte
    int32_t occRemaining;   // occurrences left for the current key
    int32_t occBit;         // bit index in the byte at occOffset
    bool reposition;        // the occurrence reader starts a new key
    bool wantOcc;
    int16_t positions;    // page 0 low word
    int16_t format;       // page 0 high word; bit 0: 12-byte values and an occurrence area
    int32_t valueOffset;  // added to every value and document read
    uint8_t* block;       // owned occurrence block, room for 5120 bytes from 1; block[0]: 1 reads 512 of them, 2 all
    int32_t blockStart;   // file offset of the block, -1 none
    int32_t blockBytes;   // bytes read into the block
    uint32_t prevDoc, prevPos;
    int width;          // bits of a wide delta; kept across close
    AbpLeafKeys* keys;  // owned: the keys of a leaf, decoded once, or null
    AbpBlockCache* blocks;  // owned: the file's blocks read so far, or null
    AbpOccMarks* marks;     // owned: restart points of the long lists read so far, or null
    AbpIndexPages* indexPages;  // owned: the index pages a descent went through, or null
    std::vector<AbpOccMark>* keyMarks;  // not owned: the current key's, or null
};

int abpOpen(const KY_OpenSpec* spec, AbpTree* tree, int wantOccurrences, int wantPositions);
int abpClose(AbpTree* tree);
// width = significant bits of maxValue + 1; answers 1 << (old width - 1), 0 when there was none.
int32_t abpSetWidth(AbpTree* tree, uint32_t maxValue);
int abpSearchKey(AbpEntry* record, AbpTree* tree, int exact);
// Puts the occurrence reader on the entry an exact abpSearchKey of this tree
// found before, as that search left it; the key scan's place is not moved.
int abpTakeFound(AbpTree* tree, const AbpEntry* found);
int abpFindKey(AbpEntry* record, AbpTree* tree);
int abpNextKey(AbpTree* tree, AbpEntry* record, int mode);
int abpFirstLeaf(AbpTree* tree);
// The next occurrences of the current key, as mode 1 of abpNextKey gives them,
// at most `most` at a time: 0 with *got of them, 8 at the end (*got 0), or a code.
int abpNextOccurrences(AbpTree* tree, int32_t* docs, int32_t* positions, int most, int* got);
// The documents of those occurrences, for a reader without positions: their
// positions are passed over, not decoded, and positions[] holds nothing to read
// (a buffer of `most` all the same). A document's occurrences that follow one
// another may give it once (each at least once, in order; one may come again
// at the start of the next call). A reading of a key takes one of the two.
int abpNextDocuments(AbpTree* tree, int32_t* docs, int32_t* positions, int most, int* got);
// Moves the occurrence reader of the current key forward to a point it noted
// when the list was read before, the last one before doc's occurrences, when
// that skips decoding; otherwise leaves it where it is. What the reader gives
// from there on is what it would have given of documents from doc on.
void abpSkipToDocument(AbpTree* tree, int32_t doc);
int abpCompareBytes(const void* a, const void* b, int n);
void abpAddValueOffset(const AbpTree* tree, AbpEntry* record);
// Number of significant bits of value plus one: the width both sides derive.
int abpWidthOf(uint32_t value);
