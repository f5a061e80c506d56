// The printer's progress display: the window from the layout
// "AAppPrintProgress" while a paper job runs, the message pump of the abort
// procedure, the Pause key, and the frame disabled for the job's length.
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrintProgressDialog.h"
#include "framework/printing/APrinter.h"
#include "framework/resources/AResource.h"

namespace {

const char kProgressLayout[] = "AAppPrintProgress";

// The fallback dialog of plain-window mode and its procedure, process-wide.
HWND gFallbackDialog = nullptr;
DLGPROC gFallbackProc = nullptr;

INT_PTR CALLBACK ProgressDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) {
        EndDialog(window, static_cast<INT_PTR>(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

uint16_t APrinter::plainWindowMode = 0;

HWND APrinter::fallbackDialog() {
    return gFallbackDialog;
}

AComponent* APrinter::makeProgressDialog() {
    // The window hangs from the application, as a printer is never shown;
    // this printer deletes it when the job ends.
    AApp* app = AApp::current();
    if (!app || !AResource(257, kProgressLayout).exists())
        return nullptr;
    AComponent* root = loadLayout(app, kProgressLayout, 0);
    void* dialog = root ? root->castTo(&APrintProgressDialog::classRecord) : nullptr;
    if (!dialog)
        DeleteComponent(root);
    return CheckAlloc(static_cast<APrintProgressDialog*>(dialog), "fprinter", 1520);
}

void APrinter::PrintProgressShow() {
    cancelled_ = 0;
    ok_ = 1;
    if (pageTarget_)
        return;
    if (plainWindowMode) {
        // Pause cancels (PrintProgressPump without a progress window).
        if (!gFallbackDialog) {
            AApp* app = AApp::current();
            gFallbackProc = &ProgressDialogProc;
            gFallbackDialog = CreateDialogParamA(static_cast<HINSTANCE>(app ? app->instance() : nullptr),
                                                 MAKEINTRESOURCEA(204), nullptr, gFallbackProc, 0);
            if (gFallbackDialog) {
                ShowWindow(gFallbackDialog, SW_SHOW);
                UpdateWindow(gFallbackDialog);
            } else {
                gFallbackProc = nullptr;
            }
        }
        return;
    }
    progress_ = makeProgressDialog();
    if (!progress_)
        return;
    if (void* dialog = progress_->castTo(&APrintProgressDialog::classRecord))
        static_cast<APrintProgressDialog*>(dialog)->attach(this);
    // The reader may only cancel while the job runs: the frame waits, and is
    // enabled again however the job ends (hideProgress runs from the job's end).
    HWND owner = PrintCalls().ownerWindow();
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledOwner_ = owner;
    }
}

void APrinter::hideProgress() {
    if (progress_) {
        AComponent* window = progress_;
        progress_ = nullptr;
        DeleteComponent(window);
    }
    if (gFallbackDialog) {
        DestroyWindow(gFallbackDialog);
        gFallbackDialog = nullptr;
        gFallbackProc = nullptr;
    }
    if (disabledOwner_) {
        EnableWindow(disabledOwner_, TRUE);
        disabledOwner_ = nullptr;
    }
}

bool APrinter::PrintProgressPump(HDC dc, int code) {
    (void)dc;
    (void)code;
    if (progress_) {
        MSG msg;
        while (!cancelled_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // A quit asked for during the job stops it and stays asked for.
            if (msg.message == WM_QUIT) {
                cancelled_ = 1;
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } else if (PrintCalls().keyState(VK_PAUSE) & 0x8000) {
        cancelled_ = 1;
    }
    return !cancelled_;
}
