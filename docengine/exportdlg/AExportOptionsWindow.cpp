// The export options dialog on screen.
#include "docengine/exportdlg/AExportOptionsWindow.h"

#include <new>

#include "base/object/AMemoryStream.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/files/AFileBox.h"
#include "framework/files/AFileHandler.h"
#include "framework/graphics/ADisplayLock.h"

// Registered under the dialog's name, which the logic's class already holds in C++.
AObject* AExportOptionsWindow::create() {
    return new (std::nothrow) AExportOptionsWindow;
}
static const AClass* const AExportOptionsWindow_parents_[] = {&AWindow::classRecord, nullptr};
AClass AExportOptionsWindow::classRecord("AExportOptionsDlg", &AExportOptionsWindow::create,
                                         AExportOptionsWindow_parents_, 0);
const AClass* AExportOptionsWindow::getClass() const {
    return &classRecord;
}
void* AExportOptionsWindow::castTo(const AClass* cls) {
    if (cls == &classRecord)
        return this;
    return AWindow::castTo(cls);
}

const char* const AExportOptionsWindow::kLayoutName = "AExportOptionsDlg";

AExportOptionsWindow::AExportOptionsWindow() : logic_(nullptr, this, 1) {}

AExportOptionsWindow::~AExportOptionsWindow() = default;

AExportOptionsWindow* AExportOptionsWindow::openDialog(AComponent* parent) {
    return dynamic_cast<AExportOptionsWindow*>(AComponent::loadLayout(parent, kLayoutName, 0));
}

void AExportOptionsWindow::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "gexport", 700);
}

// The buttons are the window's own items: their hits come here as commands.
void AExportOptionsWindow::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {int16_t(AExportOptionsDlg::kExportCommand), int16_t(AExportOptionsDlg::kCloseCommand)})
        addAction(id, this, id, ownActionTable());
}

ACommand* AExportOptionsWindow::doCommand(int16_t id, long argument) {
    closing_ = false;
    if (!logic_.doCommand(id))
        return AWindow::doCommand(id, argument);
    return closing_ ? closeWindow() : noChangeCommand();
}

int16_t AExportOptionsWindow::commandStatus(int16_t id, long argument) {
    return logic_.isEnabled(id) ? 1 : AWindow::commandStatus(id, argument);
}

bool AExportOptionsWindow::askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName,
                                       const char* title, AFileSpec* chosen) {
    AFileBox box(proposed, AFileFilter(pattern, typeName), title);
    if (!box.ok())
        return false;
    *chosen = box.fileSpec();
    return true;
}

bool AExportOptionsWindow::exportRtfFile(const AFileSpec& file, uint16_t whole) {
    ADrawLock lock(this);
    return target_ && target_->exportRtfFile(file, whole);
}

void AExportOptionsWindow::showMessage(const AString& text, unsigned flags) {
    FileMessageBox(text, flags);
}
