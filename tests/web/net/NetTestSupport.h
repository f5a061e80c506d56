// Shared pieces of the network tests: an application object without a frame,
// dialogs answered from a script through the dialog step (or a test's own
// step), and the ports of the fixture's origin server and tinyproxy.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/app/AApp.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "tests/support/TestHooks.h"

class AWindow;

// One scripted answer to the next dialog: OK with these fields, or cancel.
struct DialogAnswer {
    bool confirm;
    std::string first;   // user, or proxy host
    std::string second;  // password, or proxy port
};

class NetApp : public AApp {
public:
    NetApp() : AApp(AString("Savantorium"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

// The window messages waiting, dispatched.
void PumpMessages();
// Window messages and the application's updates and commands, once.
void PumpOnce(AApp* app);

class NetTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The answers the next dialogs get, in order; a dialog without one is a failure and is cancelled.
    static std::deque<DialogAnswer>& answers();
    // The class of each dialog shown, in order ("AuthInfo", "ProxyDlg").
    static std::vector<std::string>& shown();
    // Replaces the script for the dialogs to come: called at each turn while one is open.
    static std::function<void(AWindow*)>& customStep();
    // The titled message boxes shown since the last call, "title|text"; the
    // untitled ones, the HTTP module's trace, go to trace().
    static std::vector<std::string> takeBoxes();
    static std::string& trace();

    NetApp* app = nullptr;
    CaptureStream errors;
};
