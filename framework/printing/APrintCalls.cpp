// The default table of printing's platform calls.
#include "framework/printing/APrintCalls.h"

#include "framework/app/AppServices.h"

namespace {

HWND FrameOwner() {
    return static_cast<HWND>(MessageBoxOwnerWindow());
}

const APrintCalls kDefaults = {&StartDocA,    &EndDoc,    &AbortDoc,         &StartPage, &EndPage,
                               &SetAbortProc, &PrintDlgA, &GetAsyncKeyState, &FrameOwner};

APrintCalls gCalls = kDefaults;

}  // namespace

APrintCalls& PrintCalls() {
    return gCalls;
}

void ResetPrintCalls() {
    gCalls = kDefaults;
}
