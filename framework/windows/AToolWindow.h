// Display windows and the floating tool windows of the application's bars.
//
// A tool window registers with the frame while it lives, never takes the
// activation from it and keeps its caption drawn active while the
// application is. Each object is deleted as one with its window.
#pragma once

#include "framework/windows/AWindowHandler.h"

// A plain framework window that paints its display component.
class ADisplayWindow : public ADisplayWindowHandler, public APlainNativeWindow {
public:
    // display: not owned, never null. parent: the owner window, or null.
    ADisplayWindow(ADisplayComponent* display, HWND parent);
    ~ADisplayWindow() override;
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    HWND parentWindow() override { return parent_; }
    using ANativeWindow::hwnd;
    AMessageResult handle(AMessage& message) override;

private:
    HWND parent_;
};

class AToolWindow : public ADisplayWindow {
public:
    AToolWindow(ADisplayComponent* display, HWND parent, uint16_t option);
    ~AToolWindow() override;
    AMessageResult handle(AMessage& message) override;
    uint16_t option() const { return option_; }

protected:
    // The close box: the bar's close command, run at once (the bars' layer supplies it).
    virtual void runClose() {}

private:
    uint16_t option_;
};

// The caption of the frame or a tool window is drawn active while the
// application is active, no modal window is open and the frame is enabled.
bool KeepCaptionActive();
