// Native windows: the window procedures, the common dispatch that binds a
// handle to its object, the exception guard and the component lookup.
#include "framework/windows/ANativeWindow.h"

#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"
#include "framework/graphics/AUpdateWatch.h"
#include "framework/windows/AWindowClass.h"
#include "framework/windows/AWindowServices.h"

namespace {

ANativeWindow* g_pending = nullptr;
HWND g_mdiClient = nullptr;
AComponent* g_lookupAnswer = nullptr;

// The one place where an exception thrown by handler code stops.
LRESULT GuardFailure(AWindowLink* link, const AError* error) {
    if (error) {
        if (link && link->owner() && ReportError(*error, MB_RETRYCANCEL) == IDRETRY)
            return 0;
    } else {
        AWindowServices::current().messageBox("Unknown exception in Window Procedure", "Error", MB_ICONEXCLAMATION);
    }
    PostQuitMessage(-1);
    return 0;
}

template <class F>
LRESULT Guarded(AWindowLink* link, F f) {
    try {
        return f();
    } catch (const AError& e) {
        try {
            return GuardFailure(link, &e);
        } catch (...) {
            PostQuitMessage(-1);
            return 0;
        }
    } catch (...) {
        try {
            return GuardFailure(link, nullptr);
        } catch (...) {
            PostQuitMessage(-1);
            return 0;
        }
    }
}

}  // namespace

AWindowLink::AWindowLink(AComponent* owner) : owner_(owner) {
    if (!owner_)
        ThrowAssert("wxwins", 420);
}

ANativeWindow* AWindowLink::requireNativeWindow() {
    ANativeWindow* native = nativeWindow();
    if (!native)
        ThrowAssert("wxwins", 437);
    return native;
}

ANativeWindow::~ANativeWindow() {
    if (g_pending == this)
        g_pending = nullptr;
    if (hwnd_ && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
        detach();
    }
    if (class_)
        class_->release();
}

void ANativeWindow::attach(HWND hwnd) {
    hwnd_ = hwnd;
    if (AWindowLink* l = link())
        l->setHwnd(hwnd);
}

LRESULT ANativeWindow::handleMessage(AMessage& message) {
    return Guarded(link(), [&]() -> LRESULT {
        AMessageResult r = dispatch(message);
        if (r.handled)
            return r.result;
        // A filter may remove filters while it runs: walk a copy, ask only those still there.
        std::set<AComponent*> filters = filters_;
        for (AComponent* filter : filters) {
            if (filters_.count(filter) && filter->filterMessage(message))
                return 0;
        }
        return callDefault(message);
    });
}

LRESULT ANativeWindow::callDefault(const AMessage& message) {
    if (!defaultProc_) {
        if (AWindowClass* c = windowClass())
            defaultProc_ = c->defaultProc();
    }
    if (!defaultProc_)
        ThrowAssert("wxwins", 657);
    return CallWindowProcA(defaultProc_, message.hwnd, message.message, message.wParam, message.lParam);
}

AMessageResult ANativeWindow::dispatch(AMessage& message) {
    AWindowLink* l = link();
    return l ? l->handle(message) : NotHandled();
}

const char* ANativeWindow::className() {
    if (!class_) {
        AWindowClass* c = windowClass();
        if (!c)
            ThrowAssert("wxwins", 705);
        c->registerClass(AWindowServices::current().instance(), windowProcedure());
        class_ = c;
        defaultProc_ = c->defaultProc();
    }
    return class_->className();
}

WNDPROC ANativeWindow::windowProcedure() {
    return ObjectWindowProc;
}

HWND ANativeWindow::parentWindow() {
    return nullptr;
}

void ANativeWindow::create(const char* title, DWORD style, const ARect& rect, int id, bool createNow) {
    if (!createNow)
        return;
    const char* name = className();
    if (!name || !*name)
        ThrowAssert("wxwins", 705);
    HWND parent = topLevel_ ? nullptr : parentWindow();
    if (id == 0)
        id = childId();
    if (hwnd_)
        ThrowAssert("wxwins", 718);
    createWindow(parent, name, style, rect, id);
    if (!hwnd_)
        ThrowAssert("wxwins", 720);
    setTitle(title);
}

void ANativeWindow::setTitle(const char* title) {
    if (!IsWindow(hwnd_))
        ThrowAssert("wxwins", 471);
    SetWindowTextA(hwnd_, title ? title : "");
}

void ANativeWindow::show() {
    if (!IsWindow(hwnd_))
        ThrowAssert("wxwins", 486);
    ShowWindow(hwnd_, SW_SHOW);
}

void ANativeWindow::hide() {
    if (!IsWindow(hwnd_))
        ThrowAssert("wxwins", 491);
    ShowWindow(hwnd_, SW_HIDE);
}

HWND APlainNativeWindow::createWindow(HWND parent, const char* name, DWORD style, const ARect& rect, int id) {
    SetPendingWindow(this);
    HWND made = CreateWindowExA(
        0, name, nullptr, style, rect.first.x, rect.first.y, rect.second.x - rect.first.x, rect.second.y - rect.first.y,
        parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), AWindowServices::current().instance(), this);
    g_pending = nullptr;
    return made;
}

AWindowClass* APlainNativeWindow::windowClass() {
    return &AWindowClass::plainWindow();
}

// Window procedures and the common dispatch.

void SetPendingWindow(ANativeWindow* window) {
    g_pending = window;
}

ANativeWindow* PendingWindow() {
    return g_pending;
}

ANativeWindow* NativeWindowOf(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd))
        return nullptr;
    int extra = static_cast<int>(GetClassLongA(hwnd, GCL_CBWNDEXTRA));
    if (extra < 4)
        return nullptr;
    return reinterpret_cast<ANativeWindow*>(static_cast<intptr_t>(GetWindowLongA(hwnd, extra - 4)));
}

LRESULT CommonDispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, ANativeWindow* named) {
    // Moves, sizes, shows and paints all come through here.
    AUpdateWatch::touch();
    ANativeWindow* window = nullptr;
    LRESULT result = Guarded(nullptr, [&]() -> LRESULT {
        int extra = static_cast<int>(GetClassLongA(hwnd, GCL_CBWNDEXTRA));
        if (extra < 4)
            ThrowAssert("wxwins", 168);
        window = reinterpret_cast<ANativeWindow*>(static_cast<intptr_t>(GetWindowLongA(hwnd, extra - 4)));
        if (message == WM_NCCREATE && (window ? window : g_pending) != named)
            ThrowAssert("wxwins", 161);
        if (!window) {
            window = named;
            if (!window) {
                // Windows sends WM_GETMINMAXINFO before WM_NCCREATE.
                if (message != WM_GETMINMAXINFO)
                    ThrowAssert("wxwins", 165);
                window = g_pending;
            }
            if (!window)
                ThrowAssert("wxwins", 168);
            SetWindowLongA(hwnd, extra - 4, static_cast<LONG>(reinterpret_cast<intptr_t>(window)));
            window->attach(hwnd);
            g_pending = nullptr;
        }
        return 0;
    });
    if (!window)
        return result;
    AMessage m{lParam, wParam, message, hwnd};
    result = window->handleMessage(m);
    if (message == WM_NCDESTROY)
        window->detach();
    return result;
}

LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ANativeWindow* named = nullptr;
    if (message == WM_NCCREATE)
        named = static_cast<ANativeWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    return CommonDispatch(hwnd, message, wParam, lParam, named);
}

LRESULT CALLBACK MdiChildWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ANativeWindow* named = nullptr;
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* mdi = cs ? static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams) : nullptr;
        if (mdi)
            named = reinterpret_cast<ANativeWindow*>(mdi->lParam);
    }
    return CommonDispatch(hwnd, message, wParam, lParam, named);
}

UINT FrameworkMessage() {
    static UINT number = RegisterWindowMessageA("KY Media Framework Message");
    return number;
}

AComponent* ComponentFromWindow(HWND hwnd) {
    g_lookupAnswer = nullptr;
    if (hwnd && IsWindow(hwnd))
        SendMessageA(hwnd, FrameworkMessage(), kFwLookup, 0);
    AComponent* answer = g_lookupAnswer;
    g_lookupAnswer = nullptr;
    return answer;
}

bool MayTakeFocus(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
        return false;
    HWND front = GetForegroundWindow();
    return front && GetAncestor(hwnd, GA_ROOT) == front;
}

void MoveFocusTo(HWND hwnd) {
    if (GetFocus() != hwnd && MayTakeFocus(hwnd))
        SetFocus(hwnd);
}

namespace {

bool g_translatingAccelerator = false;

}  // namespace

void SetTranslatingAccelerator(bool on) {
    g_translatingAccelerator = on;
}

bool TranslatingAccelerator() {
    return g_translatingAccelerator;
}

void SetLookupAnswer(AComponent* component) {
    g_lookupAnswer = component;
}

void BroadcastToChildren(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, int depth) {
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageA(child, message, wParam, lParam);
        if (depth != 0 && GetTopWindow(child))
            BroadcastToChildren(child, message, wParam, lParam, depth - 1);
    }
}

HWND GetMdiClientWindow() {
    return g_mdiClient;
}

void SetMdiClientWindow(HWND hwnd) {
    g_mdiClient = hwnd;
}
