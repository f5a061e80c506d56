// Shared pieces of the network tests.
#include "tests/web/net/NetTestSupport.h"

#include <windows.h>


#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/app/AWindow.h"
#include "web/net/AProxyInfo.h"

namespace {

std::deque<DialogAnswer> g_answers;
std::vector<std::string> g_shown;
std::function<void(AWindow*)> g_custom;
AWindow* g_answered = nullptr;
int g_turns = 0;
std::string g_trace;

// A dialog left open this many turns is a failure: it is cancelled so that nothing waits.
const int kMaxTurns = 3000;

void Answer(AApp* app, AWindow* dialog) {
    if (g_answers.empty()) {
        ADD_FAILURE() << "a dialog nobody expected: " << dialog->getClass()->name();
        app->perform(dialog->doCommand(AWindow::kCancelCommand, 0));
        return;
    }
    DialogAnswer answer = g_answers.front();
    g_answers.pop_front();
    if (answer.confirm) {
        int16_t first = dialog->hasItem(4151) ? 4151 : 4101;
        dialog->setItemText(first, answer.first.c_str());
        dialog->setItemText(static_cast<int16_t>(first + 1), answer.second.c_str());
    }
    app->perform(dialog->doCommand(answer.confirm ? AWindow::kOkCommand : AWindow::kCancelCommand, 0));
}

// Each turn with the dialog still open takes the next answer: a refused
// answer leaves the dialog open for the one after it.
void ScriptStep(AWindow* dialog) {
    AApp* app = AApp::current();
    if (dialog != g_answered) {
        g_answered = dialog;
        g_turns = 0;
        g_shown.push_back(dialog->getClass()->name());
    }
    if (app->dialogResult() == 0) {
        if (g_custom)
            g_custom(dialog);
        else
            Answer(app, dialog);
    }
    PumpOnce(app);
    if (++g_turns > kMaxTurns && app->dialogResult() == 0) {
        ADD_FAILURE() << "the dialog stayed open";
        app->setDialogResult(1);
    }
    // The closed dialog goes; the next may take its address.
    if (app->dialogResult() != 0)
        g_answered = nullptr;
}

}  // namespace

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpOnce(AApp* app) {
    PumpMessages();
    app->flushUpdates();
}

std::string& NetTest::trace() {
    return g_trace;
}

std::deque<DialogAnswer>& NetTest::answers() {
    return g_answers;
}

std::vector<std::string>& NetTest::shown() {
    return g_shown;
}

std::function<void(AWindow*)>& NetTest::customStep() {
    return g_custom;
}

std::vector<std::string> NetTest::takeBoxes() {
    std::vector<std::string> out;
    for (const CapturedBox& b : CapturedBoxes()) {
        // The HTTP module's trace lines come untitled.
        if (b.caption.empty())
            g_trace += b.text;
        else
            out.push_back(b.caption + "|" + b.text);
    }
    ClearBoxes();
    return out;
}

void NetTest::SetUp() {
    AClass::buildRegistry();
    TestClock() = 1000;
    SetErrorStream(&errors);
    app = new NetApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    AObject::completeNew(app);
    app->flushUpdates();
    g_answers.clear();
    g_shown.clear();
    g_custom = nullptr;
    g_answered = nullptr;
    g_trace.clear();
    SetNetDialogStep(&ScriptStep);
    ClearBoxes();
}

void NetTest::TearDown() {
    EXPECT_TRUE(g_answers.empty()) << "answers left for dialogs that never showed";
    SetNetDialogStep(nullptr);
    g_custom = nullptr;
    AComponent* root = app;
    DeleteComponent(root);
    PumpMessages();
    SetErrorStream(nullptr);
    AClass::releaseRegistry();
    TestClock() = 0;
}
