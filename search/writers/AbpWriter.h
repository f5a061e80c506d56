// Writer and checker of B+ tree index files (layout in search/engine/AbpCore.cpp
// and search/engine/BASE-LAYOUT.md). Errors come back as texts, "" for success.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AbpOcc {
    uint32_t doc;
    uint32_t pos;  // paragraph in bits 16-30, word in bits 0-15; ignored without positions
};

// One key of a tree: its value (trees without occurrences) or its occurrences,
// documents non-decreasing and positions increasing within a document.
struct AbpKeyItem {
    std::string key;
    int32_t value = 0;
    std::vector<AbpOcc> occ;
};

struct AbpTreeOptions {
    bool occurrences = true;  // 12-byte values and an occurrence area
    bool positions = false;
    int width = 32;  // wide delta bits: abpWidthOf(nbdoc), or 32 with positions
};

// Bits that one delta takes in an occurrence stream.
int AbpDeltaBits(uint32_t delta, int width);

// Writes keys in strictly increasing byte order (each cut to 127 bytes; no byte
// 0 or 0x40, which ends an index key) as the tree file at path, replacing it whole.
std::string AbpWriteTree(const std::string& path, const std::vector<AbpKeyItem>& keys, const AbpTreeOptions& options);
// The same tree's bytes, for a writer that replaces the file with others.
std::string AbpTreeImage(const std::vector<AbpKeyItem>& keys, const AbpTreeOptions& options, std::string* image);

struct AbpCheckStats {
    int levels = 0;  // index levels above the leaves, plus one
    long leaves = 0;
    long keys = 0;
    long occurrences = 0;
};

// Walks the file: page headers, index bounds and the prefix rule, the leaf chain
// against the index order, key order, leaf entry lengths, every occurrence list
// (count, first document, order, offsets within the file). "" or the first fault.
std::string AbpCheckTree(const std::string& path, int width, AbpCheckStats* stats);

// Builds a tree from a sorted item list, one item a line: the key, a tab, the
// document and optionally a tab and the position. Items of one key are grouped
// into its occurrence list; keys are cut to 127 bytes; a line without a
// document is traced ("Cl\x82 vide !!!! Verifiez") and skipped. "" or the reason.
std::string abpBuildFirstLevel(const std::string& itemsPath, const std::string& treePath,
                               const AbpTreeOptions& options);
