// The A-to-Z index list: the index, the typed text, the restored selection and the opened entry.
#include "panes/search/az/LR_RechAZ.h"

#include <cstdlib>
#include <new>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lexicon/ASVSearchInList.h"
#include "app/lines/ASVLexLineGetter.h"
#include "app/lists/ASVEditFilter.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"

SV_IMPLEMENT_CLASS(LR_RechAZ, 0, LRPane)

namespace {

const char kFile[] = "LR_RechAZ";
const long kLinkHit = 3;
}  // namespace

LR_RechAZ::LR_RechAZ() {
    setOwnItem(kEditId);
    selFirstKey = kSelFirstKey;
    selLastKey = kSelLastKey;
}

LR_RechAZ::~LR_RechAZ() {
    DeleteDataAccessAndNull(index);
}

void LR_RechAZ::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_RechAZ::attachItems() {
    LRPane::attachItems();
    CheckAlloc(getFrame(), kFile, 55);
    lcrPane = DockLCRPane::around(this);
}

void LR_RechAZ::setUpItems() {
    LRPane::setUpItems();
    setIcon(1509);
    AClusterItem* item = findItem(kEditId, false);
    edit = CheckAlloc(item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr, kFile, 79);
    edit->setMaxLength(kMaxText);
    edit->addLink(this);
    edit->setText("");
    edit->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(edit), kFile, 83));
    openIndexList("IDXAZ", edit);
}


void LR_RechAZ::detachItems() {
    // The rows read the index: they go first.
    setLineGetter(nullptr);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr)
        renderer->setSourceModel(nullptr, nullptr);
    LRPane::detachItems();
    // The type-ahead is a component of this pane: the tree deletes it.
    typeAhead = nullptr;
    DeleteDataAccessAndNull(index);
    edit = nullptr;
    lcrPane = nullptr;
}

void LR_RechAZ::openTypedEntry() {
    if (!typeAhead)
        return;
    long row = typeAhead->findFieldText();
    if (row >= 0)
        openEntry(getLineKey(row));
}

void LR_RechAZ::linkChanged(AComponent* source, const AKindSet& kinds) {
    LRPane::linkChanged(source, kinds);
    if (edit && source == edit && kinds.contains(1))
        edit->selectAll();
}

void LR_RechAZ::saveState(ABaseState* part) {
    LRPane::saveState(part);
    if (part && edit)
        part->setUserTxtInfo(kTextKey, edit->getText().c_str());
}

void LR_RechAZ::openIndexList(const char* key, AEditBox* field) {
    if (!listView || !listView->renderer())
        ThrowAssert(kFile, 178);
    if (key && *key) {
        if (index)
            ThrowAssert(kFile, 180);
        if (typeAhead)
            ThrowAssert(kFile, 181);
        ADataLocation* location = gDataManager ? gDataManager->getDataLocation() : nullptr;
        index = OpenLexIndex(location, key);
        if (!index) {
            // An installation without the index: an empty list, no type-ahead.
            queueUpdate(0);
            return;
        }
        ShowLexiconRows(this, CheckAlloc(new (std::nothrow) ASVStandardLexLineGetter(index, AString()), kFile, 184));
        typeAhead = CheckAlloc(new (std::nothrow) ASVSearchInList(this, kEditId, kListCommand, index, 0), kFile, 193);
        AObject::completeNew(typeAhead);
        if (field)
            field->setVisible(true);
    }
    queueUpdate(0);
}

void LR_RechAZ::updatePane() {
    LRPane::updatePane();
    RestoreTypedList(this, edit, kTextKey);
}

void LR_RechAZ::openClickedLine(ARendererView* view) {
    ARenderer* renderer = view ? view->renderer() : nullptr;
    if (!renderer || renderer->getHitKind() != kLinkHit)
        return;
    openEntry(renderer->getHitName());
}

void LR_RechAZ::openEntry(const AString& name) {
    if (name.empty())
        return;
    long n = std::atol(name.c_str());
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (app.docIsMedia(n)) {
        app.openMediaWindow(n, 0, 0);
        return;
    }
    AppState* cur = currentState();
    if (cur && n == cur->getDocNo())
        return;
    ADocState* doc = docState();
    int16_t kind = app.getDocKind(n, doc ? doc->fDocType : 0);
    // The right part is never kept: an index entry starts its own reading.
    AppState* state = getFrame()->makeNavState(1, 0, 0, 1, -1, kind, -1);
    state->setDocNo(n);
    goToState(state);
}
