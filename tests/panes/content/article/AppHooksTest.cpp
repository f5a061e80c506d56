// The real application object answers each hook its panes call, and the
// result list's option buttons show in the reader: every row
// drives one hook through the interface the pane uses and checks its work, so
// a hook whose override goes (and whose do-nothing default runs) fails by name.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "reader/ASVSelContextMenuCallBack.h"
#include "reader/AuteurWin.h"
#include "reader/TheApp.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "app/data/AppDataManager.h"
#include "docengine/model/ADocModel.h"
#include "search/facade/ALoVect.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/controls/AIconButton.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/LR_DVD.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

// The first document from `from` of the sample that the test wants, -1 when none.
long FirstDoc(TheApp& app, bool (TheApp::*wanted)(long), long from) {
    for (long d = from; d < from + 5000; ++d) {
        if ((app.*wanted)(d))
            return d;
    }
    return -1;
}

}  // namespace

TEST_F(SampleReaderTest, TheApplicationObjectAnswersEveryHookItsPanesCall) {
    if (!frame)
        FAIL() << skipReason;
    long mediaDoc = FirstDoc(*app, &TheApp::docIsMedia, app->getDataManager()->getFilterList(2)->first());
    // An article longer than the view, so that it scrolls.
    long docNo = -1;
    for (long d = FirstDoc(*app, &TheApp::isTextDoc, 0); d >= 0 && docNo < 0; d = FirstDoc(*app, &TheApp::isTextDoc, d + 1)) {
        DockLCRPane::of(frame)->showDocument(d);
        pump();
        DocKycfPane* article = articlePane();
        ATextRenderer* renderer = article ? article->articleRenderer() : nullptr;
        if (renderer && renderer->model() && renderer->model()->getLength() > 8000)
            docNo = d;
    }
    ASSERT_GE(docNo, 0);

    struct Hook {
        const char* name;
        std::function<std::string()> check;  // "" when the hook did its work
    };
    auto showArticle = [&]() -> DocKycfPane* {
        if (frame->currentState() && frame->currentState()->getDocNo() != docNo) {
            DockLCRPane::of(frame)->showDocument(docNo);
            pump();
        }
        return articlePane();
    };
    const std::vector<Hook> hooks = {
        {"AFrameServices::filterLevel",
         [&]() -> std::string {
             ANetInfo* info = app->netInfo();
             if (!info)
                 return "no online-service settings";
             int16_t before = info->getFilterLevel();
             info->setFilterLevel(2);
             int16_t level = FrameServices().filterLevel();
             info->setFilterLevel(before);
             return level == 2 ? "" : "level " + std::to_string(level) + ", not the settings' 2";
         }},
        {"AFrameServices::resultExportEnabled",
         [&]() -> std::string { return FrameServices().resultExportEnabled() ? "" : "result lists not exportable"; }},
        {"AFrameServices::webPageTitle",
         [&]() -> std::string {
             ADocNetManager* docNet = app->getDocNetManager();
             if (!docNet)
                 return "no online-document store";
             long page = docNet->getUrlDocNo("http://exemple.test/page.htm;Une page d'essai");
             AString title = FrameServices().webPageTitle(page);
             return title == AString("Une page d'essai") ? "" : std::string("title \"") + title.c_str() + "\"";
         }},
        {"AFrameServices::getScreenAddress",
         [&]() -> std::string {
             // Room 1's first tab is filed before the history holds any of its screens.
             AString address = FrameServices().getScreenAddress(0, 1);
             if (address.empty())
                 return "no address for room 1, tab 1";
             frame->switchScreen(0, 0, 4, 1);
             pump();
             AppState* state = frame->currentState();
             if (!state || state->getScreenMode() != 4 || state->fSalle != 1)
                 return std::string("room 1's bar entry did not open its screen (") + address.c_str() + ")";
             return "";
         }},
        {"AContentApp::openAuthor",
         [&]() -> std::string {
             size_t logged = errors.text.size();
             AContentApp::current().openAuthor(0, docNo);
             pump();
             AComponent* window = app->findDescendant(&AuteurWin::classRecord, nullptr);
             if (!window)
                 return "no author window";
             // Its texts are drawn, even with a style sheet the installation lacks.
             std::string log = errors.text.substr(logged);
             return log.find("AAssertError") == std::string::npos ? "" : log;
         }},
        {"AContentApp::playDocument",
         [&]() -> std::string {
             if (mediaDoc < 0)
                 return "the sample has no media document";
             AContentApp::current().playDocument(mediaDoc);
             pump();
             std::string result = frame->movie() ? "" : "the main window made no player";
             AContentApp::current().playDocument(-1);
             return result;
         }},
        {"AWorkspaceWinApp::showTextPosition",
         [&]() -> std::string {
             DocKycfPane* article = showArticle();
             ATextRenderer* renderer = article ? article->articleRenderer() : nullptr;
             if (!renderer || !renderer->model())
                 return "no article shown";
             long end = renderer->model()->getLength();
             renderer->scrollToPosition(0);
             settle();
             long top = renderer->currentPosition();
             AWorkspaceWinApp::current().showTextPosition(end - 1);
             settle();
             long now = renderer->currentPosition();
             return now > top ? "" : "the article stayed at " + std::to_string(now) + " of " + std::to_string(end);
         }},
        {"AContentApp::selContextMenu",
         [&]() -> std::string {
             DocKycfPane* article = showArticle();
             ATextRenderer* renderer = article ? article->articleRenderer() : nullptr;
             if (!renderer)
                 return "no article shown";
             // The article's menu is the one with "find in the text".
             ASelContextMenuCallBack* menu = app->getSelContextMenu(true);
             return renderer->menuCallBack == menu ? "" : "a right click on selected text shows no menu";
         }},
        {"AFrameServices::addNoteToArticle",
         [&]() -> std::string {
             DocKycfPane* article = showArticle();
             ATextRenderer* renderer = article ? article->articleRenderer() : nullptr;
             ANoteManager* notes = app->getNoteManager();
             if (!renderer || !renderer->model() || !notes)
                 return "no article or no note store";
             // The reader's selection: a word of the text in view.
             settle();
             long place = -1;
             for (long p = renderer->currentPosition(); p >= 0 && p < renderer->model()->getLength() && place < 0; p += 7) {
                 if (renderer->notePlaceFor(p) >= 0)
                     place = p;
             }
             if (place < 0)
                 return "no place in view for a note";
             renderer->model()->setSelection(ADocRange{place, place + 1}, 0);
             BoxAnswer() = IDOK;
             frame->doCommand(3125, 0);
             pump();
             if (!notes->hasNote(docNo))
                 return "the tool bar's note made no note";
             return "";
         }},
        {"ASearchPanesApp::searchOnline",
         [&]() -> std::string {
             // Offline, the online search's connection check tells the reader why; the
             // do-nothing answer says nothing.
             ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
             search->setQuery("calque");
             ClearBoxes();
             BoxAnswer() = IDOK;
             AString name = ASearchPanesApp::current().searchOnline(search.get(), 0, "text", 0);
             pump();
             return !name.empty() || !CapturedBoxes().empty() ? "" : "the online search never ran";
         }},
    };
    for (const Hook& hook : hooks) {
        SCOPED_TRACE(hook.name);
        guarded([&] { EXPECT_EQ("", hook.check()) << hook.name << " does not do its work"; });
    }
}

// The result list's options panel: its thirteen option buttons have drawn
// faces and show their captions (build/artifacts/options-panel.png).
TEST_F(SampleReaderTest, TheResultListsOptionButtonsHaveFacesAndCaptions) {
    if (!frame)
        FAIL() << skipReason;
    guarded([&] {
        searchedArticle();
        AComponent* found = frame->findDescendant(&LR_DVD::classRecord, nullptr);
        ASSERT_TRUE(found);
        auto* list = static_cast<LR_DVD*>(found->castTo(&LR_DVD::classRecord));
        list->doCommand(LR_DVD::kOptionsCommand, 0);
        settle();
        const int16_t ids[] = {2501, 2502, 2503, 2511, 2512, 2513, 2521, 2522, 2523, 2524, 2525, 2526, 2527};
        for (int16_t id : ids) {
            SCOPED_TRACE(id);
            AClusterItem* item = list->findItem(id, false);
            ASSERT_TRUE(item);
            auto* button = static_cast<AIconButton*>(item->castTo(&AIconButton::classRecord));
            ASSERT_TRUE(button);
            EXPECT_NE("", std::string(button->getText().c_str())) << "a caption";
            EXPECT_TRUE(button->itemFlags() & AIconButton::kCaption);
            const long right = button->localToScreen(APoint(button->getSize().x, 0)).x;
            EXPECT_LE(right, list->localToScreen(APoint(list->getSize().x, 0)).x) << "the button lies inside the dock";
        }
        saveShot("options-panel");
    });
}
