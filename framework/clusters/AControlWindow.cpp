// Native controls of the static items.
#include "framework/clusters/AControlWindow.h"

#include "framework/display/ADisplayComponent.h"
#include "framework/windows/AWindowClass.h"
#include "framework/windows/AWindowServices.h"

AControlWindow::AControlWindow(ADisplayComponent* owner, Kind kind, const char* text, DWORD style, const ARect& rect)
    : AWindowHandler(owner), kind_(kind), parent_(owner->enclosingWindow()) {
    if (!parent_)
        return;
    DWORD classStyle = kind == kGroupBox ? BS_GROUPBOX : 0;
    create(text, style | classStyle | WS_CHILD, rect, 0, true);
}

HWND AControlWindow::createWindow(HWND parent, const char* name, DWORD style, const ARect& rect, int id) {
    SetPendingWindow(this);
    HWND made = CreateWindowExA(0, name, nullptr, style, rect.left(), rect.top(), rect.width(), rect.height(), parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                                AWindowServices::current().instance(), static_cast<ANativeWindow*>(this));
    SetPendingWindow(nullptr);
    return made;
}

AWindowClass* AControlWindow::windowClass() {
    static AWindowClass staticText("STATIC", "KY_StaticText", nullptr, nullptr);
    static AWindowClass groupBox("BUTTON", "KY_GroupBox", nullptr, nullptr);
    static AWindowClass borButton("", "KY_BorBtn", "bwcc32.dll", DefWindowProcA);
    static AWindowClass borShade("", "KY_BorShade", "bwcc32.dll", DefWindowProcA);
    switch (kind_) {
        case kGroupBox:
            return &groupBox;
        case kBorButton:
            return &borButton;
        case kBorShade:
            return &borShade;
        default:
            return &staticText;
    }
}
