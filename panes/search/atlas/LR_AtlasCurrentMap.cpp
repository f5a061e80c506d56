// The current-map list: its filtered getter and moving the shown map.
#include "panes/search/atlas/LR_AtlasCurrentMap.h"

#include <new>

#include "app/lexicon/ASVSearchInList.h"
#include "app/lines/ASVAtlasFilterLexLineGetter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/flash/FlashPane.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_AtlasCurrentMap, 0, LR_Atlas)

namespace {

const char kFile[] = "LR_AtlasCurrentMap";

}  // namespace

LR_AtlasCurrentMap::LR_AtlasCurrentMap() {
    selFirstKey = 1062;
    selLastKey = 1063;
    textKey = 1064;
}

void LR_AtlasCurrentMap::readFrom(AMemoryStream& stream) {
    LR_Atlas::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

ASVAtlasFilterLexLineGetter* LR_AtlasCurrentMap::filterGetter() const {
    return static_cast<ASVAtlasFilterLexLineGetter*>(lineGetter);
}

void LR_AtlasCurrentMap::openIndex(const char* key, AEditBox* field) {
    if (beginOpenIndex(key)) {
        auto* getter = CheckAlloc(new (std::nothrow) ASVAtlasFilterLexLineGetter(index_), kFile, __LINE__);
        setLineGetter(getter);
        ARenderer* renderer = listView->renderer();
        renderer->setSourceModel(getter, nullptr);
        renderer->enableTables('*');
        search_ = CheckAlloc(
            new (std::nothrow) ASVFilterSearchInList(this, getter->filter(), kFieldId, kListId, index_, 0), kFile,
            __LINE__);
        adoptSearch();
        if (field)
            field->setVisible(true);
    }
    queueUpdate(0);
}

void LR_AtlasCurrentMap::filterOnMap(long mapDoc) {
    ASVAtlasFilterLexLineGetter* getter = filterGetter();
    if (!getter)
        return;
    getter->setFilter(AAtlasApp::current().placeList(mapDoc).c_str());
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        renderer->setSourceModel(getter, nullptr);
        renderer->enableTables('*');
    }
    if (auto* filtered = static_cast<ASVFilterSearchInList*>(search_))
        filtered->setFilter(getter->filter());
}

void LR_AtlasCurrentMap::updatePane() {
    restoreFromState();
    ALeftState* left = leftState();
    filterOnMap(left ? left->fUserInfo.slot(DockLeftAtlasPane::kMapKey) : -1);
    SelectListRun(listView, selFirst, selLast);
    if (listView)
        listView->invalidate();
    queueUpdate(0);
    if (searchField_)
        searchField_->becomeTarget();
}

void LR_AtlasCurrentMap::openLine(ARenderer* renderer) {
    openPlace(clickedPlace(renderer));
}

void LR_AtlasCurrentMap::openPlace(const AtlasPlace& place) {
    AppState* state = currentState();
    if (!place.valid() || !state)
        return;
    long w = 0, h = 0;
    AAtlasApp::current().getDocDimensions(place.doc, &w, &h);
    FlashPane* flash = flashPane();
    if (!flash)
        return;
    state->fNumFrame = place.frame;
    state->setUserInfo(26, w);
    state->setUserInfo(27, h);
    state->setUserInfo(28, place.xValue());
    state->setUserInfo(29, place.yValue());
    flash->computeAtlasZoom(state);
    flash->loadMovie(state->getDocNo());
}
