// The password dialog of a protected work.
#include "panes/docks/netinst/AWorkNamePasswdDlg.h"

#include <windows.h>

#include "app/frame/AFrameServices.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"

SV_IMPLEMENT_CLASS(AWorkNamePasswdDlg, 0, AWindow)

void AWorkNamePasswdDlg::bindActions() {
    AWindow::bindActions();
    addAction(kPasswordItem, this, kPasswordItem, nullptr);
}

int16_t AWorkNamePasswdDlg::commandStatus(int16_t id, long argument) {
    if (id == kPasswordItem)
        return 1;
    return AWindow::commandStatus(id, argument);
}

void AWorkNamePasswdDlg::setMessage(const char* text) {
    if (!hasItem(kMessageItem))
        ThrowAssert("svworkname", __LINE__);
    setItemText(kMessageItem, text ? text : "");
}

ACommand* AWorkNamePasswdDlg::doCommand(int16_t id, long argument) {
    AApp* app = AApp::current();
    switch (id) {
        case kOkCommand:
            // Byte for byte: a difference of case is a different password.
            if (getItemText(kPasswordItem) == password_) {
                if (app)
                    app->setDialogResult(2);
                return closeWindow();
            }
            if (app)
                app->messageBox(FrameServices().configMessage("MSG_RESEAU_WORKNAME_BAD_PASSEWORD").c_str(),
                                "Mot de passe", MB_OK, this);
            return noChangeCommand();
        case kCancelCommand:
            if (app)
                app->setDialogResult(1);
            return AWindow::doCommand(id, argument);
        case kPasswordItem:
            return noChangeCommand();
        default:
            return AWindow::doCommand(id, argument);
    }
}

ACommand* AWorkNamePasswdDlg::closeWindow() {
    AApp* app = AApp::current();
    if (app && app->dialogResult() == 0)
        app->setDialogResult(1);
    return AWindow::closeWindow();
}
