// The preferences dialog from its layouts under Xvfb: choices written at
// once, Annuler's snapshot, the network layout, the level's word and colour,
// the proxy's web preferences and log lines, and the wait on the account
// wizard ended by its system close; a picture kept as
// build/artifacts/preferences-dialog.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/online/ANetInfo.h"
#include "app/prefs/APrefManager.h"
#include "framework/app/AApp.h"
#include "framework/app/AOpenWindows.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/APopupMenu.h"
#include "framework/graphics/ATextStyle.h"
#include "panes/docks/online/ASVNetDlg.h"
#include "panes/docks/online/ASVPrefDlg.h"
#include "tests/panes/docks/online/OnlinePanesTestSupport.h"
#include "web/embed/KyMozillaPrefs.h"

namespace {

class PrefDlgTest : public OnlinePaneTest {
protected:
    void SetUp() override {
        OnlinePaneTest::SetUp();
        AFileSpec folder(scratch().c_str());
        prefs.reset(new APrefManager(folder, "sv.prf"));
        settings.reset(new ANetInfo(folder, "svnet.par", 0, 0, 0));
        host.prefs = prefs.get();
        host.settings = settings.get();
    }
    void TearDown() override {
        if (dialog) {
            AComponent* c = dialog;
            DeleteComponent(c);
            dialog = nullptr;
        }
        ASVPrefDlg::setWaitStep(nullptr);
        prefs.reset();
        settings.reset();
        OnlinePaneTest::TearDown();
    }
    // The dialog as the main window opens it; null without a display.
    ASVPrefDlg* open(const char* layout = ASVPrefDlg::kLayoutName) {
        AComponent* made = AComponent::loadLayout(app, layout, 0);
        dialog = made ? static_cast<ASVPrefDlg*>(made->castTo(&ASVPrefDlg::classRecord)) : nullptr;
        if (!dialog)
            return nullptr;
        dialog->setDeleteOnClose(false);
        if (!dialog->isNetworkLayout())
            dialog->setNetInfo(settings.get());
        dialog->setPrefManager(prefs.get());
        dialog->fillItems();
        dialog->showUpdate();
        pump(20);
        return dialog;
    }
    std::string text(int16_t id) {
        AComponent* c = dialog->findById(id, 0);
        auto* item = c ? dynamic_cast<AClusterItem*>(c) : nullptr;
        return item ? item->getText().c_str() : "?";
    }
    std::unique_ptr<APrefManager> prefs;
    std::unique_ptr<ANetInfo> settings;
    ASVPrefDlg* dialog = nullptr;
};

TEST_F(PrefDlgTest, ChoicesGoStraightIntoThePreferencesAndAnnulerPutsThemBack) {
    if (!open())
        GTEST_SKIP() << "no display";
    EXPECT_EQ("50", text(6161));
    EXPECT_EQ("3", text(6081));
    EXPECT_EQ("20", text(6061));
    struct Row {
        int16_t command;
        long key, value;
        int16_t checked, unchecked;  // items answering 5 and 1 after it
        int setups;                  // connection state recomputations so far
    } const rows[] = {
        {6013, 1001, 2003, 6013, 6012, 0}, {6022, 1002, 0, 6022, 6021, 0}, {6031, 1003, 1, 6031, 6032, 0},
        {6042, 1005, 0, 6042, 6041, 0},    {6051, 1006, 1, 6051, 6052, 0}, {6071, 1007, 0, 6071, 6072, 0},
        {6112, 1009, 1, 6112, 6111, 1},    {6111, 1009, 0, 6111, 6112, 2}, {6121, 1010, 1, 6121, 6122, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        app->perform(dialog->doCommand(r.command, 0));
        EXPECT_EQ(r.value, prefs->getLong(r.key));
        EXPECT_EQ(5, dialog->commandStatus(r.checked, 0));
        EXPECT_EQ(1, dialog->commandStatus(r.unchecked, 0));
        EXPECT_EQ(r.setups, host.setups);
    }
    // The boolean operator hides the distance; the popup's entry sets its key and text.
    EXPECT_EQ(2, dialog->commandStatus(6082, 0));
    auto* popup = dynamic_cast<APopupButton*>(dialog->findById(6062, 0));
    ASSERT_TRUE(popup);
    popup->selectItem(2);
    app->perform(dialog->doCommand(6062, 1));
    EXPECT_EQ(100, prefs->getLong(1004));
    EXPECT_EQ("100", text(6061));
    // Annuler writes the values of the opening and recomputes the restored wish.
    app->perform(dialog->doCommand(6210, 0));
    EXPECT_EQ(3, host.setups);
    APrefManager reread(AFileSpec(scratch().c_str()), "sv.prf");
    struct KeyRow {
        long key, value;
    } const keys[] = {{1001, 2002}, {1002, 1}, {1004, 20}, {1005, 1}, {1007, 1}, {1009, 1}, {1010, 0}, {1012, 50}};
    for (const KeyRow& k : keys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(k.value, reread.getLong(k.key));
    }
    EXPECT_EQ(2, app->dialogResult());
}

TEST_F(PrefDlgTest, TheNetworkLayoutReadsNoServiceSettings) {
    if (!open(ASVPrefDlg::kNetworkLayoutName))
        GTEST_SKIP() << "no display";
    EXPECT_TRUE(dialog->isNetworkLayout());
    EXPECT_EQ("?", text(6161));
    EXPECT_EQ("20", text(6061));
    EXPECT_EQ(1, prefs->getLong(1009));
}

TEST_F(PrefDlgTest, TheLevelShowsItsWordInItsColour) {
    struct Row {
        int16_t level;
        const char* word;
        uint32_t colour;
    } const rows[] = {{0, "Vert", 0x0200FF00}, {1, "Jaune", 0x0200FFFF}, {2, "Orange", 0x020080FF},
                      {3, "Rouge", 0x020000FF}, {7, "7", 0}, {-2, "-2", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.level);
        settings->setFilterLevel(r.level);
        if (!dialog && !open())
            GTEST_SKIP() << "no display";
        uint32_t before = dialog->findById(6131, 0) ? static_cast<AClusterItem*>(dialog->findById(6131, 0))
                                                          ->ownDisplayEnv()->foreColor()
                                                    : 1;
        dialog->showFilterLevel();
        EXPECT_EQ(r.word, text(6131));
        ATextStyle* style = static_cast<AClusterItem*>(dialog->findById(6131, 0))->ownDisplayEnv();
        EXPECT_EQ(r.colour ? r.colour : before, style->foreColor());
    }
    settings->setFilterLevel(2);
    dialog->showFilterLevel();
    windowShot(dialog->getHWnd(), "preferences-dialog");
}

TEST_F(PrefDlgTest, TheProxyGoesToTheWebPreferencesWithFourLogLines) {
    struct Row {
        const char* host;
        const char* port;
        int32_t httpPort, type;
        const char* log;
    } const rows[] = {
        {"proxy.local", "8080abc", 8080, 1,
         "Modification des preferences proxy Mozilla \nnetwork.proxy.http \t\t<= proxy.local\n"
         "network.proxy.http_port <= 8080\nnetwork.proxy.type \t\t<= 1\n"},
        {"proxy.local", "", 0, 1,
         "Modification des preferences proxy Mozilla \nnetwork.proxy.http \t\t<= proxy.local\n"
         "network.proxy.http_port <= 0\nnetwork.proxy.type \t\t<= 1\n"},
        {"", "3128", 3128, 0,
         "Modification des preferences proxy Mozilla \nnetwork.proxy.http \t\t<= \n"
         "network.proxy.http_port <= 3128\nnetwork.proxy.type \t\t<= 0\n"},
    };
    ASVPrefDlg dlg;
    dlg.setNetInfo(settings.get());
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.host) + ":" + r.port);
        settings->setProxyHost(AString(r.host));
        settings->setProxyPort(AString(r.port));
        host.log.clear();
        dlg.applyProxyPrefs();
        EXPECT_EQ(r.log, host.log);
        int32_t port = -1, type = -1;
        AString name;
        EXPECT_EQ(NS_OK, KyMozillaGetIntPref("network.proxy.http_port", &port));
        EXPECT_EQ(NS_OK, KyMozillaGetIntPref("network.proxy.type", &type));
        EXPECT_EQ(NS_OK, KyMozillaGetCharPref("network.proxy.http", name));
        EXPECT_EQ(r.httpPort, port);
        EXPECT_EQ(r.type, type);
        EXPECT_STREQ(r.host, name.c_str());
        EXPECT_NE(std::string::npos, readFile("svnet.par").find(std::string("\r\n") + r.host + "\r\n" + r.port + "\r\n"));
    }
}

TEST_F(PrefDlgTest, TheWizardsSystemCloseEndsTheWait) {
    settings->setConnectionState(4);
    settings->setLogin(AString("lecteur"));
    if (!open())
        GTEST_SKIP() << "no display";
    host.keepWizard = false;
    int turns = 0;
    bool closed = false;
    // Each turn of the wait: the first closes the wizard as its window's system close does.
    ASVPrefDlg::setWaitStep([&] {
        ++turns;
        if (!closed && host.wizard) {
            closed = true;
            EXPECT_EQ(3, host.wizard->step());
            host.wizard->shellClose();
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        app->flushUpdates();
        if (turns >= 500) {
            ADD_FAILURE() << "the wait never ended";
            app->setDialogResult(1);
        }
    });
    settings->setFilterLevel(1);
    app->perform(dialog->doCommand(6132, 0));
    host.wizard = nullptr;  // deleted by its close
    EXPECT_TRUE(closed);
    EXPECT_EQ(2, app->dialogResult());
    EXPECT_EQ("Jaune", text(6131));
    EXPECT_NE(std::string::npos, readFile("svnet.par").find("\r\n1\r\n")) << "the wizard saved the settings";
    // Defaults with state 4: the level may change, the password may not.
    settings->setDefaultsFlag(1);
    EXPECT_EQ(1, dialog->commandStatus(6132, 0));
    EXPECT_EQ(2, dialog->commandStatus(6141, 0));
    settings->setConnectionState(3);
    EXPECT_EQ(2, dialog->commandStatus(6132, 0));
}

}  // namespace

// The main window holds the windows loaded under it by their root ids: the
// preferences asked for again come to the front, and the account wizard they
// open takes an id of its own beside them.
TEST_F(PrefDlgTest, DialogsOpenedUnderTheMainWindowKeepTheirIdsApart) {
    if (!openPane())
        GTEST_SKIP() << "no display";
    AComponent* opened = AComponent::loadLayout(frame, ASVPrefDlg::kLayoutName, 0);
    ASSERT_NE(nullptr, opened);
    EXPECT_EQ(opened, SelectOpenWindow(frame, ASVPrefDlg::kId, &ASVPrefDlg::classRecord));
    EXPECT_EQ(nullptr, SelectOpenWindow(frame, ASVPrefDlg::kId, &ASVNetDlg::classRecord)) << "another class";
    EXPECT_EQ(nullptr, SelectOpenWindow(frame, ASVNetDlg::kId, &ASVNetDlg::classRecord)) << "not open yet";
    AComponent* wizard = nullptr;
    EXPECT_NO_THROW(wizard = AComponent::loadLayout(frame, ASVNetDlg::kLayoutName, 0));
    ASSERT_NE(nullptr, wizard);
    EXPECT_EQ(ASVNetDlg::kId, wizard->id());
    EXPECT_EQ(wizard, SelectOpenWindow(frame, ASVNetDlg::kId, &ASVNetDlg::classRecord));
    DeleteComponent(wizard);
    DeleteComponent(opened);
    EXPECT_EQ(nullptr, SelectOpenWindow(frame, ASVPrefDlg::kId, &ASVPrefDlg::classRecord)) << "closed";
}
