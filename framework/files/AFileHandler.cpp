// Document file handlers and the File-menu behaviour.
#include "framework/files/AFileHandler.h"

#include <windows.h>

#include <cstdio>

#include "base/procedural/AError.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AApp.h"
#include "framework/app/AppServices.h"
#include "framework/components/AActionTable.h"
#include "framework/components/AKindSet.h"

SV_IMPLEMENT_CLASS(AFileHandler, 322, AComponent)
SV_IMPLEMENT_CLASS(AFileMenuHandler, 323, ABehavior)

namespace {

AFileHandler* gHandlers = nullptr;  // newest first
const long kReleased = 9;           // the change a handler announces when it goes

AFileMenuHandler* MenuHandlerOf(long key) {
    return reinterpret_cast<AFileMenuHandler*>(static_cast<intptr_t>(key));
}

void PostChange(AComponent* component) {
    if (!component)
        return;
    AKindSet kinds;
    kinds.add(0);
    component->notify(kinds);
}

}  // namespace

AString FrameworkMessage(short index, const char* arg) {
    AString format;
    GetListString(format, 129, index);
    char text[1024];
    std::snprintf(text, sizeof text, format.c_str(), arg);
    return AString(text);
}

int FileMessageBox(const AString& text, unsigned flags) {
    if (AApp* app = AApp::current())
        return app->messageBox(text.c_str(), app->title().c_str(), flags, nullptr);
    return SeamMessageBox(MessageBoxOwnerWindow(), text.c_str(), "", flags);
}

AFileHandler::AFileHandler() {
    nextHandler_ = gHandlers;
    gHandlers = this;
}

AFileHandler::AFileHandler(AComponent* parent, int16_t id) : AComponent(parent, id) {
    nextHandler_ = gHandlers;
    gHandlers = this;
}

AFileHandler::~AFileHandler() {
    AKindSet released;
    released.add(kReleased);
    notify(released);
    AFileHandler** link = &gHandlers;
    while (*link && *link != this)
        link = &(*link)->nextHandler_;
    if (!*link)
        ThrowAssert("ffilemgr", 524);
    *link = nextHandler_;
}

ACommand* AFileHandler::readFrom(const AFileSpec&) {
    return noChangeCommand();
}

ACommand* AFileHandler::writeTo(const AFileSpec&) {
    return noChangeCommand();
}

// "Sans Titre" and the number, no space between.
AString AFileHandler::untitledTitle(int16_t number) {
    AString title;
    GetListString(title, 129, 0);
    title += AString(static_cast<long>(number));
    return title;
}

AString AFileHandler::fileTitle(const AFileSpec& file) {
    AString name = file.name();
    return readOnly_ ? FrameworkMessage(10, name.c_str()) : name;
}

AString AFileHandler::closeQuestion(const AString&) {
    return FrameworkMessage(11, documentTitle().c_str());
}

bool AFileHandler::askSaveBeforeClose(const AString& question, bool allowCancel) {
    unsigned flags = (allowCancel ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONQUESTION;
    for (;;) {
        int answer = FileMessageBox(question, flags);
        if (answer == IDNO)
            return true;
        if (answer != IDYES)
            return !allowCancel;
        perform(save());
        if (!file_.empty() && !modified_)
            return true;
        if (allowCancel)
            return false;
    }
}

AFileSpec AFileHandler::askFileName(bool isSaveAs) {
    AFileSpec initial = file_.empty() ? AFileSpec(documentTitle().c_str()) : file_;
    AString title;
    GetListString(title, 129, isSaveAs ? 7 : 8);
    AFileBox box(initial, defaultFilter(), title.c_str());
    return box.ok() ? box.fileSpec() : AFileSpec();
}

AFileFilter AFileHandler::defaultFilter() {
    return AFileFilter::defaultFilter();
}

ACommand* AFileHandler::save() {
    if (readOnly_ || file_.empty())
        return saveAs();
    ACommand* command = writeTo(file_);
    if (!command)
        return noChangeCommand();
    setModified(0);
    return command;
}

ACommand* AFileHandler::saveAs() {
    AFileSpec chosen;
    for (;;) {
        chosen = askFileName(true);
        if (chosen.empty())
            return noChangeCommand();
        if (!findOpen(chosen))
            break;
        FileMessageBox(FrameworkMessage(5, chosen.name().c_str()), MB_ICONINFORMATION);
    }
    int16_t wasReadOnly = readOnly_;
    readOnly_ = 0;
    ACommand* command = writeTo(chosen);
    if (!command) {
        readOnly_ = wasReadOnly;
        return noChangeCommand();
    }
    file_ = chosen;
    setModified(0);
    updateTitles();
    return command;
}

ACommand* AFileHandler::saveCopy() {
    AFileSpec chosen = askFileName(false);
    if (chosen.empty())
        return noChangeCommand();
    ACommand* command = writeTo(chosen);
    return command ? command : noChangeCommand();
}

ACommand* AFileHandler::revert() {
    if (FileMessageBox(FrameworkMessage(9, file_.name().c_str()), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return noChangeCommand();
    setModified(0);
    return readFrom(file_);
}

ACommand* AFileHandler::openFile(const AFileSpec& file) {
    setModified(0);
    ACommand* command = readFrom(file);
    file_ = file;
    updateTitles();
    return command;
}

ACommand* AFileHandler::initUntitled(int16_t number) {
    untitledNumber_ = number;
    updateTitles();
    return noChangeCommand();
}

void AFileHandler::setModified(int16_t flag) {
    if (modified_ == flag)
        return;
    modified_ = flag;
    postRefresh();
}

void AFileHandler::postRefresh() {
    PostChange(getParent());
    for (Pix p = menuHandlers_.first(); p; menuHandlers_.next(p))
        PostChange(MenuHandlerOf(menuHandlers_.keyOf(p))->getParent());
}

AString AFileHandler::documentTitle() {
    return file_.empty() ? untitledTitle(untitledNumber_) : fileTitle(file_);
}

// Each menu handler titles its window through its own fileTitle or untitledTitle.
void AFileHandler::updateTitles() {
    for (Pix p = menuHandlers_.first(); p; menuHandlers_.next(p)) {
        AFileMenuHandler* menu = MenuHandlerOf(menuHandlers_.keyOf(p));
        if (!menu->documentWindow())
            continue;
        menu->setWindowTitle(file_.empty() ? menu->untitledTitle(untitledNumber_) : menu->fileTitle(file_));
    }
}

bool AFileHandler::closeQuery(AFileMenuHandler* asking, bool allowCancel) {
    if (!modified_)
        return true;
    for (Pix p = menuHandlers_.first(); p; menuHandlers_.next(p)) {
        AFileMenuHandler* menu = MenuHandlerOf(menuHandlers_.keyOf(p));
        if (menu != asking && menu->documentWindow())
            return true;
    }
    ADocumentWindow* window = asking ? asking->documentWindow() : nullptr;
    if (!window)
        ThrowAssert("ffilemgr", 731);
    window->showWindow();
    return askSaveBeforeClose(closeQuestion(window->windowTitle()), allowCancel);
}

AFileHandler* AFileHandler::findOpen(const AFileSpec& file) {
    for (AFileHandler* h = gHandlers; h; h = h->nextHandler_)
        if (h->file_ == file)
            return h;
    return nullptr;
}

void AFileHandler::addMenuHandler(AFileMenuHandler* handler) {
    if (!handler)
        ThrowAssert("ffilemgr", 538);
    menuHandlers_.slot(static_cast<long>(reinterpret_cast<intptr_t>(handler)));
}

void AFileHandler::removeMenuHandler(AFileMenuHandler* handler) {
    if (!handler)
        ThrowAssert("ffilemgr", 543);
    menuHandlers_.removeKey(static_cast<long>(reinterpret_cast<intptr_t>(handler)));
}

// The handler: the one of handlerId (or its first handler descendant), else
// the nearest ancestor below the application that is or holds one.
void AFileMenuHandler::setUpItems() {
    ABehavior::setUpItems();
    AFileHandler* found = nullptr;
    if (handlerId_) {
        AComponent* component = getApp()->findById(handlerId_, 0);
        if (!component)
            ThrowAssert("ffilemgr", 342);
        found = static_cast<AFileHandler*>(component->castTo(&AFileHandler::classRecord));
        if (!found)
            found = static_cast<AFileHandler*>(component->findDescendant(&AFileHandler::classRecord, nullptr));
    } else {
        for (AComponent* c = getParent(); c && c != getApp() && !found; c = c->getParent()) {
            found = static_cast<AFileHandler*>(c->castTo(&AFileHandler::classRecord));
            if (!found)
                found = static_cast<AFileHandler*>(c->findDescendant(&AFileHandler::classRecord, nullptr));
        }
    }
    setHandler(found);
}

AFileMenuHandler::~AFileMenuHandler() {
    if (handler_)
        handler_->removeMenuHandler(this);
}

void AFileMenuHandler::detachItems() {
    setHandler(nullptr);
    ABehavior::detachItems();
}

void AFileMenuHandler::setHandler(AFileHandler* handler) {
    if (handler_) {
        handler_->removeMenuHandler(this);
        handler_->removeLink(this);
    }
    handler_ = handler;
    if (handler_) {
        handler_->addLink(this);
        handler_->addMenuHandler(this);
    }
}

void AFileMenuHandler::bindActions() {
    ABehavior::bindActions();
    for (int16_t i = 0; i < 4; ++i)
        getParent()->addAction(static_cast<int16_t>(kSave + i), this, static_cast<int16_t>(commandBase_ + 3 + i),
                               nullptr);
}

ACommand* AFileMenuHandler::doCommand(int16_t id, long argument) {
    if (id < kSave || id > kRevert)
        return ABehavior::doCommand(id, argument);
    if (!handler_)
        ThrowAssert("ffilemgr", 442 + 5 * (id - kSave));
    switch (id) {
        case kSave:
            return handler_->save();
        case kSaveAs:
            return handler_->saveAs();
        case kSaveCopy:
            return handler_->saveCopy();
        default:
            return handler_->revert();
    }
}

int16_t AFileMenuHandler::commandStatus(int16_t id, long argument) {
    if (id < kSave || id > kRevert)
        return ABehavior::commandStatus(id, argument);
    if (!handler_)
        return 2;
    bool on = id == kSave ? handler_->canSave() : id == kRevert ? handler_->canRevert() : handler_->canSaveAs();
    return on ? 1 : 2;
}

void AFileMenuHandler::linkChanged(AComponent* source, const AKindSet& kinds) {
    ABehavior::linkChanged(source, kinds);
    if (source != handler_ || !handler_ || !kinds.contains(kReleased))
        return;
    handler_ = nullptr;
    PostChange(getParent());
}

void AFileMenuHandler::setWindowTitle(const AString& text) {
    ADocumentWindow* window = documentWindow();
    if (!window)
        ThrowAssert("ffilemgr", 419);
    window->setWindowTitle(text);
}

AString AFileMenuHandler::fileTitle(const AFileSpec& file) {
    if (!handler_)
        ThrowAssert("ffilemgr", 432);
    return handler_->fileTitle(file);
}

AString AFileMenuHandler::untitledTitle(int16_t number) {
    if (!handler_)
        ThrowAssert("ffilemgr", 437);
    return handler_->untitledTitle(number);
}

ADocumentWindow* AFileMenuHandler::documentWindow() {
    for (AComponent* c = getParent(); c; c = c->getParent())
        if (auto* window = dynamic_cast<ADocumentWindow*>(c))
            return window;
    return nullptr;
}

bool AFileMenuHandler::canClose(bool allowCancel) {
    return handler_ ? handler_->closeQuery(this, allowCancel) : true;
}

bool AFileMenuHandler::canCloseWindow(AComponent* window, bool allowCancel) {
    auto* menu = static_cast<AFileMenuHandler*>(window->findDescendant(&AFileMenuHandler::classRecord, nullptr));
    return menu ? menu->canClose(allowCancel) : true;
}
