// The application's tool windows over a small installation: a document the
// current dossier holds already, and the author window (with a picture).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/lines/SortableLineGetter.h"
#include "reader/AuteurWin.h"
#include "reader/PhonetiseurWin.h"
#include "app/phon/AStringLongDicLineGetter.h"
#include "app/phon/IPhonAbp.h"
#include "docengine/render/AListRenderer.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/windows/AWindowShell.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspacewin/DossierWin.h"
#include "search/facade/ALo.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/support/ScreenPicture.h"

namespace {

class ToolWindowsTest : public TheAppTest {
protected:
    void SetUp() override {
        TheAppTest::SetUp();
        startWithoutFrame();
        ASSERT_FALSE(HasFatalFailure());
        ClearBoxes();
    }
    void TearDown() override {
        if (HasFailure())
            std::printf("%s\n", errors.text.c_str());
        TheAppTest::TearDown();
    }
};

AppState* DocumentState(long docNo, int16_t docType) {
    auto* doc = new ADocState(1201);
    doc->fDocType = docType;
    return new AppState(1, 2, doc, nullptr, nullptr, nullptr, docNo);
}

void Pump() {
    for (int i = 0; i < 20; ++i) {
        AApp::current()->flushUpdates();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

}  // namespace

TEST_F(ToolWindowsTest, ADocumentTheDossierHoldsIsSaidAndTheStoreStaysAsItWas) {
    ADossierManager* dossiers = app->getDossierManager();
    ASSERT_TRUE(dossiers);
    std::unique_ptr<AppState> state(DocumentState(1, 0));
    const std::string file = app->getUserFilesFolder().path().c_str() + std::string("\\sv.dos");

    app->addToCurrentDossier(state.get());
    ASSERT_NE(nullptr, DossierWin::shown()) << "a new element opens the dossier window on it";
    DossierWin::shown()->perform(DossierWin::shown()->closeWindow());
    const std::string saved = ReadFileBytes(file);
    ASSERT_NE("", saved);
    ClearBoxes();

    struct Row {
        const char* name;
        long current;  // the current dossier's id, -1 for none
        const char* box;
    } const rows[] = {
        {"held already", dossiers->getCurrentId(), "L'\xE9l\xE9ment s\xE9lectionn\xE9 figure d\xE9j\xE0 dans ce dossier"},
        {"no current dossier", -1, nullptr},
    };
    const long current = dossiers->getCurrentId();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ClearBoxes();
        dossiers->setCurrentId(r.current);
        app->addToCurrentDossier(state.get());
        if (r.box) {
            ASSERT_EQ(1u, CapturedBoxes().size());
            EXPECT_EQ(r.box, CapturedBoxes()[0].text);
            EXPECT_EQ("Dossiers", CapturedBoxes()[0].caption);
        } else {
            EXPECT_TRUE(CapturedBoxes().empty());
        }
        EXPECT_EQ(nullptr, DossierWin::shown()) << "no window";
        EXPECT_EQ(saved, ReadFileBytes(file)) << "sv.dos is left byte for byte";
    }
    dossiers->setCurrentId(current);
    // A web page is an element of its own: the same number is added once more.
    std::unique_ptr<AppState> page(DocumentState(1, 8));
    app->addToCurrentDossier(page.get());
    EXPECT_TRUE(CapturedBoxes().empty());
    EXPECT_NE(saved, ReadFileBytes(file));
    if (DossierWin* w = DossierWin::shown())
        w->perform(w->closeWindow());
}

TEST_F(ToolWindowsTest, TheAuthorWindowShowsTheNoticeAndTheArticles) {
    AComponent* root = AComponent::loadLayout(app, "Auteur", 0);
    auto* window = root ? static_cast<AuteurWin*>(root->castTo(&AuteurWin::classRecord)) : nullptr;
    ASSERT_NE(nullptr, window);
    window->showAuthor(0, 1);
    ASSERT_NE(nullptr, window->articles());
    EXPECT_EQ(2, window->articles()->getCount());
    EXPECT_EQ(1, window->keptDocument());
    ASSERT_NE(nullptr, window->rows());
    EXPECT_EQ(2, window->rows()->getLineCount());
    ASSERT_NE(nullptr, window->noticeView()->renderer()->model());

    // An empty name or another hit kind opens nothing.
    window->openArticle(3, "");
    window->openArticle(2, "1");

    window->centerIn(nullptr, true);
    window->showUpdate();
    if (AWindowShell* shell = window->getNativeWindow()) {
        SetWindowPos(shell->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        Pump();
        TakeScreenPicture(SV_BINARY_DIR, "author-window.png");
    }
    window->perform(window->closeWindow());
}

TEST_F(ToolWindowsTest, ThePhoneticWindowHasItsViewsAndEnablesItsThreeCommands) {
    AComponent* root = AComponent::loadLayout(app, "Phonetiseur", 0);
    auto* window = root ? static_cast<PhonetiseurWin*>(root->castTo(&PhonetiseurWin::classRecord)) : nullptr;
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(PhonetiseurWin::isOpen(window));
    ASSERT_NE(nullptr, window->textView()->renderer());
    ASSERT_NE(nullptr, window->listView()->renderer());
    for (int16_t id : {6902, 6903, 6904}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(1, window->commandStatus(id, 0));
    }
    EXPECT_NE(1, window->commandStatus(6905, 0));
    AComponent* c = window;
    DeleteComponent(c);
    EXPECT_FALSE(PhonetiseurWin::isOpen(window)) << "the local loop of openPhonetiseur ends";
}

namespace {

// Presses and releases the mouse on row `row` of the proposal list, sent to the window that holds it.
void ClickProposal(PhonetiseurWin* window, long row) {
    ARendererView* view = window->candidateView();
    auto* renderer = dynamic_cast<AListRenderer*>(view->renderer());
    ASSERT_TRUE(renderer && renderer->model());
    renderer->layOut();
    ARect r = renderer->rowRect(row);
    APoint at(r.left() + 12 + view->windowPosition().x, (r.top() + r.bottom()) / 2 + view->windowPosition().y);
    HWND target = view->enclosingWindow();
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Pump();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();
}

}  // namespace

TEST_F(ToolWindowsTest, TheProposalWindowEndsItsLoopWithTheChosenWordOrNone) {
    // Unchecked proposals: the matcher's readings of the word, as they are.
    IPhonAbp phon(0, 11, 0);
    IPhonAbp* before = IPhonAbp::application();
    IPhonAbp::setApplication(&phon);
    // A word read two ways, so that a row other than the first can be chosen.
    std::string word;
    for (const char* w : {"fils", "plus", "est", "couvent", "os", "as", "tous"})
        if (word.empty() && phon.search(w) > 1)
            word = w;
    ASSERT_FALSE(word.empty());
    struct Row {
        const char* road;
        long row;  // the row clicked or selected, -1 for none
        bool chooses;
    } rows[] = {{"6903", -1, false}, {"click", 1, true}, {"6904", 0, true}, {"close box", -1, false}, {"6904", -1, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.road) + " " + std::to_string(r.row));
        phon.setChosenText("");
        AComponent* root = AComponent::loadLayout(app, "Phonetiseur", 0);
        auto* window = root ? static_cast<PhonetiseurWin*>(root->castTo(&PhonetiseurWin::classRecord)) : nullptr;
        ASSERT_NE(nullptr, window);
        window->refreshList();
        EXPECT_EQ("/C/3" + word, window->headerMarkup().c_str());
        ASSERT_EQ(phon.getResultCount(), window->candidateGetter()->getLineCount());
        window->showUpdate();
        Pump();
        if (&r == rows)
            TakeScreenPicture(SV_BINARY_DIR, "phonetic-window.png");
        std::string road = r.road;
        if (road == "click") {
            ClickProposal(window, r.row);
        } else if (road == "close box") {
            window->perform(window->closeWindow());
        } else {
            auto* renderer = dynamic_cast<AListRenderer*>(window->candidateView()->renderer());
            ASSERT_TRUE(renderer);
            renderer->selectLines(r.row, r.row < 0 ? 0 : 1);
            window->perform(window->doCommand(static_cast<int16_t>(std::atoi(r.road)), 0));
        }
        for (int turn = 0; turn < 20 && PhonetiseurWin::isOpen(window); ++turn)
            Pump();
        EXPECT_FALSE(PhonetiseurWin::isOpen(window)) << "every road closes the window";
        std::string expected = r.chooses ? phon.getResults().getString(r.row).c_str() : "";
        EXPECT_EQ(expected, phon.getChosenText().c_str());
    }
    IPhonAbp::setApplication(before);
}
