// The windows behind framework window components: MDI children inside the
// frame's MDI client and separate top-level windows, with the chain of modal
// top-level windows.
//
// A shell never owns its window component (an ADisplayComponent, never null);
// the component's native window is set while the window lives. A modal
// window hidden or destroyed leaves the modal chain first, re-enabling what
// it disabled. Broken invariants are assertions ("wxframes").
#pragma once

#include "framework/windows/AWindowHandler.h"

class AMdiFrame;

class AShellClient;

class AWindowShell : public ADisplayWindowHandler {
public:
    explicit AWindowShell(ADisplayComponent* window);
    AMessageResult handle(AMessage& message) override;
    virtual void show(bool activate) = 0;
    virtual void activate() = 0;
    virtual void hide() = 0;
    // The outer rectangle around a client area of width x height at (0, 0).
    virtual ARect frameRectFromClient(const ARect& client);
    ADisplayComponent* window() const { return display(); }
    // The window component's shell side, or null.
    AShellClient* client() const;

    // The window asks for the control library's look and the library is loaded.
    bool controlLook() const;
    bool zoomed() const { return zoomed_ != 0; }
    bool maximized() const { return maximized_ != 0; }

protected:
    // The maximise emulation for windows with size limits (WM_SYSCOMMAND).
    AMessageResult onSysCommand(AMessage& message);
    AMessageResult onCommand(AMessage& message);
    AMessageResult onMinMaxInfo(AMessage& message);
    // The size rule for the window's limits; false when it does not apply.
    bool sizeRule(MINMAXINFO& info);
    void updateMenu();
    // Before the system menu opens: close when the window may close, move, size when sizable.
    void initSystemItems(AShellClient& client);

private:
    int32_t lastHit_ = HTCLIENT;
    uint16_t zoomed_ = 0;
    ARect savedRect_;
    uint16_t maximized_ = 0;
};

class AMdiChildNativeWindow : public ANativeWindow {
public:
    ~AMdiChildNativeWindow() override;
    HWND createWindow(HWND parent, const char* className, DWORD style, const ARect& rect, int id) override;
    AWindowClass* windowClass() override;
    WNDPROC windowProcedure() override { return MdiChildWindowProc; }
    HWND parentWindow() override { return GetMdiClientWindow(); }

protected:
    // WM_MDIDESTROY to the client while the window lives.
    void destroyChild();
};

class AMdiChildShell : public AWindowShell, public AMdiChildNativeWindow {
public:
    AMdiChildShell(ADisplayComponent* window, const char* title, DWORD style, const ARect& rect, bool createNow);
    ~AMdiChildShell() override;
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    using ANativeWindow::hwnd;
    AMessageResult handle(AMessage& message) override;
    void show(bool activate) override;
    void activate() override;
    void hide() override;
    ARect frameRectFromClient(const ARect& client) override;
    AWindowClass* windowClass() override;

    // The shell of the active MDI child, or null.
    static AMdiChildShell* activeChild();
};

class ATopLevelShell : public AWindowShell, public APlainNativeWindow {
public:
    // parent: the owner window, or null; modal: shown windows join the modal chain.
    ATopLevelShell(ADisplayComponent* window, HWND parent, const char* title, DWORD style, const ARect& rect,
                   bool modal, bool createNow);
    ~ATopLevelShell() override;
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    HWND parentWindow() override { return parent_; }
    AWindowClass* windowClass() override;
    using ANativeWindow::hwnd;
    AMessageResult handle(AMessage& message) override;
    void show(bool activate) override;
    void activate() override;
    void hide() override;

    void beginModal();
    void endModal();
    bool modal() const { return modal_ != 0; }
    static ATopLevelShell* topModal();
    ATopLevelShell* nextModal() const { return nextModal_; }

private:
    HWND parent_;
    uint16_t modalOption_;
    uint16_t modal_ = 0;
    ATopLevelShell* nextModal_ = nullptr;  // not owned: the one below in the chain
};

// The MDI children's window components in z-order after (before) window; null
// starts at the first (last) child. Null past the end or for a window outside
// the MDI client; children without a framework component are passed over.
ADisplayComponent* NextMdiWindow(HWND window);
ADisplayComponent* PreviousMdiWindow(HWND window);
// With null, the top modal window's component; else the component of the
// modal window below the one that holds component (null at the bottom or when none does).
ADisplayComponent* ModalWindowAfter(AComponent* component);
