// The application's browser views and command base: made by name as layouts
// make them, where the target picture goes, and which addresses a protected
// view loads itself.
#include <gtest/gtest.h>

#include <string>

#include "app/online/AMozillaFlashCmd.h"
#include "app/online/AMozillaProtectedView.h"
#include "app/online/AMozillaTargetView.h"
#include "app/online/ASVMozillaCallBacks.h"
#include "tests/app/online/OnlineTestHost.h"
#include "tests/base/procedural/NetTestSupport.h"
#include "tests/web/browser/BrowserTestSupport.h"

namespace {

// A window that records the update requests it receives.
class UpdateWindow : public TestWindow {
public:
    using TestWindow::TestWindow;
    void queueUpdate(long kind) override { updates += std::to_string(kind) + ";"; }
    std::string updates;
};

class AppBrowserViews : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        AOnlineHost::setCurrent(&host);
    }
    void TearDown() override {
        AOnlineHost::setCurrent(nullptr);
        BrowserTest::TearDown();
    }
    OnlineTestHost host;
};

TEST_F(AppBrowserViews, LayoutsMakeEachClassByName) {
    for (const char* name : {"AMozillaTargetView", "AMozillaProtectedView", "AMozillaView", "AMozillaFlashCmd"}) {
        SCOPED_TRACE(name);
        AObject* made = AClass::createByName(name);
        ASSERT_TRUE(made);
        EXPECT_STREQ(name, made->getClass()->name());
        if (auto* madeView = static_cast<AMozillaView*>(made->castTo(&AMozillaView::classRecord))) {
            // A view made by name has no browser until it is set up: its operations answer neutrally.
            EXPECT_STREQ("", madeView->getCurrentUrl().c_str());
            EXPECT_EQ(0, madeView->canGoBack());
            EXPECT_EQ(1, madeView->stop());
        }
        delete made;
    }
    AMozillaFlashCmd command;
    EXPECT_STREQ("", command.fName.c_str());
    EXPECT_EQ(nullptr, command.fTarget);
    EXPECT_EQ(0, command.fArgument);
    EXPECT_EQ(0, command.doIt());
}

TEST_F(AppBrowserViews, TheTargetPictureIsCentredOnThePoint) {
    AMozillaTargetView target;
    EXPECT_TRUE(target.hasPicture()) << "bitmap 1024";
    EXPECT_TRUE(target.isPointerOverView()) << "its web pane takes every load over";
    HDC screen = GetDC(nullptr);
    target.setPicture(CreateCompatibleBitmap(screen, 21, 10));
    ReleaseDC(nullptr, screen);
    struct Row {
        APoint point;
        ARect rect;
    } const rows[] = {
        {APoint(0, 0), ARect()},
        {APoint(100, 50), ARect(90, 45, 111, 55)},
        {APoint(5, 0), ARect(-5, -5, 16, 5)},
        {APoint(-7, -3), ARect(-17, -8, 4, 2)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.point.x << "," << r.point.y);
        target.setTargetPoint(r.point);
        ARect at = target.targetRect();
        EXPECT_EQ(r.rect.left(), at.left());
        EXPECT_EQ(r.rect.top(), at.top());
        EXPECT_EQ(r.rect.right(), at.right());
        EXPECT_EQ(r.rect.bottom(), at.bottom());
    }
    // A load forgets the point.
    target.setTargetPoint(APoint(3, 4));
    target.loadUrl(AString("about:blank"));
    EXPECT_EQ(0, target.targetPoint().x);
    EXPECT_EQ(0, target.targetPoint().y);
    target.setPicture(nullptr);
    target.setTargetPoint(APoint(3, 4));
    EXPECT_EQ(0, target.targetRect().width()) << "no picture, nothing drawn";
}

TEST_F(AppBrowserViews, TheTargetIsDrawnOverThePageAtItsPoint) {
    window = Open<TestWindow>(app, ARect(0, 0, 300, 200), "#background:255,255,255");
    if (!window->openWindow("target"))
        GTEST_SKIP() << "no display";
    auto* target = Shown(Open<AMozillaTargetView>(window, int16_t(5), Frame(0, 0, 300, 200)));
    view = target;
    window->showUpdate();
    settle(100);
    // The page's own window, over which the picture goes.
    HWND native = ContentWindow(target);
    ASSERT_TRUE(native);
    target->setTargetPoint(APoint(100, 60));
    EXPECT_EQ(1, target->drawContent(ARect(0, 0, 300, 200)));
    HDC dc = GetDC(native);
    // The cross's centre, and a corner of the picture outside the ring.
    COLORREF centre = GetPixel(dc, 100, 60);
    COLORREF corner = GetPixel(dc, 100 - 15, 60 - 15);
    ReleaseDC(native, dc);
    EXPECT_EQ(RGB(204, 0, 0), centre);
    EXPECT_EQ(RGB(255, 255, 255), corner);
    target->setTargetPoint(APoint(0, 0));
    EXPECT_EQ(0, target->drawContent(ARect(0, 0, 300, 200)));
}

TEST_F(AppBrowserViews, AProtectedViewLoadsOnlyFilesAndTheHomeComplement) {
    if (!ServerPorts().origin)
        GTEST_SKIP() << "no test server";
    window = Open<TestWindow>(app, ARect(0, 0, 400, 300), "#background:255,255,255");
    if (!window->openWindow("protected"))
        GTEST_SKIP() << "no display";
    auto* protectedView = Shown(Open<AMozillaProtectedView>(window, int16_t(5), Frame(0, 0, 400, 300)));
    view = protectedView;
    window->showUpdate();
    protectedView->addHandler("AllEvent", recorder);
    std::string origin = "http://127.0.0.1:" + std::to_string(ServerPorts().origin);
    std::string page = std::string(SV_SOURCE_DIR) + "/tests/web/browser/pages/find.html";
    struct Row {
        std::string url;
        bool allowed;      // the connection check's answer
        bool loadsHere;
        const char* shown;  // what the main window was asked to show
    } const rows[] = {
        {"FILE:///" + page, false, true, ""},
        {origin + "/sv/home?id=hom_compl", false, false, ""},
        {origin + "/sv/home?id=hom_compl", true, true, ""},
        {origin + "/sv/alert?x", false, false, ""},
        {origin + "/sv/alert?x", true, false, ",0,1;"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.url + (r.allowed ? " allowed" : " refused"));
        host.connectionAllowed = r.allowed;
        host.shown.clear();
        recorder->events.clear();
        EXPECT_EQ(1, protectedView->loadUrl(AString(r.url.c_str())));
        // A load that is not to come is given a second to show up anyway.
        bool loaded = pumpUntil(r.loadsHere ? 20000 : 1000, [&] {
            for (const std::string& e : recorder->events)
                if (e == "Loaded")
                    return true;
            return false;
        });
        EXPECT_EQ(r.loadsHere, loaded) << (recorder->events.empty() ? "" : recorder->events[0]);
        EXPECT_EQ(*r.shown ? r.url + r.shown : std::string(), host.shown);
    }
}

TEST_F(AppBrowserViews, TheAlertPageReplacesAFilteredPageAndItsHolderIsAsked) {
    if (!ServerPorts().origin)
        GTEST_SKIP() << "no test server";
    auto* holder = Open<UpdateWindow>(app, ARect(0, 0, 400, 300), "#background:255,255,255");
    window = holder;
    if (!window->openWindow("alert"))
        GTEST_SKIP() << "no display";
    view = Shown(Open<AMozillaView>(window, int16_t(5), Frame(0, 0, 400, 300)));
    window->showUpdate();
    view->addHandler("AllEvent", recorder);
    std::string origin = "http://127.0.0.1:" + std::to_string(ServerPorts().origin);
    host.config["SVSITE"] = origin;
    host.config["REDIRECT"] = "/sv/alert";
    ASVAlertCallBack alert(&host);
    // Nothing shown: nothing to replace, nobody asked.
    holder->updates.clear();
    alert.showAlert(view);
    EXPECT_EQ("", holder->updates);
    view->setCurrentUrl("http://other.test/p?a=1");
    recorder->events.clear();
    alert.showAlert(view);
    EXPECT_EQ("0;", holder->updates);
    ASSERT_TRUE(waitLoaded(recorder));
    EXPECT_STREQ((origin + "/sv/alert?id=alert&url=http%3A%2F%2Fother.test%2Fp%3Fa%3D1&title=http%3A%2F%2Fother.test%2Fp%3Fa%3D1"
                           "&data=v10")
                     .c_str(),
                 view->getCurrentUrl().c_str());
}

}  // namespace

