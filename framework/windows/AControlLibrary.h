// The optional control library "bwcc32.dll", which lies outside the system:
// its two default window procedures and its registration entry. Without it
// (always under Wine) the program runs with the standard look.
//
// load is asked by the frame when the application's look word has 0x8000;
// a missing library is told once ("Librairie introuvable") and not tried
// again; a missing entry point beeps. Process-wide, main thread only.
#pragma once

#include <windows.h>

class AControlLibrary {
public:
    // Loads the library (by name, on the program's search path) and calls its
    // registration entry with the instance; false when it is absent.
    static bool load(HINSTANCE instance);
    // Forgets the procedures and frees the library.
    static void unload();
    static bool loaded();
    // The library's default procedures for MDI children and other windows, or null.
    static WNDPROC mdiChildProc();
    static WNDPROC windowProc();
    // A new process-wide attempt: the next load tries again and may tell again.
    static void reset();
};
