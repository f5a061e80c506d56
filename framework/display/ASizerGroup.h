// Layout-only containers: the sizer group (children placed by their sizing
// rules, no background of its own), the sizer box (outlines around the
// group, one of them while the command target is inside) and the grow box
// (a native size-box grip).
//
// The grow box owns its control window from attachItems to detachItems. A
// missing end mark in a layout record is the loader's error ("fdisplay",
// lines 2570, 2617, 2741).
#pragma once

#include "framework/display/ADisplayComponent.h"

class ASizerGroup : public ADisplayComponent {
    SV_DECLARE_CLASS(ASizerGroup)
public:
    ASizerGroup() = default;
    ASizerGroup(AComponent* parent, int16_t id, const ASizeSpec& rule) : ADisplayComponent(parent, id, rule) {}
    // Record: the display component's part, then FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
};

class ASizerBox : public ASizerGroup {
    SV_DECLARE_CLASS(ASizerBox)
public:
    enum : uint16_t { kInnerOutline = 1, kTargetOutline = 2 };
    ASizerBox() = default;
    ASizerBox(AComponent* parent, int16_t id, const ASizeSpec& rule) : ASizerGroup(parent, id, rule) {}
    // Record: the sizer group's part, then options u16, then FFFF.
    void readFrom(AMemoryStream& stream) override;
    bool isTargetScope() override { return true; }
    void activeChanged(int16_t on) override;
    // The frame grown by 4 on every side: the ring the outlines are drawn in.
    ARect getOuterFrame() override;
    void drawBorder(const ARect& bounds, long a, long b) override;

    uint16_t options() const { return options_; }
    void setOptions(uint16_t options) { options_ = options; }

private:
    uint16_t options_ = kInnerOutline | kTargetOutline;
};

class AGrowBox : public ASizerGroup {
    SV_DECLARE_CLASS(AGrowBox)
public:
    AGrowBox() = default;
    AGrowBox(AComponent* parent, int16_t id, const ASizeSpec& rule) : ASizerGroup(parent, id, rule) {}
    // Record: the sizer group's part, then FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    HWND control() const { return control_; }

private:
    HWND control_ = nullptr;  // owned: the size box
};
