// The media window timed on the sample encyclopedia: 100 pictures opened in
// the real reader's media window (record, decoding, fit, first paint),
// median and worst, beside the system's GDI+ loading the same files and
// drawing them fitted into the same view, in the same run.
//
// Run under xvfb-run: bench_media SAMPLE_FOLDER WORK_FOLDER (Windows paths:
// build/sample and build/sample-work, whose "pictures.txt" names the
// pictures; GDI+ reads the JPEG files as the sample stores them and the PNG
// sources of the others, which it cannot read in the sample's own format).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "framework/display/ADisplayServices.h"
#include "framework/windows/AWindowShell.h"
#include "panes/content/media/MediaImagePane.h"
#include "panes/content/media/MediaPane.h"
#include "panes/content/media/MediaWin.h"
#include "search/facade/ALoVect.h"

namespace {

const size_t kPictures = 100;

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %7.2f ms  worst %7.2f ms  (%zu pictures)\n", what, ms.empty() ? 0 : ms[ms.size() / 2],
                ms.empty() ? 0 : ms.back(), ms.size());
}

void Pump() {
    for (int i = 0; i < 10; ++i) {
        AApp::current()->flushUpdates();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
}

// The GDI+ flat entry points the peer uses, from the system folder.
struct GdiPlus {
    struct StartupInput {
        UINT32 version = 1;
        void* callback = nullptr;
        BOOL noThread = FALSE;
        BOOL noCodecs = FALSE;
    };
    int(WINAPI* startup)(ULONG_PTR*, const StartupInput*, void*) = nullptr;
    int(WINAPI* fromFile)(const WCHAR*, void**) = nullptr;
    int(WINAPI* fromHdc)(HDC, void**) = nullptr;
    int(WINAPI* drawRect)(void*, void*, INT, INT, INT, INT) = nullptr;
    int(WINAPI* width)(void*, UINT*) = nullptr;
    int(WINAPI* height)(void*, UINT*) = nullptr;
    int(WINAPI* deleteGraphics)(void*) = nullptr;
    int(WINAPI* dispose)(void*) = nullptr;
    ULONG_PTR token = 0;

    bool load() {
        char folder[MAX_PATH];
        GetSystemDirectoryA(folder, MAX_PATH);
        HMODULE dll = LoadLibraryA((std::string(folder) + "\\gdiplus.dll").c_str());
        if (!dll)
            return false;
        auto get = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(
                reinterpret_cast<void*>(GetProcAddress(dll, name)));
            return slot != nullptr;
        };
        StartupInput input;
        return get(startup, "GdiplusStartup") && get(fromFile, "GdipCreateBitmapFromFile") &&
               get(fromHdc, "GdipCreateFromHDC") && get(drawRect, "GdipDrawImageRectI") &&
               get(width, "GdipGetImageWidth") && get(height, "GdipGetImageHeight") &&
               get(deleteGraphics, "GdipDeleteGraphics") && get(dispose, "GdipDisposeImage") &&
               startup(&token, &input, nullptr) == 0;
    }
};

struct Picture {
    std::string file;  // the file GDI+ reads
};

std::vector<Picture> Pictures(const std::string& sample, const std::string& work) {
    std::vector<Picture> out;
    std::ifstream in(work + "\\pictures.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line) && out.size() < kPictures) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string part; std::getline(fields, part, '\t');)
            f.push_back(part);
        if (f.size() < 5)
            break;
        std::string source = "Z:" + f[4];
        std::replace(source.begin(), source.end(), '/', '\\');
        bool jpeg = f[0].size() > 4 && f[0].compare(f[0].size() - 4, 4, ".jpg") == 0;
        out.push_back({jpeg ? sample + "\\images\\" + f[0] : source});
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: bench_media SAMPLE_FOLDER WORK_FOLDER\n");
        return 2;
    }
    const std::string sample = argv[1], work = argv[2];
    std::vector<Picture> pictures = Pictures(sample, work);
    SetCurrentDirectoryA(sample.c_str());
    try {
        AClass::buildRegistry();
        auto* app = new TheApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWMAXIMIZED);
        AObject::completeNew(app);
        for (int i = 0; i < 500 && !(app->started() && app->getFrame()); ++i) {
            Pump();
            Sleep(10);
        }
        if (!app->getFrame()) {
            std::printf("bench_media: the reader did not start (no sample or no display?)\n");
            return 1;
        }
        // The pictures follow the two made-up figures of the figure set.
        const long first = app->getDataManager()->getFilterList(2)->first() + 2;
        if (!app->openMediaWindow(first, 0, 0))
            return 1;
        MediaWin* window = app->mediaWindows().windows().begin()->second;
        MediaPane* pane = window->mediaPane();
        AHotspotView* view = pane->imagePane()->view();
        HWND hwnd = window->getHWnd();
        Pump();
        std::vector<double> ours, peer;
        for (size_t n = 0; n < pictures.size(); ++n) {
            double t = Now();
            window->showDocument(first + static_cast<long>(n), 0, 0, 0);
            ADisplayServices::current().flushLayouts();
            app->flushUpdates();
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            ours.push_back(Now() - t);
        }
        GdiPlus gdi;
        if (!gdi.load()) {
            std::printf("bench_media: GDI+ is not available\n");
        } else {
            APoint size = view->getSize();
            APoint at = view->windowPosition();
            for (const Picture& p : pictures) {
                std::wstring wide(p.file.begin(), p.file.end());
                double t = Now();
                void* image = nullptr;
                if (gdi.fromFile(wide.c_str(), &image) != 0 || !image)
                    continue;
                UINT w = 0, h = 0;
                gdi.width(image, &w);
                gdi.height(image, &h);
                HDC dc = GetDC(hwnd);
                void* graphics = nullptr;
                gdi.fromHdc(dc, &graphics);
                // Fitted as the media window fits, in 1/128 steps.
                long s = w && h ? std::min(long(size.x) * 128 / long(w), long(size.y) * 128 / long(h)) : 128;
                INT dw = INT(long(w) * s / 128), dh = INT(long(h) * s / 128);
                gdi.drawRect(graphics, image, at.x + (size.x - dw) / 2, at.y + (size.y - dh) / 2, dw, dh);
                gdi.deleteGraphics(graphics);
                ReleaseDC(hwnd, dc);
                gdi.dispose(image);
                peer.push_back(Now() - t);
            }
        }
        Report("media window (ours)", ours);
        Report("GDI+ load and draw", peer);
        AComponent* root = app;
        DeleteComponent(root);
    } catch (const AError& e) {
        std::printf("bench_media: %s\n", e.className());
        return 1;
    }
    return 0;
}
