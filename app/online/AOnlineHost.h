// What the online classes ask of the application: its settings, its
// configuration, its network manager, its main window and its messages.
// The application installs itself; tests install their own.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

class AComponent;
class ANetInfo;

class AOnlineHost {
public:
    virtual ~AOnlineHost() = default;
    // Null when the application has none (the callers assert it).
    virtual ANetInfo* netInfo() = 0;
    // The configuration value of key, empty when missing.
    virtual AString configString(const char* key) = 0;
    // The network manager's user-agent text and proxy address ("host:port"); empty without one.
    virtual AString netUserAgent() { return AString(); }
    virtual AString proxyAddress() { return AString(); }
    virtual bool hasNetManager() { return false; }
    // Whether the browser view of the main window's web complement pane (the
    // pane that turns the links it hands over into web-page states) lies under the pointer.
    virtual bool webPaneUnderPointer() { return false; }
    // True when the online service may be used now (the reader is told otherwise).
    virtual bool checkConnection(const char* assistanceUrl) = 0;
    virtual AFileSpec tempFolder() = 0;
    // The address in a new web-page state of the main window (full: a full-page state).
    virtual void showWebPage(const char* address, int16_t full, int16_t second) {
        (void)address;
        (void)full;
        (void)second;
    }
    // The online search's maximum number of results.
    virtual long maxNetResults() { return 50; }
    virtual void alert(const char* text, const char* title) = 0;
    virtual void showSearchProgress(const char* status) { (void)status; }
    virtual void hideSearchProgress() {}
    // The main window's current navigation state: whether there is one, and its user-info entries.
    virtual bool hasMainWindow() { return false; }
    virtual bool hasCurrentState() { return false; }
    virtual long currentUserInfo(long key) { (void)key; return 0; }
    // The component holding a browser view learns the view's new address.
    virtual void addressChanged(AComponent* holder, const AString& url) { (void)holder; (void)url; }

    static AOnlineHost* current() { return current_; }
    static void setCurrent(AOnlineHost* host) { current_ = host; }

private:
    static AOnlineHost* current_;
};
