// Icon buttons: strip frames, loading, and presses driven by mouse messages.
#include <gtest/gtest.h>

#include <vector>

#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AIconButton.h"
#include "framework/graphics/AImage.h"
#include "framework/graphics/ATextStyle.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

// Dispatches the messages already queued.
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The real pointer goes there too: a move the system makes from where the pointer really is would
// otherwise reach the window between the posted ones.
void Mouse(HWND window, UINT message, int x, int y) {
    POINT p = {x, y}, now = {};
    ClientToScreen(window, &p);
    GetCursorPos(&now);
    if (now.x != p.x || now.y != p.y) {
        SetCursorPos(p.x, p.y);
        Pump();
    }
    PostMessageA(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    Pump();
}

// Counts the hover notices (change 3).
class HoverButton : public AIconButton {
public:
    using AIconButton::AIconButton;
    void queueUpdate(long kind) override {
        hovers += kind == 3 ? 1 : 0;
        AIconButton::queueUpdate(kind);
    }
    int hovers = 0;
};

// Shows the frame the button would draw now.
class FrameProbe : public AIconButton {
public:
    using AIconButton::AIconButton;
    using AIconButton::currentFrame;
};

}  // namespace

TEST(IconButton, FrameCountsAndIndicesFollowTheIconFlags) {
    struct Row {
        const char* name;
        uint16_t flags;
        int count;
    } counts[] = {
        {"rollover, focus, disabled", 0x02 | 0x04 | 0x08, 5},
        {"single frame alone", 0x20, 1},
        {"plain", 0, 2},
        {"two rows", 0x01 | 0x02, 0x203},
    };
    for (const Row& row : counts) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.count, AIconButton::frameCount(row.flags));
    }
    const uint16_t on = AClusterItem::kOn, off = AClusterItem::kOff, checked = on | AClusterItem::kMarked;
    struct Index {
        const char* name;
        uint16_t flags, state;
        bool pressed, rollover, enabled, focused;
        int index;
    } indices[] = {
        {"disabled without a disabled frame", 0x02, off, false, false, true, false, -1},
        {"disabled with one", 0x0A, off, false, false, true, false, 0},
        {"inactive with 0x10", 0x12, on, false, false, false, false, -1},
        {"single frame pressed", 0x20, on, true, false, true, false, 0},
        {"pressed with rollover frame", 0x02, on, true, false, true, false, 2},
        {"pressed without", 0, on, true, false, true, false, 1},
        {"rollover", 0x0A, on, false, true, true, false, 2},
        {"focused", 0x06, on, false, false, true, true, 3},
        {"normal", 0x0E, on, false, false, true, false, 1},
        {"checked uses the second set", 0x02, checked, false, false, true, false, 3},
    };
    for (const Index& row : indices) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.index, AIconButton::frameIndex(row.flags, row.state, row.pressed, row.rollover, row.enabled,
                                                     row.focused, 3));
    }
}

TEST_F(ControlsTest, IconNamesGiveAStripOfTheFlagsFramesOrNoIcon) {
    if (!openWindow("icons"))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        bool hasIcon;
    } rows[] = {{"#7", true}, {"STRIP", true}, {"#0", false}, {"", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* b = Open<AIconButton>(window, 2, Frame(10, 10, 34, 34), 0x02 | 0x04 | 0x08, row.name);
        ASSERT_EQ(row.hasIcon, b->icon() != nullptr);
        if (b->icon()) {
            EXPECT_EQ(5, b->icon()->body()->spec().columns());
            EXPECT_EQ(APoint(24, 24), b->icon()->body()->frameSize());
            b->setSingleFrame(true);
            EXPECT_EQ(APoint(30, 24), b->icon()->body()->frameSize()) << "the strip cut again into four frames";
        }
        AComponent* c = b;
        DeleteComponent(c);
    }
    closeWindow();
}

TEST_F(ControlsTest, AChosenButtonWhosePictureHasNoChosenRowDrawsItsPlainFrame) {
    if (!openWindow("chosen"))
        GTEST_SKIP() << "no display";
    auto* b = Open<FrameProbe>(window, 2, Frame(10, 10, 34, 34), 0x08, "#7");
    ASSERT_EQ(1, b->icon()->body()->spec().rows());
    b->setStateBits(AClusterItem::kOn | AClusterItem::kMarked, false);
    EXPECT_EQ(1, b->currentFrame()) << "the plain frame after the disabled one";
    b->invalidate();
    b->showUpdate();
    AComponent* c = b;
    DeleteComponent(c);
    closeWindow();
}

TEST_F(ControlsTest, AHeldRepeatButtonStepsWithCodeThreeAndAPressLeftOutsideGivesNothing) {
    if (!openWindow("press"))
        GTEST_SKIP() << "no display";
    auto* plain = Open<AIconButton>(window, 2, Frame(10, 10, 34, 34), 0x02, "#7");
    auto* repeat = Open<AIconButton>(window, 3, Frame(50, 10, 74, 34), 0x02, "#7");
    repeat->setAutoRepeat(30, 30);
    Shown(plain)->setOn(true);
    Shown(repeat)->setOn(true);
    HWND hwnd = window->hwnd();
    struct Row {
        const char* name;
        int x, upX;
        const char* log;
    } rows[] = {{"click inside", 20, 20, "2:1;"}, {"released outside", 20, 200, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->log.clear();
        Mouse(hwnd, WM_LBUTTONDOWN, row.x, 20);
        EXPECT_TRUE(plain->pressed());
        Mouse(hwnd, WM_MOUSEMOVE, row.upX, 20);
        Mouse(hwnd, WM_LBUTTONUP, row.upX, 20);
        EXPECT_EQ(row.log, window->log);
        EXPECT_FALSE(plain->pressed());
    }
    // The application's clock drives the repeat: first delay 30, then a period of 30.
    struct Step {
        const char* name;
        uint32_t advance;
        const char* log;
    } steps[] = {
        {"before the first delay", 20, ""}, {"at the first delay", 10, "3:3;"},  {"one period later", 30, "3:3;3:3;"},
        {"half a period", 15, "3:3;3:3;"},  {"two periods", 15, "3:3;3:3;3:3;"},
    };
    window->log.clear();
    Mouse(hwnd, WM_LBUTTONDOWN, 60, 20);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        TestClock() += step.advance;
        app->updateTime();
        app->fireDueTimers();
        EXPECT_EQ(step.log, window->log);
    }
    Mouse(hwnd, WM_LBUTTONUP, 60, 20);
    EXPECT_EQ("3:3;3:3;3:3;", window->log) << "no code 1 after repeating";
    TestClock() += 100;
    app->updateTime();
    app->fireDueTimers();
    EXPECT_EQ("3:3;3:3;3:3;", window->log) << "the timer ends with the press";
    closeWindow();
}

TEST_F(ControlsTest, AFramedButtonTakesItsColoursFromItsEnvironmentAndDropsThePressedFrame) {
    if (!openWindow("framed"))
        GTEST_SKIP() << "no display";
    auto* b = new AFramedButton(window, 2, Frame(10, 10, 50, 50), 0x02, "#7");
    b->setDisplayEnv(ATextStyle(nullptr, RGB(1, 2, 3), RGB(10, 20, 30), 0));
    AObject::completeNew(b);
    EXPECT_EQ(RGB(1, 2, 3), b->pressedColour());
    EXPECT_EQ(RGB(10, 20, 30), b->rolloverColour());
    ASSERT_NE(nullptr, b->icon());
    EXPECT_EQ(2, b->icon()->body()->spec().columns()) << "normal and rollover: no pressed frame";
    EXPECT_NE(0, b->itemFlags() & AIconButton::kSingleFrame);
    closeWindow();
}

TEST_F(ControlsTest, StaticImagesBelowAButtonWithoutIconShowItsFramesAndLeavePressesToIt) {
    if (!openWindow("linked"))
        GTEST_SKIP() << "no display";
    auto* b = Shown(Open<AIconButton>(window, 2, Frame(10, 10, 34, 34), 0x0E, ""));
    auto* image = Shown(Open<AStaticImage>(b, 20, Frame(0, 0, 24, 24), "#7", 0));
    ASSERT_NE(nullptr, image->image());
    EXPECT_EQ(5, image->image()->body()->spec().columns()) << "cut into the button's five frames";
    EXPECT_FALSE(image->hasFlags(ADisplayComponent::kActive));
    EXPECT_TRUE(b->drawsLinkedImages());
    EXPECT_EQ(APoint(0, 0), b->iconSize());
    b->setOn(true);
    window->showUpdate();
    HWND hwnd = window->hwnd();
    struct Step {
        const char* name;
        UINT message;
        int x;
        int frame;
        const char* log;
    } steps[] = {
        {"enabled", 0, 0, 1, ""},
        {"pointer over it", WM_MOUSEMOVE, 20, 2, ""},
        {"pressed over the image", WM_LBUTTONDOWN, 20, 3, ""},
        {"released", WM_LBUTTONUP, 20, 1, "2:1;"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        window->log.clear();
        if (step.message)
            Mouse(hwnd, step.message, step.x, 20);
        UpdateWindow(hwnd);
        EXPECT_EQ(step.frame, image->frame());
        EXPECT_EQ(step.log, window->log);
    }
    window->setItemState(2, 0);
    UpdateWindow(hwnd);
    EXPECT_EQ(0, image->frame()) << "not on: the disabled frame";
    b->setIcon(AImageSpec(7, 5, 0, false));
    EXPECT_EQ(APoint(24, 24), b->iconSize());
    EXPECT_FALSE(b->drawsLinkedImages()) << "an icon draws itself";
    AComponent* c = image;
    DeleteComponent(c);
    EXPECT_TRUE(b->linkedImages().empty());
    closeWindow();
}

TEST_F(ControlsTest, AButtonTellsThePointerEnteringAndLeavingOnlyWhenAskedTo) {
    if (!openWindow("hover"))
        GTEST_SKIP() << "no display";
    HWND hwnd = window->hwnd();
    for (bool asked : {true, false}) {
        SCOPED_TRACE(asked);
        auto* b = Shown(Open<HoverButton>(window, 2, Frame(10, 10, 34, 34), 0x02, "#7"));
        b->setOn(true);
        b->setHoverNotify(asked);
        window->showUpdate();
        Mouse(hwnd, WM_MOUSEMOVE, 20, 20);
        EXPECT_EQ(asked ? 1 : 0, b->hovers) << "entered";
        Mouse(hwnd, WM_MOUSEMOVE, 200, 200);
        EXPECT_EQ(asked ? 2 : 0, b->hovers) << "left";
        AComponent* c = b;
        DeleteComponent(c);
    }
    closeWindow();
}

// A drawn button keeps the title its pane gives it (an option button's
// caption, which the caption flag draws over its face); a native one's is its window's.
TEST_F(ControlsTest, ADrawnButtonKeepsItsTitle) {
    if (!openWindow("caption"))
        GTEST_SKIP() << "no display";
    for (uint16_t flags : {uint16_t(0x08), uint16_t(AIconButton::kCaption | 0x09)}) {
        SCOPED_TRACE(flags);
        auto* b = Open<AIconButton>(window, 2, Frame(10, 10, 110, 28), flags, "#7");
        Shown(b)->setOn(true);
        EXPECT_STREQ("", b->getText().c_str());
        b->setText(" pertinence");
        EXPECT_STREQ(" pertinence", b->getText().c_str());
        b->setText(nullptr);
        EXPECT_STREQ("", b->getText().c_str());
        b->setText(" liste");
        b->invalidate();
        b->showUpdate();
        AComponent* c = b;
        DeleteComponent(c);
    }
    closeWindow();
}
