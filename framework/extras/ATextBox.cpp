// The text box's drawing.
#include "framework/extras/ATextBox.h"

#include "framework/graphics/ADCTextState.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(ATextBox, 142, AStaticText)

ATextBox::ATextBox() : ATextBox(nullptr, ASizeSpec::fill, 8) {}

ATextBox::ATextBox(AComponent* parent, const ASizeSpec& rule, uint16_t flags)
    : AStaticText(parent, 0, rule, "", static_cast<uint16_t>(flags | kNativeStatic)) {}

long ATextBox::drawContent(const ARect& rect) {
    (void)rect;
    ADisplayContext* context = ADisplayContext::existing();
    if (!context || !context->current()->isDrawable())
        return 1;
    AGraphicDisplay* display = context->current();
    ATextStyle* style = getDisplayEnv();
    const ARect bounds = getLocalBounds();
    const COLORREF back = style && style->backColor() != ATextStyle::kUnset ? style->backColor() : RGB(255, 255, 255);
    display->FillRect(bounds, back);
    const AString text = getText();
    if (text.empty())
        return 1;
    HDC dc = display->dc();
    const COLORREF fore = style && style->foreColor() != ATextStyle::kUnset ? style->foreColor() : RGB(0, 0, 0);
    // The displays draw text on its baseline; DrawText wants its top.
    ADCTextState state(dc, fore & 0x00FFFFFF, TRANSPARENT, TA_LEFT | TA_TOP);
    state.selectFont(style && style->font() ? style->font()->getHFont() : nullptr);
    ARect device = display->mapRect(bounds + display->origin());
    RECT r = {device.left() + 2, device.top() + 2, device.right() - 2, device.bottom() - 2};
    UINT format = DT_WORDBREAK | DT_NOPREFIX | ((itemFlags() & kCentred) ? DT_CENTER : DT_LEFT);
    if (itemFlags() & kCentred) {
        // Centred vertically too: measure the wrapped text first.
        RECT measured = r;
        DrawTextA(dc, text.c_str(), -1, &measured, format | DT_CALCRECT);
        const int shift = ((r.bottom - r.top) - (measured.bottom - measured.top)) / 2;
        if (shift > 0)
            r.top += shift;
    }
    DrawTextA(dc, text.c_str(), -1, &r, format);
    return 1;
}
