// The current popup, its queued deletion, and the popup that a click ends.
#include "framework/extras/APopupWin.h"

#include "framework/components/ACommand.h"

SV_IMPLEMENT_CLASS(APopupWin, 147, ADisplayComponent)
SV_IMPLEMENT_CLASS(AClickInGoAway, 148, APopupWin)

APopupWin* APopupWin::current_ = nullptr;

APopupWin::APopupWin() : APopupWin(AComponent::application(), ARect(), true) {}

APopupWin::APopupWin(AComponent* parent, const ARect& frame, bool closeOnDeactivate)
    : ATopWindow(parent, frame), goingAway_(0), closeOnDeactivate_(closeOnDeactivate ? 1 : 0) {
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

void APopupWin::activationChanged(bool on) {
    ATopWindow::activationChanged(on);
    if (!on && closeOnDeactivate_)
        goAway();
}

ACommand* AClickInGoAway::mouseDown(AMouseEvent& event) {
    (void)event;
    goAway();
    return noChangeCommand();
}
