// Shared pieces of the printing tests.
#include "tests/framework/printing/PrintTestSupport.h"

#include <cstring>
#include <sstream>

#include "base/procedural/AError.h"
#include "framework/display/APrintRange.h"
#include "framework/graphics/AFont.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrintJob.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/support/TestHooks.h"

namespace {

JobRecorder* gRecorder = nullptr;
DialogScript gDialog;

int WINAPI RecStartDoc(HDC dc, const DOCINFOA* info) {
    gRecorder->log += std::string("StartDoc(") + info->lpszDocName + ") ";
    if (gRecorder->failStartDoc)
        return -1;
    return gRecorder->forward ? StartDocA(dc, info) : 1;
}

int WINAPI RecEndDoc(HDC dc) {
    gRecorder->log += "EndDoc ";
    return gRecorder->forward ? EndDoc(dc) : 1;
}

int WINAPI RecAbortDoc(HDC dc) {
    gRecorder->log += "AbortDoc ";
    return gRecorder->forward ? AbortDoc(dc) : 1;
}

int WINAPI RecStartPage(HDC dc) {
    int n = gRecorder->startPages++;
    gRecorder->log += "StartPage ";
    if (n == gRecorder->failStartPageAt)
        return 0;
    return gRecorder->forward ? StartPage(dc) : 1;
}

// GDI calls the abort procedure while it spools a page.
int WINAPI RecEndPage(HDC dc) {
    gRecorder->log += "EndPage ";
    int result = gRecorder->forward ? EndPage(dc) : 1;
    if (gRecorder->abortProc)
        gRecorder->abortProc(dc, 0);
    return result;
}

int WINAPI RecSetAbortProc(HDC dc, ABORTPROC proc) {
    gRecorder->abortProc = proc;
    return gRecorder->forward ? SetAbortProc(dc, proc) : 1;
}

SHORT WINAPI RecKeyState(int key) {
    int ended = 0;
    for (size_t at = 0; (at = gRecorder->log.find("EndPage", at)) != std::string::npos; ++at)
        ++ended;
    bool down = key == VK_PAUSE && gRecorder->pauseAfterPages >= 0 && ended >= gRecorder->pauseAfterPages;
    return down ? static_cast<SHORT>(0x8000) : 0;
}

HWND NoOwner() {
    return nullptr;
}

BOOL WINAPI ScriptedPrintDlg(LPPRINTDLGA pd) {
    DialogScript& s = gDialog;
    if (pd->Flags & PD_RETURNDEFAULT)
        return s.noDefaultPrinter ? FALSE : PrintDlgA(pd);
    s.seen = *pd;
    ++s.calls;
    if (!s.answer)
        return FALSE;
    if (s.pageNumbers) {
        pd->Flags |= PD_PAGENUMS;
        pd->nFromPage = static_cast<WORD>(s.from);
        pd->nToPage = static_cast<WORD>(s.to);
    }
    pd->nCopies = static_cast<WORD>(s.copies);
    if (!s.collate)
        pd->Flags &= ~PD_COLLATE;
    // A confirmed dialog returns a new DC for the chosen printer.
    if (pd->hDevNames) {
        auto* names = static_cast<DEVNAMES*>(GlobalLock(pd->hDevNames));
        auto* mode = pd->hDevMode ? static_cast<DEVMODEA*>(GlobalLock(pd->hDevMode)) : nullptr;
        const char* base = reinterpret_cast<const char*>(names);
        pd->hDC = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (!pd->hDC)
            pd->hDC = CreateCompatibleDC(nullptr);
        if (mode)
            GlobalUnlock(pd->hDevMode);
        GlobalUnlock(pd->hDevNames);
    } else {
        pd->hDC = CreateCompatibleDC(nullptr);
    }
    return TRUE;
}

}  // namespace

JobRecorder::JobRecorder(bool forwardCalls) : forward(forwardCalls) {
    gRecorder = this;
    APrintCalls& calls = PrintCalls();
    calls.startDoc = &RecStartDoc;
    calls.endDoc = &RecEndDoc;
    calls.abortDoc = &RecAbortDoc;
    calls.startPage = &RecStartPage;
    calls.endPage = &RecEndPage;
    calls.setAbortProc = &RecSetAbortProc;
    calls.keyState = &RecKeyState;
}

JobRecorder::~JobRecorder() {
    APrintCalls& calls = PrintCalls();
    APrintCalls defaults = calls;
    ResetPrintCalls();
    // The dialog and owner seams stay as the test set them.
    PrintCalls().printDlg = defaults.printDlg;
    PrintCalls().ownerWindow = defaults.ownerWindow;
    gRecorder = nullptr;
}

DialogScript& Dialog() {
    return gDialog;
}

void InstallScriptedDialog() {
    gDialog = DialogScript();
    PrintCalls().printDlg = &ScriptedPrintDlg;
}

APrinterSetup* MemorySetup(bool withSettings) {
    auto* setup = new APrinterSetup;
    PrinterHandles handles;
    handles.dc = CreateCompatibleDC(nullptr);
    if (withSettings) {
        handles.devMode = GlobalAlloc(GHND, sizeof(DEVMODEA));
        auto* mode = static_cast<DEVMODEA*>(GlobalLock(handles.devMode));
        mode->dmSize = sizeof(DEVMODEA);
        mode->dmFields = DM_ORIENTATION;
        mode->dmOrientation = DMORIENT_PORTRAIT;
        GlobalUnlock(handles.devMode);
        const char strings[] = "winspool\0NoSuchPrinter\0None";
        handles.devNames = GlobalAlloc(GHND, sizeof(DEVNAMES) + sizeof strings);
        auto* names = static_cast<DEVNAMES*>(GlobalLock(handles.devNames));
        names->wDriverOffset = sizeof(DEVNAMES);
        names->wDeviceOffset = sizeof(DEVNAMES) + 9;
        names->wOutputOffset = sizeof(DEVNAMES) + 23;
        memcpy(names + 1, strings, sizeof strings);
        GlobalUnlock(handles.devNames);
    }
    setup->adopt(handles, true);
    return setup;
}

bool Document::pageAvailable(const APrintRange& range, long page) {
    return page <= range.lastPage && page < static_cast<long>(pages.size());
}

long Document::pageOrientation(long page) {
    return page < static_cast<long>(orientations.size()) ? orientations[page] : 0;
}

void Document::note(const std::string& what) {
    if (log)
        *log += what + " ";
}

void Document::drawPage(const ARect& body, long page, bool draw) {
    note((draw ? "draw" : "layout") + std::to_string(page));
    if (!draw)
        return;
    bodies.push_back(body);
    if (frame && !IsWindowEnabled(frame))
        note("frame-disabled");
    if (page == throwAtPage)
        throw AError("printtest", 1);
    if (page == cancelAtPage)
        APrintJob::currentPrinter()->cancel();
    AFont font(AFontSpec("Arial", 12, 0));
    std::istringstream lines(page < static_cast<long>(pages.size()) ? pages[page] : "");
    std::string line;
    int32_t y = body.top();
    while (std::getline(lines, line)) {
        font.body()->drawTextAtTop(APoint(body.left(), y), line.c_str(), static_cast<long>(line.size()));
        y += font.body()->measure("X", 1).height;
    }
}

void PrintTest::SetUp() {
    GraphicsTest::SetUp();
    ResetPrintCalls();
    PrintCalls().ownerWindow = &NoOwner;
    InstallScriptedDialog();
    ClearBoxes();
}

void PrintTest::TearDown() {
    for (AComponent* p : printers_)
        DeleteComponent(p);
    printers_.clear();
    APrinterSetup::setCurrent(nullptr);
    ResetPrintCalls();
    GraphicsTest::TearDown();
}

Document* PrintTest::makeDocument(int pages, std::string* log) {
    auto* d = new Document(app, 10);
    AObject::completeNew(d);
    for (int i = 0; i < pages; ++i)
        d->pages.push_back("Page body " + std::to_string(i + 1));
    d->log = log;
    return d;
}

APrinter* PrintTest::makePrinter(APrinter* made) {
    APrinter* p = made ? made : new APrinter;
    AObject::completeNew(p);
    printers_.push_back(p);
    return p;
}

// The numbers of the pages drawn, in order: "0,0,1".
std::string Drawn(const std::string& log, const char* kind) {
    std::string out;
    size_t at = 0;
    std::string key = kind;
    while ((at = log.find(key, at)) != std::string::npos) {
        at += key.size();
        size_t end = log.find(' ', at);
        out += (out.empty() ? "" : ",") + log.substr(at, end - at);
    }
    return out;
}

int Count(const std::string& log, const std::string& what) {
    int n = 0;
    for (size_t at = 0; (at = log.find(what, at)) != std::string::npos; at += what.size())
        ++n;
    return n;
}

std::string JobName(const char* what) {
    return std::string("svprint-") + what + "-" + std::to_string(GetTickCount());
}

std::string PrintedPdf(const std::string& job) {
    std::string out = RunOnHost(
        "for i in $(seq 300); do\n"
        "  f=$(ls -t \"$HOME\"/PDF/" +
        job +
        "*.pdf 2>/dev/null | head -n 1)\n"
        "  if [ -n \"$f\" ] && pdfinfo \"$f\" >/dev/null 2>&1; then printf %s \"$f\"; break; fi\n"
        "  sleep 0.2\n"
        "done\n");
    return out;
}

bool PrinterRequired() {
    return GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0) != 0;
}

std::string Utf8(const std::string& ansi) {
    int n = MultiByteToWideChar(1252, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1252, 0, ansi.c_str(), -1, &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], m, nullptr, nullptr);
    out.resize(static_cast<size_t>(m > 0 ? m - 1 : 0));
    return out;
}
