// The application object's start-up, step by step, on a small installation:
// the configuration, the data disc, the web engine and network log, the data
// manager and style sheets, and the bases.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "reader/AppInstall.h"
#include "base/object/AFilter.h"
#include "base/procedural/KyFilter.h"
#include "base/object/AFolderSpecs.h"
#include "search/facade/ADataLocation.h"
#include "tests/reader/AppMainTestSupport.h"
#include "web/browser/KyMozillaGetUrl.h"

namespace {

std::string Settings(const std::string& lines) {
    return "[settings]\r\n" + lines;
}

AString ReadKey(void* context, const char* key) {
    return ReadSettingsKey(*static_cast<AFileSpec*>(context), key);
}

// The test drive Q: answers a CD-ROM with the label g_label ("" when no disc).
std::string g_label;
int g_asked = 0;
bool g_insertOnAsk = false;

unsigned TestDriveType(char letter) {
    return letter == 'Q' ? DRIVE_CDROM : DRIVE_FIXED;
}

bool TestLabel(char letter, AString& label) {
    if (letter != 'Q' || g_label.empty())
        return false;
    label = AString(g_label.c_str());
    return true;
}

std::string g_askedFor;

// The reader puts in the disc asked for when g_insertOnAsk is set.
bool TestAsk(const char* volume) {
    ++g_asked;
    g_askedFor = volume;
    if (g_insertOnAsk)
        g_label = volume;
    return g_insertOnAsk;
}

void UseTestDrive(const char* label) {
    g_label = label;
    g_asked = 0;
    g_insertOnAsk = false;
    TheAppSeams().driveType = TestDriveType;
    TheAppSeams().volumeLabel = TestLabel;
    TheAppSeams().askForDisc = TestAsk;
}

// Records the web engine's calls in order.
class RecordingEngine : public AppWebEngine {
public:
    bool start() override {
        calls += "start ";
        return true;
    }
    void setWindowCreatorCallBack() override { calls += "creator "; }
    void setAlertCallBack() override { calls += "alert "; }
    void setContentPolicyCallBack(const AString&, const AString&) override { calls += "policy "; }
    void setCharPref(const char* name, const char* value) override {
        calls += std::string(name) + "=" + value + " ";
    }
    void setBoolPref(const char* name, bool value) override {
        calls += std::string(name) + "=" + (value ? "true " : "false ");
    }
    AString getCharPref(const char* name) override {
        calls += std::string("get:") + name + " ";
        return AString("proxy.test");
    }
    long getIntPref(const char* name) override {
        calls += std::string("get:") + name + " ";
        return 8080;
    }
    std::string calls;
};

}  // namespace

TEST(AppInstallTest, EachInstallationKindPicksItsPair) {
    struct Row {
        const char* svIni;
        const char* installIni;
        const char* pair;
        bool cd;
        const char* type;
    } const rows[] = {
        {"InstallReseau=0\r\nInstallCD=0\r\nInstallType=HD\r\n", "", "sv", false, "HD"},
        {"InstallReseau=0\r\nInstallCD=1\r\nCDVolume=SVTEST\r\n", "", "svcd", true, ""},
        {"InstallReseau=1\r\nInstallCD=0\r\n", "InstallType=RESEAU\r\nInstallCD=1\r\n", "svres", true, "RESEAU"},
        // install.ini counts only in a network installation.
        {"InstallReseau=0\r\n", "InstallType=RESEAU\r\nInstallCD=1\r\n", "sv", false, ""},
        {"", "", "sv", false, ""},
    };
    TinyInstall files;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.svIni);
        files.write("a.ini", Settings(r.svIni));
        files.write("b.ini", Settings(r.installIni));
        AFileSpec svIni(files.path("a.ini").c_str());
        AppInstall install = ReadAppInstall(ReadKey, &svIni, AFileSpec(files.path("b.ini").c_str()));
        EXPECT_STREQ(r.pair, install.pairName());
        EXPECT_EQ(r.cd, install.cd);
        EXPECT_STREQ(r.type, install.installType.c_str());
    }
}

TEST_F(TheAppTest, ConfigurationOpensThePairAndRemembersHowTheLastRunEnded) {
    struct Row {
        const char* svIni;
        const char* validQuit;  // before the start; null: no valid.ini
        bool opens;
        bool lastQuitNormal;
    } const rows[] = {
        {"InstallCD=0\r\n", nullptr, true, true},
        {"InstallCD=1\r\nCDVolume=SVTEST\r\n", "1", true, true},
        {"InstallReseau=1\r\n", "0", true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.svIni);
        svIni(r.svIni);
        DeleteFileA(install.path("valid.ini").c_str());
        if (r.validQuit)
            install.write("valid.ini", Settings(std::string("ValidQuit=") + r.validQuit + "\r\n"));
        EXPECT_EQ(r.opens, app->readConfiguration());
        EXPECT_EQ(r.lastQuitNormal, app->lastRunQuitNormally());
        // While the program runs, "ValidQuit" says it has not quit.
        EXPECT_STREQ("0", app->getValidIniValue("ValidQuit").c_str());
        ASSERT_TRUE(app->dataLocation());
        EXPECT_EQ(app->dataLocation(), gDataLocation);
    }
    EXPECT_TRUE(CapturedBoxes().empty());

    // The start installs the compiler of filter descriptions.
    KY_SetFilterCompiler(nullptr);
    ASSERT_TRUE(app->readConfiguration());
    install.write("filter.txt", "0x20 95 UNCHANGED\n0x41 26 0x61\n");
    AFilter filter;
    ASSERT_NE(nullptr, filter.load(AFileSpec(install.path("filter.txt").c_str()), true));
    EXPECT_STREQ("abc d", filter.apply("ABC d", -1).c_str());

    // A pair that is missing: a French message, no crash, the start stops.
    svIni("InstallCD=1\r\n");
    DeleteFileA(install.path("svcd.gen").c_str());
    EXPECT_FALSE(app->readConfiguration());
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_NE(std::string::npos, CapturedBoxes()[0].text.find("svcd.sgm"));
    EXPECT_NE(std::string::npos, CapturedBoxes()[0].text.find("introuvable"));
}

TEST_F(TheAppTest, DataRootIsTheFolderOrTheDiscWithTheLabel) {
    UseTestDrive("SVTEST");
    std::string dir = install.dir() + "\\";
    struct Row {
        std::string svIni;
        std::string root;  // "" : the start fails
    } const rows[] = {
        {"HdDataPath=.\r\n", dir},
        {"HdDataPath=" + install.dir() + "\r\n", dir},
        {"HdDataPath=nosuchfolder\r\n", ""},
        {"InstallCD=1\r\nCDVolume=svtest\r\n", "Q:\\"},
        {"InstallCD=1\r\nCDVolume=OTHER\r\n", ""},
        {"", dir},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.svIni);
        ClearBoxes();
        svIni(r.svIni);
        ASSERT_TRUE(app->readConfiguration());
        EXPECT_EQ(!r.root.empty(), app->findDataRoot());
        EXPECT_STREQ(r.root.c_str(), app->dataRoot().c_str());
        EXPECT_EQ(r.root.empty() ? 1u : 0u, CapturedBoxes().size());
    }
}

TEST_F(TheAppTest, AMissingDiscIsAskedForUntilItComesOrTheReaderGivesUp) {
    UseTestDrive("SVTEST");
    svIni("InstallCD=1\r\nCDVolume=SVTEST\r\n");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->getDataManager()->getBase(1));
    EXPECT_TRUE(app->ensureDocumentDisc(2));
    EXPECT_EQ(0, g_asked);

    // The disc taken out: the reader is asked once and gives up.
    g_label.clear();
    EXPECT_FALSE(app->ensureDocumentDisc(2));
    EXPECT_EQ(1, g_asked);

    // Asked again, the reader puts it back.
    g_insertOnAsk = true;
    EXPECT_TRUE(app->ensureDocumentDisc(2));
    EXPECT_EQ(2, g_asked);
    EXPECT_TRUE(app->getDataManager()->getBase(1));

    // Outside CD sets every document can be read.
    svIni("InstallCD=0\r\n");
    ASSERT_TRUE(app->readConfiguration());
    g_label.clear();
    EXPECT_TRUE(app->ensureDocumentDisc(2));
    EXPECT_EQ(2, g_asked);
}

// A document whose base lies on the second disc asks for that disc; any
// disc of the set then reads the documents of bases found on every disc.
TEST_F(TheAppTest, ADocumentOnAnotherDiscAsksForThatDisc) {
    UseTestDrive("SVTEST");
    svIni("InstallCD=1\r\nCDVolume=SVTEST\r\n");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    const long docNo = 2;
    const int16_t base = app->getDataManager()->getDocRefInfo(docNo).fCdBase;
    ASSERT_GE(base, 0);
    EXPECT_EQ(-1, app->documentDisc(docNo)) << "the set's table puts the sample's bases on every disc";

    // The same table with the document's base on disc 2.
    const BaseDescriptor* setTable = gBaseDescriptors;
    std::vector<BaseDescriptor> moved;
    for (const BaseDescriptor* d = setTable; d->tableList; ++d)
        moved.push_back(*d);
    moved.push_back(BaseDescriptor{"", nullptr, nullptr, 0});
    moved[size_t(base)].disc = 2;
    gBaseDescriptors = moved.data();
    EXPECT_EQ(2, app->documentDisc(docNo));

    EXPECT_FALSE(app->ensureDocumentDisc(docNo)) << "the reader gives up";
    EXPECT_EQ(1, g_asked);
    EXPECT_EQ("SVTEST2", g_askedFor);
    g_insertOnAsk = true;
    EXPECT_TRUE(app->ensureDocumentDisc(docNo));
    EXPECT_EQ("SVTEST2", g_label) << "the second disc is in";
    EXPECT_EQ(2, g_asked);

    gBaseDescriptors = setTable;
    EXPECT_TRUE(app->ensureDocumentDisc(docNo)) << "a base on every disc reads from the second disc";
    EXPECT_EQ(2, g_asked);
    g_label = "AUTRE";
    g_insertOnAsk = false;
    EXPECT_FALSE(app->ensureDocumentDisc(docNo)) << "a disc of another set is not one of ours";
    EXPECT_EQ("SVTEST", g_askedFor);
}

TEST_F(TheAppTest, WebEngineStartsInOrderAndTheNetLogTracesTheProxy) {
    RecordingEngine engine;
    app->setWebEngine(&engine);
    svIni("NetLog=1\r\n");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->startNetLog());
    ASSERT_TRUE(app->isNetLogEnabled());
    ASSERT_TRUE(app->startWebEngine());
    EXPECT_EQ(
        "start creator alert policy kyfoobar=ky.foo.bar privacy.popups.firstTime=false get:network.proxy.http "
        "get:network.proxy.http_port get:network.proxy.type ",
        engine.calls);
    std::string log = ReadFileBytes(AFileSpec(AAppTempFolderSpec(), "svnet.log").path().c_str());
    EXPECT_NE(std::string::npos, log.find("Lecture des preferences proxy Mozilla proxy.test:8080"));
    // The reader's fetches are traced in the same log.
    KyMozillaGetUrl("http://127.0.0.1:1/trace", nullptr, nullptr);
    log = ReadFileBytes(AFileSpec(AAppTempFolderSpec(), "svnet.log").path().c_str());
    EXPECT_NE(std::string::npos, log.find("KyMozillaStreamLoad Url=http://127.0.0.1:1/trace\n")) << log;
    EXPECT_NE(std::string::npos, log.find("KyMozillaGetUrl :http://127.0.0.1:1/trace returns ")) << log;

    // Without an engine the start goes on and says so.
    app->setWebEngine(nullptr);
    EXPECT_TRUE(app->startWebEngine());
    EXPECT_NE(std::string::npos, errors.text.find("Moteur web absent"));
}

TEST_F(TheAppTest, DataStepsMakeTheManagerReadTheConfigurationAndMountTheBases) {
    install.write("svstyles.xml", "<KyStyles></KyStyles>");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    EXPECT_EQ(20, app->maxSiReq());  // the sample keeps the last twenty requests
    ASSERT_TRUE(app->loadStyleSheet());
    ASSERT_TRUE(app->styleSheets());
    EXPECT_EQ(app->styleSheets()->fontAdjust(), app->adjustToScreen());
    ASSERT_TRUE(app->mountBases());
    EXPECT_EQ(18, app->getDataManager()->getBaseCount());
    EXPECT_TRUE(app->getDataManager()->getBase(4));
    // The list panes reach the application's sheets and its LINKS base.
    ASSERT_EQ(static_cast<AListApp*>(app), &AListApp::current());
    EXPECT_EQ(app->styleSheets()->getSheet(3), AListApp::current().getStyleSheet(3));
    EXPECT_STREQ(app->getDataManager()->getLinkRecord(0).c_str(), AListApp::current().getLinkRecord(0, 0).c_str());
    int16_t expression = 1;
    EXPECT_STREQ("", app->getHighlightQuery(&expression).c_str()) << "no main window, no search";
    EXPECT_EQ(0, expression);

    struct Row {
        int16_t base;
        const char* field;
        long position;
    } const rows[] = {
        {5, "DOC", 0}, {5, "title", 2}, {13, "HDGINFO", 1}, {1, "COPYRIGHT", 11}, {1, "NONE", -1}, {99, "DOC", -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.field);
        EXPECT_EQ(r.position, app->findBaseField(r.base, r.field));
    }
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(TheAppTest, ABaseThatWillNotOpenStopsTheStartWithAMessage) {
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    DeleteFileA(install.path("data\\hdglib.of7").c_str());
    DeleteFileA(install.path("data\\hdglib.fmt").c_str());
    EXPECT_FALSE(app->mountBases());
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_NE(std::string::npos, CapturedBoxes()[0].text.find("HDFILES"));
}
