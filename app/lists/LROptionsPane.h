// A result list with an options panel above its rows: panel 2500 opens and
// closes with the options buttons 2530 and 2531, of which one at most shows
// (2531 when the subclass has a choice set, 2530 otherwise); the panel
// pushes the list area down by its height. The subclasses fill in the
// hooks: what the left part of a state brings back, whether a choice is
// set, the choices' refresh and the buttons' caption.
//
// Panel 2500 is a required item (allocation check "layout"); the buttons
// are required when the caption is written.
#pragma once

#include "app/lists/LRPane.h"

class ALeftState;

class LROptionsPane : public LRNbResPane {
    SV_DECLARE_CLASS(LROptionsPane)
public:
    enum : int16_t { kPanelId = 2500, kOptionsCommand = 2530, kChoiceOptionsCommand = 2531 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    // 2530 and 2531 open or close the panel.
    ACommand* doCommand(int16_t id, long argument) override;
    // 2530 and 2531: shown and 1 (5 while open), or hidden and 2.
    int16_t commandStatus(int16_t id, long argument) override;
    // A state from the history or a clone hands its left part to takeLeftState
    // (else none); then the choices are refreshed and the panel laid out.
    void updatePane() override;

    virtual void takeLeftState(ALeftState* left) { (void)left; }
    virtual int16_t hasOptionChoice() { return 0; }
    // reason 0: a new list or screen, 1: the display changed.
    virtual void refreshChoices(int16_t reason) { (void)reason; }
    virtual AString optionLabel() { return AString("Todo"); }

    void layoutOptions();
    void updateOptionLabels();

    int16_t optionsOpen = 0;

protected:
    AStaticItem* optionsPanel = nullptr;  // item 2500, not owned
};
