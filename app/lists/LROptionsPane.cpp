// The options panel of a result list and its two buttons.
#include "app/lists/LROptionsPane.h"

#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"

SV_IMPLEMENT_CLASS(LROptionsPane, 0, LRNbResPane)

void LROptionsPane::readFrom(AMemoryStream& stream) {
    LRNbResPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 1080);
}

void LROptionsPane::setUpItems() {
    LRNbResPane::setUpItems();
    optionsPanel = CheckAlloc(itemAs<AStaticItem>(kPanelId), "layout", 1091);
}

void LROptionsPane::detachItems() {
    optionsPanel = nullptr;
    LRNbResPane::detachItems();
}

void LROptionsPane::bindActions() {
    LRNbResPane::bindActions();
    addAction(kOptionsCommand, this, kOptionsCommand, nullptr);
    addAction(kChoiceOptionsCommand, this, kChoiceOptionsCommand, nullptr);
}

ACommand* LROptionsPane::doCommand(int16_t id, long argument) {
    if (id != kOptionsCommand && id != kChoiceOptionsCommand)
        return LRNbResPane::doCommand(id, argument);
    optionsOpen = optionsOpen ? 0 : 1;
    layoutOptions();
    return noChangeCommand();
}

int16_t LROptionsPane::commandStatus(int16_t id, long argument) {
    if (id != kOptionsCommand && id != kChoiceOptionsCommand)
        return LRNbResPane::commandStatus(id, argument);
    AppState* state = currentState();
    bool room = state && state->getScreenMode() == 4 && state->fSalle == 2;
    bool shown = !room && !isListEmpty() && count != 0 && ((id == kChoiceOptionsCommand) == (hasOptionChoice() != 0));
    if (AIconButton* button = itemAs<AIconButton>(id))
        button->setVisible(shown);
    if (!shown)
        return 2;
    return optionsOpen ? 5 : 1;
}

void LROptionsPane::updatePane() {
    LRNbResPane::updatePane();
    ALeftState* left = leftState();
    takeLeftState(left && (left->fHisto || left->fClone) ? left : nullptr);
    refreshChoices(0);
    layoutOptions();
}

void LROptionsPane::layoutOptions() {
    if (!optionsPanel)
        ThrowAssert("layout", 1172);
    if (!listArea)
        ThrowAssert("layout", 1173);
    ASizeSpec rule = listArea->getSizeSpec();
    ARect panel = optionsPanel->getFrame();
    if (optionsOpen) {
        optionsPanel->show(false);
        rule.edges[1].value = panel.bottom() - panel.top() + 1;
    } else {
        optionsPanel->hide(false);
        rule.edges[1].value = 0;
    }
    listArea->setSizeSpec(rule, true);
    listArea->show(false);
    updateOptionLabels();
    queueUpdate(0);
}

void LROptionsPane::updateOptionLabels() {
    AString label = optionLabel();
    CheckAlloc(itemAs<AIconButton>(kOptionsCommand), "layout", 1201)->setText(label.c_str());
    CheckAlloc(itemAs<AIconButton>(kChoiceOptionsCommand), "layout", 1203)->setText(label.c_str());
}
