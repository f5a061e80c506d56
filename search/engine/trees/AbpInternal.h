// What the B+ tree reader's modules share: page reading and leaf decoding.
#pragma once

#include <vector>

#include "search/engine/trees/KyAbp.h"

// In memory a page is widened: used(2) zero(2) link(4) then the entries.
const int kAbpHeader = 8;
const int kAbpBufferSize = kAbpPageSize + 4;
const uint32_t kAbpLeafBit = 0x80000000u;
const uint32_t kAbpLastLeaf = 0xFFFFFFFFu;

inline uint32_t AbpWord(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int AbpUsed(const uint8_t* page) {
    return page[0] | (page[1] << 8);
}

// 301 with "page n: what" in KY_EngineErrorText.
int AbpDamaged(long page, const char* what);
// Up to n bytes of the file from offset, through the tree's block cache: the
// bytes read (fewer at the end of the file) or -1.
long AbpReadBytes(AbpTree* tree, int32_t offset, uint8_t* out, long n);
// Reads and widens page n into buffer (kAbpBufferSize bytes): 0 or 301.
int AbpReadPage(AbpTree* tree, int32_t n, uint8_t* buffer);
// Loads leaf n into the leaf buffer unless it is there: 0, 110 or 301.
int AbpLoadLeaf(AbpTree* tree, int32_t n);
// Decodes the leaf entry at the scan position into the current key and record,
// then advances the scan (to the next leaf at the page end): 0, 7 or 301.
int AbpDecodeNext(AbpTree* tree, AbpEntry* record);
// Copies the current entry's values, sets the occurrence state and the value offset.
void AbpTakeEntry(AbpTree* tree, AbpEntry* record, const int32_t values[3]);

// An index page's entries, found once: a descent then compares keys by
// halves rather than walking some four hundred entries at each level.
struct AbpIndexPage {
    int32_t page = -1;
    std::vector<uint8_t> bytes;        // the widened page; empty for the root (the tree's own)
    std::vector<int32_t> at, length;   // each entry's start and key length, in order
    const char* damage = nullptr;      // why the entries stop before the used bytes' end
    int32_t firstEmpty = -1;           // the first entry with an empty key, -1 none
    bool rising = true;                // keys before firstEmpty never fall (else walked in order)
};

// At most kMost pages a tree: the upper levels of the largest index.
struct AbpIndexPages {
    static const size_t kMost = 64;
    std::vector<AbpIndexPage> pages;  // reserved once: a page's bytes stay where they are
};

// The keys of a leaf and where their entries start in the widened page; key i
// is the zero-terminated text at text[at[i]] (one block: under Wine an
// allocation a key cost more than decoding the leaf).
struct AbpLeafKeys {
    int32_t page = -1;
    size_t count = 0;                  // keys of the leaf decoded so far
    std::vector<int32_t> offsets, at;  // sized once for the most entries a page holds
    std::vector<char> text;
    // Where decoding goes on: a lookup decodes the leaf only up to its key.
    int next = 0, previous = 0;
    size_t used = 0;
    bool complete = false, damaged = false;
    int32_t skimmed = -1;  // the leaf last searched without its keys being decoded
    const char* key(size_t i) const { return text.data() + at[i]; }
};
