// Display environments, their text-style resources and their inheritance
// down the component tree.
#include "framework/graphics/ATextStyle.h"

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/resources/AResourceStream.h"

namespace {

const COLORREF kStandardGrey = 0xC0C0C0;

// Four 16-bit words tag, red, green, blue; the low byte of each is packed
// as tag:blue:green:red; the tag word 0xFFFE means not set.
COLORREF ReadColor(AMemoryStream& stream) {
    uint16_t w[4];
    for (uint16_t& word : w)
        word = static_cast<uint16_t>(stream.readShort());
    if (w[0] == 0xFFFE)
        return ATextStyle::kUnset;
    return (COLORREF(w[0] & 0xFF) << 24) | (COLORREF(w[3] & 0xFF) << 16) | (COLORREF(w[2] & 0xFF) << 8) |
           COLORREF(w[1] & 0xFF);
}

ATextStyle* ParentEnv(ADisplaySite* owner) {
    ADisplaySite* parent = owner->getDisplayParent();
    return parent ? parent->getDisplayEnv() : nullptr;
}

}  // namespace

ATextStyle::ATextStyle(const AResourceRef& ref) : ATextStyle(nullptr, kUnset, kUnset, 0) {
    load(ref);
}

ATextStyle::ATextStyle(const AFontSpec& spec)
    : ATextStyle(CheckAlloc(new AFont(spec), "fdraw", 700), kUnset, kUnset, 0) {}

ATextStyle::ATextStyle(AFont* font, COLORREF fore, COLORREF back, uint16_t align)
    : owner_(nullptr),
      font_(font),
      fore_(fore),
      back_(back),
      brush_(nullptr),
      align_(align),
      inherited_(0),
      dependents_(0),
      grey_(0) {
    if (back == kGrey) {
        back_ = kStandardGrey;
        grey_ = 1;
    }
}

ATextStyle::ATextStyle(const ATextStyle& other)
    : owner_(nullptr),
      font_(other.font_ ? CheckAlloc(new AFont(*other.font_), "fdraw", 720) : nullptr),
      fore_(other.fore_),
      back_(other.back_),
      brush_(other.brush_),
      align_(other.align_),
      inherited_(0),
      dependents_(0),
      grey_(other.grey_) {}

ATextStyle::~ATextStyle() {
    delete font_;
}

void ATextStyle::load(const AResourceRef& ref) {
    AResource resource(kResourceType, ref);
    if (!resource.exists())
        return;
    AResourceStream stream(resource);
    loadFrom(stream, ref.byNumber() ? ref.number() : 0);
}

// Text-style record, little-endian:
//   marker i16 (-1: a face follows; >= 0: a stock font id) | face NUL-terminated |
//   size u16 (0 keeps the stock size) | style u16 (0 keeps the stock style) |
//   alignment u16 | fore: tag, red, green, blue u16 x 4 | back: the same
void ATextStyle::loadFrom(AMemoryStream& stream, uint16_t number) {
    stream.setByteOrder(2);
    int16_t marker = stream.readShort();
    AString face = stream.readString(-1);
    int16_t size = stream.readShort();
    uint16_t style = static_cast<uint16_t>(stream.readShort());
    align_ = static_cast<uint16_t>(stream.readShort());
    AFontSpec spec;
    if (marker < 0 && !face.empty()) {
        spec = AFontSpec(face.c_str(), size, style);
    } else {
        spec = AFontSpec::fromStock(marker < 0 ? SYSTEM_FONT : marker);
        if (size)
            spec.size = size;
        if (style)
            spec.style = style;
    }
    COLORREF fore = ReadColor(stream);
    COLORREF back = ReadColor(stream);
    delete font_;
    font_ = CheckAlloc(new AFont(spec), "fdraw", 760);
    fore_ = fore;
    back_ = back;
    brush_ = nullptr;
    if (number == 1) {
        back_ = kStandardGrey;
        grey_ = 1;
    }
}

uint8_t ATextStyle::unsetMask() const {
    uint8_t mask = 0;
    if (!font_)
        mask |= kFont;
    if (fore_ == kUnset)
        mask |= kFore;
    if (back_ == kUnset)
        mask |= kBack;
    if (align_ == 0)
        mask |= kAlign;
    return mask;
}

void ATextStyle::copyFrom(const ATextStyle& other, uint8_t mask) {
    if (mask & kFont) {
        delete font_;
        font_ = other.font_ ? CheckAlloc(new AFont(*other.font_), "fdraw", 800) : nullptr;
    }
    if (mask & kFore)
        fore_ = other.fore_;
    if (mask & kBack) {
        back_ = other.back_;
        brush_ = other.brush_;
    }
    if (mask & kAlign)
        align_ = other.align_;
}

uint8_t ATextStyle::inherit(uint8_t mask, uint8_t bits) {
    uint8_t taken = bits & mask;
    inherited_ = static_cast<uint8_t>((inherited_ & ~mask) | taken);
    if (owner_ && taken) {
        if (ATextStyle* parent = ParentEnv(owner_)) {
            copyFrom(*parent, taken);
            parent->dependents_ |= taken;
        }
    }
    return taken;
}

void ATextStyle::attach(ADisplaySite* owner, bool push) {
    owner_ = owner;
    inherit(0xFF, unsetMask());
    if (push)
        propagate(0xFF, true);
}

void ATextStyle::propagate(uint8_t mask, bool all) {
    if (!owner_) {
        dependents_ = 0;
        return;
    }
    uint8_t pending = all ? mask : (mask & dependents_);
    dependents_ &= static_cast<uint8_t>(~mask);
    if (pending)
        pushToChildren(this, pending, owner_->siteComponent());
    owner_->displayEnvChanged(this, mask);
    owner_->invalidate();
}

void ATextStyle::pushToChildren(ATextStyle* from, uint8_t mask, AComponent* component) {
    Alist& children = component->children();
    for (ALink* link = children.firstLink(); link != children.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (!child)
            ThrowAssert("fdraw", 870);
        ADisplaySite* site = ADisplaySite::of(child);
        ATextStyle* own = site ? site->ownDisplayEnv() : nullptr;
        if (own) {
            uint8_t taken = own->inherit(mask, own->inherited_);
            if (taken)
                own->propagate(taken);
            continue;
        }
        if (site)
            site->displayEnvChanged(from, mask);
        pushToChildren(from, mask, child);
    }
}

void ATextStyle::setFont(const AFontSpec& spec) {
    if (font_ && font_->spec() == spec)
        return;
    AFont* font = CheckAlloc(new AFont(spec), "fdraw", 900);
    delete font_;
    font_ = font;
    inherit(kFont, unsetMask());
    propagate(kFont);
}

void ATextStyle::setColor(COLORREF& slot, COLORREF color, uint8_t bit) {
    if (slot == color)
        return;
    slot = color;
    if (bit == kBack)
        brush_ = nullptr;
    inherit(bit, unsetMask());
    propagate(bit);
}

void ATextStyle::setForeColor(COLORREF color) {
    setColor(fore_, color, kFore);
}

void ATextStyle::setBackColor(COLORREF color) {
    setColor(back_, color, kBack);
}

HBRUSH ATextStyle::backgroundBrush() {
    if (back_ == kUnset)
        return nullptr;
    if (!brush_)
        brush_ = SolidBrush(back_);
    return brush_;
}
