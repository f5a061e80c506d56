// The scrollable item: a content larger than its frame, a scroll position in
// content coordinates, pixel scrolling (a blit, or ScrollDC where part of the
// view is hidden) that carries a pending repaint along, the scroll keys and a
// picture that can be frozen into a metafile. APanelView always redraws whole.
//
// Local coordinates are content coordinates: the local bounds start at the
// scroll position. The scroller is not owned; the picture is owned (deleted
// with DeleteMetaFile). Broken invariants are assertions ("fview").
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/clusters/ACommandItem.h"
#include "framework/controls/ANativeViewWindow.h"
#include "framework/graphics/ARegion.h"
#include "framework/views/ATrackers.h"

class AScroller;

class AView : public AAtomicItem {
    SV_DECLARE_CLASS(AView)
public:
    AView() = default;
    AView(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
          const char* environment, uint16_t focusMode);
    ~AView() override;

    // Record: AAtomicItem's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    void windowActivated(int16_t on) override;

    // The view chain.
    virtual int32_t horizontalLineStep() { return 16; }
    virtual int32_t verticalLineStep() { return 16; }
    virtual int32_t maxScrollX();
    virtual int32_t maxScrollY();
    virtual int32_t scrollX() { return getLocalOrigin().x; }
    virtual int32_t scrollY() { return getLocalOrigin().y; }
    virtual int32_t visibleWidth() { return getFrame().width(); }
    virtual int32_t visibleHeight() { return getFrame().height(); }
    // Codes 0-4 (line back, line forward, page back, page forward, position).
    // True when |delta| is less than the frame: the caller may shift pixels by shift.
    virtual bool scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta);
    virtual bool scrollHorizontally(int16_t code, int32_t value, int16_t& shift, int32_t& delta);
    virtual void updateScrollers();
    // Moves the pixels by (dx, dy) and draws what was uncovered; (0, 0) redraws all.
    virtual void doScroll(int16_t dx, int16_t dy);
    // Bit 0: the scroll keys scroll this view; bit 2: alone in its cluster.
    virtual int16_t keyScrollFlags();
    virtual void scrollBegin(const APoint& p) { (void)p; }
    virtual void scrollEnd(const APoint& p) { (void)p; }
    virtual void trackPress(AViewTracker& tracker) { (void)tracker; }
    virtual void trackFeedback(AViewTracker& tracker) { (void)tracker; }
    virtual void trackMove(AViewTracker& tracker) { (void)tracker; }
    virtual ACommand* trackRelease(AViewTracker& tracker);
    // A new tracker for a press (the caller owns it), or null.
    virtual AScrollingTracker* makeMouseTracker(AMouseEvent& event);
    virtual void pictureFrozen() {}
    virtual void pictureThawed() {}
    // A region (local) that doScroll moves with the content and repaints.
    virtual ARegion updateRegion() { return ARegion(); }
    // Moves the scroll position and the window positions; draws nothing.
    virtual void scrollTo(const APoint& p);
    // Installs an edge scroller with margin p, cursor base a and press-only option b.
    virtual void makeTracker(const APoint& p, uint16_t a, uint16_t b);
    // The view's own child window (the caller owns it), or null: made only in
    // a window with flag 0x80, whose erasing would otherwise wipe the view.
    virtual ANativeViewWindow* makeNativeWindow(DWORD style, const ARect& frame);

    // ADisplayComponent.
    APoint getLocalOrigin() override { return scroll_; }
    APoint getContentSize() override { return content_; }
    void setContentSize(const APoint& size) override;
    long draw(const ARegion& region) override;
    // The application's mouse setting when attached; its owner may change it.
    long isMouseSensitive() override { return appSetting_; }
    void setMouseSensitive(uint16_t setting) { appSetting_ = setting; }
    long frameChanged(const APoint& size) override;
    ACommand* mouseDown(AMouseEvent& event) override;
    ACommand* mouseMoved(AMouseEvent& event) override;
    void mouseLeft() override;
    long timerFired(uint16_t id, uint32_t now) override;

    void setScroller(AScroller* scroller);
    AScroller* scroller() const { return scroller_; }
    // Takes ownership; deletes the one installed before.
    void setAutoScroller(AEdgeScroller* scroller);
    AEdgeScroller* autoScroller() const { return autoScroller_.get(); }
    void refreshAutoScroller();
    void makeTrackerAt(int32_t value, uint16_t a, uint16_t b) { makeTracker(APoint(value, value), a, b); }
    void setLiveDrawing(int16_t live) { live ? thawPicture() : freezePicture(); }
    void freezePicture();
    void thawPicture();
    void deletePicture();
    bool isFrozen() const { return frozen_ != 0; }
    ANativeViewWindow* nativeWindow() const { return native_.get(); }
    void setPrintOption(uint16_t option) { printOption_ = option; }
    virtual uint16_t printOption(long argument) {
        (void)argument;
        return printOption_;
    }
    // The part of the view it does not paint itself (local); moved with the content.
    ARegion& excludedRegion() { return excluded_; }

private:
    bool scrollAxis(int16_t code, int32_t value, int32_t step, int32_t extent, int32_t max, bool lineCount,
                    bool vertical, int16_t& shift, int32_t& delta);

    ARegion excluded_;
    APoint content_;
    APoint scroll_;
    AScroller* scroller_ = nullptr;  // not owned
    std::unique_ptr<AEdgeScroller> autoScroller_;
    HMETAFILE picture_ = nullptr;  // owned
    uint16_t frozen_ = 0;
    uint16_t appSetting_ = 1;
    uint16_t printOption_ = 0;
    std::unique_ptr<ANativeViewWindow> native_;
};

// A view that sizes its content to its frame and always redraws whole.
class APanelView : public AView {
    SV_DECLARE_CLASS(APanelView)
public:
    APanelView() = default;
    using AView::AView;
    // Record: AView's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    bool clipsChildren() override { return true; }
    void doScroll(int16_t dx, int16_t dy) override;
    // Always made, over the view's own natural frame.
    ANativeViewWindow* makeNativeWindow(DWORD style, const ARect& frame) override;
    AScrollingTracker* makeMouseTracker(AMouseEvent& event) override {
        (void)event;
        return nullptr;
    }
};
