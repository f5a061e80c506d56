// The SGML parsing library: tokens, comments, entities, tag lookup, attribute
// matching and the errors that stop a parse.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "search/engine/descriptor/SgmlLib.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::string g_log;

void Text(void*, const char* text) {
    g_log += "[" + std::string(text) + "]";
}

void Element(void*, int start, const char* const* values, int count) {
    if (!start) {
        g_log += "</>";
        return;
    }
    g_log += "<";
    for (int i = 0; i < count; ++i) {
        if (i)
            g_log += ",";
        g_log += values[i] ? (SgmlValueWritten(values[i]) ? "w:" : "d:") + std::string(values[i]) : "-";
    }
    g_log += ">";
}

void Feeding(void* user, int start, const char* const* values, int count) {
    Element(user, start, values, count);
    if (start) {
        EXPECT_EQ(0, SgmlFeedLine("<b name=\"fed\">"));
    }
}

int Resolve(void*, const char* name, char* buffer, int size) {
    if (std::strcmp(name, "who") != 0)
        return 0;
    std::snprintf(buffer, static_cast<size_t>(size), "%s", "resolved");
    return 1;
}

// Parses text with tags a (attributes name, kind="k"), b (name) and feed.
int Parse(const std::string& text, int32_t options, SgmlEntityTable* entities = nullptr) {
    static SgmlAttribute aAttributes[] = {{"name", nullptr, nullptr}, {"kind", "k", nullptr}};
    static SgmlAttribute bAttributes[] = {{"name", nullptr, nullptr}};
    // 20 attributes: more than a handler receives; 31: more than are matched.
    static SgmlAttribute many[31];
    static char names[31][4];
    for (int i = 0; i < 31; ++i) {
        std::snprintf(names[i], sizeof names[i], "m%d", i);
        many[i] = SgmlAttribute{names[i], "d", nullptr};
    }
    SgmlTag tags[] = {
        {"twenty", Element, many, 20, 0, 0, 0, 0},       {"thirtyone", Element, many, 31, 0, 0, 0, 0},
        {"feed", Feeding, nullptr, 0, 0, 0, 0, 0},       {"b", Element, bAttributes, 1, 0, 0, 0, 0},
        {"shared", Element, aAttributes, 2, 0, 0, 0, 0}, {"a", Element, aAttributes, 2, 0, 0, 0, 0},
    };
    SgmlParser parser{};
    parser.tags = tags;
    parser.tagCount = 6;
    parser.text = Text;
    parser.options = options;
    parser.entities = entities;
    TempFolder folder;
    OpenSpecOf spec(folder.write("in.sgm", text));
    KY_File* f = KY_FOpen(spec.get(), "rb");
    EXPECT_NE(nullptr, f);
    g_log.clear();
    ClearBoxes();
    int code = SgmlInit(f, &parser, nullptr);
    KY_FClose(f);
    return code;
}

}  // namespace

TEST(SgmlLib, ReadsTokensAndCallsHandlers) {
    SgmlEntity entities[] = {{"sup", ">", 0}, {"inf", "<", 0}, {"nl", "\n", 0}};
    SgmlEntityTable table{entities, 3, kSgmlEntityCaseSensitive};
    struct Row {
        const char* input;
        int32_t options;
        const char* log;
    };
    const Row rows[] = {
        {"<a name=\"x\">text</a>", 0x41, "<w:x,d:k>[text]</>"},
        {"<A kind=\"z\" name=\"y\">", 0x41, "<w:y,w:z>"},
        {"<a NAME=\"x\">", 0x41, "<-,d:k>"},
        {"  <a>\n\t  two   words \r\n here  </a>\n  ", 0x41, "<-,d:k>[ two words here ]</>"},
        {"  <a>\n  x  </a>", 0x01, "[ ]<-,d:k>[ x ]</>"},
        {"<a>line\none</a>", 0x45, "<-,d:k>[line one]</>"},
        {"<a>x <!-- a <b> c --> y</a>", 0x41, "<-,d:k>[x ][ y]</>"},
        {"<a>1 &sup; &inf;b&sup; 2</a>", 0x41, "<-,d:k>[1 > <b> 2]</>"},
        {"<a>&inf;b&sup;c</a>", 0x41, "<-,d:k>[<b>c]</>"},
        {"<a name=\"&sup;\">", 0x41, "<w:>,d:k>"},
        {"<a>&who;</a>", 0x41, "<-,d:k>[resolved]</>"},
        {"<a>x > y</a>", 0x141, "<-,d:k>[x y]</>"},
        {"<zz><a>", 0x141, "<-,d:k>"},
        {"<a\nname=\"p\"\n>", 0x41, "<w:p,d:k>"},
        {"<a name='q'>", 0xC1, "<w:q,d:k>"},
        {"<a>x</>", 0x41, "<-,d:k>[x]</>"},
        {"<feed>", 0x41, "<><w:fed>"},
        {"<a <b>", 0x141, "<-,d:k><->"},
        {"<thirtyone m1=\"x\">", 0x41, "<>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.input);
        table.resolve = Resolve;
        EXPECT_EQ(0, Parse(r.input, r.options, &table));
        EXPECT_EQ(r.log, g_log);
    }
}

TEST(SgmlLib, StopsOnMarkupErrors) {
    SgmlEntity entities[] = {{"sup", ">", 0}};
    SgmlEntityTable table{entities, 1, kSgmlEntityCaseSensitive};
    struct Row {
        const char* input;
        int32_t options;
        const char* error;
        const char* log;
    };
    const Row rows[] = {
        {"<a>x</a><zz>", 0x41, "#findTag : tag not found : zz", "<-,d:k>[x]</>"},
        {"text > more", 0x41, "#Extra End Tag", ""},
        {"<a>&nope;</a>", 0x41, "#Entity not found: nope", "<-,d:k>"},
        {"<a other=\"1\">", 0x41, "#Invalid attribute other", ""},
        {"<a></b>", 0x51, "#Element bracing mismatch", "<-,d:k>"},
        {"</a>", 0x49, "#too many end tags for a", ""},
        {"<twenty m1=\"x\">", 0x41, "Too much attributes : 20", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.input);
        EXPECT_EQ(kSgmlErrMarkup, Parse(r.input, r.options, &table));
        EXPECT_STREQ(r.error, KY_EngineErrorText);
        EXPECT_EQ(r.log, g_log);
        EXPECT_NE(std::string::npos, ShownText().find("ParseLib message")) << ShownText();
    }
}

TEST(SgmlLib, SortsTablesAndNestsThirtyTwoElements) {
    SgmlEntity entities[] = {{"b", "2", 7}, {"a", "1", 3}, {"C", "3", 1}};
    SgmlEntityTable table{entities, 3, 0};
    SgmlSetNameCase(&table, kSgmlEntityCaseSensitive);
    EXPECT_STREQ("C", entities[0].name);
    EXPECT_STREQ("a", entities[1].name);
    EXPECT_EQ(0, entities[1].uses);
    const char* value = nullptr;
    EXPECT_EQ(0, SgmlFindEntity(&table, "c", &value));
    SgmlSetNameCase(&table, 0);
    EXPECT_EQ(1, SgmlFindEntity(&table, "c", &value));
    EXPECT_STREQ("3", value);

    std::string deep;
    for (int i = 0; i < kSgmlStackDepth; ++i)
        deep += "<b>";
    EXPECT_EQ(0, Parse(deep, 0x51));
    EXPECT_EQ(kSgmlErrMarkup, Parse(deep + "<b>", 0x51));
    EXPECT_STREQ("#Element stack overflow", KY_EngineErrorText);

    // Tags a and shared use one attribute table: its patterns are made and freed once a parse.
    // The first parse may take a segment, depending on what earlier tests left in the heap.
    Parse("<shared name=\"x\">", 0x41);
    uint32_t segments = BAlloc::segmentCount();
    for (int i = 0; i < 300; ++i)
        Parse("<shared name=\"x\">", 0x41);
    EXPECT_EQ(segments, BAlloc::segmentCount());
}
