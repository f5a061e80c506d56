// The chronology's centre view.
#include "panes/content/chrono/AChronoView.h"

#include <new>

#include "base/procedural/AError.h"
#include "panes/content/chrono/AChronoEventRenderer.h"
#include "panes/content/chrono/AChronoScaleLayer.h"

SV_IMPLEMENT_CLASS(AChronoView, 0, ARendererView)

AChronoView::~AChronoView() {
    if (events_)
        events_->release();
}

void AChronoView::childrenLoaded() {
    ARendererView::childrenLoaded();
    scaleLayer_ = CheckAlloc(new (std::nothrow) AChronoScaleLayer(this, 0, ASizeSpec::fill), "chrono", 1769);
    AObject::completeNew(scaleLayer_);
    scaleLayer_->show(false);
    auto* layer = CheckAlloc(new (std::nothrow) AChronoEventLayer(this, 0, ASizeSpec::fill), "chrono", 1770);
    AObject::completeNew(layer);
    layer->show(false);
}

AChronoEventRenderer* AChronoEventLayer::events() const {
    return dynamic_cast<AChronoEventRenderer*>(getRenderer());
}

void AChronoEventLayer::mouseLeft() {
    if (AChronoEventRenderer* r = events())
        r->mouseLeft();
    ARendererLayer::mouseLeft();
}

void AChronoEventLayer::hideNativeWindow() {
    if (AChronoEventRenderer* r = events())
        r->setWindowShown(false);
    ARendererLayer::hideNativeWindow();
}

void AChronoEventLayer::setNativeWindowShownForced(bool show) {
    if (AChronoEventRenderer* r = events())
        r->setWindowShown(show);
    ARendererLayer::setNativeWindowShownForced(show);
}

void AChronoView::setScale(AChronoScale* scale) {
    if (!scaleLayer_)
        ThrowAssert("chrono", 1787);
    scaleLayer_->setScale(scale);
}

void AChronoView::setEventRenderer(AChronoEventRenderer* renderer) {
    if (renderer != events_) {
        if (renderer)
            renderer->addRef();
        if (events_)
            events_->release();
        events_ = renderer;
    }
    if (rendererLayer())
        rendererLayer()->setRenderer(renderer);
}

void AChronoView::showEvent(long position, long index) {
    if (!events_)
        ThrowAssert("chrono", 1794);
    events_->showPosition(position, index);
    if (blinkTimer_) {
        restartTimer(blinkTimer_);
        events_->markRun(events_->selectedRun(), false);
    }
    blinkTimer_ = addTimer(kBlinkDelay);
    blinkCount_ = kBlinkTicks;
}

// From 7 the run goes off, on, off ... and ends unmarked.
long AChronoView::handleTimer(uint16_t id, uint32_t now) {
    if (id == 0 || id != blinkTimer_)
        return ARendererView::handleTimer(id, now);
    --blinkCount_;
    if (events_)
        events_->markRun(events_->selectedRun(), (blinkCount_ & 1) != 0);
    if (blinkCount_ < 1) {
        blinkTimer_ = 0;
        return 1;
    }
    return 0;
}

void AChronoView::detachItems() {
    if (blinkTimer_) {
        restartTimer(blinkTimer_);
        blinkTimer_ = 0;
    }
    if (events_) {
        // The layers may be gone already: nothing is redrawn.
        events_->forgetRuns();
        events_->release();
        events_ = nullptr;
    }
    ARendererView::detachItems();
}

void AChronoView::componentDeleted(AComponent* component) {
    if (component == scaleLayer_)
        scaleLayer_ = nullptr;
    ARendererView::componentDeleted(component);
}
