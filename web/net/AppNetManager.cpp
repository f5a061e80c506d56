// The connection manager, its credentials callback and the network alert.
#include "web/net/AppNetManager.h"

#include "base/procedural/AError.h"
#include "base/procedural/KyHttp.h"
#include "framework/app/AApp.h"
#include "web/net/AuthInfo.h"
#include "web/net/NetStrings.h"
#include "web/net/ProxyDlg.h"

AppNetManager* AppNetManager::current_ = nullptr;

const char* const kNetworkErrorText =
    "Suite \xE0 un probl\xE8me de connexion r\xE9seau, nous vous invitons \xE0 recommencer l'op\xE9ration";
const char* const kNetworkErrorTitle = "Attention";

AppNetManager::AppNetManager(AProxyInfo* settings) : settings_(settings ? settings : new AProxyInfo) {
    RegisterConnectClasses();
    KY_HttpAuthCallback = &AppNetManager::proxyAuthCallback;
    current_ = this;
}

AppNetManager::~AppNetManager() {
    if (current_ == this)
        current_ = nullptr;
}

AString AppNetManager::getProxyAddress() const {
    return settings_ ? settings_->getAddress(false) : AString();
}

void AppNetManager::editProxy() {
    if (!settings_)
        ThrowAssert("wnet", 35);
    settings_->runProxyDialog(nullptr, nullptr);
}

void AppNetManager::setAgentName(const char* name) {
    userAgent_ = AString(name);
    userAgent_ += " Win32 ";
}

int AppNetManager::proxyAuthCallback(int code, char* buffer, int attempt) {
    AppNetManager* manager = current_;
    if (code != KY_HTTP_PROXY_AUTH || !manager || !manager->settings_ || !buffer)
        return 0;
    AProxyInfo* settings = manager->settings_.get();
    if (settings->getCredentials().empty() || attempt != 0)
        settings->askCredentials(nullptr);
    // The dialog refuses what does not fit; settings made elsewhere may not.
    if (!settings->copyCredentials(buffer, static_cast<size_t>(kHttpCredentialsMax) + 1))
        buffer[0] = 0;
    return 1;
}

int ShowNetworkError(KY_HttpSession* session, long code) {
    (void)code;
    if (session && session->connection)
        KY_HttpCloseSocket(session->connection);
    if (AApp* app = AApp::current())
        app->messageBox(kNetworkErrorText, kNetworkErrorTitle, 0, nullptr);
    return -1;
}

const AClass* const* RegisterConnectClasses() {
    static const AClass* const classes[] = {&ProxyDlg::classRecord, &AuthInfo::classRecord, nullptr};
    return classes;
}
