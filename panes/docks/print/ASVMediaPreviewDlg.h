// The print previews of a media: the base keeps the owner media pane and the
// three buttons (IMPRIMER 1010, ANNULER 1015, MISE EN PAGE... 1020); the image
// and Flash previews build what they show in prepare and remove the temporary
// file of the last preparation in discard, also when they are destroyed.
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class AMediaPreviewOwner;

class ASVMediaPreviewDlg : public AWindow {
    SV_DECLARE_CLASS(ASVMediaPreviewDlg)
public:
    ASVMediaPreviewDlg() = default;

    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* closeWindow() override;

    virtual void prepare() {}
    virtual void discard() {}

    void setOwner(AMediaPreviewOwner* owner) { owner_ = owner; }
    AMediaPreviewOwner* owner() const { return owner_; }

    // Key 10 of the main window's print options: 1 prints the caption page; 0 without options.
    static long captionKey();

private:
    AMediaPreviewOwner* owner_ = nullptr;  // not owned
};
