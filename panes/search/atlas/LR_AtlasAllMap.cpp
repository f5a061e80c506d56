// The all-places list: its getter and type-ahead, and opening a place's map.
#include "panes/search/atlas/LR_AtlasAllMap.h"

#include <new>

#include "app/frame/Frame1.h"
#include "app/lexicon/ASVSearchInList.h"
#include "app/lines/ASVLexLineGetter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/flash/FlashPane.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_AtlasAllMap, 0, LR_Atlas)

namespace {

const char kFile[] = "LR_AtlasAllMap";

}  // namespace

LR_AtlasAllMap::LR_AtlasAllMap() {
    selFirstKey = 1052;
    selLastKey = 1053;
    textKey = 1054;
}

void LR_AtlasAllMap::readFrom(AMemoryStream& stream) {
    LR_Atlas::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_AtlasAllMap::openIndex(const char* key, AEditBox* field) {
    if (beginOpenIndex(key)) {
        auto* getter = CheckAlloc(new (std::nothrow) ASVAtlasLexLineGetter(index_), kFile, __LINE__);
        setLineGetter(getter);
        ARenderer* renderer = listView->renderer();
        renderer->setSourceModel(getter, nullptr);
        renderer->enableTables('*');
        listView->invalidate();
        search_ = CheckAlloc(new (std::nothrow) ASVSearchInList(this, kFieldId, kListId, index_, 0), kFile, __LINE__);
        adoptSearch();
        if (field)
            field->setVisible(true);
    }
    queueUpdate(0);
}

void LR_AtlasAllMap::updatePane() {
    restoreFromState();
    SelectListRun(listView, selFirst, selLast);
    queueUpdate(0);
    if (searchField_)
        searchField_->becomeTarget();
}

void LR_AtlasAllMap::openLine(ARenderer* renderer) {
    openPlace(clickedPlace(renderer));
}

void LR_AtlasAllMap::openPlace(const AtlasPlace& place) {
    AppState* state = currentState();
    if (!place.valid() || !state)
        return;
    long w = 0, h = 0;
    AAtlasApp::current().getDocDimensions(place.doc, &w, &h);
    AContentApp& app = AContentApp::current();
    if (app.docIsMedia(place.doc)) {
        app.openMediaWindow(place.doc, 0, 0);
        return;
    }
    FlashPane* flash = flashPane();
    bool positioned = place.hasPosition() && flash;
    if (place.doc == state->getDocNo()) {
        state->fNumFrame = place.frame;
        state->fNbFrame = 3;
        if (flash)
            flash->gotoFrame(place.frame);
        refreshTopAtlas();
        state->setUserInfo(26, w);
        state->setUserInfo(27, h);
        state->setUserInfo(28, positioned ? place.xValue() : -1);
        state->setUserInfo(29, positioned ? place.yValue() : -1);
        if (flash) {
            flash->computeAtlasZoom(state);
            if (positioned)
                flash->loadMovie(state->getDocNo());
        }
        return;
    }
    AppState* next = NewMapState(*frame_, *state, place);
    next->setUserInfo(26, w);
    next->setUserInfo(27, h);
    next->setUserInfo(28, positioned ? place.xValue() : -1);
    next->setUserInfo(29, positioned ? place.yValue() : -1);
    goToState(next);
}
