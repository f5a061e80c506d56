// Mouse trackers and edge scrollers: direction cursors, hot rectangles, the
// edge scroller's timer, and a press dragged outside a view under Xvfb.
#include <windows.h>

#include "framework/app/AApp.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

// Real mouse input at a point of the window's client area.
void Mouse(HWND window, int x, int y, DWORD buttons) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((p.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = LONG((p.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof in);
}

// The outside loop's end test, with a guard so that a lost message fails instead of hanging.
int g_guard = 0;
bool GuardedQueue() {
    return LOWORD(GetQueueStatus(QS_MOUSEMOVE | QS_MOUSEBUTTON)) != 0 || ++g_guard > 2000;
}

}  // namespace

TEST_F(ViewTest, EdgeScrollersShowDirectionCursorsAndHaveNoZoneWhereTheViewCannotScroll) {
    build(ARect(0, 0, 100, 100), APoint(400, 1000));
    view->makeTracker(APoint(10, 8), 200, 0);
    AEdgeScroller* edge = view->autoScroller();
    ASSERT_NE(nullptr, edge);
    EXPECT_EQ(ARect(0, 0, 90, 92), edge->hotRect()) << "at the origin: no left or top zone";
    scroller->scrollTo(300, 900);
    EXPECT_EQ(ARect(310, 908, 400, 1000), edge->hotRect()) << "at the maximum: no right or bottom zone";
    scroller->scrollTo(50, 50);
    EXPECT_EQ(ARect(60, 58, 140, 142), edge->hotRect());
    struct Row {
        int32_t direction;
        int16_t cursor;
    } rows[] = {{1, 200}, {5, 201}, {4, 202},   {6, 203},   {2, 204},   {10, 205},
                {8, 206}, {9, 207}, {3, 32512}, {7, 32512}, {11, 32512}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.direction);
        EXPECT_EQ(row.cursor, edge->cursorFor(row.direction));
    }
    view->makeTracker(APoint(4, 4), 300, 0);
    EXPECT_NE(edge, view->autoScroller()) << "replaced";
}

TEST_F(ViewTest, AnEdgeScrollerScrollsOnItsTimerUntilTheViewStopsMoving) {
    build(ARect(0, 0, 100, 100), APoint(400, 1000));
    scroller->scrollTo(0, 890);
    view->makeTracker(APoint(10, 10), 200, 1);
    AEdgeScroller* edge = view->autoScroller();
    AMouseEvent unpressed(APoint(50, 985), 0);
    EXPECT_TRUE(edge->track(unpressed)) << "in the bottom zone";
    EXPECT_EQ(206, edge->lastCursor());
    EXPECT_EQ(0u, edge->timer()) << "press-only scrolls only with the button down";
    AMouseEvent pressed(APoint(50, 985), 1);
    EXPECT_TRUE(edge->track(pressed));
    ASSERT_NE(0u, edge->timer());
    EXPECT_EQ(8, edge->direction());
    EXPECT_EQ(0, view->timerFired(edge->timer(), 0)) << "moved 10, clamped to 900";
    EXPECT_EQ(900, view->scrollY());
    EXPECT_EQ(1, view->timerFired(edge->timer(), 0)) << "no longer moves: the timer ends";
    EXPECT_EQ(0u, edge->timer());
    AMouseEvent inside(APoint(50, 950), 1);
    EXPECT_FALSE(edge->track(inside));
    EXPECT_EQ(0, edge->direction());
}

TEST_F(ViewTest, APressHeldOutsideAViewScrollsItUntilTheMouseMovesAndKeepsThePointOnTheContent) {
    if (!buildShown(ARect(10, 10, 210, 170), APoint(200, 1600)))
        GTEST_SKIP() << "no display";
    Pump();
    HWND w = window->hwnd();
    SetForegroundWindow(w);
    AScrollingTracker::mouseQueued = GuardedQueue;
    g_guard = 0;
    int sent = 0;
    // After a few steps outside, a real mouse move ends the loop; the second
    // time the pointer comes back inside.
    view->onStep = [&](AViewTracker& tracker) {
        if (tracker.current().where == tracker.previous().where && tracker.bounds().outcode(tracker.anchor()) == 0)
            return;
        if (view->steps == 6 && sent == 0) {
            ++sent;
            Mouse(w, 100, 201, 0);
        } else if (view->steps == 14 && sent == 1) {
            ++sent;
            Mouse(w, 100, 100, 0);
        }
    };
    Mouse(w, 100, 100, 0);
    Pump();
    Mouse(w, 100, 100, MOUSEEVENTF_LEFTDOWN);
    Pump();
    auto* tracker = dynamic_cast<AViewTracker*>(ADisplayServices::current().tracker());
    ASSERT_NE(nullptr, tracker) << view->log;
    EXPECT_EQ("press ", view->log);
    Mouse(w, 100, 200, 0);
    for (int i = 0; i < 50 && sent < 2; ++i)
        Pump();
    Pump();
    EXPECT_LT(g_guard, 2000) << "the queued mouse moves ended the loops";
    EXPECT_EQ(2, sent);
    int32_t scrolled = view->scrollY();
    EXPECT_GE(scrolled, 16 * 10) << "one line per step outside";
    EXPECT_EQ(ARect(0, scrolled, 200, scrolled + 160), tracker->bounds()) << "bounds move with the content";

    // Inside, a callback that scrolls keeps the tracked point on the same content.
    view->onMove = [&](AViewTracker&) { scroller->scrollAxis(true, 1, 0); };
    Mouse(w, 100, 120, 0);
    Pump();
    EXPECT_EQ(scrolled + 16, view->scrollY());
    EXPECT_EQ(APoint(90, 110 + scrolled + 16), tracker->current().where);
    view->onMove = nullptr;
    Mouse(w, 100, 120, MOUSEEVENTF_LEFTUP);
    Pump();
    EXPECT_EQ(nullptr, ADisplayServices::current().tracker());
    EXPECT_NE(std::string::npos, view->log.find("release")) << view->log;
    AScrollingTracker::mouseQueued = [] { return LOWORD(GetQueueStatus(QS_MOUSEMOVE | QS_MOUSEBUTTON)) != 0; };
}
