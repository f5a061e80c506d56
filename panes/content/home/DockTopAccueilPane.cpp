// The home top dock: last connection and the four buttons.
#include "panes/content/home/DockTopAccueilPane.h"

#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AIconButton.h"
#include "panes/content/article/AContentApp.h"

SV_IMPLEMENT_CLASS(DockTopAccueilPane, 0, SVPane)

const char* const DockTopAccueilPane::kNever = "Jamais connect\xE9";

namespace {

// The buttons with their tooltips in list 6007.
const struct {
    int16_t id;
    int16_t tip;
} kButtons[] = {{DockTopAccueilPane::kOnline, 43},
                {DockTopAccueilPane::kHelp, 44},
                {DockTopAccueilPane::kAssist, 46},
                {DockTopAccueilPane::kPreferences, 45}};

}  // namespace

void DockTopAccueilPane::attachItems() {
    SVPane::attachItems();
    getFrame()->setHomeTopDock(this);
}

void DockTopAccueilPane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kDate, false);
    date_ = CheckAlloc(item ? static_cast<AStaticText*>(item->castTo(&AStaticText::classRecord)) : nullptr,
                       "DockTopAccueilPane", __LINE__);
    for (const auto& button : kButtons) {
        AClusterItem* b = findItem(button.id, false);
        CheckAlloc(b ? b->castTo(&AIconButton::classRecord) : nullptr, "DockTopAccueilPane", __LINE__);
        setItemHelp(button.id, 6007, button.tip, 0);
    }
    showLastConnection();
}

void DockTopAccueilPane::detachItems() {
    if (getFrame()->paneSlots().homeTopDock == this)
        getFrame()->setHomeTopDock(nullptr);
    date_ = nullptr;
    SVPane::detachItems();
}

void DockTopAccueilPane::bindActions() {
    SVPane::bindActions();
    for (const auto& button : kButtons)
        addAction(button.id, this, button.id, nullptr);
}

ACommand* DockTopAccueilPane::doCommand(int16_t id, long argument) {
    switch (id) {
        case kOnline:
            if (gFrameServices)
                gFrameServices->openWebHome(0);
            queueUpdate(0);
            break;
        case kHelp:
            getFrame()->openHelp();
            break;
        case kAssist:
            getFrame()->openAssist();
            break;
        case kPreferences:
            getFrame()->openPreferences();
            break;
        default:
            return SVPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DockTopAccueilPane::commandStatus(int16_t id, long argument) {
    for (const auto& button : kButtons)
        if (button.id == id)
            return 1;
    return SVPane::commandStatus(id, argument);
}

int16_t DockTopAccueilPane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() == 0 ? 1 : 0;
}

void DockTopAccueilPane::showLastConnection() {
    if (!date_)
        return;
    AString date = AContentApp::current().lastConnection();
    date_->setText(date.empty() ? kNever : date.c_str());
}
