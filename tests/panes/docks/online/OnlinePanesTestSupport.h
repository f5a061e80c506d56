// Shared parts of the online pane tests: a host that records what the panes
// ask of the application and answers from its fields, and the fixture that
// opens the test main window with the web complement pane over the runtime.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "panes/docks/online/AOnlinePanesHost.h"
#include "tests/app/frame/FrameTestSupport.h"
#include "tests/web/browser/BrowserTestSupport.h"

class ComplWebPane;

class FakeOnlineHost : public AOnlinePanesHost {
public:
    struct Box {
        std::string text, caption;
        unsigned flags;
    };

    AString getNetStatusPage(int16_t check) override;
    void saveWebPageCopy() override { ++saves; }
    void openWebHome(int16_t full) override { calls += "home(" + std::to_string(full) + ");"; }
    void showWebPage(const char* address, int16_t full, int16_t second) override;
    bool checkConnection() override { return connected; }
    AString makeServiceUrl(const char* page, const char* name, const char* value) override;
    AString configString(const char* key) override;
    void serviceAccountRequest(int16_t kind, ANetInfo* settings) override;
    void setupConnectionStatus() override { ++setups; }
    ASVNetDlg* openNetDialog(int16_t step) override;
    ANetInfo* netInfo() override { return settings; }
    APrefManager* prefManager() override { return prefs; }
    int messageBox(const char* text, const char* caption, unsigned flags) override;
    void beep() override { ++beeps; }
    void logLines(const char* text) override { log += text; }

    std::string statusPage = "http://127.0.0.1/start";
    std::map<std::string, std::string> config;
    std::string calls;  // "status(f);", "home(f);", "show(address,f,s);", "request(k);"
    bool connected = true;
    int saves = 0, setups = 0, beeps = 0;
    std::vector<Box> boxes;
    std::vector<int> answers;  // box answers in order; 1 (OK) after them
    std::function<void(int16_t, ANetInfo*)> onRequest;
    ANetInfo* settings = nullptr;  // not owned
    APrefManager* prefs = nullptr;  // not owned
    ASVNetDlg* wizard = nullptr;    // the last one opened (the application owns it)
    bool keepWizard = true;         // a closed wizard stays until the test deletes it
    std::string log;
};

class OnlinePaneTest : public BrowserTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The test main window with the pane; null without a display.
    ComplWebPane* openPane();
    // Runs the command queue and the view's events for a while.
    void pump(int milliseconds = 50);

    // A window brought up, redrawn with its controls, saved as build/artifacts/<name>.png.
    void windowShot(HWND hwnd, const char* name);
    // A fresh scratch folder for the settings files ("svnet.par", "sv.prf").
    std::string scratch();
    std::string readFile(const std::string& name);

    FakeOnlineHost host;
    TestServices services;
    std::string scratch_;
    Frame1* frame = nullptr;
};
