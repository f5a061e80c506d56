// The export sheet.
#include "panes/docks/print/ASVExportOptionsDlg.h"

#include "docengine/export/AExportOptions.h"
#include "docengine/render/ARendererViews.h"
#include "framework/controls/AIconButton.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/ASVPrintOptionsDlg.h"
#include "panes/docks/print/ASVRendererExporter.h"

SV_IMPLEMENT_CLASS(ASVExportOptionsDlg, 0, AExportOptionsWindow)

namespace {
const int16_t kOptionItems[] = {6110, 6111, 6118, 6119, 6120, 6115, 6116, 6117};
}  // namespace

ASVExportOptionsDlg* ASVExportOptionsDlg::openSheet(AComponent* parent) {
    return dynamic_cast<ASVExportOptionsDlg*>(AComponent::loadLayout(parent, kLayoutName, 0));
}

void ASVExportOptionsDlg::setExportOptions(AExportOptions* options) {
    setOptions(options);
    sheet_.setOptions(options);
}

void ASVExportOptionsDlg::setView(ARendererView* view, APrintSources* sources, AStyleSheet* partSheet) {
    view_ = view;
    sources_ = sources;
    partSheet_ = partSheet;
}

void ASVExportOptionsDlg::loadOptions() {
    sheet_.load();
}

void ASVExportOptionsDlg::refreshItems() {
    RequestItemUpdate(this);
}

void ASVExportOptionsDlg::setUpItems() {
    AExportOptionsWindow::setUpItems();
    PrepareOptionItems(this, kOptionItems, int(sizeof kOptionItems / sizeof *kOptionItems), items_, 40);
}

void ASVExportOptionsDlg::bindActions() {
    AExportOptionsWindow::bindActions();
    for (int16_t id : {6110, 6111, 6115, 6116, 6117, 6118, 6119, 6120})
        addAction(id, this, id, ownActionTable());
}

void ASVExportOptionsDlg::installExporter() {
    ARendererLayer* layer = view_ ? view_->rendererLayer() : nullptr;
    if (!layer || !sheet_.options())
        return;
    auto* exporter = new ASVRendererExporter(sheet_.options(), sources_, partSheet_);
    exporter->setLayer(layer);
    layer->setExportProvider(exporter);  // the layer keeps the reference
}

ACommand* ASVExportOptionsDlg::doCommand(int16_t id, long argument) {
    if (id == AExportOptionsDlg::kExportCommand) {
        installExporter();
        setWhole(sheet_.options() && sheet_.options()->getLong(PrintKey::kSelectionOnly) ? 0 : 1);
        return AExportOptionsWindow::doCommand(id, argument);
    }
    if (sheet_.click(id)) {
        refreshItems();
        return noChangeCommand();
    }
    return AExportOptionsWindow::doCommand(id, argument);
}

int16_t ASVExportOptionsDlg::commandStatus(int16_t id, long argument) {
    if (id == AExportOptionsDlg::kExportCommand || AOptionSheet::isOptionItem(AOptionSheet::kExport, id))
        return sheet_.status(id);
    return AExportOptionsWindow::commandStatus(id, argument);
}

bool ASVExportOptionsDlg::exportRtfFile(const AFileSpec& file, uint16_t whole) {
    return view_ && view_->exportRtfFile(file.path().c_str(), whole != 0);
}
