#include "tests/support/ReaderProcess.h"

#include <cstring>

namespace {

struct Search {
    DWORD pid;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid == s->pid && !_stricmp(name, s->className) && IsWindowVisible(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool ReaderProcess::start(const std::string& binaryDir, std::string* why) {
    std::string folder = "Z:" + binaryDir + "/sample";
    if (GetFileAttributesA((folder + "/sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES) {
        *why = "no sample: tools/sample/build.sh builds it";
        return false;
    }
    std::string line = "\"Z:" + binaryDir + "/reader/savantorium.exe\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &info_)) {
        *why = "the reader did not start";
        return false;
    }
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    return true;
}

ReaderProcess::~ReaderProcess() {
    if (!info_.hProcess)
        return;
    TerminateProcess(info_.hProcess, 9);
    WaitForSingleObject(info_.hProcess, 30000);
    CloseHandle(info_.hProcess);
}

HWND ReaderProcess::waitForWindow(const char* className, int ms) const {
    for (int waited = 0;; waited += 50) {
        Search s = {info_.dwProcessId, className, nullptr};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
        if (s.found || waited >= ms)
            return s.found;
        Sleep(50);
    }
}

HWND ReaderProcess::frameOverScreen(int ms) const {
    HWND frame = waitForWindow("KY_MDIFrameWindow", ms);
    if (!frame)
        return nullptr;
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    for (int tries = 0; tries < 25; ++tries) {
        RECT r = {};
        GetWindowRect(frame, &r);
        if (r.left <= 0 && r.top <= 0 && r.right >= cx && r.bottom >= cy)
            break;
        if (!IsZoomed(frame)) {
            ShowWindow(frame, SW_MAXIMIZE);
        } else {
            const int bx = GetSystemMetrics(SM_CXFRAME), by = GetSystemMetrics(SM_CYFRAME);
            SetWindowPos(frame, nullptr, -bx, -by, cx + 2 * bx, cy + 2 * by, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Sleep(200);
    }
    return frame;
}

void RestAt(int x, int y) {
    SetCursorPos(x, y);
    // A move event, as a hand gives it: the reader's hover timer starts on it.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(INPUT));
    Sleep(200);
}

void ClickAt(int x, int y) {
    RestAt(x, y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(150);
    SendInput(1, &input[1], sizeof(INPUT));
    Sleep(800);
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(100);
}
