// The find dialog's field, buttons and close.
#include "app/find/FindDialog.h"

#include <new>

#include "app/find/SearchPane.h"
#include "app/lists/ASVEditFilter.h"
#include "base/procedural/AError.h"
#include "framework/controls/AEditBox.h"

SV_IMPLEMENT_CLASS(FindDialog, 0, AWindow)

void FindDialog::setUpItems() {
    AWindow::setUpItems();
    AComponent* field = findById(kFieldId, 0);
    findField_ =
        CheckAlloc(field ? static_cast<AEditBox*>(field->castTo(&AEditBox::classRecord)) : nullptr, "SVPane", __LINE__);
    // A window's parent chain skips to the application: the pane is the
    // component the layout was loaded under, or one of its ancestors.
    AComponent* holder = ALocalCluster::getParent();
    void* pane = holder ? holder->castTo(&SearchPane::classRecord) : nullptr;
    if (!pane && holder)
        if (AComponent* above = holder->findAncestor(&SearchPane::classRecord))
            pane = above->castTo(&SearchPane::classRecord);
    pane_ = static_cast<SearchPane*>(CheckAlloc(pane, "SVPane", __LINE__));
    findField_->setText(pane_->getFindText().c_str());
    findField_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(findField_), "SVPane", __LINE__));
    setDeleteOnClose(true);
}

void FindDialog::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kFieldId, kPreviousId, kNextId})
        addAction(id, this, id, nullptr);
}

int16_t FindDialog::commandStatus(int16_t id, long argument) {
    if (id == kFieldId || id == kPreviousId || id == kNextId)
        return 1;
    return AWindow::commandStatus(id, argument);
}

ACommand* FindDialog::doCommand(int16_t id, long argument) {
    if (id != kFieldId && id != kPreviousId && id != kNextId)
        return AWindow::doCommand(id, argument);
    pane_->setFindText(findField_->getText().c_str());
    return id == kPreviousId ? pane_->showPreviousHit() : pane_->showNextHit();
}

ACommand* FindDialog::closeWindow() {
    if (!canClose(true))
        return noChangeCommand();
    if (pane_)
        pane_->forgetFindDialog();
    return doClose();
}
