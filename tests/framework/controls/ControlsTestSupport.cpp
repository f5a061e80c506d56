// Shared set-up of the control tests.
#include "tests/framework/controls/ControlsTestSupport.h"

long RecordingWindow::itemNotify(int16_t id, long argument, AClusterItem* item) {
    log += std::to_string(id) + ":" + std::to_string(argument) + ";";
    return TestWindow::itemNotify(id, argument, item);
}

long RecordingWindow::itemCommand(int16_t id, long argument, AClusterItem* item) {
    (void)item;
    log += "hit " + std::to_string(id) + ":" + std::to_string(argument) + ";";
    return 1;
}

RecordingWindow* ControlsTest::openWindow(const char* title) {
    window = Open<RecordingWindow>(app, ARect(10, 10, 410, 310), "#background:255,255,255");
    if (!window->openWindow(title)) {
        closeWindow();
        return nullptr;
    }
    return window;
}

void ControlsTest::closeWindow() {
    if (!window)
        return;
    AComponent* root = window;
    DeleteComponent(root);
    window = nullptr;
}

bool ControlsTest::focus(HWND hwnd) {
    SetForegroundWindow(window->hwnd());
    SetFocus(hwnd);
    return GetFocus() == hwnd;
}
