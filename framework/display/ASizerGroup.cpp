// Sizer groups, sizer boxes and the grow box.
#include "framework/display/ASizerGroup.h"

#include <algorithm>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AGraphicDisplay.h"

SV_IMPLEMENT_CLASS(ASizerGroup, 121, ADisplayComponent)
SV_IMPLEMENT_CLASS(ASizerBox, 141, ASizerGroup)
SV_IMPLEMENT_CLASS(AGrowBox, 137, ASizerGroup)

void ASizerGroup::readFrom(AMemoryStream& stream) {
    ADisplayComponent::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fdisplay", 2570);
}

// A group never erases its background: what lies under it shows through.
void ASizerGroup::attachItems() {
    ADisplayComponent::attachItems();
    if (setEraseBackgroundFlag(false))
        invalidate();
}

void ASizerBox::readFrom(AMemoryStream& stream) {
    ASizerGroup::readFrom(stream);
    options_ = static_cast<uint16_t>(stream.readShort());
    ALayoutLoader::readEndMark(stream, "fdisplay", 2617);
}

void ASizerBox::activeChanged(int16_t on) {
    ASizerGroup::activeChanged(on);
    if (getDisplayParent())
        invalidateBorderInParent();
}

ARect ASizerBox::getOuterFrame() {
    const ARect& f = getFrame();
    return ARect(f.left() - 4, f.top() - 4, f.right() + 4, f.bottom() + 4);
}

namespace {

bool Meets(const ARect& a, const ARect& b) {
    return std::max(a.left(), b.left()) < std::min(a.right(), b.right()) &&
           std::max(a.top(), b.top()) < std::min(a.bottom(), b.bottom());
}

}  // namespace

// The inner outline lies 1 outside the frame, the target outline on the
// outer frame's edge; bounds is the area being redrawn.
void ASizerBox::drawBorder(const ARect& bounds, long, long) {
    AGraphicDisplay* display = ADisplayContext::instance().current();
    if (!display)
        return;
    ARect r = getOuterFrame();
    ARect inner(r.left() + 3, r.top() + 3, r.right() - 3, r.bottom() - 3);
    if ((options_ & kInnerOutline) && Meets(inner, bounds))
        display->FrameRect(inner, 1);
    if ((options_ & kTargetOutline) && (flags() & kOnTargetChain) && Meets(r, bounds))
        display->FrameRect(r, 2);
}

void AGrowBox::readFrom(AMemoryStream& stream) {
    ASizerGroup::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fdisplay", 2741);
}

void AGrowBox::attachItems() {
    ASizerGroup::attachItems();
    HWND parent = enclosingWindow();
    const ARect& f = getFrame();
    HWND made = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_SIZEBOX, f.left(), f.top(), f.width(), f.height(),
                                parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    control_ = CheckAlloc(made, "fdisplay", 2727);
    setNativeWindow(control_);
}

void AGrowBox::detachItems() {
    HWND control = control_;
    control_ = nullptr;
    setNativeWindow(nullptr);
    if (control && IsWindow(control))
        DestroyWindow(control);
    ASizerGroup::detachItems();
}
