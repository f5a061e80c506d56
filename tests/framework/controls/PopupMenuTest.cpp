// Popup menus: items, command ids, columns, and trackings driven by keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/APopupMenu.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

// What the timer does while a menu is open: keys to post, then whether to close it.
std::vector<WPARAM> g_keys;
HMENU g_watched = nullptr;
std::string g_seen;

void CALLBACK DriveMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_watched) {
        for (int i = 0; i < GetMenuItemCount(g_watched); ++i)
            g_seen += (GetMenuState(g_watched, i, MF_BYPOSITION) & MF_CHECKED) ? "x" : ".";
    }
    HWND menu = FindWindowA("#32768", nullptr);
    if (g_keys.empty() || !menu) {
        EndMenu();
        return;
    }
    for (WPARAM key : g_keys)
        PostMessageA(menu, WM_KEYDOWN, key, 0);
}

int16_t TrackWith(APopupMenu* menu, std::vector<WPARAM> keys) {
    g_keys = std::move(keys);
    SetTimer(nullptr, 0, 50, DriveMenu);
    return menu->track(APoint(40, 40), menu->options() & ANativePopupMenu::kCheckCurrent);
}

// Fills an empty menu as it opens; counts its calls.
class Filler : public AMenuPreparer {
public:
    void prepareMenu(APopupButton* button) override {
        ++calls;
        if (button->countItems() == 0)
            button->appendItemsFromText("Imprimer\r\nExporter");
    }
    int calls = 0;
};

}  // namespace

TEST_F(ControlsTest, MenuItemsTakeCommandIdsSeparatorsNoneAndColumnsBreakEveryPerColumnItems) {
    auto* menu = Open<APopupMenu>(app, 0, 0);
    menu->setItemsPerColumn(20);
    EXPECT_EQ(0, menu->addItem(""));
    EXPECT_EQ(1, menu->nextCommandId()) << "a separator uses no id";
    EXPECT_NE(0u, GetMenuState(menu->menu(), 0, MF_BYPOSITION) & MF_SEPARATOR);
    for (int i = 1; i < 21; ++i)
        menu->addItem(("Article " + std::to_string(i)).c_str());
    struct Row {
        int index;
        bool breaks;
        UINT id;
    } rows[] = {{1, false, 1}, {19, false, 19}, {20, true, 20}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(row.breaks, (GetMenuState(menu->menu(), row.index, MF_BYPOSITION) & MF_MENUBARBREAK) != 0);
        EXPECT_EQ(row.id, GetMenuItemID(menu->menu(), row.index));
    }
    menu->setNextCommandId(0x7FFF);
    int last = menu->addItem("Dernier");
    int wrapped = menu->addItem("Premier");
    EXPECT_EQ(0x7FFFu, GetMenuItemID(menu->menu(), last));
    EXPECT_EQ(1u, GetMenuItemID(menu->menu(), wrapped));
    EXPECT_EQ(2, menu->findItem("Article 2", 0, 0)) << "a prefix match";
    EXPECT_EQ(20, menu->findItem("Article 2", 2, 0)) << "after start";
    EXPECT_EQ(20, menu->findItem("Article 20", 0, 1));
    menu->selectItem(22);
    EXPECT_EQ(22, menu->removeItem(22));
    EXPECT_EQ(0, menu->selectedIndex()) << "removing the current last item makes item 0 current";
    AComponent* c = menu;
    DeleteComponent(c);
}

TEST_F(ControlsTest, ADismissedMenuAnswersMinusOneAndAChoiceIsMarkedAtTheNextOpening) {
    if (!openWindow("menu"))
        GTEST_SKIP() << "no display";
    auto* menu = Open<APopupMenu>(app, 0, ANativePopupMenu::kCheckCurrent);
    menu->appendItemsFromText("Copier#c\r\nColler#v\r\nEffacer#e\r\n");
    g_watched = nullptr;
    EXPECT_EQ(-1, TrackWith(menu, {}));
    EXPECT_EQ(0, menu->selectedIndex());
    EXPECT_EQ(1, TrackWith(menu, {VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_EQ(1, menu->selectedIndex());
    EXPECT_EQ("v", std::string(menu->itemData(1).c_str()));
    g_watched = menu->menu();
    g_seen.clear();
    EXPECT_EQ(-1, TrackWith(menu, {}));
    EXPECT_EQ(".x.", g_seen) << "the chosen item is check-marked while the menu is open";
    EXPECT_EQ(0u, GetMenuState(menu->menu(), 1, MF_BYPOSITION) & MF_CHECKED) << "and only then";
    g_watched = nullptr;
    AComponent* c = menu;
    DeleteComponent(c);
    closeWindow();
}

TEST_F(ControlsTest, APopupButtonDropsItsMenuAndTellsAChoiceAndWithoutItemsIsAPlainButton) {
    if (!openWindow("popup button"))
        GTEST_SKIP() << "no display";
    auto* button = Open<APopupButton>(window, 2, Frame(10, 10, 34, 34), 0x0E, "#7", 0, ANativePopupMenu::kAtBottomLeft);
    Shown(button)->setOn(true);
    HWND hwnd = window->hwnd();
    struct Row {
        const char* name;
        const char* items;
        std::vector<WPARAM> keys;
        const char* log;
    } rows[] = {
        {"no items: a click", nullptr, {}, "2:1;"},
        {"an item chosen", "Imprimer\r\nExporter", {VK_DOWN, VK_RETURN}, "2:1;"},
        {"menu dismissed", nullptr, {}, ""},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.items)
            button->appendItemsFromText(row.items);
        window->log.clear();
        g_keys = row.keys;
        g_watched = nullptr;
        if (button->countItems() > 0)
            SetTimer(nullptr, 0, 50, DriveMenu);
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(row.log, window->log);
        EXPECT_FALSE(button->pressed());
    }
    EXPECT_EQ(0, button->selectedIndex());
    closeWindow();
}

TEST_F(ControlsTest, APopupButtonsPreparerRunsBeforeEachOpeningAndIsLetGoWhenTheButtonLeaves) {
    if (!openWindow("prepared button"))
        GTEST_SKIP() << "no display";
    auto* button = Open<APopupButton>(window, 2, Frame(10, 10, 34, 34), 0x0E, "#7", 0, ANativePopupMenu::kAtBottomLeft);
    Shown(button)->setOn(true);
    auto* filler = new Filler;
    filler->addRef();
    button->setMenuPreparer(filler);
    EXPECT_EQ(2, filler->refCount());
    HWND hwnd = window->hwnd();
    struct Row {
        const char* name;
        std::vector<WPARAM> keys;
        const char* log;
        int calls;
    } rows[] = {
        {"filled, then an item chosen", {VK_DOWN, VK_RETURN}, "2:1;", 1},
        {"prepared again, then dismissed", {}, "", 2},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->log.clear();
        g_keys = row.keys;
        g_watched = nullptr;
        SetTimer(nullptr, 0, 50, DriveMenu);
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(row.log, window->log);
        EXPECT_EQ(row.calls, filler->calls);
        EXPECT_EQ(2, button->countItems());
    }
    closeWindow();
    EXPECT_EQ(1, filler->refCount()) << "the button's reference went with it";
    filler->release();
}
