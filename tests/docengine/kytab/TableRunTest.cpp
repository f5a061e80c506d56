// The table run: column and row sizing, drawing on a memory DC, hit testing,
// and the picture of a French article with a table.
#include <gtest/gtest.h>

#include <string>

#include "base/procedural/AOutStream.h"
#include "docengine/kytab/AKytabCell.h"
#include "docengine/kytab/ATableDataRun.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/ADisplayLock.h"
#include "tests/docengine/kytab/KytabTestSupport.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// Every byte 6 pixels wide, lines 14 high; draws nothing.
class GridDisplay : public ARunDisplay {
public:
    ARunExtent extent(AStyleFont*, const char*, long length) override { return ARunExtent{6 * length, 14, 10}; }
    long indexAtX(AStyleFont*, const char*, long length, long x, int16_t& flag) override {
        flag = 1;
        return std::min(std::max(x / 6, 0L), length);
    }
    long drawText(AStyleFont*, long, long, const char*, long length, uint32_t) override { return 6 * length; }
    void fillRect(const ARect&, uint32_t) override {}
    void eraseRect(const ARect&) override {}
    void drawBitmap(ABitmapRef*, const ARect&, long, int) override {}
    ARunExtent bitmapSize(ABitmapRef*) override { return ARunExtent{16, 16, 0}; }
};

// A renderer laid out over a parsed table; run() is the table's run.
struct Laid {
    Laid(const std::string& markup, ARunDisplay* display, long width, long height = 200)
        : parsed(markup), sheet(new AStyleSheet()) {
        sheet->addRef();
        sheet->setFont(0, AFontSpec("Arial,11,0"));
        sheet->setBitmap(7, ABitmapSpec::byNumber(7, 1));
        renderer = new ALineRenderer(parsed.model, sheet, display, ARect(0, 0, width, height));
        renderer->addRef();
        renderer->setMargin(0);
    }
    ~Laid() {
        renderer->release();
        sheet->release();
    }
    ATableDataRun* run() const {
        for (long i = 0; i < renderer->lines.count(); ++i)
            for (ADataRun* r = renderer->lines.at(i)->runs; r; r = r->getNext())
                if (ATableDataRun* t = dynamic_cast<ATableDataRun*>(r))
                    return t;
        return nullptr;
    }
    // "cols=100,100 rows=16 size=204x17 ascent=12"
    std::string describe() const {
        ATableDataRun* t = run();
        if (!t)
            return "no table run";
        std::string out = "cols=";
        for (size_t c = 0; c < t->columnWidths.size(); ++c)
            out += (c ? "," : "") + std::to_string(t->columnWidths[c]);
        out += " rows=";
        for (size_t r = 0; r < t->rowEdges.size(); ++r)
            out += (r ? "," : "") + std::to_string(t->rowEdges[r]);
        return out + " size=" + std::to_string(t->width) + "x" + std::to_string(t->height) +
               " ascent=" + std::to_string(t->ascent);
    }
    ParsedTable parsed;
    AStyleSheet* sheet;
    ALineRenderer* renderer;
};

TEST(TableRunTest, ColumnsRowsAndSizeFollowTheWidthMode) {
    struct Row {
        const char* markup;
        long lineWidth;
        const char* laidOut;
    } rows[] = {
        {"/&TABLE:50%:B0:[[0,0,0,0,0|x*0,0,0,0,0|y]]&/", 400, "cols=100,100 rows=16 size=204x17 ascent=12"},
        {"/&TABLE:100:N0:[[0,0,0,0,0|a*0,0,0,0,0|b*0,0,0,0,0|c]]&/", 400,
         "cols=33,33,33 rows=14 size=100x15 ascent=11"},
        {"/&TABLE:0:N0:[[0,0,0,0,0|abc*0,0,0,0,0|de]]&/", 400, "cols=18,12 rows=14 size=31x15 ascent=11"},
        {"/&TABLE:0:N2:[[-40,0,0,0,0|a]]&/", 400, "cols=40 rows=18 size=41x19 ascent=14"},
        {"/&TABLE:200:N0:[[-150,0,0,0,0|a*-100,0,0,0,0|b*0,0,0,0,0|c]]&/", 400,
         "cols=150,100,6 rows=14 size=257x15 ascent=11"},
        {"/&TABLE:100:N0:[[0:50,0,0,0,0|a*0,0,0,0,0|b]]&/", 400, "cols=50,50 rows=25 size=101x26 ascent=19"},
        {"/&TABLE:100:N0:[[0,2,0,0,0|a\\nb\\nc\\nd*0,0,0,0,0|x]*[0,0,0,0,0|y]]&/", 400,
         "cols=50,50 rows=28,56 size=101x57 ascent=42"},
        {"/&TABLE:0:N0:[[0,2,0,0,0|a\\nb\\nc\\nd*0,0,0,0,0|x]*[0,0,0,0,0|y]]&/", 400,
         "cols=12,6 rows=56,70 size=19x71 ascent=53"},
        {"/&TABLE:0:B0:[]&/", 400, "cols= rows= size=2x2 ascent=1"},
        {"/&TABLE:0:N0:[[-200:50,0,0,0,0|a]]&/", 400, "cols=200 rows=100 size=201x101 ascent=75"},
        {"/&TABLE:0:N0:[[0,0,0,0,/!7|text]]&/", 400, "cols=16 rows=16 size=17x17 ascent=12"},
        {"/&TABLE:0:N0:[[-30,0,0,0,0|ab cd ef]]&/", 400, "cols=30 rows=28 size=31x29 ascent=21"},
        {"/&TABLE:60:N0:[[T0,0,0,0,0|ab cd ef*-30,0,0,0,0|x]]&/", 400, "cols=30,30 rows=14 size=61x15 ascent=11"},
        {"/&TABLE:60:N0:[[0,0,0,0,0|ab cd ef*-30,0,0,0,0|x]]&/", 400, "cols=30,30 rows=28 size=61x29 ascent=21"},
    };
    GridDisplay display;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        Laid laid(row.markup, &display, row.lineWidth);
        ASSERT_TRUE(laid.parsed.table) << laid.parsed.error;
        laid.renderer->layoutFrom(0);
        EXPECT_EQ(row.laidOut, laid.describe());
    }
}

TEST(TableRunTest, PositionsAndHitsGoToCells) {
    GridDisplay display;
    const std::string markup = "/&TABLE:100:N0:[[0,2,0,0,0|ab*0,0,0,0,0|cd]*[0,0,0,0,0|ef]]&/";
    Laid laid(markup, &display, 400);
    laid.renderer->layoutFrom(0);
    ATableDataRun* run = laid.run();
    ASSERT_TRUE(run);
    int16_t atStart = -1;
    EXPECT_EQ(run->end, run->positionAtX(run->width, &atStart));
    EXPECT_EQ(0, atStart);
    EXPECT_EQ(run->start, run->positionAtX(run->width - 1, &atStart));
    EXPECT_EQ(1, atStart);
    EXPECT_EQ(run->start, run->positionAtX(run->width, nullptr));

    laid.renderer->placeCells(laid.renderer->lines.at(0), APoint(10, 50));
    ARect table = run->tableRect;
    EXPECT_EQ(10 + run->x, table.first.x);
    EXPECT_EQ(50 - run->ascent, table.first.y);
    laid.renderer->placeCells(laid.renderer->lines.at(0), APoint(10, 50));
    EXPECT_EQ(table.first.x, run->tableRect.first.x) << "a second move to the same origin changes nothing";

    struct Row {
        APoint point;
        long row, column;  // of the box whose renderer answers
    } rows[] = {
        {APoint(table.first.x + 2, table.first.y + 2), 0, 0},
        {APoint(table.second.x + 30, table.first.y + 2), 0, 1},  // right of the last edge
        {APoint(table.first.x + 2, table.second.y - 2), 0, 0},   // covered: the anchor answers
        {APoint(table.second.x - 2, table.second.y + 40), 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.point.x) + "," + std::to_string(row.point.y));
        AHitRecord hit = run->hitTest(row.point);
        EXPECT_EQ(run->boxAt(row.row, row.column)->renderer, hit.renderer);
        EXPECT_FALSE(hit.empty());
    }
    // Through the line renderer: a click on the table is answered by its cell.
    ALine* line = laid.renderer->lines.at(0);
    APoint inCell(static_cast<int32_t>(line->x + run->x + run->width - 2), static_cast<int32_t>(line->top + 2));
    EXPECT_EQ(run->boxAt(0, 1)->renderer, laid.renderer->hitRecordAt(inCell).renderer);
    laid.renderer->placeCells(line, APoint(10, 50));

    ATableCellBox* cd = run->boxAt(0, 1);
    long d = static_cast<long>(markup.find("cd")) + 1;
    ARect rect = run->rectOfPosition(d);
    EXPECT_EQ(cd->x + 6, rect.first.x) << "the second character of its cell";
    EXPECT_EQ(cd->y, rect.first.y);
    EXPECT_EQ(0, run->rectOfPosition(2).width()) << "a position of the header is in no cell";

    struct RegionRow {
        const char* what;
        ARect clip;
        bool clipping;
        long start, end;
        bool empty;
    } regions[] = {
        {"the whole table", ARect(), false, 0, static_cast<long>(markup.size()), false},
        {"an empty range", ARect(), false, d, d, true},
        {"a clip that meets the cell", ARect(cd->x, cd->y, cd->x + 5, cd->y + 5), true, d - 1, d + 1, false},
        {"a clip that only touches its edge", ARect(cd->x - 5, cd->y, cd->x, cd->y + 5), true, d - 1, d + 1, true},
    };
    for (const RegionRow& row : regions) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.empty, run->regionOfRange(row.clip, row.start, row.end, row.clipping).isEmpty());
    }
}

TEST(TableRunTest, EnablingTablesLetsARendererLayThemOut) {
    GridDisplay display;
    AIndexedDocModel* model = MakeIndexedModel("/&TABLE:0:N0:[[-40,0,0,0,0|a]]&/\n");
    AStyleSheet* sheet = new AStyleSheet();
    sheet->addRef();
    ALineRenderer* renderer = new ALineRenderer(model, sheet, &display, ARect(0, 0, 300, 100));
    renderer->addRef();
    EnableTables(renderer, '*');
    renderer->layoutFrom(0);
    ASSERT_GT(renderer->lines.count(), 0);
    EXPECT_TRUE(dynamic_cast<ATableDataRun*>(renderer->lines.at(0)->runs));
    EXPECT_EQ(41, renderer->lines.at(0)->runs->width);
    renderer->release();
    sheet->release();
    model->release();
}

TEST(TableRunTest, VerticalAlignmentMovesTheContentDown) {
    struct Row {
        const char* markup;
        long shift;
    } rows[] = {
        {"/&TABLE:0:N0:[[-40:-30,0,0,0,0|a]]&/", 0}, {"/&TABLE:0:N0:[[-40:-30,0,0,1,0|a]]&/", 8},
        {"/&TABLE:0:N0:[[-40:-23,0,0,1,0|a]]&/", 4}, {"/&TABLE:0:N0:[[-40:-30,0,0,2,0|a]]&/", 16},
        {"/&TABLE:0:N0:[[-40:-30,0,0,7,0|a]]&/", 0},
    };
    GridDisplay display;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        Laid laid(row.markup, &display, 400);
        laid.renderer->layoutFrom(0);
        laid.renderer->placeCells(laid.renderer->lines.at(0), APoint(0, 40));
        ATableCellBox* box = laid.run()->boxAt(0, 0);
        EXPECT_EQ(row.shift, box->renderer->frame().first.y - box->y);
    }
}

TEST(TableRunTest, ACellLeavesAModelHeldElsewhereAndSaysSo) {
    CaptureStream log;
    SetErrorStream(&log);
    AIndexedDocModel* kept = nullptr;
    {
        ParsedTable parsed("/&TABLE:0:N0:[[0,0,0,0,0|a]]&/");
        ASSERT_TRUE(parsed.table);
        kept = parsed.table->cellAt(0, 0)->fModel;
        kept->addRef();
    }
    SetErrorStream(nullptr);
    EXPECT_EQ("Warning Delete Table Cell fModel->refCount = 2\nDelete Table Cell fModel->refCount = :1\n", log.text);
    EXPECT_EQ(1, kept->refCount());
    kept->release();
}

class TableDrawingTest : public GraphicsTest {};

TEST_F(TableDrawingTest, FillsAndBordersReachThePixels) {
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 300, 100));
    Canvas canvas(300, 100);
    AGdiRunDisplay display;
    Laid laid("/&TABLE:240:N0:[[-80,0,0,0,RGB0000FF:0|x*-80,0,0,0,RGBFFFFFF:0|x*-80,0,0,0,0:5|x]]&/", &display, 300,
              100);
    ASSERT_TRUE(laid.parsed.table) << laid.parsed.error;
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        laid.renderer->layoutFrom(0);
        laid.renderer->draw(ARect(0, 0, 300, 100));
    }
    ATableDataRun* run = laid.run();
    ASSERT_TRUE(run);
    ATableCellBox* red = run->boxAt(0, 0);
    ATableCellBox* white = run->boxAt(0, 1);
    ATableCellBox* framed = run->boxAt(0, 2);
    ASSERT_GT(red->height, 4);
    struct Row {
        const char* what;
        long x, y;
        COLORREF colour;
    } rows[] = {
        {"red fill", red->x + 40, red->y + red->height / 2, RGB(255, 0, 0)},
        {"direct white is no fill", white->x + 40, white->y + white->height / 2, RGB(255, 255, 255)},
        {"top border", framed->x + 40, framed->y, RGB(0, 0, 0)},
        {"bottom border", framed->x + 40, framed->y + framed->height, RGB(0, 0, 0)},
        {"no left border", framed->x, framed->y + framed->height / 2, RGB(255, 255, 255)},
        {"no right border", framed->x + framed->width, framed->y + framed->height / 2, RGB(255, 255, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.colour, canvas.pixel(static_cast<int>(row.x), static_cast<int>(row.y)));
    }
}

// A site printed at four times the screen's resolution.
class PrintSite : public SiteComponent {
public:
    PrintSite(AComponent* parent, int16_t id, HDC dc) : SiteComponent(parent, id, ARect(0, 0, 300, 100)) {
        info_.dc = dc;
        info_.resA = APoint(288, 288);
        info_.resB = APoint(72, 72);
    }
    const APrinterInfo* canPrint() override { return &info_; }

private:
    APrinterInfo info_;
};

TEST_F(TableDrawingTest, PrintedTablesScaleGapsMarginsAndPixelWidths) {
    auto* site = new PrintSite(app, 1, nullptr);
    AObject::completeNew(site);
    Canvas canvas(300, 100);
    GridDisplay display;
    struct Row {
        uint16_t flags;
        const char* laidOut;
    } rows[] = {
        {AGraphicDisplay::kOwnDevice, "cols=40 rows=20 size=43x21 ascent=15"},
        {AGraphicDisplay::kOwnDevice | AGraphicDisplay::kPrinter, "cols=160 rows=38 size=169x39 ascent=29"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flags);
        Laid laid("/&TABLE:0:B2:[[-40,0,0,0,0|a]]&/", &display, 300, 100);
        ADisplayLock lock(site, canvas.dc(), row.flags, canvas.dc(), Everywhere());
        laid.renderer->layoutFrom(0);
        EXPECT_EQ(row.laidOut, laid.describe());
    }
}

TEST_F(TableDrawingTest, DrawsAFrenchArticleWithATable) {
    const char* text =
        "Les grands fleuves de France\n"
        "/&TABLE:90%:B3:0:0[[T-120,0,0,0,RGBFFE0D0|Fleuve*T-90,0,0,0,RGBFFE0D0|Longueur*T0,0,0,1,RGBFFE0D0|"
        "Embouchure]*[0,0,0,0,0|La Loire*0,0,0,0,0|1 006 km*0,0,0,0,0|Oc\xE9\x61n Atlantique]*"
        "[0,0,0,0,0|La Seine*0,0,0,0,0|777 km*0,0,0,0,0|La Manche]*"
        "[0,0,0,0,0|Le Rh\xF4ne*0,0,0,0,0|812 km*0,0,0,0,0|Mer M\xE9\x64iterran\xE9\x65]*"
        "[0,0,2,0,RGBE0FFE0|La Garonne rejoint la Dordogne dans l'estuaire de la Gironde.]]&/\n"
        "Chacun de ces fleuves a fa\xE7onn\xE9 les paysages et l'histoire des r\xE9gions qu'il traverse.\n";
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 420, 260));
    Canvas canvas(420, 260);
    AGdiRunDisplay display;
    Laid laid(text, &display, 420, 260);  // the table is in the second line's segment
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        laid.renderer->layoutFrom(0);
        laid.renderer->draw(ARect(0, 0, 420, 260));
    }
    canvas.savePng("kytab-french");
    ATableDataRun* run = laid.run();
    ASSERT_TRUE(run);
    EXPECT_EQ(5u, run->rowEdges.size());
    EXPECT_GT(canvas.inkIn(run->tableRect), 500) << "cells, borders and text are drawn";
}

}  // namespace
