// Layer views, layers, the layer sizer and the layer tracker.
#include "framework/views/ALayerView.h"

#include <algorithm>

#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/APrintRange.h"

SV_IMPLEMENT_CLASS(ALayerView, 123, AView)
SV_IMPLEMENT_CLASS(AViewLayer, 124, ADisplayComponent)

void AViewLayer::readFrom(AMemoryStream& stream) {
    ADisplayComponent::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "flayers", 592);
}

void ALayerView::readFrom(AMemoryStream& stream) {
    AView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "flayers", 72);
}

ALayerView* AViewLayer::requireOwner(long line) const {
    if (!owner_)
        ThrowAssert("flayers", line);
    return owner_;
}

bool AViewLayer::scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    return requireOwner(609)->scrollViewVertically(this, code, value, shift, delta);
}

bool AViewLayer::scrollHorizontally(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    return requireOwner(614)->scrollViewHorizontally(this, code, value, shift, delta);
}

ACommand* AViewLayer::trackRelease(AViewTracker& tracker) {
    (void)tracker;
    return passThroughCommand();
}

AScrollingTracker* AViewLayer::makeMouseTracker(AMouseEvent& event) {
    return CheckAlloc(new (std::nothrow) ALayerTracker(this, event), "flayers", 672);
}

APoint AViewLayer::getLocalOrigin() {
    return requireOwner(571)->getLocalOrigin();
}

APoint AViewLayer::getContentSize() {
    return requireOwner(561)->getContentSize();
}

void AViewLayer::setContentSize(const APoint& size) {
    requireOwner(566)->setContentSize(size);
}

long AViewLayer::isMouseSensitive() {
    return owner_ ? owner_->isMouseSensitive() : 1;
}

ACommand* AViewLayer::mouseMoved(AMouseEvent& event) {
    AEdgeScroller* edge = owner_ ? owner_->autoScroller() : nullptr;
    if (edge && edge->mouseMoved(event))
        return noChangeCommand();
    return ADisplayComponent::mouseMoved(event);
}

void AViewLayer::mouseLeft() {
    if (AEdgeScroller* edge = owner_ ? owner_->autoScroller() : nullptr)
        edge->stop();
    ADisplayComponent::mouseLeft();
}

ASizer* AViewLayer::makeSizer(const ASizeSpec& rule) {
    return CheckAlloc(new (std::nothrow) ALayerSizer(this, rule), "flayers", 719);
}

void AViewLayer::moveStoredFrame(const APoint& delta) {
    // The frame follows the visible rectangle; the window position does not
    // change, since the view's scroll already moved it.
    setStoredFrame(getFrame() + delta);
}

ARect ALayerSizer::frameIn(ASizingContext* context) {
    ADisplayComponent* view = context ? context->owner() : owner()->getDisplayParent();
    return view ? view->getLocalBounds() : ARect();
}

void ALayerView::detachItems() {
    if (!layers_.empty())
        ThrowAssert("flayers", 85);
    AView::detachItems();
}

void ALayerView::componentAdded(AComponent* component) {
    auto* layer = dynamic_cast<AViewLayer*>(component);
    if (layer && component->isDescendantOf(this) && std::find(layers_.begin(), layers_.end(), layer) == layers_.end()) {
        layer->setLayerOwner(this);
        if (hasFlags(kTransparent))
            layer->setTransparent(true);
        else if (hasFlags(kDrawnThroughAncestor))
            layer->setDrawnThroughAncestor(true);
        // Only the first layer erases the background.
        if (!layers_.empty() && layer->setEraseBackgroundFlag(false))
            layer->invalidate();
        layers_.push_back(layer);
    }
    AView::componentAdded(component);
}

void ALayerView::componentDeleted(AComponent* component) {
    auto it = std::find(layers_.begin(), layers_.end(), component);
    if (it != layers_.end()) {
        (*it)->setLayerOwner(nullptr);
        layers_.erase(it);
    }
    AView::componentDeleted(component);
}

long ALayerView::dispatchKey(AKeyEvent& event) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        ACommand* c = (*it)->keyToCommand(event);
        if (c != passThroughCommand())
            return perform(c);
    }
    return AView::dispatchKey(event);
}

long ALayerView::dispatchChar(AKeyEvent& event) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        ACommand* c = (*it)->charToCommand(event);
        if (c != passThroughCommand())
            return perform(c);
    }
    return AView::dispatchChar(event);
}

void ALayerView::setTransparent(bool on) {
    AView::setTransparent(on);
    if (!layers_.empty())
        layers_.front()->setTransparent(on);
}

void ALayerView::setDrawnThroughAncestor(bool on) {
    AView::setDrawnThroughAncestor(on);
    for (AViewLayer* l : layers_)
        l->setDrawnThroughAncestor(on);
}

int32_t ALayerView::firstAnswer(int32_t (AViewLayer::*query)(), int32_t own) {
    for (AViewLayer* l : layers_) {
        int32_t v = (l->*query)();
        if (v != -1)
            return v;
    }
    return own;
}

int32_t ALayerView::horizontalLineStep() {
    return firstAnswer(&AViewLayer::horizontalLineStep, AView::horizontalLineStep());
}
int32_t ALayerView::verticalLineStep() {
    return firstAnswer(&AViewLayer::verticalLineStep, AView::verticalLineStep());
}
int32_t ALayerView::maxScrollX() {
    return firstAnswer(&AViewLayer::maxScrollX, AView::maxScrollX());
}
int32_t ALayerView::maxScrollY() {
    return firstAnswer(&AViewLayer::maxScrollY, AView::maxScrollY());
}
int32_t ALayerView::scrollX() {
    return firstAnswer(&AViewLayer::scrollX, AView::scrollX());
}
int32_t ALayerView::scrollY() {
    return firstAnswer(&AViewLayer::scrollY, AView::scrollY());
}
int32_t ALayerView::visibleWidth() {
    return firstAnswer(&AViewLayer::visibleWidth, AView::visibleWidth());
}
int32_t ALayerView::visibleHeight() {
    return firstAnswer(&AViewLayer::visibleHeight, AView::visibleHeight());
}

bool ALayerView::scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    bool any = false;
    for (AViewLayer* l : layers_)
        any |= l->scrollVertically(code, value, shift, delta);
    return any;
}

bool ALayerView::scrollHorizontally(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    bool any = false;
    for (AViewLayer* l : layers_)
        any |= l->scrollHorizontally(code, value, shift, delta);
    return any;
}

bool ALayerView::scrollViewVertically(AViewLayer* layer, int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    if (layers_.empty() || layers_.front() != layer)
        return false;
    return AView::scrollVertically(code, value, shift, delta);
}

bool ALayerView::scrollViewHorizontally(AViewLayer* layer, int16_t code, int32_t value, int16_t& shift,
                                        int32_t& delta) {
    if (layers_.empty() || layers_.front() != layer)
        return false;
    return AView::scrollHorizontally(code, value, shift, delta);
}

void ALayerView::updateScrollers() {
    for (AViewLayer* l : layers_)
        l->updateScrollers();
    AView::updateScrollers();
}

int16_t ALayerView::keyScrollFlags() {
    int16_t flags = 0;
    for (AViewLayer* l : layers_)
        flags |= l->keyScrollFlags();
    return flags;
}

void ALayerView::scrollBegin(const APoint& p) {
    for (AViewLayer* l : layers_)
        l->scrollBegin(p);
}

void ALayerView::scrollEnd(const APoint& p) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        (*it)->scrollEnd(p);
}

AScrollingTracker* ALayerView::makeMouseTracker(AMouseEvent& event) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (AScrollingTracker* t = (*it)->makeMouseTracker(event))
            return t;
    return AView::makeMouseTracker(event);
}

void ALayerView::pictureFrozen() {
    for (AViewLayer* l : layers_)
        l->pictureFrozen();
}

void ALayerView::pictureThawed() {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        (*it)->pictureThawed();
}

ARegion ALayerView::updateRegion() {
    ARegion all;
    for (AViewLayer* l : layers_)
        all.unite(l->updateRegion());
    return all;
}

void ALayerView::scrollTo(const APoint& p) {
    APoint delta = p - getLocalOrigin();
    if (delta.x == 0 && delta.y == 0)
        return;
    AView::scrollTo(p);
    for (AViewLayer* l : layers_)
        l->moveStoredFrame(delta);
}

uint16_t ALayerView::printOption(long argument) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (uint16_t v = (*it)->printOption(argument))
            return v;
    return AView::printOption(argument);
}

long ALayerView::firstPage() {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (long v = (*it)->firstPage())
            return v;
    return AView::firstPage();
}

long ALayerView::countPages(const ARect& body) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (long v = (*it)->countPages(body))
            return v;
    return AView::countPages(body);
}

bool ALayerView::preparePart(long part) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if ((*it)->preparePart(part))
            return true;
    return AView::preparePart(part);
}

// A layer that does not paginate answers yes for every page of the range,
// so the view has a page when no layer lacks it.
bool ALayerView::pageAvailable(const APrintRange& range, long page) {
    if (!AView::pageAvailable(range, page))
        return false;
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (!(*it)->pageAvailable(range, page))
            return false;
    return true;
}

void ALayerView::beginPrinting(const ARect& body) {
    for (AViewLayer* l : layers_)
        l->beginPrinting(body);
}

void ALayerView::endPrinting() {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        (*it)->endPrinting();
}

void ALayerView::cancelPrinting() {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        (*it)->cancelPrinting();
}

long ALayerView::pageOrientation(long page) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (long v = (*it)->pageOrientation(page))
            return v;
    return 0;
}

void ALayerView::drawPage(const ARect& body, long page, bool draw) {
    for (AViewLayer* l : layers_)
        if (l->layerState() == 0)
            l->drawPage(body, page, draw);
}

AViewLayer* ALayerView::layerAt(int16_t n) const {
    return n >= 0 && n < int16_t(layers_.size()) ? layers_[size_t(n)] : nullptr;
}

void ALayerView::setLayerState(int16_t n, uint16_t state) {
    if (AViewLayer* l = layerAt(n))
        l->setLayerState(state);
}
