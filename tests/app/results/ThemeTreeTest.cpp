// The theme tree's rows: TAB-indented theme lines as rows at levels, the
// sections a tree parser nests from them, and the ancestor chain that the
// theme path is built from.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/lines/ASVThemeLineGetter.h"
#include "app/lines/StandardLineGetter.h"
#include "app/results/ATreeLineParser.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/AFragParserVariants.h"

namespace {

// Six themes: two tops, the first with a child that has two children, and
// a line two levels deeper than its parent.
const char kThemes[] =
    "Arts#0:1\n"
    "\tPeinture#0:2\n"
    "\t\tHuile#0:3\n"
    "\t\tAquarelle\n"
    "Sciences#0:-1\n"
    "\t\t\tTrop profond#0:5";

std::string Chain(ASVThemeLineGetter* themes, long line) {
    std::string out;
    for (long n : themes->ancestorsOf(line))
        out += (out.empty() ? "" : " ") + std::to_string(n);
    return out;
}

}  // namespace

TEST(ThemeTreeTest, ThemeLinesBecomeRowsAtTheirDepth) {
    ARefHold<BufferedLineGetter> source(new BufferedLineGetter(kThemes, -1));
    ARefHold<ASVThemeLineGetter> themes(new ASVThemeLineGetter(source.get()));
    ASSERT_EQ(6, themes->getLineCount());
    struct Row {
        long line;
        int16_t flat, tree;
        const char* raw;
        const char* key;  // the row's link name
    } const rows[] = {
        {0, 0, 0, "Arts#0:1", "0:1"},          {1, 0, 1, "Peinture#0:2", "0:2"},
        {2, 0, 2, "Huile#0:3", "0:3"},         {3, 0, 2, "Aquarelle", ""},
        {4, 0, 0, "Sciences#0:-1", "0:-1"},    {5, 0, 3, "Trop profond#0:5", "0:5"},
        {6, -1, -1, "", ""},                   {-1, -1, -1, "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        themes->setTreeOption(0);
        EXPECT_EQ(r.flat, themes->getLineLevel(r.line));
        themes->setTreeOption(1);
        EXPECT_EQ(r.tree, themes->getLineLevel(r.line));
        EXPECT_EQ(r.raw, std::string(themes->getRawLine(r.line, r.line).c_str()));
        if (r.line < 0 || r.line >= 6)
            continue;
        AString row;
        themes->getLine(row, r.line);
        std::string text(row.c_str());
        ASSERT_NE(std::string::npos, text.rfind('#'));
        EXPECT_EQ(r.key, text.substr(text.rfind('#') + 1)) << text;
        EXPECT_EQ(std::string::npos, text.find('\t')) << "no TAB reaches the row";
    }
}

TEST(ThemeTreeTest, DeeperLinesNestUnderTheLineBeforeThemAndGiveTheirAncestors) {
    ARefHold<BufferedLineGetter> source(new BufferedLineGetter(kThemes, -1));
    ARefHold<ASVThemeLineGetter> themes(new ASVThemeLineGetter(source.get()));
    themes->setTreeOption(1);
    auto* parser = new ATreeLineParser(themes.get());
    ARefHold<ALaidOutDocModel> model(new ALaidOutDocModel(parser, new ALayoutFragParser('/'), nullptr));
    EXPECT_EQ(6, model->getPositionCount()) << "sections start open";
    struct Path {
        long line;
        const char* chain;
    } const paths[] = {{0, "0"}, {1, "0 1"}, {2, "0 1 2"}, {3, "0 1 3"}, {4, "4"}, {5, "4 5"}, {6, ""}, {-1, ""}};
    for (const Path& p : paths) {
        SCOPED_TRACE(p.line);
        EXPECT_EQ(p.chain, Chain(themes.get(), p.line));
    }
    model->collapseAll(0);
    EXPECT_EQ(2, model->getPositionCount()) << "the two top themes";
    EXPECT_EQ(4, model->positionToSource(1));
    // Opening the first theme shows its child, itself still closed.
    EXPECT_TRUE(model->openAt(1, nullptr, 0));
    EXPECT_EQ(3, model->getPositionCount());
    struct Segment {
        long source, start, end;
    } const segments[] = {{0, 0, 1}, {1, 1, 4}, {2, 1, 4}, {4, 4, 6}};
    for (const Segment& g : segments) {
        SCOPED_TRACE(g.source);
        std::unique_ptr<ASegment> segment(parser->makeSegment(model.get(), g.source, false));
        ASSERT_NE(nullptr, segment);
        EXPECT_EQ(g.start, segment->getStart());
        EXPECT_EQ(g.end, segment->getEnd());
    }
}
