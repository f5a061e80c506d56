// What a window shell asks of the window component it shows, beyond the
// display component: its menu object, its own action table, closing, the
// size limits and activation. A component without it gets the shell's
// plain behaviour.
#pragma once

#include <cstdint>

#include "base/object/ARect.h"

class AItemOwner;

class AShellClient {
public:
    virtual ~AShellClient() = default;
    // The window's menu object (system commands), or null; not owned.
    virtual AItemOwner* shellMenu() = 0;
    // The window's own action table (codes 1 OK, 2 cancel), or null; not owned.
    virtual AItemOwner* shellTable() = 0;
    // True when the window agrees to close without asking.
    virtual bool shellMayClose() = 0;
    // Runs the window's close (the command it answers is performed).
    virtual void shellClose() = 0;
    virtual void shellActivate(bool on) = 0;
    // Sizable windows get the size limits and the maximise emulation.
    virtual bool shellSizable() = 0;
    // Min width, min height, max width, max height (0: none), and the border allowance.
    virtual void shellLimits(long limits[4], APoint& extra) = 0;
    // 0: a mouse click activates at once (MA_ACTIVATE).
    virtual uint16_t shellMouseActivate() = 0;
    // WM_USER's answer: the current item's id OR 0x534B0000 when that item is on, else 0.
    virtual long shellCurrentItem() { return 0; }
    // The window got the keyboard focus: it passes it on to its focus item.
    virtual void shellFocused() {}
    // The window asks for the optional control library's look.
    virtual bool shellControlLook() { return false; }
};
