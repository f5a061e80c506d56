// The application object's services: temporary files, texts and markers,
// and the quit path with its "valid.ini" flag.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "app/state/ASVLoSearchState.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"
#include "search/facade/KyTextMatch.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

std::string TempPath(const char* name) {
    return AFileSpec(AAppTempFolderSpec(), name).path().c_str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, "x", 1, &n, nullptr);
    CloseHandle(h);
}

}  // namespace

TEST_F(TheAppTest, RegisteredTempFilesGoAtTheNextStartAndNothingElse) {
    std::string list = TempPath("svfiles.txt");
    DeleteFileA(list.c_str());
    std::string inside = TempPath("svtest-registered.tmp");
    std::string folder = TempPath("svtest-folder");
    std::string outside = install.path("keep.txt");
    std::string climbing = TempPath("..\\svtest-climb.tmp");
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& f : {inside, outside, climbing})
        Touch(f);
    struct Row {
        std::string path;
        bool gone;
    } const rows[] = {{inside, true}, {outside, false}, {folder, false}, {climbing, false}};
    for (const Row& r : rows)
        app->registerTempFile(r.path.c_str());
    // Folder-like paths are not even listed.
    app->registerTempFile((folder + "/").c_str());
    app->registerTempFile("C:");
    std::string listed = ReadFileBytes(list);
    EXPECT_EQ(4, std::count(listed.begin(), listed.end(), '\n'));

    app->deleteRegisteredTempFiles();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(r.gone, !Exists(r.path));
    }
    EXPECT_FALSE(Exists(list));
    RemoveDirectoryA(folder.c_str());
    DeleteFileA(climbing.c_str());

    // A record's bytes copied out go at the next start too.
    install.write("record.bin", "FWS data");
    AFileStream in(AFile(AFileSpec(install.path("record.bin").c_str()), 0, kPlainFileOptions, false), "rb", 0);
    AString extracted;
    ASSERT_TRUE(app->extractToTempFile(extracted, in, nullptr, ".swf"));
    EXPECT_EQ("FWS data", ReadFileBytes(extracted.c_str()));
    EXPECT_EQ(".swf", std::string(extracted.c_str()).substr(extracted.length() - 4));
    app->deleteRegisteredTempFiles();
    EXPECT_FALSE(Exists(extracted.c_str()));
}

// A result list's own file is listed when the list goes, so that the next
// start deletes it: the reader left one in the temporary folder a search.
TEST_F(TheAppTest, AResultListsFileGoesAtTheNextStart) {
    std::string list = TempPath("svfiles.txt");
    DeleteFileA(list.c_str());
    std::string file;
    {
        ALoFile lo;
        file = lo.getFileSpec().path().c_str();
        ASSERT_TRUE(Exists(file));
    }
    EXPECT_NE(std::string::npos, ReadFileBytes(list).find(file + "\r\n"));
    app->deleteRegisteredTempFiles();
    EXPECT_FALSE(Exists(file));
}

// Two readers share the temporary folder and its list: one starting while the
// other runs must not delete the pages the other is showing.
TEST_F(TheAppTest, RegisteredTempFilesStayWhileAnotherReaderHoldsTheList) {
    std::string list = TempPath("svfiles.txt");
    DeleteFileA(list.c_str());
    std::string page = TempPath("svtest-other-page.tmp");
    Touch(page);
    app->registerTempFile(page.c_str());
    // Another reader's hold, taken as the reader takes its own.
    HANDLE other = CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    app->deleteRegisteredTempFiles();
    EXPECT_TRUE(Exists(page));
    EXPECT_TRUE(Exists(list));
    // Still registering while the other runs.
    std::string mine = TempPath("svtest-own-page.tmp");
    Touch(mine);
    app->registerTempFile(mine.c_str());
    CloseHandle(other);

    app->deleteRegisteredTempFiles();
    EXPECT_FALSE(Exists(page));
    EXPECT_FALSE(Exists(mine));
    EXPECT_FALSE(Exists(list));
}

TEST_F(TheAppTest, TextsAreEscapedAndRowsGradedWithTheApplicationsMarkers) {
    struct Row {
        const char* text;
        const char* set;
        const char* escaped;
    } const rows[] = {
        {"a/b\\c{d}#e", "/\\{}#", "a\\/b\\\\c\\{d\\}\\#e"},
        {"plain text", "/\\{}#", "plain text"},
        {"", "/", ""},
        {"x#y", "", "x#y"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_STREQ(r.escaped, TheApp::escapeMarkup(r.text, r.set).c_str());
        EXPECT_STREQ(r.escaped, TheApp::escapeChars(r.text, r.set).c_str());
    }

    app->setMatchMarkers("<a>", "<b>", "<c>", "<d>");
    const char* texts[] = {"art moderne<a>autre", "<a>peinture (art)", "<b>peinture [art]", "<d>un art", "rien"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(KyTextMatch("art", text, nullptr, "<a>", "<b>", "<c>", "<d>"), KyBasicTextMatch("art", text, nullptr));
    }

    EXPECT_STREQ("sv10.5", app->getProductFolderName().c_str());
    EXPECT_STREQ("Savantorium", app->getWindowTitle().c_str());
    EXPECT_STREQ("sv.ini", app->locateSettings().c_str());
    EXPECT_STREQ("File:///C:/windows/system32", TheApp::pathToFileUrl("C:\\windows\\system32").c_str());
}

TEST_F(TheAppTest, QuitAsksTheReaderAndMarksANormalEnd) {
    ASSERT_TRUE(app->readConfiguration());
    int previousAnswer = BoxAnswer();
    struct Row {
        int answer;
        bool confirm;
        const char* validQuit;
        bool quits;
        size_t boxes;
    } const rows[] = {{IDNO, true, "0", false, 1}, {IDYES, true, "1", true, 1}, {IDNO, false, "1", true, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answer);
        ClearBoxes();
        BoxAnswer() = r.answer;
        app->setConfirmQuit(r.confirm);
        app->quitCommand();
        EXPECT_STREQ(r.validQuit, app->getValidIniValue("ValidQuit").c_str());
        EXPECT_EQ(r.quits, app->quitRequested());
        ASSERT_EQ(r.boxes, CapturedBoxes().size());
        if (r.boxes) {
            EXPECT_EQ("Voulez-vous vraiment quitter ?", CapturedBoxes()[0].text);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    BoxAnswer() = previousAnswer;
}

TEST_F(TheAppTest, TheWorkspaceStoresLoadAtStartUpAndAreWrittenAtQuit) {
    ASSERT_TRUE(app->readConfiguration());
    std::string folder = app->getUserFilesFolder().path().c_str();
    std::ofstream(folder + "\\sv.note", std::ios::binary) << "3\r\n";
    ClearBoxes();
    EXPECT_TRUE(app->loadWorkspace()) << "a damaged store does not stop the start";
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_NE(std::string::npos, CapturedBoxes()[0].text.find("sv.note est endommag\xe9 (ligne 2)"));
    ASSERT_TRUE(app->getDossierManager());
    ASSERT_TRUE(app->getNoteManager());
    EXPECT_STREQ("Nouveau dossier", app->getDossierManager()->getCurrentDossier()->getName().c_str());
    app->getNoteManager()->addPostit(new Postit(16777217, "n"), 16777217);

    app->setConfirmQuit(false);
    app->quitCommand();
    EXPECT_EQ(nullptr, app->getDossierManager());
    EXPECT_EQ(nullptr, app->getNoteManager());
    EXPECT_EQ("DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nNouveau dossier\r\nINTERNALS\r\n0\r\n", ReadFileBytes(folder + "\\sv.dos"));
    EXPECT_EQ("1\r\nn\r\n16777217\r\n0\r\n", ReadFileBytes(folder + "\\sv.note"));
    EXPECT_EQ("3\r\n", ReadFileBytes(folder + "\\sv.note.damaged"));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    for (const char* name : {"sv.dos", "sv.note", "sv.note.damaged"})
        DeleteFileA((folder + "\\" + name).c_str());
}

// A damaged preference or history file is kept beside as ".bad" and the
// reader goes on with the defaults and an empty history; the history is
// saved after a navigation only when the reader asked for it.
TEST_F(TheAppTest, DamagedPreferencesAndHistoryAreKeptAsideAndTheReaderGoesOn) {
    ASSERT_TRUE(app->readConfiguration());
    std::string prefs = AFileSpec(app->getUserFilesFolder(), "sv.prf").path().c_str();
    std::string histo = TempPath("sv.histo");
    DeleteFileA((histo + ".bad").c_str());
    struct Row {
        std::string path, bytes;
    } const rows[] = {
        {prefs, "3\n1001\n"},
        {histo, "<!--nbSearchState-->0\n<!--nbState-->4\n<!--AppState-->\n"},
    };
    for (const Row& r : rows) {
        std::ofstream(r.path, std::ios::binary) << r.bytes;
    }
    app->loadPreferences();
    ASSERT_NE(nullptr, app->getPrefManager());
    EXPECT_EQ(20, app->getPrefManager()->getLong(APrefManager::kMaxStates)) << "the defaults";
    app->loadHistory(true, false);
    ASSERT_NE(nullptr, app->getHistoManager());
    EXPECT_FALSE(app->getHistoManager()->isLoading());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(r.bytes, ReadFileBytes(r.path + ".bad"));
    }
    EXPECT_NE(std::string::npos, errors.text.find("sv.histo (AStateFormatError)"));

    DeleteFileA(histo.c_str());
    app->saveHistoryIfWanted();
    EXPECT_FALSE(Exists(histo)) << "preference 1003 is not set";
    app->getPrefManager()->setLong(APrefManager::kSaveHistory, 1);
    app->saveHistoryIfWanted();
    EXPECT_EQ("<!--nbSearchState-->0\n<!--nbState-->0\n", ReadFileBytes(histo));
    EXPECT_EQ("1", std::string(app->getValidIniValue("ValidHistoQuit").c_str()));
    app->releasePreferences();
    EXPECT_NE(std::string::npos, ReadFileBytes(prefs).find("\n1003\n1\n")) << "saved when released";
    DeleteFileA(prefs.c_str());
    DeleteFileA((prefs + ".bad").c_str());
    DeleteFileA(histo.c_str());
    DeleteFileA((histo + ".bad").c_str());
}

TEST_F(TheAppTest, AFullTextSearchListsBesideItsResultsTheKeywordsHoldingItsWords) {
    install.write("svstyles.xml", "<KyStyles></KyStyles>");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    ASSERT_TRUE(app->mountBases());
    // The keywords are the titles (the keyword base's index search): a word of
    // the texts alone finds no keyword, and the texts' results stand.
    struct Row {
        const char* query;
        long count;
        long keywords;  // 0: no keyword list
    } const rows[] = {{"astronomie", 1, 1}, {"plantes", 1, 0}, {"astres OU plantes", 2, 0},
                      {"chimie OU botanique", 2, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.query);
        ASVLoSearchState* search = app->runFullTextSearch(0, r.query, 1);
        ASSERT_TRUE(search);
        search->addRef();
        ASSERT_TRUE(search->getTextResults());
        EXPECT_EQ(r.count, search->getTextResults()->getCount());
        if (r.keywords) {
            ASSERT_TRUE(search->getIndexResults());
            EXPECT_EQ(r.keywords, search->getIndexResults()->getCount());
        } else {
            EXPECT_EQ(nullptr, search->getIndexResults());
        }
        search->release();
    }
    EXPECT_TRUE(CapturedBoxes().empty()) << "no failure was said";
}

// The printed page of a movie: the values in place, the texts escaped, the
// copyright after the legend; no template, no page.
TEST_F(TheAppTest, AMediaPrintPageFillsItsTemplateAndEscapesTheTexts) {
    startWithoutFrame();
    install.write("flashMediaPrint.html",
                  "<title>x</title><DOCTITLE_TO_REPLACE>|<FILENAME_TO_REPLACE>|<FRAME_TO_REPLACE>|"
                  "<BGCOLOR_REPLACE>|<LEGEND_TO_REPLACE>");
    AMediaPageValues values;
    values.file = "C:\\films\\volcan.swf";
    values.pageTitle = "printing page";
    values.title = "Volcans & <laves>";
    values.frame = -1;
    values.background = "#FFFFFF";
    values.legend = "Coulée \"rouge\"";
    AString page = app->fillMediaTemplate("flashMediaPrint.html", values, AString("(c) <Moi>"));
    ASSERT_FALSE(page.empty());
    EXPECT_EQ("<title>printing page</title>Volcans &amp; &lt;laves&gt;|C:\\films\\volcan.swf|-1|#FFFFFF|"
              "Coulée &quot;rouge&quot;<br><br>(c) &lt;Moi&gt;",
              ReadFileBytes(page.c_str()));
    DeleteFileA(page.c_str());
    EXPECT_TRUE(app->fillMediaTemplate("absent.html", values, AString()).empty());
}
