// The graphic display: one reference-counted wrapper of a drawing device
// context (and a measuring one) for one component, with its colours, font,
// pen, palette and print scaling; and ADisplayContext, the one holder of the
// current display, the printer information and the shared memory contexts.
//
// Coordinates given to the drawing operations are in the component's own
// space; the display adds the component's window origin and maps them.
// Misuse (drawing on a display that is not drawable, a display without the
// component or contexts its kind needs) is an assertion ("fgrdisp").
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"
#include "framework/graphics/ARegion.h"

class ADisplaySite;
class ATextStyle;
class _AFont;

// What printing displays need of the printer: its reference context and the
// two resolutions of the print scaling (printer, then screen, pixels per inch).
struct APrinterInfo {
    HDC dc;  // not owned
    APoint resA;
    APoint resB;
};

// A cached solid brush (or 1-pixel pen) of the colour, kept until ClearSolidBrushes.
HBRUSH SolidBrush(COLORREF color);
HPEN SolidPen(COLORREF color);
void ClearSolidBrushes();

class AGraphicDisplay {
public:
    enum : uint16_t {
        kMeasureOnly = 0x0001,
        kPrinter = 0x0002,
        kPaint = 0x0004,
        kOwnsWindowDC = 0x0008,
        kMetafile = 0x0010,
        kOwnDevice = 0x0020,
        kDeviceMissing = 0x0040,
        kOffscreen = 0x0080,
        kPreview = 0x0100,
    };
    // Special colour values of SetForeColor and SetBackColor.
    static constexpr COLORREF kQueryColor = 0xFF000000;
    static constexpr COLORREF kDefaultColor = 0xFE000000;
    static constexpr COLORREF kHiliteColor = 0xFD000000;
    static constexpr COLORREF kRecordColor = 0xFC000000;

    // Count 0: the first lock that pushes it takes the first reference.
    // measureDC null: measuring uses dc, and the other way round.
    AGraphicDisplay(ADisplaySite* site, HDC dc, uint16_t flags, HDC measureDC);
    virtual ~AGraphicDisplay();
    AGraphicDisplay(const AGraphicDisplay&) = delete;
    AGraphicDisplay& operator=(const AGraphicDisplay&) = delete;

    void addRef() { ++refs_; }
    // Deletes the display when the count drops to 0 or below.
    void release();
    int refs() const { return refs_; }

    void prepareDC();
    void applyStyle(ATextStyle* style);
    void refreshColors();

    COLORREF SetForeColor(COLORREF color);
    COLORREF SetBackColor(COLORREF color);
    // The colour a current value stands for (special values resolved).
    COLORREF resolvedForeColor() const;
    COLORREF foreColor() const { return fore_; }
    COLORREF backColor() const { return back_; }
    COLORREF defaultBack() const { return defaultBack_; }
    void setFont(_AFont* font);
    _AFont* font() const { return font_; }
    void setTextMode(uint16_t mode) { textMode_ = mode; }
    uint16_t textMode() const { return textMode_; }
    // The printer reference context of a print-like display, else null.
    HDC referenceDC();

    void FillRect(const ARect& r, COLORREF color);
    void eraseRect(const ARect& r) { FillRect(r, defaultBack_); }
    void FrameRect(const ARect& r, uint16_t width);
    void DrawLine(const APoint& a, const APoint& b);
    void invertRect(const ARect& r);
    void setClipRegion(const ARegion& region, int16_t map);
    // True when setClipRegion last gave this context the region, unchanged since.
    bool isClippedTo(const ARegion& region, int16_t map) const;
    // Tells the clip memo that dc's clip changed behind setClipRegion.
    static void clipChanged(HDC dc);
    ARegion getClipRegion();

    ARect mapRect(const ARect& r) const;
    APoint mapPoint(const APoint& p) const;
    int32_t mapLength(int32_t length, bool vertical) const;
    APoint scalePoint(const APoint& p) const;
    // The ratio of an axis under fScaled, else (1, 1); true when they differ.
    bool getScale(APoint& ratio) const;
    bool getScaleY(APoint& ratio) const;
    // A point of the component's space in device coordinates of dc.
    APoint toDevice(const APoint& p) const { return mapPoint(p + origin()); }

    HDC dc() const { return dc_; }
    // The palette the display draws with (its site's), or null on a true-colour screen.
    HPALETTE palette() const { return palette_; }
    HDC getMeasureDC() const { return measureDC_; }
    ADisplaySite* site() const { return site_; }
    uint16_t flags() const { return flags_; }
    uint16_t scaleMode() const { return scaleMode_; }
    bool isDrawable() const { return flags_ != 0 && !(flags_ & kMeasureOnly); }
    bool isPrintLike() const { return (flags_ & (kPrinter | kPreview)) != 0; }
    // A window context of the cache, which GetDC hands out again with default attributes.
    bool hasCommonDC() const { return commonDC_; }
    APoint origin() const;
    const APrinterInfo* printerInfo() const;

    // The list of live displays, most recent first.
    static AGraphicDisplay* findDisplay(ADisplaySite* site, uint16_t mask);
    static AGraphicDisplay* findWindowDisplay(ADisplaySite* site, uint16_t mask);
    static void fontReleased(_AFont* font);
    static void deviceReleased(HDC dc);
    // A memory context holding a bitmap of the screen's format, kept for the
    // process, to make screen bitmaps on: a screen context asks the window
    // system about the display at each bitmap (and GetDC(nullptr) again at
    // each call). Callers never release, delete or select into it.
    static HDC screenDC();
    static void replaceDevice(HDC oldDC, HDC newDC);
    static void systemColorsChanged();
    static AGraphicDisplay* listHead() { return head_; }
    // The framework's print-scaling mode, copied by each new display.
    static uint16_t printScalingMode;

private:
    friend class ADisplayState;
    void acquireDC();
    void releaseDC();
    void initColors();
    void setupScaling();
    COLORREF resolve(COLORREF color, COLORREF def, COLORREF hilite) const;
    // Puts the pen of the text colour into dc_ for a line.
    void selectPen();
    // Stores a colour value and, unless it is a special value that does not
    // reach the device, sets it: text colour and pen, or background.
    COLORREF setColor(COLORREF& slot, COLORREF color, bool fore);

    HDC dc_;              // see kOwnsWindowDC for ownership
    HDC measureDC_;       // not owned
    ADisplaySite* site_;  // not owned
    uint16_t flags_;
    _AFont* font_;       // not owned: the body tells fontReleased when it goes
    ATextStyle* style_;  // not owned
    COLORREF fore_;
    COLORREF back_;
    COLORREF defaultFore_;
    COLORREF defaultBack_;
    COLORREF hiliteFore_;
    COLORREF hiliteBack_;
    HPALETTE palette_;  // not owned
    uint16_t textMode_;
    int refs_;
    class ADisplayContext* context_;  // not owned
    AGraphicDisplay* next_;
    HPEN pen_;  // not owned: SolidPen's, the one in dc_ (null: the context's own)
    COLORREF penColor_ = 0;
    bool penWanted_ = false;  // lines are drawn in penColor_
    APoint resA_;
    APoint resB_;
    uint16_t scaleMode_;
    bool scaled_;
    bool mapUp_;
    bool mapDown_;
    bool commonDC_ = false;

    static AGraphicDisplay* head_;
};

// The one holder of the current display (the top of the context stack).
class ADisplayContext {
public:
    // Made on first use; Shutdown deletes it.
    static ADisplayContext& instance();
    static ADisplayContext* existing() { return instance_; }
    // The display drawing goes to when it can be drawn on, else null.
    static AGraphicDisplay* drawableCurrent() {
        AGraphicDisplay* d = instance_ ? instance_->current() : nullptr;
        return d && d->isDrawable() ? d : nullptr;
    }
    static void Shutdown();

    AGraphicDisplay* current() const { return current_; }
    // Makes display current and answers the one it replaced; null is an
    // assertion. The context holds a reference on the current display, so a
    // display that a lock ending out of order puts back stays alive.
    AGraphicDisplay* exchangeCurrent(AGraphicDisplay* display);
    // The printer information, or null when there is no printer.
    const APrinterInfo* printer() const { return printer_.dc ? &printer_ : nullptr; }
    // The printer information; without a printer yet, the default printer is
    // looked for first (through the query the printing layer installs).
    const APrinterInfo* defaultPrinter();
    // The printing layer's look-up of the default printer, which makes it
    // current (and so calls setPrinter); null: none installed.
    static void setDefaultPrinterQuery(void (*query)()) { defaultQuery_ = query; }
    // Takes dc (not owned) as the printer; print-like displays on the old one follow.
    void setPrinter(HDC dc);
    HDC memoryDC() const { return memDC_; }
    HDC secondMemoryDC() const { return memDC2_; }
    bool has256Colors() const { return has256_; }

private:
    ADisplayContext();
    ~ADisplayContext();

    static void (*defaultQuery_)();
    AGraphicDisplay* initial_;  // one reference held
    AGraphicDisplay* current_;  // one reference held
    APrinterInfo printer_;
    HDC memDC_;       // owned, 1 x 1 bitmap selected
    HDC memDC2_;      // owned
    HBITMAP bitmap_;  // owned, selected into memDC_
    HGDIOBJ oldBitmap_;
    bool has256_;

    static ADisplayContext* instance_;
};
