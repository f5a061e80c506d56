// Shared pieces of the printing tests: a printed document that logs what the
// printer asks of it, a recorder of the job primitives, a scripted print
// dialog, and the PDF that the CUPS printer "PDF" writes for a job.
#pragma once

#include <windows.h>
// The dialog declarations need windows.h first.
#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/display/ADisplayComponent.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

class APrinter;
class APrinterSetup;

// A document of pages of text lines; logs "begin", "end", "cancel",
// "draw<n>" and "layout<n>" into the recorder's log when one is given.
class Document : public ADisplayComponent {
public:
    Document(AComponent* parent, int16_t id) : ADisplayComponent(parent, id, ASizeSpec(ARect(0, 0, 200, 200))) {}

    void documentTitle(AString& out) override { out = AString(title.c_str()); }
    APrinterSetup* printerSetup() override { return setup; }
    long firstPage() override { return first; }
    long countPages(const ARect&) override { return knownCount ? static_cast<long>(pages.size()) - first : 0; }
    bool pageAvailable(const APrintRange& range, long page) override;
    void beginPrinting(const ARect&) override { note("begin"); }
    void endPrinting() override { note("end"); }
    void cancelPrinting() override { note("cancel"); }
    long pageOrientation(long page) override;
    void drawPage(const ARect& body, long page, bool draw) override;
    void headerText(AString& out) override { out = AString(header.c_str()); }
    void pageLabelFormat(AString& out) override { out = AString(labelFormat.c_str()); }
    void footerText(AString& out) override { out = AString(footer.c_str()); }

    void note(const std::string& what);

    std::string title = "Document";
    std::vector<std::string> pages;  // text of each page, lines split at '\n'
    std::vector<long> orientations;  // per page; missing: 0
    bool knownCount = true;
    long first = 0;
    std::string header, footer, labelFormat = "Page %d";
    APrinterSetup* setup = nullptr;  // not owned; null: the current one
    std::string* log = nullptr;      // not owned
    long cancelAtPage = -1;          // the printer is cancelled while this page is drawn
    long throwAtPage = -1;           // drawing this page raises AError
    HWND frame = nullptr;            // noted "frame-disabled" when disabled while a page is drawn
    std::vector<ARect> bodies;       // the body rectangle of each drawn page
};

// Replaces the job primitives: each call is logged ("StartDoc(name)",
// "StartPage", "EndPage", "EndDoc", "AbortDoc") into log, and answers as the
// real call would (forward) or succeeds without a device.
struct JobRecorder {
    explicit JobRecorder(bool forward);
    ~JobRecorder();

    std::string log;
    bool forward;
    int failStartPageAt = -1;  // the n-th StartPage (from 0) fails
    bool failStartDoc = false;
    int startPages = 0;
    int pauseAfterPages = -1;  // the Pause key is down from the n-th EndPage on
    ABORTPROC abortProc = nullptr;
};

// The dialog's answer: confirmed or not, pages, copies, collation.
struct DialogScript {
    int answer = 1;
    bool pageNumbers = false;
    int from = 0, to = 0, copies = 1;
    bool collate = true;
    bool noDefaultPrinter = false;  // the default-printer query finds none
    PRINTDLGA seen = {};            // the record as the dialog was given it
    int calls = 0;
};
DialogScript& Dialog();
void InstallScriptedDialog();

// A set-up whose DC is a memory DC: printing without a printer driver. With
// settings, it also has a portrait DEVMODE and the DEVNAMES of a printer that
// does not exist.
APrinterSetup* MemorySetup(bool withSettings = false);

class PrintTest : public GraphicsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    Document* makeDocument(int pages, std::string* log);
    // A printer that the test's end deletes.
    APrinter* makePrinter(APrinter* made = nullptr);

private:
    std::vector<AComponent*> printers_;
};

// The numbers of the pages logged as drawn (or laid out), in order: "0,0,1".
std::string Drawn(const std::string& log, const char* kind = "draw");
int Count(const std::string& log, const std::string& what);
// The unique job name of a test; the PDF of the printed job, once written.
std::string JobName(const char* what);
// The newest PDF whose name starts with job (unix path), waiting up to 60 s.
std::string PrintedPdf(const std::string& job);
bool PrinterRequired();
// Windows-1252 text as UTF-8.
std::string Utf8(const std::string& ansi);
