// The callback of the history popup: the chosen row's key goes back to the
// frame, which returns to the state the key names.
//
// The frame is not owned: it owns the callback.
#pragma once

#include <cstdint>

#include "app/popup/APopupTreeCallBack.h"

class Frame1;

class APopupTreeCallBackHisto : public APopupTreeCallBack {
public:
    explicit APopupTreeCallBackHisto(Frame1* frame);
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;

private:
    Frame1* frame_;  // not owned
};
