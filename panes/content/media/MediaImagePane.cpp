// The media picture pane: reading, fitting and the placeholder zones.
#include "panes/content/media/MediaImagePane.h"

#include <new>
#include <string>

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/render/AHotspotRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AStringReader.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaPane.h"
#include "panes/docks/print/AMediaRendererPrinter.h"

SV_IMPLEMENT_CLASS(MediaImagePane, 0, SVPane)

// Anchor text: one zone a line, "left,top,width,height#name".
const char* const MediaImagePane::kPlaceholderZones = "0,0,512,768#Image\n10,10,30,20#HS1\n";

namespace {

AIndexedDocModel* MakeZoneModel(const char* text) {
    std::string zones = text;
    AStringReader* reader = CheckAlloc(new (std::nothrow) AStringReader(zones.c_str(), long(zones.size())),
                                       "MediaImagePane", 40);
    reader->addRef();
    AReaderSegParser* segments = CheckAlloc(new (std::nothrow) AReaderSegParser(reader), "MediaImagePane", 43);
    segments->addRef();
    reader->release();
    ATextFragParser* fragments = CheckAlloc(new (std::nothrow) AAnchorFragParser('/'), "MediaImagePane", 46);
    fragments->addRef();
    AIndexedDocModel* model = CheckAlloc(new (std::nothrow) AIndexedDocModel(segments, fragments, nullptr),
                                         "MediaImagePane", 49);
    model->addRef();
    segments->release();
    fragments->release();
    return model;
}

}  // namespace

MediaImagePane::~MediaImagePane() {
    try {
        forgetTempPicture();
    } catch (...) {  // a destructor never throws; the file stays for the next start's sweep
    }
}

void MediaImagePane::attachItems() {
    SVPane::attachItems();
    AComponent* found = findAncestor(&MediaPane::classRecord);
    mediaPane_ = CheckAlloc(found ? static_cast<MediaPane*>(found->castTo(&MediaPane::classRecord)) : nullptr,
                            "MediaImagePane", 55);
    mediaPane_->setImagePane(this);
    tempPicture_ = AString();
}

void MediaImagePane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kView, false);
    view_ = CheckAlloc(item ? static_cast<AHotspotView*>(item->castTo(&AHotspotView::classRecord)) : nullptr,
                       "MediaImagePane", 92);
    if (AHotspotRenderer* renderer = AMediaApp::current().createHotspotRenderer(view_)) {
        AIndexedDocModel* model = MakeZoneModel(kPlaceholderZones);
        renderer->setModel(model);
        model->release();
        renderer->attach();
        renderer->relayoutFrom(0, true);
    }
}

void MediaImagePane::detachItems() {
    if (mediaPane_ && mediaPane_->printView() == view_)
        mediaPane_->setPrintView(nullptr);
    view_ = nullptr;
    SVPane::detachItems();
}

long MediaImagePane::frameChanged(const APoint& size) {
    invalidate();
    return SVPane::frameChanged(size);
}

int16_t MediaImagePane::isPaneWanted() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    return doc && doc->fDocType == MediaPane::kPicture ? 1 : 0;
}

AppState* MediaImagePane::currentState() {
    if (!mediaPane_)
        ThrowAssert("MediaImagePane", 145);
    return mediaPane_->currentState();
}

void MediaImagePane::updatePane() {
    SVPane::updatePane();
    AppState* state = currentState();
    if (state && state->getDocNo() >= 0)
        showPicture(state->getDocNo());
}

long MediaImagePane::mediaDocNo() {
    AppState* state = mediaPane_ ? mediaPane_->currentState() : nullptr;
    return state ? state->getDocNo() : -1;
}

void MediaImagePane::forgetTempPicture() {
    AMediaApp::current().forgetTempFile(tempPicture_);
}

bool MediaImagePane::showPicture(long docNo) {
    if (!view_ || docNo < 0)
        return false;
    AMediaApp& app = AMediaApp::current();
    forgetTempPicture();
    tempPicture_ = app.extractPicture(docNo);
    ABitmapLayer* layer = view_->bitmapLayer();
    if (!layer)
        ThrowAssert("MediaImagePane", 190);
    layer->show(false);
    layer->setDisplayMode(1, true);
    bool read = false;
    if (tempPicture_.empty()) {
        CurrentErrorStream().writeString("#Image illisible: document ").writeString(std::to_string(docNo).c_str())
            .writeString("\n");
        layer->clearBitmap();
    } else {
        try {
            layer->setBitmap(AImageSpec::fromFile(tempPicture_.c_str(), 0, 0));
            read = true;
        } catch (const AThrowableError& error) {
            // A damaged picture: the placeholder (the black view) and a line in the log.
            CurrentErrorStream().writeString("#Image illisible: document ").writeString(std::to_string(docNo).c_str())
                .writeString(" (");
            error.report(CurrentErrorStream());
            CurrentErrorStream().writeString(")\n");
            layer->clearBitmap();
        }
    }
    APoint size = view_->getSize();
    long width = 0, height = 0;
    if (!app.getDocDimensions(docNo, &width, &height) && read && layer->image())
        width = layer->scaledSize().x, height = layer->scaledSize().y;
    fit_ = ComputeZoomPercent(size.x, size.y, width, height);
    mediaPane_->setImageScales(fit_);
    mediaPane_->setPrintView(view_);
    // The header names this picture: a new printer for each one.
    if (AMediaPreviewApp::current() && view_->renderer())
        InstallMediaPrinter(view_, mediaPane_->title());
    view_->invalidate();
    return read;
}
