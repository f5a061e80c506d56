// The print sheet.
#include "panes/docks/print/ASVPrintOptionsDlg.h"

#include "base/procedural/AError.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AIconButton.h"
#include "framework/files/AOptionsInfo.h"

SV_IMPLEMENT_CLASS(ASVPrintOptionsDlg, 0, APrintOptionsDlg)

ALongDicInfo* (*ASVPrintOptionsDlg::mainOptions_)() = nullptr;

namespace {
const int16_t kOptionItems[] = {6110, 6111, 6118, 6119, 6120, 6115, 6116, 6117, 6130,
                                6131, 6140, 6141, 6142, 6143, 6144};
const int16_t kPanels[] = {6001, 6002, 6003};
}  // namespace

void RequestItemUpdate(AComponent* component) {
    AKindSet kinds;
    kinds.add(0);
    component->notify(kinds);
}

void PrepareOptionItems(AComponent* window, const int16_t* ids, int count, AIconButton** out, long line) {
    for (int i = 0; i < count; ++i) {
        AComponent* found = window->findById(ids[i], 0);
        auto* button = found ? static_cast<AIconButton*>(found->castTo(&AIconButton::classRecord)) : nullptr;
        out[i] = CheckAlloc(button, "appclass", line);
        out[i]->setOffscreen(true, false);
    }
}

ASVPrintOptionsDlg* ASVPrintOptionsDlg::openSheet(AComponent* parent, int16_t mode) {
    auto* sheet = dynamic_cast<ASVPrintOptionsDlg*>(AComponent::loadLayout(parent, kLayoutName, 0));
    if (sheet)
        sheet->setMode(mode);
    return sheet;
}

void ASVPrintOptionsDlg::setMode(int16_t mode) {
    mode_ = mode;
    int shown = mode == kText ? 0 : mode == kImage || mode == kFlash ? 1 : mode == kWebPage ? 2 : -1;
    if (shown < 0)
        return;
    for (int i = 0; i < 3; ++i) {
        auto* panel = dynamic_cast<ADisplayComponent*>(findById(kPanels[i], 0));
        if (!panel)
            continue;
        if (i == shown)
            panel->show(true);
        else
            panel->hide(true);
    }
}

void ASVPrintOptionsDlg::setOptions(ALongDicInfo* options) {
    sheet_.setOptions(options);
    sheet_.load();
    RequestItemUpdate(this);
}

void ASVPrintOptionsDlg::setUpItems() {
    APrintOptionsDlg::setUpItems();
    PrepareOptionItems(this, kOptionItems, int(sizeof kOptionItems / sizeof *kOptionItems), items_, 60);
    if (!sheet_.options() && mainOptions_)
        sheet_.setOptions(mainOptions_());
    sheet_.load();
}

void ASVPrintOptionsDlg::bindActions() {
    APrintOptionsDlg::bindActions();
    for (int16_t id : {6110, 6111, 6115, 6116, 6117, 6118, 6119, 6120, 6130, 6131})
        addAction(id, this, id, ownActionTable());
}

ACommand* ASVPrintOptionsDlg::doCommand(int16_t id, long argument) {
    if (id == kPrintCommand)
        return APrintOptionsDlg::doCommand(mode_ == kText ? kPreviewCommand : kPrintCommand, argument);
    if (sheet_.click(id)) {
        RequestItemUpdate(this);
        return noChangeCommand();
    }
    return APrintOptionsDlg::doCommand(id, argument);
}

int16_t ASVPrintOptionsDlg::commandStatus(int16_t id, long argument) {
    if (id == kPrintCommand || AOptionSheet::isOptionItem(AOptionSheet::kPrint, id))
        return sheet_.status(id);
    return APrintOptionsDlg::commandStatus(id, argument);
}
