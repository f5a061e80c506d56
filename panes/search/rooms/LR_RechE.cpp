// Room E's author list: the index, the typed text, the restored selection and the chosen author.
#include "panes/search/rooms/LR_RechE.h"

#include <new>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lexicon/ASVSearchInList.h"
#include "app/lines/ASVAuteurLexLineGetter.h"
#include "app/lists/ALayoutClient.h"
#include "app/lists/ASVEditFilter.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/left/ListSelection.h"
#include "panes/search/rooms/DockLeftSallePane.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"

SV_IMPLEMENT_CLASS(LR_RechE, 0, LRPane)

namespace {

const char kFile[] = "LR_RechE";
const long kLinkHit = 3;

}  // namespace

LR_RechE::LR_RechE() {
    selFirstKey = kSelFirstKey;
    selLastKey = kSelLastKey;
}

LR_RechE::~LR_RechE() {
    DeleteDataAccessAndNull(index);
}

void LR_RechE::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 50);
}

void LR_RechE::attachItems() {
    LRPane::attachItems();
    CheckAlloc(getFrame(), kFile, 56);
    lcrPane = DockLCRPane::around(this);
    roomPane = EnclosingRoomPane(this, kFile, 58);
}

void LR_RechE::setUpItems() {
    LRPane::setUpItems();
    if (getClient())
        getClient()->fixedExtent = kPreferredSize;
    AClusterItem* item = findItem(kEditId, false);
    edit = CheckAlloc(item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr, kFile, 66);
    edit->setMaxLength(kMaxText);
    edit->addLink(this);
    edit->setText("");
    edit->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(edit), kFile, 70));
    openIndex("AUTEUR", edit);
}

void LR_RechE::detachItems() {
    // The rows read the index: they go first.
    ShowLexiconRows(this, nullptr);
    LRPane::detachItems();
    typeAhead = nullptr;  // a component of this pane: the tree deletes it
    DeleteDataAccessAndNull(index);
    edit = nullptr;
    lcrPane = nullptr;
    roomPane = nullptr;
}

ACommand* LR_RechE::doCommand(int16_t id, long argument) {
    // The field's own command: typing is followed through its link.
    if (id == kEditId)
        return noChangeCommand();
    return LRPane::doCommand(id, argument);
}

void LR_RechE::linkChanged(AComponent* source, const AKindSet& kinds) {
    LRPane::linkChanged(source, kinds);
    if (edit && source == edit && kinds.contains(1))
        edit->selectAll();
}

void LR_RechE::saveState(ABaseState* part) {
    LRPane::saveState(part);
    if (part && edit)
        part->setUserTxtInfo(kTextKey, edit->getText().c_str());
}

void LR_RechE::openIndex(const char* key, AEditBox* field) {
    if (!listView || !listView->renderer())
        ThrowAssert(kFile, 108);
    if (key && *key) {
        // The old rows and type-ahead read the old index: they go first.
        ShowLexiconRows(this, nullptr);
        if (typeAhead) {
            AComponent* old = typeAhead;
            typeAhead = nullptr;
            DeleteComponent(old);
        }
        DeleteDataAccessAndNull(index);
        ADataLocation* location = gDataManager ? gDataManager->getDataLocation() : nullptr;
        index = OpenLexIndex(location, key);
        if (!index) {
            // An installation without the index: an empty list, no type-ahead.
            queueUpdate(0);
            return;
        }
        ShowLexiconRows(this, CheckAlloc(new (std::nothrow) ASVAuteurLexLineGetter(index, nullptr), kFile, 125));
        typeAhead = CheckAlloc(new (std::nothrow) ASVSearchInList(this, kEditId, kListCommand, index, 0), kFile, 131);
        AObject::completeNew(typeAhead);
        if (field)
            field->setVisible(true);
    }
    queueUpdate(0);
}

void LR_RechE::updatePane() {
    LRPane::updatePane();
    RestoreTypedList(this, edit, kTextKey);
}

void LR_RechE::lineClicked(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != kLinkHit || !roomPane)
        return;
    AString name = renderer->getHitName();
    if (!roomPane->setPaneText(name.c_str()))
        return;  // the author shown already: the state stays the history's
    if (AppState* cur = currentState())
        cur->setHisto(0);
    roomPane->showResultList();
}
