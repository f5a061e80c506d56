// The chronology's events in its view: event fields, segments, the wanted
// range and row placement, scrolling that keeps columns, the blink, the
// mouse on a real window, and pictures of the view around 1789, the second on
// the sample's chronology.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "app/data/AppBaseTables.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/ALineAccessor.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/AStringReader.h"
#include "framework/views/AScroller.h"
#include "panes/content/chrono/AChronoDataRuns.h"
#include "panes/content/chrono/AChronoEventRenderer.h"
#include "panes/content/chrono/AChronoFragment.h"
#include "panes/content/chrono/AChronoScale.h"
#include "panes/content/chrono/AChronoScaleLayer.h"
#include "panes/content/chrono/AChronoSegParser.h"
#include "panes/content/chrono/AChronoView.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

// Every byte 6 pixels wide, lines 14 high with ascent 10; pictures 16 x 16.
class FixedDisplay : public ARunDisplay {
public:
    ARunExtent extent(AStyleFont*, const char*, long length) override { return ARunExtent{6 * length, 14, 10}; }
    long indexAtX(AStyleFont*, const char*, long, long, int16_t& flag) override {
        flag = 0;
        return 0;
    }
    long drawText(AStyleFont*, long, long, const char*, long length, uint32_t) override { return 6 * length; }
    void fillRect(const ARect&, uint32_t) override {}
    void eraseRect(const ARect&) override {}
    void drawBitmap(ABitmapRef*, const ARect&, long, int) override {}
    ARunExtent bitmapSize(ABitmapRef*) override { return ARunExtent{16, 16, 16}; }
};

const char kScaleText[] = "-3000\t500\n0\t100\n1000\t20\n1500\t2\n1800\t1\n";

// Events around the Revolution, one line per year.
const char kEvents[] =
    "1610|0|1|0|0|Assassinat d'Henri IV|101\n"
    "1643|1|1|1|0|Louis XIV roi|102\n"
    "1715|2|1|2|0|Mort de Louis XIV|\n"
    "1751|3|1|0|0|A:Encyclopedie|104\n"
    "1774|0|1|3|0|Louis XVI roi|105\n"
    "1778|2|1|4|0|Mort de Voltaire|106\n"
    "1783|1|1|1|0|Traite de Paris|107\n"
    "1789|0|1|0|0|Prise de la Bastille|108\t1789|2|1|2|0|Serment du Jeu de paume|109\n"
    "1791|1|1|3|0|Fuite a Varennes|110\n"
    "1792|3|1|1|0|Valmy|111\n"
    "1793|2|1|0|0|Execution du roi|112\n"
    "1794|0|1|2|0|Thermidor|113\n"
    "1799|1|1|4|0|Brumaire|114\n"
    "1804|3|1|3|0|Sacre de Napoleon|115\n"
    "1815|2|1|1|0|Waterloo|116\n"
    "1830|0|1|0|0|Trois Glorieuses|117\n";

// A 24-bit BMP of the size whose pixels come from colour (x, y from the top);
// answers its path in the temporary folder.
std::string WriteBmp(const char* name, int w, int h, const std::function<COLORREF(int, int)>& colour) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = colour(x, h - 1 - y);
            unsigned char* p = &bits[static_cast<size_t>(y) * stride + x * 3];
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    BITMAPFILEHEADER head = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + static_cast<DWORD>(bits.size());
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&head), sizeof head);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(bits.data()), static_cast<std::streamsize>(bits.size()));
    return path;
}

// The pictures of the four categories (discs), the marker (a triangle) and a background building.
void GivePictures(AStyleSheet* sheet) {
    const COLORREF paper = RGB(235, 228, 205);
    const COLORREF tints[4] = {RGB(200, 40, 40), RGB(40, 90, 200), RGB(40, 150, 60), RGB(150, 60, 160)};
    for (int c = 0; c < 4; ++c) {
        std::string name = "chrono-cat" + std::to_string(c) + ".bmp";
        COLORREF tint = tints[c];
        sheet->setBitmap(c, ABitmapSpec::fromFile(WriteBmp(name.c_str(), 16, 16, [&](int x, int y) {
            int dx = x - 8, dy = y - 8;
            return dx * dx + dy * dy <= 49 ? tint : paper;
        }).c_str(), 0, 1));
    }
    sheet->setBitmap(8, ABitmapSpec::fromFile(WriteBmp("chrono-marker.bmp", 14, 12, [&](int x, int y) {
        return std::abs(x - 7) * 12 <= y * 7 ? RGB(220, 30, 30) : RGB(150, 120, 80);
    }).c_str(), 0, 1));
    sheet->setBitmap(12, ABitmapSpec::fromFile(WriteBmp("chrono-fort.bmp", 90, 50, [&](int x, int y) {
        bool tower = (x < 18 || x > 71) ? y > 4 : y > 18;
        bool crenel = y > 14 && y < 19 && (x / 6) % 2 == 0;
        return tower || crenel ? RGB(205, 195, 165) : paper;
    }).c_str(), 0, 1));
}

struct Model {
    AIndexedDocModel* model = nullptr;
    AChronoSegParser* segments = nullptr;
    Model(const char* text, AChronoScale* scale) {
        AStringReader* reader = new AStringReader(text, -1);
        reader->addRef();
        ALineAccessor* lines = new ALineAccessor(reader);
        reader->release();
        segments = new AChronoSegParser(lines, scale);
        segments->addRef();
        auto* fragments = new AChronoFragParser('/');
        fragments->addRef();
        model = new AIndexedDocModel(segments, fragments, nullptr);
        model->addRef();
        fragments->release();
    }
    ~Model() {
        model->release();
        segments->release();
    }
};

std::string Describe(AChronoFragment* f) {
    return std::to_string(f->category) + "," + std::to_string(f->value) + "," + std::to_string(f->row) + "," +
           std::to_string(f->large) + ",[" + f->label().c_str() + "],[" + f->link().c_str() + "]," +
           std::to_string(f->linkKind());
}

class ChronoViewTest : public ViewTest {
protected:
    // A chronology view of the size in a scroller; with a display, runs measure through it.
    bool open(bool shown, APoint size, ARunDisplay* display, const char* scaleText = kScaleText,
              const char* events = kEvents) {
        window = Open<TestWindow>(app, ARect(0, 0, size.x + 20, size.y + 20), "#background:255,255,255");
        if (shown && !window->openWindow("chrono"))
            return false;
        scroller = Shown(Open<AScroller>(window, int16_t(3), Frame(0, 0, size.x, size.y), uint16_t(0), uint16_t(0)));
        cv = Shown(Open<AChronoView>(scroller, int16_t(10), Frame(0, 0, size.x, size.y)));
        cv->childrenLoaded();
        scale.unit = 200;
        scale.parse(scaleText);
        cv->setScale(&scale);
        sheet = new AStyleSheet();
        sheet->addRef();
        renderer = new AChronoEventRenderer(cv->rendererLayer(), display);
        renderer->addRef();
        renderer->setStyleSheet(sheet);
        renderer->setScale(&scale);
        cv->scaleLayer()->setStyleSheet(sheet);
        cv->setEventRenderer(renderer);
        model.reset(new Model(events, &scale));
        renderer->setModel(model->model);
        scroller->update();
        if (shown) {
            window->showUpdate();
            ShowWindow(window->hwnd(), SW_SHOW);
            SetForegroundWindow(window->hwnd());
            Pump();
        }
        return true;
    }
    void TearDown() override {
        if (renderer)
            renderer->release();
        if (sheet)
            sheet->release();
        ViewTest::TearDown();
        model.reset();
    }
    long pos(long year) { return scale.yearToPos(year + scale.offset); }
    // The colours and pictures of the two pictures.
    void dress() {
        sheet->setColor(1, RGB(40, 40, 40));
        sheet->setColor(2, RGB(235, 228, 205));
        sheet->setColor(3, RGB(150, 120, 80));
        sheet->setColor(4, RGB(150, 0, 0));
        sheet->setColor(5, RGB(255, 240, 150));
        GivePictures(sheet);
    }
    // The marker shown, the event at the position selected, and the window painted.
    void showAndPaint(long position) {
        cv->scaleLayer()->showMarker();
        cv->showEvent(position, 0);
        app->flushUpdates();
        cv->invalidate();
        Pump();
        UpdateWindow(window->hwnd());
        Pump();
    }
    void capture(Canvas& canvas, const char* name) {
        HDC dc = GetDC(window->hwnd());
        BitBlt(canvas.dc(), 0, 0, 640, 300, dc, 0, 0, SRCCOPY);
        ReleaseDC(window->hwnd(), dc);
        canvas.savePng(name);
    }

    AChronoScale scale;
    AChronoView* cv = nullptr;
    AStyleSheet* sheet = nullptr;
    AChronoEventRenderer* renderer = nullptr;
    std::unique_ptr<Model> model;
    FixedDisplay fixed;
};

}  // namespace

TEST_F(ChronoViewTest, EventFieldsLinksAndSegments) {
    AChronoScale s;
    s.unit = 200;
    s.parse(kScaleText);
    struct Row {
        const char* line;
        const char* events;
    } rows[] = {
        {"1815|3|7|2|0|Waterloo|", "3,7,2,0,[Waterloo],[],0;"},
        {"1815|3|7|2|1|A:Waterloo|42", "3,7,2,1,[Waterloo],[42],3;"},
        {"1815|3|7|2|0|Waterloo", "3,7,2,0,[],[],0;"},
        // An event without a link never takes the link of the one before it.
        {"1815|1|0|0|0|A|9\t1815|2|0|-1|0|B|", "1,0,0,0,[A],[9],3;2,0,-1,0,[B],[],0;"},
        {"1815|1|0|70000|0|C|", "1,0,4464,0,[C],[],0;"},
        {"1815", "0,0,0,0,[],[],0;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Model m(row.line, &s);
        ASegment* segment = m.model->segmentAtPosition(m.segments->lineStart(0));
        ASSERT_NE(nullptr, segment);
        segment->lock();
        std::string out;
        for (AFragment* f = segment->load(); f; f = segment->nextFragment(f)) {
            auto* event = dynamic_cast<AChronoFragment*>(f);
            out += Describe(event) + ";";
            ADataRun* run = event->nextDataRun(nullptr, false);
            EXPECT_EQ(event->hasLabel(), run != nullptr) << "an empty label makes no runs";
            delete run;
        }
        EXPECT_EQ(row.events, out);
        EXPECT_EQ(s.yearToPos(1815 + 10 + s.offset), segment->getEnd()) << "the last line ends ten years on";
        EXPECT_EQ(nullptr, m.segments->segmentAt(m.model, m.segments->getLength() + 1));
        EXPECT_EQ(nullptr, m.segments->segmentAt(m.model, m.segments->lineStart(0) - 1)) << "before the first line";
        segment->unlock();
    }
}

TEST_F(ChronoViewTest, WantedRangeAndRowPlacement) {
    if (!open(true, APoint(600, 300), &fixed))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* line;
        long D;  // the label's baseline
    } rows[] = {
        {"1789|0|0|0|0|a|", 250}, {"1789|1|0|2|0|b|", 161}, {"1789|3|0|4|0|c|", 250 - MulDiv(356, 250, 370)},
        {"1789|1|0|5|0|d|", 250 - MulDiv(92, 250, 370)}, {"1789|1|0|-1|0|e|", 250 - MulDiv(72, 250, 370)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Model m(row.line, &scale);
        renderer->setModel(m.model);
        scroller->scrollTo(pos(1789) - 300, 0);
        renderer->layout();
        ASSERT_EQ(1, renderer->columns().count());
        ADataRun* label = renderer->columns().at(0)->runs()->next;
        ASSERT_NE(nullptr, label);
        EXPECT_EQ(row.D, -label->ascent + 10);
        renderer->setModel(nullptr);
    }
    renderer->setModel(model->model);
    // Visible 1000..1600 at unit 200: the wanted range is [800, 1800].
    scroller->scrollTo(1000, 0);
    renderer->layout();
    const AChronoColumnArray& c = renderer->columns();
    for (long i = 0; i < c.count(); ++i) {
        EXPECT_TRUE(c.at(i)->overlaps(AChronoRange(800, 1800)));
        if (i) {
            EXPECT_LT(c.at(i - 1)->position().first, c.at(i)->position().first);
        }
    }
    // Years before the first line: no line to lay out, and no failure.
    scroller->scrollTo(0, 0);
    renderer->layout();
    EXPECT_EQ(0, renderer->columns().count());
}

TEST_F(ChronoViewTest, ScrollingKeepsColumnsAndAResizeRebuildsThem) {
    if (!open(true, APoint(600, 300), &fixed))
        GTEST_SKIP() << "no display";
    scroller->scrollTo(pos(1774) - 100, 0);
    renderer->layout();
    long before = renderer->columns().count();
    ASSERT_GE(before, 3);
    AChronoColumn* kept = renderer->columns().at(before - 1);
    scroller->scrollBy(-250, 0);
    renderer->layout();
    const AChronoColumnArray& c = renderer->columns();
    long last = -1;
    bool found = false;
    for (long i = 0; i < c.count(); ++i) {
        EXPECT_GT(c.at(i)->position().first, last) << "position order";
        last = c.at(i)->position().first;
        found = found || c.at(i) == kept;
    }
    EXPECT_TRUE(found) << "an overlapping column is kept";
    EXPECT_EQ(c.count() - before + (renderer->linesLaidOut() - (c.count() - before)), renderer->linesLaidOut());
    EXPECT_LT(renderer->linesLaidOut(), c.count()) << "only the uncovered end is laid out";
    // Scrolling back left puts the new lines in front.
    scroller->scrollBy(600, 0);
    renderer->layout();
    last = -1;
    for (long i = 0; i < c.count(); ++i) {
        EXPECT_GT(c.at(i)->position().first, last);
        last = c.at(i)->position().first;
    }
    long count = c.count();
    cv->setFrame(ARect(0, 0, 600, 299), false);
    cv->rendererLayer()->setFrame(ARect(0, 0, 600, 299), false);
    renderer->layout();
    EXPECT_EQ(count, renderer->linesLaidOut()) << "a one-pixel height change rebuilds every column";
}

TEST_F(ChronoViewTest, ShowEventBlinksSevenTicksAndEndsUnmarked) {
    if (!open(true, APoint(600, 300), &fixed))
        GTEST_SKIP() << "no display";
    cv->showEvent(pos(1789), 1);
    ADataRun* run = renderer->selectedRun();
    ASSERT_NE(nullptr, run);
    auto* event = static_cast<AChronoFragment*>(run->getFragment());
    EXPECT_EQ("Serment du Jeu de paume", std::string(event->label().c_str()));
    ASSERT_NE(0, cv->blinkTimer());
    std::string marks;
    long result = 0;
    for (int tick = 0; tick < 7; ++tick) {
        result = cv->handleTimer(cv->blinkTimer(), 0);
        marks += (event->flags() & AChronoFragment::kSelected) ? "1" : "0";
    }
    EXPECT_EQ("0101010", marks);
    EXPECT_EQ(1, result);
    EXPECT_EQ(0, cv->blinkTimer());
    cv->showEvent(pos(1789) + 1, 0);
    EXPECT_EQ(nullptr, renderer->selectedRun()) << "no line starts there";
}

TEST_F(ChronoViewTest, ScaleLayerSizeBackgroundAndLabels) {
    if (!open(true, APoint(600, 300), &fixed))
        GTEST_SKIP() << "no display";
    AChronoScaleLayer* layer = cv->scaleLayer();
    EXPECT_EQ(APoint(int32_t(scale.length()), 300), layer->getContentSize());
    layer->setBackground("1500,12,1,2\r\n\r\n1700,3,0,0\r\n");
    ASSERT_EQ(2, layer->entryCount());
    EXPECT_EQ(pos(1500), layer->entryPosition(0));
    layer->setBackground("1500,12,1,2\n1700,3,0,0\n");
    EXPECT_EQ(2, layer->entryCount()) << "CR LF reads as LF";
    GivePictures(sheet);
    // Bitmap 12 (90 x 50) starts at 1500, in the middle of a band 270 high.
    const ARect visible(int32_t(pos(1500) - 300), 0, int32_t(pos(1500) + 300), 270);
    layer->buildBackground(visible);
    ASSERT_EQ(1, layer->columns().count()) << "bitmap 3 has no picture";
    AChronoColumn* column = layer->columns().at(0);
    EXPECT_EQ(AChronoRange(pos(1500), pos(1700)), column->position());
    auto* run = static_cast<AChronoBackgroundDataRun*>(column->runs());
    EXPECT_EQ(ARect(int32_t(pos(1500)), 10 + 2 * (270 / 4) - 25, int32_t(pos(1500) + 90), 10 + 2 * (270 / 4) + 25),
              run->rect());
    layer->buildBackground(visible + APoint(-100, 0));
    EXPECT_EQ(1, layer->columns().count()) << "a stretch already built makes no new runs";
    layer->setBackground("1500,12,2,0\n1700,12,0,1\n");
    layer->buildBackground(ARect(0, 0, int32_t(scale.length()), 100));
    ASSERT_EQ(2, layer->columns().count());
    run = static_cast<AChronoBackgroundDataRun*>(layer->columns().at(0)->runs());
    EXPECT_EQ(100, run->rect().bottom()) << "placement 2 is pulled up to the band's bottom";
    EXPECT_EQ(pos(1500), run->rect().right()) << "alignment 0 ends at the year";
    EXPECT_EQ(scale.length(), layer->columns().at(1)->position().second) << "the last runs to the axis end";
}

TEST_F(ChronoViewTest, PictureAround1789WithMouseOnEvents) {
    if (!open(true, APoint(640, 300), nullptr))
        GTEST_SKIP() << "no display";
    dress();
    cv->scaleLayer()->setBackground("1700,12,1,2\n1789,12,0,1\n1800,12,2,0\n");
    cv->scaleLayer()->markerPosition = pos(1789);
    showAndPaint(pos(1789));
    ADataRun* run = renderer->selectedRun();
    ASSERT_NE(nullptr, run);
    ARect r = ChronoRunRect(run) + APoint(-scroller->position().x, -scroller->position().y);
    Canvas canvas(640, 300);
    capture(canvas, "chrono-1789");
    EXPECT_EQ(RGB(150, 120, 80), canvas.pixel(320, 290)) << "the axis band";
    ARect picture = ChronoRunRect(renderer->columns().runOfEvent(pos(1789), 0)) +
                    APoint(-scroller->position().x, -scroller->position().y);
    EXPECT_EQ(RGB(200, 40, 40), canvas.pixel(picture.left() + 8, picture.top() + 8)) << "category 0's picture";
    ARect marker = cv->scaleLayer()->markerRect() + APoint(-scroller->position().x, -scroller->position().y);
    EXPECT_EQ(RGB(220, 30, 30), canvas.pixel(marker.left() + 7, marker.bottom() - 2)) << "the marker on the axis";
    EXPECT_EQ(RGB(255, 240, 150), canvas.pixel(r.left() + 1, r.top() + 2)) << "the selected label's box";
    // Hover then click on the event: its cursor, then its hit record.
    APoint centre((r.left() + r.right()) / 2, (r.top() + r.bottom()) / 2);
    POINT s = {centre.x, centre.y};
    ClientToScreen(window->hwnd(), &s);
    SetCursorPos(s.x, s.y);
    Pump();
    EXPECT_EQ(run, renderer->hoverRun());
    EXPECT_EQ(128, renderer->shownCursor());
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Pump();
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Pump();
    // Labels stand at least 71 pixels apart: every step at unit 200.
    std::vector<long> labels = cv->scaleLayer()->labelsDrawn;
    ASSERT_GT(labels.size(), 2u);
    for (size_t i = 1; i < labels.size(); ++i)
        EXPECT_EQ(200, labels[i] - labels[i - 1]);
    ASSERT_NE(nullptr, renderer->hitRecord());
    EXPECT_EQ(3, renderer->getHitKind());
    EXPECT_EQ("108", std::string(renderer->getHitName().c_str()));
}

TEST_F(ChronoViewTest, CursorsFollowTheHitAndTheMode) {
    if (!open(true, APoint(600, 300), &fixed))
        GTEST_SKIP() << "no display";
    cv->showEvent(pos(1789), 0);
    ADataRun* label = renderer->selectedRun();
    ASSERT_NE(nullptr, label);
    ARect r = ChronoRunRect(label);
    APoint onEvent((r.left() + r.right()) / 2, (r.top() + r.bottom()) / 2);
    APoint onBackground(onEvent.x, 5);
    struct Row {
        uint16_t mode;
        bool event;
        long cursor;
    } rows[] = {
        {0, true, 128}, {0, false, renderer->cursorFor(0)}, {ChronoBits::kCrossMode, false, 32515},
        {ChronoBits::kDragMode, false, 120}, {ChronoBits::kDragMode, true, 128},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.mode) + (row.event ? " event" : " background"));
        renderer->interaction = static_cast<uint16_t>((renderer->interaction & ~0x6) | row.mode);
        AMouseEvent move(row.event ? onEvent : onBackground, 0);
        renderer->mouseMoved(move);
        EXPECT_EQ(row.cursor, renderer->shownCursor());
        EXPECT_EQ(row.event ? label : nullptr, renderer->hoverRun());
        auto* event = static_cast<AChronoFragment*>(label->getFragment());
        EXPECT_EQ(row.event, (event->flags() & AChronoFragment::kHot) != 0) << "hovering lights the label";
    }
}

TEST_F(ChronoViewTest, LeavingUnlightsTheLabelAndHidingForgetsHoverAndSelection) {
    if (!open(true, APoint(600, 300), &fixed))
        GTEST_SKIP() << "no display";
    cv->showEvent(pos(1789), 0);
    ADataRun* label = renderer->selectedRun();
    ASSERT_NE(nullptr, label);
    auto* event = static_cast<AChronoFragment*>(label->getFragment());
    ARect r = ChronoRunRect(label);
    AMouseEvent move(APoint((r.left() + r.right()) / 2, (r.top() + r.bottom()) / 2), 0);
    renderer->mouseMoved(move);
    ASSERT_TRUE(event->flags() & AChronoFragment::kHot);
    // The pointer leaves the view's event layer.
    cv->rendererLayer()->mouseLeft();
    EXPECT_EQ(nullptr, renderer->hoverRun());
    EXPECT_FALSE(event->flags() & AChronoFragment::kHot) << "the label is unlit";
    EXPECT_EQ(label, renderer->selectedRun()) << "leaving keeps the selection";

    renderer->mouseMoved(move);
    ASSERT_EQ(label, renderer->hoverRun());
    cv->hide(true);
    EXPECT_EQ(nullptr, renderer->hoverRun());
    EXPECT_EQ(nullptr, renderer->selectedRun());
    EXPECT_FALSE(event->flags() & (AChronoFragment::kHot | AChronoFragment::kSelected));
}

// The sample's chronology (build/sample, made by tools/sample/build.sh), read
// through the data manager, around 1789: its scale, events, background band
// and band pictures from the base, one event selected.
TEST_F(ChronoViewTest, SampleChronologyAround1789) {
    std::string sample = SV_BINARY_DIR "\\sample";
    for (char& c : sample)
        c = c == '/' ? '\\' : c;
    sample = "Z:" + sample;
    if (GetFileAttributesA((sample + "\\sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the sample is not built";
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    // The descriptor's data path is relative to the reader's folder.
    ASSERT_TRUE(SetCurrentDirectoryA(sample.c_str()));
    ADataLocation location;
    ASSERT_EQ(0, location.open((sample + "\\sv.sgm").c_str(), sample.c_str(), nullptr))
        << location.getLastError().c_str();
    gBaseDescriptors = SingleDiscBaseTable();
    static std::string scaleText, events;
    std::string band;
    {
        ADataManager dm(&location);
        ASearchBase* base = dm.getBase(9);
        ASSERT_NE(nullptr, base);
        scaleText = base->getText(5, 0, 1).c_str();
        band = base->getText(6, 0, 1).c_str();
        events.clear();
        long lines = base->getRecordCount(2);
        for (long n = 0; n < lines; ++n)
            events += std::string(base->getText(2, n, 1).c_str()) + "\n";
        EXPECT_GT(lines, 100) << "a few hundred events on their year lines";
        ASSERT_TRUE(open(true, APoint(640, 300), nullptr, scaleText.c_str(), events.c_str()));
        dress();
        AChronoScaleLayer* layer = cv->scaleLayer();
        layer->setBackground(band.c_str());
        layer->placeBackground();
        auto* pictures = new StandardBitmapSupplier(base, 3);
        layer->setBitmapSupplier(pictures);
        layer->markerPosition = pos(1789);
        showAndPaint(pos(1789));
        Canvas canvas(640, 300);
        capture(canvas, "chrono-sample-1789");
        // The band's pictures are read while drawing: the base must still be open.
        layer->setBitmapSupplier(nullptr);
        ADataRun* run = renderer->selectedRun();
        ASSERT_NE(nullptr, run);
        auto* fragment = static_cast<AChronoFragment*>(run->getFragment());
        EXPECT_STRNE("", fragment->label().c_str());
        EXPECT_GE(layer->columns().count(), 1) << "band pictures in view";
        EXPECT_GE(layer->labelsDrawn.size(), 3u);
        ARect r = ChronoRunRect(run) + APoint(-scroller->position().x, -scroller->position().y);
        EXPECT_EQ(RGB(255, 240, 150), canvas.pixel(r.left() + 1, r.top() + 2)) << "the selected label's box";
        EXPECT_EQ(RGB(150, 120, 80), canvas.pixel(320, 290)) << "the axis band";
    }
    gBaseDescriptors = nullptr;
    SetCurrentDirectoryA(previous);
}
