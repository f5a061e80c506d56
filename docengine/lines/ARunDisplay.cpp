// The run display over the drawing layer's current display.
#include "docengine/lines/ARunDisplay.h"

#include <algorithm>
#include <vector>

#include "base/procedural/AError.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/AImage.h"

namespace {

AGraphicDisplay* Current() {
    AGraphicDisplay* display = ADisplayContext::instance().current();
    if (!display)
        ThrowAssert("gdatarun", 163);
    return display;
}

ARunExtent RunExtent(const ATextExtent& e) {
    return ARunExtent{e.width, e.metrics.ascent + e.metrics.descent + e.metrics.leading,
                      e.metrics.ascent + e.metrics.leading};
}

}  // namespace

long ARunDisplay::xOfIndex(AStyleFont* font, const char* text, long length, long index) {
    if (index <= 0)
        return 0;
    return extent(font, text, index < length ? index : length).width;
}

long ARunDisplay::indexAtWidth(const int32_t* cumulative, long length, long x, int16_t& flag) {
    return _AFont::indexAtWidth(cumulative, length, static_cast<int32_t>(x), flag);
}

ARunExtent AGdiRunDisplay::extent(AStyleFont* font, const char* text, long length) {
    return RunExtent(font->font().body()->measure(text, length));
}

bool AGdiRunDisplay::prefixWidths(AStyleFont* font, const char* text, long length, int32_t* widths,
                                  ARunExtent& whole) {
    ATextExtent e = {};
    if (!font->font().body()->prefixWidths(text, length, widths, e))
        return false;
    whole = RunExtent(e);
    return true;
}

long AGdiRunDisplay::indexAtX(AStyleFont* font, const char* text, long length, long x, int16_t& flag) {
    return font->font().body()->indexAtOffset(text, length, static_cast<int32_t>(x), flag);
}

// The glyphs go where the layout measured them: Wine draws the Liberation faces
// narrower than it measures them ("Un volcan est un": 107 measured, 99 inked), which
// left a gap before every run that follows another on its line.
long AGdiRunDisplay::drawText(AStyleFont* font, long x, long y, const char* text, long length, uint32_t colour) {
    _AFont* body = font->font().body();
    APoint p(static_cast<int32_t>(x), static_cast<int32_t>(y));
    AGraphicDisplay* display = Current();
    int n = static_cast<int>(std::min(length, 32767L));
    if (n <= 0 || !display->isDrawable() || display->isPrintLike() || display->dc() != display->getMeasureDC())
        return body->drawText(p, text, length, colour);
    long ascent = body->metrics().ascent;  // selects the font
    HDC dc = display->dc();
    std::vector<int> advances(static_cast<size_t>(n));
    SIZE size = {0, 0};
    TEXTMETRICA tm = {};
    if (!GetTextExtentExPointA(dc, text, n, 0, nullptr, advances.data(), &size) || !GetTextMetricsA(dc, &tm))
        return body->drawText(p, text, length, colour);
    for (int i = n - 1; i > 0; --i)
        advances[static_cast<size_t>(i)] -= advances[static_cast<size_t>(i - 1)];
    APoint at = display->toDevice(p);
    at.y += static_cast<int32_t>(tm.tmAscent - ascent);  // raised or lowered script
    if (colour != display->foreColor())
        display->SetForeColor(colour);
    ExtTextOutA(dc, at.x, at.y, 0, nullptr, text, static_cast<UINT>(n), advances.data());
    return size.cx;
}

void AGdiRunDisplay::fillRect(const ARect& rect, uint32_t colour) {
    Current()->FillRect(rect, colour);
}

void AGdiRunDisplay::eraseRect(const ARect& rect) {
    Current()->eraseRect(rect);
}

// A picture that cannot be read keeps its place as a frame; mode 1 (selected) frames it in grey.
void AGdiRunDisplay::drawBitmap(ABitmapRef* bitmap, const ARect& rect, long subImage, int mode) {
    AGraphicDisplay* display = Current();
    _AImage* picture = (bitmap ? bitmap->picture() : nullptr);
    if (!picture) {
        display->FrameRect(rect, static_cast<uint16_t>(mode == 1 ? 2 : 1));
        return;
    }
    int frames = picture->spec().columns() * picture->spec().rows();
    int index = subImage >= 0 && subImage < frames ? static_cast<int>(subImage) : 0;
    if (display->flags() & AGraphicDisplay::kMeasureOnly)
        return;
    picture->drawFrame(rect, nullptr, index, _AImage::kOpaque);
    if (mode == 1)
        display->FrameRect(rect, 2);
}

// From the picture's header: only drawing decodes it.
ARunExtent AGdiRunDisplay::bitmapSize(ABitmapRef* bitmap) {
    APoint size = bitmap ? bitmap->frameSize() : APoint(0, 0);
    if (size.x <= 0 || size.y <= 0)
        return ARunExtent{16, 16, 12};
    return ARunExtent{size.x, size.y, size.y};
}

bool AGdiRunDisplay::canMeasure() {
    return ADisplayContext::instance().current() != nullptr;
}

bool AGdiRunDisplay::printing() {
    return Current()->isPrintLike();
}

uint32_t AGdiRunDisplay::defaultColour() {
    return Current()->resolvedForeColor();
}
