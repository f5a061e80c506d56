// The MDI frame's message switch, its timer and layout, and the MDI client.
#include "framework/windows/AMdiFrame.h"

#include <algorithm>

#include "base/procedural/AError.h"
#include "framework/commands/AItemOwner.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/APaletteTable.h"
#include "framework/windows/AControlLibrary.h"
#include "framework/windows/AToolWindow.h"
#include "framework/windows/AWindowClass.h"
#include "framework/windows/AWindowServices.h"
#include "framework/windows/AWindowShell.h"

namespace {

AMdiFrame* g_frame = nullptr;
AMdiClient* g_client = nullptr;

// The client's messages: the subclassed MDICLIENT procedure forwards here.
LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    AMdiClient* client = g_client;
    if (!client || client->hwnd() != hwnd)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    AMessage m{lParam, wParam, message, hwnd};
    LRESULT result = client->handleMessage(m);
    if (message == WM_NCDESTROY) {
        SetMdiClientWindow(nullptr);
        client->detach();
    }
    return result;
}

}  // namespace

AWindowClass* AFrameNativeWindow::windowClass() {
    return &AWindowClass::frameWindow();
}

AMdiFrame::AMdiFrame(AComponent* app, const char* title, DWORD style, const ARect& rect, HMENU menu, bool createNow)
    : AWindowHandler(app) {
    setTopLevel(true);
    g_frame = this;
    if (ADisplayServices::current().lookOptions() & 0x8000)
        AControlLibrary::load(AWindowServices::current().instance());
    create(title, style, rect, 0, createNow);
    if (menu && hwnd())
        SetMenu(hwnd(), menu);
}

AMdiFrame::~AMdiFrame() {
    if (hwnd() && IsWindow(hwnd())) {
        setTimer(-1);
        DestroyWindow(hwnd());
    }
    if (g_frame == this)
        g_frame = nullptr;
    AControlLibrary::unload();
}

void AMdiFrame::showFrame(int showCommand) {
    ShowWindow(hwnd(), showCommand);
    UpdateWindow(hwnd());
}

bool AMdiFrame::setTimer(long delay) {
    if (timerId_ && hwnd())
        KillTimer(hwnd(), timerId_);
    timerId_ = 0;
    if (delay == -1)
        return true;
    if (!hwnd())
        return false;
    timerId_ = SetTimer(hwnd(), 1, delay == 0 ? 1 : static_cast<UINT>(delay), nullptr);
    return timerId_ != 0;
}

AMessageResult AMdiFrame::handle(AMessage& m) {
    AWindowServices& services = AWindowServices::current();
    if (m.message == FrameworkMessage() && m.wParam == kFwRequest) {
        services.frameMessage(m.hwnd, m.message, m.wParam, m.lParam);
        return Handled(0);
    }
    switch (m.message) {
        case WM_DESTROY:
            setTimer(-1);
            break;
        case WM_TIMER:
            if (m.wParam == timerId_ && timerId_ != 0 && services.frameMessage(m.hwnd, m.message, m.wParam, m.lParam))
                return Handled(0);
            break;
        case WM_COMMAND:
            return onCommand(m);
        case WM_CLOSE:
            services.closeFrame();
            return Handled(0);
        case WM_SIZE:
            return onSize(m);
        case WM_INITMENU:
            return Handled(0);
        case WM_INITMENUPOPUP:
            initSystemItems();
            return Handled(0);
        case WM_ACTIVATEAPP: {
            bool changed = services.setActive(m.wParam != 0);
            SendMessageA(m.hwnd, WM_NCACTIVATE, m.wParam != 0, 0);
            AMdiChildShell* child = AMdiChildShell::activeChild();
            if (changed && child && child->hwnd())
                SendMessageA(child->hwnd(), WM_NCACTIVATE, m.wParam != 0, 0);
            break;
        }
        case WM_NCACTIVATE:
            if (!windows_.empty() && KeepCaptionActive())
                m.wParam = 1;
            break;
        case WM_ENABLE:
            enableWindows(m.wParam != 0);
            services.enableWindows(m.wParam != 0);
            SendMessageA(m.hwnd, WM_NCACTIVATE, m.wParam != 0, 0);
            break;
        case WM_QUERYENDSESSION:
            return Handled(services.queryEndSession());
        case WM_COMPACTING:
            services.lowMemory();
            break;
        case WM_SYSCOLORCHANGE:
            AGraphicDisplay::systemColorsChanged();
            break;
        case WM_QUERYNEWPALETTE:
            return Handled(queryPalette(m));
        case WM_PALETTECHANGED:
            BroadcastToChildren(m.hwnd, WM_PALETTECHANGED, m.wParam, m.lParam, 1);
            if (reinterpret_cast<HWND>(m.wParam) != m.hwnd) {
                if (APaletteTable* table = APaletteTable::active())
                    table->realize(owner(), true);
            }
            break;
        default:
            break;
    }
    return AWindowHandler::handle(m);
}

void AMdiFrame::initSystemItems() {
    AWindowServices& services = AWindowServices::current();
    AItemOwner* bar = services.menuBar();
    if (!bar || services.modalShowing())
        return;
    for (UINT command : {SC_CLOSE, SC_MOVE, SC_SIZE})
        bar->setItemState(static_cast<int16_t>(command), 1);
}

void AMdiFrame::registerWindow(AToolWindow* window) {
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end())
        windows_.push_back(window);
}

void AMdiFrame::unregisterWindow(AToolWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

void AMdiFrame::enableWindows(bool enable) {
    for (AToolWindow* window : windows_) {
        if (window->hwnd())
            EnableWindow(window->hwnd(), enable);
    }
}

// The active child, else the tool bar, chooses the palette; without either
// the application realises its own.
int32_t AMdiFrame::queryPalette(AMessage& m) {
    HWND asked = nullptr;
    AMdiChildShell* child = AMdiChildShell::activeChild();
    if (child && child->hwnd())
        asked = child->hwnd();
    else if (ADisplayComponent* bar = AWindowServices::current().toolBar())
        asked = bar->enclosingWindow();
    int32_t answer;
    if (asked) {
        answer = static_cast<int32_t>(SendMessageA(asked, WM_QUERYNEWPALETTE, 0, 0));
    } else {
        APaletteTable* table = APaletteTable::active();
        answer = table && table->realize(owner(), false) ? 1 : 0;
        asked = m.hwnd;
    }
    if (answer == 0)
        BroadcastToChildren(m.hwnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(asked), 0, 1);
    return answer;
}

AMessageResult AMdiFrame::onCommand(AMessage& m) {
    int16_t id = static_cast<int16_t>(LOWORD(m.wParam));
    HWND control = reinterpret_cast<HWND>(m.lParam);
    long answer;
    if (!control || !IsWindow(control)) {
        // MDI child activation ids (and negative ids) are the default frame procedure's.
        if (id < 0 || id > kLastMenuId)
            return NotHandled();
        answer = AWindowServices::current().menuCommand(id);
    } else {
        answer = AWindowServices::current().toolBarCommand(id);
    }
    return {static_cast<uint16_t>(answer != 0), 0};
}

void FrameLayout(long width, long height, long barWidth, long barHeight, ARect& bar, ARect& client) {
    if (barWidth < barHeight) {
        bar = ARect(0, 0, barWidth, height);
        client = ARect(barWidth, 0, width, height);
    } else {
        bar = ARect(0, 0, width, barHeight);
        client = ARect(0, barHeight, width, height);
    }
}

AMessageResult AMdiFrame::onSize(AMessage& m) {
    ADisplayComponent* toolBar = AWindowServices::current().toolBar();
    if ((m.wParam != SIZE_RESTORED && m.wParam != SIZE_MAXIMIZED) || !toolBar || !GetMdiClientWindow())
        return AWindowHandler::handle(m);
    const ARect& f = toolBar->getFrame();
    ARect bar, client;
    FrameLayout(LOWORD(m.lParam), HIWORD(m.lParam), f.second.x - f.first.x, f.second.y - f.first.y, bar, client);
    if (HWND barWindow = toolBar->getHWnd())
        MoveWindow(barWindow, bar.first.x, bar.first.y, bar.second.x - bar.first.x, bar.second.y - bar.first.y, TRUE);
    MoveWindow(GetMdiClientWindow(), client.first.x, client.first.y, client.second.x - client.first.x,
               client.second.y - client.first.y, TRUE);
    return Handled(0);
}

bool FillMinMaxInfo(MINMAXINFO* info, const long limits[4], const APoint& extra, const ARect& area) {
    bool emptyArea = area.second.x <= area.first.x || area.second.y <= area.first.y;
    if (!info || (!limits[0] && !limits[1] && !limits[2] && !limits[3] && emptyArea))
        return false;
    long l[4];
    for (int i = 0; i < 4; ++i)
        l[i] = limits[i] ? limits[i] + (i % 2 ? extra.y : extra.x) : 0;
    auto axis = [](long start, long extent, long max, LONG& size, LONG& position) {
        if (!max || max >= extent) {
            size = extent;
            position = start;
        } else {
            size = max;
            position = start + (extent - max) / 2;
        }
    };
    if (emptyArea) {
        if (l[2])
            info->ptMaxSize.x = l[2];
        if (l[3])
            info->ptMaxSize.y = l[3];
    } else {
        axis(area.first.x, area.second.x - area.first.x, l[2], info->ptMaxSize.x, info->ptMaxPosition.x);
        axis(area.first.y, area.second.y - area.first.y, l[3], info->ptMaxSize.y, info->ptMaxPosition.y);
    }
    if (l[0])
        info->ptMinTrackSize.x = l[0];
    if (l[1])
        info->ptMinTrackSize.y = l[1];
    if (l[2])
        info->ptMaxTrackSize.x = l[2];
    if (l[3])
        info->ptMaxTrackSize.y = l[3];
    return true;
}

AMessageResult AMdiFrame::onMinMaxInfo(AMessage& m) {
    long limits[4] = {0, 0, 0, 0};
    APoint extra;
    if (!AWindowServices::current().frameLimits(limits, extra))
        return AWindowHandler::handle(m);
    // The maximised frame's borders lie off the screen.
    long bx = GetSystemMetrics(SM_CXFRAME), by = GetSystemMetrics(SM_CYFRAME);
    ARect area(-bx, -by, GetSystemMetrics(SM_CXSCREEN) + bx, GetSystemMetrics(SM_CYSCREEN) + by);
    if (AWindowServices::current().hideMaximisedCaption())
        area.first.y -= GetSystemMetrics(SM_CYCAPTION);
    bool applied = FillMinMaxInfo(reinterpret_cast<MINMAXINFO*>(m.lParam), limits, extra, area);
    return {static_cast<uint16_t>(applied), 0};
}

namespace {

AMovieMessageHandler g_movieHandler = nullptr;

}  // namespace

void SetMovieMessageHandler(AMovieMessageHandler handler) {
    g_movieHandler = handler;
}

void PassMessageToMovie(void* controller, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_movieHandler)
        g_movieHandler(controller, window, message, wParam, lParam);
}

HWND AMdiClientNativeWindow::createWindow(HWND parent, const char*, DWORD style, const ARect& rect, int id) {
    CLIENTCREATESTRUCT ccs{windowMenu, firstChild};
    HWND made = CreateWindowExA(0, "MDICLIENT", nullptr, style & ~WS_BORDER, rect.first.x, rect.first.y,
                                rect.second.x - rect.first.x, rect.second.y - rect.first.y, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                                AWindowServices::current().instance(), &ccs);
    if (!made)
        return nullptr;
    defaultProc_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MdiClientProc)));
    attach(made);
    SetMdiClientWindow(made);
    return made;
}

HWND AMdiClientNativeWindow::parentWindow() {
    return GetFrameWindow();
}

AMdiClient::AMdiClient(AComponent* app, HMENU menu, UINT firstId, DWORD style, const ARect& rect, bool createNow)
    : AWindowHandler(app) {
    windowMenu = menu;
    firstChild = firstId;
    g_client = this;
    create(nullptr, style, rect, 0, createNow);
}

AMdiClient::~AMdiClient() {
    if (hwnd() && IsWindow(hwnd()))
        DestroyWindow(hwnd());
    if (g_client == this) {
        g_client = nullptr;
        SetMdiClientWindow(nullptr);
    }
}

HWND GetFrameWindow() {
    return g_frame ? g_frame->hwnd() : nullptr;
}

AMdiFrame* GetFrame() {
    return g_frame;
}

namespace {

void SendToClient(UINT message, long line) {
    HWND client = GetMdiClientWindow();
    if (!IsWindow(client))
        ThrowAssert("wxwins", line);
    SendMessageA(client, message, 0, 0);
}

}  // namespace

void MdiTile() {
    SendToClient(WM_MDITILE, 980);
}

void MdiCascade() {
    SendToClient(WM_MDICASCADE, 985);
}

void MdiArrangeIcons() {
    SendToClient(WM_MDIICONARRANGE, 990);
}
