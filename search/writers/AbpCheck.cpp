// The checker of B+ tree index files: walks every page and occurrence list.
#include <set>

#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"

namespace {

struct LeafRef {
    uint32_t page;
    std::string lower, upper;  // keys in [lower, upper); upper empty: no bound
};

class Checker {
public:
    Checker(const std::string& bytes, int width) : bytes_(bytes), width_(width) {}

    std::string run(AbpCheckStats* stats) {
        if (bytes_.size() < 4096)
            return "file shorter than one page";
        pages_ = static_cast<uint32_t>(bytes_.size() / 4096);
        uint32_t flags = GetWord(bytes_, 2);
        positions_ = (flags & 0xFFFF) != 0;
        occurrences_ = (flags >> 16) & 1;
        std::vector<LeafRef> leaves;
        std::string fault = walkIndex(0, "", "", "", 1, &leaves);
        if (!fault.empty())
            return fault;
        areaStart_ = (*seen_.rbegin() + 1) * 4096u;
        for (size_t i = 0; i < leaves.size(); ++i) {
            uint32_t link = GetWord(bytes_, leaves[i].page * 4096 + 2);
            uint32_t expected = i + 1 < leaves.size() ? (0x80000000u | leaves[i + 1].page) : 0xFFFFFFFFu;
            if (link != expected)
                return at(leaves[i].page) + "leaf link does not follow the index order";
            if ((fault = walkLeaf(leaves[i], leaves.size() == 1)).empty())
                continue;
            return fault;
        }
        stats_.leaves = static_cast<long>(leaves.size());
        if (stats)
            *stats = stats_;
        return "";
    }

private:
    static std::string at(uint32_t page) { return "page " + std::to_string(page) + ": "; }

    size_t used(uint32_t page) const {
        return static_cast<unsigned char>(bytes_[page * 4096]) |
               (static_cast<unsigned char>(bytes_[page * 4096 + 1]) << 8);
    }

    std::string walkIndex(uint32_t page, const std::string& prefix, const std::string& lower, const std::string& upper,
                          int level, std::vector<LeafRef>* leaves) {
        if (level > 2)
            return at(page) + "more than three levels";
        stats_.levels = std::max(stats_.levels, level + 1);
        size_t end = 6 + used(page);
        if (end > 4096)
            return at(page) + "used bytes beyond the page";
        size_t off = 6;
        std::string previous = lower;
        std::string previousStored;
        bool last = false;
        while (off < end) {
            if (last)
                return at(page) + "entries after the empty key";
            if (off + 4 > end)
                return at(page) + "entry beyond used bytes";
            uint32_t child = GetWord(bytes_, page * 4096 + off);
            off += 4;
            size_t keyEnd = bytes_.find('\x40', page * 4096 + off);
            if (keyEnd == std::string::npos || keyEnd >= page * 4096 + end)
                return at(page) + "key without its end byte";
            std::string stored = bytes_.substr(page * 4096 + off, keyEnd - page * 4096 - off);
            off = keyEnd - page * 4096 + 1;
            last = stored.empty();
            std::string full = last ? upper : prefix + stored;
            if (!last && (full <= previous || (!upper.empty() && full > upper)))
                return at(page) + "index key \"" + full + "\" out of order";
            if (child == 0 || child >= pages_ || !seen_.insert(child).second)
                return at(page) + "child " + std::to_string(child) + " out of range or shared";
            bool leaf = (GetWord(bytes_, child * 4096 + 2) & 0x80000000u) != 0;
            if (leaf) {
                leaves->push_back({child, previous, full});
            } else {
                // The reader strips the common prefix of the chosen root key and the one before it.
                size_t common = 0;
                while (common < previousStored.size() && common < stored.size() &&
                       previousStored[common] == stored[common])
                    ++common;
                std::string fault = walkIndex(child, stored.substr(0, common), previous, full, level + 1, leaves);
                if (!fault.empty())
                    return fault;
            }
            previous = full;
            previousStored = stored;
        }
        return last ? "" : at(page) + "no entry takes the largest keys";
    }

    bool bits(size_t* bit, int n, uint32_t* value) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++*bit) {
            if (*bit / 8 >= bytes_.size())
                return false;
            v = (v << 1) | ((static_cast<unsigned char>(bytes_[*bit / 8]) >> (7 - *bit % 8)) & 1u);
        }
        *value = v;
        return true;
    }

    bool delta(size_t* bit, uint32_t* value) {
        uint32_t flag = 0;
        return bits(bit, 1, &flag) && bits(bit, flag ? width_ : 9, value);
    }

    std::string walkOccurrences(const std::string& key, uint32_t first, uint32_t count, uint32_t offset) {
        if (offset < areaStart_ || offset >= bytes_.size())
            return "key \"" + key + "\": occurrence offset outside the area";
        size_t bit = static_cast<size_t>(offset) * 8;
        uint64_t doc = 0, pos = 0;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t d = 0, p = 0;
            if (!delta(&bit, &d) || (positions_ && !delta(&bit, &p)))
                return "key \"" + key + "\": occurrences beyond the file";
            pos = (d ? 0 : pos) + p;
            doc += d;
            if (doc > 0x7FFFFFFF || pos > 0xFFFFFFFFu)
                return "key \"" + key + "\": occurrence out of range";
            if (i == 0 && doc != first)
                return "key \"" + key + "\": first document differs from the entry";
        }
        stats_.occurrences += count;
        return "";
    }

    std::string walkLeaf(const LeafRef& leaf, bool only) {
        size_t base = leaf.page * 4096;
        size_t end = 6 + used(leaf.page);
        if (end > 4096)
            return at(leaf.page) + "used bytes beyond the page";
        if (end == 6 && !only)
            return at(leaf.page) + "empty leaf";
        size_t valueSize = occurrences_ ? 12 : 4;
        std::string key;
        for (size_t off = 6; off < end;) {
            if (off + 2 > end)
                return at(leaf.page) + "entry beyond used bytes";
            size_t length = static_cast<unsigned char>(bytes_[base + off]);
            size_t prefix = static_cast<unsigned char>(bytes_[base + off + 1]);
            if (length < 2 || length > 128 || prefix > length - 1 || prefix > (off == 6 ? 0 : key.size()))
                return at(leaf.page) + "key or prefix length out of range";
            size_t rest = length - prefix - 1;
            if (off + 2 + rest + valueSize > end)
                return at(leaf.page) + "entry beyond used bytes";
            key = key.substr(0, prefix) + bytes_.substr(base + off + 2, rest);
            if (key <= lastKey_ && stats_.keys > 0)
                return at(leaf.page) + "key \"" + key + "\" out of order";
            if (key < leaf.lower || (!leaf.upper.empty() && key >= leaf.upper))
                return at(leaf.page) + "key \"" + key + "\" outside its index bounds";
            size_t values = base + off + 2 + rest;
            if (occurrences_) {
                std::string fault = walkOccurrences(key, GetWord(bytes_, values), GetWord(bytes_, values + 4),
                                                    GetWord(bytes_, values + 8));
                if (!fault.empty())
                    return fault;
            }
            lastKey_ = key;
            ++stats_.keys;
            off += 2 + rest + valueSize;
        }
        return "";
    }

    const std::string& bytes_;
    int width_;
    uint32_t pages_ = 0;
    uint32_t areaStart_ = 0;  // the first byte after the pages
    bool positions_ = false, occurrences_ = false;
    std::set<uint32_t> seen_;
    std::string lastKey_;
    AbpCheckStats stats_;
};

}  // namespace

std::string AbpCheckTree(const std::string& path, int width, AbpCheckStats* stats) {
    std::string bytes;
    if (!LoadFile(path, &bytes))
        return "cannot read " + path;
    return Checker(bytes, width).run(stats);
}
