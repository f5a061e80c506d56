// The native child window of a view: a plain framework window ("KY_Window")
// over the view's frame that paints the view and answers the dialog manager
// with the view's key wishes.
//
// The view owns the object; the object owns its window. A view window
// without its view is an assertion ("wxchilds" 96).
#pragma once

#include "framework/windows/AWindowHandler.h"

class ANativeViewWindow : public ADisplayWindowHandler, public APlainNativeWindow {
public:
    // view: not owned; rect in parent's client coordinates; WS_CHILD is added.
    ANativeViewWindow(ADisplayComponent* view, HWND parent, DWORD style, const ARect& rect, bool show);
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    HWND parentWindow() override { return parent_; }
    // WM_GETDLGCODE: dialogCode(); WM_PAINT: the view draws its update region.
    AMessageResult handle(AMessage& message) override;
    // What WM_GETDLGCODE answers; views that take keys answer more.
    virtual int32_t dialogCode() { return 0; }
    using ANativeWindow::hwnd;

private:
    HWND parent_;
};
