// Prints the time per scroll step of a view over 100,000 generated 16-pixel
// lines, by lines and by pages, against two plain Win32 windows of the same
// size drawing the same lines: one moves its picture with ScrollDC and draws
// the uncovered band at once (the view's own technique, the fair peer), the
// other scrolls with ScrollWindowEx and paints through the message queue.
// Needs a display (Xvfb).
#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/BenchWindow.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/views/AScroller.h"
#include "framework/views/AView.h"

namespace {

const int kLines = 100000;
const int kWidth = 400;
const int kHeight = 300;

// The line's text and colour, drawn with GDI on dc at the line's top y.
void DrawLine(HDC dc, int line, int x, int y) {
    RECT r = {x, y, x + kWidth, y + 16};
    HBRUSH b = CreateSolidBrush(RGB(200 + line % 50, 220, 240 - line % 40));
    FillRect(dc, &r, b);
    DeleteObject(b);
    char text[32];
    int n = std::snprintf(text, sizeof text, "Ligne %d", line);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x + 4, y + 1, text, n);
}

class LinesView : public AView {
public:
    explicit LinesView(AComponent* parent)
        : AView(parent, 5, ASizeSpec(ARect(0, 0, kWidth, kHeight)), 0, 1, nullptr, 0) {}
    long drawContent(const ARect& rect) override {
        AGraphicDisplay* d = ADisplayContext::instance().current();
        APoint o = d->toDevice(APoint(0, 0));
        for (int line = rect.top() / 16; line * 16 < rect.bottom() && line < kLines; ++line)
            DrawLine(d->dc(), line, o.x, o.y + line * 16);
        return 1;
    }
};

int g_plainTop = 0;
int g_directTop = 0;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    for (int line = (g_plainTop + ps.rcPaint.top) / 16; line * 16 < g_plainTop + ps.rcPaint.bottom; ++line)
        DrawLine(dc, line, 0, line * 16 - g_plainTop);
    EndPaint(hwnd, &ps);
    return 0;
}

double Seconds() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

template <class Step>
double PerStep(int steps, Step step) {
    double t0 = Seconds();
    for (int i = 0; i < steps; ++i)
        step();
    GdiFlush();
    return (Seconds() - t0) / steps * 1e6;
}

}  // namespace

int main() {
    BenchWindow bench;
    if (!bench.open("ViewScrollBench", kWidth, kHeight)) {
        std::printf("no display\n");
        return 0;
    }
    ALocalCluster* root = bench.root;
    auto* scroller = new AScroller(root, 3, ASizeSpec(ARect(0, 0, kWidth, kHeight)), 0, 0);
    AObject::completeNew(scroller);
    scroller->show(false);
    auto* view = new LinesView(scroller);
    AObject::completeNew(view);
    view->show(false);
    view->setContentSize(APoint(kWidth, kLines * 16));
    bench.show();

    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ViewScrollBenchPlain";
    RegisterClassA(&wc);
    HWND plain = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, kHeight + 10, kWidth, kHeight,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(plain);
    auto plainScroll = [&](int dy) {
        g_plainTop += dy;
        ScrollWindowEx(plain, 0, -dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
        UpdateWindow(plain);
    };

    HWND direct = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, kWidth + 10, kHeight + 10, kWidth,
                                  kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(direct);
    auto directScroll = [&](int dy) {
        g_directTop += dy;
        HDC dc = GetDC(direct);
        RECT client = {0, 0, kWidth, kHeight};
        ScrollDC(dc, 0, -dy, &client, &client, nullptr, nullptr);
        int band = dy < kHeight ? kHeight - dy : 0;
        for (int line = (g_directTop + band) / 16; line * 16 < g_directTop + kHeight; ++line)
            DrawLine(dc, line, 0, line * 16 - g_directTop);
        ReleaseDC(direct, dc);
    };

    const int steps = 3000;
    const int page = kHeight - 16;
    double viewLine = PerStep(steps, [&] { scroller->scrollAxis(true, 1, 0); });
    double plainLine = PerStep(steps, [&] { plainScroll(16); });
    double viewPage = PerStep(steps, [&] { scroller->scrollAxis(true, 3, 0); });
    double plainPage = PerStep(steps, [&] { plainScroll(page); });
    double directLine = PerStep(steps, [&] { directScroll(16); });
    double directPage = PerStep(steps, [&] { directScroll(page); });
    std::printf("view scroll over %d lines, %d steps each, microseconds per step\n", kLines, steps);
    std::printf("  by lines: view %.1f  ScrollDC %.1f  ratio %.2f  (ScrollWindowEx %.1f  ratio %.2f)\n", viewLine,
                directLine, viewLine / directLine, plainLine, viewLine / plainLine);
    std::printf("  by pages: view %.1f  ScrollDC %.1f  ratio %.2f  (ScrollWindowEx %.1f  ratio %.2f)\n", viewPage,
                directPage, viewPage / directPage, plainPage, viewPage / plainPage);
    std::printf("  view at line %d, plain windows at lines %d and %d\n", view->scrollY() / 16, g_directTop / 16,
                g_plainTop / 16);

    DestroyWindow(direct);
    DestroyWindow(plain);
    bench.close();
    return 0;
}
