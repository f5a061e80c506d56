// A message area: a static text drawn in its style's font and colours,
// centred with item flag 2, used by the help box and the wait box.
//
// The box draws its text itself (flag 0x20: never a native control), centred
// vertically too. The style is not owned: its owner keeps it alive while the
// box lives.
#pragma once

#include "framework/clusters/AStaticItem.h"

class ATextStyle;

class ATextBox : public AStaticText {
    SV_DECLARE_CLASS(ATextBox)
public:
    enum : uint16_t { kCentred = 0x0002, kNativeStatic = 0x0020 };

    ATextBox();
    ATextBox(AComponent* parent, const ASizeSpec& rule, uint16_t itemFlags);

    AString text() { return getText(); }
    // style: not owned; null falls back to the parent's environment.
    void setDisplayEnv(ATextStyle* style) { style_ = style; }
    ATextStyle* ownDisplayEnv() override { return style_ ? style_ : AStaticText::ownDisplayEnv(); }

    // The box draws with its style's font, else the display's: it resolves
    // none, so it needs no application font.
    void displayEnvChanged(ATextStyle* style, uint8_t mask) override { AStaticItem::displayEnvChanged(style, mask); }
    long drawContent(const ARect& rect) override;

private:
    ATextStyle* style_ = nullptr;  // not owned
};
