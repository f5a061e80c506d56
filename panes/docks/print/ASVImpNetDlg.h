// The print dialog of a web page ("ImpNet"): IMPRIMER (1010) prints the page
// of the nearest enclosing browser view and leaves the dialog open, OPTIONS
// D'IMPRIMANTE (1011) runs the printer set-up, ANNULER (1015) closes.
//
// The view is not owned: the nearest enclosing browser view, else the first
// one under the dialog's parent (the web pane that opened it). Without either
// the set-up stops with the allocation-check error ("appclass").
#pragma once

#include "framework/app/AWindow.h"

class AMozillaView;

class ASVImpNetDlg : public AWindow {
    SV_DECLARE_CLASS(ASVImpNetDlg)
public:
    static constexpr const char* kLayoutName = "ImpNet";

    ASVImpNetDlg() = default;

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    AMozillaView* view() const { return view_; }

private:
    AMozillaView* view_ = nullptr;  // not owned
};
