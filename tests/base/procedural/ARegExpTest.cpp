// The object layer's regular expressions: replacing, expanding, and the
// recoverable error of a bad pattern or of a search that runs out of steps.
#include "base/object/ARegExp.h"
#include "base/procedural/KyRegExp.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

TEST(ARegExp, ReplacesFirstAllAndExpanded) {
    struct Row {
        const char* pattern;
        const char* text;
        const char* replacement;
        const char* first;
        const char* all;
        const char* expanded;
    } const rows[] = {
        {"o", "foo boo", "0", "f0o boo", "f00 b00", "f00 b00"},
        {"z", "abc", "-", "abc", "abc", "abc"},
        {"\\([a-z]*\\)=\\([0-9]*\\)", "a=1 bb=22", "$2:$1", "$2:$1 bb=22", "$2:$1 $2:$1", "1:a 22:bb"},
        {"x*", "ab", "-", "-ab", "-a-b", "-a-b"},
        {"x*", "", "-", "", "", ""},
        {"^a", "aaa", "b", "baa", "baa", "baa"},
        {"a$", "aaa", "b", "aab", "aab", "aab"},
        {"\\(\\.\\)", "a.b.", "[$$$1]", "a[$$$1]b.", "a[$$$1]b[$$$1]", "a[$.]b[$.]"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.pattern) + " on " + r.text);
        ARegExp re(r.pattern);
        AString text(r.text);
        EXPECT_STREQ(r.first, re.replaceFirst(text, r.replacement).c_str());
        EXPECT_STREQ(r.all, re.replaceAll(text, r.replacement).c_str());
        EXPECT_STREQ(r.expanded, re.replaceAllExpanded(text, r.replacement).c_str());
    }
}

TEST(ARegExp, MatchesAndReadsGroups) {
    ARegExp re("\\([0-9][0-9]*\\) \\([a-z]*\\)");
    AString text("vol 12 pages");
    long start = 0, end = 0;
    ASSERT_TRUE(re.match(text, &start, &end));
    EXPECT_EQ(4, start);
    EXPECT_EQ(12, end);
    EXPECT_STREQ("12", re.group(1).c_str());
    EXPECT_STREQ("pages", re.group(2).c_str());
    EXPECT_STREQ("", re.group(3).c_str());
    EXPECT_STREQ("pages, 12", re.expand("$2, $1").c_str());
    EXPECT_FALSE(re.match(AString("none"), nullptr, nullptr));
    EXPECT_STREQ("", re.group(0).c_str());
}

TEST(ARegExp, RaisesARecoverableErrorForABadPatternOrSearch) {
    std::string backStars = "\\(a\\)";
    for (int i = 0; i < 8; ++i)
        backStars += "\\1*";
    backStars += "b";
    AString hard((std::string(60, 'a') + "cb").c_str());
    struct Row {
        std::string pattern;
        bool replacing;  // by replaceAll, else by match
        int number;
        const char* message;
    } const rows[] = {
        {"\\(a\\)\\2", false, 25, "regexp error 25 : \\digit out of range"},
        {backStars, false, kKyRegTooComplex, "regexp error 51 : regexp too complex"},
        {backStars, true, kKyRegTooComplex, "regexp error 51 : regexp too complex"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern + (r.replacing ? " replacing" : " matching"));
        try {
            ARegExp re(r.pattern.c_str());
            if (r.replacing)
                re.replaceAll(hard, "-");
            else
                re.match(hard, nullptr, nullptr);
            ADD_FAILURE() << "no error raised";
        } catch (const ARegExpError& e) {
            EXPECT_EQ(r.number, e.number());
            EXPECT_TRUE(e.isThrowable());
            EXPECT_STREQ("bregexp", e.file());
            EXPECT_EQ(47, e.line());
        }
        EXPECT_STREQ(r.message, g_errorMessage);
    }
}

TEST(ARegExp, KeepsGroupsOfATemporaryText) {
    ARegExp re("=\\([a-z]*\\)");
    long start = 0, end = 0;
    ASSERT_TRUE(re.match(AString("key=value;"), &start, &end));
    // Texts made after the temporary is gone may take its memory.
    AString other1("XXXXXXXXXX");
    AString other2("YYYYYYYYYY");
    EXPECT_STREQ("value", re.group(1).c_str());
    EXPECT_STREQ("[=value]", re.expand("[$0]").c_str());
}
