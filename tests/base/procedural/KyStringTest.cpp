// Procedural strings: interval assignment, exact growth, formatting and
// template expansion from the last regular-expression match.
#include "base/procedural/BAlloc.h"
#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyString.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A caller-owned string freed at scope end.
struct LocalString {
    explicit LocalString(const char* text, uint32_t capacity = 0) { KY_InitString(&s, capacity, text); }
    ~LocalString() { KY_FreeString(&s); }
    std::string str() const { return std::string(s.text, s.length); }
    KY_String s;
};

}  // namespace

TEST(KyString, AssignsIntervals) {
    struct Row {
        const char* initial;
        uint32_t a, b;
        const char* source;
        uint32_t from, to;
        int result;
        const char* expected;
        uint32_t lastEnd;
    } const rows[] = {
        {"abcdef", 1, 3, "", 0, 0, 1, "adef", 1},
        {"abcdef", 2, 2, "XYZ", 0, 3, 1, "abXYZcdef", 5},
        {"abcdef", 0, 6, "0123456789", 2, 5, 1, "234", 3},
        {"abc", 3, 3, "de", 0, 2, 1, "abcde", 5},
        {"abc", 1, 4, "x", 0, 1, 0, "abc", 0},
        {"abc", 2, 1, "x", 0, 1, 0, "abc", 0},
        {"abc", 0, 1, "xyz", 2, 1, 0, "abc", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.initial) + " [" + std::to_string(r.a) + "," + std::to_string(r.b) + ")");
        ClearBoxes();
        LocalString s(r.initial);
        EXPECT_EQ(r.result, KY_StringAssign(&s.s, r.a, r.b, r.source, r.from, r.to));
        EXPECT_EQ(r.expected, s.str());
        EXPECT_EQ('\0', s.s.text[s.s.length]);
        if (r.result) {
            EXPECT_EQ(r.lastEnd, KY_StringLastEnd());
        }
        EXPECT_EQ(r.result ? "" : "KY_StringAssign : bad interval\n", ShownText());
    }
}

TEST(KyString, EditsFromItsOwnTextAndGrowsExactly) {
    LocalString s("abc");
    KY_StringAppend(&s.s, s.s.text);
    KY_StringAssign(&s.s, 0, 1, s.s.text, 1, 6);
    EXPECT_EQ("bcabcbcabc", s.str());

    LocalString small("", 3);
    KY_StringSet(&small.s, "12345");
    EXPECT_EQ(5u, small.s.capacity) << "growth is exact";
    EXPECT_TRUE(KY_StringReserve(&small.s, 10));
    EXPECT_EQ(15u, small.s.capacity);
    KY_StringSetFirst(&small.s, "abcdef", 2);
    KY_StringAppendPart(&small.s, "0123", 1, 3);
    EXPECT_EQ("ab12", small.str());

    // A refused growth is a failure, and the string stays as it was.
    BAlloc::setSystemFunctions([](uint32_t) -> void* { return nullptr; }, nullptr);
    bool grew = KY_StringReserve(&small.s, 100000);
    BAlloc::setSystemFunctions(nullptr, nullptr);
    EXPECT_FALSE(grew);
    EXPECT_EQ(15u, small.s.capacity);
    EXPECT_EQ("ab12", small.str());
    EXPECT_EQ(nullptr, KY_FreeString(KY_NewString(0, "x")));
}

TEST(KyString, NestsThePackageAndGrowsTheFormatBuffer) {
    ASSERT_EQ(1, KY_StringPkgInit(100));
    ASSERT_EQ(1, KY_StringPkgInit(50000));
    EXPECT_EQ(kKyFormatBufferMin, KY_StringBufferSize()) << "a nested start does not reallocate";

    LocalString s("old");
    EXPECT_EQ(1, KY_StringPrintf(&s.s, "%s-%d", "n", 42));
    EXPECT_EQ("n-42", s.str());
    std::string big(25000, 'z');
    EXPECT_EQ(1, KY_StringPrintf(&s.s, "<%s>", big.c_str()));
    EXPECT_EQ("<" + big + ">", s.str()) << "a long result grows the buffer, it does not end the process";
    EXPECT_GT(KY_StringBufferSize(), 25000u);

    KY_StringPkgEnd();
    EXPECT_NE(0u, KY_StringBufferSize()) << "only the last end frees";
    KY_StringPkgEnd();
    EXPECT_EQ(0u, KY_StringBufferSize());
    EXPECT_EQ(1, KY_StringPrintf(&s.s, "%05d", 7)) << "formatting works without the package too";
    EXPECT_EQ("00007", s.str());
}

TEST(KyString, ExpandsTemplatesFromTheLastMatch) {
    struct Row {
        const char* pattern;
        const char* subject;
        const char* templ;
        const char* expected;
        const char* trace;
    } const rows[] = {
        {"x", "x", "a$$b", "a$b", ""},
        {"\\(x*\\)y", "xxy", "$1-$0", "xx-xxy", ""},
        {"x", "x", "$q", "", "Error in KY_ReplaceFormatted (Token is $q)\n"},
        {"x", "x", "ab$", "ab", "Error in KY_ReplaceFormatted (Token is $)\n"},
        {"\\(x\\)", "x", "<$2>", "<>", "Error in KY_ReplaceFormatted (Token is $2>)\n"},
        {"\\(a\\)\\(b\\)", "zab", "$2$1$0.", "baab.", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.templ);
        KY_RegExp* re = KY_RegComp(r.pattern);
        ASSERT_NE(nullptr, re);
        ASSERT_EQ(1, KY_RegExec(r.subject, re, nullptr, nullptr));
        ClearBoxes();
        LocalString s("previous");
        EXPECT_EQ(1, KY_ReplaceFormatted(&s.s, r.templ));
        EXPECT_EQ(r.expected, s.str());
        EXPECT_EQ(r.trace, ShownText());
        KY_RegFree(re);
    }
}

TEST(KyString, ExpandsAgainstAMatchOnItsOwnText) {
    LocalString s("key=value");
    KY_RegExp* re = KY_RegComp("\\([a-z]*\\)=\\([a-z]*\\)");
    ASSERT_EQ(1, KY_RegExec(s.s.text, re, nullptr, nullptr));
    KY_ReplaceFormatted(&s.s, "$2:$1");
    EXPECT_EQ("value:key", s.str());
    KY_RegFree(re);
    EXPECT_EQ(0, KY_StringSetRegGroup(&s.s, 1)) << "freeing the pattern forgets its match";
    EXPECT_EQ("value:key", s.str());
}
