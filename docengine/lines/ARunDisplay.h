// What data runs need of a display: measuring and drawing byte strings in a
// style-sheet font, filling rectangles and drawing bitmaps. AGdiRunDisplay
// answers through the drawing layer's current display; tests put a display
// of fixed metrics behind the same interface. A bitmap whose picture cannot be
// read measures 16 x 16 and draws as a frame.
#pragma once

#include <cstdint>

#include "base/object/ARect.h"

class ABitmapRef;
class AStyleFont;

struct ARunExtent {
    long width;
    long height;
    long ascent;  // the font's ascent plus its external leading
};

class ARunDisplay {
public:
    virtual ~ARunDisplay() = default;

    virtual ARunExtent extent(AStyleFont* font, const char* text, long length) = 0;
    // The widths of every prefix of text (widths[i]: its first i + 1 bytes)
    // and the extent of all of it, such that a piece's width is the difference
    // of two prefixes; false when pieces must be measured one by one.
    virtual bool prefixWidths(AStyleFont*, const char*, long, int32_t*, ARunExtent&) { return false; }
    // What indexAtX answers over such widths: cumulative[k] - cumulative[0]
    // is the width of the first k bytes (length + 1 of them).
    virtual long indexAtWidth(const int32_t* cumulative, long length, long x, int16_t& flag);
    // The character boundary nearest to x; flag 1 when x lies inside the
    // character that starts at the boundary (its first half).
    virtual long indexAtX(AStyleFont* font, const char* text, long length, long x, int16_t& flag) = 0;
    virtual long xOfIndex(AStyleFont* font, const char* text, long length, long index);
    // Draws with the baseline at y; answers the advance.
    virtual long drawText(AStyleFont* font, long x, long y, const char* text, long length, uint32_t colour) = 0;
    virtual void fillRect(const ARect& rect, uint32_t colour) = 0;
    virtual void eraseRect(const ARect& rect) = 0;
    // mode 0 normal, 1 selected, 2 printing.
    virtual void drawBitmap(ABitmapRef* bitmap, const ARect& rect, long subImage, int mode) = 0;
    virtual ARunExtent bitmapSize(ABitmapRef* bitmap) = 0;
    // Output goes to a printer or a preview.
    virtual bool printing() { return false; }
    virtual uint32_t defaultColour() { return 0; }
    // Whether it can measure now (the drawing layer's display needs a current display).
    virtual bool canMeasure() { return true; }
};

// The drawing layer's current display (ADisplayContext) and the fonts' own measuring.
class AGdiRunDisplay : public ARunDisplay {
public:
    ARunExtent extent(AStyleFont* font, const char* text, long length) override;
    bool prefixWidths(AStyleFont* font, const char* text, long length, int32_t* widths, ARunExtent& whole) override;
    long indexAtX(AStyleFont* font, const char* text, long length, long x, int16_t& flag) override;
    long drawText(AStyleFont* font, long x, long y, const char* text, long length, uint32_t colour) override;
    void fillRect(const ARect& rect, uint32_t colour) override;
    void eraseRect(const ARect& rect) override;
    void drawBitmap(ABitmapRef* bitmap, const ARect& rect, long subImage, int mode) override;
    ARunExtent bitmapSize(ABitmapRef* bitmap) override;
    bool printing() override;
    uint32_t defaultColour() override;
    bool canMeasure() override;
};
