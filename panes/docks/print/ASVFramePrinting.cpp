// The main window's print and export commands for the reader.
#include "panes/docks/print/ASVFramePrinting.h"

#include "app/frame/Frame1.h"
#include "app/frame/SVPane.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/export/AExportOptions.h"
#include "docengine/export/AExportOptionsDlg.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AOpenWindows.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/files/AFileBox.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/printing/APrinterOptions.h"
#include "framework/resources/AResource.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/ASVExportOptionsDlg.h"
#include "panes/docks/print/ASVRendererPrinter.h"
#include "web/browser/AMozillaView.h"

AFileSpec AReaderPrintServices::personalFolder() {
    return PersonalFolder();
}

bool AReaderPrintServices::askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName,
                                       const char* title, AFileSpec* chosen) {
    AFileBox box(proposed, AFileFilter(pattern, typeName), title);
    if (!box.ok())
        return false;
    *chosen = box.fileSpec();
    return true;
}

bool AReaderPrintServices::openFlashPreview(SVPane* pane) {
    (void)pane;
    return false;
}

bool AReaderPrintServices::exportList(ARendererView* list, const AFileSpec& file, long lines) {
    ARenderer* renderer = list ? list->renderer() : nullptr;
    if (!renderer || !renderer->model())
        return false;
    // Lines 0 to lines - 1: the message promises that many, not one more.
    renderer->model()->setSelection(ADocRange{0, lines}, 0);
    return list->exportRtfFile(file.path().c_str(), false);
}

ARendererView* ASVFramePrinting::ViewOf(SVPane* pane) {
    if (!pane)
        return nullptr;
    if (auto* view = dynamic_cast<ARendererView*>(static_cast<AComponent*>(pane)))
        return view;
    if (ARendererView* view = pane->printedView())
        return view;
    return static_cast<ARendererView*>(pane->findDescendant(&ARendererView::classRecord, nullptr));
}

bool ASVFramePrinting::LayoutExists(const char* name) {
    return AResource(uint16_t(kLayoutType), name).exists();
}

long ASVFramePrinting::currentDoc() const {
    AppState* state = frame_ ? frame_->currentState() : nullptr;
    return state ? state->getDocNo() : -1;
}

AString ASVFramePrinting::contentsText() {
    if (!frame_)
        return AString();
    // The article pane is the print and the export pane at once.
    SVPane* pane = frame_->activePrintPane() ? frame_->activePrintPane() : frame_->activeExportPane();
    return pane ? pane->printedContents() : AString();
}

AString ASVFramePrinting::notesText() {
    long doc = currentDoc();
    return doc >= 0 ? services_->notesText(doc) : AString();
}

AString ASVFramePrinting::docTitle() {
    long doc = currentDoc();
    return doc >= 0 ? services_->docTitle(doc) : AString();
}

void ASVFramePrinting::writeOpenerKeys(Frame1& frame, ARendererView* view, ALongDicInfo& options, bool forExport) {
    frame_ = &frame;
    long doc = currentDoc();
    ARenderer* renderer = view ? view->renderer() : nullptr;
    ADocRange selection = renderer && renderer->model() ? renderer->model()->GetSelection() : ADocRange{0, 0};
    bool hasSelection = selection.end > selection.start;
    WriteOpenerKeys(options, hasSelection, doc >= 0 && services_->hasContents(doc), doc >= 0 && services_->hasNote(doc),
                    forExport);
}

ACommand* ASVFramePrinting::printCommand(Frame1& frame, int16_t mode) {
    frame_ = &frame;
    if (SVPane* pane = frame.activePrintPane())
        return frame.printDocument(mode, pane);
    // The Flash preview's layout is looked up first: without it the command does nothing.
    if (frame.flashPane() && LayoutExists("ImpFlash")) {
        services_->openFlashPreview(frame.flashPane());
        return AComponent::noChangeCommand();
    }
    if (SVPane* html = frame.htmlPane()) {
        if (LayoutExists("ImpNet")) {
            auto* dialog = dynamic_cast<ADisplayComponent*>(AComponent::loadLayout(html, "ImpNet", 0));
            if (dialog) {
                dialog->centerIn(html, true);
                dialog->show(true);
            }
        }
    }
    return AComponent::noChangeCommand();
}

ACommand* ASVFramePrinting::printDocument(Frame1& frame, int16_t mode, SVPane* pane) {
    frame_ = &frame;
    ARendererView* view = ViewOf(pane);
    ARendererLayer* layer = view ? view->rendererLayer() : nullptr;
    if (!layer || !layer->getRenderer() || !layer->getRenderer()->model())
        return AComponent::noChangeCommand();
    APrinterOptions* options = frame.getPrintOptionsFile();
    writeOpenerKeys(frame, view, *options, false);
    auto* printer = new ASVRendererPrinter(options, this);
    layer->setPrinter(printer);
    AString header("/|");
    header += docTitle();
    printer->setHeaderText(header, view, services_->styleSheet(2));
    const long margins[4] = {0, 30, 0, 30};
    for (int i = 0; i < 4; ++i)
        printer->margins[i] = margins[i];
    switch (mode) {
    case 0:
        return view->print();
    case 1:
        return view->printPreview();
    case 2:
        return view->printOptions();
    default:
        return AComponent::noChangeCommand();
    }
}

void ASVFramePrinting::exportCommand(Frame1& frame) {
    frame_ = &frame;
    if (SVPane* pane = frame.activeExportPane()) {
        doExport(frame, pane);
        return;
    }
    // A web or HTML page is saved by its browser view, with its files or alone.
    AComponent* found = frame.htmlPane() ? frame.htmlPane()->findDescendant(&AMozillaView::classRecord, nullptr) : nullptr;
    if (found)
        static_cast<AMozillaView*>(found->castTo(&AMozillaView::classRecord))->savePageAs();
}

void ASVFramePrinting::doExport(Frame1& frame, SVPane* pane) {
    ARendererView* view = ViewOf(pane);
    if (!view || !view->renderer() || !view->renderer()->model())
        return;
    if (SelectOpenWindow(&frame, ASVExportOptionsDlg::kId, &ASVExportOptionsDlg::classRecord))
        return;
    AExportOptions* options = frame.getExportOptions();
    writeOpenerKeys(frame, view, *options, true);
    ASVExportOptionsDlg* dialog = CheckAlloc(ASVExportOptionsDlg::openSheet(&frame), "frame1", 1040);
    dialog->setExportOptions(options);
    dialog->setView(view, this, services_->styleSheet(2));
    dialog->loadOptions();
    dialog->refreshItems();
    dialog->select();
    dialog->centerIn(nullptr, true);
    dialog->show(true);
}

void ASVFramePrinting::exportRtf(Frame1& frame) {
    frame_ = &frame;
    ARendererView* list = ViewOf(frame.activeListPane());
    if (!list)
        return;
    AExportOptions* options = frame.getExportOptions();
    AFileSpec start = options->getFolder();
    if (start.empty())
        start = services_->personalFolder();
    AFileSpec chosen;
    if (!services_->askSaveFile(AFileSpec(start, "resultats.rtf"), "*.rtf", "Fichier RTF", "Enregistrer sous", &chosen))
        return;
    ADrawLock lock(&frame);
    AFileSpec folder = chosen.parent(false);
    long lines = frame.maxExportLines();
    AString limit("L'export sera limit\xE9 aux ");
    limit += AString(std::to_string(lines).c_str());
    limit += " premi\xE8res lignes.";
    services_->message(limit, 0x40);
    if (!services_->exportList(list, chosen, lines)) {
        AString failed("Impossible d'ouvrir ");
        failed += chosen.path();
        services_->message(failed, 0x30);
    }
    if (folder != start)
        options->setFolder(folder);
}
