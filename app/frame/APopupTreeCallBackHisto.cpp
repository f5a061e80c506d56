// The history popup's callback.
#include "app/frame/APopupTreeCallBackHisto.h"

#include "app/frame/Frame1.h"

APopupTreeCallBackHisto::APopupTreeCallBackHisto(Frame1* frame) : APopupTreeCallBack(frame), frame_(frame) {}

void APopupTreeCallBackHisto::itemChosen(const char*, const char* name, int16_t, PopupTree*) {
    frame_->historyLineChosen(name);
}
