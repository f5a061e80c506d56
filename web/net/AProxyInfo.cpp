// Proxy settings and their two modal dialogs.
#include "web/net/AProxyInfo.h"

#include <cstring>

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "web/net/AuthInfo.h"
#include "web/net/NetStrings.h"
#include "web/net/ProxyDlg.h"

namespace {

AProxyChangedHook g_proxyChanged = nullptr;
ANetDialogStep g_step = nullptr;

AApp* RequireApp(long line) {
    AApp* app = AApp::current();
    if (!app)
        ThrowAssert("wnet", line);
    return app;
}

// The layout's root as the expected class; a missing layout or another
// class is the allocation error, and a root of another class goes away.
template <class Dialog>
Dialog* LoadDialog(AApp* app, const char* layout, long line) {
    AComponent* root = AComponent::loadLayout(app, layout, 0);
    void* dialog = root ? root->castTo(&Dialog::classRecord) : nullptr;
    if (root && !dialog)
        DeleteComponent(root);
    return static_cast<Dialog*>(CheckAlloc(dialog, "wnet", line));
}

}  // namespace

AProxyInfo::AProxyInfo(const char* host, const char* port) : port_(port), host_(host) {}

AProxyInfo::~AProxyInfo() {
    WipeString(credentials_);
}

void AProxyInfo::setCredentials(const char* text, size_t length) {
    WipeString(credentials_);
    if (text && length)
        credentials_ = AString(text, static_cast<long>(length));
}

bool AProxyInfo::copyCredentials(char* buffer, size_t size) const {
    if (!buffer || size == 0)
        return false;
    size_t n = static_cast<size_t>(credentials_.length());
    if (n >= size) {
        buffer[0] = 0;
        return false;
    }
    std::memcpy(buffer, credentials_.c_str(), n + 1);
    return true;
}

AString AProxyInfo::getAddress(bool withScheme) const {
    AString address(host_);
    if (!port_.empty()) {
        address += ":";
        address += port_;
    }
    if (!address.empty() && withScheme && !HasHttpScheme(address.c_str()))
        return "http://" + address;
    return address;
}

void AProxyInfo::runProxyDialog(const char* note, const AProxyInfo* defaults) {
    AApp* app = RequireApp(120);
    app->setDialogResult(0);
    ProxyDlg* dialog = LoadDialog<ProxyDlg>(app, "Proxy", 122);
    dialog->centerIn(nullptr, true);
    dialog->bind(this);
    dialog->setNote(note);
    dialog->setDefaults(defaults);
    dialog->refreshStates();
    if (RunNetDialog(dialog) == 2 && g_proxyChanged)
        g_proxyChanged(this);
}

bool AProxyInfo::askCredentials(const char* message) {
    AApp* app = RequireApp(135);
    app->setDialogResult(0);
    AuthInfo* dialog = LoadDialog<AuthInfo>(app, "AuthInfo", 137);
    dialog->centerIn(nullptr, true);
    dialog->bind(this);
    dialog->setMessage(message);
    return RunNetDialog(dialog) == 2;
}

AProxyChangedHook SetProxyChangedHook(AProxyChangedHook hook) {
    AProxyChangedHook old = g_proxyChanged;
    g_proxyChanged = hook;
    return old;
}

ANetDialogStep SetNetDialogStep(ANetDialogStep step) {
    ANetDialogStep old = g_step;
    g_step = step;
    return old;
}

uint16_t RunNetDialog(AWindow* dialog) {
    AApp* app = RequireApp(160);
    dialog->select();
    // A quit asked while the dialog is open ends the wait as a cancel: the
    // loop would otherwise turn on a dead message queue.
    while (app->dialogResult() == 0 && !app->quitFlag()) {
        if (g_step)
            g_step(dialog);
        else
            app->runOnce();
    }
    return app->dialogResult();
}
