// B+ tree index files: written trees read back through search and scan, edge
// keys, occurrence coding and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <utility>

#include "search/engine/trees/AbpOccMarks.h"
#include "search/engine/trees/KyAbp.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

// Keys "w" + zero-padded number + a tail that varies their lengths and shared prefixes.
std::vector<AbpKeyItem> MakeKeys(size_t n, bool occurrences) {
    std::vector<AbpKeyItem> keys;
    std::mt19937 rng(static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "w%08u%.*s", static_cast<unsigned>(i * 7), static_cast<int>(i % 13),
                      "abcdefghijklm");
        AbpKeyItem item;
        item.key = text;
        item.value = static_cast<int32_t>(i * 3);
        if (occurrences) {
            uint32_t doc = static_cast<uint32_t>(rng() % 300);
            for (size_t k = 0; k < 1 + i % 5; ++k) {
                doc += (k % 3 == 2) ? 70000 : static_cast<uint32_t>(rng() % 3);
                uint32_t pos = item.occ.empty() || item.occ.back().doc != doc ? 0 : item.occ.back().pos;
                item.occ.push_back({doc, pos + 1 + static_cast<uint32_t>(rng() % 400) * (k % 2 ? 0x10000 : 1)});
            }
        }
        keys.push_back(item);
    }
    return keys;
}

void SetKey(AbpEntry* e, const std::string& key) {
    std::memset(e, 0, sizeof *e);
    std::memcpy(e->key, key.data(), std::min(key.size(), sizeof e->key - 1));
}

std::string Occurrences(AbpTree* tree) {
    std::string out;
    AbpEntry e;
    int code;
    while ((code = abpNextKey(tree, &e, 1)) == 0)
        out += std::to_string(e.values[0]) + "/" + std::to_string(e.values[1]) + " ";
    return out + std::to_string(code);
}

std::string Expected(const AbpKeyItem& item, bool positions) {
    std::string out;
    for (const AbpOcc& o : item.occ)
        out += std::to_string(o.doc) + "/" + std::to_string(positions ? o.pos : 0) + " ";
    return out + "8";
}

const int kWidth = 20;

}  // namespace

TEST(Abp, WrittenTreesReadBackBySearchAndScan) {
    struct Row {
        size_t count;
        bool occurrences, positions;
        int levels;
    } rows[] = {
        {0, true, false, 2},   {1, false, false, 2},     {500, true, false, 2},
        {3000, true, true, 2}, {200000, true, false, 3},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.count << " keys, occ " << row.occurrences << " pos " << row.positions);
        std::vector<AbpKeyItem> keys = MakeKeys(row.count, row.occurrences);
        AbpTreeOptions options;
        options.occurrences = row.occurrences;
        options.positions = row.positions;
        options.width = row.positions ? 32 : kWidth;
        std::string path = folder.path("t.abp");
        ASSERT_EQ("", AbpWriteTree(path, keys, options));
        AbpCheckStats stats;
        ASSERT_EQ("", AbpCheckTree(path, options.width, &stats));
        EXPECT_EQ(row.levels, stats.levels);
        EXPECT_EQ(static_cast<long>(row.count), stats.keys);
        OpenSpecOf spec(path);
        AbpTree tree{};
        abpSetWidth(&tree, row.positions ? 0x7FFFFFFF : (1u << (kWidth - 1)) - 1);
        ASSERT_EQ(0, abpOpen(spec.get(), &tree, row.occurrences, row.positions));
        // Scan in order.
        ASSERT_EQ(0, abpFirstLeaf(&tree));
        AbpEntry e;
        for (size_t i = 0; i < keys.size(); ++i) {
            ASSERT_EQ(0, abpNextKey(&tree, &e, 0)) << i;
            ASSERT_EQ(keys[i].key, e.key);
            if (row.occurrences) {
                ASSERT_EQ(static_cast<int32_t>(keys[i].occ.size()), e.values[1]);
                if (i % 97 == 0) {
                    ASSERT_EQ(Expected(keys[i], row.positions), Occurrences(&tree)) << keys[i].key;
                }
            } else {
                ASSERT_EQ(keys[i].value, e.values[0]);
            }
        }
        EXPECT_EQ(kAbpEndOfKeys, abpNextKey(&tree, &e, 0));
        EXPECT_EQ(kAbpEndOfKeys, abpNextKey(&tree, &e, 0));
        // Search every key in order, then a random sample, then missing keys.
        std::mt19937 rng(1);
        for (size_t n = 0; n < keys.size() + 2000 && !keys.empty(); ++n) {
            size_t i = n < keys.size() ? n : rng() % keys.size();
            SetKey(&e, keys[i].key);
            ASSERT_EQ(0, abpSearchKey(&e, &tree, 1)) << keys[i].key;
            ASSERT_EQ(keys[i].key, e.key);
            if (row.occurrences && n % 211 == 0) {
                ASSERT_EQ(Expected(keys[i], row.positions), Occurrences(&tree)) << keys[i].key;
            }
            SetKey(&e, keys[i].key + "!");
            int code = abpSearchKey(&e, &tree, 1);
            ASSERT_TRUE(code == kAbpErrNotFound || (i + 1 == keys.size() && code == kAbpEndOfKeys)) << code;
            // A search for the next key goes on with a scan from it, in its leaf or the next.
            if (n % 5 == 0 && i + 1 < keys.size()) {
                SetKey(&e, keys[i].key + "!");
                ASSERT_EQ(0, abpSearchKey(&e, &tree, 0)) << keys[i].key;
                ASSERT_EQ(keys[i + 1].key, e.key);
                if (row.occurrences) {
                    ASSERT_EQ(Expected(keys[i + 1], row.positions), Occurrences(&tree)) << keys[i + 1].key;
                }
                code = abpNextKey(&tree, &e, 0);
                if (i + 2 < keys.size()) {
                    ASSERT_EQ(0, code);
                    ASSERT_EQ(keys[i + 2].key, e.key);
                } else {
                    ASSERT_EQ(kAbpEndOfKeys, code);
                }
            }
        }
        // Searches alternating between the two halves land in a leaf other
        // than the last one searched: each finds its key among undecoded ones.
        for (size_t n = 0; n + 1 < keys.size() / 2; n += 3) {
            for (size_t i : {n, keys.size() / 2 + n}) {
                SetKey(&e, keys[i].key);
                ASSERT_EQ(0, abpSearchKey(&e, &tree, 1)) << keys[i].key;
                ASSERT_EQ(keys[i].key, e.key);
                SetKey(&e, keys[i + 1].key + "!");
                int code = abpSearchKey(&e, &tree, 0);
                if (i + 2 < keys.size()) {
                    ASSERT_EQ(0, code) << keys[i + 1].key;
                    ASSERT_EQ(keys[i + 2].key, e.key);
                } else {
                    ASSERT_EQ(kAbpEndOfKeys, code);
                }
            }
        }
        EXPECT_EQ(0, abpClose(&tree));
    }
}

TEST(Abp, EdgeKeysAndStates) {
    TempFolder folder;
    std::string path = folder.path("e.abp");
    std::string k127(127, 'm'), k130 = std::string(127, 'p') + "xyz";
    std::vector<AbpKeyItem> keys(4);
    keys[0].key = "dog";
    keys[1].key = "dogs";
    keys[2].key = k127;
    keys[3].key = k130;
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i].value = static_cast<int32_t>(10 + i);
    AbpTreeOptions options;
    options.occurrences = false;
    ASSERT_EQ("", AbpWriteTree(path, keys, options));
    ASSERT_EQ("", AbpCheckTree(path, kWidth, nullptr));
    OpenSpecOf spec(path);
    AbpTree tree{};
    EXPECT_EQ(kAbpErrNoOcc, abpOpen(spec.get(), &tree, 1, 0));
    EXPECT_EQ(kAbpErrNoPositions, abpOpen(spec.get(), &tree, 0, 1));
    ASSERT_EQ(0, abpOpen(spec.get(), &tree, 0, 0));
    EXPECT_EQ(kAbpErrAlreadyOpen, abpOpen(spec.get(), &tree, 0, 0));
    struct Row {
        std::string key;
        int exact;
        int code;
        std::string found;
    } rows[] = {
        {"dog", 1, 0, "dog"},
        {"do", 1, kAbpErrNotFound, ""},
        {"do", 0, 0, "dog"},
        {"a", 1, kAbpErrNotFound, ""},
        {"dogr", 0, 0, "dogs"},
        {k127, 1, 0, k127},
        {k130.substr(0, 127), 1, 0, k130.substr(0, 127)},
        {k130, 1, kAbpEndOfKeys, ""},
        {"zz", 0, kAbpEndOfKeys, ""},
        {"", 1, kAbpErrEmptyKey, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key + " exact " + std::to_string(row.exact));
        AbpEntry e;
        SetKey(&e, row.key);
        EXPECT_EQ(row.code, abpSearchKey(&e, &tree, row.exact));
        if (row.code == 0) {
            EXPECT_EQ(row.found, e.key);
        }
    }
    AbpEntry e;
    SetKey(&e, k130.substr(0, 127));
    ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(kAbpEndOfKeys, abpNextKey(&tree, &e, 0));
    EXPECT_EQ(kAbpEndOfOcc, abpNextKey(&tree, &e, 1));
    EXPECT_EQ(0, abpClose(&tree));
    EXPECT_EQ(kAbpErrNotOpen, abpClose(&tree));
}

// Occurrences read many at a time are those read one at a time, across the
// blocks of a long list, narrow and wide deltas, with and without positions;
// read as documents alone, their documents.
TEST(Abp, OccurrencesReadByBlocksAreThoseReadOneByOne) {
    struct Row {
        const char* name;
        bool positions;
        size_t count;
        int most;
        int width = 32;
    } rows[] = {
        {"short, documents", false, 40, 7},
        {"long, documents", false, 6000, 256},
        {"long, positions", true, 6000, 7},
        {"long, positions, one at a time", true, 3000, 1},
        {"long, positions, 24-bit deltas", true, 6000, 64, 24},
        {"long, documents, 13-bit deltas", false, 6000, 300, 13},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::mt19937 rng(static_cast<uint32_t>(row.count));
        std::vector<AbpKeyItem> keys(3);
        for (size_t k = 0; k < keys.size(); ++k) {
            keys[k].key = std::string("key") + char('a' + k);
            uint32_t doc = 0, pos = 0;
            for (size_t i = 0; i < row.count; ++i) {
                uint32_t step = rng() % 4 == 0 ? 300 + rng() % 5000 : rng() % 3;
                doc += step;
                pos = (step ? 0 : pos) + 1 + (rng() % 2 ? rng() % 200 : rng() % 90000);
                keys[k].occ.push_back({doc, pos});
            }
        }
        AbpTreeOptions options;
        options.occurrences = true;
        options.positions = row.positions;
        options.width = row.width;
        std::string path = folder.path("b.abp");
        ASSERT_EQ("", AbpWriteTree(path, keys, options));
        OpenSpecOf spec(path);
        AbpTree tree{};
        abpSetWidth(&tree, static_cast<uint32_t>((uint64_t(1) << (row.width - 1)) - 1));
        ASSERT_EQ(0, abpOpen(spec.get(), &tree, 1, row.positions));
        for (const AbpKeyItem& key : keys) {
            AbpEntry e;
            SetKey(&e, key.key);
            ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
            std::string one = Occurrences(&tree);
            EXPECT_EQ(Expected(key, row.positions), one);
            ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
            std::string many;
            std::vector<int32_t> docs(static_cast<size_t>(row.most)), positions(docs.size());
            int got = 0, code;
            while ((code = abpNextOccurrences(&tree, docs.data(), positions.data(), row.most, &got)) == 0) {
                ASSERT_GT(got, 0);
                for (int i = 0; i < got; ++i)
                    many += std::to_string(docs[i]) + "/" + std::to_string(positions[i]) + " ";
            }
            EXPECT_EQ(0, got);
            EXPECT_EQ(one, many + std::to_string(code));
            // Documents alone: those of the occurrences, in turn, a document's
            // following occurrences giving it at least once.
            ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
            std::string documents, expected;
            int64_t last = -1;
            for (const AbpOcc& o : key.occ)
                if (int64_t(o.doc) != std::exchange(last, int64_t(o.doc)))
                    expected += std::to_string(o.doc) + " ";
            last = -1;
            size_t elements = 0;
            while ((code = abpNextDocuments(&tree, docs.data(), positions.data(), row.most, &got)) == 0) {
                ASSERT_GT(got, 0);
                elements += static_cast<size_t>(got);
                for (int i = 0; i < got; ++i)
                    if (docs[i] != std::exchange(last, int64_t(docs[i])))
                        documents += std::to_string(docs[i]) + " ";
            }
            EXPECT_EQ(expected + "8", documents + std::to_string(code));
            // A document's following occurrences are not each an element
            // (one at a time, each call gives one).
            size_t distinct = static_cast<size_t>(std::count(expected.begin(), expected.end(), ' '));
            if (row.most > 1) {
                EXPECT_LT(elements, key.occ.size() - (key.occ.size() - distinct) / 2);
            }
        }
        EXPECT_EQ(0, abpClose(&tree));
    }
}

TEST(Abp, OccurrenceDeltasTakeTheirWidth) {
    struct Row {
        uint32_t delta;
        int bits;
    } rows[] = {{0, 10}, {255, 10}, {256, 1 + kWidth}, {70000, 1 + kWidth}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.delta);
        EXPECT_EQ(row.bits, AbpDeltaBits(row.delta, kWidth));
    }
    EXPECT_EQ(kWidth, abpWidthOf((1u << (kWidth - 1)) - 1));
    AbpTree tree{};
    EXPECT_EQ(0, abpSetWidth(&tree, 1000));
    EXPECT_EQ(1 << 10, abpSetWidth(&tree, 3));
    // A delta the width cannot hold is refused, not cut.
    std::vector<AbpKeyItem> keys(1);
    keys[0].key = "k";
    keys[0].occ = {{1u << kWidth, 0}};
    AbpTreeOptions options;
    options.width = kWidth;
    TempFolder folder;
    EXPECT_NE("", AbpWriteTree(folder.path("w.abp"), keys, options));
    keys[0].occ = {{255, 0}, {511, 0}, {(1u << kWidth) - 1, 0}};
    ASSERT_EQ("", AbpWriteTree(folder.path("w.abp"), keys, options));
    OpenSpecOf spec(folder.path("w.abp"));
    abpSetWidth(&tree, (1u << (kWidth - 1)) - 1);
    ASSERT_EQ(0, abpOpen(spec.get(), &tree, 1, 0));
    AbpEntry e;
    SetKey(&e, "k");
    ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
    EXPECT_EQ("255/0 511/0 " + std::to_string((1u << kWidth) - 1) + "/0 8", Occurrences(&tree));
    EXPECT_EQ(0, abpClose(&tree));
}

TEST(Abp, DamagedTreesAnswerWithACode) {
    TempFolder folder;
    std::string path = folder.path("good.abp");
    std::vector<AbpKeyItem> keys = MakeKeys(3000, true);
    AbpTreeOptions options;
    options.width = kWidth;
    ASSERT_EQ("", AbpWriteTree(path, keys, options));
    std::string good;
    ASSERT_TRUE(LoadFile(path, &good));
    std::mt19937 rng(7);
    int opened = 0;
    for (int m = 0; m < 10000; ++m) {
        std::string bytes = good;
        size_t pages = good.size() / kAbpPageSize;
        for (int k = 0; k < 3; ++k) {
            // Mostly page headers and entries: where the damage matters.
            size_t page = rng() % pages;
            size_t at = page * kAbpPageSize + (rng() % 2 ? rng() % 16 : rng() % kAbpPageSize);
            bytes[at < bytes.size() ? at : 0] = static_cast<char>(rng());
        }
        if (rng() % 10 == 0)
            bytes.resize(rng() % bytes.size());
        OpenSpecOf spec(folder.rewrite("bad.abp", bytes));
        AbpTree tree{};
        abpSetWidth(&tree, (1u << (kWidth - 1)) - 1);
        if (abpOpen(spec.get(), &tree, 1, 0) != 0)
            continue;
        ++opened;
        AbpEntry e;
        int code = abpFirstLeaf(&tree);
        int steps = 0;
        while (code == 0 && ++steps < 10000) {
            code = abpNextKey(&tree, &e, 0);
            for (int o = 0; code == 0 && o < 10 && abpNextKey(&tree, &e, 1) == 0; ++o) {
            }
        }
        ASSERT_LT(steps, 10000);
        ASSERT_TRUE(code == 0 || code == kAbpEndOfKeys || code == kAbpErrPage) << code;
        for (int s = 0; s < 20; ++s) {
            SetKey(&e, keys[rng() % keys.size()].key);
            code = abpSearchKey(&e, &tree, rng() % 2);
            ASSERT_TRUE(code == 0 || code == kAbpEndOfKeys || code == kAbpErrPage || code == kAbpErrNotFound) << code;
        }
        EXPECT_EQ(0, abpClose(&tree));
    }
    EXPECT_GT(opened, 500);
}

TEST(Abp, BuiltFromSortedItemLines) {
    TempFolder folder;
    std::string items = folder.write("items.txt", "chat\t1\t5\nchat\t1\t9\nchat\t4\t2\n" + std::string(130, 'x') +
                                                      "\t2\t0\nnodoc\n\t\t\nzoo\t\t7\t1\n");
    AbpTreeOptions options;
    options.positions = true;
    ASSERT_EQ("", abpBuildFirstLevel(items, folder.path("b.abp"), options));
    ASSERT_EQ("", AbpCheckTree(folder.path("b.abp"), 32, nullptr));
    OpenSpecOf spec(folder.path("b.abp"));
    AbpTree tree{};
    abpSetWidth(&tree, 0x7FFFFFFF);
    ASSERT_EQ(0, abpOpen(spec.get(), &tree, 1, 1));
    ASSERT_EQ(0, abpFirstLeaf(&tree));
    std::string shown;
    AbpEntry e;
    while (abpNextKey(&tree, &e, 0) == 0)
        shown += std::string(e.key).substr(0, 8) + ":" + Occurrences(&tree) + " | ";
    EXPECT_EQ("chat:1/5 1/9 4/2 8 | xxxxxxxx:2/0 8 | zoo:7/1 8 | ", shown);
    EXPECT_EQ(0, abpClose(&tree));
}

// A long list read once leaves restart points; a reading that skips to each
// wanted document through them gives that document's occurrences exactly as
// a whole reading does, whatever the documents wanted.
// Both a list just long enough for points and a much longer one.
TEST(Abp, SkippingToADocumentGivesWhatAWholeReadingGives) {
    for (const uint32_t length : {uint32_t(AbpOccMarks::kLongList) + 100, 30000u}) {
        SCOPED_TRACE(std::to_string(length) + " occurrences");
        TempFolder folder;
        std::vector<AbpKeyItem> keys(3);
        keys[0].key = "a";
        keys[0].occ = {{1, 1}, {2, 1}};
        keys[1].key = "long";
        std::mt19937 rng(5);
        // One document spans several points; others have a few occurrences.
        const uint32_t spanning = length > 5000 ? 1000 : 60;
        for (uint32_t doc = 3; keys[1].occ.size() < length; doc += 1 + rng() % 4) {
            uint32_t n = doc == spanning ? std::min<uint32_t>(900, length / 3) : 1 + rng() % 12, pos = 0;
            for (uint32_t k = 0; k < n; ++k)
                keys[1].occ.push_back({doc, pos += 1 + rng() % 300});
        }
        keys[2].key = "z";
        keys[2].occ = {{5, 2}};
        AbpTreeOptions options;
        options.occurrences = options.positions = true;
        options.width = 32;
        std::string path = folder.path("s.abp");
        ASSERT_EQ("", AbpWriteTree(path, keys, options));
        const uint32_t lastDoc = keys[1].occ.back().doc;
        struct Row {
            const char* what;
            uint32_t first, step, offset;
        } rows[] = {
            {"every 400th document", 7, 400, 0},  {"a document spanning points", spanning, 1u << 30, 0},
            {"the last document", lastDoc, 1, 0}, {"past the last document", lastDoc + 1, 1, 0},
            {"every document", 0, 1, 0},          {"every 97th, with a value offset", 50, 97, 1 << 20},
        };
        for (int pass = 0; pass < 2; ++pass)
            for (const Row& row : rows) {
                SCOPED_TRACE(std::string(row.what) + (pass ? ", points noted" : ", first reading"));
                OpenSpecOf spec(path);
                AbpTree tree{};
                abpSetWidth(&tree, 0x7FFFFFFF);
                ASSERT_EQ(0, abpOpen(spec.get(), &tree, 1, 1));
                tree.valueOffset = static_cast<int32_t>(row.offset);
                AbpEntry e;
                SetKey(&e, "long");
                if (pass) {
                    // A whole reading by blocks notes the points; the tree is the one read again.
                    ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
                    int32_t docs[256], positions[256];
                    int n = 0;
                    while (abpNextOccurrences(&tree, docs, positions, 256, &n) == 0) {
                    }
                    ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
                    ASSERT_TRUE(tree.keyMarks && !tree.keyMarks->empty());
                } else {
                    ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
                }
                auto wanted = [&](uint32_t doc) { return doc >= row.first && (doc - row.first) % row.step == 0; };
                std::string expected, got;
                for (const AbpOcc& o : keys[1].occ)
                    if (wanted(o.doc))
                        expected += std::to_string(o.doc) + "/" + std::to_string(o.pos) + " ";
                // Skips before each block to the next wanted document from the last one read.
                int32_t docs[64], positions[64];
                int n = 0, code = 0;
                uint32_t next = row.first;
                while (next <= lastDoc + 1) {
                    abpSkipToDocument(&tree, static_cast<int32_t>(next + row.offset));
                    if ((code = abpNextOccurrences(&tree, docs, positions, 64, &n)) != 0)
                        break;
                    for (int i = 0; i < n; ++i) {
                        uint32_t doc = static_cast<uint32_t>(docs[i]) - row.offset;
                        if (wanted(doc))
                            got += std::to_string(doc) + "/" + std::to_string(positions[i]) + " ";
                    }
                    uint32_t lastRead = static_cast<uint32_t>(docs[n - 1]) - row.offset;
                    next = lastRead < row.first
                               ? row.first
                               : row.first + (lastRead - row.first + row.step - 1) / row.step * row.step;
                }
                EXPECT_EQ(expected, got);
                // The next key reads from its own start.
                SetKey(&e, "z");
                ASSERT_EQ(0, abpSearchKey(&e, &tree, 1));
                EXPECT_EQ(std::to_string(5 + row.offset) + "/2 8", Occurrences(&tree));
                EXPECT_EQ(0, abpClose(&tree));
            }
    }
}

// Keys that fall within an index page (a damaged one) are walked in order: a
// search finds its key exactly when the first entry above it in that order
// leads to its leaf or to one before it (the scan then goes on forward).
TEST(Abp, ADescentChoosesTheChildAWalkThroughTheEntriesChooses) {
    TempFolder folder;
    std::vector<AbpKeyItem> keys = MakeKeys(12000, false);
    AbpTreeOptions options;
    options.occurrences = false;
    options.width = kWidth;
    std::string path = folder.path("t.abp");
    ASSERT_EQ("", AbpWriteTree(path, keys, options));
    std::string good;
    ASSERT_TRUE(LoadFile(path, &good));
    // The root's entries as the file holds them: a child, the key, 0x40.
    struct Entry {
        size_t at;
        size_t length;
    };
    std::vector<Entry> entries;
    const size_t end = 6 + (static_cast<uint8_t>(good[0]) | static_cast<uint8_t>(good[1]) << 8);
    for (size_t at = 6; at < end;) {
        size_t length = 0;
        while (good[at + 4 + length] != 0x40)
            ++length;
        entries.push_back({at, length});
        at += 4 + length + 1;
    }
    ASSERT_GT(entries.size(), 20u);
    auto child = [](const std::string& bytes, const Entry& e) {
        return static_cast<uint8_t>(bytes[e.at]) | static_cast<uint8_t>(bytes[e.at + 1]) << 8;
    };
    auto choose = [&](const std::string& bytes, const std::string& key) {
        for (const Entry& e : entries) {
            std::string k = bytes.substr(e.at + 4, e.length);
            if (k.empty() || k > key)
                return child(bytes, e);
        }
        return -1;
    };
    for (size_t i = 1; i < entries.size(); ++i)
        ASSERT_LT(child(good, entries[i - 1]), child(good, entries[i])) << "leaves in key order";
    // Two keys of one length change places, and a later key becomes an earlier one.
    std::string bad = good;
    auto sameLength = [&](size_t from, size_t below) {
        for (size_t i = from; i < entries.size() / 2; ++i)
            for (size_t j = below - 1; j > i + 3; --j)
                if (entries[i].length && entries[i].length == entries[j].length)
                    return std::make_pair(i, j);
        return std::make_pair(size_t(0), size_t(0));
    };
    auto key = [&](size_t i) { return bad.substr(entries[i].at + 4, entries[i].length); };
    auto put = [&](size_t i, const std::string& k) { bad.replace(entries[i].at + 4, entries[i].length, k); };
    auto swap = sameLength(2, entries.size() / 3);
    ASSERT_NE(0u, swap.second);
    std::string a = key(swap.first);
    put(swap.first, key(swap.second));
    put(swap.second, a);
    auto copy = sameLength(swap.second + 1, entries.size() - 1);
    ASSERT_NE(0u, copy.second);
    put(copy.second, key(copy.first));
    OpenSpecOf spec(folder.rewrite("bad.abp", bad));
    int found = 0, missed = 0;
    for (size_t i = 0; i < keys.size(); i += 7) {
        AbpTree tree{};
        abpSetWidth(&tree, (1u << (kWidth - 1)) - 1);
        ASSERT_EQ(0, abpOpen(spec.get(), &tree, 0, 0));
        AbpEntry e;
        SetKey(&e, keys[i].key);
        int code = abpSearchKey(&e, &tree, 1);
        if (choose(bad, keys[i].key) <= choose(good, keys[i].key)) {
            EXPECT_EQ(0, code) << keys[i].key;
            EXPECT_EQ(keys[i].key, e.key);
            ++found;
        } else {
            EXPECT_TRUE(code == kAbpErrNotFound || code == kAbpEndOfKeys) << keys[i].key << " " << code;
            ++missed;
        }
        EXPECT_EQ(0, abpClose(&tree));
    }
    EXPECT_GT(found, 0);
    EXPECT_GT(missed, 0);
}
