// Segment parsers: lines, visible lines, rows, and the scan of expandable sections.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "docengine/parser/ASegParser.h"
#include "docengine/text/AStringReader.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// "[start,end) text" of the segment at a position, or "null".
std::string SegmentAt(ASegParser* parser, ADocModel* model, long position, bool findStart) {
    ASegment* segment = parser->makeSegment(model, position, findStart);
    if (!segment)
        return "null";
    segment->lock();
    std::string out = "[" + std::to_string(segment->getStart()) + "," + std::to_string(segment->getEnd()) + ") " +
                      segment->text().c_str();
    segment->unlock();
    return out;
}

// The tree's sections as "[start,end)" (c closed), or the scan's error.
std::string Sections(const std::string& text) {
    Held<AStringReader> reader(new AStringReader(text.data(), static_cast<long>(text.size())));
    Held<ALineSegParser> parser(new ALineSegParser(reader.get()));
    std::unique_ptr<AExpandTree> tree;
    try {
        tree.reset(parser->buildExpandTree());
    } catch (const AParserError& e) {
        return "error: " + std::string(e.message().c_str());
    }
    std::string out;
    std::vector<AExpandNode*> stack;
    if (tree->root().firstChild())
        stack.push_back(tree->root().firstChild());
    // Depth first, in text order.
    std::function<void(AExpandNode*)> walk = [&](AExpandNode* first) {
        for (AExpandNode* n = first; n; n = n->parentNode()->childAfter(n)) {
            out += "[" + std::to_string(n->start) + "," + std::to_string(n->end) + (n->isOpen() ? ")" : ")c");
            if (n->firstChild()) {
                out += "{";
                walk(n->firstChild());
                out += "}";
            }
        }
    };
    if (tree->root().firstChild())
        walk(tree->root().firstChild());
    return out;
}

class Rows : public ALineGetter {
public:
    void getLine(AString& out, long row) override { out = AString(("ligne " + std::to_string(row) + "\r\n").c_str()); }
    long getLineCount() override { return 3; }
};

}  // namespace

TEST(SegParserTest, ReaderLinesCarryTheirLineEnd) {
    Held<AStringReader> reader(new AStringReader("ab\ncd", -1));
    Held<AReaderSegParser> parser(new AReaderSegParser(reader.get()));
    struct Row {
        long position;
        bool findStart;
        const char* want;
    } rows[] = {{0, true, "[0,3) ab\n"}, {4, true, "[3,5) cd"},   {5, true, "null"},
                {4, false, "[4,5) d"},   {2, true, "[0,3) ab\n"}, {-1, true, "null"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        EXPECT_EQ(row.want, SegmentAt(parser.get(), nullptr, row.position, row.findStart));
    }
    EXPECT_EQ(5, parser->getLength());
    // A long text is read from a movable block, pinned by the parser for each call.
    std::string longText(40000, 'x');
    longText[39990] = '\n';
    Held<AStringReader> block(new AStringReader(longText.c_str(), -1));
    Held<AReaderSegParser> blockLines(new AReaderSegParser(block.get()));
    EXPECT_EQ("[39991,40000) xxxxxxxxx", SegmentAt(blockLines.get(), nullptr, 39995, true));
    Held<AStringReader> crlf(new AStringReader("a\r\nb", -1));
    Held<AReaderSegParser> lines(new AReaderSegParser(crlf.get()));
    EXPECT_EQ("[2,3) \n", SegmentAt(lines.get(), nullptr, 2, true));
}

TEST(SegParserTest, TheScanBuildsSectionsAndRefusesBrokenBraces) {
    struct Row {
        std::string text;
        const char* want;
    } rows[] = {
        {"{Xopen#inner\nmore}tail", "[7,18)"},
        {"{Ca#bc}d", "[4,7)c"},
        {"{Xa#{Cb#c}d}", "[4,12){[8,10)c}"},
        {"{@C1@a#b}{xc#d}", "[7,9)c[13,15)"},
        {"{Da#b}{B1#x}", ""},
        {"{D{B1#x}#t}", ""},
        {"/&TABLE:{C&/", ""},
        {"\\{Ca\\#b}", ""},
        {"a#b", "error: No opened button for # at :a#b"},
        {"{Cx}", "error: Button already opened for } at :}"},
        {"{Dx", "error: Can t find } starting from :{Dx"},
        {"{Xa#b", "[4,5)"},
        {"x}{Ca#b}", "[6,8)c"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.want, Sections(row.text));
    }
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "{Xa#";
    EXPECT_EQ(0u, Sections(deep).find("error: Sections nested too deeply at :"));
}

TEST(SegParserTest, VisibleLinesLeaveClosedContentOut) {
    const std::string text = "{Xopen#inner\nmore}tail\nfin";
    Held<AStringReader> reader(new AStringReader(text.c_str(), -1));
    Held<ALineSegParser> parser(new ALineSegParser(reader.get()));
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    model->tree = parser->buildExpandTree();
    EXPECT_EQ("[0,13) {Xopen#inner\n", SegmentAt(parser.get(), model, 3, true));
    EXPECT_EQ("[13,23) more}tail\n", SegmentAt(parser.get(), model, 15, true));
    model->tree->nodeStartingAt(7)->toggle();
    EXPECT_EQ("[0,23) {Xopen#tail\n", SegmentAt(parser.get(), model, 3, true));
    EXPECT_EQ("[0,23) {Xopen#tail\n", SegmentAt(parser.get(), model, 19, true));
    EXPECT_EQ("[23,26) fin", SegmentAt(parser.get(), model, 24, true));
    EXPECT_EQ("[24,26) in", SegmentAt(parser.get(), model, 24, false));
    EXPECT_EQ("null", SegmentAt(parser.get(), model, 26, true));
    EXPECT_GT(FatalExitCodeOf([&] { parser->makeSegment(nullptr, 0, true); }), 0);

    // A section cut by the end of the text is empty and closed there.
    Held<AStringReader> cut(new AStringReader("ab{Xc#", -1));
    Held<ALineSegParser> cutParser(new ALineSegParser(cut.get()));
    TestModel* cutModel = new TestModel;
    Held<TestModel> cutHolder(cutModel);
    cutModel->tree = cutParser->buildExpandTree();
    cutModel->tree->root().collapseAll();
    EXPECT_EQ("[0,6) ab{Xc#", SegmentAt(cutParser.get(), cutModel, 1, true));
}

TEST(SegParserTest, RowsMakeOneSegmentEach) {
    Held<Rows> rows(new Rows);
    Held<ASourceSegParser> parser(new ASourceSegParser(rows.get()));
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    model->text = "x";
    EXPECT_EQ(3, parser->getLength());
    EXPECT_EQ("[2,3) ligne 2\r\n", SegmentAt(parser.get(), model, 2, true));
    EXPECT_EQ("null", SegmentAt(parser.get(), model, 3, true));
    ASegment* segment = parser->makeSegment(model, 1, true);
    segment->lock();
    EXPECT_EQ(0, segment->fromDocument(57));
    segment->unlock();
}
