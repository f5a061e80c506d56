// The media window in the real reader on the sample: a picture found by a
// search opens in it with its caption, credit and zoom (pictures under
// Xvfb), and pictures drawn at zoom 100 match another decoder's reading of
// the same files; a sample video plays with its transport and an animation
// shows its second frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/data/AppDataManager.h"
#include "app/find/AFlashServices.h"
#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/display/ADisplayServices.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/media/MediaFlashPane.h"
#include "panes/content/media/MediaImagePane.h"
#include "panes/content/media/MediaPane.h"
#include "panes/content/media/MediaVideoPane.h"
#include "web/movie/AMovie.h"
#include "panes/content/media/MediaWin.h"
#include "panes/docks/print/ASVJpegPreviewDlg.h"
#include "panes/docks/top/ATopDockApp.h"
#include "panes/search/ephemeris/LR_Legende.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchRequest.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/content/article/ArticleTestSupport.h"
#include "tests/support/ScreenPicture.h"

namespace {

// One line of the sample's picture list (tools/sample/corpus.py).
struct Picture {
    std::string name, source;
    long width = 0, height = 0;
};

std::vector<Picture> SamplePictures() {
    std::vector<Picture> out;
    std::ifstream in("Z:" SV_BINARY_DIR "/sample-work/pictures.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string part; std::getline(fields, part, '\t');)
            f.push_back(part);
        if (f.size() < 5)
            continue;
        Picture p;
        p.name = f[0];
        p.source = f[4];
        p.width = std::atol(f[1].c_str());
        p.height = std::atol(f[1].c_str() + f[1].find(':') + 1);
        out.push_back(p);
    }
    return out;
}

// The screen's pixels in a rectangle, as rows of blue, green, red bytes.
std::vector<uint8_t> ScreenPixels(const APoint& at, long w, long h) {
    const RECT area = {at.x, at.y, static_cast<LONG>(at.x + w), static_cast<LONG>(at.y + h)};
    std::vector<uint8_t> out;
    for (uint32_t c : ScreenPixels(area))
        out.insert(out.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)});
    return out;
}

// A binary PPM ("P6 w h 255", rows of red, green, blue) as blue, green, red rows.
bool ReadPpm(const std::string& path, long w, long h, std::vector<uint8_t>* out) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    long pw = 0, ph = 0, max = 0;
    in >> magic >> pw >> ph >> max;
    in.get();
    if (magic != "P6" || pw != w || ph != h || max != 255)
        return false;
    out->resize(static_cast<size_t>(w * h * 3));
    in.read(reinterpret_cast<char*>(out->data()), static_cast<std::streamsize>(out->size()));
    for (size_t i = 0; i + 2 < out->size(); i += 3)
        std::swap((*out)[i], (*out)[i + 2]);
    return in.good();
}

class MediaReaderTest : public SampleReaderTest {
protected:
    MediaReaderTest() { withMovies = true; }
    void settle() {
        for (int i = 0; i < 20; ++i) {
            ADisplayServices::current().flushLayouts();
            app->flushUpdates();
            pump();
            Sleep(10);
        }
    }
    MediaWin* window() {
        return app->mediaWindows().count() ? app->mediaWindows().windows().begin()->second : nullptr;
    }
    // The first figure document: the pictures follow two made-up figures.
    long firstPicture() { return app->getDataManager()->getFilterList(2)->first() + 2; }
};

}  // namespace

TEST_F(MediaReaderTest, ASearchedPictureOpensInTheMediaWindowWithItsCaptionAndZoom) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        std::unique_ptr<ASearchRequest> request(app->dataLocation()->createRequest("TEXT", "RECH"));
        ASSERT_TRUE(request);
        request->setQuestion(1, "sph\xE9riser", 0);
        request->execute(0);
        ARefHold<ALoScore> results(new ALoScore(*request, 1));
        ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
        search->setQuery("sph\xE9riser");
        search->setTextResults(results.get());
        frame->currentState()->setSearchState(search.get());
        long docNo = -1;
        for (long i = 0; i < results->getCount() && docNo < 0; ++i)
            if (app->docIsMedia(results->seek(i)) && results->seek(i) >= firstPicture())
                docNo = results->seek(i);
        ASSERT_GE(docNo, 0) << "the pictures are found by their captions' words";
        // What a click on the result row asks for.
        ASSERT_TRUE(app->openMediaWindow(docNo, 0, 0));
        ASSERT_TRUE(app->openMediaWindow(docNo, 0, 0));
        EXPECT_EQ(1u, app->mediaWindows().count()) << "one window, replaced";
        MediaWin* media = window();
        ASSERT_TRUE(media && media->mediaPane());
        MediaPane* pane = media->mediaPane();
        settle();
        EXPECT_TRUE(pane->imagePane()->view()->bitmapLayer()->hasBitmap());
        EXPECT_NE(std::string::npos, pane->captionText().find("Sph")) << pane->captionText();
        auto* caption = dynamic_cast<ARendererView*>(pane->findItem(MediaPane::kCaption, false));
        ADocModel* model = caption && caption->renderer() ? caption->renderer()->model() : nullptr;
        ASSERT_TRUE(model && model->getHighlighter());
        EXPECT_TRUE(dynamic_cast<AHighlighter*>(model->getHighlighter())) << "the search's words go to the caption";
        EXPECT_NE(std::string::npos, pane->creditText().find("GIMP")) << pane->creditText();
        std::string label = pane->zoomText().c_str();
        EXPECT_FALSE(label.empty());
        EXPECT_FALSE(Canvas::saveWindow(media->getHWnd(), "media-window-sample", [&] { settle(); }).empty());
        // The caption beside the picture is read on its light yellow: its letters are dark.
        AComponent* found = media->findDescendant(&LR_LegendeMedia::classRecord, nullptr);
        auto* legend = found ? static_cast<LR_LegendeMedia*>(found->castTo(&LR_LegendeMedia::classRecord)) : nullptr;
        ASSERT_TRUE(legend && legend->getListView());
        ARendererView* text = legend->getListView();
        std::vector<uint8_t> shown = ScreenPixels(text->localToScreen(APoint(0, 0)), text->getSize().x, text->getSize().y);
        long dark = 0;
        for (size_t i = 0; i + 2 < shown.size(); i += 3)
            dark += shown[i] < 96 && shown[i + 1] < 96 && shown[i + 2] < 96;
        EXPECT_GT(dark, 50) << "the caption's text shows on its background";
        // A small picture fits above the configured steps: zooming goes down.
        pane->doCommand(MediaPane::kZoomOut, 0);
        pane->doCommand(MediaPane::kZoomOut, 0);
        settle();
        EXPECT_NE(label, pane->zoomText().c_str());
        EXPECT_EQ(0, pane->imagePane()->view()->bitmapLayer()->fitMode());
        EXPECT_FALSE(Canvas::saveWindow(media->getHWnd(), "media-window-sample-zoom", [&] { settle(); }).empty());
        // The print command opens the picture's own preview, on this document.
        pane->doCommand(MediaPane::kPrint, 0);
        auto* preview = dynamic_cast<ASVJpegPreviewDlg*>(pane->previewDialog());
        ASSERT_TRUE(preview);
        EXPECT_EQ(pane, preview->owner());
        settle();
        EXPECT_TRUE(preview->imageView()->bitmapLayer()->hasBitmap());
        EXPECT_FALSE(Canvas::saveWindow(preview->getHWnd(), "media-print-preview", [&] { settle(); }).empty());
        app->perform(preview->doCommand(1015, 0));
        settle();
        EXPECT_EQ(nullptr, pane->previewDialog()) << "the closed preview leaves the pane";
    });
}

// The button under a picture of an article, clicked where it is drawn: the
// picture's document in the media window.
TEST_F(MediaReaderTest, APicturesEnlargeButtonInAnArticleOpensTheMediaWindow) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        std::unique_ptr<ASearchRequest> request(app->dataLocation()->createRequest("TEXT", "RECH"));
        ASSERT_TRUE(request);
        request->setQuestion(1, "calque", 0);
        request->execute(0);
        ARefHold<ALoScore> results(new ALoScore(*request, 1));
        DockLCRPane* centre = DockLCRPane::of(frame);
        ASSERT_TRUE(centre);
        const std::string label = "Agrandir l'image";
        long docNo = -1, at = -1;
        for (long i = 0; i < results->getCount() && i < 40 && docNo < 0; ++i) {
            long d = results->seek(i);
            if (!app->isTextDoc(d))
                continue;
            centre->showDocument(d);
            pump();
            ADocModel* model = articlePane()->articleRenderer()->model();
            if (std::string(model->exportText(0, model->getLength()).c_str()).find(label) == std::string::npos)
                continue;
            docNo = d;
            // The exported text and the model count positions differently: the label's model position.
            for (long p = 0; p < model->getLength() && at < 0; ++p)
                if (std::string(model->exportText(p, p + static_cast<long>(label.size())).c_str()) == label)
                    at = p;
        }
        ASSERT_GE(docNo, 0) << "an article of the sample shows a picture with its buttons";
        ASSERT_GE(at, 0);
        ATextRenderer* renderer = articlePane()->articleRenderer();
        renderer->scrollToPosition(at);
        settle();
        ARect box = renderer->rangeBounds(at, at + 3);
        ASSERT_GT(box.width(), 0);
        APoint point = renderer->view()->localToScreen(APoint(box.left() + 3, (box.top() + box.bottom()) / 2));
        clickAt(point);
        settle();
        EXPECT_EQ(docNo, frame->currentState()->getDocNo()) << "the article stays";
        MediaWin* media = window();
        ASSERT_TRUE(media && media->mediaPane()) << "the media window opens";
        MediaPane* pane = media->mediaPane();
        ASSERT_TRUE(pane->currentState());
        long shown = pane->currentState()->getDocNo();
        EXPECT_TRUE(app->docIsMedia(shown));
        EXPECT_GE(shown, firstPicture());
        EXPECT_EQ(MediaPane::kPicture, pane->mediaKind());
        EXPECT_TRUE(pane->imagePane()->view()->bitmapLayer()->hasBitmap());
        EXPECT_FALSE(Canvas::saveWindow(media->getHWnd(), "media-window-from-article", [&] { settle(); }).empty());
    });
}

// The atlas bar's media buttons, the rooms' and ephemeris's lists, the article
// links and the Flash rooms each hand a media document to their own table of
// the reader's services: every table opens it in the media window, not in the centre.
TEST_F(MediaReaderTest, EveryPanesServicesOpenAMediaDocumentInTheMediaWindow) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        const long docNo = firstPicture();
        const std::pair<const char*, std::function<void()>> tables[] = {
            {"top docks", [&] { ATopDockApp::current().openMediaWindow(docNo, 0, 0); }},
            {"search panes", [&] { ASearchPanesApp::current().openMediaWindow(docNo, 0, 0); }},
            {"content views", [&] { AContentApp::current().openMediaWindow(docNo, 0, 0); }},
            {"Flash rooms", [&] { FlashServices().openMediaWindow(docNo, 0, 0); }},
        };
        for (const auto& table : tables) {
            SCOPED_TRACE(table.first);
            const long centre = frame->currentState() ? frame->currentState()->getDocNo() : -1;
            while (MediaWin* open = window())
                app->perform(open->closeWindow());
            table.second();
            settle();
            MediaWin* media = window();
            ASSERT_TRUE(media && media->mediaPane() && media->mediaPane()->currentState());
            EXPECT_EQ(docNo, media->mediaPane()->currentState()->getDocNo());
            EXPECT_EQ(centre, frame->currentState() ? frame->currentState()->getDocNo() : -1) << "the centre stays";
        }
    });
}

TEST_F(MediaReaderTest, PicturesAtZoom100MatchAnotherDecoder) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    std::vector<Picture> pictures = SamplePictures();
    if (pictures.empty())
        GTEST_SKIP() << "no picture list";
    guarded([&] {
        ASSERT_TRUE(app->openMediaWindow(firstPicture(), 0, 0));
        settle();
        MediaPane* pane = window()->mediaPane();
        APoint view = pane->imagePane()->view()->getSize();
        // 25 JPEG and 25 PNG pictures that fit in the view, each decoded by
        // ImageMagick (transparent parts over white, as the sample's bitmaps are).
        std::vector<size_t> chosen;
        int jpeg = 0, png = 0;
        for (size_t i = 0; i < pictures.size(); ++i) {
            const Picture& p = pictures[i];
            bool isJpeg = p.name.size() > 4 && p.name.substr(p.name.size() - 4) == ".jpg";
            if (p.width > view.x || p.height > view.y || (isJpeg ? jpeg : png) >= 25)
                continue;
            (isJpeg ? jpeg : png) += 1;
            chosen.push_back(i);
        }
        ASSERT_EQ(50u, chosen.size());
        std::string script, prefix = "/tmp/sv-media-" + std::to_string(GetCurrentProcessId()) + "-";
        for (size_t i : chosen) {
            const Picture& p = pictures[i];
            std::string src = p.name.substr(p.name.size() - 4) == ".jpg" ? SV_BINARY_DIR "/sample/images/" + p.name : p.source;
            script += "convert '" + src + "' -background white -alpha remove -alpha off -strip -depth 8 ppm:" + prefix +
                      std::to_string(i) + ".ppm\n";
        }
        script += "echo ok\n";
        ASSERT_EQ("ok\n", RunOnHost(script));
        int matched = 0;
        for (size_t i : chosen) {
            const Picture& p = pictures[i];
            SCOPED_TRACE(p.name);
            window()->showDocument(firstPicture() + static_cast<long>(i), 0, 0, 0);
            pane->scales().fill("100", 100);
            pane->applyZoom();
            settle();
            ABitmapLayer* layer = pane->imagePane()->view()->bitmapLayer();
            ASSERT_TRUE(layer->hasBitmap());
            APoint frameSize = layer->getSize();
            APoint offset(std::max<long>(0, (frameSize.x - p.width) / 2), std::max<long>(0, (frameSize.y - p.height) / 2));
            std::vector<uint8_t> shown = ScreenPixels(layer->localToScreen(offset), p.width, p.height), expected;
            ASSERT_TRUE(ReadPpm("Z:" + prefix + std::to_string(i) + ".ppm", p.width, p.height, &expected));
            double sum = 0;
            for (size_t k = 0; k < shown.size(); ++k)
                sum += std::abs(int(shown[k]) - int(expected[k]));
            double mean = sum / double(shown.size());
            EXPECT_LT(mean, 2.0) << "mean difference per channel";
            matched += mean < 2.0;
            DeleteFileA(("Z:" + prefix + std::to_string(i) + ".ppm").c_str());
        }
        EXPECT_EQ(50, matched);
    });
}

namespace {

// The sample's video and Flash documents (tools/sample/media.py) follow its
// pictures: two videos, then two Flash animations.
long FirstMovingMedia(long firstPicture) {
    return firstPicture + static_cast<long>(SamplePictures().size());
}

}  // namespace

TEST_F(MediaReaderTest, ASampleVideoPlaysInTheMediaWindowWithItsTransport) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        long docNo = FirstMovingMedia(firstPicture());
        if (app->getDataManager()->getDocRefInfo(docNo).getMediaKind() != MediaPane::kVideo)
            GTEST_SKIP() << "a sample without its videos";
        ASSERT_TRUE(app->openMediaWindow(docNo, 0, 0));
        settle();
        MediaPane* pane = window()->mediaPane();
        auto* video = static_cast<MediaVideoPane*>(
            window()->findDescendant(&MediaVideoPane::classRecord, nullptr)->castTo(&MediaVideoPane::classRecord));
        ASSERT_TRUE(video && video->movie()) << "the sample's video opens";
        EXPECT_NE(std::string::npos, std::string(pane->videoPath().c_str()).find("VIDEOS"));
        EXPECT_NE(std::string::npos, std::string(pane->directorPath().c_str()).find("DCR")) << "its companion";
        EXPECT_EQ(5, pane->commandStatus(MediaPane::kPlay, 0)) << "the window starts the video";
        EXPECT_EQ(4000, video->movie()->getEndPosition());
        Sleep(600);
        settle();
        EXPECT_FALSE(Canvas::saveWindow(window()->getHWnd(), "media-window-video", [&] { settle(); }).empty());
        pane->doCommand(MediaPane::kStop, 0);
        settle();
        EXPECT_EQ(0, video->movie()->getCurrentPosition());
        EXPECT_EQ(1, pane->commandStatus(MediaPane::kPlay, 0));
        // The second video has no companion: the external player is off.
        ASSERT_TRUE(app->openMediaWindow(docNo + 1, 0, 0));
        settle();
        EXPECT_TRUE(window()->mediaPane()->directorPath().empty());
    });
}

TEST_F(MediaReaderTest, ASampleFlashAnimationShowsItsSecondFrame) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] {
        long docNo = FirstMovingMedia(firstPicture()) + 2;
        if (app->getDataManager()->getDocRefInfo(docNo).getMediaKind() != MediaPane::kFlash)
            GTEST_SKIP() << "a sample without its animations";
        ASSERT_TRUE(app->openMediaWindow(docNo, 0, 0));
        for (int i = 0; i < 10; ++i)
            settle();
        auto* flash = static_cast<MediaFlashPane*>(
            window()->findDescendant(&MediaFlashPane::classRecord, nullptr)->castTo(&MediaFlashPane::classRecord));
        ASSERT_TRUE(flash);
        EXPECT_FALSE(flash->pageFile().empty());
        EXPECT_FALSE(flash->movieFile().empty());
        flash->gotoFrame(1);
        for (int i = 0; i < 10; ++i)
            settle();
        EXPECT_FALSE(Canvas::saveWindow(window()->getHWnd(), "media-window-flash", [&] { settle(); }).empty());
    });
}

TEST_F(MediaReaderTest, TheDirectorPageIsWrittenFromTheSampleTemplates) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    if (app->findTemplateFile("HTMLDCRMEDIAWIN").empty())
        GTEST_SKIP() << "a sample without the Director templates";
    guarded([&] {
        AString page = app->fillVideoTemplate("HTMLDCRMEDIAWIN", "DCRLAUNCHERWIN", AString("C:\\v\\film.mov"),
                                              AString("C:\\d\\film.dcr"), AString("Film <1>"));
        ASSERT_FALSE(page.empty());
        std::ifstream in(page.c_str(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string html = text.str();
        for (const char* marker : {"_TO_REPLACE>", "<title></title>"})
            EXPECT_EQ(std::string::npos, html.find(marker)) << marker;
        EXPECT_NE(std::string::npos, html.find("<title>Film &lt;1&gt;</title>"));
        EXPECT_NE(std::string::npos, html.find("src=\"File:///C:/d/film.dcr\"")) << html;
        EXPECT_NE(std::string::npos, html.find("video=\"File:///C:/v/film.mov\"")) << html;
        size_t launcher = html.find("launcher=\"File:///");
        ASSERT_NE(std::string::npos, launcher) << html;
        EXPECT_NE(std::string::npos, html.find(".html\"", launcher)) << "the launcher page's address";
    });
}
