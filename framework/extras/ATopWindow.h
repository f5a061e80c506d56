// A top-level window component on the window layer's shells: the base of the
// framework's small windows (wait box, popups) until windows are made from
// layouts. It owns its native window (an ATopLevelShell made when the
// component is attached, destroyed when it is detached) and hears the
// window's activation and its close request.
//
// The frame is in screen coordinates (the parent is the application).
#pragma once

#include "framework/display/ADisplayComponent.h"

class ATopLevelShell;

class ATopWindow : public ADisplayComponent {
public:
    // Window flag: a window without caption or border (a popup).
    enum : uint16_t { kPopup = 0x1000 };

    ~ATopWindow() override;

    void attachItems() override;
    void detachItems() override;
    ATopLevelShell* shell() const { return shell_; }
    // The MDI client's client area on the screen, else the whole screen.
    ARect getContainerRect() override;
    // Shows the native window, activated or not.
    void showWindow(bool activate);

    // The window was activated (on) or deactivated.
    virtual void activationChanged(bool on) { (void)on; }
    // The window's close box, Alt+F4 and the like: destroys nothing by itself.
    virtual void closeRequested() {}

protected:
    ATopWindow(AComponent* parent, const ARect& frame);

private:
    class Shell;
    ATopLevelShell* shell_;  // owned, while attached
};
