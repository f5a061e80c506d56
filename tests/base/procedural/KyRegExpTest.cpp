// Classic basic regular expressions: matching, groups, and syntax errors that
// are answered, not fatal.
#include "base/procedural/KyRegExp.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(KyRegExp, MatchesLeftmostLongest) {
    struct Row {
        const char* pattern;
        const char* subject;
        long offset;
        long start, end;              // -1: no match
        long group1Start, group1End;  // -1: not checked
    } const rows[] = {
        {"\\(a*\\)b", "xaab", 0, 1, 4, 1, 3},
        {"\\(ab\\)*", "ab*", 0, 0, 3, 0, 2},
        {"\\(ab\\)*", "abab", 0, -1, -1, -1, -1},
        {"^a", "bba", 2, 2, 3, -1, -1},
        {"^a", "bba", 0, -1, -1, -1, -1},
        {"x*", "", 0, -1, -1, -1, -1},
        {"^$", "", 0, -1, -1, -1, -1},
        {"b*$", "ab", 2, -1, -1, -1, -1},
        {"b*$", "ab", 0, 1, 2, -1, -1},
        {"x*", "ab", 1, 1, 1, -1, -1},
        {"a", "abc", 3, -1, -1, -1, -1},
        {"*a", "b*a", 0, 1, 3, -1, -1},
        {".*c", "abcabc", 0, 0, 6, -1, -1},
        {"[a-c]*d", "zzabcd", 0, 2, 6, -1, -1},
        {"[^a-c]", "abcz", 0, 3, 4, -1, -1},
        {"[]a]", "x]", 0, 1, 2, -1, -1},
        {"[a-]", "x-", 0, 1, 2, -1, -1},
        {"a\\{2,3\\}", "caaaa", 0, 1, 4, -1, -1},
        {"a\\{2\\}", "ca", 0, -1, -1, -1, -1},
        {"a\\{2,\\}b", "aaaaab", 0, 0, 6, -1, -1},
        {"\\(a\\)\\1", "baa", 0, 1, 3, 1, 2},
        {"\\(ab\\)\\1*c", "xababc", 0, 1, 6, 1, 3},
        {"b$", "abab", 0, 3, 4, -1, -1},
        {"a$b", "a$b", 0, 0, 3, -1, -1},
        {"\\.\\*", "a.*", 0, 1, 3, -1, -1},
        {"caf\xE9", "un caf\xE9", 0, 3, 7, -1, -1},
        {"[\xE0-\xFF]", "d\xE9j\xE0", 0, 1, 2, -1, -1},
        {"a", "a", 5, -1, -1, -1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.pattern) + " on " + r.subject + " from " + std::to_string(r.offset));
        KY_RegExp* re = KY_RegComp(r.pattern);
        ASSERT_NE(nullptr, re);
        long start = -9, end = -9, gs = -9, ge = -9;
        int matched = KY_RegExecAt(r.subject, r.offset, re, &start, &end);
        EXPECT_EQ(r.start, matched == 1 ? start : -1);
        EXPECT_EQ(r.end, matched == 1 ? end : -1);
        if (r.group1Start >= 0) {
            ASSERT_EQ(1, KY_RegGroup(1, &gs, &ge));
            EXPECT_EQ(r.group1Start, gs);
            EXPECT_EQ(r.group1End, ge);
        }
        EXPECT_EQ(matched, KY_RegGroup(0, &gs, &ge)) << "a failed match forgets the last one";
        KY_RegFree(re);
    }
}

TEST(KyRegExp, AnswersGroupsOfTheLastMatchOnly) {
    KY_RegExp* re = KY_RegComp("\\(a\\)b");
    ASSERT_EQ(1, KY_RegExec("ab", re, nullptr, nullptr));
    long s = 0, e = 0;
    EXPECT_EQ(1, KY_RegGroup(1, &s, &e));
    EXPECT_EQ(0, KY_RegGroup(2, &s, &e)) << "beyond the pattern's groups";
    EXPECT_EQ(0, KY_RegGroup(-1, &s, &e));
    EXPECT_STREQ("ab", KY_RegLastSubject());
    EXPECT_EQ(0, KY_RegExec(nullptr, re, nullptr, nullptr));
    EXPECT_EQ(nullptr, KY_RegLastSubject());
    KY_RegFree(re);
    EXPECT_EQ(0, KY_RegExec("ab", nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, KY_RegFree(nullptr));
}

TEST(KyRegExp, AnswersSyntaxErrorsWithoutEndingTheProcess) {
    // Each repeated element is a level of the matcher's recursion.
    std::string deepest;
    for (int i = 0; i < 4096; ++i)
        deepest += i % 2 ? "a*" : "b\\{1,2\\}";
    std::string tooDeep;
    for (int i = 0; i < 60000; ++i)
        tooDeep += "a*";
    struct Row {
        std::string pattern;
        int number;
        const char* text;
    } const rows[] = {
        {"\\(a\\)\\2", 25, "\\digit out of range"},
        {"\\(a\\1\\)", 25, "\\digit out of range"},
        {"", 41, "No remembered search string"},
        {"\\(a", 42, "\\( \\) imbalance"},
        {"a\\)", 42, "\\( \\) imbalance"},
        {"\\(\\(\\(\\(\\(\\(\\(\\(\\(\\(", 43, "Too many \\("},
        {"a\\{1,2,3\\}", 44, "More than\t2 numbers given\tin \\{ \\}"},
        {"a\\{1\\x", 45, "}\texpected after \\"},
        {"a\\{3,2\\}", 46, "First number exceeds second in \\{\t\\}"},
        {"[ab", 49, "[\t] imbalance"},
        {"a\\{256\\}", 11, "Range endpoint too large"},
        {"a\\{x\\}", 16, "Bad Number"},
        {"a\nb", 36, "Illegal or missing delimiter"},
        {"ab\\", 36, "Illegal or missing delimiter"},
        {deepest + "a*", 50, "Regular expression overflow"},
        {tooDeep, 50, "Regular expression overflow"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern.substr(0, 40));
        ClearBoxes();
        EXPECT_EQ(nullptr, KY_RegComp(r.pattern.c_str()));
        EXPECT_EQ(r.number, KY_RegLastError());
        EXPECT_STREQ(r.text, KY_RegErrorText(r.number));
        EXPECT_EQ("regexp error " + std::to_string(r.number) + " : " + r.text + "\n", ShownText());
    }
    EXPECT_STREQ("Unregistered error", KY_RegErrorText(12));
    for (const std::string& pattern : {deepest, std::string("a\\{255\\}")}) {
        KY_RegExp* re = KY_RegComp(pattern.c_str());
        ASSERT_NE(nullptr, re);
        EXPECT_EQ(0, KY_RegLastError());
        EXPECT_EQ(0, KY_RegExec("c", re, nullptr, nullptr));
        KY_RegFree(re);
    }
}

TEST(KyRegExp, FinishesPatternsThatBacktrackWithoutEnd) {
    std::string stars;
    for (int i = 0; i < 16; ++i)
        stars += "a*";
    std::string xy;
    for (int i = 0; i < 1500; ++i)
        xy += "xy";
    std::string backStars = "\\(a\\)";
    for (int i = 0; i < 8; ++i)
        backStars += "\\1*";
    // Only the d at 3 comes back right before the x: backtracking reaches it
    // after some 10^9 steps.
    std::string cycle;
    for (int i = 0; i < 119; ++i)
        cycle += static_cast<char>('a' + i % 23);
    struct Row {
        std::string pattern;
        std::string subject;
        int found;  // -1: too complex
        long start, end;
    } const rows[] = {
        {stars + "b", std::string(60, 'a') + "c", 0, -1, -1},
        {stars + "b", std::string(60, 'a') + "b", 1, 0, 61},
        {".*x.*y.*z", xy, 0, -1, -1},
        {".*x.*y.*y", xy + "z", 1, 0, 3000},
        {"[ab]*a[ab]*a[ab]*a[ab]*c", std::string(80, 'a') + "b", 0, -1, -1},
        {".*.*.*x", std::string(40000, 'y'), 0, -1, -1},
        {".*.*.*x", std::string(40000, 'y') + "x", 1, 0, 40001},
        {"a\\{2,\\}b", std::string(30000, 'a') + "b", 1, 0, 30001},
        {"\\(a*\\)\\1*b", std::string(24, 'a') + "c", 0, -1, -1},
        {backStars + "b", std::string(44, 'a'), 0, -1, -1},
        {backStars + "b", std::string(60, 'a'), 0, -1, -1},
        {backStars + "b", std::string(60, 'a') + "b", 1, 0, 61},
        {backStars + "b", std::string(60, 'a') + "cb", -1, -1, -1},
        {"\\(.\\).*.*.*.*.*\\1x", std::string(120, 'y'), 0, -1, -1},
        {"\\(.\\).*.*.*.*.*\\1x", cycle + "x", -1, -1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern.substr(0, 40) + " on " + std::to_string(r.subject.size()));
        KY_RegExp* re = KY_RegComp(r.pattern.c_str());
        ASSERT_NE(nullptr, re);
        ClearBoxes();
        long start = -1, end = -1;
        EXPECT_EQ(r.found, KY_RegExec(r.subject.c_str(), re, &start, &end));
        EXPECT_EQ(r.start, start);
        EXPECT_EQ(r.end, end);
        EXPECT_EQ(r.found < 0 ? "regexp error 51 : regexp too complex\n" : "", ShownText());
        if (r.found < 0) {
            EXPECT_EQ(kKyRegTooComplex, KY_RegLastError());
        }
        KY_RegFree(re);
    }
}

namespace {

// The answer of a search and the bounds of its groups, the pattern's own
// group 1 being group firstGroup + 1.
std::string Answer(const KY_RegExp* re, const std::string& subject, long offset, int firstGroup) {
    int found = KY_RegExecAt(subject.c_str(), offset, re, nullptr, nullptr);
    std::string text = std::to_string(found);
    for (int g = 0; found == 1 && g + firstGroup <= re->groups; ++g) {
        long start = -1, end = -1;
        KY_RegGroup(g == 0 ? 0 : g + firstGroup, &start, &end);
        text += " " + std::to_string(start) + "," + std::to_string(end);
    }
    return text;
}

}  // namespace

// Back-references go to the backtracking matcher: written around a pattern as
// \(\)...\1, an empty one sends it there, to answer as the simulation must.
TEST(KyRegExp, SimulationAnswersAsBacktracking) {
    const char* const atoms[] = {"a", "b", ".", "[ab]", "[^a]", "*"};
    const char* const counts[] = {"", "", "*", "*", "\\{0,2\\}", "\\{1,\\}", "\\{2\\}"};
    uint32_t seed = 2463534242u;
    auto next = [&seed](uint32_t n) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed % n;
    };
    for (int i = 0; i < 400; ++i) {
        std::string body;
        int open = 0;
        int groups = 0;
        for (uint32_t n = 1 + next(6); n > 0; --n) {
            if (groups < 8 && next(4) == 0) {
                body += "\\(";
                ++open;
                ++groups;
            }
            body += atoms[next(6)];
            body += counts[next(7)];
            if (open > 0 && next(3) == 0) {
                body += "\\)";
                --open;
            }
        }
        for (; open > 0; --open)
            body += "\\)";
        std::string head = next(4) == 0 ? "^" : "";
        std::string tail = next(4) == 0 ? "$" : "";
        KY_RegExp* simulated = KY_RegComp((head + body + tail).c_str());
        KY_RegExp* backtracked = KY_RegComp((head + "\\(\\)" + body + "\\1" + tail).c_str());
        ASSERT_NE(nullptr, simulated);
        ASSERT_NE(nullptr, backtracked);
        for (int k = 0; k < 6; ++k) {
            std::string subject;
            for (uint32_t n = next(8); n > 0; --n)
                subject += "ab*"[next(3)];
            for (long offset = 0; offset <= static_cast<long>(subject.size()); ++offset) {
                SCOPED_TRACE(head + body + tail + " on " + subject + " from " + std::to_string(offset));
                EXPECT_EQ(Answer(backtracked, subject, offset, 1), Answer(simulated, subject, offset, 0));
            }
        }
        KY_RegFree(simulated);
        KY_RegFree(backtracked);
    }
}
