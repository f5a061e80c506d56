// The edit box: change notices from typing, the filter, Return and paste.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/controls/AEditBox.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

// Keeps the text notices (4 and 6) in the order they come.
class NoticeEditBox : public AEditBox {
public:
    using AEditBox::AEditBox;
    void queueUpdate(long kind) override {
        if (kind == 4 || kind == 6)
            notices += std::to_string(kind) + ";";
        AEditBox::queueUpdate(kind);
    }
    std::string notices;
};

// Digits only; remembers every character it was asked about.
class DigitFilter : public AEditFilter {
public:
    using AEditFilter::AEditFilter;
    bool acceptChar(uint16_t c) override {
        asked.push_back(static_cast<char>(c));
        return c >= '0' && c <= '9';
    }
    std::string asked;
};

std::string TextOf(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

void Char(HWND hwnd, char c) {
    SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(c), 1);
}

}  // namespace

TEST_F(ControlsTest, TypingGivesTheEmptinessNoticeOnlyWhenTheBoxBecomesOrStopsBeingEmpty) {
    if (!openWindow("typing"))
        GTEST_SKIP() << "no display";
    auto* box = Shown(Open<NoticeEditBox>(window, 2, Frame(10, 10, 200, 34), 0, ""));
    box->setOn(true);
    ASSERT_NE(nullptr, box->getHWnd());
    window->showUpdate();
    ASSERT_EQ(1, box->becomeTarget(1));
    HWND edit = box->getHWnd();
    ASSERT_TRUE(focus(edit));
    struct Row {
        char c;
        const char* notices;
        const char* text;
    } rows[] = {{'a', "4;6;", "a"}, {'b', "6;", "ab"}, {'\b', "6;", "a"}, {'\b', "4;6;", ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        box->notices.clear();
        Char(edit, row.c);
        EXPECT_EQ(row.notices, box->notices);
        EXPECT_EQ(row.text, TextOf(edit));
    }
    closeWindow();
}

TEST_F(ControlsTest, AFilterSeesOnlyPrintableCharactersAndARefusedOneIsConsumed) {
    if (!openWindow("filter"))
        GTEST_SKIP() << "no display";
    auto* box = Shown(Open<AEditBox>(window, 2, Frame(10, 10, 200, 34), 0, ""));
    box->setOn(true);
    auto* filter = new DigitFilter(box);
    box->setFilter(filter);
    window->showUpdate();
    ASSERT_EQ(1, box->becomeTarget(1));
    HWND edit = box->getHWnd();
    ASSERT_TRUE(focus(edit));
    for (char c : std::string("1x2\b3y"))
        Char(edit, c);
    EXPECT_EQ("13", TextOf(edit));
    EXPECT_EQ("1x23y", filter->asked) << "the backspace never reaches the filter";
    closeWindow();
}

TEST_F(ControlsTest, ReturnInASingleLineBoxHitsTheDefaultButtonAndNeverReachesTheControl) {
    if (!openWindow("return"))
        GTEST_SKIP() << "no display";
    auto* ok = Shown(Open<ATextButton>(window, 3, Frame(210, 10, 300, 34), true, "Valider"));
    ok->setOn(true);
    auto* box = Shown(Open<AEditBox>(window, 2, Frame(10, 10, 200, 34), 0, "mot"));
    box->setOn(true);
    window->showUpdate();
    ASSERT_EQ(1, box->becomeTarget(1));
    window->log.clear();
    SendMessageA(box->getHWnd(), WM_KEYDOWN, VK_RETURN, 1);
    Char(box->getHWnd(), '\r');
    EXPECT_EQ("hit 3:1;", window->log);
    EXPECT_EQ("mot", TextOf(box->getHWnd()));
    closeWindow();
}

TEST_F(ControlsTest, APasteInsertsOnlyWhatFitsAndReadsTheBlockWithinItsSize) {
    if (!openWindow("paste"))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        const char* initial;
        const char* block;  // copied without its NUL
        int32_t max;
        const char* text;
    } rows[] = {
        {"longer than the maximum", "", "abcdefgh", 5, "abcde"},
        {"after text already there", "xy", "abcdefgh", 5, "xyabc"},
        {"short enough", "", "abc", 10, "abc"},
        {"box already full", "12345", "abc", 5, "12345"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* box = Open<AEditBox>(window, 2, Frame(10, 10, 200, 34), 0, row.initial);
        box->setMaxLength(row.max);
        auto end = static_cast<int32_t>(std::strlen(row.initial));
        box->setSelection(end, end);
        size_t n = std::strlen(row.block);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
        std::memcpy(GlobalLock(block), row.block, n);
        GlobalUnlock(block);
        box->pasteData(CF_TEXT, block);
        GlobalFree(block);
        EXPECT_EQ(row.text, TextOf(box->getHWnd()));
        AComponent* c = box;
        DeleteComponent(c);
    }
    closeWindow();
}

TEST(EditBox, AFrameTwiceTheLinePlusTwoHighIsMultiLine) {
    struct Row {
        int32_t height;
        bool multi;
        bool single;
        ARect rect;
    } rows[] = {
        {27, false, true, ARect(2, 7, 98, 20)},
        {28, false, false, ARect(2, 2, 98, 26)},
        {20, true, false, ARect(2, 2, 98, 18)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.height);
        bool single = false;
        ARect r = AEditBox::editRect(ARect(0, 0, 100, row.height), 12, row.multi, &single);
        EXPECT_EQ(row.single, single);
        EXPECT_EQ(row.rect, r);
    }
}
