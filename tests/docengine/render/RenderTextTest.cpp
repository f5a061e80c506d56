// The text renderer's press feedback and help texts, hit navigators over
// derived models, the layer's export provider and the renderer's model
// builders, driven without a native window.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "base/object/AFile.h"
#include "base/object/AFilteredFile.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/kytab/ATableDataRun.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/app/AWindow.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// "mot" at 8, 22 (inside the closed section) and 46.
const char kSections[] = "Premier mot {C#second mot cache} puis\ndernier mot\n";

// A view that supplies the export header of everything inside it.
class HeaderView : public AStandardView {
public:
    using AStandardView::AStandardView;
    std::string exportHeader() override { return "Source : essai"; }
};

// The name of the fragment under the point: a link's target.
class TargetHelp : public AHelpTextSupplier {
public:
    AString helpText(const AHitRecord& hit) override { return hit.fragment ? hit.fragment->getName() : AString(); }
};

// Rows in blocks of four; the log says what the renderer asked.
class BlockGetter : public ALineGetter, public ABoundLineGetter {
public:
    void getLine(AString& out, long row) override { out = AString(("Ligne " + std::to_string(row)).c_str()); }
    long getLineCount() override { return 20; }
    void bindRenderer(ARenderer*, long options) override { log += "bind " + std::to_string(options) + ";"; }
    ADocRange linesAround(long index) override {
        log += "around " + std::to_string(index) + ";";
        return short_ ? ADocRange{0, 1} : ADocRange{index / 4 * 4, index / 4 * 4 + 4};
    }
    std::string log;
    bool short_ = false;
};

// Answers WM_CTLCOLORLISTBOX as a window that colours its list boxes would.
struct ListColours {
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CTLCOLORLISTBOX) {
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(4, 5, 6));
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(7, 8, 9));
            return reinterpret_cast<LRESULT>(brush);
        }
        return CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    static WNDPROC previous;
    static HBRUSH brush;
};
WNDPROC ListColours::previous = nullptr;
HBRUSH ListColours::brush = nullptr;

class RenderTextTest : public RenderTest {
protected:
    // A laid-out model of kSections whose own highlighter finds the word "mot".
    void makeSections() {
        makeView();
        ARefHold<AHiliteSet> words(new AHiliteSet("mot", " .,;:'", AFilter()));
        ARefHold<AHighlighter> h(new AHighlighter(words.get(), nullptr));
        ARefHold<AStringReader> reader(new AStringReader(kSections, -1));
        ARefHold<ALineSegParser> segments(new ALineSegParser(reader.get()));
        ARefHold<ATextFragParser> fragments(new ATextFragParser('/'));
        model = new ALaidOutDocModel(segments.get(), fragments.get(), h.get());
        model->addRef();
        install();
    }
};

}  // namespace

TEST_F(RenderTextTest, DerivedNavigatorsCountHiddenHitsAndFoldBackWhatTheyOpened) {
    makeSections();
    const long length = model->getLength();
    const long visible = model->getPositionCount();
    ASSERT_LT(visible, length);
    struct Row {
        uint16_t flags;
        const char* shown;  // each hit shown in turn: its index, then whether the section is open
        long last;
    } rows[] = {
        {0x1 | 0x2 | 0x10 | 0x100, "8 closed|22 open|46 closed|", 46},
        {0x1 | 0x10, "8 closed|22 open|46 open|", 46},
        // From the view: every hit lies before the bottom line or wholly on it.
        {0x1, "", 46},
        // Counted in the shown model, a hidden hit has no index: the last hit is at its visible position.
        {0x10, "8 closed|29 closed|", 29},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shown);
        model->collapseAll(0);
        AModelHitNavigator nav(renderer, row.flags);
        std::string shown;
        for (int steps = 0; steps < 5 && nav.showNextHit(); ++steps) {
            shown +=
                std::to_string(nav.currentHit().start) + (model->getPositionCount() == length ? " open|" : " closed|");
            if (row.flags & 0x100) {
                EXPECT_EQ("mot", std::string(model->exportSelection(nullptr, false).c_str()));
            }
        }
        EXPECT_EQ(row.shown, shown);
        EXPECT_EQ(row.last, nav.lastHitIndex());
    }
    ASSERT_NE(nullptr, model->getHighlighter());
    AHighlighterHook* own = model->getHighlighter();
    ARangeArray others;
    others.addRange(ARange{0, 7});
    ASearchHitNavigator search(renderer, 0x10);
    search.attachModel(model, &others);
    EXPECT_EQ(0, search.firstHitIndex());
    EXPECT_EQ(0, search.lastHitIndex());
    EXPECT_EQ(own, model->getHighlighter()) << "the shown model keeps its own highlighting";
}

TEST_F(RenderTextTest, APressOnALinkShowsAsItsSelectionOrItsItemUntilTheRelease) {
    make("Voir {dla suite#cible} ou {Dle bouton#autre} fin\n");
    struct Row {
        const char* name;
        uint16_t options;
        long lineFlags;
        long press;
        bool inside;           // released where it was pressed
        const char* expected;  // selection, marks and pressed flag while pressed | the same after | hit name
    } rows[] = {
        {"a link alone shows no selection", 0x2, 0, 9, true, "0,0 0 0|0,0 0 0|cible"},
        {"with links active its name is selected", 0x12, 0, 9, true, "7,15 0 0|9,9 0 0|cible"},
        {"a button's label shows its name", 0x2, 0, 30, true, "27,37 0 1|30,30 0 0|autre"},
        {"flag 0x200 marks the item instead", 0x12, 0x200, 9, true, "0,0 1 0|0,0 0 0|cible"},
        {"released elsewhere it does nothing", 0x12, 0, 9, false, "7,15 0 0|9,9 0 0|"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        renderer->options = row.options;
        renderer->lineFlags = row.lineFlags;
        renderer->clearHitRecord(nullptr);
        model->setSelection(ADocRange{0, 0}, 0);
        AHitRecord hit = renderer->hitOfPosition(row.press);
        ASSERT_EQ(1, hit.kind);
        AFragment* button = hit.fragment->firstOfName();
        auto state = [&] {
            bool pressed = button && (button->flags() & AFragment::kPressed);
            return selection() + " " + std::to_string(model->getMarkCount()) + " " + std::to_string(pressed);
        };
        AMouseEvent press(pointOf(row.press), 1);
        ARendererTracker tracker(renderer, view->rendererLayer(), press, hit, nullptr);
        tracker.trackBegin();
        std::string seen = state() + "|";
        // The tracker's own steps need a window: its renderer's steps are called as it would.
        if (row.inside) {
            renderer->trackEnd(tracker);
        } else {
            renderer->trackInside(tracker, false);
            renderer->trackReleased(tracker);
        }
        seen += state() + "|" + renderer->getHitName().c_str();
        EXPECT_EQ(row.expected, seen);
    }
}

TEST_F(RenderTextTest, APressOnALinkStartsASelectionWhenItsViewIsMouseSensitive) {
    make("Voir {dla suite#cible} ou {Dle bouton#autre} fin\n");
    struct Row {
        const char* name;
        uint16_t setting;
        uint16_t options;
        ADocRange before;
        uint16_t keys;
        long press;
        const char* expected;  // selection and pressed flag while pressed | the same after | hit name
    } rows[] = {
        {"a press on a link starts an empty selection", 1, 0x12, {0, 0}, 1, 9, "9,9 0|9,9 0|"},
        {"a shift-press on a button extends the selection", 1, 0x2, {1, 5}, 1 | 0x4, 30, "1,30 0|1,30 0|"},
        {"without the setting the link shows its press", 0, 0x12, {0, 0}, 1, 9, "7,15 0|9,9 0|cible"},
        {"without the setting the button shows its press", 0, 0x2, {1, 5}, 1, 30, "27,37 1|30,30 0|autre"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        view->setMouseSensitive(row.setting);
        renderer->options = row.options;
        renderer->clearHitRecord(nullptr);
        model->setSelection(row.before, 0);
        AHitRecord hit = renderer->hitOfPosition(row.press);
        ASSERT_EQ(1, hit.kind);
        AFragment* button = hit.fragment->firstOfName();
        auto state = [&] { return selection() + " " + std::to_string(button->flags() & AFragment::kPressed ? 1 : 0); };
        ARendererTracker tracker(renderer, view->rendererLayer(), AMouseEvent(pointOf(row.press), row.keys), hit,
                                 nullptr);
        tracker.trackBegin();
        std::string seen = state() + "|";
        renderer->trackEnd(tracker);
        seen += state() + "|" + renderer->getHitName().c_str();
        EXPECT_EQ(row.expected, seen);
    }
}

// The link cursors are resource cursors: shown through the application, which alone can load them.
TEST_F(RenderTextTest, TheMouseOverALinkOrTextShowsItsKindsCursor) {
    make("Voir {dla suite#cible} ou {Dle bouton#autre} fin\n");
    struct Row {
        long position;
        int16_t cursor;
    } rows[] = {{2, 0x7F01}, {9, 120}, {30, 120}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        app->setCursor(-1);
        AMouseEvent move(pointOf(row.position), 0);
        renderer->mouseMoved(move);
        EXPECT_EQ(row.cursor, app->cursorId());
    }
}

TEST_F(RenderTextTest, TheLayersProviderDecidesWhereItsClipboardAndTextComeFrom) {
    make();
    auto* framed = Shown(Open<HeaderView>(window, int16_t(12), Frame(0, 0, 300, 200)));
    ARendererLayer* layer = framed->rendererLayer();
    layer->setRenderer(renderer);
    model->setSelection(ADocRange{3, 8}, 0);
    struct Row {
        const char* name;
        int provider;  // 0 none, 1 the view's provider with renderer export, 2 without it
        const char* text;
    } rows[] = {
        {"the renderer's text and the header", 0, "texte\r\nSource : essai\r\n"},
        {"the clipboard data of the renderer", 1, "texte"},
        {"the model's text through the provider", 2, "texte"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ARefHold<AViewExportProvider> provider(row.provider ? new AViewExportProvider(layer, row.provider == 1)
                                                            : nullptr);
        layer->setExportProvider(provider.get());
        AFormatList formats;
        framed->copyFormats(formats);
        EXPECT_EQ(AFormatList{1}, formats);
        void* data = framed->exportData(1);
        ASSERT_NE(nullptr, data);
        EXPECT_STREQ("texte", static_cast<const char*>(GlobalLock(data)));
        GlobalUnlock(data);
        if (row.provider == 2) {
            EXPECT_EQ(data, framed->convertData(1, data)) << "the provider's text is final";
        }
        GlobalFree(data);
        EXPECT_EQ(nullptr, framed->exportData(8));
        CaptureStream out;
        EXPECT_TRUE(framed->writeText(&out, 0));
        EXPECT_EQ(row.text, out.text);
    }
    layer->setExportProvider(nullptr);
    CaptureStream plainText, rtf;
    EXPECT_TRUE(layer->writePlainText(&plainText, false));
    EXPECT_EQ("texte", plainText.text);
    EXPECT_TRUE(layer->writeRtf(&rtf, false));
    EXPECT_EQ(0u, rtf.text.find("{\\rtf1"));
    CaptureStream none;
    EXPECT_FALSE(Shown(Open<ARendererView>(window, int16_t(13), Frame(0, 0, 50, 50)))->writeText(&none, 1));
    ARefHold<AViewExportProvider> plain(new AViewExportProvider(layer, false));
    AExportCursor cursor = plain->makeRootCursor();
    EXPECT_EQ(model, cursor.model());
    ASSERT_NE(nullptr, cursor.trailerModel()) << "the header follows the document";
    EXPECT_EQ("Source : essai\r\n", std::string(cursor.trailerModel()->exportText(0, 14).c_str()));
    layer->setRenderer(nullptr);
}

TEST_F(RenderTextTest, HelpTipsNameWhatLiesUnderThePointWhereTheSupplierHasAText) {
    make("Voir {dla suite#cible} ou plus\n");
    APoint onText = pointOf(1), onLink = pointOf(9);
    EXPECT_EQ("", std::string(renderer->helpTextAt(onLink).c_str())) << "no supplier, no text";
    ARefHold<TargetHelp> help(new TargetHelp);
    renderer->setHelpTextSupplier(help.get());
    struct Row {
        APoint point;
        const char* text;
        uint16_t valid;
    } rows[] = {{onLink, "cible", 1}, {onText, "", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        AHelpRecord layerTip = view->rendererLayer()->helpTextAt(row.point);
        EXPECT_EQ(row.text, std::string(layerTip.text.c_str()));
        EXPECT_EQ(row.valid, layerTip.valid);
        AHelpRecord viewTip = view->getHelp(row.point);
        EXPECT_EQ(row.valid, viewTip.valid) << "elsewhere the item's own help, here none";
        EXPECT_EQ(row.text, std::string(viewTip.text.c_str()));
    }
    ARenderer* copy = renderer->makeDetachedCopy(ARect(0, 0, 300, 100), true, nullptr);
    ARefHold<ARenderer> copyHold(copy);
    EXPECT_EQ(help.get(), copy->helpTextSupplier()) << "a copy asks the same supplier";
}

TEST_F(RenderTextTest, StreamModelsReadTheFileAndTablesBecomeTableRuns) {
    makeView();
    std::string path = std::string(SV_BINARY_DIR) + "/render-stream.txt";
    struct Row {
        bool laidOut;
        const char* text;
        long positions;  // -1: as many as bytes
        const char* shown;
    } rows[] = {
        {false, "/&TABLE:0:N0:[[-40,0,0,0,0|a]]&/\nFin du texte\n", -1, "Fin du texte\r\n"},
        {true, "Avant {C#cache} apres\nFin du texte\n", 29, "Fin du texte\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        {
            std::ofstream out(path, std::ios::binary);
            out << row.text;
        }
        AFilteredFile file(AFile(AFileSpec(path.c_str()), 0, kPlainFileOptions, false), 0, 0, 0, AFilter());
        if (row.laidOut)
            renderer->setLaidOutStreamModel(file, nullptr);
        else
            renderer->setStreamModel(file, nullptr);
        ADocModel* m = renderer->model();
        ASSERT_NE(nullptr, m);
        EXPECT_EQ(row.laidOut, dynamic_cast<ALaidOutDocModel*>(m) != nullptr);
        long length = static_cast<long>(strlen(row.text));
        EXPECT_EQ(length, m->getLength());
        EXPECT_EQ(row.positions < 0 ? length : row.positions, m->getPositionCount());
        long count = m->getPositionCount();
        EXPECT_EQ(row.shown, std::string(m->exportText(count - 13, count).c_str()));
    }
    {
        std::ofstream out(path, std::ios::binary);
        out << rows[0].text;
    }
    renderer->setStreamModel(
        AFilteredFile(AFile(AFileSpec(path.c_str()), 0, kPlainFileOptions, false), 0, 0, 0, AFilter()), nullptr);
    renderer->enableTables('*');
    renderer->setFrame(ARect(0, 0, 300, 200), false);
    renderer->attach();
    renderer->relayoutFrom(0, true);
    ASSERT_GT(renderer->lines()->lines.count(), 0);
    EXPECT_NE(nullptr, dynamic_cast<ATableDataRun*>(renderer->lines()->lines.at(0)->runs)) << "a table run";
    renderer->setModel(nullptr);
    EXPECT_GT(FatalExitCodeOf([&] { renderer->enableTables('*'); }), 0) << "tables need a model";
}

TEST_F(RenderTextTest, BoundLinesAreFetchedByBlockAndAgainAfterAStyleChange) {
    makeView();
    ARefHold<BlockGetter> getter(new BlockGetter);
    renderer->fetchLine(3);
    renderer->setLineGetter(getter.get(), 1);
    for (long line : {5L, 6L, 7L, 9L})
        renderer->fetchLine(line);
    renderer->styleSheet()->setColor(1, 0x00FF00);
    renderer->fetchLine(9);
    EXPECT_EQ("bind 1;around 5;around 9;around 9;", getter->log);
    ARenderer* copy = renderer->makeDetachedCopy(ARect(0, 0, 300, 100), true, nullptr);
    ARefHold<ARenderer> copyHold(copy);
    ASSERT_NE(nullptr, copy->lineBinding());
    EXPECT_EQ(getter.get(), copy->lineBinding()->getter);
    EXPECT_EQ("bind 1;around 5;around 9;around 9;bind 2;", getter->log) << "a printed copy binds with options 2";
    getter->short_ = true;
    EXPECT_GT(FatalExitCodeOf([&] { renderer->fetchLine(15); }), 0) << "a block that misses the line";
    renderer->setLineGetter(nullptr, 0);
    EXPECT_EQ(nullptr, renderer->lineBinding());
}

TEST_F(RenderTextTest, WithOption0x20TheViewTakesTheListBoxColourOfItsWindow) {
    auto* frame = new AWindow(app, 0, ASizeSpec(ARect(10, 10, 310, 210)), "fond", "",
                              AWindow::kPopup | AWindow::kNoErase, 0, ARect());
    AObject::completeNew(frame);
    app->flushUpdates();
    if (!frame->getHWnd())
        GTEST_SKIP() << "no display";
    auto* v = Shown(Open<AStandardView>(frame, int16_t(5), Frame(0, 0, 200, 100)));
    ARefHold<ATextRenderer> r(new ATextRenderer(v->rendererLayer(), &display));
    v->rendererLayer()->setRenderer(r.get());
    const COLORREF plain = v->getBackColor();
    HBRUSH solid = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH hatched = CreateHatchBrush(HS_CROSS, RGB(1, 2, 3));
    ListColours::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame->getHWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListColours::proc)));
    struct Row {
        const char* name;
        uint16_t options;
        uint16_t windowFlags;
        HBRUSH brush;
        COLORREF colour;
    } rows[] = {
        {"a solid brush gives its colour", 0x20, AWindow::kNoErase, solid, RGB(1, 2, 3)},
        {"another brush: the colour the window set", 0x20, AWindow::kNoErase, hatched, RGB(4, 5, 6)},
        {"without the option: the default", 0, AWindow::kNoErase, solid, plain},
        {"without the window flag: the default", 0x20, 0, solid, plain},
    };
    uint16_t flags = frame->windowFlags();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        r->options = row.options;
        frame->setWindowFlags(static_cast<uint16_t>((flags & ~AWindow::kNoErase) | row.windowFlags));
        ListColours::brush = row.brush;
        EXPECT_EQ(row.colour, v->getBackColor());
    }
    frame->setWindowFlags(flags);
    SetWindowLongPtrA(frame->getHWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListColours::previous));
    v->rendererLayer()->setRenderer(nullptr);
    DeleteObject(solid);
    DeleteObject(hatched);
}

// A copy outlives its source (a printer keeps the copy of its page header and
// lets the header go): it must not draw through a display its source owned.
TEST_F(RenderTextTest, ACopyNeverDrawsThroughADisplayItsSourceOwned) {
    make("texte\n");
    auto* own = new ATextRenderer(view);
    own->addRef();
    ARenderer* copy = own->makeDetachedCopy(ARect(), true, nullptr);
    ASSERT_TRUE(copy);
    auto* text = dynamic_cast<ATextRenderer*>(copy);
    ASSERT_TRUE(text && text->runDisplay());
    EXPECT_NE(own->runDisplay(), text->runDisplay());
    own->release();
    copy->setTextModel("Apr\xE8s la source\n", nullptr);
    copy->setFrame(ARect(0, 0, 200, 100), false);
    copy->relayoutFrom(0, false);
    copy->release();
    // A display given from outside is shared: its owner outlives both.
    ARenderer* shared = renderer->makeDetachedCopy(ARect(), true, nullptr);
    auto* sharedText = dynamic_cast<ATextRenderer*>(shared);
    ASSERT_TRUE(sharedText);
    EXPECT_EQ(renderer->runDisplay(), sharedText->runDisplay());
    shared->release();
}
