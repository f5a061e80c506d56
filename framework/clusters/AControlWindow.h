// The native controls that static items put in their place: a static text,
// a group box, an icon, and the BWCC bitmap and shade controls.
//
// Each is a child of the item's enclosing window, made by superclassing the
// system class so that the window layer finds the item behind it. The object
// owns its window (deleting it destroys the window); the item owns the object.
// Without bwcc32.dll (always under Wine) the BWCC kinds are plain windows of
// the framework's own class that only erase their background.
#pragma once

#include "framework/windows/AWindowHandler.h"

class ADisplayComponent;

class AControlWindow : public AWindowHandler, public ANativeWindow {
public:
    enum Kind { kStaticText, kGroupBox, kIcon, kBorButton, kBorShade };

    // The control over rect (the owner's enclosing window's client
    // coordinates), hidden until the owner shows it; hwnd() is null on failure.
    AControlWindow(ADisplayComponent* owner, Kind kind, const char* text, DWORD style, const ARect& rect);
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    HWND parentWindow() override { return parent_; }
    HWND createWindow(HWND parent, const char* className, DWORD style, const ARect& rect, int id) override;
    AWindowClass* windowClass() override;
    using ANativeWindow::hwnd;

private:
    Kind kind_;
    HWND parent_;
};
