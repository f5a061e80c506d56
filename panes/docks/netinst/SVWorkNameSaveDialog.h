// The save dialog of the works ("WorkNameSave"): a work name (8303), a check
// box "Enregistrer avec mot de passe" (8304) that shows the group 8307 with the
// password (8305) and its confirmation (8306).
//
// A work that exists is replaced only after the new one is written whole
// beside it (see AWorkFolders.h); a failed save leaves the old one as it was.
#pragma once

#include "panes/docks/netinst/SVWorkNameDialog.h"

class AEditBox;

class SVWorkNameSaveDialog : public SVWorkNameDialog {
    SV_DECLARE_CLASS(SVWorkNameSaveDialog)
public:
    enum : int16_t { kNameItem = 8303, kCheckItem = 8304, kPasswordItem = 8305, kConfirmItem = 8306, kGroupItem = 8307 };

    SVWorkNameSaveDialog() = default;
    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // True when the work was saved (and the pending work, if any, restored).
    bool saveWork(const AString& name);
    bool passwordChecked() const { return checked_; }
    void setPasswordChecked(bool on);

private:
    bool checked_ = false;
};
