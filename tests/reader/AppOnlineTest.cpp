// The application object's side of the online service: the settings of each
// installation's arrangement, the connection state and its check, the
// service's addresses and the web documents.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/online/ASVMozillaCallBacks.h"
#include "base/procedural/SystemSeams.h"
#include "web/embed/AMozillaFeature.h"
#include "web/embed/KyMozillaPrefs.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

size_t LineCount(const std::string& text) {
    size_t n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

class AppOnlineTest : public TheAppTest {
protected:
    // The steps up to the preferences, then the online settings.
    void start(const std::string& svIniLines) {
        svIni(svIniLines);
        ASSERT_TRUE(app->readConfiguration());
        ASSERT_TRUE(app->findDataRoot());
        ASSERT_TRUE(app->createDataManager());
        ASSERT_TRUE(app->initData());
        app->loadNetInfo();
        app->loadDocNet();
        ASSERT_TRUE(app->netInfo());
    }
};

TEST_F(AppOnlineTest, SettingsFollowTheInstallationsArrangement) {
    CreateDirectoryA(install.path("users").c_str(), nullptr);
    std::string users = "WorkPath=" + install.path("users") + "\r\n";
    struct Row {
        const char* name;
        std::string lines;
        bool referenceFile;
        size_t readerLines;  // of the reader's "svnet.par" after a save
    } const rows[] = {
        {"single-user", "InstallReseau=0\r\n" + users, false, 27},
        {"network with svref.db", "InstallReseau=1\r\n" + users, true, 25},
        {"network, shared settings", "InstallReseau=1\r\n" + users, false, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DeleteFileA(install.path("users\\svnet.par").c_str());
        DeleteFileA(install.path("svref.db").c_str());
        if (r.referenceFile)
            install.write("svref.db", std::string(16, ' '));
        start(r.lines);
        app->netInfo()->save();
        EXPECT_EQ(r.readerLines, LineCount(install.read("users\\svnet.par")));
        EXPECT_EQ("", install.read("users\\svnetadm.par")) << "a reader never writes the administrator's file";
        app->releaseNetInfo();
    }
    // A reader's file that cannot be read is put aside and the reader starts afresh.
    DeleteFileA(install.path("users\\svnet.par").c_str());
    ASSERT_TRUE(CreateDirectoryA(install.path("users\\svnet.par").c_str(), nullptr));
    start("InstallReseau=0\r\n" + users);
    EXPECT_EQ(2, app->netInfo()->getFilterLevel());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(install.path("users\\svnet.par.bad").c_str()));
}

TEST_F(AppOnlineTest, TheConnectionStateComesFromTheWishTheTestAndTheAccount) {
    start("InstallReseau=0\r\n");
    std::string tried;
    bool answers = true;
    app->setConnectionTest([&](const char* url) {
        tried = url;
        return answers;
    });
    testApp->config["SERVERNAME"] = "http://127.0.0.1:9";
    struct Row {
        long workOnline;
        bool reachable;
        int16_t access, accessAlt;
        int16_t state;
        bool usable;
        const char* box;  // the start of the reader's message, "" for none
    } const rows[] = {
        {0, true, 1, 0, 1, false, "Aucune connexion"},
        {1, false, 1, 0, 1, false, "Aucune connexion"},
        {1, true, 1, 0, 4, true, ""},
        {1, true, 0, 1, 3, false, "Votre compte"},
        {1, true, 0, 0, 2, false, "Votre compte"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.workOnline << r.reachable << r.access << r.accessAlt);
        app->getPrefManager()->setLong(APrefManager::kWorkOnline, r.workOnline);
        app->netInfo()->setServiceAccess(r.access);
        app->netInfo()->setServiceAccessAlt(r.accessAlt);
        answers = r.reachable;
        tried.clear();
        ClearBoxes();
        EXPECT_EQ(r.usable, app->checkConnection("http://127.0.0.1:9/redirect.php?id=assistance"));
        EXPECT_EQ(r.state, app->netInfo()->getConnectionState());
        EXPECT_EQ(r.workOnline ? "http://127.0.0.1:9/redirect.php?id=assistance" : "", tried);
        ASSERT_EQ(*r.box ? 1u : 0u, CapturedBoxes().size());
        if (*r.box) {
            EXPECT_EQ(0u, CapturedBoxes()[0].text.find(r.box)) << CapturedBoxes()[0].text;
            EXPECT_EQ("Connection Internet", CapturedBoxes()[0].caption);
        }
    }
    // Without an address the stored state answers; state 0 says online access is not asked for.
    ClearBoxes();
    app->netInfo()->setConnectionState(0);
    EXPECT_FALSE(app->checkConnection(nullptr));
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_NE(std::string::npos, CapturedBoxes()[0].text.find("n'est pas demand"));
    // The status test without an address tries the service's server.
    app->setupConnectionStatus(nullptr);
    EXPECT_EQ("http://127.0.0.1:9", tried);
    EXPECT_EQ(2, app->connectionState());
}

TEST_F(AppOnlineTest, ServiceAddressesCarryTheFilterAndWebPagesGetNumbers) {
    start("InstallReseau=0\r\n");
    testApp->config["SVSITE"] = "http://127.0.0.1:8";
    testApp->config["REDIRECT"] = "/redirect.php";
    app->netInfo()->setFilterLevel(0);
    struct Row {
        const char* page;
        const char* name;
        const char* value;
        const char* url;
    } const rows[] = {
        {"hom_compl", nullptr, nullptr, "http://127.0.0.1:8/redirect.php?id=hom_compl&filter=1&data=v10"},
        {"liens_compl", "ref", "a b&c", "http://127.0.0.1:8/redirect.php?id=liens_compl&ref=a%20b%26c&filter=1&data=v10"},
        {"x", "", "ignored", "http://127.0.0.1:8/redirect.php?id=x&filter=1&data=v10"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        EXPECT_STREQ(r.url, app->makeServiceUrl(r.page, r.name, r.value).c_str());
    }
    EXPECT_EQ(-1, app->getUrlDocNo("http://127.0.0.1:8/a"));
    EXPECT_EQ(0, app->getUrlDocNo("http://127.0.0.1:8/a;Titre"));
    EXPECT_EQ(0, app->getUrlDocNo("http://127.0.0.1:8/a"));
    // Without a main window every page is kept at save.
    app->releaseDocNet();
    EXPECT_EQ("1\n0\nhttp://127.0.0.1:8/a;Titre\n", install.read("docnet.par"));
    // A damaged file is put aside; the reader starts with no web page.
    install.write("docnet.par", "5\n0\n");
    app->loadDocNet();
    EXPECT_EQ(-1, app->getUrlDocNo("http://127.0.0.1:8/a"));
    EXPECT_EQ("5\n0\n", install.read("docnet.par.bad"));
}

}  // namespace

namespace {

TEST_F(AppOnlineTest, TheReaderStartsItsOwnWebEngineWithTheApplicationsCallBacks) {
    // The runtime's defaults in the runtime folder: the current one, the installation's.
    CreateDirectoryA(install.path("defaults").c_str(), nullptr);
    CreateDirectoryA(install.path("defaults\\pref").c_str(), nullptr);
    install.write("defaults\\pref\\runtime.js", ReadFileBytes(std::string(SV_WEBRT_DEFAULTS) + "/pref/runtime.js"));
    start("InstallReseau=0\r\n");
    testApp->config["SERVERNAME"] = "http://127.0.0.1:7";
    testApp->config["CONTROLSCRIPT"] = "/sv/control";
    ASSERT_TRUE(app->startWebEngine());
    EXPECT_EQ(std::string::npos, errors.text.find("Moteur web absent")) << errors.text;
    AMozillaFeature* feature = AMozillaFeature::current;
    ASSERT_TRUE(feature);
    auto* policy = dynamic_cast<ASVContentPolicyCallBack*>(feature->getContentPolicyCallBack());
    ASSERT_TRUE(policy);
    EXPECT_STREQ("http://127.0.0.1:7", policy->serverName().c_str());
    EXPECT_STREQ("/sv/control", policy->controlScript().c_str());
    EXPECT_TRUE(dynamic_cast<ASVAlertCallBack*>(feature->getAlertCallBack()));
    EXPECT_TRUE(dynamic_cast<ASVWindowCreatorCallBack*>(feature->getWindowCreatorCallBack()));
    EXPECT_TRUE(app->getNetManager());
    AString value;
    EXPECT_EQ(NS_OK, KyMozillaGetCharPref("kyfoobar", value));
    EXPECT_STREQ("ky.foo.bar", value.c_str());
}

}  // namespace

// The tools menu's work names (save and restore a work) are a network
// installation's: a single-user reader, whose files folder exists, is not offered them.
TEST_F(AppOnlineTest, WorkNamesAreOfferedInANetworkInstallationOnly) {
    CreateDirectoryA(install.path("users").c_str(), nullptr);
    std::string users = "WorkPath=" + install.path("users") + "\r\n";
    struct Row {
        const char* name;
        std::string lines;
        bool offered;
    } const rows[] = {
        {"single-user", "InstallReseau=0\r\n" + users, false},
        {"network", "InstallReseau=1\r\n" + users, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        start(r.lines);
        ASSERT_TRUE(app->getWorkFolder().exists());
        EXPECT_EQ(r.offered, app->workFolderExists());
        app->releaseNetInfo();
    }
}

namespace {
std::string g_box;
int RecordBox(void*, const char* text, const char*, unsigned) {
    g_box += text;
    return IDOK;
}
}  // namespace

// A damaged shared settings file leaves the reader without online settings:
// the account wizard says so instead of opening, and the file stays as it is.
TEST_F(AppOnlineTest, TheWizardWithoutReadableSettingsSaysSoAndKeepsTheFile) {
    CreateDirectoryA(install.path("users").c_str(), nullptr);
    // A folder where the file should be: it cannot be read.
    ASSERT_TRUE(CreateDirectoryA(install.path("users\\svnetadm.par").c_str(), nullptr));
    svIni("InstallReseau=1\r\nWorkPath=" + install.path("users") + "\r\n");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    app->loadNetInfo();
    ASSERT_EQ(nullptr, app->netInfo()) << "the damaged file gives no settings";
    Seams().messageBox = RecordBox;
    g_box.clear();
    ASVNetDlg* wizard = nullptr;
    EXPECT_NO_THROW(wizard = app->openNetDialogAt(2));
    ResetSeams();
    EXPECT_EQ(nullptr, wizard);
    EXPECT_NE(std::string::npos, g_box.find("illisibles")) << g_box;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(install.path("users\\svnetadm.par").c_str()))
        << "the shared file is not put aside";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(install.path("users\\svnetadm.par.bad").c_str()));
}
