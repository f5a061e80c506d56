// The stand-in's plug-in: a child window of the page that draws the current
// frame picture and turns a click on a hotspot into a notification on the
// application's topic, as the real movie's script did.
#include "platform/flashmovie/FlashMovie.h"

#include <windows.h>

#include <png.h>

#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>

#include "platform/webrt/nsBrowser.h"
#include "platform/webrt/nsComponents.h"
#include "platform/webrt/nsInterfaces.h"
#include "platform/webrt/nsStrings.h"

namespace {

const char kClassName[] = "SVFlashStandIn";
const char kTopic[] = "KYTOPIC";

// "file:///C:/a%20b/m.swf" -> "C:\a b\m.swf"; empty for any other scheme.
std::string PathOfFileUrl(const std::string& url) {
    if (url.size() < 8 || _strnicmp(url.c_str(), "file:///", 8) != 0)
        return std::string();
    std::string path;
    for (size_t i = 8; i < url.size(); ++i) {
        char c = url[i];
        if (c == '%' && i + 2 < url.size() && isxdigit((unsigned char)url[i + 1]) &&
            isxdigit((unsigned char)url[i + 2])) {
            path += static_cast<char>(std::strtol(url.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            path += c == '/' ? '\\' : c;
        }
    }
    return path;
}

bool ReadFileText(const std::string& path, std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size < (1u << 20);
    if (ok) {
        text.resize(size);
        DWORD got = 0;
        ok = size == 0 || (ReadFile(file, &text[0], size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    return ok;
}

HBITMAP FinishPng(png_image& image);

// A PNG file as a top-down 32-bit DIB section, or null.
HBITMAP LoadPng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return nullptr;
    return FinishPng(image);
}

// The same from a picture written in the movie.
HBITMAP LoadPngData(const std::string& data) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size()))
        return nullptr;
    return FinishPng(image);
}

HBITMAP FinishPng(png_image& image) {
    image.format = PNG_FORMAT_BGRA;
    if (image.width < 1 || image.height < 1 || image.width > 8192 || image.height > 8192) {
        png_image_free(&image);
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(image.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(image.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        png_image_free(&image);
        return nullptr;
    }
    // White behind transparent pixels, as the page's background.
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, bits, 0, nullptr)) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

class FlashStandIn : public nsSupportsImpl<nsIPluginInstance> {
public:
    ~FlashStandIn() override { Stop(); }

    nsresult Start(void* parent, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy, const char* src) override {
        std::string path = PathOfFileUrl(src ? src : "");
        std::string text, error;
        if (path.empty() || !ReadFileText(path, text) || !movie_.read(text, error))
            return NS_ERROR_FAILURE;
        std::string folder = path.substr(0, path.find_last_of('\\') + 1);
        for (const FlashFrame& frame : movie_.frames()) {
            std::string picture = frame.picture;
            for (char& c : picture)
                c = c == '/' ? '\\' : c;
            pictures_.push_back(frame.data.empty() ? LoadPng(folder + picture) : LoadPngData(frame.data));
        }
        // A size of 0 (the template left it to the movie): the movie's own.
        if (cx <= 0 || cy <= 0) {
            cx = movie_.width();
            cy = movie_.height();
        }
        registerClass();
        hwnd_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, x, y, cx, cy,
                                static_cast<HWND>(parent), nullptr, GetModuleHandleA(nullptr), this);
        return hwnd_ ? NS_OK : NS_ERROR_FAILURE;
    }

    nsresult Call(const char* function, const std::vector<std::string>& arguments) override {
        lastCall_ = std::string(function ? function : "") + "(";
        for (size_t i = 0; i < arguments.size(); ++i)
            lastCall_ += (i ? "," : "") + arguments[i];
        lastCall_ += ")";
        if (!playback_.call(function ? function : "", arguments))
            return NS_ERROR_INVALID_ARG;
        if (hwnd_)
            InvalidateRect(hwnd_, nullptr, FALSE);
        return NS_OK;
    }

    std::string describe() const {
        return "frame " + std::to_string(playback_.frame()) + " zoom " + std::to_string(playback_.zoom()) + " pan " +
               std::to_string(playback_.panX()) + "," + std::to_string(playback_.panY()) + " last " + lastCall_;
    }

    nsresult Stop() override {
        if (hwnd_) {
            SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
            DestroyWindow(hwnd_);
            hwnd_ = nullptr;
        }
        for (HBITMAP b : pictures_)
            if (b)
                DeleteObject(b);
        pictures_.clear();
        return NS_OK;
    }

private:
    static void registerClass() {
        WNDCLASSA wc{};
        if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc))
            return;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        try {
            if (message == WM_NCCREATE)
                SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                                  reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams));
            auto* self = reinterpret_cast<FlashStandIn*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self && message == WM_PAINT) {
                self->paint(hwnd);
                return 0;
            }
            if (self && message == WM_ERASEBKGND)
                return 1;
            if (self && message == WM_LBUTTONUP) {
                self->click(hwnd, static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
                return 0;
            }
        } catch (...) {
            // Nothing of the page's may end the program.
        }
        return DefWindowProcA(hwnd, message, w, l);
    }

    void paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        int32_t frame = playback_.frame();
        HBITMAP picture = frame >= 0 && static_cast<size_t>(frame) < pictures_.size() ? pictures_[frame] : nullptr;
        if (picture) {
            BITMAP bm;
            GetObject(picture, sizeof bm, &bm);
            int32_t x, y, w, h;
            playback_.placement(client.right, client.bottom, x, y, w, h);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, picture);
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, x, y, w, h, memory, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        EndPaint(hwnd, &ps);
    }

    void click(HWND hwnd, int32_t vx, int32_t vy) {
        RECT client;
        GetClientRect(hwnd, &client);
        int32_t dx, dy;
        if (!playback_.toDesign(client.right, client.bottom, vx, vy, dx, dy))
            return;
        const std::string* text = movie_.hotspotAt(playback_.frame(), dx, dy);
        if (!text)
            return;
        nsPtr<nsIObserverService> service = GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID);
        if (service)
            service->NotifyObservers(nullptr, kTopic, NS_ConvertNativeToUTF16(text->c_str()).c_str());
    }

    FlashMovie movie_;
    FlashPlayback playback_{&movie_};
    std::vector<HBITMAP> pictures_;  // owned, one per frame (null when unreadable)
    HWND hwnd_ = nullptr;            // owned
    std::string lastCall_ = "-";
};

nsresult MakeFlashStandIn(const char*, nsIPluginInstance** result) {
    if (!result)
        return NS_ERROR_INVALID_ARG;
    *result = new (std::nothrow) FlashStandIn;
    if (!*result)
        return NS_ERROR_OUT_OF_MEMORY;
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace

std::string DescribeFlashStandIn(void* window) {
    HWND hwnd = static_cast<HWND>(window);
    char name[64] = "";
    if (!hwnd || !GetClassNameA(hwnd, name, sizeof name) || std::strcmp(name, kClassName) != 0)
        return std::string();
    auto* self = reinterpret_cast<FlashStandIn*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self ? self->describe() : std::string();
}

void RegisterFlashStandIn() {
    NS_RegisterPlugin("application/x-shockwave-flash", MakeFlashStandIn);
}
