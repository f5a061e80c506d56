// The media window loaded from the reader's layouts under a test main
// window: zoom and its label, the command states, the dictionary of
// windows with the lock, damaged pictures and the temporary files; a
// picture of the window under Xvfb; the picture printed with its caption.
#include "tests/panes/content/media/MediaTestSupport.h"

#include "docengine/render/AHotspotRenderer.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/display/APrintRange.h"
#include "framework/files/AOptionsInfo.h"
#include "framework/printing/APrinter.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/AMediaRendererPrinter.h"
#include "panes/docks/print/APrintKeys.h"
#include "tests/panes/docks/print/PdfTestSupport.h"

TEST_F(MediaWindowTest, APictureAsLargeAsItsViewFitsAt100AndZoomStepsThroughTheScales) {
    // The view measured once the dock took its width for a document.
    MediaWin* window = open(1);
    ASSERT_NE(nullptr, pane(window));
    MediaImagePane* image = pane(window)->imagePane();
    ASSERT_NE(nullptr, image);
    APoint view = image->view()->getSize();
    ASSERT_GT(view.x, 0);
    struct Row {
        long w, h;
        const char* label;
    } const rows[] = {{view.x, view.y, "ZOOM"}, {view.x * 2, view.y * 2, "50%"}, {view.x * 4, view.y * 2, "25%"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        testApp.dims[1] = {r.w, r.h};
        window->showDocument(1, 0, 0, 0);
        settle();
        EXPECT_STREQ(r.label, pane(window)->zoomText().c_str());
        ABitmapLayer* layer = image->view()->bitmapLayer();
        ASSERT_NE(nullptr, layer);
        EXPECT_TRUE(layer->hasBitmap());
        EXPECT_EQ(1, layer->fitMode()) << "fitted until a zoom button is pressed";
    }
    // A fit of about 75 goes between 50 and 100; zooming in runs to the end,
    // zooming out stops at index 1 (50).
    testApp.dims[1] = {view.x * 4 / 3, view.y * 4 / 3};
    const std::string fit = MediaPane::zoomLabelFor(ComputeZoomPercent(view.x, view.y, view.x * 4 / 3, view.y * 4 / 3)).c_str();
    window->showDocument(1, 0, 0, 0);
    settle();
    MediaPane* media = pane(window);
    std::string seen;
    while (media->commandStatus(MediaPane::kZoomIn, 0) == 1) {
        media->doCommand(MediaPane::kZoomIn, 0);
        seen += std::string(media->zoomText().c_str()) + " ";
    }
    EXPECT_EQ("ZOOM 200% 400% ", seen);
    EXPECT_EQ(0, image->view()->bitmapLayer()->fitMode());
    EXPECT_EQ(400, image->view()->bitmapLayer()->scale());
    seen.clear();
    while (media->commandStatus(MediaPane::kZoomOut, 0) == 1) {
        media->doCommand(MediaPane::kZoomOut, 0);
        seen += std::string(media->zoomText().c_str()) + " ";
    }
    EXPECT_EQ("200% ZOOM " + fit + " 50% ", seen) << "stops at index 1";
    EXPECT_EQ(1, media->scales().getCurrent());
    media->doCommand(MediaPane::kZoomOut, 0);
    EXPECT_STREQ("50%", media->zoomText().c_str());
    // A configuration without usable steps leaves the fit as the only one (never a step of 0).
    for (const char* list : {"", "0,-5,x"}) {
        SCOPED_TRACE(list);
        testApp.scales = list;
        window->showDocument(1, 0, 0, 0);
        settle();
        EXPECT_EQ(1, media->scales().count());
        EXPECT_EQ(2, media->commandStatus(MediaPane::kZoomIn, 0));
        EXPECT_EQ(2, media->commandStatus(MediaPane::kZoomOut, 0));
        EXPECT_EQ(fit, media->zoomText().c_str());
    }
}

TEST_F(MediaWindowTest, CommandStatesFollowTheIconTypeAndTheFrames) {
    FakeVideo video;
    struct Row {
        const char* label;
        int16_t icon;
        const char* info;  // type and record[:frames]
        int16_t frame;
        bool playing;
        long time;
        // 6017 rewind, 6018 stop, 6019 play, 6020 forward, 6023 previous, 6024 next, 6027 print, 6013 zoom,
        // 6021 external player
        const char* states;
        // rewind, forward, previous, next, transport group, frame group, external player
        const char* shown;
    } const rows[] = {
        {"picture, 3 frames at 2", 5, "000000000000000\t1\t3:3", 2, false, 0, "2 2 2 2 1 2 1 1 2", "0 0 1 0 0 1 0"},
        {"picture, 3 frames at 0", 5, "000000000000000\t1\t3:3", 0, false, 0, "2 2 2 2 2 1 1 1 2", "0 0 0 1 0 1 0"},
        {"picture, one frame", 2, "000000000000000\t1\t3", 0, false, 0, "2 2 2 2 2 2 1 1 2", "0 0 0 0 0 0 0"},
        {"Flash at once", 11, "000000000000000\t2\t3", 0, false, 0, "1 1 1 2 2 2 2 1 2", "0 0 0 0 1 0 0"},
        // A video with a Director companion (icon 8) offers the external player; one without (9) does not.
        {"video stopped at 0", 8, "000000000000000\t4\t3", 0, false, 0, "2 2 1 1 2 2 2 2 1", "1 1 0 0 1 0 1"},
        {"video playing", 9, "000000000000000\t4\t3", 0, true, 40, "1 1 5 1 2 2 2 2 2", "1 1 0 0 1 0 0"},
        {"video at its end", 10, "000000000000000\t4\t3", 0, false, 100, "1 1 1 2 2 2 2 2 2", "1 1 0 0 1 0 0"},
    };
    MediaWin* window = open(-1);
    MediaPane* media = pane(window);
    ASSERT_NE(nullptr, media);
    media->setVideoControl(&video);
    auto visible = [&](int16_t id) {
        auto* c = dynamic_cast<ADisplayComponent*>(media->findItem(id, false));
        return c && c->hasFlags(ADisplayComponent::kVisible) ? "1" : "0";
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        testApp.icons[3] = r.icon;
        testApp.infos[3] = r.info;
        video.playing = r.playing;
        video.time = r.time;
        window->showDocument(3, r.frame, 0, 0);
        settle();
        std::string states;
        for (int16_t id : {6017, 6018, 6019, 6020, 6023, 6024, 6027, 6013, 6021})
            states += (states.empty() ? "" : " ") + std::to_string(media->commandStatus(id, 0));
        EXPECT_EQ(r.states, states);
        std::string shown;
        for (int16_t id : {6017, 6020, 6023, 6024, 6016, 6022, 6021}) {
            media->commandStatus(id, 0);
            shown += std::string(shown.empty() ? "" : " ") + visible(id);
        }
        EXPECT_EQ(r.shown, shown);
    }
    // The transport of a video goes to the video; a Flash document's would go to its pane.
    media->doCommand(MediaPane::kPlay, 0);
    media->doCommand(MediaPane::kForward, 0);
    media->doCommand(MediaPane::kRewind, 0);
    EXPECT_EQ("play;forward;rewind;", video.log);
    media->setVideoControl(nullptr);
}

TEST_F(MediaWindowTest, OneWindowIsReplacedUnlessLockedAndVideoWindowsCloseBeforeADiscChange) {
    testApp.infos[5] = "000000000000000\t4\t5";  // a video
    MediaWin* first = open(1);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(1u, testApp.windows.count());
    MediaWin* second = open(2);
    EXPECT_EQ(1u, testApp.windows.count()) << "the unlocked window was replaced";
    EXPECT_EQ(1, testApp.forgotWhole) << "out of the dictionary before it went";
    EXPECT_EQ(second, testApp.windows.windows().begin()->second);
    pane(second)->doCommand(MediaPane::kLock, 0);
    EXPECT_EQ(1, second->isLocked());
    EXPECT_EQ(5, pane(second)->commandStatus(MediaPane::kLock, 0));
    MediaWin* third = open(3);
    EXPECT_EQ(2u, testApp.windows.count()) << "the locked window stays";
    MediaWin* video = open(5, 0, 1);
    EXPECT_EQ(3u, testApp.windows.count()) << "forced new";
    EXPECT_EQ(5, video->mediaKind());
    EXPECT_EQ(4, third->mediaKind());
    testApp.windows.closeVideos();
    EXPECT_EQ(2u, testApp.windows.count()) << "only the video window closed";
    for (const auto& entry : testApp.windows.windows())
        EXPECT_NE(5, entry.second->mediaKind());
    EXPECT_NE("", assertionText([&] { testApp.windows.forget(video); })) << "a window not in the dictionary";
}

TEST_F(MediaWindowTest, ADamagedPictureLeavesTheViewEmptyAndTheWindowGoesOn) {
    testApp.pictures[4] = "BM this is not a picture";
    testApp.pictures.erase(6);
    MediaWin* window = open(4);
    ASSERT_NE(nullptr, pane(window));
    MediaImagePane* image = pane(window)->imagePane();
    EXPECT_FALSE(image->view()->bitmapLayer()->hasBitmap());
    EXPECT_NE(std::string::npos, errors.text.find("#Image illisible: document 4")) << errors.text;
    window->showDocument(6, 0, 0, 0);
    settle();
    EXPECT_FALSE(image->view()->bitmapLayer()->hasBitmap()) << "no record: the placeholder too";
    window->showDocument(1, 0, 0, 0);
    settle();
    EXPECT_TRUE(image->view()->bitmapLayer()->hasBitmap()) << "the next good picture shows";
    EXPECT_STREQ("Image 1", pane(window)->title().c_str());
}

TEST_F(MediaWindowTest, EachPictureShownRegistersTheOneBeforeAndTheLastGoesWithThePane) {
    MediaWin* window = open(1);
    ASSERT_NE(nullptr, pane(window));
    EXPECT_TRUE(testApp.registered.empty());
    window->showDocument(2, 0, 0, 0);
    settle();
    ASSERT_EQ(1u, testApp.registered.size());
    EXPECT_EQ(testApp.made[0], testApp.registered[0]);
    window->showDocument(-1, 0, 0, 0);
    settle();
    EXPECT_EQ(1u, testApp.registered.size()) << "no document keeps the picture";
    EXPECT_EQ("", pane(window)->captionText()) << "no document: the caption is emptied";
    window->perform(window->closeWindow());
    settle();
    ASSERT_EQ(2u, testApp.registered.size());
    EXPECT_EQ(testApp.made[1], testApp.registered[1]);
}

TEST_F(MediaWindowTest, PictureOfTheWindow) {
    testApp.pictures[7] = BitmapFile(400, 300);
    testApp.dims[7] = {400, 300};
    MediaWin* window = open(7);
    ASSERT_NE(nullptr, pane(window));
    EXPECT_EQ("/!6!/ Image 7", pane(window)->captionText());
    EXPECT_EQ("Droits 7", pane(window)->creditText());
    std::string saved = Canvas::saveWindow(window->getHWnd(), "media-window-test", [&] { settle(); });
    EXPECT_FALSE(saved.empty());
}

TEST_F(MediaWindowTest, TheRightDockWidensForADocumentWithLinksAndMovesTheMediaArea) {
    MediaWin* window = open(-1);
    ASSERT_NE(nullptr, pane(window));
    auto* dock = dynamic_cast<MediaDockRightPane*>(pane(window)->findById(6005, 0));
    ASSERT_NE(nullptr, dock);
    auto* area = dynamic_cast<ADisplayComponent*>(pane(window)->findItem(MediaDockRightPane::kMediaArea, false));
    ASSERT_NE(nullptr, area);
    struct Row {
        const char* label;
        const char* flags;
        int16_t icon;
        int16_t mode;
        int32_t areaRight;  // the media area's right edge, from the pane's right
    } const rows[] = {
        {"links", "111100000000000\t1\t2", 2, 1, -210},
        // Without links the final step still opens it wide: only videos, animations and the preference keep it narrow.
        {"no links", "000000000000000\t1\t2", 2, 1, -210},
        {"a video's links", "111100000000000\t1\t2", 9, 0, -32},
        {"links again", "010000000000000\t1\t2", 5, 1, -210},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        dockApp.infos[2] = r.flags;
        testApp.icons[2] = r.icon;
        window->showDocument(2, 0, 0, 0);
        settle();
        EXPECT_EQ(r.mode, dock->widthMode());
        EXPECT_EQ(r.areaRight, area->getSizeSpec().edges[2].value);
        EXPECT_EQ(2, dock->currentState()->getDocNo()) << "the media window's state";
    }
    dock->doCommand(AppDockRightPane::kHideId, 0);
    EXPECT_EQ(0, dock->widthMode());
    EXPECT_EQ(-32, area->getSizeSpec().edges[2].value);
    dock->doCommand(AppDockRightPane::kShowId, 0);
    EXPECT_EQ(1, dock->widthMode());
    EXPECT_EQ(-210, area->getSizeSpec().edges[2].value);
}

namespace {

// The application's print answers for the media window: key 10 set, the
// picture of every document from one file, a legend and a copyright.
class CaptionApp : public AMediaPreviewApp {
public:
    explicit CaptionApp(const std::string& picture)
        : sheet_(new AStyleSheet), supplier_(new FileSupplier(picture)) {
        sheet_->addRef();
        supplier_->addRef();
        options.setLong(PrintKey::kMediaCaption, 1);
    }
    ~CaptionApp() override {
        supplier_->release();
        sheet_->release();
    }
    ALongDicInfo* printOptions() override { return &options; }
    ARenderer* createHotspotRenderer(ARendererView*) override { return nullptr; }
    ARenderer* createTextRenderer(ARendererView*, long) override { return nullptr; }
    AStyleSheet* styleSheet(long) override { return sheet_; }
    ABitmapSupplier* newDocBitmapSupplier(long) override {
        supplier_->addRef();
        return supplier_;
    }
    AString docTitle(long) override { return AString("Le volcan"); }
    AString docLegend(long) override { return AString("Coul\xE9" "e de lave au petit matin"); }
    AString docCopyright(long) override { return AString("\xA9 Observatoire du volcan"); }
    AString extractDocImage(long) override { return AString(); }
    AString fillMediaTemplate(const char*, const AMediaTemplateValues&) override { return AString(); }
    ALongDicInfo options;

private:
    class FileSupplier : public ABitmapSupplier {
    public:
        explicit FileSupplier(const std::string& path) : bitmap_(new ABitmapRef(ABitmapSpec::fromFile(path.c_str(), 0, 1))) {
            bitmap_->addRef();
        }
        ~FileSupplier() override { bitmap_->release(); }
        ABitmapRef* bitmapNamed(const AString&) override { return bitmap_; }

    private:
        ABitmapRef* bitmap_;
    };
    AStyleSheet* sheet_;
    FileSupplier* supplier_;
};

// The picture of the media window printed with key 10: the media printer the
// image pane gave its view prints the caption page of the pane's document.
TEST_F(MediaWindowTest, WithKeyTenThePicturePrintsWithItsLegendAndCopyright) {
    if (!DefaultPdfPrinter()) {
        ASSERT_EQ(0u, GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0)) << "no printer \"PDF\"";
        GTEST_SKIP() << "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS";
    }
    // A picture file of its own: the pane removes the ones it shows.
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string picture = std::string(folder) + "svcaption.bmp";
    std::ofstream(picture, std::ios::binary) << BitmapFile(80, 60);
    CaptionApp caption(picture);
    AMediaPreviewApp::install(&caption);
    MediaWin* window = open(1);
    MediaImagePane* image = pane(window) ? pane(window)->imagePane() : nullptr;
    ASSERT_NE(nullptr, image);
    ARendererLayer* layer = image->view()->rendererLayer();
    // The test application makes no renderer for the view: the reader's kind, then the picture again.
    auto* hotspots = new AHotspotRenderer(layer);
    hotspots->addRef();
    layer->setRenderer(hotspots);
    hotspots->release();
    image->showPicture(1);
    ASSERT_NE(nullptr, dynamic_cast<AMediaRendererPrinter*>(layer->rendererPrinter())) << "the pane's view prints as a media";
    EXPECT_EQ(1, image->mediaDocNo());
    std::string marker = PdfMarker();
    auto* job = new APrinter;
    AObject::completeNew(job);
    app->perform(job->printPages(layer, APrintRange{0, 9, 1, 1, 0}));
    AComponent* printer = job;
    DeleteComponent(printer);
    AMediaPreviewApp::install(nullptr);
    std::string pdf = WaitForPdf(marker, "Observatoire");
    DeleteFileA(picture.c_str());
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived";
    std::string text = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
    size_t legend = text.find("Coul\xC3\xA9" "e de lave au petit matin"), copyright = text.find("\xC2\xA9 Observatoire");
    ASSERT_NE(std::string::npos, legend) << text;
    EXPECT_LT(legend, copyright) << text;
    EXPECT_NE(std::string::npos, copyright) << text;
    EXPECT_NE("0", RunOnHost("pdfimages -list '" + pdf + "' | tail -n +3 | wc -l | tr -d ' \n'")) << "the picture is drawn";
    KeepFirstPage(pdf, "printed-media-window-caption");
}

}  // namespace
