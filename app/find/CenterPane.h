// Centred panes: CenterPane keeps itself centred in its parent from its
// set-up on (its sizing rule becomes offsets from the parent's centre,
// clamped into the parent), GoAwayPane is a centred overlay whose click
// takes the reader back, CredPane one whose click starts the quit.
#pragma once

#include "app/frame/SVPane.h"

class CenterPane : public SVPane {
    SV_DECLARE_CLASS(CenterPane)
public:
    CenterPane() = default;

    void attachItems() override { SVPane::attachItems(); }
    // SVPane's set-up, then the centring rule, applied at once.
    void setUpItems() override;
    void detachItems() override { SVPane::detachItems(); }

    // The centring rule of a pane of this size: edges -w/2, -h/2, w - w/2,
    // h - h/2 from the parent's centre (mode 0x1440, aux 0x1000).
    static ASizeSpec centredRule(const APoint& size);
};

class GoAwayPane : public CenterPane {
    SV_DECLARE_CLASS(GoAwayPane)
public:
    // The frame goes back one state.
    ACommand* mouseDown(AMouseEvent& event) override;
};

class CredPane : public CenterPane {
    SV_DECLARE_CLASS(CredPane)
public:
    // The pane walk stops here.
    void updatePane() override {}
    // The application's quit.
    ACommand* mouseDown(AMouseEvent& event) override;
};
