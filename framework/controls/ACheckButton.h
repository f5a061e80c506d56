// Two-state buttons: ACheckButton holds the label and the first checked
// state; ARadioButton and ACheckBox are native buttons of the non-automatic
// kinds, so only the owner's setting of state bit 0x0004 moves their mark.
//
// The button owns its native control; errors as AControl's ("fcontrol").
#pragma once

#include "framework/controls/AControl.h"

class ACheckButton : public AButton {
    SV_DECLARE_CLASS(ACheckButton)
public:
    ACheckButton() = default;
    ACheckButton(AComponent* parent, int16_t id, const ASizeSpec& rule, bool checked, const char* label);

    // Record: AButton's, checked u16, label string, FFFF.
    void readFrom(AMemoryStream& stream) override;
    const AString& label() const { return label_; }

protected:
    // The BWCC kind when the application's look asks for it, else the standard one.
    static bool libraryLook();

private:
    AString label_;
};

class ARadioButton : public ACheckButton {
    SV_DECLARE_CLASS(ARadioButton)
public:
    using ACheckButton::ACheckButton;
    ARadioButton() = default;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
};

class ACheckBox : public ACheckButton {
    SV_DECLARE_CLASS(ACheckBox)
public:
    using ACheckButton::ACheckButton;
    ACheckBox() = default;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
};
