// Popup windows (one at a time, deleted through the queue once) and the
// wait box's layout, shadow and picture, all framework windows of a real
// application.
#include <string>

#include "framework/bitmaps/ABitmapView.h"
#include "framework/display/ADisplayServices.h"
#include "framework/extras/AGoAwayBitmap.h"
#include "framework/extras/APopupWin.h"
#include "framework/extras/ATextBox.h"
#include "framework/extras/AWaitBox.h"
#include "framework/graphics/ATextStyle.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

template <class T>
T* Opened(T* component) {
    AObject::completeNew(component);
    return component;
}

std::string Describe(const ARect& r) {
    return std::to_string(r.left()) + "," + std::to_string(r.top()) + "," + std::to_string(r.right()) + "," +
           std::to_string(r.bottom());
}

class PopupTest : public ClusterTest {
protected:
    void TearDown() override {
        if (AComponent* popup = APopupWin::current())
            DeleteComponent(popup);
        runPending();
        ClusterTest::TearDown();
    }
    short queued() { return app->commandQueue().count(); }
    void runPending() { app->commandQueue().run(); }
    // The application's windows: its children that are framework windows.
    int windows() {
        int n = 0;
        Alist& children = app->children();
        for (ALink* l = children.firstLink(); l != children.sentinel(); l = l->next)
            n += dynamic_cast<AWindow*>(ChildOf(l)) ? 1 : 0;
        return n;
    }
};

TEST_F(PopupTest, OnePopupAtATimeAndOneQueuedDelete) {
    APopupWin* first = Opened(new APopupWin(app, ARect(10, 10, 110, 60), true));
    if (!first->getHWnd())
        GTEST_SKIP() << "no X display";
    EXPECT_EQ(first, APopupWin::current());
    APopupWin* second = Opened(new APopupWin(app, ARect(20, 20, 120, 70), false));
    EXPECT_EQ(second, APopupWin::current()) << "the first is deleted at once";
    EXPECT_EQ(1, windows());

    EXPECT_TRUE(second->isKindOf(&AWindow::classRecord));
    // Kept when deactivated without closeOnDeactivate; closing queues one delete.
    second->activate(true);
    second->activate(false);
    EXPECT_EQ(0, queued());
    EXPECT_EQ(AComponent::noChangeCommand(), second->doCommand(AWindow::kCloseCommand, 0));
    EXPECT_TRUE(second->goingAway()) << "the close command";
    EXPECT_EQ(1, queued());
    EXPECT_EQ(AComponent::noChangeCommand(), second->doCommand(AWindow::kCancelCommand, 0)) << "Escape's";
    second->goAway();
    EXPECT_EQ(1, queued()) << "queued once";
    runPending();
    EXPECT_EQ(nullptr, APopupWin::current());
    EXPECT_EQ(0, windows());

    APopupWin* leaving = Opened(new APopupWin(app, ARect(10, 10, 110, 60), true));
    leaving->showUpdate();
    EXPECT_EQ(leaving->getHWnd(), GetActiveWindow());
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 200, 200, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(other);
    EXPECT_EQ(1, queued()) << "deactivated: goes away";
    DestroyWindow(other);
    // A newer popup deletes it at once: its queued delete goes with it.
    APopupWin* newer = Opened(new APopupWin(app, ARect(10, 10, 110, 60), true));
    EXPECT_EQ(0, queued());
    runPending();
    EXPECT_EQ(newer, APopupWin::current());
}

TEST_F(PopupTest, TwoClicksQueueOneDelete) {
    AClickInGoAway* popup = Opened(new AClickInGoAway(app, ARect(30, 30, 130, 80), false));
    HWND hwnd = popup->getHWnd();
    if (!hwnd)
        GTEST_SKIP() << "no X display";
    popup->showUpdate();
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
    EXPECT_TRUE(popup->goingAway());
    EXPECT_EQ(1, queued());
    runPending();
    EXPECT_EQ(nullptr, APopupWin::current());
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(PopupTest, PicturePopupFitsItsPictureAndTakesTheMouse) {
    // The same 61x37 picture with a yellow disc, as each reader takes it.
    for (const char* name : {"rgb24.bmp", "rgb24.ky", "rgb.jpg"}) {
        SCOPED_TRACE(name);
        AGoAwayBitmap* popup = Opened(new AGoAwayBitmap(false, true));
        HWND hwnd = popup->getHWnd();
        if (!hwnd)
            GTEST_SKIP() << "no X display";
        const AFileSpec picture((std::string(SV_DIB_SAMPLES) + name).c_str());
        popup->setBitmap(picture, 0);
        ASSERT_NE(nullptr, popup->bitmapView());
        EXPECT_TRUE(popup->bitmapView()->hasBitmap());
        RECT r;
        GetClientRect(hwnd, &r);
        EXPECT_EQ(61, r.right - r.left);
        EXPECT_EQ(37, r.bottom - r.top);
        popup->display(picture, 0);
        ADisplayServices::current().flushLayouts();
        const ARect outer = popup->getScreenFrame();
        // Centring keeps an odd difference's extra unit inside the window.
        EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - outer.width()) / 2, outer.left()) << "centred";
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) - outer.left(), outer.right());
        UpdateWindow(hwnd);
        HDC dc = GetDC(hwnd);
        const COLORREF disc = GetPixel(dc, 30, 18);
        ReleaseDC(hwnd, dc);
        // JPEG rounding moves the colour a little.
        EXPECT_TRUE(GetRValue(disc) > 230 && GetGValue(disc) > 230 && GetBValue(disc) < 40) << "the yellow disc";
    }
    auto* popup = static_cast<AGoAwayBitmap*>(APopupWin::current());
    ASSERT_NE(nullptr, popup);
    HWND hwnd = popup->getHWnd();
    popup->activate(true);
    EXPECT_EQ(hwnd, GetCapture());
    popup->activate(false);
    EXPECT_EQ(nullptr, GetCapture());
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    runPending();
    EXPECT_EQ(nullptr, APopupWin::current());
}

TEST_F(PopupTest, WaitBoxHasAShadowAndACentredMessage) {
    _AWaitBox* box = Opened(new _AWaitBox(200));
    if (!box->getHWnd()) {
        AComponent* doomed = box;
        DeleteComponent(doomed);
        GTEST_SKIP() << "no X display";
    }
    ADisplayServices::current().flushLayouts();
    ASSERT_NE(nullptr, box->textBox());
    EXPECT_EQ("0,0,198,98", Describe(box->textBox()->getFrame()));
    EXPECT_EQ(ATextBox::kCentred | ATextBox::kNativeStatic, box->textBox()->itemFlags());
    EXPECT_TRUE(box->textBox()->isKindOf(AClass::findByName("AStaticText"))) << "the message area is a static text";
    EXPECT_EQ(RGB(192, 192, 192), box->style()->backColor()) << "the style leaves its background unset";
    box->textBox()->setText("Recherche en cours,\nveuillez patienter...");
    box->showUpdate();
    UpdateWindow(box->getHWnd());
    Canvas canvas(200, 100);
    HDC dc = GetDC(box->getHWnd());
    BitBlt(canvas.dc(), 0, 0, 200, 100, dc, 0, 0, SRCCOPY);
    ReleaseDC(box->getHWnd(), dc);
    const std::string path = canvas.savePng("wait-box");
    printf("wait box: %s\n", path.c_str());
    struct Row {
        int x, y;
        COLORREF colour;
    } rows[] = {{199, 50, RGB(0, 0, 0)}, {100, 99, RGB(0, 0, 0)}, {198, 98, RGB(0, 0, 0)}, {3, 3, RGB(192, 192, 192)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
        EXPECT_EQ(row.colour, canvas.pixel(row.x, row.y));
    }
    // The message is centred: as much room above its ink as below.
    int top = -1, bottom = -1;
    for (int y = 0; y < 98; ++y) {
        for (int x = 0; x < 198; ++x) {
            if (canvas.pixel(x, y) != RGB(192, 192, 192)) {
                bottom = y;
                top = top < 0 ? y : top;
            }
        }
    }
    ASSERT_GE(top, 0) << "no message";
    EXPECT_NEAR(top, 97 - bottom, 3);
    AComponent* doomed = box;
    DeleteComponent(doomed);
}

}  // namespace

// The splash screen is the picture that the setting "SplashScreen" names, in
// a picture popup sized to it; a setting naming no file shows nothing.
TEST_F(PopupTest, TheSplashScreenShowsThePictureTheSettingsName) {
    const std::string picture = std::string(SV_DIB_SAMPLES) + "rgb24.bmp";
    struct Row {
        const char* name;
        std::string setting;
        bool shown;
    } rows[] = {
        {"no setting", "", false},
        {"a missing file", picture + ".absent", false},
        {"a picture", picture, true},
    };
    const char* ini = ".\\TestClusters.ini";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        WritePrivateProfileStringA("settings", "SplashScreen", r.setting.empty() ? nullptr : r.setting.c_str(), ini);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini);
        APopupWin* before = APopupWin::current();
        EXPECT_EQ(r.shown, app->showSplashScreen());
        auto* splash = dynamic_cast<AGoAwayBitmap*>(APopupWin::current());
        if (!r.shown) {
            EXPECT_EQ(before, APopupWin::current());
            continue;
        }
        ASSERT_NE(nullptr, splash);
        if (!splash->getHWnd())
            GTEST_SKIP() << "no X display";
        EXPECT_TRUE(IsWindowVisible(splash->getHWnd()));
        ASSERT_NE(nullptr, splash->bitmapView());
        EXPECT_TRUE(splash->bitmapView()->hasBitmap());
    }
    DeleteFileA(ini);
}
