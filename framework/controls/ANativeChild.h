// The native child controls of the framework's items: one object per Win32
// control (scroll bar, size box, buttons, edit box, list box, combo box and
// the static kinds), which turns the control's notification codes into its
// item's notifications.
//
// The item owns the object; the object owns its window (deleting it destroys
// the window). A notification without an item is an assertion ("wxchilds");
// so is an out-of-space notification of a list or combo box. Without
// bwcc32.dll the BWCC button kinds are made as the standard ones.
#pragma once

#include "framework/clusters/AControlWindow.h"

class AComponent;

class ANativeChild : public AControlWindow {
public:
    // The control over rect in parent's client coordinates (the item's
    // enclosing window); style gets WS_CHILD and the kind's bits. item: not owned.
    ANativeChild(ADisplayComponent* item, NativeChildKind kind, const char* text, DWORD style, const ARect& rect,
                 bool show);

    // Code 0 (BN_CLICKED) tells the item's owner with argument 1; other codes 0.
    int32_t notify(uint16_t code) override;

    // The kind actually made: a BWCC kind without bwcc32.dll is the standard one.
    static NativeChildKind effectiveKind(NativeChildKind kind);
    static bool bwccLoaded();

protected:
    AComponent* requireItem(long line);
};

// The kinds whose notifications reach the item as the base says, or not at all.
template <NativeChildKind K>
class ANativeChildOf : public ANativeChild {
public:
    ANativeChildOf(ADisplayComponent* item, const char* text, DWORD style, const ARect& rect, bool show)
        : ANativeChild(item, K, text, style, rect, show) {}
    int32_t notify(uint16_t code) override;
};

using ANativeScrollBar = ANativeChildOf<NativeChildKind::kScrollBar>;
using ANativeGrowBox = ANativeChildOf<NativeChildKind::kGrowBox>;
using ANativeBorShade = ANativeChildOf<NativeChildKind::kBorShade>;
using ANativeGroupBox = ANativeChildOf<NativeChildKind::kGroupBox>;
using ANativeStaticText = ANativeChildOf<NativeChildKind::kStaticText>;
using ANativeStaticBitmap = ANativeChildOf<NativeChildKind::kStaticBitmap>;
using ANativeStaticIcon = ANativeChildOf<NativeChildKind::kStaticIcon>;
using ANativePushButton = ANativeChildOf<NativeChildKind::kPushButton>;
using ANativeRadioButton = ANativeChildOf<NativeChildKind::kRadioButton>;
using ANativeCheckBox = ANativeChildOf<NativeChildKind::kCheckBox>;
using ANativeBorButton = ANativeChildOf<NativeChildKind::kBorButton>;
using ANativeBorRadio = ANativeChildOf<NativeChildKind::kBorRadio>;
using ANativeBorCheck = ANativeChildOf<NativeChildKind::kBorCheck>;

// An edit text's change: change 4 to item when the text became or stopped
// being empty (lastLength, the length at the last change, is updated), then 6.
void EditTextChanged(AComponent& item, int32_t& lastLength, int32_t length);

// EN_CHANGE gives the edit text's change. The wheel goes to the enclosing
// window, which gives it to what lies under the pointer.
class ANativeEditBox : public ANativeChild {
public:
    ANativeEditBox(ADisplayComponent* item, const char* text, DWORD style, const ARect& rect, bool show)
        : ANativeChild(item, NativeChildKind::kEditBox, text, style, rect, show) {}
    int32_t notify(uint16_t code) override;
    AMessageResult handle(AMessage& message) override;
    // The length at the last change told before the control was made.
    void continueFrom(int32_t lastLength) { lastLength_ = lastLength; }

private:
    int32_t lastLength_ = 0;  // text length at the last change, in characters
};

// LBN_SELCHANGE: change 2; LBN_DBLCLK: owner 1; LBN_SELCANCEL: owner 3.
class ANativeListBox : public ANativeChild {
public:
    ANativeListBox(ADisplayComponent* item, const char* text, DWORD style, const ARect& rect, bool show)
        : ANativeChild(item, NativeChildKind::kListBox, text, style, rect, show) {}
    int32_t notify(uint16_t code) override;
};

// CBN_SELCHANGE: change 2; CBN_DBLCLK: owner 1; SELENDOK 9; SELENDCANCEL 10;
// CBN_DROPDOWN fits the list down to the parent's client bottom.
class ANativeComboBox : public ANativeChild {
public:
    ANativeComboBox(ADisplayComponent* item, const char* text, DWORD style, const ARect& rect, bool show)
        : ANativeChild(item, NativeChildKind::kComboBox, text, style, rect, show) {}
    int32_t notify(uint16_t code) override;
    void fitDropDown();
};
