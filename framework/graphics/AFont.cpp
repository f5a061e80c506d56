// Font descriptions, shared font bodies with their screen and printer
// realisations, text measuring, drawing and hit testing on the current display.
#include "framework/graphics/AFont.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/procedural/AError.h"
#include "framework/graphics/AGraphicDisplay.h"

_AFont* _AFont::head_ = nullptr;
long _AFont::live_ = 0;
uint16_t _AFont::textPlacementMode = 0;
_AFont::PlacementCall _AFont::placementCall = &GetCharacterPlacementA;

namespace {

const long kMaxTextRun = 32767;

long RunLength(const char* text, long length) {
    if (length < 0)
        length = static_cast<long>(strlen(text));
    return length > kMaxTextRun ? kMaxTextRun : length;
}

// The printer realisation serves a context of a print-like display unless
// the scaling mode gives screen fonts to every context but the reference one.
bool UsesPrinterFont(AGraphicDisplay* display, HDC dc) {
    if (!display->isPrintLike())
        return false;
    return AGraphicDisplay::printScalingMode == 0 || dc == display->referenceDC();
}

// The text's character boundary nearest to x > 0 by halving, given
// width(n) = whole >= 0 of the n > 0 bytes: flag 1 when x lies inside the
// character after the boundary. Of several prefixes exactly x wide it answers
// the one it meets.
template <class Width>
long HalvingIndex(long n, int32_t x, int32_t whole, int16_t& flag, Width width) {
    if (x > whole) {
        flag = 1;
        return n;
    }
    long lo = 0;
    long hi = n;
    int32_t loWidth = 0;
    int32_t hiWidth = whole;
    while (lo < hi - 1) {
        long mid = (lo + hi) / 2;
        int32_t w = width(mid);
        if (x == w)
            return mid;
        if (x > w) {
            lo = mid;
            loWidth = w;
        } else {
            hi = mid;
            hiWidth = w;
        }
    }
    if (x < (loWidth + hiWidth) / 2) {
        flag = 1;
        return lo;
    }
    return hi;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

AFontSpec::AFontSpec(const char* text) : size(10), style(0), system(0), charset(0) {
    if (!text)
        ThrowAssert("fdraw", 120);
    const char* comma = strchr(text, ',');
    if (!comma) {
        face = AString(text);
        return;
    }
    face = AString(text, static_cast<long>(comma - text));
    size = static_cast<int16_t>(atoi(comma + 1));
    const char* second = strchr(comma + 1, ',');
    style = second ? static_cast<uint16_t>(atoi(second + 1)) : static_cast<uint16_t>(kBold);
}

AFontSpec AFontSpec::fromStock(int stockId) {
    AFontSpec spec;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(stockId));
    char name[65] = {};
    GetTextFaceA(screen, 64, name);
    TEXTMETRICA tm;
    GetTextMetricsA(screen, &tm);
    spec.face = AString(name);
    spec.size = static_cast<int16_t>(MulDiv(tm.tmHeight - tm.tmInternalLeading, 72, GetDeviceCaps(screen, LOGPIXELSY)));
    spec.system = stockId == SYSTEM_FONT ? 1 : 0;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return spec;
}

_AFont::_AFont(const AFontSpec& spec) : refs_(0), charGuess_(0), screen_(), printer_(), spec_(spec), next_(head_) {
    head_ = this;
    ++live_;
}

_AFont::~_AFont() {
    dropRealisation(screen_);
    dropRealisation(printer_);
}

_AFont* _AFont::find(const AFontSpec& spec) {
    for (_AFont* f = head_; f; f = f->next_) {
        if (f->spec_ == spec)
            return f;
    }
    return CheckAlloc(new _AFont(spec), "fdraw", 210);
}

bool _AFont::isLive(const _AFont* font) {
    for (_AFont* f = head_; f; f = f->next_) {
        if (f == font)
            return true;
    }
    return false;
}

void _AFont::release() {
    if (--refs_ > 0)
        return;
    UnlinkBody(head_, this, &_AFont::next_, 240);
    --live_;
    // Displays still showing the body select the system font first, so the
    // handles are no longer in a context when they are deleted.
    AGraphicDisplay::fontReleased(this);
    delete this;
}

void _AFont::dropRealisation(DeviceFont& font) {
    if (font.handle)
        DeleteObject(font.handle);
    font = DeviceFont();
}

void _AFont::releasePrinterFonts() {
    for (_AFont* f = head_; f; f = f->next_)
        dropRealisation(f->printer_);
}

HFONT _AFont::getHFont(bool printer, HDC printerDC) {
    DeviceFont& font = printer ? printer_ : screen_;
    if (font.handle)
        return font.handle;
    if (printer && !printerDC)
        ThrowAssert("fdraw", 300);
    HDC dc = printer ? printerDC : GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    int den = 72;
    if (spec_.style & AFontSpec::kPixels) {
        if (!printer)
            dpi = 72;
    } else if (printer && textPlacementMode != 0) {
        dpi *= ScreenDpi();
        den = 72 * 72;
    }
    if (!printer)
        ReleaseDC(nullptr, dc);
    int h = MulDiv(spec_.size, dpi, den);
    LOGFONTA lf = {};
    if (spec_.style & (AFontSpec::kSuperscript | AFontSpec::kSubscript))
        lf.lfHeight = -((2 * h) / 3 + 1 + (h == 1 ? 1 : 0));
    else
        lf.lfHeight = -h;
    lf.lfWeight = (spec_.style & AFontSpec::kBold) ? 700 : 400;
    lf.lfItalic = (spec_.style & AFontSpec::kItalic) ? 1 : 0;
    lf.lfUnderline = (spec_.style & AFontSpec::kUnderline) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(spec_.charset & 0xFF);
    lstrcpynA(lf.lfFaceName, spec_.face.c_str(), LF_FACESIZE);
    font.handle = CreateFontIndirectA(&lf);
    if (!font.handle)
        ThrowAssert("fdraw", 340);
    return font.handle;
}

AGraphicDisplay* _AFont::activeDisplay() {
    ADisplayContext* context = ADisplayContext::existing();
    AGraphicDisplay* display = context ? context->current() : nullptr;
    if (!display || display->flags() == 0)
        ThrowAssert("fdraw", 360);
    return display;
}

const AFontMetrics& _AFont::metricsOf(DeviceFont& font, HDC dc) {
    if (font.valid)
        return font.metrics;
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    AFontMetrics& m = font.metrics;
    m.ascent = static_cast<int16_t>(tm.tmAscent);
    m.descent = static_cast<int16_t>(tm.tmDescent);
    m.maxWidth = static_cast<int16_t>(tm.tmMaxCharWidth);
    m.leading = static_cast<int16_t>(tm.tmExternalLeading);
    int16_t before = m.ascent;
    if (spec_.style & AFontSpec::kSuperscript) {
        m.ascent = static_cast<int16_t>(m.ascent * 3 / 2);
    } else if (spec_.style & AFontSpec::kSubscript) {
        m.descent = static_cast<int16_t>(m.descent + (m.ascent + 1) / 2);
        m.ascent = static_cast<int16_t>(m.ascent / 2);
    }
    font.shift = static_cast<int16_t>(before - m.ascent);
    font.valid = true;
    return m;
}

_AFont::DeviceFont& _AFont::measuringRealisation(AGraphicDisplay* display) {
    display->setFont(this);
    DeviceFont& font = UsesPrinterFont(display, display->getMeasureDC()) ? printer_ : screen_;
    metricsOf(font, display->getMeasureDC());
    return font;
}

AFontMetrics _AFont::metrics() {
    return measuringRealisation(activeDisplay()).metrics;
}

int32_t _AFont::widthOf(const char* text, long length, const AJustification* justification) {
    AGraphicDisplay* display = activeDisplay();
    measuringRealisation(display);
    HDC dc = display->getMeasureDC();
    bool justify = justification && justification->breaks != 0;
    if (justify)
        SetTextJustification(dc, justification->extra, justification->breaks);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(RunLength(text, length)), &size);
    if (justify)
        SetTextJustification(dc, 0, 0);
    return size.cx;
}

ATextExtent _AFont::measure(const char* text, long length) {
    AGraphicDisplay* display = activeDisplay();
    DeviceFont& font = measuringRealisation(display);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(display->getMeasureDC(), text, static_cast<int>(RunLength(text, length)), &size);
    return ATextExtent{font.metrics, size.cx, size.cy};
}

int32_t _AFont::measureJustified(const char* text, long length, const AJustification* justification) {
    return widthOf(text, length, justification);
}

int32_t _AFont::drawText(const APoint& p, const char* text, long length, COLORREF color) {
    AGraphicDisplay* display = activeDisplay();
    if (display->flags() & AGraphicDisplay::kMeasureOnly)
        ThrowAssert("fdraw", 420);
    display->setFont(this);
    HDC dc = display->dc();
    bool printer = (display->flags() & AGraphicDisplay::kPrinter) != 0;
    DeviceFont& font = UsesPrinterFont(display, dc) ? printer_ : screen_;
    metricsOf(font, dc);
    APoint at = display->toDevice(p);
    at.y += printer ? printer_.shift : screen_.shift;
    int n = static_cast<int>(RunLength(text, length));
    if (color != display->foreColor())
        display->SetForeColor(color);
    bool placed = (textPlacementMode == 1 && (display->flags() & AGraphicDisplay::kPreview)) ||
                  (textPlacementMode == 2 && printer);
    if (placed && n > 0) {
        HDC reference = display->getMeasureDC();
        std::vector<int> advances(static_cast<size_t>(n));
        GCP_RESULTSA results = {};
        results.lStructSize = sizeof(results);
        results.lpDx = advances.data();
        results.nGlyphs = static_cast<UINT>(n);
        DWORD flags = GetFontLanguageInfo(reference) & 0x103B;
        // A failed placement used to draw nothing; the plain output below keeps the text.
        if (placementCall(reference, text, n, 0, &results, flags) != 0) {
            int from = GetDeviceCaps(reference, LOGPIXELSX);
            int to = GetDeviceCaps(dc, LOGPIXELSX);
            int32_t width = 0;
            for (int& a : advances) {
                a = MulDiv(a, to, from);
                width += a;
            }
            ExtTextOutA(dc, at.x, at.y, ETO_OPAQUE, nullptr, text, static_cast<UINT>(n), advances.data());
            return width;
        }
    }
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, n, &size);
    TextOutA(dc, at.x, at.y, text, n);
    return size.cx;
}

int32_t _AFont::drawTextAtTop(const APoint& p, const char* text, long length) {
    AGraphicDisplay* display = activeDisplay();
    if (display->flags() & AGraphicDisplay::kMeasureOnly)
        ThrowAssert("fdraw", 470);
    display->setFont(this);
    HDC dc = display->dc();
    DeviceFont& font = UsesPrinterFont(display, dc) ? printer_ : screen_;
    const AFontMetrics& m = metricsOf(font, dc);
    APoint at = display->toDevice(p);
    at.y += m.ascent + font.shift;
    int n = static_cast<int>(RunLength(text, length));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, n, &size);
    TextOutA(dc, at.x, at.y, text, n);
    return size.cx;
}

long _AFont::indexAtOffset(const char* text, long length, int32_t x, int16_t& flag) {
    return indexAtOffsetJustified(text, length, x, flag, nullptr);
}

long _AFont::indexAtOffsetJustified(const char* text, long length, int32_t x, int16_t& flag,
                                    const AJustification* justification) {
    long n = length < 0 ? static_cast<long>(strlen(text)) : length;
    n = n > kMaxTextRun ? kMaxTextRun : n;
    flag = 0;
    if (n <= 0 || x <= 0)
        return 0;
    // Without a prefix exactly x wide, halving the text ends on the only pair
    // lo, lo + 1 with w(lo) < x < w(lo + 1), or on the whole text when x is
    // beyond it. That pair is found near where the last measures put x,
    // measuring prefixes about a line long rather than the whole run and
    // halves of it. A prefix exactly x wide goes to the halving, which answers
    // the one it meets.
    if (n > 16) {
        long guess = charGuess_ > 0 ? static_cast<long>(int64_t(x) * 256 / charGuess_) : n / 2;
        guess = std::min<long>(n - 1, std::max<long>(1, guess));
        long step = std::max<long>(2, guess / 16);
        long a = 0, b = n;
        int32_t aWidth = 0, bWidth = -1;  // the whole run's width, measured only if needed
        bool exact = false;
        for (long at = guess; !exact && b - a > 1;) {
            int32_t w = widthOf(text, at, justification);
            charGuess_ = static_cast<int32_t>(std::max<int64_t>(1, int64_t(w) * 256 / at));
            exact = w == x;
            if (w < x) {
                a = at;
                aWidth = w;
                at = std::min(b - 1, a + step);
            } else {
                b = at;
                bWidth = w;
                at = std::max(a + 1, b - step);
            }
            step *= 2;
            if (b - a <= step)
                at = (a + b) / 2;
        }
        if (!exact && bWidth < 0) {
            bWidth = widthOf(text, n, justification);
            if (x > bWidth) {
                flag = 1;
                return n;
            }
            exact = x == bWidth;
        }
        if (!exact) {
            if (x < (aWidth + bWidth) / 2) {
                flag = 1;
                return a;
            }
            return b;
        }
    }
    return HalvingIndex(n, x, widthOf(text, n, justification), flag,
                        [&](long k) { return widthOf(text, k, justification); });
}

// Over widths that add up and never shrink, the search above answers what halving answers: a
// gallop that meets no prefix exactly x wide ends on the only pair around x,
// which halving ends on too, and one that meets it halves.
long _AFont::indexAtWidth(const int32_t* cumulative, long length, int32_t x, int16_t& flag) {
    long n = length > kMaxTextRun ? kMaxTextRun : length;
    flag = 0;
    if (n <= 0 || x <= 0)
        return 0;
    return HalvingIndex(n, x, cumulative[n] - cumulative[0], flag,
                        [cumulative](long k) { return cumulative[k] - cumulative[0]; });
}

// GDI measures a text as the sum of its glyphs' whole-pixel advances, without
// kerning, and answers the same advances one by one; both convert the bytes
// through the code page of the context's character set. Asking for every
// prefix at once (GetTextExtentExPoint) costs Wine four times a plain measure.
void _AFont::readAdvances(DeviceFont& font, HDC dc) {
    font.advancesRead = true;
    CHARSETINFO charset = {};
    CPINFO codePage = {};
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<uintptr_t>(GetTextCharset(dc))), &charset,
                              TCI_SRCCHARSET) ||
        !GetCPInfo(charset.ciACP, &codePage) || codePage.MaxCharSize != 1)
        return;
    std::vector<int32_t> advances(256);
    static_assert(sizeof(int32_t) == sizeof(INT), "GDI writes the advances in place");
    if (!GetCharWidth32A(dc, 0, 255, reinterpret_cast<INT*>(advances.data())))
        return;
    for (int32_t a : advances)
        if (a < 0)
            return;
    font.advances.swap(advances);
}

// Printer drivers and scaled mappings round each measure on its own; the
// measure of the whole text checks the sum.
bool _AFont::prefixWidths(const char* text, long length, int32_t* widths, ATextExtent& whole) {
    if (length <= 0 || length > kMaxTextRun)
        return false;
    AGraphicDisplay* display = activeDisplay();
    if (display->isPrintLike())
        return false;
    DeviceFont& font = measuringRealisation(display);
    HDC dc = display->getMeasureDC();
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetTextCharacterExtra(dc) != 0)
        return false;
    if (!font.advancesRead)
        readAdvances(font, dc);
    if (font.advances.empty())
        return false;
    const int32_t* advance = font.advances.data();
    int32_t sum = 0;
    for (long i = 0; i < length; ++i) {
        sum += advance[static_cast<unsigned char>(text[i])];
        widths[i] = sum;
    }
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32A(dc, text, static_cast<int>(length), &size) || size.cx != sum)
        return false;
    whole = ATextExtent{font.metrics, size.cx, size.cy};
    return true;
}
