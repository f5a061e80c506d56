// Shared set-up of the control tests: a test window that records what its
// items tell it, on the cluster tests' application and window.
#pragma once

#include <string>

#include "tests/framework/clusters/ClusterTestSupport.h"

class RecordingWindow : public TestWindow {
public:
    using TestWindow::TestWindow;
    long itemNotify(int16_t id, long argument, AClusterItem* item) override;
    // Hits of the default item: logged as "hit id:argument;" and taken.
    long itemCommand(int16_t id, long argument, AClusterItem* item) override;
    std::string log;  // "id:argument;" per notification
};

class ControlsTest : public ClusterTest {
protected:
    // An open recording window, or null without a display.
    RecordingWindow* openWindow(const char* title);
    void closeWindow();
    // Brings the window to the front and gives hwnd the keyboard focus:
    // characters reach only the focused control.
    bool focus(HWND hwnd);

    RecordingWindow* window = nullptr;
};
