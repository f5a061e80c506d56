// Writes B+ tree index files: leaves, one or two index levels, the occurrence area.
#include "search/writers/AbpWriter.h"

#include <algorithm>
#include <utility>

#include "search/engine/trees/KyAbp.h"
#include "search/writers/FileImage.h"

// Pages: root 0, leaves 1..n, middle index pages n+1..n+m (only when the root
// cannot hold a separator per leaf), then the occurrence area padded by one large
// block so that a block read never comes short. A middle page's keys are stored
// without the common prefix of the two root keys around its entry.

namespace {

const int kEntriesRoom = kAbpPageSize - 6;
const int kPadding = 5120;

struct Leaf {
    size_t first, end;      // keys [first, end)
    std::string separator;  // upper bound; empty for the last leaf
};

struct IndexItem {
    uint32_t child;
    std::string key;
};

size_t Common(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

std::string Page(uint32_t link, const std::string& entries) {
    std::string page;
    page.push_back(static_cast<char>(entries.size() & 0xFF));
    page.push_back(static_cast<char>(entries.size() >> 8));
    PutWord(&page, link);
    page += entries;
    page.resize(kAbpPageSize, '\0');
    return page;
}

std::string IndexEntries(const std::vector<IndexItem>& items) {
    std::string out;
    for (const IndexItem& item : items) {
        PutWord(&out, item.child);
        out += item.key;
        out.push_back('\x40');
    }
    return out;
}

size_t IndexSize(const std::string& key) {
    return 4 + key.size() + 1;
}

std::string EncodeOccurrences(const AbpKeyItem& item, const AbpTreeOptions& options, std::string* error) {
    BitWriter bits;
    uint32_t prevDoc = 0, prevPos = 0;
    auto put = [&](uint64_t delta) {
        if (delta < 256) {
            bits.put(1, 0);
            bits.put(9, static_cast<uint32_t>(delta));
        } else if (options.width >= 32 || delta < (uint64_t(1) << options.width)) {
            bits.put(1, 1);
            bits.put(options.width, static_cast<uint32_t>(delta));
        } else {
            *error = "key \"" + item.key + "\": delta wider than the occurrence width";
        }
    };
    for (const AbpOcc& o : item.occ) {
        if (o.doc < prevDoc || o.doc > 0x7FFFFFFF) {
            *error = "key \"" + item.key + "\": documents out of order";
            return "";
        }
        uint32_t base = o.doc == prevDoc ? prevPos : 0;
        put(o.doc - prevDoc);
        if (options.positions) {
            if (o.pos < base || (o.doc == prevDoc && &o != &item.occ[0] && o.pos == base)) {
                *error = "key \"" + item.key + "\": positions out of order";
                return "";
            }
            put(o.pos - base);
        }
        prevDoc = o.doc;
        prevPos = o.pos;
    }
    return bits.bytes();
}

// The leaves' separators: the next leaf's first key cut after its first byte
// that differs from this leaf's last key, whole when the first bytes differ.
std::string Separator(const std::string& last, const std::string& next) {
    size_t d = Common(last, next);
    return d == 0 ? next : next.substr(0, std::min(next.size(), d + 1));
}

}  // namespace

int AbpDeltaBits(uint32_t delta, int width) {
    return delta < 256 ? 10 : 1 + width;
}

std::string AbpWriteTree(const std::string& path, const std::vector<AbpKeyItem>& keys, const AbpTreeOptions& options) {
    std::string image;
    std::string why = AbpTreeImage(keys, options, &image);
    return why.empty() ? SaveFileReplacing(path, image) : why;
}

std::string AbpTreeImage(const std::vector<AbpKeyItem>& input, const AbpTreeOptions& options, std::string* out) {
    if (options.width < 1 || options.width > 32)
        return "occurrence width out of range";
    std::vector<std::string> keys;
    keys.reserve(input.size());
    for (const AbpKeyItem& item : input) {
        std::string key = item.key.substr(0, kAbpMaxKey);
        if (key.empty() || key.find('\0') != std::string::npos || key.find('\x40') != std::string::npos)
            return "key \"" + key + "\": empty or holding byte 0 or 0x40";
        if (!keys.empty() && !(keys.back() < key))
            return "key \"" + key + "\": not above the key before it";
        keys.push_back(key);
    }
    // Occurrence area, offsets relative to its start for now.
    std::string area;
    std::vector<uint32_t> areaOffsets(input.size(), 0);
    if (options.occurrences) {
        for (size_t i = 0; i < input.size(); ++i) {
            std::string error;
            std::string bytes = EncodeOccurrences(input[i], options, &error);
            if (!error.empty())
                return error;
            areaOffsets[i] = static_cast<uint32_t>(area.size());
            area += bytes;
        }
    }
    // Leaves, filled while (stored key bytes + 14) + used + 8 stays below a page.
    const size_t valueSize = options.occurrences ? 12 : 4;
    std::vector<Leaf> leaves{{0, 0, ""}};
    size_t used = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        Leaf& leaf = leaves.back();
        size_t prefix = leaf.end > leaf.first ? std::min<size_t>(Common(keys[i - 1], keys[i]), 255) : 0;
        size_t stored = keys[i].size() - prefix;
        if (leaf.end > leaf.first && stored + 14 + used + 8 >= kAbpPageSize) {
            leaf.separator = Separator(keys[i - 1], keys[i]);
            leaves.push_back({i, i, ""});
            used = 0;
            prefix = 0;
            stored = keys[i].size();
        }
        leaves.back().end = i + 1;
        used += 2 + stored + valueSize;
    }
    const uint32_t n = static_cast<uint32_t>(leaves.size());
    // Index levels: the root over the leaves, or over middle pages over the leaves.
    std::vector<IndexItem> rootItems;
    std::vector<std::vector<IndexItem>> middles;
    size_t direct = 0;
    for (const Leaf& leaf : leaves)
        direct += IndexSize(leaf.separator);
    if (direct <= static_cast<size_t>(kEntriesRoom)) {
        for (uint32_t i = 0; i < n; ++i)
            rootItems.push_back({1 + i, leaves[i].separator});
    } else {
        std::vector<std::string> bounds;
        size_t size = 0;
        for (uint32_t i = 0; i < n; ++i) {
            if (middles.empty() || size + IndexSize(leaves[i].separator) > static_cast<size_t>(kEntriesRoom)) {
                middles.emplace_back();
                size = 0;
            }
            middles.back().push_back({1 + i, leaves[i].separator});
            size += IndexSize(leaves[i].separator);
        }
        size_t rootSize = 0;
        for (size_t j = 0; j < middles.size(); ++j) {
            std::string bound = middles[j].back().key;
            middles[j].back().key.clear();
            std::string before = j ? rootItems.back().key : std::string();
            size_t strip = Common(before, bound);
            for (IndexItem& item : middles[j])
                if (!item.key.empty())
                    item.key.erase(0, strip);
            rootItems.push_back({1 + n + static_cast<uint32_t>(j), bound});
            rootSize += IndexSize(bound);
        }
        if (rootSize > static_cast<size_t>(kEntriesRoom))
            return "too many keys for three levels";
    }
    const uint32_t pages = 1 + n + static_cast<uint32_t>(middles.size());
    const uint32_t areaStart = pages * kAbpPageSize;
    if (static_cast<uint64_t>(areaStart) + area.size() > 0x7FFFFFFF)
        return "tree larger than 2 GB";
    std::string image;
    image.reserve(areaStart + area.size() + kPadding);
    uint32_t flags = (options.positions ? 1u : 0u) | (options.occurrences ? 0x10000u : 0u);
    image += Page(flags, IndexEntries(rootItems));
    for (uint32_t l = 0; l < n; ++l) {
        std::string entries;
        for (size_t i = leaves[l].first; i < leaves[l].end; ++i) {
            size_t prefix = i > leaves[l].first ? std::min<size_t>(Common(keys[i - 1], keys[i]), 255) : 0;
            entries.push_back(static_cast<char>(keys[i].size() + 1));
            entries.push_back(static_cast<char>(prefix));
            entries.append(keys[i], prefix, std::string::npos);
            if (options.occurrences) {
                PutWord(&entries, input[i].occ.empty() ? 0 : input[i].occ[0].doc);
                PutWord(&entries, static_cast<uint32_t>(input[i].occ.size()));
                PutWord(&entries, areaStart + areaOffsets[i]);
            } else {
                PutWord(&entries, static_cast<uint32_t>(input[i].value));
            }
        }
        image += Page(l + 1 < n ? (0x80000000u | (l + 2)) : 0xFFFFFFFFu, entries);
    }
    for (const std::vector<IndexItem>& middle : middles)
        image += Page(0, IndexEntries(middle));
    image += area;
    image.append(kPadding, '\0');
    *out = std::move(image);
    return "";
}
