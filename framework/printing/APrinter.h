// The printing engine: a display component that drives another one, the
// printed component, through a print job (title, set-up, pages, orientation
// of each page), drawing for every page a header, the page body and a footer
// with "Page n/m"; and, with a page target installed, the same pages for a
// preview, each drawn on a DC that the target supplies.
//
// The printed component, the progress display and the job never outlive one
// call of printWithDialog or printPages. Rectangles are printer pixels (screen
// units when the print-scaling mode has bit 2). Entry points answer the
// framework's no-change command; failures are told with a message box.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/display/ADisplayComponent.h"
#include "framework/display/APrintRange.h"

class AFont;
class _AFont;
class APrintJob;

// Where a preview wants its pages drawn.
class APrintPageTarget {
public:
    virtual ~APrintPageTarget() = default;
    // The DC to draw page on (not owned), or null; may set *ready.
    virtual HDC preparePage(int16_t page, const ARect& printable, const ARect& paper, int16_t* ready) = 0;
};

class APrinter : public ADisplayComponent {
    SV_DECLARE_CLASS(APrinter)
public:
    APrinter();
    ~APrinter() override;

    // AComponent.
    void attachItems() override;
    void detachItems() override;
    // ADisplaySite: the set-up's DC and resolutions while a component is printed.
    const APrinterInfo* canPrint() override;

    // Forwarded to the printed component.
    void documentTitle(AString& out) override;
    APrinterSetup* printerSetup() override;
    long firstPage() override;
    bool pageAvailable(const APrintRange& range, long page) override;
    bool preparePart(long part) override;
    void beginPrinting(const ARect& body) override;
    void endPrinting() override;
    void cancelPrinting() override;
    long pageOrientation(long page) override;
    void drawPage(const ARect& body, long page, bool draw) override;
    void headerText(AString& out) override;
    void pageLabelFormat(AString& out) override;
    void footerText(AString& out) override;

    // Rectangles of the page.
    virtual long pageCount();
    virtual ARect printableRect();
    virtual ARect paperRect();
    virtual ARect bodyRect();
    virtual int32_t headerHeight();
    virtual int32_t footerHeight();
    virtual ARect headerRect();
    virtual ARect footerRect();
    virtual void drawHeader(const ARect& rect, long page);
    virtual void drawFooter(const ARect& rect, long page);

    // The entries: the print dialog then the job, or the job over range.
    ACommand* printWithDialog(ADisplayComponent* component) override;
    // Every page of the component, one copy, without the dialog.
    ACommand* printAllPages(ADisplayComponent* component) override;
    virtual ACommand* printPages(ADisplayComponent* component, const APrintRange& range);
    virtual ACommand* runJob(const APrintRange& range);
    virtual void printCopy(const APrintRange& range, APrintJob& job);
    virtual void runCopy(const APrintRange& range, APrintJob& job);
    virtual void beginCopy();
    virtual void endCopy();
    virtual void printCancelled();
    virtual void printPage(long page);
    virtual void skipPage(long page);

    // Progress and cancelling.
    // A new progress window (owned by this printer, under the application),
    // or null without an application or a layout "AAppPrintProgress".
    virtual AComponent* makeProgressDialog();
    void PrintProgressShow();
    void hideProgress();
    // Called by the abort procedure: pumps messages through the progress
    // window, or watches the Pause key without one; true to go on.
    virtual bool PrintProgressPump(HDC dc, int code);
    // What the progress window's close command does: the job stops at its next check.
    void cancel() { cancelled_ = 1; }

    bool canContinue() const { return ok_ && !cancelled_; }
    bool cancelled() const { return cancelled_ != 0; }
    bool ok() const { return ok_ != 0; }
    ADisplayComponent* printed() const { return printed_; }
    AComponent* progress() const { return progress_; }
    // The framework's plain-window mode: jobs show the executable's dialog 204
    // ("Impression en cours...") instead of the progress window; 0 off.
    static uint16_t plainWindowMode;
    // The open fallback dialog of a job in plain-window mode, or null.
    static HWND fallbackDialog();
    void setPageTarget(APrintPageTarget* target) { pageTarget_ = target; }
    APrintPageTarget* pageTarget() const { return pageTarget_; }
    HDC pageDC() const { return pageDC_; }
    bool pageReady() const { return pageReady_ != 0; }

protected:
    // Asks the page's orientation and applies it through the job; in
    // preview asks the target for the page's DC. Sets ok.
    virtual void setUpPage(long page);

private:
    ADisplayComponent* requirePrinted(long line);
    _AFont* font();
    // Sets the printed component for a scope and sizes this printer to the page.
    class Session;

    ADisplayComponent* printed_ = nullptr;  // not owned
    AComponent* progress_ = nullptr;        // owned
    AFont* font_ = nullptr;                 // owned
    int16_t cancelled_ = 0;
    int16_t ok_ = 1;
    HDC pageDC_ = nullptr;  // the page target's
    int16_t pageReady_ = 0;
    APrintPageTarget* pageTarget_ = nullptr;  // not owned
    HWND disabledOwner_ = nullptr;            // the window the progress display disabled
};

// beginCopy for a scope, endCopy at its end (an error from endCopy is dropped).
class APrintCopyGuard {
public:
    explicit APrintCopyGuard(APrinter& printer);
    ~APrintCopyGuard();
    APrintCopyGuard(const APrintCopyGuard&) = delete;
    APrintCopyGuard& operator=(const APrintCopyGuard&) = delete;

private:
    APrinter& printer_;
};

// The printer set-up dialog for the application, or the reader is told there is no printer.
void PrinterSetUpForApp();
