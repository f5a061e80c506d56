// Engine parts over the generated base: criteria run into saved lists and combined,
// the result walk, suspension and resumption, criterion order.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>

#include "base/procedural/EngineTables.h"
#include "search/engine/lists/Lo.h"
#include "tests/search/engine/questions/KyQuestBase.h"

namespace {

using Doc = QuestData::Doc;

// Fields: 1 words, 2 dates, 3 opens a group, 4 and 5 words, 6 closes it.
void MakePart(KY_EnginePart* part, const std::string& folder) {
    QuestData& data = QuestData::Get();
    part->folder = folder;
    part->maxDoc = kDocs;
    part->stopList = data.folder.path("mots.stp");
    part->thesaurus = data.folder.path("thes");
    part->indexes.resize(2);
    part->indexes[0].path = data.indexes[0].path;
    part->indexes[1].path = data.indexes[1].path;
    part->indexes[1].maxValue = kDocs;
    part->tables.lists = {{{0, 0}}, {{1, 0}}};
    KY_CriteriaMake(part, 6);
    for (int c : {1, 4, 5}) {
        part->criteria[c].lists[0] = part->criteria[c].lists[1] = 0;
        part->criteria[c].positions = 1;
        part->criteria[c].field.separators = " ";
    }
    part->criteria[2].lists[0] = part->criteria[2].lists[1] = 1;
    part->criteria[2].field.date = 1;
    part->criteria[3].mark = kMarkOpen;
    part->criteria[6].mark = kMarkClose;
}

// Closes the part whatever the test left.
struct PartGuard {
    KY_EnginePart* part;
    ~PartGuard() { KY_EnginePartClose(part); }
};

std::vector<int32_t> Walk(KY_EnginePart* part) {
    std::vector<int32_t> docs;
    int32_t count = part->criteria[0].count;
    for (int32_t i = 1; i <= count; ++i) {
        int32_t doc, pos, score, index = i;
        if (KY_ResultSeek(part, &doc, &pos, &score, &index, 0) != 0)
            break;
        docs.push_back(doc);
    }
    return docs;
}

std::vector<int32_t> Scan(const std::function<bool(const Doc&)>& match) {
    std::vector<int32_t> docs;
    const QuestData& data = QuestData::Get();
    for (int d = 0; d < kDocs; ++d)
        if (match(data.docs[static_cast<size_t>(d)]))
            docs.push_back(d);
    return docs;
}

}  // namespace

TEST(EnginePart, CriteriaRunIntoListsThatTheRequestCombines) {
    ASSERT_EQ("", QuestData::Get().error);
    TempFolder folder;
    KY_EnginePart part;
    PartGuard guard{&part};
    MakePart(&part, folder.path(""));
    ASSERT_EQ(0, KY_EngineSetup(&part));
    ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, "maison", 0));
    ASSERT_EQ(0, KY_SetCriterion(&part, 2, 0, 0, "AVANT 1985", 0));
    ASSERT_EQ(0, KY_SetCriterion(&part, 4, 0, 0, "pont", 0));
    ASSERT_EQ(0, KY_SetCriterion(&part, 5, 1, 0, "gare", 0));
    std::vector<std::pair<int, int32_t>> told;
    part.notifyArgument = &told;
    part.notify = [](void* argument, int criterion, int32_t status) {
        static_cast<std::vector<std::pair<int, int32_t>>*>(argument)->push_back({criterion, status});
    };
    ASSERT_EQ(0, KY_EngineRun(&part, 0)) << KY_EngineErrorText;
    std::vector<std::pair<int, int32_t>> expectedTold = {{1, kStatusDone}, {2, kStatusDone}, {3, kStatusOpening},
                                                         {4, kStatusDone}, {5, kStatusDone}, {6, kStatusClosing}};
    EXPECT_EQ(expectedTold, told);
    part.notify = nullptr;
    std::vector<int32_t> expected =
        Scan([](const Doc& d) { return Has(d, "maison") && d.date < 19850101 && (Has(d, "pont") || Has(d, "gare")); });
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(kStatusDone, part.criteria[0].status);
    EXPECT_EQ(static_cast<int32_t>(expected.size()), KY_GetCriterionHits(&part, 0));
    EXPECT_EQ(expected, Walk(&part));
    EXPECT_EQ(static_cast<int32_t>(Scan([](const Doc& d) { return Has(d, "maison"); }).size()),
              KY_GetCriterionHits(&part, 1));
    // The index is clamped to the result and written back.
    int32_t doc, pos, score, index = 0;
    ASSERT_EQ(0, KY_ResultSeek(&part, &doc, &pos, &score, &index, 0));
    EXPECT_EQ(1, index);
    EXPECT_EQ(expected.front(), doc);
    index = 1 << 20;
    ASSERT_EQ(0, KY_ResultSeek(&part, &doc, &pos, &score, &index, 0));
    EXPECT_EQ(static_cast<int32_t>(expected.size()), index);
    EXPECT_EQ(expected.back(), doc);
    // Read backwards, as a base in descending order is, the walk gives the same documents.
    std::vector<int32_t> backwards;
    for (int32_t i = static_cast<int32_t>(expected.size()); i >= 1; --i) {
        index = i;
        ASSERT_EQ(0, KY_ResultSeek(&part, &doc, &pos, &score, &index, 0));
        backwards.insert(backwards.begin(), doc);
    }
    EXPECT_EQ(expected, backwards);
    EXPECT_EQ(expected, Walk(&part));
    const std::vector<std::string>* words = KY_GetWordList(&part, 0);
    ASSERT_NE(nullptr, words);
    for (const char* w : {"gare", "maison", "pont"})
        EXPECT_NE(words->end(), std::find(words->begin(), words->end(), w)) << w;
    // A criterion found nowhere fails alone; the unchanged ones keep their lists.
    ASSERT_EQ(0, KY_SetCriterion(&part, 5, 1, 0, "licorne", 0));
    ASSERT_EQ(0, KY_EngineRun(&part, 0));
    EXPECT_EQ(kStatusNothing, KY_CriterionState(&part, 5));
    EXPECT_EQ(-1, KY_GetCriterionHits(&part, 5));
    EXPECT_EQ(Scan([](const Doc& d) { return Has(d, "maison") && d.date < 19850101 && Has(d, "pont"); }), Walk(&part));
    EXPECT_EQ(kStatusOpening, KY_CriterionState(&part, 3));
    EXPECT_EQ(0, KY_EnginePartClose(&part));
    EXPECT_EQ(1267, KY_EngineRun(&part, 0));
    EXPECT_EQ(1265, KY_EngineRun(nullptr, 0));
}

TEST(EnginePart, ASuspendedPartResumesWithItsLists) {
    TempFolder folderA, folderB;
    // A working folder may hold parentheses: questions name their lists alone.
    std::string parens = folderB.path("x (y)");
    ASSERT_TRUE(CreateDirectoryA(parens.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    struct Remove {
        std::string path;
        ~Remove() { RemoveDirectoryA(path.c_str()); }
    } remove{parens};
    KY_EnginePart a, b;
    PartGuard guardA{&a}, guardB{&b};
    MakePart(&a, folderA.path(""));
    MakePart(&b, parens);
    ASSERT_EQ(0, KY_EngineSetup(&a));
    ASSERT_EQ(0, KY_SetCriterion(&a, 1, 0, 0, "pomme", 0));
    ASSERT_EQ(0, KY_EngineRun(&a, 0));
    std::vector<int32_t> first = Walk(&a);
    EXPECT_EQ(Scan([](const Doc& d) { return Has(d, "pomme"); }), first);
    ASSERT_EQ(0, KY_EnginePartSuspend(&a));
    EXPECT_EQ(-1, a.state);
    ASSERT_EQ(0, KY_EngineSetup(&b));
    ASSERT_EQ(0, KY_SetCriterion(&b, 4, 0, 0, "chat", 0));
    ASSERT_EQ(0, KY_SetCriterion(&b, 2, 0, 0, "1990", 0));
    ASSERT_EQ(0, KY_EngineRun(&b, 0));
    EXPECT_EQ(Scan([](const Doc& d) { return Has(d, "chat") && d.date / 10000 == 1990; }), Walk(&b));
    ASSERT_EQ(0, KY_EnginePartSuspend(&b));
    ASSERT_EQ(0, KY_EnginePartResume(&a));
    EXPECT_EQ(1, a.state);
    int32_t doc, pos, score, index = 1;
    EXPECT_EQ(0, KY_ResultSeek(&a, &doc, &pos, &score, &index, 0)) << KY_EngineErrorText;
    EXPECT_EQ(first, Walk(&a));
    // Closing a suspended part takes its lists with it.
    std::string list = KY_ListPath(b.folder, b.criteria[0].listName);
    LoHandle h = -1;
    ASSERT_EQ(0, KY_EngineOpenStoredList(list.c_str(), &h));
    LoFree(&h);
    EXPECT_EQ(0, KY_EnginePartClose(&b));
    EXPECT_EQ(kLoErrOpen, KY_EngineOpenStoredList(list.c_str(), &h));
    EXPECT_EQ(0, KY_EnginePartClose(&a));
}

// Working lists up to kMemoryListElements elements stay in memory, larger ones
// go to list files: the working folder holds the swap file and those alone.
TEST(EnginePart, SmallWorkingListsMakeNoFiles) {
    TempFolder folder;
    KY_EnginePart part;
    PartGuard guard{&part};
    MakePart(&part, folder.path(""));
    ASSERT_EQ(0, KY_EngineSetup(&part));
    auto files = [&]() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE walk = FindFirstFileA(folder.path("*").c_str(), &found);
        for (BOOL more = walk != INVALID_HANDLE_VALUE; more; more = FindNextFileA(walk, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        if (walk != INVALID_HANDLE_VALUE)
            FindClose(walk);
        return names;
    };
    std::vector<std::string> before = files();
    ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, "maison OR pont", 0));
    ASSERT_EQ(0, KY_SetCriterion(&part, 2, 0, 0, "AVANT 1985", 0));
    ASSERT_EQ(0, KY_EngineRun(&part, 0)) << KY_EngineErrorText;
    EXPECT_EQ(Scan([](const Doc& d) { return (Has(d, "maison") || Has(d, "pont")) && d.date < 19850101; }),
              Walk(&part));
    EXPECT_EQ(before, files());
    for (int32_t count : {kMemoryListElements, kMemoryListElements + 1}) {
        SCOPED_TRACE(count);
        LoHandle h = -1;
        ASSERT_EQ(0, LoCreate(kLoReadable | kLoWritable, nullptr, 0, 0, 0, &h, 1));
        for (int32_t d = 0; d < count; ++d)
            ASSERT_EQ(0, LoWrite(h, d, 0));
        ASSERT_EQ(0, LoWrite(h, -1, 0));
        std::string name;
        ASSERT_EQ(0, KY_EngineSaveWorkList(&h, part.folder, &name));
        std::string path = KY_ListPath(part.folder, name);
        EXPECT_EQ(count > kMemoryListElements, GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
        ASSERT_EQ(0, KY_EngineOpenStoredList(path.c_str(), &h));
        int32_t n, doc, value, firstPos, last = -1;
        ASSERT_EQ(0, LoRewind(h));
        ASSERT_EQ(0, LoFirst(h, &n, &doc, &value, &firstPos));
        while (doc != -1) {
            last = doc;
            ASSERT_EQ(0, LoNext(h, &doc, &value, &firstPos));
        }
        EXPECT_EQ(count, n);
        EXPECT_EQ(count - 1, last);
        LoFree(&h);
        EXPECT_EQ(0, KY_EngineDeleteList(path.c_str()));
        EXPECT_EQ(before, files());
    }
}

// A question that fails releases the result it replaces: marked failed, its
// list was kept by nothing and left in memory or on disc for good.
TEST(EnginePart, AFailedQuestionReleasesTheResultItReplaces) {
    TempFolder folder;
    KY_EnginePart part;
    PartGuard guard{&part};
    MakePart(&part, folder.path(""));
    ASSERT_EQ(0, KY_EngineSetup(&part));
    for (const char* shared : {"maison", "maison OR pont"}) {
        SCOPED_TRACE(shared);
        ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, shared, 0));
        ASSERT_EQ(0, KY_SetCriterion(&part, 2, 0, 0, "", 0));
        ASSERT_EQ(0, KY_EngineRun(&part, 0)) << KY_EngineErrorText;
        ASSERT_EQ(kStatusDone, part.criteria[0].status);
        std::string path = KY_ListPath(part.folder, part.criteria[0].listName);
        ASSERT_NE(nullptr, LoImageNote(path.c_str()));
        // The first criterion is evaluated again (its list stays: the result
        // names it), the second fails.
        ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, "pont", 0));
        ASSERT_EQ(0, KY_SetCriterion(&part, 2, 0, 0, "ET", 0));
        EXPECT_NE(0, KY_EngineRun(&part, 0));
        EXPECT_EQ(kStatusFailed, part.criteria[0].status);
        EXPECT_EQ(nullptr, LoImageNote(path.c_str()));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    }
}

// Words without positions combine into the list package's vector; the saved
// result holds each of its documents once, the last of the base among them.
TEST(EnginePart, AResultOfDocumentsAloneIsSavedWithEachOfItsDocuments) {
    struct Row {
        const char* text;
        std::function<bool(const Doc&)> scan;
    } rows[] = {
        {"maison OR pont OR jardin",
         [](const Doc& d) { return Has(d, "maison") || Has(d, "pont") || Has(d, "jardin"); }},
        {"maison AND pont", [](const Doc& d) { return Has(d, "maison") && Has(d, "pont"); }},
        {"licorne OR pont", [](const Doc& d) { return Has(d, "pont"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TempFolder folder;
        KY_EnginePart part;
        PartGuard guard{&part};
        MakePart(&part, folder.path(""));
        part.criteria[1].positions = 0;
        ASSERT_EQ(0, KY_EngineSetup(&part));
        ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, row.text, 0));
        ASSERT_EQ(0, KY_EngineRun(&part, 0)) << KY_EngineErrorText;
        std::vector<int32_t> expected = Scan(row.scan);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(static_cast<int32_t>(expected.size()), part.criteria[1].count);
        EXPECT_EQ(expected, Walk(&part));
    }
}

TEST(EnginePart, WordListsFollowTheEvaluationMode) {
    TempFolder folder;
    KY_EnginePart part;
    PartGuard guard{&part};
    MakePart(&part, folder.path(""));
    ASSERT_EQ(0, KY_EngineSetup(&part));
    ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, "?? AND pont", 0));
    ASSERT_EQ(0, KY_EngineRun(&part, 0));
    const std::vector<std::string>* all = KY_GetWordList(&part, 0);
    const std::vector<std::string>* plain = KY_GetWordList(&part, 1);
    ASSERT_TRUE(all && plain);
    EXPECT_NE(all->end(), std::find(all->begin(), all->end(), "le"));
    EXPECT_EQ(plain->end(), std::find(plain->begin(), plain->end(), "le")) << "stop words are left out";
    EXPECT_NE(plain->end(), std::find(plain->begin(), plain->end(), "pont"));
    part.mode = 1;
    ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, "pont", 0));
    ASSERT_EQ(0, KY_EngineRun(&part, 0));
    EXPECT_EQ(nullptr, KY_GetWordList(&part, 0)) << "mode 1 keeps no highlight words";
}

// The words are made when asked for, from the list the walk is over: reading
// a criterion's hits first gives that criterion's words, the whole request's
// once its result is read again.
TEST(EnginePart, WordListsAreThoseOfTheResultWalked) {
    TempFolder folder;
    KY_EnginePart part;
    PartGuard guard{&part};
    MakePart(&part, folder.path(""));
    ASSERT_EQ(0, KY_EngineSetup(&part));
    ASSERT_EQ(0, KY_SetCriterion(&part, 1, 0, 0, "maison", 0));
    ASSERT_EQ(0, KY_SetCriterion(&part, 4, 0, 0, "pont", 0));
    ASSERT_EQ(0, KY_EngineRun(&part, 0));
    auto has = [](const std::vector<std::string>* words, const char* w) {
        return words && std::find(words->begin(), words->end(), w) != words->end();
    };
    int32_t doc, pos, score, index = 1;
    ASSERT_EQ(0, KY_ResultSeek(&part, &doc, &pos, &score, &index, 4));
    const std::vector<std::string>* words = KY_GetWordList(&part, 0);
    EXPECT_TRUE(has(words, "pont"));
    EXPECT_FALSE(has(words, "maison"));
    ASSERT_EQ(0, KY_ResultSeek(&part, &doc, &pos, &score, &index, 0));
    words = KY_GetWordList(&part, 1);
    EXPECT_TRUE(has(words, "pont") && has(words, "maison"));
    KY_ResultClose(&part);
    EXPECT_TRUE(has(KY_GetWordList(&part, 0), "maison")) << "a closed result opens again for its words";
}

// A question of one criterion's list is read without being compiled; in
// brackets it is compiled: both give the same result and the same words.
TEST(EnginePart, AQuestionOfOneListGivesWhatItsCompiledFormGives) {
    TempFolder folder;
    KY_EnginePart part;
    PartGuard guard{&part};
    MakePart(&part, folder.path(""));
    part.criteria[3].mark = part.criteria[6].mark = 0;
    ASSERT_EQ(0, KY_EngineSetup(&part));
    struct Outcome {
        int code;
        int32_t status, count;
        std::vector<int32_t> docs;
        std::vector<std::string> words[2];
        bool operator==(const Outcome& o) const {
            return code == o.code && status == o.status && count == o.count && docs == o.docs &&
                   words[0] == o.words[0] && words[1] == o.words[1];
        }
    };
    auto run = [&](int c, const char* question, int brackets, int mode) {
        part.mode = mode;
        EXPECT_EQ(0, KY_SetCriterion(&part, c, 0, brackets, question, brackets));
        Outcome o{KY_EngineRun(&part, 0), part.criteria[0].status, part.criteria[0].count, {}, {}};
        if (o.status == kStatusDone)
            o.docs = Walk(&part);
        for (int w : {0, 1})
            if (const std::vector<std::string>* list = KY_GetWordList(&part, w))
                o.words[w] = *list;
        EXPECT_EQ(0, KY_SetCriterion(&part, c, 0, 0, "", 0));
        return o;
    };
    for (int c : {1, 5})
        for (int mode : {0, 1})
            for (const char* question : {"maison", "maison OR pont", "?? AND pont", "pont PRES2 gare", "licorne", ""}) {
                SCOPED_TRACE(std::string(question) + " in " + std::to_string(c) + ", mode " + std::to_string(mode));
                Outcome read = run(c, question, 0, mode), compiled = run(c, question, 1, mode);
                EXPECT_TRUE(read == compiled) << read.count << " against " << compiled.count;
                if (mode == 0 && c == 1 && std::string(question) == "maison") {
                    EXPECT_EQ(Scan([](const Doc& d) { return Has(d, "maison"); }), read.docs);
                    EXPECT_NE(read.words[0].end(), std::find(read.words[0].begin(), read.words[0].end(), "maison"));
                }
            }
}

TEST(EnginePart, CriteriaAreOrderedByRankUpToTheFirstMissingRank) {
    KY_EnginePart part;
    KY_CriteriaMake(&part, 5);
    uint8_t ranks[] = {1, 0, 3, 1, 0};
    for (int c = 1; c <= 5; ++c)
        part.criteria[c].rank = ranks[c - 1];
    int16_t order[30];
    ASSERT_EQ(0, KY_CriterionOrder(&part, order));
    EXPECT_EQ((std::vector<int16_t>{2, 5, 1, 4, 0}), std::vector<int16_t>(order, order + 5));
}
