// The renderer operations the application calls, over a generated article of
// sixty lines with one closed section: indexes and ranges shown, hit texts,
// marks, the frame's size, cursors and the list and tile entries.
#include <gtest/gtest.h>

#include <functional>
#include <fstream>
#include <string>
#include <thread>

#include "base/object/AFilteredFile.h"
#include "base/procedural/AOutStream.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/hilite/AMarkerCallBack.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererPrinter.h"
#include "docengine/render/ATileRenderer.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// Line n reads "Ligne nn du texte genere"; line 30 holds a closed section.
std::string Article() {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        char line[64];
        snprintf(line, sizeof line, i == 30 ? "Ligne %02d {C#partie cachee} suite\n" : "Ligne %02d du texte genere\n",
                 i);
        text += line;
    }
    return text;
}

// Rows "Rang n"; row 7 is wider than the list.
class OneLineGetter : public ALineGetter {
public:
    void getLine(AString& out, long row) override {
        std::string text = "Rang " + std::to_string(row);
        if (row == 7)
            text += " dont la legende passe largement le bord droit de la liste";
        out = AString((text + "\n").c_str());
    }
    long getLineCount() override { return 40; }
};

class NoPictures : public ABitmapSupplier {
public:
    ABitmapRef* bitmapNamed(const AString&) override { return nullptr; }
};

// The smallest renderer that is part of another.
class PartRenderer : public ARenderer {
public:
    PartRenderer(ADisplayComponent* view, ARenderer* parent) : ARenderer(view, ARect(0, 0, 40, 40), parent) {
        topValue = 9;
    }
    void layoutFrom(long) override {}
    ARenderer* makeCopy(const ARect&, long, long, ARenderer*) override { return nullptr; }
    void draw(const ARect&) override {}
    AHitRecord hitRecordAt(const APoint&) override { return AHitRecord(); }
};

// Records the note operations; edits and deletions show no message box.
class NoteLog : public AMarkerCallBack {
public:
    void markerAdded(long id) override { log += "added " + std::to_string(id) + ";"; }
    void editMarker(long id) override { log += "edit " + std::to_string(id) + ";"; }
    void deleteMarker(long id) override { log += "delete " + std::to_string(id) + ";"; }
    void markerMoved(long id, long to) override { log += "moved " + std::to_string(id) + ">" + std::to_string(to) + ";"; }
    std::string log;
};

class RendererBaseTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        text_ = Article();
        makeView();
        ARefHold<AStringReader> reader(new AStringReader(text_.c_str(), -1));
        ARefHold<ALineSegParser> segments(new ALineSegParser(reader.get()));
        ARefHold<ATextFragParser> fragments(new ATextFragParser('/'));
        model = new ALaidOutDocModel(segments.get(), fragments.get(), nullptr);
        model->addRef();
        install();
    }
    // The source position of a line's first byte.
    long lineStart(int line) { return static_cast<long>(text_.find(line == 30 ? "Ligne 30" : Label(line))); }
    static const char* Label(int line) {
        static char buf[16];
        snprintf(buf, sizeof buf, "Ligne %02d ", line);
        return buf;
    }
    // Whether a document position lies wholly inside the frame.
    bool shown(long position) {
        ARect r = renderer->rangeBounds(position, position + 1);
        return r.second.y > r.first.y && r.first.y >= 0 && r.second.y <= 200;
    }
    std::string text_;
};

}  // namespace

TEST_F(RendererBaseTest, IndexesRangesAndPositionsAreShownAndAnswered) {
    ALaidOutDocModel* laid = static_cast<ALaidOutDocModel*>(static_cast<ADocModel*>(model));
    const long hidden = static_cast<long>(text_.find("partie"));
    struct Row {
        const char* name;
        std::function<std::string()> act;
        const char* expected;
    } rows[] = {
        {"showIndex scrolls a far line in", [&] {
             // Past the closed section: document positions are fewer than source ones.
             renderer->showIndex(lineStart(50), 0x20, 0);
             return std::string(shown(model->sourceToPosition(lineStart(50))) ? "shown" : "hidden");
         }, "shown"},
        {"showIndex with 0x100 marks the index", [&] {
             renderer->showIndex(lineStart(45), 0x120, 0);
             return std::to_string(renderer->markedIndex() == lineStart(45));
         }, "1"},
        {"a new model's change notices leave its lines to the renderer's layout", [&] {
             renderer->setModel(model);
             model->setHighlighter(nullptr);
             model->notify(201, 0);
             long before = renderer->lines()->lines.count();
             renderer->layOut();
             return std::to_string(before) + "," + std::to_string(renderer->lines()->lines.count() > 0);
         }, "0,1"},
        {"showIndex opens the section hiding the index", [&] {
             renderer->showIndex(hidden, 0x20, 0);
             return std::to_string(laid->isVisible(hidden)) + (shown(model->sourceToPosition(hidden)) ? " shown" : "");
         }, "1 shown"},
        {"scrollToIndex refuses -1", [&] { return std::to_string(renderer->scrollToIndex(-1, 0)); }, "0"},
        {"scrollToIndex shows the index", [&] {
             bool done = renderer->scrollToIndex(lineStart(5), 0);
             return std::to_string(done) + (shown(model->sourceToPosition(lineStart(5))) ? " shown" : "");
         }, "1 shown"},
        {"showIndexRange answers the index's positions", [&] {
             ADocRange r = renderer->showIndexRange(lineStart(40), 0x20, 0);
             return std::to_string(r.end - r.start) + (shown(r.start) ? " shown" : "");
         }, "1 shown"},
        {"showIndexSpan answers the span's positions", [&] {
             ADocRange r = renderer->showIndexSpan(ADocRange{lineStart(20), lineStart(22)}, 0x20, 0);
             return std::to_string(r.start == model->sourceToPosition(lineStart(20))) + "," +
                    std::to_string(r.end == model->sourceToPosition(lineStart(22)));
         }, "1,1"},
        {"showIndexSpan of -1 answers (0, 0)", [&] {
             ADocRange r = renderer->showIndexSpan(ADocRange{-1, 4}, 0x20, 0);
             return std::to_string(r.start) + "," + std::to_string(r.end);
         }, "0,0"},
        {"showRange with length -1 shows the index", [&] {
             renderer->showRange(lineStart(55), -1);
             return std::string(shown(model->sourceToPosition(lineStart(55))) ? "shown" : "hidden");
         }, "shown"},
        {"showRange with length 0 marks and shows the segment", [&] {
             renderer->showRange(lineStart(10) + 3, 0);
             return std::to_string(renderer->markedIndex() == lineStart(10)) +
                    (shown(model->sourceToPosition(lineStart(10))) ? " shown" : "");
         }, "1 shown"},
        {"scrollToPosition puts the position's line at the top", [&] {
             long p = model->sourceToPosition(lineStart(25));
             renderer->scrollToPosition(p);
             return std::to_string(renderer->currentPosition() == p);
         }, "1"},
        {"selectHit marks one item; the selection bounds follow", [&] {
             renderer->selectHit(lineStart(3));
             return std::to_string(renderer->selectionStart() == lineStart(3)) + "," +
                    std::to_string(renderer->selectionEnd() == lineStart(3)) + "," +
                    std::to_string(model->getMarkCount());
         }, "1,1,1"},
        {"getHitText without a hit names the marked item", [&] {
             renderer->clearHitRecord(nullptr);
             renderer->setCurrentMark(lineStart(7));
             return std::string(renderer->getHitValueText().c_str());
         }, "Ligne 07 du texte genere\r\n"},
        {"a text renderer has no current item", [&] { return std::to_string(renderer->currentItem()); }, "-1"},
        {"applyModelChanges folds back what a show opened", [&] {
             model->collapseAll(0);
             AExpandRecord opened;
             model->openAt(hidden, &opened, 0);
             AExpandRecord none;
             bool empty = renderer->applyModelChanges(&none);
             bool folded = renderer->applyModelChanges(&opened);
             return std::to_string(empty) + std::to_string(folded) + std::to_string(laid->isVisible(hidden));
         }, "010"},
        {"setScroll sizes the frame from its corner", [&] {
             renderer->setFrame(ARect(4, 6, 300, 200), false);
             renderer->setScroll(APoint(150, 90), false);
             const ARect& f = renderer->frame();
             std::string s = std::to_string(f.first.x) + "," + std::to_string(f.first.y) + "," +
                             std::to_string(f.second.x) + "," + std::to_string(f.second.y);
             renderer->setFrame(ARect(0, 0, 300, 200), true);
             return s;
         }, "4,6,154,96"},
        {"layOut lays a new model out", [&] {
             renderer->setModel(model);
             bool before = renderer->state & RendererBits::kLaidOut;
             renderer->layOut();
             return std::to_string(before) + std::to_string((renderer->state & RendererBits::kLaidOut) != 0) +
                    std::to_string(renderer->laidOutHeight() > 0);
         }, "011"},
        {"layOut lays a new model out once on a shown view", [&] {
             renderer->setModel(model);
             renderer->layouts = 0;
             renderer->layOut();
             return std::to_string(renderer->layouts);
         }, "1"},
        {"topLevelValue is the kept long of a top-level renderer", [&] {
             renderer->topValue = 17;
             return std::to_string(renderer->topLevelValue());
         }, "17"},
        {"setHitCursors stores both cursors", [&] {
             renderer->setHitCursors(3, 55, 56);
             return std::to_string(renderer->cursorFor(3)) + "," +
                    std::to_string(renderer->cursorFor(3 | static_cast<long>(0x80000000UL)));
         }, "55,56"},
        {"the bitmap supplier reaches export cursors and copies", [&] {
             ARefHold<NoPictures> pictures(new NoPictures());
             renderer->setBitmapSupplier(pictures.get());
             AExportCursor cursor = renderer->makeExportCursor();
             ARenderer* copy = renderer->makeDetachedCopy(ARect(0, 0, 100, 100), false, nullptr);
             std::string s = std::to_string(cursor.bitmapSupplier() == pictures.get()) +
                             std::to_string(copy->bitmapSupplier() == pictures.get());
             copy->release();
             renderer->setBitmapSupplier(nullptr);
             // The cursor keeps its supplier alive after the renderer lets go.
             return s + std::to_string(pictures->refCount());
         }, "112"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, row.act());
    }
}

TEST_F(RendererBaseTest, APartInheritsItsParentsSettingsOrLineBindingAndItsSupplier) {
    ARefHold<NoPictures> pictures(new NoPictures());
    ARefHold<OneLineGetter> rows(new OneLineGetter());
    struct Row {
        bool bound;
        const char* expected;  // colour copied, binding shared, supplier shared
    } table[] = {{false, "1,0,1"}, {true, "0,1,1"}};
    for (const Row& row : table) {
        SCOPED_TRACE(row.expected);
        renderer->setBitmapSupplier(pictures.get());
        renderer->thirdColour = 0x123456;
        renderer->setLineGetter(row.bound ? rows.get() : nullptr, 0);
        ARefHold<PartRenderer> part(new PartRenderer(view->rendererLayer(), renderer));
        part->inheritFromParent();
        std::string s = std::to_string(part->thirdColour == 0x123456) + "," +
                        std::to_string(part->lineBinding() && part->lineBinding()->getter == rows.get()) + "," +
                        std::to_string(part->bitmapSupplier() == pictures.get());
        EXPECT_EQ(row.expected, s);
        EXPECT_EQ(0, part->topLevelValue()) << "a part answers no kept long";
    }
    renderer->setLineGetter(nullptr, 0);
    renderer->setBitmapSupplier(nullptr);

    ARendererPrinter printer;
    EXPECT_EQ(0, printer.getUserLong());
    printer.setUserLong(42);
    EXPECT_EQ(42, printer.getUserLong());
}

TEST_F(RendererBaseTest, ListEntriesSelectAndShowRowsAndTilesStartAtTheTop) {
    ARefHold<OneLineGetter> rows(new OneLineGetter());
    ARefHold<AListRenderer> list(new AListRenderer(view->rendererLayer(), &display));
    list->setSourceModel(rows.get(), nullptr);
    list->setFrame(ARect(0, 0, 300, 200), false);
    list->attach();
    list->relayoutFrom(0, true);
    auto shown = [&](long row) {
        ARect r = list->rowRect(row);
        return r.second.y > r.first.y && r.first.y >= 0 && r.second.y <= 200;
    };
    auto marks = [&] {
        return std::to_string(list->currentItem()) + ":" + std::to_string(list->selectionStart()) + "-" +
               std::to_string(list->selectionEnd());
    };
    struct Row {
        const char* name;
        std::function<std::string()> act;
        const char* expected;
    } table[] = {
        {"a single-selection list starts on row 0", [&] { return marks(); }, "0:0-0"},
        {"count -1 moves to the first line alone", [&] {
             list->selectLines(5, -1);
             return marks();
         }, "5:5-5"},
        {"a far line is selected and shown", [&] {
             list->selectLines(30, 0);
             return marks() + (shown(30) ? " shown" : "");
         }, "30:30-30 shown"},
        {"a single-selection list keeps the first line alone", [&] {
             list->selectLines(2, 3);
             return marks();
         }, "2:2-2"},
        {"a multiple-selection list selects first .. first + count", [&] {
             list->listOptions |= ListOptions::kMultiple;
             list->selectLines(2, 3);
             return marks();
         }, "2:2-5"},
        {"a negative first clears the selection", [&] {
             list->selectLines(-2, 0);
             return marks();
         }, "-1:-1--1"},
        {"showLine -2 without a selection shows row 0", [&] {
             list->showLine(36);
             bool distant = shown(36);
             list->showLine(-2);
             return std::to_string(distant) + std::to_string(shown(0));
         }, "11"},
        {"a row longer than the list is not wrapped", [&] {
             ARect r = list->rowRect(7);
             return std::to_string(r.second.y - r.first.y);
         }, "14"},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, row.act());
    }

    ARefHold<ATileRenderer> tiles(new ATileRenderer(view->rendererLayer(), &display));
    tiles->setSourceModel(rows.get(), nullptr);
    tiles->setFrame(ARect(0, 0, 300, 200), false);
    tiles->attach();
    tiles->relayoutFrom(0, true);
    tiles->scrollToPosition(30);
    tiles->setTiles(12, 50);
    EXPECT_EQ(12, tiles->tileCount());
    EXPECT_EQ(50, tiles->tileWidth);
    EXPECT_EQ(0, tiles->currentPosition()) << "the first tile is back at the top";
}

TEST_F(RendererBaseTest, TheLayersTextOptionWritesTheDocumentAsMarkup) {
    ARendererLayer* layer = view->rendererLayer();
    layer->wholeDocument = 1;
    std::string plain = model->exportText(0, model->getPositionCount()).c_str();
    std::string markup = model->exportText(0, model->getPositionCount(), nullptr, true).c_str();
    ASSERT_NE(plain, markup);
    struct Row {
        int16_t option;
        const std::string* expected;
    } rows[] = {{0, &plain}, {1, &markup}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        layer->textOption = row.option;
        CaptureStream out;
        EXPECT_TRUE(layer->writeText(&out, 1));
        EXPECT_EQ(0u, out.text.find(*row.expected));
    }
    layer->textOption = 0;
    layer->wholeDocument = 0;
}

TEST_F(RendererBaseTest, TheCurrentHitComesBackAfterAScrollAndTheNoteEntriesActOnTheMarks) {
    ARangeArray ranges;
    long hit = model->sourceToPosition(lineStart(48));
    ranges.addRange(ARange{hit, hit + 5});
    ARefHold<AHighlighter> highlighter(new AHighlighter(nullptr, &ranges));
    model->setHighlighter(highlighter.get());
    AHitNavigator* nav = renderer->hitNavigator();
    ASSERT_NE(nullptr, nav);
    EXPECT_FALSE(nav->canShowCurrentHit()) << "no hit shown yet";
    EXPECT_EQ(1, nav->showFirstHit());
    renderer->scrollToPosition(0);
    ASSERT_FALSE(shown(hit));
    EXPECT_TRUE(nav->canShowCurrentHit());
    EXPECT_EQ(1, nav->showCurrentHit());
    EXPECT_TRUE(shown(hit)) << "the hit shown last is in view again";

    // Dropping the loaded segments lays the article out again where it was.
    long top = renderer->currentPosition();
    static_cast<AIndexedDocModel*>(model)->releaseSegments();
    EXPECT_EQ(top, renderer->currentPosition());
    EXPECT_TRUE(shown(hit));

    renderer->scrollToPosition(0);  // notes are placed on laid-out text
    ARefHold<AHiliteRangeMap> notes(new AHiliteRangeMap());
    model->setNoteMarkers(notes.get());
    NoteLog log;
    renderer->markerCallBack = &log;
    // Inside "du" of line 2; notes go to the start of the word, even after the segments were dropped.
    long place = model->sourceToPosition(lineStart(2)) + 10;
    model->setSelection(ADocRange{place, place}, 0);
    renderer->noteCommand(-1);
    EXPECT_EQ(0, notes->count()) << "notes off: the command does nothing";
    renderer->noteMode = 1;
    renderer->noteCommand(-1);
    ASSERT_EQ(1, notes->count());
    long marked = notes->first(-1);
    EXPECT_EQ(place - 1, marked);
    renderer->editNoteAt(marked);
    renderer->setDraggedNote(marked);
    AHitRecord drop = renderer->hitOfPosition(place + 25);  // "du" of line 3
    renderer->moveNote(drop);
    long moved = notes->first(-1);
    EXPECT_EQ(model->sourceToPosition(lineStart(3)) + 9, moved);
    renderer->deleteNoteAt(moved);
    EXPECT_EQ(0, notes->count());
    EXPECT_EQ("added 0;edit 0;moved 0>" + std::to_string(moved) + ";delete 0;", log.log);

    // No selection and the caret out of view (a plain click selects nothing):
    // the note goes to the first line shown.
    renderer->scrollToPosition(model->sourceToPosition(lineStart(40)));
    ADocRange firstLine;
    ASSERT_TRUE(renderer->visibleLineRange(true, firstLine));
    ASSERT_GT(firstLine.start, 0);
    model->setSelection(ADocRange{0, 0}, 0);
    renderer->noteCommand(-1);
    ASSERT_EQ(1, notes->count());
    EXPECT_EQ(firstLine.start, notes->first(-1));
    renderer->markerCallBack = nullptr;
}

TEST_F(RendererBaseTest, ExportToFileWritesTheWriterOfTheFilesType) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string base = std::string(folder) + "sv-export-" + std::to_string(GetCurrentProcessId());
    struct Row {
        const char* extension;
        const char* starts;
    } rows[] = {{".txt", "Ligne 00"}, {".rtf", "{\\rtf1"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.extension);
        std::string file = base + row.extension;
        ASSERT_TRUE(view->exportToFile(file.c_str(), true));
        FILE* f = fopen(file.c_str(), "rb");
        ASSERT_NE(nullptr, f);
        char head[16] = {};
        size_t n = fread(head, 1, sizeof head - 1, f);
        fclose(f);
        DeleteFileA(file.c_str());
        EXPECT_EQ(0u, std::string(head, n).find(row.starts));
    }
    // The user's box only says the file could not be written: the log says why.
    CaptureStream log;
    SetErrorStream(&log);
    const std::string absent = std::string(folder) + "absent-folder\\x.rtf";
    EXPECT_FALSE(view->exportToFile(absent.c_str(), true)) << "a file that cannot be made is a failure";
    SetErrorStream(nullptr);
    EXPECT_NE(std::string::npos, log.text.find("#Save " + absent + ".tmp~: not created (error 3)")) << log.text;

    // A file another program holds for a moment is replaced once it lets go.
    const std::string held = base + "-held.rtf";
    {
        std::ofstream(held, std::ios::binary) << "old";
    }
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    std::thread letGo([holder] {
        Sleep(200);
        CloseHandle(holder);
    });
    SetErrorStream(&log);
    bool saved = view->exportToFile(held.c_str(), true);
    SetErrorStream(nullptr);
    letGo.join();
    std::ifstream in(held, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(held.c_str());
    EXPECT_TRUE(saved) << log.text;
    EXPECT_EQ(0u, text.find("{\\rtf1"));
}
