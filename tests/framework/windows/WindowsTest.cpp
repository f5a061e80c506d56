// The window layer under Xvfb: class registration counts, the binding of a
// handle to its object and the component lookup, the exception guard, the
// wheel, the MDI frame's command routing, timer and layout, and the modal chain.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "base/procedural/AddressWord.h"
#include "base/procedural/SystemSeams.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/APaletteTable.h"
#include "framework/graphics/ATextStyle.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AToolWindow.h"
#include "framework/windows/AWindowClass.h"
#include "framework/windows/AWindowServices.h"
#include "framework/windows/AWindowShell.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

std::string g_boxes;
int g_boxAnswer = IDCANCEL;

int RecordBox(void*, const char* text, const char* caption, unsigned) {
    g_boxes += std::string(caption ? caption : "") + ": " + (text ? text : "") + "\n";
    return g_boxAnswer;
}

// A "KY_Window" whose handler logs the messages it sees and may throw.
class ProbeWindow : public AWindowHandler, public APlainNativeWindow {
public:
    explicit ProbeWindow(AComponent* owner) : AWindowHandler(owner) {}
    ~ProbeWindow() override {
        if (ANativeWindow::hwnd())
            DestroyWindow(ANativeWindow::hwnd());
    }
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    AMessageResult handle(AMessage& m) override {
        if (m.message == WM_GETMINMAXINFO || m.message == WM_NCCREATE)
            seen.push_back(m.message);
        if (m.message == WM_GETMINMAXINFO && attachedAtMinMax == nullptr)
            attachedAtMinMax = ANativeWindow::hwnd();
        if (m.message == WM_USER + 1)
            throw std::runtime_error("boom");
        if (m.message == WM_USER + 2)
            throw AError("twindows", 1);
        return AWindowHandler::handle(m);
    }
    std::vector<UINT> seen;
    HWND attachedAtMinMax = nullptr;
};

// A display component with a text style of its own.
class Styled : public ADisplayComponent {
public:
    Styled(AComponent* parent, int16_t id) : ADisplayComponent(parent, id, ASizeSpec()), style(nullptr, kFore, kBack, 0) {}
    ATextStyle* ownDisplayEnv() override { return &style; }
    static constexpr COLORREF kFore = RGB(1, 2, 3);
    static constexpr COLORREF kBack = RGB(200, 100, 50);
    ATextStyle style;
};

// Records the menu ids the frame passes on.
class RecordingServices : public AWindowServices {
public:
    long menuCommand(int16_t id) override {
        ids.push_back(id);
        return 1;
    }
    std::vector<int16_t> ids;
};

bool QuitPosted(int* code) {
    MSG msg;
    bool posted = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            posted = true;
            *code = static_cast<int>(msg.wParam);
        }
    }
    return posted;
}

// Records the wParam WM_NCACTIVATE goes on with.
template <class Window>
class CaptionProbe : public Window {
public:
    using Window::Window;
    AMessageResult handle(AMessage& m) override {
        AMessageResult r = Window::handle(m);
        if (m.message == WM_NCACTIVATE)
            caption = static_cast<int>(m.wParam);
        return r;
    }
    int caption = -1;
};

using ProbeFrame = CaptionProbe<AMdiFrame>;

class ProbeToolWindow : public CaptionProbe<AToolWindow> {
public:
    using CaptionProbe::CaptionProbe;
    void runClose() override { ++closes; }
    int closes = 0;
};

class ActivatingServices : public AWindowServices {
public:
    void activateFrame() override { ++activations; }
    int activations = 0;
};

class WindowsTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        Seams().messageBox = RecordBox;
        g_boxes.clear();
        g_boxAnswer = IDCANCEL;
    }
    void TearDown() override {
        ResetSeams();
        FrameworkTest::TearDown();
    }
    ADisplayComponent* makeDisplay(int16_t id) {
        auto* d = new ADisplayComponent(app, id, ASizeSpec());
        AObject::completeNew(d);
        return d;
    }
};

}  // namespace

TEST(WindowClassTest, ASecondRegisterOnlyRaisesTheCountAndTheClassGoesAtTheLastRelease) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    AWindowClass probe("", "KY_TestWindow", nullptr, DefWindowProcA);
    WNDCLASSA info;
    probe.registerClass(instance, DefWindowProcA);
    probe.registerClass(instance, DefWindowProcA);
    EXPECT_EQ(2, probe.registrations());
    probe.release();
    probe.unregister();
    EXPECT_TRUE(GetClassInfoA(instance, "KY_TestWindow", &info)) << "one registration is still held";
    probe.release();
    probe.unregister();
    EXPECT_FALSE(GetClassInfoA(instance, "KY_TestWindow", &info));

    // bwcc32.dll is absent here: the class is registered on its standard procedure.
    AWindowClass& bor = AWindowClass::borWindow();
    bor.registerClass(instance, ObjectWindowProc);
    EXPECT_TRUE(GetClassInfoA(instance, "KY_BorWindow", &info));
    EXPECT_EQ(reinterpret_cast<void*>(DefWindowProcA), reinterpret_cast<void*>(bor.defaultProc()));
    bor.release();
    bor.unregister();
}

TEST_F(WindowsTest, TheLookupAnswersOnlyForLiveFrameworkWindowsAndMinMaxInfoIsServedBeforeCreation) {
    ProbeWindow probe(app);
    probe.create("probe", WS_OVERLAPPEDWINDOW, ARect(0, 0, 200, 100), 0, true);
    HWND framework = probe.ANativeWindow::hwnd();
    if (!framework)
        GTEST_SKIP() << "no display";
    ASSERT_GE(probe.seen.size(), 2u);
    EXPECT_EQ(static_cast<UINT>(WM_GETMINMAXINFO), probe.seen[0]) << "Windows asks for the sizes first";
    EXPECT_EQ(framework, probe.attachedAtMinMax) << "the pending window was attached at that moment";

    HWND foreign = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND dead = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(dead);
    struct Row {
        const char* name;
        HWND window;
        AComponent* owner;
    } rows[] = {
        {"framework window", framework, app},
        {"other window", foreign, nullptr},
        {"null", nullptr, nullptr},
        {"dead", dead, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.owner, ComponentFromWindow(r.window));
    }
    DestroyWindow(foreign);
}

TEST_F(WindowsTest, NoExceptionLeavesTheWindowProcedure) {
    ProbeWindow probe(app);
    probe.create("probe", WS_OVERLAPPEDWINDOW, ARect(0, 0, 200, 100), 0, true);
    HWND window = probe.ANativeWindow::hwnd();
    if (!window)
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        UINT message;
        int answer;
        bool quits;
        const char* box;
    } rows[] = {
        {"other exception", WM_USER + 1, IDCANCEL, true, "Error: Unknown exception in Window Procedure\n"},
        {"framework error, Retry", WM_USER + 2, IDRETRY, false, ""},
        {"framework error, Cancel", WM_USER + 2, IDCANCEL, true, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        g_boxes.clear();
        g_boxAnswer = r.answer;
        int code = 0;
        QuitPosted(&code);
        EXPECT_EQ(0, SendMessageA(window, r.message, 0, 0));
        EXPECT_EQ(r.quits, QuitPosted(&code));
        if (r.quits) {
            EXPECT_EQ(-1, code);
        }
        if (*r.box) {
            EXPECT_EQ(r.box, g_boxes);
        } else {
            EXPECT_NE(std::string::npos, g_boxes.find("twindows")) << g_boxes;
        }
    }
}

TEST(WheelTest, WheelMessagesBecomeLineOrPageScrolls) {
    struct Row {
        const char* name;
        WPARAM wParam;
        int lines;
        bool scrolls;
        int kind;
        int count;
    } rows[] = {
        {"two notches up", MAKEWPARAM(0, 240), 3, true, 0, 6},
        {"one notch down", MAKEWPARAM(0, static_cast<WORD>(-120)), 3, true, 1, 3},
        {"control down", MAKEWPARAM(MK_CONTROL, 240), 3, false, 0, 0},
        {"shift down", MAKEWPARAM(MK_SHIFT, 240), 3, false, 0, 0},
        {"pages up", MAKEWPARAM(0, 120), -1, true, 2, 0},
        {"pages down", MAKEWPARAM(0, static_cast<WORD>(-120)), -1, true, 3, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AWheelScroll s = WheelScroll(r.wParam, r.lines);
        EXPECT_EQ(r.scrolls, s.scrolls);
        if (s.scrolls) {
            EXPECT_EQ(r.kind, s.kind);
            EXPECT_EQ(r.count, s.count);
        }
    }
    AMessage in{5, 120, 0xC123, nullptr}, out{};
    EXPECT_FALSE(ConvertWheelMessage(in, 0, false, false, out)) << "no registered message: no rule";
    EXPECT_FALSE(ConvertWheelMessage(in, 0xC124, false, false, out));
    ASSERT_TRUE(ConvertWheelMessage(in, 0xC123, true, false, out));
    EXPECT_EQ(static_cast<UINT>(WM_MOUSEWHEEL), out.message);
    EXPECT_EQ(static_cast<WPARAM>((120 << 16) | MK_CONTROL), out.wParam);
    EXPECT_EQ(5, out.lParam);
}

TEST_F(WindowsTest, TheFrameRoutesMenuIdsTimesAndLaysOutItsToolBar) {
    RecordingServices services;
    AWindowServices::install(&services);
    {
        AMdiFrame frame(app, "frame", WS_OVERLAPPEDWINDOW, ARect(0, 0, 400, 300), nullptr, true);
        HWND hwnd = frame.ANativeWindow::hwnd();
        if (!hwnd) {
            AWindowServices::install(nullptr);
            GTEST_SKIP() << "no display";
        }
        EXPECT_EQ(hwnd, FindWindowA("KY_MDIFrameWindow", "frame"));
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(29999, 0), 0);
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(30000, 0), 0);
        EXPECT_EQ(std::vector<int16_t>{29999}, services.ids) << "child ids stay with the default frame procedure";
        EXPECT_TRUE(frame.setTimer(5));
        EXPECT_NE(0u, frame.timerId());
        EXPECT_TRUE(frame.setTimer(-1));
        EXPECT_EQ(0u, frame.timerId());
        EXPECT_FALSE(KillTimer(hwnd, 1)) << "-1 killed the timer";
    }
    AWindowServices::install(nullptr);

    struct Row {
        const char* name;
        long barWidth, barHeight;
        ARect bar, client;
    } rows[] = {
        {"vertical bar", 30, 200, ARect(0, 0, 30, 300), ARect(30, 0, 400, 300)},
        {"horizontal bar", 400, 24, ARect(0, 0, 400, 24), ARect(0, 24, 400, 300)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ARect bar, client;
        FrameLayout(400, 300, r.barWidth, r.barHeight, bar, client);
        EXPECT_TRUE(bar == r.bar);
        EXPECT_TRUE(client == r.client);
    }
}

TEST_F(WindowsTest, EndingAModalWindowEnablesWhatItDisabled) {
    AMdiFrame frame(app, "frame", WS_OVERLAPPEDWINDOW, ARect(0, 0, 400, 300), nullptr, true);
    HWND f = frame.ANativeWindow::hwnd();
    if (!f)
        GTEST_SKIP() << "no display";
    ATopLevelShell* shells[3];
    for (int i = 0; i < 3; ++i) {
        shells[i] = new ATopLevelShell(makeDisplay(static_cast<int16_t>(i + 1)), nullptr, "modal", WS_POPUP,
                                       ARect(0, 0, 50, 50), true, true);
        shells[i]->show(true);
    }
    auto enabled = [&]() {
        std::string s = IsWindowEnabled(f) ? "F" : "f";
        for (ATopLevelShell* shell : shells)
            s += shell->ANativeWindow::hwnd() && IsWindowEnabled(shell->ANativeWindow::hwnd()) ? "1" : "0";
        return s;
    };
    EXPECT_EQ("f001", enabled());
    EXPECT_EQ(shells[2], ATopLevelShell::topModal());
    EXPECT_EQ(shells[2]->window(), ModalWindowAfter(nullptr));
    EXPECT_EQ(shells[1]->window(), ModalWindowAfter(shells[2]->window()));
    EXPECT_EQ(nullptr, ModalWindowAfter(shells[0]->window())) << "the bottom of the chain";
    EXPECT_EQ(nullptr, ModalWindowAfter(makeDisplay(9))) << "held by no modal window";
    shells[1]->hide();
    EXPECT_EQ("f011", enabled()) << "the middle one re-enables only its own window";
    shells[2]->hide();
    EXPECT_EQ("f111", enabled());
    // Destroyed without being hidden: its modal state ends first.
    delete shells[0];
    shells[0] = nullptr;
    EXPECT_EQ(nullptr, ATopLevelShell::topModal());
    EXPECT_TRUE(IsWindowEnabled(f));
    delete shells[1];
    delete shells[2];
}

TEST(SizeRuleTest, LimitsGrowByTheAllowanceAndANarrowMaximumIsCentred) {
    struct Row {
        const char* name;
        long limits[4];
        ARect area;
        bool applied;
        const char* expected;  // max size, max position, min track, max track
    } rows[] = {
        {"nothing", {0, 0, 0, 0}, ARect(0, 0, 0, 0), false, ""},
        {"area only", {0, 0, 0, 0}, ARect(0, 0, 800, 600), true, "800x600 @0,0 min 1x1 max 9x9"},
        {"narrow max", {0, 0, 398, 0}, ARect(0, 0, 800, 600), true, "400x600 @200,0 min 1x1 max 400x9"},
        {"limits, no area", {98, 48, 498, 0}, ARect(0, 0, 0, 0), true, "500x7 @0,0 min 100x50 max 500x9"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MINMAXINFO info{};
        info.ptMaxSize = {7, 7};
        info.ptMinTrackSize = {1, 1};
        info.ptMaxTrackSize = {9, 9};
        ASSERT_EQ(r.applied, FillMinMaxInfo(&info, r.limits, APoint(2, 2), r.area));
        if (!r.applied)
            continue;
        char text[100];
        snprintf(text, sizeof text, "%ldx%ld @%ld,%ld min %ldx%ld max %ldx%ld", info.ptMaxSize.x, info.ptMaxSize.y,
                 info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMinTrackSize.x, info.ptMinTrackSize.y,
                 info.ptMaxTrackSize.x, info.ptMaxTrackSize.y);
        EXPECT_EQ(std::string(r.expected), text);
    }
    EXPECT_FALSE(FillMinMaxInfo(nullptr, rows[1].limits, APoint(), rows[1].area));
}

namespace {

// A target that logs the keys and characters it is given.
class KeyProbe : public AComponent {
public:
    explicit KeyProbe(AComponent* parent) : AComponent(parent, 5) {}
    bool acceptsTarget() override { return true; }
    ACommand* keyCommand(AKeyEvent& event) override {
        log += "key " + std::to_string(event.keyCode) + (event.down ? " down " : " up ");
        return noChangeCommand();
    }
    ACommand* charCommand(AKeyEvent& event) override {
        log += "char " + std::to_string(event.character) + " ";
        return noChangeCommand();
    }
    std::string log;
};

}  // namespace

TEST_F(WindowsTest, KeysAndCharactersReachTheCommandTarget) {
    ProbeWindow probe(app);
    probe.create("probe", WS_OVERLAPPEDWINDOW, ARect(0, 0, 200, 100), 0, true);
    HWND window = probe.ANativeWindow::hwnd();
    if (!window)
        GTEST_SKIP() << "no display";
    auto* target = new KeyProbe(app);
    AObject::completeNew(target);
    ASSERT_EQ(1, app->setTarget(target));
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    SendMessageA(window, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageA(window, WM_CHAR, 'a', 0);
    SendMessageA(window, WM_KEYUP, VK_LEFT, 0);
    EXPECT_EQ("key 37 down char 97 key 37 up ", target->log);
}

TEST_F(WindowsTest, ControlsTakeTheirTextStyleColoursUnlessTheLookSaysOtherwise) {
    auto* styled = new Styled(app, 20);
    AObject::completeNew(styled);
    ProbeWindow styledControl(styled), plainControl(makeDisplay(21));
    styledControl.create("styled", WS_OVERLAPPEDWINDOW, ARect(0, 0, 50, 20), 0, true);
    plainControl.create("plain", WS_OVERLAPPEDWINDOW, ARect(0, 0, 50, 20), 0, true);
    HWND foreign = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!styledControl.ANativeWindow::hwnd() || !foreign)
        GTEST_SKIP() << "no display";
    ADisplayWindowHandler handler(makeDisplay(22));
    HDC dc = CreateCompatibleDC(nullptr);
    struct Case {
        const char* name;
        UINT message;
        HWND control;
        uint16_t look;
        bool coloured;
    } cases[] = {
        {"static", WM_CTLCOLORSTATIC, styledControl.ANativeWindow::hwnd(), 0, true},
        {"edit", WM_CTLCOLOREDIT, styledControl.ANativeWindow::hwnd(), 0, true},
        {"message box", WM_CTLCOLORMSGBOX, styledControl.ANativeWindow::hwnd(), 0, false},
        {"look 0x4000", WM_CTLCOLORBTN, styledControl.ANativeWindow::hwnd(), 0x4000, false},
        {"look 0x8000", WM_CTLCOLORLISTBOX, styledControl.ANativeWindow::hwnd(), 0x8000, false},
        {"no text style", WM_CTLCOLORSTATIC, plainControl.ANativeWindow::hwnd(), 0, false},
        {"not a framework window", WM_CTLCOLORSTATIC, foreign, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ADisplayServices::current().setLookOptions(c.look);
        SetBkColor(dc, RGB(9, 9, 9));
        SetTextColor(dc, RGB(8, 8, 8));
        AMessage m{reinterpret_cast<LPARAM>(c.control), reinterpret_cast<WPARAM>(dc), c.message, foreign};
        AMessageResult r = handler.handle(m);
        EXPECT_EQ(c.coloured, r.handled != 0);
        if (c.coloured) {
            EXPECT_EQ(reinterpret_cast<intptr_t>(styled->style.backgroundBrush()), r.result);
        }
        EXPECT_EQ(c.coloured ? Styled::kBack : RGB(9, 9, 9), GetBkColor(dc));
        EXPECT_EQ(c.coloured ? Styled::kFore : RGB(8, 8, 8), GetTextColor(dc));
    }
    ADisplayServices::current().setLookOptions(0);
    DeleteDC(dc);

    // Leaving through the border clears the component under the mouse.
    ADisplayServices::current().setHoverComponent(styled);
    AMessage border{0, HTCAPTION, WM_NCMOUSEMOVE, foreign};
    EXPECT_EQ(0, handler.handle(border).handled);
    EXPECT_EQ(nullptr, ADisplayServices::current().hoverComponent());
    DestroyWindow(foreign);
}

namespace {

LRESULT g_driverAnswer = 0;

LRESULT CALLBACK WheelDriverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RegisterWindowMessageA("MSH_SCROLL_LINES_MSG"))
        return g_driverAnswer;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(WheelTest, AnOldWheelDriversWindowGivesTheScrollLines) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WheelDriverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MouseZ";
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND driver = CreateWindowExA(0, "MouseZ", "Magellan MSWHEEL", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!driver)
        GTEST_SKIP() << "no display";
    struct Row {
        LRESULT answer;
        int lines;
    } rows[] = {{7, 7}, {0, 0}, {static_cast<LRESULT>(WHEEL_PAGESCROLL), -1}, {0x7FFFFFFF, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answer);
        g_driverAnswer = r.answer;
        EXPECT_EQ(r.lines, GetWheelScrollLines(true));
        g_driverAnswer = 99;
        EXPECT_EQ(r.lines, GetWheelScrollLines(false)) << "kept until read again";
    }
    DestroyWindow(driver);
    UnregisterClassA("MouseZ", GetModuleHandleA(nullptr));
    g_driverAnswer = 99;
    EXPECT_NE(99, GetWheelScrollLines(true)) << "without the driver the system's setting holds";
}

TEST_F(WindowsTest, MdiChildrenAreWalkedInZOrderPassingOverForeignWindows) {
    AMdiFrame frame(app, "frame", WS_OVERLAPPEDWINDOW, ARect(0, 0, 400, 300), nullptr, true);
    if (!frame.ANativeWindow::hwnd())
        GTEST_SKIP() << "no display";
    AMdiClient client(app, nullptr, AMdiFrame::kFirstChildId, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, ARect(0, 0, 0, 0),
                      true);
    std::vector<AMdiChildShell*> children;
    for (int i = 0; i < 3; ++i)
        children.push_back(new AMdiChildShell(makeDisplay(static_cast<int16_t>(30 + i)), "child",
                                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, ARect(0, 0, 100, 80), true));
    HWND foreign = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, client.hwnd(), nullptr, nullptr, nullptr);
    SetWindowPos(foreign, GetWindow(children[1]->hwnd(), GW_HWNDPREV), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // The z-order the system keeps, framework children only.
    std::vector<ADisplayComponent*> order;
    for (HWND h = GetWindow(client.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        for (AMdiChildShell* child : children)
            if (child->hwnd() == h)
                order.push_back(child->window());
    }
    ASSERT_EQ(3u, order.size());
    std::vector<ADisplayComponent*> forward, backward;
    for (ADisplayComponent* c = NextMdiWindow(nullptr); c && forward.size() < 5; c = NextMdiWindow(c->enclosingWindow()))
        forward.push_back(c);
    for (ADisplayComponent* c = PreviousMdiWindow(nullptr); c && backward.size() < 5;
         c = PreviousMdiWindow(c->enclosingWindow()))
        backward.insert(backward.begin(), c);
    EXPECT_EQ(order, forward);
    EXPECT_EQ(order, backward);
    EXPECT_EQ(nullptr, NextMdiWindow(frame.hwnd())) << "not a child of the MDI client";
    DestroyWindow(foreign);
    for (AMdiChildShell* child : children)
        delete child;
}

namespace {

// Services installed for one scope.
struct InstalledServices {
    explicit InstalledServices(AWindowServices* services) { AWindowServices::install(services); }
    ~InstalledServices() { AWindowServices::install(nullptr); }
};

// Logs the application's activation, enabling and end-of-session answers.
class ActivationServices : public AWindowServices {
public:
    bool setActive(bool active) override {
        bool changed = AWindowServices::setActive(active);
        log += std::string(active ? "active" : "inactive") + (changed ? "! " : " ");
        return changed;
    }
    void enableWindows(bool enable) override { log += enable ? "enable " : "disable "; }
    long queryEndSession() override { return 0; }
    void lowMemory() override { log += "low "; }
    std::string log;
};

}  // namespace

TEST_F(WindowsTest, TheFrameTellsTheApplicationOfActivationEnablingAndTheSessionsEnd) {
    ActivationServices services;
    InstalledServices installed(&services);
    AMdiFrame frame(app, "frame", WS_OVERLAPPEDWINDOW, ARect(0, 0, 400, 300), nullptr, true);
    HWND hwnd = frame.ANativeWindow::hwnd();
    if (!hwnd)
        GTEST_SKIP() << "no display";
    services.log.clear();
    SendMessageA(hwnd, WM_ACTIVATEAPP, 1, 0);
    SendMessageA(hwnd, WM_ACTIVATEAPP, 1, 0);
    SendMessageA(hwnd, WM_ACTIVATEAPP, 0, 0);
    SendMessageA(hwnd, WM_ENABLE, 0, 0);
    SendMessageA(hwnd, WM_ENABLE, 1, 0);
    SendMessageA(hwnd, WM_COMPACTING, 0x8000, 0);
    EXPECT_EQ("active! active inactive! disable enable low ", services.log);
    EXPECT_EQ(0, SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0)) << "the application refuses the end of the session";

    // A change of the system colours reaches the live displays.
    HDC dc = CreateCompatibleDC(nullptr);
    auto* display = new AGraphicDisplay(nullptr, dc, 0, nullptr);
    display->addRef();
    display->SetForeColor(AGraphicDisplay::kHiliteColor);
    const int element = COLOR_HIGHLIGHTTEXT;
    const COLORREF old = GetSysColor(element), changed = RGB(1, 2, 3);
    SetSysColors(1, &element, &changed);
    SendMessageA(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(changed, display->resolvedForeColor());
    SetSysColors(1, &element, &old);
    display->release();
    DeleteDC(dc);
}

namespace {

// Logs the palette realisations it is asked for: "fore" or "back".
class PaletteDisplay : public ADisplayComponent {
public:
    PaletteDisplay(AComponent* parent, int16_t id) : ADisplayComponent(parent, id, ASizeSpec()) {}
    int realizePalette(bool background) override {
        log += background ? "back " : "fore ";
        return 1;
    }
    std::string log;
};

}  // namespace

TEST_F(WindowsTest, PaletteMessagesRealiseTheDisplaysPaletteForegroundOrBackground) {
    auto* display = new PaletteDisplay(app, 40);
    AObject::completeNew(display);
    APaletteTable table(app);
    table.setEnabled(true);
    table.handlers().slot(AddressWord(display)) = static_cast<ADisplaySite*>(display);
    APaletteTable::setActive(&table);
    ADisplayWindowHandler handler(display);
    HWND self = reinterpret_cast<HWND>(0x1234), other = reinterpret_cast<HWND>(0x5678);
    AMessage query{0, 0, WM_QUERYNEWPALETTE, self};
    AMessageResult answer = handler.handle(query);
    EXPECT_EQ(1, answer.handled);
    EXPECT_EQ(1, answer.result) << "colours changed";
    AMessage fromOther{0, reinterpret_cast<WPARAM>(other), WM_PALETTECHANGED, self};
    EXPECT_EQ(0, handler.handle(fromOther).handled);
    AMessage fromSelf{0, reinterpret_cast<WPARAM>(self), WM_PALETTECHANGED, self};
    handler.handle(fromSelf);
    EXPECT_EQ("fore back ", display->log) << "its own change is not realised again";
    APaletteTable::setActive(nullptr);
}

TEST_F(WindowsTest, TheFrameAsksItsActiveChildForThePaletteAndPassesChangesDown) {
    AMdiFrame frame(app, "frame", WS_OVERLAPPEDWINDOW, ARect(0, 0, 400, 300), nullptr, true);
    HWND hwnd = frame.ANativeWindow::hwnd();
    if (!hwnd)
        GTEST_SKIP() << "no display";
    AMdiClient client(app, nullptr, AMdiFrame::kFirstChildId, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, ARect(0, 0, 0, 0),
                      true);
    auto* display = new PaletteDisplay(app, 41);
    AObject::completeNew(display);
    APaletteTable table(app);
    table.setEnabled(true);
    table.handlers().slot(AddressWord(display)) = static_cast<ADisplaySite*>(display);
    APaletteTable::setActive(&table);
    {
        AMdiChildShell child(display, "child", WS_OVERLAPPEDWINDOW | WS_VISIBLE, ARect(0, 0, 100, 80), true);
        child.activate();
        ASSERT_EQ(&child, AMdiChildShell::activeChild());
        display->log.clear();
        EXPECT_EQ(1, SendMessageA(hwnd, WM_QUERYNEWPALETTE, 0, 0));
        SendMessageA(hwnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow()), 0);
        EXPECT_EQ("fore back ", display->log) << "the change reaches the MDI children";
    }
    EXPECT_EQ(0, SendMessageA(hwnd, WM_QUERYNEWPALETTE, 0, 0)) << "no child, no tool bar, no palette of the application";
    APaletteTable::setActive(nullptr);
}

TEST_F(WindowsTest, ComingInFromTheBorderLeavesTheHoveredComponent) {
    ADisplayComponent* display = makeDisplay(50);
    ATopLevelShell shell(display, nullptr, "shell", WS_OVERLAPPEDWINDOW | WS_VISIBLE, ARect(100, 100, 300, 250), false,
                         true);
    HWND hwnd = shell.ANativeWindow::hwnd();
    if (!hwnd)
        GTEST_SKIP() << "no display";
    RECT outer;
    GetWindowRect(hwnd, &outer);
    POINT inside{20, 20};
    ClientToScreen(hwnd, &inside);
    POINT caption{(outer.left + outer.right) / 2, outer.top + GetSystemMetrics(SM_CYFRAME) + 2};
    auto hitAt = [&](POINT p) { return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)); };
    ADisplayServices& services = ADisplayServices::current();
    services.setHoverComponent(display);
    EXPECT_EQ(HTCLIENT, hitAt(inside));
    EXPECT_EQ(display, services.hoverComponent()) << "inside all along: the hover stays";
    ASSERT_EQ(HTCAPTION, hitAt(caption));
    EXPECT_EQ(HTCLIENT, hitAt(inside));
    EXPECT_EQ(nullptr, services.hoverComponent());
}

TEST_F(WindowsTest, AMediaDevicesNoticeBecomesAChangeOfTheOwner) {
    ProbeWindow probe(app);
    probe.create("probe", WS_OVERLAPPEDWINDOW, ARect(0, 0, 200, 100), 0, true);
    HWND window = probe.ANativeWindow::hwnd();
    if (!window)
        GTEST_SKIP() << "no display";
    app->updates.clear();
    EXPECT_EQ(0, SendMessageA(window, 0x3B9, 1, 0));
    EXPECT_FALSE(app->updates.empty()) << "change 20 is queued";
    app->updates.clear();
}

namespace {

// Consumes the messages of one number and counts what it was offered.
class FilterProbe : public AComponent {
public:
    FilterProbe(AComponent* parent, int16_t id, UINT consumed) : AComponent(parent, id), consumed_(consumed) {}
    long filterMessage(AMessage& m) override {
        ++offered;
        return m.message == consumed_;
    }
    int offered = 0;

private:
    UINT consumed_;
};

}  // namespace

TEST_F(WindowsTest, FiltersSeeTheMessagesNoHandlerTookAndMayConsumeThem) {
    ProbeWindow probe(app);
    probe.create("probe", WS_OVERLAPPEDWINDOW, ARect(0, 0, 200, 100), 0, true);
    HWND window = probe.ANativeWindow::hwnd();
    if (!window)
        GTEST_SKIP() << "no display";
    auto* passing = new FilterProbe(app, 60, WM_NULL);
    AObject::completeNew(passing);
    auto* consuming = new FilterProbe(app, 61, WM_GETTEXTLENGTH);
    AObject::completeNew(consuming);
    struct Step {
        const char* name;
        AComponent* add;
        AComponent* remove;
        LRESULT length;
    } steps[] = {
        {"no filter", nullptr, nullptr, 5},
        {"a filter that lets it pass", passing, nullptr, 5},
        {"a filter that consumes it", consuming, nullptr, 0},
        {"the consuming filter removed", nullptr, consuming, 5},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.add)
            probe.addFilter(s.add);
        if (s.remove)
            probe.removeFilter(s.remove);
        EXPECT_EQ(s.length, SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    }
    EXPECT_LE(2, passing->offered) << "offered whenever the consuming filter did not come first";
    EXPECT_EQ(1, consuming->offered);
    probe.removeFilter(passing);
}

TEST_F(WindowsTest, ToolWindowsFollowTheFrameAndKeepTheCaptionsActiveWhileTheApplicationIs) {
    ActivatingServices services;
    AWindowServices::install(&services);
    ProbeFrame frame(app, "frame", WS_OVERLAPPEDWINDOW, ARect(0, 0, 400, 300), nullptr, true);
    HWND f = frame.ANativeWindow::hwnd();
    if (!f) {
        AWindowServices::install(nullptr);
        GTEST_SKIP() << "no display";
    }
    auto* tool = new ProbeToolWindow(makeDisplay(1), f, 0);
    tool->create("tool", WS_POPUP | WS_CAPTION, ARect(0, 0, 80, 60), 0, true);
    HWND t = tool->hwnd();
    ASSERT_NE(nullptr, t);
    EXPECT_TRUE(frame.hasToolWindows());

    // Clicked while the application is inactive: the frame comes forward, the tool window never activates.
    services.setActive(false);
    EXPECT_EQ(MA_NOACTIVATE, SendMessageA(t, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f), 0));
    EXPECT_EQ(1, services.activations);
    services.setActive(true);
    EXPECT_EQ(MA_NOACTIVATE, SendMessageA(t, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f), 0));
    EXPECT_EQ(1, services.activations);

    struct Row {
        const char* name;
        bool active, modal, frameEnabled;
        int caption;
    } rows[] = {
        {"active", true, false, true, 1},
        {"inactive application", false, false, true, 0},
        {"modal window open", true, true, true, 0},
        {"frame disabled", true, false, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        services.setActive(r.active);
        ATopLevelShell* modal = nullptr;
        if (r.modal) {
            modal = new ATopLevelShell(makeDisplay(2), nullptr, "modal", WS_POPUP, ARect(0, 0, 50, 50), true, true);
            modal->show(false);
        }
        EnableWindow(f, r.frameEnabled);
        EXPECT_EQ(r.frameEnabled, IsWindowEnabled(t) != 0) << "the tool window follows the frame";
        SendMessageA(f, WM_NCACTIVATE, 0, 0);
        SendMessageA(t, WM_NCACTIVATE, 0, 0);
        EXPECT_EQ(r.caption, frame.caption);
        EXPECT_EQ(r.caption, tool->caption);
        delete modal;
        EnableWindow(f, TRUE);
    }

    // The close box runs the bar's close at once and leaves the window to it.
    SendMessageA(t, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, tool->closes);
    EXPECT_TRUE(IsWindow(t));

    // Without tool windows the frame's caption follows the system.
    delete tool;
    EXPECT_FALSE(frame.hasToolWindows());
    services.setActive(true);
    SendMessageA(f, WM_NCACTIVATE, 0, 0);
    EXPECT_EQ(0, frame.caption);
    AWindowServices::install(nullptr);
}

// A display component whose own window is moved or sized from outside takes
// the window's client rectangle as its frame; a change of order alone leaves it.
TEST_F(WindowsTest, ADisplayFollowsItsOwnWindowsMovesAndSizes) {
    ADisplayComponent* display = makeDisplay(60);
    ADisplayWindow window(display, nullptr);
    window.create("display", WS_POPUP | WS_VISIBLE, ARect(10, 10, 110, 60), 0, true);
    HWND hwnd = window.ANativeWindow::hwnd();
    if (!hwnd)
        GTEST_SKIP() << "no display";
    display->setNativeWindow(hwnd);
    struct Row {
        const char* name;
        int x, y, cx, cy;
        UINT flags;
        ARect frame;
    } rows[] = {
        {"moved and sized", 30, 40, 150, 90, SWP_NOZORDER | SWP_NOACTIVATE, ARect(30, 40, 180, 130)},
        {"moved", 50, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, ARect(50, 20, 200, 110)},
        {"sized", 0, 0, 60, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, ARect(50, 20, 110, 50)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SetWindowPos(hwnd, nullptr, r.x, r.y, r.cx, r.cy, r.flags);
        EXPECT_EQ(r.frame, display->getFrame());
    }
    // A change that neither moves nor sizes is not read back; one that does is.
    display->setNativeWindow(nullptr);
    MoveWindow(hwnd, 5, 5, 20, 20, FALSE);
    display->setNativeWindow(hwnd);
    WINDOWPOS order{hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE};
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&order));
    EXPECT_EQ(ARect(50, 20, 110, 50), display->getFrame());
    order.flags = SWP_NOZORDER;
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&order));
    EXPECT_EQ(ARect(5, 5, 25, 25), display->getFrame());
    display->setNativeWindow(nullptr);
}
