// The notes window: its lists, the edited note and the collapsing panel.
#include "panes/docks/workspacewin/NotePane.h"

#include <cstdlib>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/lists/ASVEditFilter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AApp.h"
#include "framework/controls/AEditBox.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "panes/docks/workspacewin/WorkspaceWinSupport.h"

SV_IMPLEMENT_CLASS(NotePane, 0, AWindow)

namespace {

const int16_t kLinkHit = 3;

// The getter goes to the renderer, which holds its own reference. The row is
// selected without telling the window, whose click command would come back here.
void ShowRows(ARendererView* view, SortableLineGetter* rows, long row, int16_t& filling) {
    filling = 1;
    struct Done {
        int16_t& flag;
        ~Done() { flag = 0; }
    } done{filling};
    auto* renderer = static_cast<AListRenderer*>(view ? view->renderer() : nullptr);
    rows->addRef();
    if (!renderer) {
        rows->release();
        return;
    }
    renderer->setSourceModel(rows, nullptr);
    rows->release();
    renderer->enableTables('*');
    renderer->selectRow(row, 0, 0, -1);
    renderer->showLine(row);
}

}  // namespace

ANoteManager* NotePane::notes() const {
    ANoteManager* manager = AWorkspaceWinApp::current().notes();
    if (!manager)
        ThrowAssert("notepane", __LINE__);
    return manager;
}

void NotePane::setUpItems() {
    AWindow::setUpItems();
    expandedImage_ = RequiredItem<ADisplayComponent>(this, kExpandedImage, "notepane");
    collapsedImage_ = RequiredItem<ADisplayComponent>(this, kCollapsedImage, "notepane");
    leftColumn_ = RequiredItem<ADisplayComponent>(this, kLeftColumn, "notepane");
    documentsPanel_ = RequiredItem<ADisplayComponent>(this, kDocumentsPanel, "notepane");
    collapsedBar_ = RequiredItem<ADisplayComponent>(this, kCollapsedBar, "notepane");
    notePanel_ = RequiredItem<ADisplayComponent>(this, kNotePanel, "notepane");
    documentList_ = RequiredItem<ARendererView>(this, kDocumentList, "notepane");
    titleView_ = RequiredItem<ARendererView>(this, kTitleView, "notepane");
    noteList_ = RequiredItem<ARendererView>(this, kNoteList, "notepane");
    editField_ = RequiredItem<AEditBox>(this, kEditField, "notepane");
    for (int16_t id : {kSave, kCollapse, kExpand, kDeleteNote, kGoTo})
        RequiredItem<AClusterItem>(this, id, "notepane");
    editField_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(editField_), "notepane", __LINE__));
    layoutMode_ = 1;
    for (ARendererView* view : {documentList_, noteList_}) {
        AListApp::current().createListRenderer(view, 1, 3);
        view->addLink(this);
    }
    AWorkspaceWinApp::current().createTextRenderer(titleView_);
    if (ANoteManager* manager = AWorkspaceWinApp::current().notes())
        manager->purgeEmptyDocuments();
}

void NotePane::detachItems() {
    documentList_ = titleView_ = noteList_ = nullptr;
    editField_ = nullptr;
    expandedImage_ = collapsedImage_ = leftColumn_ = documentsPanel_ = collapsedBar_ = notePanel_ = nullptr;
    AWindow::detachItems();
}

void NotePane::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kCollapse, kExpand, kDocumentList, kDeleteNote, kNoteList, kEditField, kSave, kGoTo})
        addAction(id, this, id, nullptr);
}

ACommand* NotePane::doCommand(int16_t id, long argument) {
    switch (id) {
        case kCollapse:
        case kExpand:
            setLayoutMode(id == kCollapse ? 0 : 1);
            relayout();
            queueUpdate(0);
            break;
        case kDocumentList:
        case kNoteList: {
            // A new source marks its row and reports it as a click: not a reader's.
            if (filling_)
                break;
            ARendererView* view = id == kDocumentList ? documentList_ : noteList_;
            ARenderer* renderer = view ? view->renderer() : nullptr;
            if (!renderer || renderer->getHitKind() != kLinkHit)
                break;
            AString name = renderer->getHitName();
            id == kDocumentList ? documentClicked(name.c_str()) : noteClicked(name.c_str());
            break;
        }
        case kDeleteNote:
            deleteSelectedNote();
            break;
        case kEditField:
            break;
        case kSave:
            storeEditedText();
            notes()->save();
            return closeWindow();
        case kGoTo: {
            AHiliteRangeMap* set = currentDocument_ >= 0 ? notes()->getMarkerSet(currentDocument_) : nullptr;
            if (selectedNote_ < 0 || !set || !set->findHit(selectedNote_))
                break;
            long position = set->hitStart();
            storeEditedText();
            goToNote(currentDocument_, position);
            notes()->save();
            return closeWindow();
        }
        default:
            return AWindow::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t NotePane::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kDeleteNote:
        case kGoTo:
            return selectedNote_ >= 0 ? 1 : 2;
        case kEditField:
            if (editField_)
                editField_->setVisible(selectedNote_ >= 0);
            return selectedNote_ >= 0 ? 1 : 2;
        case kCollapse:
        case kExpand:
        case kDocumentList:
        case kNoteList:
        case kSave:
            return 1;
        default:
            return AWindow::commandStatus(id, argument);
    }
}

void NotePane::documentClicked(const char* name) {
    if (!name || !*name)
        return;
    long document = std::atol(name);
    if (document == currentDocument_)
        return;
    storeEditedText();
    currentDocument_ = document;
    selectedNote_ = -1;
    refresh();
}

void NotePane::noteClicked(const char* name) {
    if (!name || !*name)
        return;
    storeEditedText();
    selectNoteAt(std::atol(name));
    queueUpdate(0);
}

void NotePane::showNotesOf(long document, long noteId) {
    ANoteManager* manager = notes();
    if (manager->hasMarkerSet(document))
        openingDocument_ = currentDocument_ = document;
    else
        currentDocument_ = -1;
    selectedNote_ = noteId < 0 ? -1 : noteId;
    if (documentsPanel_)
        panelWidth_ = documentsPanel_->getFrame().width();
    if (collapsedBar_)
        barWidth_ = collapsedBar_->getFrame().width();
    refresh();
}

AString NotePane::titleText() {
    if (currentDocument_ < 0)
        return AString();
    AWorkspaceWinApp& app = AWorkspaceWinApp::current();
    std::string text = "///!" + std::to_string(app.getDocIconType(currentDocument_) + 4) + "!/ /D/3";
    text += app.getDocTitle(currentDocument_).c_str();
    return AString(text.c_str());
}

void NotePane::refresh() {
    setLayoutMode(layoutMode_);
    ANoteManager* manager = notes();
    if (manager->documentCount() == 0) {
        queueUpdate(0);
        return;
    }
    auto* rows =
        CheckAlloc(new (std::nothrow) DocumentPostitLineGetter(manager, AWorkspaceWinApp::current().documentBase()),
                   "notepane", __LINE__);
    long row = 0;
    if (currentDocument_ == -1) {
        AString first = rows->getRawLine(0, 0);
        if (!first.empty())
            currentDocument_ = std::atol(first.c_str());
    } else {
        long index = manager->documentIndex(currentDocument_);
        row = index > 0 ? index : 0;
    }
    ShowRows(documentList_, rows, row, filling_);
    if (ARenderer* title = titleView_ ? titleView_->renderer() : nullptr)
        title->setTextModel(titleText().c_str(), nullptr);
    fillNotesList();
    queueUpdate(0);
}

void NotePane::fillNotesList() {
    ANoteManager* manager = notes();
    AHiliteRangeMap* set = currentDocument_ >= 0 && manager->hasMarkerSet(currentDocument_)
                               ? manager->getMarkerSet(currentDocument_)
                               : nullptr;
    if (selectedNote_ < 0 && set && set->count() > 0) {
        set->gotoIndex(0);
        selectedNote_ = set->hitEnd();
    }
    if (selectedNote_ < 0) {
        if (ARenderer* renderer = noteList_ ? noteList_->renderer() : nullptr)
            renderer->setModel(nullptr);
        if (editField_)
            editField_->setText("");
        queueUpdate(0);
        return;
    }
    long index = manager->noteIndex(currentDocument_, selectedNote_);
    ShowRows(noteList_,
             CheckAlloc(new (std::nothrow) PostitLineGetter(manager, currentDocument_), "notepane", __LINE__),
             index > 0 ? index : 0, filling_);
    if (set && index >= 0)
        set->gotoIndex(index);
    Postit* note = noteInList() ? manager->findPostit(selectedNote_) : nullptr;
    if (note && editField_)
        editField_->setText(note->getText().c_str());
}

bool NotePane::noteInList() const {
    return selectedNote_ >= 0 && currentDocument_ >= 0 && notes()->noteIndex(currentDocument_, selectedNote_) >= 0;
}

void NotePane::selectNoteAt(long index) {
    ANoteManager* manager = notes();
    AHiliteRangeMap* set = currentDocument_ >= 0 && manager->hasMarkerSet(currentDocument_)
                               ? manager->getMarkerSet(currentDocument_)
                               : nullptr;
    selectedNote_ = -1;
    if (set && index >= 0 && index < set->count()) {
        set->gotoIndex(index);
        selectedNote_ = set->hitEnd();
    }
    Postit* note = selectedNote_ >= 0 ? manager->findPostit(selectedNote_) : nullptr;
    if (editField_)
        editField_->setText(note ? note->getText().c_str() : "");
}

void NotePane::storeEditedText() {
    if (!editField_ || !noteInList())
        return;
    if (Postit* note = notes()->findPostit(selectedNote_))
        note->setText(editField_->getText().c_str());
}

// The successor is found by the deleted note's own index, not by a cursor
// that a click or the article's renderer may have moved.
void NotePane::deleteSelectedNote() {
    if (selectedNote_ < 0)
        return;
    ANoteManager* manager = notes();
    long index = manager->noteIndex(currentDocument_, selectedNote_);
    storeEditedText();
    manager->deleteNote(openingDocument_, currentDocument_, selectedNote_);
    AHiliteRangeMap* set = manager->hasMarkerSet(currentDocument_) ? manager->getMarkerSet(currentDocument_) : nullptr;
    long left = set ? set->count() : 0;
    selectNoteAt(index < 0 || index >= left ? left : index);
    fillNotesList();
    queueUpdate(0);
}

void NotePane::setLayoutMode(int16_t mode) {
    if (mode != layoutMode_ && notePanel_) {
        layoutMode_ = mode;
        ASizeSpec rule = notePanel_->getSizeSpec();
        long difference = barWidth_ - panelWidth_;
        rule.edges[0].value += static_cast<int32_t>(mode == 1 ? -difference : difference);
        notePanel_->setSizeSpec(rule, true);
    }
    layoutMode_ = mode;
    bool expanded = layoutMode_ == 1;
    if (collapsedBar_)
        collapsedBar_->setVisible(!expanded);
    if (collapsedImage_)
        collapsedImage_->setVisible(!expanded);
    if (documentsPanel_)
        documentsPanel_->setVisible(expanded);
    if (expandedImage_)
        expandedImage_->setVisible(expanded);
}

void NotePane::goToNote(long document, long position) {
    if (document < 0)
        return;
    AWorkspaceWinApp& app = AWorkspaceWinApp::current();
    AppState* current = app.frame() ? app.frame()->currentState() : nullptr;
    if (!current || current->getDocNo() != document)
        GoToDocument(document, false);
    app.showTextPosition(position);
}

NotePane* NotePane::openWindow(long document, long noteId, APane* owner) {
    AApp* app = AApp::current();
    AComponent* root = app ? AComponent::loadLayout(app, "Note", 0) : nullptr;
    void* typed = root ? root->castTo(&NotePane::classRecord) : nullptr;
    if (root && !typed)
        DeleteComponent(root);
    NotePane* window = static_cast<NotePane*>(CheckAlloc(typed, "notepane", __LINE__));
    window->centerIn(nullptr, true);
    window->showNotesOf(document, noteId);
    window->setOwner(owner);
    window->select();
    return window;
}
