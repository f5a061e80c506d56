// The list and tile renderers without a native window: row selection and its
// modes, arrow keys, select-all, row backgrounds and separators, tile columns,
// moves between tiles and scrolling by rows, and a long list laid out only
// where it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "docengine/lines/ADataRun.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/kytab/ATableDataRun.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATileRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/AReader.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

// Rows "Ligne n", or a longer caption for the rows given; counts the rows asked for.
class Rows : public ALineGetter {
public:
    explicit Rows(long count, long longRow = -1) : count_(count), longRow_(longRow) {}
    void getLine(AString& out, long row) override {
        ++calls;
        std::string text = "Ligne " + std::to_string(row);
        if (row == longRow_)
            text += " avec une longue legende";
        // As the keyword list writes them: the label, then its count in a 40-pixel column.
        if (countColumn)
            text = "/&TABLE:100%:N0:[[100,0,0,0,0:0|//" + text + "*-40,0,0,0,0:0|//12]]&/";
        out = AString((text + "\n").c_str());
    }
    bool countColumn = false;
    long getLineCount() override { return count_; }
    long calls = 0;

private:
    long count_;
    long longRow_;
};

// Every byte is 6 pixels wide, lines are 14 pixels high; fills paint a canvas.
class CanvasDisplay : public ARunDisplay {
public:
    explicit CanvasDisplay(Canvas* canvas) : canvas_(canvas) {}
    ARunExtent extent(AStyleFont*, const char*, long length) override { return ARunExtent{6 * length, 14, 10}; }
    long indexAtX(AStyleFont*, const char*, long length, long x, int16_t& flag) override {
        long i = x / 6;
        flag = 2 * (x - 6 * i) <= 6 ? 1 : 0;
        long b = flag ? i : i + 1;
        return b < 0 ? 0 : b > length ? length : b;
    }
    long drawText(AStyleFont*, long, long, const char*, long length, uint32_t) override { return 6 * length; }
    void fillRect(const ARect& rect, uint32_t colour) override {
        if (!canvas_)
            return;
        RECT r = {rect.first.x, rect.first.y, rect.second.x, rect.second.y};
        HBRUSH brush = CreateSolidBrush(colour & 0xFFFFFF);
        FillRect(canvas_->dc(), &r, brush);
        DeleteObject(brush);
    }
    void eraseRect(const ARect& rect) override { fillRect(rect, 0xFFFFFF); }
    void drawBitmap(ABitmapRef*, const ARect&, long, int) override {}
    ARunExtent bitmapSize(ABitmapRef*) override { return ARunExtent{16, 16, 0}; }

private:
    Canvas* canvas_;
};

class ListTest : public ViewTest {
protected:
    // A standard view of the frame's size with the renderer on its layer, over rows from a getter.
    template <class R>
    R* open(long rows, uint16_t listOptions, const ARect& frame = ARect(0, 0, 300, 200), long longRow = -1,
            long tileWidth = 92, int16_t fixedColumns = 0) {
        window =
            Open<TestWindow>(app, ARect(0, 0, frame.second.x + 20, frame.second.y + 20), "#background:255,255,255");
        sv = Shown(Open<AStandardView>(window, int16_t(7), Frame(0, 0, frame.second.x, frame.second.y)));
        R* r = new R(sv->rendererLayer(), &display);
        r->addRef();
        if (renderer)
            renderer->release();
        if (getter)
            getter->release();
        renderer = r;
        if (auto* tiles = dynamic_cast<ATileRenderer*>(r)) {
            tiles->setTileLayout(rows, tileWidth);
            tiles->fixedColumns = fixedColumns;
        }
        getter = new Rows(rows, longRow);
        getter->addRef();
        getter->countColumn = tableRows;
        sv->rendererLayer()->setRenderer(r);
        r->listOptions = listOptions;
        r->setSourceModel(getter, nullptr);
        if (tableRows)
            r->enableTables('*');
        r->setFrame(frame, false);
        r->attach();
        r->relayoutFrom(0, true);
        return r;
    }
    void TearDown() override {
        if (renderer)
            renderer->release();
        if (getter)
            getter->release();
        ViewTest::TearDown();
    }
    // The selected rows, as "0,3,4".
    std::string marked() {
        std::string out;
        ADocModel* m = renderer->model();
        for (long row = 0; row < m->getLength(); ++row)
            if (m->isMarkedStart(row))
                out += (out.empty() ? "" : ",") + std::to_string(row);
        return out;
    }
    // The x of each tile of the first laid-out row.
    std::string firstRowXs() {
        std::string out;
        ALineArray& lines = renderer->lines()->lines;
        for (long i = 0; i < lines.count(); ++i)
            if (lines.at(i)->top == lines.at(0)->top)
                out += (out.empty() ? "" : ",") + std::to_string(lines.at(i)->x);
        return out;
    }
    long topRow() {
        ADocRange r{0, 0};
        renderer->visibleLineRange(true, r);
        return r.start;
    }

    CanvasDisplay display{nullptr};
    bool tableRows = false;
    AStandardView* sv = nullptr;
    AListRenderer* renderer = nullptr;
    Rows* getter = nullptr;
};

const uint16_t kShift = ListOptions::kAdditiveKey;

}  // namespace

TEST_F(ListTest, ASingleSelectionListStartsOnRowZeroAndArrowsStopAtItsEnds) {
    open<AListRenderer>(5, 0);
    EXPECT_EQ("0", marked()) << "a model without a mark gets row 0";
    struct Row {
        uint16_t key;
        const char* expected;
    } rows[] = {{0x28, "1"}, {0x28, "2"}, {0x28, "3"}, {0x28, "4"}, {0x28, "4"}, {0x26, "3"},
                {0x26, "2"}, {0x26, "1"}, {0x26, "0"}, {0x26, "0"}, {0x25, "0"}, {0x27, "0"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.key) + " " + row.expected);
        renderer->keyDown(row.key, 0);
        EXPECT_EQ(row.expected, marked());
    }
    AListRenderer* multiple = open<AListRenderer>(5, ListOptions::kMultiple);
    EXPECT_EQ("", marked()) << "a multiple-selection list starts with nothing";
    multiple->keyDown(0x28, 0);
    EXPECT_EQ("0", marked()) << "a key with nothing selected selects row 0";
}

TEST_F(ListTest, ClicksAndDragsSelectByTheirModifiersAndADragCopiesThePressedRowsState) {
    open<AListRenderer>(12, ListOptions::kMultiple);
    // Each row: the press, moves and release of one drag (press row, rows passed, modifiers).
    struct Row {
        long press;
        long to;
        uint16_t keys;
        const char* expected;
    } rows[] = {
        {5, 5, 0, "5"},               // a click selects one row
        {3, 7, kShift, "3,4,5,6,7"},  // the pressed row turns on and the drag gives rows 3-7 its state
        {5, 6, kShift, "3,4,7"},      // pressed on a selected row: off, and row 6 follows
        {9, 9, kShift, "3,4,7,9"},    // an additive click adds
        {7, 7, kShift, "3,4,9"},      // and takes away
        {2, 4, 0, "4"},               // without the modifier the drag leaves only the row under the pointer
        {10, 8, kShift, "4,8,9,10"},  // upwards too
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        renderer->selectRow(row.press, row.keys, SelectMode::kToggleAnchor, row.press);
        for (long r = row.press; r != row.to;) {
            r += row.to > row.press ? 1 : -1;
            renderer->selectRow(r, row.keys, 0, row.press);
        }
        renderer->selectRow(row.to, row.keys, SelectMode::kNotify, row.press);
        EXPECT_EQ(row.expected, marked());
    }
    AListRenderer* single = open<AListRenderer>(12, 0);
    single->selectRow(3, kShift, SelectMode::kToggleAnchor, 3);
    single->selectRow(7, kShift, 0, 3);
    EXPECT_EQ("7", marked()) << "the modifier adds nothing to a single-selection list";
}

TEST_F(ListTest, CommandThirtyFiveSelectsEveryRowOfAMultipleSelectionListOnly) {
    open<AListRenderer>(20, 0);
    EXPECT_EQ(2, sv->commandStatus(35, 0)) << "disabled in a single-selection list";
    sv->doCommand(35, 0);
    EXPECT_EQ("0", marked());
    open<AListRenderer>(20, ListOptions::kMultiple);
    EXPECT_EQ(1, sv->commandStatus(35, 0));
    sv->doCommand(35, 0);
    std::string all;
    for (int row = 0; row < 20; ++row)
        all += (row ? "," : "") + std::to_string(row);
    EXPECT_EQ(all, marked());
    renderer->setCurrentMark(4);
    EXPECT_EQ("4", marked()) << "one click after select-all leaves its row alone";
}

TEST_F(ListTest, RowsFillTheirSelectionAndDrawASeparatorAcrossTheRowUnlessItsColourIsUnset) {
    Canvas canvas(320, 220);
    display = CanvasDisplay(&canvas);
    open<AListRenderer>(6, ListOptions::kMultiple);
    renderer->selectedColour = 0x00FF0000;
    renderer->setCurrentMark(1);
    const COLORREF green = RGB(0, 200, 0);
    struct Row {
        uint32_t separator;
        long left, right;
        bool drawn;
    } rows[] = {{0xFF000000, 0, 0, false}, {green, 0, 0, true}, {green, 10, 20, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.separator) + " " + std::to_string(row.left));
        display.fillRect(ARect(0, 0, 320, 220), 0xFFFFFF);
        renderer->separatorColour = row.separator;
        renderer->separatorLeftInset = row.left;
        renderer->separatorRightInset = row.right;
        renderer->draw(renderer->frame());
        ARect r = renderer->rowRect(0);
        ASSERT_GT(r.second.x - r.first.x, 100);
        int y = r.second.y - 1;
        int separatorPixels = 0;
        for (int x = 0; x < 320; ++x)
            separatorPixels += canvas.pixel(x, y) == green;
        if (!row.drawn) {
            EXPECT_EQ(0, separatorPixels);
            continue;
        }
        EXPECT_EQ(r.second.x - r.first.x - row.left - row.right, separatorPixels);
        EXPECT_EQ(green, canvas.pixel(r.first.x + row.left, y));
        EXPECT_EQ(green, canvas.pixel(r.second.x - row.right - 1, y));
        EXPECT_NE(green, canvas.pixel(r.second.x - row.right, y));
    }
    ARect selected = renderer->rowRect(1);
    EXPECT_EQ(RGB(0, 0, 255), canvas.pixel(selected.first.x + 1, selected.first.y + 1)) << "the selected row";
    ARect plain = renderer->rowRect(2);
    EXPECT_EQ(RGB(255, 255, 255), canvas.pixel(plain.first.x + 1, plain.first.y + 1));
    EXPECT_EQ(selected.second.y, plain.first.y) << "rows follow each other";
    ARegion h = renderer->highlightRegion();
    EXPECT_EQ(selected, h.ownerBounds()) << "the highlight is the selected row";
}

TEST_F(ListTest, AHundredThousandRowsPageAndSelectWithoutLayingOutTheRowsNotShown) {
    open<AListRenderer>(100000, 0);
    int32_t delta = 0;
    ASSERT_TRUE(renderer->scrollVerticallyBy(3, 0, delta));
    long top = topRow();
    EXPECT_GT(top, 10) << "a page down";
    renderer->setCurrentMark(top + 2);
    renderer->keyDown(0x28, 0);
    EXPECT_EQ(std::to_string(top + 3), marked());
    renderer->setCurrentMark(99999);
    renderer->keyDown(0x26, 0);
    EXPECT_EQ("99998", marked()) << "a key on a row out of view brings it in first";
    EXPECT_LT(getter->calls, 400) << "rows asked for";
}

TEST_F(ListTest, TilesShareTheWidthInColumnsAndAZeroWidthOrColumnCountIsOne) {
    struct Row {
        int32_t frameWidth;
        long tileWidth;
        int16_t fixed;
        long span, columns, width;
        const char* xs;
    } rows[] = {
        {400, 92, 0, 390, 4, 92, "0,92,184,276"}, {310, 92, 3, 300, 3, 100, "0,100,200"},
        {8, 92, 0, 300, 3, 92, "0,92,184"},  // narrower than the margins
        {400, 0, 0, 390, 390, 1, nullptr},        {400, 500, 0, 390, 1, 500, "0"},
        {30, 92, 40, 20, 40, 1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.frameWidth) + " " + std::to_string(row.tileWidth));
        auto* tiles = open<ATileRenderer>(6, 0, ARect(0, 0, row.frameWidth, 200), -1, row.tileWidth, row.fixed);
        EXPECT_EQ(row.span, tiles->spanWidth);
        EXPECT_EQ(row.columns, tiles->columns);
        EXPECT_EQ(row.width, tiles->lines()->getLayoutWidth());
        if (row.xs) {
            EXPECT_EQ(row.xs, firstRowXs());
        }
    }
}

TEST_F(ListTest, ArrowsMoveBetweenTilesAndATallTilePushesItsRowDown) {
    auto* tiles = open<ATileRenderer>(10, 0, ARect(0, 0, 400, 200), 1);
    ASSERT_EQ(4, tiles->columns);
    EXPECT_EQ(tiles->rowRect(1).second.y, tiles->rowRect(4).first.y) << "the next row starts below the tallest tile";
    EXPECT_LT(tiles->rowRect(0).second.y, tiles->rowRect(1).second.y) << "the long caption wraps";
    EXPECT_EQ(tiles->rowRect(0).first.y, tiles->rowRect(3).first.y);
    struct Row {
        long from;
        uint16_t key;
        long expected;
    } rows[] = {{0, 0x27, 1}, {1, 0x28, 5}, {5, 0x28, 9}, {9, 0x28, 9}, {6, 0x28, 9}, {2, 0x28, 6},
                {5, 0x26, 1}, {1, 0x26, 1}, {4, 0x25, 3}, {0, 0x25, 0}, {9, 0x27, 9}, {8, 0x26, 4}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.from) + " " + std::to_string(row.key));
        tiles->setCurrentMark(row.from);
        tiles->keyDown(row.key, 0);
        EXPECT_EQ(std::to_string(row.expected), marked());
    }
    ARect third = tiles->rowRect(2);
    AHitRecord hit = tiles->hitRecordAt(APoint(third.first.x + 3, third.first.y + 3));
    EXPECT_EQ(2, AListRenderer::rowOfHit(hit)) << "a point finds its tile by both coordinates";
    ARect last = tiles->rowRect(9);
    hit = tiles->hitRecordAt(APoint(last.second.x + 10, last.first.y + 3));
    EXPECT_EQ(-1, AListRenderer::rowOfHit(hit)) << "no tile right of the last";
}

TEST_F(ListTest, TilesScrollByRowsAndKeepTheirColumns) {
    // The tall tile of item 29 crosses the bottom edge after the first step: its row is kept whole.
    auto* tiles = open<ATileRenderer>(200, 0, ARect(0, 0, 400, 100), 29);
    struct Row {
        int16_t code;
        long top;
    } rows[] = {{1, 4}, {1, 8}, {0, 4}, {0, 0}, {0, 0}, {3, -1}, {2, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        int32_t delta = 0;
        long before = topRow() / 4 * 4;
        tiles->scrollVerticallyBy(row.code, 0, delta);
        long top = topRow() / 4 * 4;
        if (row.top >= 0) {
            EXPECT_EQ(row.top, top);
        } else {
            EXPECT_GT(top, before + 8) << "a page";
        }
        EXPECT_EQ("0,92,184,276", firstRowXs());
        EXPECT_EQ(0, tiles->lines()->firstLaidOutPosition() % 4) << "rows are laid out whole";
        for (long item = tiles->lines()->firstLaidOutPosition(); item < tiles->lines()->lastLaidOutPosition(); ++item)
            EXPECT_GT(tiles->rowRect(item).second.y, tiles->rowRect(item).first.y) << item;
    }
}

TEST_F(ListTest, EveryTileOfARowCutByTheBottomEdgeIsDrawn) {
    Canvas canvas(420, 120);
    display = CanvasDisplay(&canvas);
    // Row 7 starts at y 98 of 100; the caption of its first tile wraps below the edge.
    auto* tiles = open<ATileRenderer>(40, ListOptions::kMultiple, ARect(0, 0, 400, 100), 28);
    tiles->selectedColour = 0x00FF0000;
    sv->doCommand(35, 0);
    display.fillRect(ARect(0, 0, 420, 120), 0xFFFFFF);
    tiles->draw(tiles->frame());
    for (long item = 28; item < 32; ++item) {
        SCOPED_TRACE(item);
        ARect r = tiles->rowRect(item);
        ASSERT_EQ(98, r.first.y);
        EXPECT_EQ(RGB(0, 0, 255), canvas.pixel(r.first.x + 2, 99));
    }
}

namespace {

// A model whose row 4 starts a section.
class SectionModel : public AIndexedDocModel {
public:
    using AIndexedDocModel::AIndexedDocModel;
    AExpandNode* nodeAt(long position) override { return position == 4 ? &node : nullptr; }
    AExpandNode node{nullptr, 1, false};
};

}  // namespace

TEST_F(ListTest, WithTheSkipCheckARowFollowedByASectionStartIsNeverSelected) {
    open<AListRenderer>(8, 0);
    auto* segments = new ASourceSegParser(getter);
    segments->addRef();
    auto* fragments = new ALabelTargetFragParser('/');
    fragments->addRef();
    auto* model = new SectionModel(segments, fragments, nullptr);
    model->addRef();
    segments->release();
    fragments->release();
    renderer->setModel(model);
    struct Row {
        int16_t skip;
        long row;
        const char* expected;
    } rows[] = {{0, 3, "3"}, {1, 5, "5"}, {1, 3, "5"}, {0, 3, "3"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        renderer->skipCheck = row.skip;
        renderer->selectRow(row.row, 0, SelectMode::kNotify, -1);
        EXPECT_EQ(row.expected, marked());
    }
    renderer->setModel(nullptr);
    model->release();
}

// A row longer than the list ends with an ellipsis at the list's edge once the
// list asks for it; shorter rows, and every row of a list that does not ask,
// keep their text as it is.
TEST_F(ListTest, ARowLongerThanTheListEndsWithAnEllipsisAtItsEdge) {
    AStyleSheet* sheet = new AStyleSheet();
    sheet->addRef();
    // Row 1 "Ligne 1 avec une longue legende": 31 bytes of 6 pixels, 186 wide in a list of 120.
    struct Row {
        long style;
        const char* ends;  // how rows 0 and 1 end
    } const rows[] = {{-1, "text text"}, {0, "text ellipsis"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.style);
        AListRenderer* list = open<AListRenderer>(3, 0, ARect(0, 0, 120, 100), 1);
        list->setStyleSheet(sheet);
        list->setEdgeEllipsis(r.style);
        list->relayoutFrom(0, true);
        std::string ends;
        ALineArray& lines = list->lines()->lines;
        ASSERT_GE(lines.count(), 2);
        for (long i = 0; i < 2; ++i) {
            bool dots = false;
            long right = 0;
            for (ADataRun* run = lines.at(i)->runs; run; run = run->getNext()) {
                dots = dots || dynamic_cast<AEllipsisDataRun*>(run);
                right = std::max(right, run->x + run->width);
            }
            ends += std::string(ends.empty() ? "" : " ") + (dots ? "ellipsis" : "text");
            if (i == 1 && r.style != -1) {
                EXPECT_LE(right, 120) << "the ellipsis ends inside the list";
            }
        }
        EXPECT_EQ(r.ends, ends);
    }
    sheet->release();
}

// In a list that ends its rows with an ellipsis, a row laid out as a table
// cuts its label at the label's own column: the count beside it stays clear.
TEST_F(ListTest, ALongLabelInATableRowStopsBeforeTheCountColumn) {
    AStyleSheet* sheet = new AStyleSheet();
    sheet->addRef();
    for (long style : {-1L, 0L}) {
        SCOPED_TRACE(style);
        tableRows = true;
        AListRenderer* list = open<AListRenderer>(3, 0, ARect(0, 0, 120, 100), 1);
        list->setStyleSheet(sheet);
        list->setEdgeEllipsis(style);
        list->relayoutFrom(0, true);
        ALineArray& lines = list->lines()->lines;
        ASSERT_GE(lines.count(), 2);
        ATableDataRun* table = nullptr;
        for (ADataRun* run = lines.at(1)->runs; run && !table; run = run->getNext())
            table = dynamic_cast<ATableDataRun*>(run);
        ASSERT_TRUE(table);
        ATableCellBox* label = table->boxAt(0, 0);
        ATableCellBox* count = table->boxAt(0, 1);
        ASSERT_TRUE(label && label->renderer && count);
        EXPECT_EQ(40, count->width);
        bool dots = false;
        long right = 0;
        ALineArray& cellLines = label->renderer->lines;
        for (long i = 0; i < cellLines.count(); ++i) {
            for (ADataRun* run = cellLines.at(i)->runs; run; run = run->getNext()) {
                dots = dots || dynamic_cast<AEllipsisDataRun*>(run);
                right = std::max(right, run->x + run->width);
            }
        }
        if (style == -1) {
            EXPECT_FALSE(dots) << "a list that does not ask keeps the label whole";
        } else {
            EXPECT_TRUE(dots);
            EXPECT_LE(right, label->width) << "the label ends inside its column";
        }
    }
    sheet->release();
}
