// Native controls of the items.
#include "framework/clusters/AControlWindow.h"

#include "framework/display/ADisplayComponent.h"
#include "framework/windows/AWindowClass.h"
#include "framework/windows/AWindowServices.h"

namespace {

NativeChildKind ChildKindOf(AControlWindow::Kind kind) {
    switch (kind) {
        case AControlWindow::kGroupBox:
            return NativeChildKind::kGroupBox;
        case AControlWindow::kIcon:
            return NativeChildKind::kStaticIcon;
        case AControlWindow::kBorButton:
            return NativeChildKind::kStaticBitmap;
        case AControlWindow::kBorShade:
            return NativeChildKind::kBorShade;
        default:
            return NativeChildKind::kStaticText;
    }
}

}  // namespace

AWindowClass& NativeChildClass(NativeChildKind kind) {
    // The BWCC bitmap and shade fall back to blank windows of the framework's
    // own; the BWCC buttons are only asked for when the library is loaded.
    static AWindowClass classes[] = {
        {"SCROLLBAR", "KY_ScrollBar", nullptr, nullptr},    {"SCROLLBAR", "KY_GrowBox", nullptr, nullptr},
        {"", "KY_BorShade", "bwcc32.dll", DefWindowProcA},  {"BUTTON", "KY_GroupBox", nullptr, nullptr},
        {"STATIC", "KY_StaticText", nullptr, nullptr},      {"", "KY_StaticBitmap", "bwcc32.dll", DefWindowProcA},
        {"STATIC", "KY_StaticIcon", nullptr, nullptr},      {"BUTTON", "KY_PushButton", nullptr, nullptr},
        {"BUTTON", "KY_RadioButton", nullptr, nullptr},     {"BUTTON", "KY_CheckBox", nullptr, nullptr},
        {"BorBtn", "KY_BorButton", "bwcc32.dll", nullptr},  {"BorRadio", "KY_BorRadio", "bwcc32.dll", nullptr},
        {"BorCheck", "KY_BorCheck", "bwcc32.dll", nullptr}, {"EDIT", "KY_EditBox", nullptr, nullptr},
        {"LISTBOX", "KY_ListBox", nullptr, nullptr},        {"COMBOBOX", "KY_ComboBox", nullptr, nullptr},
    };
    return classes[static_cast<int>(kind)];
}

DWORD NativeChildStyle(NativeChildKind kind) {
    switch (kind) {
        case NativeChildKind::kGrowBox:
            return SBS_SIZEBOX;
        case NativeChildKind::kGroupBox:
            return BS_GROUPBOX;
        case NativeChildKind::kRadioButton:
            return BS_RADIOBUTTON;
        case NativeChildKind::kCheckBox:
            return BS_CHECKBOX;
        default:
            return 0;
    }
}

AControlWindow::AControlWindow(ADisplayComponent* owner, Kind kind, const char* text, DWORD style, const ARect& rect)
    : AControlWindow(owner, ChildKindOf(kind), text, style, rect, false) {}

AControlWindow::AControlWindow(ADisplayComponent* owner, NativeChildKind kind, const char* text, DWORD style,
                               const ARect& rect, bool show)
    : AWindowHandler(owner), kind_(kind), parent_(owner->enclosingWindow()) {
    if (!parent_)
        return;
    DWORD shown = show ? WS_VISIBLE : 0;
    create(text, style | NativeChildStyle(kind) | WS_CHILD | shown, rect, 0, true);
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
    return &NativeChildClass(kind_);
}

AMessageResult AControlWindow::handle(AMessage& m) {
    // A group box paints only its frame and title, and a parent with
    // WS_CLIPCHILDREN leaves its inside unpainted: fill it as a static's.
    if (m.message == WM_ERASEBKGND && kind_ == NativeChildKind::kGroupBox) {
        auto dc = reinterpret_cast<HDC>(m.wParam);
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageA(GetParent(m.hwnd), WM_CTLCOLORSTATIC, m.wParam, reinterpret_cast<LPARAM>(m.hwnd)));
        RECT r;
        GetClientRect(m.hwnd, &r);
        FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return Handled(1);
    }
    // A click or the system moved the focus here: the item becomes the target.
    if (m.message == WM_SETFOCUS) {
        if (owner() && owner()->acceptsTarget())
            owner()->becomeTarget(1);
    }
    return AWindowHandler::handle(m);
}
