// Display windows and tool windows.
#include "framework/windows/AToolWindow.h"

#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AWindowServices.h"
#include "framework/windows/AWindowShell.h"

ADisplayWindow::ADisplayWindow(ADisplayComponent* display, HWND parent)
    : ADisplayWindowHandler(display), parent_(parent) {}

ADisplayWindow::~ADisplayWindow() {
    if (hwnd() && IsWindow(hwnd()))
        DestroyWindow(hwnd());
}

AMessageResult ADisplayWindow::handle(AMessage& m) {
    if (m.message == WM_PAINT)
        return paint(m);
    return ADisplayWindowHandler::handle(m);
}

AToolWindow::AToolWindow(ADisplayComponent* display, HWND parent, uint16_t option)
    : ADisplayWindow(display, parent), option_(option) {}

// Destroyed here, not in the base, so that WM_DESTROY still unregisters: the
// frame must never keep a deleted tool window.
AToolWindow::~AToolWindow() {
    if (hwnd() && IsWindow(hwnd()))
        DestroyWindow(hwnd());
    if (AMdiFrame* frame = GetFrame())
        frame->unregisterWindow(this);
}

bool KeepCaptionActive() {
    HWND frame = GetFrameWindow();
    return AWindowServices::current().active() && !ATopLevelShell::topModal() && frame && IsWindowEnabled(frame);
}

AMessageResult AToolWindow::handle(AMessage& m) {
    switch (m.message) {
        case WM_CREATE:
            if (AMdiFrame* frame = GetFrame())
                frame->registerWindow(this);
            break;
        case WM_DESTROY:
            if (AMdiFrame* frame = GetFrame())
                frame->unregisterWindow(this);
            break;
        case WM_CLOSE:
            runClose();
            return Handled(0);
        case WM_MOUSEACTIVATE:
            if (!AWindowServices::current().active())
                AWindowServices::current().activateFrame();
            return Handled(MA_NOACTIVATE);
        case WM_ENABLE:
            SendMessageA(m.hwnd, WM_NCACTIVATE, m.wParam, 0);
            break;
        case WM_ACTIVATEAPP:
            PostMessageA(m.hwnd, WM_NCACTIVATE, m.wParam, 0);
            break;
        case WM_NCACTIVATE:
            if (KeepCaptionActive())
                m.wParam = 1;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            return Handled(0);
        default:
            break;
    }
    return ADisplayWindow::handle(m);
}
