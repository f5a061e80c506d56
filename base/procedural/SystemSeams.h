// The few calls through which the program meets the reader or ends: message
// boxes, the process exit and the clock. Tests replace them so that nothing
// blocks on a modal box and a fatal end can be observed.
#pragma once

#include <cstdint>

struct SystemSeams {
    // MessageBoxA's contract: owner window (HWND) or null, text, caption, MB_ flags; answers the button.
    int (*messageBox)(void* owner, const char* text, const char* caption, unsigned flags);
    // Ends the process with a code. A test hook may throw instead; it must not return.
    void (*exitProcess)(int code);
    // Milliseconds, as GetTickCount.
    uint32_t (*tickCount)();
};

// The current seams; the defaults call MessageBoxA, ExitProcess and GetTickCount.
SystemSeams& Seams();
// Puts back the defaults.
void ResetSeams();

int SeamMessageBox(void* owner, const char* text, const char* caption, unsigned flags);
[[noreturn]] void SeamExit(int code);
uint32_t SeamTickCount();
