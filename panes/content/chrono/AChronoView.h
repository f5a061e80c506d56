// The chronology's centre view: a renderer view with the scale layer under
// the event renderer's layer, the installed event renderer and the blink of
// a shown event.
//
// Holds one reference on its event renderer; points to its scale layer,
// which its layer list owns. Missing layer or renderer are assertions ("chrono").
#pragma once

#include "docengine/render/ARendererViews.h"

class AChronoEventRenderer;
class AChronoScale;
class AChronoScaleLayer;

// The layer of the event renderer: tells it when the pointer leaves and when
// the view hides. Holds only event renderers (AChronoView installs them).
class AChronoEventLayer : public ARendererLayer {
public:
    using ARendererLayer::ARendererLayer;
    void mouseLeft() override;
    void hideNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;

private:
    AChronoEventRenderer* events() const;
};

class AChronoView : public ARendererView {
    SV_DECLARE_CLASS(AChronoView)
public:
    static const uint32_t kBlinkDelay = 300;
    static const int16_t kBlinkTicks = 7;

    AChronoView() = default;
    using ARendererView::ARendererView;
    ~AChronoView() override;

    void setScale(AChronoScale* scale);
    void setEventRenderer(AChronoEventRenderer* renderer);
    // Centres the line at position, selects its event index (-1: none) and makes it blink.
    void showEvent(long position, long index);

    void childrenLoaded() override;
    void detachItems() override;
    void componentDeleted(AComponent* component) override;
    long handleTimer(uint16_t id, uint32_t now) override;

    AChronoScaleLayer* scaleLayer() const { return scaleLayer_; }
    AChronoEventRenderer* eventRenderer() const { return events_; }
    uint16_t blinkTimer() const { return blinkTimer_; }
    int16_t blinkCount() const { return blinkCount_; }

private:
    AChronoScaleLayer* scaleLayer_ = nullptr;  // not owned
    AChronoEventRenderer* events_ = nullptr;   // one reference held
    uint16_t blinkTimer_ = 0;
    int16_t blinkCount_ = 0;
};
