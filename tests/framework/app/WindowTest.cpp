// Windows opened from layouts in a real MDI frame under Xvfb: titles, flags,
// the window commands and closing, the window manager's counts, walks and
// coordinates, and the framework's accelerators through the loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/object/AMemoryStream.h"
#include "base/object/InputRecords.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/app/AWindowManager.h"
#include "framework/clusters/ACommandItem.h"
#include "framework/clusters/AGlobalCluster.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ASizerGroup.h"
#include "framework/menus/AMenuBar.h"
#include "framework/resources/AResource.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AWindowShell.h"
#include "tests/framework/app/WindowTestSupport.h"

namespace {

// An application whose tool bar comes from the layout it names.
class NamedBarApp : public MdiApp {
public:
    explicit NamedBarApp(const char* layout) : layout_(layout) {}
    AString toolBarLayoutName() override { return AString(layout_); }

private:
    const char* layout_;
};

// A window that refuses to close when asked.
class StubbornWindow : public AWindow {
public:
    using AWindow::AWindow;
    bool canClose(bool asking) override { return !asking; }
};

// A window that never agrees to close.
class LockedWindow : public AWindow {
public:
    using AWindow::AWindow;
    bool canClose(bool) override { return false; }
};

// Told of the application's changes.
class KindProbe : public AComponent {
public:
    explicit KindProbe(AComponent* parent) : AComponent(parent, 0) {}
    void linkChanged(AComponent*, const AKindSet& kinds) override {
        for (long k : {5L, 6L, 9L, 10L, 11L})
            if (kinds.contains(k))
                seen += std::to_string(k) + " ";
    }
    std::string seen;
};

std::vector<WPARAM> g_commands;
HWND g_frame = nullptr;

LRESULT CALLBACK RecordCommands(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_COMMAND && m->hwnd == g_frame && m->lParam == 0)
        g_commands.push_back(LOWORD(m->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(WindowFlagsTest, FlagsImplyEachOtherAndGiveTheNativeStyle) {
    struct Row {
        uint16_t flags;
        uint16_t implied;
        uint16_t afterStyle;
        DWORD style;
    };
    const DWORD clip = WS_CLIPCHILDREN;
    const Row rows[] = {
        {0x2000 | 0x0810, 0x2000 | 0x091C, 0x2040, clip},
        {0x0000, 0x0000, 0x1000, clip | WS_BORDER | WS_POPUP},
        {0x0040, 0x0040, 0x1040, clip | WS_POPUP},
        {0x0020, 0x0020, 0x1020, clip | WS_DLGFRAME | WS_POPUP},
        {0x0400, 0x051C, 0x051C,
         clip | WS_MAXIMIZE | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_SYSMENU | WS_MINIMIZEBOX | WS_CAPTION},
        {0x0200, 0x0304, 0x0304, clip | WS_MINIMIZE | WS_MINIMIZEBOX | WS_CAPTION},
        {0x0800, 0x080C, 0x080C, clip | WS_SYSMENU | WS_CAPTION},
        {0x0002 | 0x0004, 0x0007, 0x0007, clip | 2 | WS_CAPTION},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flags);
        uint16_t f = AWindow::impliedFlags(r.flags);
        EXPECT_EQ(r.implied, f);
        EXPECT_EQ(r.style, AWindow::nativeStyle(f));
        EXPECT_EQ(r.afterStyle, f);
    }
}

TEST_F(WindowTest, CaptionedWindowsWithoutTitleAreNumberedAndOthersKeepTheirs) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        uint16_t flags;
        const char* title;
        const char* expected;
        bool mdiChild;
    };
    const Row rows[] = {
        {0x0004, "", "Sans Titre1", true},  {0x0040, "", "", false},
        {0x0810, "", "Sans Titre2", true},  {0x0004, "Atlas", "Atlas", true},
        {0x0005, "", "Sans Titre3", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flags);
        AWindow* w = open(r.flags, r.title);
        EXPECT_EQ(r.expected, std::string(w->getTitle().c_str()));
        EXPECT_EQ(r.mdiChild, w->isMdiChild());
        char text[64] = "";
        GetWindowTextA(w->getHWnd(), text, sizeof text);
        EXPECT_EQ(r.expected, std::string(text));
        EXPECT_EQ(r.mdiChild, GetParent(w->getHWnd()) == GetMdiClientWindow());
    }
}

TEST_F(WindowTest, ALayoutWindowLeftAtMinus32768TakesTheDefaultPosition) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    // The record as compiled: past the header, the children block and the class name.
    AResource resource(kLayoutType, "DefaultPlace");
    resource.open();
    AMemoryStream stream(const_cast<void*>(resource.getData()), resource.getSize());
    for (int i = 0; i < 5; ++i)
        stream.readShort();
    EXPECT_EQ("AWindow", std::string(stream.readString(-1).c_str()));
    {
        // Read alone: attaching would move it to where the system puts it.
        AWindow read;
        EXPECT_EQ(-1, FatalExitCodeOf([&] { read.readFrom(stream); })) << errors.text;
        resource.close();
        const int32_t cw = static_cast<int32_t>(CW_USEDEFAULT);
        EXPECT_EQ(ARect(cw, 20, cw + 400, 320), read.getSizeSpec().absoluteFrame());
        EXPECT_EQ(
            "Plac\xE9"
            "e",
            std::string(read.getTitle().c_str()));
        EXPECT_EQ(0x0800, read.windowFlags());
    }

    AComponent* made = AComponent::loadLayout(app, "DefaultPlace", 0);
    auto* w = dynamic_cast<AWindow*>(made);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(0x080C, w->windowFlags());
    EXPECT_TRUE(IsWindow(w->getHWnd()));
    EXPECT_EQ(400, w->getFrame().width());
}

TEST_F(WindowTest, WindowCommandsCloseThroughTheQueueOrOnlyHide) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        uint16_t flags;
        bool deletes;
        int16_t closeStatus;
    };
    const Row rows[] = {{0x0004, true, 2}, {0x0804, true, 1}, {0x0804, false, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.flags) + (r.deletes ? " deletes" : " hides"));
        AWindow* w = open(r.flags, "w");
        w->setDeleteOnClose(r.deletes);
        w->showUpdate();
        EXPECT_EQ(r.closeStatus, w->commandStatus(AWindow::kCloseCommand, 0));
        EXPECT_EQ(1, w->commandStatus(AWindow::kCancelCommand, 0));
        EXPECT_EQ(1, w->commandStatus(AWindow::kOkCommand, 0));
        ASSERT_EQ(1, w->becomeTarget(1));
        app->flushUpdates();
        // Escape fires code 2 of the window's own table, bound to command 9.
        AKeyEvent escape(0, 27, 1);
        w->dispatchChar(escape);
        EXPECT_FALSE(w->hasFlags(ADisplayComponent::kVisible));
        app->flushUpdates();
        if (r.deletes) {
            EXPECT_EQ(0, app->windowManager().windowCount());
            continue;
        }
        EXPECT_EQ(1, app->windowManager().windowCount());
        EXPECT_EQ(app->noChange(), w->closeWindow());
        w->select();
        EXPECT_TRUE(w->hasFlags(ADisplayComponent::kShown));
        AComponent* c = w;
        DeleteComponent(c);
    }
}

TEST_F(WindowTest, AWindowDeletedWhileItsDeleteWaitsLeavesNothingToRun) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* w = open(0x0804, "w");
    app->perform(w->closeWindow());
    app->perform(w->closeWindow());
    AComponent* c = w;
    DeleteComponent(c);
    app->flushUpdates();
    EXPECT_EQ(0, app->windowManager().windowCount());
}

TEST_F(WindowTest, TheManagerCountsWindowsHidesAndClosesThemAll) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindowManager& manager = app->windowManager();
    auto* probe = new KindProbe(app);
    AObject::completeNew(probe);
    app->addLink(probe);
    AWindow* a = open(0x0804, "a");
    a->showUpdate();
    app->flushUpdates();
    probe->seen.clear();
    struct Row {
        long kind;
        int16_t open, closable, visible, state;
    };
    int16_t o = manager.openCount(), c = manager.openClosableCount(), v = manager.visibleCount(),
            s = manager.stateCount();
    const Row rows[] = {{5, 1, 1, 0, 0}, {9, -1, -1, 0, 0}, {10, 0, 0, 1, 0}, {11, 0, 0, 0, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        AKindSet kinds;
        kinds.add(r.kind);
        manager.windowChanged(a, kinds);
        EXPECT_EQ(o += r.open, manager.openCount());
        EXPECT_EQ(c += r.closable, manager.openClosableCount());
        EXPECT_EQ(v += r.visible, manager.visibleCount());
        EXPECT_EQ(s += r.state, manager.stateCount());
        app->flushUpdates();
        EXPECT_EQ("6 ", probe->seen);
        probe->seen.clear();
    }
    app->removeLink(probe);

    // A modal window whose close is refused is hidden all the same.
    auto* dialog = openAs<StubbornWindow>(0x0805);
    dialog->showUpdate();
    EXPECT_TRUE(manager.HasWindowFlag2());
    EXPECT_EQ(2, app->commandStatus(6, 0));
    manager.hideAll();
    EXPECT_FALSE(dialog->hasFlags(ADisplayComponent::kVisible));
    EXPECT_FALSE(manager.HasWindowFlag2());

    // Close-all without asking closes those that would refuse when asked.
    auto* stubborn = openAs<StubbornWindow>(0x0804);
    stubborn->showUpdate();
    AWindow* fixed = open(0x0004, "not closable");
    fixed->showUpdate();
    EXPECT_FALSE(manager.closeAll(true));
    EXPECT_TRUE(manager.closeAll(false));
    app->flushUpdates();
    EXPECT_EQ(2, manager.windowCount());
    EXPECT_TRUE(manager.contains(fixed));
    EXPECT_TRUE(manager.contains(dialog));
    EXPECT_FALSE(manager.contains(a));
}

TEST_F(WindowTest, TheWalksFollowTheStackingOrderAndRefuseAStranger) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindowManager& manager = app->windowManager();
    AWindow* first = open(0x0004, "1");
    AWindow* second = open(0x0004, "2");
    AWindow* dialog = open(0x0005, "d");
    first->select();
    second->select();
    EXPECT_EQ(second, manager.firstWindow(AWindowManager::kFrontToBack));
    EXPECT_EQ(first, manager.nextWindow(AWindowManager::kFrontToBack, second));
    EXPECT_EQ(first, manager.firstWindow(AWindowManager::kBackToFront));
    EXPECT_EQ(dialog, manager.firstWindow(AWindowManager::kTopLevel));
    EXPECT_EQ(nullptr, manager.nextWindow(AWindowManager::kTopLevel, dialog));
    AWindow stranger;
    EXPECT_NE(-1, FatalExitCodeOf([&] { manager.nextWindow(AWindowManager::kFrontToBack, &stranger); }));
    EXPECT_NE(std::string::npos, errors.text.find("File fwinmgr ; Line 469")) << errors.text;
}

TEST_F(WindowTest, GlobalCoordinatesStartAtTheMdiClientsOrigin) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    POINT origin{0, 0};
    ClientToScreen(GetMdiClientWindow(), &origin);
    SetCursorPos(origin.x + 37, origin.y + 21);
    APoint global = GetWindowCursorPos();
    POINT screen;
    GetCursorPos(&screen);
    EXPECT_EQ(APoint(screen.x - origin.x, screen.y - origin.y), global);
    SetWindowCursorPos(APoint(5, 6));
    GetCursorPos(&screen);
    EXPECT_EQ(origin.x + 5, screen.x);
    EXPECT_EQ(origin.y + 6, screen.y);
    AWindow* w = open(0x0004, "w", ARect(30, 40, 230, 140));
    ARect client = app->windowManager().clientRectInParent(w->getHWnd());
    EXPECT_EQ(app->windowManager().clientOrigin(w->getHWnd()), client.first);
    app->windowManager().setClientRect(w->getHWnd(), ARect(50, 60, 150, 110));
    EXPECT_EQ(ARect(50, 60, 150, 110), app->windowManager().clientRectInParent(w->getHWnd()));
}

TEST_F(WindowTest, AWindowAtTheOriginOpensCentredInTheApplicationAreaAndOthersStay) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        uint16_t flags;
        ARect frame;
        bool centred;
    };
    const Row rows[] = {
        {"MDI child at (0, 0)", 0x0004, ARect(0, 0, 200, 120), true},
        {"top-level at (0, 0)", 0x0005, ARect(0, 0, 200, 120), true},
        {"MDI child elsewhere", 0x0004, ARect(30, 40, 230, 160), false},
        {"top-level elsewhere", 0x0005, ARect(30, 40, 230, 160), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RECT area;
        GetClientRect(GetMdiClientWindow(), &area);
        MapWindowPoints(GetMdiClientWindow(), nullptr, reinterpret_cast<POINT*>(&area), 2);
        AWindow* w = open(row.flags, "w", row.frame);
        RECT outer, client;
        GetWindowRect(w->getHWnd(), &outer);
        GetClientRect(w->getHWnd(), &client);
        if (row.centred) {
            EXPECT_EQ(outer.left - area.left, area.right - outer.right);
            EXPECT_EQ(outer.top - area.top, area.bottom - outer.bottom);
            EXPECT_GT(outer.left - area.left, 0);
            // Halving an odd difference of sizes leaves its extra unit inside the window.
            EXPECT_TRUE(client.right == 200 || client.right == 201) << client.right;
            EXPECT_TRUE(client.bottom == 120 || client.bottom == 121) << client.bottom;
        } else {
            EXPECT_EQ(row.frame.first, w->getFrame().first);
            EXPECT_EQ(200, client.right);
        }
        AComponent* c = w;
        DeleteComponent(c);
    }
}

TEST_F(WindowTest, TheFrameworksAcceleratorsReachTheFrameFromRealKeys) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, app->menuBar());
    ASSERT_EQ(1u, app->accelerators().size());
    HWND frame = static_cast<HWND>(app->frameWindow());
    g_frame = frame;
    g_commands.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordCommands, nullptr, GetCurrentThreadId());
    SetForegroundWindow(frame);
    SetFocus(frame);
    struct Row {
        BYTE modifier;
        BYTE key;
        WPARAM command;
    };
    const Row rows[] = {{VK_CONTROL, '1', 3000}, {VK_SHIFT, VK_F5, 911}, {VK_CONTROL, 'Q', 22}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        g_commands.clear();
        keybd_event(r.modifier, 0, 0, 0);
        keybd_event(r.key, 0, 0, 0);
        keybd_event(r.key, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(r.modifier, 0, KEYEVENTF_KEYUP, 0);
        for (int i = 0; i < 300 && g_commands.empty(); ++i) {
            MSG msg;
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
                app->runOnce();
            else
                Sleep(10);
        }
        EXPECT_EQ(std::vector<WPARAM>{r.command}, g_commands);
    }
    UnhookWindowsHookEx(hook);
    // Ctrl+Q is the application's quit.
    EXPECT_TRUE(app->quitRequested());
}

TEST_F(WindowTest, ChildrenOfAWindowArePlacedByTheirRulesAtTheNextTurn) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* w = open(0x0810, "w", ARect(10, 10, 310, 210));
    AEdge e[4];
    e[0].set(20, 0x1030, 0);
    e[1].set(20, 0x1030, 0);
    e[2].set(-20, 0x1030, 0);
    e[3].set(-20, 0x1030, 0);
    auto* box = new ASizerBox(w, 5, ASizeSpec::fromEdges(e[0], e[1], e[2], e[3]));
    AObject::completeNew(box);
    app->flushUpdates();
    EXPECT_EQ(ARect(20, 20, 280, 180), box->getFrame());
    EXPECT_EQ(ARect(16, 16, 284, 184), box->getOuterFrame());
}

// A sizable window with a maximum width is maximised by the shell, centred at
// that width, and restored to where it was; without limits Windows maximises it.
TEST_F(WindowTest, AWindowWithAMaximumWidthIsMaximisedCentredAndRestored) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        long maxWidth;
    };
    const Row rows[] = {{200}, {0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.maxWidth);
        auto* w =
            new AWindow(app, 0, ASizeSpec(ARect(10, 10, 110, 60)), "m", "", 0x0810, 0, ARect(0, 0, r.maxWidth, 0));
        AObject::completeNew(w);
        w->select();
        HWND h = w->getHWnd();
        RECT before;
        GetWindowRect(h, &before);
        SendMessageA(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        auto* shell = w->getNativeWindow();
        // The emulation marks its window maximised as Windows would.
        EXPECT_TRUE(IsZoomed(h));
        EXPECT_TRUE(shell->maximized());
        RECT client, after;
        GetClientRect(GetMdiClientWindow(), &client);
        GetWindowRect(h, &after);
        if (r.maxWidth) {
            long width = r.maxWidth + w->frameExtra().x;
            EXPECT_EQ(width, after.right - after.left);
            POINT origin{0, 0};
            ClientToScreen(GetMdiClientWindow(), &origin);
            RECT border{0, 0, 0, 0};
            AdjustWindowRect(&border, GetWindowLongA(h, GWL_STYLE) & ~WS_MAXIMIZE, FALSE);
            long area = client.right + (border.right - border.left);
            EXPECT_EQ(origin.x + border.left + (area - width) / 2, after.left);
            SendMessageA(h, WM_SYSCOMMAND, SC_RESTORE, 0);
            RECT restored;
            GetWindowRect(h, &restored);
            EXPECT_EQ(before.left, restored.left);
            EXPECT_EQ(before.right, restored.right);
            EXPECT_FALSE(shell->maximized());
        }
        AComponent* c = w;
        DeleteComponent(c);
    }
}

namespace {

bool g_altDown = false;

short AltState(int key) {
    return (g_altDown && key == VK_MENU) ? static_cast<short>(0x8000) : 0;
}

AAtomicItem* Item(AComponent* w, int16_t id, int32_t x, uint16_t focus) {
    auto* item = new AAtomicItem(w, id, ASizeSpec(ARect(x, 10, x + 40, 30)), 0, 1, nullptr, focus);
    AObject::completeNew(item);
    item->show(false);
    return item;
}

}  // namespace

// Before a system menu opens, a window's close item follows whether it may
// close and its size item whether it is sizable; the frame turns its own on
// unless a modal window is showing.
TEST_F(WindowTest, OpeningASystemMenuSetsItsCloseMoveAndSizeItems) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    const int16_t items[] = {static_cast<int16_t>(SC_CLOSE), static_cast<int16_t>(SC_MOVE),
                             static_cast<int16_t>(SC_SIZE)};
    // Turns the items off, sends the message, and answers the items' states.
    auto open = [&](AMenuBar* bar, HWND hwnd, UINT message) {
        for (int16_t id : items)
            bar->setItemState(id, 2);
        LRESULT answer =
            SendMessageA(hwnd, message, reinterpret_cast<WPARAM>(GetSystemMenu(hwnd, FALSE)), MAKELPARAM(0, TRUE));
        std::string states = std::to_string(answer) + ":";
        for (int16_t id : items)
            states += " " + std::to_string(bar->getItemState(id));
        return states;
    };
    struct Row {
        bool locked;
        uint16_t flags;
        UINT message;
        const char* expected;
    };
    const Row rows[] = {
        {false, 0x0814, WM_INITMENUPOPUP, "0: 1 1 1"},
        {true, 0x0804, WM_INITMENUPOPUP, "0: 2 1 2"},
        {false, 0x0804, WM_INITMENU, "0: 1 1 2"},
        {true, 0x0814, WM_INITMENU, "0: 2 1 1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        AWindow* w = r.locked ? openAs<LockedWindow>(r.flags) : openAs<AWindow>(r.flags);
        ASSERT_NE(nullptr, w->getMenuBar());
        EXPECT_EQ(r.expected, open(w->getMenuBar(), w->getHWnd(), r.message));
        AComponent* c = w;
        DeleteComponent(c);
    }

    AMenuBar* frameBar = app->menuBar();
    ASSERT_NE(nullptr, frameBar);
    HWND frame = static_cast<HWND>(app->frameWindow());
    EXPECT_EQ("0: 1 1 1", open(frameBar, frame, WM_INITMENUPOPUP));
    auto* dialog = openAs<AWindow>(0x0805);
    dialog->showUpdate();
    ASSERT_TRUE(app->windowManager().HasWindowFlag2());
    EXPECT_EQ("0: 2 2 2", open(frameBar, frame, WM_INITMENUPOPUP));
}


TEST_F(WindowTest, TabAndShiftTabFromRealKeysMoveTheFocusAlongTheWindowsTabStopsWithWrap) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* w = open(0x0005, "focus", ARect(10, 10, 310, 110));
    ASSERT_TRUE(w->isKindOf(AClass::findByName("ALocalCluster")));
    AAtomicItem* a = Item(w, 1, 10, 0x3000);
    Item(w, 2, 60, 0x2000);
    AAtomicItem* c = Item(w, 3, 110, 0x3000);
    SetForegroundWindow(w->getHWnd());
    w->select();
    ASSERT_TRUE(RunUntil(app, [&] { return app->activeWindow() == w; }));
    ASSERT_EQ(1, a->becomeTarget(1));
    struct Row {
        const char* name;
        BYTE modifier;
        AComponent* expect;
    } rows[] = {
        {"tab skips the focusable item that is no tab stop", 0, c},
        {"tab from the last wraps to the first", 0, a},
        {"shift+tab from the first wraps to the last", VK_SHIFT, c},
        {"shift+tab", VK_SHIFT, a},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PressKey(row.modifier, VK_TAB);
        EXPECT_TRUE(RunUntil(app, [&] { return app->target() == row.expect; }));
    }
    // Alt+Tab belongs to the system: the focus stays.
    g_altDown = true;
    SetAsyncKeyStateFunction(AltState);
    SendMessageA(w->getHWnd(), WM_SYSCHAR, 9, 1 << 29);
    SetAsyncKeyStateFunction(nullptr);
    g_altDown = false;
    EXPECT_EQ(a, app->target());
}

TEST_F(WindowTest, WmUserAnswersTheCurrentItemWhileItIsOn) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* w = open(0x0005, "current", ARect(10, 10, 310, 110));
    Item(w, 7, 10, 0x3000);
    EXPECT_EQ(0, SendMessageA(w->getHWnd(), WM_USER, 0, 0)) << "no current item";
    w->setCurrentItem(7);
    struct Row {
        uint16_t state;
        LRESULT answer;
    } rows[] = {{AClusterItem::kOn, 0x534B0007}, {AClusterItem::kOff, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        w->setItemState(7, row.state);
        EXPECT_EQ(row.answer, SendMessageA(w->getHWnd(), WM_USER, 0, 0));
    }
}

TEST_F(WindowTest, APaneShownLateGivesTheActiveWindowItsFocus) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* w = open(0x0005, "pane", ARect(10, 10, 310, 110));
    SetForegroundWindow(w->getHWnd());
    w->select();
    ASSERT_TRUE(RunUntil(app, [&] { return app->activeWindow() == w; }));
    EXPECT_EQ(w, w->focusItem()) << "nothing to focus yet";
    auto* pane = new ALocalCluster(w, 20, ASizeSpec(ARect(0, 0, 300, 100)), 0, 0, "");
    AObject::completeNew(pane);
    AAtomicItem* item = Item(pane, 21, 10, 0x3000);
    pane->showUpdate();
    EXPECT_EQ(item, w->focusItem());
    EXPECT_EQ(item, app->target());
}

// The application's tool bar shares the frame with the MDI client.
TEST_F(WindowTest, TheFrameLaysOutTheToolBarAndTheMdiClientBesideIt) {
    HWND frame = static_cast<HWND>(app->frameWindow());
    HWND client = GetMdiClientWindow();
    if (!frame || !client)
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        ARect barFrame;
        RECT bar, mdi;
    } rows[] = {
        {"vertical bar", ARect(0, 0, 30, 200), {0, 0, 30, 300}, {30, 0, 400, 300}},
        {"horizontal bar", ARect(0, 0, 400, 24), {0, 0, 400, 24}, {0, 24, 400, 300}},
    };
    auto placed = [frame](HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND barWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, frame, nullptr, nullptr,
                                         nullptr);
        auto* bar = new ADisplayComponent(app, 50, ASizeSpec(r.barFrame));
        AObject::completeNew(bar);
        bar->setNativeWindow(barWindow);
        app->setToolBar(bar);
        SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
        EXPECT_TRUE(same(r.bar, placed(barWindow)));
        RECT mdi = placed(client);
        EXPECT_TRUE(same(r.mdi, mdi)) << mdi.left << "," << mdi.top << "," << mdi.right << "," << mdi.bottom;
        app->setToolBar(nullptr);
        AComponent* gone = bar;
        DeleteComponent(gone);
        DestroyWindow(barWindow);
    }
}

// The application loads its tool bar from the layout it names and places it
// in the frame beside the MDI client; its close box only hides it. A missing
// layout gives no bar, a layout of another class is released.
TEST_F(WindowTest, TheApplicationLoadsItsToolBarFromTheLayoutItNames) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        const char* layout;
        int16_t barId;    // 0: no tool bar
        int16_t otherId;  // a component of the layout that must not stay
    } rows[] = {
        {"AAppToolBar", 0, 0},  // not among this program's resources
        {"NoSuchToolBar", 0, 0},
        {"TestNotToolBar", 0, 430},
        {"TestSideToolBar", 420, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.layout);
        AComponent* old = app;
        DeleteComponent(old);
        drainMessages();
        app = new NamedBarApp(r.layout);
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        AObject::completeNew(app);
        app->flushUpdates();
        if (r.otherId) {
            EXPECT_EQ(nullptr, app->findById(r.otherId, 0));
        }
        auto* bar = dynamic_cast<AToolBar*>(app->toolBar());
        if (!r.barId) {
            EXPECT_EQ(nullptr, app->toolBar());
            continue;
        }
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(r.barId, bar->id());
        HWND frame = static_cast<HWND>(app->frameWindow());
        HWND window = bar->getHWnd();
        ASSERT_TRUE(window);
        EXPECT_EQ(frame, GetParent(window));
        EXPECT_TRUE(IsWindowVisible(window));
        RECT area, placed, client;
        GetClientRect(frame, &area);
        GetWindowRect(window, &placed);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(0, placed.left);
        EXPECT_EQ(32, placed.right);
        EXPECT_EQ(area.bottom, placed.bottom) << "a bar narrower than tall takes the frame's height";
        GetWindowRect(GetMdiClientWindow(), &client);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_EQ(32, client.left) << "the MDI client stands beside the bar";

        bar->closeCluster();
        app->flushUpdates();
        EXPECT_EQ(bar, app->toolBar()) << "closing the application's bar only hides it";
        EXPECT_FALSE(IsWindowVisible(window));
    }
}
