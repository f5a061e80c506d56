// String functions: splitting, token boundaries, prefixes and wildcards.
#include <gtest/gtest.h>

#include <string>

#include "docengine/text/TextStrings.h"

namespace {

std::string Joined(char** pieces, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += std::string(i ? "|" : "") + pieces[i];
    return out;
}

}  // namespace

TEST(TextStringsTest, SplittingKeepsInsideItsOutput) {
    struct Row {
        const char* text;
        int capacity;
        const char* want;
    } rows[] = {
        {"a,b;;c", 8, "a|b|c"},    {";;a;", 8, "a"}, {"", 8, ""},
        {"a,b,c,d", 3, "a|b,c,d"}, {"a,b", 1, ""},   {"one", 2, "one"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string buffer(row.text);
        char* pieces[9];
        pieces[row.capacity] = reinterpret_cast<char*>(1);
        int count = splitAtChars(&buffer[0], ",;", pieces, row.capacity);
        EXPECT_EQ(row.want, Joined(pieces, count));
        EXPECT_EQ(nullptr, pieces[count]);
        EXPECT_EQ(reinterpret_cast<char*>(1), pieces[row.capacity]) << "wrote past the capacity";
    }
}

TEST(TextStringsTest, TokenBoundariesAreRecordedOnceAndWithinCapacity) {
    struct Row {
        const char* text;
        const char* tokens;
        int capacity;
        const char* want;
    } rows[] = {
        {"le chat et le chien", "le chat", 16, "0 2 3 7 11 13 -1"},
        {"chatchat", "chat", 16, "0 4 8 -1"},
        {"abc", "x", 16, "-1"},
        {"le chat et le chien", "le,chat", 4, "0 2 3 -1"},
        {"abcd", "ab abcd", 16, "0 2 -1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string tokens(row.tokens);
        long positions[17];
        positions[row.capacity] = 777;
        int count = findTokenBoundaries(row.text, &tokens[0], positions, row.capacity, " ,");
        std::string got;
        for (int i = 0; i <= count; ++i)
            got += std::string(i ? " " : "") + std::to_string(positions[i]);
        EXPECT_EQ(row.want, got);
        EXPECT_EQ(777, positions[row.capacity]);
    }
}

TEST(TextStringsTest, PrefixFunctionsStopAtTheEndOfEqualStrings) {
    struct Row {
        const char* a;
        const char* b;
        const char* prefix;
        const char* after;
        const char* cut;
    } rows[] = {
        {"maison", "maire", "mai", "son", "mair"}, {"abc", "abc", "abc", "", "abc"}, {"abc", "xyz", "", "abc", "xyz"},
        {"ab", "abcd", "ab", "", "abc"},           {"", "a", "", "", "a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + "/" + row.b);
        char buffer[16];
        EXPECT_EQ(static_cast<int>(strlen(row.prefix)), commonPrefix(row.a, row.b, buffer));
        EXPECT_STREQ(row.prefix, buffer);
        copyAfterCommonPrefix(buffer, row.a, row.b);
        EXPECT_STREQ(row.after, buffer);
        char b[16] = {};
        strcpy(b, row.b);
        b[strlen(row.b) + 1] = 'Z';
        cutAfterCommonPrefix(row.a, b);
        EXPECT_STREQ(row.cut, b);
        EXPECT_EQ('Z', b[strlen(row.b) + 1]) << "wrote past the terminating zero";
    }
}

TEST(TextStringsTest, WildcardsMatchAndTellWhenASortedWalkCanStop) {
    struct Row {
        const char* text;
        const char* pattern;
        int want;
    } rows[] = {
        {"maison", "mais*", 1},
        {"maison", "ma?son", 1},
        {"maison", "maison", 1},
        {"mais", "maison", 0},
        {"maisons", "maison", 0},
        {"lune", "mais*", 0},
        {"nuit", "mais*", -1},
        {"mbison", "ma?son", -1},
        {"mazzon", "ma?son", 0},
        {"", "*", 1},
        {"", "a", 0},
        {"b", "?a", 0},
        {"\xE9t\xE9", "\xE9t*", 1},
        {"z", "\xE9*", 0},
        {"\xE9", "z*", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.text) + " ~ " + row.pattern);
        EXPECT_EQ(row.want, wildcardMatch(row.text, row.pattern));
    }
    char buffer[16];
    int length = -1;
    EXPECT_EQ(1, wildcardPrefix("chat?r*", buffer, &length));
    EXPECT_STREQ("chat", buffer);
    EXPECT_EQ(4, length);
    EXPECT_EQ(0, wildcardPrefix("chat", buffer, &length));
    EXPECT_STREQ("chat", buffer);
    EXPECT_EQ(0, length);
}

TEST(TextStringsTest, SmallHelpersAnswerAsDocumented) {
    const char* list[] = {"Paris", "LYON", "nice", nullptr};
    EXPECT_EQ(1, findStringInList(list, "lyon"));
    EXPECT_EQ(2, findStringInList(list, "NICE"));
    EXPECT_EQ(-1, findStringInList(list, "Lyo"));
    char text[] = "a-b-c";
    EXPECT_STREQ("a+b+c", replaceChar(text, '-', '+'));
    EXPECT_EQ(nullptr, replaceChar(nullptr, 'a', 'b'));
    EXPECT_EQ(0, compareStrings("abcx", "abcy", 3));
    EXPECT_LT(compareStrings("abcx", "abcy", 0), 0);
}
