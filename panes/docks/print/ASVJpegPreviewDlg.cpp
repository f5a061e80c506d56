// The image print preview.
#include "panes/docks/print/ASVJpegPreviewDlg.h"

#include <windows.h>

#include <new>

#include "base/procedural/AError.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AStringReader.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/graphics/AImage.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/AMediaRendererPrinter.h"
#include "panes/docks/print/ASVRendererPrinter.h"

SV_IMPLEMENT_CLASS(ASVJpegPreviewDlg, 0, ASVMediaPreviewDlg)

namespace {

// The picture area, then one hot spot: the preview's page is the first zone.
const char kZones[] = "0,0,512,768#Image\n10,10,30,20#HS1\n";

// Drags pan the picture; the regions are not outlined.
const uint16_t kPanDrag = 0x0004;
const uint16_t kOutlineRegions = 0x0008;

AStaticItem* FrameOf(ADisplayComponent* view) {
    for (AComponent* up = view ? view->getParent() : nullptr; up; up = up->getParent())
        if (auto* item = dynamic_cast<AStaticItem*>(up))
            return item;
    return nullptr;
}

void ShowFrame(ADisplayComponent* view, bool shown) {
    ADisplayComponent* frame = FrameOf(view);
    if (!frame)
        frame = view;
    if (frame && shown)
        frame->show(true);
    else if (frame)
        frame->hide(true);
}

ADocModel* ZoneModel() {
    ARefHold<AStringReader> reader(
        CheckAlloc(new (std::nothrow) AStringReader(kZones, sizeof kZones - 1), "appclass", 700));
    ARefHold<ASegParser> segments(CheckAlloc(new (std::nothrow) AReaderSegParser(reader.get()), "appclass", 701));
    ARefHold<AFragParser> fragments(CheckAlloc(new (std::nothrow) AAnchorFragParser('/'), "appclass", 702));
    auto* model = CheckAlloc(new (std::nothrow) AIndexedDocModel(segments.get(), fragments.get(), nullptr), "appclass", 703);
    model->addRef();
    return model;
}

}  // namespace

ASVJpegPreviewDlg::~ASVJpegPreviewDlg() {
    try {
        discard();
    } catch (...) {
    }
}

void ASVJpegPreviewDlg::attachItems() {
    ASVMediaPreviewDlg::attachItems();
    temp_ = AString();
}

void ASVJpegPreviewDlg::setUpItems() {
    ASVMediaPreviewDlg::setUpItems();
    image_ = dynamic_cast<AHotspotView*>(findById(1002, 0));
    caption_ = dynamic_cast<AStandardView*>(findById(1003, 0));
    if (!image_ || !caption_)
        ThrowAssert("appclass", 710);
}

void ASVJpegPreviewDlg::prepare() {
    if (!owner())
        ThrowAssert("appclass", 720);
    long docNo = owner()->previewDocNo();
    if (docNo < 0 || !AMediaPreviewApp::current())
        return;
    bool caption = captionKey() != 0;
    ShowFrame(image_, !caption);
    ShowFrame(caption_, caption);
    if (caption)
        showCaption(docNo);
    else
        showFullPage(docNo);
}

void ASVJpegPreviewDlg::showFullPage(long docNo) {
    AMediaPreviewApp& app = *AMediaPreviewApp::current();
    ARenderer* renderer = app.createHotspotRenderer(image_);
    if (!renderer)
        ThrowAssert("appclass", 730);
    renderer->interaction |= kPanDrag;
    ADocModel* model = ZoneModel();
    renderer->setModel(model);
    model->release();
    renderer->options &= static_cast<uint16_t>(~kOutlineRegions);
    renderer->layOut();
    loadImage(docNo);
}

void ASVJpegPreviewDlg::showCaption(long docNo) {
    AMediaPreviewApp& app = *AMediaPreviewApp::current();
    ARenderer* renderer = app.createTextRenderer(caption_, 6);
    if (!renderer)
        ThrowAssert("appclass", 740);
    SetUpCaptionRenderer(*renderer, app, docNo, "");
    installPrinter(caption_);
    renderer->layOut();
    caption_->queueUpdate(0);
}

void ASVJpegPreviewDlg::loadImage(long docNo) {
    discard();
    AMediaPreviewApp& app = *AMediaPreviewApp::current();
    temp_ = app.extractDocImage(docNo);
    ABitmapLayer* layer = image_->bitmapLayer();
    if (!layer)
        ThrowAssert("appclass", 750);
    if (!temp_.empty()) {
        try {
            layer->setBitmap(AImageSpec::fromFile(temp_.c_str(), 0, 0));
            layer->setDisplayMode(1, false);
        } catch (const AError&) {
            // A picture our readers refuse leaves the page empty; the preview stays usable.
            layer->clearBitmap();
        }
    }
    if (!image_->renderer())
        ThrowAssert("appclass", 751);
    installPrinter(image_);
}

void ASVJpegPreviewDlg::installPrinter(ADisplayComponent* view) {
    InstallMediaPrinter(view, owner() ? owner()->previewTitle() : AString());
}

ACommand* ASVJpegPreviewDlg::doCommand(int16_t id, long argument) {
    if (id != 1010)
        return ASVMediaPreviewDlg::doCommand(id, argument);
    ARendererView* printed = captionKey() ? static_cast<ARendererView*>(caption_) : image_;
    perform(printed->print());
    return closeWindow();
}

long ASVJpegPreviewDlg::mediaDocNo() {
    return owner() ? owner()->previewDocNo() : -1;
}

void ASVJpegPreviewDlg::discard() {
    if (temp_.empty())
        return;
    DeleteFileA(temp_.c_str());
    temp_ = AString();
}
