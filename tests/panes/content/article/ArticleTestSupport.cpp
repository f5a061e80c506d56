// The real reader started in-process on the sample for the centre views' tests.
#include "tests/panes/content/article/ArticleTestSupport.h"

#include <windows.h>

#include <cstdio>

#include "app/frame/Frame1.h"
#include "reader/AppInstall.h"
#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/windows/AWindowShell.h"
#include "panes/content/article/DocKycfPane.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

std::string SampleFolder() {
    std::string folder = SV_BINARY_DIR "/sample";
    for (char& c : folder) {
        if (c == '/')
            c = '\\';
    }
    return "Z:" + folder;
}

// The deepest shown child of `window` under the screen point, or null
// when the point lies outside it.
HWND WindowUnder(HWND window, POINT screen) {
    RECT r = {};
    GetWindowRect(window, &r);
    if (!PtInRect(&r, screen))
        return nullptr;
    HWND at = window;
    for (;;) {
        POINT local = screen;
        ScreenToClient(at, &local);
        HWND child = ChildWindowFromPointEx(at, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == at)
            return at;
        at = child;
    }
}

}  // namespace

void SampleReaderTest::SetUp() {
    std::string sample = SampleFolder();
    if (GetFileAttributesA((sample + "\\sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES) {
        skipReason = "no sample (tools/sample/build.sh builds it)";
        return;
    }
    GetCurrentDirectoryA(sizeof previousFolder_, previousFolder_);
    SetCurrentDirectoryA(sample.c_str());
    AClass::buildRegistry();
    SetErrorStream(&errors);
    ClearBoxes();
    try {
        start();
    } catch (const AError& e) {
        CaptureStream report;
        e.report(report);
        FAIL() << "start: " << report.text << errors.text;
    } catch (const struct FatalExit& e) {
        FAIL() << "start: fatal " << e.code << errors.text;
    }
}

// The reader starts as it does on its own: from the start request that the
// application posts to itself, run by the message loop. Running the start's
// steps here as well made the posted start run them again and open a second
// main window over the first, which hid every pixel the first one drew.
void SampleReaderTest::start() {
    app = new TheApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWMAXIMIZED);
    if (withMovies)
        app->activateOtherInstance();
    AObject::completeNew(app);
    for (int i = 0; i < 500 && !(app->started() && app->getFrame()); ++i) {
        pump();
        Sleep(10);
    }
    ASSERT_TRUE(app->started()) << errors.text;
    if (!app->getFrame()) {
        skipReason = "no main window (no display?)";
        return;
    }
    frame = app->getFrame();
    placeFrame();
    pump();
}

// Room for the whole frame on the screen, so its pixels can be read back.
bool SampleReaderTest::placeFrame() {
    AWindowShell* shell = frame ? frame->getNativeWindow() : nullptr;
    if (!shell)
        return false;
    HWND root = GetAncestor(shell->hwnd(), GA_ROOT);
    RECT outer = {}, inner = {};
    GetWindowRect(root, &outer);
    GetWindowRect(shell->hwnd(), &inner);
    if (outer.left == 0 && outer.top == 0 && outer.right == 1024 && outer.bottom == 768 &&
        inner.right - inner.left == 1000 && inner.bottom - inner.top == 700)
        return false;
    // A frame still marked maximised is what Wine later restores on its own.
    if (IsZoomed(root))
        ShowWindow(root, SW_RESTORE);
    SetWindowPos(root, HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW);
    SetWindowPos(shell->hwnd(), HWND_TOP, 0, 0, 1000, 700, SWP_SHOWWINDOW);
    return true;
}

void SampleReaderTest::TearDown() {
    if (HasFailure()) {
        std::string log = errors.text;
        printf("reader's log: %s\n", log.substr(log.size() > 600 ? log.size() - 600 : 0).c_str());
    }
    if (app) {
        BoxAnswer() = IDOK;
        AComponent* root = app;
        DeleteComponent(root);
        ResetAppSeams();
        SetErrorStream(nullptr);
        AClass::releaseRegistry();
        SetCurrentDirectoryA(previousFolder_);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
}

void SampleReaderTest::pump() {
    for (int i = 0; i < 10; ++i) {
        AApp::current()->flushUpdates();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
}

void SampleReaderTest::settle() {
    for (int i = 0; i < 20; ++i) {
        ADisplayServices::current().flushLayouts();
        app->flushUpdates();
        pump();
        Sleep(10);
    }
    RedrawWindow(frame->getHWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
}

void SampleReaderTest::clickAt(const APoint& screen) {
    POINT p = {screen.x, screen.y};
    // With no window manager on the test's display, Wine takes some late
    // notices of the X window as the manager's and can unmaximise the frame to
    // its restored size: put it back where the views were measured.
    if (placeFrame())
        settle();
    HWND target = WindowFromPoint(p);
    // Under a loaded machine the window system can lag behind the layout
    // that placed the button: give it a moment before calling the click lost.
    // The frame can be moved again while we wait: place it each time.
    for (int i = 0; i < 30 && !target; ++i) {
        placeFrame();
        settle();
        target = WindowFromPoint(p);
    }
    if (!target) {
        // Wine's late notices can leave the top-level window at its restored
        // size whatever we ask, which clips the reader's own window at the
        // screen's hit test: find the window under the point from the
        // reader's window down, as its own layout placed it.
        RECT root = {};
        HWND top = GetAncestor(frame->getHWnd(), GA_ROOT);
        GetWindowRect(top, &root);
        printf("no top-level window at %ld,%ld; the main window is at %ld,%ld-%ld,%ld%s%s\n", p.x, p.y, root.left,
               root.top, root.right, root.bottom, IsWindowVisible(top) ? ", shown" : ", hidden",
               IsZoomed(top) ? ", maximised" : "");
        target = WindowUnder(frame->getHWnd(), p);
    }
    if (!target)
        FAIL() << "no window of the reader at " << p.x << "," << p.y;
    ScreenToClient(target, &p);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    pump();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    pump();
}

DocKycfPane* SampleReaderTest::articlePane() {
    AComponent* found = frame->findDescendant(&DocKycfPane::classRecord, nullptr);
    return found ? static_cast<DocKycfPane*>(found->castTo(&DocKycfPane::classRecord)) : nullptr;
}

int SampleReaderTest::saveShot(const char* name, const ARect* inside) {
    AWindowShell* shell = frame->getNativeWindow();
    if (!shell)
        return 0;
    HWND hwnd = shell->hwnd();
    frame->invalidate();
    frame->showUpdate();
    pump();
    RECT r;
    GetClientRect(hwnd, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    HDC dc = GetDC(hwnd);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    printf("%s: %s\n", name, canvas.savePng(name).c_str());
    return inside ? canvas.inkIn(*inside) : 0;
}

void SampleReaderTest::guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const AError& e) {
        CaptureStream report;
        e.report(report);
        FAIL() << report.text;
    } catch (const struct FatalExit& e) {
        FAIL() << "fatal " << e.code << errors.text;
    }
}
