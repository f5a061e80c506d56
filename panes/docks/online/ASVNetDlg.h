// The online service's account wizard ("NetDlg"): one panel per step. Step 2
// logs in to the service, step 3 checks the account's password before the
// parental level, step 4 chooses the level and the session-only flag, step 5
// explains the forgotten password, step 6 changes the password. The service
// exchanges are the application's (AOnlinePanesHost::serviceAccountRequest);
// the wizard prepares their input in the settings and reads their outcome.
//
// The settings (ANetInfo) are not owned. Every way the wizard ends (its
// buttons, the system close, its destruction) writes them once and sets the
// application's dialog result to 2, so that a wait on it always ends. A
// missing edit field is an assertion ("SvNet"), as is showStep before
// setNetInfo. Passwords are compared byte for byte and never logged.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/app/AWindow.h"

class AEditBox;
class ANetInfo;

class ASVNetDlg : public AWindow {
    SV_DECLARE_CLASS(ASVNetDlg)
public:
    static constexpr const char* kLayoutName = "NetDlg";
    static constexpr int16_t kId = 6300;  // the layout's root: apart from the preferences' it opens over
    static constexpr const char* kCaption = "Service Savantorium SVLINK";

    ASVNetDlg() = default;
    ~ASVNetDlg() override;

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    // Saves the settings (once) and sets the dialog result to 2, then closes.
    ACommand* closeWindow() override;
    // The filter level goes back to the one of setNetInfo; then closeWindow.
    ACommand* cancel() override;

    void setNetInfo(ANetInfo* settings);
    void showStep(int16_t step);

    int16_t step() const { return step_; }
    int16_t returnStep() const { return returnStep_; }
    long savedFilterLevel() const { return savedFilterLevel_; }
    bool settingsSaved() const { return saved_; }

    // The steps' work, public for the tests.
    ACommand* loginToService();
    bool checkPassword(bool fromChangePanel);
    bool changePassword();
    ACommand* requestForgottenPassword();

private:
    // The renderer text of view id (a message, or empty).
    void setViewText(int16_t id, const AString& text);
    void setItemShown(int16_t id, bool shown);
    // Settings written and result set, once.
    void finish();
    AString message(const char* key);

    int16_t step_ = 0;
    int16_t returnStep_ = -1;
    AEditBox* identifierField_ = nullptr;   // not owned
    AEditBox* passwordField_ = nullptr;     // not owned
    AEditBox* newPasswordField_ = nullptr;  // not owned
    AEditBox* confirmField_ = nullptr;      // not owned
    ANetInfo* settings_ = nullptr;          // not owned
    long savedFilterLevel_ = 0;
    bool saved_ = false;
};
