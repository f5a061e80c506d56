// A view whose content is a stack of layers: ALayerView asks its layers
// (AViewLayer children, bottom first) for its scroll answers, keys and
// trackers; ALayerSizer keeps every layer over the view's visible rectangle.
//
// The layer list does not own the layers (they are the view's children). A
// layer's answer -1 means it gives none. Assertions are "flayers".
#pragma once

#include <vector>

#include "framework/views/AView.h"

class ALayerView;

class AViewLayer : public ADisplayComponent {
    SV_DECLARE_CLASS(AViewLayer)
public:
    AViewLayer() = default;
    // The rule is applied here, where makeSizer makes a layer sizer.
    AViewLayer(AComponent* parent, int16_t id, const ASizeSpec& rule) : ADisplayComponent(parent, id, ASizeSpec::zero) {
        setSizeSpec(rule, false);
    }

    // Record: ADisplayComponent's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    virtual int32_t horizontalLineStep() { return -1; }
    virtual int32_t verticalLineStep() { return -1; }
    virtual int32_t maxScrollX() { return -1; }
    virtual int32_t maxScrollY() { return -1; }
    virtual int32_t scrollX() { return -1; }
    virtual int32_t scrollY() { return -1; }
    virtual int32_t visibleWidth() { return -1; }
    virtual int32_t visibleHeight() { return -1; }
    virtual bool scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta);
    virtual bool scrollHorizontally(int16_t code, int32_t value, int16_t& shift, int32_t& delta);
    virtual void updateScrollers() {}
    virtual int16_t keyScrollFlags() { return 1; }
    virtual void scrollBegin(const APoint& p) { (void)p; }
    virtual void scrollEnd(const APoint& p) { (void)p; }
    virtual void trackPress(AViewTracker& tracker) { (void)tracker; }
    virtual void trackFeedback(AViewTracker& tracker) { (void)tracker; }
    virtual void trackMove(AViewTracker& tracker) { (void)tracker; }
    virtual ACommand* trackRelease(AViewTracker& tracker);
    // A layer tracker (the caller owns it), or null.
    virtual AScrollingTracker* makeMouseTracker(AMouseEvent& event);
    virtual void pictureFrozen() {}
    virtual void pictureThawed() {}
    virtual ARegion updateRegion() { return ARegion(); }
    virtual uint16_t printOption(long argument) {
        (void)argument;
        return 0;
    }

    // ADisplayComponent: the owner's scroll position and content size.
    APoint getLocalOrigin() override;
    APoint getContentSize() override;
    void setContentSize(const APoint& size) override;
    long isMouseSensitive() override;
    ACommand* mouseMoved(AMouseEvent& event) override;
    void mouseLeft() override;
    long frameChanged(const APoint& size) override {
        (void)size;
        return 0;
    }
    ASizer* makeSizer(const ASizeSpec& rule) override;

    ALayerView* layerOwner() const { return owner_; }
    void setLayerOwner(ALayerView* owner) { owner_ = owner; }
    uint16_t layerState() const { return state_; }
    void setLayerState(uint16_t state) { state_ = state; }
    // Moves the stored frame without redrawing.
    void moveStoredFrame(const APoint& delta);

private:
    ALayerView* requireOwner(long line) const;

    ALayerView* owner_ = nullptr;  // not owned
    uint16_t state_ = 0;
};

// Every layer's frame is its view's local bounds, whatever the rule.
class ALayerSizer : public ASizer {
public:
    using ASizer::ASizer;
    ARect frameIn(ASizingContext* context) override;
};

class ALayerView : public AView {
    SV_DECLARE_CLASS(ALayerView)
public:
    ALayerView() = default;
    using AView::AView;

    // Record: AView's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;
    long dispatchKey(AKeyEvent& event) override;
    long dispatchChar(AKeyEvent& event) override;
    void setTransparent(bool on) override;
    void setDrawnThroughAncestor(bool on) override;

    int32_t horizontalLineStep() override;
    int32_t verticalLineStep() override;
    int32_t maxScrollX() override;
    int32_t maxScrollY() override;
    int32_t scrollX() override;
    int32_t scrollY() override;
    int32_t visibleWidth() override;
    int32_t visibleHeight() override;
    bool scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) override;
    bool scrollHorizontally(int16_t code, int32_t value, int16_t& shift, int32_t& delta) override;
    void updateScrollers() override;
    int16_t keyScrollFlags() override;
    void scrollBegin(const APoint& p) override;
    void scrollEnd(const APoint& p) override;
    AScrollingTracker* makeMouseTracker(AMouseEvent& event) override;
    void pictureFrozen() override;
    void pictureThawed() override;
    ARegion updateRegion() override;
    void scrollTo(const APoint& p) override;
    uint16_t printOption(long argument) override;

    // Printing goes to the layers: the queries top to bottom, the first
    // answer that says something; the pass steps to every layer; the page
    // drawing bottom to top, to the layers whose state is 0 only.
    long firstPage() override;
    long countPages(const ARect& body) override;
    bool preparePart(long part) override;
    bool pageAvailable(const APrintRange& range, long page) override;
    void beginPrinting(const ARect& body) override;
    void endPrinting() override;
    void cancelPrinting() override;
    long pageOrientation(long page) override;
    void drawPage(const ARect& body, long page, bool draw) override;

    AViewLayer* layerAt(int16_t n) const;
    int16_t layerCount() const { return int16_t(layers_.size()); }
    void setLayerState(int16_t n, uint16_t state);
    // Moves the view when layer is the first layer; false otherwise.
    bool scrollViewVertically(AViewLayer* layer, int16_t code, int32_t value, int16_t& shift, int32_t& delta);
    bool scrollViewHorizontally(AViewLayer* layer, int16_t code, int32_t value, int16_t& shift, int32_t& delta);

private:
    // The first layer answer other than -1, else own (the view's answer).
    int32_t firstAnswer(int32_t (AViewLayer::*query)(), int32_t own);

    std::vector<AViewLayer*> layers_;  // not owned, bottom first
};
