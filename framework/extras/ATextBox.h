// A message area: a text drawn in its style's font and colours, centred with
// item flag 2, used by the help box and the wait box.
//
// The text is drawn by the box itself until the native static controls
// exist. The style is not owned: its owner keeps it alive while the box lives.
#pragma once

#include "base/object/AString.h"
#include "framework/display/ADisplayComponent.h"

class ATextStyle;

class ATextBox : public ADisplayComponent {
    SV_DECLARE_CLASS(ATextBox)
public:
    enum : uint16_t { kCentred = 0x0002, kNativeStatic = 0x0020 };

    ATextBox();
    ATextBox(AComponent* parent, const ASizeSpec& rule, uint16_t itemFlags);

    void setText(const char* text);
    const AString& text() const { return text_; }
    uint16_t itemFlags() const { return itemFlags_; }
    // style: not owned; null falls back to the parent's environment.
    void setDisplayEnv(ATextStyle* style) { style_ = style; }
    ATextStyle* ownDisplayEnv() override { return style_; }

    long drawContent(const ARect& rect) override;

private:
    AString text_;
    uint16_t itemFlags_;
    ATextStyle* style_;  // not owned
};
