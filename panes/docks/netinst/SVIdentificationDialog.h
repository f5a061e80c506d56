// The identification dialog of network installations ("Identification"): the
// reader types a name (8102) and chooses OK (an existing reader) or
// "Nouveau" (8103, a new reader); once the application accepts the name the
// work-name dialog asked for opens and this one closes. A refused name leaves
// the dialog open; the application said why.
//
// The frame is not owned and must outlive the dialog; a missing 8101 is an
// assertion ("svident").
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/app/AWindow.h"

class Frame1;

class SVIdentificationDialog : public AWindow {
    SV_DECLARE_CLASS(SVIdentificationDialog)
public:
    enum : int16_t { kMessageItem = 8101, kNameItem = 8102, kNewItem = 8103 };

    SVIdentificationDialog() = default;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    void setFrame(Frame1* frame) { frame_ = frame; }
    void setMessage(const char* text);
    void setMode(int16_t mode) { mode_ = mode; }
    void setPendingMode(int16_t mode) { setMode(mode); }
    int16_t mode() const { return mode_; }
    AString getUserName() { return getItemText(kNameItem); }

private:
    int16_t mode_ = 0;
    Frame1* frame_ = nullptr;  // not owned
};
