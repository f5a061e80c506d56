// Menu bars (under an application object, which decides on assertions) loaded from the framework's menu and popup list
// resources: the popups filed by id, items disabled until their state is set, texts and the system menu's close item.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"
#include "framework/menus/AMenuBar.h"
#include "tests/framework/app/AppTestSupport.h"

namespace {

struct Window {
    Window() {
        hwnd = CreateWindowExA(0, "STATIC", "menus", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~Window() {
        if (hwnd)
            DestroyWindow(hwnd);
    }
    HWND hwnd;
};

// Every command item of the menu and its submenus, "id:state " in order.
std::string States(AMenuBar& bar, HMENU menu) {
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            out += States(bar, sub);
            continue;
        }
        auto id = static_cast<int16_t>(GetMenuItemID(menu, i));
        if (id != 0)
            out += std::to_string(id) + ":" + std::to_string(bar.getItemState(id)) + " ";
    }
    return out;
}

}  // namespace

TEST_F(AppTest, ThePopupListFilesThePopupsAndItemsStartDisabled) {
    Window window;
    if (!window.hwnd)
        GTEST_SKIP() << "no display";
    AComponent owner(nullptr, 0);
    AMenuBar bar(&owner, window.hwnd, AResourceRef("AApp"));
    bar.load();
    HMENU menu = bar.menu();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(menu, GetMenu(window.hwnd));
    EXPECT_EQ(GetSubMenu(menu, 0), bar.popup(10));
    EXPECT_EQ(GetSubMenu(menu, 1), bar.popup(30));
    EXPECT_EQ(GetSubMenu(menu, 2), bar.popup(930));
    EXPECT_EQ(nullptr, bar.windowMenu());
    EXPECT_EQ("22:2 32:2 33:2 34:2 36:2 933:2 ", States(bar, menu));

    struct Row {
        int16_t id;
        long state;
        long expected;
    };
    const auto close = static_cast<int16_t>(SC_CLOSE);
    const Row rows[] = {{22, 1, 1}, {33, 5, 5}, {33, 4, 6},    {36, 2, 2},
                        {30, 1, 1}, {30, 2, 2}, {close, 2, 2}, {close, 1, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        bar.setItemState(r.id, r.state);
        EXPECT_EQ(r.expected, bar.getItemState(r.id));
        EXPECT_TRUE(bar.dirty());
        bar.redraw();
        EXPECT_FALSE(bar.dirty());
    }
    EXPECT_EQ(0, bar.getItemState(999));
    EXPECT_EQ(1, bar.getItemState(static_cast<int16_t>(SC_CLOSE)));
    EXPECT_TRUE(bar.findItem(-4000).menu() == GetSystemMenu(window.hwnd, FALSE));
    EXPECT_EQ("&Edition", std::string(bar.getItemText(30).c_str()));
    EXPECT_EQ("Co&pier\tCtrl+C", std::string(bar.getItemText(33).c_str()));
    std::string longText(300, 'x');
    bar.setItemText(33, longText.c_str());
    EXPECT_EQ(std::string(255, 'x'), std::string(bar.getItemText(33).c_str()));
    bar.setItemText(10, "&Dossier");
    EXPECT_EQ(GetSubMenu(menu, 0), bar.popup(10));
    EXPECT_EQ("&Dossier", std::string(bar.getItemText(10).c_str()));

    // A second load changes nothing; detaching takes the menu off the window.
    bar.load();
    EXPECT_EQ(menu, bar.menu());
    bar.setAttached(false);
    EXPECT_EQ(nullptr, GetMenu(window.hwnd));
    bar.setAttached(true);
    EXPECT_EQ(menu, GetMenu(window.hwnd));
}

TEST_F(AppTest, APopupListThatDoesNotMatchTheMenuIsRefused) {
    Window window;
    if (!window.hwnd)
        GTEST_SKIP() << "no display";
    AComponent owner(nullptr, 0);
    struct Row {
        const char* base;
        long line;
    };
    // Short: one popup id fewer than the menu's popups; OnItem: names a command item.
    const Row rows[] = {{"TestShort", 561}, {"TestOnItem", 556}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.base);
        AMenuBar bar(&owner, window.hwnd, AResourceRef(r.base));
        SetErrorStream(&errors);
        errors.text.clear();
        EXPECT_NE(-1, FatalExitCodeOf([&bar] { bar.load(); }));
        EXPECT_NE(std::string::npos, errors.text.find("File fmenu ; Line " + std::to_string(r.line))) << errors.text;
    }
    AMenuBar missing(&owner, window.hwnd, AResourceRef("TestNone"));
    SetErrorStream(&errors);
    errors.text.clear();
    EXPECT_NE(-1, FatalExitCodeOf([&missing] { missing.load(); }));
    EXPECT_NE(std::string::npos, errors.text.find("AMemError")) << errors.text;
}

// Check-mark bitmaps come from the bar's resources, each number loaded once,
// and go with the bar; an item that does not exist is left alone.
TEST_F(AppTest, ItemBitmapsComeFromTheResourcesOnceAndGoWithTheBar) {
    Window window;
    if (!window.hwnd)
        GTEST_SKIP() << "no display";
    if (HIWORD(GetMenuCheckMarkDimensions()) >= 32)
        GTEST_SKIP() << "large check marks take bitmaps 263 and 264";
    AComponent owner(nullptr, 0);
    HBITMAP seven = nullptr, eight = nullptr;
    {
        AMenuBar bar(&owner, window.hwnd, AResourceRef("AApp"));
        bar.load();
        seven = bar.itemBitmap(7);
        eight = bar.itemBitmap(8);
        ASSERT_NE(nullptr, seven);
        ASSERT_NE(nullptr, eight);
        auto name = [&](HBITMAP h) -> std::string { return h == seven ? "7" : h == eight ? "8" : h ? "?" : "-"; };
        struct Row {
            int16_t id, unchecked, checked;
            const char* expected;  // unchecked and checked bitmaps; "" for no change
        };
        const Row rows[] = {
            {33, 7, 8, "7 8"},    {34, 8, -1, "8 8"},   {36, 7, 0, "7 -"}, {30, 0, 8, "- 8"},
            {-4000, 8, 7, "8 7"}, {22, 4321, 7, "- 7"}, {999, 7, 8, ""},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.id);
            bar.redraw();
            bar.setItemBitmaps(r.id, r.unchecked, r.checked);
            AMenuItemRef item = bar.findItem(r.id);
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_CHECKMARKS;
            BOOL found = GetMenuItemInfoA(item.menu(), static_cast<UINT>(item.item()),
                                          item.mode() == AMenuItemRef::kByPosition, &info);
            EXPECT_EQ(*r.expected != '\0', bar.dirty());
            if (*r.expected)
                EXPECT_EQ(r.expected, name(info.hbmpUnchecked) + " " + name(info.hbmpChecked));
            else
                EXPECT_FALSE(found);
        }
        EXPECT_EQ(seven, bar.itemBitmap(7));
    }
    EXPECT_EQ(0u, GetObjectType(seven));
    EXPECT_EQ(0u, GetObjectType(eight));
}
