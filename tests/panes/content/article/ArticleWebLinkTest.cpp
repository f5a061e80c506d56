// An article's link to a web page ("@" and the words the online service
// searches), clicked where the real reader on the sample draws it, with the
// sample's local service (tools/sample/service.py) started for the test on
// the address the sample names: the service's search page loads whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/frame/Frame1.h"
#include "app/online/ANetInfo.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/ASegment.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/web/HtmlNetPane.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchRequest.h"
#include "tests/panes/content/article/ArticleTestSupport.h"
#include "tests/support/LocalService.h"
#include "web/browser/AMozillaView.h"

namespace {

// A button whose target is a web page: "@" and the words.
class WebLinkFragment : public AFindActionFragment {
public:
    bool test(AFragment* fragment) override {
        return AFindActionFragment::test(fragment) && fragment->getName().c_str()[0] == '@';
    }
};

class ArticleWebLinkTest : public SampleReaderTest {
protected:
    void TearDown() override {
        if (app && app->netInfo() && state_ >= 0)
            app->netInfo()->setConnectionState(state_);
        SampleReaderTest::TearDown();
    }
    // Logged in to the service for the test; the sample's account state comes back after it.
    void online() {
        state_ = app->netInfo()->getConnectionState();
        app->netInfo()->setConnectionState(4);
    }

private:
    int16_t state_ = -1;
};

}  // namespace

TEST_F(ArticleWebLinkTest, AClickedWebLinkLoadsTheServicesSearchPageWhole) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    LocalService service(SV_SOURCE_DIR "/tools/sample/service.py", SV_BINARY_DIR "/sample-work",
                         SV_BINARY_DIR "/article-service.pid");
    std::string why = service.start();
    ASSERT_TRUE(why.empty()) << why;
    guarded([&] {
        online();
        // Pages that name Wikipedia mostly link to the web: the first article of that search with a web link.
        std::unique_ptr<ASearchRequest> request(app->dataLocation()->createRequest("TEXT", "RECH"));
        ASSERT_TRUE(request);
        request->setQuestion(1, "wikipedia", 0);
        request->execute(0);
        ARefHold<ALoScore> results(new ALoScore(*request, 1));
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        long docNo = -1, at = -1;
        std::string target;
        for (long i = 0; i < results->getCount() && i < 40 && docNo < 0; ++i) {
            long d = results->seek(i);
            if (!app->isTextDoc(d))
                continue;
            centre->showDocument(d);
            pump();
            ADocModel* model = articlePane()->articleRenderer()->model();
            WebLinkFragment test;
            AFragment* link = model ? model->findFragment(&test, 0, -1) : nullptr;
            if (!link)
                continue;
            target = link->getName().c_str();
            at = model->sourceToPosition(link->segment()->getStart() + link->textRange().start);
            link->segment()->unlock();
            docNo = d;
        }
        ASSERT_GE(docNo, 0) << "a sample article with a web link";
        ATextRenderer* renderer = articlePane()->articleRenderer();
        renderer->scrollToPosition(at);
        settle();
        ARect box = renderer->rangeBounds(at, at + 1);
        ASSERT_GT(box.width(), 0);
        AppState* article = frame->currentState();
        clickAt(renderer->view()->localToScreen(APoint(box.left() + 2, (box.top() + box.bottom()) / 2)));
        settle();

        AppState* page = frame->currentState();
        ASSERT_NE(article, page) << "the click shows a new state";
        ASSERT_TRUE(page->getDocState());
        EXPECT_EQ(8, page->getDocState()->fDocType) << "a web page";
        EXPECT_EQ(1, page->getUserInfo(3004)) << "shown whole";
        AComponent* found = frame->findDescendant(&HtmlNetPane::classRecord, nullptr);
        auto* pane = found ? static_cast<HtmlNetPane*>(found->castTo(&HtmlNetPane::classRecord)) : nullptr;
        ASSERT_TRUE(pane && pane->view());
        AMozillaView* view = pane->view();
        for (int i = 0; i < 500 && (view->isLoading() || view->title().empty()); ++i) {
            view->processEvents();
            pump();
            Sleep(10);
        }
        std::string url = view->getCurrentUrl().c_str();
        EXPECT_NE(std::string::npos,
                  url.find("127.0.0.1:" + std::to_string(kSampleServicePort) + "/redirect.php?id=recherche&text="))
            << url;
        // The service names the words it searched in the page's title.
        EXPECT_EQ("Recherche en ligne : " + target.substr(1), std::string(view->title().c_str())) << url;
        settle();
        saveShot("article-web-link");
    });
}
