// The application object's side of the main window: the panes of the
// document kinds, the stored screen addresses, and the states that show a
// document or an address.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "reader/TheApp.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/state/ABaseState.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace {

// The reader's application without its data: the menus stay empty.
class ReaderApp : public TheApp {
public:
    AString menuRecordText(long) override { return AString(); }
};

class AppFrameTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        dropApp();
        AClass::buildRegistry();
        SetErrorStream(&errors);
        reader = new ReaderApp();
        app = reader;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        AObject::completeNew(app);
    }

    ReaderApp* reader = nullptr;  // deleted with app
};

}  // namespace

TEST_F(AppFrameTest, TheApplicationAnswersTheFramesQuestions) {
    EXPECT_EQ(reader, gFrameServices) << "the application serves the frame";
    struct Kind {
        int16_t kind, pane;
    } const kinds[] = {{0, 1201}, {1, 1201}, {2, 1203}, {3, 1203}, {4, 1206}, {5, 1206}, {7, 1201}, {8, 1204}};
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.kind);
        EXPECT_EQ(k.pane, reader->getDocKindPane(k.kind));
    }
    reader->setScreenAddress(4, 3, "http://service/page.html");
    struct Address {
        int16_t first, second;
        const char* address;
    } const addresses[] = {{4, 3, "http://service/page.html"}, {3, 4, ""}, {-1, 3, ""}, {4, -3, ""}};
    for (const Address& a : addresses) {
        SCOPED_TRACE(std::to_string(a.first) + "_" + std::to_string(a.second));
        EXPECT_STREQ(a.address, reader->getScreenAddress(a.first, a.second).c_str());
    }
    EXPECT_STREQ("", reader->getCurrentUserName().c_str());
    EXPECT_FALSE(reader->checkConnection(nullptr));
}

TEST_F(AppFrameTest, DocumentsAndAddressesBecomeStatesOfTheMainWindow) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    ASSERT_EQ(frame, reader->getFrame());
    reader->showDocumentIfOpen(5);
    EXPECT_EQ(nullptr, frame->currentState()) << "no document part shown";
    reader->showDocument(-1);
    EXPECT_EQ(nullptr, frame->currentState()) << "no current document";
    frame->doMenuAction(0, 0);
    reader->showDocument(7);
    AppState* shown = frame->currentState();
    EXPECT_EQ(7, shown->getDocNo());
    EXPECT_EQ(1, shown->getScreenMode()) << "from home, the search screens";
    ASSERT_NE(nullptr, shown->getLeftState());
    EXPECT_EQ(1, shown->getLeftState()->fMode);
    reader->showDocumentAt(120);
    EXPECT_EQ(7, frame->currentState()->getDocNo());
    EXPECT_EQ(120, frame->currentState()->getDocState()->fUserInfo.slot(11));
    reader->showDocumentIfOpen(-1);
    EXPECT_EQ(7, frame->currentState()->getDocNo());
    EXPECT_EQ(4, frame->stateCount());
    reader->showDocument(-5);
    EXPECT_EQ(4, frame->stateCount()) << "no document";

    EXPECT_EQ(nullptr, reader->makeUrlNavState(*frame, AString(""), 3, -1));
    AppState* page = reader->makeUrlNavState(*frame, AString("http://service/page.html"), 3, 6);
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(4, page->getScreenMode());
    EXPECT_EQ(6, page->fSalle);
    EXPECT_EQ(3, page->getDocState()->fDocType);
    delete page;
}

TEST_F(AppFrameTest, WebPagesBecomeWebStatesAndOnlyShownPagesAreKept) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    DeleteFileA("docnet.par");
    reader->loadDocNet();
    reader->loadHistory(false, false);
    frame->doMenuAction(0, 0);
    struct Row {
        const char* address;
        int16_t full;
        long docNo;
    } const rows[] = {{"http://a.test/p", 1, 0}, {"http://b.test/q#r", 0, 1}, {"http://a.test/p", 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.address);
        reader->showWebPage(r.address, r.full, 1);
        AppState* shown = frame->currentState();
        ASSERT_TRUE(shown && shown->getDocState());
        EXPECT_EQ(8, shown->getDocState()->fDocType);
        EXPECT_EQ(4, shown->getScreenMode());
        EXPECT_EQ(r.docNo, shown->getDocNo());
        EXPECT_EQ(r.full, shown->getUserInfo(3004));
        EXPECT_EQ(r.full, shown->getUserInfo(3005));
    }
    reader->showWebPage("", 1, 1);
    EXPECT_EQ(0, frame->currentState()->getDocNo()) << "no address, no state";
    // A page no state shows any more goes at the next save.
    EXPECT_EQ(2, reader->getUrlDocNo("http://c.test/;C"));
    reader->saveDocNet();
    EXPECT_EQ(2, reader->getDocNetManager()->count());
    EXPECT_EQ(-1, reader->getUrlDocNo("http://c.test/"));
    EXPECT_STREQ("http://b.test/q_KY_r;", reader->getDocNetManager()->getEntry(1).c_str());

    // The service's home: refused with the reader told, then a full-page state or the complement pane.
    reader->loadPreferences();
    reader->loadNetInfo();
    reader->setConnectionTest([](const char*) { return true; });
    int16_t loads = -1;
    reader->setWebComplementLoader([&](int16_t check) { loads = check; });
    ClearBoxes();
    AppState* before = frame->currentState();
    reader->openWebHome(1);
    EXPECT_EQ(before, frame->currentState());
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("Connection Internet", CapturedBoxes()[0].caption);
    reader->getPrefManager()->setLong(APrefManager::kWorkOnline, 1);
    reader->netInfo()->setServiceAccess(1);
    reader->openWebHome(1);
    AppState* home = frame->currentState();
    ASSERT_NE(before, home);
    EXPECT_EQ(1, home->getUserInfo(3004));
    AString address, title;
    ADocNetManager::splitEntry(reader->getDocNetManager()->getEntry(home->getDocNo()), address, title);
    EXPECT_NE(std::string::npos, std::string(address.c_str()).find("?id=hom_compl_full&filter=3&data=v10"));
    reader->openWebHome(0);
    EXPECT_EQ(home, frame->currentState());
    EXPECT_EQ(1, loads);
    EXPECT_EQ(1u, CapturedBoxes().size());
    reader->releaseNetInfo();
    reader->releasePreferences();
    reader->releaseDocNet();
    for (const char* file : {"docnet.par", "svnet.par", "sv.prf"})
        DeleteFileA(file);
}
