// The wait box: a borderless top-level window with a black drop shadow (a
// 2-pixel strip right and at the bottom) around a centred message area.
//
// Its text style (text-style resource 100) is owned by the box.
#pragma once

#include "framework/app/AWindow.h"

class ATextBox;
class ATextStyle;

class _AWaitBox : public AWindow {
    SV_DECLARE_CLASS(_AWaitBox)
public:
    _AWaitBox() : _AWaitBox(200) {}
    explicit _AWaitBox(int32_t width);
    ~_AWaitBox() override;

    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    ATextBox* textBox() const { return textBox_; }
    ATextStyle* style() const { return style_; }

private:
    ATextBox* textBox_;   // a child, or null
    ATextStyle* style_;   // owned
    ATextStyle* shadow_;  // owned: the strips' black
};
