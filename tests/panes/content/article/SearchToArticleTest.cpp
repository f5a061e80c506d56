// The road of a search in the real reader on the sample: the quick search
// "calque" opens the first document of the disc list in the article view,
// and a click on a result row opens that row's document with its hits and
// shows the row chosen, each Return going straight to its article. The
// picture is build/artifacts/reader-article.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/BAlloc.h"
#include "framework/controls/AEditBox.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/views/ASizerButton.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/top/DockTopLeftRechPane.h"
#include "panes/search/left/DockLeftPane.h"
#include "panes/search/left/LR_DVD.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

template <class T>
T* Find(Frame1* frame) {
    AComponent* found = frame->findDescendant(&T::classRecord, nullptr);
    return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
}

ARect ItemFrame(DockLCRPane* lcr, int16_t id) {
    AComponent* found = lcr->findById(id, 0);
    auto* item = found ? static_cast<ADisplayComponent*>(found->castTo(&ADisplayComponent::classRecord)) : nullptr;
    return item ? item->getFrame() : ARect();
}

// A click on a list row at x in its window, posted to the list's own window.
void ClickListAt(LR_DVD* results, long row, int32_t x, const std::function<void()>& pump) {
    auto* renderer = dynamic_cast<AListRenderer*>(results->getListView()->renderer());
    ASSERT_TRUE(renderer);
    ADisplayComponent* view = results->getListView();
    ARect r = renderer->rowRect(row);
    APoint at = view->windowPosition() + APoint(0, (r.top() + r.bottom()) / 2);
    at.x = x;
    HWND target = view->enclosingWindow();
    ASSERT_TRUE(target);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    pump();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    pump();
}

// The native windows of this thread moved, sized, shown or hidden while it
// lives, each with the number of times.
class WindowChanges {
public:
    WindowChanges() {
        counts_ = &changes;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
    }
    ~WindowChanges() { stop(); }
    void stop() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        counts_ = nullptr;
    }
    std::map<HWND, int> changes;

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && counts_ && call->message == WM_WINDOWPOSCHANGED) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(call->lParam);
            const UINT still = SWP_NOMOVE | SWP_NOSIZE;
            if ((pos->flags & still) != still || (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
                ++(*counts_)[call->hwnd];
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static std::map<HWND, int>* counts_;
    HHOOK hook_ = nullptr;
};

std::map<HWND, int>* WindowChanges::counts_ = nullptr;

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// The GDI objects of the process. Wine answers GetGuiResources with 0 but
// takes a handle without its generation word, so its table's slots are
// asked their kind instead.
long GdiObjects() {
    long count = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    if (count > 0)
        return count;
    for (uintptr_t slot = 1; slot < 0x10000; ++slot)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return count;
}

}  // namespace

TEST_F(SampleReaderTest, SearchesAndArticlesDoneAgainAndAgainKeepNoMoreMemory) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* rech = Find<DockTopLeftRechPane>(frame);
        ASSERT_TRUE(rech && rech->field());
        rech->setSearchText("calque");
        pump();
        auto* results = Find<LR_DVD>(frame);
        ASSERT_TRUE(results);
        // Each action is done in turn on four rows or questions, so that a
        // round ends on the same screen with a history of the same states
        // once the history is full.
        const char* const words[] = {"calque", "histogramme", "retouche ET photo", "pinceau OU crayon"};
        const struct {
            const char* what;
            std::function<void(int)> act;
        } actions[] = {
            {"a click on a result row", [&](int i) { ClickListRow(results, 1 + i % 4, [this] { pump(); }); }},
            {"Return in the quick search",
             [&](int i) {
                 rech->field()->setText(words[i % 4]);
                 rech->field()->notifyOwner(2);  // Enter in the field, as the field tells its pane
                 pump();
             }},
        };
        const int steps = (frame->maxStates() + 3) / 4 * 4;
        for (const auto& action : actions) {
            SCOPED_TRACE(action.what);
            // Two rounds fill the history and the search's caches.
            for (int i = 0; i < 2 * steps; ++i)
                action.act(i);
            const size_t bytes = BAlloc::bytesInUse();
            const long objects = GdiObjects();
            const long shown = frame->currentState()->getDocNo();
            for (int i = 0; i < steps; ++i)
                action.act(i);
            EXPECT_EQ(shown, frame->currentState()->getDocNo());
            EXPECT_EQ(1, articlePane()->hasSearchHits());
            EXPECT_EQ(objects, GdiObjects()) << "GDI objects made by an action and not deleted";
            // A block kept by each action would take at least 16 bytes a step.
            EXPECT_LT(BAlloc::bytesInUse(), bytes + steps * 16) << "memory kept past the history's";
        }
    });
}

TEST_F(SampleReaderTest, ASearchAndAClickedResultRowShowTheirArticleInTheCentre) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* field = Find<DockTopLeftRechPane>(frame);
        ASSERT_TRUE(field);
        field->setSearchText("calque");
        pump();
        auto* results = Find<LR_DVD>(frame);
        DocKycfPane* article = articlePane();
        ASSERT_TRUE(results && article);
        auto* list = dynamic_cast<AListRenderer*>(results->getListView()->renderer());
        ASSERT_TRUE(list && list->model());
        ASSERT_GT(list->model()->getLength(), 4);

        // Row 0 of a new search is the current document, shown as text; the
        // search's own state, temporary, left the history.
        struct Row {
            const char* what;
            long row;
        } rows[] = {{"the new search", 0}, {"a click on row 3", 3}};
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            if (row.row > 0)
                ClickListRow(results, row.row, [this] { pump(); });
            long docNo = atol(results->getLineKey(row.row).c_str());
            ASSERT_TRUE(app->isTextDoc(docNo)) << docNo;
            AppState* state = frame->currentState();
            EXPECT_EQ(docNo, state->getDocNo());
            if (row.row == 0) {
                AppState* before = state->getPrev();
                EXPECT_TRUE(!before || before->getScreenMode() == 0) << "the search's own state was temporary";
            }
            EXPECT_EQ(1, article->isPaneWanted()) << "a text goes to the article view";
            ATextRenderer* text = article->articleRenderer();
            ASSERT_TRUE(text && text->model() && text->view());
            EXPECT_TRUE(text->view()->hasFlags(ADisplayComponent::kVisible));
            EXPECT_EQ(1, article->hasSearchHits());
            EXPECT_EQ(row.row, list->selectionStart());
            EXPECT_EQ(row.row, results->selFirst);

            // The chosen row is filled: most of its pixels carry the selection colour.
            list->layOut();
            ARect r = list->rowRect(row.row);
            APoint origin = results->getListView()->windowPosition();
            ARect inside(origin + r.first, origin + r.second);
            long area = static_cast<long>(r.right() - r.left()) * (r.bottom() - r.top());
            EXPECT_GT(saveShot("reader-article", &inside), area / 2) << "the chosen row is not filled";
        }

        // The splitter lies at the left dock's edge, not at its drag limit
        // inside the dock, where it hid a stripe of the dock and its clicks.
        DockLCRPane* lcr = DockLCRPane::of(frame);
        ASSERT_TRUE(lcr);
        ASizerButton* sizer = lcr->splitter();
        EXPECT_TRUE(sizer->hasFlags(ADisplayComponent::kVisible));
        EXPECT_EQ(ItemFrame(lcr, 1022).right(), sizer->getFrame().left());
        EXPECT_EQ(ItemFrame(lcr, 1023).left(), sizer->getFrame().right());
        EXPECT_EQ(lcr->splitterHome(), sizer->getFrame().left());
        long row = 5;
        ClickListAt(results, row, 100, [this] { pump(); });
        EXPECT_EQ(row, list->selectionStart()) << "a click at x 100 reaches the result list";

        // The splitter away from its limit, once the main window re-lays out,
        // gives the left dock the reader's own width.
        auto* dock = Find<DockLeftPane>(frame);
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(dock && centre);
        centre->moveSplitter(centre->splitterHome() + 60, 1);
        centre->syncLeftDockSize();
        pump();
        EXPECT_EQ(2, dock->getDockMode());
        EXPECT_GT(frame->currentState()->getLeftState()->fUserInfo.slot(8), 0);
    });
}

// Return in the quick search on the result screen goes straight to the first
// article: the search's own screen, temporary, is never put up on the way, so
// no native window is moved, shown or hidden twice by one Return.
TEST_F(SampleReaderTest, AReturnInTheQuickSearchPutsUpNoScreenOnTheWayToTheArticle) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* rech = Find<DockTopLeftRechPane>(frame);
        ASSERT_TRUE(rech && rech->field());
        // The first search, from the home screen, builds the result screen.
        const char* const words[] = {"calque", "histogramme", "retouche ET photo", "calque"};
        for (size_t i = 0; i < 4; ++i) {
            const char* word = words[i];
            SCOPED_TRACE(word);
            rech->field()->setText(word);
            WindowChanges windows;
            // Enter in the field, as the field tells its pane.
            rech->field()->notifyOwner(2);
            pump();
            windows.stop();
            AppState* state = frame->currentState();
            for (const auto& w : windows.changes)
                EXPECT_TRUE(i == 0 || w.second <= 1)
                    << ClassOf(w.first) << " window " << w.first << " changed " << w.second << " times";
            auto* results = Find<LR_DVD>(frame);
            ASSERT_TRUE(results);
            EXPECT_EQ(atol(results->getLineKey(0).c_str()), state->getDocNo());
            EXPECT_EQ(0, state->fTemporaire);
            EXPECT_TRUE(!state->getPrev() || !state->getPrev()->fTemporaire);
            ATextRenderer* text = articlePane()->articleRenderer();
            ASSERT_TRUE(text && text->view());
            EXPECT_TRUE(text->view()->hasFlags(ADisplayComponent::kVisible));
        }
    });
}


// "l\x92histogramme" (typographic apostrophe) is a hit as the index counts it:
// highlighted, and reached from the first hit by the next-hit command.
TEST_F(SampleReaderTest, AHitAfterATypographicApostropheIsHighlightedAndReached) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        auto* field = Find<DockTopLeftRechPane>(frame);
        ASSERT_TRUE(field);
        field->setSearchText("histogramme");
        pump();
        auto* results = Find<LR_DVD>(frame);
        DocKycfPane* article = articlePane();
        ASSERT_TRUE(results && article);
        ATextRenderer* text = article->articleRenderer();
        ASSERT_TRUE(text && text->model());
        auto* highlighter = dynamic_cast<AHighlighter*>(text->model()->getHighlighter());
        ASSERT_TRUE(highlighter);
        highlighter->scanAll(text->model());
        // The sample's first article for the word: "histogramme" and "l\x92histogramme".
        EXPECT_EQ(2, highlighter->hitCount());
        EXPECT_EQ(1, article->hasSearchHits());
        EXPECT_TRUE(article->hasNextHit());
        article->goToNextHit();
        pump();
        EXPECT_FALSE(article->hasNextHit()) << "the last hit reached";
    });
}
