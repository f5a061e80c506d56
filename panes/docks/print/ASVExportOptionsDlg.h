// The export sheet ("Export"): the text panel of the print sheet for the
// export, each click written at once into "export.prf"; EXPORTER installs the
// reader's exporter on the article view and lets the export dialog ask for
// the RTF file and write it; ANNULER closes and keeps the clicks.
//
// Options, view, sources and the parts' sheet are not owned and must outlive
// the dialog. A layout without one of the option items, or with one of
// another class, is the allocation-check error ("appclass").
#pragma once

#include "docengine/exportdlg/AExportOptionsWindow.h"
#include "panes/docks/print/AOptionSheet.h"

class AIconButton;
class APrintSources;
class ARendererView;
class AStyleSheet;

class ASVExportOptionsDlg : public AExportOptionsWindow, public AExportTarget {
    SV_DECLARE_CLASS(ASVExportOptionsDlg)
public:
    static constexpr const char* kLayoutName = "Export";
    static constexpr int16_t kId = 1000;  // the layout's root

    ASVExportOptionsDlg() { AExportOptionsWindow::setTarget(this); }

    // Loads "Export" under parent; null when the layout makes none.
    static ASVExportOptionsDlg* openSheet(AComponent* parent);

    void setExportOptions(AExportOptions* options);
    void setView(ARendererView* view, APrintSources* sources, AStyleSheet* partSheet);
    // Reads keys 1, 2, 3, 5, 6, 7 and 9 into the sheet (8 is read when clicked).
    virtual void loadOptions();
    void refreshItems();
    const AOptionSheet& sheet() const { return sheet_; }

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // AExportTarget: the article view's RTF export.
    bool exportRtfFile(const AFileSpec& file, uint16_t whole) override;

private:
    void installExporter();

    AOptionSheet sheet_{AOptionSheet::kExport};
    ARendererView* view_ = nullptr;     // not owned
    APrintSources* sources_ = nullptr;  // not owned
    AStyleSheet* partSheet_ = nullptr;  // not owned
    AIconButton* items_[8] = {};        // not owned
};
