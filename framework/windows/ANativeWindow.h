// The lowest window layer: one Win32 window bound to a native side
// (ANativeWindow: the handle, its class, creation and the exception guard)
// and a handler side (AWindowLink: the owning component and its messages).
//
// A combined window object derives from both and is deleted as one; deleting
// it destroys a window still alive and releases its class once. The last 4
// extra bytes of every framework window hold its ANativeWindow. No exception
// leaves a window procedure: an AError is offered with Retry and Cancel, any
// other shows "Unknown exception in Window Procedure"; both quit with -1
// unless Retry. Broken invariants are assertions ("wxwins").
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>

#include "base/object/ARect.h"

class AComponent;
class AWindowClass;
class ANativeWindow;

// One Win32 message as handed to window handlers (field order fixed).
struct AMessage {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};

struct AMessageResult {
    uint16_t handled;  // 1: result is the answer to Windows
    int32_t result;
};
inline AMessageResult Handled(int32_t result) {
    return {1, result};
}
inline AMessageResult NotHandled() {
    return {0, 0};
}

class AWindowLink {
public:
    // owner: not owned, never null.
    explicit AWindowLink(AComponent* owner);
    virtual ~AWindowLink() = default;
    AWindowLink(const AWindowLink&) = delete;
    AWindowLink& operator=(const AWindowLink&) = delete;

    virtual ANativeWindow* nativeWindow() { return nullptr; }
    ANativeWindow* requireNativeWindow();
    virtual AMessageResult handle(AMessage& message) {
        (void)message;
        return NotHandled();
    }
    // A control notification (low word of the framework message's lParam).
    virtual int32_t notify(uint16_t code) {
        (void)code;
        return 0;
    }

    AComponent* owner() const { return owner_; }
    HWND hwnd() const { return hwnd_; }
    void setHwnd(HWND hwnd) { hwnd_ = hwnd; }

private:
    AComponent* owner_;  // not owned
    HWND hwnd_ = nullptr;
};

class ANativeWindow {
public:
    ANativeWindow() = default;
    virtual ~ANativeWindow();
    ANativeWindow(const ANativeWindow&) = delete;
    ANativeWindow& operator=(const ANativeWindow&) = delete;

    // The guarded dispatch: handlers, then the default procedure.
    LRESULT handleMessage(AMessage& message);
    LRESULT callDefault(const AMessage& message);
    virtual AMessageResult dispatch(AMessage& message);
    virtual AWindowLink* link() { return nullptr; }

    // Creates the window (only with createNow set); the class is registered on first use.
    void create(const char* title, DWORD style, const ARect& rect, int id, bool createNow);
    virtual HWND parentWindow();
    virtual int childId() { return 0; }
    virtual HWND createWindow(HWND parent, const char* className, DWORD style, const ARect& rect, int id) = 0;
    virtual WNDPROC windowProcedure();
    virtual AWindowClass* windowClass() = 0;
    // Registers the class on first use; MDICLIENT answers without registering.
    virtual const char* className();

    // Components offered the messages that no handler took, in address order (not owned).
    void addFilter(AComponent* filter) { filters_.insert(filter); }
    void removeFilter(AComponent* filter) { filters_.erase(filter); }

    void setTitle(const char* title);
    void show();
    void hide();

    HWND hwnd() const { return hwnd_; }
    void attach(HWND hwnd);
    void detach() { attach(nullptr); }
    void setTopLevel(bool on) { topLevel_ = on ? 1 : 0; }
    bool topLevel() const { return topLevel_ != 0; }

protected:
    WNDPROC defaultProc_ = nullptr;
    AWindowClass* class_ = nullptr;  // not owned: registered once by this object

private:
    uint16_t topLevel_ = 0;
    HWND hwnd_ = nullptr;
    std::set<AComponent*> filters_;
};

// A window of "KY_Window" (or another class of its own) made by CreateWindowExA.
class APlainNativeWindow : public ANativeWindow {
public:
    HWND createWindow(HWND parent, const char* className, DWORD style, const ARect& rect, int id) override;
    AWindowClass* windowClass() override;
};

// The procedures every framework class is registered with.
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MdiChildWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The common dispatch with the object a WM_NCCREATE names (null otherwise).
LRESULT CommonDispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, ANativeWindow* named);
// The object the next created window attaches to; set just before each create call.
void SetPendingWindow(ANativeWindow* window);
ANativeWindow* PendingWindow();
// The ANativeWindow of a framework window, or null.
ANativeWindow* NativeWindowOf(HWND hwnd);

// "KY Media Framework Message", registered once per process.
UINT FrameworkMessage();
enum : WPARAM { kFwNotify = 1, kFwLookup = 2, kFwRequest = 3 };
// The owner of a framework window; null for another, a null or a dead handle.
AComponent* ComponentFromWindow(HWND hwnd);
// True when the keyboard focus may go to hwnd: a live window of this thread
// whose top-level window is the foreground one. A message box, a common
// dialog or another program in front keeps its focus.
bool MayTakeFocus(HWND hwnd);
// SetFocus(hwnd) when MayTakeFocus and it has not the focus yet.
void MoveFocusTo(HWND hwnd);
// Written by the handler that answers the lookup.
void SetLookupAnswer(AComponent* component);
// Sends to every child in z-order, and down depth more levels.
void BroadcastToChildren(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, int depth);
// Set by the main loop while TranslateAcceleratorA runs: a command that an
// accelerator table makes goes to the application's menu bar.
void SetTranslatingAccelerator(bool on);
bool TranslatingAccelerator();
HWND GetMdiClientWindow();
void SetMdiClientWindow(HWND hwnd);
