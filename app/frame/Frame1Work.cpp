// The main window's part in network installations: opening the work-name and
// identification dialogs, and copying a work's files in and out.
//
// A work folder (the reader's folder plus the work name) holds copies of the
// reader's files "svnet.par", "docnet.par", "sv.prf", "sv.dos", "sv.note",
// the history "sv.histo" as written from memory, and "passewd.db":
//   passewd.db   the password's bytes exactly as typed: no length, no
//                terminator, no line end; missing or empty: no password.
// The password is plain text and compared byte for byte; it never goes to a log.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/frame/AFrameServices.h"
#include "app/frame/AWorkFolders.h"
#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/object/AFileSpec.h"
#include "framework/app/AApp.h"

const char* const Frame1::kWorkFiles[6] = {"svnet.par", "docnet.par", "sv.prf", "sv.dos", "sv.note", "sv.histo"};
const char Frame1::kPasswordFile[] = "passewd.db";

namespace {

const long kMaxPasswordBytes = 1L << 16;
AWorkDialogStep g_step = nullptr;

// The work folder of `name`, empty when there is no reader folder or the name
// is no folder name: the reader's own folder is never addressed as a work.
AFileSpec WorkFolder(const AString& name) {
    AString user = FrameServices().userDirectory();
    if (user.empty() || !IsUsableFolderName(name.c_str()))
        return AFileSpec();
    return AFileSpec(AFileSpec(user.c_str()), name.c_str());
}

// The whole file, false when it cannot be read or is unreasonably long.
bool ReadPassword(const AFileSpec& file, std::string& bytes) {
    FILE* f = std::fopen(file.path().c_str(), "rb");
    if (!f)
        return false;
    char buffer[4096];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.append(buffer, n);
        if (static_cast<long>(bytes.size()) > kMaxPasswordBytes) {
            ok = false;
            break;
        }
    }
    ok = ok && !std::ferror(f);
    std::fclose(f);
    return ok;
}

// "{file} : {ERRSAVE text}", for saving and restoring alike.
AString CopyFailure(const char* name) {
    AString text(name);
    text += " : ";
    text += FrameServices().configMessage("MSG_RESEAU_WORKNAME_ERRSAVE");
    return text;
}

}  // namespace

AWorkDialogStep SetWorkDialogStep(AWorkDialogStep step) {
    AWorkDialogStep old = g_step;
    g_step = step;
    return old;
}

uint16_t WaitForWorkDialog(AWindow* dialog) {
    AApp* app = AApp::current();
    if (!app)
        return 1;
    // A quit asked while the dialog is open ends the wait as a refusal.
    while (app->dialogResult() == 0 && !app->quitFlag()) {
        if (g_step)
            g_step(dialog);
        else
            app->runOnce();
    }
    return app->dialogResult() == 0 ? 1 : app->dialogResult();
}

void Frame1::tellWork(const AString& text) {
    if (AApp* app = AApp::current())
        app->messageBox(text.c_str(), "Attention", MB_ICONINFORMATION, this);
}

void Frame1::workNameCommand(int16_t mode, const char* name) {
    if (mode != 1 && mode != 2)
        return;
    FrameServices().closeDossierWindow();
    AString message = FrameServices().configMessage(mode == 1 ? "MSG_RESEAU_WORKNAME_SAVE" : "MSG_RESEAU_WORKNAME_RESTORE");
    FrameServices().openWorkNameDialog(*this, mode, message, AString(name ? name : ""));
}

void Frame1::askUserName(int16_t mode) {
    FrameServices().openIdentification(*this, mode, FrameServices().configMessage("MSG_RESEAU_USERNAME"));
}

bool Frame1::writeWorkPassword(const AFileSpec& folder, const AString& password) {
    AFileSpec file(folder, kPasswordFile);
    std::string temp = std::string(file.path().c_str()) + ".~tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    size_t n = static_cast<size_t>(password.length());
    bool ok = (n == 0 || std::fwrite(password.c_str(), 1, n, f) == n) && std::fflush(f) == 0;
    ok = std::fclose(f) == 0 && ok;
    ok = ok && MoveFileExA(temp.c_str(), file.path().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}

int16_t Frame1::copyWorkFiles(const AString& name, const AString& password) {
    AFileSpec folder = WorkFolder(name);
    if (folder.empty() || !folder.isDirectory())
        return 0;
    if (!writeWorkPassword(folder, password)) {
        tellWork(CopyFailure(kPasswordFile));
        return 0;
    }
    for (int i = 0; i < 5; ++i) {
        if (!saveWorkFile(folder, kWorkFiles[i]))
            return 0;
    }
    // The history as it stands in memory, states not yet written included.
    if (!FrameServices().writeHistoryIn(folder.path())) {
        tellWork(CopyFailure(kWorkFiles[5]));
        return 0;
    }
    return 1;
}

int16_t Frame1::saveWorkFile(const AFileSpec& folder, const char* name) {
    AFileSpec source(AFileSpec(FrameServices().userFilesFolder().c_str()), name);
    if (!source.exists())
        return 1;
    if (CopyFileReplacing(source, AFileSpec(folder, name)))
        return 1;
    tellWork(CopyFailure(name));
    return 0;
}

int16_t Frame1::restoreWorkFile(const AFileSpec& folder, const char* name) {
    AFileSpec source(folder, name);
    if (!source.exists())
        return 1;
    if (CopyFileReplacing(source, AFileSpec(AFileSpec(FrameServices().userFilesFolder().c_str()), name)))
        return 1;
    tellWork(CopyFailure(name));
    return 0;
}

int16_t Frame1::checkWorkPassword(const AFileSpec& folder) {
    AFileSpec file(folder, kPasswordFile);
    if (!file.exists())
        return 1;
    std::string expected;
    if (!ReadPassword(file, expected))
        return 0;
    if (expected.empty())
        return 1;
    AApp* app = AApp::current();
    if (!app)
        return 0;
    app->setDialogResult(0);
    AString message = folder.name();
    message += FrameServices().configMessage("MSG_RESEAU_WORKNAME_PASSEWORD");
    AWindow* dialog = FrameServices().openWorkPassword(*this, message, AString(expected.data(), static_cast<long>(expected.size())));
    expected.assign(expected.size(), '\0');
    if (!dialog)
        return 0;
    uint16_t answer = WaitForWorkDialog(dialog);
    return answer == 2 ? 1 : 0;
}

Frame1::SavedChain Frame1::takeChain() {
    SavedChain chain{headState_, curState_, stateCount_};
    headState_ = curState_ = nullptr;
    stateCount_ = 0;
    return chain;
}

void Frame1::putBackChain(const SavedChain& chain) {
    delete headState_;
    headState_ = chain.head;
    curState_ = chain.current;
    stateCount_ = chain.count;
    if (curState_)
        becomeCurrent(curState_);
}

// The restored history replaces the chain as at start-up; when it brings no
// state the window keeps what it showed.
int16_t Frame1::restoreHistory(const AFileSpec& folder) {
    SavedChain old = takeChain();
    FrameServices().releaseWorkObject(5);
    int16_t copied = restoreWorkFile(folder, kWorkFiles[5]);
    FrameServices().reloadWorkObject(5);
    if (!headState_) {
        putBackChain(old);
        return copied;
    }
    delete old.head;
    goToHistoryState(headState());
    return copied;
}

int16_t Frame1::restoreWork(const AString& name) {
    AFileSpec folder = WorkFolder(name);
    if (folder.empty())
        return 0;
    RecoverWorkFolders(folder.parent(false));
    if (!folder.isDirectory())
        return 0;
    if (!checkWorkPassword(folder))
        return 0;
    for (int16_t i = 0; i < 6; ++i) {
        if (!AFileSpec(folder, kWorkFiles[i]).exists())
            continue;
        int16_t copied;
        if (i == 5) {
            copied = restoreHistory(folder);
        } else {
            FrameServices().releaseWorkObject(i);
            copied = restoreWorkFile(folder, kWorkFiles[i]);
            FrameServices().reloadWorkObject(i);
        }
        if (!copied)
            return 0;
    }
    tellWork(FrameServices().configMessage("MSG_RESEAU_WORKNAME_RESTOREOK"));
    return 1;
}
