// The find dialog "Rechercher un mot" (layout "RechDialog"): a text field and
// the previous, next and cancel buttons, talking to the SearchPane it was
// loaded under. The field (item 4201) is not owned; the pane is found at
// set-up (a dialog outside a SearchPane, or an item 4201 that is no edit
// box, fails the allocation check, source SVPane). The dialog deletes itself
// when it closes and tells the pane first.
#pragma once

#include "framework/app/AWindow.h"

class AEditBox;
class SearchPane;

class FindDialog : public AWindow {
    SV_DECLARE_CLASS(FindDialog)
public:
    enum : int16_t { kFieldId = 4201, kPreviousId = 4202, kNextId = 4203 };

    FindDialog() = default;

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* closeWindow() override;

    AEditBox* findField() const { return findField_; }
    SearchPane* searchPane() const { return pane_; }

private:
    AEditBox* findField_ = nullptr;  // not owned
    SearchPane* pane_ = nullptr;     // not owned
};
