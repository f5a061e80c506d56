// The print job: the document and page calls on the printer's DC, the abort
// procedure and orientation changes between pages; and the page lock through
// which each page is drawn on a printing display.
//
// One job at a time: the current printer and job are process-wide, and a
// second job is an assertion ("fprinter"). The job borrows its set-up's DC.
// The platform calls go through APrintCalls. Destroying a job aborts a
// document still open, hides the progress and restores the orientation.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/graphics/ADisplayLock.h"

class APrinter;
class APrinterSetup;

class APrintJob {
public:
    explicit APrintJob(APrinter* printer);
    ~APrintJob();
    APrintJob(const APrintJob&) = delete;
    APrintJob& operator=(const APrintJob&) = delete;

    static APrintJob* current() { return current_; }
    static APrinter* currentPrinter() { return currentPrinter_; }

    // Ends an open document, applies o and takes the set-up's new DC; a
    // refused orientation is told to the reader. 0 only when ending failed.
    int16_t changeOrientation(int16_t o);
    int16_t showProgress();
    // Ends (or aborts) the document and hides the progress; false when ending failed.
    bool finish(bool abort);
    int16_t PrinterStartDoc();
    int16_t PrinterEndDoc(bool abort);
    // Starts the document on first use; answers whether it is open.
    int16_t beginPage();

    HDC dc() const { return dc_; }
    APrinter* printer() const { return printer_; }
    APrinterSetup* setup() const { return setup_; }
    bool started() const { return started_ != 0; }
    int16_t pagesBegun() const { return pageCounter_; }

private:
    bool previewing() const;
    void installAbortProc();

    int16_t started_ = 0;
    APrinter* printer_;  // not owned
    int16_t pageCounter_ = 0;
    int8_t savedOrientation_ = 0;
    APrinterSetup* setup_;  // not owned
    bool abortInstalled_ = false;
    HDC dc_ = nullptr;  // the set-up's

    static APrintJob* current_;
    static APrinter* currentPrinter_;
};

// One page: StartPage and a printing display on construction (a preview page
// draws on the page target's DC instead), EndPage at the end.
class APrintPageLock : public ADisplayLock {
public:
    explicit APrintPageLock(APrintJob& job);
    ~APrintPageLock() override;

    bool pageStarted() const { return started_ != 0; }
    // Ends a started page: 1 when EndPage succeeded; harmless twice (0).
    int16_t PrinterEndPage();
    // Prints the page when it started, then ends it.
    int16_t printAndEnd(long page);

private:
    HDC dc_;
    APrinter* printer_;  // not owned
    int16_t started_ = 0;
    bool preview_;
};

// The abort procedure that GDI calls during a job: the current printer's pump.
BOOL CALLBACK PrintAbortProc(HDC dc, int code);
