// Dialog windows closed by their OK and Annuler commands.
#include "panes/docks/workspacewin/SVDialog.h"

SV_IMPLEMENT_CLASS(SVDialog, 0, AWindow)
SV_IMPLEMENT_CLASS(SVGetTextDialog, 0, SVDialog)

ACommand* SVDialog::doCommand(int16_t id, long argument) {
    if (id == kCancelCommand || id == kOkCommand)
        return closeWindow();
    return AWindow::doCommand(id, argument);
}
