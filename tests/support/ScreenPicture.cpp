// The screen picture of the window tests.
#include "tests/support/ScreenPicture.h"

#include <windows.h>

#include "tests/support/HostProgram.h"

void TakeScreenPicture(const std::string& binaryDir, const std::string& name) {
    std::string path = binaryDir + "/artifacts/" + name;
    std::string command = "/bin/sh -c \"mkdir -p " + binaryDir + "/artifacts && import -window root png:" + path +
                          ".part && mv " + path + ".part " + path + "\"";
    std::string dosPath = "Z:" + path;
    DeleteFileA(dosPath.c_str());
    if (!StartHostProgram(command))
        return;
    for (int i = 0; i < 300 && GetFileAttributesA(dosPath.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
}

std::vector<uint32_t> ScreenPixels(const RECT& area, HWND window) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    std::vector<uint32_t> out;
    if (w <= 0 || h <= 0)
        return out;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    out.assign(p, p + static_cast<size_t>(w) * static_cast<size_t>(h));
    for (uint32_t& c : out)
        c &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    return out;
}
