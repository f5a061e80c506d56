// The printing tests' support: the CUPS printer "PDF" (the default set-up, a
// marker time before a job, the PDF that the job leaves under $HOME/PDF), a
// scripted print dialog and job, and pictures of windows.
#pragma once

#include <windows.h>

#include <string>

#include "framework/app/AWindow.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

// The default printer's set-up, or null when Wine lists none (a few seconds' grace).
inline APrinterSetup* DefaultPdfPrinter() {
    for (int i = 0; i < 50; ++i) {
        if (APrinterSetup* setup = APrinterSetup::current())
            return setup;
        Sleep(100);
    }
    return nullptr;
}

// A host file whose time a later PDF is newer than.
inline std::string PdfMarker() {
    return RunOnHost("m=$(mktemp); printf %s \"$m\"");
}

// The host path of the first complete PDF newer than the marker (which goes)
// whose text holds `holding` (no single quote; empty: any PDF), or "". Other
// programs print to the same folder meanwhile: the text tells ours.
inline std::string WaitForPdf(const std::string& marker, const std::string& holding = "") {
    std::string pdf = RunOnHost(
        "for i in $(seq 300); do\n"
        "  f=$(find \"$HOME\"/PDF -name '*.pdf' -newer '" + marker + "' 2>/dev/null | while read -r p; do\n"
        "    pdfinfo \"$p\" >/dev/null 2>&1 && pdftotext \"$p\" - 2>/dev/null | grep -qF -- '" + holding +
        "' && { printf %s \"$p\"; break; }\n"
        "  done)\n"
        "  if [ -n \"$f\" ]; then printf %s \"$f\"; break; fi\n"
        "  sleep 0.2\n"
        "done\n");
    RunOnHost("rm -f '" + marker + "'");
    return pdf;
}

// The first page of a PDF as build/artifacts/<name>.png.
inline void KeepFirstPage(const std::string& pdf, const std::string& name) {
    RunOnHost("mkdir -p " SV_BINARY_DIR "/artifacts && pdftoppm -png -r 60 -f 1 -l 1 -singlefile '" + pdf + "' " SV_BINARY_DIR
              "/artifacts/" + name);
}

// For its scope, the print dialog and the job primitives of a test: the
// dialog counts its showings and, confirmed, returns a DC for the chosen
// printer; the job counts its pages and sends no document anywhere, unless
// toPaper keeps the real job (only the dialog is scripted then).
class ScriptedPrintJob {
public:
    explicit ScriptedPrintJob(bool toPaper = false) : saved_(PrintCalls()) {
        APrintCalls& calls = PrintCalls();
        calls.printDlg = &Dialog;
        restart(true);
        if (toPaper)
            return;
        calls.startDoc = &StartDoc;
        calls.endDoc = calls.abortDoc = calls.endPage = &Done;
        calls.startPage = &StartPage;
        calls.setAbortProc = &AbortProc;
    }
    ~ScriptedPrintJob() { PrintCalls() = saved_; }
    ScriptedPrintJob(const ScriptedPrintJob&) = delete;
    ScriptedPrintJob& operator=(const ScriptedPrintJob&) = delete;

    void restart(bool confirmed) {
        confirm = confirmed;
        dialogs = pages = 0;
    }

    static inline bool confirm = true;
    static inline int dialogs = 0;
    static inline int pages = 0;

private:
    static BOOL WINAPI Dialog(LPPRINTDLGA record) {
        if (record->Flags & PD_RETURNDEFAULT)
            return PrintDlgA(record);
        ++dialogs;
        if (!confirm)
            return FALSE;
        if (record->hDevNames) {
            auto* names = static_cast<DEVNAMES*>(GlobalLock(record->hDevNames));
            const char* base = reinterpret_cast<const char*>(names);
            record->hDC = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, nullptr);
            GlobalUnlock(record->hDevNames);
        }
        if (!record->hDC)
            record->hDC = CreateCompatibleDC(nullptr);
        return TRUE;
    }
    static int WINAPI StartDoc(HDC, const DOCINFOA*) { return 1; }
    static int WINAPI Done(HDC) { return 1; }
    static int WINAPI StartPage(HDC) { return ++pages, 1; }
    static int WINAPI AbortProc(HDC, ABORTPROC) { return 1; }

    APrintCalls saved_;
};

// Copies the window into build/artifacts/<name>.png. The X server maps a
// window a little later: polls until its corner is drawn.
inline void Snapshot(AWindow* window, const char* name) {
    HWND hwnd = window->getHWnd();
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT r;
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    Canvas canvas(width, height);
    for (int i = 0; i < 50; ++i) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC dc = GetWindowDC(hwnd);
        BitBlt(canvas.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, dc);
        if (canvas.pixel(width - 5, height - 5) != 0)
            break;
        Sleep(20);
    }
    canvas.savePng(name);
}
