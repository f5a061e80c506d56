// The save dialog's fields and the saving of a work.
#include "panes/docks/netinst/SVWorkNameSaveDialog.h"

#include <windows.h>

#include "app/frame/AFrameServices.h"
#include "app/frame/AWorkFolders.h"
#include "app/frame/Frame1.h"
#include "app/lists/ASVEditFilter.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AClusterItem.h"
#include "framework/controls/AEditBox.h"

SV_IMPLEMENT_CLASS(SVWorkNameSaveDialog, 0, SVWorkNameDialog)

namespace {

AEditBox* Field(AItemCluster* window, int16_t id) {
    AClusterItem* item = window->findItem(id, false);
    AEditBox* field = item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr;
    if (!field)
        ThrowAssert("svworkname", id);
    return field;
}

}  // namespace

void SVWorkNameSaveDialog::setUpItems() {
    SVWorkNameDialog::setUpItems();
    for (int16_t id : {kNameItem, kPasswordItem, kConfirmItem}) {
        AEditBox* field = Field(this, id);
        field->addLink(this);
        field->setText("");
        field->setFilter(new ASVEditFilter(field));
    }
    if (!findItem(kCheckItem, false) || !findItem(kGroupItem, false))
        ThrowAssert("svworkname", __LINE__);
    findItem(kCheckItem, false)->addLink(this);
    setPasswordChecked(false);
    Field(this, kNameItem)->becomeTarget();
}

void SVWorkNameSaveDialog::bindActions() {
    SVWorkNameDialog::bindActions();
    for (int16_t id : {kNameItem, kCheckItem, kPasswordItem, kConfirmItem})
        addAction(id, this, id, nullptr);
}

void SVWorkNameSaveDialog::setPasswordChecked(bool on) {
    checked_ = on;
    if (AClusterItem* box = findItem(kCheckItem, false))
        box->setStateBits(on ? 5 : 1, false);
    if (AClusterItem* group = findItem(kGroupItem, false))
        group->setVisibleTree(on, true);
}

int16_t SVWorkNameSaveDialog::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kNameItem:
        case kPasswordItem:
        case kConfirmItem:
            return 1;
        case kCheckItem:
            if (AClusterItem* group = findItem(kGroupItem, false)) {
                if (group->hasFlags(ADisplayComponent::kVisible) != checked_)
                    group->setVisibleTree(checked_, true);
            }
            return checked_ ? 5 : 1;
        default:
            return SVWorkNameDialog::commandStatus(id, argument);
    }
}

ACommand* SVWorkNameSaveDialog::doCommand(int16_t id, long argument) {
    switch (id) {
        case kListItem: {
            // A click only proposes the row's name.
            AString name = clickedRow();
            if (!name.empty())
                setItemText(kNameItem, name.c_str());
            return noChangeCommand();
        }
        case kNameItem:
        case kPasswordItem:
        case kConfirmItem:
            return noChangeCommand();
        case kCheckItem:
            setPasswordChecked(!checked_);
            return noChangeCommand();
        case kOkCommand:
            if (saveWork(getItemText(kNameItem)))
                return closeWindow();
            return noChangeCommand();
        default:
            return SVWorkNameDialog::doCommand(id, argument);
    }
}

bool SVWorkNameSaveDialog::saveWork(const AString& name) {
    AString userText = FrameServices().userDirectory();
    Frame1* frame = frame_;
    if (userText.empty() || !frame)
        return false;
    if (!IsUsableFolderName(name.c_str())) {
        tell("MSG_RESEAU_WORKNAME_ERRCREATE", MB_ICONINFORMATION);
        return false;
    }
    AFileSpec user(userText.c_str());
    RecoverWorkFolders(user);
    AFileSpec work(user, name.c_str());
    if (work.exists()) {
        if (tell("MSG_RESEAU_WORKNAME_REPLACE", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        if (!frame->checkWorkPassword(work))
            return false;
    }
    // The old work is set aside, not deleted, until the new one is whole.
    if (!BeginWorkSave(user, name.c_str())) {
        tell("MSG_RESEAU_WORKNAME_ERRCREATE", MB_ICONINFORMATION);
        return false;
    }
    AString password = getItemText(kPasswordItem), confirmation = getItemText(kConfirmItem);
    AString stored;
    if (checked_ && (!password.empty() || !confirmation.empty())) {
        if (password.empty() || confirmation.empty()) {
            tell("MSG_RESEAU_WORKNAME_CONFIRMPASSE", MB_ICONINFORMATION);
            RollBackWorkSave(user, name.c_str());
            return false;
        }
        if (password != confirmation) {
            tell("MSG_RESEAU_WORKNAME_DIFFERENTPASSE", MB_ICONINFORMATION);
            setItemText(kConfirmItem, "");
            RollBackWorkSave(user, name.c_str());
            return false;
        }
        stored = password;
    }
    if (!frame->copyWorkFiles(name, stored)) {
        RollBackWorkSave(user, name.c_str());
        return false;
    }
    CommitWorkSave(user, name.c_str());
    tell("MSG_RESEAU_WORKNAME_SAVEOK", MB_ICONINFORMATION);
    if (!workName_.empty())
        return frame->restoreWork(workName_) != 0;
    return true;
}
