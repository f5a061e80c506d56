// The print options dialog: between a print request and its three ways out,
// print now (1010), preview (1012, reusing an open preview) or give up (1015).
// The application's subclass shows its own option items and edits the print
// options object; this class only finds it.
//
// The printed component and the options object are not owned. No display
// component among the dialog's ancestors is the allocation-check error
// ("fpreview" 335, 388 or 384).
#pragma once

#include "framework/app/AWindow.h"

class APrintOptionsDlg : public AWindow {
    SV_DECLARE_CLASS(APrintOptionsDlg)
public:
    enum : int16_t { kPrintCommand = 1010, kPreviewCommand = 1012, kCloseItemCommand = 1015 };

    APrintOptionsDlg();
    ~APrintOptionsDlg() override;

    // The options dialog opened last and still open, or null.
    static APrintOptionsDlg* current() { return current_; }

    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // The options object the items edit; null when nobody supplies one.
    AComponent* optionsObject() const { return options_; }
    ADisplayComponent* printedComponent() const { return printed_; }

private:
    AComponent* options_ = nullptr;         // not owned
    ADisplayComponent* printed_ = nullptr;  // not owned
    static APrintOptionsDlg* current_;
};

// The nearest display component above window, from its parent up; the
// allocation-check error ("fpreview", line) when there is none.
ADisplayComponent* PrintedComponentOf(AComponent* window, long line);
