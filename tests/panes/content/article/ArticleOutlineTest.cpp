// The article's outline map, split modes, view settings and time strip: the
// map read alone, the rest in the real main window on the sample with the
// documents' information flags 9 (outline) and 11 (time strip) set by the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/ASegment.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/ArticleOutlineMap.h"
#include "panes/content/article/DocFrisePane.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/top/DockTopKycfPane.h"
#include "search/facade/ASearchBase.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

TEST(ArticleOutlineMapTest, MapsReadIntoSectionsOrNothing) {
    struct Row {
        const char* text;
        long outlineEnd, articleEnd;
        const char* read;  // "" when refused
    } const rows[] = {
        {"2,0:0,500:40", 60, 900, "0/0 500/40 900/60"},
        {"1,0:0", 10, 20, "0/0 20/10"},
        {"2, 0:0 titre ,500:40 fin", 60, 900, "0/0 500/40 900/60"},
        {"0", 60, 900, ""},
        {"-2,0:0,500:40", 60, 900, ""},
        {"", 60, 900, ""},
        {"x", 60, 900, ""},
        {"2,0:0", 60, 900, ""},                // fewer entries than the count
        {"1,0:0,500:40", 60, 900, ""},         // more
        {"2,0:0,a:40", 60, 900, ""},           // not a number
        {"2,0:0,500", 60, 900, ""},            // no ':'
        {"2,500:0,100:40", 60, 900, ""},       // not ascending
        {"2,0:0,0:40", 60, 900, ""},           // the same position twice
        {"2,0:0,950:40", 60, 900, ""},         // past the article's end
        {"2,0:0,500:70", 60, 900, ""},         // past the outline's end
        {"2,0:0,99999999999:40", 60, 900, ""}, // does not fit
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ArticleOutlineMap map;
        EXPECT_EQ(r.read[0] != 0, map.parse(r.text, r.outlineEnd, r.articleEnd));
        EXPECT_EQ(r.read, map.describe());
    }
    ArticleOutlineMap map;
    ASSERT_TRUE(map.parse("2,100:0,500:40", 60, 900));
    const long sections[][2] = {{0, -1}, {99, -1}, {100, 0}, {499, 0}, {500, 1}, {650, 1}, {899, 1}, {900, 1}, {5000, 1}};
    for (const auto& s : sections) {
        SCOPED_TRACE(s[0]);
        EXPECT_EQ(s[1], map.sectionOf(s[0]));
    }
    EXPECT_EQ(-1, ArticleOutlineMap().sectionOf(0));
}

TEST(ArticleSettingsTest, TheFontStepLimitIsAPositiveNumberOrTwo) {
    const struct {
        const char* text;
        long max;
    } rows[] = {{"3", 3}, {"2", 2}, {"", 2}, {"0", 2}, {"-4", 2}, {"abc", 2}, {"1", 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(r.max, DocKycfPane::readFontDeltaMax(r.text));
    }
    EXPECT_EQ(2, DocKycfPane::readFontDeltaMax(nullptr));
}

namespace {

// The real answers, with the outline and time strip flags of every document set on request.
class FlaggedContent : public ForwardingContent {
public:
    using ForwardingContent::ForwardingContent;
    int16_t getDocIconType(long docNo) override {
        return docNo == icon26 ? 26 : ForwardingContent::getDocIconType(docNo);
    }
    ADocRefInfo getDocRefInfo(long docNo) override {
        ADocRefInfo info = ForwardingContent::getDocRefInfo(docNo);
        info.fInfo.slot(9) = outline;
        info.fInfo.slot(11) = strip;
        return info;
    }

    long outline = 0, strip = 0, icon26 = -5;
};

class ArticleOutlineTest : public SampleReaderTest {
protected:
    void SetUp() override {
        SampleReaderTest::SetUp();
        if (!frame)
            return;
        content.reset(new FlaggedContent(AContentApp::current()));
        AContentApp::install(content.get());
        centre = DockLCRPane::of(frame);
    }
    void TearDown() override {
        if (content)
            AContentApp::install(app ? &app->contentServices() : nullptr);
        SampleReaderTest::TearDown();
    }
    // Shows the first article long enough to scroll (several screens).
    DocKycfPane* showLongArticle() {
        for (long docNo = 1; docNo < 200; ++docNo) {
            if (!content->isTextDoc(docNo))
                continue;
            centre->showDocument(docNo);
            pump();
            DocKycfPane* article = articlePane();
            ADocModel* model = article->articleRenderer()->model();
            if (model && model->getPositionCount() > 9000)
                return article;
        }
        ADD_FAILURE() << "no long article in the sample";
        return articlePane();
    }
    // Shows a long article with its outline shown and the test's map in place.
    DocKycfPane* showWithMap(const char* map) {
        DocKycfPane* article = showLongArticle();
        article->currentState()->getDocState()->fUserInfo.slot(DocKycfPane::kOutlineShownKey) = 2;
        article->applySplitMode();
        EXPECT_TRUE(article->parseOutlineMap(map, 60, 9000));
        return article;
    }
    long sectionKey(DocKycfPane* article) { return article->currentState()->getUserInfo(DocKycfPane::kSectionKey); }
    std::string section(DocKycfPane* article) {
        return std::to_string(sectionKey(article)) + " " + std::to_string(article->sectionStart()) + "-" +
               std::to_string(article->sectionEnd());
    }
    AStaticItem* part(DocKycfPane* article, int16_t id) {
        return static_cast<AStaticItem*>(article->findItem(id, true)->castTo(&AStaticItem::classRecord));
    }
    // Scrolls as the reader does: the view tells the pane of its new position.
    void readerScroll(DocKycfPane* article, long position) {
        article->articleRenderer()->scrollToPosition(position);
        article->articleView()->queueUpdate(101);
        pump();
    }

    std::unique_ptr<FlaggedContent> content;
    DockLCRPane* centre = nullptr;
};

}  // namespace

TEST_F(ArticleOutlineTest, ScrollingSelectsTheSectionAndAnOutlineLinkScrollsWithoutReselecting) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        centre->showDocument(3);
        pump();
        ADocState* doc = frame->currentState()->getDocState();
        EXPECT_EQ(1, doc->fUserInfo.slot(DocKycfPane::kOutlineShownKey)) << "no outline: key 2 is 1";

        content->outline = 1;
        DocKycfPane* article = showWithMap("2,0:0,5000:40");
        EXPECT_EQ("0/0 5000/40 9000/60", article->outlineMap().describe());
        AAppTextRenderer* renderer = article->articleRenderer();
        struct Row {
            long position;
            long answer;  // what syncOutline answers: -1 when the section did not change, -2 either
            const char* section;
        } const rows[] = {{6500, 40, "1 5000-9000"}, {7000, 40, "1 5000-9000"}, {100, 0, "0 0-5000"},
                          {9000, 40, "1 5000-9000"}, {30000, -2, "1 5000-9000"}, {0, 0, "0 0-5000"}};
        for (const Row& r : rows) {
            SCOPED_TRACE(r.position);
            renderer->scrollToPosition(r.position);
            long top = renderer->currentPosition();
            ASSERT_EQ(r.position >= 5000, top >= 5000) << top;
            long answer = article->syncOutline();
            // Past the map's end: the last section, inside the article or after it.
            EXPECT_EQ(r.answer == -2 ? (top >= 9000 ? -1 : 40) : r.answer, answer) << top;
            EXPECT_EQ(r.section, section(article));
            // Unchanged: the section's line, or nothing past the map's end (how far
            // the article scrolls depends on the screen's height).
            const long unchanged = r.answer == -2 && top >= 9000 ? -1 : r.position >= 5000 ? 40 : 0;
            EXPECT_EQ(unchanged, article->syncOutline()) << top;
        }
        // A link to a heading: the scroll it causes keeps the section even
        // when the heading's line starts before it; the reader's next scroll moves it.
        readerScroll(article, 0);
        ASSERT_EQ(0, sectionKey(article));
        article->followOutlineLink(5000, -1);
        pump();
        EXPECT_EQ("1 5000-9000", section(article));
        readerScroll(article, 0);
        EXPECT_EQ("0 0-5000", section(article));
        readerScroll(article, 6000);
        EXPECT_EQ("1 5000-9000", section(article));
        article->followOutlineLink(-3, -1);
        pump();
        EXPECT_EQ("1 5000-9000", section(article)) << "before the first section: nothing";
    });
}

TEST_F(ArticleOutlineTest, TheSplitModesShareTheHeightAndAFullOutlineGivesWayToTheArticle) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        content->outline = 1;
        DocKycfPane* article = showWithMap("2,0:0,5000:40");
        AStaticItem* outline = part(article, DocKycfPane::kOutlinePart);
        AStaticItem* text = part(article, DocKycfPane::kArticlePart);
        long h = article->ADisplayComponent::getFrame().height();
        const struct {
            int16_t mode;
            long split;  // -1: the article hidden
        } rows[] = {{1, 2 * h / 3}, {0, h / 3}, {2, -1}, {0, h / 3}};
        for (const auto& r : rows) {
            SCOPED_TRACE(r.mode);
            article->doCommand(DocKycfPane::kSplitFirst, 0);  // no button record: ignored
            article->setSplitMode(r.mode);
            pump();
            EXPECT_EQ(r.mode + 1, article->currentState()->getDocState()->fUserInfo.slot(DocKycfPane::kSplitKey));
            EXPECT_TRUE(outline->hasFlags(ADisplayComponent::kShown));
            EXPECT_EQ(r.split >= 0, text->hasFlags(ADisplayComponent::kShown));
            if (r.split >= 0) {
                EXPECT_EQ(r.split, outline->getFrame().bottom());
                EXPECT_EQ(r.split, text->getFrame().top());
            }
        }
        // Mode 2: a link hides the outline through the top dock so that the article shows.
        article->setSplitMode(2);
        pump();
        article->followOutlineLink(5000, -1);
        pump();
        EXPECT_EQ(1, article->currentState()->getDocState()->fUserInfo.slot(DocKycfPane::kOutlineShownKey));
        EXPECT_FALSE(outline->hasFlags(ADisplayComponent::kShown));
        EXPECT_TRUE(text->hasFlags(ADisplayComponent::kShown));
    });
}

TEST_F(ArticleOutlineTest, TextSizeMediaAndHighlightingChangeTheArticleInPlace) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        DocKycfPane* article = showLongArticle();
        AAppTextRenderer* renderer = article->articleRenderer();
        AStyleSheet* sheet = renderer->styleSheet();
        ASSERT_TRUE(sheet);
        ASSERT_EQ(2, article->fontDeltaMax());
        article->changeFontSize(0);
        int16_t nominal = sheet->getFont(0, 0)->desc().size;
        const struct {
            int16_t step, delta;
            bool enlarge, reduce, changed;
        } rows[] = {{1, 1, true, true, true},   {1, 2, false, true, true},   {1, 2, false, true, true},
                    {-1, 1, true, true, true},  {0, 0, true, true, false},   {-1, -1, true, true, true},
                    {-1, -2, true, false, true}, {-1, -2, true, false, true}, {0, 0, true, true, false}};
        for (const auto& r : rows) {
            SCOPED_TRACE(std::to_string(r.step) + " to " + std::to_string(r.delta));
            article->changeFontSize(r.step);
            EXPECT_EQ(r.delta, article->fontDelta());
            EXPECT_EQ(r.enlarge, article->canEnlargeFont());
            EXPECT_EQ(r.reduce, article->canReduceFont());
            EXPECT_EQ(r.changed, article->isFontChanged());
        }
        EXPECT_EQ(nominal, sheet->getFont(0, 0)->desc().size) << "reset gives the sheet's own sizes";

        // The text-size preference starts from the sheet's sizes each time.
        APrefManager* prefs = app->getPrefManager();
        ASSERT_TRUE(prefs);
        prefs->setLong(APrefManager::kFontSize, 2003);
        article->applyPreferences(*prefs);
        article->applyPreferences(*prefs);
        EXPECT_EQ(2, article->fontDelta());
        prefs->setLong(APrefManager::kFontSize, 2002);
        article->applyPreferences(*prefs);
        EXPECT_EQ(nominal, sheet->getFont(0, 0)->desc().size);

        // Media blocks fold and unfold without moving the first visible text.
        renderer->scrollToPosition(3000);
        long top = renderer->currentPosition();
        prefs->setLong(APrefManager::kWithMedia, 0);
        article->applyPreferences(*prefs);
        EXPECT_FALSE(article->isMediaShown());
        EXPECT_EQ(top, renderer->currentPosition());
        article->toggleMedia();
        EXPECT_TRUE(article->isMediaShown());
        EXPECT_EQ(top, renderer->currentPosition());
        prefs->setLong(APrefManager::kWithMedia, 1);
        article->applyPreferences(*prefs);

        const struct {
            int16_t off;
            int16_t styles[3];
        } styles[] = {{1, {-1, -1, -1}}, {0, {3, 15, -1}}};
        for (const auto& s : styles) {
            SCOPED_TRACE(s.off);
            article->setViewStyles(s.off);
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(s.styles[i], renderer->styleNumbers[i]);
            EXPECT_EQ(top, renderer->currentPosition());
        }
    });
}

TEST_F(ArticleOutlineTest, TheTimeStripFollowsFlagElevenAndItsLinksScrollTheArticle) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        AComponent* found = frame->findDescendant(&DocFrisePane::classRecord, nullptr);
        ASSERT_TRUE(found);
        auto* strip = static_cast<DocFrisePane*>(found->castTo(&DocFrisePane::classRecord));
        DocKycfPane* article = showLongArticle();
        EXPECT_FALSE(strip->isPaneWanted());
        EXPECT_FALSE(strip->hasFlags(ADisplayComponent::kShown));
        AAppTextRenderer* renderer = article->articleRenderer();
        article->goToPosition(1200);
        long expected = renderer->currentPosition();
        ASSERT_GT(expected, 0);
        for (const char* name : {">1200", "1200"}) {
            SCOPED_TRACE(name);
            renderer->scrollToPosition(0);
            if (article->isMediaShown())
                article->toggleMedia();
            strip->followLink(name);
            EXPECT_EQ(expected, renderer->currentPosition());
            EXPECT_TRUE(article->isMediaShown()) << "hidden media come back first";
        }
        strip->followLink("abc");
        EXPECT_EQ(0, renderer->currentPosition()) << "not a number: position 0";
        content->strip = 1;
        EXPECT_TRUE(strip->isPaneWanted());
    });
}

TEST_F(ArticleOutlineTest, APictureOfAnArticleWithItsOutlineInModeOneAndLargerText) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        content->outline = 1;
        DocKycfPane* article = showWithMap("3,0:0,3000:13,6000:26");
        ARenderer* outline = article->outlineRenderer();
        ASSERT_TRUE(outline);
        {
            AViewMeasureLock measuring(article->articleView());
            outline->setTextModel("D\xE9" "but de l'article\nPremi\xE8" "re partie\nSeconde partie", nullptr);
            outline->layOut();
        }
        article->setSplitMode(1);
        article->changeFontSize(1);
        pump();
        EXPECT_TRUE(part(article, DocKycfPane::kOutlinePart)->hasFlags(ADisplayComponent::kShown));
        EXPECT_EQ(1, article->fontDelta());
        saveShot("article-outline");
        article->changeFontSize(0);
    });
}

namespace {

// The plain text of the paragraph that holds a position, without its line end and edge blanks.
std::string ParagraphText(ADocModel* model, long position) {
    ASegment* segment = model->segmentAtPosition(position);
    if (!segment)
        return "(no paragraph)";
    segment->lock();  // the unlock frees it
    long start = model->sourceToPosition(segment->getStart()), end = model->sourceToPosition(segment->getEnd());
    segment->unlock();
    std::string text = model->exportText(start, end).c_str();
    const char* blanks = " \t\r\n\xA0";
    size_t first = text.find_first_not_of(blanks), last = text.find_last_not_of(blanks);
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The target of the first link of the paragraph that holds an outline position, or -1.
long LinkTarget(ADocModel* model, long position) {
    ASegment* segment = model->segmentAtPosition(position);
    if (!segment)
        return -1;
    segment->lock();  // the unlock frees it
    long target = -1;
    for (AFragment* f = segment->load(); f && target < 0; f = f->next())
        if ((f->linkKind() & 0xFFF) == 3)
            target = std::atol(f->getName().c_str());
    segment->unlock();
    return target;
}

class SampleOutlineTest : public SampleReaderTest {};

}  // namespace

TEST_F(SampleOutlineTest, EachOutlineLineOfTheSampleLeadsToTheHeadingItNames) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        AContentApp& content = AContentApp::current();
        DockLCRPane* centre = DockLCRPane::of(frame);
        std::vector<long> documents;
        for (long docNo = 0; docNo < 30000 && documents.size() < 100; ++docNo) {
            if (!content.isTextDoc(docNo))
                break;
            if (content.getDocRefInfo(docNo).getInfo(9))
                documents.push_back(docNo);
        }
        if (documents.empty())
            GTEST_SKIP() << "a sample built without outlines";
        EXPECT_EQ(100u, documents.size());
        long lines = 0;
        for (long docNo : documents) {
            SCOPED_TRACE(docNo);
            centre->showDocument(docNo);
            pump();
            DocKycfPane* article = articlePane();
            const ArticleOutlineMap& map = article->outlineMap();
            ASSERT_GT(map.sections(), 1) << "the title and a heading at least";
            ADocModel* outline = article->outlineRenderer()->model();
            AAppTextRenderer* renderer = article->articleRenderer();
            ADocModel* text = renderer->model();
            ASSERT_TRUE(outline && text);
            // The top dock's outline: the same record, read once for both.
            SVPane* dock = centre->link(DockLCRPane::kDockTopKycf);
            ARenderer* docked = dock ? static_cast<DockTopKycfPane*>(dock->castTo(&DockTopKycfPane::classRecord))
                                        ->outlineRenderer()
                                  : nullptr;
            ASSERT_TRUE(docked && docked->model());
            EXPECT_EQ(std::string(outline->exportText(0, outline->getPositionCount(), nullptr, false).c_str()),
                      docked->model()->exportText(0, docked->model()->getPositionCount(), nullptr, false).c_str());
            for (long k = 0; k < map.sections(); ++k) {
                SCOPED_TRACE(k);
                long target = LinkTarget(outline, map.outlineAt(k));
                ASSERT_EQ(map.articleAt(k), target) << "the line's link names its section's start";
                EXPECT_EQ(ParagraphText(outline, map.outlineAt(k)), ParagraphText(text, target));
                article->followOutlineLink(target, -1);
                ADocRange top{-1, -1}, bottom{-1, -1};
                ASSERT_TRUE(renderer->visibleLineRange(true, top) && renderer->visibleLineRange(false, bottom));
                EXPECT_TRUE(top.start <= target && target < bottom.end) << top.start << "-" << bottom.end;
                EXPECT_EQ(k, article->currentState()->getUserInfo(DocKycfPane::kSectionKey));
                ++lines;
            }
        }
        std::printf("outline lines followed: %ld in %zu articles\n", lines, documents.size());
    });
}

// What "Avec le sommaire en tête" prints before an article of the sample:
// every heading of its outline, in order, and nothing for an article
// without an outline (even right after one that has one).
TEST_F(SampleOutlineTest, ThePrintedContentsAreTheOutlinesHeadingsInOrder) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        AContentApp& content = AContentApp::current();
        DockLCRPane* centre = DockLCRPane::of(frame);
        long with = -1, without = -1;
        for (long docNo = 0; docNo < 30000 && (with < 0 || without < 0) && content.isTextDoc(docNo); ++docNo) {
            bool outlined = content.getDocRefInfo(docNo).getInfo(9) != 0;
            if (outlined && with < 0)
                with = docNo;
            if (!outlined && without < 0)
                without = docNo;
        }
        ASSERT_GE(with, 0) << "a sample built without outlines";
        ASSERT_GE(without, 0);
        centre->showDocument(with);
        pump();
        DocKycfPane* article = articlePane();
        const ArticleOutlineMap& map = article->outlineMap();
        ASSERT_GT(map.sections(), 1);
        std::string contents = article->printedContents().c_str();
        size_t at = 0;
        for (long k = 0; k < map.sections(); ++k) {
            SCOPED_TRACE(k);
            std::string heading = ParagraphText(article->outlineRenderer()->model(), map.outlineAt(k));
            ASSERT_FALSE(heading.empty());
            size_t found = contents.find(heading, at);
            ASSERT_NE(std::string::npos, found) << heading << " in " << contents.substr(0, 400);
            at = found + heading.size();
        }
        centre->showDocument(without);
        pump();
        EXPECT_STREQ("", articlePane()->printedContents().c_str()) << "an article without an outline has no contents";
    });
}

TEST_F(SampleOutlineTest, AnArticleWithItsOutlineInModeOneItsTimeStripAndLargerText) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        AContentApp& content = AContentApp::current();
        DockLCRPane* centre = DockLCRPane::of(frame);
        long chosen = -1, plain = -1;
        ASearchBase* strips = content.getBase(1);
        ASSERT_TRUE(strips);
        // An article with an outline and a strip, one led by a thumbnail when there is one.
        bool thumbnail = false;
        for (long docNo = 0; docNo < 30000 && content.isTextDoc(docNo) && (!thumbnail || plain < 0); ++docNo) {
            ADocRefInfo info = content.getDocRefInfo(docNo);
            if (info.getInfo(9) && info.getInfo(11) && !thumbnail) {
                thumbnail = std::string(strips->getText(7, info.fField6, 0).c_str()).find("{B-1#") != std::string::npos;
                if (thumbnail || chosen < 0)
                    chosen = docNo;
            }
            if (!info.getInfo(11) && plain < 0)
                plain = docNo;
        }
        if (chosen < 0)
            GTEST_SKIP() << "a sample built without time strips";
        auto* strip = static_cast<DocFrisePane*>(centre->link(DockLCRPane::kDocFrise)->castTo(&DocFrisePane::classRecord));
        auto* area = static_cast<AStaticItem*>(centre->findItem(1023, true)->castTo(&AStaticItem::classRecord));
        const struct {
            long docNo;
            bool shown;
        } rows[] = {{plain, false}, {chosen, true}, {plain, false}, {chosen, true}};
        for (const auto& r : rows) {
            SCOPED_TRACE(r.docNo);
            centre->showDocument(r.docNo);
            pump();
            EXPECT_EQ(r.shown, strip->hasFlags(ADisplayComponent::kShown));
            // The article starts under the strip while it shows, at the top dock's foot otherwise.
            long top = area->getFrame().top();
            EXPECT_EQ(r.shown ? 112 : 34, top);
        }
        DocKycfPane* article = articlePane();
        article->currentState()->getDocState()->fUserInfo.slot(DocKycfPane::kOutlineShownKey) = 2;
        article->setSplitMode(1);
        article->applySplitMode();
        article->changeFontSize(1);
        pump();
        EXPECT_EQ(1, article->fontDelta());
        EXPECT_GT(article->outlineMap().sections(), 1);
        saveShot("article-outline-strip");
        article->changeFontSize(0);
    });
}
