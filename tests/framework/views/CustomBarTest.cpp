// The item-drawn scroll bar: thumb size and place, the empty range, the
// thumb drag with and without live tracking, paging on the track and the
// repeat interval.
#include "framework/graphics/AImage.h"
#include "framework/views/ACustomScrollBar.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

struct BarParts {
    ACustomScrollBar* bar;
    ASliderButton* thumb;
};

// A vertical bar of 200 pixels: line buttons, a 10-pixel thumb, no page
// buttons; its items are made while it opens, as the layout loader does.
class TestBar200 : public ACustomScrollBar {
public:
    TestBar200(AComponent* parent, uint16_t repeat, bool live, bool autoDisable)
        : ACustomScrollBar(parent, int16_t(40), Frame(200, 0, 216, 200), 0, 0, 0, repeat, live),
          autoDisable_(autoDisable) {}
    void childrenLoaded() override {
        Open<AIconButton>(this, int16_t(kLineBack), Frame(0, 0, 16, 16), uint16_t(autoDisable_ ? 0x8 : 0), "");
        Open<AIconButton>(this, int16_t(kLineForward), Frame(0, 184, 16, 200), uint16_t(0), "");
        Open<ASliderButton>(this, int16_t(kThumb), Frame(0, 0, 16, 10));
        ACustomScrollBar::childrenLoaded();
    }

private:
    bool autoDisable_;
};

BarParts MakeBar(AComponent* parent, uint16_t repeat, bool live, bool autoDisable) {
    auto* bar = Open<TestBar200>(parent, repeat, live, autoDisable);
    return {bar, bar->thumb()};
}

}  // namespace

TEST_F(ViewTest, ACustomBarSizesAndPlacesItsThumbByThePage) {
    build(ARect(0, 0, 100, 100), APoint(100, 1000));
    BarParts p = MakeBar(window, 0, false, true);
    EXPECT_TRUE(p.bar->isVertical());
    EXPECT_EQ(100, p.bar->repeatInterval()) << "0 in the layout means 100 ms";
    auto* back = dynamic_cast<AIconButton*>(p.bar->findItem(ACustomScrollBar::kLineBack, false));
    EXPECT_EQ(100u, back->repeatPeriod());
    EXPECT_EQ(1000u, back->firstDelay());
    struct Row {
        int32_t maximum, page, value;
        int32_t length, top;
    } rows[] = {
        {900, 100, 450, 20, 90},   // 200 x 100 / 1000; 450 x 180 / 900
        {100, 900, 100, 180, 20},  // 200 x 900 / 1000, at the end
        {900, 0, 900, 10, 190},    // no page: the natural length
        {900, 100, 0, 20, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.maximum * 1000 + row.page);
        p.bar->setRange(0, row.maximum, row.page, false);
        p.bar->setValue(row.value, false);
        EXPECT_EQ(row.length, p.thumb->getFrame().height());
        EXPECT_EQ(row.top, p.thumb->getFrame().top());
        EXPECT_EQ(16, p.thumb->getFrame().width()) << "the cross axis keeps its size";
    }
    p.bar->setRange(0, 0, 0, false);
    EXPECT_FALSE(p.thumb->hasFlags(ADisplayComponent::kShown)) << "an empty range hides the thumb";
    for (int16_t id = 890; id <= 894; ++id)
        EXPECT_EQ(2, p.bar->commandStatus(id, 0)) << id;
    p.bar->setRange(0, 10, 0, false);
    EXPECT_TRUE(p.thumb->hasFlags(ADisplayComponent::kShown));
    EXPECT_EQ(1, p.bar->commandStatus(890, 0));
}

TEST_F(ViewTest, ACustomBarDragScrollsAtTheReleaseWithoutLiveTrackingAndPagesOnItsTrack) {
    for (bool live : {false, true}) {
        SCOPED_TRACE(live ? "live" : "at release");
        build(ARect(0, 0, 100, 100), APoint(100, 1000));
        BarParts p = MakeBar(window, 50, live, false);
        scroller->attachBar(p.bar, true);
        scroller->update();
        EXPECT_EQ(900, p.bar->maximum());
        EXPECT_EQ(50, p.bar->repeatInterval());
        // A drag of the 20-pixel thumb 60 pixels down: 60 x 900 / (200 - 20) = 300.
        p.thumb->trackStart();
        p.thumb->trackMove(APoint(0, 60), true);
        EXPECT_EQ(live ? 300 : 0, view->scrollY());
        p.thumb->trackEnd(APoint(0, 60));
        EXPECT_EQ(300, view->scrollY());
        EXPECT_EQ(300, p.bar->value());

        // Held on the track below the thumb (no page buttons): a page down.
        ATrackRecord below = {p.bar, APoint(8, 190), p.bar->getLocalBounds(), APoint(8, 190)};
        p.bar->step(below);
        EXPECT_EQ(300 + 84, view->scrollY());
        ATrackRecord above = {p.bar, APoint(8, 2), p.bar->getLocalBounds(), APoint(8, 2)};
        p.bar->step(above);
        EXPECT_EQ(300, view->scrollY());
        ATrackRecord outside = {p.bar, APoint(40, 2), p.bar->getLocalBounds(), APoint(8, 2)};
        p.bar->step(outside);
        EXPECT_EQ(300, view->scrollY()) << "outside the bar";
        p.bar->doCommand(ACustomScrollBar::kLineForward, 0);
        EXPECT_EQ(316, view->scrollY());
        p.bar->detachAll();
        AComponent* w = window;
        DeleteComponent(w);
    }
}

TEST_F(ViewTest, AThumbDraggedPastEitherEndGivesTheRangeEnds) {
    build(ARect(0, 0, 100, 100), APoint(100, 1000));
    BarParts p = MakeBar(window, 0, true, false);
    scroller->attachBar(p.bar, true);
    scroller->update();
    struct Row {
        int32_t drag;
        int32_t value;
    } rows[] = {{-500, 0}, {500, 900}, {-500, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.drag);
        p.thumb->trackStart();
        p.thumb->trackMove(APoint(0, row.drag), true);
        p.thumb->trackEnd(APoint(0, row.drag));
        EXPECT_EQ(row.value, view->scrollY());
        EXPECT_EQ(row.value ? 180 : 0, p.thumb->getFrame().top()) << "the thumb snaps to the view's value";
    }
    p.bar->detachAll();
}
