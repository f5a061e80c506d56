// A display environment: the font, foreground, background and alignment
// that a component passes down to its children. A property is either set
// here or inherited from the nearest enclosing environment; changes are
// pushed down the component tree to the environments that inherit them.
//
// Colours: the low three bytes a COLORREF, the top byte a tag; 0xFE000000
// not set, tag 0x02 an explicit colour, 0xFB000000 the standard grey.
// A missing text-style resource leaves the defaults; a short one raises
// AMemoryStreamError.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/resources/AResource.h"

class AFont;
class AFontSpec;
class AMemoryStream;
class ADisplaySite;
class AComponent;

class ATextStyle {
public:
    // Property bits of every mask.
    enum : uint8_t { kFont = 1, kFore = 2, kBack = 4, kAlign = 8, kAll = 0x0F };
    static constexpr COLORREF kUnset = 0xFE000000;
    static constexpr COLORREF kGrey = 0xFB000000;
    static const uint16_t kResourceType = 259;

    // Defaults, then the text-style resource.
    explicit ATextStyle(const AResourceRef& ref);
    explicit ATextStyle(const AFontSpec& spec);
    // Takes over font (may be null); back kGrey becomes the standard grey.
    ATextStyle(AFont* font, COLORREF fore, COLORREF back, uint16_t align);
    // Copies the properties, not the owner nor the masks.
    ATextStyle(const ATextStyle& other);
    ATextStyle& operator=(const ATextStyle&) = delete;
    virtual ~ATextStyle();

    void load(const AResourceRef& ref);
    // Reads one type-259 record; number 1 is the grey-background style.
    void loadFrom(AMemoryStream& stream, uint16_t number);

    uint8_t unsetMask() const;
    void copyFrom(const ATextStyle& other, uint8_t mask);
    uint8_t inherit(uint8_t mask, uint8_t bits);
    // Attaches to site (null detaches); with push every property is pushed down.
    void attach(ADisplaySite* owner, bool push);
    void propagate(uint8_t mask) { propagate(mask, false); }
    void merge(const ATextStyle& other) { copyFrom(other, unsetMask()); }

    void setFont(const AFontSpec& spec);
    void setForeColor(COLORREF color);
    void setBackColor(COLORREF color);
    // The background brush (cached, not owned), null while the background is not set.
    HBRUSH backgroundBrush();

    AFont* font() const { return font_; }
    COLORREF foreColor() const { return fore_; }
    COLORREF backColor() const { return back_; }
    uint16_t alignment() const { return align_; }
    uint8_t inheritedMask() const { return inherited_; }
    uint8_t dependentsMask() const { return dependents_; }
    bool isGrey() const { return grey_ != 0; }
    ADisplaySite* owner() const { return owner_; }

private:
    void propagate(uint8_t mask, bool all);
    void setColor(COLORREF& slot, COLORREF color, uint8_t bit);
    static void pushToChildren(ATextStyle* from, uint8_t mask, AComponent* component);

    ADisplaySite* owner_;  // not owned
    AFont* font_;          // owned, null when not set
    COLORREF fore_;
    COLORREF back_;
    HBRUSH brush_;  // not owned: the brush cache's
    uint16_t align_;
    uint8_t inherited_;
    uint8_t dependents_;
    uint16_t grey_;
};
