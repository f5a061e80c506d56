// Hover help: the help box shows the help of the item the mouse rests on and
// hides it when the mouse leaves it.
#include <windows.h>

#include <string>

#include "framework/display/ADisplayComponent.h"
#include "framework/extras/AHelpBox.h"
#include "tests/framework/app/AppTestSupport.h"

namespace {

// An item with a window of its own and help over its left half.
class HelpItem : public ADisplayComponent, public AHelpSource {
public:
    HelpItem(AComponent* parent, HWND window) : ADisplayComponent(parent, 3, ASizeSpec()) { setNativeWindow(window); }
    AHelpRecord getHelp(const APoint& local) override {
        ++asked;
        AHelpRecord r;
        if (local.x < 100) {
            r.text = AString("Imprimer l'article");
            r.area = ARect(0, 0, 100, 40);
            r.valid = 1;
            r.owner = this;
        }
        return r;
    }
    int asked = 0;
};

TEST_F(AppTest, HoverHelpShowsAfterTheRestAndHidesWhenTheMouseLeaves) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 40, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        GTEST_SKIP() << "no X display";
    auto* item = new HelpItem(app, window);
    AObject::completeNew(item);
    app->setCursorComponent(item);
    EXPECT_EQ(0, item->asked) << "without a help box nothing is armed";
    EXPECT_EQ(0, app->hoverTimerId());
    app->setCursorComponent(nullptr);

    app->createHelpBox();
    SetCursorPos(20, 10);
    app->setCursorComponent(item);
    ASSERT_NE(0, app->hoverTimerId()) << "the rest is timed";
    TestClock() += 1499;
    app->updateTime();
    app->fireDueTimers();
    EXPECT_FALSE(app->helpBoxShown()) << "before the delay";
    TestClock() += 1;
    app->updateTime();
    app->fireDueTimers();
    EXPECT_EQ(0, app->hoverTimerId());
    ASSERT_TRUE(app->helpBoxShown());
    EXPECT_STREQ("Imprimer l'article", app->hoverHelp().text.c_str());
    HWND tip = app->helpBox()->tipWindow();

    app->hoverStep();
    EXPECT_EQ(tip, app->helpBox()->tipWindow()) << "the same help stays up";
    SetCursorPos(150, 10);
    app->hoverStep();
    EXPECT_FALSE(app->helpBoxShown()) << "no help under the mouse";
    EXPECT_EQ(0, app->hoverHelp().valid);

    SetCursorPos(20, 10);
    app->hoverStep();
    ASSERT_TRUE(app->helpBoxShown());
    app->setCursorComponent(nullptr);
    EXPECT_FALSE(app->helpBoxShown()) << "leaving the item hides the help at once";
    AComponent* doomed = item;
    DeleteComponent(doomed);
    DestroyWindow(window);
}

}  // namespace
