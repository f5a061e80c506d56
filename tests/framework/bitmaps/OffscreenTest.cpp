// The off-screen root's bitmap and copies, and the full-screen window.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/bitmaps/AFullScreenWindow.h"
#include "framework/bitmaps/AOffscreenRoot.h"
#include "framework/graphics/ADisplayLock.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// A component that fills its bounds with one colour.
class Fill : public ADisplayComponent {
public:
    Fill(AComponent* parent, int16_t id, const ARect& frame, COLORREF color)
        : ADisplayComponent(parent, id, ASizeSpec(frame)), color_(color) {}
    void setColor(COLORREF color) { color_ = color; }
    long drawContent(const ARect& rect) override {
        (void)rect;
        if (AGraphicDisplay* d = ADisplayContext::drawableCurrent())
            d->FillRect(getLocalBounds(), color_);
        ++draws;
        return 1;
    }
    int draws = 0;

private:
    COLORREF color_;
};

void PumpAll() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Notes the rectangles it erases.
class ErasingFullScreen : public AFullScreenWindow {
public:
    using AFullScreenWindow::AFullScreenWindow;
    void eraseBackground(const ARect& rect) override { erased.push_back(rect); }
    std::vector<ARect> erased;
};

class OffscreenTest : public ClusterTest {
protected:
    // An opened window with a root of the options at (10, 10, 110, 60) holding a red square; null without a display.
    AOffscreenRoot* makeRoot(int16_t options) {
        window = Open<TestWindow>(app, ARect(0, 0, 200, 120), "#background:255,255,255");
        if (!window->openWindow("offscreen"))
            return nullptr;
        auto* root = Shown(Open<AOffscreenRoot>(window, int16_t(4), Frame(10, 10, 110, 60), options));
        fill = Shown(Open<Fill>(root, int16_t(5), ARect(20, 10, 60, 40), RGB(200, 0, 0)));
        window->showUpdate();
        app->flushUpdates();
        ShowWindow(window->hwnd(), SW_SHOW);
        UpdateWindow(window->hwnd());
        PumpAll();
        return root;
    }
    // The window's pixel at (x, y) of its client area.
    COLORREF screenPixel(int x, int y) {
        HDC dc = GetDC(window->hwnd());
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(window->hwnd(), dc);
        return c;
    }
    void TearDown() override {
        if (window) {
            AComponent* gone = window;
            DeleteComponent(gone);
        }
        ClusterTest::TearDown();
    }
    TestWindow* window = nullptr;
    Fill* fill = nullptr;
};

}  // namespace

TEST_F(OffscreenTest, ARootDrawsThroughItsBitmapUnlessItsOptionsAreNegative) {
    struct Row {
        const char* name;
        int16_t options;
        bool bitmap;
    };
    const Row rows[] = {{"plain", 0, true}, {"negative", -1, false}, {"disabled bit only", int16_t(0x8000), false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AOffscreenRoot* root = makeRoot(row.options);
        if (!root)
            GTEST_SKIP() << "no display";
        EXPECT_EQ(row.bitmap, root->bitmap() != nullptr);
        EXPECT_EQ(row.bitmap, root->isOffscreen());
        EXPECT_EQ(row.bitmap, root->hasFlags(ADisplayComponent::kOffscreenRoot));
        EXPECT_EQ(row.bitmap, fill->hasFlags(ADisplayComponent::kOffscreen)) << "the subtree follows its root";
        EXPECT_EQ(row.bitmap ? APoint(100, 50) : APoint(0, 0), root->bitmapSize());
        if (row.bitmap) {
            EXPECT_EQ(RGB(255, 255, 255), root->getBackColor());
            APoint at = root->windowPosition();
            EXPECT_EQ(RGB(200, 0, 0), GetPixel(root->getDisplay(), at.x + 30, at.y + 20)) << "drawn into the bitmap";
        } else {
            EXPECT_EQ(nullptr, root->getDisplay());
        }
        EXPECT_LT(0, fill->draws);
        EXPECT_EQ(RGB(200, 0, 0), screenPixel(10 + 30, 10 + 20)) << "and shown on the screen";
        AComponent* gone = window;
        DeleteComponent(gone);
        window = nullptr;
    }
}

TEST_F(OffscreenTest, ADescendantRedrawnAtOnceReachesTheScreenThroughTheRoot) {
    AOffscreenRoot* root = makeRoot(0);
    if (!root)
        GTEST_SKIP() << "no display";
    ASSERT_EQ(RGB(200, 0, 0), screenPixel(10 + 30, 10 + 20));
    fill->setColor(RGB(0, 0, 200));
    fill->redrawRegion(ARegion(fill->getLocalBounds()), false);
    APoint at = root->windowPosition();
    EXPECT_EQ(RGB(0, 0, 200), GetPixel(root->getDisplay(), at.x + 30, at.y + 20));
    EXPECT_EQ(RGB(0, 0, 200), screenPixel(10 + 30, 10 + 20)) << "without waiting for a paint";
}

TEST_F(OffscreenTest, ALayoutGivesTheRootsTheirOptions) {
    window = Open<TestWindow>(app, ARect(0, 0, 200, 100), "#background:255,255,255");
    AComponent* loaded = AComponent::loadLayout(window, "OffscreenLayout", 0);
    ASSERT_NE(nullptr, loaded);
    auto* off = dynamic_cast<AOffscreenRoot*>(loaded->findById(411, 0));
    auto* on = dynamic_cast<AOffscreenRoot*>(loaded->findById(412, 0));
    ASSERT_TRUE(off && on);
    EXPECT_EQ(-1, off->options());
    EXPECT_EQ(nullptr, off->bitmap());
    EXPECT_EQ(0x4000, on->options());
    EXPECT_TRUE(on->hasFlags(ADisplayComponent::kOffscreenRoot));
}

TEST_F(OffscreenTest, ResizingMakesANewWhiteBitmapAndMarksTheNewPartDirty) {
    AOffscreenRoot* root = makeRoot(0);
    if (!root)
        GTEST_SKIP() << "no display";
    HBITMAP first = root->bitmap();
    root->removeDirty(ARegion(ARect(0, 0, 1000, 1000)));
    root->setSize(APoint(150, 80), false);
    EXPECT_EQ(APoint(150, 80), root->bitmapSize());
    EXPECT_NE(first, root->bitmap());
    EXPECT_EQ(ARect(0, 0, 150, 80), root->dirty().ownerBounds()) << "what the new size uncovers";
    ARegion old(ARect(0, 0, 100, 50));
    old.intersect(root->dirty());
    EXPECT_TRUE(old.isEmpty());
    APoint at = root->windowPosition();
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(root->getDisplay(), at.x + 30, at.y + 20)) << "the old content is gone";
    PumpAll();
    EXPECT_EQ(RGB(200, 0, 0), GetPixel(root->getDisplay(), at.x + 30, at.y + 20)) << "and drawn again";
    EXPECT_EQ(RGB(200, 0, 0), screenPixel(10 + 30, 10 + 20));
}

TEST_F(OffscreenTest, AFullScreenWindowCoversTheScreenAndKnowsItsRoot) {
    const ARect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    auto* w = Open<ErasingFullScreen>(app, int16_t(1), "full", uint16_t(AWindow::kTopLevel));
    EXPECT_EQ(screen, w->getFrame());
    EXPECT_EQ(screen, w->getNaturalFrame());
    w->changeFrame(ARect(5, 5, 50, 60));
    EXPECT_EQ(screen, w->getFrame()) << "whatever it is asked";
    auto* root = Open<AOffscreenRoot>(w, int16_t(4), Frame(0, 0, 100, screen.bottom()), int16_t(-1));
    EXPECT_EQ(root, w->root());
    for (ADisplayComponent* c : {static_cast<ADisplayComponent*>(w), static_cast<ADisplayComponent*>(root)}) {
        c->setPlaced(true);
        c->setVisibleFlag(true);
    }
    root->setEraseBackgroundFlag(false);  // the base would paint under a root that does not erase
    Canvas canvas(10, 10);
    auto paint = [&] {
        w->erased.clear();
        ADisplayLock lock(w, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        w->draw(ARegion(screen));
        return w->erased.empty() ? ARect() : w->erased[0];
    };
    EXPECT_EQ(ARect(100, 0, screen.right(), screen.bottom()), paint()) << "the root's area is left alone";
    root->setVisibleFlag(false);
    EXPECT_EQ(screen, paint()) << "a hidden root is painted over";
    root->setVisibleFlag(true);
    Open<Fill>(w, int16_t(6), ARect(0, 0, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(root, w->root()) << "other children are not the root";
    AComponent* gone = root;
    DeleteComponent(gone);
    EXPECT_EQ(nullptr, w->root());
    EXPECT_EQ(screen, paint()) << "without its root the window paints everything";
    gone = w;
    DeleteComponent(gone);
}

namespace {

// An application whose area is smaller than the screen, as a frame's MDI client is.
class SmallAreaApp : public AApp {
public:
    SmallAreaApp() : AApp(AString("TestClusters"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}
    ARect applicationArea() override { return ARect(0, 0, 300, 200); }

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

}  // namespace

TEST_F(OffscreenTest, AFullScreenWindowStaysOverTheScreenWhenTheApplicationAreaIsSmaller) {
    dropApp();
    AClass::buildRegistry();
    SetErrorStream(&errors);
    app = new SmallAreaApp;
    app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    AObject::completeNew(app);
    auto* w = Open<ErasingFullScreen>(app, int16_t(1), "full", uint16_t(AWindow::kTopLevel));
    if (!w->getHWnd())
        GTEST_SKIP() << "no display";
    RECT r;
    GetWindowRect(w->getHWnd(), &r);
    EXPECT_LE(r.left, 0);
    EXPECT_LE(r.top, 0);
    EXPECT_GE(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    AComponent* gone = w;
    DeleteComponent(gone);
}

TEST_F(OffscreenTest, ARootWithItsOwnWindowDrawsThroughItUntilItIsDetached) {
    AOffscreenRoot* root = makeRoot(AOffscreenRoot::kOwnWindow);
    if (!root)
        GTEST_SKIP() << "no display";
    HWND own = root->getHWnd();
    ASSERT_NE(nullptr, own);
    ASSERT_NE(window->hwnd(), own);
    EXPECT_EQ(window->hwnd(), GetParent(own));
    EXPECT_EQ(DWORD(WS_CHILD | WS_CLIPCHILDREN),
              GetWindowLongA(own, GWL_STYLE) & (WS_CHILD | WS_CLIPCHILDREN | WS_POPUP));
    auto inParent = [&] {
        RECT r;
        GetWindowRect(own, &r);
        MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return ARect(r.left, r.top, r.right, r.bottom);
    };
    EXPECT_EQ(ARect(10, 10, 110, 60), inParent()) << "over the root's frame";
    EXPECT_EQ(APoint(100, 50), root->bitmapSize());
    EXPECT_EQ(APoint(0, 0), root->windowPosition()) << "the bitmap's origin is the window's";
    EXPECT_EQ(RGB(200, 0, 0), GetPixel(root->getDisplay(), 30, 20)) << "drawn into the bitmap";
    auto ownPixel = [&](int x, int y) {
        HDC dc = GetDC(own);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(own, dc);
        return c;
    };
    EXPECT_EQ(RGB(200, 0, 0), ownPixel(30, 20)) << "and copied into the root's window";

    fill->setColor(RGB(0, 0, 200));
    fill->redrawRegion(ARegion(fill->getLocalBounds()), false);
    EXPECT_EQ(RGB(0, 0, 200), ownPixel(30, 20)) << "a redraw reaches the window at once";

    root->setSize(APoint(150, 80), false);
    EXPECT_EQ(ARect(10, 10, 160, 90), inParent()) << "the window follows the root";
    EXPECT_EQ(APoint(150, 80), root->bitmapSize());
    PumpAll();
    EXPECT_EQ(RGB(0, 0, 200), ownPixel(30, 20)) << "drawn again into the new bitmap";

    AComponent* gone = window;
    DeleteComponent(gone);
    window = nullptr;
    EXPECT_FALSE(IsWindow(own)) << "the window goes with the root";
}
