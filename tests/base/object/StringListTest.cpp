// String lists and reference counting.
#include "base/object/AStringList.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Items(const AStringList& l) {
    std::string s;
    for (short i = 0; i < l.count(); ++i)
        s += std::string("[") + l.at(i) + "]";
    return s;
}

int g_destroyed = 0;
struct Counted : ARefObj {
    ~Counted() override { ++g_destroyed; }
};

}  // namespace

TEST(AStringList, Splitting) {
    struct Row {
        const char* text;
        const char* separators;
        short count;
        const char* items;
    } rows[] = {
        {"a\nb\n", "\n", 2, "[a][b]"},
        {"a\nb", "\n", 2, "[a][b]"},
        {"a,b,", ",", 3, "[a][b][]"},
        {"", "\n", 0, ""},
        {"", ",", 1, "[]"},
        {"one two,three;four", " ,;", 4, "[one][two][three][four]"},
        {"\n\n", "\n", 2, "[][]"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        AStringList l(r.text, r.separators);
        EXPECT_EQ(r.count, l.count());
        EXPECT_EQ(r.items, Items(l));
        EXPECT_STREQ("", l.at(-1));
        EXPECT_EQ(l.at(-1), l.at(l.count())) << "one shared empty string";
        EXPECT_EQ(0, l.lengthAt(l.count()));
    }
    AStringList single("x|yy", '|');
    EXPECT_EQ(2, single.lengthAt(1));
    AStringList lines(std::string(40000, '\n').c_str(), ',');
    EXPECT_EQ(1, lines.count());
    AStringList many(std::string(40000, ',').c_str(), ',');
    EXPECT_EQ(32767, many.count()) << "no more items than a 16-bit index reaches";
}

TEST(AStringList, SlashCodes) {
    struct Row {
        const char* text;
        const char* cleaned;
    } rows[] = {
        {"/bword", "word"}, {"a /$ b", "a S b"}, {"x\\/iy", "x\\/iy"}, {"end/", "end/"}, {"/i/bA/p", "A"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        AStringList l(r.text, '\n', true, "S");
        EXPECT_STREQ(r.cleaned, l.at(0));
    }
    EXPECT_GT(FatalExitCodeOf([] { AStringList l(nullptr, ','); }), 0);
}

TEST(ARefObj, LastReleaseDestroys) {
    g_destroyed = 0;
    Counted* c = new Counted;
    c->addRef();
    c->addRef();
    c->release();
    EXPECT_EQ(0, g_destroyed);
    ReleaseAndNull(c);
    EXPECT_EQ(nullptr, c);
    EXPECT_EQ(1, g_destroyed);
    ReleaseRefAndNull(c);
    EXPECT_EQ(1, g_destroyed) << "null is left alone";

    AStringList* shared = new AStringList("a,b", ',');
    shared->addRef();
    ReleaseAndNull(shared);
}
