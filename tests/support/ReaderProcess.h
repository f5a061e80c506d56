// The real reader started as its own process on the sample, and the hand
// that drives it: the pointer and keys through SendInput, as a user gives them.
#pragma once

#include <windows.h>

#include <string>

class ReaderProcess {
public:
    // Starts BINARY_DIR/reader/savantorium.exe in BINARY_DIR/sample;
    // false when the sample is not built (`why` says so) or the start fails.
    bool start(const std::string& binaryDir, std::string* why);
    ~ReaderProcess();
    DWORD id() const { return info_.dwProcessId; }
    // A visible top-level window of the reader of that class, waiting up to `ms`.
    HWND waitForWindow(const char* className, int ms) const;
    // The main window, waiting up to `ms` for it, put back over the whole
    // screen if it no longer covers it: with no window manager on the test's
    // display, Wine can take a late notice of the X window as the manager's
    // and shrink the maximised frame, and the tests' points were measured on
    // the maximised one.
    HWND frameOverScreen(int ms) const;

private:
    PROCESS_INFORMATION info_{};
};

// The pointer moved to a screen point and left resting there.
void RestAt(int x, int y);
// A click of the left button at a screen point.
void ClickAt(int x, int y);
void PressKey(WORD key);
