// The platform calls of printing, in one table that tests replace: the job
// primitives (so that a recorder sees the order of documents and pages), the
// print dialog (so that no test waits on a modal box), the Pause key, and the
// window that the progress display disables while a job runs.
#pragma once

#include <windows.h>
// The dialog declarations need windows.h first.
#include <commdlg.h>

struct APrintCalls {
    int(WINAPI* startDoc)(HDC, const DOCINFOA*);
    int(WINAPI* endDoc)(HDC);
    int(WINAPI* abortDoc)(HDC);
    int(WINAPI* startPage)(HDC);
    int(WINAPI* endPage)(HDC);
    int(WINAPI* setAbortProc)(HDC, ABORTPROC);
    BOOL(WINAPI* printDlg)(LPPRINTDLGA);
    SHORT(WINAPI* keyState)(int);
    // The framework's dialog owner (the MDI frame), or null.
    HWND (*ownerWindow)();
};

// The current table; the defaults are the Win32 calls and the application's frame.
APrintCalls& PrintCalls();
void ResetPrintCalls();
