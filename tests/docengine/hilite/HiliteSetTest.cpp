// The hit set: expressions split into lines, lists and words, and the
// answers it gives for words and runs of words.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "docengine/hilite/AHiliteSet.h"
#include "tests/docengine/model/DocTestSupport.h"

namespace {

// "hit", "partial", "both" or "no" for a run.
std::string Answer(AHiliteSet* set, const char* run) {
    uint16_t partial = 0;
    int hit = set->matchWord(run, static_cast<long>(strlen(run)), &partial);
    return hit && partial ? "both" : hit ? "hit" : partial ? "partial" : "no";
}

TEST(HiliteSet, WordsPhrasesAndProximity) {
    struct Row {
        const char* expression;
        const char* run;
        const char* answer;
    } rows[] = {
        {"chat,chien", "chat", "hit"},
        {"chat,chien", "chien", "hit"},
        {"chat,chien", "chats", "no"},
        {"chat,chien", "cha", "no"},
        {"chien,chat*", "chats", "hit"},
        {"chien,chat*", "chiens", "hit"},
        {"chien,chat*", "chi", "no"},
        {"chat*,chien", "chats", "no"},  // only the last item's star makes a prefix list
        {"pomme de terre", "pomme", "partial"},
        {"pomme de terre", "pomme de", "partial"},
        {"pomme de terre", "pomme de terre", "hit"},
        {"pomme de terre", "pomme a", "no"},
        {"guerre <EXPR>3 mondiale", "guerre mondiale", "hit"},
        {"guerre <EXPR>3 mondiale", "guerre premiere mondiale", "hit"},
        {"guerre <EXPR>3 mondiale", "guerre de la mondiale", "hit"},
        {"guerre <EXPR>3 mondiale", "guerre a b c mondiale", "no"},
        {"guerre <EXPR>3 mondiale", "mondiale guerre", "no"},
        {"guerre <EXPR>3 mondiale", "guerre", "partial"},
        {"guerre <EXPR>3 mondiale", "guerre premiere", "partial"},
        {"<EXPR><EXPR>guerre <EXPR>2 paix<EXPR>", "guerre paix", "hit"},
        {"x\nchat", "chat", "hit"},
        {"x\r\nchat", "chat", "hit"},
        {"", "chat", "no"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.expression) + " / " + row.run);
        Held<AHiliteSet> set(new AHiliteSet(row.expression, " .,;:'", AFilter()));
        EXPECT_EQ(row.answer, Answer(set.get(), row.run));
    }
}

TEST(HiliteSet, LinesWordStartsAndTheProximityBound) {
    Held<AHiliteSet> set(new AHiliteSet("chat\r\nguerre <EXPR>300 paix\n", " ", AFilter()));
    EXPECT_EQ(3, set->lineCount());
    EXPECT_TRUE(set->isWordStart('c'));
    EXPECT_TRUE(set->isWordStart('p'));
    EXPECT_FALSE(set->isWordStart('x'));
    // 255 unmatched words fit the window of 300 but not the bound of 256 words.
    std::string run = "guerre";
    for (int i = 0; i < 254; ++i)
        run += " a";
    EXPECT_EQ("partial", Answer(set.get(), run.c_str()));
    EXPECT_EQ("hit", Answer(set.get(), (run + " paix").c_str()));
    EXPECT_EQ("no", Answer(set.get(), (run + " a paix").c_str()));
    set->setExpressionText("");
    EXPECT_FALSE(set->isWordStart('c'));
    EXPECT_EQ("no", Answer(set.get(), "chat"));
}

TEST(HiliteSet, SplitStringSkipsEmptyParts) {
    struct Row {
        const char* text;
        const char* separator;
        const char* parts;
    } rows[] = {
        {"a<EXPR>b", "<EXPR>", "a|b|"},
        {"<EXPR>a<EXPR><EXPR>b<EXPR>", "<EXPR>", "a|b|"},
        {"", "<EXPR>", ""},
        {"un  deux trois", " ", "un|deux|(3)"},
        {"a b c d", " ", "a|b|(4)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string text = row.text;
        char* parts[2];
        int n = splitString(&text[0], parts, row.separator, 2);
        std::string out;
        for (int i = 0; i < n && i < 2; ++i)
            out += std::string(parts[i]) + "|";
        if (n > 2)
            out += "(" + std::to_string(n) + ")";
        EXPECT_EQ(row.parts, out);
    }
}

}  // namespace
