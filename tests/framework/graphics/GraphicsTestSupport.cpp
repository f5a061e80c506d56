// Shared pieces of the graphics tests.
#include "tests/framework/graphics/GraphicsTestSupport.h"

#include <png.h>

#include <vector>

#include "framework/graphics/ATextStyle.h"
#include "tests/support/HostProgram.h"

SiteComponent::~SiteComponent() {
    delete env;
}

void SiteComponent::setEnv(ATextStyle* style) {
    delete env;
    env = style;
    if (env)
        env->attach(this, true);
}

void SiteComponent::note(const char* what, const ARegion& region) {
    ARect r = region.ownerBounds();
    calls += std::string(what) + " " + std::to_string(r.left()) + "," + std::to_string(r.top()) + "," +
             std::to_string(r.right()) + "," + std::to_string(r.bottom()) + " ";
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width, height};
    ::FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

int Canvas::inkIn(const ARect& r) const {
    int ink = 0;
    for (int y = r.top(); y < r.bottom(); ++y) {
        for (int x = r.left(); x < r.right(); ++x)
            ink += (pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    }
    return ink;
}

const ARegion* Everywhere() {
    static const ARegion everywhere(ARect(-30000, -30000, 30000, 30000));
    return &everywhere;
}

std::string ArtifactsFolder() {
    std::string folder = "Z:" SV_BINARY_DIR "/artifacts/";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string Canvas::savePng(const char* name) const {
    std::vector<unsigned char> rgb(static_cast<size_t>(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            COLORREF c = pixel(x, y);
            unsigned char* p = &rgb[(static_cast<size_t>(y) * width_ + x) * 3];
            p[0] = GetRValue(c);
            p[1] = GetGValue(c);
            p[2] = GetBValue(c);
        }
    }
    std::string path = ArtifactsFolder() + name + ".png";
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width_);
    image.height = static_cast<png_uint_32>(height_);
    image.format = PNG_FORMAT_RGB;
    png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
    return path;
}

namespace {

std::string ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(h);
    return text;
}

}  // namespace

std::string RunOnHost(const std::string& script) {
    static int serial = 0;
    std::string base = "/tmp/sv-graphics-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    // The output file appears under its final name only when the script has ended.
    std::string wrapped =
        "exec >" + base + ".part 2>/dev/null\n" + script + "\nmv " + base + ".part " + base + ".out\n";
    HANDLE f = CreateFileA(("Z:" + base + ".sh").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "";
    DWORD wrote = 0;
    WriteFile(f, wrapped.data(), static_cast<DWORD>(wrapped.size()), &wrote, nullptr);
    CloseHandle(f);
    std::string out;
    if (StartHostProgram("/bin/sh " + base + ".sh")) {
        for (int i = 0; i < 600; ++i) {
            if (GetFileAttributesA(("Z:" + base + ".out").c_str()) != INVALID_FILE_ATTRIBUTES) {
                out = ReadWholeFile("Z:" + base + ".out");
                break;
            }
            Sleep(100);
        }
    }
    for (const char* ext : {".sh", ".part", ".out"})
        DeleteFileA(("Z:" + base + ext).c_str());
    return out;
}

void GraphicsTest::TearDown() {
    ADisplayContext::Shutdown();
    FrameworkTest::TearDown();
}

SiteComponent* GraphicsTest::makeSite(AComponent* parent, int16_t id, const ARect& frame) {
    auto* site = new SiteComponent(parent, id, frame);
    AObject::completeNew(site);
    return site;
}

std::string Canvas::saveWindow(HWND window, const char* name, const std::function<void()>& flush) {
    RECT r;
    GetWindowRect(window, &r);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    for (int i = 0; i < 20; ++i) {
        if (flush)
            flush();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            DispatchMessageA(&msg);
        Sleep(10);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return saveScreen(ARect(r.left, r.top, r.right, r.bottom), name);
}

std::string Canvas::saveScreen(const ARect& area, const char* name) {
    Canvas canvas(area.width(), area.height());
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, area.width(), area.height(), screen, area.left(), area.top(), SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.savePng(name);
}
