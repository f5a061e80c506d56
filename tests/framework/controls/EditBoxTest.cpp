// The edit box: change notices from typing, the filter, Return and paste.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AEditBox.h"
#include "tests/framework/controls/ControlsTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// Keeps the text notices (4 and 6) in the order they come.
class NoticeEditBox : public AEditBox {
public:
    using AEditBox::AEditBox;
    void queueUpdate(long kind) override {
        if (kind == 4 || kind == 6 || (kind == 2 && withSelection))
            notices += std::to_string(kind) + ";";
        AEditBox::queueUpdate(kind);
    }
    std::string notices;
    bool withSelection = false;  // also the selection notice (2)
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

// Keeps the wheel steps that reach it (lines, negative downwards).
class WheelCatcher : public ADisplayComponent {
public:
    using ADisplayComponent::ADisplayComponent;
    ACommand* mouseWheel(AMouseEvent&, long delta) override {
        deltas += std::to_string(delta) + ";";
        return noChangeCommand();
    }
    std::string deltas;
};

// A parent whose text its descendants would inherit.
class Titled : public ADisplayComponent {
public:
    using ADisplayComponent::ADisplayComponent;
    std::string description() override {
        return "Pr\xe9"
               "f\xe9rences";
    }
};

// The window's client area as the screen shows it, once painted.
void Snap(HWND hwnd, Canvas& canvas, int width, int height) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    BitBlt(canvas.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
}

}  // namespace

TEST_F(ControlsTest, TypingGivesTheEmptinessNoticeOnlyWhenTheBoxBecomesOrStopsBeingEmpty) {
    if (!openWindow("typing"))
        GTEST_SKIP() << "no display";
    auto* box = Shown(Open<NoticeEditBox>(window, 2, Frame(10, 10, 200, 34), 0, ""));
    box->setOn(true);
    window->showUpdate();
    ASSERT_NE(nullptr, box->getHWnd());
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

TEST_F(ControlsTest, TheFocusOutlineRingsTheTargetBoxAloneAndItsThinFrameStays) {
    if (!openWindow("outline"))
        GTEST_SKIP() << "no display";
    auto* outlined = Shown(
        Open<AEditBox>(window, 2, Frame(20, 20, 200, 44), AEditBox::kFocusOutline | AEditBox::kPlainFrame, "avec"));
    auto* plain = Shown(Open<AEditBox>(window, 3, Frame(20, 70, 200, 94), AEditBox::kPlainFrame, "sans"));
    outlined->setOn(true);
    plain->setOn(true);
    window->showUpdate();
    EXPECT_EQ(ARect(16, 16, 204, 48), outlined->getOuterFrame());
    EXPECT_EQ(plain->getFrame(), plain->getOuterFrame());
    struct Row {
        const char* name;
        AEditBox* target;
        bool ring;
    } rows[] = {{"outlined box targeted", outlined, true}, {"other box targeted", plain, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(1, row.target->becomeTarget(1));
        Canvas canvas(220, 110);
        Snap(window->hwnd(), canvas, 220, 110);
        EXPECT_EQ(row.ring, canvas.inkIn(ARect(16, 24, 18, 40)) > 0) << "the target's outline on the outer edge";
        EXPECT_GT(canvas.inkIn(ARect(19, 24, 20, 40)), 0) << "the thin frame 1 outside the box";
        EXPECT_EQ(0, canvas.inkIn(ARect(16, 74, 18, 90))) << "no outline without the flag";
        EXPECT_GT(canvas.inkIn(ARect(20, 74, 21, 90)), 0) << "the plain frame on the bounds";
    }
    closeWindow();
}

TEST_F(ControlsTest, TheWheelOverAnEditBoxScrollsWhatLiesUnderThePointerNeverTheBox) {
    if (!openWindow("wheel"))
        GTEST_SKIP() << "no display";
    auto* box = Shown(Open<AEditBox>(window, 2, Frame(10, 10, 200, 60), AEditBox::kAlwaysMultiLine,
                                     "un\r\ndeux\r\ntrois\r\nquatre\r\ncinq\r\nsix\r\nsept\r\nhuit"));
    auto* catcher = Shown(Open<WheelCatcher>(window, 30, Frame(10, 100, 200, 200)));
    box->setOn(true);
    window->showUpdate();
    HWND edit = box->getHWnd();
    struct Row {
        const char* name;
        int x, y;
        bool caught;
    } rows[] = {{"pointer over another component", 50, 150, true}, {"pointer over the box", 50, 30, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        catcher->deltas.clear();
        POINT p{row.x, row.y};
        ClientToScreen(window->hwnd(), &p);
        SendMessageA(edit, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(p.x, p.y));
        EXPECT_EQ(row.caught, !catcher->deltas.empty() && catcher->deltas[0] == '-') << catcher->deltas;
        EXPECT_EQ(0, SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0)) << "the box never scrolls";
    }
    closeWindow();
}

TEST_F(ControlsTest, AButtonReleasedOnAnEditBoxTellsItsSelectionMayHaveMoved) {
    if (!openWindow("release"))
        GTEST_SKIP() << "no display";
    auto* box = Shown(Open<NoticeEditBox>(window, 2, Frame(10, 10, 200, 40), 0, "mot"));
    box->setOn(true);
    box->withSelection = true;
    window->showUpdate();
    struct Row {
        const char* name;
        int x, y;
        const char* notices;
    } rows[] = {{"on the box's margin", 100, 11, "2;"}, {"beside the box", 300, 11, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        box->notices.clear();
        SendMessageA(window->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(row.x, row.y));
        EXPECT_EQ(row.notices, box->notices);
    }
    closeWindow();
}

TEST_F(ControlsTest, TheTextComponentsAskOfTheirParentsStopsAtAnEditBox) {
    if (!openWindow("description"))
        GTEST_SKIP() << "no display";
    auto* titled = Shown(Open<Titled>(window, 40, Frame(0, 0, 300, 200)));
    struct Row {
        const char* name;
        AComponent* component;
        const char* text;
    } rows[] = {
        {"edit box", Open<AEditBox>(titled, 2, Frame(10, 10, 200, 34), 0, "mot"), ""},
        {"static text", Open<AStaticText>(titled, 3, Frame(10, 50, 200, 70), "Mot", AStaticText::kDrawn),
         "Pr\xe9"
         "f\xe9rences"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.text, row.component->description());
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

TEST_F(ControlsTest, ABoxAttachedHiddenHoldsItsTextAndNoticesUntilItsControlIsMadeWhenFirstShown) {
    if (!openWindow("late box"))
        GTEST_SKIP() << "no display";
    window->showUpdate();
    auto* pane = Open<ADisplayComponent>(window, 1, Frame(0, 0, 400, 300));
    auto* box = Shown(Open<NoticeEditBox>(pane, 2, Frame(10, 10, 200, 34), 0, "mot"));
    auto* lines = Shown(Open<NoticeEditBox>(pane, 3, Frame(10, 50, 200, 150), 0, ""));
    EXPECT_EQ(nullptr, box->getHWnd()) << "no control while hidden";
    EXPECT_EQ("mot", std::string(box->getText().c_str()));
    box->setMaxLength(6);
    box->setEnabled(false);
    struct Row {
        const char* text;
        const char* notices;
    } const rows[] = {{"", "4;6;"}, {"abc", "4;6;"}, {"abcd", "6;"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        box->notices.clear();
        box->setText(row.text);
        EXPECT_EQ(row.notices, box->notices) << "as a single-line control tells of its text set";
        EXPECT_EQ(row.text, std::string(box->getText().c_str()));
    }
    lines->setText("ligne");
    EXPECT_EQ("", lines->notices) << "a multi-line control tells nothing";

    pane->showUpdate();
    HWND edit = box->getHWnd();
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_EQ("abcd", TextOf(edit));
    EXPECT_EQ(6, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(edit));
    box->notices.clear();
    box->setText("abcde");
    EXPECT_EQ("6;", box->notices) << "the control goes on from the length told last";
    EXPECT_EQ("ligne", TextOf(lines->getHWnd()));

    // A selection asked of a hidden box is kept as the control keeps it; a
    // replacement of it makes the control, hidden.
    pane->hideUpdate();
    auto* other = Shown(Open<AEditBox>(pane, 4, Frame(10, 200, 200, 224), 0, "texte"));
    other->setSelection(3, 1);
    EXPECT_EQ(nullptr, other->getHWnd());
    EXPECT_TRUE(other->hasSelection());
    EXPECT_EQ("ex", std::string(other->selectedText().c_str()));
    other->setSelection(-1, 0);
    EXPECT_FALSE(other->hasSelection()) << "-1 keeps only the caret";
    other->setSelection(2, -1);
    EXPECT_EQ("xte", std::string(other->selectedText().c_str()));
    other->replaceSelection("X");
    ASSERT_NE(nullptr, other->getHWnd());
    EXPECT_FALSE(IsWindowVisible(other->getHWnd()));
    EXPECT_EQ("teX", TextOf(other->getHWnd()));
    closeWindow();
}
