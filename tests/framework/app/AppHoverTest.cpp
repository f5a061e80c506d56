// Hover help: the help box shows the help of the item the mouse rests on and
// hides it when the mouse leaves it. The application makes the box by class
// name; this program registers a stand-in under that name.
#include <windows.h>

#include <new>
#include <string>

#include "framework/display/ADisplayComponent.h"
#include "tests/framework/app/AppTestSupport.h"

namespace {

// Registered as "AHelpBox": notes the tips it is asked to show.
class TipRecorder : public AComponent, public AHelpTips {
    SV_DECLARE_CLASS(TipRecorder)
public:
    TipRecorder() : AComponent(AComponent::application(), 0) {}
    void showTip(const APoint& point, const AHelpRecord& record) override {
        if (shown_)
            return;
        shown_ = true;
        ++shows;
        at = point;
        text = record.text.c_str();
    }
    void hideTip() override { shown_ = false; }
    bool tipShown() const override { return shown_; }

    int shows = 0;
    APoint at;
    std::string text;

private:
    bool shown_ = false;
};

AObject* TipRecorder::create() {
    return new (std::nothrow) TipRecorder;
}
const AClass* const kRecorderParents[] = {&AComponent::classRecord, nullptr};
AClass TipRecorder::classRecord("AHelpBox", &TipRecorder::create, kRecorderParents, 162);
const AClass* TipRecorder::getClass() const {
    return &classRecord;
}
void* TipRecorder::castTo(const AClass* cls) {
    return cls == &classRecord ? this : AComponent::castTo(cls);
}

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
    auto* box = dynamic_cast<TipRecorder*>(app->helpBox());
    ASSERT_NE(nullptr, box) << "made by its class name";
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
    EXPECT_EQ("Imprimer l'article", box->text);
    EXPECT_EQ(1, box->shows);
    EXPECT_EQ(APoint(20, 10), box->at) << "the mouse, without a frame window";

    app->hoverStep();
    EXPECT_EQ(1, box->shows) << "the same help stays up";
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
