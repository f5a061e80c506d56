// Starting, stepping and ending a progress display.
#include "app/lines/AProgressInfo.h"

#include <windows.h>

#include <string>

#include "app/lines/AProgressDialog.h"
#include "framework/app/AApp.h"
#include "framework/app/ACursor.h"
#include "framework/clusters/AStaticItem.h"

namespace {

void CloseDialog(AProgressDialog*& dialog) {
    AComponent* doomed = dialog;
    dialog = nullptr;
    DeleteComponent(doomed);
}

}  // namespace

AProgressInfo::~AProgressInfo() {
    try {
        finish();
    } catch (...) {
    }
}

void AProgressInfo::start(int16_t mode, long total_) {
    finish();
    // The bar needs a nonzero maximum: empty tasks get the cursor.
    if (total_ > threshold && total_ > 0) {
        total = total_;
        if (dialog_)
            CloseDialog(dialog_);
        dialog_ = new AProgressDialog(dialogWidth);
        AObject::completeNew(dialog_);
        dialog_->setTitle(title.c_str());
        if (dialog_->textLabel())
            dialog_->textLabel()->setText(mode == 1 ? text1.c_str() : textOther.c_str());
        dialog_->setProgress(0, total, "");
        dialog_->centerIn(nullptr, false);
        dialog_->showUpdate();
        if (HWND window = dialog_->getHWnd())
            UpdateWindow(window);
    } else {
        total = total_;
        cursor_ = new AOwnerCursorGuard(AApp::current(), 257, 7);
    }
}

void AProgressInfo::update(long n) {
    if (dialog_) {
        std::string text = showCount ? std::to_string(n) + " / " + std::to_string(total) : std::string();
        dialog_->setProgress(n, total, text.c_str());
        runLoopTurn();
        if (dialog_ && dialog_->cancelled()) {
            cancelled = 1;
            finish();
        }
    } else if (cursor_) {
        cursor_->nextFrame();
    }
}

void AProgressInfo::finish() {
    if (dialog_)
        CloseDialog(dialog_);
    AOwnerCursorGuard* cursor = cursor_;
    cursor_ = nullptr;
    delete cursor;
}

void AProgressInfo::runLoopTurn() {
    AApp* app = AApp::current();
    MSG msg;
    if (app && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        app->runOnce();
}
