// The shared window handler, the display window handler and the mouse wheel.
#include "framework/windows/AWindowHandler.h"

#include <cstdlib>

#include "base/object/InputRecords.h"
#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/APaletteTable.h"
#include "framework/graphics/ATextStyle.h"

namespace {

// MM_MCINOTIFY: a media device finished; the owner hears of it as change 20.
const UINT kMciNotify = 0x3B9;

int g_wheelLines = 3;
bool g_wheelRead = false;

// A control takes the colours of its component's text style; the answer is
// the style's background brush, aligned on the parent's client origin.
bool ColourControl(const AMessage& m, int32_t& brush) {
    if (ADisplayServices::current().lookOptions() & 0xC000)
        return false;
    auto* control = dynamic_cast<ADisplayComponent*>(ComponentFromWindow(reinterpret_cast<HWND>(m.lParam)));
    ATextStyle* style = control ? control->getDisplayEnv() : nullptr;
    if (!style)
        return false;
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    if (style->backColor() != ATextStyle::kUnset)
        SetBkColor(dc, style->backColor());
    if (style->foreColor() != ATextStyle::kUnset)
        SetTextColor(dc, style->foreColor());
    HBRUSH background = style->backgroundBrush();
    if (!background)
        return false;
    UnrealizeObject(background);
    POINT origin{0, 0};
    ClientToScreen(m.hwnd, &origin);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    brush = static_cast<int32_t>(reinterpret_cast<intptr_t>(background));
    return true;
}

}  // namespace

AMessageResult AWindowHandler::handle(AMessage& m) {
    if (m.message == FrameworkMessage()) {
        if (m.wParam == kFwLookup)
            SetLookupAnswer(owner());
        else if (m.wParam == kFwNotify)
            return Handled(notify(LOWORD(m.lParam)));
        return Handled(0);
    }
    switch (m.message) {
        case WM_NCMOUSEMOVE:
            ADisplayServices::current().setHoverComponent(nullptr);
            return NotHandled();
        case kMciNotify:
            owner()->queueUpdate(20);
            return Handled(0);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return onKey(m, static_cast<uint16_t>(m.wParam), 0, 1, false);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return onKey(m, static_cast<uint16_t>(m.wParam), 0, 0, true);
        case WM_CHAR:
        case WM_SYSCHAR:
            return onKey(m, 0, static_cast<uint16_t>(m.wParam), 1, true);
        default:
            break;
    }
    if (m.message == WM_HSCROLL || m.message == WM_VSCROLL) {
        // A scroll-bar control tells its own item; the window's own bars tell the window's.
        HWND control = reinterpret_cast<HWND>(m.lParam);
        auto* target = dynamic_cast<ADisplayComponent*>(control ? ComponentFromWindow(control) : owner());
        long answer = target ? target->scrollEvent(static_cast<int16_t>(LOWORD(m.wParam)),
                                                   static_cast<int16_t>(HIWORD(m.wParam)), m.message == WM_VSCROLL)
                             : 0;
        return {static_cast<uint16_t>(answer != 0), 0};
    }
    if (m.message == WM_COMMAND) {
        HWND control = reinterpret_cast<HWND>(m.lParam);
        if (!control || !IsWindow(control))
            return Handled(0);
        LRESULT answer = SendMessageA(control, FrameworkMessage(), kFwNotify, HIWORD(m.wParam));
        return {static_cast<uint16_t>(answer != 0), 0};
    }
    return NotHandled();
}

// Keys and characters go to the command target through the tree's key entries.
AMessageResult AWindowHandler::onKey(AMessage& m, uint16_t key, uint16_t character, uint16_t down, bool afterFocus) {
    if (!AComponent::currentTarget())
        return NotHandled();
    AKeyEvent event(key, character, down);
    long answer = character ? owner()->dispatchChar(event) : owner()->dispatchKey(event);
    // The handler may have moved the focus away: the message is then spent.
    if (afterFocus && GetFocus() != m.hwnd)
        return Handled(0);
    return {static_cast<uint16_t>(answer != 0), 0};
}

AWheelScroll WheelScroll(WPARAM wParam, int lines) {
    if (LOWORD(wParam) & (MK_CONTROL | MK_SHIFT))
        return {false, 0, 0};
    int delta = static_cast<int16_t>(HIWORD(wParam));
    int count = MulDiv(delta < 0 ? -delta : delta, lines, 120);
    if (count == -1 || lines == -1)
        return {true, delta < 0 ? 3 : 2, 0};
    return {true, delta < 0 ? 1 : 0, count};
}

bool ConvertWheelMessage(const AMessage& in, UINT registered, bool control, bool shift, AMessage& out) {
    if (registered == 0 || in.message != registered)
        return false;
    WPARAM keys = (control ? MK_CONTROL : 0) | (shift ? MK_SHIFT : 0);
    out = AMessage{in.lParam, (in.wParam << 16) | keys, WM_MOUSEWHEEL, in.hwnd};
    return true;
}

UINT RegisteredWheelMessage() {
    static UINT number = [] {
        DWORD version = GetVersion();
        WORD word = LOWORD(version);
        bool nt = (version & 0x80000000u) == 0;
        // Only the systems whose wheel drivers sent their own message.
        bool old = (!nt && word == 4) || (nt && word == 3);
        return old ? RegisterWindowMessageA("MSWHEEL_ROLLMSG") : 0u;
    }();
    return number;
}

int WheelLinesFromRegistry() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 3;
    char text[128] = {};
    DWORD type = 0, bytes = sizeof text - 1;
    LONG error = RegQueryValueExA(key, "WheelScrollLines", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS || type != REG_SZ)
        return 3;
    char* end = nullptr;
    long lines = strtol(text, &end, 10);
    return end != text && lines >= 0 && lines <= 0xFFFF ? static_cast<int>(lines) : 3;
}

int GetWheelScrollLines(bool reread) {
    if (g_wheelRead && !reread)
        return g_wheelLines;
    static UINT driverMessage = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
    HWND driver = driverMessage ? FindWindowA("MouseZ", "Magellan MSWHEEL") : nullptr;
    UINT lines = 3;
    if (driver) {
        lines = static_cast<UINT>(SendMessageA(driver, driverMessage, 0, 0));
    } else {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExA(&version);
        bool known = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        if (known && version.dwMajorVersion < 4)
            lines = static_cast<UINT>(WheelLinesFromRegistry());
        else if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && !SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
            lines = 3;
    }
    // A driver's or the system's answer out of range scrolls by pages.
    g_wheelLines = lines > 0xFFFF ? -1 : static_cast<int>(lines);
    g_wheelRead = true;
    return g_wheelLines;
}

ADisplayWindowHandler::ADisplayWindowHandler(ADisplayComponent* display) : AWindowHandler(display), display_(display) {
    if (!display_)
        ThrowAssert("wxwins", 1113);
}

AMessageResult ADisplayWindowHandler::paint(AMessage& m) {
    (void)m;
    ABeginPaintLock lock(display_);
    ARegion region = lock.region();
    if (!region.isEmpty())
        display_->draw(region);
    return Handled(0);
}

namespace {

ADisplayWindowHandler* g_refocusing = nullptr;  // not owned: re-taking the focus now
bool g_focusGuard = false;

}  // namespace

// A display that takes the focus becomes the command target. One that does
// not (a picture, a popup) hands it back to the window of its own top-level
// window that lost it: never to or from a window that is not the framework's.
AMessageResult ADisplayWindowHandler::onSetFocus(AMessage& m) {
    if (g_refocusing == this)
        return Handled(0);
    if (display_->acceptsTarget()) {
        display_->becomeTarget(1);
        ANativeWindow* native = nativeWindow();
        return Handled(native ? static_cast<int32_t>(native->callDefault(m)) : 0);
    }
    if (g_focusGuard)
        return Handled(0);
    g_focusGuard = true;
    auto lost = reinterpret_cast<HWND>(m.wParam);
    if (lost && GetAncestor(lost, GA_ROOT) == GetAncestor(m.hwnd, GA_ROOT)) {
        if (AComponent* from = ComponentFromWindow(lost)) {
            from->becomeTarget(1);
            MoveFocusTo(lost);
        }
    }
    g_focusGuard = false;
    return Handled(0);
}

// The focus is taken back only from a framework window of the same top-level
// window whose component does not take it; any other window keeps it.
AMessageResult ADisplayWindowHandler::onKillFocus(AMessage& m) {
    if (g_focusGuard || g_refocusing)
        return Handled(0);
    auto to = reinterpret_cast<HWND>(m.wParam);
    if (!to || GetAncestor(to, GA_ROOT) != GetAncestor(m.hwnd, GA_ROOT) || !display_->acceptsTarget())
        return NotHandled();
    AComponent* c = ComponentFromWindow(to);
    if (!c || c->acceptsTarget())
        return NotHandled();
    g_refocusing = this;
    MoveFocusTo(m.hwnd);
    g_refocusing = nullptr;
    return Handled(0);
}

// A component whose own window was moved or sized from outside takes the
// window's client rectangle as its frame; an iconic window keeps the frame.
void ADisplayWindowHandler::followWindow(const WINDOWPOS& pos, HWND window) {
    if ((pos.flags & (SWP_NOSIZE | SWP_NOMOVE)) == (SWP_NOSIZE | SWP_NOMOVE) || IsIconic(window))
        return;
    if (display_->getHWnd() == window)
        display_->nativeWindowMoved();
}

AMessageResult ADisplayWindowHandler::handle(AMessage& m) {
    AMessage wheel;
    if (ConvertWheelMessage(m, RegisteredWheelMessage(), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, wheel))
        return handle(wheel);
    int x = static_cast<int16_t>(LOWORD(m.lParam)), y = static_cast<int16_t>(HIWORD(m.lParam));
    AMouseEvent event(x, y, LOWORD(m.wParam), APoint(0, 0));
    switch (m.message) {
        case WM_PAINT:
            return paint(m);
        case WM_ERASEBKGND:
            return Handled(1);
        case WM_MOUSEMOVE:
            return {static_cast<uint16_t>(display_->dispatchMouseMove(event) != 0), 0};
        case WM_LBUTTONDOWN:
            return {static_cast<uint16_t>(display_->dispatchMouseDown(event) != 0), 0};
        case WM_LBUTTONDBLCLK:
            // The class's CS_DBLCLKS turns the second press into this message.
            return {static_cast<uint16_t>(display_->dispatchDoubleClick(event, 2) != 0), 0};
        case WM_LBUTTONUP:
            return {static_cast<uint16_t>(display_->dispatchMouseUp(event) != 0), 0};
        case WM_RBUTTONDOWN:
            return {static_cast<uint16_t>(display_->dispatchRightMouseDown(event) != 0), 0};
        case WM_SETFOCUS:
            return onSetFocus(m);
        case WM_KILLFOCUS:
            return onKillFocus(m);
        case WM_SETTINGCHANGE:
            GetWheelScrollLines(true);
            break;
        case WM_WINDOWPOSCHANGED:
            if (m.lParam)
                followWindow(*reinterpret_cast<const WINDOWPOS*>(m.lParam), m.hwnd);
            break;
        case WM_QUERYNEWPALETTE: {
            APaletteTable* table = APaletteTable::active();
            return Handled(table && table->realize(display_, false) ? 1 : 0);
        }
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(m.wParam) != m.hwnd) {
                if (APaletteTable* table = APaletteTable::active())
                    table->realize(display_, true);
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            int32_t brush = 0;
            if (ColourControl(m, brush))
                return Handled(brush);
            break;
        }
        case WM_MOUSEWHEEL: {
            AWheelScroll scroll = WheelScroll(m.wParam, GetWheelScrollLines(false));
            if (!scroll.scrolls)
                break;
            POINT p{x, y};
            ScreenToClient(m.hwnd, &p);
            AMouseEvent at(p.x, p.y, 0, APoint(0, 0));
            // Lines, positive upwards; a page is 65536 lines.
            long delta = scroll.kind >= 2 ? 65536 : scroll.count;
            if (scroll.kind == 1 || scroll.kind == 3)
                delta = -delta;
            if (display_->dispatchMouseWheel(at, delta) != 0)
                return Handled(1);
            break;
        }
        default:
            break;
    }
    return AWindowHandler::handle(m);
}
