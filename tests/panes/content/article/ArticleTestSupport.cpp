// The real reader started in-process on the sample for the centre views' tests.
#include "tests/panes/content/article/ArticleTestSupport.h"

#include <windows.h>

#include "app/frame/Frame1.h"
#include "app/main/AppInstall.h"
#include "base/object/AError.h"
#include "framework/components/AComponent.h"
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

void SampleReaderTest::start() {
    app = new TheApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWMAXIMIZED);
    AObject::completeNew(app);
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    ASSERT_TRUE(app->loadStyleSheet());
    ASSERT_TRUE(app->mountBases());
    ASSERT_TRUE(app->loadWorkspace());
    app->loadPreferences();
    if (!app->loadFrame() || !app->getFrame()) {
        skipReason = "no main window (no display?)";
        return;
    }
    frame = app->getFrame();
    if (AWindowShell* shell = frame->getNativeWindow())
        SetWindowPos(shell->hwnd(), HWND_TOP, 0, 0, 1000, 700, SWP_SHOWWINDOW);
    pump();
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

DocKycfPane* SampleReaderTest::articlePane() {
    AComponent* found = frame->findDescendant(&DocKycfPane::classRecord, nullptr);
    return found ? static_cast<DocKycfPane*>(found->castTo(&DocKycfPane::classRecord)) : nullptr;
}

void SampleReaderTest::saveShot(const char* name) {
    AWindowShell* shell = frame->getNativeWindow();
    if (!shell)
        return;
    HWND hwnd = shell->hwnd();
    frame->showUpdate();
    pump();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    frame->redraw(false);
    RECT r;
    GetWindowRect(hwnd, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    printf("%s: %s\n", name, canvas.savePng(name).c_str());
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
