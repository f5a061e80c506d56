// Windows that close themselves on the dialog commands (9 Annuler, 10 OK),
// and the class of the text-entry layout that asks for a dossier name.
#pragma once
#include "framework/app/AWindow.h"

class SVDialog : public AWindow {
    SV_DECLARE_CLASS(SVDialog)
public:
    SVDialog() = default;
    ACommand* doCommand(int16_t id, long argument) override;
};

class SVGetTextDialog : public SVDialog {
    SV_DECLARE_CLASS(SVGetTextDialog)
public:
    SVGetTextDialog() = default;
};
