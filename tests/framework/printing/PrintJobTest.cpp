// Print jobs against recorded job primitives: the order of documents, pages
// and copies, the print dialog's record and range, failures and cancels, the
// header and footer space, orientation changes and the preview's page target.
#include <string>

#include "base/procedural/AError.h"
#include "framework/display/ADisplayServices.h"
#include "framework/display/APrintRange.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrintDialog.h"
#include "framework/printing/APrintJob.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/printing/PrintTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// The ends of the documents: "EndDoc", "AbortDoc", separated by spaces.
std::string Endings(const std::string& log) {
    std::string out;
    size_t at = 0;
    while ((at = log.find("Doc ", at)) != std::string::npos) {
        size_t start = log.rfind(' ', at);
        start = start == std::string::npos ? 0 : start + 1;
        out += (out.empty() ? "" : " ") + log.substr(start, at + 3 - start);
        at += 4;
    }
    return out;
}

class ProgressPrinter : public APrinter {
public:
    AComponent* makeProgressDialog() override {
        ++made;
        auto* window = new AComponent(this, 77);
        AObject::completeNew(window);
        return window;
    }
    int made = 0;
};

class RecordingTarget : public APrintPageTarget {
public:
    RecordingTarget() : dc(CreateCompatibleDC(nullptr)) {}
    ~RecordingTarget() override { DeleteDC(dc); }
    HDC preparePage(int16_t page, const ARect& printable, const ARect&, int16_t* ready) override {
        pages += std::to_string(page) + " ";
        size = printable;
        *ready = 1;
        return dc;
    }
    HDC dc;
    std::string pages;
    ARect size;
};

}  // namespace

TEST_F(PrintTest, PagesAndCopiesReachTheSpoolerInOrder) {
    struct Row {
        const char* name;
        int pages;
        APrintRange range;
        const char* drawn;
        const char* laidOut;
    } rows[] = {
        {"collated 2, each page 3", 2, {0, 1, 2, 3, 1}, "0,0,0,1,1,1,0,0,0,1,1,1", ""},
        {"one copy", 3, {0, 2, 1, 1, 1}, "0,1,2", ""},
        {"range above the first page", 4, {2, 3, 1, 1, 1}, "2,3", "0,1"},
        {"range past the end", 2, {0, 31999, 1, 1, 0}, "0,1", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRecorder recorder(false);
        Document* doc = makeDocument(row.pages, &recorder.log);
        doc->setup = MemorySetup();
        APrinter* printer = makePrinter();
        printer->printPages(doc, row.range);
        EXPECT_EQ(row.drawn, Drawn(recorder.log));
        EXPECT_EQ(row.laidOut, Drawn(recorder.log, "layout"));
        EXPECT_EQ(Count(recorder.log, "StartPage"), Count(recorder.log, "draw"));
        EXPECT_EQ(1, Count(recorder.log, "StartDoc"));
        EXPECT_EQ(1, Count(recorder.log, "EndDoc"));
        EXPECT_EQ(row.range.collatedCopies, Count(recorder.log, "begin"));
        EXPECT_EQ(row.range.collatedCopies, Count(recorder.log, "end "));
        EXPECT_TRUE(CapturedBoxes().empty());
        EXPECT_EQ(nullptr, printer->printed());
        delete doc->setup;
        AComponent* gone = doc;
        DeleteComponent(gone);
    }
}

TEST_F(PrintTest, TheDialogOffersThePagesAndGivesTheRange) {
    struct Row {
        const char* name;
        long first;
        bool known;
        DialogScript answer;
        WORD from, to, min, max;
        const char* drawn;
    } rows[] = {
        {"known count", 2, true, {}, 3, 5, 3, 5, "2,3,4"},
        {"no count", 2, false, {}, 3, 3, 3, 32000, "2,3,4"},
        {"pages 4 to 5, 2 copies collated", 2, true,
         [] {
             DialogScript s;
             s.pageNumbers = true;
             s.from = 4;
             s.to = 5;
             s.copies = 2;
             return s;
         }(),
         3, 5, 3, 5, "3,4,3,4"},
        {"2 copies not collated", 0, true,
         [] {
             DialogScript s;
             s.copies = 2;
             s.collate = false;
             return s;
         }(),
         1, 3, 1, 3, "0,0,1,1,2,2"},
        {"cancelled", 0, true,
         [] {
             DialogScript s;
             s.answer = 0;
             return s;
         }(),
         1, 3, 1, 3, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        InstallScriptedDialog();
        Dialog() = row.answer;
        JobRecorder recorder(false);
        Document* doc = makeDocument(static_cast<int>(row.first) + 3, &recorder.log);
        doc->first = row.first;
        doc->knownCount = row.known;
        APrinterSetup::setCurrent(MemorySetup());
        APrinter* printer = makePrinter();
        printer->printWithDialog(doc);
        const PRINTDLGA& seen = Dialog().seen;
        EXPECT_EQ(sizeof(void*) == 4 ? 66u : 120u, seen.lStructSize);
        EXPECT_EQ(static_cast<DWORD>(PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_COLLATE), seen.Flags);
        EXPECT_EQ(row.from, seen.nFromPage);
        EXPECT_EQ(row.to, seen.nToPage);
        EXPECT_EQ(row.min, seen.nMinPage);
        EXPECT_EQ(row.max, seen.nMaxPage);
        EXPECT_EQ(1, seen.nCopies);
        EXPECT_EQ(row.drawn, Drawn(recorder.log));
        EXPECT_EQ(row.answer.answer ? 0 : 1, Count(recorder.log, "cancel"));
        EXPECT_NE(nullptr, APrinterSetup::current()->dc()) << "the set-up keeps a DC";
        AComponent* gone = doc;
        DeleteComponent(gone);
        APrinterSetup::setCurrent(nullptr);
    }
}

TEST_F(PrintTest, TheSpoolerGetsTheTitleCutTo31Characters) {
    JobRecorder recorder(false);
    Document* doc = makeDocument(1, &recorder.log);
    doc->title =
        "Encyclop\xE9"
        "die : un titre bien plus long que trente et un";
    doc->setup = MemorySetup();
    APrinter* printer = makePrinter();
    printer->printPages(doc, APrintRange{0, 0, 1, 1, 1});
    EXPECT_NE(std::string::npos, recorder.log.find("StartDoc(Encyclop\xE9"
                                                   "die : un titre bien pl) "))
        << recorder.log;
    delete doc->setup;
}

TEST_F(PrintTest, FailuresAndCancelsEndTheJobCleanly) {
    struct Row {
        const char* name;
        int failStartPageAt;
        bool failStartDoc;
        long cancelAtPage;
        int pauseAfterPages;
        bool progressWindow;
        bool noPrinter;
        const char* drawn;
        const char* ending;  // "EndDoc", "AbortDoc" or ""
        const char* box;     // "" for none
        unsigned boxFlags;
    } rows[] = {
        {"StartPage fails", 1, false, -1, -1, false, false, "0", "EndDoc", "Probl\xE8me lors de l'impression",
         MB_ICONHAND},
        {"StartDoc fails", -1, true, -1, -1, false, false, "", "", "Probl\xE8me lors de l'impression", MB_ICONHAND},
        {"cancel from the progress window", -1, false, 1, -1, true, false, "0,1", "AbortDoc", "", 0},
        {"Pause key without a progress window", -1, false, -1, 1, false, false, "0", "AbortDoc", "", 0},
        {"Pause key ignored beside a progress window", -1, false, -1, 1, true, false, "0,1,2", "EndDoc", "", 0},
        {"no printer set-up", -1, false, -1, -1, false, true, "", "", "Driver d'impression introuvable !", MB_OK},
    };
    HWND frame = CreateWindowA("STATIC", "frame", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    static HWND sFrame;
    sFrame = frame;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearBoxes();
        InstallScriptedDialog();
        Dialog().noDefaultPrinter = row.noPrinter;
        PrintCalls().ownerWindow = [] { return sFrame; };
        JobRecorder recorder(false);
        recorder.failStartPageAt = row.failStartPageAt;
        recorder.failStartDoc = row.failStartDoc;
        recorder.pauseAfterPages = row.pauseAfterPages;
        Document* doc = makeDocument(3, &recorder.log);
        doc->cancelAtPage = row.cancelAtPage;
        doc->frame = frame;
        if (!row.noPrinter)
            APrinterSetup::setCurrent(MemorySetup());
        // Without a progress window the printer is the framework's own: this
        // program has no layout "AAppPrintProgress".
        APrinter* printer = makePrinter(row.progressWindow ? new ProgressPrinter : nullptr);
        printer->printWithDialog(doc);
        EXPECT_EQ(row.drawn, Drawn(recorder.log));
        EXPECT_EQ(row.ending, Endings(recorder.log));
        ASSERT_EQ(row.box[0] ? 1u : 0u, CapturedBoxes().size());
        if (row.box[0]) {
            EXPECT_EQ(row.box, CapturedBoxes()[0].text);
            EXPECT_EQ(row.boxFlags, CapturedBoxes()[0].flags);
        }
        EXPECT_EQ(row.noPrinter ? 1 : 0, Count(recorder.log, "cancel"));
        // The frame waits while a progress window is up.
        if (frame && row.drawn[0]) {
            EXPECT_EQ(row.progressWindow, Count(recorder.log, "frame-disabled") > 0);
        }
        // Nothing of the job is left: no job, no printer display, no progress, the frame enabled.
        EXPECT_EQ(nullptr, APrintJob::current());
        EXPECT_FALSE(ADisplayContext::instance().current()->isPrintLike());
        EXPECT_EQ(nullptr, printer->progress());
        if (row.progressWindow) {
            EXPECT_EQ(1, static_cast<ProgressPrinter*>(printer)->made);
        }
        if (frame) {
            EXPECT_TRUE(IsWindowEnabled(frame));
        }
        AComponent* gone = doc;
        DeleteComponent(gone);
        APrinterSetup::setCurrent(nullptr);
    }
    if (frame)
        DestroyWindow(frame);
}

TEST_F(PrintTest, HeaderAndFooterTakeTheirLinesFromTheBody) {
    std::string longWord(3000, 'W');
    std::string longWords;
    for (int i = 0; i < 300; ++i)
        longWords += "mot, ";
    struct Row {
        const char* name;
        std::string header, footer, format;
        int headerLines;  // in lines of the one-line header; -1 more than one
        bool footerSpace;
    } rows[] = {
        {"nothing", "", "", "", 0, false},
        {"one-line header", "Titre", "", "", 1, false},
        {"word wider than the page", longWord, "", "", 1, false},
        {"words wider than the page", longWords, "", "", -1, false},
        {"two lines at LF", "Un\nDeux", "", "", 2, false},
        {"label only", "", "", "Page %d", 0, true},
        {"footer only", "", "Pied", "", 0, true},
    };
    int32_t oneLine = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRecorder recorder(false);
        Document* doc = makeDocument(1, &recorder.log);
        doc->setup = MemorySetup();
        doc->header = row.header;
        doc->footer = row.footer;
        doc->labelFormat = row.format;
        APrinter* printer = makePrinter();
        printer->printPages(doc, APrintRange{0, 0, 1, 1, 1});
        ASSERT_EQ(1u, doc->bodies.size());
        ARect page = doc->setup->PrinterPageSize();
        const ARect& body = doc->bodies[0];
        if (row.headerLines == 1 && oneLine == 0)
            oneLine = body.top();
        if (row.headerLines >= 0)
            EXPECT_EQ(row.headerLines == 0 ? 0 : (oneLine - 5) * row.headerLines + 5, body.top());
        else
            EXPECT_GT(body.top(), 2 * (oneLine - 5) + 5);
        EXPECT_EQ(row.footerSpace, body.bottom() < page.bottom());
        delete doc->setup;
    }
}

TEST_F(PrintTest, ARefusedOrientationEndsTheDocumentAndPrintingGoesOn) {
    // Neither set-up can turn: one has no DEVMODE, the other's printer is gone.
    for (bool withSettings : {false, true}) {
        SCOPED_TRACE(withSettings ? "printer gone" : "no DEVMODE");
        ClearBoxes();
        JobRecorder recorder(false);
        Document* doc = makeDocument(2, &recorder.log);
        doc->setup = MemorySetup(withSettings);
        doc->orientations = {0, 2};
        HDC before = doc->setup->dc();
        APrinter* printer = makePrinter();
        printer->printPages(doc, APrintRange{0, 1, 1, 1, 1});
        EXPECT_EQ(before, doc->setup->dc());
        EXPECT_FALSE(doc->setup->isLandscape());
        EXPECT_EQ(
            "begin StartDoc(Document) StartPage draw0 EndPage EndDoc StartDoc(Document) StartPage draw1 EndPage end "
            "EndDoc ",
            recorder.log);
        ASSERT_EQ(1u, CapturedBoxes().size());
        EXPECT_EQ(0u, CapturedBoxes()[0].text.find("L'orientation d\xE9sir\xE9"
                                                   "e n'a pas"));
        EXPECT_EQ(static_cast<unsigned>(MB_ICONINFORMATION), CapturedBoxes()[0].flags);
        delete doc->setup;
    }
}

TEST_F(PrintTest, TheSetUpDialogGivesItsHandlesBackToTheSetUp) {
    struct Row {
        const char* name;
        int answer;
        bool printer;
        bool newDC;
        const char* box;
    } rows[] = {
        {"confirmed", 1, true, true, ""},
        {"cancelled", 0, true, false, ""},
        {"no printer", 1, false, false, "Driver d'impression introuvable !"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearBoxes();
        InstallScriptedDialog();
        Dialog().answer = row.answer;
        Dialog().noDefaultPrinter = !row.printer;
        APrinterSetup* setup = row.printer ? MemorySetup(true) : nullptr;
        APrinterSetup::setCurrent(setup);
        HDC dc = setup ? setup->dc() : nullptr;
        HGLOBAL mode = setup ? setup->devMode() : nullptr;
        PrinterSetUpForApp();
        EXPECT_EQ(row.printer ? 1 : 0, Dialog().calls);
        if (row.printer) {
            EXPECT_EQ(static_cast<DWORD>(PD_RETURNDC | PD_NOPAGENUMS | PD_PRINTSETUP), Dialog().seen.Flags);
            EXPECT_EQ(mode, Dialog().seen.hDevMode);
            EXPECT_EQ(mode, setup->devMode());
            EXPECT_NE(0u, GlobalSize(setup->devMode())) << "still allocated";
            EXPECT_EQ(row.newDC, setup->dc() != dc);
            EXPECT_NE(nullptr, setup->dc());
        }
        ASSERT_EQ(row.box[0] ? 1u : 0u, CapturedBoxes().size());
        if (row.box[0]) {
            EXPECT_EQ(row.box, CapturedBoxes()[0].text);
        }
        APrinterSetup::setCurrent(nullptr);
    }
}

TEST_F(PrintTest, APreviewDrawsEachPageOnItsTargetWithoutAJob) {
    JobRecorder recorder(false);
    Document* doc = makeDocument(3, &recorder.log);
    doc->setup = MemorySetup();
    auto* printer = static_cast<ProgressPrinter*>(makePrinter(new ProgressPrinter));
    RecordingTarget target;
    printer->setPageTarget(&target);
    printer->printPages(doc, APrintRange{0, 1000, 1, 1, 0});
    EXPECT_EQ("0 1 2 ", target.pages);
    EXPECT_EQ("0,1,2", Drawn(recorder.log));
    EXPECT_EQ(0, Count(recorder.log, "Doc")) << recorder.log;
    EXPECT_EQ(0, Count(recorder.log, "Page ")) << recorder.log;
    EXPECT_EQ(0, printer->made);
    EXPECT_EQ(nullptr, recorder.abortProc);
    EXPECT_EQ(doc->setup->PrinterPageSize(), target.size);
    delete doc->setup;
}

TEST_F(PrintTest, AQuitDuringTheJobCancelsItAndStaysAskedFor) {
    // The pump runs the thread's messages while a progress window is up.
    JobRecorder recorder(false);
    Document* doc = makeDocument(3, &recorder.log);
    doc->setup = MemorySetup();
    APrinter* printer = makePrinter(new ProgressPrinter);
    PostQuitMessage(7);
    printer->printPages(doc, APrintRange{0, 2, 1, 1, 1});
    EXPECT_EQ("0", Drawn(recorder.log));
    EXPECT_EQ(1, Count(recorder.log, "AbortDoc"));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    delete doc->setup;
}

TEST_F(PrintTest, InScreenUnitsThePageIsMeasuredAt72DotsAnInch) {
    for (uint16_t mode : {0, 2}) {
        SCOPED_TRACE(mode);
        AGraphicDisplay::printScalingMode = mode;
        JobRecorder recorder(false);
        Document* doc = makeDocument(1, &recorder.log);
        doc->labelFormat = "";
        doc->setup = MemorySetup();
        ARect device = doc->setup->PrinterPageSize();
        APoint dpi = doc->setup->printerResolution();
        APrinter* printer = makePrinter();
        printer->printPages(doc, APrintRange{0, 0, 1, 1, 1});
        AGraphicDisplay::printScalingMode = 0;
        ASSERT_EQ(1u, doc->bodies.size());
        ARect expected = mode ? device.scaled(APoint(72, 72), dpi) : device;
        EXPECT_EQ(expected, doc->bodies[0]);
        EXPECT_EQ(mode ? APoint(72, 72) : dpi, doc->setup->screenResolution()) << "the screen's resolution";
        delete doc->setup;
    }
}

TEST_F(PrintTest, AnErrorWhileDrawingAbortsTheDocumentAndLeavesNothingBehind) {
    HWND frame = CreateWindowA("STATIC", "frame", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    static HWND sFrame;
    sFrame = frame;
    PrintCalls().ownerWindow = [] { return sFrame; };
    JobRecorder recorder(false);
    Document* doc = makeDocument(3, &recorder.log);
    doc->throwAtPage = 1;
    doc->setup = MemorySetup();
    auto* printer = static_cast<ProgressPrinter*>(makePrinter(new ProgressPrinter));
    EXPECT_THROW(printer->printPages(doc, APrintRange{0, 2, 1, 1, 1}), AError);
    EXPECT_EQ("begin StartDoc(Document) StartPage draw0 EndPage StartPage draw1 EndPage end AbortDoc ", recorder.log);
    EXPECT_EQ(nullptr, APrintJob::current());
    EXPECT_FALSE(ADisplayContext::instance().current()->isPrintLike());
    EXPECT_EQ(nullptr, printer->progress());
    EXPECT_EQ(nullptr, printer->printed());
    if (frame) {
        EXPECT_TRUE(IsWindowEnabled(frame));
        DestroyWindow(frame);
    }
    delete doc->setup;
}

TEST_F(PrintTest, AComponentPrintsThroughThePrinterItsServicesMake) {
    struct Services : ADisplayServices {
        ADisplayComponent* makePrinter(ADisplayComponent*) override {
            auto* printer = new APrinter;
            AObject::completeNew(printer);
            return printer;
        }
    } services;
    ADisplayServices::install(&services);
    JobRecorder recorder(false);
    Document* doc = makeDocument(2, &recorder.log);
    APrinterSetup::setCurrent(MemorySetup());
    doc->print();
    app->runPending();
    ADisplayServices::install(nullptr);
    EXPECT_EQ("0,1", Drawn(recorder.log));
    EXPECT_EQ(1, Dialog().calls);
    EXPECT_TRUE(CapturedBoxes().empty());
}

namespace {

// Notes, at each page, whether the plain-window dialog is up.
class DialogWatcher : public Document {
public:
    using Document::Document;
    void drawPage(const ARect& body, long page, bool draw) override {
        HWND dialog = APrinter::fallbackDialog();
        char caption[32] = "";
        if (dialog)
            GetWindowTextA(dialog, caption, sizeof caption);
        seen += std::string(dialog && IsWindowVisible(dialog) ? caption : "-") + ";";
        Document::drawPage(body, page, draw);
    }
    std::string seen;
};

}  // namespace

TEST_F(PrintTest, PlainWindowModeShowsTheFallbackDialogAndPauseCancels) {
    struct Row {
        int pauseAfterPages;
        const char* drawn;
        const char* ending;
    } rows[] = {{1, "0", "AbortDoc"}, {-1, "0,1,2", "EndDoc"}};
    APrinter::plainWindowMode = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pauseAfterPages);
        JobRecorder recorder(false);
        recorder.pauseAfterPages = row.pauseAfterPages;
        auto* doc = new DialogWatcher(app, 11);
        AObject::completeNew(doc);
        for (int i = 0; i < 3; ++i)
            doc->pages.push_back("Page " + std::to_string(i + 1));
        doc->log = &recorder.log;
        APrinterSetup::setCurrent(MemorySetup());
        APrinter* printer = makePrinter();
        printer->printWithDialog(doc);
        EXPECT_EQ(row.drawn, Drawn(recorder.log));
        EXPECT_EQ(row.ending, Endings(recorder.log));
        EXPECT_EQ(0u, doc->seen.find("Impression;")) << doc->seen;
        EXPECT_EQ(nullptr, printer->progress()) << "no progress window in this mode";
        EXPECT_EQ(nullptr, APrinter::fallbackDialog()) << "the dialog goes with the job";
    }
    APrinter::plainWindowMode = 0;
}

namespace {

// Nothing asks for the default printer at start: the first question about
// printing looks for it, and without one the component cannot print.
TEST_F(PrintTest, TheFirstQuestionAboutPrintingLooksForTheDefaultPrinter) {
    Document* doc = makeDocument(1, nullptr);
    APrinterSetup::setCurrent(nullptr);
    Dialog().noDefaultPrinter = true;
    EXPECT_EQ(nullptr, doc->canPrint()) << "no default printer";
    EXPECT_EQ(nullptr, ADisplayContext::instance().printer());
    Dialog().noDefaultPrinter = false;
    const APrinterInfo* info = doc->canPrint();
    if (!info) {
        ASSERT_EQ(0u, GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0)) << "no printer \"PDF\"";
        GTEST_SKIP() << "no default printer in this prefix";
    }
    ASSERT_NE(nullptr, APrinterSetup::current());
    EXPECT_EQ(APrinterSetup::current()->dc(), info->dc) << "the query made the default printer current";
}

}  // namespace
