// MDI child and top-level shells, and the modal chain.
#include "framework/windows/AWindowShell.h"

#include "base/object/AError.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/windows/AMdiFrame.h"
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

AMessageResult AWindowShell::handle(AMessage& m) {
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
