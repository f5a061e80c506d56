// The print options dialog's commands.
#include "framework/preview/APrintOptionsDlg.h"

#include "framework/components/ALayoutLoader.h"
#include "framework/preview/APreviewDlg.h"

SV_IMPLEMENT_CLASS(APrintOptionsDlg, 0, AWindow)

APrintOptionsDlg* APrintOptionsDlg::current_ = nullptr;

APrintOptionsDlg::APrintOptionsDlg() {
    current_ = this;
}

APrintOptionsDlg::~APrintOptionsDlg() {
    // Only this dialog's own slot: an older one closing keeps the newer one findable.
    if (current_ == this)
        current_ = nullptr;
}

// Record: AWindow's, then FFFF (this class adds no field).
void APrintOptionsDlg::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fpreview", 320);
}

void APrintOptionsDlg::setUpItems() {
    AWindow::setUpItems();
    printed_ = PrintedComponentOf(this, 335);
    options_ = findPrintOptions(this);
    if (!options_)
        options_ = printed_->getPrintOptions();
}

void APrintOptionsDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kCloseItemCommand, kPreviewCommand, kPrintCommand})
        addAction(id, this, id, nullptr);
}

ACommand* APrintOptionsDlg::doCommand(int16_t id, long argument) {
    switch (id) {
        case kPrintCommand:
            perform(PrintedComponentOf(this, 388)->print());
            return AWindow::closeWindow();
        case kPreviewCommand:
            if (APreviewDlg* preview = APreviewDlg::current()) {
                preview->countPages();
                preview->goToPage(0, 1);
                preview->select();
            } else {
                perform(PrintedComponentOf(this, 384)->printPreview());
            }
            return AWindow::closeWindow();
        case kCloseItemCommand:
            return AWindow::closeWindow();
        default:
            return AWindow::doCommand(id, argument);
    }
}

int16_t APrintOptionsDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kPrintCommand:
        case kPreviewCommand:
        case kCloseItemCommand:
            return 1;
        default:
            return AWindow::commandStatus(id, argument);
    }
}
