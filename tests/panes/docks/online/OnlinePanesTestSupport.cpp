// Shared parts of the online pane tests.
#include "tests/panes/docks/online/OnlinePanesTestSupport.h"

#include <fstream>
#include <sstream>

#include "app/online/ANetInfo.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "framework/app/AApp.h"
#include "panes/docks/online/ASVNetDlg.h"
#include "panes/docks/online/ComplWebPane.h"
#include "platform/webrt/nsEmbedding.h"

AString FakeOnlineHost::getNetStatusPage(int16_t check) {
    calls += "status(" + std::to_string(check) + ");";
    return AString(statusPage.c_str());
}

void FakeOnlineHost::showWebPage(const char* address, int16_t full, int16_t second) {
    calls += std::string("show(") + address + "," + std::to_string(full) + "," + std::to_string(second) + ");";
}

AString FakeOnlineHost::makeServiceUrl(const char* page, const char* name, const char* value) {
    (void)name, (void)value;
    return AString((std::string("svc:") + page).c_str());
}

AString FakeOnlineHost::configString(const char* key) {
    auto found = config.find(key);
    return AString(found == config.end() ? "" : found->second.c_str());
}

void FakeOnlineHost::serviceAccountRequest(int16_t kind, ANetInfo* s) {
    calls += "request(" + std::to_string(kind) + ");";
    if (onRequest)
        onRequest(kind, s);
}

ASVNetDlg* FakeOnlineHost::openNetDialog(int16_t step) {
    AComponent* made = AComponent::loadLayout(AApp::current(), ASVNetDlg::kLayoutName, 0);
    wizard = made ? static_cast<ASVNetDlg*>(made->castTo(&ASVNetDlg::classRecord)) : nullptr;
    if (!wizard)
        return nullptr;
    wizard->setDeleteOnClose(!keepWizard);
    wizard->setNetInfo(settings);
    // Shown first: the panels' controls follow their panel only in a shown window.
    wizard->showUpdate();
    wizard->showStep(step);
    return wizard;
}

int FakeOnlineHost::messageBox(const char* text, const char* caption, unsigned flags) {
    boxes.push_back({text, caption, flags});
    if (boxes.size() <= answers.size())
        return answers[boxes.size() - 1];
    return 1;
}

void OnlinePaneTest::SetUp() {
    // BrowserTest's set-up with a framed application: the main window is a
    // child of the application's frame window.
    recorder = new RecordingHandler;
    recorder->addRef();
    NS_ScriptLog().clear();
    makeApp(0, true);
    folders.reset(new RuntimeFolders);
    provider = new TableProvider;
    provider->paths["PrfDef"] = folders->runtime + "\\defaults\\pref";
    ASSERT_EQ(NS_OK, folders->init(provider.get())) << errors.text;
    gFrameServices = &services;
    AOnlinePanesHost::install(&host);
}

void OnlinePaneTest::TearDown() {
    if (frame) {
        AComponent* c = frame;
        DeleteComponent(c);
        frame = nullptr;
    }
    AOnlinePanesHost::install(nullptr);
    gFrameServices = nullptr;
    if (!scratch_.empty())
        RemoveTree(scratch_);
    BrowserTest::TearDown();
}

ComplWebPane* OnlinePaneTest::openPane() {
    AComponent* made = AComponent::loadLayout(app, "WebFrame", 0);
    frame = made ? static_cast<Frame1*>(made->castTo(&Frame1::classRecord)) : nullptr;
    if (!frame)
        return nullptr;
    AComponent* pane = frame->findById(3000, 0);
    auto* web = pane ? static_cast<ComplWebPane*>(pane->castTo(&ComplWebPane::classRecord)) : nullptr;
    if (web)
        view = web->view();
    return web;
}

void OnlinePaneTest::pump(int milliseconds) {
    pumpUntil(milliseconds, [this] {
        app->flushUpdates();
        return false;
    });
}

std::string OnlinePaneTest::scratch() {
    if (scratch_.empty()) {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        scratch_ = std::string(base) + "svonline" + std::to_string(GetCurrentProcessId()) + "_" +
                   std::to_string(GetTickCount());
        CreateDirectoryA(scratch_.c_str(), nullptr);
    }
    return scratch_;
}

std::string OnlinePaneTest::readFile(const std::string& name) {
    std::ifstream in(scratch() + "\\" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void OnlinePaneTest::windowShot(HWND hwnd, const char* name) {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    for (int i = 0; i < 5; ++i) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pump(60);
    }
    screenshot(name, hwnd);
}
