// The centre views' logic in the real main window on the sample, with the
// application services recorded: link targets, the switcher's requests, the
// right column and the splitter, the browser container and the empty view.
#include <gtest/gtest.h>

#include <string>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/views/ASizerButton.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/ArticleLink.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DocMozillaPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

TEST(ArticleLinkTest, TargetsReadIntoWhatAClickDoes) {
    struct Row {
        const char* target;
        const char* read;
    } const rows[] = {
        {"@abc", "search abc"}, {"@", "search "}, {"C45", "position 45"}, {">x:C45", "position 45"},
        {">x", "none"}, {">a:>b:C7", "position 7"}, {"Sx12", "play 12"}, {"Ax3", "author 3"},
        {"Gx12", "document 12 frame -1"}, {"Gx12:3", "document 12 frame 3"}, {"C", "none"}, {"C-4", "none"},
        {"Cabc", "none"}, {"Gx", "none"}, {"Gx12:", "none"}, {"Gx12:z", "none"}, {"G12", "document 2 frame -1"},
        {"Zx1", "none"}, {"", "none"}, {"C99999999999", "none"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.target);
        EXPECT_EQ(r.read, ArticleLink::parse(r.target).describe());
    }
}

namespace {

// The application's answers, with the requests recorded and a few documents
// made media (5 frames), of another kind or not a text.
class RecordingContent : public AContentApp {
public:
    explicit RecordingContent(AContentApp& real) : real_(real) {}
    bool docIsMedia(long docNo) override { return docNo == media || real_.docIsMedia(docNo); }
    bool isTextDoc(long docNo) override { return docNo != notText && docNo != media && real_.isTextDoc(docNo); }
    int16_t getDocKind(long docNo, int16_t defaultKind) override {
        return docNo == kindDoc ? kind : real_.getDocKind(docNo, defaultKind);
    }
    int16_t getDocIconType(long docNo) override { return real_.getDocIconType(docNo); }
    ADocRefInfo getDocRefInfo(long docNo) override {
        ADocRefInfo info = real_.getDocRefInfo(docNo);
        if (docNo == media)
            info.fNbFrame = 5;
        return info;
    }
    ASearchBase* getBase(int16_t index) override { return real_.getBase(index); }
    ANoteManager* notes() override { return real_.notes(); }
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        log += "media " + std::to_string(docNo) + " " + std::to_string(frame) + " " + std::to_string(forceNew) + ";";
    }
    void openExtendedSearch(const char* text) override { log += std::string("search ") + text + ";"; }
    void showDocumentAt(long position) override { log += "at " + std::to_string(position) + ";"; }

    std::string log;
    long media = 12, notText = -5, kindDoc = -5;
    int16_t kind = 0;

private:
    AContentApp& real_;
};

class ArticlePanesTest : public SampleReaderTest {
protected:
    void SetUp() override {
        SampleReaderTest::SetUp();
        if (!frame)
            return;
        recorder.reset(new RecordingContent(AContentApp::current()));
        AContentApp::install(recorder.get());
        centre = DockLCRPane::of(frame);
    }
    void TearDown() override {
        if (recorder)
            AContentApp::install(app ? &app->contentServices() : nullptr);
        SampleReaderTest::TearDown();
    }
    DocMozillaPane* browserPane() {
        AComponent* found = frame->findDescendant(&DocMozillaPane::classRecord, nullptr);
        return found ? static_cast<DocMozillaPane*>(found->castTo(&DocMozillaPane::classRecord)) : nullptr;
    }
    AStaticItem* item(int16_t id) {
        return static_cast<AStaticItem*>(centre->findItem(id, true)->castTo(&AStaticItem::classRecord));
    }

    std::unique_ptr<RecordingContent> recorder;
    DockLCRPane* centre = nullptr;
};

}  // namespace

TEST_F(ArticlePanesTest, TheSwitcherShowsTextsIgnoresWhatMakesNoSenseAndSendsMediaAway) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        ASSERT_TRUE(centre);
        ASSERT_EQ(0, frame->currentState()->getScreenMode());
        centre->showDocument(3);
        pump();
        AppState* shown = frame->currentState();
        EXPECT_EQ(3, shown->getDocNo());
        EXPECT_EQ(1, shown->getScreenMode());
        ASSERT_TRUE(shown->getLeftState());
        EXPECT_EQ(1, shown->getLeftState()->fMode);
        struct Row {
            const char* what;
            bool open;
            long docNo;
            const char* log;
        } const rows[] = {
            {"the document shown", false, 3, ""}, {"a negative number", false, -1, ""},
            {"a media document shown", false, 12, ""}, {"a media document opened", true, 12, "media 12 0 0;"},
            {"the document opened again", true, 3, ""},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.what);
            recorder->log.clear();
            r.open ? centre->openDocument(r.docNo) : centre->showDocument(r.docNo);
            pump();
            EXPECT_EQ(shown, frame->currentState());
            EXPECT_EQ(r.log, recorder->log);
        }
    });
}

TEST_F(ArticlePanesTest, LinksOfTheArticleSearchPositionOpenMediaAndGoToDocuments) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        centre->showDocument(3);
        pump();
        DocKycfPane* article = articlePane();
        ASSERT_TRUE(article);
        struct Row {
            const char* target;
            const char* log;
        } const rows[] = {
            {"@abc", "search abc;"}, {"C45", "at 45;"}, {">x:C45", "at 45;"}, {">x", ""},
            {"Gx12:3", "media 12 3 0;"}, {"Gx12:9", "media 12 0 0;"}, {"Gx12", "media 12 -1 0;"}, {"Gx3", ""},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.target);
            recorder->log.clear();
            AppState* before = frame->currentState();
            article->followLink(r.target);
            pump();
            EXPECT_EQ(r.log, recorder->log);
            EXPECT_EQ(before, frame->currentState());
        }
        // A text through a link: the state says so; a map keeps the document it came from.
        article->followLink("Gx4");
        pump();
        EXPECT_EQ(4, frame->currentState()->getDocNo());
        EXPECT_EQ(1, frame->currentState()->fLink);
        EXPECT_EQ(0, frame->currentState()->getUserInfo(DocKycfPane::kLinkedFromKey));
        recorder->kindDoc = 5;
        recorder->kind = 2;
        articlePane()->followLink("Gx5");
        pump();
        AppState* map = frame->currentState();
        EXPECT_EQ(5, map->getDocNo());
        ASSERT_TRUE(map->getDocState());
        EXPECT_EQ(2, map->getDocState()->fDocType);
        EXPECT_EQ(4, map->getUserInfo(DocKycfPane::kLinkedFromKey));
    });
}

TEST_F(ArticlePanesTest, TheCentreTakesEachDocumentKindAndAnUnreadableOneGivesAnEmptyTemporaryView) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        DocMozillaPane* browser = browserPane();
        ASSERT_TRUE(browser);
        centre->showDocument(3);
        pump();
        DocKycfPane* article = articlePane();
        EXPECT_TRUE(article->hasFlags(ADisplayComponent::kShown));
        EXPECT_FALSE(browser->hasFlags(ADisplayComponent::kShown)) << "a text hides the container";
        EXPECT_EQ(0, frame->currentState()->fTemporaire);

        recorder->kindDoc = 6;
        recorder->kind = 1;
        centre->showDocument(6);
        pump();
        ADocState* doc = frame->currentState()->getDocState();
        EXPECT_EQ(1, doc->fDocType);
        EXPECT_TRUE(browser->hasFlags(ADisplayComponent::kShown));
        EXPECT_FALSE(article->hasFlags(ADisplayComponent::kShown));
        EXPECT_EQ(0, doc->fNew + doc->fClone + doc->fHisto) << "cleared after the update";

        recorder->notText = 7;
        centre->showDocument(7);
        pump();
        EXPECT_EQ(1, frame->currentState()->fTemporaire);
        EXPECT_EQ(nullptr, article->articleRenderer()->model()) << "an empty view";
        EXPECT_EQ(0, article->hasSearchHits());
    });
}

TEST_F(ArticlePanesTest, TheRightColumnNarrowsTheCentreAndTheSplitterMakesRoom) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        centre->showDocument(3);
        pump();
        AStaticItem* article = item(1023);
        AStaticItem* right = item(1025);
        centre->arrangeRightColumn(0);
        pump();
        EXPECT_EQ(right->getFrame().right(), article->getFrame().right()) << "the centre to the window's edge";
        ASizeSpec hidden = article->getSizeSpec();
        centre->arrangeRightColumn(0);
        ASizeSpec again = article->getSizeSpec();
        EXPECT_EQ(hidden.edges[2].value, again.edges[2].value);
        EXPECT_EQ(hidden.edges[2].mode, again.edges[2].mode);

        centre->arrangeRightColumn(1);
        pump();
        EXPECT_EQ(right->getFrame().left() - 1, article->getFrame().right());
        // The splitter pushed far right: the centre gets its 340 pixels back.
        long x = article->getFrame().right() - 100;
        centre->moveSplitter(x, 1);
        pump();
        long width = article->getFrame().width();
        ASSERT_LT(width, DockLCRPane::kMinCentreWidth);
        long splitterBefore = centre->splitter()->getFrame().left();
        centre->arrangeRightColumn(1);
        pump();
        EXPECT_EQ(splitterBefore - (DockLCRPane::kMinCentreWidth - width), centre->splitter()->getFrame().left());
        EXPECT_EQ(0, centre->resetSplitter());
        pump();
        EXPECT_EQ(centre->splitterHome(), centre->splitter()->getFrame().left());
    });
}
