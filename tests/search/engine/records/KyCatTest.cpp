// Record catalogues: coding round trips, appends, limits and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <vector>

#include "base/procedural/EngineTables.h"
#include "search/engine/records/KyCat.h"
#include "search/writers/CatWriter.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

// Lengths for differing widths 10/4: a quarter of the entries take the wide width.
std::vector<int32_t> TwoWidthLengths(size_t n) {
    std::vector<int32_t> lengths;
    for (size_t i = 0; i < n; ++i)
        lengths.push_back(i % 8 == 0 ? 1000 : 10 + static_cast<int32_t>(i % 5));
    return lengths;
}

std::vector<int32_t> SampleLengths(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<int32_t> lengths;
    for (size_t i = 0; i < n; ++i) {
        switch (rng() % 4) {
            case 0:
                lengths.push_back(lengths.empty() ? 7 : lengths.back());
                break;  // d = 0
            case 1:
                lengths.push_back(static_cast<int32_t>(rng() % 300));
                break;
            case 2:
                lengths.push_back(static_cast<int32_t>(rng() % 500000));
                break;
            default:
                lengths.push_back(0);
                break;
        }
    }
    return lengths;
}

// The checker walks the file and finds the lengths written.
void ExpectChecked(const std::string& path, const std::vector<int32_t>& lengths, int32_t first) {
    std::vector<int32_t> starts, found;
    ASSERT_EQ("", CatCheck(path, &starts, &found));
    EXPECT_EQ(lengths, found);
    if (!starts.empty()) {
        EXPECT_EQ(first, starts[0]);
    }
}

int Write(const std::string& path, const std::vector<int32_t>& lengths, int wide, int narrow, int32_t first) {
    OpenSpecOf spec(path);
    KyCat cat{};
    int code = catCreate(&cat, spec.get(), wide, narrow, 30, first);
    for (size_t i = 0; !code && i < lengths.size(); ++i)
        code = catAppend(&cat, lengths[i]);
    int closed = catClose(&cat);
    if (!code && !closed)
        ExpectChecked(path, lengths, first);
    return code ? code : closed;
}

// Checks every record against the lengths, in the given order of records.
void ExpectRecords(const std::string& path, const std::vector<int32_t>& lengths, int32_t first,
                   const std::vector<int32_t>& order) {
    std::vector<int32_t> starts{first};
    for (int32_t l : lengths)
        starts.push_back(starts.back() + l);
    OpenSpecOf spec(path);
    KyCat cat{};
    ASSERT_EQ(0, catOpen(&cat, spec.get(), "rb"));
    EXPECT_EQ(static_cast<int32_t>(lengths.size()), cat.count);
    for (int32_t r : order) {
        int32_t pair[2] = {-1, -1};
        ASSERT_EQ(0, catLookup(&cat, r, pair)) << "record " << r;
        ASSERT_EQ(starts[r], pair[0]) << "record " << r;
        ASSERT_EQ(lengths[r], pair[1]) << "record " << r;
    }
    int32_t pair[2];
    EXPECT_EQ(kCatErrTooHigh, catLookup(&cat, cat.count, pair));
    EXPECT_STREQ("Number of doc is too high", KY_EngineErrorText);
    EXPECT_EQ(0, catClose(&cat));
}

std::vector<int32_t> Orders(size_t n, bool shuffled) {
    std::vector<int32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<int32_t>(shuffled ? n - 1 - i : i);
    if (shuffled)
        std::shuffle(order.begin(), order.end(), std::mt19937(5));
    return order;
}

}  // namespace

TEST(KyCat, EntriesPerSubBlockFollowTheWidths) {
    EXPECT_EQ(193, catEntriesPerSub(20, 20, 30));
    EXPECT_EQ(0, catEntriesPerSub(0, 20, 30));
    EXPECT_EQ(0, catEntriesPerSub(20, 32, 30));
    TempFolder folder;
    ASSERT_EQ(0, Write(folder.path("a.of7"), {1, 2, 3}, 20, 20, 0));
    std::ifstream in(folder.path("a.of7"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(size_t(2 * kCatBlockSize), bytes.size());
    EXPECT_EQ(std::string("\x14\x14\x1e\xc1\x00\x03\x00\x00\x00", 9), bytes.substr(0, 9));
}

TEST(KyCat, RecordsReadBackInAnyOrder) {
    struct Row {
        size_t count;
        int wide, narrow;
        int32_t first;
    } rows[] = {
        {0, 20, 20, 0},     {1, 20, 20, 5},    {193, 20, 20, 0}, {772, 20, 20, 0},
        {773, 20, 20, 100}, {5000, 20, 20, 0}, {3000, 10, 4, 9},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.count << " records " << row.wide << "/" << row.narrow);
        std::vector<int32_t> lengths = row.wide == row.narrow
                                           ? SampleLengths(row.count, static_cast<uint32_t>(row.count))
                                           : TwoWidthLengths(row.count);
        ASSERT_EQ(0, Write(folder.path("r.of7"), lengths, row.wide, row.narrow, row.first));
        ExpectRecords(folder.path("r.of7"), lengths, row.first, Orders(row.count, false));
        ExpectRecords(folder.path("r.of7"), lengths, row.first, Orders(row.count, true));
    }
}

TEST(KyCat, AppendsContinueAClosedCatalogue) {
    struct Row {
        size_t before, after;
    } rows[] = {{0, 10}, {1, 1}, {193, 1}, {772, 1}, {771, 2}, {1000, 2000}};
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.before << " then " << row.after);
        std::vector<int32_t> lengths = SampleLengths(row.before + row.after, 3);
        std::vector<int32_t> head(lengths.begin(), lengths.begin() + row.before);
        ASSERT_EQ(0, Write(folder.path("a.of7"), head, 20, 20, 11));
        OpenSpecOf spec(folder.path("a.of7"));
        KyCat cat{};
        ASSERT_EQ(0, catOpenAppend(&cat, spec.get()));
        for (size_t i = row.before; i < lengths.size(); ++i)
            ASSERT_EQ(0, catAppend(&cat, lengths[i]));
        ASSERT_EQ(0, catClose(&cat));
        ExpectChecked(folder.path("a.of7"), lengths, 11);
        ExpectRecords(folder.path("a.of7"), lengths, 11, Orders(lengths.size(), false));
    }
}

TEST(KyCat, AppendsWriteOverRecordsBeyondTheCount) {
    // Records past the count: left by a close that wrote its block but failed
    // on the count (the header's count put back here), or dropped by catTruncate.
    struct Row {
        size_t written, kept;
        bool truncate;
    } rows[] = {{3, 2, false}, {3, 0, false}, {194, 193, false}, {773, 772, false},
                {10, 4, true}, {10, 0, true}, {780, 770, true},  {5, 5, true}};
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.written << " written, " << row.kept << " kept"
                                        << (row.truncate ? " by truncation" : ""));
        std::vector<int32_t> lengths = SampleLengths(row.written, 9), fresh = {1, 400000, 0, 17, 17};
        ASSERT_EQ(0, Write(folder.path("t.of7"), lengths, 20, 20, 11));
        if (!row.truncate) {
            std::fstream f(folder.path("t.of7"), std::ios::binary | std::ios::in | std::ios::out);
            f.seekp(5);
            uint32_t count = static_cast<uint32_t>(row.kept);
            const char bytes[4] = {static_cast<char>(count), static_cast<char>(count >> 8), 0, 0};
            f.write(bytes, 4);
        }
        OpenSpecOf spec(folder.path("t.of7"));
        KyCat cat{};
        ASSERT_EQ(0, catOpenAppend(&cat, spec.get()));
        if (row.truncate) {
            EXPECT_EQ(kCatErrRead, catTruncate(&cat, cat.count + 1));
            ASSERT_EQ(0, catTruncate(&cat, static_cast<int32_t>(row.kept)));
        }
        for (int32_t l : fresh)
            ASSERT_EQ(0, catAppend(&cat, l));
        ASSERT_EQ(0, catClose(&cat));
        lengths.resize(row.kept);
        lengths.insert(lengths.end(), fresh.begin(), fresh.end());
        ExpectChecked(folder.path("t.of7"), lengths, 11);
        ExpectRecords(folder.path("t.of7"), lengths, 11, Orders(lengths.size(), true));
    }
}

TEST(KyCat, TheWriterReplacesAWholeCatalogue) {
    TempFolder folder;
    std::string path = folder.path("w.of7");
    ASSERT_EQ("", CatWriteLengths(path, {5, 6, 7}, 100));
    ExpectRecords(path, {5, 6, 7}, 100, {0, 1, 2});
    EXPECT_NE("", CatWriteLengths(path, {5, 1 << 21}, 0));
    ExpectRecords(path, {5, 6, 7}, 100, {0, 1, 2});
}

TEST(KyCat, LengthsTheWidthsCannotHoldAreRefused) {
    struct Row {
        int wide, narrow;
        std::vector<int32_t> lengths;
        int code;  // of the last append
    } rows[] = {
        {4, 4, {15}, 0},  {4, 4, {16}, kCatErrWrite},  {4, 4, {15, 0, 15}, 0},
        {8, 2, {255}, 0}, {8, 2, {256}, kCatErrWrite}, {-1, 4, {}, kCatErrWrite},
        // Records end at most at the last offset a start can hold.
        {31, 31, {0x7FFFFFFF}, 0}, {31, 31, {0x7FFFFFF0, 0x0F}, 0}, {31, 31, {0x7FFFFFF0, 0x10}, kCatErrWrite},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.wide << "/" << row.narrow);
        OpenSpecOf spec(folder.path("w.of7"));
        KyCat cat{};
        int code = catCreate(&cat, spec.get(), row.wide, row.narrow, 30, 0);
        for (size_t i = 0; !code && i < row.lengths.size(); ++i)
            code = catAppend(&cat, row.lengths[i]);
        EXPECT_EQ(row.code, code);
        if (cat.file) {
            int32_t before = cat.count;
            EXPECT_EQ(0, catClose(&cat));
            ExpectRecords(folder.path("w.of7"), std::vector<int32_t>(row.lengths.begin(), row.lengths.begin() + before),
                          0, Orders(before, false));
        }
    }
}

TEST(KyCat, AFullSubBlockIsAnErrorNotAnExit) {
    // Widths 30 and 2 average 17 bits, but wide entries take 32: a sub-block overflows.
    TempFolder folder;
    OpenSpecOf spec(folder.path("f.of7"));
    KyCat cat{};
    ASSERT_EQ(0, catCreate(&cat, spec.get(), 30, 2, 30, 0));
    int code = 0;
    int32_t written = 0;
    for (int i = 0; i < 1000 && !code; ++i)
        if ((code = catAppend(&cat, (i % 2) ? 0 : 100000)) == 0)
            ++written;
    EXPECT_EQ(kCatErrWrite, code);
    EXPECT_LT(written, catEntriesPerSub(30, 2, 30));
    EXPECT_EQ(written, cat.count);
    EXPECT_EQ(0, catClose(&cat));
}

TEST(KyCat, MisuseGivesItsCode) {
    TempFolder folder;
    ASSERT_EQ(0, Write(folder.path("m.of7"), {4, 5}, 20, 20, 0));
    OpenSpecOf spec(folder.path("m.of7"));
    KyCat cat{};
    ASSERT_EQ(0, catOpen(&cat, spec.get(), "rb"));
    EXPECT_EQ(kCatErrRead, catAppend(&cat, 3));
    EXPECT_EQ(kCatErrRead, catTruncate(&cat, 1));
    EXPECT_EQ(0, catClose(&cat));
    EXPECT_EQ(kCatErrClosed, catClose(&cat));
    OpenSpecOf missing(folder.path("none.of7"));
    EXPECT_EQ(kCatErrOpen, catOpen(&cat, missing.get(), "rb"));
}

TEST(KyCat, DamagedFilesAnswerWithACode) {
    TempFolder folder;
    std::vector<int32_t> lengths = TwoWidthLengths(2000);
    ASSERT_EQ(0, Write(folder.path("d.of7"), lengths, 10, 4, 0));
    std::ifstream in(folder.path("d.of7"), std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct Row {
        const char* name;
        size_t offset;
        char value;
        size_t keep;  // bytes kept of the file
        int openCode;
        const char* text = nullptr;  // the error text, when it is fixed
    } rows[] = {
        {"wide 0", 0, 0, good.size(), kCatErrRead},         {"wide 40", 0, 40, good.size(), kCatErrRead},
        {"entries", 3, 1, good.size(), kCatErrRead},        {"count negative", 8, '\x80', good.size(), kCatErrRead},
        {"cut in the header", 0, 10, 1000, kCatErrRead, "READ"},
        {"header only", 0, 10, kCatBlockSize, kCatErrRead, "READ"},
        {"short block", 0, 10, kCatBlockSize + 100, kCatErrRead, "READ"},
        // Counts beyond the file's blocks: the last sends record 1,619,001,344
        // to block offset 2^32, which a 32-bit long wraps to the header.
        {"count past the blocks", 6, 0x7F, good.size(), kCatErrRead},
        {"count above 2^30", 8, 0x7F, good.size(), kCatErrRead},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string bytes = good.substr(0, row.keep);
        bytes[row.offset] = row.value;
        OpenSpecOf spec(folder.write("bad.of7", bytes));
        KyCat cat{};
        EXPECT_EQ(row.openCode, catOpen(&cat, spec.get(), "rb"));
        if (row.text) {
            EXPECT_STREQ(row.text, KY_EngineErrorText);
        }
        EXPECT_EQ(nullptr, cat.file);
        EXPECT_NE("", CatCheck(folder.path("bad.of7")));
    }
    // A record whose length, added to its start, passes the largest offset.
    ASSERT_EQ(0, Write(folder.path("end.of7"), {0x10}, 31, 31, 0x3FFFFFFF));
    std::string farEnd;
    ASSERT_TRUE(LoadFile(folder.path("end.of7"), &farEnd));
    farEnd[kCatBlockSize + 3] = static_cast<char>(farEnd[kCatBlockSize + 3] | 0x01);
    for (int i = 4; i < 8; ++i)
        farEnd[kCatBlockSize + i] = '\xFF';
    OpenSpecOf endSpec(folder.write("end.of7", farEnd));
    KyCat endCat{};
    ASSERT_EQ(0, catOpen(&endCat, endSpec.get(), "rb"));
    int32_t endPair[2] = {-1, -1};
    EXPECT_EQ(kCatErrRead, catLookup(&endCat, 0, endPair));
    EXPECT_EQ(0, catClose(&endCat));
    EXPECT_NE("", CatCheck(folder.path("end.of7")));
    // A sub-block whose start does not follow its predecessor.
    std::string shifted = good;
    shifted[kCatBlockSize + kCatSubSize] ^= 0x01;
    folder.write("shift.of7", shifted);
    EXPECT_EQ("block 1 sub-block 1: start does not follow the previous record", CatCheck(folder.path("shift.of7")));
    // Random mutations: every lookup answers with a record or a code.
    std::mt19937 rng(42);
    for (int m = 0; m < 10000; ++m) {
        std::string bytes = good;
        for (int k = 0; k < 4; ++k)
            bytes[rng() % bytes.size()] = static_cast<char>(rng());
        if (rng() % 8 == 0)
            bytes.resize(rng() % bytes.size());
        OpenSpecOf spec(folder.rewrite("mut.of7", bytes));
        KyCat cat{};
        if (catOpen(&cat, spec.get(), "rb") != 0)
            continue;
        int32_t pair[2];
        for (int32_t r = 0; r < cat.count && r < 3000; r += 7) {
            int code = catLookup(&cat, r, pair);
            ASSERT_TRUE(code == 0 || code == kCatErrRead) << code;
            if (code == 0) {
                ASSERT_TRUE(pair[0] >= 0 && pair[1] >= 0);
            }
        }
        EXPECT_EQ(0, catClose(&cat));
    }
}
