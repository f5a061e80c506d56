// The proxy-authentication dialog (layout "AuthInfo", registered as
// "AuthInfo"): user name (4151), hidden password (4152) and a message (4153).
// OK (1) stores "user:password" as the settings' credentials, cancel (2)
// empties them; both set the application's dialog result and close.
//
// The settings are not owned. Credentials longer than kHttpCredentialsMax
// are refused with a message and the dialog stays open: nothing is cut. The
// texts read from the fields are wiped once used. OK without settings is an
// assertion ("wnet").
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class AProxyInfo;

class AuthInfo : public AWindow {
    SV_DECLARE_CLASS(AuthInfo)
public:
    enum : int16_t { kUserItem = 4151, kPasswordItem = 4152, kMessageItem = 4153 };
    // The refusal of credentials that do not fit.
    static const char* const kTooLongText;

    AuthInfo() = default;
    ~AuthInfo() override = default;

    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    void bind(AProxyInfo* info) { info_ = info; }
    void setMessage(const char* message);

private:
    ACommand* confirmCredentials(int16_t id, long argument);

    AProxyInfo* info_ = nullptr;  // not owned
};
