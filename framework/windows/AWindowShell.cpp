// MDI child and top-level shells, and the modal chain.
#include "framework/windows/AWindowShell.h"

#include "base/procedural/AError.h"
#include "framework/commands/AItemOwner.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AUpdateWatch.h"
#include "framework/windows/AControlLibrary.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AShellClient.h"
#include "framework/windows/AWindowClass.h"
#include "framework/windows/AWindowServices.h"

namespace {

AMdiChildShell* g_activeChild = nullptr;
ATopLevelShell* g_topModal = nullptr;

void Enable(HWND hwnd, bool on) {
    if (hwnd && IsWindow(hwnd))
        EnableWindow(hwnd, on ? TRUE : FALSE);
}

}  // namespace

AWindowShell::AWindowShell(ADisplayComponent* window) : ADisplayWindowHandler(window) {}

AShellClient* AWindowShell::client() const {
    return dynamic_cast<AShellClient*>(window());
}

ARect AWindowShell::frameRectFromClient(const ARect& c) {
    ANativeWindow* native = const_cast<AWindowShell*>(this)->nativeWindow();
    LONG style = native && native->hwnd() ? GetWindowLongA(native->hwnd(), GWL_STYLE) : 0;
    long bx = 0, by = 0;
    if (style & WS_THICKFRAME) {
        bx = GetSystemMetrics(SM_CXFRAME);
        by = GetSystemMetrics(SM_CYFRAME);
    } else if (style & WS_BORDER) {
        bx = GetSystemMetrics(SM_CXBORDER);
        by = GetSystemMetrics(SM_CYBORDER);
    }
    return ARect(-bx, -by, c.width() + bx, c.height() + by);
}

ARect AMdiChildShell::frameRectFromClient(const ARect& c) {
    ARect r = AWindowShell::frameRectFromClient(c);
    LONG style = hwnd() ? GetWindowLongA(hwnd(), GWL_STYLE) : 0;
    if ((style & WS_CAPTION) == WS_CAPTION)
        r.first.y -= GetSystemMetrics(SM_CYCAPTION) - ((style & WS_BORDER) ? GetSystemMetrics(SM_CYBORDER) : 0);
    return r;
}

bool AWindowShell::sizeRule(MINMAXINFO& info) {
    AShellClient* c = client();
    if (!c || !c->shellSizable())
        return false;
    long limits[4] = {0, 0, 0, 0};
    APoint extra;
    c->shellLimits(limits, extra);
    ANativeWindow* native = nativeWindow();
    HWND own = native ? native->hwnd() : nullptr;
    // The room a maximised window may fill: its parent's client area, in the
    // coordinates the window is placed in.
    HWND parent = own ? GetParent(own) : nullptr;
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (parent && (GetWindowLongA(own, GWL_STYLE) & WS_CHILD))
        GetClientRect(parent, &r);
    ARect client(r.left, r.top, r.right, r.bottom);
    ARect outer = frameRectFromClient(client);
    ARect area(client.left() + outer.left(), client.top() + outer.top(), client.right() + outer.right() - client.width(),
               client.bottom() + outer.bottom() - client.height());
    zoomed_ = limits[2] || limits[3] ? 1 : 0;
    return FillMinMaxInfo(&info, limits, extra, area);
}

AMessageResult AWindowShell::onMinMaxInfo(AMessage& m) {
    auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
    if (!info)
        return ADisplayWindowHandler::handle(m);
    bool applied = sizeRule(*info);
    return {static_cast<uint16_t>(applied), 0};
}

void AWindowShell::updateMenu() {
    AShellClient* c = client();
    ANativeWindow* native = nativeWindow();
    if (!c || !zoomed_ || !c->shellSizable() || !native || !native->hwnd())
        return;
    HWND own = native->hwnd();
    AItemOwner* menu = c->shellMenu();
    if (IsIconic(own)) {
        if (menu) {
            menu->setItemState(static_cast<int16_t>(SC_MAXIMIZE), 1);
            menu->setItemState(static_cast<int16_t>(SC_RESTORE), 1);
        }
        return;
    }
    if (menu) {
        menu->setItemState(static_cast<int16_t>(SC_MAXIMIZE), maximized_ ? 2 : 1);
        menu->setItemState(static_cast<int16_t>(SC_RESTORE), maximized_ ? 1 : 2);
        menu->setItemState(static_cast<int16_t>(SC_CLOSE), 1);
    }
    LONG style = GetWindowLongA(own, GWL_STYLE);
    LONG wanted = maximized_ ? (style | WS_MAXIMIZE | WS_SYSMENU) : (style & ~WS_MAXIMIZE);
    if (wanted != style) {
        SetWindowLongA(own, GWL_STYLE, wanted);
        AUpdateWatch::touch();
        RedrawWindow(own, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void AWindowShell::initSystemItems(AShellClient& c) {
    updateMenu();
    AItemOwner* menu = c.shellMenu();
    if (!menu)
        return;
    menu->setItemState(static_cast<int16_t>(SC_CLOSE), c.shellMayClose() ? 1 : 2);
    menu->setItemState(static_cast<int16_t>(SC_MOVE), 1);
    menu->setItemState(static_cast<int16_t>(SC_SIZE), c.shellSizable() ? 1 : 2);
}

// Windows with size limits are maximised by the shell itself: the window is
// restored, then given the rule's rectangle, and restored from savedRect_.
AMessageResult AWindowShell::onSysCommand(AMessage& m) {
    AShellClient* c = client();
    ANativeWindow* native = nativeWindow();
    if (!c || !native)
        return ADisplayWindowHandler::handle(m);
    UINT command = static_cast<UINT>(m.wParam) & 0xFFF0;
    AItemOwner* menu = c->shellMenu();
    if (command != SC_MOUSEMENU && command != SC_KEYMENU && menu)
        menu->itemState(static_cast<int16_t>(command));
    HWND own = native->hwnd();
    auto setFrame = [own](const ARect& r) { MoveWindow(own, r.left(), r.top(), r.width(), r.height(), TRUE); };
    auto windowRect = [own]() {
        RECT r;
        GetWindowRect(own, &r);
        POINT p{r.left, r.top};
        if (HWND parent = GetParent(own); parent && (GetWindowLongA(own, GWL_STYLE) & WS_CHILD))
            ScreenToClient(parent, &p);
        return ARect(p.x, p.y, p.x + (r.right - r.left), p.y + (r.bottom - r.top));
    };
    if (command == SC_MAXIMIZE || command == SC_MINIMIZE) {
        long limits[4] = {0, 0, 0, 0};
        APoint extra;
        c->shellLimits(limits, extra);
        if (!c->shellSizable() || (!limits[2] && !limits[3])) {
            zoomed_ = 0;
            savedRect_ = ARect();
            if (command == SC_MAXIMIZE)
                maximized_ = 1;
            return ADisplayWindowHandler::handle(m);
        }
        if (command == SC_MINIMIZE) {
            zoomed_ = 1;
            if (!maximized_)
                savedRect_ = windowRect();
            maximized_ = 0;
            return ADisplayWindowHandler::handle(m);
        }
        MINMAXINFO info{};
        if (!sizeRule(info))
            return ADisplayWindowHandler::handle(m);
        zoomed_ = 1;
        if (!IsIconic(own) && !maximized_)
            savedRect_ = windowRect();
        AMessage restore{0, static_cast<WPARAM>(SC_RESTORE | (m.wParam & 0xF)), WM_SYSCOMMAND, own};
        native->callDefault(restore);
        setFrame(ARect(info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
                       info.ptMaxPosition.y + info.ptMaxSize.y));
        maximized_ = 1;
        updateMenu();
        return Handled(0);
    }
    if (command == SC_RESTORE && zoomed_ && savedRect_.width() > 0 && savedRect_.height() > 0) {
        native->callDefault(m);
        setFrame(savedRect_);
        maximized_ = 0;
        updateMenu();
        return Handled(0);
    }
    if (command == SC_CLOSE && menu)
        return {static_cast<uint16_t>(menu->dispatch(static_cast<int16_t>(SC_CLOSE), 1, nullptr) != 0), 0};
    return ADisplayWindowHandler::handle(m);
}

// Menu commands of a window: OK and cancel (ids 1 and 2) and its own menu.
AMessageResult AWindowShell::onCommand(AMessage& m) {
    AShellClient* c = client();
    if (!c || m.lParam)
        return ADisplayWindowHandler::handle(m);
    auto id = static_cast<int16_t>(LOWORD(m.wParam));
    AItemOwner* menu = c->shellMenu();
    AItemOwner* table = c->shellTable();
    long answer = 0;
    if (id == IDOK) {
        answer = table ? table->fire(1, 0, nullptr) : 0;
    } else if (id == IDCANCEL) {
        if (table && (table->itemState(2) & 1))
            answer = table->dispatch(2, 1, nullptr);
        else if (menu && (menu->itemState(static_cast<int16_t>(SC_CLOSE)) & 1))
            answer = menu->dispatch(static_cast<int16_t>(SC_CLOSE), 1, nullptr);
        else if (c->shellMayClose()) {
            c->shellClose();
            answer = 1;
        }
    } else if (TranslatingAccelerator()) {
        SetTranslatingAccelerator(false);
        answer = AWindowServices::current().menuCommand(id);
    } else if (menu) {
        answer = menu->dispatch(id, 1, nullptr);
    }
    return {static_cast<uint16_t>(answer != 0), 0};
}

bool AWindowShell::controlLook() const {
    AShellClient* c = client();
    return c && c->shellControlLook() && AControlLibrary::loaded();
}

AMessageResult AWindowShell::handle(AMessage& m) {
    if (AShellClient* c = client()) {
        switch (m.message) {
            case WM_PAINT:
                // The library's default procedure paints the window.
                if (controlLook())
                    return NotHandled();
                break;
            case WM_CLOSE:
                if (AItemOwner* menu = c->shellMenu())
                    menu->fire(static_cast<int16_t>(SC_CLOSE), 0, nullptr);
                return Handled(0);
            case WM_COMMAND:
                return onCommand(m);
            case WM_SYSCOMMAND:
                return onSysCommand(m);
            case WM_GETMINMAXINFO:
                return onMinMaxInfo(m);
            case WM_SIZE:
                if (m.wParam == SIZE_MAXIMIZED && zoomed_)
                    return Handled(0);
                if (m.wParam == SIZE_RESTORED)
                    maximized_ = 0;
                if (m.wParam == SIZE_MINIMIZED) {
                    maximized_ = 0;
                    updateMenu();
                }
                break;
            case WM_INITMENU:
            case WM_INITMENUPOPUP:
                initSystemItems(*c);
                return Handled(0);
            case WM_USER:
                return Handled(c->shellCurrentItem());
            case WM_SETFOCUS: {
                // An MDI child's default activates it: first, so that the focus item follows.
                ANativeWindow* native = nativeWindow();
                if (native)
                    native->callDefault(m);
                c->shellFocused();
                return Handled(0);
            }
            case WM_KILLFOCUS:
                return Handled(0);
            case WM_MOUSEACTIVATE:
                if (c->shellMouseActivate() == 0)
                    return Handled(MA_ACTIVATE);
                break;
            default:
                break;
        }
    }
    switch (m.message) {
        case WM_NCDESTROY:
            window()->setNativeWindow(nullptr);
            break;
        case WM_NCHITTEST: {
            ANativeWindow* native = nativeWindow();
            if (!native)
                break;
            auto hit = static_cast<int32_t>(native->callDefault(m));
            // Coming in from the border: the component under the mouse is left.
            if (hit == HTCLIENT && lastHit_ != HTCLIENT && !ADisplayServices::current().tracker())
                ADisplayServices::current().setHoverComponent(nullptr);
            lastHit_ = hit;
            return Handled(hit);
        }
        case WM_SIZE:
        case WM_MOVE:
            // Before the window exists the component does not follow it yet.
            if (window()->getHWnd() == m.hwnd)
                window()->nativeWindowMoved();
            break;
        default:
            break;
    }
    return ADisplayWindowHandler::handle(m);
}

// MDI children.

AMdiChildNativeWindow::~AMdiChildNativeWindow() {
    destroyChild();
}

void AMdiChildNativeWindow::destroyChild() {
    HWND own = hwnd();
    if (own && IsWindow(own))
        SendMessageA(GetParent(own), WM_MDIDESTROY, reinterpret_cast<WPARAM>(own), 0);
}

HWND AMdiChildNativeWindow::createWindow(HWND parent, const char* name, DWORD style, const ARect& rect, int) {
    MDICREATESTRUCTA mcs{};
    mcs.szClass = name;
    mcs.szTitle = "";
    mcs.hOwner = AWindowServices::current().instance();
    mcs.x = rect.first.x;
    mcs.y = rect.first.y;
    mcs.cx = rect.second.x - rect.first.x;
    mcs.cy = rect.second.y - rect.first.y;
    mcs.style = style | WS_CHILD;
    mcs.lParam = reinterpret_cast<LPARAM>(static_cast<ANativeWindow*>(this));
    SetPendingWindow(this);
    HWND made = reinterpret_cast<HWND>(SendMessageA(parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    SetPendingWindow(nullptr);
    return made;
}

AWindowClass* AMdiChildNativeWindow::windowClass() {
    return &AWindowClass::mdiChildWindow();
}

AWindowClass* AMdiChildShell::windowClass() {
    return controlLook() ? &AWindowClass::mdiBorChildWindow() : AMdiChildNativeWindow::windowClass();
}

AWindowClass* ATopLevelShell::windowClass() {
    return controlLook() ? &AWindowClass::borWindow() : APlainNativeWindow::windowClass();
}

AMdiChildShell::AMdiChildShell(ADisplayComponent* window, const char* title, DWORD style, const ARect& rect,
                               bool createNow)
    : AWindowShell(window) {
    if (!GetMdiClientWindow())
        ThrowAssert("wxframes", 1543);
    create(title, style, rect, 0, createNow);
    window->setNativeWindow(hwnd());
}

AMdiChildShell::~AMdiChildShell() {
    if (g_activeChild == this)
        g_activeChild = nullptr;
    // While this is whole, so that the handlers see the window's last messages.
    destroyChild();
}

AMessageResult AMdiChildShell::handle(AMessage& m) {
    if (m.message == WM_MDIACTIVATE) {
        bool activated = reinterpret_cast<HWND>(m.lParam) == hwnd();
        if (activated)
            g_activeChild = this;
        else if (g_activeChild == this)
            g_activeChild = nullptr;
        if (AShellClient* c = client())
            c->shellActivate(activated);
    }
    if (m.message == WM_NCDESTROY && g_activeChild == this)
        g_activeChild = nullptr;
    return AWindowShell::handle(m);
}

void AMdiChildShell::show(bool activateIt) {
    if (activateIt)
        activate();
    else
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void AMdiChildShell::activate() {
    if (IsIconic(hwnd())) {
        ShowWindow(hwnd(), SW_RESTORE);
    } else if (!IsWindowVisible(hwnd())) {
        ShowWindow(hwnd(), SW_SHOW);
        BringWindowToTop(hwnd());
    }
    if (g_activeChild != this)
        SendMessageA(GetMdiClientWindow(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd()), 0);
}

void AMdiChildShell::hide() {
    bool wasActive = g_activeChild == this;
    ShowWindow(hwnd(), SW_HIDE);
    if (wasActive)
        SendMessageA(GetMdiClientWindow(), WM_MDINEXT, 0, 0);
}

AMdiChildShell* AMdiChildShell::activeChild() {
    return g_activeChild;
}

// Top-level windows and the modal chain.

ATopLevelShell::ATopLevelShell(ADisplayComponent* window, HWND parent, const char* title, DWORD style,
                               const ARect& rect, bool modal, bool createNow)
    : AWindowShell(window), parent_(parent && IsWindowVisible(parent) ? parent : nullptr), modalOption_(modal) {
    create(title, style, rect, 0, createNow);
    window->setNativeWindow(hwnd());
}

ATopLevelShell::~ATopLevelShell() {
    endModal();
    if (hwnd() && IsWindow(hwnd()))
        DestroyWindow(hwnd());
}

AMessageResult ATopLevelShell::handle(AMessage& m) {
    // Destroyed while shown: its modal state ends first, or the chain would keep a dead top.
    if (m.message == WM_DESTROY)
        endModal();
    if (m.message == WM_ACTIVATE) {
        if (AShellClient* c = client()) {
            c->shellActivate(LOWORD(m.wParam) != 0);
            return Handled(0);
        }
    }
    return AWindowShell::handle(m);
}

void ATopLevelShell::show(bool activateIt) {
    ShowWindow(hwnd(), activateIt ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    if (modalOption_)
        beginModal();
}

void ATopLevelShell::activate() {
    if (!modal_)
        SetActiveWindow(hwnd());
}

void ATopLevelShell::hide() {
    endModal();
    ShowWindow(hwnd(), SW_HIDE);
}

void ATopLevelShell::beginModal() {
    if (modal_)
        return;
    if (!g_topModal) {
        HWND frame = GetFrameWindow();
        Enable(parent_, false);
        if (frame != parent_)
            Enable(frame, false);
    } else {
        Enable(g_topModal->hwnd(), false);
    }
    nextModal_ = g_topModal;
    g_topModal = this;
    modal_ = 1;
}

void ATopLevelShell::endModal() {
    if (!modal_)
        return;
    modal_ = 0;
    if (g_topModal == this) {
        g_topModal = nextModal_;
        if (!g_topModal) {
            HWND frame = GetFrameWindow();
            Enable(parent_, true);
            Enable(frame, true);
            if (frame)
                SetActiveWindow(frame);
        } else {
            Enable(g_topModal->hwnd(), true);
        }
    } else {
        ATopLevelShell* above = g_topModal;
        while (above && above->nextModal_ != this)
            above = above->nextModal_;
        if (!above)
            ThrowAssert("wxframes", 1854);
        above->nextModal_ = nextModal_;
        Enable(hwnd(), true);
    }
    nextModal_ = nullptr;
}

ATopLevelShell* ATopLevelShell::topModal() {
    return g_topModal;
}

namespace {

ADisplayComponent* MdiWindowFrom(HWND window, bool forward) {
    HWND client = GetMdiClientWindow();
    if (!client)
        return nullptr;
    HWND h;
    if (window) {
        if (GetParent(window) != client)
            return nullptr;
        h = GetWindow(window, forward ? GW_HWNDNEXT : GW_HWNDPREV);
    } else {
        h = GetWindow(client, GW_CHILD);
        if (h && !forward)
            h = GetWindow(h, GW_HWNDLAST);
    }
    for (; h; h = GetWindow(h, forward ? GW_HWNDNEXT : GW_HWNDPREV)) {
        if (auto* component = dynamic_cast<ADisplayComponent*>(ComponentFromWindow(h)))
            return component;
    }
    return nullptr;
}

}  // namespace

ADisplayComponent* NextMdiWindow(HWND window) {
    return MdiWindowFrom(window, true);
}

ADisplayComponent* PreviousMdiWindow(HWND window) {
    return MdiWindowFrom(window, false);
}

ADisplayComponent* ModalWindowAfter(AComponent* component) {
    ATopLevelShell* shell = ATopLevelShell::topModal();
    if (!component)
        return shell ? shell->window() : nullptr;
    for (; shell; shell = shell->nextModal()) {
        if (shell->window() == component || component->isDescendantOf(shell->window()))
            return shell->nextModal() ? shell->nextModal()->window() : nullptr;
    }
    return nullptr;
}
