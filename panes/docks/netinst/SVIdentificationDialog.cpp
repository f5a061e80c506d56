// The identification dialog's commands.
#include "panes/docks/netinst/SVIdentificationDialog.h"

#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "base/procedural/AError.h"

SV_IMPLEMENT_CLASS(SVIdentificationDialog, 0, AWindow)

void SVIdentificationDialog::bindActions() {
    AWindow::bindActions();
    addAction(kNewItem, this, kNewItem, nullptr);
}

int16_t SVIdentificationDialog::commandStatus(int16_t id, long argument) {
    if (id == kNewItem)
        return 1;
    return AWindow::commandStatus(id, argument);
}

void SVIdentificationDialog::setMessage(const char* text) {
    if (!hasItem(kMessageItem))
        ThrowAssert("svident", __LINE__);
    setItemText(kMessageItem, text ? text : "");
}

ACommand* SVIdentificationDialog::doCommand(int16_t id, long argument) {
    if (id != kOkCommand && id != kNewItem) {
        if (id == kCancelCommand)
            return closeWindow();
        return AWindow::doCommand(id, argument);
    }
    AString name = getUserName();
    bool accepted = id == kOkCommand ? FrameServices().setUserName(name.c_str())
                                     : FrameServices().createUserName(name.c_str());
    if (!accepted)
        return noChangeCommand();
    // Closed first: the work-name dialog takes the front.
    Frame1* frame = frame_;
    int16_t mode = mode_;
    ACommand* close = closeWindow();
    if (frame)
        frame->workNameCommand(mode, "");
    return close;
}
