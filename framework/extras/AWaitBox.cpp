// The wait box's shadow strips and message area.
#include "framework/extras/AWaitBox.h"

#include "framework/extras/ATextBox.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(_AWaitBox, 144, AWindow)

namespace {

// A strip painted in its style's background.
class AShadowStrip : public ADisplayComponent {
public:
    AShadowStrip(AComponent* parent, const ASizeSpec& rule, ATextStyle* style)
        : ADisplayComponent(parent, 0, rule), style_(style) {}
    ATextStyle* ownDisplayEnv() override { return style_; }
    long drawContent(const ARect& rect) override {
        (void)rect;
        if (ADisplayContext* context = ADisplayContext::existing())
            if (context->current()->isDrawable())
                context->current()->FillRect(getLocalBounds(), style_->backColor());
        return 1;
    }

private:
    ATextStyle* style_;  // not owned
};

AEdge EdgeOf(int32_t value, uint16_t mode) {
    AEdge e;
    e.set(value, mode, 0);
    return e;
}

template <class T>
T* Made(T* component) {
    AObject::completeNew(component);
    return component;
}

}  // namespace

_AWaitBox::_AWaitBox(int32_t width)
    : AWindow(AComponent::application(), 0, ASizeSpec(ARect(0, 0, width, 100)), nullptr, nullptr, kTopLevel | kNoBorder,
              0, ARect()),
      textBox_(nullptr),
      style_(nullptr),
      shadow_(nullptr) {}

_AWaitBox::~_AWaitBox() {
    delete style_;
    delete shadow_;
}

void _AWaitBox::childrenLoaded() {
    AWindow::childrenLoaded();
    style_ = new ATextStyle(AResourceRef(100));
    shadow_ = new ATextStyle(nullptr, ATextStyle::kUnset, RGB(0, 0, 0), 0);
    const AEdge rest = EdgeOf(0, 0x3030);
    Made(new AShadowStrip(this, ASizeSpec::fromEdges(EdgeOf(-2, 0x3220), rest, rest, rest), shadow_));
    Made(new AShadowStrip(this, ASizeSpec::fromEdges(rest, EdgeOf(-2, 0x3220), rest, rest), shadow_));
    if (style_->backColor() == ATextStyle::kUnset)
        style_->setBackColor(RGB(192, 192, 192));
    textBox_ = Made(new ATextBox(this, ASizeSpec::fromEdges(rest, rest, rest, rest), ATextBox::kCentred));
    textBox_->setDisplayEnv(style_);
}

void _AWaitBox::componentDeleted(AComponent* component) {
    if (component == textBox_)
        textBox_ = nullptr;
    AWindow::componentDeleted(component);
}
