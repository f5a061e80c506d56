// Popup trees in real windows: placing near the screen's bottom, sub-popups
// and Escape, the rebuilt width, clicks on headings and leaves, deletion on
// losing activation, and a picture under build/artifacts/.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/popup/APopupTreeCallBack.h"
#include "app/popup/PopupTree.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/text/AReader.h"
#include "framework/controls/AIconButton.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

class MenuCallBack : public APopupTreeCallBack {
public:
    MenuCallBack() : APopupTreeCallBack(nullptr) {}
    AString getItemsText(const char* key, int16_t) override {
        std::string k = key;
        if (k == "S")
            return "Physique#P\nChimie#C\nBiologie#B";
        return "";
    }
    PopupItem* makeItem(const char* line, int16_t depth, int16_t index) override {
        PopupItem* item = APopupTreeCallBack::makeItem(line, depth, index);
        item->leaf = (item->key == "S" || item->key == "E") ? 0 : 1;
        item->kind = item->key == "T" ? 0 : 1;
        return item;
    }
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree*) override {
        chosen += std::string(name) + "/" + value + "@" + std::to_string(line) + " ";
    }
    std::string chosen;
};

// A pane that holds its popup callback, as the panes do, and lets go of it as it goes.
class OwnerPane : public AComponent {
public:
    explicit OwnerPane(AComponent* parent) : AComponent(parent, 0) {}
    ~OwnerPane() override { ReleaseAndNull(callBack); }
    APopupTreeCallBack* callBack = nullptr;  // one reference held
};

// A choice that deletes the pane owning the popup (a choice that replaces
// the pane does as much), then goes on using itself.
class ReplacingCallBack : public APopupTreeCallBack {
public:
    ReplacingCallBack(OwnerPane* owner, std::string& log) : APopupTreeCallBack(owner), owner_(owner), log_(log) {
        ++live;
    }
    ~ReplacingCallBack() override { --live; }
    void itemChosen(const char*, const char* name, int16_t, PopupTree* top) override {
        AComponent* app = AComponent::application();
        log_ += app->findDescendant(&PopupTree::classRecord, nullptr) || top ? "popup alive;" : "popup gone;";
        AComponent* pane = owner_;
        DeleteComponent(pane);
        log_ += std::string("chose ") + name + (live == 1 ? ";" : " without its callback;");
    }
    static int live;

private:
    OwnerPane* owner_;  // not owned
    std::string& log_;
};
int ReplacingCallBack::live = 0;

// The screen under both popups, saved as popup-tree.png.
void SavePicture(PopupTree* second, PopupTree* first) {
    ARect a = first->getScreenBounds(), b = second->getScreenBounds();
    int left = std::min(a.left(), b.left()) - 4, top = std::min(a.top(), b.top()) - 4;
    int right = std::max(a.right(), b.right()) + 4, bottom = std::max(a.bottom(), b.bottom()) + 4;
    EXPECT_FALSE(Canvas::saveScreen(ARect(left, top, right, bottom), "popup-tree").empty());
}

const char kRoot[] = "Titre#T\nHistoire#H\nSciences#S\nVide#E";

// Rows from outside the popup, as the history's are.
class RowsGetter : public ALineGetter {
public:
    void getLine(AString& out, long row) override {
        static const char* const rows[] = {"Hier#A", "Aujourd'hui#B", "Demain#C"};
        out = row >= 0 && row < 3 ? rows[row] : "";
    }
    long getLineCount() override { return 3; }
};

class PopupTreeWindowTest : public ClusterTest {
protected:
    // The fixture's own reference: a queued choice's release never frees the member.
    PopupTreeWindowTest() { callBack.addRef(); }
    void TearDown() override {
        if (first && live(first)) {
            AComponent* p = first;
            DeleteComponent(p);
        }
        app->commandQueue().run();
        ClusterTest::TearDown();
    }
    // The popups alive: children of the application that are popup trees.
    int popups() {
        int n = 0;
        Alist& children = app->children();
        for (ALink* l = children.firstLink(); l != children.sentinel(); l = l->next)
            n += dynamic_cast<PopupTree*>(ChildOf(l)) ? 1 : 0;
        return n;
    }
    bool live(PopupTree* p) {
        Alist& children = app->children();
        for (ALink* l = children.firstLink(); l != children.sentinel(); l = l->next)
            if (ChildOf(l) == p)
                return true;
        return false;
    }
    PopupTree* open(const ARect& anchor, int32_t options) {
        PopupTree* p = PopupTree::load(app, "PopupTree");
        p->setParams(PopupTreeParams());
        p->setUp(nullptr, &callBack, "PopupTree", options, 1);
        p->fillFromCallBack(kRoot);
        p->openAt(anchor);
        app->flushUpdates();
        Pump();
        return p;
    }
    void run() {
        app->commandQueue().run();
        Pump();
    }
    MenuCallBack callBack;
    PopupTree* first = nullptr;
};

}  // namespace

TEST_F(PopupTreeWindowTest, PlacingSubPopupsEscapeAndChoices) {
    first = open(ARect(100, 100, 180, 120), 0x3040);
    if (!first->getHWnd())
        GTEST_SKIP() << "no X display";
    ARect frame = first->getScreenBounds();
    EXPECT_EQ(100, frame.left());
    EXPECT_EQ(120, frame.top()) << "below the anchor";
    EXPECT_EQ(4, first->getItemCount());
    ASSERT_GT(first->renderer()->rowRect(3).height(), 0);

    first->rowClicked(3, "T", "T", 0);
    EXPECT_EQ("", callBack.chosen) << "a heading under 0x2000 is not chosen";
    EXPECT_EQ(1, popups());

    first->rowClicked(3, "S", "S", 2);
    PopupTree* second = first->childPopup();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(3, second->getItemCount());
    EXPECT_EQ(1, second->depth());
    EXPECT_EQ(2, popups());
    ARect row = first->view()->localToScreen(first->renderer()->rowRect(2));
    EXPECT_EQ((row.left() + row.right()) / 2, second->getScreenBounds().left()) << "centred on the clicked row";
    app->flushUpdates();
    Pump();
    SavePicture(second, first);

    EXPECT_TRUE(second->keyDown(VK_ESCAPE));
    run();
    EXPECT_EQ(1, popups()) << "Escape closes only the second level";
    EXPECT_EQ(nullptr, first->childPopup());
    EXPECT_TRUE(live(first));

    first->rowClicked(3, "E", "E", 3);
    EXPECT_EQ("", callBack.chosen) << "the choice waits for the command queue";
    run();
    EXPECT_EQ("E/E@3 ", callBack.chosen) << "an empty sub-list makes the click a choice";
    EXPECT_EQ(0, popups()) << "the choice closes the chain";
    first = nullptr;
}

TEST_F(PopupTreeWindowTest, TheScreenBottomTheRebuiltWidthAndLosingActivation) {
    ARect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    first = open(ARect(50, screen.bottom() - 10, 90, screen.bottom() - 2), 0x0040);
    if (!first->getHWnd())
        GTEST_SKIP() << "no X display";
    ARect bounds = first->getContainerRect();
    EXPECT_EQ(bounds.bottom() - PopupTree::kBottomMargin, first->getScreenBounds().bottom())
        << "moved up above the bottom margin";
    AComponent* gone = first;
    DeleteComponent(gone);
    first = nullptr;
    EXPECT_EQ(0, popups());

    first = open(ARect(100, 100, 180, 120), 0x0040);
    first->rebuild();
    EXPECT_EQ(first->contentWidth() + 15, int32_t(first->view()->getSize().x)) << "the rebuilt window is 15 pixels wider";

    first->rowClicked(3, "S", "S", 2);
    ASSERT_NE(nullptr, first->childPopup());
    first->childPopup()->select();
    Pump();
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(other);
    Pump();
    run();
    DestroyWindow(other);
    run();
    EXPECT_EQ(0, popups()) << "a click elsewhere deletes the chain";
    EXPECT_EQ("", callBack.chosen);
    first = nullptr;

    PopupTree* scope = PopupTree::load(app, "PopupSiSearch");
    EXPECT_NE(nullptr, scope->view()) << "the scope chooser's layout has the view";
    AComponent* chooser = scope;
    DeleteComponent(chooser);
}

// A choice runs once the popup chain is gone, from the command queue: an
// action that deletes the pane owning the popup and its callback finds
// neither gone under it, and a pane that goes first takes its choice along.
TEST_F(PopupTreeWindowTest, AChoiceOutlivesThePopupAndThePaneThatOwnedIt) {
    struct Row {
        const char* what;
        bool popupUnderPane;
        bool paneGoesFirst;
        const char* log;
    } const rows[] = {
        {"popup under the application", false, false, "popup gone;chose H;"},
        {"popup under its pane", true, false, "popup gone;chose H;"},
        {"the pane goes before the queue runs", false, true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string log;
        auto* pane = new OwnerPane(app);
        AObject::completeNew(pane);
        pane->callBack = new ReplacingCallBack(pane, log);
        pane->callBack->addRef();
        PopupTree* popup = PopupTree::load(row.popupUnderPane ? static_cast<AComponent*>(pane) : app, "PopupTree");
        popup->setParams(PopupTreeParams());
        popup->setUp(pane, pane->callBack, "PopupTree", 0x0040, 0);
        popup->fillFromCallBack(kRoot);
        popup->openAt(ARect(100, 100, 180, 120));
        app->flushUpdates();
        Pump();
        if (!popup->getHWnd()) {
            AComponent* gone = pane;
            DeleteComponent(gone);
            GTEST_SKIP() << "no X display";
        }
        popup->rowClicked(3, "H", "H", 1);
        EXPECT_EQ("", log) << "nothing runs inside the popup's handlers";
        if (row.paneGoesFirst) {
            AComponent* gone = pane;
            DeleteComponent(gone);
        }
        run();
        EXPECT_EQ(row.log, log);
        EXPECT_EQ(0, ReplacingCallBack::live) << "the callback goes with the last of its holders";
        EXPECT_EQ(nullptr, app->findDescendant(&PopupTree::classRecord, nullptr));
    }
}

// A mouse click on a row, sent to the popup's own window in client
// coordinates, chooses the row as Return does.
TEST_F(PopupTreeWindowTest, AMouseClickOnARowChoosesIt) {
    first = open(ARect(100, 100, 180, 120), 0x0040);
    if (!first->getHWnd())
        GTEST_SKIP() << "no X display";
    first->select();
    Pump();
    PopupTreeView* view = first->view();
    ARect r = first->renderer()->rowRect(1);
    ASSERT_GT(r.height(), 0);
    APoint at(r.left() + 12 + view->windowPosition().x, (r.top() + r.bottom()) / 2 + view->windowPosition().y);
    HWND target = view->enclosingWindow();
    ASSERT_TRUE(target);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Pump();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();
    run();
    EXPECT_EQ("H/ Histoire@1 ", callBack.chosen) << "the row's key and label";
    EXPECT_EQ(0, popups()) << "the choice closes the popup";
    first = nullptr;
}

// The right arrow acts on the current row as a click does: a row with a
// sub-list opens it, and in a popup fed by an outside getter (the history)
// the row is chosen.
TEST_F(PopupTreeWindowTest, TheRightArrowActsOnTheCurrentRowWhoeverFeedsTheRows) {
    first = PopupTree::load(app, "PopupTree");
    first->setParams(PopupTreeParams());
    first->setUp(nullptr, &callBack, "PopupTree", 0x0040, 2);
    first->fillFromCallBack(kRoot);
    first->openAt(ARect(100, 100, 180, 120));
    app->flushUpdates();
    Pump();
    if (!first->getHWnd())
        GTEST_SKIP() << "no X display";
    first->select();
    Pump();
    sendKey(first->getHWnd(), VK_RIGHT);
    Pump();
    ASSERT_NE(nullptr, first->childPopup()) << "the current row's sub-list opens";
    EXPECT_EQ(3, first->childPopup()->getItemCount());
    EXPECT_EQ("", callBack.chosen);
    EXPECT_TRUE(first->childPopup()->keyDown(VK_ESCAPE));
    run();
    AComponent* gone = first;
    DeleteComponent(gone);
    run();

    auto* rows = new RowsGetter;
    rows->addRef();
    first = PopupTree::load(app, "PopupTree");
    first->setParams(PopupTreeParams());
    first->setUp(nullptr, &callBack, "PopupTree", 0x2042, 0);
    first->setLineGetter(rows, 1);
    rows->release();
    first->setCurrentLine(1);
    first->openAt(ARect(100, 100, 180, 120));
    app->flushUpdates();
    Pump();
    first->select();
    Pump();
    sendKey(first->getHWnd(), VK_RIGHT);
    run();
    EXPECT_EQ(0u, callBack.chosen.find("B/")) << "the history's current row is chosen: " << callBack.chosen;
    EXPECT_NE(std::string::npos, callBack.chosen.find("@1 "));
    EXPECT_EQ(0, popups());
    first = nullptr;
}

// The item that opened the popup shows no text while it is open, and gets
// its text back when the popup goes; an item deleted first is left alone.
TEST_F(PopupTreeWindowTest, TheLinkedButtonIsEmptiedWhileThePopupShows) {
    auto* window = Open<TestWindow>(app, ARect(0, 0, 200, 100), nullptr);
    if (!window->openWindow("linked")) {
        AComponent* w = window;
        DeleteComponent(w);
        GTEST_SKIP() << "no X display";
    }
    auto* button = Open<AIconButton>(window, 2, Frame(10, 10, 90, 34), 0x08, "");
    button->setText("Historique");
    for (bool buttonGoesFirst : {false, true}) {
        SCOPED_TRACE(buttonGoesFirst ? "the button goes first" : "the popup goes first");
        first = PopupTree::load(app, "PopupTree");
        first->setParams(PopupTreeParams());
        first->setUp(nullptr, &callBack, "PopupTree", 0x0040, 0);
        first->fillFromCallBack(kRoot);
        first->setLinkedText(button);
        first->openAt(button->getScreenBounds());
        app->flushUpdates();
        Pump();
        EXPECT_EQ("", std::string(button->getText().c_str()));
        if (buttonGoesFirst) {
            AComponent* b = button;
            DeleteComponent(b);
        }
        first->rowClicked(3, "H", "H", 1);
        run();
        EXPECT_EQ(0, popups());
        first = nullptr;
        if (!buttonGoesFirst) {
            EXPECT_EQ("Historique", std::string(button->getText().c_str()));
        }
    }
    AComponent* w = window;
    DeleteComponent(w);
}
