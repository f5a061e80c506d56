// A stand-in for the optional control library, built for the tests only and
// never installed with the program: its two default procedures count what
// they see and paint the windows they serve in one grey, and its
// registration entry registers the library's control classes.
#include <windows.h>

#include <initializer_list>

namespace {

long g_calls = 0;
long g_paints = 0;
long g_registered = 0;

const COLORREF kGrey = RGB(192, 192, 192);

LRESULT Serve(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool mdiChild) {
    ++g_calls;
    if (message == WM_PAINT) {
        ++g_paints;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(kGrey);
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return mdiChild ? DefMDIChildProcA(hwnd, message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT WINAPI BWCCDefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Serve(hwnd, message, wParam, lParam, false);
}

__declspec(dllexport) LRESULT WINAPI BWCCDefMDIChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Serve(hwnd, message, wParam, lParam, true);
}

// Counts its calls; a class left from an earlier load stays registered.
__declspec(dllexport) BOOL WINAPI BWCCRegister(HINSTANCE) {
    ++g_registered;
    for (const char* name : {"BorBtn", "BorRadio", "BorCheck"}) {
        WNDCLASSA wc{};
        if (GetClassInfoA(nullptr, "BUTTON", &wc)) {
            wc.lpszClassName = name;
            wc.hInstance = GetModuleHandleA("bwcc32.dll");
            wc.style |= CS_GLOBALCLASS;
            RegisterClassA(&wc);
        }
    }
    return TRUE;
}

// The tests' window on what the library saw.
__declspec(dllexport) void WINAPI TestLibraryCounts(long* calls, long* paints, long* registered) {
    *calls = g_calls;
    *paints = g_paints;
    *registered = g_registered;
}
}
