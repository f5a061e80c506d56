// The keyword list of the chronology's left dock.
#include "panes/content/chrono/ChronoMotsCle.h"

#include <new>

#include "app/lexicon/ASVSearchInList.h"
#include "app/lines/ASVLexLineGetter.h"
#include "app/lists/ALayoutClient.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/chrono/DockLeftChronoPages.h"
#include "search/facade/AKeyIndex.h"

SV_IMPLEMENT_CLASS(ChronoMotsCle, 0, ListEditPane)

ChronoMotsCle::ChronoMotsCle() {
    selFirstKey = 1072;
    selLastKey = 1073;
}

ChronoMotsCle::~ChronoMotsCle() {
    DeleteDataAccessAndNull(index_);
}

void ChronoMotsCle::readFrom(AMemoryStream& stream) {
    ListEditPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "ChronoMotsCle", 40);
}

void ChronoMotsCle::attachItems() {
    ListEditPane::attachItems();
    if (!EnclosingChronoPage(this))
        ThrowAssert("ChronoMotsCle", 50);
}

void ChronoMotsCle::setUpItems() {
    ListEditPane::setUpItems();
    if (getClient())
        getClient()->fixedExtent = DockLeftChronoPage::kListHeight;
    editField->setMaxLength(128);
    editField->addLink(this);
    editField->setText("");
    openList("CHRONO");
}

void ChronoMotsCle::closeList() {
    AComponent* typeAhead = typeAhead_;
    typeAhead_ = nullptr;
    DeleteComponent(typeAhead);
    DeleteDataAccessAndNull(index_);
}

// The type-ahead object is a child: the tree deleted it before this runs.
void ChronoMotsCle::detachItems() {
    typeAhead_ = nullptr;
    DeleteDataAccessAndNull(index_);
    ListEditPane::detachItems();
}

void ChronoMotsCle::openList(const char* key) {
    closeList();
    if (!listView)
        ThrowAssert("ChronoMotsCle", 70);
    if (key && *key && (index_ = AContentApp::current().openIndex(key)) != nullptr) {
        auto* rows = CheckAlloc(new (std::nothrow) ASVAtlasLexLineGetter(index_), "ChronoMotsCle", 75);
        rows->addRef();
        setLineGetter(rows);
        rows->release();
        if (ARenderer* renderer = listView->renderer()) {
            renderer->setSourceModel(rows, nullptr);
            renderer->enableTables('*');
        }
        listView->invalidate();
        typeAhead_ = CheckAlloc(new (std::nothrow) ASVSearchInList(this, kEditCommand, kListCommand, index_, 0),
                                "ChronoMotsCle", 82);
        AObject::completeNew(typeAhead_);
        editField->show(false);
    }
    queueUpdate(0);
}

ACommand* ChronoMotsCle::doCommand(int16_t id, long argument) {
    if (id == kEditCommand)
        return noChangeCommand();
    return ListEditPane::doCommand(id, argument);
}

void ChronoMotsCle::saveState(ABaseState* part) {
    ListEditPane::saveState(part);
    if (part && editField)
        part->setUserTxtInfo(kTypedTextKey, editField->getText().c_str());
}

void ChronoMotsCle::updatePane() {
    ListEditPane::updatePane();
    AppState* state = currentState();
    ALeftState* left = state ? state->getLeftState() : nullptr;
    if (left && left->fNew) {
        editField->setText("");
        selFirst = 0;
        selLast = -2;
    } else if (left && left->fHisto) {
        editField->setText(left->getUserTxtInfo(kTypedTextKey).c_str());
        readSavedSelection(left);
    }
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        if (selLast < 0) {
            renderer->selectLines(-2, 0);
            if (state)
                state->fTemporaire = state->fLink == 0 ? 1 : 0;
        } else {
            renderer->selectLines(selFirst, selLast - selFirst);
        }
    }
    queueUpdate(0);
}

void ChronoMotsCle::selectionChanged(ARenderer* renderer) {
    ShowChronoLink(this, renderer, true);
}
