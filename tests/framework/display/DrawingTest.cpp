// Display components: the two painting orders, recorded and read back from
// a real window, transparent redraws, invalidation and the focus frame.
#include "framework/components/ABehavior.h"
#include "framework/graphics/ADisplayLock.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

// A behaviour that draws instead of its parent.
class DrawingBehavior : public ABehavior {
public:
    DrawingBehavior(AComponent* parent) : ABehavior(parent, 0) {}
    long drawHook(ARegion* region, int16_t before) override {
        (void)region;
        return before ? 1 : 0;
    }
};

}  // namespace

TEST_F(DisplayTest, PaintingOrdersDrawOnlyWhatShows) {
    struct Row {
        const char* name;
        uint16_t options;
        bool childErases;
        bool childCovers;
        const char* calls;
    } rows[] = {
        {"clipped: an opaque child covering its parent hides the parent's content", 0, true, true, "draw:3"},
        {"clipped: a partly covering child leaves the parent the rest", 0, true, false, "draw:2 draw:3"},
        {"clipped: a child without background erase lets the parent show", 0, false, true, "draw:2 draw:3"},
        {"painter's order draws the parent first", ADisplayServices::kPainterOrder, true, true, "draw:2 draw:3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ADisplayServices::current().setLookOptions(row.options);
        Probe* root = makeRoot(ARect(0, 0, 100, 60));
        Probe* parent = make(root, 2, ASizeSpec::fill);
        Probe* child = make(parent, 3, row.childCovers ? ARect(0, 0, 100, 60) : ARect(10, 10, 40, 40));
        child->setEraseBackground(row.childErases);
        ADisplayServices::current().flushLayouts();
        parent->show(false);
        child->show(false);
        Canvas canvas(100, 60);
        log.clear();
        {
            ADisplayLock lock(root, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
            root->drawChildren(ARegion(root->getLocalBounds()), false);
        }
        EXPECT_EQ(row.calls, log);
        AComponent* gone = root;
        DeleteComponent(gone);
    }
}

// The cover claims to be opaque but paints only its left half, so what the
// parent paints under its right half stays visible: nothing in clipped order.
TEST_F(DisplayTest, AnOpaqueChildKeepsItsParentsPixelsOffAWindow) {
    const COLORREF kBefore = RGB(255, 255, 0);
    const COLORREF kParent = RGB(255, 0, 0);
    const COLORREF kCover = RGB(0, 0, 255);
    struct Row {
        const char* png;
        uint16_t options;
        const char* parentDraws;
        COLORREF underCover;
    } rows[] = {
        {"display-clipped-order", 0, "no", kBefore},
        {"display-painter-order", ADisplayServices::kPainterOrder, "yes", kParent},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.png);
        ADisplayServices::current().setLookOptions(row.options);
        PaintWindow window(160, 100);
        Probe* root = makeWindowRoot(window);
        if (!root)
            GTEST_SKIP() << "no X display";
        root->color = RGB(255, 255, 255);
        Probe* parent = make(root, 2, ARect(10, 10, 150, 90));
        parent->color = kParent;
        Probe* cover = make(parent, 3, ASizeSpec::fill);
        cover->color = kCover;
        cover->halfOnly = true;
        Probe* corner = make(root, 4, ARect(0, 0, 30, 30));
        corner->color = RGB(0, 160, 0);
        ADisplayServices::current().flushLayouts();
        for (Probe* p : {parent, cover, corner})
            p->show(false);
        // Paint the window yellow first, so that what nobody paints stays yellow.
        UpdateWindow(window.hwnd);
        HDC dc = GetDC(window.hwnd);
        RECT all = {0, 0, 160, 100};
        FillRect(dc, &all, SolidBrush(kBefore));
        ReleaseDC(window.hwnd, dc);
        InvalidateRect(window.hwnd, nullptr, FALSE);
        log.clear();
        UpdateWindow(window.hwnd);
        EXPECT_EQ(row.parentDraws, std::string(log.find("draw:2") == std::string::npos ? "no" : "yes")) << log;
        EXPECT_NE(std::string::npos, log.find("draw:3")) << log;

        Canvas canvas(160, 100);
        window.grab(canvas);
        canvas.savePng(row.png);
        struct Point {
            int x, y;
            COLORREF color;
        } points[] = {
            {5, 50, RGB(255, 255, 255)},    // the root around the parent
            {40, 50, kCover},               // the cover's painted half
            {120, 50, row.underCover},      // under the cover's unpainted half
            {15, 15, RGB(0, 160, 0)},       // the later sibling on top
            {150, 50, RGB(255, 255, 255)},  // just right of the parent
        };
        for (const auto& p : points) {
            SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
            EXPECT_EQ(p.color, canvas.pixel(p.x, p.y));
        }
        AComponent* gone = root;
        DeleteComponent(gone);
    }
}

TEST_F(DisplayTest, RedrawsAndInvalidationsReachTheRightPlace) {
    PaintWindow window(200, 100);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    Probe* box = make(root, 2, ARect(20, 10, 80, 60));
    Probe* glass = make(box, 3, ARect(10, 10, 30, 30));
    ADisplayServices::current().flushLayouts();
    UpdateWindow(window.hwnd);
    RECT update;

    box->redraw(false);
    EXPECT_FALSE(GetUpdateRect(window.hwnd, &update, FALSE)) << "an invisible component does nothing";
    box->show(false);
    glass->show(false);
    UpdateWindow(window.hwnd);
    box->redraw(true);
    ASSERT_TRUE(GetUpdateRect(window.hwnd, &update, FALSE)) << "a deferred redraw only invalidates";
    EXPECT_EQ(20, update.left);
    EXPECT_EQ(60, update.bottom);
    UpdateWindow(window.hwnd);

    log.clear();
    box->redraw(false);
    EXPECT_EQ("draw:2 draw:3", log) << "an immediate redraw paints the component and its children";
    EXPECT_FALSE(GetUpdateRect(window.hwnd, &update, FALSE));

    log.clear();
    glass->redraw(false);
    EXPECT_EQ("draw:3", log) << "an opaque component redraws alone";
    RECT pending = {22, 12, 28, 18};
    InvalidateRect(window.hwnd, &pending, FALSE);
    log.clear();
    box->redrawPendingUpdate();
    EXPECT_EQ("draw:2", log) << "the window's pending update in the box is painted now";
    EXPECT_FALSE(GetUpdateRect(window.hwnd, &update, FALSE));

    glass->setTransparent(true);
    EXPECT_FALSE(glass->hasFlags(ADisplayComponent::kEraseBackground));
    UpdateWindow(window.hwnd);
    log.clear();
    glass->redraw(false);
    EXPECT_EQ("draw:2 draw:3", log) << "a transparent redraw repaints what lies below it";

    DrawingBehavior* behavior = new DrawingBehavior(box);
    AObject::completeNew(behavior);
    log.clear();
    box->redraw(false);
    EXPECT_EQ(std::string::npos, log.find("draw:2")) << "a behaviour that drew stops the content: " << log;
}

TEST_F(DisplayTest, OffscreenComponentsInvalidateTheirRootsBitmap) {
    Probe* root = makeRoot(ARect(0, 0, 200, 100));
    root->setOffscreenRootFlag(true);
    Probe* box = make(root, 2, ARect(20, 10, 120, 60));
    Probe* inner = make(box, 3, ARect(5, 5, 25, 25));
    Probe* excluded = make(box, 4, ARect(50, 5, 60, 15));
    ADisplayServices::current().flushLayouts();
    for (Probe* p : {box, inner, excluded})
        p->show(false);
    excluded->setOffscreenExcluded(true);
    log.clear();
    inner->invalidateRect(ARect(1, 2, 3, 4));
    excluded->invalidateRect(ARect(0, 0, 5, 5));
    EXPECT_EQ("offscreen[26,17,28,19]:1 offscreen[70,15,75,20]:1", log)
        << "regions reach the root in its own coordinates, excluded components' too";
    EXPECT_FALSE(excluded->hasFlags(ADisplayComponent::kOffscreen));
}

TEST_F(DisplayTest, FocusFramesNeedRoom) {
    Probe* root = makeRoot(ARect(0, 0, 40, 40));
    Canvas canvas(40, 40);
    ADisplayLock lock(root, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
    root->drawFocusFrame(ARect(0, 0, 6, 20), *lock.display(), true, false);
    EXPECT_EQ(0, canvas.inkIn(ARect(0, 0, 40, 40))) << "no inner frame under 7 units";
    root->drawFocusFrame(ARect(0, 0, 20, 20), *lock.display(), true, false);
    EXPECT_NE(0, canvas.inkIn(ARect(3, 3, 17, 17)));
    EXPECT_EQ(0, canvas.inkIn(ARect(0, 0, 20, 3)));
}
