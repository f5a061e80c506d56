// File choosers and openers.
#include "framework/files/AFileChooser.h"

#include <windows.h>

#include "base/procedural/AError.h"
#include "framework/components/AActionTable.h"
#include "framework/files/AFileHandler.h"

SV_IMPLEMENT_CLASS(AFileChooser, 320, ABehavior)
SV_IMPLEMENT_CLASS(AFileOpener, 321, AComponent)

namespace {

AFileOpener* gOpeners = nullptr;  // attach order
int16_t gUntitledCount = 0;

}  // namespace

AFileOpener::~AFileOpener() {
    unlink();
}

void AFileOpener::attachItems() {
    AComponent::attachItems();
    AFileOpener** tail = &gOpeners;
    while (*tail)
        tail = &(*tail)->next_;
    *tail = this;
    next_ = nullptr;
}

void AFileOpener::detachItems() {
    if (!unlink())
        ThrowAssert("ffilemgr", 202);
    AComponent::detachItems();
}

bool AFileOpener::unlink() {
    for (AFileOpener** link = &gOpeners; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            next_ = nullptr;
            return true;
        }
    }
    return false;
}

AFileOpener* AFileOpener::find(int16_t id) {
    for (AFileOpener* o = gOpeners; o; o = o->next_)
        if (id == 0 || o->id() == id)
            return o;
    return nullptr;
}

AFileOpener* AFileOpener::findFor(const AFileSpec& file) {
    for (AFileOpener* o = gOpeners; o; o = o->next_)
        if (o->canOpen(file))
            return o;
    return nullptr;
}

AFileHandler* AFileOpener::openReadOnlyCopy(const AFileSpec& file) {
    if (FileMessageBox(FrameworkMessage(6, file.name().c_str()), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return nullptr;
    AFileHandler* handler = makeDocumentFor(file);
    if (!handler)
        ThrowAssert("ffilemgr", 229);
    handler->setReadOnly(1);
    return handler;
}

ACommand* AFileOpener::open(const AFileSpec& file) {
    if (AFileHandler::findOpen(file)) {
        AFileHandler* copy = openReadOnlyCopy(file);
        return copy ? copy->openFile(file) : noChangeCommand();
    }
    AFileHandler* handler = makeDocumentFor(file);
    if (!handler)
        ThrowAssert("ffilemgr", 247);
    return handler->openFile(file);
}

ACommand* AFileOpener::newDocument() {
    AFileHandler* handler = makeDocument();
    if (!handler)
        ThrowAssert("ffilemgr", 254);
    return handler->initUntitled(++gUntitledCount);
}

void AFileChooser::bindActions() {
    ABehavior::bindActions();
    getParent()->addAction(kNew, this, commandBase_, nullptr);
    getParent()->addAction(kOpen, this, static_cast<int16_t>(commandBase_ + 1), nullptr);
}

// The trigger code is the record's base plus its offset.
int AFileChooser::matches(int16_t id, long argument) const {
    if (id != kNew && id != kOpen)
        return -1;
    const AActionRecord* record = ActionRecordOf(argument);
    if (!record)
        return 0;
    long code = record->f2 + record->f3;
    if (id == kNew && code == commandBase_)
        return 1;
    if (id == kOpen && code == commandBase_ + 1)
        return 2;
    return 0;
}

ACommand* AFileChooser::doCommand(int16_t id, long argument) {
    switch (matches(id, argument)) {
        case 1:
            return newDocument();
        case 2:
            return chooseAndOpen();
        case 0:
            return nullptr;
        default:
            return ABehavior::doCommand(id, argument);
    }
}

int16_t AFileChooser::commandStatus(int16_t id, long argument) {
    switch (matches(id, argument)) {
        case 1:
            return canCreate() ? 1 : 2;
        case 2:
            return canOpen() ? 1 : 2;
        case 0:
            return 0;
        default:
            return ABehavior::commandStatus(id, argument);
    }
}

ACommand* AFileChooser::chooseAndOpen() {
    AFileOpener* opener = nullptr;
    if (openerId_ && !(opener = AFileOpener::find(openerId_)))
        ThrowAssert("ffilemgr", 125);
    AFileSpec file = chooseFile(opener);
    if (file.empty())
        return noChangeCommand();
    if (opener ? !opener->canOpen(file) : !(opener = AFileOpener::findFor(file))) {
        reportWrongType(file);
        return noChangeCommand();
    }
    return opener->open(file);
}

ACommand* AFileChooser::newDocument() {
    AFileOpener* opener = AFileOpener::find(openerId_);
    if (!opener)
        ThrowAssert("ffilemgr", 151);
    return opener->newDocument();
}

AFileSpec AFileChooser::chooseFile(AFileOpener*) {
    AOpenFileBox box(defaultFilter(), nullptr, nullptr);
    return box.ok() ? box.fileSpec() : AFileSpec();
}

void AFileChooser::reportWrongType(const AFileSpec& file) {
    FileMessageBox(FrameworkMessage(4, file.name().c_str()), MB_ICONINFORMATION);
}
