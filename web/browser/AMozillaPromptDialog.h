// The modal dialog of one prompt (layout "AAppMozillaPrompt"): a message, an
// optional text field with its label, optional password rows, an optional
// check box and up to three buttons (940, 941, 942). run fills and trims the
// items from an AMozillaPromptParams, turns the application's loop until a
// button, Escape or the window's close ends it, and answers the button's id
// (941 for Escape and close). The window deletes itself when it closes.
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"
#include "web/embed/AMozillaPromptParams.h"

class AMozillaPromptDialog : public AWindow {
    SV_DECLARE_CLASS(AMozillaPromptDialog)
public:
    enum : int16_t {
        kMessage = 931,
        kUserLabel = 932,
        kValue = 933,
        kPasswordLabel = 934,
        kPassword = 935,
        kCheck = 936,
        kButton0 = 940,
        kButton1 = 941,
        kButton2 = 942,
    };
    // Tests drive a running dialog: called instead of a turn of the loop.
    typedef void (*Step)(AMozillaPromptDialog* dialog);
    static Step setStep(Step step);

    AMozillaPromptDialog() = default;
    ~AMozillaPromptDialog() override;

    void readFrom(AMemoryStream& stream) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* closeWindow() override;

    int16_t run(AMozillaPromptParams& params);
    void setUpFromParams(AMozillaPromptParams& params);
    int16_t checkState() const { return checkState_; }
    int16_t isRunning() const { return state_ ? state_->running : 0; }

private:
    struct RunState {
        int16_t running = 0;
        int16_t result = kButton1;
        bool alive = true;  // cleared by the dialog's destructor
    };
    // Ends the run with the button's id, copying the answers into the params.
    void end(int16_t id);

    int16_t checkState_ = 0;
    RunState* state_ = nullptr;              // the running run's, on its stack
    AMozillaPromptParams* info_ = nullptr;  // not owned; set while running
};
