// Native child controls and their notifications.
#include "framework/controls/ANativeChild.h"

#include "base/procedural/AError.h"
#include "framework/display/ADisplayComponent.h"

namespace {

const char kFile[] = "wxchilds";

}  // namespace

ANativeChild::ANativeChild(ADisplayComponent* item, NativeChildKind kind, const char* text, DWORD style,
                           const ARect& rect, bool show)
    : AControlWindow(item, effectiveKind(kind), text, style, rect, show) {}

bool ANativeChild::bwccLoaded() {
    // Loaded once from the system folder by full path, kept to the end.
    static HMODULE library = [] {
        char path[MAX_PATH + 16];
        UINT n = GetSystemDirectoryA(path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return static_cast<HMODULE>(nullptr);
        lstrcatA(path, "\\bwcc32.dll");
        return LoadLibraryA(path);
    }();
    return library != nullptr;
}

NativeChildKind ANativeChild::effectiveKind(NativeChildKind kind) {
    if (bwccLoaded())
        return kind;
    switch (kind) {
        case NativeChildKind::kBorButton:
            return NativeChildKind::kPushButton;
        case NativeChildKind::kBorRadio:
            return NativeChildKind::kRadioButton;
        case NativeChildKind::kBorCheck:
            return NativeChildKind::kCheckBox;
        default:
            return kind;
    }
}

AComponent* ANativeChild::requireItem(long line) {
    if (!owner())
        ThrowAssert(kFile, line);
    return owner();
}

int32_t ANativeChild::notify(uint16_t code) {
    AComponent* item = requireItem(66);
    return code == 0 ? static_cast<int32_t>(item->notifyOwner(1)) : 0;
}

template <NativeChildKind K>
int32_t ANativeChildOf<K>::notify(uint16_t code) {
    switch (K) {
        case NativeChildKind::kScrollBar:
        case NativeChildKind::kPushButton:
        case NativeChildKind::kRadioButton:
        case NativeChildKind::kCheckBox:
        case NativeChildKind::kBorButton:
        case NativeChildKind::kBorRadio:
        case NativeChildKind::kBorCheck:
            return ANativeChild::notify(code);
        default:
            return 0;
    }
}

template class ANativeChildOf<NativeChildKind::kScrollBar>;
template class ANativeChildOf<NativeChildKind::kGrowBox>;
template class ANativeChildOf<NativeChildKind::kBorShade>;
template class ANativeChildOf<NativeChildKind::kGroupBox>;
template class ANativeChildOf<NativeChildKind::kStaticText>;
template class ANativeChildOf<NativeChildKind::kStaticBitmap>;
template class ANativeChildOf<NativeChildKind::kStaticIcon>;
template class ANativeChildOf<NativeChildKind::kPushButton>;
template class ANativeChildOf<NativeChildKind::kRadioButton>;
template class ANativeChildOf<NativeChildKind::kCheckBox>;
template class ANativeChildOf<NativeChildKind::kBorButton>;
template class ANativeChildOf<NativeChildKind::kBorRadio>;
template class ANativeChildOf<NativeChildKind::kBorCheck>;

void EditTextChanged(AComponent& item, int32_t& lastLength, int32_t length) {
    if (length == 0 || lastLength == 0)
        item.queueUpdate(4);
    lastLength = length;
    item.queueUpdate(6);
}

int32_t ANativeEditBox::notify(uint16_t code) {
    AComponent* item = requireItem(231);
    if (code == EN_CHANGE)
        EditTextChanged(*item, lastLength_, GetWindowTextLengthA(hwnd()));
    return 0;
}

// Windows passes a single-line EDIT's wheel messages to the parent, Wine's
// EDIT scrolls itself with them: the box never takes them.
AMessageResult ANativeEditBox::handle(AMessage& m) {
    if (m.message != WM_MOUSEWHEEL)
        return ANativeChild::handle(m);
    HWND parent = GetParent(m.hwnd);
    return Handled(parent ? static_cast<int32_t>(SendMessageA(parent, WM_MOUSEWHEEL, m.wParam, m.lParam)) : 0);
}

int32_t ANativeListBox::notify(uint16_t code) {
    AComponent* item = requireItem(291);
    switch (static_cast<int16_t>(code)) {
        case LBN_ERRSPACE:
            ThrowAssert(kFile, 312);
        case LBN_SELCHANGE:
            item->queueUpdate(2);
            return 0;
        case LBN_DBLCLK:
            return static_cast<int32_t>(item->notifyOwner(1));
        case LBN_SELCANCEL:
            return static_cast<int32_t>(item->notifyOwner(3));
        default:
            return 0;
    }
}

int32_t ANativeComboBox::notify(uint16_t code) {
    AComponent* item = requireItem(331);
    switch (static_cast<int16_t>(code)) {
        case CBN_ERRSPACE:
            ThrowAssert(kFile, 392);
        case CBN_SELCHANGE:
            item->queueUpdate(2);
            return 0;
        case CBN_DBLCLK:
            return static_cast<int32_t>(item->notifyOwner(1));
        case CBN_DROPDOWN:
            fitDropDown();
            return 0;
        case CBN_SELENDOK:
            return static_cast<int32_t>(item->notifyOwner(9));
        case CBN_SELENDCANCEL:
            return static_cast<int32_t>(item->notifyOwner(10));
        default:
            return 0;
    }
}

void ANativeComboBox::fitDropDown() {
    HWND box = hwnd();
    HWND parent = GetParent(box);
    if (!parent)
        return;
    LRESULT itemHeight = SendMessageA(box, CB_GETITEMHEIGHT, 0, 0);
    LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    if (itemHeight < 0 || count < 0)
        return;
    RECT client;
    RECT r;
    GetClientRect(parent, &client);
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    long bottom = r.bottom + static_cast<long>(itemHeight) * static_cast<long>(count);
    if (bottom >= client.bottom)
        bottom = client.bottom;
    MoveWindow(box, r.left, r.top, r.right - r.left, bottom - r.top, FALSE);
}
