// The atlas place lists' base: set-up, the field, the state, the clicked place.
#include "panes/search/atlas/LR_Atlas.h"

#include <new>

#include "app/frame/Frame1.h"
#include "app/lists/ALayoutClient.h"
#include "app/lists/ASVEditFilter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "app/lexicon/ASVSearchInList.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/flash/FlashPane.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/left/ListSelection.h"
#include "search/facade/AKeyIndex.h"

SV_IMPLEMENT_CLASS(LR_Atlas, 0, LRPane)

namespace {

const char kFile[] = "LR_Atlas";
const char kIndexKey[] = "TOPO";
const long kActivated = 1;

}  // namespace

void LR_Atlas::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_Atlas::attachItems() {
    LRPane::attachItems();
    AComponent* found = findAncestor(&Frame1::classRecord);
    frame_ = CheckAlloc(found ? static_cast<Frame1*>(found->castTo(&Frame1::classRecord)) : nullptr, kFile, __LINE__);
    // A window without the centre switcher (a dock shown alone) has no movie to move.
    lcr_ = DockLCRPane::around(this);
}

void LR_Atlas::setUpItems() {
    LRPane::setUpItems();
    if (client)
        client->fixedExtent = 250;
    setIcon(kIconPicture);
    AClusterItem* item = findItem(kFieldId, false);
    searchField_ = CheckAlloc(item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr, kFile,
                              __LINE__);
    searchField_->setMaxLength(kMaxText);
    searchField_->addLink(this);
    searchField_->setText("");
    searchField_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(searchField_), kFile, __LINE__));
    openIndex(kIndexKey, searchField_);
}

void LR_Atlas::detachItems() {
    if (searchField_)
        searchField_->removeLink(this);
    searchField_ = nullptr;
    search_ = nullptr;
    LRPane::detachItems();
    DeleteDataAccessAndNull(index_);
    frame_ = nullptr;
    lcr_ = nullptr;
}

ACommand* LR_Atlas::doCommand(int16_t id, long argument) {
    if (id == kFieldId)
        return noChangeCommand();
    return LRPane::doCommand(id, argument);
}

void LR_Atlas::linkChanged(AComponent* source, const AKindSet& kinds) {
    LRPane::linkChanged(source, kinds);
    if (source && source == searchField_ && kinds.contains(kActivated))
        searchField_->selectAll();
}

void LR_Atlas::saveState(ABaseState* part) {
    LRPane::saveState(part);
    if (part && searchField_ && textKey >= 0)
        part->setUserTxtInfo(textKey, searchField_->getText().c_str());
}

void LR_Atlas::clearSearchText() {
    if (searchField_)
        searchField_->setText("");
}

bool LR_Atlas::beginOpenIndex(const char* key) {
    if (!listView || !listView->renderer())
        ThrowAssert(kFile, __LINE__);
    if (!key || !*key)
        return false;
    if (index_ || search_)
        ThrowAssert(kFile, __LINE__);
    index_ = AAtlasApp::current().openIndex(key);
    return index_ != nullptr;
}

void LR_Atlas::adoptSearch() {
    // Made while the layout sets up: the set-up passes have passed this pane's children.
    search_->open();
    search_->setUpItems();
}

void LR_Atlas::restoreFromState() {
    ALeftState* left = leftState();
    if (!left || !searchField_)
        return;
    if (left->fNew) {
        searchField_->setText("");
        selFirst = 0;
        selLast = -2;
        searchField_->invalidate();
    } else if (left->fHisto) {
        searchField_->setText(left->getUserTxtInfo(textKey).c_str());
        readSavedSelection(left);
        searchField_->invalidate();
    }
}

AtlasPlace LR_Atlas::clickedPlace(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != 3)
        return AtlasPlace();
    AString name = renderer->getHitName();
    return name.empty() ? AtlasPlace() : AtlasPlace::parse(UnescapedKey(name).c_str());
}

FlashPane* LR_Atlas::flashPane() const {
    SVPane* pane = lcr_ ? lcr_->link(DockLCRPane::kFlash) : nullptr;
    return pane ? static_cast<FlashPane*>(pane->castTo(&FlashPane::classRecord)) : nullptr;
}

void LR_Atlas::refreshTopAtlas() const {
    if (SVPane* top = lcr_ ? lcr_->link(DockLCRPane::kDockTopAtlas) : nullptr)
        top->queueUpdate(0);
}
