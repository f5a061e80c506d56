// The media previews' shared buttons and their owner.
#include "panes/docks/print/ASVMediaPreviewDlg.h"

#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/APrintKeys.h"

SV_IMPLEMENT_CLASS(ASVMediaPreviewDlg, 0, AWindow)

namespace {

AMediaPreviewApp* gPreviewApp = nullptr;

}  // namespace

AMediaPreviewApp* AMediaPreviewApp::current() {
    return gPreviewApp;
}

void AMediaPreviewApp::install(AMediaPreviewApp* app) {
    gPreviewApp = app;
}

long ASVMediaPreviewDlg::captionKey() {
    AMediaPreviewApp* app = AMediaPreviewApp::current();
    ALongDicInfo* options = app ? app->printOptions() : nullptr;
    return options ? options->getLong(PrintKey::kMediaCaption) : 0;
}

void ASVMediaPreviewDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {1002, 1010, 1015, 1020})
        addAction(id, this, id, ownActionTable());
}

ACommand* ASVMediaPreviewDlg::doCommand(int16_t id, long argument) {
    switch (id) {
    case 1002:
    case 1010:
        return noChangeCommand();
    case 1015:
        return closeWindow();
    case 1020:
        if (owner_)
            owner_->showPreviewOptions();
        return noChangeCommand();
    default:
        return AWindow::doCommand(id, argument);
    }
}

int16_t ASVMediaPreviewDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
    case 1002:
        return 2;
    case 1010:
    case 1015:
    case 1020:
        return 1;
    default:
        return AWindow::commandStatus(id, argument);
    }
}

ACommand* ASVMediaPreviewDlg::closeWindow() {
    if (owner_) {
        AMediaPreviewOwner* owner = owner_;
        owner_ = nullptr;
        owner->previewClosed(this);
    }
    return AWindow::closeWindow();
}
