// Shared set-up of the cluster tests: a class registry, a real AApp (its
// style chosen per test) without a frame window unless asked, a captured
// error stream, and a test window: a local cluster in a top-level window that
// moves the focus with Tab and Shift+Tab as the framework's windows do.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/app/AApp.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/windows/AWindowShell.h"
#include "tests/support/TestHooks.h"

// Makes a component and opens it.
template <class T, class... Args>
T* Open(Args&&... args) {
    T* c = new T(std::forward<Args>(args)...);
    AObject::completeNew(c);
    return c;
}

// Sets the shown flag that a component opened from code (the root of its own
// open) does not get, so that it becomes visible with its parent.
template <class T>
T* Shown(T* c) {
    c->show(false);
    return c;
}

// The beeps of the test application (it makes no sound).
extern int ClusterTestBeeps;

// An absolute rule for a frame.
ASizeSpec Frame(int32_t left, int32_t top, int32_t right, int32_t bottom);

class TestWindow : public ALocalCluster {
public:
    TestWindow(AComponent* parent, const ARect& frame, const char* environment);
    // Makes the native window; items that need one are added after.
    bool openWindow(const char* title);
    void detachItems() override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    HWND hwnd() const { return shell_ ? shell_->hwnd() : nullptr; }

private:
    std::unique_ptr<ATopLevelShell> shell_;
};

class ClusterTest : public testing::Test {
protected:
    void SetUp() override { makeApp(0); }
    void TearDown() override;
    // Replaces the application by one with this style, with its frame window when framed.
    void makeApp(uint16_t style, bool framed = false);
    void dropApp();
    // The text of the error box that fn ended in, or "" when it ended normally.
    static std::string assertionText(const std::function<void()>& fn);
    // Sends a key down and up to the window; shift held with shift set.
    static void sendKey(HWND window, WPARAM key, bool shift = false);

    AApp* app = nullptr;
    CaptureStream errors;
};
