// The selection menu: the word made of a selection, the entries and their
// states on a menu not shown, what each entry does to the main window, and
// the real menu over a text under Xvfb (a picture of it).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "reader/ASVSelContextMenuCallBack.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/app/AApp.h"
#include "framework/controls/APopupMenu.h"
#include "tests/app/frame/FrameTestSupport.h"
#include "tests/support/ScreenPicture.h"

namespace {

// Chooses `choice` without showing the menu, after noting its entries as
// "text:on|off;"; the search answers a new state when `searchHits`.
class Callback : public ASVSelContextMenuCallBack {
public:
    using ASVSelContextMenuCallBack::ASVSelContextMenuCallBack;
    int16_t choice = -1;
    bool shows = false;
    bool searchHits = true;
    Frame1* frame = nullptr;
    std::string entries;
    std::string searched;

protected:
    int16_t chooseFromMenu(APopupMenu* menu) override {
        for (int16_t i = 0; i < menu->countItems(); ++i) {
            bool off = GetMenuState(menu->menu(), i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED);
            entries += std::string(menu->getItemText(i).c_str()) + (off ? ":off;" : ":on;");
        }
        return shows ? ASVSelContextMenuCallBack::chooseFromMenu(menu) : choice;
    }
    Frame1* mainWindow() override { return frame; }
    ASVLoSearchState* runSearch(const char* word) override {
        searched = word;
        if (!searchHits)
            return nullptr;
        auto* state = new ASVLoSearchState;
        state->setQuery(word);
        return state;
    }
};

// A component that holds a copyable selection and takes the target.
class CopySource : public AComponent {
public:
    explicit CopySource(AComponent* parent) : AComponent(parent, 0) {}
    bool acceptsTarget() override { return true; }
    bool canCopy() override { return copyable; }
    ACommand* copy() override {
        ++copies;
        return noChangeCommand();
    }
    bool copyable = true;
    int copies = 0;
};

class SelContextMenuTest : public FrameTest {
protected:
    void TearDown() override {
        if (menu) {
            AComponent* c = menu;
            DeleteComponent(c);
        }
        FrameTest::TearDown();
    }
    APopupMenu* newMenu() {
        if (menu) {
            AComponent* c = menu;
            DeleteComponent(c);
        }
        menu = new APopupMenu(app, 0, 0);
        AObject::completeNew(menu);
        return menu;
    }
    APopupMenu* menu = nullptr;
};

void CALLBACK PictureThenClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    TakeScreenPicture(SV_BINARY_DIR, "selection-menu.png");
    EndMenu();
}

}  // namespace

TEST(SelContextMenuWord, TabsAndLineBreaksBecomeSpacesAndTheEndsAreTrimmed) {
    struct Row {
        const char* selection;
        const char* word;
    } const rows[] = {{"a\r\nb", "a  b"}, {" \t\r\n ", ""}, {"  chat noir \t", "chat noir"},
                      {"\tvol\tau\tvent", "vol au vent"}, {"", ""}, {nullptr, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.selection ? r.selection : "(null)");
        EXPECT_EQ(std::string(r.word), ASVSelContextMenuCallBack::cleanWord(r.selection).c_str());
    }
}

TEST_F(SelContextMenuTest, TheEntriesFollowTheCopyTargetAndTheFindFlag) {
    if (!openFrame())
        GTEST_SKIP() << "no X display";
    auto* source = new CopySource(app);
    AObject::completeNew(source);
    const char* kAllOn = "Copier:on;D\xE9" "finition:on;Rechercher dans le texte:on;Rechercher dans l' Encyclop\xE9" "die:on;";
    struct Row {
        const char* name;
        int16_t find;
        bool target, copyable;
        std::string entries;
    } const rows[] = {
        {"copy target", 1, true, true, kAllOn},
        {"nothing to copy", 1, true, false, std::string(kAllOn).replace(7, 2, "off")},
        {"no target", 1, false, false, std::string(kAllOn).replace(7, 2, "off")},
        {"without find", 0, true, true,
         std::string(kAllOn).replace(std::string(kAllOn).find("texte:on") + 6, 2, "off")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        source->copyable = r.copyable;
        app->setTarget(r.target ? source : nullptr, 0);
        Callback callback(r.find);
        callback.frame = frame;
        callback.fillMenu(newMenu(), AString(" \r\n"));
        EXPECT_EQ(r.entries, callback.entries);
    }
    Callback copier(1);
    copier.frame = frame;
    copier.choice = 0;
    app->setTarget(source, 0);
    source->copyable = true;
    copier.fillMenu(newMenu(), AString("mot"));
    EXPECT_EQ(1, source->copies) << "Copier runs the target's copy";
    app->setTarget(nullptr, 0);
    AComponent* c = source;
    DeleteComponent(c);
}

TEST_F(SelContextMenuTest, EachEntryActsOnTheMainWindowWithTheCleanedWord) {
    if (!openFrame())
        GTEST_SKIP() << "no X display";
    frame->setFindPane(pane(1201));
    Callback callback(1);
    callback.frame = frame;
    callback.choice = 2;
    callback.fillMenu(newMenu(), AString("a\r\nb"));
    EXPECT_NE(std::string::npos, ProbePane::log.find("find:a  b;")) << ProbePane::log;

    // The encyclopedia search: a new state with the result, the locked document kept.
    CountedState* shown = step(77);
    shown->getDocState()->fCadenas = 1;
    shown->getDocState()->fDocType = 3;
    callback.choice = 3;
    callback.fillMenu(newMenu(), AString("\tvolcan "));
    EXPECT_EQ("volcan", callback.searched);
    AppState* now = frame->currentState();
    ASSERT_NE(shown, now);
    EXPECT_EQ(1, now->getScreenMode());
    EXPECT_EQ(2, now->getPane());
    EXPECT_EQ(-1, now->getDocNo());
    ASSERT_NE(nullptr, now->getSearchState());
    EXPECT_EQ("volcan", std::string(now->getSearchState()->getQuery().c_str()));
    ASSERT_NE(nullptr, now->getLeftState());
    EXPECT_EQ(1, now->getLeftState()->fMode);
    ASSERT_NE(nullptr, now->getDocState());
    EXPECT_EQ(3, now->getDocState()->fDocType) << "the locked document part is cloned";
    ASSERT_NE(nullptr, now->getRightState());
    EXPECT_EQ(1205, now->getRightState()->fPane);

    // A search with nothing to show leaves the screen as it is.
    callback.searchHits = false;
    callback.fillMenu(newMenu(), AString("rien"));
    EXPECT_EQ(now, frame->currentState());
}

TEST_F(SelContextMenuTest, TheRealMenuOpensOverATextAndClosesWithoutAChoice) {
    if (!openFrame())
        GTEST_SKIP() << "no X display";
    ARendererView* view = nullptr;
    // The article of the probe frame: a text renderer in a view of its own window.
    auto* window = new TestWindow(app, ARect(60, 60, 560, 360), "#background:255,255,255");
    AObject::completeNew(window);
    if (!window->openWindow("Article"))
        GTEST_SKIP() << "no window";
    view = new AStandardView(window, 30, ASizeSpec(ARect(0, 0, 500, 300)));
    AObject::completeNew(view);
    auto* renderer = new ATextRenderer(view->rendererLayer());
    renderer->setTextModel(
        "Le volcan est un relief terrestre, sous-marin ou extraterrestre form\xE9 par l'expulsion et "
        "l'empilement de magma.",
        nullptr);
    view->rendererLayer()->setRenderer(renderer);
    renderer->attach();
    window->showUpdate();
    view->show(false);
    app->flushUpdates();
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&msg);
    SetCursorPos(160, 90);
    Callback callback(1);
    callback.frame = frame;
    callback.shows = true;
    SetTimer(nullptr, 0, 300, PictureThenClose);
    callback.fillMenu(newMenu(), AString("volcan"));
    EXPECT_EQ(4, menu->countItems());
    EXPECT_EQ("", callback.searched) << "dismissed: nothing done";
}
