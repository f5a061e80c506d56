// The media print previews: the image preview opened from its layout shows
// the picture alone or with its caption by key 10, keeps one temporary image
// at a time and removes it when it goes, and tells its pane when it closes;
// the Flash preview's handler stops the movie at its frame once per load.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "docengine/render/AHotspotRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/files/AOptionsInfo.h"
#include "framework/display/APrintRange.h"
#include "framework/printing/APrinter.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/ASVFlashPreviewDlg.h"
#include "panes/docks/print/ASVJpegPreviewDlg.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/panes/docks/print/PdfTestSupport.h"
#include "web/browser/AMozillaView.h"

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A 24-bit picture of w by h in the temporary folder.
std::string WritePicture(int serial, int w = 8, int h = 6) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "svprev" + std::to_string(serial) + ".img";
    const int row = (w * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + row * h;
    std::string bits(static_cast<size_t>(row * h), '\x80');
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(out, &file, sizeof file, &n, nullptr);
    WriteFile(out, &info, sizeof info, &n, nullptr);
    WriteFile(out, bits.data(), static_cast<DWORD>(bits.size()), &n, nullptr);
    CloseHandle(out);
    return path;
}

class PreviewApp : public AMediaPreviewApp {
public:
    PreviewApp() {
        sheet = new AStyleSheet();
        sheet->addRef();
    }
    ~PreviewApp() override { sheet->release(); }
    ALongDicInfo* printOptions() override { return &options; }
    ARenderer* createHotspotRenderer(ARendererView* view) override {
        auto* r = new AHotspotRenderer(view->rendererLayer());
        r->addRef();
        view->rendererLayer()->setRenderer(r);
        r->release();
        return r;
    }
    ARenderer* createTextRenderer(ARendererView* view, long n) override {
        sheetAsked = n;
        auto* r = new ATextRenderer(view->rendererLayer());
        r->addRef();
        r->setStyleSheet(sheet);
        view->rendererLayer()->setRenderer(r);
        r->release();
        return r;
    }
    AStyleSheet* styleSheet(long) override { return sheet; }
    ABitmapSupplier* newDocBitmapSupplier(long) override {
        if (supplier)
            supplier->addRef();
        return supplier;
    }
    AString docTitle(long docNo) override { return AString(("Titre " + std::to_string(docNo)).c_str()); }
    AString docLegend(long) override { return AString("Le volcan <actif> en \xE9ruption"); }
    AString docCopyright(long) override { return AString("Droits r\xE9serv\xE9s"); }
    AString extractDocImage(long) override {
        images.push_back(WritePicture(static_cast<int>(images.size())));
        return AString(images.back().c_str());
    }
    AString fillMediaTemplate(const char* name, const AMediaTemplateValues& v) override {
        filled.push_back(std::string(name) + "|" + v.movie.c_str() + "|" + v.pageTitle.c_str() + "|" +
                         v.align.c_str() + "|" + std::to_string(v.frame) + "|" + v.background.c_str() + "|" +
                         v.title.c_str() + "|" + v.legend.c_str() + "|" + v.copyright.c_str());
        return AString("C:\\page.html");
    }
    ALongDicInfo options;
    AStyleSheet* sheet;
    ABitmapSupplier* supplier = nullptr;  // not owned
    long sheetAsked = -1;
    std::vector<std::string> images;
    std::vector<std::string> filled;
};

class Owner : public AMediaPreviewOwner {
public:
    long previewDocNo() override { return docNo; }
    AString previewTitle() override { return AString("Le volcan"); }
    void showPreviewOptions() override { ++optionsShown; }
    void previewClosed(ASVMediaPreviewDlg* preview) override { closed = preview; }
    long docNo = 12;
    int optionsShown = 0;
    ASVMediaPreviewDlg* closed = nullptr;
};

bool FrameShown(ADisplayComponent* view) {
    auto* frame = dynamic_cast<ADisplayComponent*>(view->getParent());
    while (frame && !dynamic_cast<AStaticItem*>(frame))
        frame = dynamic_cast<ADisplayComponent*>(frame->getParent());
    return frame && frame->hasFlags(ADisplayComponent::kShown);
}

class MediaPreviewTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        AMediaPreviewApp::install(&services);
    }
    void TearDown() override {
        AMediaPreviewApp::install(nullptr);
        for (const std::string& f : services.images)
            DeleteFileA(f.c_str());
        RenderTest::TearDown();
    }
    ASVJpegPreviewDlg* openJpeg() {
        auto* preview = dynamic_cast<ASVJpegPreviewDlg*>(AComponent::loadLayout(app, "ImpJpeg", 0));
        if (preview)
            preview->setOwner(&owner);
        return preview;
    }
    PreviewApp services;
    Owner owner;
};

TEST_F(MediaPreviewTest, TheImagePreviewShowsThePictureOrItsCaptionByKeyTen) {
    make("texte\n");
    ASVJpegPreviewDlg* preview = openJpeg();
    ASSERT_NE(nullptr, preview);
    EXPECT_EQ(2, preview->commandStatus(1002, 0));
    EXPECT_EQ(1, preview->commandStatus(1020, 0));
    // Full page: the picture in the hot-spot view, panned by drags, regions not outlined.
    services.options.setLong(PrintKey::kMediaCaption, 0);
    preview->prepare();
    EXPECT_TRUE(FrameShown(preview->imageView()));
    EXPECT_FALSE(FrameShown(preview->captionView()));
    ARenderer* image = preview->imageView()->renderer();
    ASSERT_TRUE(image && image->model());
    EXPECT_TRUE(image->interaction & 0x0004);
    EXPECT_FALSE(image->options & 0x0008);
    ASSERT_TRUE(preview->imageView()->bitmapLayer());
    EXPECT_TRUE(preview->imageView()->bitmapLayer()->hasBitmap());
    ASSERT_EQ(1u, services.images.size());
    EXPECT_TRUE(Exists(services.images[0]));
    // With the caption: picture, legend and copyright in the text view, sheet 6.
    services.options.setLong(PrintKey::kMediaCaption, 1);
    preview->prepare();
    EXPECT_FALSE(FrameShown(preview->imageView()));
    EXPECT_TRUE(FrameShown(preview->captionView()));
    EXPECT_EQ(6, services.sheetAsked);
    ARenderer* caption = preview->captionView()->renderer();
    ASSERT_TRUE(caption && caption->model());
    EXPECT_TRUE(caption->options & 0x4000);
    // A second full page replaces the first picture's file.
    services.options.setLong(PrintKey::kMediaCaption, 0);
    preview->prepare();
    ASSERT_EQ(2u, services.images.size());
    EXPECT_FALSE(Exists(services.images[0])) << "the last preparation's file goes";
    EXPECT_TRUE(Exists(services.images[1]));
    // MISE EN PAGE... asks the pane; ANNULER tells it the preview closes.
    app->perform(preview->doCommand(1020, 0));
    EXPECT_EQ(1, owner.optionsShown);
    app->perform(preview->doCommand(1015, 0));
    EXPECT_EQ(preview, owner.closed);
    EXPECT_EQ(nullptr, preview->owner());
    AComponent* gone = preview;
    DeleteComponent(gone);
    EXPECT_FALSE(Exists(services.images[1])) << "destroying the preview removes its file";
}

TEST_F(MediaPreviewTest, WithoutADocumentTheImagePreviewStaysEmpty) {
    make("texte\n");
    ASVJpegPreviewDlg* preview = openJpeg();
    ASSERT_NE(nullptr, preview);
    owner.docNo = -1;
    preview->prepare();
    EXPECT_EQ(nullptr, preview->imageView()->renderer() ? preview->imageView()->renderer()->model() : nullptr);
    EXPECT_TRUE(services.images.empty());
    AComponent* gone = preview;
    DeleteComponent(gone);
}

// Every document's picture is the same file.
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

// With key 10 the caption view prints the caption page, made for the
// preview's document by the media printer: the picture, then legend and copyright.
TEST_F(MediaPreviewTest, TheCaptionPageReachesThePdfWithLegendAndCopyright) {
    make("texte\n");
    if (!DefaultPdfPrinter()) {
        ASSERT_EQ(0u, GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0)) << "no printer \"PDF\"";
        GTEST_SKIP() << "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS";
    }
    std::string picture = WritePicture(90, 160, 120);
    ARefHold<FileSupplier> supplier(new FileSupplier(picture));
    services.supplier = supplier.get();
    ASVJpegPreviewDlg* preview = openJpeg();
    ASSERT_NE(nullptr, preview);
    services.options.setLong(PrintKey::kMediaCaption, 1);
    preview->prepare();
    std::string marker = PdfMarker();
    auto* job = new APrinter;
    AObject::completeNew(job);
    app->perform(job->printPages(preview->captionView()->rendererLayer(), APrintRange{0, 9, 1, 1, 0}));
    AComponent* printer = job;
    DeleteComponent(printer);
    std::string pdf = WaitForPdf(marker, "Le volcan <actif>");
    AComponent* gone = preview;
    DeleteComponent(gone);
    services.supplier = nullptr;
    DeleteFileA(picture.c_str());
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived";
    std::string text = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
    size_t title = text.find("Le volcan\n"), legend = text.find("Le volcan <actif> en \xC3\xA9ruption");
    size_t copyright = text.find("Droits r\xC3\xA9serv\xC3\xA9s");
    ASSERT_NE(std::string::npos, legend) << text;
    EXPECT_NE(std::string::npos, title) << "the header names the picture: " << text;
    EXPECT_LT(legend, copyright) << text;
    EXPECT_NE(std::string::npos, copyright) << text;
    // The picture is drawn on the page (pdfimages lists it), not the frame of a missing one.
    EXPECT_NE("0", RunOnHost("pdfimages -list '" + pdf + "' | tail -n +3 | wc -l | tr -d ' \n'"));
    KeepFirstPage(pdf, "printed-media-caption");
}

// A view that records the addresses it is asked to load.
class LoadLog : public AMozillaView {
public:
    using AMozillaView::AMozillaView;
    int16_t loadUrl(const AString& url) override {
        loads.push_back(url.c_str());
        return 1;
    }
    std::vector<std::string> loads;
};

TEST_F(MediaPreviewTest, TheFlashHandlerStopsTheMovieAtItsFrameOncePerFinishedLoad) {
    make("texte\n");
    struct Row {
        int16_t frame;
        const char* status;
        const char* loads;
        int16_t answer;
    } rows[] = {
        {3, "", "javascript:document.embeds[0].StopPlay();javascript:document.embeds[0].GotoFrame(3);", 1},
        {-1, "", "javascript:document.embeds[0].StopPlay();", 0},
        {3, "Chargement...", "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frame);
        auto* log = Open<LoadLog>(window, int16_t(9), Frame(0, 0, 100, 100));
        LoadLog& browser = *log;
        auto* handler = new ASVFlashPreviewHandler(nullptr, row.frame);
        handler->addRef();
        AMozillaStatusChangedEvent status;
        status.status = row.status;
        EXPECT_EQ(row.answer, handler->onEvent(&browser, &status));
        std::string loads;
        for (const std::string& l : browser.loads)
            loads += l + ";";
        EXPECT_EQ(row.loads, loads);
        EXPECT_EQ(row.frame, handler->frame()) << "the frame is kept for the next load";
        // Other events leave the movie alone.
        AMozillaIsLoadedEvent loaded;
        EXPECT_EQ(0, handler->onEvent(&browser, &loaded));
        handler->release();
        AComponent* gone = log;
        DeleteComponent(gone);
    }
}

}  // namespace
