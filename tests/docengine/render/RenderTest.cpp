// Renderers, the text renderer's selection, menus and notes, hit navigators,
// views and their exports, driven without a native window.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AMarkerCallBack.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/text/AStringReader.h"
#include "framework/controls/APopupMenu.h"
#include "framework/views/AScrollBar.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

class RecordingMarkers : public AMarkerCallBack {
public:
    long newMarker(AHiliteRangeMap*, long) override { return 7; }
    void markerAdded(long id) override { log += "added " + std::to_string(id) + ";"; }
    void editMarker(long id) override { log += "edit " + std::to_string(id) + ";"; }
    void deleteMarker(long id) override { log += "delete " + std::to_string(id) + ";"; }
    void markerDeleted(long id) override { log += "deleted " + std::to_string(id) + ";"; }
    void markerMoved(long id, long to) override {
        log += "moved " + std::to_string(id) + ">" + std::to_string(to) + ";";
    }
    std::string log;
};

class RecordingMenu : public ASelContextMenuCallBack {
public:
    void fillMenu(APopupMenu*, const AString& text) override { texts.push_back(text.c_str()); }
    std::vector<std::string> texts;
};

// The smallest renderer: everything abstract answers nothing.
class BareRenderer : public ARenderer {
public:
    using ARenderer::ARenderer;
    void layoutFrom(long) override {}
    ARenderer* makeCopy(const ARect&, long, long, ARenderer*) override { return nullptr; }
    void draw(const ARect&) override {}
    AHitRecord hitRecordAt(const APoint&) override { return AHitRecord(); }
};

// Counts whole-view invalidations.
class CountingRendererLayer : public ARendererLayer {
public:
    using ARendererLayer::ARendererLayer;
    void invalidate() override {
        ++invalidations;
        ARendererLayer::invalidate();
    }
    int invalidations = 0;
};

}  // namespace

TEST_F(RenderTest, ARendererWithoutAModelAnswersNothingAndKeepsItsDefaultCursors) {
    window = Open<TestWindow>(app, ARect(0, 0, 100, 100), "#background:255,255,255");
    auto* v = Shown(Open<AStandardView>(window, int16_t(7), Frame(0, 0, 90, 90)));
    BareRenderer r(v->rendererLayer(), ARect(0, 0, 90, 90), nullptr);
    r.addRef();
    EXPECT_EQ(-1, r.firstIndex());
    EXPECT_EQ(-1, r.lastIndex());
    EXPECT_EQ(-1, r.markedIndex());
    EXPECT_EQ(-1, r.indexAt(APoint(3, 3)));
    AMouseEvent press(APoint(3, 3), 1);
    EXPECT_EQ(nullptr, r.hitAt(press, nullptr)) << "no model, no tracker";
    struct Row {
        long key;
        long cursor;
    } rows[] = {{-1, -3}, {1, 120}, {2, 102}, {3, 101}, {4, 0x7F01}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.cursor, r.cursorFor(row.key));
    }
    r.setCursors(3, 310, 311);
    EXPECT_EQ(310, r.cursorFor(3));
    r.relayoutFrom(6, true);
    EXPECT_EQ(0, r.state & RendererBits::kLaidOut) << "no layout before attach";
}

TEST_F(RenderTest, ModelNoticesInvalidateOrRelayOutAndADetachedCopyNeverInvalidates) {
    make();
    auto* layer = Shown(Open<CountingRendererLayer>(view, int16_t(11), ASizeSpec::fill));
    ATextRenderer* r = new ATextRenderer(layer, &display);
    r->addRef();
    r->setModel(model);
    r->setFrame(ARect(0, 0, 300, 200), false);
    r->attach();
    r->relayoutFrom(0, true);
    ASSERT_TRUE(r->state & RendererBits::kLaidOut);
    ARenderer* copy = r->makeDetachedCopy(ARect(0, 0, 300, 100), true, nullptr);
    ASSERT_NE(nullptr, copy);
    copy->addRef();
    EXPECT_TRUE(copy->isDetached());
    EXPECT_EQ(nullptr, copy->scroller());
    layer->invalidations = 0;
    model->notify(2, 0);
    EXPECT_EQ(1, layer->invalidations) << "notice 2 invalidates the view once: the copy never does";
    r->state &= static_cast<uint16_t>(~RendererBits::kLaidOut);
    model->notify(6, 0);
    EXPECT_TRUE(r->state & RendererBits::kLaidOut) << "notice 6 relays out";
    copy->release();
    r->release();
}

TEST_F(RenderTest, ShiftClicksMoveTheActiveEndAndAnEmptySelectionHasAOnePixelCaret) {
    make();
    struct Row {
        long start, end;
        uint16_t active;
        long click;
        const char* expected;
        uint16_t activeAfter;
    } rows[] = {{1, 5, 0, 8, "1,8", 0}, {1, 5, 0, 0, "0,5", 1}, {2, 6, 1, 4, "4,6", 1}, {2, 6, 0, 9, "2,9", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        model->setSelection(ADocRange{row.start, row.end}, 0);
        renderer->setActiveEnd(row.active);
        renderer->startSelection(renderer->hitOfPosition(row.click), 0x4);
        EXPECT_EQ(row.expected, selection());
        EXPECT_EQ(row.activeAfter, renderer->activeEnd());
        EXPECT_EQ(0, renderer->caret().second.x - renderer->caret().first.x) << "no caret on a selection";
    }
    renderer->startSelection(renderer->hitOfPosition(3), 0);
    EXPECT_EQ("3,3", selection());
    ARect caret = renderer->caret();
    EXPECT_EQ(1, caret.second.x - caret.first.x);
    EXPECT_EQ(3 * 6 - 1 + renderer->lines()->margin, caret.first.x) << "just left of the insertion point";
    EXPECT_TRUE(view->takesEditCommands() || view->hasEditCommands()) << "the view offers copy";
    EXPECT_EQ(1, view->commandStatus(35, 0));
    view->doCommand(35, 0);
    EXPECT_EQ("0," + std::to_string(model->getLength()), selection()) << "command 35 selects all";
}

TEST_F(RenderTest, ArrowKeysMoveTheCaretAndShiftArrowsExtendFromTheFixedEnd) {
    make();
    model->setSelection(ADocRange{4, 4}, 0);
    renderer->setActiveEnd(0);
    struct Row {
        uint16_t key;
        uint16_t keys;
        const char* expected;
    } rows[] = {{0x27, 0, "5,5"}, {0x27, 4, "5,6"}, {0x27, 4, "5,7"}, {0x25, 0, "6,6"}, {0x25, 4, "5,6"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        renderer->moveSelection(row.key, row.keys);
        EXPECT_EQ(row.expected, selection());
    }
    renderer->moveSelection(0x28, 0);
    EXPECT_GE(model->GetSelection().start, 36) << "down goes to the second line";
}

TEST_F(RenderTest, RightClicksOfferTheSelectionOrTheNoteMenuAndNotesFollowTheMap) {
    make();
    RecordingMenu selectionMenu;
    RecordingMarkers markers;
    AHiliteRangeMap* map = new AHiliteRangeMap();
    map->addRef();
    model->setAttachment(map);
    renderer->menuCallBack = &selectionMenu;
    renderer->markerCallBack = &markers;
    renderer->noteMode = 3;
    model->setSelection(ADocRange{3, 8}, 0);
    AMouseEvent inside(pointOf(5), 0);
    renderer->rightMouseDown(inside);
    ASSERT_EQ(1u, selectionMenu.texts.size());
    EXPECT_EQ("texte", selectionMenu.texts[0]);
    EXPECT_TRUE(renderer->menus.empty());

    AMouseEvent atStart(pointOf(3), 0);
    renderer->choice = 0;
    renderer->rightMouseDown(atStart);
    ASSERT_EQ(1u, renderer->menus.size()) << "the selection's start is not inside it";
    EXPECT_EQ("Ajouter une note", renderer->menus[0]);
    EXPECT_EQ("added 7;", markers.log);
    EXPECT_EQ(7, map->get(3));

    model->setSelection(ADocRange{0, 0}, 0);
    AHitRecord mark = renderer->hitOfPosition(3);
    renderer->choice = 1;
    AMouseEvent onMark(pointOf(3), 0);
    renderer->rightMouseDown(onMark);
    ASSERT_EQ(2u, renderer->menus.size());
    EXPECT_EQ("Supprimer la note|Modifier ou lire la note", renderer->menus[1]);
    EXPECT_EQ(5, mark.kind);
    EXPECT_EQ("added 7;edit 7;", markers.log);

    renderer->setAnchor(3);
    renderer->choice = 0;
    renderer->rightMouseDown(onMark);
    EXPECT_EQ("added 7;edit 7;delete 7;deleted 7;", markers.log);
    EXPECT_EQ(-1, map->get(3));
    model->setAttachment(nullptr);
    map->release();
}

// Every change that drops the model's segments leaves the shown lines on
// segments the model still owns: hits, words and note places stay exact.
TEST_F(RenderTest, AfterTheModelDropsItsSegmentsHitsWordsAndNotePlacesAreTheRealOnes) {
    make();
    ARefHold<AHiliteRangeMap> map(new AHiliteRangeMap());
    ARefHold<AHiliteRangeMap> other(new AHiliteRangeMap());
    renderer->noteMode = 1;  // word starts, as the article view places notes
    struct Row {
        const char* name;
        std::function<void()> change;
    };
    const Row rows[] = {
        {"a marker set bound", [&] { model->setAttachment(map.get()); }},
        {"the bound set read again", [&] { map->parse(""); }},
        {"another set bound", [&] { model->setAttachment(other.get()); }},
        {"segments released", [&] { model->releaseSegments(); }},
        {"a refresh with notice 201", [&] { model->refreshAll(0, 201); }},
        {"a marked range", [&] { model->markRange(0, 10, true, 0); }},
        {"the set unbound, laid out again", [&] {
             model->setAttachment(nullptr);
             renderer->relayoutFrom(0, true);
         }},
    };
    struct Probe {
        long position, wordStart, wordEnd;
    };
    // "texte" (3..8), "quelques" (12..20) and "seconde" on the second line (40..47).
    const Probe probes[] = {{5, 3, 8}, {14, 12, 20}, {43, 40, 47}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.change();
        ALineRenderer* layer = renderer->lines();
        ASSERT_NE(nullptr, layer);
        ASSERT_GT(layer->lines.count(), 1);
        for (long i = 0; i < layer->lines.count(); ++i)
            EXPECT_EQ(model, layer->lines.at(i)->segment()->owner()) << "line " << i;
        for (const Probe& probe : probes) {
            SCOPED_TRACE(probe.position);
            AHitRecord h = renderer->hitOfPosition(probe.position);
            ASSERT_NE(nullptr, h.fragment);
            ASegment* segment = h.fragment->segment();
            ASSERT_EQ(model, segment->owner());
            EXPECT_EQ(probe.position, h.position);
            long local = segment->fromDocument(probe.position);
            EXPECT_NO_THROW(EXPECT_EQ(probe.position, segment->sourceOf(local)));
            EXPECT_NO_THROW(EXPECT_EQ(local, segment->localOfSource(probe.position)));
            ALocalRange word = h.fragment->wordAt(local);
            EXPECT_EQ(probe.wordStart, segment->toDocument(word.start));
            EXPECT_EQ(probe.wordEnd, segment->toDocument(word.end));
            EXPECT_EQ(probe.wordStart, renderer->notePlaceFor(probe.position));
            AHitRecord clicked = renderer->hitRecordAt(h.point);
            EXPECT_EQ(probe.position, clicked.position) << "the click at the position's point";
        }
    }
}

TEST_F(RenderTest, ANavigatorWithoutHitsAnswersNothingAndStepsWithoutWrapping) {
    make();
    AModelHitNavigator none(renderer, 0x10);
    EXPECT_EQ(-1, none.firstHitIndex());
    EXPECT_EQ(-1, none.lastHitIndex());
    EXPECT_EQ(-1, none.findNextHit());
    EXPECT_FALSE(none.hasNextHit());
    EXPECT_FALSE(none.hasPreviousHit());
    EXPECT_EQ(0, none.showNextHit());
    EXPECT_EQ(2, view->commandStatus(121, 112)) << "no navigator: disabled";
    renderer->release();
    renderer = nullptr;
    model->release();
    model = nullptr;

    ARangeArray ranges;
    ranges.addRange(ARange{3, 8});
    ranges.addRange(ARange{41, 47});
    auto* h = new AHighlighter(nullptr, &ranges);
    h->addRef();
    make(kText, h);
    h->release();
    ASSERT_NE(nullptr, renderer->hitNavigator()) << "a model with a highlighter gets a navigator";
    ASearchHitNavigator nav(renderer, 0x10 | 0x100);
    nav.attachModel(model, &ranges);
    EXPECT_EQ(3, nav.firstHitIndex());
    EXPECT_EQ(41, nav.lastHitIndex());
    EXPECT_EQ(1, nav.showNextHit());
    EXPECT_EQ(3, nav.currentHit().start);
    EXPECT_EQ("3,8", selection()) << "flag 0x100 selects the hit";
    EXPECT_EQ(1, nav.showNextHit());
    EXPECT_EQ(41, nav.currentHit().start);
    EXPECT_EQ(-1, nav.findNextHit()) << "no wrap-around after the last hit";
    EXPECT_EQ(3, nav.findPreviousHit());
}

TEST_F(RenderTest, ExportsWriteTheirExtensionAndTheClipboardHoldsTheSelection) {
    make();
    model->setSelection(ADocRange{3, 8}, 0);
    AFormatList formats;
    view->copyFormats(formats);
    ASSERT_EQ(1u, formats.size());
    EXPECT_EQ(1u, formats[0]);
    void* data = view->exportData(1);
    ASSERT_NE(nullptr, data);
    EXPECT_STREQ("texte", static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    GlobalFree(data);
    EXPECT_EQ(nullptr, view->exportData(8));

    std::string base = std::string(SV_BINARY_DIR) + "/artifacts/render-export";
    CreateDirectoryA((std::string(SV_BINARY_DIR) + "/artifacts").c_str(), nullptr);
    ASSERT_TRUE(view->exportRtfFile((base + ".doc").c_str(), true));
    std::ifstream rtf(base + ".rtf", std::ios::binary);
    std::stringstream rtfText;
    rtfText << rtf.rdbuf();
    EXPECT_EQ(0u, rtfText.str().find("{\\rtf1")) << rtfText.str().substr(0, 40);
    ASSERT_TRUE(view->exportTextFile((base + ".doc").c_str(), false));
    std::ifstream txt(base + ".txt", std::ios::binary);
    std::stringstream txtText;
    txtText << txt.rdbuf();
    EXPECT_EQ("texte", txtText.str());

    auto* bare = Shown(Open<ARendererView>(window, int16_t(9), Frame(0, 0, 50, 50)));
    EXPECT_FALSE(bare->exportRtfFile((base + "-none.rtf").c_str(), true)) << "no renderer layer: nothing written";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((base + "-none.rtf").c_str()));
    auto* hotspot = Shown(Open<AHotspotView>(window, int16_t(10), Frame(0, 0, 50, 50)));
    AFormatList hotFormats;
    hotspot->copyFormats(hotFormats);
    EXPECT_EQ(AFormatList{8}, hotFormats);
    EXPECT_EQ(nullptr, hotspot->exportData(1));
    ALoadModelCmd* empty = dynamic_cast<ALoadModelCmd*>(ALoadModelCmd::create());
    ASSERT_NE(nullptr, empty);
    empty->execute();
    delete empty;
}

TEST_F(RenderTest, ALoadModelCommandInstallsAndAttachesAndTheCaretTimerFollowsTheFocus) {
    make();
    AIndexedDocModel* other = MakeIndexedModel("Un autre texte\n");
    {
        ALoadModelCmd load(renderer, other, 3, -1);
        other->release();
        load.execute();
    }
    EXPECT_EQ(other, renderer->model());
    EXPECT_TRUE(renderer->state & RendererBits::kAttached);
    ARendererLayer* layer = view->rendererLayer();
    layer->setActive(true);
    EXPECT_NE(0, layer->caretTimer()) << "an active renderer blinks its caret";
    layer->setActive(false);
    EXPECT_EQ(0, layer->caretTimer());
    layer->setActive(true);
    layer->setRenderer(nullptr);
    EXPECT_EQ(0, layer->caretTimer()) << "no renderer, no timer";
}

TEST_F(RenderTest, ALaidOutTextRendererScrollsItsViewByLinesAndPages) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Ligne " + std::to_string(i) + "\n";
    make(text.c_str());
    EXPECT_EQ(0, view->scrollY());
    EXPECT_GT(view->maxScrollY(), 0) << "forty lines do not fit two hundred pixels";
    int16_t shift = 0;
    int32_t delta = 0;
    struct Row {
        int16_t code;
        bool forward;
    } rows[] = {{1, true}, {3, true}, {0, false}, {2, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        long before = view->scrollY();
        view->scrollVertically(row.code, 0, shift, delta);
        EXPECT_EQ(row.forward, view->scrollY() > before);
        EXPECT_EQ(view->scrollY() - before, delta);
    }
}

// The application's text renderers keep links live with an option bit that a
// detached printing copy must not be confused with: such a renderer still
// drives its scroller, and its bar follows the lines however they move.
TEST_F(RenderTest, ATextRendererWithLiveLinksKeepsItsBarWithItsLines) {
    window = Open<TestWindow>(app, ARect(0, 0, 320, 220), "#background:255,255,255");
    if (!window->openWindow("bar"))
        GTEST_SKIP() << "no display";
    auto* bar = Shown(Open<AScrollerScrollBar>(window, int16_t(40), Frame(300, 0, 316, 200)));
    auto* bars = Shown(Open<AScroller>(window, int16_t(10), Frame(0, 0, 300, 200), uint16_t(0), uint16_t(40)));
    view = Shown(Open<AStandardView>(bars, int16_t(7), ASizeSpec::fill));
    renderer = new MenuTextRenderer(view->rendererLayer(), &display);
    renderer->addRef();
    renderer->options |= TextOptions::kLinksActive;
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "Ligne " + std::to_string(i) + "\n";
    makeModel(text.c_str());
    install();
    EXPECT_FALSE(renderer->isDetached());
    ASSERT_EQ(bars, renderer->scroller());
    ASSERT_GT(view->maxScrollY(), 0);
    EXPECT_EQ(view->maxScrollY(), bar->maximum()) << "the layout gave the bar its range";

    renderer->scrollToPosition(long(text.find("Ligne 30")));
    EXPECT_GT(view->scrollY(), 0);
    EXPECT_EQ(view->scrollY(), bar->value()) << "the lines moved themselves: the bar follows";
    int32_t there = view->scrollY();
    bars->scrollAxis(true, 0, 0);
    EXPECT_LT(view->scrollY(), there) << "a line up goes up from where the lines are";
    EXPECT_EQ(view->scrollY(), bar->value());

    there = view->scrollY();
    AMouseEvent at(APoint(20, 20), 0);
    window->dispatchMouseWheel(at, -3);
    EXPECT_GT(view->scrollY(), there) << "the wheel turned towards the user scrolls down";
    EXPECT_EQ(view->scrollY(), bar->value());
    there = view->scrollY();
    window->dispatchMouseWheel(at, 65536);
    EXPECT_LT(view->scrollY(), there) << "a page up";
    EXPECT_EQ(view->scrollY(), bar->value());
}

TEST_F(RenderTest, PagesBreakAtForcedBreaksAndOrientationsAndCutATallLine) {
    make("Une ligne\n/.Page forcee\n/~Paysage\nFin\n");
    struct Row {
        long height;
        // The first line of each page: 14-pixel lines on 10-pixel pages go on over two pages,
        // and the end of the last one shares its page with the start of "Fin".
        const char* pages;
    } rows[] = {{100, "0|10|24|"}, {10, "0|0|10|10|24|24|34|"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.height);
        renderer->preparePrint(ARect(0, 0, 300, row.height), false);
        std::string pages;
        long last = -1;
        for (long page = 0; renderer->hasMorePages(false) && page < 10; ++page) {
            if (row.height == 100 && page == 2) {
                EXPECT_EQ(2, renderer->pageKind(page, last)) << "the landscape paragraph asks for its page";
            }
            renderer->printPage(ARect(0, 0, 300, row.height), page, false, false, last);
            last = page;
            pages += std::to_string(renderer->lines()->lines.first()->start) + "|";
        }
        EXPECT_EQ(row.pages, pages);
    }
}

TEST_F(RenderTest, AWordClickSelectsTheWordAndKeepsItsHit) {
    make();
    renderer->options = TextOptions::kWordClick;
    struct Row {
        long position;
        uint16_t kind;
        const char* selection;
    } rows[] = {{5, 2, "3,8"}, {9, 2, "9,11"}, {2, 2, "0,2"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        AHitRecord hit = renderer->hitOfPosition(row.position);
        EXPECT_EQ(row.kind, hit.kind);
        renderer->activateHit(hit);
        EXPECT_EQ(row.selection, selection());
    }
    ASSERT_NE(nullptr, renderer->hitRecord());
    EXPECT_EQ(4, renderer->getHitKind()) << "a word hit reports kind 4";
}
