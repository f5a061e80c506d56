// Graphic displays, the list of live displays and the display context.
#include "framework/graphics/AGraphicDisplay.h"

#include <map>
#include <new>

#include "base/procedural/AError.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/APaletteTable.h"
#include "framework/graphics/ATextStyle.h"

AGraphicDisplay* AGraphicDisplay::head_ = nullptr;
uint16_t AGraphicDisplay::printScalingMode = 0;
ADisplayContext* ADisplayContext::instance_ = nullptr;

namespace {

std::map<COLORREF, HBRUSH>& Brushes() {
    static std::map<COLORREF, HBRUSH> brushes;
    return brushes;
}

// Every display selects a pen of its text colour: one per colour is made.
std::map<COLORREF, HPEN>& Pens() {
    static std::map<COLORREF, HPEN> pens;
    return pens;
}

// The clip setClipRegion last handed to a context: a region (holding its body
// unchanged) and where it went. Each clip change costs about half a
// microsecond under Wine, and a scroll step would make four of the same one.
struct ClipMemo {
    HDC dc = nullptr;
    ARegion* region = nullptr;  // owned
    APoint at;
};

ClipMemo& Memo() {
    static ClipMemo memo;
    return memo;
}

int32_t MulDivChecked(int32_t v, int32_t num, int32_t den) {
    return den ? MulDiv(v, num, den) : v;
}

}  // namespace

HBRUSH SolidBrush(COLORREF color) {
    HBRUSH& slot = Brushes()[color];
    if (!slot)
        slot = CheckAlloc(CreateSolidBrush(color), "fappli", 1);
    return slot;
}

HPEN SolidPen(COLORREF color) {
    HPEN& slot = Pens()[color];
    if (!slot)
        slot = CheckAlloc(CreatePen(PS_SOLID, 1, color), "fappli", 2);
    return slot;
}

void ClearSolidBrushes() {
    for (auto& entry : Brushes())
        DeleteObject(entry.second);
    Brushes().clear();
    for (auto& entry : Pens())
        DeleteObject(entry.second);
    Pens().clear();
}

HDC AGraphicDisplay::screenDC() {
    static HDC memory = nullptr;
    if (memory)
        return memory;
    HDC screen = GetDC(nullptr);
    HDC made = screen ? CreateCompatibleDC(screen) : nullptr;
    HBITMAP format = screen ? CreateCompatibleBitmap(screen, 1, 1) : nullptr;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (made && format && SelectObject(made, format)) {
        memory = made;
        return memory;
    }
    if (made)
        DeleteDC(made);
    if (format)
        DeleteObject(format);
    return nullptr;
}

AGraphicDisplay::AGraphicDisplay(ADisplaySite* site, HDC dc, uint16_t flags, HDC measureDC)
    : dc_(dc),
      measureDC_(measureDC),
      site_(site),
      flags_(flags),
      font_(nullptr),
      style_(nullptr),
      fore_(kDefaultColor),
      back_(kDefaultColor),
      defaultFore_(0),
      defaultBack_(0xFFFFFF),
      hiliteFore_(0),
      hiliteBack_(0),
      palette_(nullptr),
      textMode_(0),
      refs_(0),
      context_(nullptr),
      next_(head_),
      pen_(nullptr),
      resA_(72, 72),
      resB_(72, 72),
      scaleMode_(printScalingMode),
      scaled_(false),
      mapUp_(false),
      mapDown_(false) {
    head_ = this;
    context_ = ADisplayContext::existing();
    try {
        acquireDC();
        if (flags_ && !site_)
            ThrowAssert("fgrdisp", 167);
        if (isDrawable() && !dc_)
            ThrowAssert("fgrdisp", 169);
        setupScaling();
    } catch (...) {
        releaseDC();
        head_ = next_;
        throw;
    }
}

AGraphicDisplay::~AGraphicDisplay() {
    releaseDC();
    AGraphicDisplay** link = &head_;
    while (*link && *link != this)
        link = &(*link)->next_;
    if (!*link)
        ThrowAssert("fgrdisp", 231);
    *link = next_;
}

void AGraphicDisplay::release() {
    if (--refs_ <= 0)
        delete this;
}

void AGraphicDisplay::acquireDC() {
    if ((flags_ & kOwnsWindowDC) && !dc_) {
        HWND window = site_ ? site_->siteWindow() : nullptr;
        if (!window || !IsWindow(window))
            ThrowAssert("fgrdisp", 262);
        dc_ = GetDC(window);
        commonDC_ = !(GetClassLongA(window, GCL_STYLE) & (CS_OWNDC | CS_CLASSDC));
    }
    if (!dc_)
        dc_ = measureDC_;
    if (!measureDC_)
        measureDC_ = dc_;
    if (!dc_)
        return;
    APaletteTable* table = APaletteTable::active();
    if (isDrawable() && table && table->isEnabled() && site_)
        palette_ = table->paletteFor(site_->siteComponent(), true);
    initColors();
}

void AGraphicDisplay::releaseDC() {
    if (!dc_)
        return;
    clipChanged(dc_);
    if (pen_) {
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        pen_ = nullptr;
    }
    if (flags_ & kOwnsWindowDC) {
        HWND window = site_ ? site_->siteWindow() : nullptr;
        if (!window || !IsWindow(window))
            ThrowAssert("fgrdisp", 290);
        ReleaseDC(window, dc_);
    }
    if (flags_ & kPrinter)
        _AFont::releasePrinterFonts();
    dc_ = nullptr;
    measureDC_ = nullptr;
}

void AGraphicDisplay::initColors() {
    ATextStyle* style = site_ ? site_->getDisplayEnv() : nullptr;
    if (isPrintLike()) {
        defaultFore_ = 0x000000;
        defaultBack_ = 0xFFFFFF;
        hiliteFore_ = 0xFFFFFF;
        hiliteBack_ = 0x000000;
    } else {
        defaultFore_ = GetSysColor(COLOR_WINDOWTEXT);
        defaultBack_ = GetSysColor(COLOR_WINDOW);
        hiliteFore_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
        hiliteBack_ = GetSysColor(COLOR_HIGHLIGHT);
        if (style && style->backColor() != kDefaultColor)
            defaultBack_ = style->backColor();
        else if (site_ && site_->getBackColor() != kDefaultColor)
            defaultBack_ = site_->getBackColor();
    }
    if (style) {
        if (style->foreColor() != kDefaultColor)
            defaultFore_ = style->foreColor();
        textMode_ = style->alignment();
        style_ = style;
    }
}

void AGraphicDisplay::setupScaling() {
    if (!isPrintLike())
        return;
    if (!dc_ || !measureDC_ || !context_ || !site_)
        ThrowAssert("fgrdisp", 196);
    const APrinterInfo* info = site_->canPrint();
    if (!info)
        ThrowAssert("fgrdisp", 199);
    if (scaleMode_ == 0 || (scaleMode_ & 1) || (flags_ & kPrinter)) {
        resA_ = info->resA;
        resB_ = info->resB;
    }
    if (resA_ == resB_)
        return;
    scaled_ = !(scaleMode_ & 2);
    if ((flags_ & kPreview) && (scaleMode_ & 1))
        mapUp_ = true;
    else if ((flags_ & kPrinter) && (scaleMode_ & 2))
        mapDown_ = true;
}

void AGraphicDisplay::prepareDC() {
    if (!dc_)
        return;
    SetTextAlign(dc_, TA_BASELINE);
    SetBkMode(dc_, TRANSPARENT);
    SetTextCharacterExtra(dc_, 0);
    SetTextJustification(dc_, 0, 0);
    if (palette_) {
        SelectPalette(dc_, palette_, TRUE);
        RealizePalette(dc_);
    }
    SetForeColor(kDefaultColor);
    SetBackColor(kDefaultColor);
    if (style_)
        applyStyle(style_);
}

void AGraphicDisplay::applyStyle(ATextStyle* style) {
    _AFont* body = style->font() ? style->font()->body() : nullptr;
    if (body && body != font_)
        setFont(body);
    if (style->foreColor() != kDefaultColor && style->foreColor() != fore_)
        SetForeColor(style->foreColor());
    if (style->backColor() != kDefaultColor && style->backColor() != back_)
        SetBackColor(style->backColor());
    textMode_ = style->alignment();
}

void AGraphicDisplay::refreshColors() {
    initColors();
    SetForeColor(fore_);
    SetBackColor(back_);
}

COLORREF AGraphicDisplay::resolve(COLORREF color, COLORREF def, COLORREF hilite) const {
    if (color == kDefaultColor)
        return def;
    if (color == kHiliteColor)
        return hilite;
    return color;
}

COLORREF AGraphicDisplay::resolvedForeColor() const {
    if (fore_ == kRecordColor)
        return dc_ ? GetTextColor(dc_) : defaultFore_;
    return resolve(fore_, defaultFore_, hiliteFore_);
}

void AGraphicDisplay::selectPen() {
    if (!penWanted_)
        return;
    HPEN pen = SolidPen(penColor_);
    if (pen != pen_) {
        SelectObject(dc_, pen);
        pen_ = pen;
    }
}

COLORREF AGraphicDisplay::setColor(COLORREF& slot, COLORREF color, bool fore) {
    COLORREF previous = slot;
    if (color == kQueryColor)
        return previous;
    slot = color;
    if (!dc_ || color == kRecordColor)
        return previous;
    if (!fore) {
        SetBkColor(dc_, resolve(color, defaultBack_, hiliteBack_));
        return previous;
    }
    COLORREF real = resolve(color, defaultFore_, hiliteFore_);
    SetTextColor(dc_, real);
    // The pen waits for a line: most locks draw none, and selecting it and
    // the stock pen back costs about a microsecond under Wine.
    penColor_ = real;
    penWanted_ = true;
    return previous;
}

COLORREF AGraphicDisplay::SetForeColor(COLORREF color) {
    return setColor(fore_, color, true);
}

COLORREF AGraphicDisplay::SetBackColor(COLORREF color) {
    return setColor(back_, color, false);
}

HDC AGraphicDisplay::referenceDC() {
    if (!isPrintLike())
        return nullptr;
    if (printScalingMode == 0)
        return measureDC_;
    const APrinterInfo* info = site_ ? site_->canPrint() : nullptr;
    if (!info)
        ThrowAssert("fgrdisp", 480);
    return info->dc;
}

void AGraphicDisplay::setFont(_AFont* font) {
    if (font == font_ || !dc_)
        return;
    font_ = font;
    HDC reference = referenceDC();
    auto handleFor = [&](HDC dc) -> HGDIOBJ {
        if (!font)
            return GetStockObject(SYSTEM_FONT);
        bool printer = isPrintLike() && (printScalingMode == 0 || dc == reference);
        // The printer realisation is sized for the measuring device, whichever
        // context asks first: a preview's page bitmap has the screen's resolution,
        // and text sized for it would lay pages out smaller than paper gets them.
        return font->getHFont(printer, printer ? (reference ? reference : dc) : nullptr);
    };
    SelectObject(dc_, handleFor(dc_));
    if (measureDC_ != dc_)
        SelectObject(measureDC_, handleFor(measureDC_));
}

APoint AGraphicDisplay::origin() const {
    return site_ ? site_->originInWindow() : APoint(0, 0);
}

const APrinterInfo* AGraphicDisplay::printerInfo() const {
    return site_ ? site_->canPrint() : nullptr;
}

ARect AGraphicDisplay::mapRect(const ARect& r) const {
    return ARect(mapPoint(r.first), mapPoint(r.second));
}

APoint AGraphicDisplay::mapPoint(const APoint& p) const {
    if (mapUp_)
        return APoint(MulDivChecked(p.x, resB_.x, resA_.x), MulDivChecked(p.y, resB_.y, resA_.y));
    if (mapDown_)
        return APoint(MulDivChecked(p.x, resA_.x, resB_.x), MulDivChecked(p.y, resA_.y, resB_.y));
    return p;
}

int32_t AGraphicDisplay::mapLength(int32_t length, bool vertical) const {
    APoint m = mapPoint(vertical ? APoint(0, length) : APoint(length, 0));
    return vertical ? m.y : m.x;
}

APoint AGraphicDisplay::scalePoint(const APoint& p) const {
    if (!scaled_)
        return p;
    return APoint(MulDivChecked(p.x, resA_.x, resB_.x), MulDivChecked(p.y, resA_.y, resB_.y));
}

bool AGraphicDisplay::getScale(APoint& ratio) const {
    ratio = scaled_ ? APoint(resA_.x, resB_.x) : APoint(1, 1);
    return ratio.x != ratio.y;
}

bool AGraphicDisplay::getScaleY(APoint& ratio) const {
    ratio = scaled_ ? APoint(resA_.y, resB_.y) : APoint(1, 1);
    return ratio.x != ratio.y;
}

void AGraphicDisplay::FillRect(const ARect& r, COLORREF color) {
    if (!isDrawable())
        ThrowAssert("fgrdisp", 560);
    ARect d = mapRect(r + origin());
    HGDIOBJ old = SelectObject(dc_, SolidBrush(resolve(color, defaultBack_, hiliteBack_)));
    PatBlt(dc_, d.left(), d.top(), d.width(), d.height(), PATCOPY);
    SelectObject(dc_, old);
}

void AGraphicDisplay::FrameRect(const ARect& r, uint16_t width) {
    if (!isDrawable())
        ThrowAssert("fgrdisp", 575);
    int32_t a = width / 2;
    int32_t b = width - a;
    ARect d = mapRect(ARect(r.left() + a, r.top() + a, r.right() - b, r.bottom() - b) + origin());
    HPEN wide = nullptr;
    HGDIOBJ old = nullptr;
    if (width > 1) {
        wide = CreatePen(PS_SOLID, width, GetTextColor(dc_));
        old = SelectObject(dc_, wide);
    } else {
        selectPen();
    }
    POINT corners[5] = {{d.left(), d.top()},
                        {d.right(), d.top()},
                        {d.right(), d.bottom()},
                        {d.left(), d.bottom()},
                        {d.left(), d.top()}};
    Polyline(dc_, corners, 5);
    if (wide) {
        SelectObject(dc_, old);
        DeleteObject(wide);
    }
}

void AGraphicDisplay::DrawLine(const APoint& a, const APoint& b) {
    if (!isDrawable())
        ThrowAssert("fgrdisp", 600);
    APoint p = toDevice(a);
    APoint q = toDevice(b);
    selectPen();
    MoveToEx(dc_, p.x, p.y, nullptr);
    LineTo(dc_, q.x, q.y);
}

void AGraphicDisplay::invertRect(const ARect& r) {
    if (!isDrawable())
        ThrowAssert("fgrdisp", 610);
    ARect d = mapRect(r + origin());
    RECT rc = {d.left(), d.top(), d.right(), d.bottom()};
    InvertRect(dc_, &rc);
}

void AGraphicDisplay::setClipRegion(const ARegion& region, int16_t map) {
    if (!isDrawable())
        ThrowAssert("fgrdisp", 620);
    if (isClippedTo(region, map))
        return;
    ARegion copy(region);
    APoint at = origin();
    if (map && (mapUp_ || mapDown_)) {
        copy.setRect(mapRect(copy.ownerBounds()));
        at = mapPoint(at);
    }
    copy.selectClipAt(at, dc_);
    ClipMemo& memo = Memo();
    delete memo.region;
    memo.dc = dc_;
    memo.region = new (std::nothrow) ARegion(copy);
    memo.at = at;
}

bool AGraphicDisplay::isClippedTo(const ARegion& region, int16_t map) const {
    const ClipMemo& memo = Memo();
    return memo.region && memo.dc == dc_ && !(map && (mapUp_ || mapDown_)) &&
           memo.region->sharesBody(region) && memo.region->offset() == region.offset() &&
           memo.at == origin();
}

void AGraphicDisplay::clipChanged(HDC dc) {
    ClipMemo& memo = Memo();
    if (memo.dc != dc)
        return;
    delete memo.region;
    memo = ClipMemo();
}

ARegion AGraphicDisplay::getClipRegion() {
    ARegion clip;
    clip.fromClipRegion(origin(), dc_);
    return clip;
}

AGraphicDisplay* AGraphicDisplay::findDisplay(ADisplaySite* site, uint16_t mask) {
    for (AGraphicDisplay* d = head_; d; d = d->next_) {
        if (d->isDrawable() && d->site_ == site && (d->flags_ & mask))
            return d;
    }
    return nullptr;
}

AGraphicDisplay* AGraphicDisplay::findWindowDisplay(ADisplaySite* site, uint16_t mask) {
    if (!site)
        ThrowAssert("fgrdisp", 700);
    HWND window = site->siteWindow();
    for (AGraphicDisplay* d = head_; d; d = d->next_) {
        if (d->isDrawable() && d->site_ && d->site_->siteWindow() == window && (d->flags_ & mask))
            return d;
    }
    return nullptr;
}

void AGraphicDisplay::fontReleased(_AFont* font) {
    for (AGraphicDisplay* d = head_; d; d = d->next_) {
        if (d->font_ == font)
            d->setFont(nullptr);
    }
}

void AGraphicDisplay::deviceReleased(HDC dc) {
    for (AGraphicDisplay* d = head_; d; d = d->next_) {
        if (dc && d->dc_ != dc && d->measureDC_ != dc)
            continue;
        d->setFont(nullptr);
        d->SetForeColor(kDefaultColor);
        d->SetBackColor(kDefaultColor);
    }
}

void AGraphicDisplay::replaceDevice(HDC oldDC, HDC newDC) {
    for (AGraphicDisplay* d = head_; d; d = d->next_) {
        if (!d->isPrintLike() || d->dc_ != oldDC)
            continue;
        if (d->measureDC_ == oldDC)
            d->measureDC_ = newDC;
        d->dc_ = newDC;
        d->font_ = nullptr;
        d->pen_ = nullptr;
        SelectObject(newDC, GetStockObject(SYSTEM_FONT));
    }
}

void AGraphicDisplay::systemColorsChanged() {
    for (AGraphicDisplay* d = head_; d; d = d->next_)
        d->refreshColors();
}

ADisplayContext& ADisplayContext::instance() {
    if (!instance_)
        instance_ = CheckAlloc(new ADisplayContext, "fgrdisp", 1010);
    return *instance_;
}

void ADisplayContext::Shutdown() {
    delete instance_;
    instance_ = nullptr;
}

ADisplayContext::ADisplayContext()
    : initial_(nullptr),
      current_(nullptr),
      printer_{nullptr, APoint(), APoint()},
      memDC_(nullptr),
      memDC2_(nullptr),
      bitmap_(nullptr),
      oldBitmap_(nullptr),
      has256_(false) {
    instance_ = this;
    initial_ = new AGraphicDisplay(nullptr, nullptr, 0, nullptr);
    initial_->addRef();
    current_ = initial_;
    current_->addRef();
    HDC screen = GetDC(nullptr);
    memDC_ = CreateCompatibleDC(screen);
    memDC2_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, 1, 1);
    oldBitmap_ = SelectObject(memDC_, bitmap_);
    if ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) && GetDeviceCaps(screen, SIZEPALETTE) == 256)
        has256_ = true;
    else if (GetDeviceCaps(screen, NUMCOLORS) == 256)
        has256_ = true;
    ReleaseDC(nullptr, screen);
}

ADisplayContext::~ADisplayContext() {
    current_->release();
    initial_->release();
    SelectObject(memDC_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memDC_);
    DeleteDC(memDC2_);
    ClearSolidBrushes();
    if (instance_ == this)
        instance_ = nullptr;
}

AGraphicDisplay* ADisplayContext::exchangeCurrent(AGraphicDisplay* display) {
    if (!display)
        ThrowAssert("fgrdisp", 1080);
    AGraphicDisplay* previous = current_;
    display->addRef();
    current_ = display;
    previous->release();
    return previous;
}

void (*ADisplayContext::defaultQuery_)() = nullptr;

// Nothing asks for the default printer before the first print: the first
// question about printing does (a printer added later is found then too).
const APrinterInfo* ADisplayContext::defaultPrinter() {
    if (!printer_.dc && defaultQuery_)
        defaultQuery_();
    return printer();
}

void ADisplayContext::setPrinter(HDC dc) {
    HDC old = printer_.dc;
    printer_.dc = dc;
    if (dc) {
        HDC screen = GetDC(nullptr);
        printer_.resA = APoint(GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY));
        printer_.resB = APoint(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
    if (old && old != dc) {
        AGraphicDisplay::replaceDevice(old, dc);
        _AFont::releasePrinterFonts();
    }
}
