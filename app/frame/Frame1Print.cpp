// The main window's option files and its print and export entry points,
// which hand over to the application's printing (gFramePrinting).
#include "app/frame/Frame1.h"

#include "app/frame/AFramePrinting.h"
#include "app/frame/AFrameServices.h"
#include "docengine/export/AExportOptions.h"
#include "framework/printing/APrinterOptions.h"

AFramePrinting* gFramePrinting = nullptr;

namespace {
const char kPrintFile[] = "print.prf";
const char kExportFile[] = "export.prf";
}  // namespace

APrinterOptions* Frame1::getPrintOptionsFile() {
    if (!printOptions_) {
        AString folder = FrameServices().printFilesFolder();
        printOptions_.reset(folder.empty() ? new APrinterOptions(kPrintFile)
                                           : new APrinterOptions(AFileSpec(folder.c_str()), kPrintFile));
    }
    return printOptions_.get();
}

AExportOptions* Frame1::getExportOptions() {
    if (!exportOptions_) {
        AString folder = FrameServices().printFilesFolder();
        // The framework's default place is where "print.prf" goes: the same for both files.
        AFileSpec file = folder.empty() ? AFileSpec(kExportFile) : AFileSpec(AFileSpec(folder.c_str()), kExportFile);
        exportOptions_.reset(new AExportOptions(file));
    }
    return exportOptions_.get();
}

void Frame1::releaseOptionFiles() {
    // The destructors save; a failed save leaves the old file as it was.
    printOptions_.reset();
    exportOptions_.reset();
}

void Frame1::findHeaderText(AString& out, ADisplayComponent*) {
    out = AString();
}

ACommand* Frame1::printDocument(int16_t kind, SVPane* pane) {
    return gFramePrinting ? gFramePrinting->printDocument(*this, kind, pane) : noChangeCommand();
}

ACommand* Frame1::printCommand(int16_t kind) {
    return gFramePrinting ? gFramePrinting->printCommand(*this, kind) : noChangeCommand();
}

void Frame1::exportCommand() {
    if (gFramePrinting)
        gFramePrinting->exportCommand(*this);
}

void Frame1::exportRtf() {
    if (gFramePrinting)
        gFramePrinting->exportRtf(*this);
}
