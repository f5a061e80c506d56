// What the window layer needs of the application object: its instance, its
// message box, its share of the frame's messages, the menu bar and tool bar
// tables that menu, accelerator and tool-bar commands go to, and the tool bar.
//
// One instance is current: the one the application installs (not owned),
// else a default kept here that works without an application.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"

class ADisplayComponent;
class AItemOwner;

class AWindowServices {
public:
    AWindowServices() = default;
    virtual ~AWindowServices();
    AWindowServices(const AWindowServices&) = delete;
    AWindowServices& operator=(const AWindowServices&) = delete;

    static AWindowServices& current();
    // Makes services current (not owned); null restores the default.
    static void install(AWindowServices* services);

    virtual HINSTANCE instance() { return GetModuleHandleA(nullptr); }
    // Through the message-box seam, owned by the frame when there is one.
    virtual int messageBox(const char* text, const char* caption, unsigned flags);
    // The frame's messages the application answers itself (start request,
    // its timer); true when handled.
    virtual bool frameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A menu or accelerator id (0..29999), a tool-bar id: the dispatch's answer, 0 when nothing ran.
    virtual long menuCommand(int16_t id);
    virtual long toolBarCommand(int16_t id);
    // WM_CLOSE of the frame: the menu bar's close item, else the application's close command.
    virtual void closeFrame();
    // The application's menu bar (not owned), or null.
    virtual AItemOwner* menuBar();
    // A modal window is showing: the frame's system items are left alone.
    virtual bool modalShowing();
    // The frame's size limits (see FillMinMaxInfo) and border allowance; false: none.
    virtual bool frameLimits(long limits[4], APoint& extra) {
        (void)limits;
        (void)extra;
        return false;
    }
    // The maximised frame's caption lies off the screen too.
    virtual bool hideMaximisedCaption() { return false; }
    // The application became active or inactive; true when that changed.
    virtual bool setActive(bool active) {
        bool changed = active != active_;
        active_ = active;
        return changed;
    }
    bool active() const { return active_; }
    // The frame was enabled or disabled: the application's other windows follow.
    virtual void enableWindows(bool enable) { (void)enable; }
    // A tool window was clicked while the application was inactive: bring the frame forward.
    virtual void activateFrame();
    // The session ends: non-zero lets it.
    virtual long queryEndSession() { return 1; }
    // WM_COMPACTING of the frame: the system runs short of memory.
    virtual void lowMemory() {}
    // The frame's tool bar (not owned), or null.
    virtual ADisplayComponent* toolBar() { return nullptr; }

private:
    bool active_ = false;
};
