// The reading screen of the real reader on the sample: a search for "calque",
// the first text of its results shown through the centre switcher, its
// highlighted runs against an independent scan of the article's text, the
// hit walk, a note that survives the history, and a picture of the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/AHighlighterHook.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/windows/AWindowShell.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchRequest.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

// The article's text folded as the hit set folds it, cut into words.
std::vector<std::string> FoldedWords(AHiliteSet& set, const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (unsigned char c : text) {
        if (set.isSeparator(c) || c < 0x20) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            continue;
        }
        int f = set.fold(c, 0);
        if (f < 0)
            continue;
        if (f > 255)
            word += static_cast<char>(f >> 8);
        word += static_cast<char>(f & 0xFF);
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        if (!part.empty())
            parts.push_back(part);
    }
    return parts;
}

// Occurrences of the terms (a term: words joined by blanks) in the words.
long CountTerms(const std::vector<std::string>& words, const std::vector<std::string>& terms) {
    long count = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        for (const std::string& term : terms) {
            std::vector<std::string> parts = Split(term, ' ');
            if (parts.empty() || i + parts.size() > words.size())
                continue;
            if (std::equal(parts.begin(), parts.end(), words.begin() + static_cast<long>(i))) {
                ++count;
                break;
            }
        }
    }
    return count;
}

}  // namespace

TEST_F(SampleReaderTest, ASearchedArticleShowsItsHitsWalksThemAndKeepsANoteThroughTheHistory) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] { searchedArticle(); });
}

void SampleReaderTest::searchedArticle() {
    // The search the search pane would make.
    std::unique_ptr<ASearchRequest> request(app->dataLocation()->createRequest("TEXT", "RECH"));
    ASSERT_TRUE(request);
    request->setQuestion(1, "calque", 0);
    request->execute(0);
    ASSERT_GT(request->getResultCount(0), 0);
    ARefHold<ALoScore> results(new ALoScore(*request, 1));
    ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
    search->setQuery("calque");
    search->setTextResults(results.get());
    const std::string words = search->getHighlightWords().c_str();
    ASSERT_NE("", words);
    frame->currentState()->setSearchState(search.get());

    long docNo = -1;
    for (long i = 0; i < results->getCount() && docNo < 0; ++i) {
        long d = results->seek(i);
        if (app->isTextDoc(d))
            docNo = d;
    }
    ASSERT_GE(docNo, 0);
    DockLCRPane* centre = DockLCRPane::of(frame);
    ASSERT_TRUE(centre);
    centre->showDocument(docNo);
    pump();
    AppState* state = frame->currentState();
    ASSERT_EQ(docNo, state->getDocNo());
    EXPECT_EQ(1, state->getScreenMode()) << "from the home screen to the reading screen";
    DocKycfPane* article = articlePane();
    ASSERT_TRUE(article);
    ATextRenderer* renderer = article->articleRenderer();
    ASSERT_TRUE(renderer && renderer->model());
    EXPECT_EQ(1, article->hasSearchHits());
    EXPECT_EQ(0, state->fTemporaire);

    // The highlighted runs against a scan of the article's text for the words.
    ADocModel* model = renderer->model();
    AHiliteSet* set = model->getHighlighter() ? model->getHighlighter()->hitSet() : nullptr;
    ASSERT_TRUE(set);
    // The words as the set folds the article's text.
    std::vector<std::string> terms;
    for (const std::string& term : Split(words, '\n')) {
        std::string joined;
        for (const std::string& w : FoldedWords(*set, term))
            joined += (joined.empty() ? "" : " ") + w;
        terms.push_back(joined);
    }
    long expected = CountTerms(FoldedWords(*set, model->exportText(0, model->getLength()).c_str()), terms);
    AHitNavigator* navigator = renderer->hitNavigator();
    ASSERT_TRUE(navigator);
    renderer->scrollToPosition(0);
    navigator->reset();

    std::vector<long> starts;
    long walked = 0;
    for (long at = navigator->firstHitIndex(); at >= 0 && walked < 10000; ++walked) {
        navigator->showHit(at, 0x28);
        ADocRange hit = navigator->currentHit();
        SCOPED_TRACE(hit.start);
        std::vector<std::string> hitWords = FoldedWords(*set, model->exportText(hit.start, hit.end).c_str());
        std::string joined;
        for (const std::string& w : hitWords)
            joined += (joined.empty() ? "" : " ") + w;
        EXPECT_NE(terms.end(), std::find(terms.begin(), terms.end(), joined)) << joined;
        starts.push_back(hit.start);
        at = navigator->findNextHit();
    }
    EXPECT_EQ(expected, static_cast<long>(starts.size()));
    EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
    EXPECT_EQ(starts.size(), std::set<long>(starts.begin(), starts.end()).size()) << "each hit once";
    // Back through them with the pane's own command, in reverse text order.
    std::vector<long> back{starts.back()};
    while (article->hasPreviousHit()) {
        article->goToPreviousHit();
        back.push_back(navigator->currentHit().start);
    }
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(starts, back);

    // Away to another result and back through the history: the place is kept.
    long other = -1;
    for (long i = 0; i < results->getCount() && other < 0; ++i) {
        long d = results->seek(i);
        if (d != docNo && app->isTextDoc(d))
            other = d;
    }
    ASSERT_GE(other, 0);
    navigator->showLastHit();
    long top = renderer->currentPosition();
    centre->showDocument(other);
    pump();
    EXPECT_EQ(other, frame->currentState()->getDocNo());
    frame->goBack(1);
    pump();
    EXPECT_EQ(docNo, frame->currentState()->getDocNo());
    EXPECT_EQ(top, renderer->currentPosition()) << "the history's state keeps its place, not the first hit";
    ANoteManager* notes = app->getNoteManager();
    ASSERT_TRUE(notes);
    EXPECT_EQ(notes->getMarkerSet(docNo), renderer->model()->getAttachment()) << "the note marks show again";
    EXPECT_EQ(article->articleView(), frame->documentView());
    EXPECT_EQ(article->articleView(), frame->textView());
    EXPECT_EQ(1, frame->textViewFlag());

    // A "C" link: the same article in a new state, opened at the link's position, not at its first hit.
    // The return through the history laid the article out again with a navigator of its own.
    navigator = renderer->hitNavigator();
    ASSERT_TRUE(navigator);
    AppState* before = frame->currentState();
    long lastHit = starts.back();
    navigator->showFirstHit();
    long atFirstHit = renderer->currentPosition();
    renderer->scrollToPosition(lastHit);
    long atFar = renderer->currentPosition();
    ASSERT_NE(atFirstHit, atFar) << "the article scrolls between its first and last hit";
    article->followLink(("C" + std::to_string(lastHit)).c_str());
    pump();
    EXPECT_NE(before, frame->currentState());
    EXPECT_EQ(docNo, frame->currentState()->getDocNo());
    EXPECT_EQ(atFar, renderer->currentPosition());
    saveShot("article-sample");
}

namespace {

// The components under `root` with a native window other than `host`, shown on the screen.
void ShownOwnWindows(AComponent* root, HWND host, std::vector<std::string>& shown) {
    auto* display = dynamic_cast<ADisplayComponent*>(root);
    if (HWND own = display ? display->getHWnd() : nullptr; own && own != host && IsWindowVisible(own))
        shown.push_back(root->getClass()->name());
    Alist& children = root->children();
    for (ALink* link = children.firstLink(); link != children.sentinel(); link = link->next)
        ShownOwnWindows(ChildOf(link), host, shown);
}

}  // namespace

// The start hides the reading screen before the frame first shows: none of its
// windows may stay on the screen over the home screen, and they come with it.
TEST_F(SampleReaderTest, TheHomeScreenAtStartShowsNoWindowOfTheReadingScreen) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* reading = dynamic_cast<ADisplayComponent*>(frame->findItem(1200, false));
        ASSERT_TRUE(reading);
        EXPECT_FALSE(reading->hasFlags(ADisplayComponent::kVisible));
        HWND host = frame->getNativeWindow()->hwnd();
        std::vector<std::string> shown;
        ShownOwnWindows(reading, host, shown);
        EXPECT_TRUE(shown.empty()) << shown.size() << " shown, the first a " << shown.front();
        searchedArticle();
        shown.clear();
        ShownOwnWindows(reading, host, shown);
        EXPECT_FALSE(shown.empty()) << "the article's screen shows its windows";
    });
}

// The reader opens one main window, and what its panes draw reaches that
// window's pixels: the article view's rectangle carries the article's ink.
TEST_F(SampleReaderTest, TheShownArticleReachesTheMainWindowsPixels) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] { shownArticlePixels(); });
}

namespace {

// The paints a window receives, counted in front of its procedure.
struct PaintCount {
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        count += message == WM_PAINT;
        return CallWindowProcA(original, hwnd, message, w, l);
    }
    static WNDPROC original;
    static int count;
};
WNDPROC PaintCount::original = nullptr;
int PaintCount::count = 0;

}  // namespace

void SampleReaderTest::shownArticlePixels() {
    int frames = 0;
    Alist& windows = app->children();
    for (ALink* link = windows.firstLink(); link != windows.sentinel(); link = link->next)
        frames += static_cast<AComponent*>(static_cast<APlink*>(link)->value)->isKindOf(&Frame1::classRecord);
    EXPECT_EQ(1, frames) << "a second main window would lie over the first and hide it";
    EXPECT_TRUE(app->helpBox()) << "the icon-only buttons' tooltips need the help box";

    std::unique_ptr<ASearchRequest> request(app->dataLocation()->createRequest("TEXT", "RECH"));
    ASSERT_TRUE(request);
    request->setQuestion(1, "calque", 0);
    request->execute(0);
    ARefHold<ALoScore> results(new ALoScore(*request, 1));
    long docNo = -1, nextDocNo = -1;
    for (long i = 0; i < results->getCount() && nextDocNo < 0; ++i) {
        if (app->isTextDoc(results->seek(i)))
            (docNo < 0 ? docNo : nextDocNo) = results->seek(i);
    }
    ASSERT_GE(nextDocNo, 0);
    DockLCRPane* centre = DockLCRPane::of(frame);
    ASSERT_TRUE(centre) << "the frame's dock pane is the centre switcher";
    centre->showDocument(docNo);
    pump();
    DocKycfPane* article = articlePane();
    ASSERT_TRUE(article && article->articleRenderer() && article->articleRenderer()->model());
    ADisplayComponent* view = article->articleRenderer()->view();
    ASSERT_TRUE(view && view->hasFlags(ADisplayComponent::kVisible));
    ARect area(view->windowPosition(), view->windowPosition() + view->getSize());
    EXPECT_GT(saveShot("article-reader", &area), 500) << "the article's text in the window";

    // The next article, as a result click opens it, reaches the screen in one
    // paint: panes shown, docks sized and lists filled ask for one update.
    PaintCount::count = 0;
    HWND hwnd = frame->getHWnd();
    PaintCount::original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaintCount::proc)));
    centre->openDocument(nextDocNo);
    pump();
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaintCount::original));
    EXPECT_EQ(nextDocNo, frame->currentState()->getDocNo());
    EXPECT_EQ(1, PaintCount::count) << "the main window's paints for one article opening";
}

// A section link ("C" and the heading's position) clicked in the article's
// last line: the same article in a new state, its heading at the top.
TEST_F(SampleReaderTest, AClickedSectionLinkOpensTheArticleAtItsHeading) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        std::unique_ptr<ASearchRequest> request(app->dataLocation()->createRequest("TEXT", "RECH"));
        ASSERT_TRUE(request);
        request->setQuestion(1, "badblocks", 0);
        request->execute(0);
        ARefHold<ALoScore> results(new ALoScore(*request, 1));
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        const std::string line = "Dans cet article : ";
        long docNo = -1, at = -1;
        std::string text;
        for (long i = 0; i < results->getCount() && docNo < 0; ++i) {
            long d = results->seek(i);
            if (!app->isTextDoc(d))
                continue;
            centre->showDocument(d);
            pump();
            ATextRenderer* shown = articlePane()->articleRenderer();
            ADocModel* model = shown->model();
            text = model->exportText(0, model->getLength()).c_str();
            if (text.find(line) == std::string::npos)
                continue;
            docNo = d;
            // The exported text and the model count positions differently: the line's model position.
            for (long p = model->getLength() - 1; p >= 0 && at < 0; --p) {
                if (std::string(model->exportText(p, p + static_cast<long>(line.size())).c_str()) == line)
                    at = p + static_cast<long>(line.size());
            }
        }
        ASSERT_GE(docNo, 0) << "a whole man page of the sample has its section buttons";
        DocKycfPane* article = articlePane();
        ATextRenderer* renderer = article->articleRenderer();
        // The first button's label is its heading's text.
        ASSERT_GE(at, 0);
        std::string rest = renderer->model()->exportText(at, renderer->model()->getLength()).c_str();
        std::string label = rest.substr(0, rest.find(" \x95"));
        ASSERT_FALSE(label.empty());
        renderer->scrollToPosition(at);
        settle();
        long before = renderer->currentPosition();
        AppState* state = frame->currentState();
        ARect box = renderer->rangeBounds(at, at + 1);
        ASSERT_GT(box.width(), 0);
        ADisplayComponent* view = renderer->view();
        APoint point = view->localToScreen(APoint(box.left() + 2, (box.top() + box.bottom()) / 2));
        clickAt(point);
        settle();
        EXPECT_NE(state, frame->currentState()) << "a new state";
        EXPECT_EQ(docNo, frame->currentState()->getDocNo());
        long top = renderer->currentPosition();
        EXPECT_LT(top, before) << "back up to the heading";
        std::string heading = renderer->model()->exportText(top, top + 200).c_str();
        EXPECT_EQ(label, heading.substr(0, label.size())) << "the heading the button names";
        saveShot("article-section-link");
    });
}
