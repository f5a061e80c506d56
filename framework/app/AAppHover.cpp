// Hover help: the help box shows the help of the item under the mouse once
// the mouse rests there, and hides it when the mouse leaves the help.
#include "framework/app/AApp.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/windows/ANativeWindow.h"

namespace {

// The mouse in the application's coordinates: the screen less the MDI client's origin.
APoint MouseInApplication() {
    POINT p = {0, 0};
    GetCursorPos(&p);
    POINT origin = {0, 0};
    if (HWND client = GetMdiClientWindow())
        ClientToScreen(client, &origin);
    return APoint(p.x - origin.x, p.y - origin.y);
}

}  // namespace

void AApp::createHelpBox() {
    if (helpBox_)
        return;
    AObject* made = AClass::createByName("AHelpBox");
    auto* box = dynamic_cast<AComponent*>(made);
    auto* tips = dynamic_cast<AHelpTips*>(made);
    if (!box || !tips) {
        delete made;
        return;
    }
    AObject::completeNew(box);
    helpBox_ = box;
    helpTips_ = tips;
}

bool AApp::helpBoxShown() const {
    return helpTips_ && helpTips_->tipShown();
}

void AApp::stopHoverTimer() {
    if (!hoverTimerId_)
        return;
    restartTimer(this, hoverTimerId_);
    hoverTimerId_ = 0;
}

void AApp::armHover() {
    stopHoverTimer();
    hoverTimerId_ = addTimer(this, hoverDelay_);
}

// No window manager yet: the rule that leaves a window of its flag 2 alone is not here.
void AApp::hoverCheck() {
    if (!helpBox_)
        return;
    stopHoverTimer();
    if (hoverHelp_.valid)
        hoverStep();
    else if (cursorComponent())
        armHover();
}

void AApp::hoverStep() {
    if (!helpBox_)
        return;
    ADisplayComponent* item = cursorComponent();
    AHelpSource* source = dynamic_cast<AHelpSource*>(item);
    AHelpRecord found;
    if (source) {
        POINT p = {0, 0};
        GetCursorPos(&p);
        found = source->getHelp(item->screenToLocal(APoint(p.x, p.y)));
    }
    if (!found.valid) {
        hideHelp();
        return;
    }
    if (hoverHelp_.valid && found == hoverHelp_)
        return;
    helpTips_->hideTip();
    hoverHelp_ = found;
    helpTips_->showTip(MouseInApplication(), hoverHelp_);
}

void AApp::hideHelp() {
    if (helpTips_)
        helpTips_->hideTip();
    hoverHelp_.valid = 0;
}

void AApp::hoverReset() {
    stopHoverTimer();
    hideHelp();
}

long AApp::timerFired(uint16_t id, uint32_t now) {
    if (id != 0 && id == hoverTimerId_) {
        hoverTimerId_ = 0;
        hoverStep();
        // The timer goes: the next rest arms a new one.
        return 1;
    }
    return AComponent::timerFired(id, now);
}
