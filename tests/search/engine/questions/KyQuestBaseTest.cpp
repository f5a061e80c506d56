// Questions against a generated base of 20,000 French documents: each criterion's
// documents are checked against a scan of the same texts written here.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "base/procedural/EngineTables.h"
#include "search/engine/questions/KyQuest.h"
#include "tests/search/engine/questions/KyQuestBase.h"

namespace {

using Doc = QuestData::Doc;

// Two words in one paragraph at most `distance` words apart (0: anywhere in it).
bool Near(const Doc& d, const std::string& a, const std::string& b, int distance) {
    for (const auto& p : d.paras)
        for (const auto& x : p)
            for (const auto& y : p)
                if (x.word == a && y.word == b && (distance == 0 || std::abs(x.n - y.n) <= distance))
                    return true;
    return false;
}

// Words in one paragraph, word w at most distances[w - 1] words from a match of
// the words before it: the positions matched so far grow word by word.
bool Chain(const Doc& d, const std::vector<std::string>& words, const std::vector<int>& distances) {
    for (const auto& p : d.paras) {
        std::vector<int> matched;
        for (const auto& x : p)
            if (x.word == words[0])
                matched.push_back(x.n);
        for (size_t w = 1; w < words.size() && !matched.empty(); ++w) {
            const int distance = distances[w - 1];
            std::vector<int> next;
            for (const auto& y : p) {
                if (y.word != words[w])
                    continue;
                for (int n : matched)
                    if (std::abs(n - y.n) <= distance) {
                        next.push_back(y.n);
                        break;
                    }
            }
            for (int n : matched)
                for (const auto& y : p)
                    if (y.word == words[w] && std::abs(n - y.n) <= distance) {
                        next.push_back(n);
                        break;
                    }
            matched = next;
        }
        if (!matched.empty())
            return true;
    }
    return false;
}

// Two words at most `distance` paragraphs apart.
bool NearParagraphs(const Doc& d, const std::string& a, const std::string& b, int distance) {
    for (size_t i = 0; i < d.paras.size(); ++i)
        for (size_t j = 0; j < d.paras.size(); ++j)
            if (std::abs(static_cast<int>(i) - static_cast<int>(j)) <= distance) {
                bool hasA = false, hasB = false;
                for (const auto& x : d.paras[i])
                    hasA = hasA || x.word == a;
                for (const auto& y : d.paras[j])
                    hasB = hasB || y.word == b;
                if (hasA && hasB)
                    return true;
            }
    return false;
}

bool Glob(const char* p, const char* t) {
    if (!*p)
        return !*t;
    if (*p == '*')
        return Glob(p + 1, t) || (*t && Glob(p, t + 1));
    return *t && (*p == '?' || *p == *t) && Glob(p + 1, t + 1);
}

bool Like(const Doc& d, const std::string& pattern) {
    for (const auto& p : d.paras)
        for (const auto& x : p)
            if (Glob(pattern.c_str(), x.word.c_str()))
                return true;
    return false;
}

// A word, or one the thesaurus relates to it by the relation.
bool Related(const Doc& d, const std::vector<ThesRelation>& thes, const std::string& w, int relation) {
    if (Has(d, w))
        return true;
    for (const ThesRelation& r : thes)
        if (r.term == w && r.relation == relation && Has(d, r.related))
            return true;
    return false;
}

}  // namespace

TEST_F(QuestBase, EveryQuestionFindsWhatAScanOfTheTextsFinds) {
    KY_CriterionField words;
    words.field = 1;
    words.separators = " ";
    KY_CriterionField ors = words;
    ors.op = 1;
    KY_CriterionField close = words;
    close.defaultProx = "W2";
    KY_CriterionField phrases = words;
    phrases.lexicon = "_FORCESECTOPROX_";
    phrases.proxFlag = 1;
    KY_CriterionField thesaurus = words;
    thesaurus.thesFlag = 1;
    KY_CriterionField dates;
    dates.field = 2;
    dates.separators = " /";
    const auto& th = base_->thes;
    auto date = [](const Doc& d) { return d.date; };
    struct Row {
        const char* text;
        const KY_CriterionField* field;
        std::function<bool(const Doc&)> scan;
    } rows[] = {
        {"pomme", &words, [](const Doc& d) { return Has(d, "pomme"); }},
        {"maison", &words, [](const Doc& d) { return Has(d, "maison"); }},
        {"pont", &words, [](const Doc& d) { return Has(d, "pont"); }},
        {"licorne", &words, [](const Doc&) { return false; }},
        {"le", &words, [](const Doc&) { return false; }},
        {"pomme poire", &words, [](const Doc& d) { return Has(d, "pomme") && Has(d, "poire"); }},
        {"pomme AND chat", &words, [](const Doc& d) { return Has(d, "pomme") && Has(d, "chat"); }},
        {"pomme OR pont", &words, [](const Doc& d) { return Has(d, "pomme") || Has(d, "pont"); }},
        {"maison EX jardin", &words, [](const Doc& d) { return Has(d, "maison") && !Has(d, "jardin"); }},
        {"pont EX maison", &words, [](const Doc& d) { return Has(d, "pont") && !Has(d, "maison"); }},
        {"jardin EX pomme", &words, [](const Doc& d) { return Has(d, "jardin") && !Has(d, "pomme"); }},
        {"maison EX licorne", &words, [](const Doc& d) { return Has(d, "maison"); }},
        {"pomme poire", &ors, [](const Doc& d) { return Has(d, "pomme") || Has(d, "poire"); }},
        {"pont gare eglise", &ors, [](const Doc& d) { return Has(d, "pont") || Has(d, "gare") || Has(d, "eglise"); }},
        // A rare word first: the frequent one keeps only its occurrences in the rare one's documents.
        {"pont AND maison", &words, [](const Doc& d) { return Has(d, "pont") && Has(d, "maison"); }},
        {"pont PRES3 maison", &words, [](const Doc& d) { return Near(d, "pont", "maison", 3); }},
        {"pont PRES3 maison PRES3 jardin", &words,
         [](const Doc& d) {
             return Chain(d, {"pont", "maison", "jardin"}, {3, 3});
         }},
        {"pon*! AND maison", &words, [](const Doc& d) { return Like(d, "pon*") && Has(d, "maison"); }},
        // A frequent word first: the rare one is read first and the frequent one keeps only its documents.
        {"maison AND pont", &words, [](const Doc& d) { return Has(d, "maison") && Has(d, "pont"); }},
        {"maison PRES3 pont", &words, [](const Doc& d) { return Near(d, "maison", "pont", 3); }},
        {"\"maison pont\"", &phrases, [](const Doc& d) { return Near(d, "maison", "pont", 1); }},
        {"jardin PRES2 maison PRES2 pont", &words,
         [](const Doc& d) {
             return Chain(d, {"jardin", "maison", "pont"}, {2, 2});
         }},
        {"maison AND licorne", &words, [](const Doc&) { return false; }},
        // Words looked up again in one question: each reading starts at its word.
        {"(maison AND pont) OR (pont AND jardin)", &words,
         [](const Doc& d) { return Has(d, "pont") && (Has(d, "maison") || Has(d, "jardin")); }},
        {"maison AND pont AND (maison PRES2 jardin)", &words,
         [](const Doc& d) { return Has(d, "pont") && Near(d, "maison", "jardin", 2); }},
        {"pomme le chat", &words, [](const Doc& d) { return Has(d, "pomme") && Has(d, "chat"); }},
        {"pomme licorne", &ors, [](const Doc& d) { return Has(d, "pomme"); }},
        {"pomme licorne", &words, [](const Doc&) { return false; }},
        {"maison AND jardin OR pont", &words,
         [](const Doc& d) { return (Has(d, "maison") && Has(d, "jardin")) || Has(d, "pont"); }},
        {"maison AND (jardin OR pont)", &words,
         [](const Doc& d) { return Has(d, "maison") && (Has(d, "jardin") || Has(d, "pont")); }},
        {"(pomme OR poire) EX (chat OR chien)", &words,
         [](const Doc& d) { return (Has(d, "pomme") || Has(d, "poire")) && !Has(d, "chat") && !Has(d, "chien"); }},
        {"((maison))", &words, [](const Doc& d) { return Has(d, "maison"); }},
        {"ville EX (village AND (route OR riviere))", &words,
         [](const Doc& d) {
             return Has(d, "ville") && !(Has(d, "village") && (Has(d, "route") || Has(d, "riviere")));
         }},
        {"pomme OR poire OR cerise EX fruit", &words,
         [](const Doc& d) { return (Has(d, "pomme") || Has(d, "poire") || Has(d, "cerise")) && !Has(d, "fruit"); }},
        {"maison PRES1 jardin", &words, [](const Doc& d) { return Near(d, "maison", "jardin", 1); }},
        {"maison PRES3 jardin", &words, [](const Doc& d) { return Near(d, "maison", "jardin", 3); }},
        {"pomme PRES poire", &words, [](const Doc& d) { return Near(d, "pomme", "poire", 1); }},
        {"chat PRES5 chien", &words, [](const Doc& d) { return Near(d, "chat", "chien", 5); }},
        {"maison jardin", &close, [](const Doc& d) { return Near(d, "maison", "jardin", 2); }},
        {"ville PARA route", &words, [](const Doc& d) { return Near(d, "ville", "route", 0); }},
        {"pomme PARA pomme", &words, [](const Doc& d) { return Has(d, "pomme"); }},
        {"ville PARA1 route", &words, [](const Doc& d) { return NearParagraphs(d, "ville", "route", 1); }},
        {"maison PRES2 jardin OR pont", &words,
         [](const Doc& d) { return Near(d, "maison", "jardin", 2) || Has(d, "pont"); }},
        {"\"maison jardin\"", &phrases, [](const Doc& d) { return Near(d, "maison", "jardin", 1); }},
        {"\"pomme de poire\"", &phrases, [](const Doc& d) { return Near(d, "pomme", "poire", 2); }},
        {"chat \"maison jardin\"", &phrases,
         [](const Doc& d) { return Has(d, "chat") && Near(d, "maison", "jardin", 1); }},
        {"\"maison jardin\"", &words, [](const Doc&) { return false; }},
        {"\"maison jardin pont\"", &phrases,
         [](const Doc& d) {
             return Chain(d, {"maison", "jardin", "pont"}, {1, 1});
         }},
        {"\"pomme de poire chat\"", &phrases,
         [](const Doc& d) {
             return Chain(d, {"pomme", "poire", "chat"}, {2, 1});
         }},
        {"ville PRES2 route PRES2 maison", &words,
         [](const Doc& d) {
             return Chain(d, {"ville", "route", "maison"}, {2, 2});
         }},
        {"pom*!", &words, [](const Doc& d) { return Like(d, "pom*"); }},
        {"p?ire", &words, [](const Doc& d) { return Like(d, "p?ire"); }},
        {"ch*! EX chat", &words, [](const Doc& d) { return Like(d, "ch*") && !Has(d, "chat"); }},
        {"p*!", &words, [](const Doc& d) { return Like(d, "p*"); }},
        {"p*! AND ch*!", &words, [](const Doc& d) { return Like(d, "p*") && Like(d, "ch*"); }},
        {"?? AND pont", &words, [](const Doc& d) { return Like(d, "??") && Has(d, "pont"); }},
        {"pomme", &thesaurus, [&th](const Doc& d) { return Related(d, th, "pomme", 2); }},
        {"chat", &thesaurus, [&th](const Doc& d) { return Related(d, th, "chat", 2); }},
        {"pommeraie", &thesaurus, [&th](const Doc& d) { return Related(d, th, "pommeraie", 2); }},
        {"train", &thesaurus, [&th](const Doc& d) { return Related(d, th, "train", 2); }},
        {"maison", &thesaurus, [](const Doc& d) { return Has(d, "maison"); }},
        {"1990", &dates, [=](const Doc& d) { return date(d) / 10000 == 1990; }},
        {"1990/5", &dates, [=](const Doc& d) { return date(d) / 100 == 199005; }},
        {"AVANT 1985", &dates, [=](const Doc& d) { return date(d) < 19850101; }},
        {"APRES 1999 6", &dates, [=](const Doc& d) { return date(d) / 100 > 199906; }},
        {"DEPUIS 1995 3 15", &dates, [=](const Doc& d) { return date(d) >= 19950315; }},
        {"JUSQUA 1982", &dates, [=](const Doc& d) { return date(d) / 10000 <= 1982; }},
        {"1980 OR 1991 7 2", &dates, [=](const Doc& d) { return date(d) / 10000 == 1980 || date(d) == 19910702; }},
        {"EGAL 2050", &dates, [](const Doc&) { return false; }},
    };
    ASSERT_GE(sizeof rows / sizeof *rows, 40u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::set<int> expected;
        for (int d = 0; d < kDocs; ++d)
            if (row.scan(base_->docs[static_cast<size_t>(d)]))
                expected.insert(d);
        int code = 0;
        std::set<int> got = base_->Run(row.text, *row.field, &code);
        if (expected.empty())
            EXPECT_TRUE(code == 0 || code == kQuestNotFound || code == kQuestErrEmpty)
                << code << " " << KY_EngineErrorText;
        else
            EXPECT_EQ(0, code) << KY_EngineErrorText;
        EXPECT_EQ(expected.size(), got.size());
        EXPECT_TRUE(expected == got);
    }
}
