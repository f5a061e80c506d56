// The chronology screen's left dock.
#include "panes/content/chrono/DockLeftChronoPane.h"

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/components/AActionTable.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"

SV_IMPLEMENT_CLASS(DockLeftChronoPane, 0, SVPane)

namespace {

const char kFile[] = "DockLeftChronoPane";

}  // namespace

bool IsChronoScreen(AppState* state) {
    ALeftState* left = state ? state->getLeftState() : nullptr;
    return left && state->getScreenMode() == 1 && left->fMode == DockLeftChronoPane::kChronoLeftKind;
}

void DockLeftChronoPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockLeftChronoPane", 40);
}

void DockLeftChronoPane::attachItems() {
    SVPane::attachItems();
    CheckAlloc(getFrame(), "DockLeftChronoPane", 50);
    // The left dock also stands in main windows without the reading screen's
    // switcher (the left dock's own layouts): there it has no one to tell.
    switcher_ = DockLCRPane::around(this);
    if (switcher_)
        switcher_->setLink(DockLCRPane::kDockLeftChrono, this);
}

void DockLeftChronoPane::setUpItems() {
    SVPane::setUpItems();
    document_ = requiredItem<AIconButton>(kDocument, kFile, 60);
    chrono_ = requiredItem<AIconButton>(kChrono, kFile, 61);
    setItemHelp(kByTheme, 6007, 53, 0);
    setItemHelp(kByKeyword, 6007, 54, 0);
    setItemHelp(kListView, 6007, 56, 0);
}

void DockLeftChronoPane::bindActions() {
    SVPane::bindActions();
    addActionRange(kModeChoice, this, kByTheme, kByKeyword, nullptr);
    for (int16_t id : {kDocument, kChrono, kListView})
        addAction(id, this, id, nullptr);
}

ACommand* DockLeftChronoPane::doCommand(int16_t id, long argument) {
    AppState* state = currentState();
    switch (id) {
        case kModeChoice: {
            int16_t value = ActionRangeIndex(argument);
            if (value != mode_ && (value == 0 || value == 1)) {
                mode_ = value;
                if (ALeftState* left = leftState())
                    left->fUserInfo.slot(kModeEntry) = value + 1;
                queueUpdate(0);
                updatePane();
            }
            break;
        }
        case kDocument:
            if (state)
                state->fTemporaire = 1;
            AContentApp::current().showDocument(-1);
            queueUpdate(0);
            break;
        case kChrono:
            if (state)
                state->fTemporaire = 1;
            AContentApp::current().showDocumentIfOpen(-1);
            queueUpdate(0);
            break;
        case kListView:
            getFrame()->goToListView();
            queueUpdate(0);
            break;
        default:
            return SVPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DockLeftChronoPane::commandStatus(int16_t id, long argument) {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    switch (id) {
        case kModeChoice:
            return ActionRangeIndex(argument) == mode_ ? 5 : 1;
        case kDocument:
        case kChrono: {
            bool shown = doc && ((doc->fDocType == 7) == (id == kChrono));
            AIconButton* button = id == kChrono ? chrono_ : document_;
            if (button)
                button->setVisible(shown);
            return shown ? 1 : 2;
        }
        case kListView: {
            long docNo = doc && state ? state->getDocNo() : -1;
            return doc && doc->fDocType == 1 && docNo < 0 ? 2 : 1;
        }
        default:
            return SVPane::commandStatus(id, argument);
    }
}

int16_t DockLeftChronoPane::isPaneWanted() {
    return IsChronoScreen(currentState()) ? 1 : 0;
}

void DockLeftChronoPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    if (ALeftState* left = leftState()) {
        long& entry = left->fUserInfo.slot(kModeEntry);
        if (entry != 1 && entry != 2)
            entry = 1;
    }
}

void DockLeftChronoPane::updatePane() {
    if (ALeftState* left = leftState()) {
        long entry = left->fUserInfo.slot(kModeEntry);
        mode_ = static_cast<int16_t>(entry == 2 ? 1 : 0);
    }
    SVPane::updatePane();
    queueUpdate(0);
}
