// The connection manager: the one owner of the proxy settings of the
// program's own HTTP requests, the texts handed to every new connection (the
// referer, empty, and the user-agent text), the answer to the HTTP module's
// request for proxy credentials, and the alert that ends every failed
// network operation.
//
// One manager at a time is current: the constructor makes it so and installs
// proxyAuthCallback into the HTTP module; the destructor clears it, and the
// callback, left installed, answers 0 from then on. The manager owns its
// AProxyInfo.
#pragma once

#include <memory>

#include "base/object/AString.h"
#include "web/net/AProxyInfo.h"

class AClass;
struct KY_HttpSession;

class AppNetManager {
public:
    // Takes ownership of settings; null gives empty ones.
    explicit AppNetManager(AProxyInfo* settings = nullptr);
    virtual ~AppNetManager();
    AppNetManager(const AppNetManager&) = delete;
    AppNetManager& operator=(const AppNetManager&) = delete;

    // The manager made last and not yet deleted, or null.
    static AppNetManager* current() { return current_; }

    // host:port of the settings, without the scheme; empty when none.
    AString getProxyAddress() const;
    // The proxy dialog over the settings (assertion "wnet" without them).
    void editProxy();
    AString getReferer() const { return referer_; }
    // The user-agent text: the configuration's agent name followed by " Win32 ".
    AString getUserAgent() const { return userAgent_; }
    void setAgentName(const char* name);
    AProxyInfo* getProxyInfo() const { return settings_.get(); }

    // The HTTP module's credentials callback: for code 1018 with a current
    // manager, writes the stored "user:password" into buffer (asking for it
    // first when none is stored or on a retry) and answers 1; else answers 0
    // and leaves buffer untouched. buffer holds 500 bytes.
    static int proxyAuthCallback(int code, char* buffer, int attempt);

private:
    static AppNetManager* current_;
    AString referer_;
    AString userAgent_;
    std::unique_ptr<AProxyInfo> settings_;  // owned
};

// Closes the request's socket when a request is given, shows the network
// alert through the application's message box; answers -1. The code is
// neither shown nor logged.
int ShowNetworkError(KY_HttpSession* session, long code);
// The alert's text and title.
extern const char* const kNetworkErrorText;
extern const char* const kNetworkErrorTitle;

// The dialog classes a layout may name ("ProxyDlg", "AuthInfo"), null-ended;
// naming them keeps their records in any program that runs the manager.
const AClass* const* RegisterConnectClasses();
