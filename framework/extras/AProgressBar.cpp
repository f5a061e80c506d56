// The progress bar's fill edge, strip invalidation and drawing.
#include "framework/extras/AProgressBar.h"

#include "base/procedural/AError.h"
#include "framework/graphics/AGraphicDisplay.h"

SV_IMPLEMENT_CLASS(AProgressBar, 143, AView)

AProgressBar::AProgressBar() : maximum_(0), position_(0), fillEdge_(0), barColour_(kDefaultBarColour) {}

AProgressBar::AProgressBar(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                           const char* environment, uint16_t focusMode)
    : AView(parent, id, rule, cursorId, idMode, environment, focusMode),
      maximum_(0),
      position_(0),
      fillEdge_(0),
      barColour_(kDefaultBarColour) {}

void AProgressBar::setPosition(long value) {
    if (maximum_ == 0)
        ThrowAssert("fextras", 120);
    if (value > maximum_)
        value = maximum_;
    if (value == position_)
        return;
    position_ = value;
    const long oldEdge = fillEdge_;
    const ARect bounds = getLocalBounds();
    // 64 bits: a product past 2^31 must not wrap.
    fillEdge_ = bounds.left() + static_cast<long>(int64_t(value) * (bounds.right() - bounds.left()) / maximum_);
    const long from = oldEdge < fillEdge_ ? oldEdge : fillEdge_;
    const long to = oldEdge < fillEdge_ ? fillEdge_ : oldEdge;
    invalidateRect(ARect(from, bounds.top(), to, bounds.bottom()));
}

void AProgressBar::attachItems() {
    AView::attachItems();
    setBarColour(barColour_);
}

long AProgressBar::drawContent(const ARect& rect) {
    (void)rect;
    ADisplayContext* context = ADisplayContext::existing();
    if (!context || !context->current()->isDrawable())
        return 1;
    AGraphicDisplay* display = context->current();
    const ARect bounds = getLocalBounds();
    if (fillEdge_ > bounds.left())
        display->FillRect(ARect(bounds.left(), bounds.top(), fillEdge_, bounds.bottom()), barColour_);
    display->FrameRect(bounds, 1);
    return 1;
}
