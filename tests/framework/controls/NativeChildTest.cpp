// Native child controls: their classes, styles and notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/ANativeChild.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

// An item that records what its native control tells it.
class Recorder : public AAtomicItem {
public:
    Recorder(AComponent* parent, int16_t id) : AAtomicItem(parent, id, Frame(0, 0, 10, 10), 0, 1, nullptr, 0) {}
    long notifyOwner(long argument) override {
        log += "owner " + std::to_string(argument) + ";";
        return 7;
    }
    void queueUpdate(long kind) override { log += "change " + std::to_string(kind) + ";"; }
    std::string log;
};

std::string ClassName(HWND hwnd) {
    char name[64] = "";
    if (hwnd)
        GetClassNameA(hwnd, name, sizeof name);
    return name;
}

LRESULT Command(HWND parent, HWND control, int code) {
    return SendMessageA(parent, WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(control));
}

}  // namespace

TEST_F(ClusterTest, NativeChildrenAreTheirKindsSuperclassesAndPassOnOnlyTheirNotifications) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 210), nullptr);
    if (!w->openWindow("children"))
        GTEST_SKIP() << "no display";
    auto* item = Open<Recorder>(w, 1);
    ARect r(10, 10, 110, 30);
    struct Row {
        const char* name;
        std::unique_ptr<ANativeChild> child;
        const char* className;
        DWORD styleBits;
        int code;
        const char* log;
    };
    Row rows[] = {
        {"scroll bar", std::make_unique<ANativeScrollBar>(item, "", 0, r, true), "KY_ScrollBar", 0, 0, "owner 1;"},
        {"grow box", std::make_unique<ANativeGrowBox>(item, "", 0, r, true), "KY_GrowBox", SBS_SIZEBOX, 0, ""},
        {"group box", std::make_unique<ANativeGroupBox>(item, "", 0, r, true), "KY_GroupBox", BS_GROUPBOX, 0, ""},
        {"push", std::make_unique<ANativePushButton>(item, "", 0, r, true), "KY_PushButton", 0, BN_CLICKED, "owner 1;"},
        {"push, other code", std::make_unique<ANativePushButton>(item, "", 0, r, true), "KY_PushButton", 0, 5, ""},
        {"radio", std::make_unique<ANativeRadioButton>(item, "", 0, r, true), "KY_RadioButton", BS_RADIOBUTTON, 0,
         "owner 1;"},
        {"check", std::make_unique<ANativeCheckBox>(item, "", 0, r, true), "KY_CheckBox", BS_CHECKBOX, 0, "owner 1;"},
        {"bwcc check without bwcc32", std::make_unique<ANativeBorCheck>(item, "", 0, r, true), "KY_CheckBox",
         BS_CHECKBOX, 0, "owner 1;"},
        {"list double click", std::make_unique<ANativeListBox>(item, "", 0, r, true), "KY_ListBox", 0, LBN_DBLCLK,
         "owner 1;"},
        {"list selection", std::make_unique<ANativeListBox>(item, "", 0, r, true), "KY_ListBox", 0, LBN_SELCHANGE,
         "change 2;"},
        {"list cancel", std::make_unique<ANativeListBox>(item, "", 0, r, true), "KY_ListBox", 0, LBN_SELCANCEL,
         "owner 3;"},
        {"combo end ok", std::make_unique<ANativeComboBox>(item, "", 0, r, true), "KY_ComboBox", 0, CBN_SELENDOK,
         "owner 9;"},
        {"combo end cancel", std::make_unique<ANativeComboBox>(item, "", 0, r, true), "KY_ComboBox", 0,
         CBN_SELENDCANCEL, "owner 10;"},
        {"combo focus", std::make_unique<ANativeComboBox>(item, "", 0, r, true), "KY_ComboBox", 0, CBN_SETFOCUS, ""},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hwnd = row.child->hwnd();
        ASSERT_NE(nullptr, hwnd);
        EXPECT_EQ(row.className, ClassName(hwnd));
        auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
        EXPECT_EQ(WS_CHILD | WS_VISIBLE, style & (WS_CHILD | WS_VISIBLE));
        if (row.styleBits) {
            EXPECT_EQ(row.styleBits, style & 0x0F);
        }
        item->log.clear();
        Command(w->hwnd(), hwnd, row.code);
        EXPECT_EQ(row.log, item->log);
    }
    AComponent* root = w;
    DeleteComponent(root);
}

TEST_F(ClusterTest, AnEditBoxTellsWhenItsTextBecomesOrStopsBeingEmpty) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 210), nullptr);
    if (!w->openWindow("edit"))
        GTEST_SKIP() << "no display";
    auto* item = Open<Recorder>(w, 1);
    ANativeEditBox edit(item, "", 0, ARect(10, 10, 200, 30), true);
    ASSERT_NE(nullptr, edit.hwnd());
    struct Row {
        const char* text;
        const char* log;
    } rows[] = {{"a", "change 4;change 6;"}, {"ab", "change 6;"}, {"abc", "change 6;"}, {"", "change 4;change 6;"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        item->log.clear();
        SetWindowTextA(edit.hwnd(), row.text);
        EXPECT_EQ(row.log, item->log);
    }
    AComponent* root = w;
    DeleteComponent(root);
}

TEST_F(ClusterTest, AnOpenedComboListReachesDownToTheParentsClientBottomAndNoFurther) {
    auto* w = Open<TestWindow>(app, ARect(10, 10, 310, 210), nullptr);
    if (!w->openWindow("combo"))
        GTEST_SKIP() << "no display";
    auto* item = Open<Recorder>(w, 1);
    ANativeComboBox combo(item, "", CBS_DROPDOWNLIST, ARect(10, 10, 200, 30), true);
    ASSERT_NE(nullptr, combo.hwnd());
    for (int i = 0; i < 40; ++i)
        SendMessageA(combo.hwnd(), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>("Encyclop\xe9"
                                              "die"));
    Command(w->hwnd(), combo.hwnd(), CBN_DROPDOWN);
    // The combo's window keeps its closed height; the dropped rectangle is what moved.
    RECT r;
    SendMessageA(combo.hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(nullptr, w->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    RECT client;
    GetClientRect(w->hwnd(), &client);
    // The list shows whole items only: it may stop up to one item short.
    auto itemHeight = static_cast<LONG>(SendMessageA(combo.hwnd(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(r.bottom, client.bottom);
    EXPECT_GT(r.bottom, client.bottom - 2 * itemHeight - 4);
    AComponent* root = w;
    DeleteComponent(root);
}
