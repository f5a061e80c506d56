// List boxes and combo boxes: item texts with data strings, selection notices.
#include <gtest/gtest.h>

#include "framework/controls/AListControl.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

// Counts the selection notices (kind 2) a control posts.
template <class T>
class Noticing : public T {
public:
    using T::T;
    void queueUpdate(long kind) override {
        if (kind == 2)
            ++notices;
        T::queueUpdate(kind);
    }
    int notices = 0;
};

// "text/data|text|..." for every item.
std::string Items(AListItems& list) {
    std::string s;
    for (int16_t i = 0; i < list.countItems(); ++i) {
        s += list.getItemText(i).c_str();
        if (list.hasData(i))
            s += std::string("/") + list.itemData(i).c_str();
        s += "|";
    }
    return s;
}

}  // namespace

TEST_F(ControlsTest, ItemTextsSplitIntoLinesAndDataStringsWithoutLeavingTheirText) {
    if (!openWindow("items"))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* text;
        int added;
        const char* items;
    } rows[] = {
        {"abc#data", 1, "abc/data|"},
        {"abc", 1, "abc|"},
        {"a#1\r\nb#2\r\n", 2, "a/1|b/2|"},
        {"x\\#y#z", 1, "x\\#y/z|"},
        {"un\ndeux", 1, "un\ndeux|"},
        {"trailing\\", 1, "trailing\\|"},
        {"plain\r\nwith#d", 2, "plain|with/d|"},
        {"", 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        auto* list = Open<AListBox>(window, 2, Frame(10, 10, 200, 200), 0, 0);
        EXPECT_EQ(row.added, list->addItemsFromText(row.text, -1));
        EXPECT_EQ(row.items, Items(*list));
        AComponent* c = list;
        DeleteComponent(c);
    }
    closeWindow();
}

TEST_F(ControlsTest, DataStringsMoveWithTheirItemsOnInsertAndRemove) {
    if (!openWindow("data"))
        GTEST_SKIP() << "no display";
    auto* list = Open<AComboBox>(window, 2, Frame(10, 10, 200, 30), 0, 0, "");
    list->appendItemsFromText(
        "Encyclop\xe9"
        "die#1\r\nAtlas#2\r\n");
    EXPECT_EQ(1, list->addItemsFromText("Dictionnaire#0", 0));
    EXPECT_EQ(
        "Dictionnaire/0|Encyclop\xe9"
        "die/1|Atlas/2|",
        Items(*list));
    EXPECT_EQ(2, list->removeItem(0));
    EXPECT_EQ(
        "Encyclop\xe9"
        "die/1|Atlas/2|",
        Items(*list));
    EXPECT_EQ(-1, list->removeItem(5));
    EXPECT_EQ("", std::string(list->itemData(7).c_str()));
    closeWindow();
}

TEST_F(ControlsTest, AListBoxNoticesAReselectionAComboBoxDoesNot) {
    if (!openWindow("select"))
        GTEST_SKIP() << "no display";
    auto* list = Open<Noticing<AListBox>>(window, 2, Frame(10, 10, 200, 100), 0, 0);
    auto* combo = Open<Noticing<AComboBox>>(window, 3, Frame(210, 10, 390, 30), 0, 0, "");
    struct Row {
        const char* name;
        AListControl* control;
        int* notices;
        int again;
    } rows[] = {{"list box", list, &list->notices, 1}, {"combo box", combo, &combo->notices, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.control->appendItemsFromText("un");
        row.control->appendItemsFromText("deux");
        row.control->selectItem(1);
        EXPECT_EQ(1, row.control->selectedIndex());
        *row.notices = 0;
        row.control->selectItem(1);
        EXPECT_EQ(row.again, *row.notices);
        row.control->selectItem(9);
        EXPECT_EQ(row.again, *row.notices) << "out of range does nothing";
    }
    closeWindow();
}

TEST_F(ControlsTest, ADoubleClickInAListBoxTellsTheOwnerOne) {
    if (!openWindow("double"))
        GTEST_SKIP() << "no display";
    auto* list = Shown(Open<AListBox>(window, 2, Frame(10, 10, 200, 100), 0, 0));
    list->setOn(true);
    list->appendItemsFromText(
        "Encyclop\xe9"
        "die");
    HWND hwnd = list->getHWnd();
    window->log.clear();
    LPARAM at = MAKELPARAM(10, 5);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ("2:1;", window->log);
    closeWindow();
}
