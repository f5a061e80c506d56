// A style sheet turns the markup's small numbers into drawing resources:
// style number (+ sub-style x 65536) -> font, colour number -> COLORREF,
// bitmap number -> bitmap description, tab-stop letter -> tab stops. Every
// number the sheet was not given answers a default, made on first use and
// kept. Shared (ARefObj): the set holds one reference, renderers their own.
//
// Sizes are points; colours 0x00BBGGRR, read ones carry 0x02000000, and
// 0xFF000000 means "not computed yet". Broken invariants assert ("gstyles").
#pragma once

#include <cstdint>
#include <memory>

#include "base/object/ALongDic.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/styles/ATabStops.h"
#include "framework/graphics/AFont.h"

class AImage;
class _AImage;

// Face, size (points), style flags (1 bold, 2 italic, 4 underline, 0x80
// TrueType, 0x100 superscript, 0x200 subscript; 0x8000 in a sub-style: add no
// flags), character set.
typedef AFontSpec AFontDesc;

struct AFontSizeRange {
    AFontSizeRange() : minimum(0), maximum(0), nominal(0) {}
    // A limit of 0 stands for the description's size.
    AFontSizeRange(const AFontDesc& desc, int16_t low, int16_t high)
        : minimum(low ? low : desc.size), maximum(high ? high : desc.size), nominal(desc.size) {}
    void shift(int16_t delta) {
        minimum = static_cast<int16_t>(minimum + delta);
        maximum = static_cast<int16_t>(maximum + delta);
    }
    int16_t minimum, maximum, nominal;
};

// A font of a sheet: the framework font of the description and the range
// size steps keep it in. Shared (ARefObj).
class AStyleFont : public ARefObj {
public:
    explicit AStyleFont(const AFontDesc& desc) : font_(desc), range_(desc, 0, 0) {}
    AStyleFont(const AFontDesc& desc, const AFontSizeRange& range) : font_(desc), range_(range) {}
    const AFontDesc& desc() const { return font_.spec(); }
    const AFontSizeRange& range() const { return range_; }
    AFont& font() { return font_; }

private:
    AFont font_;
    AFontSizeRange range_;
};

// Where a bitmap comes from: a name (the application's named bitmaps or a
// resource name), a resource number or a file, with its count of sub-images.
struct ABitmapSpec {
    enum Kind : uint16_t { kByName, kByNumber, kFromFile };
    static ABitmapSpec byName(const AString& name, int16_t subImages);
    static ABitmapSpec byNumber(long number, int16_t subImages);
    static ABitmapSpec fromFile(const AString& path, uint16_t flags, int16_t subImages);
    Kind kind = kByName;
    AString name;  // name or file path
    long number = 0;
    uint16_t flags = 0;
    int16_t subImages = 1;
};

// A bitmap of a sheet or a supplier: its description, and the picture read
// from it on first use. A picture that cannot be read (missing, damaged, of
// an unknown format) is remembered as such; its users draw a frame instead.
class ABitmapRef : public ARefObj {
public:
    explicit ABitmapRef(const ABitmapSpec& spec);
    ~ABitmapRef() override;
    const ABitmapSpec& spec() const { return spec_; }
    // The picture's body (owned here), decoded, or null when it cannot be read.
    _AImage* picture();
    // The size of one sub-image without decoding the picture (a file's header
    // alone is read: laying out needs no pixels); 0 x 0 when it cannot be read.
    APoint frameSize();
    // No picture: the bitmap a missing name stands for.
    void setMissing();
    // The picture was decoded (not merely sized).
    bool decoded() const { return tried_ && image_; }

private:
    // The body of the description, not loaded; false for a resource the program lacks.
    bool makeImage();

    ABitmapSpec spec_;
    std::unique_ptr<AImage> image_;
    bool tried_ = false;  // decoding tried (or the picture known missing)
};

class AStyleSheet : public ARefObj {
public:
    AStyleSheet();
    // Shares fonts and bitmaps, duplicates sub-styles, colours and tab stops;
    // name, size delta, adjustment and NoAdjust start empty.
    AStyleSheet(const AStyleSheet& other);
    ~AStyleSheet() override;
    AStyleSheet& operator=(const AStyleSheet&) = delete;

    // Pointers stay owned by the sheet; keep one longer with an own reference.
    AStyleFont* getFont(long style, int16_t subStyle);
    uint32_t getColor(long number);
    ABitmapRef* getBitmap(long number);
    ATabStops* getTabStops(long number);
    AFontDesc* getSubStyle(int16_t number);

    void setFont(long key, const AFontDesc& desc);
    void setStyleFont(long style, const AFontDesc& desc, const AFontSizeRange& range);
    void setSubStyle(int16_t number, const AFontDesc& desc);
    void setBitmap(long number, const ABitmapSpec& spec);
    void setColor(long number, uint32_t color);
    void setTabStops(long number, long tabWidth, uint16_t justification, uint16_t truncate, long refWidth);
    void setTabStopList(long number, const char* list, bool cumulative, uint16_t truncate, long refWidth);
    // Each font's size moves by the step within its range; 0 restores nominal sizes.
    void addSizeDelta(int16_t step);
    // Drops fonts, sub-styles, bitmaps and tab stops; colours stay.
    void clear();
    void collectFontKeys(longa_pvoidAVLMap& keys) const;
    void collectSubStyleKeys(longa_pvoidAVLMap& keys) const;
    void collectColorKeys(longa_pvoidAVLMap& keys) const;

    static AFontDesc defaultFont(long style);
    static uint32_t defaultColor(long number);
    static ABitmapSpec defaultBitmap(long number);

    AString name;
    int16_t trueType;
    int16_t fontAdjust;
    int16_t noAdjust;
    long changeStamp() const { return changeStamp_; }
    int16_t sizeDelta() const { return sizeDelta_; }

private:
    template <class T>
    static void releaseAll(longa_pvoidAVLMap& map);

    longa_pvoidAVLMap fonts_;      // key -> AStyleFont, one reference each
    longa_pvoidAVLMap subStyles_;  // number -> AFontDesc, owned
    longa_pvoidAVLMap bitmaps_;    // number -> ABitmapRef, one reference each
    ALongLongDic colors_;          // absent or 0xFF000000: the default
    longa_pvoidAVLMap tabStops_;   // number -> ATabStops, one reference each
    long changeStamp_;
    int16_t sizeDelta_;
};
