// The native controls that items put in their place: static texts, group
// boxes, icons and the BWCC bitmap and shade for the static items; buttons,
// edit boxes, lists and scroll bars for the controls built on this class.
//
// Each is a child of the item's enclosing window, made by superclassing the
// system class so that the window layer finds the item behind it. The object
// owns its window (deleting it destroys the window); the item owns the object.
// Without bwcc32.dll (always under Wine) the BWCC bitmap and shade are plain
// windows of the framework's own class that only erase their background.
#pragma once

#include "framework/windows/AWindowHandler.h"

class ADisplayComponent;
class AWindowClass;

// The sixteen superclasses of the system's controls, in their creation order.
enum class NativeChildKind {
    kScrollBar,
    kGrowBox,
    kBorShade,
    kGroupBox,
    kStaticText,
    kStaticBitmap,
    kStaticIcon,
    kPushButton,
    kRadioButton,
    kCheckBox,
    kBorButton,
    kBorRadio,
    kBorCheck,
    kEditBox,
    kListBox,
    kComboBox,
};
// The class record of a kind ("KY_ScrollBar"...), static; the style bits the kind adds.
AWindowClass& NativeChildClass(NativeChildKind kind);
DWORD NativeChildStyle(NativeChildKind kind);

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
    NativeChildKind kind() const { return kind_; }

protected:
    // The control of any kind, shown at once with show set.
    AControlWindow(ADisplayComponent* owner, NativeChildKind kind, const char* text, DWORD style, const ARect& rect,
                   bool show);

private:
    NativeChildKind kind_;
    HWND parent_;
};
