// The program the launcher tests start: writes its current folder into the
// file named by its first argument, then (built as a window program) shows a
// window of class "SvLaunchProbe" and runs its message loop until a timer
// message (the test posts one; its own comes after 30 s, long enough for a
// loaded machine to look for the window), or (built as a console program)
// ends at once.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void WriteFolder(const char* file) {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    if (FILE* f = std::fopen(file, "wb")) {
        std::fputs(folder, f);
        std::fclose(f);
    }
}

}  // namespace

int ProbeMain(int argc, char** argv) {
    if (argc < 2)
        return 2;
    WriteFolder(argv[1]);
#ifdef SV_PROBE_WINDOW
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "SvLaunchProbe";
    RegisterClassA(&cls);
    HWND window = CreateWindowA("SvLaunchProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                cls.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetTimer(nullptr, 0, 30000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageA(&msg);
    }
#endif
    return 0;
}

#ifdef SV_PROBE_WINDOW
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return ProbeMain(__argc, __argv);
}
#else
int main(int argc, char** argv) {
    return ProbeMain(argc, argv);
}
#endif
