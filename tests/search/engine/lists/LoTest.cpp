// Occurrence lists: the package, writing and reading, saving, and the set operations.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "search/engine/lists/Lo.h"
#include "search/engine/lists/LoInternal.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/engine/lists/LoShow.h"

namespace {

// Starts the package for one test and ends it, whatever the test left.
struct Package {
    explicit Package(int32_t maxDoc, uint32_t widthOf = 0x7FFFFFFF) {
        code = LoInitPkg(nullptr, maxDoc);
        LoSetBitWidth(widthOf);
    }
    ~Package() {
        LoEndPkg();
        LoScoreMode = 0;
    }
    int code;
};

typedef std::vector<std::pair<int32_t, int32_t>> Elements;

LoHandle Make(const Elements& elements, uint32_t flags, uint32_t unitCode) {
    LoHandle h = -1;
    EXPECT_EQ(0, LoCreate(flags, nullptr, unitCode, 0, 0, &h, 1));
    for (const auto& e : elements)
        EXPECT_EQ(0, LoWrite(h, e.first, e.second));
    EXPECT_EQ(0, LoWrite(h, -1, 0));
    LoClose(h);
    return h;
}

const uint32_t kSeq = kLoReadable | kLoWritable;
const uint32_t kVec = kLoVector | kLoReadable | kLoWritable;

}  // namespace

TEST(Lo, VectorSizeFollowsMaxDoc) {
    struct Row {
        int32_t maxDoc;
        int bytes;
    } rows[] = {{519999, 65000}, {520000, 0}, {-1, 0}, {0, 0}, {7, 1}, {8, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.maxDoc);
        Package package(row.maxDoc);
        ASSERT_EQ(0, package.code);
        EXPECT_EQ(row.bytes, LoVectorBytes());
        EXPECT_EQ(kLoErrVector, LoInitPkg(nullptr, row.maxDoc));
    }
}

TEST(Lo, TheSwapFileIsUniqueAndPrivate) {
    Package one(100);
    std::string first = LoPkg().swapName;
    EXPECT_EQ(std::string::npos, first.find("tmp.lo"));
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    EXPECT_EQ(0u, first.find(temp));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(first.c_str()));
    LoEndPkg();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(first.c_str()));
    ASSERT_EQ(0, LoInitPkg(nullptr, 100));
}

TEST(Lo, AnEleventhListFails) {
    Package package(1000);
    std::vector<LoHandle> handles;
    for (int i = 0; i < kLoMaxLists; ++i) {
        LoHandle h = -1;
        ASSERT_EQ(0, LoCreate(kSeq, nullptr, 0, 0, 0, &h, 1));
        handles.push_back(h);
    }
    LoHandle h = 5;
    EXPECT_EQ(kLoErrNoHandle, LoCreate(kSeq, nullptr, 0, 0, 0, &h, 1));
    EXPECT_EQ(-1, h);
    EXPECT_EQ(0, LoFree(&handles[3]));
    EXPECT_EQ(0, LoCreate(kSeq, nullptr, 0, 0, 0, &h, 1));
}

TEST(Lo, ListsReadBackWhatWasWritten) {
    struct Row {
        const char* name;
        uint32_t flags, unitCode, widthOf;
        Elements in;
        std::string out;
    } rows[] = {
        {"documents", kSeq, 0, 0x7FFFFFFF, {{0, 0}, {3, 0}, {3, 0}, {70000, 0}}, "0/0 3/0 70000/0 "},
        {"positions", kSeq, 1, 0x7FFFFFFF, {{2, 5}, {2, 9}, {4, 0x30002}, {5, 1}}, "2/5 2/9 4/196610 5/1 "},
        {"empty", kSeq, 0, 0x7FFFFFFF, {}, ""},
        {"vector", kVec, 0, 0x7FFFFFFF, {{9, 0}, {1, 0}, {9, 0}, {999, 0}}, "1/0 9/0 999/0 "},
        {"vector, empty words between",
         kVec,
         0,
         0x7FFFFFFF,
         {{998, 0}, {0, 0}, {7, 0}, {8, 0}, {40, 0}, {71, 0}},
         "0/0 7/0 8/0 40/0 71/0 998/0 "},
        {"narrow width", kSeq, 0, 1000, {{0, 0}, {2048, 0}}, "error 802"},
        {"widest", kSeq, 0, 1000, {{0, 0}, {2047, 0}}, "0/0 2047/0 "},
        {"backwards", kSeq, 0, 0x7FFFFFFF, {{5, 0}, {4, 0}}, "error 802"},
        {"positions backwards", kSeq, 1, 0x7FFFFFFF, {{2, 5}, {2, 9}, {2, 3}}, "error 802"},
        {"negative position", kSeq, 1, 0x7FFFFFFF, {{2, 5}, {3, -1}}, "error 802"},
        {"same word twice", kSeq, 1, 0x7FFFFFFF, {{2, 5}, {2, 5}, {3, 0}, {3, 0}}, "2/5 3/0 "},
        {"outside the vector", kVec, 0, 0x7FFFFFFF, {{1000, 0}}, "error 802"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(999, row.widthOf);
        LoHandle h = -1;
        ASSERT_EQ(0, LoCreate(row.flags, nullptr, row.unitCode, 0, 0, &h, 1));
        int code = 0;
        for (const auto& e : row.in)
            if (!code)
                code = LoWrite(h, e.first, e.second);
        if (code) {
            EXPECT_EQ(row.out, "error " + std::to_string(code));
            continue;
        }
        ASSERT_EQ(0, LoWrite(h, -1, 0));
        EXPECT_EQ(row.out, Show(h));
        EXPECT_EQ(row.out, Show(h));
    }
}

// Fields of every width cross the 32-bit words at every place.
TEST(Lo, FieldsOfEveryWidthReadBack) {
    for (uint32_t widthOf : {1u, 2u, 6u, 1000u, 0x10000u, 0x12345u, 0x3FFFFFFFu, 0x7FFFFFFFu}) {
        SCOPED_TRACE(widthOf);
        Package package(-1, widthOf);
        std::mt19937 random(widthOf);
        Elements in;
        std::string expected;
        int32_t doc = 0;
        for (int i = 0; i < 300; ++i) {
            int32_t step = static_cast<int32_t>(random() % 2), pos = static_cast<int32_t>(random() % (widthOf + 1));
            if (doc + step > static_cast<int32_t>(widthOf))
                break;
            doc += step;
            if (!in.empty() && in.back().first == doc && pos <= in.back().second)
                continue;
            in.push_back({doc, pos});
            expected += std::to_string(doc) + "/" + std::to_string(pos) + " ";
        }
        EXPECT_EQ(expected, Show(Make(in, kSeq, 1)));
    }
}

TEST(Lo, ScoredListsCarryHitsTimesWeight) {
    Package package(-1);
    LoScoreMode = 1;
    LoHandle h = -1;
    ASSERT_EQ(0, LoCreate(kSeq, nullptr, kLoScored, 0, 0, &h, 3));
    for (int32_t doc : {4, 4, 7, 9, 9, 9})
        ASSERT_EQ(0, LoWrite(h, doc, 0));
    ASSERT_EQ(0, LoWrite(h, -1, 0));
    EXPECT_EQ("4/6 7/3 9/9 ", Show(h));
}

TEST(Lo, VectorsAreSavedRawAboveAThousandDocuments) {
    struct Row {
        int32_t documents;
        uint32_t flags;
    } rows[] = {{1000, 6}, {1001, 68}};
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.documents);
        Package package(100000);
        Elements in;
        std::string expected;
        for (int32_t d = 0; d < row.documents; ++d) {
            in.push_back({d * 3, 0});
            expected += std::to_string(d * 3) + "/0 ";
        }
        LoHandle h = Make(in, kVec, 0);
        ASSERT_TRUE(LoIsVector(h));
        std::string path = folder.path("list.lo");
        ASSERT_EQ(0, LoSave(path.c_str(), h));
        std::string bytes;
        ASSERT_TRUE(LoadFile(path, &bytes));
        EXPECT_EQ(row.flags, GetWord(bytes, 0));
        EXPECT_EQ(static_cast<uint32_t>(row.documents), GetWord(bytes, 16));
        EXPECT_EQ(expected, Show(h));
        LoHandle again = -1;
        ASSERT_EQ(0, LoOpen(path.c_str(), &again));
        EXPECT_EQ(expected, Show(again));
        DeleteFileA(path.c_str());
    }
}

// A list kept in memory holds the bytes its list file would, and reads alike.
TEST(Lo, KeptImagesAreTheBytesOfTheListFile) {
    struct Row {
        const char* name;
        uint32_t flags, unitCode;
        int32_t documents;
    } rows[] = {
        {"documents", kSeq, 0, 5},
        {"positions", kSeq, 1, 700},
        {"raw vector", kVec, 0, 1500},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(100000);
        Elements in;
        for (int32_t d = 0; d < row.documents; ++d)
            in.push_back({d * 7, d % 5});
        std::string path = folder.path("list.lo"), bytes;
        LoHandle filed = Make(in, row.flags, row.unitCode), kept = Make(in, row.flags, row.unitCode);
        std::string expected = Show(filed);
        LoKeepSaved = 0;
        int saved = LoSave(path.c_str(), filed);
        LoKeepSaved = 1;
        ASSERT_EQ(0, saved);
        ASSERT_EQ(0, LoSaveImage(path.c_str(), kept));
        ASSERT_TRUE(LoadFile(path, &bytes));
        ASSERT_TRUE(DeleteFileA(path.c_str()));
        ASSERT_EQ(1u, LoPkg().images.size());
        EXPECT_TRUE(bytes == std::string(LoPkg().images[0].bytes.begin(), LoPkg().images[0].bytes.end()));
        EXPECT_EQ(expected, Show(kept));
        LoHandle again = -1;
        ASSERT_EQ(0, LoOpen(path.c_str(), &again));
        EXPECT_EQ(expected, Show(again));
        EXPECT_EQ(expected, Show(again));
        uint8_t header[kLoHeaderSize];
        EXPECT_EQ(kLoHeaderSize, LoHeader(path.c_str(), header));
        EXPECT_EQ(1, LoForget(path.c_str()));
        EXPECT_EQ(0, LoForget(path.c_str()));
        EXPECT_EQ(-1, LoHeader(path.c_str(), header));
        EXPECT_EQ(kLoErrOpen, LoOpen(path.c_str(), &again));
    }
}

// A list of the swap is saved by copying its words; a list file is read and
// coded again element by element: both give the same bytes.
TEST(Lo, ListsCopiedAsTheyStandSaveTheBytesOfAnElementCopy) {
    struct Row {
        const char* name;
        uint32_t unitCode, widthOf;
        int32_t documents;
    } rows[] = {
        {"no element", 0, 0x7FFFFFFF, 0},
        {"documents, full words", 0, 0x7FFFFFFF, 9},
        {"documents, narrow fields", 0, 1000, 77},
        {"positions, narrow fields", 1, 5000, 300},
        {"positions, full words", 1, 0x7FFFFFFF, 1200},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(-1, row.widthOf);
        Elements in;
        for (int32_t d = 0; d < row.documents; ++d)
            in.push_back({d * 3, d % 4});
        std::string path = folder.path("copied.lo"), copied, coded;
        LoHandle h = Make(in, kSeq, row.unitCode);
        std::string expected = Show(h);
        LoKeepSaved = 0;
        int saved = LoSave(path.c_str(), h);
        LoKeepSaved = 1;
        ASSERT_EQ(0, saved);
        ASSERT_TRUE(LoadFile(path, &copied));
        LoHandle again = -1;
        ASSERT_EQ(0, LoOpen(path.c_str(), &again));
        ASSERT_EQ(0, LoSaveImage(path.c_str(), again));
        coded.assign(LoPkg().images[0].bytes.begin(), LoPkg().images[0].bytes.end());
        EXPECT_TRUE(copied == coded);
        EXPECT_EQ(expected, Show(again));
        EXPECT_EQ(row.unitCode == 0 ? 1 : 0, LoIsDocumentStream(again));
        LoForget(path.c_str());
        DeleteFileA(path.c_str());
    }
}

TEST(Lo, SavedSwapListsReopenByName) {
    TempFolder folder;
    Package package(-1);
    LoHandle h = Make({{1, 0}, {8, 0}}, kSeq, 0);
    std::string path = folder.path("kept.lo");
    ASSERT_EQ(0, LoSave(path.c_str(), h));
    LoHandle again = -1;
    ASSERT_EQ(0, LoOpen(path.c_str(), &again));
    EXPECT_NE(h, again);
    EXPECT_EQ("1/0 8/0 ", Show(again));
    LoHandle none = -1;
    EXPECT_EQ(kLoErrOpenList, LoOpen("", &none));
    EXPECT_EQ(kLoErrOpen, LoOpen(folder.path("missing.lo").c_str(), &none));
    DeleteFileA(path.c_str());
}

TEST(Lo, ProximityWindows) {
    struct Row {
        int mode;
        int32_t distance, a, b;
        std::string out;
    } rows[] = {
        {1, 2, 10, 12, "5/10 5/12 "},  {1, 2, 12, 10, "5/10 5/12 "}, {1, 2, 10, 13, ""},
        {17, 1, 10, 11, "5/10 5/11 "}, {17, 1, 10, 9, ""},           {1, 0, 10, 10, "5/10 "},
        // Windows that end past the largest position.
        {1, 2, 0x7FFFFFFE, 0x7FFFFFFF, "5/2147483646 5/2147483647 "},
        {1, 2, 0x7FFFFFFF, 0x7FFFFFFC, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.mode << " " << row.distance << " " << row.a << "/" << row.b);
        Package package(-1);
        LoSetProximity(row.mode, row.distance);
        LoHandle a = Make({{2, 1}, {5, row.a}}, kSeq, 1);
        LoHandle b = Make({{5, row.b}, {6, 1}}, kSeq, 1);
        LoHandle result = -2;
        ASSERT_EQ(0, LoAnd(a, b, &result, 1));
        EXPECT_EQ(a, result);
        EXPECT_EQ(nullptr, LoDescOf(b));
        EXPECT_EQ(row.out, Show(result));
    }
}

TEST(Lo, WindowMatchesOutOfOrderAreWrittenInOrder) {
    Package package(-1);
    LoSetProximity(1, 2);
    LoHandle a = Make({{5, 10}, {5, 11}}, kSeq, 1);
    LoHandle b = Make({{5, 12}, {5, 13}}, kSeq, 1);
    LoHandle result = -1;
    ASSERT_EQ(0, LoAnd(a, b, &result, 1));
    EXPECT_EQ("5/10 5/11 5/12 5/13 ", Show(result));
}

TEST(Lo, EveryPartnerInAWindowIsKept) {
    // b at 4 and 6 both lie within one word of a at 5: both stay, so that a third
    // word at 7 still finds its partner in the result.
    Package package(-1);
    LoSetProximity(1, 1);
    LoHandle a = Make({{5, 5}}, kSeq, 1);
    LoHandle b = Make({{5, 4}, {5, 6}}, kSeq, 1);
    LoHandle ab = -1;
    ASSERT_EQ(0, LoAnd(a, b, &ab, 1));
    EXPECT_EQ("5/4 5/5 5/6 ", Show(ab));
    LoHandle c = Make({{5, 7}}, kSeq, 1);
    LoHandle abc = -1;
    ASSERT_EQ(0, LoAnd(ab, c, &abc, 1));
    EXPECT_EQ("5/6 5/7 ", Show(abc));
}

TEST(Lo, SetOperations) {
    struct Row {
        const char* name;
        bool aVector, bVector;
        int op;  // 0 and, 1 or, 2 except
        std::string out;
    } rows[] = {
        {"and", false, false, 0, "3/0 7/0 "},
        {"or", false, false, 1, "1/0 3/0 4/0 7/0 9/0 "},
        {"except", false, false, 2, "1/0 9/0 "},
        {"and vector", true, false, 0, "3/0 7/0 "},
        {"or vector", false, true, 1, "1/0 3/0 4/0 7/0 9/0 "},
        {"except vector a", true, false, 2, "1/0 9/0 "},
        {"except vector b", false, true, 2, "1/0 9/0 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(100);
        LoHandle a = Make({{1, 0}, {3, 0}, {7, 0}, {9, 0}}, row.aVector ? kVec : kSeq, 0);
        LoHandle b = Make({{3, 0}, {4, 0}, {7, 0}}, row.bVector ? kVec : kSeq, 0);
        LoHandle result = -1;
        int code = row.op == 0   ? LoAnd(a, b, &result, 0)
                   : row.op == 1 ? LoOr(a, b, &result)
                                 : LoExcept(a, b, &result, 0);
        ASSERT_EQ(0, code);
        EXPECT_EQ(row.out, Show(result));
        int32_t count, doc, value, firstPos;
        LoFirst(result, &count, &doc, &value, &firstPos);
        EXPECT_EQ(static_cast<int32_t>(std::count(row.out.begin(), row.out.end(), ' ')), count);
    }
}

// The vector is read and cleared over the bytes its lists may have set: a
// bit set anywhere (at its two ends, by a complement) is read, and none is
// left for the next vector list.
TEST(Lo, AVectorListHoldsWhatItsOperationsSetAndNothingOfTheOnesBefore) {
    Package package(1000);
    LoHandle v = Make({{999, 0}, {0, 0}, {500, 0}}, kVec, 0);
    ASSERT_TRUE(LoIsVector(v));
    EXPECT_EQ("0/0 500/0 999/0 ", Show(v));
    EXPECT_EQ(3, LoCount());
    LoFree(&v);
    v = Make({{7, 0}}, kVec, 0);
    EXPECT_EQ("7/0 ", Show(v));
    LoFree(&v);
    // An EXCEPT by a vector complements it whole, then keeps the left list's documents.
    LoHandle a = Make({{1, 0}, {600, 0}, {990, 0}}, kSeq, 0);
    LoHandle b = Make({{600, 0}}, kVec, 0);
    LoHandle result = -1;
    ASSERT_EQ(0, LoExcept(a, b, &result, 0));
    EXPECT_EQ("1/0 990/0 ", Show(result));
    LoFree(&result);
    v = Make({{3, 0}}, kVec, 0);
    EXPECT_EQ("3/0 ", Show(v));
    EXPECT_EQ(1, LoCount());
    // An AND of a vector keeps the documents of both.
    LoHandle s = Make({{3, 0}, {998, 0}}, kSeq, 0);
    ASSERT_EQ(0, LoAnd(v, s, &result, 0));
    EXPECT_EQ("3/0 ", Show(result));
    LoFree(&result);
}

TEST(Lo, AnAbsentOperand) {
    Package package(-1);
    LoHandle x = Make({{1, 0}}, kSeq, 0);
    LoHandle result = 0;
    EXPECT_EQ(0, LoAnd(x, -1, &result, 0));
    EXPECT_EQ(-1, result);
    EXPECT_EQ(nullptr, LoDescOf(x));
    x = Make({{1, 0}}, kSeq, 0);
    EXPECT_EQ(0, LoOr(-1, x, &result));
    EXPECT_EQ(x, result);
    EXPECT_EQ(0, LoExcept(-1, x, &result, 0));
    EXPECT_EQ(-1, result);
    EXPECT_EQ(nullptr, LoDescOf(x));
}

TEST(Lo, ListFilesAreDataNotDescriptors) {
    TempFolder folder;
    Package package(20000);
    Elements in;
    for (int32_t d = 0; d < 300; ++d)
        in.push_back({d * 7, d % 5});
    std::string path = folder.path("good.lo");
    LoKeepSaved = 0;
    ASSERT_EQ(0, LoSave(path.c_str(), Make(in, kSeq, 1)));
    LoKeepSaved = 1;
    std::string good;
    ASSERT_TRUE(LoadFile(path, &good));
    LoResetAll();
    // Run-time bits and fields of a header are dropped; start and count are checked.
    struct Row {
        const char* name;
        size_t at;
        uint32_t value;
        int code;
    } rows[] = {
        {"run-time flags", 0, 6 | 1 | 8 | 16, 0},
        {"pointer words", 32, 0xDEADBEEF, 0},
        {"file handle", 56, 0x1234, 0},
        {"count beyond the data", 16, 100000, kLoErrFile},
        {"negative count", 16, 0x80000000, kLoErrFile},
        {"start in the header", 52, 12, kLoErrFile},
        {"start beyond the file", 52, 0x7FFFFFF0, kLoErrFile},
        {"not a list file", 0, 0, kLoErrFile},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[row.at + i] = static_cast<char>(row.value >> (8 * i));
        std::string bad = folder.write("bad.lo", bytes);
        LoHandle h = -1;
        ASSERT_EQ(row.code, LoOpen(bad.c_str(), &h));
        if (h != -1) {
            EXPECT_EQ(kLoOwnFile | kLoReadable, LoDescOf(h)->flags);
            EXPECT_EQ(Show(h), Show(h));
            LoFree(&h);
        }
    }
    std::mt19937 rng(3);
    int opened = 0;
    for (int m = 0; m < 10000; ++m) {
        std::string bytes = good;
        for (int k = 0; k < 3; ++k)
            bytes[rng() % (m % 2 ? 64 : bytes.size())] = static_cast<char>(rng());
        if (rng() % 8 == 0)
            bytes.resize(rng() % bytes.size());
        std::string bad = folder.rewrite("mut.lo", bytes);
        LoHandle h = -1;
        if (LoOpen(bad.c_str(), &h) != 0)
            continue;
        ++opened;
        std::string shown = Show(h);
        ASSERT_TRUE(shown.find("error") == std::string::npos || shown == "error 106") << shown;
        LoFree(&h);
    }
    EXPECT_GT(opened, 500);
}

// Occurrences written by runs, the element a run stops at written by the
// general path, make the list that writing them one at a time makes: repeated
// positions, a position going back, a document starting at a negative one, a
// document going back, and runs across full write buffers.
TEST(Lo, RunsOfOccurrencesWriteWhatOneAtATimeWrites) {
    for (uint32_t unitCode : {0u, 1u}) {
        for (int trial = 0; trial < 12; ++trial) {
            SCOPED_TRACE(testing::Message() << "unit " << unitCode << " trial " << trial);
            Package package(-1);
            std::mt19937 random(static_cast<uint32_t>(trial + 1));
            std::vector<int32_t> docs, positions;
            int32_t doc = 1, pos = 0;
            for (int i = 0; i < 3000; ++i) {
                int32_t step = random() % 3 == 0 ? 1 + static_cast<int32_t>(random() % 5) : 0;
                doc += step;
                pos = (step ? 0 : pos) + static_cast<int32_t>(random() % 4);  // a step of 0 repeats it
                int rare = static_cast<int>(random() % 2000);
                if (trial > 0 && rare == 0)
                    pos -= 2;
                if (trial > 0 && rare == 1) {
                    doc += 1;
                    pos = -3;
                }
                if (trial > 0 && rare == 2)
                    doc -= 1;
                docs.push_back(doc);
                positions.push_back(pos);
            }
            LoHandle single = -1, runs = -1;
            ASSERT_EQ(0, LoCreate(kSeq, nullptr, unitCode, 0, 0, &single, 1));
            int singleCode = 0;
            for (size_t i = 0; !singleCode && i < docs.size(); ++i)
                singleCode = LoWrite(single, docs[i], unitCode ? positions[i] : 0);
            if (!singleCode)
                singleCode = LoWrite(single, -1, 0);
            ASSERT_EQ(0, LoCreate(kSeq, nullptr, unitCode, 0, 0, &runs, 1));
            LoDesc* d = LoDescOf(runs);
            int runsCode = 0;
            const int n = static_cast<int>(docs.size());
            for (int i = 0; !runsCode && i < n;) {
                i += LoWriteWholeRun(d, docs.data() + i, positions.data() + i, std::min(n - i, 256), unitCode != 0);
                if (i < n) {
                    runsCode = LoWrite(runs, docs[static_cast<size_t>(i)],
                                       unitCode ? positions[static_cast<size_t>(i)] : 0);
                    ++i;
                }
            }
            if (!runsCode)
                runsCode = LoWrite(runs, -1, 0);
            EXPECT_EQ(singleCode, runsCode);
            LoClose(single);
            LoClose(runs);
            if (!singleCode) {
                EXPECT_EQ(Show(single), Show(runs));
            }
        }
    }
}

TEST(Lo, FastWritingGivesTheSameListOneListAtATime) {
    struct Row {
        const char* name;
        uint32_t unitCode;
        int count;
    } rows[] = {
        {"one word", 0, 3},
        {"past one buffer", 0, 5000},
        {"positions over two buffers", 1, 9000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(-1);
        std::mt19937 random(row.count);
        std::vector<std::pair<int32_t, int32_t>> occurrences;
        int32_t doc = 0, pos = 0;
        for (int i = 0; i < row.count; ++i) {
            int32_t step = static_cast<int32_t>(random() % 3);
            doc += step;
            pos = (step ? 0 : pos) + 1 + static_cast<int32_t>(random() % 70000);
            occurrences.push_back({doc, pos});
        }
        // Lists in the swap file are written one after another: each starts where the last one ended.
        LoHandle plain = -1, fast = -1, other = -1;
        ASSERT_EQ(0, LoCreate(kSeq, nullptr, row.unitCode, 0, 0, &fast, 1));
        for (const auto& o : occurrences)
            ASSERT_EQ(0, LoWriteFast(fast, o.first, o.second));
        ASSERT_EQ(0, LoCreate(kSeq, nullptr, 0, 0, 0, &other, 1));
        EXPECT_EQ(kLoErrWrite, LoWriteFast(other, 1, 0)) << "the buffer holds the first list";
        ASSERT_EQ(0, LoWriteFast(fast, -1, 0));
        EXPECT_EQ(0, LoWriteFast(other, 1, 0)) << "the ended list gave the buffer back";
        EXPECT_EQ(0, LoWriteFast(other, -1, 0));
        ASSERT_EQ(0, LoCreate(kSeq, nullptr, row.unitCode, 0, 0, &plain, 1));
        for (const auto& o : occurrences)
            ASSERT_EQ(0, LoWrite(plain, o.first, o.second));
        ASSERT_EQ(0, LoWrite(plain, -1, 0));
        EXPECT_EQ(Show(plain), Show(fast));
        EXPECT_EQ("1/0 ", Show(other));
    }
}

TEST(Lo, TheSwapFileIsReusedOnceNoListInItIsLeft) {
    Package package(-1);
    auto write = [](LoHandle* h, int32_t first) {
        ASSERT_EQ(0, LoCreate(kSeq, nullptr, 0, 0, 0, h, 1));
        for (int32_t doc = first; doc < first + 3000; doc += 3)
            ASSERT_EQ(0, LoWrite(*h, doc, 0));
        ASSERT_EQ(0, LoWrite(*h, -1, 0));
    };
    LoHandle a = -1, b = -1, c = -1;
    write(&a, 0);
    write(&b, 1);
    int32_t bStart = LoDescOf(b)->start;
    EXPECT_GT(bStart, 0);
    std::string bShown = Show(b);
    ASSERT_EQ(0, LoFree(&a));
    write(&c, 2);
    EXPECT_GT(LoDescOf(c)->start, bStart) << "a live list keeps its place";
    EXPECT_EQ(bShown, Show(b));
    ASSERT_EQ(0, LoFree(&b));
    ASSERT_EQ(0, LoFree(&c));
    write(&a, 5);
    EXPECT_EQ(0, LoDescOf(a)->start) << "no list left: the file starts again";
    ASSERT_EQ(0, LoFree(&a));
}

// A list saved by name keeps its place in the swap file after every live list
// is gone: the next list starts past it, whatever was saved first.
TEST(Lo, SavedListsSurviveTheSwapFileStartingAgain) {
    TempFolder folder;
    Package package(-1);
    std::string a = folder.path("a.lo"), b = folder.path("b.lo");
    LoHandle h = Make({{1, 0}, {2, 0}}, kSeq, 0);
    ASSERT_EQ(0, LoSave(a.c_str(), h));
    ASSERT_EQ(0, LoFree(&h));
    h = Make({{30, 0}}, kSeq, 0);
    LoHandle bigger = Make({{40, 0}, {41, 0}, {42, 0}, {43, 0}}, kSeq, 0);
    ASSERT_EQ(0, LoSave(b.c_str(), bigger));
    ASSERT_EQ(0, LoFree(&h));
    ASSERT_EQ(0, LoFree(&bigger));
    for (int32_t first : {50, 60}) {
        SCOPED_TRACE(first);
        h = Make({{first, 0}, {first + 1, 0}, {first + 2, 0}}, kSeq, 0);
        EXPECT_EQ(std::to_string(first) + "/0 " + std::to_string(first + 1) + "/0 " + std::to_string(first + 2) + "/0 ",
                  Show(h));
        ASSERT_EQ(0, LoFree(&h));
        LoHandle again = -1;
        ASSERT_EQ(0, LoOpen(a.c_str(), &again));
        EXPECT_EQ("1/0 2/0 ", Show(again));
        ASSERT_EQ(0, LoFree(&again));
        ASSERT_EQ(0, LoOpen(b.c_str(), &again));
        EXPECT_EQ("40/0 41/0 42/0 43/0 ", Show(again));
        ASSERT_EQ(0, LoFree(&again));
    }
    DeleteFileA(a.c_str());
    DeleteFileA(b.c_str());
}

TEST(Lo, RangesHoldEveryDocumentBetweenTheirBounds) {
    TempFolder folder;
    struct Row {
        const char* name;
        int32_t maxDoc, keep, from, to;
        std::string out;
    } rows[] = {
        {"vector", 100, 1, 5, 8, "5/0 6/0 7/0 8/0 "},
        {"reversed", 100, 1, 8, 5, "5/0 6/0 7/0 8/0 "},
        {"past the vector", 100, 1, 799, 801, "799/0 800/0 801/0 "},
        {"no vector", -1, 1, 3, 3, "3/0 "},
        {"own file", 100, 0, 2, 4, "2/0 3/0 4/0 "},
        {"negative", 100, 1, -1, 4, "error 802"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(row.maxDoc);
        LoKeepSaved = row.keep;
        std::string path = folder.path("range.lo");
        LoHandle h = -1;
        int code = LoCreateRange(&h, path.c_str(), row.from, row.to);
        LoKeepSaved = 1;
        if (code) {
            EXPECT_EQ(row.out, "error " + std::to_string(code));
            EXPECT_EQ(-1, h);
            continue;
        }
        EXPECT_EQ(row.out, Show(h));
        LoHandle again = -1;
        if (row.keep) {
            ASSERT_EQ(0, LoOpen(path.c_str(), &again));
            EXPECT_EQ(row.out, Show(again)) << "saved under its name";
        }
        LoFree(&h);
        DeleteFileA(path.c_str());
    }
}

// Lists of several write buffers: in the swap file beside another list being
// read, in a file of their own, and the union of two of them; with the swap
// held in memory, moved to its file at its first byte, or midway.
TEST(Lo, ListsOfManyBuffersReadBackWhatWasWritten) {
    TempFolder folder;
    const size_t inMemory = LoPkg().swapMemoryLimit;
    struct Row {
        const char* name;
        int count;
        int keep;      // LoKeepSaved when saved
        size_t limit;  // bytes of the swap held in memory
    } rows[] = {{"one word short of a buffer", 1023, 1, inMemory},
                {"three buffers", 3000, 1, inMemory},
                {"own file", 5000, 0, inMemory},
                {"swap in its file", 3000, 1, 0},
                {"swap to its file midway", 3000, 1, 9000},
                {"swap to its file on saving", 3000, 1, 30000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Package package(-1);
        LoPkg().swapMemoryLimit = row.limit;
        std::mt19937 random(row.count);
        Elements a, b;
        for (int32_t i = 0, doc = 0, pos = 0; i < row.count; ++i) {
            int32_t step = static_cast<int32_t>(random() % 3);
            doc += step;
            pos = (step ? 0 : pos) + 1 + static_cast<int32_t>(random() % 70000);
            (random() % 2 ? a : b).push_back({doc, pos});
        }
        Elements both = a;
        both.insert(both.end(), b.begin(), b.end());
        std::sort(both.begin(), both.end());
        auto shown = [](const Elements& e) {
            std::string out;
            for (const auto& x : e)
                out += std::to_string(x.first) + "/" + std::to_string(x.second) + " ";
            return out;
        };
        LoHandle ha = Make(a, kSeq, 1), hb = Make(b, kSeq, 1);
        EXPECT_EQ(shown(a), Show(ha));
        std::string path = folder.path("many.lo");
        LoKeepSaved = row.keep;
        ASSERT_EQ(0, LoSave(path.c_str(), hb));
        LoKeepSaved = 1;
        LoHandle again = -1;
        ASSERT_EQ(0, LoOpen(path.c_str(), &again));
        EXPECT_EQ(shown(b), Show(again));
        LoHandle result = -1;
        LoCurrentUnitByte = 1;
        ASSERT_EQ(0, LoOr(ha, again, &result));
        LoCurrentUnitByte = 0;
        EXPECT_EQ(shown(both), Show(result));
        LoFree(&result);
        LoFree(&hb);
        DeleteFileA(path.c_str());
        EXPECT_EQ(row.limit < inMemory, LoPkg().swapInFile);
    }
    LoPkg().swapMemoryLimit = inMemory;
}
