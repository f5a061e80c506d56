// Static items: texts, group boxes and adornments, drawn by themselves or as
// native controls (images are in AStaticImage.cpp).
#include "framework/clusters/AStaticItem.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(AStaticItem, 139, AClusterItem)
SV_IMPLEMENT_CLASS(AStaticText, 120, AStaticItem)
SV_IMPLEMENT_CLASS(AGroupBox, 122, AStaticItem)
SV_IMPLEMENT_CLASS(AAdornment, 136, AStaticItem)

namespace {

bool NativeStatics() {
    return AClusterServices::current().nativeStatics();
}

RECT DeviceRect(AGraphicDisplay& d, const ARect& r) {
    APoint a = d.toDevice(r.first), b = d.toDevice(r.second);
    return RECT{a.x, a.y, b.x, b.y};
}

}  // namespace

// AStaticItem.

AStaticItem::~AStaticItem() = default;

void AStaticItem::readFrom(AMemoryStream& stream) {
    AClusterItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fitems", 620);
}

void AStaticItem::detachItems() {
    native_.reset();
    setNativeWindow(nullptr);
    AClusterItem::detachItems();
}

void AStaticItem::makeNativeControl(AControlWindow::Kind kind, const char* text, DWORD style, long line) {
    if (itemFlags() & kGroup)
        style |= WS_GROUP;
    native_.reset(new (std::nothrow) AControlWindow(this, kind, text, style, getWindowBounds()));
    if (!native_ || !native_->hwnd())
        ThrowAssert("fitems", line);
    setNativeWindow(native_->hwnd());
    // The control paints the whole frame; the parent must not paint over it.
    setEraseBackground(false);
}

AFont* AStaticItem::fontOf(ATextStyle* style, long line) {
    AFont* font = style ? style->font() : nullptr;
    if (!font)
        font = AClusterServices::current().systemFont();
    if (!font)
        ThrowAssert("fitems", line);
    return font;
}

// AStaticText.

AStaticText::AStaticText(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* text, uint16_t flags)
    : AStaticItem(parent, id, rule), text_(text ? text : "") {
    addItemFlags(flags);
}

void AStaticText::readFrom(AMemoryStream& stream) {
    AStaticItem::readFrom(stream);
    text_ = stream.readString(-1);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    ALayoutLoader::readEndMark(stream, "fitems", 799);
}

void AStaticText::attachItems() {
    AStaticItem::attachItems();
    if (!(itemFlags() & kDrawn) && NativeStatics()) {
        DWORD style = (itemFlags() & kCentre) ? SS_CENTER : (itemFlags() & kRight) ? SS_RIGHT : SS_LEFT;
        makeNativeControl(AControlWindow::kStaticText, text_.c_str(), style, 778);
        return;
    }
    displayEnvChanged(getDisplayEnv(), 0xFF);
}

void AStaticText::displayEnvChanged(ATextStyle* style, uint8_t mask) {
    AStaticItem::displayEnvChanged(style, mask);
    if (nativeControl())
        return;
    if (mask & ATextStyle::kAlign) {
        uint16_t align = itemFlags() & kKindMask;
        if (align == 0 && style)
            align = style->alignment();
        format_ = DT_VCENTER | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX;
        if (align & kCentre)
            format_ |= DT_CENTER;
        else if (align & kRight)
            format_ |= DT_RIGHT;
    }
    if (mask & ATextStyle::kFont)
        font_ = fontOf(style, 841);
}

void AStaticText::setText(const char* text) {
    text_ = AString(text ? text : "");
    if (nativeControl())
        AStaticItem::setText(text);
    else
        invalidate();
}

long AStaticText::drawContent(const ARect& rect) {
    (void)rect;
    AGraphicDisplay* d = ADisplayContext::drawableCurrent();
    if (nativeControl() || !font_ || !d)
        return 0;
    AFontMetrics m = font_->body()->metrics();
    int32_t h = m.ascent + m.descent + m.leading;
    ARect box = getLocalBounds();
    int32_t a = box.height();
    UINT format = format_;
    // A box lower than two lines shows one line, vertically centred.
    if (2 * h > a) {
        format |= DT_SINGLELINE | DT_VCENTER;
        if (h > a)
            format ^= DT_NOCLIP;
        int32_t inset = (a - h) / 2;
        box = ARect(box.left(), box.top() + inset, box.right(), box.bottom() - inset);
    }
    d->setFont(font_->body());
    HDC dc = d->dc();
    RECT r = DeviceRect(*d, box);
    UINT align = SetTextAlign(dc, 0);
    DrawTextA(dc, text_.c_str(), static_cast<int>(std::min<size_t>(std::strlen(text_.c_str()), 32767)), &r, format);
    SetTextAlign(dc, align);
    return 1;
}

APoint AStaticText::naturalSize(bool fit) {
    if (!font_)
        ThrowAssert("fitems", 847);
    HDC screen = GetDC(nullptr);
    ADisplayLock lock(this, screen, AGraphicDisplay::kMeasureOnly, nullptr, nullptr);
    int32_t width = getSize().x;
    const char* text = text_.c_str();
    if (fit) {
        width = 0;
        for (const char* p = text; *p;) {
            size_t n = std::strcspn(p, "\r\n");
            width = std::max(width, font_->body()->measure(p, static_cast<long>(n)).width);
            p += n;
            p += std::strspn(p, "\r\n");
        }
        width += 5;
    }
    HGDIOBJ old = SelectObject(screen, font_->getHFont());
    RECT r = {0, 0, width, 0};
    DrawTextA(screen, text, -1, &r, format_ | DT_CALCRECT);
    SelectObject(screen, old);
    lock.reset();
    ReleaseDC(nullptr, screen);
    return APoint(width, r.bottom - r.top);
}

// AGroupBox.

AGroupBox::AGroupBox(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* title)
    : AStaticItem(parent, id, rule), title_(title ? title : "") {}

void AGroupBox::readFrom(AMemoryStream& stream) {
    AStaticItem::readFrom(stream);
    title_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fitems", 1251);
}

void AGroupBox::attachItems() {
    AStaticItem::attachItems();
    if (NativeStatics()) {
        makeNativeControl(AControlWindow::kGroupBox, title_.c_str(), 0, 1233);
        return;
    }
    displayEnvChanged(getDisplayEnv(), 0xFF);
    if (!font_)
        ThrowAssert("fitems", 1238);
}

void AGroupBox::displayEnvChanged(ATextStyle* style, uint8_t mask) {
    AStaticItem::displayEnvChanged(style, mask);
    if (!nativeControl() && (mask & ATextStyle::kFont))
        font_ = fontOf(style, 1296);
}

void AGroupBox::setText(const char* text) {
    title_ = AString(text ? text : "");
    if (nativeControl())
        AStaticItem::setText(text);
    else
        invalidate();
}

// The frame runs round the inset bounds with a gap in its top line for the title.
long AGroupBox::drawContent(const ARect& rect) {
    (void)rect;
    AGraphicDisplay* d = ADisplayContext::drawableCurrent();
    if (nativeControl() || !d)
        return 0;
    if (!font_)
        ThrowAssert("fitems", 1260);
    ARect b = getLocalBounds();
    b = ARect(b.left() + 1, b.top() + 1, b.right() - 1, b.bottom() - 1);
    ATextExtent extent = font_->body()->measure(title_.c_str(), -1);
    int32_t w = extent.width;
    int32_t m = extent.metrics.ascent;
    int32_t top = b.top() + m / 2;
    int32_t l = b.left(), r = b.right() - 1, bottom = b.bottom() - 1;
    d->DrawLine(APoint(l, top), APoint(l + 16, top));
    d->DrawLine(APoint(l + 24 + w, top), APoint(r, top));
    d->DrawLine(APoint(r, top), APoint(r, bottom));
    d->DrawLine(APoint(r, bottom), APoint(l, bottom));
    d->DrawLine(APoint(l, bottom), APoint(l, top));
    font_->body()->drawText(APoint(l + 20, top + (m / 2) / 2), title_.c_str(), -1, AGraphicDisplay::kDefaultColor);
    return 1;
}

// AAdornment.

AAdornment::AAdornment(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t flags)
    : AStaticItem(parent, id, rule) {
    addItemFlags(flags);
}

void AAdornment::readFrom(AMemoryStream& stream) {
    AStaticItem::readFrom(stream);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    ALayoutLoader::readEndMark(stream, "fitems", 1393);
}

void AAdornment::attachItems() {
    AStaticItem::attachItems();
    if (!AClusterServices::current().nativeAdornments())
        return;
    DWORD style = itemFlags() & kKindMask;
    if (itemFlags() & kShownByState)
        style |= 0x00C00000;
    makeNativeControl(AControlWindow::kBorShade, "", style, 1378);
}

long AAdornment::drawContent(const ARect& rect) {
    (void)rect;
    AGraphicDisplay* d = ADisplayContext::drawableCurrent();
    if (nativeControl() || !d)
        return 0;
    ARect b = getLocalBounds();
    uint16_t kind = itemFlags() & kKindMask;
    if (kind == 0)
        d->FrameRect(b, 1);
    else if (kind & 1)
        d->DrawLine(b.first, APoint(b.right() - 1, b.top()));
    else
        d->DrawLine(b.first, APoint(b.left(), b.bottom() - 1));
    return 1;
}
