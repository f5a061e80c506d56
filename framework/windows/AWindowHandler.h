// The handler side every framework window shares: the framework message
// (component lookup, control notifications), control commands, keys and
// characters to the command target; and the mouse
// wheel's translation for windows that show a display component.
#pragma once

#include "framework/windows/ANativeWindow.h"

class ADisplayComponent;

class AWindowHandler : public AWindowLink {
public:
    using AWindowLink::AWindowLink;
    AMessageResult handle(AMessage& message) override;

private:
    AMessageResult onKey(AMessage& message, uint16_t key, uint16_t character, uint16_t down, bool afterFocus);
};

// What a wheel message scrolls: kind 0 line up, 1 line down, 2 page up, 3 page down.
struct AWheelScroll {
    bool scrolls;  // false: a modifier key is down and the message goes on unchanged
    int kind;
    int count;
};
// WM_MOUSEWHEEL's wParam with the scroll-lines setting (-1: by pages).
AWheelScroll WheelScroll(WPARAM wParam, int lines);
// A message of the old drivers' registered wheel message becomes WM_MOUSEWHEEL
// (modifiers from the key state); registered 0 means none: false.
bool ConvertWheelMessage(const AMessage& in, UINT registered, bool control, bool shift, AMessage& out);
// "MSWHEEL_ROLLMSG" where the system's version calls for it, else 0.
UINT RegisteredWheelMessage();
// The scroll-lines setting, read again when reread is set: an old wheel
// driver's window answers first; systems before version 4 keep it in the
// registry; -1 scrolls by pages.
int GetWheelScrollLines(bool reread);
// The old systems' "WheelScrollLines" of the desktop key; 3 when absent or not a number.
int WheelLinesFromRegistry();

// A handler for a window that shows a display component: paints it, turns
// the wheel into its wheel entry and follows its window's moves.
class ADisplayWindowHandler : public AWindowHandler {
public:
    // display: not owned, never null; the same object as the owner.
    explicit ADisplayWindowHandler(ADisplayComponent* display);
    AMessageResult handle(AMessage& message) override;
    ADisplayComponent* display() const { return display_; }

protected:
    // Draws the update region under a paint lock; handled, 0.
    AMessageResult paint(AMessage& message);

private:
    AMessageResult onSetFocus(AMessage& message);
    AMessageResult onKillFocus(AMessage& message);
    void followWindow(const WINDOWPOS& pos, HWND window);

    ADisplayComponent* display_;  // not owned
};
