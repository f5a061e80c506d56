// The application's part in network installations: the reader's name, the
// settings objects a restored work replaces, and the dialogs of the works.
#include <windows.h>

#include <functional>

#include "app/frame/AWorkFolders.h"
#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/prefs/AHistoManager.h"
#include "base/procedural/AError.h"
#include "panes/docks/netinst/NetInstDialogs.h"
#include "panes/docks/workspacewin/DossierWin.h"

namespace {

const char kNameCaption[] = "Nom d'utilisateur incorrect";

// The files in use follow the reader into the reader's folder: each object is
// written where it was read (named runs between) and read again from that
// folder, where a file it lacks starts as a copy of the one in use. The
// history is written from memory when a work is saved.
void MoveToReaderFolder(TheApp& app, const std::function<void()>& name) {
    app.closeDossierWindow();
    AFileSpec before = app.getUserFilesFolder();
    for (int16_t i = 0; i < 5; ++i)
        app.releaseWorkObject(i);
    name();
    AFileSpec after = app.getUserFilesFolder();
    for (int16_t i = 0; i < 5; ++i) {
        AFileSpec own(after, Frame1::kWorkFiles[i]), used(before, Frame1::kWorkFiles[i]);
        if (before != after && !own.exists() && used.exists() && !CopyFileReplacing(used, own)) {
            AString text(Frame1::kWorkFiles[i]);
            text += " : ";
            text += app.configMessage("MSG_RESEAU_WORKNAME_ERRSAVE");
            app.messageBox(text.c_str(), "Attention", MB_ICONINFORMATION, nullptr);
        }
        app.reloadWorkObject(i);
    }
}

}  // namespace

// The users' folder is WorkPath; a name that is no plain folder name (empty,
// "..", "a\\b", a device name) would address another folder and is refused
// before anything is made.
bool TheApp::setUserName(const char* name) {
    if (!install_.workPath.empty() && IsUsableFolderName(name) &&
        AFileSpec(AFileSpec(install_.workPath.c_str()), name).isDirectory()) {
        MoveToReaderFolder(*this, [&] { userName_ = name; });
        return true;
    }
    messageBox(configMessage("MSG_RESEAU_USERNAME_UNKNOWN").c_str(), kNameCaption, MB_OK | MB_ICONINFORMATION, nullptr);
    return false;
}

bool TheApp::createUserName(const char* name) {
    if (install_.workPath.empty() || !IsUsableFolderName(name)) {
        messageBox(configMessage("MSG_RESEAU_USERNAME_ERRCREATE").c_str(), kNameCaption, MB_OK | MB_ICONINFORMATION,
                   nullptr);
        return false;
    }
    AFileSpec folder(AFileSpec(install_.workPath.c_str()), name);
    if (folder.exists()) {
        messageBox(configMessage("MSG_RESEAU_USERNAME_EXISTYET").c_str(), kNameCaption, MB_OK | MB_ICONINFORMATION,
                   nullptr);
        return false;
    }
    if (folder.createDirectory() != 0 || !folder.isDirectory()) {
        messageBox(configMessage("MSG_RESEAU_USERNAME_ERRCREATE").c_str(), kNameCaption, MB_OK | MB_ICONINFORMATION,
                   nullptr);
        return false;
    }
    MoveToReaderFolder(*this, [&] { userName_ = name; });
    return true;
}

void TheApp::releaseWorkObject(int16_t index) {
    switch (index) {
        case 0: releaseNetInfo(); break;
        case 1: releaseDocNet(); break;
        case 2: releasePreferences(); break;
        case 3: releaseDossiers(); break;
        case 4: releaseNotes(); break;
        case 5: releaseHistory(); break;
        default: break;
    }
}

void TheApp::reloadWorkObject(int16_t index) {
    switch (index) {
        case 0: loadNetInfo(); break;
        case 1: loadDocNet(); break;
        case 2: loadPreferences(); break;
        case 3: loadDossiers(); break;
        case 4: loadNotes(); break;
        case 5: loadHistory(true, true); break;
        default: break;
    }
}

bool TheApp::writeHistoryIn(const AString& folder) {
    if (!histoManager_)
        loadHistory(false, false);
    try {
        histoManager_->writeToFolder(AFileSpec(folder.c_str()));
        return true;
    } catch (const AError&) {
        // The caller tells the reader which file failed.
        return false;
    }
}

AWindow* TheApp::openWorkNameDialog(Frame1& frame, int16_t mode, const AString& message, const AString& name) {
    return OpenWorkNameDialog(frame, mode, message, name);
}

AWindow* TheApp::openIdentification(Frame1& frame, int16_t mode, const AString& message) {
    return OpenIdentificationDialog(frame, mode, message);
}

AWindow* TheApp::openWorkPassword(Frame1& frame, const AString& message, const AString& expected) {
    (void)frame;
    return OpenWorkPasswordDialog(message, expected);
}

// The dossier window's own close runs, and what it hands back is performed.
void TheApp::closeDossierWindow() {
    if (DossierWin* window = DossierWin::shown())
        perform(window->closeWindow());
}
