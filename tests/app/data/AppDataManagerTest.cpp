// The reader's data manager on a small installation made by the sample's
// builder (three articles, two figures, the skeleton of every other table):
// document queries, the version file, room titles, help addresses, and the
// decoding of command texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <string>

#include "app/data/AFSCommInfo.h"
#include "app/data/AppBaseTables.h"
#include "app/data/AppDataManager.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "search/facade/ALoVect.h"
#include "search/facade/SearchError.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

class DataManagerTest : public TheAppTest {
protected:
    void SetUp() override {
        TheAppTest::SetUp();
        ASSERT_TRUE(app->readConfiguration());
        ASSERT_TRUE(app->findDataRoot());
        try {
            ASSERT_TRUE(app->createDataManager());
        } catch (const AError& e) {
            CaptureStream report;
            e.report(report);
            FAIL() << "createDataManager: " << report.text;
        }
        dm = app->getDataManager();
    }
    AppDataManager* dm = nullptr;
};

// "ok", the class of the error fn raised, or "fatal" for an assertion.
std::string Outcome(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const AError& e) {
        return e.className();
    } catch (const struct FatalExit&) {
        return "fatal";
    }
    return "ok";
}

const long kFigure0 = 3, kFigure1 = 4;

}  // namespace

TEST_F(DataManagerTest, DocumentQueriesReadTheirBasesAndANegativeNumberNone) {
    struct Row {
        long doc;
        const char* title;
        const char* legend;
        const char* copyright;
    } const rows[] = {
        {-1, "", "", ""},
        {kFigure0, "Figure sans droits", "L\xE9gende 0", "Copyright 0"},
        {kFigure1, "Figure", "L\xE9gende 1", "Copyright 3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.doc);
        EXPECT_STREQ(r.title, dm->getDocTitle(r.doc).c_str());
        EXPECT_STREQ(r.legend, dm->getDocLegend(r.doc).c_str());
        EXPECT_STREQ(r.copyright, dm->getDocCopyright(r.doc).c_str());
    }
    EXPECT_STREQ("Botanique", dm->getDocTitle(1).c_str());
    ADocRefInfo none = dm->getDocRefInfo(-1);
    EXPECT_EQ(-1, none.fDocNo);
    EXPECT_EQ(-1, none.fRecord);
    EXPECT_EQ(-1, none.fDocBase);
    ADocRefInfo figure = dm->getDocRefInfo(kFigure1);
    EXPECT_EQ(14, figure.fDocBase);
    EXPECT_EQ(1, figure.fRecord);
    EXPECT_EQ("Copyright 3", std::string(dm->getDocCopyright(kFigure1).c_str()));
    EXPECT_EQ("ASearchError", Outcome([&] { dm->getDocTitle(5000); })) << "beyond HDGINFO";
    EXPECT_EQ("fatal", Outcome([&] { dm->getDocLegend(0); })) << "TEXT has no LEG";

    long second = 0;
    EXPECT_EQ(1900, dm->getChronoPosition(0, &second));
    EXPECT_EQ(12, second);
    EXPECT_EQ(0, dm->getChronoPosition(1, &second));
    EXPECT_EQ(-1, second);

    long w = 0, h = 0;
    EXPECT_TRUE(app->getDocDimensions(kFigure1, &w, &h));
    EXPECT_EQ(640, w);
    EXPECT_EQ(480, h);
    EXPECT_TRUE(app->docIsMedia(kFigure0));
    EXPECT_FALSE(app->docIsMedia(0));
    EXPECT_TRUE(app->isTextDoc(2));
    EXPECT_EQ(0, app->getDocKind(2, 7));
    EXPECT_EQ(7, app->getDocKind(kFigure0, 7));
    EXPECT_EQ(8, app->getDocIconType(kFigure0));
    for (int16_t n = 1; n <= 6; ++n)
        ASSERT_NE(nullptr, dm->getFilterList(n));
    EXPECT_EQ(kFigure0, dm->getFilterList(2)->first()) << "set 2 holds the figures";
    EXPECT_EQ(2, dm->getFilterList(2)->getCount());
    EXPECT_EQ("fatal", Outcome([&] { dm->getFilterList(7); }));
}

TEST_F(DataManagerTest, NoDocumentOpensNoBase) {
    gBaseDescriptors = SingleDiscBaseTable();
    // No location: any base asked for would be an assertion.
    AppDataManager bare(nullptr, nullptr);
    EXPECT_EQ("ok", Outcome([&] {
                  EXPECT_TRUE(bare.getDocTitle(-1).empty());
                  EXPECT_TRUE(bare.getDocLegend(-1).empty());
                  EXPECT_TRUE(bare.getDocCopyright(-1).empty());
                  EXPECT_EQ(-1, bare.getDocRefInfo(-1).fRecord);
              }));
    EXPECT_NE("ok", Outcome([&] { bare.getDocTitle(0); })) << "a document does need a base";
}

TEST_F(DataManagerTest, TheReferenceFileGoesBeforeTheTitle) {
    // 16-byte records: the first 15 bytes, leading spaces skipped.
    install.write("svref.db", std::string("  ref-astro    X") + "    ref-bota   Y");
    ASSERT_TRUE(app->createDataManager());
    EXPECT_STREQ("ref-astro    :Astronomie", app->getDataManager()->getDocTitle(0).c_str());
    EXPECT_STREQ("ref-bota   :Botanique", app->getDataManager()->getDocTitle(1).c_str());
    EXPECT_STREQ(":Chimie", app->getDataManager()->getDocTitle(2).c_str()) << "past the file: no reference";
}

TEST_F(DataManagerTest, TheVersionFileHoldsOneLineAfterTheManagerGoes) {
    std::string path = AFileSpec(app->getUserFilesFolder(), "svver.txt").path().c_str();
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older file, much longer than one line\r\nand another\r\n";
    }
    EXPECT_STREQ("svver.txt", dm->prefFileName().c_str());
    ASSERT_TRUE(app->createDataManager()) << "the previous manager goes";
    EXPECT_EQ("SV 1.0\r\n", ReadFileBytes(path));
    DeleteFileA(path.c_str());
    { AppDataManager unloaded(app->dataLocation(), app); }
    EXPECT_EQ("", ReadFileBytes(path)) << "no name read: no file";
}

TEST_F(DataManagerTest, RoomTitlesFollowTheTypeAndTheStateKeys) {
    struct Row {
        int16_t type;
        long key1174, key1175, key1176;
        bool withState;
        const char* title;
    } const rows[] = {
        {0, 1, 1, 1, true, ""},
        {-1, 0, 0, 0, false, ""},
        {1, 0, 0, 0, false, "Salle des arts"},
        {6, 0, 2, 1, true, "Chronologie musicale"},
        {6, 0, 0, 1, true,
         "G\xE9n\xE9"
         "alogie musicale"},
        {6, 0, 0, 0, true, "Salle de musique"},
        {7, 0, 0, 0, false, "Salle des sciences"},
        {7, 3, 0, 0, true, "Mars"},
        {10, 0, 0, 0, false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        AppState state(3, 1203, nullptr, nullptr, nullptr, nullptr, -1);
        state.setUserInfo(1174, r.key1174);
        state.setUserInfo(1175, r.key1175);
        state.setUserInfo(1176, r.key1176);
        EXPECT_STREQ(r.title, dm->getSalleTitle(r.type, r.withState ? &state : nullptr).c_str());
    }
}

TEST_F(DataManagerTest, HelpPagesHangFromTheFolderAboveTheData) {
    std::string root = install.dir();
    EXPECT_STREQ((root + "\\aide").c_str(), dm->getHelpFolder().path().c_str());
    std::string main = dm->getHelpMainUrl().c_str();
    EXPECT_EQ(0u, main.find("File:///"));
    EXPECT_NE(std::string::npos, main.find("/aide/aide.html"));
    EXPECT_NE(std::string::npos, std::string(dm->getAssistUrl().c_str()).find("/assist/assist.html"));
    EXPECT_NE(std::string::npos, std::string(dm->getGuideUrl(0).c_str()).find("/aide/guide/guides HTML/guide1.html"));
    EXPECT_NE(std::string::npos, std::string(dm->getGuideUrl(1).c_str()).find("/guide3.html")) << "the advanced search's";
    EXPECT_STREQ("", dm->getGuideUrl(12).c_str()) << "its file is missing";
    EXPECT_STREQ("", dm->getGuideUrl(99).c_str()) << "no such record";
    DeleteFileA(install.path("aide\\aide.html").c_str());
    EXPECT_EQ("fatal", Outcome([&] { dm->getHelpMainUrl(); }));
}

TEST(FSCommInfoTest, CommandTextsDecodeInBothVersions) {
    struct Row {
        const char* text;
        int16_t version;
        long kind;
        const char* name;
        const char* value;
        const char* extra;
    } const rows[] = {
        {"sv10?web=x:y z", 10, 4, "", "x", "yz"},
        {"sv10?appl=a", 10, 2, "", "a", ""},
        {"sv10?foo=a", 10, -1, "", "a", ""},
        {"sv10?fla=m:", 10, 3, "", "m", ""},
        {"sv10", 10, -1, "", "", ""},
        {"f:nav?doc=12:5", 9, 2, "doc", "12", ""},
        {"f:cmd?quit", 9, 1, "quit", "quit", ""},
        {"f:atl?x=7", 9, 5, "x", "7", ""},
        {"f:other?k=v", 9, 2, "k", "v", ""},
        {"", 9, 2, "", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        AFSCommInfo info(r.text);
        EXPECT_EQ(r.version, info.fVersion);
        EXPECT_EQ(r.kind, info.fKind);
        EXPECT_STREQ(r.name, info.fName.c_str());
        EXPECT_STREQ(r.value, info.fValue.c_str());
        EXPECT_STREQ(r.extra, info.fExtra.c_str());
    }
}
