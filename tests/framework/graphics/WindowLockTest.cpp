// Locks and regions on a real window (these need an X display: the test run
// has one through xvfb-run; without one they skip).
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/APaletteTable.h"
#include "framework/graphics/ARegion.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

class Window {
public:
    Window() {
        hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~Window() {
        if (hwnd)
            DestroyWindow(hwnd);
    }
    RECT updateBox() const {
        RECT r = {0, 0, 0, 0};
        GetUpdateRect(hwnd, &r, FALSE);
        return r;
    }
    HWND hwnd;
};

}  // namespace

TEST_F(GraphicsTest, PaintLocksShareTheWindowsDisplay) {
    Window window;
    if (!window.hwnd)
        GTEST_SKIP() << "no X display";
    SiteComponent* site = makeSite(app, 1, ARect(10, 10, 110, 60));
    SiteComponent* sibling = makeSite(app, 2, ARect(120, 10, 180, 60));
    site->window = window.hwnd;
    sibling->window = window.hwnd;
    {
        APaintLock outer(site, nullptr);
        ASSERT_NE(nullptr, outer.display());
        EXPECT_TRUE(outer.display()->flags() & AGraphicDisplay::kOwnsWindowDC);
        outer.display()->SetForeColor(RGB(0, 0, 255));
        {
            APaintLock inner(site, nullptr);
            EXPECT_EQ(outer.display(), inner.display()) << "two paint locks on one component share a display";
            inner.display()->SetForeColor(RGB(255, 0, 0));
            APaintLock other(sibling, nullptr);
            EXPECT_NE(outer.display(), other.display());
            EXPECT_EQ(outer.display()->dc(), other.display()->dc())
                << "a component of the same window shares the context";
            {
                ADrawLock draw(site);
                EXPECT_EQ(outer.display(), draw.display());
            }
        }
        EXPECT_EQ(RGB(0, 0, 255), outer.display()->foreColor());
        EXPECT_EQ(RGB(0, 0, 255), GetTextColor(outer.display()->dc()));
    }
    EXPECT_EQ(nullptr, AGraphicDisplay::findDisplay(site, 0xFFFF)) << "the displays went with their locks";
}

TEST_F(GraphicsTest, RegionsInvalidateAndValidateAtTheirPlace) {
    Window window;
    if (!window.hwnd)
        GTEST_SKIP() << "no X display";
    ValidateRect(window.hwnd, nullptr);
    ARegion region(ARect(5, 5, 15, 10));
    region.invalidateAt(APoint(20, 30), window.hwnd);
    RECT box = window.updateBox();
    EXPECT_EQ(25, box.left);
    EXPECT_EQ(35, box.top);
    EXPECT_EQ(35, box.right);
    EXPECT_EQ(40, box.bottom);
    EXPECT_EQ(ARect(5, 5, 15, 10), region.ownerBounds()) << "the owner area stays";
    EXPECT_EQ(APoint(-20, -30), region.offset()) << "the GDI region stays where it was handed over";
    region.validateAt(APoint(20, 30), window.hwnd);
    EXPECT_EQ(0, window.updateBox().right);

    SiteComponent* site = makeSite(app, 1, ARect(20, 30, 120, 80));
    site->window = window.hwnd;
    InvalidateRect(window.hwnd, nullptr, FALSE);
    {
        ABeginPaintLock paint(site);
        ARect painted = paint.region().ownerBounds();
        EXPECT_EQ(ARect(0, 0, 100, 50), painted) << "the update region in the component's space, cut to its bounds";
    }
    EXPECT_EQ(0, window.updateBox().right) << "EndPaint validated the window";

    APaletteTable table(app);
    table.setEnabled(true);
    EXPECT_FALSE(table.realize(site, true));
    EXPECT_NE(0, window.updateBox().right) << "a background realisation redraws the window even without a palette";
}

// What a hold gathers reaches the window when the outermost hold ends, and
// before anything validates or reads the window's update region, so that no
// invalidation is lost or undoes a later validation.
TEST_F(GraphicsTest, InvalidationHoldHandsOverOnceAndInOrder) {
    Window window;
    if (!window.hwnd)
        GTEST_SKIP() << "no X display";
    struct Case {
        const char* name;
        void (*steps)(HWND hwnd, RECT& during);
        RECT during, after;  // the window's update box inside the steps, and after them
    };
    const Case cases[] = {
        {"two items, one update",
         [](HWND hwnd, RECT& during) {
             AInvalidationHold hold;
             ARegion(ARect(10, 10, 30, 20)).invalidateAt(APoint(0, 0), hwnd);
             ARegion(ARect(40, 30, 60, 40)).invalidateAt(APoint(0, 0), hwnd);
             GetUpdateRect(hwnd, &during, FALSE);
         },
         {0, 0, 0, 0},
         {10, 10, 60, 40}},
        {"a validation after an invalidation wins",
         [](HWND hwnd, RECT& during) {
             AInvalidationHold hold;
             ARegion(ARect(10, 10, 30, 20)).invalidateAt(APoint(0, 0), hwnd);
             ARegion(ARect(10, 10, 30, 20)).validateAt(APoint(0, 0), hwnd);
             GetUpdateRect(hwnd, &during, FALSE);
         },
         {0, 0, 0, 0},
         {0, 0, 0, 0}},
        {"a read of the update region sees what was gathered",
         [](HWND hwnd, RECT& during) {
             AInvalidationHold hold;
             ARegion(ARect(10, 10, 30, 20)).invalidateAt(APoint(5, 0), hwnd);
             ARegion read;
             read.fromUpdateRegion(APoint(0, 0), hwnd);
             ARect b = read.ownerBounds();
             during = {b.left(), b.top(), b.right(), b.bottom()};
         },
         {15, 10, 35, 20},
         {15, 10, 35, 20}},
        {"nested holds hand over at the outermost end",
         [](HWND hwnd, RECT& during) {
             AInvalidationHold outer;
             {
                 AInvalidationHold inner;
                 ARegion(ARect(10, 10, 30, 20)).invalidateAt(APoint(0, 0), hwnd);
             }
             GetUpdateRect(hwnd, &during, FALSE);
         },
         {0, 0, 0, 0},
         {10, 10, 30, 20}},
    };
    for (const Case& c : cases) {
        ValidateRect(window.hwnd, nullptr);
        RECT during = {0, 0, 0, 0};
        c.steps(window.hwnd, during);
        EXPECT_TRUE(EqualRect(&during, &c.during))
            << c.name << ": " << during.left << "," << during.top << "," << during.right << "," << during.bottom;
        RECT after = window.updateBox();
        EXPECT_TRUE(EqualRect(&after, &c.after))
            << c.name << ": " << after.left << "," << after.top << "," << after.right << "," << after.bottom;
    }
}
