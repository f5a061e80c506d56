// The account wizard from its layout under Xvfb: panels and titles by step,
// the login's outcomes, the password check and change, Annuler, and the
// settings written once by every way of closing; a picture of step 3 kept as
// build/artifacts/net-wizard-step3.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/online/ANetInfo.h"
#include "framework/app/AApp.h"
#include "framework/controls/AEditBox.h"
#include "panes/docks/online/ASVNetDlg.h"
#include "tests/panes/docks/online/OnlinePanesTestSupport.h"

namespace {

class NetDlgTest : public OnlinePaneTest {
protected:
    void SetUp() override {
        OnlinePaneTest::SetUp();
        host.config = {{"NET_DLG_TITLE", "Connexion"},
                       {"PARENTAL_CAPTION", "Contr\xF4le parental"},
                       {"CHANGEPASSWD_CAPTION", "Changer le mot de passe"},
                       {"ASK_PARENTAL_SETUP", "Param\xE9trer le contr\xF4le parental ?"},
                       {"DEFAULT_PARENTAL", "Niveau orange"},
                       {"BAD_OLD_PASSWORD", "Ancien mot de passe incorrect"},
                       {"BAD_NEW_PASSWORD", "Nouveau mot de passe incorrect"},
                       {"DLG_NET_MSG4", "Identifiez-vous aupr\xE8s du service."},
                       {"DLG_NET_MSG4BIS", "Confirmez votre identifiant et votre mot de passe."},
                       {"DLG_NET_MSG5", "Votre mot de passe vous a \xE9t\xE9 envoy\xE9 par courrier."}};
        settings.reset(new ANetInfo(AFileSpec(scratch().c_str()), "svnet.par", 0, 0, 0));
        settings->setLogin(AString("lecteur"));
        settings->setPassword(AString("secret"));
        host.settings = settings.get();
    }
    void TearDown() override {
        closeWizard();
        settings.reset();
        OnlinePaneTest::TearDown();
    }
    // A wizard at a step; null without a display.
    ASVNetDlg* open(int16_t step) {
        closeWizard();
        ASVNetDlg* wizard = host.openNetDialog(step);
        if (wizard)
            pump(20);
        return wizard;
    }
    void closeWizard() {
        if (host.wizard) {
            AComponent* c = host.wizard;
            DeleteComponent(c);
            host.wizard = nullptr;
        }
    }
    AEditBox* field(int16_t id) { return dynamic_cast<AEditBox*>(host.wizard->findById(id, 0)); }
    std::string shown(std::initializer_list<int16_t> ids) {
        std::string s;
        for (int16_t id : ids) {
            auto* item = dynamic_cast<ADisplayComponent*>(host.wizard->findById(id, 0));
            s += !item ? '?' : item->hasFlags(ADisplayComponent::kShown) ? '1' : '0';
        }
        return s;
    }
    // Lines of "svnet.par" on disk, 0 when it was never written.
    size_t savedLines() {
        std::string text = readFile("svnet.par");
        size_t n = 0;
        for (char c : text)
            n += c == '\n';
        return n;
    }
    std::unique_ptr<ANetInfo> settings;
};

TEST_F(NetDlgTest, EachStepShowsItsPanelAndTitle) {
    struct Row {
        int16_t state;
        int16_t defaults;
        int16_t asked;
        int16_t step;
        const char* title;
        const char* panels;  // 6003 to 6006
        int16_t forgotten;   // status of 6070
        const char* identifier;
    } const rows[] = {
        {3, 0, 3, 2, "Connexion - \xC9tape 3", "1000", 2, ""},
        {4, 0, 3, 3, "Contr\xF4le parental", "1000", 1, "lecteur"},
        {4, 1, 3, 3, "Contr\xF4le parental", "1000", 2, "lecteur"},
        {4, 0, 2, 2, "Connexion - \xC9tape 3", "1000", 2, ""},
        {4, 0, 4, 4, "Contr\xF4le parental", "0100", 2, ""},
        {4, 0, 5, 5, "Connexion", "0010", 2, ""},
        {4, 0, 6, 6, "Changer le mot de passe", "0001", 2, ""},
        {4, 0, 9, 9, "Connexion", "0000", 2, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.state << " " << r.asked << " defaults " << r.defaults);
        settings->setConnectionState(r.state);
        settings->setDefaultsFlag(r.defaults);
        ASVNetDlg* wizard = open(r.asked);
        if (!wizard)
            GTEST_SKIP() << "no display";
        EXPECT_EQ(r.step, wizard->step());
        EXPECT_STREQ(r.title, wizard->getTitle().c_str());
        EXPECT_EQ(r.panels, shown({6003, 6004, 6005, 6006}));
        EXPECT_EQ(r.forgotten, wizard->commandStatus(6070, 0));
        EXPECT_EQ(r.forgotten == 1 ? "1" : "0", shown({6070}));
        EXPECT_STREQ(r.identifier, field(6051)->getText().c_str());
        if (r.state == 4 && r.asked == 3 && !r.defaults) {
            app->flushUpdates();
            windowShot(wizard->getHWnd(), "net-wizard-step3");
        }
    }
}

TEST_F(NetDlgTest, TheLoginLeadsToTheParentalLevelOrClosesWithOrange) {
    settings->setConnectionState(3);
    host.onRequest = [](int16_t kind, ANetInfo* s) {
        if (kind == 2 && std::string(s->getPassword().c_str()) == "secret") {
            s->setConnectionState(4);
            s->setCookie2(AString("c2"));
        }
    };
    struct Row {
        const char* name;
        const char* password;  // typed
        int answer;            // to ASK_PARENTAL_SETUP
        int16_t step;          // after OK, 0 when closed
        const char* boxes;
        int16_t level;
    } const rows[] = {
        {"refused", "faux", IDNO, 2, "", 1},
        {"yes", " sec ret ", IDYES, 4, "Param\xE9trer le contr\xF4le parental ?;", 1},
        {"no", "secret", IDNO, 0, "Param\xE9trer le contr\xF4le parental ?;Niveau orange;", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        settings->setConnectionState(3);
        settings->setFilterLevel(1);
        settings->setAskParental(1);
        host.boxes.clear();
        host.answers = {r.answer};
        ASVNetDlg* wizard = open(2);
        if (!wizard)
            GTEST_SKIP() << "no display";
        field(6051)->setText(" lecteur");
        field(6061)->setText(r.password);
        app->setDialogResult(0);
        app->perform(wizard->doCommand(6207, 0));
        std::string boxes;
        for (const auto& b : host.boxes)
            boxes += b.text + ";";
        EXPECT_EQ(r.boxes, boxes);
        EXPECT_EQ(r.level, settings->getFilterLevel());
        EXPECT_STREQ("lecteur", settings->getLogin().c_str());
        if (r.step) {
            EXPECT_EQ(r.step, wizard->step());
            EXPECT_EQ(0, app->dialogResult());
        } else {
            EXPECT_TRUE(wizard->settingsSaved());
            EXPECT_EQ(2, app->dialogResult());
            EXPECT_EQ(0, settings->getAskParental());
        }
        if (r.step == 4) {
            EXPECT_EQ(2, wizard->returnStep());
        }
        EXPECT_EQ(r.step == 0, wizard->settingsSaved());
    }
    EXPECT_EQ(27u, savedLines());
}

TEST_F(NetDlgTest, PasswordsAreComparedExactlyAndChangedOnlyWhenConfirmed) {
    settings->setConnectionState(4);
    // Step 3: the identifier as typed, the password without its blanks.
    struct CheckRow {
        const char* login;
        const char* password;
        bool accepted;
    } const checks[] = {
        {"lecteur", "secret", true}, {"Lecteur", "secret", false}, {"lecteur ", "secret", false},
        {"lecteur", " se cret ", true}, {"lecteur", "Secret", false},
    };
    for (const CheckRow& r : checks) {
        SCOPED_TRACE(std::string(r.login) + "/" + r.password);
        ASVNetDlg* wizard = open(3);
        if (!wizard)
            GTEST_SKIP() << "no display";
        field(6051)->setText(r.login);
        field(6061)->setText(r.password);
        host.boxes.clear();
        app->perform(wizard->doCommand(6207, 0));
        EXPECT_EQ(r.accepted ? 4 : 3, wizard->step());
        EXPECT_EQ(r.accepted ? 0u : 1u, host.boxes.size());
        if (!r.accepted) {
            EXPECT_EQ("Mot de passe invalide", host.boxes[0].text);
        }
    }
    // Step 6: the old password first, then the new one and its confirmation.
    struct ChangeRow {
        const char* old;
        const char* fresh;
        const char* confirmation;
        const char* box;  // "" when accepted
    } const changes[] = {
        {"faux", "", "", "Ancien mot de passe incorrect"},
        {"secret", "", "", "Nouveau mot de passe incorrect"},
        {"secret", "neuf", "Neuf", "Nouveau mot de passe incorrect"},
        {"secret", "neuf", "", "Nouveau mot de passe incorrect"},
        {"secret", "neuf", "neuf", ""},
    };
    for (const ChangeRow& r : changes) {
        SCOPED_TRACE(std::string(r.old) + "/" + r.fresh + "/" + r.confirmation);
        ASVNetDlg* wizard = open(6);
        ASSERT_TRUE(wizard);
        field(6062)->setText(r.old);
        field(6220)->setText(r.fresh);
        field(6221)->setText(r.confirmation);
        host.boxes.clear();
        host.calls.clear();
        app->perform(wizard->doCommand(6213, 0));
        EXPECT_EQ(*r.box ? 1u : 0u, host.boxes.size());
        if (*r.box) {
            EXPECT_EQ(r.box, host.boxes[0].text);
        }
        EXPECT_EQ(*r.box ? "" : "request(4);", host.calls);
        EXPECT_EQ(!*r.box, wizard->settingsSaved());
        EXPECT_STREQ(*r.box ? "" : "neuf", settings->getNewPassword().c_str());
        EXPECT_STREQ("secret", settings->getPassword().c_str()) << "only the service changes the stored password";
    }
}

TEST_F(NetDlgTest, AnnulerRestoresTheLevelAndEveryCloseWritesTheSettingsOnce) {
    settings->setConnectionState(4);
    settings->setFilterLevel(1);
    ASVNetDlg* wizard = open(4);
    if (!wizard)
        GTEST_SKIP() << "no display";
    app->perform(wizard->doCommand(6104, 0));
    app->perform(wizard->doCommand(6111, 0));
    EXPECT_EQ(5, wizard->commandStatus(6104, 0));
    EXPECT_EQ(1, wizard->commandStatus(6101, 0));
    EXPECT_EQ(5, wizard->commandStatus(6111, 0));
    app->setDialogResult(0);
    app->perform(wizard->doCommand(6208, 0));
    EXPECT_EQ(1, settings->getFilterLevel());
    EXPECT_EQ(1, settings->getTemporaryFilter()) << "the session flag stays";
    EXPECT_EQ(2, app->dialogResult());
    EXPECT_EQ(27u, savedLines());
    // Written once: a change after the close is not written by a second close.
    settings->setFilterLevel(3);
    wizard->closeWindow();
    EXPECT_EQ(std::string::npos, readFile("svnet.par").find("\r\n3\r\n\r\n"));
    // A wizard destroyed without any button still ends a wait.
    wizard = open(5);
    app->setDialogResult(0);
    closeWizard();
    EXPECT_EQ(2, app->dialogResult());
    // Step 5 with no remembered step leads to no panel.
    wizard = open(5);
    app->perform(wizard->doCommand(6211, 0));
    EXPECT_EQ(-1, wizard->step());
    EXPECT_EQ("0000", shown({6003, 6004, 6005, 6006}));
}

}  // namespace
