// The progress window of long tasks: the task's text, a bar in a box, a count
// and an "Annuler" button, all built in code over text style 100 on light
// grey. Its cancel only marks the dialog: the task sees it at its next step.
//
// Children belong to the component tree; the fields are cleared when a child
// goes. Allocation failures raise AMemError with this file's name.
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class AProgressBar;
class ASizerBox;
class AStaticText;
class ATextButton;

class AProgressDialog : public AWindow {
    SV_DECLARE_CLASS(AProgressDialog)
public:
    enum : int16_t { kTextId = 2101, kBoxId = 2102, kBarId = 2103, kCountId = 2104, kCancelId = 2 };

    AProgressDialog() : AProgressDialog(300) {}
    explicit AProgressDialog(int16_t width);

    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    // Marks the dialog cancelled and leaves it open.
    ACommand* cancel() override;

    // Count label = text; the bar shows value of total (total must be above 0).
    void setProgress(long value, long total, const char* text);

    AStaticText* textLabel() const { return text_; }
    AStaticText* countLabel() const { return count_; }
    AProgressBar* bar() const { return bar_; }
    ASizerBox* box() const { return box_; }
    ATextButton* cancelButton() const { return button_; }
    int16_t width() const { return width_; }
    int16_t cancelled() const { return cancelled_; }

private:
    AStaticText* text_ = nullptr;    // a child, or null
    AStaticText* count_ = nullptr;   // a child, or null
    AProgressBar* bar_ = nullptr;    // a child of box_, or null
    ATextButton* button_ = nullptr;  // a child, or null
    ASizerBox* box_ = nullptr;       // a child, or null
    int16_t width_;
    int16_t cancelled_ = 0;
};
