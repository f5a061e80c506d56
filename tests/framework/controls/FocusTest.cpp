// The keyboard focus under Xvfb with real keys: it follows the command target
// into the edit boxes of a framework window, Tab moves both, and a window that
// is not the framework's keeps the focus it has.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/app/AWindow.h"
#include "framework/clusters/ACommandItem.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/ANativeViewWindow.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

std::string TextOf(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Runs the loop until done answers true or about three seconds passed.
bool RunUntil(AApp* app, const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            app->runOnce();
        else
            Sleep(10);
    }
    return done();
}

void Press(BYTE key) {
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

}  // namespace

TEST_F(ControlsTest, TheFocusFollowsTheTargetIntoEditBoxesButNeverLeavesAForeignWindow) {
    auto* w = Open<AWindow>(app, 0, Frame(40, 40, 360, 160), "focus", "", 0x0005, 0, ARect());
    if (!w->getHWnd())
        GTEST_SKIP() << "no display";
    auto* first = Shown(Open<AEditBox>(w, 2, Frame(10, 10, 200, 34), 0, ""));
    auto* second = Shown(Open<AEditBox>(w, 3, Frame(10, 50, 200, 74), 0, ""));
    first->setOn(true);
    second->setOn(true);
    w->select();
    SetForegroundWindow(w->getHWnd());
    ASSERT_TRUE(RunUntil(app, [&] { return app->activeWindow() == w; }));
    EXPECT_EQ(first, app->target()) << "the first tab stop takes the focus";
    EXPECT_EQ(first->getHWnd(), GetFocus()) << "the target's native window has the focus";
    struct Row {
        const char* name;
        BYTE key;
        AEditBox* target;
        const char* firstText;
        const char* secondText;
    } rows[] = {
        {"a letter goes to the first box", 'A', first, "a", ""},
        {"tab moves the target and the focus", VK_TAB, second, "a", ""},
        {"the next letter goes to the second box", 'B', second, "a", "b"},
        {"tab wraps to the first", VK_TAB, first, "a", "b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Press(row.key);
        EXPECT_TRUE(RunUntil(app,
                             [&] {
                                 return app->target() == row.target && TextOf(first->getHWnd()) == row.firstText &&
                                        TextOf(second->getHWnd()) == row.secondText;
                             }))
            << TextOf(first->getHWnd()) << "|" << TextOf(second->getHWnd());
        EXPECT_EQ(row.target->getHWnd(), GetFocus());
    }

    // A window of no framework class in front, as a message box would be.
    HWND foreign = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 400, 40, 200, 24, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, foreign);
    SetForegroundWindow(foreign);
    SetFocus(foreign);
    ASSERT_TRUE(RunUntil(app, [&] { return GetFocus() == foreign; }));
    second->becomeTarget(1);
    first->becomeTarget(1);
    w->refreshFocus();
    Press('C');
    EXPECT_TRUE(RunUntil(app, [&] { return TextOf(foreign) == "c"; }));
    EXPECT_EQ(foreign, GetFocus());
    EXPECT_EQ("a", TextOf(first->getHWnd()));
    DestroyWindow(foreign);
    AComponent* root = w;
    DeleteComponent(root);
}

TEST_F(ControlsTest, AViewWindowKeepsTheFocusFromAFrameworkWindowThatTakesNoneButNotFromAForeignOne) {
    auto* w = Open<AWindow>(app, 0, Frame(40, 40, 360, 200), "views", "", 0x0005, 0, ARect());
    if (!w->getHWnd())
        GTEST_SKIP() << "no display";
    auto* item = Shown(Open<AAtomicItem>(w, 4, Frame(10, 10, 110, 60), 0, 1, nullptr, 0x3000));
    auto* picture = Shown(Open<ADisplayComponent>(w, 0, Frame(10, 80, 110, 130)));
    ANativeViewWindow itemWindow(item, w->getHWnd(), 0, ARect(10, 10, 110, 60), true);
    ANativeViewWindow pictureWindow(picture, w->getHWnd(), 0, ARect(10, 80, 110, 130), true);
    item->setNativeWindow(itemWindow.hwnd());
    picture->setNativeWindow(pictureWindow.hwnd());
    w->select();
    SetForegroundWindow(w->getHWnd());
    ASSERT_TRUE(RunUntil(app, [&] { return app->activeWindow() == w; }));
    SetFocus(itemWindow.hwnd());
    EXPECT_EQ(item, app->target()) << "a display that takes the focus becomes the target";
    SetFocus(pictureWindow.hwnd());
    EXPECT_EQ(itemWindow.hwnd(), GetFocus()) << "a framework window that takes no focus gives it back";
    EXPECT_EQ(item, app->target());

    HWND foreign = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 400, 40, 200, 24, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, foreign);
    SetForegroundWindow(foreign);
    SetFocus(foreign);
    RunUntil(app, [] { return false; });
    // Without a window manager the X server may drop the focus to no window at all; what matters is
    // that the framework never takes it back.
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == foreign || focus == nullptr) << "a window that is not the framework's keeps the focus";
    DestroyWindow(foreign);
    item->setNativeWindow(nullptr);
    picture->setNativeWindow(nullptr);
}
