// The road of a search in the real reader on the sample: the quick search
// "calque" opens the first document of the disc list in the article view,
// and a click on a result row opens that row's document with its hits and
// shows the row chosen. The picture is build/artifacts/reader-article.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/docks/top/DockTopLeftRechPane.h"
#include "panes/search/left/LR_DVD.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

template <class T>
T* Find(Frame1* frame) {
    AComponent* found = frame->findDescendant(&T::classRecord, nullptr);
    return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
}

}  // namespace

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
            if (row.row > 0) {
                list->layOut();
                ARect r = list->rowRect(row.row);
                APoint at = results->getListView()->localToScreen(APoint(r.left() + 12, (r.top() + r.bottom()) / 2));
                POINT p = {at.x, at.y};
                HWND target = WindowFromPoint(p);
                ASSERT_TRUE(target);
                ScreenToClient(target, &p);
                SetCursorPos(at.x, at.y);
                PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
                pump();
                PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
                pump();
            }
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
    });
}
