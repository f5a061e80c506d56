// The application object's side of the online pages and settings: the
// account requests against the test server's service routes, the start page
// it chooses, and the installation's defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/online/ANetInfo.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/base/procedural/NetTestSupport.h"

namespace {

class AppWebPagesTest : public TheAppTest {
protected:
    // The steps up to the online settings, the service on the test server, the runtime started.
    bool start() {
        svIni("InstallReseau=0\r\n");
        if (!app->readConfiguration() || !app->findDataRoot() || !app->createDataManager() || !app->initData())
            return false;
        app->loadNetInfo();
        CreateDirectoryA(install.path("defaults").c_str(), nullptr);
        CreateDirectoryA(install.path("defaults\\pref").c_str(), nullptr);
        install.write("defaults\\pref\\runtime.js", ReadFileBytes(std::string(SV_WEBRT_DEFAULTS) + "/pref/runtime.js"));
        testApp->config["SVSITE"] = "http://127.0.0.1:" + std::to_string(ServerPorts().origin);
        return app->startWebEngine() && app->netInfo();
    }
};

TEST_F(AppWebPagesTest, AccountRequestsGoToTheServicesRoutes) {
    if (!ServerPorts().origin)
        GTEST_SKIP() << "no test server";
    ASSERT_TRUE(start());
    ANetInfo* settings = app->netInfo();
    struct Row {
        const char* name;
        int16_t kind;
        const char* login;
        const char* password;
        const char* fresh;
        int16_t state;         // connection state after it
        const char* cookie2;   // after it
        const char* stored;    // password after it
        int16_t result;        // request-result word after it
        size_t boxes;
    } const rows[] = {
        {"wrong password", 2, "lecteur", "faux", "", 2, "", "faux", 0, 1},
        {"login", 2, "lecteur", "secret", "", 4, "c2-lecteur", "secret", 0, 0},
        {"change refused", 4, "lecteur", "faux", "neuf", 4, "c2-lecteur", "faux", 0, 1},
        {"change", 4, "lecteur", "secret", "neuf", 4, "c2-lecteur", "neuf", 0, 1},
        {"forgotten, unknown", 5, "inconnu", "", "", 4, "c2-lecteur", "", 0, 1},
        {"forgotten", 5, "lecteur", "", "", 4, "c2-lecteur", "", 1, 1},
    };
    settings->setConnectionState(2);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        settings->setLogin(AString(r.login));
        settings->setPassword(AString(r.password));
        settings->setNewPassword(AString(r.fresh));
        ClearBoxes();
        app->serviceAccountRequest(r.kind, settings);
        EXPECT_EQ(r.state, settings->getConnectionState());
        EXPECT_STREQ(r.cookie2, settings->getCookie2().c_str());
        EXPECT_STREQ(r.stored, settings->getPassword().c_str());
        EXPECT_EQ(r.result, settings->getRequestResult());
        EXPECT_EQ(r.boxes, CapturedBoxes().size());
        for (const auto& box : CapturedBoxes()) {
            EXPECT_EQ("Service Savantorium SVLINK", box.caption);
            EXPECT_EQ(std::string::npos, box.text.find(r.password[0] ? r.password : "\x01")) << "never shown";
        }
    }
}

TEST_F(AppWebPagesTest, TheStartPageIsOnlineOnlyWhenTheServiceMayBeUsed) {
    svIni("InstallReseau=0\r\n");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    app->loadNetInfo();
    testApp->config["ACCUEIL_WEB_HTML"] = "http://127.0.0.1:9/sv/accueil";
    testApp->config["ACCUEIL_WEB_LOCAL"] = "C:\\disque\\accueil.htm";
    app->setConnectionTest([](const char*) { return false; });
    struct Row {
        int16_t state;
        long automatic;
        int16_t check;
        const char* page;
    } const rows[] = {
        {4, 1, 0, "http://127.0.0.1:9/sv/accueil"},
        {4, 0, 0, "File:///C:/disque/accueil.htm"},
        {4, 0, 1, "http://127.0.0.1:9/sv/accueil"},
        {3, 1, 0, "File:///C:/disque/accueil.htm"},
        {2, 1, 1, "File:///C:/disque/accueil.htm"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.state << r.automatic << r.check);
        app->netInfo()->setConnectionState(r.state);
        app->getPrefManager()->setLong(APrefManager::kAutoUpdate, r.automatic);
        EXPECT_STREQ(r.page, app->getNetStatusPage(r.check).c_str());
    }
    // The installation's defaults mark the settings.
    testApp->config["NET_DEFAULT_LOGIN"] = "ecole";
    app->setNetDefaults();
    EXPECT_EQ(1, app->netInfo()->getDefaultsFlag());
    EXPECT_STREQ("ecole", app->netInfo()->getLogin().c_str());
}

}  // namespace
