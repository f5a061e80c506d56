// The progress bar: fill edge, the strip it invalidates, clamping and drawing.
#include <string>

#include "framework/extras/AProgressBar.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

std::string UpdateOf(HWND window) {
    RECT r;
    if (!GetUpdateRect(window, &r, FALSE))
        return "none";
    return Describe(ARect(r.left, r.top, r.right, r.bottom));
}

TEST_F(DisplayTest, ProgressBarFillsAndInvalidatesTheStrip) {
    PaintWindow window(300, 60);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    root->color = RGB(255, 255, 255);
    auto* bar = new AProgressBar(root, 5, ASizeSpec(ARect(10, 10, 210, 30)), 0, 0, nullptr, 0);
    AObject::completeNew(bar);
    EXPECT_TRUE(bar->isKindOf(AClass::findByName("AView"))) << "a view, as the registry says";
    ADisplayServices::current().flushLayouts();
    bar->show(false);
    bar->setMaximum(100);
    UpdateWindow(window.hwnd);
    struct Row {
        long value;
        long position;
        long edge;
        const char* update;
    } rows[] = {
        {50, 50, 100, "10,10,110,30"},   {50, 50, 100, "none"}, {150, 100, 200, "110,10,210,30"},
        {-20, -20, -40, "10,10,210,30"},  // not clamped below: the edge leaves the bar
        {25, 25, 50, "10,10,60,30"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        bar->setPosition(row.value);
        EXPECT_EQ(row.position, bar->position());
        EXPECT_EQ(row.edge, bar->fillEdge());
        EXPECT_EQ(row.update, UpdateOf(window.hwnd));
        UpdateWindow(window.hwnd);
    }
    Canvas canvas(300, 60);
    window.grab(canvas);
    EXPECT_EQ(RGB(128, 128, 128), canvas.pixel(40, 20)) << "filled";
    EXPECT_EQ(RGB(255, 255, 255), canvas.pixel(100, 20)) << "beyond the edge";
    EXPECT_EQ(RGB(0, 0, 0), canvas.pixel(150, 10)) << "the frame";
    canvas.savePng("progress-bar");
}

}  // namespace
