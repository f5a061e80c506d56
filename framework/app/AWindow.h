// The framework's window: every frame, dialog, tool window and MDI child
// opened from a layout. It turns its flags into a Win32 style, owns its
// shell (the native window) and its menu bar, handles the window commands
// (7 close, 9 cancel, 10 OK, 22 help) and closes through the command queue.
//
// Owns menuBar_ and nativeWindow_ from attachItems to detachItems; focusItem_
// is not owned. Broken invariants are assertions ("fwindow"); a missing end
// mark in a layout record is the loader's error ("fwindow" 152).
#pragma once

#include <cstdint>
#include <map>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"
#include "framework/clusters/ALocalCluster.h"
#include "framework/windows/AShellClient.h"

class AMenuBar;
class AWindowShell;

// The window's own action table, the owner part of its cluster: codes of
// filed items are the items'; any other code (1 OK and 2 cancel without
// buttons) is an item of the window whose state is the last one set.
class AWindowOwnTable : public AClusterOwner {
public:
    explicit AWindowOwnTable(AItemCluster* cluster) : AClusterOwner(cluster), window_(cluster) {}
    bool hasItem(int16_t code) override {
        (void)code;
        return true;
    }
    long itemState(int16_t code) override;
    void setItemState(int16_t code, long state) override;

private:
    AItemCluster* window_;  // not owned
    std::map<int16_t, long> states_;
};

class AWindow : public ALocalCluster, public AShellClient {
    SV_DECLARE_CLASS(AWindow)
public:
    enum : uint16_t {
        kTopLevel = 0x0001,
        kStyleTwo = 0x0002,
        kCaption = 0x0004,
        kSystemMenu = 0x0008,
        kSizable = 0x0010,
        kCaptionBit = 0x0020,
        kNoBorder = 0x0040,
        kNoErase = 0x0080,
        kMinimizeBox = 0x0100,
        kMinimized = 0x0200,
        kMaximized = 0x0400,
        kClosable = 0x0800,
        kPopup = 0x1000,
        kFill = 0x2000,
    };
    enum : int16_t { kCloseCommand = 7, kCancelCommand = 9, kOkCommand = 10, kHelpCommand = 22 };

    AWindow();
    AWindow(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* title, const char* menuName,
            uint16_t flags, uint16_t iconId, const ARect& layoutRect);
    ~AWindow() override;

    // AComponent.
    void readFrom(AMemoryStream& stream) override;
    AComponent* getParent() const override;
    void attachItems() override;
    void detachItems() override;
    void unbindActions() override;
    void componentDeleted(AComponent* component) override;
    void bindActions() override;
    ACommand* charToCommand(AKeyEvent& event) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    bool acceptsTarget() override { return true; }

    // ADisplayComponent.
    void eraseBackground(const ARect& rect) override;
    COLORREF getBackColor() override { return GetSysColor(COLOR_WINDOW); }
    void enableWindow(bool on) override { (void)on; }
    void showNativeWindow() override;
    void hideNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;
    // The application's area on screen (the MDI client's, else the screen):
    // where a window is centred, filled and kept inside.
    ARect getContainerRect() override;
    std::string description() override { return title_.c_str(); }

    // AShellClient.
    AItemOwner* shellMenu() override;
    AItemOwner* shellTable() override { return &table_; }
    bool shellMayClose() override { return canClose(false); }
    void shellClose() override;
    void shellActivate(bool on) override { activate(on); }
    bool shellSizable() override { return (windowFlags_ & kSizable) != 0; }
    void shellLimits(long limits[4], APoint& extra) override;
    uint16_t shellMouseActivate() override { return mouseActivate_; }
    long shellCurrentItem() override;
    void shellFocused() override;
    // Flag 0x0080: the control library's look, when the library is there.
    bool shellControlLook() override { return (windowFlags_ & kNoErase) != 0; }

    // Window operations.
    virtual void setTitle(const char* title);
    AString getTitle() const { return title_; }
    virtual void setTitleFromFile(const AFileSpec& file);
    // The answer is performed by the caller (a new delete command or the no-change command).
    // A window's close (AComponent::close is the deletion step).
    virtual ACommand* closeWindow();
    virtual bool canClose(bool asking);
    virtual ACommand* doClose();
    virtual bool deletesOnClose() { return deleteOnClose_ != 0; }
    virtual bool isClosable() { return (windowFlags_ & kClosable) != 0; }
    virtual ACommand* cancel() { return closeWindow(); }
    virtual ACommand* confirm() { return closeWindow(); }
    AMenuBar* getMenuBar() const { return menuBar_; }
    virtual void select();
    virtual void activate(bool on);
    virtual AWindowShell* createNativeWindow();
    virtual void destroyNativeWindow(AWindowShell* shell);
    AWindowShell* getNativeWindow() const { return nativeWindow_; }
    void forgetNativeWindow() { nativeWindow_ = nullptr; }

    bool isMdiChild() const { return !(windowFlags_ & (kTopLevel | kPopup)); }
    bool isMinimized() const;
    AString getMenuName() const { return menuName_; }
    void setFocusItem(AComponent* component);
    AComponent* focusItem() const { return focusItem_; }
    // The cluster's first focus target, else the window itself.
    virtual AComponent* defaultFocusItem();
    void restoreFocus(bool on);
    void refreshFocus() override;
    // The next (previous) focusable item after the focus item, wrapping, becomes the target.
    void focusNext();
    void focusPrevious();
    void fitToArea();

    uint16_t windowFlags() const { return windowFlags_; }
    void setWindowFlags(uint16_t flags) { windowFlags_ = flags; }
    void setDeleteOnClose(bool on) { deleteOnClose_ = on ? 1 : 0; }
    // Client sizes the shell keeps a sizable window within; 0 is no limit.
    void setSizeLimits(long minWidth, long minHeight, long maxWidth, long maxHeight);
    void setMouseActivate(uint16_t value) { mouseActivate_ = value; }
    uint16_t iconId() const { return iconId_; }
    const ARect& layoutRect() const { return layoutRect_; }
    const APoint& frameExtra() const { return frameExtra_; }

    // The flags after the implications attachItems applies.
    static uint16_t impliedFlags(uint16_t flags);
    // The Win32 style for flags (0x2000 first becomes exactly 0x2040; a window
    // with neither caption nor 0x2000 gains 0x1000); flags is rewritten.
    static DWORD nativeStyle(uint16_t& flags);
    // The framework-wide counter of untitled windows (tests start it again).
    static void resetUntitledCounter();

private:
    void moveFocus(bool forward);

    AComponent* focusItem_ = nullptr;  // not owned
    AMenuBar* menuBar_ = nullptr;      // owned
    AString title_;
    AString menuName_;
    uint16_t windowFlags_ = kSizable;
    uint16_t deleteOnClose_ = 1;
    uint16_t iconId_ = 0;
    ARect layoutRect_;  // right and bottom: the maximum client size
    APoint minimumSize_;
    uint16_t mouseActivate_ = 1;
    AWindowShell* nativeWindow_ = nullptr;  // owned
    APoint frameExtra_;
    AWindowOwnTable table_;
};
