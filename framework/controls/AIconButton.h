// Icon buttons: push buttons drawn from a strip of frames (disabled, normal,
// rollover, pressed, focus, as the icon flags say), pressed by a mouse
// tracking of their own, optionally repeating while held; or, with icon
// flag 0x80, a native BWCC button. A button without an icon can show its
// state through the static images below it, which take its frames (linked
// images). AFramedButton draws its single frame centred on a background
// coloured by its pressed and rollover states.
//
// The button owns its icon and its native control, not its linked images
// (its children, unlinked when they leave the tree). Code 1 reaches the owner
// on a release inside, code 3 on each step of a held auto-repeat button
// (and then no code 1). Missing end marks and a checked button without an
// icon are assertions ("fcontrol"). Times are milliseconds.
#pragma once

#include <memory>
#include <vector>

#include "framework/controls/AControl.h"

class AImage;
class AImageSpec;
class AIconTracker;
class AStaticImage;

class AIconButton : public APushButton {
    SV_DECLARE_CLASS(AIconButton)
public:
    // Icon flags: the low byte of the item flags.
    enum : uint16_t {
        kTwoRows = 0x0001,
        kRolloverFrame = 0x0002,
        kFocusFrame = 0x0004,
        kDisabledFrame = 0x0008,
        kDisabledWhenInactive = 0x0010,
        kSingleFrame = 0x0020,
        kDrawn = 0x0040,
        kNative = 0x0080,
        // An item flag bit the cluster items leave free: the button's title is
        // drawn centred over its face (an option button's caption).
        kCaption = 0x0800,
    };

    AIconButton();
    AIconButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t iconFlags, const char* iconName);
    ~AIconButton() override;

    // Record: APushButton's, icon flags u16, icon name string, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    long drawContent(const ARect& rect) override;
    // The title a drawn button keeps (a native one's is its window's).
    void setText(const char* text) override;
    AString getText() override;
    ACommand* mouseDown(AMouseEvent& event) override;
    ACommand* doubleClick(AMouseEvent& event, long value) override;
    ACommand* mouseMove(AMouseEvent& event) override;
    // With hover notice on, entering and leaving post change 3.
    void mouseEntered() override;
    void mouseLeft() override;
    // A static image added below the button is linked: cut into the button's
    // frames and disabled, so that presses over it reach the button.
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;
    // The auto-repeat steps of a held button.
    long timerFired(uint16_t id, uint32_t now) override;
    // Pressed shown at once (the flash of a hit).
    void setHilite(uint16_t on) override;

    // The frames of a strip for these icon flags; 0x01 adds 0x200 (a second row).
    static int frameCount(uint16_t flags);
    // The frame to draw, negative for none. enabled: the component is
    // effectively enabled; focused: it is the command target; iconFrames:
    // the icon's frame count (the checked frames follow the others).
    static int frameIndex(uint16_t flags, uint16_t state, bool pressed, bool rollover, bool enabled, bool focused,
                          int iconFrames);
    // "#N" is bitmap resource N (none for 0), another name an image of that name, "" none.
    virtual AImage* loadIcon(const char* name);

    // period 0: no repeat; a first delay of 0 is the period.
    void setAutoRepeat(uint32_t period, uint32_t firstDelay);
    void setSingleFrame(bool on);
    // Replaces the icon by the picture the image spec names, cut into the frames it gives.
    void setIcon(const AImageSpec& spec);
    // The size of one frame of the icon, (0, 0) without one.
    APoint iconSize() const;
    // No icon and at least one linked image: the images show the state.
    bool drawsLinkedImages() const { return !icon_ && !linked_.empty(); }
    const std::vector<AStaticImage*>& linkedImages() const { return linked_; }
    void setHoverNotify(bool on) { hoverNotify_ = on ? 1 : 0; }
    AImage* icon() const { return icon_.get(); }
    // A button without an icon bitmap whose resizable state is on (the
    // default) may take another size than its frame's: a slider's thumb.
    bool isResizable() const { return !icon_ && resizable_ != 0; }
    void setResizable(bool on) { resizable_ = on ? 1 : 0; }
    bool pressed() const { return pressed_ != 0; }
    bool rollover() const { return rollover_ != 0; }

    // Steps of the press (the tracker's calls); where is in local coordinates.
    virtual void trackStart();
    virtual void trackMove(const APoint& where, bool moved);
    virtual void trackEnd(const APoint& where);
    uint32_t repeatPeriod() const { return repeatPeriod_; }
    uint32_t firstDelay() const { return firstDelay_; }

protected:
    // The frame for the button's present state.
    int currentFrame();

private:
    AString iconName_;
    std::unique_ptr<AImage> icon_;  // owned, or null
    uint32_t repeatPeriod_ = 0;
    uint32_t firstDelay_ = 0;
    uint16_t rollover_ = 0;
    uint16_t pressed_ = 0;
    uint16_t repeatFired_ = 0;
    uint16_t hoverNotify_ = 0;
    uint16_t resizable_ = 1;
    std::vector<AStaticImage*> linked_;  // not owned: descendants, the last linked first
    ARect tracked_;
    AString title_;
};

class AFramedButton : public AIconButton {
    SV_DECLARE_CLASS(AFramedButton)
public:
    AFramedButton() = default;
    AFramedButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t iconFlags, const char* iconName)
        : AIconButton(parent, id, rule, iconFlags, iconName) {}

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    long drawContent(const ARect& rect) override;
    // The environment's foreground colours the pressed button, its background the rollover, once attached.
    void displayEnvChanged(ATextStyle* style, uint8_t mask) override;
    COLORREF pressedColour() const { return pressedColour_; }
    COLORREF rolloverColour() const { return rolloverColour_; }

private:
    APoint iconOffset_;
    COLORREF pressedColour_ = RGB(128, 128, 128);
    COLORREF rolloverColour_ = RGB(192, 192, 192);
    uint16_t environmentMask_ = 0;  // the environment's parts the button takes
};
