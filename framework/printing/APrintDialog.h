// The common print dialog and its variants: the default-printer query, the
// set-up of a component's printer, the page range of a print job and the
// printer set-up box. Each holds one PRINTDLGA; PrintDlgA goes through the
// seam of APrintCalls.
//
// A dialog releases the handles still in its record when it ends; those that
// a set-up adopted are no longer there. No set-up for a dialog shows "Driver
// d'impression introuvable !" and the dialog answers 0.
#pragma once

#include <windows.h>
// The dialog declarations need windows.h first.
#include <commdlg.h>

#include <cstdint>

#include "base/object/AString.h"
#include "framework/display/APrintRange.h"

class ADisplayComponent;
class APrinter;
class APrinterSetup;

class APrintDialog {
public:
    APrintDialog();
    virtual ~APrintDialog();
    APrintDialog(const APrintDialog&) = delete;
    APrintDialog& operator=(const APrintDialog&) = delete;

    // 1 when the dialog was confirmed, else 0.
    virtual int PrinterDialog();
    PRINTDLGA& record() { return record_; }

protected:
    // Hands the record's handles to setup (all with force) and clears them here.
    void handTo(APrinterSetup& setup, bool force);

    PRINTDLGA record_;
};

class ADefaultPrinterQuery : public APrintDialog {
public:
    ADefaultPrinterQuery();
    // A new set-up of the default printer (the caller owns it), or null.
    APrinterSetup* makeSetup();
};

class ACurrentPrinterDialog : public APrintDialog {
public:
    // component may be null: the application's current set-up is used.
    explicit ACurrentPrinterDialog(ADisplayComponent* component) : component_(component) {}
    // The component's set-up, else the current one; null after the message.
    APrinterSetup* findSetup();
    // Runs the dialog on the set-up's handles and adopts what it gives back.
    int runAndAdopt();

private:
    ADisplayComponent* component_;  // not owned
};

class APrintRangeDialog : public ACurrentPrinterDialog {
public:
    explicit APrintRangeDialog(APrinter* printer);
    int run();
    APrintRange makeRange() const;
    bool pageCountKnown() const { return countKnown_ != 0; }

private:
    APrinter* printer_;  // not owned
    int16_t countKnown_ = 0;
};

class APrintSetupDialog : public ACurrentPrinterDialog {
public:
    explicit APrintSetupDialog(ADisplayComponent* component);
};

// Shows "Driver d'impression introuvable !" captioned with the application's title.
void ShowNoPrinterMessage();
// The application's title: the caption of printing's message boxes.
AString PrintingCaption();
