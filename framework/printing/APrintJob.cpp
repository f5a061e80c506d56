// Print jobs, page locks and the abort procedure.
#include "framework/printing/APrintJob.h"

#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/SystemSeams.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrintDialog.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"

APrintJob* APrintJob::current_ = nullptr;
APrinter* APrintJob::currentPrinter_ = nullptr;

APrintJob::APrintJob(APrinter* printer) : printer_(printer), setup_(nullptr) {
    if (!printer)
        ThrowAssert("fprinter", 1143);
    setup_ = printer->printerSetup();
    if (!setup_)
        ThrowAssert("fprinter", 1145);
    if (currentPrinter_)
        ThrowAssert("fprinter", 1146);
    if (current_)
        ThrowAssert("fprinter", 1147);
    dc_ = setup_->dc();
    if (!dc_)
        ThrowAssert("fprinter", 1171);
    current_ = this;
    currentPrinter_ = printer;
    installAbortProc();
    savedOrientation_ = static_cast<int8_t>(setup_->orientation());
}

APrintJob::~APrintJob() {
    try {
        finish(true);
        // Taken off the DC before the orientation may replace it.
        if (abortInstalled_ && dc_)
            PrintCalls().setAbortProc(dc_, nullptr);
        setup_->applyOrientation(savedOrientation_);
    } catch (const AError&) {
    }
    dc_ = nullptr;
    current_ = nullptr;
    currentPrinter_ = nullptr;
}

bool APrintJob::previewing() const {
    return printer_->pageTarget() != nullptr;
}

void APrintJob::installAbortProc() {
    abortInstalled_ = false;
    if (previewing())
        return;
    PrintCalls().setAbortProc(dc_, &PrintAbortProc);
    abortInstalled_ = true;
}

int16_t APrintJob::changeOrientation(int16_t o) {
    if (started_ && !PrinterEndDoc(false))
        return 0;
    if (setup_->applyOrientation(o)) {
        dc_ = setup_->dc();
        if (!dc_)
            ThrowAssert("fprinter", 1220);
        installAbortProc();
    } else {
        AString text = FrameworkString(128, 14,
                                       "L'orientation d\xE9sir\xE9"
                                       "e n'a pas \xE9t\xE9 obtenue. L'impression va se "
                                       "poursuivre avec le mode par d\xE9"
                                       "faut");
        SeamMessageBox(PrintCalls().ownerWindow(), text.c_str(), PrintingCaption().c_str(), MB_ICONINFORMATION);
    }
    return 1;
}

int16_t APrintJob::showProgress() {
    if (started_)
        ThrowAssert("fprinter", 1242);
    printer_->PrintProgressShow();
    return 1;
}

bool APrintJob::finish(bool abort) {
    if (current_ != this)
        return true;
    bool ended = !started_ || PrinterEndDoc(abort);
    printer_->hideProgress();
    return ended;
}

int16_t APrintJob::PrinterStartDoc() {
    if (previewing()) {
        started_ = 1;
        return started_;
    }
    if (started_)
        return started_;
    AString title;
    printer_->documentTitle(title);
    // The spooler's names are cut to 31 characters.
    char name[32];
    lstrcpynA(name, title.c_str(), sizeof name);
    DOCINFOA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.lpszDocName = name;
    started_ = PrintCalls().startDoc(dc_, &info) > 0 ? 1 : 0;
    return started_;
}

int16_t APrintJob::PrinterEndDoc(bool abort) {
    if (previewing()) {
        started_ = 0;
        return 1;
    }
    if (!started_)
        return 0;
    int result = abort ? PrintCalls().abortDoc(dc_) : PrintCalls().endDoc(dc_);
    started_ = 0;
    return result >= 0 ? 1 : 0;
}

int16_t APrintJob::beginPage() {
    if (!started_)
        PrinterStartDoc();
    ++pageCounter_;
    return started_;
}

APrintPageLock::APrintPageLock(APrintJob& job) : dc_(nullptr), printer_(job.printer()), preview_(false) {
    bool screenUnits = (AGraphicDisplay::printScalingMode & 2) != 0;
    preview_ = printer_->pageTarget() != nullptr;
    if (preview_) {
        dc_ = printer_->pageDC();
        if (!dc_)
            ThrowAssert("fprinter", 1429);
        started_ = 1;
        HDC reference = screenUnits ? dc_ : job.setup()->dc();
        if (!reference)
            ThrowAssert("fprinter", 1432);
        uint16_t flags = AGraphicDisplay::kPreview | (printer_->pageReady() ? AGraphicDisplay::kOwnDevice : 0);
        push(new AGraphicDisplay(printer_, dc_, flags, reference), nullptr, 0);
        return;
    }
    dc_ = job.dc();
    started_ = PrintCalls().startPage(dc_) > 0 ? 1 : 0;
    SetTextAlign(dc_, TA_BASELINE);
    SetBkMode(dc_, TRANSPARENT);
    HDC reference = screenUnits ? ADisplayContext::instance().memoryDC() : dc_;
    if (started_)
        push(new AGraphicDisplay(printer_, dc_, AGraphicDisplay::kPrinter, reference), nullptr, 0);
}

APrintPageLock::~APrintPageLock() {
    try {
        reset();
        PrinterEndPage();
    } catch (const AError&) {
    }
}

int16_t APrintPageLock::PrinterEndPage() {
    if (preview_) {
        started_ = 0;
        return 1;
    }
    if (!started_)
        return 0;
    bool ok = PrintCalls().endPage(dc_) >= 0;
    AGraphicDisplay::deviceReleased(dc_);
    started_ = 0;
    return ok ? 1 : 0;
}

int16_t APrintPageLock::printAndEnd(long page) {
    if (started_)
        printer_->printPage(page);
    // The page's display state goes back before the page ends.
    reset();
    return PrinterEndPage();
}

BOOL CALLBACK PrintAbortProc(HDC dc, int code) {
    // GDI calls this: nothing may be thrown through it.
    try {
        APrinter* printer = APrintJob::currentPrinter();
        if (!printer)
            ThrowAssert("fprinter", 1381);
        return printer->PrintProgressPump(dc, code) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}
