// The visible component: a frame in its display parent, a position in its
// native window, a sizing rule and the display flags; drawing, invalidation,
// geometry, layout and mouse input of every item, control, view and window.
//
// Owns its sizer; the native window handle is the window layer's (not owned).
// Coordinates are pixels; frames are in the display parent's local space.
// Broken invariants are assertions ("fdisplay"); a destructor never throws.
// ADisplayComponent is the graphics layer's ADisplaySite.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/object/AString.h"
#include "base/object/InputRecords.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "framework/display/ASizing.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/ARegion.h"

class AGraphicDisplay;
class AMouseTracker;
class APrinterSetup;
struct APrintRange;

// An item of one of the framework's string lists, or the built-in text when
// the program carries no such list.
AString FrameworkString(uint16_t list, short index, const char* builtIn);

class ADisplayComponent : public AComponent, public ADisplaySite {
    SV_DECLARE_CLASS(ADisplayComponent)
public:
    enum : uint16_t {
        kShown = 0x0001,
        kVisible = 0x0002,
        kTransparent = 0x0004,
        kDrawnThroughAncestor = 0x0008,
        kOffscreen = 0x0010,
        kOffscreenExcluded = 0x0020,
        kEnabled = 0x0040,
        kActive = 0x0080,
        kPlaced = 0x0100,
        kChildrenPlaced = 0x0200,
        kEraseBackground = 0x0400,
        kClippedByAncestors = 0x0800,
        kOffscreenRoot = 0x1000,
        kMouseTransparent = 0x2000,
        kModeFlag = 0x8000,
        kDefaultFlags = 0x04C0,
    };

    ADisplayComponent();
    ADisplayComponent(AComponent* parent, int16_t id, const ASizeSpec& rule);
    ~ADisplayComponent() override;

    // AComponent.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    bool receivesActions() const override { return (displayFlags_ & kShown) != 0; }
    virtual bool isActiveTarget() { return hasFlags(kVisible | kActive); }
    // The window layer's activation sent through the tree: sets or clears
    // the mode flag, and onActivate runs when it turns on.
    void windowActivated(int16_t on) override;

    // Flags: each setter answers 1 when the bit changed.
    uint16_t displayFlags() const { return displayFlags_; }
    bool hasFlags(uint16_t bits) const { return (displayFlags_ & bits) == bits; }
    bool isSettled() const { return hasFlags(kPlaced | kChildrenPlaced); }
    int setShownFlag(bool on) { return setBit(kShown, on); }
    int setVisibleFlag(bool on);
    int setTransparentFlag(bool on);
    int setDrawnThroughAncestorFlag(bool on) { return setBit(kDrawnThroughAncestor, on); }
    int setOffscreenFlag(bool on) { return setBit(kOffscreen, on); }
    int setOffscreenExcludedFlag(bool on) { return setBit(kOffscreenExcluded, on); }
    int setEnabledFlag(bool on) { return setBit(kEnabled, on); }
    int setActiveFlag(bool on) { return setBit(kActive, on); }
    int setPlaced(bool on) { return setBit(kPlaced, on); }
    int setChildrenPlaced(bool on) { return setBit(kChildrenPlaced, on); }
    int setEraseBackgroundFlag(bool on) { return setBit(kEraseBackground, on); }
    int setClippedByAncestorsFlag(bool on) { return setBit(kClippedByAncestors, on); }
    int setOffscreenRootFlag(bool on) { return setBit(kOffscreenRoot, on); }
    int setMouseTransparentFlag(bool on) { return setBit(kMouseTransparent, on); }
    int setModeFlag(bool on) { return setBit(kModeFlag, on); }
    void setEraseBackground(bool on);
    void setMouseTransparent(bool on) { setMouseTransparentFlag(on); }
    virtual void setTransparent(bool on);
    virtual void setDrawnThroughAncestor(bool on);
    virtual long onActivate() { return 0; }

    // Tree.
    ADisplayComponent* getDisplayParent() const;
    ADisplayComponent* findWindowedAncestor();
    ADisplayComponent* findOffscreenRoot();

    // Native window (the window layer's).
    HWND getHWnd() const { return hwnd_; }
    void setNativeWindow(HWND hwnd) { hwnd_ = hwnd; }
    virtual bool isWindowed() { return hwnd_ != nullptr; }
    HWND getOwnWindow() { return isWindowed() ? hwnd_ : nullptr; }
    // The native window this component draws into: its own or its nearest windowed ancestor's.
    HWND enclosingWindow();
    virtual void enableWindow(bool on);
    virtual void showNativeWindow() { setNativeWindowShown(true, true); }
    virtual void hideNativeWindow() { setNativeWindowShown(false, true); }
    virtual void setNativeWindowShownForced(bool show) { setNativeWindowShown(show, true); }
    void setNativeWindowShown(bool show, bool force);
    virtual void moveNativeWindow();
    // Told by the window layer when the native window moved or was resized.
    void nativeWindowMoved();

    // Shown and enabled states.
    void show(bool update);
    void hide(bool update);
    void showUpdate() { show(true); }
    void hideUpdate() { hide(true); }
    void setVisible(bool on) { on ? show(false) : hide(false); }
    void visibilityChanged(bool showing, bool update);
    void setVisibleTree(bool showing, bool update);
    void setEnabled(bool on);
    void enableTree(bool enabling);
    void setActiveTree(bool enabling);

    // Geometry.
    const ARect& getFrame() const { return frame_; }
    APoint getPosition() const { return frame_.first; }
    APoint getSize() const { return APoint(frame_.width(), frame_.height()); }
    const APoint& windowPosition() const { return windowPos_; }
    virtual APoint getLocalOrigin() { return APoint(0, 0); }
    virtual APoint getContentSize() { return getSize(); }
    virtual void setContentSize(const APoint& size) { (void)size; }
    ARect getLocalBounds() override;
    virtual ARect getOuterFrame();
    APoint getOuterSize();
    virtual ARegion getShape() { return ARegion(frame_); }
    APoint screenOrigin();
    APoint localToScreen(const APoint& p) { return p + screenOrigin(); }
    APoint screenToLocal(const APoint& p) { return p - screenOrigin(); }
    ARect localToScreen(const ARect& r) { return r + screenOrigin(); }
    ARect screenToLocal(const ARect& r) { return r.minusPoint(screenOrigin()); }
    APoint getScreenPosition();
    APoint frameToScreen(const APoint& p) { return p + getScreenPosition(); }
    ARect frameToScreen(const ARect& r) { return r + getScreenPosition(); }
    ARect getScreenFrame();
    ARect getScreenBounds();
    ARect getWindowBounds();
    virtual ARect getContainerRect();
    void computeWindowPosition(ADisplayComponent* parent);
    void shiftWindowPositions(const APoint& delta, bool moveNative, bool force);
    void setFrame(const ARect& screenRect, bool keepInside);
    void moveTo(const APoint& screenPoint, bool keepInside);
    void setOuterSize(const APoint& size, bool keepInside);
    void setSize(const APoint& size, bool keepInside);
    void setScreenBounds(const ARect& screenRect, bool keepInside);
    void centerIn(ADisplayComponent* other, bool keepInside);
    void placeFrame(const ARect& rect);
    // The one place where the frame changes: 0 no change, 1 moved, else frameChanged's answer.
    virtual long changeFrame(const ARect& rect);
    virtual long frameChanged(const APoint& size) {
        (void)size;
        return 0;
    }

    // Sizing rule and layout.
    void setSizeSpec(const ASizeSpec& rule, bool schedule);
    ASizeSpec getSizeSpec();
    ASizer* sizer() const { return sizer_; }
    virtual ARect getNaturalFrame() { return frame_; }
    virtual ASizer* makeSizer(const ASizeSpec& rule);
    virtual ASizingContext* makeSizingContext();
    virtual void relayout();
    void updateLayout();
    void layoutNow();

    // Invalidation and drawing; regions in local coordinates.
    void invalidateRegion(const ARegion& region, bool alsoOffscreen);
    void invalidateClipped(const ARegion& region);
    void invalidateClippedOnScreen(const ARegion& region) override;
    void invalidateRect(const ARect& rect) { invalidateClipped(ARegion(rect)); }
    void invalidate() override;
    void invalidateOffscreen(const ARegion& region) override;
    // A descendant of an off-screen root has the root copy what it drew.
    void copyOffscreenToScreen(const ARegion& region) override;
    void invalidateBorderInParent();
    void validateRegion(const ARegion& region, bool alsoOffscreen);
    void validateClipped(const ARegion& region);
    void redrawRegion(const ARegion& region, bool deferred);
    void redrawClipped(const ARegion& region, bool deferred);
    void redrawRect(const ARect& rect, bool deferred) { redrawClipped(ARegion(rect), deferred); }
    void redraw(bool deferred);
    void redrawPendingUpdate();
    ARegion getVisibleRegion() override;
    ARegion uncoveredRegion(const ARegion& region, bool useOuterFrames, ADisplayComponent* stopAt);
    void clipToAncestors(ARegion& region);
    // Paints the component and its children in the order the look word
    // selects; the window layer calls it for WM_PAINT.
    virtual long draw(const ARegion& region);
    // The children (and, in clipped order with withSelf, the own content).
    void drawChildren(const ARegion& region, bool withSelf);
    virtual void eraseBackground(const ARect& rect);
    virtual long drawContent(const ARect& rect) {
        (void)rect;
        return 0;
    }
    virtual void drawBorder(const ARect& bounds, long a, long b) {
        (void)bounds;
        (void)a;
        (void)b;
    }
    long runBehavioursDraw(ARegion& region, bool before);
    void drawFocusFrame(const ARect& rect, AGraphicDisplay& display, bool inner, bool outer);
    ARect getFocusFrameRect();
    void setOffscreenTree(bool on, bool recursive);
    void setOffscreen(bool on, bool recursive);
    void setOffscreenExcluded(bool on);
    virtual bool clipsChildren() { return false; }
    // An off-screen root's bitmap side (the off-screen root overrides them);
    // regions in the root's window coordinates.
    virtual void offscreenInvalidate(const ARegion& region) { (void)region; }
    virtual void offscreenValidate(const ARegion& region) { (void)region; }
    virtual void excludeChild(ADisplayComponent* child) { (void)child; }

    // Mouse: dispatchers take a point in this component's local coordinates.
    long dispatchMouseDown(AMouseEvent& event);
    long dispatchRightMouseDown(AMouseEvent& event);
    long dispatchDoubleClick(AMouseEvent& event, long value);
    long dispatchMouseMove(AMouseEvent& event);
    long dispatchMouseUp(AMouseEvent& event);
    virtual long dispatchMouseWheel(AMouseEvent& event, long delta);
    ADisplayComponent* hitTest(const APoint& point, APoint* local, bool includeInactive);
    ADisplayComponent* toDisplayParent(APoint* point);
    // The application's current drag tracker, the point moved into its owner's coordinates.
    AMouseTracker* trackerFor(APoint* point);
    void refreshHover();
    virtual ACommand* mousePressed(AMouseEvent& event);
    virtual ACommand* rightMousePressed(AMouseEvent& event);
    virtual ACommand* mouseDoubleClicked(AMouseEvent& event, long value);
    virtual ACommand* mouseMoved(AMouseEvent& event);
    virtual ACommand* mouseReleased(AMouseEvent& event);
    virtual ACommand* mouseWheeled(AMouseEvent& event, long delta);
    virtual long isMouseSensitive() { return 1; }
    // A scroll-bar message (Win32 code, position, 1 for vertical) meant for this component; 0 not handled.
    virtual long scrollEvent(int16_t code, int32_t position, uint16_t vertical) {
        (void)code;
        (void)position;
        (void)vertical;
        return 0;
    }
    // The component's own handlers: the pass-through command here.
    virtual ACommand* rightMouseDown(AMouseEvent&) { return passThroughCommand(); }
    virtual ACommand* mouseDown(AMouseEvent&) { return passThroughCommand(); }
    virtual ACommand* doubleClick(AMouseEvent&, long) { return passThroughCommand(); }
    virtual ACommand* mouseMove(AMouseEvent&) { return passThroughCommand(); }
    virtual ACommand* mouseUp(AMouseEvent&) { return passThroughCommand(); }
    virtual ACommand* mouseWheel(AMouseEvent&, long) { return passThroughCommand(); }
    virtual void mouseEntered() {}
    virtual void mouseLeft() {}
    // Cursor codes: -3 no choice, -2 a control's default, -1 no component.
    virtual int16_t resolveCursor(int16_t kind, int16_t own);
    virtual int16_t getCursor(int16_t kind) { return resolveCursor(kind, 0); }
    virtual int16_t cursorFor(int16_t kind);
    virtual int16_t childCursor(int16_t kind) { return getCursor(kind); }

    // Keys and queries without a caller in the framework: overridable defaults.
    virtual ACommand* keyHook(long arg) { return keyDefault(arg); }
    virtual long keyQuery(long arg) {
        (void)arg;
        return 0;
    }
    virtual ACommand* keyDefault(long arg);
    virtual long auxQuery(long arg) {
        (void)arg;
        return 0;
    }
    virtual bool allowsCommand(long value) { return queryAllows(this, value); }
    virtual bool queryAllows(ADisplayComponent* component, long value);

    // Printing. Without a printer each entry beeps and says so. print asks
    // for the pages, printWithSettings prints them all at once; the preview
    // and the options show the dialog that the tree's factories make, and
    // need a print level above 0.
    virtual ACommand* print();
    virtual ACommand* printWithSettings();
    virtual ACommand* printPreview();
    virtual ACommand* printOptions();
    // For callers without a component: the message when there is no printer.
    static ACommand* printDefault();
    // The framework's print level: 0 keeps the preview and the options out.
    static uint16_t printLevel();
    static void setPrintLevel(uint16_t level);
    // The dialogs for this component, asked up the display chain; at the top
    // the application's factories. Null when there is none; the tree owns them.
    virtual AComponent* getPreviewDialog() { return makePreviewDialog(this); }
    virtual AComponent* makePreviewDialog(ADisplayComponent* component);
    virtual AComponent* getPrintOptionsDialog() { return makePrintOptionsDialog(this); }
    virtual AComponent* makePrintOptionsDialog(ADisplayComponent* component);
    // Asked up the display chain, at the top the application's printer
    // factory; null when there is none. The caller owns the printer.
    virtual ADisplayComponent* getPrinter() { return findPrinter(this); }
    virtual ADisplayComponent* findPrinter(ADisplayComponent* component);
    // A printer's job for the component it prints: the printer overrides it.
    virtual ACommand* printWithDialog(ADisplayComponent* component);
    // The same job over every page, without asking.
    virtual ACommand* printAllPages(ADisplayComponent* component);
    virtual AComponent* getPrintOptions() { return findPrintOptions(this); }
    virtual AComponent* findPrintOptions(ADisplayComponent* component);
    virtual AComponent* getPrintSource() { return findPrintSource(this); }
    virtual AComponent* findPrintSource(ADisplayComponent* component);
    virtual void getDocumentType(AString& out);
    // What a printer asks of the component it prints (pages 0-based).
    virtual void documentTitle(AString& out) { findDocumentTitle(out, this); }
    virtual void findDocumentTitle(AString& out, ADisplayComponent* component);
    // The printer set-up to print with; null: the application's current one.
    virtual APrinterSetup* printerSetup() { return nullptr; }
    virtual long firstPage() { return 0; }
    virtual long countPages(const ARect& body) {
        (void)body;
        return 0;
    }
    // Part 0 is the whole of a component that is not printed in parts.
    virtual bool preparePart(long part) { return part == 0; }
    // Whether the page exists in what has been prepared: up to the range's last page.
    virtual bool pageAvailable(const APrintRange& range, long page);
    virtual void beginPrinting(const ARect& body) { (void)body; }
    virtual void endPrinting() {}
    virtual void cancelPrinting() {}
    // 0 keep, 1 portrait, 2 landscape.
    virtual long pageOrientation(long page) {
        (void)page;
        return 0;
    }
    // Lays the page out, and with draw set draws it (drawPageBody).
    virtual void drawPage(const ARect& body, long page, bool draw) {
        if (draw)
            drawPageBody(body, page);
    }
    virtual void drawPageBody(const ARect& body, long page) {
        (void)body;
        (void)page;
    }
    virtual void headerText(AString& out) { findHeaderText(out, this); }
    virtual void findHeaderText(AString& out, ADisplayComponent* component);
    virtual void pageLabelFormat(AString& out) { findPageLabelFormat(out, this); }
    virtual void findPageLabelFormat(AString& out, ADisplayComponent* component);
    virtual void footerText(AString& out) { out = AString(); }
    // The preview's page count.
    virtual void setPageCount(int16_t count) { (void)count; }

    // ADisplaySite.
    AComponent* siteComponent() override { return this; }
    HWND siteWindow() override { return enclosingWindow(); }
    APoint originInWindow() override { return windowPos_; }
    COLORREF getBackColor() override;
    HDC getDisplay() override;
    bool isOffscreen() override { return hasFlags(kOffscreen); }

protected:
    int setBit(uint16_t bit, bool on);
    // The frame alone, without moving, laying out or drawing anything.
    void setStoredFrame(const ARect& rect) { frame_ = rect; }
    // The display children, in child order.
    std::vector<ADisplayComponent*> displayChildren();

private:
    void applySizeSpec(const ASizeSpec& rule, bool schedule);
    ACommand* noPrinter();
    // Shows the window of a dialog that a factory made (asserted at line).
    void showDialog(AComponent* dialog, long line);

    ARect frame_;
    ASizer* sizer_;  // owned
    APoint windowPos_;
    uint16_t displayFlags_;
    HWND hwnd_;  // not owned
};

// Shows or hides a component's native window later, from the command queue.
class ASetVisibleCommand : public ACommand {
    SV_DECLARE_CLASS(ASetVisibleCommand)
public:
    ASetVisibleCommand() : ASetVisibleCommand(nullptr, false) {}
    ASetVisibleCommand(AComponent* target, bool visible) : ACommand(target, 0, 1), visible_(visible) {}
    void execute() override;

private:
    uint16_t visible_;
};
