// Shared set-up of the cluster tests.
#include "tests/framework/clusters/ClusterTestSupport.h"

#include <windows.h>

#include <cstdio>

#include "base/object/InputRecords.h"
#include "framework/display/ASizing.h"

namespace {

class TestApp : public AApp {
public:
    TestApp(uint16_t style, bool framed) : AApp(AString("TestClusters"), ARect(), style, 0), framed_(framed) {}
    void beep(uint32_t) override { ++ClusterTestBeeps; }

protected:
    void* createFrameWindow(const ARect& rect, const AString& title) override {
        return framed_ ? AApp::createFrameWindow(rect, title) : nullptr;
    }

private:
    bool framed_;
};

bool g_shift = false;

short TestKeyState(int key) {
    return key == VK_SHIFT && g_shift ? short(0x8000) : short(0);
}

}  // namespace

int ClusterTestBeeps = 0;

ASizeSpec Frame(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return ASizeSpec(ARect(left, top, right, bottom));
}

TestWindow::TestWindow(AComponent* parent, const ARect& frame, const char* environment)
    : ALocalCluster(parent, 1, ASizeSpec(frame), 0, 1, environment) {}

bool TestWindow::openWindow(const char* title) {
    // Without an X display no window can be made: the caller skips.
    HWND probe = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe)
        return false;
    DestroyWindow(probe);
    ARect f = getFrame();
    shell_.reset(new ATopLevelShell(this, nullptr, title, WS_POPUP | WS_CLIPCHILDREN, f, false, true));
    return shell_->hwnd() != nullptr;
}

void TestWindow::detachItems() {
    shell_.reset();
    setNativeWindow(nullptr);
    ALocalCluster::detachItems();
}

ACommand* TestWindow::keyToCommand(AKeyEvent& event) {
    if (event.down && event.keyCode == VK_TAB) {
        AComponent* from = currentTarget();
        bool back = (event.modifiers() & kModShift) != 0;
        AClusterItem* next = back ? previousFocusTarget(from, true) : nextFocusTarget(from, true);
        if (next)
            next->becomeTarget(1);
        return noChangeCommand();
    }
    return ALocalCluster::keyToCommand(event);
}

void ClusterTest::makeApp(uint16_t style, bool framed) {
    dropApp();
    TestClock() = 1000;
    AClass::buildRegistry();
    SetErrorStream(&errors);
    app = new TestApp(style, framed);
    app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    AObject::completeNew(app);
}

void ClusterTest::dropApp() {
    if (!app)
        return;
    AComponent* root = app;
    DeleteComponent(root);
    app = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    SetErrorStream(nullptr);
    AClass::releaseRegistry();
    TestClock() = 0;
}

void ClusterTest::TearDown() {
    // What an unexpected assertion said, next to the failure it caused.
    if (HasFailure()) {
        for (const CapturedBox& box : CapturedBoxes())
            std::printf("box: %s\n", box.text.c_str());
        std::printf("%s", errors.text.c_str());
    }
    SetAsyncKeyStateFunction(nullptr);
    dropApp();
}

std::string ClusterTest::assertionText(const std::function<void()>& fn) {
    ClearBoxes();
    if (FatalExitCodeOf(fn) <= 0)
        return "";
    return CapturedBoxes().empty() ? "?" : CapturedBoxes().back().text;
}

void ClusterTest::sendKey(HWND window, WPARAM key, bool shift) {
    g_shift = shift;
    SetAsyncKeyStateFunction(TestKeyState);
    SendMessageA(window, WM_KEYDOWN, key, 0);
    SendMessageA(window, WM_KEYUP, key, 0);
    g_shift = false;
}
