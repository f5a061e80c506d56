// B+ tree index files: key search by descent and the start of a sequential scan.
#include <algorithm>
#include <cstring>
#include <new>

#include "base/object/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/AbpInternal.h"

// Descent: the key of an index entry is the upper bound of its child. Below the
// root, keys are stored without the prefix accumulated so far, which grows at
// each level by the common prefix of the chosen entry and the one before it.

namespace {

// Written trees have at most three levels; the bound stops a damaged tree looping.
const int kMaxDepth = 8;

struct IndexEntry {
    int32_t child;
    int length;
    char key[kAbpKeyField];
};

int CompareText(const char* a, const char* b) {
    return abpCompareBytes(a, b, static_cast<int>(std::strlen(b)) + 1);
}

int CommonPrefix(const IndexEntry& a, const IndexEntry& b) {
    int n = 0;
    while (n < a.length && n < b.length && a.key[n] == b.key[n])
        ++n;
    return n;
}

// Chooses the child of index page `page` (widened in buffer) for the reduced key.
int ChooseChild(int32_t page, const uint8_t* buffer, const char* reduced, IndexEntry* previous, IndexEntry* current) {
    int end = kAbpHeader + AbpUsed(buffer);
    int off = kAbpHeader;
    while (off < end) {
        if (off + 4 > end)
            return AbpDamaged(page, "index entry beyond used bytes");
        *previous = *current;
        current->child = static_cast<int32_t>(AbpWord(buffer + off));
        off += 4;
        int length = 0;
        while (off < end && buffer[off] != 0x40 && length <= kAbpMaxKey)
            current->key[length++] = static_cast<char>(buffer[off++]);
        if (off >= end || length > kAbpMaxKey)
            return AbpDamaged(page, "index key without its end byte");
        ++off;
        current->key[length] = 0;
        current->length = length;
        if (length == 0 || CompareText(current->key, reduced) > 0)
            return 0;
    }
    return AbpDamaged(page, "no entry takes the largest keys");
}

int NewLeafBuffer(AbpTree* tree) {
    if (!tree->leaf && !(tree->leaf = static_cast<uint8_t*>(KY_Calloc(1, kAbpBufferSize)))) {
        KY_SetEngineErrorText("leaf page");
        return kAbpErrMemory;
    }
    return 0;
}

// Follows children from the root to a leaf: the chosen child, or the first one.
int Descend(AbpTree* tree, const char* key, int32_t* leaf) {
    char prefix[kAbpKeyField] = "";
    int prefixLength = 0;
    IndexEntry previous{}, current{};
    const uint8_t* page = tree->root;
    int32_t pageNumber = 0;
    for (int depth = 0;; ++depth) {
        if (depth == kMaxDepth)
            return AbpDamaged(pageNumber, "index levels too deep");
        int code = 0;
        if (key) {
            int same = 0;
            while (same < prefixLength && key[same] == prefix[same])
                ++same;
            code = ChooseChild(pageNumber, page, key + same, &previous, &current);
        } else if (AbpUsed(page) < 4) {
            code = AbpDamaged(pageNumber, "index page without entries");
        } else {
            current.child = static_cast<int32_t>(AbpWord(page + kAbpHeader));
        }
        if (code)
            return code;
        if (key) {
            // Only the levels above the leaves' parents use the prefix: a full one stops growing.
            int common = std::min(CommonPrefix(previous, current), kAbpKeyField - 1 - prefixLength);
            std::memcpy(prefix + prefixLength, current.key, common);
            prefixLength += common;
        }
        if (current.child <= 0)
            return AbpDamaged(pageNumber, "child page out of range");
        tree->loadedPage = -1;
        if ((code = AbpReadPage(tree, current.child, tree->leaf)) != 0)
            return code;
        pageNumber = current.child;
        if (AbpWord(tree->leaf + 4) & kAbpLeafBit) {
            tree->loadedPage = pageNumber;
            *leaf = pageNumber;
            return 0;
        }
        page = tree->leaf;
    }
}

// The keys of the loaded leaf, decoded once for all the searches that land
// there: decoding the leaf from its start at each search was most of a rare
// word's lookup. Null when the leaf does not decode (the scan then says why).
const AbpLeafKeys* LeafKeys(AbpTree* tree) {
    if (tree->loadedPage <= 0)
        return nullptr;
    if (!tree->keys && !(tree->keys = new (std::nothrow) AbpLeafKeys))
        return nullptr;
    AbpLeafKeys& k = *tree->keys;
    if (k.page == tree->loadedPage)
        return &k;
    k.page = -1;
    k.count = 0;
    // An entry takes at least 2 + 1 + 4 bytes of the page and its key at most
    // 128 bytes of the text: the blocks are sized once.
    const size_t most = kAbpPageSize / 7 + 1;
    if (k.offsets.size() < most) {
        k.offsets.resize(most);
        k.at.resize(most);
        k.text.resize(most * (kAbpMaxKey + 1));
    }
    const uint8_t* page = tree->leaf;
    const int end = kAbpHeader + AbpUsed(page), valueSize = (tree->format & 1) ? 12 : 4;
    char* text = k.text.data();
    size_t used = 0, previousAt = 0;
    int previous = 0;
    for (int off = kAbpHeader; off < end; ++k.count) {
        if (off + 2 > end || k.count == most)
            return nullptr;
        int length = page[off], prefix = page[off + 1];
        if (length < 1 || length > kAbpMaxKey + 1 || prefix > length - 1 || prefix > previous)
            return nullptr;
        int rest = length - prefix - 1;
        if (off + 2 + rest + valueSize > end)
            return nullptr;
        char* key = text + used;
        for (int i = 0; i < prefix; ++i)
            key[i] = text[previousAt + static_cast<size_t>(i)];
        const uint8_t* from = page + off + 2;
        for (int i = 0; i < rest; ++i)
            key[prefix + i] = static_cast<char>(from[i]);
        key[length - 1] = 0;
        k.offsets[k.count] = off;
        k.at[k.count] = static_cast<int32_t>(used);
        previousAt = used;
        used += static_cast<size_t>(length);
        previous = length - 1;
        off += 2 + rest + valueSize;
    }
    k.page = tree->loadedPage;
    return &k;
}

// The first of the leaf's keys not below key.
size_t LowerBound(const AbpLeafKeys& k, const char* key) {
    size_t lo = 0, hi = k.count;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (CompareText(k.key(mid), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Decodes entry i of the loaded leaf as a scan from its start would.
int DecodeAt(AbpTree* tree, const AbpLeafKeys& k, size_t i, AbpEntry* entry) {
    tree->leafPage = k.page;
    tree->leafOffset = k.offsets[i];
    if (i > 0) {
        size_t length = k.at[i] - k.at[i - 1];
        std::memcpy(tree->current, k.key(i - 1), length);
        tree->currentLength = static_cast<int32_t>(length);
    }
    return AbpDecodeNext(tree, entry);
}

// Scans the loaded leaf from its start for the first key not below key.
int ScanFrom(AbpTree* tree, int32_t leaf, const char* key, int exact, AbpEntry* record) {
    tree->leafPage = leaf;
    tree->leafOffset = kAbpHeader;
    AbpEntry entry;
    // The scan starts at the first key not below key, or at the last one,
    // past which it goes on in the next leaf.
    const AbpLeafKeys* k = tree->loadedPage == leaf ? LeafKeys(tree) : nullptr;
    if (k && k->count) {
        size_t i = LowerBound(*k, key);
        if (int code = DecodeAt(tree, *k, std::min(i, k->count - 1), &entry))
            return code;
        int c = CompareText(tree->current, key);
        if (c >= 0) {
            if (c > 0 && exact)
                return kAbpErrNotFound;
            *record = entry;
            return 0;
        }
    }
    for (;;) {
        int code = AbpDecodeNext(tree, &entry);
        if (code)
            return code;
        int c = CompareText(tree->current, key);
        if (c < 0)
            continue;
        if (c > 0 && exact)
            return kAbpErrNotFound;
        *record = entry;
        return 0;
    }
}

}  // namespace

int abpSearchKey(AbpEntry* record, AbpTree* tree, int exact) {
    if (!tree->file) {
        KY_SetEngineErrorText("abpSearchKey");
        return kAbpErrNotOpen;
    }
    char key[kAbpKeyField];
    std::memcpy(key, record->key, kAbpKeyField - 1);
    key[kAbpKeyField - 1] = 0;
    if (!key[0]) {
        KY_SetEngineErrorText("abpSearchKey");
        return kAbpErrEmptyKey;
    }
    int code = NewLeafBuffer(tree);
    if (code)
        return code;
    // A key within the loaded leaf needs no descent.
    if (const AbpLeafKeys* k = LeafKeys(tree)) {
        size_t i = LowerBound(*k, key);
        AbpEntry entry;
        if (i < k->count && CompareText(k->key(i), key) == 0) {
            if ((code = DecodeAt(tree, *k, i, &entry)) != 0)
                return code;
            *record = entry;
            return 0;
        }
    } else if (tree->loadedPage > 0) {
        int32_t page = tree->loadedPage;
        tree->leafPage = page;
        tree->leafOffset = kAbpHeader;
        AbpEntry entry;
        if (AbpDecodeNext(tree, &entry) == 0 && CompareText(entry.key, key) <= 0) {
            tree->leafPage = page;
            tree->leafOffset = kAbpHeader;
            for (;;) {
                if (tree->leafPage != page || AbpDecodeNext(tree, &entry) != 0)
                    break;
                if (CompareText(tree->current, key) == 0) {
                    *record = entry;
                    return 0;
                }
            }
        }
    }
    int32_t leaf = 0;
    if ((code = Descend(tree, key, &leaf)) != 0)
        return code;
    return ScanFrom(tree, leaf, key, exact, record);
}

int abpFirstLeaf(AbpTree* tree) {
    if (!tree->file) {
        KY_SetEngineErrorText("abpFirstLeaf");
        return kAbpErrNotOpen;
    }
    int code = NewLeafBuffer(tree);
    int32_t leaf = 0;
    if (!code)
        code = Descend(tree, nullptr, &leaf);
    if (code)
        return code;
    tree->leafPage = leaf;
    tree->leafOffset = kAbpHeader;
    return 0;
}
