// Input and the application's window services in a real MDI frame under
// Xvfb: double clicks, the MDI system keys, accelerators under a modal
// window, the window arrangement commands, the help engine's calls and the
// optional control library.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/windows/AControlLibrary.h"
#include "framework/windows/ANativeWindow.h"
#include "tests/framework/app/WindowTestSupport.h"

namespace {

// Counts the presses and double clicks that reach it.
class ClickProbe : public ADisplayComponent {
public:
    ClickProbe(AComponent* parent, const ARect& frame) : ADisplayComponent(parent, 9, ASizeSpec(frame)) {}
    ACommand* mouseDown(AMouseEvent&) override {
        ++presses;
        return noChangeCommand();
    }
    ACommand* doubleClick(AMouseEvent&, long value) override {
        doubles += std::to_string(value) + " ";
        return noChangeCommand();
    }
    int presses = 0;
    std::string doubles;
};

// Real button input at a client point of the window, stamped with a time of
// its own so that two clicks can be far apart without waiting.
void Press(HWND window, POINT at, DWORD button, DWORD time) {
    POINT p = at;
    ClientToScreen(window, &p);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((p.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = LONG((p.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    in.mi.time = time;
    SendInput(1, &in, sizeof in);
}

}  // namespace

// The second press of a double click reaches the component's double-click
// handler once; two clicks further apart than the double-click time are two presses.
TEST_F(WindowTest, ARealDoubleClickReachesTheDoubleClickHandlerOnce) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* w = open(0x0810, "w", ARect(10, 10, 310, 210));
    auto* probe = new ClickProbe(w, ARect(0, 0, 200, 150));
    AObject::completeNew(probe);
    probe->showUpdate();
    w->select();
    app->flushUpdates();
    HWND h = w->getHWnd();
    SetForegroundWindow(static_cast<HWND>(app->frameWindow()));
    struct Row {
        const char* name;
        DWORD gap;  // between the two clicks, in input time
        int presses;
        const char* doubles;
    };
    const DWORD slow = GetDoubleClickTime() + 500;
    const Row rows[] = {{"double click", 40, 1, "2 "}, {"two slow clicks", slow, 2, ""}};
    DWORD t = GetTickCount();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        probe->presses = 0;
        probe->doubles.clear();
        t += 2 * slow;  // far from the row before
        POINT at{40 + 10 * static_cast<LONG>(&r - rows), 40};
        Press(h, at, MOUSEEVENTF_LEFTDOWN, t);
        Press(h, at, MOUSEEVENTF_LEFTUP, t + 10);
        Press(h, at, MOUSEEVENTF_LEFTDOWN, t + r.gap);
        Press(h, at, MOUSEEVENTF_LEFTUP, t + r.gap + 10);
        const int events = r.presses + int(std::string(r.doubles).size() / 2);
        RunUntil(app, [&] { return probe->presses + int(probe->doubles.size() / 2) >= events; });
        drainMessages();
        EXPECT_EQ(r.presses, probe->presses);
        EXPECT_EQ(std::string(r.doubles), probe->doubles);
    }
}

namespace {

std::vector<std::pair<HWND, WPARAM>> g_menuCommands;

LRESULT CALLBACK RecordMenuCommands(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_COMMAND && m->lParam == 0)
        g_menuCommands.push_back({m->hwnd, LOWORD(m->wParam)});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string g_arranged;

LRESULT CALLBACK RecordArrangements(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_MDICASCADE)
        g_arranged += "cascade ";
    if (code == HC_ACTION && m->message == WM_MDITILE)
        g_arranged += "tile ";
    if (code == HC_ACTION && m->message == WM_MDIICONARRANGE)
        g_arranged += "icons ";
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string g_help;

int RecordHelp(void* window, const char* file, unsigned command, uintptr_t data) {
    bool key = command == HELP_PARTIALKEY;
    g_help += std::to_string(command) + " " + (key ? reinterpret_cast<const char*>(data) : std::to_string(data)) + ";";
    if (window != AApp::current()->frameWindow() || std::string(file) != "aide.hlp")
        g_help += "wrong window or file;";
    return 1;
}

// An application whose settings name a help file.
class HelpApp : public MdiApp {
public:
    AString helpFile() override { return AString("aide.hlp"); }
};

}  // namespace

// Ctrl+F6 activates the next MDI child and Ctrl+F4 closes the active one:
// the loop hands the MDI system keys to the MDI client.
TEST_F(WindowTest, CtrlF6MovesToTheNextMdiChildAndCtrlF4ClosesIt) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* a = open(0x0810, "a");
    AWindow* b = open(0x0810, "b", ARect(40, 40, 240, 160));
    a->select();
    b->select();
    app->flushUpdates();
    HWND client = GetMdiClientWindow();
    auto active = [&] { return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)); };
    ASSERT_EQ(b->getHWnd(), active());
    SetForegroundWindow(static_cast<HWND>(app->frameWindow()));
    PressKey(VK_CONTROL, VK_F6);
    RunUntil(app, [&] { return active() == a->getHWnd(); });
    EXPECT_EQ(a->getHWnd(), active());
    HWND closing = a->getHWnd();
    PressKey(VK_CONTROL, VK_F4);
    RunUntil(app, [&] { return !IsWindow(closing) || !IsWindowVisible(closing); });
    EXPECT_FALSE(IsWindow(closing) && IsWindowVisible(closing)) << "Ctrl+F4 closed the active child";
}

// While a modal window is up the accelerators are translated for it: the
// command reaches the modal window and never the disabled frame.
TEST_F(WindowTest, WithAModalWindowUpTheAcceleratorsActForItAndNotForTheFrame) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    HWND frame = static_cast<HWND>(app->frameWindow());
    auto* dialog = openAs<AWindow>(0x0805);
    dialog->showUpdate();
    app->flushUpdates();
    ASSERT_FALSE(IsWindowEnabled(frame));
    g_menuCommands.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordMenuCommands, nullptr, GetCurrentThreadId());
    SetForegroundWindow(dialog->getHWnd());
    SetFocus(dialog->getHWnd());
    PressKey(VK_CONTROL, '1');
    RunUntil(app, [] { return !g_menuCommands.empty(); });
    UnhookWindowsHookEx(hook);
    using Sent = std::vector<std::pair<HWND, WPARAM>>;
    EXPECT_EQ((Sent{{dialog->getHWnd(), 3000}}), g_menuCommands);
}

// Cascade and tile need a document window that is not minimised, arranging
// the icons a minimised one; each goes to the MDI client.
TEST_F(WindowTest, TheWindowCommandsArrangeTheMdiChildrenWhenTheirCountsAllow) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AWindow* windows[] = {open(0x0810, "a"), open(0x0810, "b", ARect(40, 40, 240, 160))};
    for (AWindow* w : windows)
        w->select();
    g_arranged.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordArrangements, nullptr, GetCurrentThreadId());
    struct Row {
        const char* name;
        bool minimised;
        const char* statuses;
    } rows[] = {{"two shown", false, "1 1 2 1"}, {"both minimised", true, "2 2 1 1"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.minimised) {
            for (AWindow* w : windows)
                ShowWindow(w->getHWnd(), SW_MINIMIZE);
        }
        std::string statuses;
        for (int16_t id : {3, 4, 5, 17})
            statuses += std::string(statuses.empty() ? "" : " ") + std::to_string(app->commandStatus(id, 0));
        EXPECT_EQ(r.statuses, statuses);
    }
    for (int16_t id : {3, 4, 5})
        EXPECT_EQ(app->noChange(), app->doCommand(id, 0));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ("cascade tile icons ", g_arranged);
}

// The help commands call the help engine with the frame and the help file
// read at set-up, forcing the file first; detaching lets it go.
TEST_F(WindowTest, HelpCallsGoToTheHelpEngineWithTheFrameAndTheHelpFile) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    EXPECT_EQ(2, app->commandStatus(20, 0)) << "no help file: no help";
    AComponent* old = app;
    DeleteComponent(old);
    app = new HelpApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    AObject::completeNew(app);
    app->flushUpdates();
    AApp::setHelpEngine(RecordHelp);
    struct Row {
        const char* name;
        std::function<ACommand*()> call;
        const char* calls;
    } rows[] = {
        {"contents, command 20", [&] { return app->doCommand(20, 0); }, "9 0;3 0;"},
        {"search, command 21", [&] { return app->doCommand(21, 0); }, "9 0;261 ;"},
        {"a context", [&] { return app->helpContext(42, 0); }, "9 0;1 42;"},
        {"a context in a popup", [&] { return app->helpContext(42, 1); }, "9 0;8 42;"},
        {"a search with a key", [&] { return app->helpSearch("volcan"); }, "9 0;261 volcan;"},
    };
    EXPECT_EQ(1, app->commandStatus(20, 0));
    EXPECT_EQ(1, app->commandStatus(21, 0));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        g_help.clear();
        EXPECT_EQ(app->noChange(), r.call());
        EXPECT_EQ(r.calls, g_help);
    }
    g_help.clear();
    old = app;
    DeleteComponent(old);
    EXPECT_EQ("2 0;", g_help) << "the help file let go at detach";
    AApp::setHelpEngine(nullptr);
    app = new MdiApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    AObject::completeNew(app);
}

namespace {

// An application whose frame asks for the optional control library's look.
class LookApp : public MdiApp {
protected:
    void* createFrameWindow(const ARect& rect, const AString& title) override {
        ADisplayServices::current().setLookOptions(0x8000);
        return MdiApp::createFrameWindow(rect, title);
    }
};

using CountsEntry = void(WINAPI*)(long*, long*, long*);

}  // namespace

// With the control library on the search path the windows that ask for its
// look are served by its procedures; without it the reader is told once,
// through the message-box seam, and the windows keep the standard ones.
TEST_F(WindowTest, TheControlLibrarysProceduresServeTheWindowsThatAskWhenItIsThere) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    const std::string with = SV_CONTROL_LIBRARY_DIR;
    const std::string without;  // the default search path has no such library
    struct Row {
        const char* name;
        const std::string& folder;
        const char* childClass;
    } rows[] = {{"without the library", without, "KY_MdiChildWindow"},
                {"with the library", with, "KY_MdiBorChildWindow"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AControlLibrary::reset();
        ClearBoxes();
        SetDllDirectoryA(r.folder.empty() ? nullptr : r.folder.c_str());
        // Two starts: a missing library is told once.
        for (int start = 0; start < 2; ++start) {
            AComponent* old = app;
            DeleteComponent(old);
            drainMessages();
            app = new LookApp;
            app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
            AObject::completeNew(app);
            app->flushUpdates();
        }
        const bool present = &r.folder == &with;
        EXPECT_EQ(present, AControlLibrary::loaded());
        ASSERT_EQ(present ? 0u : 1u, CapturedBoxes().size());
        if (!present) {
            EXPECT_EQ("Librairie introuvable", CapturedBoxes()[0].caption);
            EXPECT_EQ("bwcc32.dll", CapturedBoxes()[0].text);
        }
        AWindow* w = open(0x0890, "look");
        w->select();
        HWND h = w->getHWnd();
        char name[64] = {};
        GetClassNameA(h, name, sizeof name);
        EXPECT_EQ(std::string(r.childClass), name);
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        if (present) {
            auto counts = reinterpret_cast<CountsEntry>(
                reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("bwcc32.dll"), "TestLibraryCounts")));
            ASSERT_NE(nullptr, counts);
            long calls = 0, paints = 0, registered = 0;
            counts(&calls, &paints, &registered);
            EXPECT_GT(calls, 0) << "the child's default procedure is the library's";
            EXPECT_GT(paints, 0) << "the library paints the window";
            EXPECT_EQ(1, registered) << "its registration entry ran at this load";
            HDC dc = GetDC(h);
            EXPECT_EQ(RGB(192, 192, 192), GetPixel(dc, 10, 10));
            ReleaseDC(h, dc);
        }
        AComponent* gone = w;
        DeleteComponent(gone);
    }
    SetDllDirectoryA(nullptr);
    AControlLibrary::reset();
}
