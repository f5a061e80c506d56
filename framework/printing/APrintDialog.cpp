// The print dialog family.
#include "framework/printing/APrintDialog.h"

#include "base/procedural/AError.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AApp.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"

namespace {

const DWORD kBaseFlags = PD_RETURNDC | PD_NOPAGENUMS;

}  // namespace

AString PrintingCaption() {
    if (AApp* app = AApp::current())
        return app->title();
    AComponent* root = AComponent::application();
    return root ? AString(root->getClass()->name()) : AString();
}

void ShowNoPrinterMessage() {
    AString text = FrameworkString(128, 7, "Driver d'impression introuvable !");
    SeamMessageBox(PrintCalls().ownerWindow(), text.c_str(), PrintingCaption().c_str(), MB_OK);
}

APrintDialog::APrintDialog() : record_() {
    record_.lStructSize = sizeof record_;
    record_.Flags = kBaseFlags;
}

APrintDialog::~APrintDialog() {
    PrinterHandles left{record_.hDC, record_.hDevMode, record_.hDevNames};
    left.release();
}

int APrintDialog::PrinterDialog() {
    record_.hwndOwner = PrintCalls().ownerWindow();
    return PrintCalls().printDlg(&record_) ? 1 : 0;
}

void APrintDialog::handTo(APrinterSetup& setup, bool force) {
    PrinterHandles handles{record_.hDC, record_.hDevMode, record_.hDevNames};
    record_.hDC = nullptr;
    record_.hDevMode = nullptr;
    record_.hDevNames = nullptr;
    setup.adopt(handles, force);
}

ADefaultPrinterQuery::ADefaultPrinterQuery() {
    record_.Flags |= PD_RETURNDEFAULT;
}

APrinterSetup* ADefaultPrinterQuery::makeSetup() {
    if (!PrinterDialog())
        return nullptr;
    auto* setup = CheckAlloc(new (std::nothrow) APrinterSetup, "fprinter", 470);
    handTo(*setup, true);
    return setup;
}

APrinterSetup* ACurrentPrinterDialog::findSetup() {
    APrinterSetup* setup = component_ ? component_->printerSetup() : nullptr;
    if (!setup)
        setup = APrinterSetup::current();
    if (!setup)
        ShowNoPrinterMessage();
    return setup;
}

int ACurrentPrinterDialog::runAndAdopt() {
    APrinterSetup* setup = findSetup();
    if (!setup)
        return 0;
    // The dialog starts from the set-up's blocks and may free them: they
    // belong to the record until the set-up takes back what it returns.
    record_.hDevMode = setup->devMode();
    record_.hDevNames = setup->devNames();
    int answer = PrinterDialog();
    handTo(*setup, answer != 0);
    return answer;
}

APrintRangeDialog::APrintRangeDialog(APrinter* printer) : ACurrentPrinterDialog(printer), printer_(printer) {}

int APrintRangeDialog::run() {
    // Without a set-up the pages cannot be counted: the reader is told first.
    if (!findSetup())
        return 0;
    long first = printer_->firstPage();
    long count = printer_->pageCount();
    countKnown_ = count != 0 ? 1 : 0;
    record_.nCopies = 1;
    record_.Flags |= PD_NOSELECTION | PD_COLLATE;
    record_.nFromPage = record_.nMinPage = static_cast<WORD>(first + 1);
    if (countKnown_) {
        record_.nToPage = record_.nMaxPage = static_cast<WORD>(first + count);
    } else {
        record_.nMaxPage = 32000;
        record_.nToPage = record_.nFromPage;
    }
    return runAndAdopt();
}

APrintRange APrintRangeDialog::makeRange() const {
    bool pages = (record_.Flags & PD_PAGENUMS) != 0;
    int from = pages ? record_.nFromPage : record_.nMinPage;
    int to = pages ? record_.nToPage : record_.nMaxPage;
    auto copies = static_cast<int16_t>(record_.nCopies > 0 && record_.nCopies < 1000 ? record_.nCopies : 1);
    bool collate = (record_.Flags & PD_COLLATE) != 0;
    return APrintRange{static_cast<int16_t>(from - 1), static_cast<int16_t>(to - 1), collate ? copies : int16_t(1),
                       collate ? int16_t(1) : copies, countKnown_};
}

APrintSetupDialog::APrintSetupDialog(ADisplayComponent* component) : ACurrentPrinterDialog(component) {
    record_.Flags |= PD_PRINTSETUP;
}
