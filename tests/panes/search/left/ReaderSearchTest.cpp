// The real reader on the sample encyclopedia: the search "calque" typed into
// the quick search field and sent with Return; the main window's picture then
// shows the left dock's refinement rows and the disc list with its count.
// Skipped when the sample (tools/sample/build.sh) is not built.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "tests/support/HostProgram.h"

namespace {

std::string SampleFolder() {
    return std::string("Z:") + SV_BINARY_DIR + "/sample";
}

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
    if (pid == s->pid && !std::strcmp(name, s->className) && IsWindowVisible(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForTop(DWORD pid, const char* className) {
    for (int i = 0; i < 600; ++i) {
        Search s = {pid, className, nullptr};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(50);
    }
    return nullptr;
}

// The picture of the whole screen under build/artifacts, through ImageMagick's import.
bool TakePicture(const std::string& name) {
    std::string path = std::string(SV_BINARY_DIR) + "/artifacts/" + name;
    std::string command = "/bin/sh -c \"mkdir -p " + std::string(SV_BINARY_DIR) + "/artifacts && import -window root png:" +
                          path + ".part && mv " + path + ".part " + path + "\"";
    DeleteFileA(("Z:" + path).c_str());
    if (!StartHostProgram(command))
        return false;
    for (int i = 0; i < 300; ++i) {
        if (GetFileAttributesA(("Z:" + path).c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(100);
    }
    return false;
}

// A click of the left button at a screen point, as the reader's hand gives it.
void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    Sleep(200);
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

}  // namespace

TEST(ReaderSearchTest, TheSearchCalqueFillsTheLeftDockOfTheRealReader) {
    std::string folder = SampleFolder();
    if (GetFileAttributesA((folder + "/sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
    std::string reader = std::string("Z:") + SV_BINARY_DIR + "/app/main/savantorium.exe";
    std::string line = "\"" + reader + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
    CloseHandle(pi.hThread);
    HWND frame = WaitForTop(pi.dwProcessId, "KY_MDIFrameWindow");
    EXPECT_TRUE(frame);
    Sleep(3000);
    // The reader opens on its home screen: the search-mode button's first entry is the search screen.
    // (The main window sits at the screen's top left under Xvfb: its tool
    // bar's second button is at 65, 43.)
    ClickAt(65, 43);
    TakePicture("reader-search-menu.png");
    // Its first entry is marked: Return chooses it.
    PressKey(VK_RETURN);
    Sleep(1500);
    // The quick search field sits at the left of the top dock (75, 79) with its
    // button beside it (186, 79): click, type, Return, and the button.
    ClickAt(75, 79);
    for (const char* c = "calque"; *c; ++c)
        PressKey(static_cast<WORD>(VkKeyScanA(*c) & 0xFF));
    PressKey(VK_RETURN);
    Sleep(3000);
    ClickAt(186, 79);
    Sleep(6000);
    EXPECT_TRUE(TakePicture("reader-search-calque.png"));
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
}
