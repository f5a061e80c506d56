// The password dialog of a protected work ("WorkNamePasswd"): a message
// (8402) and the password field (8401). OK with the expected password sets
// the application's modal answer to 2 and closes; another text is refused
// with a box titled "Mot de passe" and the dialog stays; any other way of
// closing sets the answer to 1, so that a wait on it always ends.
//
// The expected password is kept only as long as the dialog and never logged.
#pragma once

#include "base/object/AString.h"
#include "framework/app/AWindow.h"

class AWorkNamePasswdDlg : public AWindow {
    SV_DECLARE_CLASS(AWorkNamePasswdDlg)
public:
    enum : int16_t { kPasswordItem = 8401, kMessageItem = 8402 };

    AWorkNamePasswdDlg() = default;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* closeWindow() override;

    void setMessage(const char* text);
    void setPassword(const AString& password) { password_ = password; }

private:
    AString password_;
};
