// The centred panes and their clicks.
#include "app/find/CenterPane.h"

#include "app/frame/Frame1.h"
#include "framework/app/AApp.h"
#include "framework/display/ASizing.h"

SV_IMPLEMENT_CLASS(CenterPane, 0, SVPane)
SV_IMPLEMENT_CLASS(GoAwayPane, 0, CenterPane)
SV_IMPLEMENT_CLASS(CredPane, 0, CenterPane)

ASizeSpec CenterPane::centredRule(const APoint& size) {
    const int32_t w = size.x, h = size.y;
    const int32_t hw = w / 2, hh = h / 2;
    const uint16_t mode = 0x1440, aux = 0x1000;
    AEdge left{}, top{}, right{}, bottom{};
    left.set(-hw, mode, aux);
    top.set(-hh, mode, aux);
    right.set(w - hw, mode, aux);
    bottom.set(h - hh, mode, aux);
    return ASizeSpec::fromEdges(left, top, right, bottom);
}

void CenterPane::setUpItems() {
    SVPane::setUpItems();
    setSizeSpec(centredRule(getSize()), true);
}

ACommand* GoAwayPane::mouseDown(AMouseEvent& event) {
    (void)event;
    getFrame()->goBack(1);
    return noChangeCommand();
}

ACommand* CredPane::mouseDown(AMouseEvent& event) {
    (void)event;
    AApp* app = AApp::current();
    return app ? app->quitRequest() : noChangeCommand();
}
