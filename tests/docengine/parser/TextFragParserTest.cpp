// The slash-markup parser: codes, at codes, links, braces, tables, sections,
// note marks and highlight ranges.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "docengine/parser/ASegParser.h"
#include "docengine/text/AStringReader.h"
#include "tests/docengine/parser/ParserTestSupport.h"

namespace {

struct Row {
    std::string markup;
    const char* want;
};

void RunRows(const std::vector<Row>& rows, TestModel* model = nullptr) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        ATextFragParser* parser = new ATextFragParser('/');
        parser->setSubParser(new TableStub);
        EXPECT_EQ(row.want, ParseText(row.markup, parser, model));
    }
}

}  // namespace

TEST(TextFragParserTest, CodesSetStylesColoursAndParagraphFormats) {
    RunRows({
        {"ab/Ccd", "P | \"ab\" | \"cd\"/s2"},
        {"/@S12/x", "P | \"x\"/s12"},
        {"a\\/b", "P | \"a\" | \"/b\""},
        {"x\r\ny", "P | \"x\" | P | P | \"y\""},
        {"", "P"},
        {"/3a/@C12/b/-4c", "P | \"a\"/c3 | \"b\"/c12 | \"c\"/c12 H4"},
        {"/@J3/x", "P[0x3] | \"x\""},
        {"//a/@J-512/b", "P | \"a\" | \"b\""},
        {"/<a/$b", "P[0x2] | \"a\" | P | \"b\""},
        {"/@ J  -3/x", "P | \"x\""},
        {"/q/\"5x", "P | \"x\""},
        {std::string("\x10/a", 3), "P | \"\x10/a\""},
        {"a}b", "P | \"a\" | \"b\""},
        {"/%x", "P | \"x\""},
    });
}

TEST(TextFragParserTest, CodesCutByTheEndReadNothingPastIt) {
    RunRows({
        {"ab/", "P | \"ab\""},
        {"ab/-", "P | \"ab\""},
        {"ab/\"", "P | \"ab\""},
        {"x/@S12", "P | \"x\""},
        {"x/@", "P | \"x\""},
        {"x\\", "P | \"x\""},
        {std::string("x\x10", 2), "P | \"x\x10\""},
        {"x{", "P | \"x\""},
        {"x{@Cab", "P | \"x\" | \"ab\"/s-1/c255"},
        {"x{@", "P | \"x\""},
    });
}

TEST(TextFragParserTest, LinksAndBitmapsTakeANumberFlagsAndAText) {
    RunRows({
        {"/!12,<|!Voir/", "P[0x2] | K\"Voir\"#12f0x3"},
        {"/!12!/", "P | K\"!\"#12"},
        {"/!7,*!a b/c", "P[0x80] | K\"a b\"#7f0x80 | \"c\""},
        {"{B3,>#img.png}x", "P[0x4] | K\"img.png\"#3f0x4 | \"x\""},
        {"{Bxx}", "error: Found no # for bitmap spec at :xx}"},
        {"/!12!Voir", "error: Found no # for bitmap spec at :Voir"},
        {"/!12", "error: Found no # for bitmap spec at :12"},
    });
}

TEST(TextFragParserTest, ButtonsMarkTheirLabelWithTheirTarget) {
    RunRows({
        {"{Dlabel#target}", "P | K\"D\"#0 n=target k=0x8003 | \"label\"/s1 n=target k=0x8003"},
        {"{dlabel#t}x", "P | \"label\"/s1 n=t k=0x3 | \"x\""},
        {"{Hl#t}", "P | K\"H\"#0 n=t k=0x8005 | \"l\"/s1 n=t k=0x8005"},
        {"{Al#t}", "P | K\"A\"#0 n=t k=0x8006 | \"l\"/s1 n=t k=0x8006"},
        {"{Tl#t}", "P | K\"T\"#6 n=t k=0x8003 | \"l\"/s1 n=t k=0x8003"},
        {"{D#t}", "P | K\"D\"#0 n=t k=0x8003 | \"\"/s1 n=t k=0x8003"},
        {"/C{Dl#t}x", "P | K\"D\"#0 n=t k=0x8003 | \"l\"/s1 n=t k=0x8003 | \"x\""},
        {"/C{@D2@l#t}x", "P | K\"@\"#0 n=t k=0x8003 | \"l\"/s1 n=t k=0x8003 | \"x\"/s2"},
        {"/C{@D0@l#t}x", "P | K\"@\"#0 n=t k=0x8003 | \"l\"/s2 n=t k=0x8003 | \"x\"/s2"},
        {"{@D!5!Voir/@l#t}", "P | K\"Voir\"#5 n=t k=0x8003 | \"l\"/s1 n=t k=0x8003"},
        {"{Dla\\#bel}", "P | \"bel\"/s-1/c255"},
        {"{Dxy}z", "P | \"xy\"/s-1/c255 | \"z\"/s-1/c255"},
        {"{Dl#t", "P | \"t\"/s-1/c255"},
        {"{D{B1#i}#t}", "P | K\"D\"#0 n=t k=0x8003 | K\"i\"#1 n=t k=0x8003"},
    });
}

TEST(TextFragParserTest, TablesAreHandedToTheSubParser) {
    RunRows({
        {"a/&TABLE:1&/b", "P | \"a\" | \"TABLE:1&\"/s25/c9 | \"b\""},
        {"/&T#&x&/", "P | \"T#&x&\"/s25/c9"},
        {"/&TABLE:x", "error: #Error : KyTab error: Missing &/ at :TABLE:x\n"},
        {"/&TABLE:x&", "error: #Error : KyTab error: Missing &/ at :TABLE:x&\n"},
    });
    EXPECT_EQ("error: #Error : KyTab error: No table parser at :T&/\n", ParseText("/&T&/", new ATextFragParser('/')));
}

TEST(TextFragParserTest, SectionsAreFoundInTheModelsTree) {
    struct SectionRow {
        std::string markup;
        bool open;
        const char* want;
    } rows[] = {
        {"{Ca#bc}d", false, "P | K\"C\"#2 k=0x8001 | \"a\"/s1 k=0x8001 | \"bc\" | \"d\""},
        {"{Xa#bc}d", true, "P | K\"X\"#1 k=0x8002 | \"a\"/s1 k=0x8002 | \"bc\" | \"d\""},
        {"{ca#bc}", false, "P | \"a\"/s1 n= k=0x1 | \"bc\""},
        {"{@C1!3!Ouvrir/!4!Fermer/@a#bc}", false, "P | K\"Fermer\"#4 n= k=0x8001 | \"a\" n= k=0x8001 | \"bc\""},
        {"{@X1!3!Ouvrir/!4!Fermer/@a#bc}", true, "P | K\"Ouvrir\"#3 n= k=0x8002 | \"a\" n= k=0x8002 | \"bc\""},
    };
    for (const SectionRow& row : rows) {
        SCOPED_TRACE(row.markup);
        TestModel* model = new TestModel;
        Held<TestModel> holder(model);
        model->tree = new AExpandTree;
        long at = static_cast<long>(row.markup.find('#')) + 1;
        AExpandNode* node = new AExpandNode(&model->tree->root(), 1, row.open);
        node->start = node->contentStart = at;
        node->end = node->contentEnd = static_cast<long>(row.markup.find('}')) + 1;
        model->tree->root().end = static_cast<long>(row.markup.size());
        model->tree->root().computeVisibleLengths();
        ATextFragParser* parser = new ATextFragParser('/');
        EXPECT_EQ(row.want, ParseText(row.markup, parser, model));
    }
    // The expansion code names the section that starts after its 'X'.
    for (bool open : {false, true}) {
        TestModel* model = new TestModel;
        Held<TestModel> holder(model);
        model->tree = new AExpandTree;
        AExpandNode* node = new AExpandNode(&model->tree->root(), 1, open);
        node->start = node->contentStart = 3;
        node->end = node->contentEnd = 4;
        model->tree->root().end = 6;
        model->tree->root().computeVisibleLengths();
        EXPECT_EQ(open ? "P | K\"y\"#1 | \"z\"" : "P | K\"y\"#2 | \"z\"",
                  ParseText("/@Xy/z", new ATextFragParser, model));
    }
    EXPECT_EQ("error: #Syntax Error:Expand error:Can t find expand at :{Ca#b}",
              ParseText("{Ca#b}", new ATextFragParser));
    EXPECT_EQ("error: #Syntax Error:Expand error:Can t find expand at :/@Xy/", ParseText("/@Xy/", new ATextFragParser));
}

TEST(TextFragParserTest, NoteMarksAndHighlightRangesCutTheText) {
    struct MarkRow {
        std::string markup;
        std::map<long, long> markers;
        std::vector<ARange> ranges;
        const char* want;
    } rows[] = {
        {"abcdef", {{3, 7}}, {}, "P | \"abc\" | L(7) k=0x7003 | \"def\""},
        {"abcdef", {{0, 1}, {6, 2}}, {}, "P | L(1) k=0x7003 | \"abcdef\""},
        {"ab\ncd", {{4, 9}}, {}, "P | \"ab\" | P | \"c\" | L(9) k=0x7003 | \"d\""},
        {"a/@S3/b", {{3, 5}}, {}, "P | \"a\" | L(5) k=0x7003 | \"b\"/s3"},
        {"abcdef", {}, {{2, 4}}, "P | \"ab\" | \"cd\" h | \"ef\""},
        {"abcdef", {}, {{-5, 1}, {5, 90}}, "P | \"a\" h | \"bcde\" | \"f\" h"},
        {"ab\ncd", {}, {{1, 4}}, "P | \"a\" | \"b\" h | P | \"c\" h | \"d\""},
    };
    for (const MarkRow& row : rows) {
        SCOPED_TRACE(row.markup);
        TestModel* model = new TestModel;
        Held<TestModel> holder(model);
        model->markers = row.markers;
        ARangeArray ranges;
        for (const ARange& r : row.ranges)
            ranges.addRange(r);
        if (!row.ranges.empty())
            model->ranges = &ranges;
        EXPECT_EQ(row.want, ParseText(row.markup, new ATextFragParser, model));
    }
}

TEST(TextFragParserTest, NestingBeyondTheLimitIsAParserError) {
    // Labels holding buttons recurse: a crafted article cannot exhaust the stack.
    auto nested = [](int levels) {
        std::string s = "x";
        for (int i = 0; i < levels; ++i)
            s = "{D" + s + "#t}";
        return s;
    };
    EXPECT_EQ(0u, ParseText(nested(150), new ATextFragParser).find("error: Braces nested too deeply at :"));
    EXPECT_EQ(std::string::npos, ParseText(nested(50), new ATextFragParser).find("error"));
    // Braces that never close would make each one rescan the line: the work is bounded.
    struct Row {
        std::string markup;
        bool refused;
    } rows[] = {{std::string(200000, '{'), true},
                {[] {
                     std::string s;
                     for (int i = 0; i < 50000; ++i)
                         s += "{D#";
                     return s;
                 }(),
                 true},
                {std::string(100000, '{').replace(0, 2, "{@"), true},
                {std::string(200, '{'), false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup.substr(0, 4));
        std::string got = ParseText(row.markup, new ATextFragParser);
        EXPECT_EQ(row.refused, got.find("error: Markup too complex at :") == 0) << got.substr(0, 60);
    }
}
