// Icon buttons: strip frames, loading, and presses driven by mouse messages.
#include <gtest/gtest.h>

#include "framework/controls/AIconButton.h"
#include "framework/graphics/AImage.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

// Dispatches messages until done answers true or the cap is reached.
template <class Done>
bool PumpUntil(Done done) {
    for (int i = 0; i < 500; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        Sleep(10);
    }
    return false;
}

void Mouse(HWND window, UINT message, int x, int y) {
    PostMessageA(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    PumpUntil([] { return true; });
}

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
    } rows[] = {{"#7", true}, {"#0", false}, {"", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* b = Open<AIconButton>(window, 2, Frame(10, 10, 34, 34), 0x02 | 0x04 | 0x08, row.name);
        ASSERT_EQ(row.hasIcon, b->icon() != nullptr);
        if (b->icon()) {
            EXPECT_EQ(5, b->icon()->body()->spec().columns());
            EXPECT_EQ(24, b->icon()->body()->frameSize().x);
        }
        AComponent* c = b;
        DeleteComponent(c);
    }
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
    window->log.clear();
    Mouse(hwnd, WM_LBUTTONDOWN, 60, 20);
    EXPECT_TRUE(PumpUntil([&] { return window->log.size() >= 3 * 4; })) << window->log;
    Mouse(hwnd, WM_LBUTTONUP, 60, 20);
    std::string held = window->log;
    EXPECT_EQ(std::string::npos, held.find("3:1;")) << held;
    EXPECT_EQ(0u, held.find("3:3;3:3;3:3;")) << held;
    closeWindow();
}
