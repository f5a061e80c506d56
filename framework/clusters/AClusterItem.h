// The cluster item: every element that a window, pane or dialog shows and
// addresses by a 16-bit id (texts, images, controls, views, bars and the
// item clusters themselves).
//
// An item is filed by the nearest enclosing item cluster (its owner, not
// owned) and owns its display environment. A missing end mark or a malformed
// environment string is an assertion ("fitems"); an item without a native
// window answers an empty text.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/AHelpRecord.h"

class AItemCluster;
class AFocusSearch;
class ATextStyle;
class AClusterItem;

class AClusterItem : public ADisplayComponent, public AHelpSource {
    SV_DECLARE_CLASS(AClusterItem)
public:
    // State word: low byte the item's, high byte the framework's.
    enum : uint16_t { kOn = 0x0001, kOff = 0x0002, kMarked = 0x0004, kCurrent = 0x0100 };
    // Flag word.
    enum : uint16_t {
        kKindMask = 0x000F,
        kEditCommands = 0x0100,
        kItemCommands = 0x0200,
        kDeletable = 0x0400,
        kTabStop = 0x1000,
        kFocusable = 0x2000,
        kGroup = 0x4000,
        kShownByState = 0x8000,
    };

    AClusterItem();
    AClusterItem(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                 const char* environment);
    ~AClusterItem() override;

    // AComponent.
    // Record: ADisplayComponent's, cursor i16 | id mode u16 | environment string | FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void childrenLoaded() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    bool takesEditCommands() override { return (flags_ & kEditCommands) != 0; }
    AComponent* preferredTarget() override { return focusTarget(); }
    bool acceptsTargetLater() override { return (flags_ & kFocusable) != 0; }
    bool acceptsTarget() override { return isActiveTarget(); }
    bool isActiveTarget() override { return (flags_ & kFocusable) && ADisplayComponent::isActiveTarget(); }

    // ADisplayComponent.
    int16_t getCursor(int16_t kind) override { return resolveCursor(kind, cursorId_); }
    ATextStyle* ownDisplayEnv() override { return environment_; }
    void displayEnvChanged(ATextStyle* style, uint8_t mask) override;

    // The item itself when it takes the focus now, else null.
    virtual AClusterItem* focusTarget() { return acceptsTarget() ? this : nullptr; }
    // One step of a cluster's focus walk.
    virtual AClusterItem* findFocusTarget(AFocusSearch& search);
    // The native window's text; nothing and empty without one.
    virtual void setText(const char* text);
    virtual AString getText();
    // Run just before the owner dispatches the item's notification.
    virtual void prepareHit() {}
    // The key of the item's help text: id mode 0 the id, 1 the class number, else the mode.
    virtual int16_t getId();
    AHelpRecord getHelp(const APoint& point) override;
    virtual void setHelpText(const char* text, int16_t atPoint);
    virtual AString helpText();
    virtual bool hasEditCommands() { return (flags_ & kItemCommands) != 0; }
    virtual bool isDeletable() { return (flags_ & kDeletable) != 0; }
    virtual void setFlag100(bool on);
    // Run after the state word changed (and again at every set-up).
    virtual void stateChanged(uint16_t state);

    // Environment: "#group", "#env:N", "#font:FACE", "#background:R,G,B", anywhere.
    void parseEnvironment(const char* text);
    // Takes an owned copy of style.
    void setDisplayEnv(const ATextStyle& style);
    void releaseEnvironment();
    // The environment of "#env:N": text style resource N (the caller owns it).
    virtual ATextStyle* loadEnvironment(uint16_t number);

    void setStateBits(uint16_t state, bool force);
    void setOn(bool on);
    int16_t setCursor(int16_t id);
    // WM_SETFONT to the native window with the font of style (null: the environment in force).
    void applyNativeFont(ATextStyle* style);
    static uint16_t textAlignment(ATextStyle* style);
    // The display layer's global component flag: non-zero enables command 19.
    static uint16_t componentCommandsEnabled;

    uint16_t state() const { return state_; }
    uint16_t itemFlags() const { return flags_; }
    void setItemFlags(uint16_t flags) { flags_ = flags; }
    void addItemFlags(uint16_t flags) { flags_ |= flags; }
    void clearItemFlags(uint16_t flags) { flags_ &= static_cast<uint16_t>(~flags); }
    int16_t cursorId() const { return cursorId_; }
    uint16_t idMode() const { return idMode_; }
    AItemCluster* owner() const { return owner_; }
    void setOwner(AItemCluster* owner) { owner_ = owner; }
    // The nearest enclosing item cluster, or null.
    AItemCluster* enclosingCluster() const;

private:
    int16_t cursorId_;
    uint16_t idMode_;
    uint16_t state_;
    uint16_t flags_;
    AItemCluster* owner_;      // not owned
    ATextStyle* environment_;  // owned, or null
};
