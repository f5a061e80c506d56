// The credentials callback and the two dialogs: answered through the dialog
// step, then as real windows under Xvfb with keys posted to their fields;
// kept as build/artifacts/proxy-dialog.png and proxy-auth-dialog.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/procedural/KyHttp.h"
#include "framework/app/AWindow.h"
#include "framework/clusters/AClusterItem.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/web/net/NetTestSupport.h"
#include "web/net/AProxyInfo.h"
#include "web/net/AppNetManager.h"
#include "web/net/AuthInfo.h"
#include "web/net/ProxyDlg.h"

namespace {

int g_changed = 0;
void CountChange(AProxyInfo*) {
    ++g_changed;
}

std::string Str(const AString& s) {
    return s.c_str();
}

HWND ItemWindow(AWindow* dialog, int16_t id) {
    AClusterItem* item = dialog->findItem(id, false);
    return item ? item->getHWnd() : nullptr;
}

// Gives the field the focus and sends it the characters, as typed keys arrive.
void Type(AWindow* dialog, int16_t id, const char* text) {
    HWND field = ItemWindow(dialog, id);
    SetForegroundWindow(dialog->getHWnd());
    dialog->findItem(id, true)->becomeTarget(1);
    SetFocus(field);
    for (const char* p = text; *p; ++p)
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(*p), 1);
}

void SaveScreenshot(AWindow* dialog, const char* name) {
    HWND window = dialog->getHWnd();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    GetWindowRect(window, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    canvas.savePng(name);
}

}  // namespace

class NetDialogs : public NetTest {
protected:
    void SetUp() override {
        NetTest::SetUp();
        g_changed = 0;
        SetProxyChangedHook(&CountChange);
    }
    void TearDown() override {
        SetProxyChangedHook(nullptr);
        KY_HttpAuthCallback = nullptr;
        NetTest::TearDown();
    }
};

TEST_F(NetDialogs, CredentialsCallback) {
    const std::string tooLong = std::string("Attention|") + AuthInfo::kTooLongText;
    const std::string user371(371, 'u');
    struct Row {
        const char* name;
        int code;
        const char* stored;
        int attempt;
        std::vector<DialogAnswer> answers;
        int result;
        std::string buffer;
        std::vector<std::string> shown;
        std::vector<std::string> boxes;
        std::string storedAfter;
    } rows[] = {
        {"another code", 1017, "u:p", 0, {}, 0, "untouched", {}, {}, "u:p"},
        {"stored, first attempt", 1018, "u:p", 0, {}, 1, "u:p", {}, {}, "u:p"},
        {"stored, later attempt", 1018, "u:p", 1, {{true, "v", "q"}}, 1, "v:q", {"AuthInfo"}, {}, "v:q"},
        {"none stored", 1018, "", 0, {{true, "a", ""}}, 1, "a:", {"AuthInfo"}, {}, "a:"},
        {"cancelled", 1018, "u:p", 3, {{false, "", ""}}, 1, "", {"AuthInfo"}, {}, ""},
        {"longest accepted", 1018, "", 0, {{true, user371, ""}}, 1, user371 + ":", {"AuthInfo"}, {},
         user371 + ":"},
        {"too long refused, then shorter", 1018, "", 0, {{true, user371, "p"}, {true, "x", "y"}}, 1, "x:y",
         {"AuthInfo"}, {tooLong}, "x:y"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AppNetManager manager;
        manager.getProxyInfo()->setCredentials(r.stored, std::strlen(r.stored));
        answers().assign(r.answers.begin(), r.answers.end());
        shown().clear();
        takeBoxes();
        char buffer[500] = "untouched";
        EXPECT_EQ(r.result, AppNetManager::proxyAuthCallback(r.code, buffer, r.attempt));
        EXPECT_EQ(r.buffer, std::string(buffer));
        EXPECT_EQ(r.shown, shown());
        EXPECT_EQ(r.boxes, takeBoxes());
        EXPECT_EQ(r.storedAfter, Str(manager.getProxyInfo()->getCredentials()));
        EXPECT_TRUE(answers().empty());
    }
}

TEST_F(NetDialogs, ProxyDialogKeepsOrForgetsCredentials) {
    struct Row {
        const char* name;
        DialogAnswer answer;
        const char* host;
        const char* port;
        const char* credentials;
        int changes;
    } rows[] = {
        {"same host and port", {true, "proxy", "8080"}, "proxy", "8080", "u:p", 1},
        {"another host", {true, "proxy2", "8080"}, "proxy2", "8080", "", 1},
        {"another port", {true, "proxy", "3128"}, "proxy", "3128", "", 1},
        {"host in other case", {true, "PROXY", "8080"}, "PROXY", "8080", "", 1},
        {"both emptied", {true, "", ""}, "", "", "", 1},
        {"cancelled", {false, "", ""}, "proxy", "8080", "u:p", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        g_changed = 0;
        AppNetManager manager(new AProxyInfo("proxy", "8080"));
        manager.getProxyInfo()->setCredentials("u:p", 3);
        answers().push_back(r.answer);
        manager.editProxy();
        AProxyInfo* info = manager.getProxyInfo();
        EXPECT_EQ(r.host, Str(info->getHost()));
        EXPECT_EQ(r.port, Str(info->getPort()));
        EXPECT_EQ(r.credentials, Str(info->getCredentials()));
        EXPECT_EQ(r.changes, g_changed);
    }
}

TEST_F(NetDialogs, ProxyDialogClearDefaultsAndNote) {
    AProxyInfo info("h", "1");
    AProxyInfo defaults("defhost", "3128");
    std::vector<std::string> seen;
    customStep() = [&](AWindow* window) {
        auto* dialog = static_cast<ProxyDlg*>(window->castTo(&ProxyDlg::classRecord));
        ASSERT_NE(nullptr, dialog);
        seen.push_back(Str(dialog->getItemText(ProxyDlg::kNoteItem)));
        seen.push_back("clear " + std::to_string(dialog->commandStatus(ProxyDlg::kClearItem, 0)));
        app->perform(dialog->doCommand(ProxyDlg::kClearItem, 0));
        seen.push_back("fields '" + Str(dialog->getItemText(4101)) + "' '" + Str(dialog->getItemText(4102)) + "'");
        seen.push_back("clear " + std::to_string(dialog->commandStatus(ProxyDlg::kClearItem, 0)));
        // The layout has no defaults button: the command stays disabled, the fill still works.
        seen.push_back("defaults " + std::to_string(dialog->commandStatus(ProxyDlg::kDefaultsItem, 0)));
        app->perform(dialog->doCommand(ProxyDlg::kDefaultsItem, 0));
        seen.push_back("fields '" + Str(dialog->getItemText(4101)) + "' '" + Str(dialog->getItemText(4102)) + "'");
        app->perform(dialog->doCommand(AWindow::kOkCommand, 0));
    };
    info.runProxyDialog("Une note", &defaults);
    const std::vector<std::string> expected = {"Une note", "clear 1", "fields '' ''", "clear 2", "defaults 2",
                                               "fields 'defhost' '3128'"};
    EXPECT_EQ(expected, seen);
    EXPECT_EQ("defhost:3128", Str(info.getAddress(false)));
    EXPECT_EQ(1, g_changed);
}

// Real windows: the button's native state follows characters posted to the fields.
TEST_F(NetDialogs, WindowsFollowTypedKeys) {
    AProxyInfo info;
    info.setCredentials("old:one", 7);
    std::vector<std::string> seen;
    int phase = 0, waited = 0;
    // A button whose command is disabled is hidden by its state.
    auto button = [](AWindow* d) {
        HWND b = ItemWindow(d, ProxyDlg::kClearItem);
        return IsWindowVisible(b) && IsWindowEnabled(b) ? "on" : "off";
    };
    customStep() = [&](AWindow* dialog) {
        if (!dialog->getHWnd()) {
            ADD_FAILURE() << "no window";
            app->setDialogResult(1);
            return;
        }
        // Each phase acts once, then waits until its awaited state shows (or gives up).
        const char* want[] = {"off", "on", "off", "on"};
        if (phase < 4 && std::string(button(dialog)) != want[phase] && ++waited < 200) {
            Sleep(5);
            return;
        }
        waited = 0;
        switch (phase++) {
            case 0:
                seen.push_back(std::string("empty ") + button(dialog));
                Type(dialog, ProxyDlg::kHostItem, "x");
                break;
            case 1:
                seen.push_back(std::string("host typed ") + button(dialog));
                app->perform(dialog->doCommand(ProxyDlg::kClearItem, 0));
                break;
            case 2:
                seen.push_back(std::string("cleared ") + button(dialog));
                Type(dialog, ProxyDlg::kPortItem, "8");
                break;
            case 3:
                seen.push_back(std::string("port typed ") + button(dialog));
                Type(dialog, ProxyDlg::kHostItem, "proxy");
                break;
            default:
                SaveScreenshot(dialog, "proxy-dialog");
                app->perform(dialog->doCommand(AWindow::kOkCommand, 0));
                break;
        }
    };
    info.runProxyDialog(nullptr, nullptr);
    const std::vector<std::string> expected = {"empty off", "host typed on", "cleared off", "port typed on"};
    EXPECT_EQ(expected, seen);
    EXPECT_EQ("proxy:8", Str(info.getAddress(false)));
    EXPECT_EQ("", Str(info.getCredentials()));

    phase = 0;
    customStep() = [&](AWindow* dialog) {
        if (phase++ == 0) {
            Type(dialog, AuthInfo::kUserItem, "moi");
            Type(dialog, AuthInfo::kPasswordItem, "secret");
            return;
        }
        if (Str(dialog->getItemText(AuthInfo::kPasswordItem)) != "secret" && phase < 200)
            return;
        LONG style = GetWindowLongA(ItemWindow(dialog, AuthInfo::kPasswordItem), GWL_STYLE);
        EXPECT_NE(0, style & ES_PASSWORD);
        EXPECT_EQ("Il faut un mot de passe", Str(dialog->getItemText(AuthInfo::kMessageItem)));
        SaveScreenshot(dialog, "proxy-auth-dialog");
        app->perform(dialog->doCommand(AWindow::kOkCommand, 0));
    };
    EXPECT_TRUE(info.askCredentials("Il faut un mot de passe"));
    EXPECT_EQ("moi:secret", Str(info.getCredentials()));
    EXPECT_EQ(0, errors.text.size()) << errors.text;
}
