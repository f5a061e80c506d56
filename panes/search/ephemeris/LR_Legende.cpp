// The caption panes: a media document's caption with the search's words highlighted.
#include "panes/search/ephemeris/LR_Legende.h"

#include <windows.h>

#include <new>

#include "app/data/ADataManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/ATextStyle.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/docks/right/DockRightArtPane.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(LR_Legende, 0, LRExtPane)
SV_IMPLEMENT_CLASS(LR_LegendeMedia, 0, LR_Legende)

namespace {

const char kFile[] = "LR_Legende";
const int16_t kHiliteBase = 1;
const long kCaptionSheet = 6;
// A caption is drawn on light yellow.
const COLORREF kCaptionBackground = RGB(255, 255, 204);
// The navigator of a caption: from the model's highlighter, selecting the hit it shows.
const uint16_t kNavigatorFlags = 0x121;

void SetCaptionBackground(ARendererView* view) {
    ATextStyle style = view->ownDisplayEnv() ? ATextStyle(*view->ownDisplayEnv())
                                             : ATextStyle(nullptr, RGB(0, 0, 0), kCaptionBackground, 0);
    style.setBackColor(kCaptionBackground);
    view->setDisplayEnv(style);
    view->invalidate();
}

}  // namespace

LR_Legende::LR_Legende() {
    selFirstKey = kFirstKey;
    selLastKey = kLastKey;
}

void LR_Legende::readFrom(AMemoryStream& stream) {
    LRExtPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_Legende::setUpItems() {
    LRExtPane::setUpItems();
    artPane = CheckAlloc(FindEnclosing<DockRightArtPane>(this), kFile, 50);
}

void LR_Legende::detachItems() {
    artPane = nullptr;
    LRExtPane::detachItems();
}

void LR_Legende::updatePane() {
    LRExtPane::updatePane();
    setIcon(kIcon);
}

void LR_Legende::showCaption(long docNo) {
    if (docNo < 0 || !listView)
        return;
    if (!listView->rendererLayer())
        ThrowAssert(kFile, 70);
    AEphemerisApp& app = AEphemerisApp::current();
    ADocRefInfo info = app.getDocRefInfo(docNo);
    long table = info.fDocBase >= 0 ? app.findBaseField(info.fDocBase, "LEG") : -1;
    ASearchBase* base = table >= 0 && gDataManager ? gDataManager->getBase(info.fDocBase) : nullptr;
    short t = static_cast<short>(table);
    bool present = base && info.fRecord >= 0 && info.fRecord < base->getRecordCount(t);
    // Laying out, counting the hits and scrolling measure text outside painting.
    AViewMeasureLock measuring(listView);
    AAppTextRenderer* renderer = app.createTextRenderer(listView, kCaptionSheet);
    hits = false;
    if (!renderer)
        return;
    SetCaptionBackground(listView);
    // Read-only text: no word picking, links inert; the selection menu stays.
    renderer->options = static_cast<uint16_t>(renderer->options & ~TextOptions::kWordClick);
    app.setSelectionMenu(renderer);
    if (!present) {
        renderer->setTextModel("", nullptr);
        renderer->layOut();
        queueUpdate(0);
        return;
    }
    AppState* main = app.mainState();
    ASearchBase* hiliteBase = gDataManager ? gDataManager->getBase(kHiliteBase) : nullptr;
    ARefHold<AHighlighter> highlighter(NewSearchHighlighter(main ? main->getSearchState() : nullptr, hiliteBase));
    renderer->setLaidOutStreamModel(base->readToStream(t, info.fRecord, 0), nullptr);
    if (highlighter.get() && renderer->model()) {
        renderer->model()->setHighlighter(highlighter.get());
        renderer->setHitNavigator(
            CheckAlloc(new (std::nothrow) AModelHitNavigator(renderer, kNavigatorFlags), kFile, 90));
    }
    renderer->layOut();
    if (highlighter.get() && renderer->model()) {
        highlighter->scanAll(renderer->model());
        hits = highlighter->hitCount() > 0;
    }
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    if (doc && doc->fNew) {
        AHitNavigator* navigator = renderer->hitNavigator();
        bool shown = hits && navigator &&
                     (navigator->canShowCurrentHit() ? navigator->showCurrentHit() : navigator->showFirstHit()) >= 0;
        if (!shown)
            renderer->scrollToPosition(0);
    }
    queueUpdate(0);
}

void LR_LegendeMedia::readFrom(AMemoryStream& stream) {
    LR_Legende::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 120);
}

void LR_LegendeMedia::attachItems() {
    LR_Legende::attachItems();
    mediaPane = CheckAlloc(FindEnclosing<AMediaStatePane>(this), kFile, 126);
}

void LR_LegendeMedia::detachItems() {
    LR_Legende::detachItems();
    mediaPane = nullptr;
}

AppState* LR_LegendeMedia::currentState() {
    if (!mediaPane)
        ThrowAssert(kFile, 136);
    return mediaPane->mediaState();
}
