// Classic basic regular expressions: matching, groups, and syntax errors that
// are answered, not fatal.
#include "base/procedural/KyRegExp.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

TEST(KyRegExp, MatchesLeftmostLongest) {
    struct Row {
        const char* pattern;
        const char* subject;
        long offset;
        long start, end;        // -1: no match
        long group1Start, group1End;  // -1: not checked
    } const rows[] = {
        {"\\(a*\\)b", "xaab", 0, 1, 4, 1, 3},
        {"\\(ab\\)*", "ab*", 0, 0, 3, 0, 2},
        {"\\(ab\\)*", "abab", 0, -1, -1, -1, -1},
        {"^a", "bba", 2, 2, 3, -1, -1},
        {"^a", "bba", 0, -1, -1, -1, -1},
        {"x*", "", 0, 0, 0, -1, -1},
        {"^$", "", 0, 0, 0, -1, -1},
        {"b*$", "ab", 2, 2, 2, -1, -1},
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
    struct Row {
        std::string pattern;
        std::string subject;
        long start, end;  // -1: no match
    } const rows[] = {
        {stars + "b", std::string(60, 'a') + "c", -1, -1},
        {stars + "b", std::string(60, 'a') + "b", 0, 61},
        {".*x.*y.*z", xy, -1, -1},
        {".*x.*y.*y", xy + "z", 0, 3000},
        {"[ab]*a[ab]*a[ab]*a[ab]*c", std::string(80, 'a') + "b", -1, -1},
        {"\\(a*\\)\\1*b", std::string(24, 'a') + "c", -1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern.substr(0, 40));
        KY_RegExp* re = KY_RegComp(r.pattern.c_str());
        ASSERT_NE(nullptr, re);
        long start = -1, end = -1;
        EXPECT_EQ(r.start >= 0, KY_RegExec(r.subject.c_str(), re, &start, &end) == 1);
        EXPECT_EQ(r.start, start);
        EXPECT_EQ(r.end, end);
        KY_RegFree(re);
    }
}
