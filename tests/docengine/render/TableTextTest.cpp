// Tables inside laid-out text: a range through a table covers the cells' text
// it holds, a position inside a cell is that cell's (caret and hit record),
// and a search hit inside a cell of a tall table is scrolled into view.
#include <gtest/gtest.h>

#include <string>

#include "docengine/hilite/AHighlighter.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/kytab/ATableDataRun.h"
#include "docengine/render/AHitNavigator.h"
#include "tests/docengine/render/RenderTestSupport.h"

namespace {

const char kTwoRows[] =
    "Avant le tableau\n"
    "/&TABLE:100%:N0:[[0,0,0,0,0|premier*0,0,0,0,0|second]*[0,0,0,0,0|troisieme*0,0,0,0,0|quatre]]&/\n"
    "Apres\n";

class TableTextTest : public RenderTest {
protected:
    // The text with tables read ('*' between cells), laid out in the 300 x 200 frame.
    void open(const std::string& text, AHighlighterHook* highlighter = nullptr) {
        text_ = text;
        makeView();
        ARefHold<AStringReader> reader(new AStringReader(text_.c_str(), -1));
        ARefHold<AReaderSegParser> segments(new AReaderSegParser(reader.get()));
        ARefHold<ATextFragParser> fragments(new ATextFragParser('/'));
        ARefHold<AKytabSubParser> tables(new AKytabSubParser('*'));
        fragments->setSubParser(tables.get());
        model = new AIndexedDocModel(segments.get(), fragments.get(), highlighter);
        model->addRef();
        install();
    }
    long at(const char* word, long plus = 0) { return static_cast<long>(text_.find(word)) + plus; }
    ATableDataRun* table() {
        ALineRenderer* layer = renderer->lines();
        for (long i = 0; i < layer->lines.count(); ++i)
            for (ADataRun* r = layer->lines.at(i)->runs; r; r = r->getNext())
                if (auto* t = dynamic_cast<ATableDataRun*>(r))
                    return t;
        return nullptr;
    }
    // The middle of the character at a position, from its caret.
    APoint charPoint(long position) {
        ARect c = renderer->caretRect(position);
        return APoint(c.second.x + 2, (c.first.y + c.second.y) / 2);
    }
    std::string text_;
};

}  // namespace

TEST_F(TableTextTest, ARangeIntoATableCoversOnlyTheCellsTextItHolds) {
    open(kTwoRows);
    ASSERT_TRUE(table());
    ARegion region = renderer->lines()->rangeRegion(2, at("troisieme", 3));
    region.alignTo(APoint(0, 0));
    struct Row {
        const char* what;
        long position;
        bool covered;
    } rows[] = {
        {"the text before the table", 5, true},
        {"the first cell", at("premier", 2), true},
        {"the second cell", at("second", 4), true},
        {"the start of the second row's first cell", at("troisieme", 1), true},
        {"the rest of that cell", at("troisieme", 6), false},
        {"the last cell", at("quatre", 2), false},
        {"the text after the table", at("Apres", 2), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.covered, region.contains(charPoint(row.position)));
    }
}

TEST_F(TableTextTest, APositionInsideACellIsThatCellsForTheCaretAndTheHitRecord) {
    open(kTwoRows);
    ATableDataRun* run = table();
    ASSERT_TRUE(run);
    struct Row {
        const char* word;
        long row, column;
    } rows[] = {{"premier", 0, 0}, {"second", 0, 1}, {"troisieme", 1, 0}, {"quatre", 1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.word);
        ATableCellBox* box = run->boxAt(row.row, row.column);
        ASSERT_TRUE(box);
        ARect caret = renderer->caretRect(at(row.word, 2));  // places the cells
        ARect cell = box->rect();
        EXPECT_GE(caret.first.x, cell.first.x);
        EXPECT_LE(caret.second.x, cell.second.x);
        EXPECT_GE(caret.first.y, cell.first.y);
        EXPECT_LE(caret.second.y, cell.second.y);
        AHitRecord hit = renderer->hitOfPosition(at(row.word, 2));
        EXPECT_EQ(static_cast<ALineRenderer*>(box->renderer), hit.renderer) << "the cell's renderer answers";
        EXPECT_EQ(at(row.word, 2), hit.position);
    }
}

TEST_F(TableTextTest, AHitInACellBelowTheViewIsScrolledIntoView) {
    std::string tall = "Avant\n/&TABLE:100%:N0:[[0,0,0,0,0|";
    for (int i = 0; i < 24; ++i)
        tall += "ligne " + std::to_string(i) + "\\n";
    tall += "*0,0,0,0,0|x]*[0,0,0,0,0|la cible*0,0,0,0,0|y]]&/\nApres\n";
    long hit = static_cast<long>(tall.find("cible"));
    ARangeArray ranges;
    ranges.addRange(ARange{hit, hit + 5});
    ARefHold<AHighlighter> highlighter(new AHighlighter(nullptr, &ranges));
    open(tall, highlighter.get());
    ASSERT_TRUE(table());
    ASSERT_GT(table()->height, 200) << "the table is taller than the view";
    ASSERT_NE(nullptr, renderer->hitNavigator());
    EXPECT_EQ(1, renderer->hitNavigator()->showFirstHit());
    ARect shown = renderer->rangeBounds(hit, hit + 5);
    EXPECT_GT(shown.second.y, shown.first.y);
    EXPECT_GE(shown.first.y, 0);
    EXPECT_LE(shown.second.y, 200) << "the hit's text, not the table's top, is brought in";
    ARect cell = table()->boxAt(1, 0)->rect();
    EXPECT_GE(shown.first.x, cell.first.x + 6 * 3) << "from the hit's first character";
    EXPECT_LE(shown.second.x, cell.second.x) << "within its cell, not across the table";
}
