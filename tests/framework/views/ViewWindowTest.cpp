// Views in real windows under Xvfb: scrolling moves the pixels and draws only
// the uncovered strip, a frozen view shows its picture until thawed, and a
// picture of a scrolled view beside a native bar kept by its range.
#include <windows.h>

#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// The colour at a point of the window's client area.
COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

// A native scroll-bar control showing a bar range, as a native bar keeps it.
class NativeBar : public TestBar {
public:
    NativeBar(AComponent* parent, int16_t id, HWND window, const ARect& r) : TestBar(parent, id) {
        control = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, r.left(), r.top(), r.width(),
                                  r.height(), window, nullptr, nullptr, nullptr);
    }
    bool setRange(int32_t minimum, int32_t maximum, int32_t page, bool redraw) override {
        bool changed = AScrollRange::setRange(minimum, maximum, page, redraw);
        push();
        return changed;
    }
    bool setValue(int32_t value, bool redraw) override {
        bool changed = AScrollRange::setValue(value, redraw);
        push();
        return changed;
    }
    void push() {
        ANativeScale scale(*this);
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, scale.nativeMaximum(),
                           0,           scale.toNative(value()),        0};
        if ((page() >> scale.shift) > 0) {
            info.nPage = UINT(page() >> scale.shift);
            info.nMax += int(info.nPage) - 1;
        }
        SetScrollInfo(control, SB_CTL, &info, TRUE);
    }
    HWND control;
};

}  // namespace

TEST_F(ViewTest, ScrollingMovesThePixelsAndDrawsOnlyWhatItUncovers) {
    if (!buildShown(ARect(10, 10, 210, 170), APoint(200, 1600)))
        GTEST_SKIP() << "no display";
    Pump();
    HWND w = window->hwnd();
    ASSERT_EQ(LineColor(0), PixelAt(w, 50, 12));
    struct Row {
        const char* name;
        int16_t code;
        int32_t value;
        int32_t scrollY;
        ARect drawn;  // the last rectangle drawn, local
        int draws;    // drawContent calls for the step
    } rows[] = {
        {"a line uncovers one 16-pixel strip", 1, 0, 16, ARect(0, 160, 200, 176), 1},
        {"a page uncovers max(16, 160 - 16)", 3, 0, 160, ARect(0, 176, 200, 320), 1},
        {"ten lines redraw everything", 1, 10, 320, ARect(0, 320, 200, 480), 1},
        {"a line back uncovers the top strip", 0, 0, 304, ARect(0, 304, 200, 320), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Pump();
        view->draws = 0;
        scroller->scrollAxis(true, row.code, row.value);
        EXPECT_EQ(row.scrollY, view->scrollY());
        EXPECT_EQ(row.draws, view->draws);
        EXPECT_EQ(row.drawn, view->lastDrawn);
        // The shifted pixels and the drawn strip together show the content.
        for (int y : {12, 80, 167}) {
            int32_t line = (y - 10 + row.scrollY) / 16;
            EXPECT_EQ(LineColor(line), PixelAt(w, 50, y)) << "window y " << y;
        }
    }
}

TEST_F(ViewTest, AFrozenViewDrawsItsPictureUntilThawed) {
    if (!buildShown(ARect(10, 10, 210, 170), APoint(200, 1600)))
        GTEST_SKIP() << "no display";
    Pump();
    HWND w = window->hwnd();
    view->freezePicture();
    EXPECT_TRUE(view->isFrozen());
    view->dark = true;
    view->redraw(false);
    Pump();
    EXPECT_EQ(LineColor(2), PixelAt(w, 50, 10 + 40)) << "frozen";
    view->thawPicture();
    view->redraw(false);
    Pump();
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(w, 50, 10 + 40)) << "thawed";
}

TEST_F(ViewTest, PictureOfAScrolledViewWithItsBar) {
    if (!buildShown(ARect(10, 10, 210, 170), APoint(200, 1600)))
        GTEST_SKIP() << "no display";
    auto* bar = Open<NativeBar>(window, int16_t(40), window->hwnd(), ARect(212, 10, 228, 170));
    scroller->attachBar(bar, true);
    scroller->update();
    for (int16_t code : {3, 3, 1, 1, 1})
        scroller->scrollAxis(true, code, 0);
    Pump();
    EXPECT_EQ(336, view->scrollY());
    ANativeScale scale(*bar);
    EXPECT_EQ(scale.toNative(336), GetScrollPos(bar->control, SB_CTL));
    Canvas canvas(250, 190);
    HDC dc = GetDC(window->hwnd());
    BitBlt(canvas.dc(), 0, 0, 250, 190, dc, 0, 0, SRCCOPY);
    ReleaseDC(window->hwnd(), dc);
    canvas.savePng("views-scrolled");
    EXPECT_EQ(LineColor(336 / 16), canvas.pixel(50, 10));
    bar->detachAll();
}
