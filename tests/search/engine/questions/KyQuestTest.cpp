// The question language, its stack checks, criterion texts, dates, character
// tables, highlight words and stored lists, on the generated base.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>

#include "base/procedural/EngineTables.h"
#include "search/engine/common/KyFileSet.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"
#include "tests/search/engine/questions/KyQuestBase.h"

namespace {

// The stack as "text/kind" items, or "error N".
std::string Compile(const std::string& question) {
    KY_EngineClearQuests();
    KY_QuestNew();
    KY_QuestAppend(question.c_str());
    int code = KY_QuestCompile(nullptr, nullptr);
    KY_QuestFree();
    if (code)
        return "error " + std::to_string(code);
    std::string out;
    for (int i = 0; i < KY_QuestCount(); ++i) {
        const KY_QuestRecord& r = KY_QuestAt(i)->record;
        out += std::string(out.empty() ? "" : " ") + (r.kind >= kQuestTerm ? r.text : std::to_string(r.kind));
        if (r.unit)
            out += "/" + std::to_string(r.unit) + "." + std::to_string(r.count);
    }
    return out;
}

std::string Written(const std::string& text, const KY_CriterionField& field, int* code) {
    KY_QuestNew();
    *code = KY_TextCriterion(text.c_str(), field);
    std::string out = KY_QuestText();
    KY_QuestFree();
    return out;
}

}  // namespace

TEST_F(QuestBase, QuestionTextsCompileToPostfixStacks) {
    struct Row {
        const char* text;
        const char* stack;
    } rows[] = {
        {"(1,0=a) AND (1,0=b) OR (1,0=c)", "a b 1 c 2"},
        {"() AND (1,0=b)", "b"},
        {"(1,0=a) AND ()", "a"},
        // An empty group between two operators leaves the first one.
        {"(1,0=a) OR () AND (1,0=c)", "a c 2"},
        {"((1,0=a)) OR (()) AND ((1,0=c))", "a c 2"},
        {"(1,0=a) AND ((1,0=b) OR (1,0=c))", "a b c 2 1"},
        {"((1,0=a) EXCEPT (1,0=b)) SAUF (1,0=c)", "a b 3 c 3"},
        {"(1,0=a) and (1,0=b)", "error 601"},
        {"((1,0=a) AND (1,0=b)", "error 651"},
        {"(1,0=a) AND", "error 652"},
        {"", "error 650"},
        {"(1,0=a) ORS/W2 (1,0=b)", "a b 1/1.2"},
        {"(1,0=a) ANDS/W5 (1,0=b)", "a b 1/1.5"},
        {"(1,0=a) ORS/P2 (1,0=b)", "a b 1/4.2"},
        {"(1,0=a) ANDS/X2 (1,0=b)", "error 603"},
        {"(2,0=a) ANDS/W1 (2,0=b)", "error 609"},
        {"(1,0=a) ANDS/S1 (1,0=b)", "error 610"},
        {"(0,0=a)", "a"},  // no index list: the extra lists are searched
        {"(1,0=?bc R/TG1)", "?bc "},
        {"(#nowhere.lst)", "error 613"},
        {"(1,0=chat*!R/TG1)", "error 657"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.stack, Compile(row.text));
    }
    // Deep nesting, reader-typed, is refused before it can exhaust the stack.
    std::string deep = "(1,0=a)";
    for (int i = 0; i < kQuestMaxDepth + 10; ++i)
        deep = "((1,0=a) AND " + deep + ")";
    EXPECT_EQ("error 651", Compile(deep));
    std::string chain = "(1,0=a)";
    for (int i = 0; i < 300; ++i)
        chain += " OR (1,0=a)";
    EXPECT_EQ(0u, Compile(chain).find("a a 2 a 2"));
    // A failed push leaves the rest of the question, which the evaluation then refuses.
    ASSERT_EQ("b", Compile("(1,0=b) AND (#nowhere.lst)"));
    LoHandle h = 0;
    EXPECT_EQ(kQuestErrPushFailed, KY_EngineEvaluate(&h, 0, " "));
    EXPECT_EQ(-1, h);
    // Units belong to AND only.
    KY_QuestRecord r;
    KY_QuestOperatorRecord("OR", &r);
    r.unit = kUnitW;
    EXPECT_EQ(kQuestErrUnitPlace, KY_QuestPush(&r));
    KY_QuestTermRecord("1,0=a", &r);
    r.unit = kUnitW;
    EXPECT_EQ(kQuestErrUnitPlace, KY_QuestPush(&r));
    KY_QuestTermRecord("1,0=a", &r);
    r.count = 3;
    EXPECT_EQ(kQuestErrCount, KY_QuestPush(&r));
    KY_EngineClearQuests();
}

TEST_F(QuestBase, TermsCarryTheirFieldKindAndRelation) {
    KY_QuestRecord r;
    ASSERT_EQ(0, KY_QuestTermRecord("3,1=chat*!x", &r));
    EXPECT_EQ(kQuestPattern, r.kind);
    EXPECT_EQ(3u, r.field);
    EXPECT_STREQ("chat*", r.text);
    ASSERT_EQ(0, KY_QuestNew());
    char term[kQuestTextSize] = "pomme";
    ASSERT_EQ(0, KY_QuestAddTerm(term, 2, 0, "TG"));
    EXPECT_STREQ(" (2,1=pommeR/TG2) ", KY_QuestText());
    KY_EngineClearQuests();
    ASSERT_EQ(0, KY_QuestCompile(nullptr, nullptr));
    ASSERT_EQ(1, KY_QuestCount());
    const KY_QuestRecord& p = KY_QuestAt(0)->record;
    EXPECT_EQ(kQuestThes, p.kind);
    EXPECT_EQ(0x82u, p.field);
    EXPECT_STREQ("pomme", p.text);
    EXPECT_EQ(2, p.relation);
    EXPECT_EQ(2, p.count);
    std::strcpy(term, "le");
    ASSERT_EQ(0, KY_QuestAddTerm(term, 1, 1, nullptr));
    EXPECT_EQ(kQuestErrMemory, KY_QuestNew());
    EXPECT_EQ(0, KY_QuestFree());
    EXPECT_EQ(kQuestErrAddTerm, KY_QuestAddTerm(term, 1, 1, nullptr));
    EXPECT_EQ(kQuestErrAddOperator, KY_QuestAddOperator("AND", 0, 0));
    KY_EngineClearQuests();
}

// Field 0 has no index list: its terms are accepted and looked up in the extra
// index lists, here the list of field 1's index.
TEST_F(QuestBase, FieldsWithoutAnIndexListSearchTheExtraLists) {
    auto count = [](const std::string& question, const char* extra, int* code) {
        KY_EngineClearQuests();
        KY_QuestNew();
        KY_QuestAppend(question.c_str());
        *code = KY_QuestCompile(extra, extra);
        KY_QuestFree();
        LoHandle h = -1;
        int32_t n = -1, doc, value, firstPos;
        if (!*code && (*code = KY_EngineEvaluate(&h, 0, " ")) == 0 && LoRewind(h) == 0 &&
            LoFirst(h, &n, &doc, &value, &firstPos) == 0)
            LoClose(h);
        LoFree(&h);
        KY_EngineClearQuests();
        return n;
    };
    for (const char* term : {"0=pomme", "0=pom*!x", "0=?aison", "1=fruitR/TG1"}) {
        SCOPED_TRACE(term);
        int code = -1;
        int32_t expected = count(std::string("(1,") + term + ")", nullptr, &code);
        ASSERT_EQ(0, code);
        EXPECT_LT(0, expected);
        EXPECT_EQ(expected, count(std::string("(0,") + term + ")", "0", &code));
        EXPECT_EQ(0, code) << KY_EngineErrorText;
        count(std::string("(0,") + term + ")", nullptr, &code);
        EXPECT_EQ(kQuestNotFound, code) << "no list and no extra list: nothing found";
    }
}

TEST_F(QuestBase, EvaluationGivesMissingTermsAndProximityWords) {
    LoHandle h = 0;
    ASSERT_EQ("licorne", Compile("(1,0=licorne)"));
    EXPECT_EQ(kQuestNotFound, KY_EngineEvaluate(&h, 0, " "));
    EXPECT_EQ(-1, h);
    ASSERT_EQ("maison jardin 1/1.3", Compile("(1,0=maison) ANDS/W3 (1,0=jardin)"));
    ASSERT_EQ(0, KY_EngineEvaluate(&h, 0, " "));
    LoFree(&h);
    std::string words;
    for (const KY_EnteredWord& w : KY_EngineEnteredWords())
        words += w.word + "|";
    EXPECT_EQ("jardin <EXPR>3 maison|maison <EXPR>3 jardin|", words);
    // A thesaurus term brings the specific terms of what it reached into the highlight list.
    ASSERT_EQ("fruit", Compile("(1,1=fruitR/TG1)"));
    ASSERT_EQ(0, KY_EngineEvaluate(&h, 0, " "));
    LoFree(&h);
    ASSERT_EQ(0, KY_EngineBuildHilite(0));
    std::string hilite;
    for (const std::string& w : KY_EngineHilite())
        hilite += w + "|";
    EXPECT_EQ("cerise|fruit|poire|pomme|", hilite);
    EXPECT_EQ("error 650", Compile("()"));
    KY_EngineClearQuests();
}

// A stored list and its highlight words are replaced together: a failed step
// of the save leaves the old list with its own words.
TEST_F(QuestBase, AFailedListSaveKeepsTheOldListAndWords) {
    std::string path = base_->folder.path("pair.lst"), qsv = base_->folder.path("pair.qsv");
    auto save = [&](const char* word) {
        LoHandle h = -1;
        EXPECT_EQ(word, Compile(std::string("(1,0=") + word + ")"));
        EXPECT_EQ(0, KY_EngineEvaluate(&h, 0, " "));
        return KY_EngineSaveList(&h, path.c_str());
    };
    auto bytes = [](const std::string& file) {
        std::string out;
        return LoadFile(file, &out) ? out : "<none>";
    };
    ASSERT_EQ(0, save("pomme"));
    const std::string oldList = bytes(path), oldWords = bytes(qsv);
    int failed = 0;
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        KyFileSetFailStep = step;
        KyFileSetSteps = 0;
        int code = save("maison");
        KyFileSetFailStep = 0;
        if (code == 0) {
            EXPECT_NE(oldList, bytes(path));
            EXPECT_EQ("\x04maison\n", bytes(qsv));
            break;
        }
        ++failed;
        EXPECT_EQ(oldList, bytes(path));
        EXPECT_EQ(oldWords, bytes(qsv));
        EXPECT_EQ("<none><none>", bytes(path + ".new~") + bytes(qsv + ".old~"));
    }
    EXPECT_EQ(6, failed);
    EXPECT_EQ(0, KY_EngineDeleteList(path.c_str()));
    KY_EngineClearQuests();
}

TEST_F(QuestBase, StoredListsKeepTheirHighlightWords) {
    LoHandle h = -1;
    ASSERT_EQ("pomme", Compile("(1,0=pomme)"));
    ASSERT_EQ(0, KY_EngineEvaluate(&h, 0, " "));
    std::string path = base_->folder.path("saved.lst");
    ASSERT_EQ(0, KY_EngineSaveList(&h, path.c_str()));
    EXPECT_EQ(-1, h);
    EXPECT_TRUE(KY_EngineEnteredWords().empty());
    ASSERT_EQ(path + " maison 2", Compile("(#" + path + ") OR (1,0=maison)"));
    ASSERT_EQ(0, KY_EngineEvaluate(&h, 0, " "));
    int32_t count = 0, doc, value, firstPos;
    ASSERT_EQ(0, LoRewind(h));
    ASSERT_EQ(0, LoFirst(h, &count, &doc, &value, &firstPos));
    LoClose(h);
    LoFree(&h);
    int expected = 0;
    for (const QuestData::Doc& d : base_->docs) {
        bool any = false;
        for (const auto& p : d.paras)
            for (const auto& w : p)
                any = any || w.word == "pomme" || w.word == "maison";
        expected += any;
    }
    EXPECT_EQ(expected, count);
    std::string words;
    for (const KY_EnteredWord& w : KY_EngineEnteredWords())
        words += w.word + "|";
    EXPECT_EQ("maison|pomme|", words);
    EXPECT_EQ(0, KY_EngineDeleteList(path.c_str()));
    EXPECT_EQ("error 613", Compile("(#" + path + ")"));
    KY_EngineClearQuests();
}

TEST_F(QuestBase, CriterionTextsAreWrittenOrRefused) {
    KY_CriterionField f;
    f.field = 1;
    f.separators = " ";
    KY_CriterionField orP2 = f;
    orP2.op = 1;
    orP2.defaultProx = "P2";
    KY_CriterionField lexicon = f;
    lexicon.lexicon = "_FORCESECTOPROX_";
    lexicon.proxFlag = 1;
    KY_CriterionField noProx = lexicon;
    noProx.proxFlag = 0;
    KY_CriterionField minimum = f;
    minimum.minLength = 4;
    // A form may list quotes and brackets among its separators: they still quote and group.
    KY_CriterionField marks = f;
    marks.separators = " \"()";
    KY_CriterionField marksLexicon = lexicon;
    marksLexicon.separators = marks.separators;
    // A lexicon of its own, upper case folded, and one that shares the words index.
    std::vector<AbpKeyItem> phrases(2);
    phrases[0].key = "maison jardin";
    phrases[1].key = "pomme de terre";
    AbpTreeOptions keysOnly;
    keysOnly.occurrences = false;
    ASSERT_EQ("", AbpWriteTree(base_->folder.path("lex.abp"), phrases, keysOnly));
    KY_Lexicon own;
    own.name = own.keyFile = base_->folder.path("lex.abp");
    own.filterFile = base_->folder.write("lex.tab", "0x41 26 0x61\n");
    KY_Lexicon shared;
    shared.name = shared.keyFile = base_->indexes[0].path;
    shared.shared = &base_->indexes[0].tree;
    KY_CriterionField ownLex = lexicon;
    ownLex.lexicon = own.name;
    ownLex.lex = &own;
    KY_CriterionField sharedLex = noProx;
    sharedLex.lexicon = shared.name;
    sharedLex.lex = &shared;
    struct Row {
        const char* text;
        const KY_CriterionField* field;
        int code;
        const char* written;
    } rows[] = {
        {"chat chien", &f, 0, " (1,0=chat)  AND  (1,0=chien) "},
        {"chat chien", &orP2, 0, " (1,0=chat)  ORS/P2  (1,0=chien) "},
        {"chat PRES4 chien", &f, 0, " (1,0=chat)  ANDS/W4  (1,0=chien) "},
        {"chat le chien", &f, 0, " (1,0=chat)  AND () AND  (1,0=chien) "},
        {"chat ami", &minimum, 0, " (1,0=chat)  AND ()"},
        {"\"maison de jardin\"", &lexicon, 0, "( (1,0=maison)  ANDS/W2  (1,0=jardin) )"},
        {"\"maison jardin\"", &f, 0, " (1,0=maison jardin) "},
        {"\"maison jardin\"", &noProx, kQuestNotFound, ""},
        {"\"le maison\"", &lexicon, 0, " (1,0=le maison) "},
        {"\"MAISON Jardin\"", &ownLex, 0, " (1,0=MAISON Jardin) "},
        {"\"chat chien\"", &ownLex, 0, "( (1,0=chat)  ANDS/W1  (1,0=chien) )"},
        {"\"chat chien\"", &sharedLex, kQuestNotFound, ""},
        {"\"chat\"", &sharedLex, 0, " (1,0=chat) "},
        {"chat AND", &f, kQuestErrOperands, ""},
        {"AND chat", &f, kQuestErrOperands, ""},
        {"(chat", &f, 1200, ""},
        {"chat)", &f, 1200, ""},
        {"\"chat", &f, 1201, ""},
        {"\"chat (chien)\"", &f, 1209, ""},
        {"  ", &f, 1252, ""},
        {"\"maison jardin\"", &marks, 0, " (1,0=maison jardin) "},
        {"\"maison de jardin\"", &marksLexicon, 0, "( (1,0=maison)  ANDS/W2  (1,0=jardin) )"},
        {"(chat OR chien) oiseau", &marks, 0, "( (1,0=chat)  OR  (1,0=chien) ) AND  (1,0=oiseau) "},
        // An empty group stays in its place, for the question to drop.
        {"(chat) OR () AND (chien)", &f, 0, "( (1,0=chat) ) OR () AND ( (1,0=chien) )"},
        {"(chat) OR (()) AND (chien)", &marks, 0, "( (1,0=chat) ) OR (()) AND ( (1,0=chien) )"},
        {"chat ()", &f, 0, " (1,0=chat)  AND ()"},
        {"chat (", &f, 1200, ""},
        {"chat (chien", &marks, 1200, ""},
        {"chat)", &marks, 1200, ""},
        {"\"chat", &marks, 1201, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        int code = -1;
        std::string written = Written(row.text, *row.field, &code);
        EXPECT_EQ(row.code, code);
        if (!code) {
            EXPECT_EQ(row.written, written);
        }
    }
    KY_FreeLexicon(&own);
    DeleteFileA(base_->folder.path("lex.abp").c_str());
    // Reader-typed text is bounded: a criterion past its limit is refused, a long term cut.
    int code = -1;
    Written(std::string(kCriterionMaxDepth + 1, '(') + "chat" + std::string(kCriterionMaxDepth + 1, ')'), f, &code);
    EXPECT_EQ(1200, code);
    Written(std::string(kCriterionMaxText + 1, 'a'), f, &code);
    EXPECT_EQ(1200, code);
    std::string written = Written(std::string(300, 'b'), f, &code);
    EXPECT_EQ(0, code);
    EXPECT_EQ(" (1,0=" + std::string(127, 'b') + ") ", written);
}

TEST_F(QuestBase, DatesGiveRangeKeys) {
    struct Row {
        const char* date;
        int mode;
        const char *low, *high;
    } rows[] = {
        {"1990", 0, "19900101", "19901231"},     {"1990", 1, "00010000", "19891231"},
        {"1990", 3, "19910101", "30010000"},     {"1990", 2, "00010000", "19901231"},
        {"1990", 4, "19900101", "30010000"},     {"199005", 1, "00010000", "19900431"},
        {"19901231", 3, "19910101", "30010000"}, {"19900301", 1, "00010000", "19900231"},
        {"19900315", 0, "19900315", "19900315"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.date << " mode " << row.mode);
        std::string low, high;
        ASSERT_EQ(0, KY_DateKeys(row.date, row.mode, &low, &high));
        EXPECT_EQ(row.low, low);
        EXPECT_EQ(row.high, high);
    }
    KY_CriterionField f;
    f.field = 2;
    struct Bad {
        const char* text;
        int code;
    } bad[] = {{"1990 13", 1204}, {"1990 5 32", 1205},  {"5 1990", 1203},           {"199", 1206},
               {"19900", 1206},   {"1990 5 3 4", 1202}, {"AVANT APRES 1990", 1207}, {"", 1260}};
    for (const Bad& row : bad) {
        SCOPED_TRACE(row.text);
        std::vector<std::string> lists;
        KY_QuestNew();
        EXPECT_EQ(row.code, KY_DateCriterionText(row.text, f, base_->folder.path("").c_str(), &lists));
        KY_QuestFree();
        EXPECT_TRUE(lists.empty());
    }
}

TEST_F(QuestBase, CharacterTablesMapAndDropBytes) {
    struct Row {
        const char* file;
        int result;
        const char* in;
        const char* out;
    } rows[] = {
        {"0x41 26 0x61\n'-' 1 UNUSED\n", 1, "PORTE-FENETRE", "portefenetre"},
        {"; a note\n\n65 3 'x'\n", 1, "ABCD", "xyzD"},
        {"0x41 26\n", 0, "A", "A"},
        {"0xF0 17 0x41\n", 0, "A", "A"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        std::string path = base_->folder.write("t.tab", row.file);
        unsigned char table[256];
        EXPECT_EQ(row.result, KY_LoadCharTable(table, path.c_str()));
        char text[64];
        std::strcpy(text, row.in);
        KY_FilterChars(text, table);
        if (row.result) {
            EXPECT_STREQ(row.out, text);
        }
    }
    unsigned char table[256];
    EXPECT_EQ(105, KY_LoadCharTable(table, base_->folder.path("none.tab").c_str()));
    EXPECT_EQ('A', table['A']);
}

TEST_F(QuestBase, ThesaurusWalksOneTermsRelationsOnly) {
    KY_Thes* thes = KY_EngineThes();
    std::string out;
    std::vector<std::string> got;
    for (int code = KY_ThesFirst(thes, 2, "pomme", &out, 1); !code; code = KY_ThesNext(thes, &out))
        got.push_back(out);
    EXPECT_EQ(std::vector<std::string>{"fruit"}, got);
    got.clear();
    for (int code = KY_ThesFirst(thes, 1, "fruit", &out, 1); !code; code = KY_ThesNext(thes, &out))
        got.push_back(out);
    EXPECT_EQ((std::vector<std::string>{"pomme", "poire", "cerise"}), got);
    EXPECT_EQ(1100, KY_ThesFirst(thes, 4, "fruit", &out, 1));
    EXPECT_EQ(1107, KY_ThesFirst(thes, 9, "fruit", &out, 1));
    EXPECT_EQ(1108, KY_ThesNext(thes, &out));
    EXPECT_EQ(1112, KY_ThesOpen(thes, 1));
}

TEST_F(QuestBase, RandomTextsGiveAResultOrACode) {
    std::mt19937 rng(25);
    const char* const pieces[] = {
        "(",     ")", " ", "AND",  "OR",   "EX", "PRES2",  "PARA",  "\"",   "pomme",  "chat", "le", "ch*!", "?",
        "R/TG1", "#", "@", "1,0=", "2,0=", "=",  "ANDS/W", "ORS/P", "SAUF", "maison", "\xFF", "\t", "\n"};
    KY_CriterionField f;
    f.field = 1;
    f.separators = " ";
    f.lexicon = kForceProximity;
    f.proxFlag = 1;
    for (int n = 0; n < 800; ++n) {
        std::string text;
        for (int k = 0, count = 1 + static_cast<int>(rng() % 12); k < count; ++k)
            text += pieces[rng() % (sizeof pieces / sizeof *pieces)];
        SCOPED_TRACE(text);
        KY_EngineClearQuests();
        KY_QuestNew();
        int code = n % 2 ? KY_TextCriterion(text.c_str(), f) : KY_QuestAppend(text.c_str());
        if (!code)
            code = KY_QuestCompile(nullptr, nullptr);
        KY_QuestFree();
        LoHandle h = -1;
        if (!code)
            code = KY_EngineEvaluate(&h, 0, " ");
        if (code == 0 && h != -1) {
            int32_t count = 0, doc, value, firstPos;
            EXPECT_EQ(0, LoRewind(h));
            EXPECT_EQ(0, LoFirst(h, &count, &doc, &value, &firstPos));
            EXPECT_GE(count, 0);
            LoClose(h);
        }
        LoFree(&h);
        EXPECT_TRUE(code == 0 || (code >= 600 && code <= 704) || (code >= 1200 && code <= 1260) || code == 110)
            << code << " " << KY_EngineErrorText;
    }
    KY_EngineClearQuests();
    // No list handle was left behind: all ten can still be had.
    LoHandle handles[kLoMaxLists];
    for (LoHandle& h : handles)
        EXPECT_GE(h = LoNew(), 0);
    for (LoHandle& h : handles)
        LoFree(&h);
}
