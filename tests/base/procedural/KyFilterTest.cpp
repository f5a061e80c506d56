// Compiled character filters: reading ".flt" blocks and files, refusing
// damaged ones, sharing, and mapping through the base table and prefix pages.
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyString.h"
#include "base/procedural/SgmlEntity.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Base: A->a; prefix 0x81 has a page mapping A to X; 0x82 has none.
FltImage PrefixImage() {
    FltImage image;
    image.base['A'] = 'a';
    image.first = 0x81;
    image.last = 0x82;
    std::array<int16_t, 256> page{};
    page['A'] = 'X';
    page['B'] = 0x4142;
    page['C'] = kKyFilterInvalid;
    image.pages.push_back(page);
    image.flags.assign(0x83, 0);
    image.flags[0x81] = 1;
    return image;
}

KY_Filter* Parse(const std::string& bytes) {
    return KY_FilterParse(bytes.data(), bytes.size());
}

std::string Mapped(const char* text, const KY_Filter* f) {
    std::string buffer(text);
    long n = KY_FilterMapString(&buffer[0], f);
    return std::string(buffer.c_str(), static_cast<size_t>(n));
}

std::string g_invalid;
void RecordInvalid(const char* text, int length, int code) {
    g_invalid += std::string(text, static_cast<size_t>(length)) + "/" + std::to_string(code) + ";";
}

int g_released = 0;
void CountRelease(KY_Filter*) {
    ++g_released;
}

}  // namespace

TEST(KyFilter, RefusesDamagedBlocks) {
    const FltImage good = PrefixImage();
    auto edited = [&good](void (*edit)(FltImage&)) {
        FltImage image = good;
        edit(image);
        return image.bytes();
    };
    struct Row {
        const char* what;
        std::string bytes;
        bool loads;
    } const rows[] = {
        {"sound", good.bytes(), true},
        {"version 0", edited([](FltImage& i) { i.version = 0; }), true},
        {"version 2", edited([](FltImage& i) { i.version = 2; }), false},
        {"page count beyond the block", edited([](FltImage& i) { i.pageCount = 3; }), false},
        {"negative page count", edited([](FltImage& i) { i.pageCount = -2; }), false},
        {"flag area shorter than the last prefix", edited([](FltImage& i) { i.flags.resize(0x82); }), false},
        {"more prefixes flagged than pages", edited([](FltImage& i) { i.flags[0x82] = 1; }), false},
        {"empty prefix range", edited([](FltImage& i) { i.first = 0x90; i.last = 0x10; i.flags.clear(); }), true},
        {"prefix beyond a byte", edited([](FltImage& i) { i.last = 300; }), false},
        {"header cut", good.bytes().substr(0, 100), false},
        {"empty", std::string(), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        KY_Filter* f = Parse(r.bytes);
        EXPECT_EQ(r.loads, f != nullptr);
        KY_FilterRelease(f);
    }
    EXPECT_EQ(nullptr, KY_FilterParse(nullptr, 1000));
}

TEST(KyFilter, MapsThroughPrefixPages) {
    KY_Filter* f = Parse(PrefixImage().bytes());
    ASSERT_NE(nullptr, f);
    struct Row {
        const char* text;
        const char* expected;
    } const rows[] = {
        {"\x81" "A", "X"},
        {"\x82" "A", "a"},
        {"A\x81" "AbA", "aXba"},
        {"\x81" "B", "AB"},
        {"\x81" "C", ""},
        {"\x81", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        EXPECT_EQ(r.expected, Mapped(r.text, f));
    }
    EXPECT_EQ('X', KY_FilterMapChar('A', 0x81, f));
    EXPECT_EQ(-1, KY_FilterMapChar('A', 0x82, f));
    EXPECT_EQ('a', KY_FilterMapChar('A', 0, f));
    EXPECT_EQ('A', KY_FilterMapChar('A', 0, nullptr));
    KY_FilterRelease(f);
}

TEST(KyFilter, MapsCodesOfTheBaseTable) {
    unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    table['e'] = 'E';
    KY_Filter* f = KY_FilterNewIdentity(table);
    ASSERT_NE(nullptr, f);
    f->base['-'] = kKyFilterDrop;
    f->base['?'] = kKyFilterInvalid;
    f->base['E'] = 0x0145;
    EXPECT_EQ("bcE", Mapped("b-c?eE", f)) << "two-byte codes of the base table write nothing here";
    EXPECT_EQ(5, KY_FilterMapString(&std::string("abcde")[0], nullptr));

    g_invalid.clear();
    f->invalidChar = RecordInvalid;
    KY_String out;
    KY_InitString(&out, 0, "old");
    EXPECT_EQ(5, EXK_FilterString(&out, "b-c?eE", 0, f));
    EXPECT_EQ(std::string("bcE\x01" "E"), std::string(out.text, out.length)) << "but they do when filtering strings";
    EXPECT_EQ("b-c?/63;", g_invalid);
    EXPECT_EQ(2, EXK_FilterString(&out, "e-eee", 3, f));
    EXPECT_STREQ("EE", out.text);
    KY_StringSet(&out, "eab");
    EXPECT_EQ(3, EXK_FilterString(&out, out.text, 0, f)) << "a text inside the output is copied first";
    EXPECT_STREQ("Eab", out.text);
    EXPECT_EQ(2, EXK_FilterString(&out, "xy", 0, nullptr));
    EXPECT_STREQ("xy", out.text);
    KY_FreeString(&out);
    KY_FilterRelease(f);
}

TEST(KyFilter, ReplacesEntitiesWhileFiltering) {
    SgmlEntity entities[] = {{"amp", "&", 0}, {"eacute", "\xE9", 0}};
    SgmlEntityTable table{entities, 2, kSgmlEntityCaseSensitive};
    KY_Filter* f = KY_FilterNewIdentity(nullptr);
    f->entityTable = &table;
    f->entityStart = '&';
    f->entityEnd = ';';
    f->invalidChar = RecordInvalid;
    g_invalid.clear();
    KY_String out;
    KY_InitString(&out, 0, "");
    EXK_FilterString(&out, "caf&eacute; &x; &amp", 0, f);
    EXPECT_STREQ("caf\xE9  &", out.text);
    EXPECT_EQ("x/38;", g_invalid);

    KY_RegExp* pattern = SgmlCompileDelimited('&', ';');
    ASSERT_NE(nullptr, pattern);
    f->entityPattern = pattern;
    ClearBoxes();
    EXK_FilterString(&out, "a&amp;b&none;c", 0, f);
    EXPECT_STREQ("a&b&none;c", out.text);
    EXPECT_EQ("#Entity not found: none", ShownText());
    EXPECT_EQ(1, entities[0].uses) << "only the replacement before filtering counts uses";
    KY_RegFree(pattern);
    KY_FreeString(&out);
    f->entityTable = nullptr;
    f->entityPattern = nullptr;
    KY_FilterRelease(f);
}

TEST(KyFilter, LoadsFilesTranslatesThemAndFreesAtTheLastRelease) {
    TempFolder folder;
    FltImage version2 = PrefixImage();
    version2.version = 2;
    EXPECT_EQ(nullptr, KY_FilterLoad(OpenSpecOf(folder.write("v2.flt", version2.bytes())).get()));
    EXPECT_EQ(nullptr, KY_FilterLoad(OpenSpecOf(folder.path("missing.flt")).get()));
    KY_Filter* f = KY_FilterLoad(OpenSpecOf(folder.write("good.flt", PrefixImage().bytes())).get());
    ASSERT_NE(nullptr, f);
    EXPECT_EQ("Xa", Mapped("\x81" "A\x82" "A", f));

    g_released = 0;
    f->release = CountRelease;
    KY_File* file = KY_FOpen(OpenSpecOf(folder.write("text.txt", "ABC-abc")).get(), "rb");
    ASSERT_NE(nullptr, file);
    ASSERT_EQ(0, KY_FileSetFilter(file, f));
    EXPECT_EQ(0, KY_FilterRelease(f));
    EXPECT_EQ(0, g_released) << "the file holds the filter";
    char buffer[16] = {};
    EXPECT_EQ(7, KY_FRead(file, buffer, 7));
    EXPECT_STREQ("aBC-abc", buffer);
    EXPECT_EQ(0, KY_FClose(file));
    EXPECT_EQ(1, g_released);
    EXPECT_EQ(110, KY_FilterAddRef(nullptr));
    EXPECT_EQ(nullptr, KY_FilterLoad(nullptr));
    EXPECT_EQ(110, KY_FilterRelease(nullptr));
}
