// An article's pictures in the real reader on the sample: laid out from their
// headers, decoded when their lines come into view, each once for the
// article, whatever lays the article out again. Its first screen is
// build/artifacts/article-pictures.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <string>

#include "app/lists/ASVDocBitmapSupplier.h"
#include "docengine/model/ADocModel.h"
#include "app/frame/Frame1.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/graphics/AImage.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

// The pictures an article's markup names: "#images/<name>}".
std::set<std::string> PicturesOf(const std::string& markup) {
    std::set<std::string> names;
    for (size_t at = markup.find("#images/"); at != std::string::npos; at = markup.find("#images/", at + 1)) {
        size_t end = markup.find('}', at);
        if (end != std::string::npos)
            names.insert(markup.substr(at + 1, end - at - 1));
    }
    return names;
}

}  // namespace

TEST_F(SampleReaderTest, AnArticlesPicturesAreDecodedOnceEachAsTheyComeIntoView) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        std::unique_ptr<ASearchBase> texts(app->dataLocation()->openBase("TEXT:DOC", nullptr));
        ASSERT_TRUE(texts);
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        // The first article with pictures below its first screen.
        long docNo = -1;
        size_t pictures = 0;
        ASVDocBitmapSupplier* supplier = nullptr;
        for (long d = 0; d < 400 && docNo < 0; ++d) {
            if (!app->isTextDoc(d) || PicturesOf(texts->getText(0, d, 1).c_str()).size() < 4)
                continue;
            centre->showDocument(d);
            settle();
            DocKycfPane* article = articlePane();
            ASSERT_TRUE(article && article->bitmapSupplier());
            supplier = article->bitmapSupplier();
            if (supplier->decodedCount() > 0 && supplier->decodedCount() < supplier->heldCount()) {
                docNo = d;
                pictures = PicturesOf(texts->getText(0, d, 1).c_str()).size();
            }
        }
        ASSERT_GE(docNo, 0) << "no article of the sample with pictures beyond its first screen";
        SCOPED_TRACE("article " + std::to_string(docNo));
        EXPECT_EQ(static_cast<long>(pictures), supplier->heldCount()) << "the layout asked for every picture";
        DocKycfPane* article = articlePane();
        ATextRenderer* renderer = article->articleRenderer();
        saveShot("article-pictures");
        const long shown = supplier->decodedCount();
        const long loads = _AImage::loadCount();

        // Laid out again at other sizes: the same pictures, no new decoding.
        const struct {
            const char* what;
            int16_t step;
        } relayouts[] = {{"larger text", 1}, {"smaller text", -1}, {"highlighting off", 0}};
        for (const auto& r : relayouts) {
            SCOPED_TRACE(r.what);
            if (r.step)
                article->changeFontSize(r.step);
            else
                article->setViewStyles(1);
            settle();
            EXPECT_EQ(static_cast<long>(pictures), supplier->heldCount());
            EXPECT_EQ(loads, _AImage::loadCount()) << "no picture decoded again";
        }

        // Scrolled down in steps shorter than a screen: each picture decoded once, as it shows.
        const long end = renderer->model()->getPositionCount();
        for (long position = 0; position < end; position += 400) {
            renderer->scrollToPosition(position);
            article->articleView()->queueUpdate(101);
            pump();
            RedrawWindow(frame->getHWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        renderer->scrollToPosition(end - 1);
        settle();
        EXPECT_EQ(supplier->heldCount(), supplier->decodedCount()) << "the last screen shows the last picture";
        EXPECT_EQ(loads + supplier->heldCount() - shown, _AImage::loadCount()) << "each picture decoded once";

        // Shown again (the history's way back), then another article: the pictures go with their article.
        centre->showDocument(docNo);
        settle();
        EXPECT_EQ(static_cast<long>(pictures), supplier->heldCount());
        for (long d = docNo + 1; d < docNo + 50; ++d) {
            if (app->isTextDoc(d) && PicturesOf(texts->getText(0, d, 1).c_str()).empty()) {
                centre->showDocument(d);
                settle();
                EXPECT_EQ(0, supplier->heldCount()) << "article " << d << " has no picture";
                break;
            }
        }
    });
}
