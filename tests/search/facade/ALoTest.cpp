// The result lists: text form, cursors, combining, files and damaged files.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "base/object/AFileStream.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ALoVect.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"

namespace {

ALo* FromText(int kind, const char* text) {
    if (kind == kLoKindVect)
        return new ALoVect(text);
    return new ALoSimple(text);
}

// A list of the kind holding docs (with scores doc * 10 and positions doc + 1).
ALo* MakeList(int kind, const std::vector<long>& docs) {
    ALo* list = nullptr;
    switch (kind) {
        case kLoKindVect:
            list = new ALoVect("1:200:0");
            list->open();
            list->add(0, 0, 0);
            break;
        case kLoKindScore:
            list = new ALoScore(200, static_cast<long>(docs.size()), 1);
            break;
        case kLoKindFile:
            list = new ALoFile(0L);
            break;
        default:
            list = new ALoSimple(static_cast<long>(docs.size()));
    }
    // The vector made from text held document 0: start it again empty.
    if (kind == kLoKindVect) {
        ALo* empty = list->create(0);
        list->release();
        list = empty;
    }
    for (long d : docs)
        list->add(d, d * 10, d + 1);
    return list;
}

std::string Bytes(const AString& path) {
    std::string bytes;
    LoadFile(path.c_str(), &bytes);
    return bytes;
}

std::string Folder(TempFolder& folder) {
    std::string path = folder.path("");
    path.pop_back();
    return path;
}

AFileSpec SpecIn(TempFolder& folder, const char* name) {
    return AFileSpec(folder.path(name).c_str());
}

}  // namespace

TEST(ALo, ReadsTheStoredTextForm) {
    struct Row {
        int kind;
        const char* text;
        const char* docs;  // or the error's start
        long count;
    } const rows[] = {
        {kLoKindSimple, "3:10:2,5,7", "2,5,7", 3},
        {kLoKindVect, "3:10:2,5,7", "2,5,7", 3},
        {kLoKindSimple, "3:10:2,5,7\n", "2,5,7", 3},
        {kLoKindVect, "3:10:2,5,7\r\n", "2,5,7", 3},
        {kLoKindSimple, "0:0:", "", 0},
        {kLoKindVect, "0:0:", "", 0},
        {kLoKindSimple, "3:50:7,3,7", "7,3,7", 3},
        {kLoKindVect, "3:50:7,3,7", "3,7", 2},
        {kLoKindSimple, "2:10:4,11", "error 106 list text: document above the largest", 0},
        {kLoKindVect, "2:10:4,11", "error 106 list text: document above the largest", 0},
        {kLoKindSimple, "1:10:4,5", "error 106 list text: more documents than its count", 0},
        {kLoKindSimple, "3;10", "error 106 list text without its two ':'", 0},
        {kLoKindSimple, "3:10", "error 106 list text without its two ':'", 0},
        {kLoKindSimple, "2:10:4,,5", "error 106 list text: bad document number", 0},
        {kLoKindSimple, "2:10:-4", "error 106 list text: bad document number", 0},
        {kLoKindVect, "1:99999999:4", "error 106 list text: bad count or largest document", 0},
        {kLoKindSimple, "x:10:4", "error 106 list text: bad count or largest document", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        std::string walked;
        long count = -1;
        std::string outcome = Outcome([&] {
            Held<ALo> list(FromText(r.kind, r.text));
            walked = Walk(*list);
            count = list->getCount();
        });
        if (outcome != "ok") {
            EXPECT_EQ(r.docs, outcome);
            continue;
        }
        EXPECT_EQ(r.docs, walked);
        EXPECT_EQ(r.count, count);
    }
    Held<ALoSimple> list(new ALoSimple("0:0:"));
    EXPECT_EQ(1, list->getMaxDoc());
    list->open();
    EXPECT_EQ(-1, list->last());
    Held<ALoSimple> three(new ALoSimple("3:50:7,3,7"));
    three->open();
    EXPECT_EQ(1, three->contains(3));
    EXPECT_EQ(0, three->contains(4));
    EXPECT_EQ(1, three->indexOf(3));
}

TEST(ALo, CursorsStepBothWaysAndSeek) {
    const std::vector<long> docs = {0, 9, 16, 20, 33, 41, 57};
    for (int kind : {kLoKindVect, kLoKindScore, kLoKindFile, kLoKindSimple}) {
        SCOPED_TRACE(kind);
        TempFileCollector files;
        Held<ALo> list(MakeList(kind, docs));
        EXPECT_EQ(7, list->getCount());
        EXPECT_EQ("0,9,16,20,33,41,57", Walk(*list));
        EXPECT_EQ("57,41,33,20,16,9,0", WalkBack(*list));
        list->open();
        EXPECT_EQ(57, list->last());
        EXPECT_EQ(6, list->getPosition());
        EXPECT_EQ(41, list->previous());
        EXPECT_EQ(0, list->first());
        EXPECT_EQ(41, list->seek(5));
        EXPECT_EQ(16, list->seek(2));
        EXPECT_EQ(2, list->getPosition());
        EXPECT_EQ(0, list->seek(0));
        list->last();
        EXPECT_EQ(-1, list->next());
        if (kind == kLoKindSimple) {
            EXPECT_EQ(57, list->previous());
        }
        EXPECT_EQ("fatal File lo;line 648", Outcome([&] { list->seek(7); }));
        list->close();
    }
}

TEST(ALo, VectorsAreSizedByTheirBoundAndHoldLargeBases) {
    Held<ALoVect> small(new ALoVect("0:16:"));
    EXPECT_EQ(3, small->getVectorBytes());
    for (long d : {0, 9, 16, 9})
        small->add(d, 0, 0);
    EXPECT_EQ(3, small->getCount());
    EXPECT_EQ("0,9,16", Walk(*small));
    small->open();
    EXPECT_EQ(16, small->last());
    EXPECT_EQ(2, small->getPosition());
    EXPECT_EQ(9, small->previous());
    EXPECT_EQ("error 106 list document outside the vector", Outcome([&] { small->add(24, 0, 0); }));

    Held<ALoVect> large(new ALoVect("0:139999:"));
    for (long d = 0; d < 140000; d += 7)
        large->add(d, 0, 0);
    large->add(139999, 0, 0);
    EXPECT_EQ(20001, large->getCount());
    large->open();
    EXPECT_EQ(139999, large->last());
    EXPECT_EQ(1, large->contains(139999));
    EXPECT_EQ(139993, large->previous());
    EXPECT_EQ(139999, large->seek(20000));
}

TEST(ALo, ScoredListsKeepTheValuesOfEachPosition) {
    Held<ALoScore> scored(new ALoScore(100, 3, 1));
    // Added out of order: the values follow their documents.
    scored->add(50, 7, 3);
    scored->add(10, 9, 1);
    scored->add(30, 8, 2);
    scored->open();
    std::string seen;
    for (long d = scored->first(); d != -1; d = scored->next())
        seen += std::to_string(d) + "/" + std::to_string(scored->getWeight()) + "/" +
                std::to_string(scored->getWeight2()) + " ";
    EXPECT_EQ("10/9/1 30/8/2 50/7/3 ", seen);
    EXPECT_EQ(8, scored->firstScoreAt(1));
    EXPECT_EQ(3, scored->secondScoreAt(2));
    EXPECT_EQ("error 106 scored list fuller than its arrays", Outcome([&] { scored->add(60, 1, 1); }));

    Held<ALoScore> large(new ALoScore(139999, 20000, 1));
    for (long d = 7; d < 140000; d += 7)
        large->add(d, d & 0xFFFF, 1);
    large->open();
    EXPECT_EQ(139993, large->last());
    EXPECT_EQ(139993 & 0xFFFF, large->getWeight());
    EXPECT_EQ(19998, large->getPosition());

    Held<ALoScore> plain(new ALoScore(100, 3, 0));
    plain->add(4, 7, 3);
    plain->open();
    EXPECT_EQ(4, plain->first());
    EXPECT_EQ(0, plain->getWeight());
    EXPECT_EQ(0, plain->getWeight2());
    EXPECT_EQ(0, plain->firstScoreAt(0));
}

TEST(ALo, CombiningCopiesValuesAndStrings) {
    for (int kind : {kLoKindVect, kLoKindScore, kLoKindFile, kLoKindSimple}) {
        SCOPED_TRACE(kind);
        TempFileCollector files;
        Held<ALo> a(MakeList(kind, {1, 4, 9}));
        Held<ALo> b(MakeList(kLoKindSimple, {2, 3}));
        a->getStrings().insert("maison");
        Held<ALo> none(a->intersect(b.list));
        EXPECT_EQ(kind, none->getKind());
        EXPECT_EQ("", Walk(*none));
        Held<ALo> c(MakeList(kLoKindSimple, {9, 4}));
        Held<ALo> common(a->intersect(c.list));
        EXPECT_EQ("4,9", Walk(*common));
        Held<ALo> copy(a->create(1));
        EXPECT_EQ("1,4,9", Walk(*copy));
        EXPECT_TRUE(copy->getStrings().contains("maison"));
        if (kind == kLoKindScore) {
            copy->open();
            copy->seek(1);
            EXPECT_EQ(40, copy->getWeight());
            EXPECT_EQ(5, copy->getWeight2());
            copy->close();
        }
        Held<ALo> all(new ALoAll());
        Held<ALo> allAndA(all->intersect(a.list));
        EXPECT_EQ("1,4,9", Walk(*allAndA));
    }
    struct Zero : public ALo {
        long first() override { return -1; }
        long next() override { return -1; }
        long previous() override { return -1; }
        long last() override { return -1; }
    };
    Held<ALo> zero(new Zero());
    EXPECT_EQ(nullptr, zero->create(1));
    Held<ALoAll> all(new ALoAll());
    AString path("x");
    all->filePath(path);
    EXPECT_EQ(0, path.length());
    all->open();
    EXPECT_EQ(0, all->first());
    EXPECT_EQ(0, all->next());

    // appendFrom passes the first value only.
    Held<ALoScore> target(new ALoScore(100, 4, 1));
    Held<ALo> source(MakeList(kLoKindScore, {3, 8}));
    target->appendFrom(source.list);
    target->open();
    EXPECT_EQ(8, target->seek(1));
    EXPECT_EQ(80, target->getWeight());
    EXPECT_EQ(0, target->getWeight2());
}

TEST(ALo, SavedListsReadBackWithTheirStrings) {
    struct Row {
        int kind;
        int header;
    } const rows[] = {{kLoKindSimple, 30}, {kLoKindVect, 34}, {kLoKindScore, 48}};
    TempFolder folder;
    FolderCleaner cleaner(Folder(folder));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        Held<ALo> list(MakeList(r.kind, {2, 5, 7, 130}));
        list->getStrings().insert("chat");
        list->getStrings().insert("chien");
        AString path;
        list->saveTo(path, SpecIn(folder, "keep.lst"), 1);
        std::string bytes = Bytes(path);
        ASSERT_GE(bytes.size(), 30u);
        EXPECT_EQ(r.kind, bytes[0]);
        EXPECT_EQ(static_cast<uint32_t>(r.header), GetWord(bytes, 6));
        EXPECT_FALSE(list->isPersistent());
        EXPECT_EQ("2,5,7,130", Walk(*list));

        Held<ALo> back(list->create(0));
        {
            AFile f(SpecIn(folder, "keep.lst"), 0, kPlainFileOptions, false);
            AFileStream s(f, "rb", 0);
            back->readFrom(&s);
        }
        EXPECT_EQ("2,5,7,130", Walk(*back));
        EXPECT_TRUE(back->getStrings().contains("chat"));
        EXPECT_TRUE(back->getStrings().contains("chien"));
        EXPECT_EQ(2, back->getStrings().count());

        // Saved without keeping, the list moves into the file.
        list->saveTo(path, SpecIn(folder, "moved.lst"), 0);
        EXPECT_TRUE(list->isPersistent());
        if (r.kind != kLoKindSimple) {
            EXPECT_EQ("", Walk(*list));
        }
        list->reload(path);
        EXPECT_EQ("2,5,7,130", Walk(*list));
    }
    Held<ALoScore> reread(new ALoScore(SpecIn(folder, "moved.lst")));
    EXPECT_EQ("2,5,7,130", Walk(*reread));
    reread->open();
    EXPECT_EQ(70, reread->firstScoreAt(2));
}

TEST(ALoFile, PacksEighteenBitDifferencesInPages) {
    TempFileCollector files;
    Held<ALoFile> list(new ALoFile(0L));
    for (long d : {0, 5, 5, 9})
        list->add(d, 0, 0);
    EXPECT_EQ(3, list->getCount());
    list->getStrings().insert("mot");
    AString path;
    list->filePath(path);
    std::string bytes = Bytes(path);
    ASSERT_EQ(30u + 4096u + 4u + 4u + 3u, bytes.size());
    EXPECT_EQ(30u + 4096u, GetWord(bytes, 10));
    // Fields 1, 5, 4 from the most significant bit of word 0.
    uint64_t top = (static_cast<uint64_t>(GetWord(bytes, 30)) << 32) | GetWord(bytes, 34);
    EXPECT_EQ((1ull << 46) | (5ull << 28) | (4ull << 10), top);
    EXPECT_EQ("0,5,9", Walk(*list));
    EXPECT_TRUE(list->getStrings().contains("mot"));

    {
        // A list read from its file leaves the file to its owner.
        Held<ALoFile> read(new ALoFile(AFileSpec(path.c_str())));
        EXPECT_EQ("0,5,9", Walk(*read));
    }
    for (const std::string& registered : TempFileCollector::files())
        EXPECT_NE(std::string(path.c_str()), registered);
    TempFileCollector::files().push_back(path.c_str());  // the caller's now: deleted at the end
    Held<ALoFile> reopened(new ALoFile(AFileSpec(path.c_str())));
    EXPECT_EQ("0,5,9", Walk(*reopened));
    EXPECT_EQ("9,5,0", WalkBack(*reopened));
    reopened->open();
    EXPECT_EQ(9, reopened->last());
    EXPECT_EQ(-1, reopened->next());
    EXPECT_EQ(-1, reopened->getPosition());
    EXPECT_EQ(0, reopened->first());

    // 1820 fields fill page 0 but 8 bits; field 1821 spans both pages.
    Held<ALoFile> big(new ALoFile(0L));
    std::vector<long> docs;
    for (long i = 0, d = 0; i < 3000; ++i, d += 1 + (i * 7919) % 200)
        docs.push_back(d);
    docs[1820] = docs[1819] + 262143;
    for (size_t i = 1821; i < docs.size(); ++i)
        docs[i] = docs[i - 1] + 3;
    for (long d : docs)
        big->add(d, 0, 0);
    std::string expected;
    for (long d : docs)
        expected += (expected.empty() ? "" : ",") + std::to_string(d);
    EXPECT_EQ(expected, Walk(*big));
    big->open();
    EXPECT_EQ(docs[1820], big->seek(1820));
    EXPECT_EQ(docs[1819], big->previous());
    big->close();
    EXPECT_EQ("error 106 list documents not ascending or too far apart",
              Outcome([&] { big->add(docs.back() + 262144, 0, 0); }));
    EXPECT_EQ("error 106 list documents not ascending or too far apart", Outcome([&] { big->add(1, 0, 0); }));
    big->add(docs.back() + 1, 0, 0);
    EXPECT_EQ(3001, big->getCount());
    big->open();
    EXPECT_EQ(docs.back() + 1, big->last());
}

TEST(ALoFile, WeightsSeparateEntriesOfOneDocument) {
    TempFileCollector files;
    Held<ALoFile> list(new ALoFile(1L));
    for (long d : {3, 3, 8})
        list->add(d, d == 3 ? 4 : 6, 0);
    EXPECT_EQ(2, list->getCount());  // the repeat with an equal weight is not stored
    list->open();
    EXPECT_EQ(3, list->first());
    EXPECT_EQ(4, list->getWeight());
    EXPECT_EQ(8, list->next());
    EXPECT_EQ(6, list->getWeight());
    list->close();
    Held<ALoFile> occ(new ALoFile(1L, 0xFF));
    occ->add(3, 4, 0);
    occ->add(3, 9, 0);
    occ->add(5, 1, 0);
    EXPECT_EQ(3, occ->getCount());
    EXPECT_EQ("3,5", Walk(*occ));
    occ->setAllOccurrences(true);
    EXPECT_EQ("3,3,5", Walk(*occ));
}

// Every list file is checked whole: mutated copies load or fail recoverably.
TEST(ALo, DamagedListFilesFailRecoverably) {
    TempFolder folder;
    FolderCleaner cleaner(Folder(folder));
    TempFileCollector files;
    std::vector<std::pair<int, std::string>> originals;
    for (int kind : {kLoKindSimple, kLoKindVect, kLoKindScore, kLoKindFile}) {
        Held<ALo> list(MakeList(kind, {1, 2, 40, 77, 150}));
        list->getStrings().insert("alpha");
        AString path;
        list->saveTo(path, SpecIn(folder, "original.lst"), 1);
        originals.push_back({kind, Bytes(path)});
    }
    std::mt19937 random(26);
    int loaded = 0, refused = 0;
    for (int i = 0; i < 10000; ++i) {
        const auto& original = originals[static_cast<size_t>(i) % originals.size()];
        std::string bytes = original.second;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            size_t at = random() % bytes.size();
            switch (random() % 4) {
                case 0:
                    bytes[at] = static_cast<char>(random());
                    break;
                case 1:
                    bytes[at] ^= static_cast<char>(1 << (random() % 8));
                    break;
                case 2:
                    bytes.resize(at);
                    break;
                default:
                    bytes[at < 30 ? at : at % 30] = static_cast<char>(0xFF);
            }
            if (bytes.empty())
                break;
        }
        std::string path = folder.rewrite("damaged.lst", bytes);
        std::string outcome = Outcome([&] {
            AFileSpec spec(path.c_str());
            int kind = original.first;
            if (kind == kLoKindScore) {
                Held<ALoScore> list(new ALoScore(spec));
                Walk(*list);
            } else if (kind == kLoKindFile) {
                Held<ALoFile> list(new ALoFile(spec));
                Walk(*list);
                WalkBack(*list);
            } else {
                Held<ALo> list(kind == kLoKindVect ? static_cast<ALo*>(new ALoVect()) : new ALoSimple(0L));
                AFile f(spec, 0, kPlainFileOptions, false);
                AFileStream s(f, "rb", 0);
                list->readFrom(&s);
                Walk(*list);
            }
        });
        ASSERT_TRUE(outcome == "ok" || outcome.compare(0, 9, "error 106") == 0) << i << ": " << outcome;
        (outcome == "ok" ? loaded : refused)++;
    }
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 1000);
}

TEST(ALo, ListsFillFromEngineOccurrenceLists) {
    TempFileCollector files;
    ASSERT_EQ(0, LoInitPkg(nullptr, -1));
    LoSetBitWidth(0x7FFFFFFF);
    LoScoreMode = 1;
    auto engineList = [] {
        LoHandle h = -1;
        EXPECT_EQ(0, LoCreate(kLoReadable | kLoWritable, nullptr, kLoScored, 0, 0, &h, 3));
        for (int32_t doc : {4, 4, 7, 9, 9, 9})
            EXPECT_EQ(0, LoWrite(h, doc, 0));
        EXPECT_EQ(0, LoWrite(h, -1, 0));
        LoClose(h);
        return h;
    };
    Held<ALoScore> scored(new ALoScore(20, 3, 1));
    EXPECT_EQ(0, scored->fillFromList(engineList()));
    std::string seen;
    scored->open();
    for (long d = scored->first(); d != -1; d = scored->next())
        seen += std::to_string(d) + "/" + std::to_string(scored->getWeight()) + " ";
    EXPECT_EQ("4/6 7/3 9/9 ", seen);
    Held<ALoFile> file(new ALoFile(0L));
    EXPECT_EQ(0, file->fillFromList(engineList()));
    EXPECT_EQ("4,7,9", Walk(*file));
    EXPECT_FALSE(file->isOpen()) << "the fill completes the file";
    LoScoreMode = 0;
    LoEndPkg();
}
