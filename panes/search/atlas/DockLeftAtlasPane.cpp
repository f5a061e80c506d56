// The atlas dock pane: tabs, countries page, recording the shown map.
#include "panes/search/atlas/DockLeftAtlasPane.h"

#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/components/AActionTable.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/AContentApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/AtlasPrec.h"

SV_IMPLEMENT_CLASS(DockLeftAtlasPane, 0, SVPane)

namespace {

const char kFile[] = "DockLeftAtlasPane";
const char kCountriesPage[] = "hg_lespays";

// The button's position in its group (0 for a direct call without a record).
int16_t PositionOf(long argument) {
    AActionRecord* record = ActionRecordOf(argument);
    return record ? static_cast<int16_t>(record->f3) : 0;
}

}  // namespace

bool IsAtlasScreen(AppState* state) {
    ALeftState* left = state ? state->getLeftState() : nullptr;
    return left && state->getScreenMode() == 4 && state->fSalle == 4 && left->fSalleType == 'P';
}

AppState* NewMapState(Frame1& frame, AppState& current, const AtlasPlace& place) {
    ADocState* doc = current.getDocState();
    int16_t kind = AContentApp::current().getDocKind(place.doc, doc ? doc->fDocType : int16_t(2));
    AppState* next = frame.makeNavState(1, 0, 0, 1, -1, kind, 4);
    next->setDocNo(place.doc);
    next->fNbFrame = 3;
    next->fNumFrame = place.frame;
    if (ALeftState* left = next->getLeftState())
        left->fClone = 0;
    return next;
}

void DockLeftAtlasPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftAtlasPane::attachItems() {
    SVPane::attachItems();
    AComponent* found = findAncestor(&Frame1::classRecord);
    frame_ = CheckAlloc(found ? static_cast<Frame1*>(found->castTo(&Frame1::classRecord)) : nullptr, kFile, __LINE__);
}

void DockLeftAtlasPane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kPreview, false);
    preview_ = CheckAlloc(item ? static_cast<AtlasPrec*>(item->castTo(&AtlasPrec::classRecord)) : nullptr, kFile,
                          __LINE__);
}

void DockLeftAtlasPane::detachItems() {
    preview_ = nullptr;
    SVPane::detachItems();
}

void DockLeftAtlasPane::bindActions() {
    SVPane::bindActions();
    addAction(kCountries, this, kCountries, nullptr);
    addActionRange(kTabCommand, this, kAllMapsTab, kCurrentMapTab, nullptr);
}

int16_t DockLeftAtlasPane::commandStatus(int16_t id, long argument) {
    AppState* state = currentState();
    if (id == kCountries)
        return !state || state->getUserInfo(kRoomPageKey) == 1 ? 2 : 1;
    if (id != kTabCommand)
        return SVPane::commandStatus(id, argument);
    if (!state)
        return 2;
    int16_t position = PositionOf(argument);
    if (position == 1 && (state->getDocNo() < 0 || state->getUserInfo(kRoomPageKey) == 1))
        return 2;
    return position == tab_ ? 5 : 1;
}

ACommand* DockLeftAtlasPane::doCommand(int16_t id, long argument) {
    if (id == kTabCommand) {
        switchTab(PositionOf(argument));
        return noChangeCommand();
    }
    if (id == kCountries) {
        openCountries();
        return noChangeCommand();
    }
    return SVPane::doCommand(id, argument);
}

void DockLeftAtlasPane::switchTab(int16_t position) {
    if (position == tab_ || position < 0 || position > 1)
        return;
    tab_ = position;
    if (ALeftState* left = leftState())
        left->fUserInfo.slot(kTabKey) = position + 1;
    queueUpdate(0);
    updatePane();
}

void DockLeftAtlasPane::openCountries() {
    if (AppState* state = FrameServices().makeUrlNavState(*frame_, AString(kCountriesPage), 3, -1))
        frame_->goToState(state, 1);
}

int16_t DockLeftAtlasPane::isPaneWanted() {
    return IsAtlasScreen(currentState()) ? 1 : 0;
}

void DockLeftAtlasPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    ALeftState* left = leftState();
    if (!left)
        return;
    long& shown = left->fUserInfo.slot(kTabKey);
    if (shown != 1 && shown != 2)
        shown = 1;
    // A state replayed from the history brings its own tab: the buttons follow it.
    tab_ = static_cast<int16_t>(shown - 1);
}

void DockLeftAtlasPane::updatePane() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    if (!state || !left)
        return;
    ADocState* doc = state->getDocState();
    if (left->fHisto == 0 && left->fClone == 0 && doc && (doc->fDocType == 2 || doc->fDocType == 3))
        left->fUserInfo.slot(kMapKey) = state->getDocNo();
    SVPane::updatePane();
    queueUpdate(0);
}
