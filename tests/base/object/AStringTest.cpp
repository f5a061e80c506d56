// Strings: sharing, edits through intervals, and the C-string helpers.
#include "base/object/AString.h"
#include "base/procedural/AError.h"
#include "base/procedural/StringUtil.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

TEST(AString, ConstructionAndSharing) {
    AString empty(static_cast<const char*>(nullptr));
    EXPECT_STREQ("", empty.c_str());
    EXPECT_EQ(0, empty.length());
    AString zeros(nullptr, 3);
    EXPECT_EQ(3, zeros.length());
    EXPECT_EQ(0, std::memcmp(zeros.c_str(), "\0\0\0", 4));
    EXPECT_STREQ("-42", AString(-42L).c_str());
    EXPECT_EQ(-42, AString(-42L).toLong());

    AString a("abcdef");
    AString b(a);
    EXPECT_EQ(a.body(), b.body());
    EXPECT_EQ(2, a.body()->refs);
    b += "g";
    EXPECT_NE(a.body(), b.body()) << "a write detaches";
    EXPECT_STREQ("abcdef", a.c_str());
    EXPECT_STREQ("abcdefg", b.c_str());
    EXPECT_FALSE(a.makeUnique(true)) << "a body held once stays";
    EXPECT_STREQ("cd", AString(a.interval(2, 2)).c_str());
}

TEST(AString, ReferenceCountDoesNotWrap) {
    AString s("shared");
    std::vector<AString> copies(40000, s);
    EXPECT_EQ(40001, s.body()->refs);
    copies.clear();
    EXPECT_EQ(1, s.body()->refs);
    EXPECT_STREQ("shared", s.c_str());
    EXPECT_EQ(sizeof(void*) == 4 ? 16u : 24u, sizeof(_AString));
}

TEST(AString, ReplaceInterval) {
    struct Row {
        const char* text;
        unsigned long s, e;
        const char* src;
        unsigned long a, b;
        const char* expected;
    } rows[] = {
        {"hello", 5, 5, " world", 0, 6, "hello world"},  // append
        {"hello", 1, 3, "", 0, 0, "hlo"},                // delete
        {"hello", 0, 5, "xy", 0, 2, "xy"},
        {"hello", 2, 2, "ABCD", 1, 3, "heBCllo"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        AString s(r.text);
        s.replaceInterval(r.s, r.e, r.src, r.a, r.b);
        EXPECT_STREQ(r.expected, s.c_str());
        EXPECT_EQ(static_cast<long>(std::strlen(r.expected)), s.length());
    }

    AString self("abcdef");
    self.body()->replaceInterval(1, 1, self.c_str(), 0, 6);  // part of itself, growing
    EXPECT_STREQ("aabcdefbcdef", self.c_str()) << "uses the text from before the edit";
}

TEST(AString, CharacterSetEdits) {
    AString s("  a--b---c  ");
    EXPECT_STREQ("a--b---c", s.trimmed(" ").c_str());
    EXPECT_STREQ("  abc  ", s.withoutChars("-").c_str());
    EXPECT_STREQ(" a-b-c ", s.withCollapsedChars(" -").c_str());
    EXPECT_STREQ("__a_b_c__", s.replacingChars("-", '_', true).replacingChar(' ', '_').c_str());
    EXPECT_STREQ("abc", s.replacingChars(" -", 0, false).c_str());
    EXPECT_STREQ("", AString("  ").trimmed(" ").c_str());

    char text[32] = "aXXbXXc";
    EXPECT_EQ(2, ReplaceSubstring(text, "XX", "-"));
    EXPECT_STREQ("a-b-c", text);
    EXPECT_EQ(0, ReplaceSubstring(text, "-", "longer"));
    EXPECT_STREQ("a-b-c", text);
    EXPECT_EQ(0, ReplaceSubstring(nullptr, "-", ""));
}

TEST(AString, SetFileExtension) {
    struct Row {
        const char* name;
        const char* ext;
        bool append;
        const char* expected;
    } rows[] = {
        {"FILE.TXT;1", "DOC", false, "FILE.DOC;1"},
        {"dir.d/name", ".txt", false, "dir.d/name.txt"},
        {"name.txt", "", false, "name"},
        {"readme", "", false, "readme"},
        {"disk;1", ".", false, "disk;1"},
        {"C:\\a.b\\c", "x", false, "C:\\a.b\\c.x"},
        {"a.b", "c", true, "a.b.c"},
        {"a.b", "", true, "a.b"},
        {"", "txt", false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        char buffer[64];
        std::strcpy(buffer, r.name);
        SetFileExtension(buffer, r.ext, r.append);
        EXPECT_STREQ(r.expected, buffer);
        EXPECT_STREQ(r.expected, AString(r.name).withExtension(r.ext, r.append).c_str());
    }
}

// Lengths that are negative, reach past the source or cannot be held are bad
// intervals: reported, never a copy outside a buffer.
TEST(AString, IntervalsOutsideTheirTextAreRefused) {
    AString source("abcdef");
    AString target("xyz");
    struct Row {
        const char* name;
        std::function<void()> edit;
    } rows[] = {
        {"edited interval past the end", [&] { target.replaceInterval(2, 5, "x", 0, 1); }},
        {"negative append length", [&] { target.append("uvw", -1); }},
        {"result longer than a string holds", [&] { target.replaceInterval(0, 0, "u", 0, 0x7FFFFFFF); }},
        {"interval past the source end", [&] { AString cut(source.interval(4, 10)); }},
        {"interval before the source start", [&] { AString cut(source.interval(-3, 2)); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        g_errorMessage[0] = 0;
        EXPECT_GT(FatalExitCodeOf(r.edit), 0);
        EXPECT_STREQ("Bad interval", g_errorMessage);
        ASSERT_FALSE(CapturedBoxes().empty());
        EXPECT_EQ("AStringError", CapturedBoxes().back().caption);
        EXPECT_STREQ("xyz", target.c_str());
        EXPECT_EQ(3, target.length());
    }
    EXPECT_STREQ("ef", AString(source.interval(4, 2)).c_str());
}

TEST(AString, SmallAppendsMoveTheTextRarely) {
    // An export builds megabytes 80 bytes at a time: each append copying the
    // whole text made it take minutes.
    AString text;
    std::string expected;
    int moves = 0;
    const char* last = text.c_str();
    for (int i = 0; i < 100000; ++i) {
        char piece[3] = {char('a' + i % 26), char('0' + i % 10), 0};
        text.append(piece, 2);
        expected += piece;
        if (text.c_str() != last) {
            ++moves;
            last = text.c_str();
        }
    }
    EXPECT_EQ(expected, std::string(text.c_str(), size_t(text.length())));
    EXPECT_LT(moves, 40) << "the buffer grows geometrically";
    text.replaceInterval(0, 2, "xyz", 0, 3);
    EXPECT_EQ("xyz" + expected.substr(2), std::string(text.c_str(), size_t(text.length())));
}
