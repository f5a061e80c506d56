// Word-match ranking and the whole-word search.
#include <gtest/gtest.h>

#include "base/object/AFilter.h"
#include "search/facade/KyTextMatch.h"

namespace {

// Markers: A "<a>", B "<b>", C "<c>", D "<d>".
int Grade(const char* word, const char* text, const AFilter* filter = nullptr) {
    return KyTextMatch(word, text, filter, "<a>", "<b>", "<c>", "<d>");
}

}  // namespace

TEST(KyTextMatch, GradesByThePieceHoldingTheWord) {
    struct Row {
        const char* word;
        const char* text;
        int grade;
    } const rows[] = {
        {"art", "art moderne<a>autre", 1},
        {"art", "le grand art<a>autre", 2},
        {"art", "<a>peinture (art)", 3},
        {"art", "<a>l'art moderne", 5},
        {"art", "<b>peinture [art]", 6},
        {"art", "<b>un art", 4},
        {"art", "<d>un art", 7},
        {"art", "partie<a>parties", 7},
        {"l'art", "<a>peinture (art)", 3},
        {"c\x9C"
         "ur",
         "coeur<a>x", 7},
        {"coeur",
         "c\x9C"
         "ur<a>x",
         1},
        {"", "art", 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(r.grade, Grade(r.word, r.text));
    }
    AFilter identity;
    identity.makeIdentity();
    EXPECT_EQ(1, Grade("art", "art", &identity));
}

TEST(KyTextMatch, FindsWholeWordsOnly) {
    struct Row {
        const char* word;
        const char* text;
        long found;
        int insideParentheses;
    } const rows[] = {
        {"art", "partie art", 7, 0},
        {"art", "art", 0, 0},
        {"art", "(un art)", 4, 1},
        {"art", "(un) art", 5, 0},
        {"art", "x (y) (z art) w", 9, 1},
        {"art", "artiste", -1, 0},
        {"art",
         "l'art-d\xE9"
         "co",
         2, 0},
        {"", "art", -1, 0},
        {"art", "(art", 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(r.found, FindWord(r.word, r.text, kWordSeparators));
        EXPECT_EQ(r.insideParentheses, IsWordInside(r.word, r.text, '(', ')', kWordSeparators));
    }
    EXPECT_STREQ("coeur AE", ExpandLigatures("c\x9C"
                                             "ur \xC6")
                                 .c_str());
}
