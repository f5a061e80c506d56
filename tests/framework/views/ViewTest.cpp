// Scroll arithmetic of views and layer views, the scroll keys, and scrollers
// sharing a bar; no native window is needed.
#include <windows.h>

#include <string>

#include "framework/app/AApp.h"
#include "framework/controls/AIconButton.h"
#include "framework/display/APrintRange.h"
#include "framework/graphics/AImage.h"
#include "tests/framework/views/ViewTestSupport.h"

TEST_F(ViewTest, VerticalAndHorizontalScrollsMoveClampAndSayWhetherPixelsCanShift) {
    struct Row {
        const char* name;
        bool vertical;
        int32_t start;
        int16_t code;
        int32_t value;
        int32_t position;
        int16_t shift;
        bool answer;
    } rows[] = {
        {"three lines in a 100-pixel frame move max(48, 84)", true, 0, 1, 3, 84, -84, true},
        {"ten lines move 160, too far to shift", true, 0, 1, 10, 160, 0, false},
        {"a line back with no count moves one step", true, 100, 0, 0, 84, 16, true},
        {"a page forward moves max(16, 84)", true, 0, 3, 0, 84, -84, true},
        {"a position beyond the maximum lands on it", true, 0, 4, 99999, 900, 0, false},
        {"a negative position lands on 0", true, 50, 4, -5, 0, 50, true},
        {"horizontal lines ignore the count", false, 0, 1, 10, 16, -16, true},
        {"horizontal page back at 0 stays", false, 0, 2, 0, 0, 0, true},
    };
    build(ARect(0, 0, 100, 100), APoint(400, 1000));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        view->scrollTo(row.vertical ? APoint(0, row.start) : APoint(row.start, 0));
        int16_t shift = 99;
        int32_t delta = 0;
        bool answer = row.vertical ? view->scrollVertically(row.code, row.value, shift, delta)
                                   : view->scrollHorizontally(row.code, row.value, shift, delta);
        EXPECT_EQ(row.position, row.vertical ? view->scrollY() : view->scrollX());
        EXPECT_EQ(row.position - row.start, delta);
        EXPECT_EQ(row.shift, shift);
        EXPECT_EQ(row.answer, answer);
    }
}

TEST_F(ViewTest, ContentSizeAndScrollToMoveThePositionAndTheWindowPositions) {
    build(ARect(0, 0, 100, 100), APoint(400, 1000));
    auto* child = Shown(Open<AAtomicItem>(view, int16_t(9), Frame(10, 300, 50, 320), 0, 1, nullptr, 0));
    APoint viewPos = view->windowPosition(), childPos = child->windowPosition();
    view->scrollTo(APoint(30, 200));
    EXPECT_EQ(viewPos - APoint(30, 200), view->windowPosition());
    EXPECT_EQ(childPos - APoint(30, 200), child->windowPosition());
    EXPECT_EQ(ARect(30, 200, 130, 300), view->getLocalBounds());
    // Smaller content pulls the position back to the size itself.
    view->setContentSize(APoint(20, 150));
    EXPECT_EQ(APoint(20, 150), view->getLocalOrigin());
    EXPECT_EQ(50, view->maxScrollY());
    // The scroller's update then pulls it to the maximum, on both axes at once.
    scroller->update();
    EXPECT_EQ(APoint(0, 50), view->getLocalOrigin());
    EXPECT_EQ(APoint(0, 50), scroller->position());
}

TEST_F(ViewTest, ScrollKeysGoThroughTheScrollerOnlyForAnActiveViewWithOne) {
    build(ARect(0, 0, 100, 100), APoint(400, 1000));
    view->setActiveFlag(true);
    struct Row {
        const char* name;
        uint16_t key;
        APoint position;
    } rows[] = {
        {"end", VK_END, APoint(0, 900)},   {"home", VK_HOME, APoint(0, 0)},      {"page down", VK_NEXT, APoint(0, 84)},
        {"down", VK_DOWN, APoint(0, 100)}, {"right", VK_RIGHT, APoint(16, 100)}, {"left", VK_LEFT, APoint(0, 100)},
        {"up", VK_UP, APoint(0, 84)},      {"page up", VK_PRIOR, APoint(0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AKeyEvent key(row.key, 0, 1);
        EXPECT_EQ(AComponent::noChangeCommand(), view->keyToCommand(key));
        EXPECT_EQ(row.position, view->getLocalOrigin());
        EXPECT_EQ(row.position, scroller->position());
    }
    AKeyEvent end(VK_END, 0, 1);
    view->setActiveFlag(false);
    view->keyToCommand(end);
    EXPECT_EQ(APoint(0, 0), view->getLocalOrigin()) << "inactive";
    view->setActiveFlag(true);
    view->setScroller(nullptr);
    view->keyToCommand(end);
    EXPECT_EQ(APoint(0, 0), view->getLocalOrigin()) << "no scroller";
}

TEST_F(ViewTest, LayerViewsAskTheirLayersBottomFirst) {
    window = Open<TestWindow>(app, ARect(0, 0, 200, 200), nullptr);
    scroller = Shown(Open<AScroller>(window, int16_t(3), Frame(0, 0, 100, 100), uint16_t(0), uint16_t(0)));
    auto* lv = Shown(Open<ALayerView>(scroller, int16_t(4), Frame(0, 0, 100, 100), 0, 1, nullptr, 0x3000));
    lv->setContentSize(APoint(400, 1000));
    EXPECT_EQ(0, lv->keyScrollFlags()) << "no layers, no keys";
    EXPECT_EQ(900, lv->maxScrollY()) << "no layers: the view's own";
    auto* bottom = Shown(Open<CountingLayer>(lv, int16_t(1)));
    auto* top = Shown(Open<CountingLayer>(lv, int16_t(2)));
    EXPECT_EQ(2, lv->layerCount());
    EXPECT_EQ(bottom, lv->layerAt(0));
    EXPECT_TRUE(bottom->hasFlags(ADisplayComponent::kEraseBackground));
    EXPECT_FALSE(top->hasFlags(ADisplayComponent::kEraseBackground)) << "only the first layer erases";
    window->setPlaced(true);  // no window lays the tree out here
    scroller->setPlaced(true);
    lv->setPlaced(true);
    lv->relayout();
    scroller->update();

    scroller->scrollAxis(true, 1, 0);
    EXPECT_EQ(16, lv->scrollY()) << "two layers move the view once";
    EXPECT_EQ(1, bottom->scrolls);
    EXPECT_EQ(1, top->scrolls);
    for (CountingLayer* l : {bottom, top})
        EXPECT_EQ(lv->getLocalBounds(), l->getFrame());
    scroller->scrollTo(40, 300);
    for (CountingLayer* l : {bottom, top}) {
        EXPECT_EQ(ARect(40, 300, 140, 400), l->getFrame());
        EXPECT_EQ(ARect(40, 300, 140, 400), l->getLocalBounds());
    }

    auto* blocker = Shown(Open<CountingLayer>(lv, int16_t(6), 0));
    lv->removeChild(bottom);
    lv->removeChild(top);
    EXPECT_EQ(blocker, lv->layerAt(0));
    EXPECT_EQ(nullptr, bottom->layerOwner());
    scroller->update();
    scroller->scrollAxis(true, 3, 0);
    EXPECT_EQ(0, lv->scrollY()) << "a layer answering 0 blocks vertical scrolling";
    lv->addChild(bottom);
    lv->addChild(top);
    lv->removeChild(blocker);
    AComponent* gone = blocker;
    DeleteComponent(gone);
    lv->setLayerState(7, 1);
    lv->setLayerState(1, 3);
    EXPECT_EQ(3, lv->layerAt(1)->layerState());
}

TEST_F(ViewTest, ScrollersSharingABarScrollTogetherAndConvertForNativeBars) {
    window = Open<TestWindow>(app, ARect(0, 0, 300, 200), nullptr);
    auto* bar = Open<TestBar>(window, int16_t(40));
    AScroller* s[2];
    LinesView* v[2];
    for (int i = 0; i < 2; ++i) {
        s[i] = Shown(
            Open<AScroller>(window, int16_t(10 + i), Frame(i * 100, 0, i * 100 + 100, 100), uint16_t(0), uint16_t(40)));
        v[i] = Shown(Open<LinesView>(s[i], ARect(0, 0, 100, 100), int16_t(20 + i)));
        s[i]->setUpItems();
        v[i]->setContentSize(APoint(100, 1000));
        s[i]->update();
    }
    ASSERT_EQ(2u, bar->scrollerCount());
    EXPECT_TRUE(bar->isVertical());
    bar->broadcast(3, 0);
    EXPECT_EQ(84, v[0]->scrollY()) << "page down";
    EXPECT_EQ(84, v[1]->scrollY());
    s[0]->scrollAxis(true, 4, 500);
    EXPECT_EQ(500, v[1]->scrollY()) << "a follower repeats a scroller's move";
    EXPECT_EQ(500, bar->value());
    bar->broadcast(8, 0);
    EXPECT_EQ(500, v[0]->scrollY()) << "end of gesture";
    bar->detachAll();
    EXPECT_EQ(nullptr, s[0]->verticalBar());

    struct Row {
        int32_t minimum, maximum, value;
        unsigned shift;
        int32_t nativeMax, nativePos;
    } rows[] = {{0, 100000, 50000, 2, 25000, 12500},
                {0, 32767, 5, 0, 32767, 5},
                {0, 32768, 5, 1, 16384, 2},
                {10, 5, 0, 0, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.maximum);
        AScrollRange range(row.minimum, row.maximum, row.value);
        ANativeScale scale(range);
        EXPECT_EQ(row.shift, scale.shift);
        EXPECT_EQ(row.nativeMax, scale.nativeMaximum());
        EXPECT_EQ(row.nativePos, scale.toNative(range.value()));
        EXPECT_EQ(range.maximum(), scale.fromNative(scale.nativeMaximum()));
    }
    AScrollRange r(0, 0, 0);
    EXPECT_TRUE(r.setRange(10, 5, 0, false));
    EXPECT_EQ(10, r.maximum());
    EXPECT_EQ(10, r.value());
    EXPECT_FALSE(r.setRange(10, 10, 0, false)) << "nothing changed";
}

TEST_F(ViewTest, AutoScrollActsOnTheEightDirectionsOnly) {
    build(ARect(0, 0, 100, 100), APoint(400, 1000));
    scroller->scrollTo(100, 100);
    struct Row {
        uint16_t directions;
        APoint position;
    } rows[] = {{3, APoint(100, 100)}, {7, APoint(100, 100)}, {5, APoint(84, 84)},  {10, APoint(100, 100)},
                {2, APoint(116, 100)}, {8, APoint(116, 116)}, {0, APoint(116, 116)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.directions);
        scroller->autoScroll(row.directions);
        EXPECT_EQ(row.position, view->getLocalOrigin());
    }
}

TEST_F(ViewTest, APanelViewTakesItsFrameAsContentAndNeverTracks) {
    window = Open<TestWindow>(app, ARect(0, 0, 300, 200), nullptr);
    scroller = Shown(Open<AScroller>(window, int16_t(3), Frame(0, 0, 120, 80), uint16_t(0), uint16_t(0)));
    auto* panel = Shown(Open<APanelView>(scroller, int16_t(4), Frame(0, 0, 120, 80), 0, 1, nullptr, 0x3000));
    EXPECT_EQ(APoint(120, 80), panel->getContentSize());
    EXPECT_EQ(0, panel->maxScrollY());
    EXPECT_TRUE(panel->clipsChildren());
    EXPECT_FALSE(view && view->clipsChildren());
    AMouseEvent press(APoint(5, 5), 1);
    EXPECT_EQ(nullptr, panel->makeMouseTracker(press));
}

TEST_F(ViewTest, AButtonTrackerPassesThePressStepsToItsButton) {
    struct StepButton : AIconButton {
        StepButton(AComponent* parent) : AIconButton(parent, 70, Frame(0, 0, 20, 20), 0, "") {}
        void trackStart() override { log += "start "; }
        void trackMove(const APoint& where, bool moved) override {
            log += moved ? "move " : "still ";
            (void)where;
        }
        void trackEnd(const APoint& where) override { log += where == APoint(5, 19) ? "end-pinned " : "end "; }
        std::string log;
    };
    window = Open<TestWindow>(app, ARect(0, 0, 300, 200), nullptr);
    if (!window->openWindow("button"))
        GTEST_SKIP() << "no display";
    auto* b = Shown(Open<StepButton>(window));
    AButtonTracker tracker(b, AMouseEvent(APoint(5, 5), 1));
    tracker.trackBegin();
    AMouseEvent move(APoint(6, 5), 1);
    tracker.mouseMoved(move);
    AMouseEvent same(APoint(6, 5), 1);
    tracker.mouseMoved(same);
    AMouseEvent up(APoint(5, 40), 0);
    tracker.trackRelease(up);
    EXPECT_EQ("start move still end-pinned ", b->log);
}

TEST_F(ViewTest, ALayerViewOffersKeysToItsLayersTopFirst) {
    struct KeyLayer : AViewLayer {
        KeyLayer(AComponent* parent, int16_t id, bool takes, std::string& log)
            : AViewLayer(parent, id, ASizeSpec::fill), takes_(takes), log_(log) {}
        ACommand* keyToCommand(AKeyEvent&) override {
            log_ += std::to_string(id()) + " ";
            return takes_ ? noChangeCommand() : passThroughCommand();
        }
        bool takes_;
        std::string& log_;
    };
    std::string log;
    window = Open<TestWindow>(app, ARect(0, 0, 200, 200), nullptr);
    auto* lv = Shown(Open<ALayerView>(window, int16_t(4), Frame(0, 0, 100, 100), 0, 1, nullptr, 0x3000));
    Shown(Open<KeyLayer>(lv, int16_t(1), true, log));
    Shown(Open<KeyLayer>(lv, int16_t(2), false, log));
    Shown(Open<KeyLayer>(lv, int16_t(3), false, log));
    AKeyEvent key('A', 0, 1);
    EXPECT_NE(0, lv->dispatchKey(key));
    EXPECT_EQ("3 2 1 ", log) << "the top layer first, until one takes it";
}

TEST_F(ViewTest, AViewAnswersTheMouseSettingTheApplicationHadWhenItWasAttached) {
    for (uint16_t setting : {0, 1, 2}) {
        SCOPED_TRACE(setting);
        app->setMouseSetting(setting);
        window = Open<TestWindow>(app, ARect(0, 0, 200, 200), nullptr);
        auto* lv = Shown(Open<ALayerView>(window, int16_t(4), Frame(0, 0, 100, 100), 0, 1, nullptr, 0x3000));
        auto* layer = Shown(Open<CountingLayer>(lv, int16_t(1)));
        EXPECT_EQ(setting, lv->isMouseSensitive());
        EXPECT_EQ(setting, layer->isMouseSensitive()) << "a layer answers its view's";
        app->setMouseSetting(setting ? 0 : 1);
        EXPECT_EQ(setting, lv->isMouseSensitive()) << "a later change is not seen";
        lv->setMouseSensitive(7);
        EXPECT_EQ(7, layer->isMouseSensitive());
    }
}

namespace {

// A layer that logs the pass steps; pages (when set) are its page count, the
// pages it has and the one it turns landscape.
struct PrintLayer : AViewLayer {
    PrintLayer(AComponent* parent, int16_t id, std::string& log, long pages = 0)
        : AViewLayer(parent, id, ASizeSpec::fill), pages_(pages), log_(log) {}
    long firstPage() override { return pages_ ? 1 : 0; }
    long countPages(const ARect&) override { return pages_; }
    bool preparePart(long part) override { return pages_ ? part < 2 : AViewLayer::preparePart(part); }
    bool pageAvailable(const APrintRange& range, long page) override {
        return pages_ ? page < pages_ : AViewLayer::pageAvailable(range, page);
    }
    long pageOrientation(long page) override { return pages_ && page == 1 ? 2 : 0; }
    void beginPrinting(const ARect&) override { note("begin"); }
    void endPrinting() override { note("end"); }
    void cancelPrinting() override { note("cancel"); }
    void drawPage(const ARect&, long page, bool draw) override {
        note((draw ? "draw" : "skip") + std::to_string(page));
    }
    void note(const std::string& what) { log_ += what + std::to_string(id()) + " "; }
    long pages_;
    std::string& log_;
};

}  // namespace

TEST_F(ViewTest, ALayerViewHandsThePrintStepsToItsLayers) {
    std::string log;
    window = Open<TestWindow>(app, ARect(0, 0, 200, 200), nullptr);
    auto* lv = Shown(Open<ALayerView>(window, int16_t(4), Frame(0, 0, 100, 100), 0, 1, nullptr, 0x3000));
    Shown(Open<PrintLayer>(lv, int16_t(1), log, 3L));
    Shown(Open<PrintLayer>(lv, int16_t(2), log));
    Shown(Open<PrintLayer>(lv, int16_t(3), log));
    ARect body(0, 0, 50, 50);

    lv->beginPrinting(body);
    lv->drawPage(body, 0, true);
    lv->setLayerState(1, 1);
    lv->drawPage(body, 1, false);
    lv->endPrinting();
    lv->cancelPrinting();
    EXPECT_EQ("begin1 begin2 begin3 draw01 draw02 draw03 skip11 skip13 end3 end2 end1 cancel3 cancel2 cancel1 ", log)
        << "the pass opens bottom first and closes top first; a layer whose state is set is not drawn";

    APrintRange range{0, 9, 1, 1, 1};
    struct Row {
        long page;
        bool available;
        long orientation;
    } rows[] = {{0, true, 0}, {1, true, 2}, {2, true, 0}, {3, false, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        EXPECT_EQ(r.available, lv->pageAvailable(range, r.page))
            << "the paginating layer decides, though the plain layers above it have every page of the range";
        EXPECT_EQ(r.orientation, lv->pageOrientation(r.page));
    }
    EXPECT_FALSE(lv->pageAvailable(APrintRange{0, 1, 1, 1, 1}, 2)) << "never past the range";
    EXPECT_EQ(3, lv->countPages(body)) << "the first layer from the top that counts";
    EXPECT_TRUE(lv->preparePart(1)) << "a later part of the paginating layer";
    EXPECT_FALSE(lv->preparePart(2));
    EXPECT_EQ(1, lv->firstPage());
}
