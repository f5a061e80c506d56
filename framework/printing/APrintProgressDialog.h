// The window shown while a paper job runs, loaded from the layout
// "AAppPrintProgress": closing it (its close box, its "Annuler" button, Escape)
// only cancels the printer's job; the printer closes it when the job ends.
//
// The printer is not owned; the printer owns the window as its child.
#pragma once

#include "framework/app/AWindow.h"

class APrinter;

class APrintProgressDialog : public AWindow {
    SV_DECLARE_CLASS(APrintProgressDialog)
public:
    APrintProgressDialog() = default;

    // Binds the window to printer, centres it and shows it painted.
    void attach(APrinter* printer);
    APrinter* printer() const { return printer_; }

    // AComponent: the window's record, then this class's own end mark.
    void readFrom(AMemoryStream& stream) override;
    // AWindow: the job is cancelled and the window stays (no-change command).
    ACommand* closeWindow() override;
    bool isClosable() override { return true; }

private:
    APrinter* printer_ = nullptr;  // not owned
};
