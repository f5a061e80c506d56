// The input filter of every edit field of the application: a text stops at
// its first byte 0xA9, and TAB, LF and CR become blanks, so that a field's
// text always fits on one line of the stores it is written to.
#pragma once

#include "framework/controls/AEditBox.h"

class ASVEditFilter : public AEditFilter {
public:
    explicit ASVEditFilter(AEditBox* box) : AEditFilter(box) {}

    bool acceptChar(uint16_t character) override { return character != 0xA9; }
    AString filterPasted(const AString& text) override { return Clean(text); }
    static AString Clean(const AString& text);
};
