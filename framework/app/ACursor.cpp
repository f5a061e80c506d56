// Cursors, cursor guards and the wait cursor.
#include "framework/app/ACursor.h"

#include <windows.h>

#include "framework/app/AApp.h"

ACursor::ACursor(AApp* app, int16_t number) : app_(app), number_(number) {
    uint16_t u = static_cast<uint16_t>(number);
    system_ = u >= static_cast<uint16_t>(kArrow);
    if (!system_ && !app) {
        number_ = kArrow;
        system_ = 1;
    }
    HINSTANCE module = system_ ? nullptr : static_cast<HINSTANCE>(app->instance());
    handle_ = LoadCursorA(module, MAKEINTRESOURCEA(static_cast<uint16_t>(number_)));
}

ACursor::~ACursor() {
    if (!system_ && handle_)
        DestroyCursor(static_cast<HCURSOR>(handle_));
}

void ACursor::set() {
    SetCursor(static_cast<HCURSOR>(handle_));
}

int16_t ACursor::apply() {
    if (app_)
        return app_->setCursor(number_);
    set();
    return kArrow;
}

void SetArrowCursor() {
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

ACursorGuard::ACursorGuard(AApp* app, int16_t number) : app_(app) {
    if (app_) {
        previous_ = app_->setCursor(number);
        SetCapture(static_cast<HWND>(app_->frameWindow()));
    } else {
        own_ = new ACursor(nullptr, number);
        own_->apply();
    }
}

ACursorGuard::~ACursorGuard() {
    if (app_) {
        ReleaseCapture();
        app_->setCursor(previous_);
    } else {
        SetArrowCursor();
    }
    delete own_;
}

AOwnerCursorGuard::AOwnerCursorGuard(AApp* app, int16_t base, int16_t frames)
    : ACursorGuard(app, base), base_(base), frames_(frames) {
    if (app_)
        outer_ = app_->swapCursorGuard(this);
}

AOwnerCursorGuard::~AOwnerCursorGuard() {
    if (app_) {
        app_->swapCursorGuard(outer_);
        // The outermost guard hands the cursor back to the application's own choice.
        if (!outer_)
            previous_ = -4;
    }
}

void AOwnerCursorGuard::nextFrame() {
    if (++frame_ >= frames_)
        frame_ = 0;
    if (app_)
        app_->setCursor(static_cast<int16_t>(base_ + frame_));
}

void AOwnerCursorGuard::detach() {
    ACursorGuard::detach();
    if (outer_)
        outer_->detach();
}

AWaitCursor::AWaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {
    if (AApp* app = AApp::current())
        SetCapture(static_cast<HWND>(app->frameWindow()));
}

AWaitCursor::~AWaitCursor() {
    ReleaseCapture();
    SetCursor(static_cast<HCURSOR>(previous_));
}
