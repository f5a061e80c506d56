// The run display over the drawing layer's current display.
#include "docengine/lines/ARunDisplay.h"

#include "base/object/AError.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/AGraphicDisplay.h"

namespace {

AGraphicDisplay* Current() {
    AGraphicDisplay* display = ADisplayContext::instance().current();
    if (!display)
        ThrowAssert("gdatarun", 163);
    return display;
}

}  // namespace

long ARunDisplay::xOfIndex(AStyleFont* font, const char* text, long length, long index) {
    if (index <= 0)
        return 0;
    return extent(font, text, index < length ? index : length).width;
}

ARunExtent AGdiRunDisplay::extent(AStyleFont* font, const char* text, long length) {
    ATextExtent e = font->font().body()->measure(text, length);
    return ARunExtent{e.width, e.metrics.ascent + e.metrics.descent + e.metrics.leading,
                      e.metrics.ascent + e.metrics.leading};
}

long AGdiRunDisplay::indexAtX(AStyleFont* font, const char* text, long length, long x, int16_t& flag) {
    return font->font().body()->indexAtOffset(text, length, static_cast<int32_t>(x), flag);
}

long AGdiRunDisplay::drawText(AStyleFont* font, long x, long y, const char* text, long length, uint32_t colour) {
    return font->font().body()->drawText(APoint(static_cast<int32_t>(x), static_cast<int32_t>(y)), text, length,
                                         colour);
}

void AGdiRunDisplay::fillRect(const ARect& rect, uint32_t colour) {
    Current()->FillRect(rect, colour);
}

void AGdiRunDisplay::eraseRect(const ARect& rect) {
    Current()->eraseRect(rect);
}

void AGdiRunDisplay::drawBitmap(ABitmapRef*, const ARect& rect, long, int mode) {
    // Bitmaps of the sheet are drawn by the application's image layer; here a frame marks their place.
    Current()->FrameRect(rect, static_cast<uint16_t>(mode == 1 ? 2 : 1));
}

ARunExtent AGdiRunDisplay::bitmapSize(ABitmapRef*) {
    return ARunExtent{16, 16, 12};
}

bool AGdiRunDisplay::printing() {
    return Current()->isPrintLike();
}

uint32_t AGdiRunDisplay::defaultColour() {
    return Current()->resolvedForeColor();
}
