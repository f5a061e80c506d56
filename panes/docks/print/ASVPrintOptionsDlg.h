// The print sheet ("ImpOption"): the option panel of its mode over a picture
// of the option labels, each click written at once into the main window's
// print options ("print.prf"); OK opens the preview (text mode) or prints,
// ANNULER closes and keeps the clicks.
//
// The options object is not owned: the one given by setOptions, else the
// application's (setMainOptions). A layout without one of the option items,
// or with one of another class, is the allocation-check error ("appclass").
#pragma once

#include <cstdint>

#include "framework/preview/APrintOptionsDlg.h"
#include "panes/docks/print/AOptionSheet.h"

class AIconButton;

class ASVPrintOptionsDlg : public APrintOptionsDlg {
    SV_DECLARE_CLASS(ASVPrintOptionsDlg)
public:
    enum : int16_t { kText = 0, kImage = 1, kWebPage = 2, kFlash = 3 };
    static constexpr const char* kLayoutName = "ImpOption";

    ASVPrintOptionsDlg() = default;

    // Where sheets without options of their own find the print options (null: none).
    static void setMainOptions(ALongDicInfo* (*source)()) { mainOptions_ = source; }
    // Loads "ImpOption" under parent in the given mode; null when the layout makes none.
    static ASVPrintOptionsDlg* openSheet(AComponent* parent, int16_t mode);

    // Shows the panel of the mode (0 text; 1 and 3 media; 2 web page); other values change no panel.
    void setMode(int16_t mode);
    int16_t mode() const { return mode_; }
    void setOptions(ALongDicInfo* options);
    const AOptionSheet& sheet() const { return sheet_; }

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

private:
    AOptionSheet sheet_{AOptionSheet::kPrint};
    int16_t mode_ = kText;
    AIconButton* items_[17] = {};  // not owned: the layout's option items
    static ALongDicInfo* (*mainOptions_)();
};

// Has the framework ask the component's command states again and redraw its items.
void RequestItemUpdate(AComponent* component);
// The option items of the sheets, found as icon buttons drawn over their panel picture.
void PrepareOptionItems(AComponent* window, const int16_t* ids, int count, AIconButton** out, long line);
