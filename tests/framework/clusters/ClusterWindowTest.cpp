// Clusters in real windows under Xvfb: Tab, Shift+Tab and Return sent as keys
// to the window, static items drawn or native by the application's style, tool
// bars in their own windows, floating bars as the frame's tool windows and a
// picture of a palette over the frame (build/artifacts/floating-palette.png).
#include <windows.h>

#include <string>

#include "framework/clusters/AGlobalCluster.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/graphics/AImage.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AToolWindow.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

AAtomicItem* Atomic(AComponent* parent, int16_t id, int32_t x, uint16_t focus) {
    return Shown(Open<AAtomicItem>(parent, id, Frame(x, 10, x + 40, 30), 0, 1, nullptr, focus));
}

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    if (hwnd)
        GetClassNameA(hwnd, name, sizeof name);
    return name;
}

}  // namespace

TEST_F(ClusterTest, TabAndShiftTabMoveTheFocusAlongTheTabStopsWithWrap) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 110), "#background:255,255,255");
    if (!w->openWindow("focus"))
        GTEST_SKIP() << "no display";
    AAtomicItem* a = Atomic(w, 1, 10, 0x3000);
    Atomic(w, 2, 60, 0x2000);
    AAtomicItem* c = Atomic(w, 3, 110, 0x1000);
    Atomic(w, 4, 160, 0x8000);
    w->showUpdate();
    ASSERT_EQ(1, a->becomeTarget(1));
    struct Row {
        const char* name;
        bool shift;
        AComponent* expect;
    } rows[] = {
        {"tab skips the focusable item that is no tab stop", false, c},
        {"tab from the last wraps to the first", false, a},
        {"shift+tab from the first wraps to the last", true, c},
        {"shift+tab", true, a},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sendKey(w->hwnd(), VK_TAB, row.shift);
        EXPECT_EQ(row.expect, app->target());
    }
}

TEST_F(ClusterTest, ReturnHitsTheDefaultItemOfTheNearestClusterThatHasOneOn) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 110), "#background:255,255,255");
    if (!w->openWindow("return"))
        GTEST_SKIP() << "no display";
    AAtomicItem* outerDefault = Atomic(w, 11, 10, 0x3000);
    auto* inner = Shown(Open<ALocalCluster>(w, 20, Frame(60, 0, 300, 100), 0, 1, nullptr));
    Atomic(inner, 21, 0, 0x3000);
    AAtomicItem* focused = Atomic(inner, 22, 50, 0x3000);
    auto* outerProbe = Open<LogProbe>(w, int16_t(90));
    auto* innerProbe = Open<LogProbe>(inner, int16_t(91));
    outerProbe->answers[500] = AComponent::noChangeCommand();
    innerProbe->answers[502] = AComponent::noChangeCommand();
    w->addAction(500, outerProbe, 11, nullptr);
    inner->addAction(502, innerProbe, 22, nullptr);
    w->setCurrentItem(11);
    inner->setCurrentItem(21);
    outerDefault->setOn(true);
    focused->setOn(true);
    w->showUpdate();
    app->flushUpdates();
    ASSERT_EQ(1, focused->becomeTarget(1));
    struct Row {
        const char* name;
        std::function<void()> before;
        const char* log;
    } rows[] = {
        {"the inner default is off: the outer one is hit", [] {}, "90:do500 "},
        {"no default on: the focused item notifies its owner", [&] { outerDefault->setOn(false); }, "91:do502 "},
        {"an off focused item is not hit", [&] { focused->setOn(false); }, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.before();
        LogProbe::log.clear();
        sendKey(w->hwnd(), VK_RETURN);
        EXPECT_EQ(row.log, LogProbe::log);
    }
}

TEST_F(ClusterTest, StaticItemsDrawThemselvesOrBecomeNativeControlsByTheApplicationsStyle) {
    struct Row {
        const char* name;
        uint16_t style;
        const char* text;  // the class of each item's control: text, drawn text, group box, adornment
        const char* drawnText;
        const char* group;
        const char* adornment;
    } rows[] = {
        {"style 0", 0, "", "", "", ""},
        {"style 0x0010", AApp::kNativeStatics, "KY_StaticText", "", "KY_GroupBox", ""},
        {"style 0x4000", 0x4000, "", "", "", "KY_BorShade"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        makeApp(row.style);
        auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 110), "#background:255,255,255");
        if (!w->openWindow("statics"))
            GTEST_SKIP() << "no display";
        auto* text = Open<AStaticText>(w, 1, Frame(10, 10, 100, 30), "R\xe9sum\xe9", 0x4002);
        auto* drawn = Open<AStaticText>(w, 2, Frame(10, 40, 100, 60), "Trac\xe9", AStaticText::kDrawn);
        auto* group = Open<AGroupBox>(w, 3, Frame(110, 10, 200, 90), "Groupe");
        auto* rule = Open<AAdornment>(w, 4, Frame(210, 10, 290, 12), 1);
        EXPECT_EQ(row.text, ClassOf(text->getHWnd()));
        EXPECT_EQ(row.drawnText, ClassOf(drawn->getHWnd()));
        EXPECT_EQ(row.group, ClassOf(group->getHWnd()));
        EXPECT_EQ(row.adornment, ClassOf(rule->getHWnd()));
        if (text->getHWnd()) {
            LONG style = GetWindowLongA(text->getHWnd(), GWL_STYLE);
            EXPECT_EQ(SS_CENTER, style & 3) << "0x0002 centres";
            EXPECT_NE(0, style & WS_GROUP) << "0x4000 groups";
            EXPECT_EQ("R\xe9sum\xe9", std::string(w->getItemText(1).c_str()));
            w->setItemText(1, "Chang\xe9");
            char shown[32] = "";
            GetWindowTextA(text->getHWnd(), shown, sizeof shown);
            EXPECT_STREQ("Chang\xe9", shown);
        } else {
            EXPECT_NE(0, text->format() & DT_CENTER) << "0x0002 centres";
            EXPECT_NE(nullptr, text->font());
        }
        AComponent* root = w;
        DeleteComponent(root);
    }
}

TEST_F(ClusterTest, TextAlignmentAndImageNamesFollowTheirFlagsAndNumbers) {
    ALocalCluster* cluster = Open<ALocalCluster>(app, 100, Frame(0, 0, 200, 200), 0, 1, nullptr);
    struct Align {
        uint16_t flags;
        UINT expect;
    } aligns[] = {{0x0003, DT_CENTER}, {0x0002, DT_CENTER}, {0x0001, DT_RIGHT}, {0x0000, 0}};
    for (const Align& row : aligns) {
        SCOPED_TRACE(row.flags);
        auto* text = Open<AStaticText>(cluster, 0, Frame(0, 0, 50, 20), "a", row.flags);
        EXPECT_EQ(row.expect, text->format() & (DT_CENTER | DT_RIGHT));
        EXPECT_EQ(DT_VCENTER | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX,
                  text->format() & ~static_cast<UINT>(DT_CENTER | DT_RIGHT));
    }
    struct Image {
        const char* name;
        bool loaded;
        uint16_t number;
    } images[] = {{"#", true, 0}, {"#5", true, 5}, {"", false, 0}};
    for (const Image& row : images) {
        SCOPED_TRACE(row.name);
        auto* image = Open<AStaticImage>(cluster, 0, Frame(0, 0, 50, 20), row.name, 0);
        ASSERT_EQ(row.loaded, image->image() != nullptr);
        EXPECT_EQ(!row.loaded, image->hasFlags(ADisplayComponent::kEraseBackground)) << "an image is not opaque";
        if (row.loaded) {
            EXPECT_TRUE(image->image()->body()->spec().resource.byNumber());
            EXPECT_EQ(row.number, image->image()->body()->spec().resource.number());
        }
    }
}

TEST_F(ClusterTest, ToolBarsLiveInTheirOwnWindowsAndTheApplicationsOwnIsOnlyHidden) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 110), "#background:255,255,255");
    if (!w->openWindow("bars"))
        GTEST_SKIP() << "no display";
    w->showUpdate();
    auto* child = Open<AToolBar>(w, 30, Frame(0, 0, 300, 24), "Outils");
    auto* palette = Open<AToolBar>(app, 31, Frame(400, 40, 500, 100), "Palette");
    auto* moved = new AToolBar(w, 32, Frame(50, 40, 150, 60), "");
    moved->clearItemFlags(AToolBar::kPalette);
    AObject::completeNew(moved);
    EXPECT_EQ(ARect(0, 0, 100, 20), moved->getFrame()) << "a child bar starts at (0, 0) and keeps its size";
    EXPECT_EQ(AToolBar::kPalette, palette->itemFlags() & 3) << "a new bar is a palette";
    EXPECT_EQ(0, child->itemFlags() & 3) << "placed at (0, 0): no palette";
    struct Row {
        const char* name;
        AToolBar* bar;
        DWORD kind;
        HWND parent;
    } rows[] = {
        {"child", child, WS_CHILD, w->hwnd()},
        {"palette", palette, WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hwnd = row.bar->getHWnd();
        ASSERT_NE(nullptr, hwnd);
        auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
        EXPECT_EQ(row.kind, style & (WS_CHILD | WS_POPUP | WS_CAPTION | WS_SYSMENU));
        if (row.parent) {
            EXPECT_EQ(row.parent, GetParent(hwnd));
        }
    }
    EXPECT_EQ(app, palette->getParent()) << "a parentless bar belongs to the application";
    EXPECT_EQ(WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_POPUP | WS_BORDER, AToolBar::windowStyle(3));

    EnableWindow(child->getHWnd(), FALSE);
    child->enableWindow(false);
    EXPECT_TRUE(IsWindowEnabled(child->getHWnd())) << "a child bar stays enabled";
    EnableWindow(palette->getHWnd(), FALSE);
    palette->enableWindow(true);
    EXPECT_FALSE(IsWindowEnabled(palette->getHWnd())) << "a palette is never touched";

    app->setToolBar(child);
    SendMessageA(child->getHWnd(), WM_CLOSE, 0, 0);
    SendMessageA(palette->getHWnd(), WM_CLOSE, 0, 0);
    app->flushUpdates();
    EXPECT_EQ(child, w->findItem(30, false)) << "the application's own bar stays";
    EXPECT_FALSE(child->hasFlags(ADisplayComponent::kShown));
    EXPECT_EQ(nullptr, app->findById(31, 0)) << "another bar is deleted";
    EXPECT_EQ(child->ownActionTable(), app->actionTable(1)) << "the application's bar takes its tool-bar commands";
    AComponent* gone = child;
    DeleteComponent(gone);
    EXPECT_EQ(nullptr, app->toolBar());
    EXPECT_EQ(nullptr, app->actionTable(1));
}

TEST_F(ClusterTest, FloatingBarsAreTheFramesToolWindowsAndOnlyTheApplicationsOwnSurvivesItsClose) {
    makeApp(0, true);
    auto frame = static_cast<HWND>(app->frameWindow());
    if (!frame)
        GTEST_SKIP() << "no display";
    auto* child = Open<AToolBar>(app, 30, Frame(0, 0, 640, 28), "Outils");
    app->setToolBar(child);
    MoveWindow(frame, 0, 0, 640, 400, TRUE);
    ShowWindow(frame, SW_SHOWNORMAL);
    SetActiveWindow(frame);
    ASSERT_EQ(frame, GetActiveWindow());
    auto* palette = Open<AToolBar>(app, 31, Frame(420, 90, 600, 200), "Palette");
    auto* popup = new AToolBar(app, 32, Frame(40, 300, 200, 330), "");
    popup->addItemFlags(AToolBar::kPopup);
    AObject::completeNew(popup);
    auto* status = Open<AStatusBar>(app, 33, Frame(0, 420, 640, 440));
    Shown(Open<AStaticText>(Shown(Open<ALocalCluster>(child, 0, Frame(0, 0, 640, 28), 0, 1, "#background:236,233,216")),
                            1, Frame(8, 4, 300, 24), "Barre de l'application", 0));
    auto* face = Shown(Open<ALocalCluster>(palette, 0, Frame(0, 0, 180, 80), 0, 1, "#background:255,255,204"));
    Shown(Open<AStaticText>(face, 1, Frame(10, 10, 170, 30), "R\xe9glages du texte", 0));
    Shown(Open<AStaticText>(face, 2, Frame(10, 40, 170, 60), "Page suivante", 0));
    child->showUpdate();
    palette->showUpdate();
    struct Row {
        const char* name;
        AGlobalCluster* bar;
        bool tool;
    } rows[] = {
        {"palette", palette, true},
        {"popup", popup, true},
        {"status bar", status, true},
        {"bar inside the frame", child, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hwnd = row.bar->getHWnd();
        ASSERT_NE(nullptr, hwnd);
        EXPECT_EQ(row.tool, dynamic_cast<AToolWindow*>(NativeWindowOf(hwnd)) != nullptr);
        EXPECT_EQ(frame, row.tool ? GetWindow(hwnd, GW_OWNER) : GetParent(hwnd));
        LRESULT click =
            SendMessageA(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
        EXPECT_EQ(row.tool, click == MA_NOACTIVATE) << "a floating bar never takes the activation";
        EnableWindow(frame, FALSE);
        EXPECT_EQ(!row.tool, IsWindowEnabled(hwnd) != 0) << "a floating bar follows the frame's enabling";
        EnableWindow(frame, TRUE);
        EXPECT_TRUE(IsWindowEnabled(hwnd));
    }
    EXPECT_EQ(frame, GetActiveWindow()) << "showing the bars left the frame active";

    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(palette->getHWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    Canvas canvas(640, 400);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 640, 400, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    canvas.savePng("floating-palette");
    RECT inside;
    GetClientRect(palette->getHWnd(), &inside);
    MapWindowPoints(palette->getHWnd(), nullptr, reinterpret_cast<POINT*>(&inside), 2);
    EXPECT_GT(canvas.inkIn(ARect(inside.left, inside.top, inside.right, inside.bottom)), 20) << "the palette is drawn";

    app->setToolBar(palette);
    AGlobalCluster* closed[] = {palette, popup, status};
    for (AGlobalCluster* bar : closed)
        SendMessageA(bar->getHWnd(), WM_CLOSE, 0, 0);
    app->flushUpdates();
    EXPECT_EQ(palette, app->findById(31, 0)) << "the application's own bar stays";
    EXPECT_FALSE(IsWindowVisible(palette->getHWnd()));
    EXPECT_EQ(nullptr, app->findById(32, 0)) << "another bar is deleted";
    EXPECT_EQ(nullptr, app->findById(33, 0)) << "a status bar is deleted";
    EXPECT_TRUE(GetFrame()->hasToolWindows()) << "the hidden bar stays with the frame";
    AComponent* gone = palette;
    DeleteComponent(gone);
    EXPECT_FALSE(GetFrame()->hasToolWindows()) << "a deleted bar's window leaves the frame";
}

TEST_F(ClusterTest, StatusBarsAndPanesFollowTheApplicationAndTheirBackground) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 110), nullptr);
    if (!w->openWindow("status"))
        GTEST_SKIP() << "no display";
    auto* status = Open<AStatusBar>(app, 40, Frame(0, 500, 400, 520));
    EXPECT_EQ(app, status->getParent()) << "a parentless bar belongs to the application";
    EXPECT_TRUE(IsWindowVisible(status->getHWnd()));
    Open<AAtomicItem>(status, 41, Frame(0, 0, 50, 20), 0, 1, nullptr, 0);
    EXPECT_TRUE(status->hasItem(41)) << "a bar files its items";
    status->setOwnerShown(true);
    EXPECT_TRUE(status->hasFlags(ADisplayComponent::kModeFlag | ADisplayComponent::kShown));
    status->setOwnerShown(false);
    EXPECT_FALSE(status->hasFlags(ADisplayComponent::kModeFlag));
    EXPECT_FALSE(status->hasFlags(ADisplayComponent::kShown));

    struct Row {
        const char* environment;
        bool opaque;
    } rows[] = {{nullptr, false}, {"#font:Arial", false}, {"#background:1,2,3", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.environment ? row.environment : "none");
        auto* pane = Open<ALocalCluster>(app, 0, Frame(0, 0, 10, 10), 0, 1, row.environment);
        EXPECT_EQ(row.opaque, pane->hasFlags(ADisplayComponent::kEraseBackground))
            << "a pane without a background of its own lets its parent show through";
    }
}

TEST_F(ClusterTest, ATextsNaturalSizeFitsItsWidestLine) {
    ALocalCluster* cluster = Open<ALocalCluster>(app, 100, Frame(0, 0, 200, 200), 0, 1, "#font:Arial");
    auto* one = Open<AStaticText>(cluster, 0, Frame(0, 0, 300, 20),
                                  "Encyclop\xe9"
                                  "die",
                                  0);
    auto* two = Open<AStaticText>(cluster, 0, Frame(0, 0, 300, 20),
                                  "Encyclop\xe9"
                                  "die\r\n\r\nla",
                                  0);
    APoint single = one->naturalSize(true);
    APoint fitted = two->naturalSize(true);
    APoint kept = two->naturalSize(false);
    EXPECT_GT(single.x, 5);
    EXPECT_EQ(single.x, fitted.x) << "the widest line, not the whole text";
    EXPECT_GT(fitted.y, single.y) << "each line adds to the height";
    EXPECT_EQ(300, kept.x) << "without fit the width is the item's";
}
