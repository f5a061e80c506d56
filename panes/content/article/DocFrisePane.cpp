// The article time strip: its text from base 1 table 7 and its links into the article.
#include "panes/content/article/DocFrisePane.h"

#include <cstdlib>
#include <new>

#include "app/frame/Frame1.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/AFilteredFile.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(DocFrisePane, 0, SVPane)

namespace {

const int16_t kStripBase = 1, kStripTable = 7, kThumbnailTable = 9, kStripSheet = 4;

}  // namespace

DocFrisePane::~DocFrisePane() {
    ReleaseAndNull(thumbnails_);
}

void DocFrisePane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DocFrisePane", 40);
}

void DocFrisePane::attachItems() {
    SVPane::attachItems();
    CheckAlloc(getFrame(), "DocFrisePane", 53)->setTimeStripPane(this);
    switcher_ = DockLCRPane::linkPane(this, DockLCRPane::kDocFrise, "DocFrisePane", 55);
}

void DocFrisePane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kStripView, false);
    view_ = CheckAlloc(item ? static_cast<ARendererView*>(item->castTo(&ARendererView::classRecord)) : nullptr,
                       "DocFrisePane", 67);
    view_->setTransparentFlag(true);
    AContentApp& app = AContentApp::current();
    ASearchBase* base = app.getBase(kStripBase);
    if (!base)
        ThrowAssert("DocFrisePane", 72);
    thumbnails_ = CheckAlloc(new (std::nothrow) ASVVigBitmapSupplier(base, kThumbnailTable), "DocFrisePane", 74);
    thumbnails_->addRef();
    AAppTextRenderer* renderer = app.createTextRenderer(view_, thumbnails_, kStripSheet);
    // As the web pages' bar: option 8 off, layout flag 0x4000 on.
    if (renderer) {
        renderer->options = static_cast<uint16_t>(renderer->options & ~8u);
        renderer->lineFlags |= 0x4000;
    }
}

void DocFrisePane::detachItems() {
    SVPane::detachItems();
    ReleaseAndNull(thumbnails_);
}

int16_t DocFrisePane::isPaneWanted() {
    AppState* state = currentState();
    ADocState* doc = docState();
    if (!state || !doc || doc->fDocType != 0)
        return 0;
    return AContentApp::current().getDocRefInfo(state->getDocNo()).getInfo(kStripFlag) != 0;
}

void DocFrisePane::updatePane() {
    AppState* state = currentState();
    ARenderer* renderer = view_ ? view_->renderer() : nullptr;
    AContentApp& app = AContentApp::current();
    long docNo = state ? state->getDocNo() : -1;
    ADocRefInfo info = app.getDocRefInfo(docNo);
    setVisible(docNo >= 0 && info.getInfo(kStripFlag) != 0);
    if (!renderer)
        return;
    ASearchBase* base = app.getBase(kStripBase);
    AViewMeasureLock measuring(view_);
    bool loaded = false;
    if (docNo >= 0 && base && info.getInfo(kStripFlag)) {
        // Information field 6: the strip's record in table 7.
        try {
            long ref = base->makeDocRef(kStripTable, info.fField6);
            AFilteredFile stream = base->readToStream(kStripTable, ref, 0);
            renderer->setStreamModel(stream, nullptr);
            renderer->enableTables('#');
            loaded = true;
        } catch (const AError&) {
            loaded = false;
        }
    }
    if (!loaded)
        renderer->setTextModel("", nullptr);
    renderer->layOut();
    queueUpdate(0);
}

void DocFrisePane::ownItemCommand() {
    ARenderer* renderer = view_ ? view_->renderer() : nullptr;
    if (renderer && renderer->getHitKind() == 3)
        followLink(renderer->getHitName().c_str());
}

void DocFrisePane::followLink(const char* name) {
    if (*name == '>')
        ++name;
    long position = std::atol(name);
    SVPane* pane = switcher_ ? switcher_->link(DockLCRPane::kDocKycf) : nullptr;
    auto* article = pane ? static_cast<DocKycfPane*>(pane->castTo(&DocKycfPane::classRecord)) : nullptr;
    if (!article)
        ThrowAssert("DocFrisePane", 124);
    if (!article->isMediaShown())
        article->toggleMedia();
    article->goToPosition(position);
    if (SVPane* top = switcher_->link(DockLCRPane::kDockTopKycf))
        top->queueUpdate(0);
}
