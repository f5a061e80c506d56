// B+ tree index files: key search by descent and the start of a sequential scan.
#include <algorithm>
#include <cstring>
#include <new>

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/trees/AbpInternal.h"

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

// CompareText for texts equal before from; *same becomes the bytes they share.
int CompareFrom(const char* a, const char* b, int from, int* same) {
    int i = from;
    while (a[i] == b[i] && a[i])
        ++i;
    *same = i;
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    return x < y ? -1 : x > y ? 1 : 0;
}

int CommonPrefix(const IndexEntry& a, const IndexEntry& b) {
    int n = 0;
    while (n < a.length && n < b.length && a.key[n] == b.key[n])
        ++n;
    return n;
}

// CompareText for a key of length bytes that need not end with a zero.
int CompareKey(const uint8_t* key, int length, const char* text) {
    for (int i = 0;; ++i) {
        unsigned char x = i < length ? key[i] : 0, y = static_cast<unsigned char>(text[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (!y)
            return 0;
    }
}

void TakeEntry(const uint8_t* buffer, int at, int length, IndexEntry* entry) {
    entry->child = static_cast<int32_t>(AbpWord(buffer + at));
    for (int i = 0; i < length; ++i)
        entry->key[i] = static_cast<char>(buffer[at + 4 + i]);
    entry->key[length] = 0;
    entry->length = length;
}

// The entries of an index page (widened in buffer) in order, up to the used
// bytes' end or the first damage met.
void ParseIndexPage(const uint8_t* buffer, AbpIndexPage* p) {
    int end = kAbpHeader + AbpUsed(buffer), off = kAbpHeader;
    int lastAt = -1, lastLength = 0;
    while (off < end) {
        if (off + 4 > end) {
            p->damage = "index entry beyond used bytes";
            return;
        }
        int at = off, length = 0;
        off += 4;
        while (off < end && buffer[off] != 0x40 && length <= kAbpMaxKey) {
            ++length;
            ++off;
        }
        if (off >= end || length > kAbpMaxKey) {
            p->damage = "index key without its end byte";
            return;
        }
        ++off;
        if (length == 0) {
            if (p->firstEmpty < 0)
                p->firstEmpty = static_cast<int32_t>(p->at.size());
        } else if (p->firstEmpty < 0 && p->rising) {
            // A zero byte inside a key ends it for the comparison: such a page is walked.
            const uint8_t* key = buffer + at + 4;
            if (std::memchr(key, 0, static_cast<size_t>(length))) {
                p->rising = false;
            } else if (lastAt >= 0) {
                int c = std::memcmp(buffer + lastAt + 4, key, static_cast<size_t>(std::min(lastLength, length)));
                p->rising = c < 0 || (c == 0 && lastLength <= length);
            }
            lastAt = at;
            lastLength = length;
        }
        p->at.push_back(at);
        p->length.push_back(length);
    }
}

// The entries of index page number (widened in page), not kept yet: found
// and kept, else found in scratch when no more pages are kept.
const AbpIndexPage* FindIndexPage(AbpTree* tree, int32_t number, const uint8_t* page, AbpIndexPage* scratch) {
    if (!tree->indexPages) {
        tree->indexPages = new AbpIndexPages;
        tree->indexPages->pages.reserve(AbpIndexPages::kMost);
    }
    std::vector<AbpIndexPage>& pages = tree->indexPages->pages;
    AbpIndexPage* p = scratch;
    if (pages.size() < AbpIndexPages::kMost) {
        pages.emplace_back();
        p = &pages.back();
        if (page != tree->root)
            p->bytes.assign(page, page + kAbpBufferSize);
    }
    p->page = number;
    ParseIndexPage(page, p);
    return p;
}

// The kept index page number, or null.
const AbpIndexPage* KeptIndexPage(const AbpTree* tree, int32_t number) {
    if (tree->indexPages)
        for (const AbpIndexPage& p : tree->indexPages->pages)
            if (p.page == number)
                return &p;
    return nullptr;
}

// Chooses the child of an index page for the reduced key: the first entry
// whose key is above it or empty, by halves where the keys rise. Only the
// chosen entry and the one before it are copied out.
int ChooseIn(const AbpIndexPage& p, const uint8_t* buffer, const char* reduced, IndexEntry* previous,
             IndexEntry* current) {
    const int32_t count = static_cast<int32_t>(p.at.size());
    const int32_t limit = p.firstEmpty >= 0 ? p.firstEmpty : count;
    auto above = [&](int32_t i) { return CompareKey(buffer + p.at[i] + 4, p.length[i], reduced) > 0; };
    int32_t i = 0;
    if (p.rising) {
        int32_t hi = limit;
        while (i < hi) {
            int32_t mid = i + (hi - i) / 2;
            if (above(mid))
                hi = mid;
            else
                i = mid + 1;
        }
    } else {
        while (i < limit && !above(i))
            ++i;
    }
    if (i >= count)
        return AbpDamaged(p.page, p.damage ? p.damage : "no entry takes the largest keys");
    if (i > 0)
        TakeEntry(buffer, p.at[i - 1], p.length[i - 1], previous);
    else
        *previous = *current;
    TakeEntry(buffer, p.at[i], p.length[i], current);
    return 0;
}

int NewLeafBuffer(AbpTree* tree) {
    if (!tree->leaf && !(tree->leaf = static_cast<uint8_t*>(KY_Calloc(1, kAbpBufferSize)))) {
        KY_SetEngineErrorText("leaf page");
        return kAbpErrMemory;
    }
    return 0;
}

// Follows children from the root to a leaf: the chosen child, or the first one.
int DescendFrom(AbpTree* tree, const char* key, int32_t* leaf) {
    char prefix[kAbpKeyField] = "";
    int prefixLength = 0;
    IndexEntry previous{}, current{};
    const uint8_t* page = tree->root;
    int32_t pageNumber = 0;
    const AbpIndexPage* kept = KeptIndexPage(tree, 0);
    for (int depth = 0;; ++depth) {
        if (depth == kMaxDepth)
            return AbpDamaged(pageNumber, "index levels too deep");
        int code = 0;
        if (key) {
            int same = 0;
            while (same < prefixLength && key[same] == prefix[same])
                ++same;
            AbpIndexPage scratch;
            const AbpIndexPage* entries = kept ? kept : FindIndexPage(tree, pageNumber, page, &scratch);
            code = ChooseIn(*entries, page, key + same, &previous, &current);
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
        // The root is the tree's own page, never a child: a kept child holds its bytes.
        if ((kept = KeptIndexPage(tree, current.child)) != nullptr) {
            pageNumber = current.child;
            page = kept->bytes.data();
            continue;
        }
        // The loaded leaf is read again only when another page is wanted.
        if (current.child == tree->loadedPage) {
            *leaf = current.child;
            return 0;
        }
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

int Descend(AbpTree* tree, const char* key, int32_t* leaf) {
    try {
        return DescendFrom(tree, key, leaf);
    } catch (const std::bad_alloc&) {
        KY_SetEngineErrorText("index page");
        return kAbpErrMemory;
    }
}

// The keys of the loaded leaf, decoded once for all the searches that land
// there: decoding the leaf from its start at each search was most of a rare
// word's lookup. Decoded up to the first key not below key (a null key: all of
// them), the rest when a later search needs it: a word seen once pays half a
// leaf. Null when the leaf does not decode that far (the scan then says why).
const AbpLeafKeys* LeafKeys(AbpTree* tree, const char* key) {
    if (tree->loadedPage <= 0)
        return nullptr;
    if (!tree->keys && !(tree->keys = new (std::nothrow) AbpLeafKeys))
        return nullptr;
    AbpLeafKeys& k = *tree->keys;
    if (k.page != tree->loadedPage) {
        k.page = tree->loadedPage;
        k.count = 0;
        k.next = kAbpHeader;
        k.previous = 0;
        k.used = 0;
        k.complete = k.damaged = false;
    }
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
    int32_t* offsets = k.offsets.data();
    int32_t* at = k.at.data();
    // The state in locals: the key bytes written would make the compiler
    // read it again from memory at each byte.
    size_t count = k.count, used = k.used;
    int next = k.next, previous = k.previous;
    bool complete = k.complete, damaged = k.damaged;
    // While the keys are below key, same is what the last one shares with it:
    // a key sharing more with that one is below key too, uncompared.
    int same = 0;
    bool below = true;
    if (key && count)
        below = CompareFrom(text + at[count - 1], key, 0, &same) < 0;
    while (!damaged && !complete && (!key || below)) {
        int off = next;
        if (off >= end) {
            complete = true;
            break;
        }
        int length = off + 2 <= end && count < most ? page[off] : 0, prefix = length ? page[off + 1] : 0;
        int rest = length - prefix - 1;
        if (length < 1 || length > kAbpMaxKey + 1 || prefix > length - 1 || prefix > previous ||
            off + 2 + rest + valueSize > end) {
            damaged = true;
            break;
        }
        // Byte loops: keys are short, and a block copy's set-up cost more.
        char* entry = text + used;
        const char* last = text + (count ? at[count - 1] : 0);
        for (int i = 0; i < prefix; ++i)
            entry[i] = last[i];
        const uint8_t* from = page + off + 2;
        for (int i = 0; i < rest; ++i)
            entry[prefix + i] = static_cast<char>(from[i]);
        entry[length - 1] = 0;
        if (key && prefix <= same)
            below = CompareFrom(entry, key, prefix, &same) < 0;
        offsets[count] = off;
        at[count] = static_cast<int32_t>(used);
        ++count;
        used += static_cast<size_t>(length);
        previous = length - 1;
        next = off + 2 + rest + valueSize;
    }
    k.count = count;
    k.used = used;
    k.next = next;
    k.previous = previous;
    k.complete = complete;
    k.damaged = damaged;
    return k.damaged ? nullptr : &k;
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

// Places the scan of the loaded leaf on its first key not below key, or past
// its last one, comparing the keys' bytes where they lie: a key sharing more
// with the one before than that one shares with key falls on the same side of
// it. The key before the one placed on is not built; the bytes the next entry
// takes from it are key's. False where the leaf's entries do not decode.
bool SkimTo(AbpTree* tree, const char* key) {
    const uint8_t* page = tree->leaf;
    const int end = kAbpHeader + AbpUsed(page), valueSize = (tree->format & 1) ? 12 : 4;
    int off = kAbpHeader, previous = 0, same = 0;
    while (off < end) {
        if (off + 2 > end)
            return false;
        int length = page[off], prefix = page[off + 1], rest = length - prefix - 1;
        if (length < 1 || length > kAbpMaxKey + 1 || prefix > length - 1 || prefix > previous ||
            off + 2 + rest + valueSize > end)
            return false;
        if (off == kAbpHeader || prefix <= same) {
            if (prefix < same)
                break;  // above key where the one before met it
            const uint8_t* from = page + off + 2;
            int m = prefix;
            while (m < prefix + rest && key[m] && from[m - prefix] == static_cast<uint8_t>(key[m]))
                ++m;
            if (m == prefix + rest ? !key[m] : !key[m] || from[m - prefix] > static_cast<uint8_t>(key[m]))
                break;  // key itself, or above it
            same = m;
        }
        previous = length - 1;
        off += 2 + rest + valueSize;
    }
    std::memcpy(tree->current, key, static_cast<size_t>(same));
    tree->currentLength = previous + 1;
    tree->leafOffset = off;
    return true;
}

// Scans the loaded leaf from its start for the first key not below key.
int ScanFrom(AbpTree* tree, int32_t leaf, const char* key, int exact, AbpEntry* record) {
    tree->leafPage = leaf;
    tree->leafOffset = kAbpHeader;
    AbpEntry entry;
    // A leaf searched once is skimmed; searched again, its keys are decoded
    // for the searches that follow there.
    bool skimmed = false;
    if (tree->loadedPage == leaf && (!tree->keys || tree->keys->skimmed != leaf)) {
        if (!tree->keys && !(tree->keys = new (std::nothrow) AbpLeafKeys)) {
            KY_SetEngineErrorText("leaf keys");
            return kAbpErrMemory;
        }
        skimmed = SkimTo(tree, key);
        if (skimmed)
            tree->keys->skimmed = leaf;
        else
            tree->leafOffset = kAbpHeader;
    }
    // The scan starts at the first key not below key, or at the last one,
    // past which it goes on in the next leaf.
    const AbpLeafKeys* k = !skimmed && tree->loadedPage == leaf ? LeafKeys(tree, key) : nullptr;
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
    // A key within the loaded leaf's keys decoded so far needs no descent;
    // decoding the rest of another word's leaf to learn that it is not there
    // cost more than the descent.
    const AbpLeafKeys* k = tree->loadedPage > 0 && tree->keys && tree->keys->page == tree->loadedPage ? tree->keys
                                                                                                       : nullptr;
    if (k && !k->damaged && (k->complete || (k->count && CompareText(k->key(k->count - 1), key) >= 0))) {
        size_t i = LowerBound(*k, key);
        AbpEntry entry;
        if (i < k->count && CompareText(k->key(i), key) == 0) {
            if ((code = DecodeAt(tree, *k, i, &entry)) != 0)
                return code;
            *record = entry;
            return 0;
        }
    } else if (k && k->damaged) {
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
