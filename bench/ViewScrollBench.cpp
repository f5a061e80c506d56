// Prints the time per scroll step of a view over 100,000 generated 16-pixel
// lines, by lines and by pages, against two plain Win32 windows of the same
// size drawing the same lines: one moves its picture with ScrollDC and draws
// the uncovered band at once (the view's own technique, the fair peer), the
// other scrolls with ScrollWindowEx and paints through the message queue.
// The sides take turns in short passes and each figure is the median over
// the passes, so a loaded machine slows all alike. The view paints every
// pixel of its lines, as the peers do; it is also timed erasing its
// background first, as views do by default. Needs a display (Xvfb).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/BenchSupport.h"
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
        // Displays align text on its baseline; the peers' lines hang from their top.
        SetTextAlign(d->dc(), TA_TOP);
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

template <class Step>
double PerStep(int steps, Step step) {
    double t0 = Seconds();
    for (int i = 0; i < steps; ++i)
        step();
    GdiFlush();
    return (Seconds() - t0) / steps * 1e6;
}

// Microseconds per step of each timed side, one figure a pass.
struct Timings {
    std::vector<double> passes;
    double median() {
        std::sort(passes.begin(), passes.end());
        return passes[passes.size() / 2];
    }
};

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

    const int passes = 15;
    const int page = kHeight - 16;
    Timings viewLine, erasingLine, directLine, plainLine, viewPage, erasingPage, directPage, plainPage;
    auto viewSteps = [&](Timings& t, bool erase, int steps, int16_t code) {
        view->setEraseBackgroundFlag(erase);
        t.passes.push_back(PerStep(steps, [&] { scroller->scrollAxis(true, code, 0); }));
    };
    for (int pass = 0; pass < passes; ++pass) {
        viewSteps(viewLine, false, 200, 1);
        viewSteps(erasingLine, true, 200, 1);
        directLine.passes.push_back(PerStep(200, [&] { directScroll(16); }));
        plainLine.passes.push_back(PerStep(40, [&] { plainScroll(16); }));
        viewSteps(viewPage, false, 40, 3);
        viewSteps(erasingPage, true, 40, 3);
        directPage.passes.push_back(PerStep(40, [&] { directScroll(page); }));
        plainPage.passes.push_back(PerStep(20, [&] { plainScroll(page); }));
    }
    std::printf("view scroll over %d lines, medians of %d interleaved passes, microseconds per step\n", kLines,
                passes);
    struct Row {
        const char* name;
        Timings& view;
        Timings& erasing;
        Timings& direct;
        Timings& plain;
    } rows[] = {{"lines", viewLine, erasingLine, directLine, plainLine},
                {"pages", viewPage, erasingPage, directPage, plainPage}};
    for (Row& row : rows) {
        double v = row.view.median(), e = row.erasing.median(), d = row.direct.median(), p = row.plain.median();
        std::printf("  by %s: view %.1f  ScrollDC %.1f  ratio %.2f  (erasing first %.1f  ratio %.2f;"
                    "  ScrollWindowEx %.1f  ratio %.2f)\n",
                    row.name, v, d, v / d, e, e / d, p, v / p);
    }

    DestroyWindow(direct);
    DestroyWindow(plain);
    bench.close();
    return 0;
}
