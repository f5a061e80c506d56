// Remembers the window last found without a pending update, so that a scroll
// step need not ask again: GetUpdateRgn is a server round trip under Wine
// (about 40 microseconds, as much as the rest of a line step).
//
// A window's update region grows only through this thread's own calls or
// while the thread reads its messages. Whatever may do either calls touch():
// the message loop, the window procedure and the framework's invalidations
// do; a new current message (its time or position) or 50 ms passing counts
// as a touch too, for the loops that read messages on their own.
#pragma once

#include <windows.h>

#include <cstdint>

class AUpdateWatch {
public:
    static void touch() { ++epoch_; }
    // True when window was found clean and nothing was touched since.
    static bool knownClean(HWND window);
    // Window has no pending update now.
    static void markClean(HWND window);

private:
    static uint32_t epoch_;
};
