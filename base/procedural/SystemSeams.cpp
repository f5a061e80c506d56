// Default seams: the real Win32 calls.
#include "base/procedural/SystemSeams.h"

#include <windows.h>

#include <cstdlib>

#include "base/procedural/AOutStream.h"

namespace {

int DefaultMessageBox(void* owner, const char* text, const char* caption, unsigned flags) {
    // The run's log names every box shown: a run driven from outside reads
    // there what stopped it, an assertion or an error.
    CurrentErrorStream()
        .writeString("#Box ")
        .writeString(caption ? caption : "")
        .writeString(": ")
        .writeString(text ? text : "")
        .writeString("\n");
    // On disk before the box: the log's buffer would hold it until it fills.
    CurrentErrorStream().flushToDisk();
    return MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
}

void DefaultExit(int code) {
    ExitProcess(static_cast<UINT>(code));
}

uint32_t DefaultTickCount() {
    return GetTickCount();
}

SystemSeams g_seams = {DefaultMessageBox, DefaultExit, DefaultTickCount};

}  // namespace

SystemSeams& Seams() {
    return g_seams;
}

void ResetSeams() {
    g_seams = SystemSeams{DefaultMessageBox, DefaultExit, DefaultTickCount};
}

int SeamMessageBox(void* owner, const char* text, const char* caption, unsigned flags) {
    return g_seams.messageBox(owner, text, caption, flags);
}

void SeamExit(int code) {
    g_seams.exitProcess(code);
    // A hook that returns would let a fatal path go on: end for real.
    std::abort();
}

uint32_t SeamTickCount() {
    return g_seams.tickCount();
}
