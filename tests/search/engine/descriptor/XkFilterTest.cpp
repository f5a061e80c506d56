// Compiling filter descriptions: entry lines, prefixes, character sets,
// associations and the messages of faulty lines.
#include <gtest/gtest.h>

#include <string>

#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/procedural/KyFilter.h"
#include "search/engine/descriptor/XkFilter.h"
#include "tests/base/procedural/TextMutation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

TEST(XkFilter, CompilesEntryLines) {
    struct Row {
        const char* description;
        int page;      // 0: base table
        int code;      // byte looked up in the page
        int expected;
        const char* trace;
    } const rows[] = {
        {"0x41 3 0x61", 0, 'C', 'c', ""},
        {"'A' 3 UNCHANGED ADDPREFIX 2", 0, 'C', 0x243, ""},
        {"65 3 ADDPREFIX 2", 0, 'B', 0x242, ""},
        {"0x20 1 UNUSED", 0, ' ', -1, ""},
        {"0x30 10 ERROR", 0, '5', -3, ""},
        {"0x30 10 '*' CONSTANT", 0, '5', '*', ""},
        {"TABLE t\n# comment\n; other\n\n0x41 1 0x61", 0, 'A', 'a', ""},
        {"0xFF 2 0x61", 0, 0xFF, 0, "#invalid range in CompileFilter\nFile F; Line 1\n"},
        {"0x1E41 1 0x61", 0, 'A', 0, "#invalid prefix in CompileFilter\nFile F; Line 1\n"},
        {"0x41 1 0x61 ADDPREFIX 0", 0, 'A', 'a', "#Bad prefix 0\nFile F; Line 1\n"},
        {"0x41 1 0x61 ADDPREFIX 256", 0, 'A', 'a', "#Bad prefix 256\nFile F; Line 1\n"},
        {"0x41 0 0x61", 0, 'A', 0, "Error in CompileFilter\nFile F; Line 1\n"},
        {"0x41 1 COMMON", 0, 'A', 0, "#invalid replacer in CompileFilter\nFile F; Line 1\n"},
        {"0x41", 0, 'A', 0, "#EXK_CompileFilter error : value expected\nFile F; Line 1\n"
                            "#EXK_CompileFilter error : value expected\nFile F; Line 1\n"
                            "Error in CompileFilter\nFile F; Line 1\n"},
        {"PREFIXLIST 0x1E\nEND\n0x1E41 2 0x61", 0x1E, 'B', 'b', ""},
        {"PREFIXLIST\n0x81 0x83\nEND\nPREFIX 0x83\n0x41 1 \"AZ\"", 0x83, 'A', 0x415A, ""},
        {"PREFIXLIST 300\nEND\n", 0, 'A', 0, "#ADDPREFIX invalid : 300\nFile F; Line 1\n"},
        {"COMMON PC ISO", 0, 0x82, 0xE9, ""},
        {"COMMON ISO MAC", 0, 0xE9, 0x8E, ""},
        {"COMMON ISO PC", 0, 0xA4, 0, ""},
        {"COMMON ISO EBCDIC", 0, 0xE9, 0, "#COMMON : bad values\nFile F; Line 1\n"},
    };
    TempFolder folder;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.description);
        std::string path = folder.write("F", r.description);
        ClearBoxes();
        KY_Filter* f = EXK_CompileFilter(OpenSpecOf(path).get());
        ASSERT_NE(nullptr, f);
        std::string shown = ShownText();
        for (size_t at; (at = shown.find(path)) != std::string::npos;)
            shown.replace(at, path.size(), "F");
        EXPECT_EQ(r.trace, shown);
        int16_t* page = EXK_FilterPage(f, r.page);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(r.expected, page[r.code]);
        KY_FilterRelease(f);
    }
    ClearBoxes();
    EXPECT_EQ(nullptr, EXK_CompileFilter(OpenSpecOf(folder.path("absent")).get()));
    EXPECT_EQ("CompileFilter : cannot open " + folder.path("absent") + "\n", ShownText());
}

TEST(XkFilter, CompilesAssociationsUsedWhenFiltering) {
    TempFolder folder;
    std::string path = folder.write("assoc.txt",
                                    "0x20 95 UNCHANGED\n"
                                    "0x41 26 0x61\n"
                                    "ASSOCTABLE CASE=N DELIM=\"[]\"\n"
                                    "oe \"\\x9C\"\n"
                                    "AE \"\\xE6\"\n"
                                    "END\n");
    EXK_InstallCompiler();
    AFilter filter;
    ASSERT_NE(nullptr, filter.load(AFileSpec(path.c_str()), true));
    EXPECT_STREQ("c\x9Cur \xE6 b", filter.apply("C[OE]ur [ae] B", -1).c_str());

    path = folder.write("before.txt",
                        "ASSOCTABLE TYPE=BEFORE\n"
                        "amp \"&\"\n"
                        "END\n"
                        "0x20 95 UNCHANGED\n"
                        "0x26 1 0x2B\n");
    ASSERT_NE(nullptr, filter.load(AFileSpec(path.c_str()), true));
    EXPECT_STREQ("a+b", filter.apply("a&amp;b", -1).c_str()) << "replaced before mapping";
}

TEST(XkFilter, DamagedFilterDescriptionsCompileOrAreReported) {
    const std::string sound =
        "TABLE mutated\n"
        "PREFIXLIST 0x81\n0x84 \\x85\nEND\n"
        "0x20 95 UNCHANGED\n"
        "0x41 26 0x61\n"
        "'0' 10 ERROR\n"
        "0x7F 1 UNUSED\n"
        "0x30 3 '*' CONSTANT ADDPREFIX 2\n"
        "COMMON PC ISO\n"
        "PREFIX 0x81\n"
        "0x41 3 \"AZ\"\n"
        "0x8441 2 ADDPREFIX 7\n"
        "ASSOCTABLE CASE=N DELIM=\"&;\" TYPE=BEFORE\n"
        "amp \"&\"\n"
        "oe \"\\x9C\\n\\t\"\n"
        "END\n";
    TempFolder folder;
    Mutator m;
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE(i);
        std::string text = i == 0 ? sound : m.mutate(sound, "\n\r\t \"'\\x0=;#&[]ENDPREFIX-1");
        ClearBoxes();
        KY_Filter* f = EXK_CompileFilter(OpenSpecOf(folder.write("filter.txt", text)).get());
        ASSERT_NE(nullptr, f) << "faults in a description are reported, not fatal";
        ExerciseFilter(f);
        KY_FilterRelease(f);
        if (HasFatalFailure())
            return;
    }
}

TEST(XkFilter, WrittenFiltersLoadAndMapEveryByteAlike) {
    const char* descriptions[] = {
        "0x41 3 0x61",
        "0x20 95 UNCHANGED\n0x41 26 0x61\n0x7F 1 UNUSED\n'0' 10 ERROR\nCOMMON PC ISO ADDPREFIX 3",
        "PREFIXLIST 0x81 0x84\nEND\n0x20 95 UNCHANGED\nPREFIX 0x84\n0x41 3 \"AZ\"\n0x8141 2 ADDPREFIX 7\n0x8161 2 "
        "'x' CONSTANT",
    };
    TempFolder folder;
    for (const char* description : descriptions) {
        SCOPED_TRACE(description);
        KY_Filter* compiled = EXK_CompileFilter(OpenSpecOf(folder.write("d.txt", description)).get());
        ASSERT_NE(nullptr, compiled);
        std::string path = folder.path("out.flt");
        folder.write("out.flt", "old");
        ASSERT_EQ(0, EXK_WriteFilter(compiled, path.c_str()));
        KY_Filter* loaded = KY_FilterLoad(OpenSpecOf(path).get());
        ASSERT_NE(nullptr, loaded);
        for (int prefix = 0; prefix < 256; ++prefix)
            for (int code = 0; code < 256; ++code)
                ASSERT_EQ(KY_FilterMapChar(code, prefix, compiled), KY_FilterMapChar(code, prefix, loaded))
                    << prefix << " " << code;
        std::string probe = ProbeText();
        KY_String a;
        KY_String b;
        KY_InitString(&a, 0, "");
        KY_InitString(&b, 0, "");
        EXK_FilterString(&a, probe.c_str(), 0, compiled);
        EXK_FilterString(&b, probe.c_str(), 0, loaded);
        EXPECT_EQ(std::string(a.text, a.length), std::string(b.text, b.length));
        KY_FreeString(&a);
        KY_FreeString(&b);
        KY_FilterRelease(loaded);
        KY_FilterRelease(compiled);
    }
    EXPECT_EQ(110, EXK_WriteFilter(nullptr, folder.path("x.flt").c_str()));
}

TEST(XkFilter, NamesKeywordsAndConvertsCharacterSets) {
    struct Row {
        int from;
        int to;
        int byte;
        int expected;
    };
    const int iso = EXK_KeywordValue("iso");
    const int mac = EXK_KeywordValue("Mac");
    const int pc = EXK_KeywordValue("PC");
    const Row rows[] = {
        {pc, iso, 0x82, 0xE9},  {iso, mac, 0xE9, 0x8E}, {mac, pc, 0x8E, 0x82}, {iso, pc, 0xA4, -1},
        {iso, iso, 0xA4, 0xA4}, {pc, mac, 'A', 'A'},    {0, iso, 'A', -1},     {iso, mac, 256, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.from) + " " + std::to_string(r.to) + " " + std::to_string(r.byte));
        EXPECT_EQ(r.expected, EXK_ConvertChar(r.from, r.to, r.byte));
    }
    EXPECT_EQ(-5, iso);
    EXPECT_EQ(-9, EXK_KeywordValue("prefixlist"));
    EXPECT_EQ(-19, EXK_KeywordValue("CASE"));
    EXPECT_EQ(0, EXK_KeywordValue("none"));
    EXPECT_EQ(0, EXK_KeywordValue(nullptr));
}
