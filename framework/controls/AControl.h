// Controls: the interactive items of a cluster. AButton tells its owner code
// 1 when clicked; APushButton can be its cluster's default button;
// ATextButton is a native push button with a label.
//
// A control owns its native child control (null while not attached, and
// attached hidden until first shown or needed); a
// missing end mark, a control that cannot be made and a button destroyed
// with its control still alive are assertions ("fcontrol"). Messages to a
// native control that is gone are skipped.
#pragma once

#include <memory>

#include "framework/clusters/ACommandItem.h"
#include "framework/controls/ANativeChild.h"

class AControl : public AAtomicItem {
    SV_DECLARE_CLASS(AControl)
public:
    AControl() = default;
    AControl(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t focusMode = 0)
        : AAtomicItem(parent, id, rule, 0, 1, nullptr, focusMode) {}
    ~AControl() override;

    // Record: AAtomicItem's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    // The native control is a child of the enclosing window, not a window that items draw into.
    bool isWindowed() override { return false; }
    ANativeChild* nativeChild() const { return native_.get(); }
    // Drops the control without deleting it (the window layer destroyed it).
    void forgetNativeWindow() { (void)native_.release(); }
    // A control attached hidden gets its native control when first shown.
    void showNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;
    void enableWindow(bool on) override;

protected:
    // Makes the native control now when the item is shown, else when it is
    // first shown or first needed: the screens hidden at start hold dozens.
    void attachNative();
    // Makes the kind's native control (through makeNative), shown or not.
    virtual void makeNativeControl(bool shown) { (void)shown; }
    bool nativePending() const { return nativePending_; }
    // The native control, made (hidden when the item is) if it was still waiting.
    ANativeChild* requireNative();
    // Makes the native control over the item's frame: WS_GROUP for a group
    // start; its handle must exist (assertion at line).
    void makeNative(ANativeChild* child, long line);
    // The frame in the enclosing window's client coordinates.
    ARect nativeRect() { return getWindowBounds(); }
    // SendMessage to a native control that is still a window; 0 otherwise.
    LRESULT sendNative(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void makePendingNative(bool shown);

    std::unique_ptr<ANativeChild> native_;  // owned, or null
    bool nativePending_ = false;  // attached hidden: no native control yet
    int8_t enableAsked_ = -1;     // last enabling asked while pending, or -1
};

class AButton : public AControl {
    SV_DECLARE_CLASS(AButton)
public:
    AButton() = default;
    AButton(AComponent* parent, int16_t id, const ASizeSpec& rule) : AControl(parent, id, rule) {}

    void readFrom(AMemoryStream& stream) override;
    // Enabled and disabled by its state word; no keyboard focus.
    void attachItems() override;
    // The cluster's current item when the state has 0x100; redrawn when drawn.
    void stateChanged(uint16_t state) override;
    // BM_SETCHECK with the state's 0x0004 (4 or 0), or a redraw without a control.
    void setMarked(uint16_t marked) override;
    // BM_SETSTATE with on.
    virtual void setHilite(uint16_t on);
    // Shown pressed for 200 ms by the application's clock, blocking: a hit
    // that came from a key is seen on the button.
    void flash();
    void prepareHit() override { flash(); }
};

class APushButton : public AButton {
    SV_DECLARE_CLASS(APushButton)
public:
    APushButton() = default;
    // isDefault: the button starts as its cluster's default (state 0x100).
    APushButton(AComponent* parent, int16_t id, const ASizeSpec& rule, bool isDefault);

    // Record: AButton's, default u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    // BM_SETSTYLE 1 (default) or 0 as well.
    void setFlag100(bool on) override;
};

class ATextButton : public APushButton {
    SV_DECLARE_CLASS(ATextButton)
public:
    ATextButton() = default;
    ATextButton(AComponent* parent, int16_t id, const ASizeSpec& rule, bool isDefault, const char* label)
        : APushButton(parent, id, rule, isDefault), label_(label ? label : "") {}

    // Record: APushButton's, label string, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setText(const char* text) override;
    AString getText() override;
    const AString& label() const { return label_; }

protected:
    void makeNativeControl(bool shown) override;

private:
    AString label_;  // the control's text while it has none
};
