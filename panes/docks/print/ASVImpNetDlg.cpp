// The web page print dialog.
#include "panes/docks/print/ASVImpNetDlg.h"

#include "base/procedural/AError.h"
#include "web/browser/AMozillaView.h"

SV_IMPLEMENT_CLASS(ASVImpNetDlg, 0, AWindow)

void ASVImpNetDlg::setUpItems() {
    AWindow::setUpItems();
    AComponent* found = findAncestor(&AMozillaView::classRecord);
    // The main window builds the dialog beside the page, under the web pane: look there too.
    if (!found && getParent())
        found = getParent()->findDescendant(&AMozillaView::classRecord, this);
    view_ = CheckAlloc(static_cast<AMozillaView*>(found), "appclass", 520);
}

void ASVImpNetDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {1011, 1010, 1015})
        addAction(id, this, id, ownActionTable());
}

ACommand* ASVImpNetDlg::doCommand(int16_t id, long argument) {
    switch (id) {
    case 1010:
        // Printing leaves the dialog open: the reader may print the page again.
        perform(view_->print());
        return noChangeCommand();
    case 1011:
        perform(view_->pageSetup());
        return noChangeCommand();
    case 1015:
        return closeWindow();
    default:
        return AWindow::doCommand(id, argument);
    }
}

int16_t ASVImpNetDlg::commandStatus(int16_t id, long argument) {
    if (id == 1010 || id == 1011 || id == 1015)
        return 1;
    return AWindow::commandStatus(id, argument);
}
