// Views in real windows under Xvfb: scrolling moves the pixels and draws only
// the uncovered strip, moves a pending repaint with them, a frozen view shows
// its picture until thawed, and a picture of a scrolled view beside a native
// bar kept by its range.
#include <windows.h>

#include "framework/app/AWindow.h"
#include "framework/views/ALayerView.h"
#include "framework/views/AScrollBar.h"
#include "framework/views/ASizerButton.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

// The colour at a point of the window's client area.
COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

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
        // The step's own context went back without its state being saved:
        // the next one handed out has no clip and default attributes.
        HDC dc = GetDC(w);
        HRGN clip = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(0, GetClipRgn(dc, clip));
        EXPECT_EQ(UINT(TA_TOP | TA_LEFT), GetTextAlign(dc));
        EXPECT_EQ(OPAQUE, GetBkMode(dc));
        DeleteObject(clip);
        ReleaseDC(w, dc);
    }
}

TEST_F(ViewTest, AScrollMovesAPendingRepaintWithThePicture) {
    if (!buildShown(ARect(10, 10, 210, 170), APoint(200, 1600)))
        GTEST_SKIP() << "no display";
    HWND w = window->hwnd();
    struct Row {
        const char* name;
        int16_t code;
        bool exposure;  // made pending by Windows, else by the framework
    } rows[] = {
        {"a repaint the framework asked for, a line forward", 1, false},
        {"a repaint the framework asked for, a line back", 0, false},
        {"an exposure read with the messages, a line forward", 1, true},
        {"an exposure read with the messages, a line back", 0, true},
    };
    auto capture = [&](Canvas& canvas) {
        HDC dc = GetDC(w);
        BitBlt(canvas.dc(), 0, 0, 200, 160, dc, 10, 10, SRCCOPY);
        ReleaseDC(w, dc);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        scroller->scrollAxis(true, 1, 0);
        Pump();
        // A first step finds the window clean; then stale pixels wait for a repaint.
        scroller->scrollAxis(true, row.code, 0);
        RECT stale = {10, 50, 210, 75};
        HDC dc = GetDC(w);
        FillRect(dc, &stale, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(w, dc);
        if (row.exposure) {
            InvalidateRect(w, &stale, FALSE);
            // Any message read for the window, short of the paint itself.
            const UINT kAny = WM_USER + 77;
            PostMessageA(w, kAny, 0, 0);
            MSG msg;
            while (PeekMessageA(&msg, w, kAny, kAny, PM_REMOVE))
                DispatchMessageA(&msg);
        } else {
            int32_t top = view->scrollY() + 40;
            view->invalidateRegion(ARegion(ARect(0, top, 200, top + 25)), false);
        }
        scroller->scrollAxis(true, row.code, 0);
        Pump();
        Canvas scrolled(200, 160), whole(200, 160);
        capture(scrolled);
        scrolled.savePng("views-pending-scrolled");
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
        capture(whole);
        int wrong = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 200; x += 7)
                wrong += scrolled.pixel(x, y) != whole.pixel(x, y);
        EXPECT_EQ(0, wrong) << "pixels that differ from a full repaint";
        EXPECT_EQ(LineColor((view->scrollY() + 40) / 16), scrolled.pixel(50, 40)) << "and shows the content";
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

TEST_F(ViewTest, TwoViewsShareANativeBarAndFollowItsPageDown) {
    window = Open<TestWindow>(app, ARect(0, 0, 260, 200), "#background:255,255,255");
    if (!window->openWindow("bar"))
        GTEST_SKIP() << "no display";
    auto* bar = Shown(Open<AScrollerScrollBar>(window, int16_t(40), Frame(230, 10, 246, 170)));
    AScroller* s[2];
    LinesView* v[2];
    for (int i = 0; i < 2; ++i) {
        s[i] = Shown(Open<AScroller>(window, int16_t(10 + i), Frame(10 + i * 110, 10, 110 + i * 110, 170), uint16_t(0),
                                     uint16_t(40)));
        v[i] = Shown(Open<LinesView>(s[i], ARect(0, 0, 100, 160), int16_t(20 + i)));
        v[i]->setContentSize(APoint(100, 100160));
    }
    window->showUpdate();
    ASSERT_NE(nullptr, bar->nativeChild());
    HWND control = bar->nativeChild()->hwnd();
    EXPECT_EQ(2u, bar->scrollerCount());
    EXPECT_EQ(100000, bar->maximum());
    EXPECT_EQ(2u, bar->shift());
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(control, SB_CTL, &info);
    EXPECT_EQ(25000 + 40 - 1, info.nMax) << "native maximum plus the page";
    EXPECT_EQ(40u, info.nPage);

    SendMessageA(window->hwnd(), WM_VSCROLL, SB_PAGEDOWN, LPARAM(control));
    EXPECT_EQ(144, v[0]->scrollY());
    EXPECT_EQ(144, v[1]->scrollY());
    EXPECT_EQ(144, bar->value());
    EXPECT_EQ(144 >> 2, GetScrollPos(control, SB_CTL));
    SendMessageA(window->hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12500), LPARAM(control));
    EXPECT_EQ(50000, v[0]->scrollY()) << "a dragged thumb scrolls live";
    EXPECT_EQ(50000, v[1]->scrollY());
    SendMessageA(window->hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 25000), LPARAM(control));
    EXPECT_EQ(100000, v[1]->scrollY()) << "the native maximum is the maximum exactly";
    SendMessageA(window->hwnd(), WM_VSCROLL, SB_ENDSCROLL, LPARAM(control));
    EXPECT_EQ(100000, v[0]->scrollY());
}

TEST_F(ViewTest, ABarHiddenWhenAttachedGetsItsControlWithItsRangeWhenFirstShown) {
    window = Open<TestWindow>(app, ARect(0, 0, 260, 200), "#background:255,255,255");
    if (!window->openWindow("late bar"))
        GTEST_SKIP() << "no display";
    window->showUpdate();
    struct Row {
        const char* name;
        int32_t maximum, page, value;
        bool enabled;
    } const rows[] = {
        {"a range set while hidden", 1000, 100, 300, true},
        {"an empty range: disabled", 0, 0, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* bar = Open<AScrollBar>(window, int16_t(40 + (&row - rows)), Frame(230, 10, 246, 170), 0, 10, 0);
        EXPECT_EQ(nullptr, bar->nativeChild()) << "no control while hidden";
        bar->setRange(0, row.maximum, row.page, false);
        bar->setValue(row.value, false);
        bar->showUpdate();
        ASSERT_NE(nullptr, bar->nativeChild());
        HWND control = bar->nativeChild()->hwnd();
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_EQ(row.enabled, IsWindowEnabled(control) != 0);
        SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(control, SB_CTL, &info);
        EXPECT_EQ(row.maximum + (row.page > 0 ? row.page - 1 : 0), info.nMax);
        EXPECT_EQ(UINT(row.page), info.nPage);
        EXPECT_EQ(row.value, info.nPos);
        bar->hideUpdate();
        EXPECT_FALSE(IsWindowVisible(control));
    }
}

TEST_F(ViewTest, PictureOfAScrolledViewWithItsBar) {
    if (!buildShown(ARect(10, 10, 210, 170), APoint(200, 1600)))
        GTEST_SKIP() << "no display";
    auto* bar = Shown(Open<AScrollerScrollBar>(window, int16_t(40), Frame(212, 10, 228, 170)));
    scroller->attachBar(bar, true);
    scroller->update();
    window->showUpdate();
    for (int16_t code : {3, 3, 1, 1, 1})
        scroller->scrollAxis(true, code, 0);
    Pump();
    EXPECT_EQ(336, view->scrollY());
    ANativeScale scale(*bar);
    EXPECT_EQ(scale.toNative(336), GetScrollPos(bar->nativeChild()->hwnd(), SB_CTL));
    Canvas canvas(250, 190);
    HDC dc = GetDC(window->hwnd());
    BitBlt(canvas.dc(), 0, 0, 250, 190, dc, 0, 0, SRCCOPY);
    ReleaseDC(window->hwnd(), dc);
    canvas.savePng("views-scrolled");
    EXPECT_EQ(LineColor(336 / 16), canvas.pixel(50, 10));
}

TEST_F(ViewTest, ALayoutBuildsALayerViewInAScrollerBoundToItsBar) {
    window = Open<TestWindow>(app, ARect(0, 0, 320, 220), "#background:255,255,255");
    if (!window->openWindow("layout"))
        GTEST_SKIP() << "no display";
    AComponent* loaded = AComponent::loadLayout(window, "ViewLayout", 0);
    ASSERT_NE(nullptr, loaded);
    window->showUpdate();
    app->flushUpdates();
    auto* bar = dynamic_cast<AScrollerScrollBar*>(loaded->findById(40, 0));
    auto* s = dynamic_cast<AScroller*>(loaded->findById(301, 0));
    auto* lv = dynamic_cast<ALayerView*>(loaded->findById(302, 0));
    ASSERT_TRUE(bar && s && lv);
    EXPECT_EQ(lv, s->view());
    EXPECT_EQ(bar, s->verticalBar());
    EXPECT_EQ(2, lv->layerCount());
    EXPECT_EQ(0, bar->value()) << "the scroller set the bar from its view";
    lv->setContentSize(APoint(270, 1200));
    s->update();
    EXPECT_EQ(1000, bar->maximum());
    s->scrollAxis(true, 3, 0);
    EXPECT_EQ(184, lv->scrollY());
    EXPECT_EQ(184, bar->value());
    for (int16_t id : {303, 304})
        EXPECT_EQ(lv->getLocalBounds(), dynamic_cast<AViewLayer*>(loaded->findById(id, 0))->getFrame());
    auto* box = dynamic_cast<ABoundingBox*>(loaded->findById(305, 0));
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(box->hasFlags(ADisplayComponent::kMouseTransparent)) << "set up as a bounding box";
}

TEST_F(ViewTest, AViewHasItsOwnChildWindowInAWindowWithFlag80AndAPanelViewAlways) {
    struct Row {
        const char* what;
        uint16_t flags;
        bool panel;
        bool own;
    } rows[] = {
        {"a view in a window with flag 0x80", 0x0085, false, true},
        {"a view in a window without it", 0x0005, false, false},
        {"a panel view in a window without it", 0x0005, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        auto* w = Open<AWindow>(app, 0, Frame(40, 40, 360, 200), "views", "", r.flags, 0, ARect());
        if (!w->getHWnd())
            GTEST_SKIP() << "no display";
        AView* v = r.panel ? static_cast<AView*>(Open<APanelView>(w, int16_t(4), Frame(10, 20, 110, 80), 0, 1, nullptr,
                                                                  uint16_t(0x3000)))
                           : Open<LinesView>(w, ARect(10, 20, 110, 80));
        Shown(v);
        ANativeViewWindow* own = v->nativeWindow();
        ASSERT_EQ(r.own, own != nullptr);
        HWND child = own ? own->hwnd() : nullptr;
        if (own) {
            EXPECT_EQ(child, v->getHWnd()) << "the view's native window";
            EXPECT_EQ(w->getHWnd(), GetParent(child));
            RECT rc;
            GetWindowRect(child, &rc);
            MapWindowPoints(nullptr, w->getHWnd(), reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_EQ(ARect(10, 20, 110, 80), ARect(rc.left, rc.top, rc.right, rc.bottom)) << "over the frame";
        } else {
            EXPECT_EQ(w->getHWnd(), v->enclosingWindow());
        }
        AComponent* gone = v;
        DeleteComponent(gone);
        EXPECT_FALSE(child && IsWindow(child)) << "destroyed with the view, not only with its parent";
        AComponent* root = w;
        DeleteComponent(root);
    }
}

TEST_F(ViewTest, AViewInItsOwnWindowScrollsItsPixelsThere) {
    auto* w = Open<AWindow>(app, 0, Frame(40, 40, 360, 200), "views", "", uint16_t(0x0085), 0, ARect());
    if (!w->getHWnd())
        GTEST_SKIP() << "no display";
    auto* v = Shown(Open<LinesView>(w, ARect(10, 20, 110, 100)));
    ASSERT_NE(nullptr, v->nativeWindow());
    HWND child = v->nativeWindow()->hwnd();
    v->setContentSize(APoint(100, 1600));
    w->showUpdate();
    ShowWindow(w->getHWnd(), SW_SHOWNA);
    app->flushUpdates();
    Pump();
    ASSERT_EQ(LineColor(0), PixelAt(child, 5, 2));
    int16_t shift = 0;
    int32_t delta = 0;
    ASSERT_TRUE(v->scrollVertically(1, 0, shift, delta));
    EXPECT_EQ(APoint(0, -16), v->windowPosition()) << "positions are in the view's own window";
    v->doScroll(0, shift);
    Pump();
    EXPECT_EQ(LineColor(1), PixelAt(child, 5, 2));
    EXPECT_EQ(LineColor(5), PixelAt(child, 5, 78)) << "the uncovered strip was drawn";
    AComponent* root = w;
    DeleteComponent(root);
}
