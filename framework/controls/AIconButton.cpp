// Icon buttons: strips of frames, the press tracking and auto-repeat.
#include "framework/controls/AIconButton.h"

#include <cstdlib>
#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/ADCTextState.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/AImage.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(AIconButton, 127, APushButton)
SV_IMPLEMENT_CLASS(AFramedButton, 343, AIconButton)

// Captures the mouse for one press of an icon button; the button's timer in
// the application's timer list gives the auto-repeat steps. One press runs at a time.
class AIconTracker : public AMouseTracker {
public:
    explicit AIconTracker(AIconButton* button) : button_(button) {
        current_ = this;
        if (HWND window = button->enclosingWindow())
            SetCapture(window);
        button->trackStart();
        if (button->repeatPeriod() != 0)
            timer_ = button->addTimer(button->firstDelay());
    }
    ~AIconTracker() override {
        if (timer_)
            button_->restartTimer(timer_);
        current_ = nullptr;
        ReleaseCapture();
    }
    ADisplayComponent* owner() override { return button_; }
    ACommand* trackMove(AMouseEvent& event) override {
        bool moved = event.where != last_.where;
        last_ = event;
        button_->trackMove(event.where, moved);
        return AComponent::noChangeCommand();
    }
    ACommand* trackRelease(AMouseEvent& event) override {
        button_->trackEnd(event.where);
        return AComponent::noChangeCommand();
    }
    // A step of the held button; false for another timer.
    bool timerStep(uint16_t id) {
        if (id == 0 || id != timer_)
            return false;
        button_->trackMove(last_.where, false);
        return true;
    }
    // Later steps come once per period.
    void setDelay(uint32_t delay) {
        if (timer_)
            button_->setTimerDelay(timer_, delay);
    }
    static AIconTracker* current() { return current_; }

private:
    AIconButton* button_;  // not owned
    AMouseEvent last_{APoint(-32768, -32768), 0};
    uint16_t timer_ = 0;
    static AIconTracker* current_;
};

AIconTracker* AIconTracker::current_ = nullptr;

// AIconButton.

AIconButton::AIconButton() {
    addItemFlags(kRolloverFrame);
}

AIconButton::AIconButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t iconFlags,
                         const char* iconName)
    : APushButton(parent, id, rule, false), iconName_(iconName ? iconName : "") {
    addItemFlags(iconFlags);
}

AIconButton::~AIconButton() = default;

void AIconButton::readFrom(AMemoryStream& stream) {
    APushButton::readFrom(stream);
    clearItemFlags(kRolloverFrame);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    iconName_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fcontrol", 656);
}

void AIconButton::attachItems() {
    APushButton::attachItems();
    if (itemFlags() & kNative) {
        DWORD style = (itemFlags() & kGroup) ? WS_GROUP : 0;
        makeNative(new (std::nothrow) ANativeBorButton(this, "", style, nativeRect(), true), 581);
        return;
    }
    setEraseBackgroundFlag(false);
    if (itemFlags() & kDrawn)
        setTransparentFlag(true);
    icon_.reset(loadIcon(iconName_.c_str()));
}

void AIconButton::detachItems() {
    if (AIconTracker::current() && ADisplayServices::current().tracker() == AIconTracker::current())
        ADisplayServices::current().endTracking();
    icon_.reset();
    APushButton::detachItems();
}

int AIconButton::frameCount(uint16_t flags) {
    int n = (flags & kSingleFrame) ? 1 : 2;
    n += (flags & kDisabledFrame) ? 1 : 0;
    n += (flags & kFocusFrame) ? 1 : 0;
    n += (flags & kRolloverFrame) ? 1 : 0;
    return (flags & kTwoRows) ? n + 0x200 : n;
}

int AIconButton::frameIndex(uint16_t flags, uint16_t state, bool pressed, bool rollover, bool enabled, bool focused,
                            int iconFrames) {
    int base = (flags & kDisabledFrame) ? 1 : 0;
    bool roll = (flags & kRolloverFrame) != 0;
    int index;
    if (!(state & kOn) || ((flags & kDisabledWhenInactive) && !enabled))
        index = base - 1;
    else if (flags & kSingleFrame)
        index = base;
    else if (pressed)
        index = roll ? base + 2 : base + 1;
    else if (rollover)
        index = roll ? base + 1 : base;
    else if (focused && (flags & kFocusFrame))
        index = roll ? base + 3 : base + 2;
    else
        index = base;
    if ((state & kMarked) && index >= 0)
        index += iconFrames;
    return index;
}

int AIconButton::currentFrame() {
    bool checked = (state() & kMarked) != 0;
    if (checked && !icon_)
        ThrowAssert("fcontrol", 699);
    int frames = icon_ ? (icon_->body()->spec().grid & 0xFF) : 0;
    uint16_t shown = state();
    // A strip without the chosen row shows a chosen button as a plain one
    // rather than asking for a frame the picture does not have.
    if (checked && icon_->body()->spec().rows() < 2)
        shown = static_cast<uint16_t>(shown & ~kMarked);
    return frameIndex(itemFlags(), shown, pressed_ != 0, rollover_ != 0, hasFlags(kActive), currentTarget() == this,
                      frames);
}

AImage* AIconButton::loadIcon(const char* name) {
    auto frames = static_cast<uint16_t>(frameCount(itemFlags()));
    if (!name || !*name)
        return nullptr;
    if (name[0] == '#') {
        int number = std::atoi(name + 1);
        if (number <= 0 || number > 0xFFFF)
            return nullptr;
        return CheckAlloc(new AImage(AImageSpec(static_cast<uint16_t>(number), frames, 0, false)), "fcontrol", 631);
    }
    AImage* filed = AApp::current() ? AApp::current()->findImage(name) : nullptr;
    AImageSpec spec = filed ? filed->body()->spec() : AImageSpec(AResourceRef(name));
    spec.grid = AImageSpec::normalGrid(frames);
    return CheckAlloc(new AImage(spec), "fcontrol", 636);
}

long AIconButton::drawContent(const ARect& rect) {
    AGraphicDisplay* d = ADisplayContext::drawableCurrent();
    int index = currentFrame();
    if (drawsLinkedImages()) {
        // The images draw after the button, in the same pass.
        if (index >= 0) {
            for (AStaticImage* image : linked_)
                image->setFrame(static_cast<int16_t>(index));
        }
        return 1;
    }
    if (!icon_ || index < 0 || !d) {
        eraseBackground(rect);
        return 1;
    }
    APoint at = getLocalBounds().first;
    icon_->body()->drawFrame(ARect(at, at + icon_->body()->frameSize()), nullptr, index, _AImage::kOpaque);
    if ((itemFlags() & kCaption) && !title_.empty()) {
        // The clusters' system font, else the stock one of the interface.
        AFont* font = AClusterServices::current().systemFont();
        if (font)
            d->setFont(font->body());
        HDC dc = d->dc();
        APoint a = d->toDevice(getLocalBounds().first), b = d->toDevice(getLocalBounds().second);
        RECT r{a.x, a.y, b.x, b.y};
        // The disabled frame (the first) greys the caption with its face.
        bool disabled = index == 0 && (itemFlags() & kDisabledFrame);
        ADCTextState state(dc, disabled ? RGB(150, 154, 162) : RGB(30, 46, 80), TRANSPARENT, 0);
        state.selectFont(font ? nullptr : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, title_.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    return 1;
}

void AIconButton::setText(const char* text) {
    if (nativeChild()) {
        APushButton::setText(text);
        return;
    }
    title_ = AString(text ? text : "");
    invalidate();
}

AString AIconButton::getText() {
    return nativeChild() ? APushButton::getText() : title_;
}

ACommand* AIconButton::mouseDown(AMouseEvent& event) {
    (void)event;
    if (nativeChild())
        return passThroughCommand();
    ADisplayServices::current().startTracking(CheckAlloc(new (std::nothrow) AIconTracker(this), "fcontrol", 850));
    return noChangeCommand();
}

ACommand* AIconButton::doubleClick(AMouseEvent& event, long value) {
    (void)value;
    return mouseDown(event);
}

ACommand* AIconButton::mouseMove(AMouseEvent& event) {
    (void)event;
    if (!rollover_ && (state() & kOn) && !nativeChild()) {
        rollover_ = 1;
        invalidate();
    }
    return noChangeCommand();
}

void AIconButton::mouseEntered() {
    if (hoverNotify_)
        queueUpdate(3);
}

void AIconButton::mouseLeft() {
    if (rollover_) {
        rollover_ = 0;
        invalidate();
    }
    if (hoverNotify_)
        queueUpdate(3);
}

void AIconButton::componentAdded(AComponent* component) {
    APushButton::componentAdded(component);
    if (!component)
        ThrowAssert("fcontrol", 870);
    auto* image = static_cast<AStaticImage*>(component->castTo(&AStaticImage::classRecord));
    if (!image)
        return;
    image->setFrames(static_cast<uint16_t>(frameCount(itemFlags())));
    image->setEnabled(false);
    linked_.insert(linked_.begin(), image);
}

void AIconButton::componentDeleted(AComponent* component) {
    APushButton::componentDeleted(component);
    if (!component)
        ThrowAssert("fcontrol", 884);
    for (auto it = linked_.begin(); it != linked_.end(); ++it) {
        if (*it == component) {
            linked_.erase(it);
            return;
        }
    }
}

long AIconButton::timerFired(uint16_t id, uint32_t now) {
    (void)now;
    AIconTracker* t = AIconTracker::current();
    if (t && t->owner() == this)
        t->timerStep(id);
    return 0;
}

void AIconButton::setHilite(uint16_t on) {
    if (nativeChild()) {
        APushButton::setHilite(on);
        return;
    }
    pressed_ = on ? 1 : 0;
    redraw(false);
}

void AIconButton::setAutoRepeat(uint32_t period, uint32_t firstDelay) {
    repeatPeriod_ = period;
    firstDelay_ = firstDelay ? firstDelay : period;
}

void AIconButton::setSingleFrame(bool on) {
    if (on)
        addItemFlags(kSingleFrame);
    else
        clearItemFlags(kSingleFrame);
    if (!icon_)
        return;
    AImageSpec spec = icon_->body()->spec();
    auto frames = static_cast<uint16_t>(frameCount(itemFlags()));
    if ((spec.grid & 0xFF) == (frames & 0xFF) || (spec.flags & AImageSpec::kFile))
        return;
    spec.grid = AImageSpec::normalGrid(frames);
    // Bodies are shared by picture whatever their grid: the old one goes
    // first, or the new handle would find it with its old frames.
    icon_.reset();
    icon_.reset(CheckAlloc(new AImage(spec), "fcontrol", 605));
    invalidate();
}

void AIconButton::setIcon(const AImageSpec& spec) {
    icon_.reset();
    icon_.reset(CheckAlloc(new AImage(spec), "fcontrol", 614));
    invalidate();
}

APoint AIconButton::iconSize() const {
    return icon_ ? icon_->body()->frameSize() : APoint(0, 0);
}

void AIconButton::trackStart() {
    pressed_ = 1;
    rollover_ = 0;
    repeatFired_ = 0;
    tracked_ = getLocalBounds();
    invalidate();
}

void AIconButton::trackMove(const APoint& where, bool moved) {
    if (moved) {
        uint16_t inside = tracked_.contains(where) ? 1 : 0;
        if (inside != pressed_) {
            pressed_ = inside;
            invalidate();
        }
    }
    if (!pressed_ || repeatPeriod_ == 0)
        return;
    notifyOwner(3);
    repeatFired_ = 1;
    if (AIconTracker* t = AIconTracker::current())
        t->setDelay(repeatPeriod_);
}

void AIconButton::trackEnd(const APoint& where) {
    bool inside = pressed_ && tracked_.contains(where);
    pressed_ = 0;
    invalidate();
    if (inside && !repeatFired_)
        notifyOwner(1);
}

// AFramedButton.

void AFramedButton::readFrom(AMemoryStream& stream) {
    AIconButton::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcontrol", 959);
}

void AFramedButton::attachItems() {
    addItemFlags(kSingleFrame);
    AIconButton::attachItems();
    ARect bounds = getLocalBounds();
    APoint size(bounds.width(), bounds.height());
    APoint iconSize = icon() ? icon()->body()->frameSize() : APoint(0, 0);
    iconOffset_ = APoint((size.x - iconSize.x) / 2, (size.y - iconSize.y) / 2);
    environmentMask_ = 0x00FF;
    displayEnvChanged(getDisplayEnv(), ATextStyle::kAll);
}

void AFramedButton::displayEnvChanged(ATextStyle* style, uint8_t mask) {
    AIconButton::displayEnvChanged(style, mask);
    if (!style)
        return;
    uint16_t both = mask & environmentMask_;
    if ((both & ATextStyle::kFore) && style->foreColor() != ATextStyle::kUnset)
        pressedColour_ = style->foreColor();
    if ((both & ATextStyle::kBack) && style->backColor() != ATextStyle::kUnset)
        rolloverColour_ = style->backColor();
}

long AFramedButton::drawContent(const ARect& rect) {
    AGraphicDisplay* d = ADisplayContext::drawableCurrent();
    int index = currentFrame();
    if (index < 0 || !icon() || !d) {
        eraseBackground(rect);
        return 1;
    }
    ARect bounds = getLocalBounds();
    if (rollover())
        d->FillRect(bounds, rolloverColour_);
    else if (pressed())
        d->FillRect(bounds, pressedColour_);
    else
        eraseBackground(rect);
    APoint at = bounds.first + iconOffset_;
    icon()->body()->drawFrame(ARect(at, at + icon()->body()->frameSize()), nullptr, index, _AImage::kOpaque);
    return 1;
}
