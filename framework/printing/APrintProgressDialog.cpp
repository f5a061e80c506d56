// The print progress window: its cancel stops the job at the next check.
#include "framework/printing/APrintProgressDialog.h"

#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/printing/APrinter.h"

SV_IMPLEMENT_CLASS(APrintProgressDialog, 146, AWindow)

// Record: AWindow's, then FFFF (this class adds no field).
void APrintProgressDialog::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fprinter", 1510);
}

void APrintProgressDialog::attach(APrinter* printer) {
    printer_ = printer;
    centerIn(nullptr, false);
    showUpdate();
    if (HWND window = getHWnd())
        UpdateWindow(window);
}

ACommand* APrintProgressDialog::closeWindow() {
    if (!printer_)
        ThrowAssert("fprinter", 1562);
    printer_->cancel();
    return noChangeCommand();
}
