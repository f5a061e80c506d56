// Push buttons, check boxes and radio buttons on native controls.
#include <gtest/gtest.h>

#include "base/procedural/SystemSeams.h"
#include "framework/controls/ACheckButton.h"
#include "framework/controls/AIconButton.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

// Records the BM_SETCHECK values a control is sent.
WNDPROC g_previous = nullptr;
std::string g_checks;

LRESULT CALLBACK CheckSpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_SETCHECK)
        g_checks += std::to_string(wParam) + ";";
    return CallWindowProcA(g_previous, hwnd, message, wParam, lParam);
}

// A clock that moves 30 ms at every reading, and what the buttons were told when.
uint32_t g_now = 0;
std::string g_hilites;

uint32_t SteppingClock() {
    return g_now += 30;
}

void NoteHilite(WPARAM on, bool pressed) {
    g_hilites += std::to_string(on) + "@" + std::to_string(g_now) + (pressed ? " pressed" : "") + ";";
}

LRESULT CALLBACK HiliteSpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_SETSTATE)
        NoteHilite(wParam, false);
    return CallWindowProcA(g_previous, hwnd, message, wParam, lParam);
}

class NotingIconButton : public AIconButton {
public:
    using AIconButton::AIconButton;
    void setHilite(uint16_t on) override {
        AIconButton::setHilite(on);
        NoteHilite(on, pressed());
    }
};

}  // namespace

TEST_F(ControlsTest, AHitFlashesTheButtonFor200MsOfTheApplicationClock) {
    if (!openWindow("flash"))
        GTEST_SKIP() << "no display";
    auto* text = Shown(Open<ATextButton>(window, 2, Frame(10, 10, 110, 35), false, "Valider"));
    auto* icon = Shown(Open<NotingIconButton>(window, 3, Frame(120, 10, 144, 34), 0x02, "#7"));
    window->showUpdate();
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(text->getHWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HiliteSpy)));
    SystemSeams saved = Seams();
    Seams().tickCount = SteppingClock;
    struct Row {
        const char* name;
        AButton* button;
        const char* hilites;
    } rows[] = {
        {"native", text, "1@0;0@240;"},
        {"drawn", icon, "1@0 pressed;0@240;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_now = 0;
        g_hilites.clear();
        window->prepareItemHit(row.button->id());
        EXPECT_EQ(row.hilites, g_hilites) << "released at the first reading 200 ms after the start";
    }
    // A clock that stands still must not hold the program in the wait.
    Seams().tickCount = [] { return uint32_t(5); };
    g_now = 0;
    g_hilites.clear();
    window->prepareItemHit(text->id());
    EXPECT_EQ("1@0;0@0;", g_hilites);
    Seams() = saved;
    SetWindowLongPtrA(text->getHWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    EXPECT_FALSE(icon->pressed());
    closeWindow();
}

TEST_F(ControlsTest, ClickingANativeTwoStateButtonTellsTheOwnerAndOnlyTheStateMovesTheMark) {
    if (!openWindow("check"))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        AButton* button;
        const char* className;
    } rows[] = {
        {"check box", Open<ACheckBox>(window, 2, Frame(10, 10, 150, 30), false, "Case \xe0 cocher"), "KY_CheckBox"},
        {"radio button", Open<ARadioButton>(window, 3, Frame(10, 40, 150, 60), false, "Bouton radio"),
         "KY_RadioButton"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hwnd = row.button->getHWnd();
        ASSERT_NE(nullptr, hwnd);
        char name[32] = "";
        GetClassNameA(hwnd, name, sizeof name);
        EXPECT_STREQ(row.className, name);
        EXPECT_EQ(0, GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) << "buttons take no focus";
        row.button->setOn(true);
        window->log.clear();
        SendMessageA(hwnd, BM_CLICK, 0, 0);
        EXPECT_EQ(std::to_string(row.button->id()) + ":1;", window->log);
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(hwnd, BM_GETCHECK, 0, 0)) << "a click alone never toggles";
        g_checks.clear();
        g_previous =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckSpy)));
        window->setItemStateBit4(row.button->id(), true);
        EXPECT_NE(BST_UNCHECKED, SendMessageA(hwnd, BM_GETCHECK, 0, 0));
        window->setItemStateBit4(row.button->id(), false);
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(hwnd, BM_GETCHECK, 0, 0));
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
        EXPECT_EQ("4;0;", g_checks);
    }
    closeWindow();
}

TEST_F(ControlsTest, ADefaultPushButtonStartsCurrentWithTheDefaultStyleAndLosesItToAnother) {
    if (!openWindow("push"))
        GTEST_SKIP() << "no display";
    auto* ok = Shown(Open<ATextButton>(window, 2, Frame(10, 10, 110, 35), true, "Valider"));
    auto* cancel = Shown(Open<ATextButton>(window, 3, Frame(120, 10, 220, 35), false, "Annuler"));
    window->showUpdate();
    ASSERT_NE(nullptr, ok->getHWnd());
    EXPECT_NE(0, ok->state() & AClusterItem::kCurrent);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(ok->getHWnd(), GWL_STYLE) & 0x0F);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(cancel->getHWnd(), GWL_STYLE) & 0x0F);
    window->setCurrentItem(3);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(ok->getHWnd(), GWL_STYLE) & 0x0F);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(cancel->getHWnd(), GWL_STYLE) & 0x0F);
    cancel->setOn(true);
    window->log.clear();
    SendMessageA(cancel->getHWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ("3:1;", window->log);
    char text[32] = "";
    GetWindowTextA(ok->getHWnd(), text, sizeof text);
    EXPECT_STREQ("Valider", text);
    closeWindow();
}

TEST_F(ControlsTest, AButtonAttachedHiddenGetsItsControlWithItsLabelAndDefaultStyleWhenFirstShown) {
    if (!openWindow("late button"))
        GTEST_SKIP() << "no display";
    window->showUpdate();
    auto* before = Shown(Open<ATextButton>(window, 4, Frame(10, 200, 110, 225), false, "Avant"));
    auto* pane = Open<ADisplayComponent>(window, 1, Frame(0, 0, 400, 190));
    auto* ok = Shown(Open<ATextButton>(pane, 2, Frame(10, 10, 110, 35), true, "Valider"));
    auto* after = Shown(Open<ATextButton>(window, 5, Frame(120, 200, 220, 225), false, "Apr\xe8s"));
    EXPECT_EQ(nullptr, ok->getHWnd()) << "no control while hidden";
    ASSERT_NE(nullptr, before->getHWnd());
    ASSERT_NE(nullptr, after->getHWnd());
    // The way the system stacks children made one after the other.
    UINT onward = GetWindow(before->getHWnd(), GW_HWNDNEXT) == after->getHWnd() ? GW_HWNDNEXT : GW_HWNDPREV;
    ASSERT_EQ(after->getHWnd(), GetWindow(before->getHWnd(), onward));
    ok->setText("Fermer");
    EXPECT_EQ("Fermer", std::string(ok->getText().c_str()));
    pane->showUpdate();
    HWND button = ok->getHWnd();
    ASSERT_NE(nullptr, button);
    EXPECT_TRUE(IsWindowVisible(button));
    char text[32] = "";
    GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ("Fermer", text);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(button, GWL_STYLE) & 0x0F);
    EXPECT_EQ(button, GetWindow(before->getHWnd(), onward)) << "stacked where the layout's order puts it";
    EXPECT_EQ(after->getHWnd(), GetWindow(button, onward));
    closeWindow();
}
