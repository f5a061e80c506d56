// The dossier window: its lists, its commands and the opening of documents.
#include "panes/docks/workspacewin/DossierWin.h"

#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/lists/ASVEditFilter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AApp.h"
#include "framework/app/AppServices.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "panes/docks/workspacewin/WorkspaceWinSupport.h"

SV_IMPLEMENT_CLASS(DossierWin, 0, AWindow)

DossierWin* DossierWin::theWindow_ = nullptr;

namespace {

const uint16_t kTexts = 6002;
const uint16_t kTooltips = 6005;
const char kTitle[] = "Dossiers";
const int16_t kLinkHit = 3;
const int16_t kDocInfoTable = 0;

AString ListText(uint16_t list, short index) {
    AString text;
    return GetListString(text, list, index);
}

template <class T>
void Release(T*& held) {
    if (held)
        held->release();
    held = nullptr;
}

}  // namespace

DossierWin::~DossierWin() {
    Release(dossierRows_);
    Release(elementRows_);
    if (theWindow_ == this)
        theWindow_ = nullptr;
}

AListRenderer* DossierWin::listRenderer(ARendererView* view) const {
    ARenderer* renderer = view ? view->renderer() : nullptr;
    return renderer ? static_cast<AListRenderer*>(renderer) : nullptr;
}

void DossierWin::setUpItems() {
    AWindow::setUpItems();
    dossierList_ = RequiredItem<ARendererView>(this, kDossierList, "dossierwin");
    nameField_ = RequiredItem<AEditBox>(this, kNameField, "dossierwin");
    elementList_ = RequiredItem<ARendererView>(this, kElementList, "dossierwin");
    RequiredItem<AClusterItem>(this, kClose, "dossierwin");
    // One line of the store per name: tabs and line breaks become spaces.
    nameField_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(nameField_), "dossierwin", __LINE__));
    for (ARendererView* view : {dossierList_, elementList_}) {
        if (AListRenderer* renderer = AListApp::current().createListRenderer(view, 1, 3))
            renderer->listOptions |= 1;
        view->addLink(this);
    }
}

void DossierWin::detachItems() {
    Release(dossierRows_);
    Release(elementRows_);
    dossierList_ = elementList_ = nullptr;
    nameField_ = nullptr;
    AWindow::detachItems();
}

void DossierWin::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kNew, kCopy, kDelete, kDeleteElement, kNameField, kDossierList, kElementList, kRename, kClose})
        addAction(id, this, id, nullptr);
}

ACommand* DossierWin::doCommand(int16_t id, long argument) {
    switch (id) {
        case kNew:
            if (manager_ && !manager_->isFull())
                newDossier();
            break;
        case kCopy:
            copyDossier();
            break;
        case kDelete:
            deleteDossier();
            break;
        case kDeleteElement:
            deleteElement();
            break;
        case kNameField:
            // Putting the name into the field reports it too: only the reader's edits rename.
            if (!showingName_)
                setDossierName();
            break;
        case kRename:
            setDossierName();
            break;
        case kDossierList: {
            // A new source marks its row and reports it as a click: not a reader's.
            if (rebuilding_)
                break;
            ARenderer* renderer = dossierList_ ? dossierList_->renderer() : nullptr;
            long dossier = -1;
            if (renderer && renderer->getHitKind() == kLinkHit)
                dossier = IdAfterLastHash(renderer->getHitName().c_str());
            else if (renderer && renderer->currentItem() >= 0)
                dossier = dossierIdAt(renderer->currentItem());
            // In its scroller the list reports each layout of its rows as well:
            // selecting the dossier shown again would lay them out again, without end.
            if (dossier >= 0 && dossier != shownDossierId())
                selectDossier(dossier, 1);
            break;
        }
        case kElementList:
            if (!rebuilding_)
                openElement(elementList_ ? elementList_->renderer() : nullptr);
            break;
        case kClose:
            return closeWindow();
        default:
            return AWindow::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DossierWin::commandStatus(int16_t id, long argument) {
    bool current = manager_ && manager_->getCurrentDossier();
    switch (id) {
        case kCopy:
        case kDelete:
            return current && selectedDossierRow() >= 0 ? 1 : 2;
        case kDeleteElement:
            return current && elementCount_ > 0 && selectedElementRow() >= 0 ? 1 : 2;
        case kNew:
        case kNameField:
        case kDossierList:
        case kElementList:
        case kClose:
            return 1;
        case kRename:
            return selectedDossierRow() >= 0 ? 1 : 2;
        default:
            return AWindow::commandStatus(id, argument);
    }
}

void DossierWin::linkChanged(AComponent* source, const AKindSet& kinds) {
    if (elementList_ && source == elementList_)
        queueUpdate(0);
    AWindow::linkChanged(source, kinds);
}

ACommand* DossierWin::closeWindow() {
    if (!canClose(true))
        return noChangeCommand();
    if (theWindow_ == this)
        theWindow_ = nullptr;
    return doClose();
}

void DossierWin::setManager(ADossierManager* manager) {
    manager_ = manager;
    rebuildDossiers_ = 1;
}

void DossierWin::refreshLists() {
    if (!manager_)
        ThrowAssert("dossierwin", __LINE__);
    Dossier* shown = manager_->getCurrentDossier();
    if (!shown)
        shown = manager_->getDossierAt(0);
    if (!shown)
        ThrowAssert("dossierwin", __LINE__);
    struct Rebuilding {
        int16_t& flag;
        explicit Rebuilding(int16_t& f) : flag(f) { flag = 1; }
        ~Rebuilding() { flag = 0; }
    } rebuilding(rebuilding_);
    if (rebuildDossiers_) {
        rebuildDossiers_ = 0;
        Release(dossierRows_);
        dossierRows_ = CheckAlloc(new (std::nothrow) ADossierLineGetter(manager_), "dossierwin", __LINE__);
        dossierRows_->addRef();
        if (AListRenderer* renderer = listRenderer(dossierList_)) {
            renderer->setSourceModel(dossierRows_, nullptr);
            renderer->enableTables('*');
            renderer->selectRow(lineOfDossier(shown), 0, 0, -1);
        }
        rebuildElements_ = 1;
    }
    if (rebuildElements_) {
        rebuildElements_ = 0;
        Release(elementRows_);
        ASearchBase* base = AWorkspaceWinApp::current().documentBase();
        if (base) {
            elementRows_ = CheckAlloc(new (std::nothrow) ADossierElementLineGetter(base, kDocInfoTable, shown),
                                      "dossierwin", __LINE__);
            elementRows_->addRef();
            elementCount_ = static_cast<int16_t>(elementRows_->getLineCount());
        } else {
            elementCount_ = 0;
        }
        AListRenderer* renderer = listRenderer(elementList_);
        if (renderer && elementCount_ > 0) {
            renderer->setSourceModel(elementRows_, nullptr);
            renderer->enableTables('*');
            if (pendingReference_ != -1) {
                renderer->selectRow(lineOfElement(pendingReference_, pendingKind_), 0, 0, -1);
                pendingReference_ = -1;
            } else {
                renderer->showLine(0);
            }
        } else if (renderer) {
            renderer->setModel(nullptr);
        }
    }
    static const int16_t kButtons[] = {kNew, kCopy, kDelete, kDeleteElement, kRename};
    for (int i = 0; i < 5; ++i)
        if (AClusterItem* button = findItem(kButtons[i], false))
            button->setHelpText(ListText(kTooltips, static_cast<short>(i)).c_str(), 0);
    if (dossierList_)
        dossierList_->invalidate();
    if (elementList_)
        elementList_->invalidate();
    showCurrentName();
    queueUpdate(0);
}

long DossierWin::shownDossierId() const {
    Dossier* shown = manager_ ? manager_->getCurrentDossier() : nullptr;
    if (!shown && manager_)
        shown = manager_->getDossierAt(0);
    return shown ? shown->getId() : -1;
}

void DossierWin::showCurrentName() {
    if (!nameField_)
        return;
    Dossier* current = manager_ ? manager_->getCurrentDossier() : nullptr;
    showingName_ = 1;
    nameField_->setText(current ? current->getName().c_str() : "");
    showingName_ = 0;
}

long DossierWin::selectedDossierRow() const {
    AListRenderer* renderer = listRenderer(dossierList_);
    return renderer && dossierRows_ ? renderer->currentItem() : -1;
}

long DossierWin::selectedElementRow() const {
    AListRenderer* renderer = listRenderer(elementList_);
    return renderer && elementRows_ && elementCount_ > 0 ? renderer->currentItem() : -1;
}

long DossierWin::dossierIdAt(long row) {
    if (!dossierRows_)
        return -1;
    AString text = dossierRows_->getRawLine(row, row);
    long id = IdAfterLastHash(text.c_str());
    if (id < 0 && !text.empty())
        ThrowAssert("dossierwin", __LINE__);
    return id;
}

long DossierWin::lineOfDossier(const Dossier* dossier) {
    long count = dossierRows_ ? dossierRows_->getLineCount() : 0;
    for (long row = 0; dossier && row < count; ++row)
        if (dossierIdAt(row) == dossier->getId())
            return row;
    return 0;
}

// Rows follow the dossier's elements one for one.
long DossierWin::lineOfElement(long reference, int16_t kind) {
    Dossier* shown = manager_ ? manager_->getCurrentDossier() : nullptr;
    if (!shown && manager_)
        shown = manager_->getDossierAt(0);
    long count = shown ? shown->elements().count() : 0;
    for (long row = 0; row < count; ++row) {
        DossierElement* element = shown->elements().elementAt(row);
        if (element && element->reference == reference && element->kind == kind)
            return row;
    }
    return 0;
}

void DossierWin::selectDossier(long id, int16_t rebuild) {
    if (!manager_ || !manager_->findDossier(id))
        return;
    manager_->setCurrentId(id);
    if (rebuild)
        rebuildDossiers_ = 1;
    refreshLists();
}

void DossierWin::newDossier() {
    Dossier* dossier = manager_->createDossier(ADossierManager::getDefaultName(), 0);
    rebuildDossiers_ = 1;
    selectDossier(dossier->getId(), 1);
}

void DossierWin::setDossierName() {
    long row = selectedDossierRow();
    Dossier* dossier = row >= 0 && manager_ ? manager_->findDossier(dossierIdAt(row)) : nullptr;
    if (!dossier || !nameField_ || dossier->getName() == nameField_->getText())
        return;
    dossier->setName(nameField_->getText().c_str());
    rebuildDossiers_ = 1;
    refreshLists();
}

void DossierWin::copyDossier() {
    long row = selectedDossierRow();
    Dossier* source = row >= 0 && manager_ ? manager_->findDossier(dossierIdAt(row)) : nullptr;
    if (!source)
        return;
    Dossier* copy = manager_->createDossier(MakeCopyName(source->getName().c_str()).c_str(), 0);
    for (long i = 0; i < source->elements().count(); ++i)
        if (DossierElement* element = source->elements().elementAt(i))
            copy->addElement(CheckAlloc(new (std::nothrow) DossierElement(*element), "dossierwin", __LINE__));
    // The counts tell which documents and web pages a dossier still holds.
    manager_->recount();
    manager_->save();
    selectDossier(copy->getId(), 1);
}

void DossierWin::deleteDossier() {
    long row = selectedDossierRow();
    Dossier* dossier = row >= 0 && manager_ ? manager_->findDossier(dossierIdAt(row)) : nullptr;
    if (!dossier)
        return;
    AWorkspaceWinApp& app = AWorkspaceWinApp::current();
    std::string question = ListText(kTexts, 0).c_str();
    question += std::string(dossier->getName().c_str()) + " ?";
    if (app.messageBox(question.c_str(), kTitle, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (manager_->getCurrentId() == dossier->getId())
        manager_->setCurrentId(-1);
    manager_->removeDossier(dossier->getId());
    if (manager_->getDossierCount() == 0) {
        app.messageBox(
            "Le dernier dossier a \xE9t\xE9 d\xE9truit.\nUn nouveau dossier par d\xE9"
            "faut va \xEAtre ajout\xE9",
            kTitle, MB_OK);
        manager_->createDossier(ADossierManager::getDefaultName(), 1);
        rebuildDossiers_ = 1;
        selectDossier(manager_->getDossierAt(0)->getId(), 1);
    } else if (manager_->getCurrentId() == -1) {
        rebuildDossiers_ = 1;
        long next = row < manager_->getDossierCount() ? row : 0;
        selectDossier(manager_->getDossierAt(next)->getId(), 1);
    } else {
        rebuildDossiers_ = 1;
        refreshLists();
    }
}

void DossierWin::deleteElement() {
    Dossier* current = manager_ ? manager_->getCurrentDossier() : nullptr;
    long row = selectedElementRow();
    if (!current || row < 0 || row >= current->elements().count())
        return;
    if (AWorkspaceWinApp::current().messageBox(ListText(kTexts, 1).c_str(), kTitle, MB_OKCANCEL | MB_ICONQUESTION) !=
        IDOK)
        return;
    manager_->removeElementAt(current, row, 0);
    rebuildElements_ = 1;
    refreshLists();
}

void DossierWin::openElement(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != kLinkHit)
        return;
    AString name = renderer->getHitName();
    if (name.empty())
        return;
    if (name.c_str()[0] == '@') {
        openOnlinePage(std::atol(name.c_str() + 1));
        return;
    }
    long reference = std::atol(name.c_str());
    AWorkspaceWinApp& app = AWorkspaceWinApp::current();
    if (app.docIsMedia(reference)) {
        app.openMediaWindow(reference, 0, 0);
        queueUpdate(0);
    } else {
        openDocument(reference);
    }
}

void DossierWin::openOnlinePage(long number) {
    if (number >= 0)
        GoToDocument(number, true);
}

void DossierWin::openDocument(long reference) {
    Frame1* frame = AWorkspaceWinApp::current().frame();
    AppState* current = frame ? frame->currentState() : nullptr;
    if (reference >= 0 && !(current && current->getDocNo() == reference))
        GoToDocument(reference, false);
}

DossierWin* DossierWin::show(ADossierManager* manager, long reference, int16_t kind) {
    if (!manager)
        ThrowAssert("dossierwin", __LINE__);
    DossierWin* window = theWindow_;
    if (!window) {
        AApp* app = AApp::current();
        AComponent* root = app ? AComponent::loadLayout(app, "Dossier", 0) : nullptr;
        void* typed = root ? root->castTo(&DossierWin::classRecord) : nullptr;
        if (root && !typed)
            DeleteComponent(root);
        window = static_cast<DossierWin*>(CheckAlloc(typed, "dossierwin", __LINE__));
        theWindow_ = window;
        window->setManager(manager);
    } else {
        window->rebuildDossiers_ = 1;
        // A minimised window comes back as it was.
        if (HWND hwnd = window->getHWnd(); hwnd && IsIconic(hwnd))
            ShowWindow(hwnd, SW_RESTORE);
    }
    // Set before the rebuild, so that the element just added is the one selected.
    window->setPendingElement(reference, kind);
    window->refreshLists();
    window->centerIn(nullptr, true);
    window->select();
    return window;
}
