// The help box: its text style's defaults and its tracking tooltip.
#include <string>

#include "framework/extras/AHelpBox.h"
#include "framework/extras/ATextBox.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/ATextStyle.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

TEST(HelpBox, StyleWithoutFontGetsTimes12) {
    struct Row {
        const char* name;
        AFont* font;
        COLORREF back;
        const char* face;
        int size;
        COLORREF expectedBack;
    } rows[] = {
        {"nothing set", nullptr, ATextStyle::kUnset, "Times", 12, AHelpBox::kDefaultBack},
        {"own font and background", new AFont(AFontSpec("Arial", 9, 0)), RGB(255, 255, 204), "Arial", 9,
         RGB(255, 255, 204)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ATextStyle style(row.font, ATextStyle::kUnset, row.back, 0);
        AHelpBox::completeStyle(style);
        ASSERT_NE(nullptr, style.font());
        EXPECT_STREQ(row.face, style.font()->body()->spec().face.c_str());
        EXPECT_EQ(row.size, style.font()->body()->spec().size);
        EXPECT_EQ(row.expectedBack, style.backColor());
    }
}

TEST_F(ClusterTest, TheApplicationMakesItsHelpBoxByName) {
    EXPECT_EQ(nullptr, app->helpBox()) << "not without its style";
    makeApp(AApp::kHelpBox);
    auto* box = dynamic_cast<AHelpBox*>(app->helpBox());
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(app, box->getParent());
    ASSERT_NE(nullptr, box->textBox()) << "its children are loaded";
    EXPECT_FALSE(app->helpBoxShown());
    AComponent* doomed = box;
    DeleteComponent(doomed);
    EXPECT_EQ(nullptr, app->helpBox()) << "a deleted box is forgotten";
}

TEST_F(DisplayTest, HelpBoxShowsOneTrackingTip) {
    PaintWindow window(300, 120);
    Probe* root = makeWindowRoot(window);
    if (!root)
        GTEST_SKIP() << "no X display";
    root->color = RGB(255, 255, 255);
    Probe* item = make(root, 7, ARect(20, 20, 120, 50));
    // No common controls registered here: the box loads them for its tip.
    auto* box = new AHelpBox();
    AObject::completeNew(box);
    ASSERT_NE(nullptr, box->textBox());
    AHelpRecord record;
    record.text = AString(
        "Rechercher dans l'encyclop\xE9"
        "die");
    record.area = ARect(20, 20, 120, 50);
    record.valid = 1;
    record.owner = item;
    box->showTip(APoint(40, 30), record);
    HWND tip = box->tipWindow();
    ASSERT_NE(nullptr, tip);
    box->showTip(APoint(80, 30), record);
    EXPECT_EQ(tip, box->tipWindow()) << "a shown tip stays";
    char text[80] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = window.hwnd;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(record.text.c_str(), text);
    EXPECT_EQ(APoint(40, 46), box->tipPosition()) << "16 pixels below the point";
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_NEAR(46, r.top, 2);
    EXPECT_TRUE(IsWindowVisible(tip));
    UpdateWindow(window.hwnd);
    UpdateWindow(tip);
    // The picture: the window and its tip, from the screen.
    Canvas canvas(300, 120);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 300, 120, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    printf("help box: %s\n", canvas.savePng("help-box").c_str());
    box->hideTip();
    EXPECT_EQ(nullptr, box->tipWindow());
    EXPECT_FALSE(IsWindow(tip));
    AComponent* doomed = box;
    DeleteComponent(doomed);
}

}  // namespace
