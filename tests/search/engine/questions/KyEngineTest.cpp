// The evaluation of questions into lists, beside what the lists themselves give.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "search/engine/lists/Lo.h"
#include "search/engine/questions/KyQuest.h"
#include "search/writers/AbpWriter.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/engine/lists/LoShow.h"

namespace {

std::string Evaluate(const std::string& text, int field) {
    KY_CriterionField f;
    f.field = field;
    f.separators = " ";
    KY_EngineClearQuests();
    int code = KY_QuestNew();
    if (!code)
        code = KY_TextCriterion(text.c_str(), f);
    if (!code)
        code = KY_QuestCompile(nullptr, nullptr);
    KY_QuestFree();
    LoHandle h = -1;
    if (!code)
        code = KY_EngineEvaluate(&h, 0, " ");
    std::string shown = code      ? "code " + std::to_string(code)
                        : h == -1 ? "none"
                                  : std::to_string(LoDescOf(h)->count) + ": " + Show(h);
    LoFree(&h);
    return shown;
}

}  // namespace

// An AND between two words of one index takes their occurrences (or their
// documents) from memory, an OR or an EXCEPT their documents; the same words
// searched in two indexes (the second without them) are read into lists and
// joined by the list operator. Both give one list, element for element: over
// windows in either order, words read in either order (by their sizes),
// positions at the top of the range, a word whose occurrences no list holds as
// they stand (positions past 2^31), and documents alone, with the document
// vector free or taken.
TEST(Engine, WordsHeldInMemoryGiveTheListsOfTheirLists) {
    TempFolder folder;
    std::mt19937 rng(81);
    std::map<std::string, std::vector<AbpOcc>> words;
    const char* const names[] = {"alpha", "beta", "delta", "gamma"};
    for (uint32_t d = 0; d < 1000; ++d)
        for (const char* name : names) {
            // alpha in most documents, beta in a third, delta in a tenth;
            // gamma in a twentieth, once past 2^31.
            uint32_t share = name[0] == 'a' ? 80 : name[0] == 'b' ? 33 : name[0] == 'd' ? 10 : 5;
            bool past = name[0] == 'g' && d == 500;
            if (rng() % 100 >= share && !past)
                continue;
            uint32_t pos = rng() % 8;
            for (uint32_t n = 1 + rng() % 12; n > 0; --n, pos += 1 + rng() % 4)
                words[name].push_back({d, past ? 0x80000000u + pos : pos});
        }
    // Windows that end past the largest position.
    words["alpha"].push_back({1000, 0x7FFFFFFD});
    words["beta"].push_back({1000, 0x7FFFFFFF});
    std::vector<AbpKeyItem> keys;
    for (auto& w : words)
        keys.push_back({w.first, 0, w.second});
    AbpTreeOptions positions;
    positions.positions = true;
    ASSERT_EQ("", AbpWriteTree(folder.path("mots.abp"), keys, positions));
    ASSERT_EQ("", AbpWriteTree(folder.path("autres.abp"), {{"zeta", 0, {{1, 1}}}}, positions));
    std::vector<KY_IndexRecord> indexes(2);
    indexes[0].path = folder.path("mots.abp");
    indexes[1].path = folder.path("autres.abp");
    for (KY_IndexRecord& index : indexes) {
        index.unitByte = kUnitW | kUnitP;
        index.maxValue = 1000;
    }
    KY_EngineTables tables;
    // Field 1 searches the words' index, field 2 both.
    tables.fields = {0xFE, 0xFE, 0, 0, 1, 1};
    tables.lists = {{{0, 0}}, {{0, 0}, {1, 0}}};
    tables.indexes = &indexes;
    ASSERT_EQ(0, KY_EngineInit(&tables, nullptr, 1000));
    for (KY_IndexRecord& index : indexes)
        ASSERT_EQ(0, KY_IndexOpen(&index)) << index.path;
    for (const char* question : {"alpha PRES2 beta",
                                 "beta PRES2 alpha",
                                 "alpha PRES1 delta",
                                 "delta PRES3 alpha",
                                 "beta PRES1 delta",
                                 "alpha PRES2 gamma",
                                 "gamma PRES4 beta",
                                 "alpha PRES0 alpha",
                                 "alpha PRES2 licorne",
                                 "(alpha PRES2 beta) PRES1 delta",
                                 "alpha AND beta",
                                 "delta AND alpha",
                                 "gamma AND beta",
                                 "alpha AND licorne",
                                 "(alpha AND beta) OR (delta AND beta)",
                                 "alpha OR beta",
                                 "gamma OR delta",
                                 "delta OR licorne",
                                 "(alpha AND beta) OR (delta OR gamma)",
                                 "alpha EX beta",
                                 "delta EX gamma",
                                 "alpha EX licorne",
                                 "licorne EX alpha",
                                 "(alpha AND beta) EX (delta OR gamma)"}) {
        SCOPED_TRACE(question);
        std::string held = Evaluate(question, 1);
        EXPECT_EQ(Evaluate(question, 2), held);
        if (std::string(question).find("licorne") == std::string::npos) {
            EXPECT_TRUE(held != "0: " && held != "none") << held;
        }
    }
    EXPECT_NE(std::string::npos, Evaluate("alpha PRES2 beta", 1).find("1000/2147483645 1000/2147483647"));
    for (KY_IndexRecord& index : indexes)
        KY_IndexClose(&index);
    KY_EngineClose();
}
