// The export dialog's commands.
#include "docengine/export/AExportOptionsDlg.h"

#include "base/procedural/KyPath.h"
#include "docengine/export/AExportOptions.h"

AExportOptionsDlg* gExportOptionsDlg = nullptr;

AFileSpec AExportDialogHost::personalFolder() {
    return PersonalFolder();
}

AFileSpec PersonalFolder() {
    KY_FileSpec spec{nullptr};
    if (KY_GetPersonalDir(&spec) != 0)
        return AFileSpec();
    AFileSpec folder(spec);
    KY_FreeFileSpec(&spec);
    return folder;
}

AExportOptionsDlg::AExportOptionsDlg(AExportOptions* options, AExportDialogHost* host, uint16_t whole)
    : options_(options), host_(host), whole_(whole) {
    gExportOptionsDlg = this;
}

AExportOptionsDlg::~AExportOptionsDlg() {
    if (gExportOptionsDlg == this)
        gExportOptionsDlg = nullptr;
}

bool AExportOptionsDlg::doCommand(long command) {
    if (command == kExportCommand)
        exportAndClose();
    else if (command == kCloseCommand)
        host_->closeDialog();
    else
        return false;
    return true;
}

// A cancelled box or a failed export still closes the dialog.
void AExportOptionsDlg::exportAndClose() {
    AFileSpec start = options_ ? options_->getFolder() : AFileSpec();
    if (start.empty())
        start = host_->personalFolder();
    AFileSpec chosen;
    if (host_->askSaveFile(AFileSpec(start, "export.rtf"), "*.rtf", "Fichier RTF", "Enregistrer sous", &chosen)) {
        AFileSpec folder = chosen.parent(false);
        if (!host_->exportRtfFile(chosen, whole_)) {
            AString message("Impossible d'ouvrir ");
            message += chosen.path();
            host_->showMessage(message, 0x30);
        }
        if (options_ && folder != start)
            options_->setFolder(folder);
    }
    host_->closeDialog();
}
