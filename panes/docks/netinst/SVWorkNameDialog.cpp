// The list of saved works and the restore dialog's commands.
#include "panes/docks/netinst/SVWorkNameDialog.h"

#include <windows.h>

#include "app/frame/AFrameServices.h"
#include "app/frame/AWorkFolders.h"
#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "base/object/ADirectoryLister.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AClusterItem.h"

SV_IMPLEMENT_CLASS(SVWorkNameDialog, 0, AWindow)
SV_IMPLEMENT_CLASS(SVWorkNameRestoreDialog, 0, SVWorkNameDialog)

void SVWorkNameDialog::setUpItems() {
    AWindow::setUpItems();
    AClusterItem* item = findItem(kListItem, false);
    list_ = item ? static_cast<ARendererView*>(item->castTo(&ARendererView::classRecord)) : nullptr;
    if (!list_)
        ThrowAssert("svworkname", __LINE__);
    list_->addLink(this);
    if (AListRenderer* renderer = AListApp::current().createListRenderer(list_, 0, 3))
        renderer->listOptions = 1;
    refreshList();
}

void SVWorkNameDialog::bindActions() {
    AWindow::bindActions();
    addAction(kListItem, this, kListItem, nullptr);
}

ACommand* SVWorkNameDialog::doCommand(int16_t id, long argument) {
    if (id == kCancelCommand)
        return closeWindow();
    return AWindow::doCommand(id, argument);
}

int16_t SVWorkNameDialog::commandStatus(int16_t id, long argument) {
    if (id == kListItem)
        return 1;
    return AWindow::commandStatus(id, argument);
}

void SVWorkNameDialog::setMessage(const char* text) {
    if (!hasItem(kMessageItem))
        ThrowAssert("svworkname", __LINE__);
    setItemText(kMessageItem, text ? text : "");
}

void SVWorkNameDialog::setMode(int16_t mode) {
    mode_ = mode;
    if (mode != 1 && mode != 2)
        return;
    if (!hasItem(1))
        ThrowAssert("svworkname", __LINE__);
    setItemText(1, mode == 1 ? "Sauvegarder le travail en cours" : "Restaurer le travail s\xE9lectionn\xE9");
    setTitle(mode == 1 ? "Sauvegarde du travail en cours" : "Restauration d'un travail");
}

AString SVWorkNameDialog::buildWorkNameList(const AFileSpec& folder) {
    AString rows;
    if (folder.empty() || !folder.isDirectory())
        return rows;
    ADirectoryLister lister(folder);
    for (AFileSpec entry = lister.first(); lister.hasEntry(); entry = lister.next()) {
        if (!lister.entryIsDirectory())
            continue;
        AString name = entry.name();
        rows += name;
        rows += "#";
        rows += name;
        rows += "\n";
    }
    return rows;
}

void SVWorkNameDialog::refreshList() {
    AFileSpec user(FrameServices().userDirectory().c_str());
    // A save cut short between its renames is put right before the list is read.
    RecoverWorkFolders(user);
    if (ARenderer* renderer = listRenderer()) {
        renderer->setTextModelAlt(buildWorkNameList(user).c_str(), nullptr);
        if (list_)
            list_->invalidate();
    }
}

ARenderer* SVWorkNameDialog::listRenderer() const {
    return list_ ? list_->renderer() : nullptr;
}

AString SVWorkNameDialog::clickedRow() const {
    ARenderer* renderer = listRenderer();
    if (!renderer || renderer->getHitKind() != kRowHit)
        return AString();
    return renderer->getHitName();
}

int SVWorkNameDialog::tell(const char* key, unsigned flags) {
    AApp* app = AApp::current();
    return app ? app->messageBox(FrameServices().configMessage(key).c_str(), "Attention", flags, this) : IDNO;
}

ACommand* SVWorkNameRestoreDialog::doCommand(int16_t id, long argument) {
    if (id == kListItem) {
        AString name = clickedRow();
        if (!name.empty() && restoreWork(name))
            return closeWindow();
        return noChangeCommand();
    }
    if (id == kOkCommand) {
        ARenderer* renderer = listRenderer();
        if (restoreWork(renderer ? renderer->getHitText() : AString()))
            return closeWindow();
        return noChangeCommand();
    }
    return SVWorkNameDialog::doCommand(id, argument);
}

bool SVWorkNameRestoreDialog::restoreWork(const AString& name) {
    AString user = FrameServices().userDirectory();
    AFileSpec folder;
    if (!user.empty() && IsUsableFolderName(name.c_str()))
        folder = AFileSpec(AFileSpec(user.c_str()), name.c_str());
    if (folder.empty() || !folder.isDirectory()) {
        tell("MSG_RESEAU_WORKNAME_UNKNOWN", MB_ICONINFORMATION);
        return false;
    }
    Frame1* frame = frame_;
    if (tell("MSG_RESEAU_WORKNAME_RESTORE_ASK", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        if (frame)
            frame->workNameCommand(1, name.c_str());
    } else if (frame) {
        frame->restoreWork(name);
    }
    return true;
}
