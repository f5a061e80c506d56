// Shared pieces of the view tests.
#include "tests/framework/views/ViewTestSupport.h"

#include "framework/graphics/AGraphicDisplay.h"

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

COLORREF LineColor(int32_t n) {
    return RGB((n * 53) % 200 + 40, (n * 97) % 200 + 40, (n * 29) % 200 + 40);
}

long LinesView::drawContent(const ARect& rect) {
    ++draws;
    lastDrawn = rect;
    ADisplayContext* context = ADisplayContext::existing();
    if (!context || !context->current()->isDrawable())
        return 1;
    int32_t width = getContentSize().x;
    for (int32_t n = std::max(0, rect.top() / 16); n * 16 < rect.bottom(); ++n)
        context->current()->FillRect(ARect(0, n * 16, width, n * 16 + 16), dark ? RGB(0, 0, 0) : LineColor(n));
    return 1;
}

ACommand* LinesView::trackRelease(AViewTracker& tracker) {
    log += "release ";
    return AView::trackRelease(tracker);
}

void ViewTest::build(const ARect& frame, const APoint& content) {
    window = Open<TestWindow>(app, ARect(0, 0, frame.right() + 20, frame.bottom() + 20), "#background:255,255,255");
    scroller = Shown(Open<AScroller>(window, int16_t(3), ASizeSpec(frame), uint16_t(0), uint16_t(0)));
    view = Shown(Open<LinesView>(scroller, ARect(0, 0, frame.width(), frame.height())));
    view->setContentSize(content);
    scroller->update();
}

bool ViewTest::buildShown(const ARect& frame, const APoint& content) {
    window = Open<TestWindow>(app, ARect(0, 0, frame.right() + 40, frame.bottom() + 20), "#background:255,255,255");
    if (!window->openWindow("view"))
        return false;
    scroller = Shown(Open<AScroller>(window, int16_t(3), ASizeSpec(frame), uint16_t(0), uint16_t(0)));
    view = Shown(Open<LinesView>(scroller, ARect(0, 0, frame.width(), frame.height())));
    view->setContentSize(content);
    scroller->update();
    window->showUpdate();
    ShowWindow(window->hwnd(), SW_SHOW);
    UpdateWindow(window->hwnd());
    return true;
}
