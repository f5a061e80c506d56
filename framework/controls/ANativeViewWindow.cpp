// The native child window of a view.
#include "framework/controls/ANativeViewWindow.h"

#include "base/procedural/AError.h"
#include "framework/display/ADisplayComponent.h"

ANativeViewWindow::ANativeViewWindow(ADisplayComponent* view, HWND parent, DWORD style, const ARect& rect, bool show)
    : ADisplayWindowHandler(view), parent_(parent) {
    create("", style | WS_CHILD | (show ? WS_VISIBLE : 0), rect, 0, parent != nullptr);
}

AMessageResult ANativeViewWindow::handle(AMessage& m) {
    if (!display())
        ThrowAssert("wxchilds", 96);
    if (m.message == WM_GETDLGCODE)
        return Handled(dialogCode());
    return ADisplayWindowHandler::handle(m);
}
