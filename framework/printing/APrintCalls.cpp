// The default table of printing's platform calls.
#include "framework/printing/APrintCalls.h"

#include "base/procedural/ProcAddress.h"
#include "framework/app/AppServices.h"

namespace {

// The common dialogs are loaded at the first printer box: the start does without them.
BOOL WINAPI SystemPrintDialog(LPPRINTDLGA record) {
    static auto call = reinterpret_cast<decltype(&PrintDlgA)>(KY_SystemProc("COMDLG32.DLL", "PrintDlgA"));
    return call ? call(record) : FALSE;
}

HWND FrameOwner() {
    return static_cast<HWND>(MessageBoxOwnerWindow());
}

const APrintCalls kDefaults = {&StartDocA,    &EndDoc,    &AbortDoc,         &StartPage, &EndPage,
                               &SetAbortProc, &SystemPrintDialog, &GetAsyncKeyState, &FrameOwner};

APrintCalls gCalls = kDefaults;

}  // namespace

APrintCalls& PrintCalls() {
    return gCalls;
}

void ResetPrintCalls() {
    gCalls = kDefaults;
}
