// The current popup, its queued deletion, and the popup that a click ends.
#include "framework/extras/APopupWin.h"

#include "framework/components/ACommand.h"

SV_IMPLEMENT_CLASS(APopupWin, 147, AWindow)
SV_IMPLEMENT_CLASS(AClickInGoAway, 148, APopupWin)

APopupWin* APopupWin::current_ = nullptr;

APopupWin::APopupWin() : APopupWin(AComponent::application(), ARect(), true) {}

APopupWin::APopupWin(AComponent* parent, const ARect& frame, bool closeOnDeactivate)
    : AWindow(parent, 0, ASizeSpec(frame), nullptr, nullptr, kPopup, 0, ARect()),
      goingAway_(0),
      closeOnDeactivate_(closeOnDeactivate ? 1 : 0) {
    replaceCurrent();
}

APopupWin::~APopupWin() {
    if (current_ == this)
        current_ = nullptr;
}

void APopupWin::replaceCurrent() {
    if (AComponent* previous = current_) {
        current_ = nullptr;
        DeleteComponent(previous);
    }
    current_ = this;
}

void APopupWin::goAway() {
    if (goingAway_)
        return;
    goingAway_ = 1;
    perform(new ADeleteComponentCmd(1, this));
}

void APopupWin::activate(bool on) {
    AWindow::activate(on);
    if (!on && closeOnDeactivate_)
        goAway();
}

ACommand* APopupWin::closeWindow() {
    goAway();
    return noChangeCommand();
}

ACommand* AClickInGoAway::mouseDown(AMouseEvent& event) {
    (void)event;
    goAway();
    return noChangeCommand();
}
