// The line layer: runs, line array, building, relayout, drawing, hits and scrolling.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/ADisplayLock.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// Every byte is 6 pixels wide; ascent 10, descent 4.
class FixedDisplay : public ARunDisplay {
public:
    ARunExtent extent(AStyleFont*, const char*, long length) override { return ARunExtent{6 * length, 14, 10}; }
    long indexAtX(AStyleFont*, const char*, long length, long x, int16_t& flag) override {
        long i = x / 6, within = x - 6 * i;
        flag = 2 * within <= 6 && (within > 0 || !asFont) ? 1 : 0;
        long b = flag || within == 0 ? i : i + 1;
        return b < 0 ? 0 : b > length ? length : b;
    }
    long drawText(AStyleFont*, long x, long y, const char* text, long length, uint32_t colour) override {
        texts.push_back(std::string(text, static_cast<size_t>(length)) + "@" + std::to_string(x) + "," +
                        std::to_string(y) + (colour == 0x00FF00 ? "*" : ""));
        return 6 * length;
    }
    void fillRect(const ARect&, uint32_t) override {}
    void eraseRect(const ARect& r) override { erased.push_back(r); }
    void drawBitmap(ABitmapRef* bitmap, const ARect&, long subImage, int) override {
        drawnBitmap = bitmap;
        drawnSubImage = subImage;
    }
    ARunExtent bitmapSize(ABitmapRef*) override { return ARunExtent{bitmapW, bitmapH, 0}; }

    // As a font does: x exactly on a boundary gives that boundary with flag 0.
    bool asFont = false;
    std::vector<std::string> texts;
    std::vector<ARect> erased;
    long bitmapW = 16, bitmapH = 16;
    ABitmapRef* drawnBitmap = nullptr;
    long drawnSubImage = -1;
};

// A renderer over a markup model (segments are the text's lines) and a fixed display.
struct Fixture {
    explicit Fixture(const std::string& text, ARect frame = ARect(0, 0, 130, 100))
        : model(MakeIndexedModel(text)), sheet(new AStyleSheet()) {
        sheet->addRef();
        renderer = new ALineRenderer(model, sheet, &display, frame);
        renderer->addRef();
        renderer->updateLayoutWidth();
    }
    ~Fixture() {
        renderer->release();
        sheet->release();
        model->release();
    }
    std::string lineTexts() {
        std::string out;
        for (long i = 0; i < renderer->lines.count(); ++i) {
            ALine* line = renderer->lines.at(i);
            std::string piece = model->exportText(line->start, line->end).c_str();
            while (!piece.empty() && (piece.back() == '\n' || piece.back() == '\r'))
                piece.pop_back();
            out += (out.empty() ? "" : "|") + piece;
        }
        return out;
    }
    FixedDisplay display;
    AIndexedDocModel* model;
    AStyleSheet* sheet;
    ALineRenderer* renderer;
};

// A line of one fragment reference, for array and scrolling tests.
ALine* MakeLine(Fixture& f, long start, long end, long top, long height) {
    ASegment* segment = f.model->segmentAtPosition(0);
    segment->lock();
    AFragmentRef* ref = segment->load()->makeReference();
    segment->unlock();
    ALine* line = new ALine(ref, nullptr, start, -1);
    line->setEnds(end, end);
    line->setGeometry(top, height, 0, 0, 0);
    return line;
}

std::string Numbered(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "ligne " + std::to_string(i) + "\n";
    return text;
}

TEST(DataRunTest, PositionsBreaksAndCuts) {
    Fixture f("ab cd\n");
    ASegment* segment = f.model->segmentAtPosition(0);
    segment->lock();
    AFragment* text = segment->load();
    while (text && !dynamic_cast<ATextFragment*>(text))
        text = text->next();
    ASSERT_NE(nullptr, text);
    ARunLayoutContext context(f.renderer, nullptr);
    {
        ATextDataRun* run = new ATextDataRun(text, 0, 5);
        run->measure(context);
        EXPECT_EQ(30, run->width);
        int16_t atStart = -1;
        ADataRun& base = *run;
        EXPECT_EQ(0, base.ADataRun::positionAtX(15, &atStart)) << "exactly half the width gives start";
        EXPECT_EQ(1, atStart);
        EXPECT_EQ(5, base.ADataRun::positionAtX(16, &atStart)) << "one pixel more gives end";
        EXPECT_EQ(0, base.ADataRun::xOfPosition(4));
        EXPECT_EQ(30, base.ADataRun::xOfPosition(5));
        ASSERT_EQ(1, run->breakAt(25)) << "the limit lies inside the second word";
        ASSERT_NE(nullptr, run->getNext());
        EXPECT_EQ(3, run->end) << "cut after the blank";
        EXPECT_EQ(12, run->width) << "the first word alone";
        EXPECT_EQ(3, run->getNext()->start);
        delete run;
    }
    struct Case {
        long limit;
        int cut;
        long end;
    } cases[] = {{6, 1, 1}, {1, 0, 4}, {0, 0, 4}, {24, 0, 4}, {13, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        ATextDataRun* run = new ATextDataRun(text, 0, 4);
        run->measure(context);
        EXPECT_EQ(c.cut, run->forceBreakAt(c.limit)) << "never at 0 nor at the length";
        EXPECT_EQ(c.end, run->end);
        delete run;
    }
    {
        ATextDataRun* run = new ATextDataRun(text, 0, 3);
        run->generated = 1;
        ADataRun* rest = new ATextDataRun(run, 0);
        EXPECT_EQ(1, run->end) << "a generated run cut at 0 is cut after its first position";
        EXPECT_EQ(1, rest->start);
        for (int i = 0; i < 200; ++i)
            new ATextDataRun(static_cast<ATextDataRun*>(rest), 0);
        delete run;  // destroys the whole chain without recursion
    }
    segment->unlock();
}

TEST(LineArrayTest, CapacityMovesInStepsOfTwenty) {
    Fixture f("a\n");
    ALineArray lines;
    EXPECT_EQ(-1, lines.capacity());
    for (long i = 0; i < 40; ++i) {
        lines.insertAt(MakeLine(f, i, i + 1, i, 1), i);
        if (i == 18) {
            EXPECT_EQ(20, lines.capacity());
        }
        if (i == 19) {
            EXPECT_EQ(40, lines.capacity()) << "the 20th line";
        }
    }
    EXPECT_EQ(60, lines.capacity());
    lines.removeRange(0, 20);
    EXPECT_EQ(40, lines.capacity());
    EXPECT_EQ((AAnchor{0, 0}), lines.anchorAtY(1000)) << "below the last line";
    lines.clear();
    EXPECT_EQ(-1, lines.capacity());
}

TEST(LineRendererTest, LayoutWidthAndLineMetrics) {
    Fixture f("a\n", ARect(0, 0, 8, 100));
    EXPECT_EQ(300, f.renderer->layoutWidth) << "a frame narrower than twice the margin";
    f.renderer->setFrame(ARect(0, 0, 130, 100));
    EXPECT_EQ(120, f.renderer->layoutWidth);

    f.renderer->minLineHeight = 20;
    f.renderer->lineSpacing = 2;
    long top = 0;
    ASegment* segment = f.model->segmentAtPosition(0);
    f.renderer->buildLines(f.renderer->lines, segment, 0, top);
    ASSERT_EQ(1, f.renderer->lines.count());
    ALine* line = f.renderer->lines.at(0);
    EXPECT_EQ(10, line->baseline);
    EXPECT_EQ(22, line->height);
    EXPECT_EQ(22, top);
}

TEST(LineRendererTest, CopiesForAnotherResolution) {
    Fixture f("a\n", ARect(0, 0, 130, 100));
    f.renderer->flags1 |= LineFlags::kFixedLayoutWidth;
    f.renderer->layoutWidth = 200;
    ALineRenderer same(*f.renderer, 1, 1);
    EXPECT_EQ(5, same.margin);
    EXPECT_EQ(200, same.layoutWidth);
    ALineRenderer twice(*f.renderer, 2, 1);
    EXPECT_EQ(10, twice.margin);
    EXPECT_EQ(400, twice.layoutWidth) << "a fixed width is scaled and kept";
    f.renderer->flags1 = 0;
    ALineRenderer fromFrame(*f.renderer, 2, 1);
    EXPECT_EQ(10, fromFrame.margin);
    EXPECT_EQ(110, fromFrame.layoutWidth) << "otherwise recomputed from the frame";
}

TEST(LineRendererTest, RelaysOutOnTheModelsNotices) {
    Fixture f("un\ndeux\n");
    f.renderer->layoutFrom(0);
    ASSERT_EQ(14, f.renderer->lines.at(0)->height);
    f.renderer->minLineHeight = 30;
    f.model->notify(2, 0);
    EXPECT_EQ(14, f.renderer->lines.at(0)->height) << "a selection change needs no layout";
    f.model->notify(0, 0);
    EXPECT_EQ(30, f.renderer->lines.at(0)->height);
    EXPECT_EQ(30, f.renderer->lines.at(1)->top);
    // Laid out without alignment, then aligned by a realignment that keeps the lines.
    f.renderer->defaultFormat.bits = ParaBits::kRight;
    f.renderer->flags2 |= LineFlags::kNoAlignment;
    f.model->notify(0, 0);
    ALine* kept = f.renderer->lines.at(0);
    EXPECT_EQ(12, kept->right);
    f.model->notify(200, 0);
    EXPECT_EQ(kept, f.renderer->lines.at(0));
    EXPECT_EQ(f.renderer->layoutWidth, kept->right) << "right-aligned now";
}

TEST(LineRendererTest, WholeDocumentModeLaysEverythingOut) {
    Fixture f(Numbered(40), ARect(0, 0, 130, 100));
    f.renderer->flags2 |= LineFlags::kWholeDocument;
    f.renderer->layoutFrom(0);
    EXPECT_EQ(40, f.renderer->lines.count());
    EXPECT_TRUE(f.renderer->isAllLaidOut());
    long changed = 0, delta = 0;
    EXPECT_EQ(0, f.renderer->scroll(3, 0, &changed, &delta)) << "the view scrolls, not the renderer";
}

TEST(DataRunTest, SizesBitmaps) {
    struct Case {
        long w, h;
        bool fit;
        uint16_t placement;
        long width, height, ascent;
    } cases[] = {
        {260, 20, true, 0, 130, 10, 7},    // twice as wide as the frame: halved
        {20, 9, true, 0x10, 20, 9, 4},     // smaller than the frame: kept; middle
        {20, 9, false, 0x20, 20, 9, 9},    // top
        {20, 9, false, 0x40, 20, 9, 0},    // bottom
        {400, 20, false, 0, 400, 20, 15},  // no fitting
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w * 1000 + c.placement);
        Fixture f("abc\n", ARect(0, 0, 130, 100));
        f.display.bitmapW = c.w;
        f.display.bitmapH = c.h;
        f.renderer->fitBitmaps = c.fit;
        ASegment* segment = f.model->segmentAtPosition(0);
        segment->lock();
        ARunLayoutContext context(f.renderer, nullptr);
        ABitmapDataRun run(segment->load(), 0, 1, c.placement);
        run.measure(context);
        EXPECT_EQ(c.width, run.width);
        EXPECT_EQ(c.height, run.height);
        EXPECT_EQ(c.ascent, run.ascent);
        segment->unlock();
    }
}

// Answers one state for every picture.
class FixedStates : public AImageStateSupplier {
public:
    explicit FixedStates(long state) : state_(state) {}
    long imageState(AFragment*) override { return state_; }

private:
    long state_;
};

// A readable 2 x 2 picture file, for the sheet's substitute.
std::string WriteSmallBmp() {
    std::vector<unsigned char> bmp;
    auto put = [&bmp](unsigned long value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    bmp.push_back('B');
    bmp.push_back('M');
    put(70, 4), put(0, 4), put(54, 4);                   // file size, reserved, pixels' offset
    put(40, 4), put(2, 4), put(2, 4), put(1, 2), put(24, 2);  // header, 2 x 2, one plane, 24 bits
    put(0, 4), put(16, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (int row = 0; row < 2; ++row)
        put(0xFF0000, 3), put(0x00FF00, 3), put(0, 2);  // two pixels and the row's padding
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "substitute-2x2.bmp";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(bmp.data(), 1, bmp.size(), f);
        std::fclose(f);
    }
    return path;
}

// The face a picture draws: the state supplier's when the renderer has one,
// else on a flagged line the last faces of a strip, the sheet's substitute
// picture, or the second face of a pressed pair; elsewhere the first face.
TEST(DataRunTest, APictureDrawsTheFaceItsLineAndStatePick) {
    const std::string substitutePath = WriteSmallBmp();
    struct Case {
        const char* what;
        int16_t faces;
        bool pressed, flaggedLine, substitute;
        long supplier;  // -2: no supplier
        long face;
        bool drawsSubstitute;
    } const cases[] = {
        {"a line without the flag", 5, true, false, false, -2, 0, false},
        {"a strip of five", 5, false, true, false, -2, 3, false},
        {"a pressed strip of five", 5, true, true, false, -2, 4, false},
        {"a pressed pair", 2, true, true, false, -2, 1, false},
        {"a pair", 2, false, true, false, -2, 0, false},
        {"a pair with a substitute", 2, true, true, true, -2, 0, true},
        {"a supplier's state", 5, true, true, false, 2, 2, false},
        {"a supplier without a state", 5, true, true, false, -1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f("abc\n", ARect(0, 0, 130, 100));
        f.sheet->setBitmap(0, ABitmapSpec::byName("strip", c.faces));
        if (c.substitute)
            f.sheet->setBitmap(3, ABitmapSpec::fromFile(substitutePath.c_str(), 0, 1));
        FixedStates states(c.supplier);
        if (c.supplier != -2)
            f.renderer->imageStateSupplier = &states;
        ASegment* segment = f.model->segmentAtPosition(0);
        segment->lock();
        AFragment* fragment = segment->load();
        fragment->setFlag2(c.pressed);
        ARunLayoutContext layout(f.renderer, nullptr);
        ABitmapDataRun run(fragment, 0, 1, 0);
        run.measure(layout);
        ALine* line = MakeLine(f, 0, 1, 0, 16);
        line->addRef();
        line->flags = c.flaggedLine ? ParaBits::kLineSelected : 0;
        {
            ARunDrawContext draw(f.renderer, ARect(0, 0, 130, 100));
            draw.setLine(APoint(0, 12), line, 12, 4);
            run.draw(draw);
        }
        line->release();
        EXPECT_EQ(c.face, f.display.drawnSubImage);
        EXPECT_EQ(c.drawsSubstitute ? f.sheet->getBitmap(3) : f.sheet->getBitmap(0), f.display.drawnBitmap);
        segment->unlock();
    }
}

TEST(LineRendererTest, BreaksLinesAndJustifies) {
    struct Case {
        const char* text;
        const char* lines;
    } cases[] = {
        {"aaa bbb ccc ddd eee fff ggg\n", "aaa bbb ccc ddd eee |fff ggg"},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n", "aaaaaaaaaaaaaaaaaaaa|aaaaaaaaaaaaaaaa"},
        {"un\ndeux trois\n", "un|deux trois"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Fixture f(c.text);
        f.renderer->relayoutLines(f.renderer->lines, 0, 0, false, false);
        EXPECT_EQ(c.lines, f.lineTexts());
        for (long i = 0; i < f.renderer->lines.count(); ++i)
            EXPECT_LE(f.renderer->lines.at(i)->right, f.renderer->layoutWidth);
    }
    // Justified: stretches sum to the free width; the paragraph's last line stays.
    Fixture f("/P8 aa bb cc dd ee ff gg hh ii\n");
    f.renderer->defaultFormat.bits = ParaBits::kJustify;
    f.renderer->relayoutLines(f.renderer->lines, 0, 0, false, false);
    ASSERT_GE(f.renderer->lines.count(), 2);
    ALine* first = f.renderer->lines.at(0);
    EXPECT_EQ(f.renderer->layoutWidth, first->right) << f.lineTexts();
    ALine* last = f.renderer->lines.last();
    long natural = 0;
    for (ADataRun* r = last->runs; r; r = r->getNext())
        natural += r->width;
    EXPECT_EQ(natural, last->right);
}

TEST(LineRendererTest, DrawsHitsAndClipsTheLastLine) {
    Fixture f("un\ndeux\ntrois\nquatre\ncinq\n", ARect(0, 0, 130, 40));
    f.renderer->relayoutLines(f.renderer->lines, 0, 0, false, false);
    ASSERT_GE(f.renderer->lines.count(), 3);
    f.renderer->draw(ARect(0, 0, 130, 40));
    EXPECT_EQ(3, f.renderer->drawnLines);
    EXPECT_EQ(1, f.renderer->drawnOnce);
    EXPECT_EQ("deux@5,24", f.display.texts[1]);

    f.display.texts.clear();
    f.renderer->flags1 |= LineFlags::kClipLastLine;
    f.renderer->draw(ARect(0, 0, 130, 40));
    EXPECT_EQ(2, f.renderer->drawnLines) << "the line cut by the bottom is erased, nothing after it drawn";
    ASSERT_EQ(1u, f.display.erased.size());
    EXPECT_EQ(28, f.display.erased[0].first.y);

    AHitRecord hit = f.renderer->hitRecordAt(APoint(120, 20));
    EXPECT_EQ(7, hit.position) << "right of the last run: the end of \"deux\"";
    AHitRecord below = f.renderer->hitRecordAt(APoint(10, 500));
    EXPECT_TRUE(below.empty());
}

// The runs of the first line as "x+width" each, ellipses as "...".
std::string RunBoxes(ALineRenderer* r) {
    std::string out;
    for (ADataRun* run = r->lines.at(0)->runs; run; run = run->getNext()) {
        out += out.empty() ? "" : " ";
        out += dynamic_cast<AEllipsisDataRun*>(run) ? "..." : "";
        out += std::to_string(run->x) + "+" + std::to_string(run->width);
    }
    return out;
}

TEST(LineRendererTest, AlignsAndTruncatesTabColumns) {
    struct Case {
        const char* stops;
        uint16_t truncate;
        uint16_t bits;
        const char* text;
        const char* boxes;
    } cases[] = {
        // Right stop at 60: "bb" ends there; centre stop at 90: "cc" is centred on it.
        {")60 |90", 0, 0, "a\tbb\tcc\n", "0+6 6+42 48+12 60+24 84+12"},
        // The sheet's default stops every 32 px.
        {"", 0, 0, "a\tb\n", "0+6 6+26 32+6"},
        // A truncating column: what passes the stop at 60 gives way to an ellipsis;
        // the last column, short of its stop, moves right by 2.
        {"30 60", 1, ParaBits::kTruncate | ParaBits::kJustify, "a\tbb bbbbbbbb\tc\n",
         "0+6 6+24 30+12 42+6 ...49+11 60+0 60+0 62+6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Fixture f(c.text, ARect(0, 0, 400, 100));
        f.sheet->setTabStopList(0, c.stops, false, c.truncate, 0);
        f.renderer->tabStyle = c.truncate ? 0 : -1;
        f.renderer->defaultFormat.bits = c.bits;
        f.renderer->relayoutLines(f.renderer->lines, 0, 0, false, false);
        ASSERT_EQ(1, f.renderer->lines.count());
        EXPECT_EQ(c.boxes, RunBoxes(f.renderer));
    }
}

// A fragment that keeps answering an empty run at its start, as a damaged one might.
class StuckFragment : public ATextFragment {
public:
    StuckFragment(ASegment* segment, AFragment* previous, long end)
        : ATextFragment(segment, previous, ALocalRange{0, end}, 0, ALocalRange{0, 0}, 0, 0, 0) {}
    ADataRun* nextDataRun(ADataRun*, bool) override { return new ATextDataRun(this, 0, 0); }
};

// Without a paragraph fragment; optionally a stuck fragment after plain text.
class DamagedParser : public ATextFragParser {
public:
    explicit DamagedParser(bool stuck) : stuck_(stuck) {}
    AFragment* parseSegment(ASegment* segment) override {
        long end = static_cast<long>(segment->text().length());
        AFragment* first = new ATextFragment(segment, nullptr, ALocalRange{0, end}, 0, ALocalRange{0, 0}, 0, 0, 0);
        if (stuck_)
            new StuckFragment(segment, first, end);
        return first;
    }

private:
    bool stuck_;
};

TEST(LineRendererTest, DamagedSegmentsStillLayOutAndEnd) {
    for (bool stuck : {false, true}) {
        SCOPED_TRACE(stuck);
        DamagedParser* parser = new DamagedParser(stuck);
        AIndexedDocModel* model = MakeIndexedModel("abc def\nghi\n", parser);
        FixedDisplay display;
        AStyleSheet* sheet = new AStyleSheet();
        sheet->addRef();
        ALineRenderer* renderer = new ALineRenderer(model, sheet, &display, ARect(0, 0, 130, 100));
        renderer->addRef();
        renderer->layoutFrom(0);
        EXPECT_EQ(2, renderer->lines.count());
        renderer->release();
        sheet->release();
        model->release();
    }
}

TEST(LineRendererTest, AnswersViewQueries) {
    // Lines "un" [0,3) top 0, "deux" [3,8) top 14, "trois" [8,14) top 28; margin 5.
    Fixture f("un\ndeux\ntrois\n", ARect(0, 0, 130, 100));
    ALineRenderer* r = f.renderer;
    r->layoutFrom(0);
    ASSERT_EQ(3, r->lines.count());
    struct YCase {
        long y;
        bool fromBelow;
        long position;
    } ys[] = {{0, false, 0}, {21, false, 6}, {100, true, 14}, {14, false, 3}, {200, false, 0}};
    for (const YCase& c : ys) {
        SCOPED_TRACE(c.y);
        EXPECT_EQ(c.position, r->positionAtY(c.y, c.fromBelow));
    }
    struct RangeCase {
        long start, end;
        ARect bounds;
    } ranges[] = {
        {4, 10, ARect(5, 14, 130, 42)},  // second line from "e", band, third line to "o"
        {1, 2, ARect(11, 0, 17, 14)},    // one letter
        {0, 14, ARect(5, 0, 130, 42)},   // everything laid out
        {14, 20, ARect()},               // past the lines
    };
    for (const RangeCase& c : ranges) {
        SCOPED_TRACE(c.start);
        ARegion region = r->rangeRegion(c.start, c.end);
        if (c.bounds.first.x == 0 && c.bounds.second.x == 0) {
            EXPECT_TRUE(region.isEmpty());
            continue;
        }
        ARect b = region.ownerBounds();
        EXPECT_EQ(c.bounds.first.x, b.first.x);
        EXPECT_EQ(c.bounds.first.y, b.first.y);
        EXPECT_EQ(c.bounds.second.x, b.second.x);
        EXPECT_EQ(c.bounds.second.y, b.second.y);
    }
    EXPECT_TRUE(r->isRectVisible(ARect(0, -10, 10, 150), false, true)) << "taller than the view, covering it";
    EXPECT_FALSE(r->isRectVisible(ARect(0, 10, 10, 150), false, true));
    EXPECT_TRUE(r->isRectVisible(ARect(0, 10, 10, 90), true, true));
    EXPECT_EQ(0, r->maxScrollValue()) << "a document shorter than the view does not scroll";
    EXPECT_EQ((AAnchor{-1, 0}), r->lineUpAnchor(1)) << "clamped to (0, 0) by scroll";
    for (long kind : {0, 1, 2, 3}) {
        SCOPED_TRACE(kind);
        long changed = 5, delta = 5;
        EXPECT_EQ(1, r->scroll(kind, 1, &changed, &delta));
        EXPECT_EQ(0, changed);
        EXPECT_EQ(0, delta);
        EXPECT_EQ((AAnchor{0, 0}), r->topAnchor);
    }

    AHitRecord last = r->hitRecordOfPosition(9, -1);
    ASSERT_FALSE(last.empty());
    AHitRecord below = r->hitBelow(last, -1);
    EXPECT_EQ(13, below.position) << "below the last line: the end of that same line";
    AHitRecord above = r->hitAbove(last, -1);
    EXPECT_EQ(4, above.position);
}

TEST(LineRendererTest, TheHitOfAPositionIsThatPosition) {
    Fixture f("un mot\ndeux trois quatre cinq six\n");
    f.display.asFont = true;
    ALineRenderer* r = f.renderer;
    r->layoutFrom(0);
    ASSERT_GE(r->lines.count(), 3);
    for (long p = 0; p < r->lastLaidOutPosition(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(p, r->hitRecordOfPosition(p, -1).position);
    }
}

TEST(LineRendererTest, ANarrowerFrameBreaksTheLinesAgain) {
    Fixture f("aaa bbb ccc ddd eee fff ggg hhh iii jjj\nkkk lll\n", ARect(0, 0, 250, 100));
    ALineRenderer* r = f.renderer;
    r->layoutFrom(0);
    for (long width : {130L, 250L, 70L}) {
        SCOPED_TRACE(width);
        r->setFrame(ARect(0, 0, static_cast<int32_t>(width), 100));
        r->layoutFrom(width == 70 ? 200 : 0);  // a realignment too lays out again
        ASSERT_GT(r->lines.count(), 0);
        EXPECT_EQ(width - 10, r->layoutWidth);
        for (long i = 0; i < r->lines.count(); ++i)
            EXPECT_LE(r->lines.at(i)->right, r->layoutWidth) << f.lineTexts();
        if (width == 250) {
            EXPECT_EQ("aaa bbb ccc ddd eee fff ggg hhh iii jjj|kkk lll", f.lineTexts()) << "and joins them again";
        }
    }
}

TEST(LineRendererTest, DrawsTheSelectionInItsColour) {
    Fixture f("abcde\n");
    f.renderer->hasSelection = true;
    f.renderer->selectionColour = 0x00FF00;
    f.model->setSelection(ADocRange{1, 3}, 0);
    f.renderer->layoutFrom(0);
    f.renderer->draw(ARect(0, 0, 130, 100));
    std::string drawn;
    for (const std::string& t : f.display.texts)
        drawn += t + " ";
    EXPECT_EQ("a@5,10 bc@11,10* de@23,10 ", drawn);
}

TEST(LineRendererTest, ScrollsUpAndShowsRanges) {
    Fixture f(Numbered(30), ARect(0, 0, 130, 100));
    ALineRenderer* r = f.renderer;
    r->layoutFrom(0);
    long line10 = static_cast<long>(Numbered(30).find("ligne 10"));
    long changed = 0, delta = 0;
    ASSERT_EQ(1, r->scroll(4, line10, &changed, &delta));
    EXPECT_EQ(line10, r->firstVisiblePosition());
    ALine* shown = r->lines.at(0);
    shown->addRef();
    ASSERT_EQ(1, r->scroll(0, 1, &changed, &delta));
    EXPECT_EQ("ligne 9|ligne 10", f.lineTexts().substr(0, 16));
    EXPECT_EQ(shown, r->lines.at(1)) << "the kept lines move down, they are not rebuilt";
    EXPECT_EQ(14, shown->top);
    shown->release();

    long line20 = static_cast<long>(Numbered(30).find("ligne 20"));
    r->showRange(line20, line20 + 3, 0x20);
    EXPECT_EQ(line20, r->firstVisiblePosition()) << "a range not laid out is shown at the top";
    r->showRange(line20, line20 + 3, 0x10);
    long i = r->lines.indexOfPosition(line20, 0);
    ASSERT_LT(i, r->lines.count());
    EXPECT_EQ(43, r->lines.at(i)->top) << "centred: (0 + 14 - 100) / 2 up";
}

TEST(LineRendererTest, WholeDocumentAndScrollSteps) {
    Fixture f("a\n", ARect(0, 0, 100, 100));
    f.renderer->flags2 |= LineFlags::kWholeDocument;
    EXPECT_EQ(-1, f.renderer->topLineLength());
    EXPECT_EQ(-1, f.renderer->maxScrollValue());
    EXPECT_EQ(-1, f.renderer->scrollValue());
    EXPECT_EQ(-1, f.renderer->pageLength());
    f.renderer->flags2 &= static_cast<uint16_t>(~LineFlags::kWholeDocument);

    struct Case {
        long viewHeight;
        long lineHeight;
        AAnchor down;
        AAnchor page;
    } cases[] = {{100, 400, {0, 16}, {0, 84}}, {20, 400, {0, 10}, {0, 10}}, {100, 30, {1, 0}, {1, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewHeight * 1000 + c.lineHeight);
        f.renderer->setFrame(ARect(0, 0, 100, c.viewHeight));
        f.renderer->lines.clear();
        f.renderer->lines.insertAt(MakeLine(f, 0, 1, 0, c.lineHeight), 0);
        EXPECT_EQ(c.down, f.renderer->lineDownAnchor(1));
        EXPECT_EQ(c.page, f.renderer->pageDownAnchor());
    }
}

TEST(LineRendererTest, KeepInsideShowsAPositionInATallLine) {
    // One line of 100 positions, 400 px high, in a view 100 px high.
    Fixture f(std::string(99, 'a') + "\n", ARect(0, 0, 700, 100));
    f.renderer->minLineHeight = 400;
    ALineArray scratch;
    f.renderer->markedRange = f.renderer->endAnchor(scratch);
    EXPECT_EQ((AAnchor{0, 300}), f.renderer->markedRange) << "the end shows at the bottom of the view";
    f.renderer->relayoutLines(f.renderer->lines, 25, 0, false, true);
    ASSERT_EQ(1, f.renderer->lines.count());
    EXPECT_EQ(100, f.renderer->lines.at(0)->length());
    EXPECT_EQ(-100, f.renderer->lines.at(0)->top) << "position first + 25 is shown at 100 px inside the line";
}

TEST(LineRendererTest, JustifiesWideLinesWithoutOverflow) {
    // Wide lines whose stretch products pass 16 bits: the total is still exact.
    std::string word(200, 'a');
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += word + " ";
    Fixture f(text + "\n", ARect(0, 0, 60010, 100));
    f.renderer->defaultFormat.bits = ParaBits::kJustify;
    f.renderer->relayoutLines(f.renderer->lines, 0, 0, false, false);
    ASSERT_GE(f.renderer->lines.count(), 2);
    ALine* first = f.renderer->lines.at(0);
    long blanks = 0;
    for (ADataRun* r = first->runs; r; r = r->getNext())
        blanks += r->isBlank();
    ASSERT_GT(blanks * (f.renderer->layoutWidth - 49 * 1206), 32767) << "the case must overflow 16 bits";
    EXPECT_EQ(f.renderer->layoutWidth, first->right);
    ADataRun* last = first->runs;
    while (last->getNext())
        last = last->getNext();
    EXPECT_EQ(f.renderer->layoutWidth, last->right());
}

TEST(LineRendererTest, ScrollingDownKeepsTheShownSegments) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "ligne " + std::to_string(i) + "\n";
    Fixture f(text, ARect(0, 0, 130, 100));
    f.renderer->layoutFrom(0);
    ASSERT_GT(f.renderer->lines.count(), 3);
    ALine* second = f.renderer->lines.at(2);
    second->addRef();
    long changed = 0, delta = 0;
    EXPECT_EQ(1, f.renderer->scroll(1, 1, &changed, &delta));
    EXPECT_EQ(-14, changed);
    EXPECT_EQ(second, f.renderer->lines.at(1)) << "the shown lines are kept, not rebuilt";
    EXPECT_GE(f.renderer->lines.bottom(), 100);
    second->release();
    EXPECT_TRUE(f.renderer->pendingRegionCopy().isEmpty()) << "nothing is cut without clipping";
    f.renderer->flags1 |= LineFlags::kClipLastLine;
    EXPECT_EQ(1, f.renderer->scroll(1, 1, &changed, &delta));
    ARect band = f.renderer->pendingRegionCopy().ownerBounds();
    EXPECT_EQ(98, band.first.y) << "the band of the line cut before the scroll";
    EXPECT_EQ(126, band.second.y) << "and of the one cut after it, where it stood before";
    EXPECT_EQ(1, f.renderer->scroll(3, 0, &changed, &delta));
    EXPECT_GT(f.renderer->topAnchor.position, 10);
}

class FrenchTextTest : public GraphicsTest {};

TEST_F(FrenchTextTest, LaysOutAndDrawsFrenchText) {
    const char* text =
        "L'\xE9t\xE9 dernier, la for\xEAt de Broc\xE9liande accueillait des visiteurs venus de toute "
        "la France.\nOn y raconte que l'enchanteur Merlin y dort encore, pr\xE8s de la fontaine de "
        "Barenton, o\xF9 l'eau bouillonne sans jamais chauffer.\n\xC0 la tomb\xE9\x65 du jour, les "
        "ch\xEAnes centenaires jettent des ombres \xE9tranges sur les sentiers.\n";
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 320, 200));
    Canvas canvas(320, 200);
    AGdiRunDisplay display;
    AIndexedDocModel* model = MakeIndexedModel(text);
    AStyleSheet* sheet = new AStyleSheet();
    sheet->addRef();
    sheet->setFont(0, AFontSpec("Arial,11,0"));
    ALineRenderer* renderer = new ALineRenderer(model, sheet, &display, ARect(0, 0, 320, 200));
    renderer->addRef();
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        renderer->layoutFrom(0);
        renderer->draw(ARect(0, 0, 320, 200));
    }
    canvas.savePng("lines-french");
    EXPECT_GE(renderer->lines.count(), 5) << "the paragraphs wrap";
    for (long i = 0; i < renderer->lines.count(); ++i)
        EXPECT_LE(renderer->lines.at(i)->right, renderer->layoutWidth);
    EXPECT_GT(canvas.inkIn(ARect(0, 0, 320, 20)), 100);
    renderer->release();
    sheet->release();
    model->release();
}

}  // namespace
