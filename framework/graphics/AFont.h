// Fonts: a description (AFontSpec), the shared body that realises it as up
// to two platform fonts, screen and printer (_AFont), and the one-pointer
// handle that components and styles hold (AFont).
//
// Bodies are shared by equal descriptions on one process-wide list and live
// while referenced. Measuring and drawing go through the current display of
// ADisplayContext; without an active one they are assertions ("fdraw").
// Text goes to GDI as 8-bit ANSI, at most 32767 characters a call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/object/ARect.h"
#include "base/object/AString.h"
#include "framework/graphics/ABodyHandle.h"

class AGraphicDisplay;

class AFontSpec {
public:
    enum : uint16_t {
        kBold = 0x0001,
        kItalic = 0x0002,
        kUnderline = 0x0004,
        kPixels = 0x0080,
        kSuperscript = 0x0100,
        kSubscript = 0x0200,
    };

    AFontSpec() : size(0), style(0), system(0), charset(0) {}
    AFontSpec(const char* faceName, int16_t points, uint16_t styleBits, uint16_t charSet = 0)
        : face(faceName), size(points), style(styleBits), system(0), charset(charSet) {}
    // "face,size,style"; without a second comma the style is bold, without
    // any comma the size is 10 and the style plain. Null is an assertion.
    explicit AFontSpec(const char* text);
    // The description of a platform stock font (GetStockObject identifier).
    static AFontSpec fromStock(int stockId);

    bool operator==(const AFontSpec& o) const {
        return size == o.size && style == o.style && system == o.system && charset == o.charset && face == o.face;
    }
    bool operator!=(const AFontSpec& o) const { return !(*this == o); }

    AString face;
    int16_t size;  // points, or screen pixels with kPixels
    uint16_t style;
    uint16_t system;   // 1 when taken from the system font
    uint16_t charset;  // low byte: the platform character set
};

struct AFontMetrics {
    int16_t ascent;
    int16_t descent;
    int16_t maxWidth;
    int16_t leading;
};

struct ATextExtent {
    AFontMetrics metrics;
    int32_t width;
    int32_t height;
};

struct AJustification {
    int16_t breaks;  // number of break characters
    int16_t extra;   // extra space in logical units spread over them
};

class _AFont {
public:
    // The body of an equal description, made when missing; callers add their reference.
    static _AFont* find(const AFontSpec& spec);
    void addRef() { ++refs_; }
    // Counts down; at zero the body leaves the list and its platform fonts go.
    void release();
    long refs() const { return refs_; }
    const AFontSpec& spec() const { return spec_; }

    // The platform font of one realisation, made on first use; the printer
    // one is made for printerDC (required then). Owned by the body.
    HFONT getHFont(bool printer, HDC printerDC);

    AFontMetrics metrics();
    // length -1: up to the NUL.
    ATextExtent measure(const char* text, long length);
    // Draws with the baseline at p (component space); answers the advance width.
    int32_t drawText(const APoint& p, const char* text, long length, COLORREF color);
    int32_t drawTextAtTop(const APoint& p, const char* text, long length);
    int32_t measureJustified(const char* text, long length, const AJustification* justification);
    // The character boundary nearest to offset x; flag 1 when x lies inside the next character.
    long indexAtOffset(const char* text, long length, int32_t x, int16_t& flag);
    long indexAtOffsetJustified(const char* text, long length, int32_t x, int16_t& flag,
                                const AJustification* justification);
    // The widths of every prefix of text: widths[i] is the width of its first
    // i + 1 bytes; whole gets the measure of all of it. False (widths unset)
    // where measuring pieces on their own could give other widths than
    // subtracting these: print-like displays, scaled mappings, multibyte code
    // pages, a total other than the sum of the advances, empty or over-long text.
    bool prefixWidths(const char* text, long length, int32_t* widths, ATextExtent& whole);
    // What indexAtOffset answers for a text whose first k bytes are
    // cumulative[k] - cumulative[0] wide (cumulative holds length + 1 widths).
    static long indexAtWidth(const int32_t* cumulative, long length, int32_t x, int16_t& flag);

    // Deletes every printer realisation (made again on next use).
    static void releasePrinterFonts();
    static long liveCount() { return live_; }
    // Whether font is a body on the list (a saved pointer may outlive its body).
    static bool isLive(const _AFont* font);
    // 0 never, 1 on preview displays, 2 on printer displays: text is drawn
    // with GetCharacterPlacementA advances.
    static uint16_t textPlacementMode;
    // The placement call, replaceable by tests.
    using PlacementCall = DWORD(WINAPI*)(HDC, LPCSTR, int, int, LPGCP_RESULTSA, DWORD);
    static PlacementCall placementCall;

private:
    struct DeviceFont {
        AFontMetrics metrics;
        bool valid;
        int16_t shift;  // baseline offset of super- and subscript
        HFONT handle;   // owned
        // The advance of each byte, read on first use; empty when the bytes'
        // advances cannot stand for the measure of a text (see prefixWidths).
        std::vector<int32_t> advances;
        bool advancesRead;
    };

    explicit _AFont(const AFontSpec& spec);
    ~_AFont();
    static void dropRealisation(DeviceFont& font);
    static AGraphicDisplay* activeDisplay();
    // The realisation selected in the display's measuring context.
    DeviceFont& measuringRealisation(AGraphicDisplay* display);
    const AFontMetrics& metricsOf(DeviceFont& font, HDC dc);
    static void readAdvances(DeviceFont& font, HDC dc);
    int32_t widthOf(const char* text, long length, const AJustification* justification);

    long refs_;          // wide enough never to wrap
    int32_t charGuess_;  // a character's width in 1/256 pixel, as last measured: where a search starts
    DeviceFont screen_;
    DeviceFont printer_;
    AFontSpec spec_;
    _AFont* next_;

    static _AFont* head_;
    static long live_;
};

// A handle on a font body, holding one reference.
class AFont : public ABodyHandle<_AFont> {
public:
    explicit AFont(const AFontSpec& spec) : ABodyHandle(_AFont::find(spec)) {}

    const AFontSpec& spec() const { return body()->spec(); }
    HFONT getHFont() { return body()->getHFont(false, nullptr); }
};
