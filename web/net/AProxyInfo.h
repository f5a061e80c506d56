// The proxy settings of the program's own HTTP requests: host and port as
// typed (not validated) and the "user:password" credentials, kept in memory
// only; and the two modal dialogs that edit them.
//
// The dialogs run from their layouts ("Proxy", "AuthInfo") under the
// application object, which must exist (assertion "wnet"); a missing layout
// or a root of another class raises AMemError and stores nothing. The wait
// turns the application's loop until its dialog result is set; tests replace
// that turn through SetNetDialogStep so that nothing blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/object/AString.h"

class AWindow;

class AProxyInfo {
public:
    AProxyInfo() = default;
    AProxyInfo(const char* host, const char* port);
    // Wipes the credentials.
    ~AProxyInfo();
    AProxyInfo(const AProxyInfo&) = delete;
    AProxyInfo& operator=(const AProxyInfo&) = delete;

    AString getPort() const { return port_; }
    AString getHost() const { return host_; }
    AString getCredentials() const { return credentials_; }
    void setHost(const char* host) { host_ = AString(host); }
    void setPort(const char* port) { port_ = AString(port); }
    // The old credentials are wiped; null or "" leaves none.
    void setCredentials(const char* text, size_t length);
    void clearCredentials() { setCredentials(nullptr, 0); }
    // Copies the credentials with their NUL into buffer (size bytes); false,
    // with an empty buffer, when they do not fit.
    bool copyCredentials(char* buffer, size_t size) const;

    // host[:port], behind "http://" with the scheme flag unless it begins
    // with it already; empty when both are empty.
    AString getAddress(bool withScheme) const;

    // The proxy dialog: note (null: the layout's) in item 4104; defaults (not
    // owned, may be null) offered by item 4105. On confirmation the fields
    // are stored, and the application is told through onProxyChanged.
    void runProxyDialog(const char* note, const AProxyInfo* defaults);
    // The authentication dialog, message (null: none) in item 4153; true when confirmed.
    bool askCredentials(const char* message);

private:
    AString port_;
    AString host_;
    AString credentials_;  // "user:password" in clear, or empty
};

// Called after a confirmed proxy dialog: the application's hook; none by default.
using AProxyChangedHook = void (*)(AProxyInfo* info);
AProxyChangedHook SetProxyChangedHook(AProxyChangedHook hook);

// One turn of a modal dialog's wait; null (the default) turns the
// application's message loop. Answers the step it replaces.
using ANetDialogStep = void (*)(AWindow* dialog);
ANetDialogStep SetNetDialogStep(ANetDialogStep step);

// Shows the dialog and waits until the application's dialog result is set
// (or the application quits, which counts as a cancel); answers the result.
uint16_t RunNetDialog(AWindow* dialog);
