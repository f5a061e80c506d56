// The application's MDI frame window and its MDI client.
//
// The frame routes its messages to the application (through AWindowServices):
// menu and accelerator ids 0..29999 to the menu bar's table, control commands
// to the tool bar's, the start request and its timer to the application;
// MDI child ids from 30000 stay with the default frame procedure. One frame
// and one client per process; each object is deleted as one with its window.
#pragma once

#include <vector>

#include "framework/windows/AWindowHandler.h"

class AToolWindow;

class AFrameNativeWindow : public APlainNativeWindow {
public:
    AWindowClass* windowClass() override;
};

class AMdiFrame : public AWindowHandler, public AFrameNativeWindow {
public:
    enum : int16_t { kLastMenuId = 29999, kFirstChildId = 30000 };
    // app: not owned, never null. menu: owned by the window once created.
    AMdiFrame(AComponent* app, const char* title, DWORD style, const ARect& rect, HMENU menu, bool createNow);
    ~AMdiFrame() override;

    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    using ANativeWindow::hwnd;
    AMessageResult handle(AMessage& message) override;

    void showFrame(int showCommand);
    // Arms the frame timer (id 1) in ms, 0 as 1; -1 only kills it. True when armed (always for -1).
    bool setTimer(long delay);
    UINT_PTR timerId() const { return timerId_; }
    // The tool windows (not owned) the frame enables with itself and keeps its caption active for.
    void registerWindow(AToolWindow* window);
    void unregisterWindow(AToolWindow* window);
    bool hasToolWindows() const { return !windows_.empty(); }
    void enableWindows(bool enable);

private:
    AMessageResult onCommand(AMessage& message);
    AMessageResult onSize(AMessage& message);
    AMessageResult onMinMaxInfo(AMessage& message);
    int32_t queryPalette(AMessage& message);
    // The menu bar's close, move and size items are on unless a modal window shows.
    void initSystemItems();

    std::vector<AToolWindow*> windows_;  // not owned
    UINT_PTR timerId_ = 0;
};

// The tool bar and MDI client rectangles (left, top, right, bottom) for a
// client area of W x H: a bar narrower than tall stands at the left at full height.
void FrameLayout(long width, long height, long barWidth, long barHeight, ARect& bar, ARect& client);

// The size rule: limits are min width, min height, max width, max height (0:
// none), each non-zero one grown by extra; a max smaller than the area is
// centred in it. False when not applied (no info, or no limit and no area).
bool FillMinMaxInfo(MINMAXINFO* info, const long limits[4], const APoint& extra, const ARect& area);

// Messages for a movie controller go to the handler the movie layer installs; none: dropped.
using AMovieMessageHandler = void (*)(void* controller, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetMovieMessageHandler(AMovieMessageHandler handler);
void PassMessageToMovie(void* controller, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class AMdiClientNativeWindow : public ANativeWindow {
public:
    HWND createWindow(HWND parent, const char* className, DWORD style, const ARect& rect, int id) override;
    AWindowClass* windowClass() override { return nullptr; }
    const char* className() override { return "MDICLIENT"; }
    HWND parentWindow() override;
    int childId() override { return 1; }

    HMENU windowMenu = nullptr;
    UINT firstChild = AMdiFrame::kFirstChildId;
};

class AMdiClient : public AWindowHandler, public AMdiClientNativeWindow {
public:
    // frame: not owned; windowMenu: the menu the child list goes to, or null.
    AMdiClient(AComponent* app, HMENU menu, UINT firstId, DWORD style, const ARect& rect, bool createNow);
    ~AMdiClient() override;
    using ANativeWindow::hwnd;
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
};

// The frame window (null when none), tile, cascade and arrange of the MDI children.
HWND GetFrameWindow();
AMdiFrame* GetFrame();
void MdiTile();
void MdiCascade();
void MdiArrangeIcons();
