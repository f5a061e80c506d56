// Style sheets: defaults, stores, size steps and copies.
#include "docengine/styles/AStyleSheet.h"

#include "base/procedural/AError.h"
#include "framework/graphics/AImage.h"
#include "framework/resources/AResource.h"

namespace {

const uint32_t kUnset = 0xFF000000;

long FontKey(long style, int16_t subStyle) {
    return style + static_cast<long>(subStyle) * 65536;
}

template <class T>
T* At(const longa_pvoidAVLMap& map, long key) {
    Pix p = map.seek(key);
    return p ? static_cast<T*>(map.contentsOf(p)) : nullptr;
}

// Stores a counted object under the key, releasing what was there.
template <class T>
void Replace(longa_pvoidAVLMap& map, long key, T* value) {
    value->addRef();
    void*& slot = map.slot(key);
    T* old = static_cast<T*>(slot);
    slot = value;
    if (old)
        old->release();
}

}  // namespace

ABitmapRef::ABitmapRef(const ABitmapSpec& spec) : spec_(spec) {}

ABitmapRef::~ABitmapRef() = default;

void ABitmapRef::setMissing() {
    tried_ = true;
    image_.reset();
}

// Sub-images stand side by side: one row of that many columns.
bool ABitmapRef::makeImage() {
    if (image_)
        return true;
    uint16_t grid = static_cast<uint16_t>(0x0100 | (spec_.subImages > 0 && spec_.subImages < 256 ? spec_.subImages : 1));
    AImageSpec image;
    switch (spec_.kind) {
        case ABitmapSpec::kFromFile:
            // The readers know a file's format by its first bytes; the sheet's flags are about stretching.
            image = AImageSpec::fromFile(spec_.name.c_str(), grid, 0);
            break;
        case ABitmapSpec::kByNumber:
            image = AImageSpec(static_cast<uint16_t>(spec_.number), grid, 0, false);
            break;
        default:
            image = AImageSpec(AResourceRef(spec_.name.c_str()), grid);
    }
    // A bitmap resource the program lacks is a missing picture, not a fault of the drawing layer.
    if (!(image.flags & AImageSpec::kFile) && !AResource(2, image.resource).exists())
        return false;
    image_.reset(new AImage(image));
    return true;
}

_AImage* ABitmapRef::picture() {
    if (tried_)
        return image_ ? image_->body() : nullptr;
    tried_ = true;
    if (!makeImage())
        return nullptr;
    try {
        APoint size = image_->body()->size();  // reads it now: a refused file shows here, not while drawing
        if (size.x <= 0 || size.y <= 0)
            image_.reset();
    } catch (const AThrowableError&) {  // a refused file (AImageLibError)
        image_.reset();
    } catch (const AKYError&) {  // a file that cannot be opened or read
        image_.reset();
    }
    return image_ ? image_->body() : nullptr;
}

APoint ABitmapRef::frameSize() {
    if (tried_)
        return image_ ? image_->body()->frameSize() : APoint(0, 0);
    if (!makeImage()) {
        tried_ = true;
        return APoint(0, 0);
    }
    try {
        return image_->body()->storedFrameSize();
    } catch (const AThrowableError&) {
    } catch (const AKYError&) {
    }
    tried_ = true;
    image_.reset();
    return APoint(0, 0);
}

ABitmapSpec ABitmapSpec::byName(const AString& name, int16_t subImages) {
    ABitmapSpec spec;
    spec.name = name;
    spec.subImages = subImages;
    return spec;
}

ABitmapSpec ABitmapSpec::byNumber(long number, int16_t subImages) {
    ABitmapSpec spec;
    spec.kind = kByNumber;
    spec.number = number;
    spec.subImages = subImages;
    return spec;
}

ABitmapSpec ABitmapSpec::fromFile(const AString& path, uint16_t flags, int16_t subImages) {
    ABitmapSpec spec;
    spec.kind = kFromFile;
    spec.name = path;
    spec.flags = flags;
    spec.subImages = subImages;
    return spec;
}

AStyleSheet::AStyleSheet() : trueType(0), fontAdjust(0), noAdjust(0), changeStamp_(0), sizeDelta_(0) {}

AStyleSheet::AStyleSheet(const AStyleSheet& other)
    : ARefObj(), trueType(other.trueType), fontAdjust(0), noAdjust(0), changeStamp_(0), sizeDelta_(0) {
    for (Pix p = other.fonts_.first(); p; other.fonts_.next(p))
        Replace(fonts_, other.fonts_.keyOf(p), static_cast<AStyleFont*>(other.fonts_.contentsOf(p)));
    for (Pix p = other.bitmaps_.first(); p; other.bitmaps_.next(p))
        Replace(bitmaps_, other.bitmaps_.keyOf(p), static_cast<ABitmapRef*>(other.bitmaps_.contentsOf(p)));
    for (Pix p = other.subStyles_.first(); p; other.subStyles_.next(p))
        subStyles_.slot(other.subStyles_.keyOf(p)) =
            CheckAlloc(new AFontDesc(*static_cast<AFontDesc*>(other.subStyles_.contentsOf(p))), "gstyles", 140);
    for (Pix p = other.colors_.first(); p; other.colors_.next(p))
        colors_.slot(other.colors_.keyOf(p)) = other.colors_.numberOf(p);
    for (Pix p = other.tabStops_.first(); p; other.tabStops_.next(p))
        Replace(
            tabStops_, other.tabStops_.keyOf(p),
            CheckAlloc(new ATabStops(*static_cast<ATabStops*>(other.tabStops_.contentsOf(p)), 1, 1), "gstyles", 150));
    changeStamp_ = 1;
}

AStyleSheet::~AStyleSheet() {
    clear();
}

template <class T>
void AStyleSheet::releaseAll(longa_pvoidAVLMap& map) {
    for (Pix p = map.first(); p; map.next(p))
        static_cast<T*>(map.contentsOf(p))->release();
    map.clear();
}

void AStyleSheet::clear() {
    releaseAll<AStyleFont>(fonts_);
    releaseAll<ABitmapRef>(bitmaps_);
    releaseAll<ATabStops>(tabStops_);
    for (Pix p = subStyles_.first(); p; subStyles_.next(p))
        delete static_cast<AFontDesc*>(subStyles_.contentsOf(p));
    subStyles_.clear();
    ++changeStamp_;
}

AFontDesc AStyleSheet::defaultFont(long style) {
    switch (style) {
        case 0:
            return AFontDesc("Times", 12, 0);
        case 1:
            return AFontDesc("Times", 12, AFontSpec::kBold);
        case 2:
            return AFontDesc("Times", 12, AFontSpec::kBold | AFontSpec::kItalic);
        case 3:
            return AFontDesc("Courier New", 10, 0);
        case 4:
            return AFontDesc("Times", 12, AFontSpec::kItalic);
        case 5:
            return AFontDesc("Times", 10, 0);
        case 6:
            return AFontDesc("Arial", 11, AFontSpec::kBold);
        default:
            return AFontDesc("Courier", 12, AFontSpec::kUnderline);
    }
}

uint32_t AStyleSheet::defaultColor(long number) {
    static const uint32_t kColors[] = {0x000000, 0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF};
    return number >= 0 && number < 5 ? kColors[number] : 0x000000;
}

ABitmapSpec AStyleSheet::defaultBitmap(long number) {
    switch (number) {
        case 1:
            return ABitmapSpec::byName("bmp_open", 2);
        case 2:
            return ABitmapSpec::byName("bmp_close", 2);
        case 3:
            return ABitmapSpec::byName("BITMAP_4", 1);
        case 4:
            return ABitmapSpec::byName("BITMAP_5", 1);
        default:
            return ABitmapSpec::byName("bmp_ref", 2);
    }
}

AStyleFont* AStyleSheet::getFont(long style, int16_t subStyle) {
    long key = FontKey(style, subStyle);
    if (AStyleFont* font = At<AStyleFont>(fonts_, key))
        return font;
    AStyleFont* made;
    if (subStyle == 0) {
        made = CheckAlloc(new AStyleFont(defaultFont(style)), "gstyles", 300);
    } else {
        AStyleFont* plain = getFont(style, 0);
        AFontDesc* sub = getSubStyle(subStyle);
        if (!plain || !sub)
            ThrowAssert("gstyles", 306);
        AFontDesc desc(plain->desc());
        if (!sub->face.empty())
            desc.face = sub->face;
        if (!(sub->style & 0x8000))
            desc.style = static_cast<uint16_t>(desc.style | sub->style);
        if (sub->size > 0)
            desc.size = sub->size;
        made = CheckAlloc(new AStyleFont(desc, plain->range()), "gstyles", 318);
    }
    Replace(fonts_, key, made);
    return made;
}

uint32_t AStyleSheet::getColor(long number) {
    if (!colors_.contains(number))
        colors_.slot(number) = static_cast<long>(kUnset);
    long& slot = colors_.slot(number);
    if (static_cast<uint32_t>(slot) == kUnset)
        slot = static_cast<long>(defaultColor(number));
    return static_cast<uint32_t>(slot);
}

ABitmapRef* AStyleSheet::getBitmap(long number) {
    if (ABitmapRef* bitmap = At<ABitmapRef>(bitmaps_, number))
        return bitmap;
    ABitmapRef* made = CheckAlloc(new ABitmapRef(defaultBitmap(number)), "gstyles", 360);
    Replace(bitmaps_, number, made);
    return made;
}

ATabStops* AStyleSheet::getTabStops(long number) {
    if (ATabStops* stops = At<ATabStops>(tabStops_, number))
        return stops;
    ATabStops* made = CheckAlloc(new ATabStops(32, ATabStop::kDefault, 0, 0), "gstyles", 375);
    Replace(tabStops_, number, made);
    return made;
}

AFontDesc* AStyleSheet::getSubStyle(int16_t number) {
    void*& slot = subStyles_.slot(number);
    if (!slot)
        slot = CheckAlloc(new AFontDesc("", 0, 0), "gstyles", 390);
    return static_cast<AFontDesc*>(slot);
}

void AStyleSheet::setFont(long key, const AFontDesc& desc) {
    Replace(fonts_, key, CheckAlloc(new AStyleFont(desc), "gstyles", 400));
    ++changeStamp_;
}

void AStyleSheet::setStyleFont(long style, const AFontDesc& desc, const AFontSizeRange& range) {
    Replace(fonts_, style, CheckAlloc(new AStyleFont(desc, range), "gstyles", 406));
    ++changeStamp_;
}

void AStyleSheet::setSubStyle(int16_t number, const AFontDesc& desc) {
    AFontDesc* copy = CheckAlloc(new AFontDesc(desc), "gstyles", 412);
    void*& slot = subStyles_.slot(number);
    delete static_cast<AFontDesc*>(slot);
    slot = copy;
    ++changeStamp_;
}

void AStyleSheet::setBitmap(long number, const ABitmapSpec& spec) {
    Replace(bitmaps_, number, CheckAlloc(new ABitmapRef(spec), "gstyles", 420));
    ++changeStamp_;
}

void AStyleSheet::setColor(long number, uint32_t color) {
    colors_.slot(number) = static_cast<long>(color);
    ++changeStamp_;
}

void AStyleSheet::setTabStops(long number, long tabWidth, uint16_t justification, uint16_t truncate, long refWidth) {
    Replace(tabStops_, number, CheckAlloc(new ATabStops(tabWidth, justification, truncate, refWidth), "gstyles", 432));
    ++changeStamp_;
}

void AStyleSheet::setTabStopList(long number, const char* list, bool cumulative, uint16_t truncate, long refWidth) {
    Replace(tabStops_, number, CheckAlloc(new ATabStops(list, cumulative, truncate, refWidth), "gstyles", 438));
    ++changeStamp_;
}

// Each step starts from the current size, so a step that hits a limit is not
// undone exactly by the opposite one (12 in [10, 14]: +3 gives 14, -3 gives 11).
void AStyleSheet::addSizeDelta(int16_t step) {
    for (Pix p = fonts_.first(); p; fonts_.next(p)) {
        AStyleFont* old = static_cast<AStyleFont*>(fonts_.contentsOf(p));
        AFontDesc desc(old->desc());
        AFontSizeRange range = old->range();
        if (step == 0) {
            desc.size = range.nominal;
        } else {
            int16_t size = static_cast<int16_t>(desc.size + step);
            if (size < range.minimum)
                size = range.minimum;
            if (size > range.maximum)
                size = range.maximum;
            desc.size = size;
        }
        AStyleFont* made = CheckAlloc(new AStyleFont(desc, range), "gstyles", 470);
        made->addRef();
        fonts_.contents(p) = made;
        old->release();
    }
    sizeDelta_ = step == 0 ? 0 : static_cast<int16_t>(sizeDelta_ + step);
    ++changeStamp_;
}

void AStyleSheet::collectFontKeys(longa_pvoidAVLMap& keys) const {
    for (Pix p = fonts_.first(); p; fonts_.next(p))
        keys.slot(fonts_.keyOf(p)) = nullptr;
    for (long i = 0; i <= 6; ++i)
        keys.slot(i) = nullptr;
}

void AStyleSheet::collectSubStyleKeys(longa_pvoidAVLMap& keys) const {
    for (Pix p = subStyles_.first(); p; subStyles_.next(p))
        keys.slot(subStyles_.keyOf(p)) = nullptr;
}

void AStyleSheet::collectColorKeys(longa_pvoidAVLMap& keys) const {
    for (Pix p = colors_.first(); p; colors_.next(p))
        keys.slot(colors_.keyOf(p)) = nullptr;
    for (long i = 0; i <= 4; ++i)
        keys.slot(i) = nullptr;
}
