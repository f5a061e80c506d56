// Popup windows: one at a time (making a new one deletes the current one),
// gone through the command queue on close, on deactivation when asked, and
// for AClickInGoAway on any click in it.
//
// The current popup is process-wide; a popup's destructor forgets it. Its
// deletion is queued once (goAway); the queue drops the command when the
// popup is deleted before it runs.
#pragma once

#include "framework/app/AWindow.h"

class APopupWin : public AWindow {
    SV_DECLARE_CLASS(APopupWin)
public:
    APopupWin();
    // parent: the application; frame: the client area in screen coordinates.
    APopupWin(AComponent* parent, const ARect& frame, bool closeOnDeactivate);
    ~APopupWin() override;

    // Queues the window's deletion, once.
    void goAway();
    bool goingAway() const { return goingAway_ != 0; }
    bool closeOnDeactivate() const { return closeOnDeactivate_ != 0; }

    void activate(bool on) override;
    // The close box, Escape and the window's close command: goAway, and no change.
    ACommand* closeWindow() override;
    bool isClosable() override { return true; }

    static APopupWin* current() { return current_; }

private:
    void replaceCurrent();

    uint16_t goingAway_;
    uint16_t closeOnDeactivate_;

    static APopupWin* current_;  // not owned
};

class AClickInGoAway : public APopupWin {
    SV_DECLARE_CLASS(AClickInGoAway)
public:
    AClickInGoAway() = default;
    AClickInGoAway(AComponent* parent, const ARect& frame, bool closeOnDeactivate)
        : APopupWin(parent, frame, closeOnDeactivate) {}

    // Any click makes the window go away; the no-change command answers.
    ACommand* mouseDown(AMouseEvent& event) override;
};
