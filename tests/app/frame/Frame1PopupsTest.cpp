// The tool-bar menus: the tables between menu lines and actions, the entries
// a menu's callback makes (disabled ones as headings, the current one
// marked), and the choice of an entry key.
#include <memory>
#include <string>

#include "app/frame/APopupTreeCallBackMenu.h"
#include "framework/app/AApp.h"
#include "app/popup/PopupTree.h"
#include "app/state/ABaseState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"
#include "tests/app/frame/FrameTestSupport.h"

TEST(MenuTables, LinesAndActionsOfEachGroup) {
    struct Row {
        int16_t group;
        long value;
        int16_t action;  // menuLineToAction(group, value)
        int16_t line;    // menuActionToLine(group, value)
    } rows[] = {
        {0, 7, 0, 0},     {1, 1, 1, 1},   {1, 5, 5, 5},    {1, 6, -1, -1},  {1, 0, -1, -1},
        {2, 3, 4, 4},     {2, 4, 3, 3},   {2, 9, 9, 9},    {2, 10, 10, -1}, {2, 11, -1, -1},
        {3, 12, 12, 12},  {4, 2, 2, 2},   {5, 1, -1, -1},  {-1, 1, -1, -1}, {3, 70000, -1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.group) + "/" + std::to_string(row.value));
        EXPECT_EQ(row.action, Frame1::menuLineToAction(row.group, row.value));
        EXPECT_EQ(row.line, Frame1::menuActionToLine(row.group, row.value));
    }
    struct Key {
        const char* key;
        long line;
    } keys[] = {{"2:5", 5}, {"0:12", 12}, {"2", 0}, {"", 0}, {nullptr, 0}};
    for (const Key& k : keys) {
        SCOPED_TRACE(k.key ? k.key : "null");
        EXPECT_EQ(k.line, APopupTreeCallBackMenu::lineOfKey(k.key));
    }
}

TEST_F(FrameTest, TheToolsMenuShowsDisabledEntriesAsHeadingsAndRoomsMarkTheirLine) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    services.workFolder = false;
    APopupTreeCallBackMenu menu(frame);
    menu.setButton(1046);
    std::unique_ptr<APopupItemLongDic> items(
        menu.makeItems(" Aide#2:1\n Export#2:4\n Dossier#2:10\n Sans ligne#2", 0));
    ASSERT_TRUE(items);
    std::string kinds;
    for (long n = 0; n < items->count(); ++n)
        kinds += std::to_string(items->item(n)->kind);
    EXPECT_EQ("1000", kinds) << "help on; export without a pane, the work folder and a key without line off";
    EXPECT_EQ(0x1234, menu.subPopupOptions("k", 1, 0x1234)) << "options unchanged";

    CountedState* s = step(12);
    s->fSalle = 10;
    EXPECT_EQ(0, frame->getMenuPopupLine(1042)) << "screen mode 1: no room line";
    s = new CountedState(3);
    s->fSalle = 10;
    frame->goToState(s, 1);
    EXPECT_EQ(-2, frame->getMenuPopupLine(1042)) << "room 10 has no line";
    s->fSalle = 4;
    EXPECT_EQ(2, frame->getMenuPopupLine(1042)) << "the fourth room is the third line";
    EXPECT_EQ(0, frame->getMenuPopupLine(1046));

    struct Choice {
        const char* key;
        int16_t room;
    } choices[] = {{"1:3", 4}, {"1:4", 3}, {"1:x", 3}, {"1", 3}, {"9:1", 3}};
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.key);
        frame->menuPopupChosen(c.key);
        ASSERT_NE(nullptr, frame->currentState());
        EXPECT_EQ(3, frame->currentState()->getScreenMode());
        EXPECT_EQ(c.room, frame->currentState()->fSalle) << "rooms line 3 runs action 4, line 4 action 3";
    }
    // A choice runs from the command queue, after the popup's own handlers:
    // an action with a loop of its own must not run the popup's deletion under them.
    s = new CountedState(3);
    s->fSalle = 10;
    frame->goToState(s, 1);
    AStyleSheetSet sheets(AFileSpec(SV_SOURCE_DIR "/tools/sample/svstyles.xml"), 0);
    services.sheets = &sheets;
    services.menus[1] = " Salle 4#1:3\n Salle 3#1:4";
    frame->loadMenuTexts();
    frame->doCommand(1042, 0);
    PopupTree* popup = lastPopup();
    ASSERT_NE(nullptr, popup);
    popup->rowClicked(3, "1:3", "1:3", 0);
    EXPECT_EQ(10, frame->currentState()->fSalle) << "not inside the popup's callback";
    AApp::current()->commandQueue().run();
    EXPECT_EQ(4, frame->currentState()->fSalle);
    menu.itemChosen("", "1:4", 3, nullptr);
    EXPECT_EQ(3, frame->currentState()->fSalle) << "the callback itself runs the action";
    services.sheets = nullptr;
}

TEST_F(FrameTest, TheToolsButtonOpensItsMenuBelowIt) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    AStyleSheetSet sheets(AFileSpec(SV_SOURCE_DIR "/tools/sample/svstyles.xml"), 0);
    services.sheets = &sheets;
    services.menus[2] = " Aide#2:1\n Exporter#2:4\n Imprimer#2:6\n Ouvrir un travail#2:10";
    frame->loadMenuTexts();
    frame->showUpdate();
    frame->doCommand(1046, 0);
    PopupTree* popup = lastPopup();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(1046, frame->menuButton());
    EXPECT_EQ(4, popup->getItemCount());
    EXPECT_EQ(0x2042, popup->options());
    std::string kinds;
    for (long n = 0; n < popup->getItemCount(); ++n)
        kinds += std::to_string(popup->items()->item(n)->kind);
    EXPECT_EQ("1000", kinds) << "export and print need a pane, the work needs its folder";
    ARect button = frame->findById(1046, 0) ? static_cast<ADisplayComponent*>(frame->findById(1046, 0))->getScreenBounds()
                                             : ARect();
    EXPECT_EQ(button.bottom(), popup->getScreenBounds().top()) << "under the button";
    app->flushUpdates();
    Pump();
    ARect area = popup->getScreenBounds();
    area = ARect(area.left() - 20, area.top() - 50, area.right() + 20, area.bottom() + 10);
    EXPECT_FALSE(Canvas::saveScreen(area, "tools-menu").empty());

    popup->rowClicked(3, "2:1", "2:1", 0);
    app->commandQueue().run();
    services.sheets = nullptr;
}
