// Packed DIB arithmetic and the device conversions of bitmaps.
#include "framework/dib/DibHelpers.h"

#include <cstring>

namespace {

bool g_noPalette = false;
bool g_fixedResolution = false;

bool ScreenHasPalette() {
    HDC screen = GetDC(nullptr);
    bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, screen);
    return palette;
}

// Selects and realises a palette for a scope, on palette screens only.
class PaletteScope {
public:
    PaletteScope(HDC dc, HPALETTE palette) : dc_(dc), old_(nullptr) {
        if (palette) {
            old_ = SelectPalette(dc, palette, FALSE);
            RealizePalette(dc);
        }
    }
    ~PaletteScope() {
        if (old_)
            SelectPalette(dc_, old_, FALSE);
    }
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

}  // namespace

void SetDibNoPalette(bool noPalette) {
    g_noPalette = noPalette;
}

bool DibUsesPalettes() {
    return !g_noPalette && ScreenHasPalette();
}

void SetDibFixedResolution(bool fixed) {
    g_fixedResolution = fixed;
}

long DibNumColors(const BITMAPINFOHEADER* header) {
    if (header->biSize >= 36 && header->biClrUsed)
        return static_cast<long>(header->biClrUsed);
    return header->biBitCount > 8 ? 0 : 1L << header->biBitCount;
}

long DibPaletteSize(const BITMAPINFOHEADER* header) {
    return 4 * DibNumColors(header);
}

const uint8_t* DibBits(const BITMAPINFOHEADER* header) {
    return reinterpret_cast<const uint8_t*>(header) + header->biSize + DibPaletteSize(header);
}

uint32_t DibRowBytes(long width, int bits) {
    uint64_t row = (uint64_t(width < 0 ? 0 : width) * uint64_t(bits < 0 ? 0 : bits) + 31) / 32 * 4;
    return row > 0x7FFFFFFFu ? 0 : static_cast<uint32_t>(row);
}

HGLOBAL DibFromBitmap(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette) {
    if (!bitmap)
        return nullptr;
    if (!palette && DibUsesPalettes())
        palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    BITMAP bm;
    if (!GetObjectA(bitmap, sizeof bm, &bm))
        return nullptr;
    if (bitCount == 0)
        bitCount = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = compression;
    const long table = DibPaletteSize(&header);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof header + table);
    if (!block)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HGLOBAL result = nullptr;
    {
        PaletteScope scope(screen, DibUsesPalettes() ? palette : nullptr);
        auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
        info->bmiHeader = header;
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), nullptr, info, DIB_RGB_COLORS);
        header = info->bmiHeader;
        GlobalUnlock(block);
        if (header.biSizeImage == 0) {
            header.biSizeImage = DibRowBytes(bm.bmWidth, bitCount) * static_cast<DWORD>(bm.bmHeight);
            if (compression != BI_RGB)
                header.biSizeImage = header.biSizeImage * 3 / 2;
        }
        HGLOBAL grown = GlobalReAlloc(block, sizeof header + table + header.biSizeImage, GMEM_MOVEABLE);
        if (grown) {
            block = grown;
            info = static_cast<BITMAPINFO*>(GlobalLock(block));
            info->bmiHeader = header;
            bool read = GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight),
                                  const_cast<uint8_t*>(DibBits(&info->bmiHeader)), info, DIB_RGB_COLORS) != 0;
            GlobalUnlock(block);
            if (read)
                result = block;
        }
    }
    ReleaseDC(nullptr, screen);
    if (!result)
        GlobalFree(block);
    return result;
}

APoint ScaleSizeForDevice(APoint size, HDC from, HDC to) {
    APoint source =
        g_fixedResolution ? APoint(72, 72) : APoint(GetDeviceCaps(from, LOGPIXELSX), GetDeviceCaps(from, LOGPIXELSY));
    APoint target(GetDeviceCaps(to, LOGPIXELSX), GetDeviceCaps(to, LOGPIXELSY));
    return APoint(MulDiv(size.x, target.x, source.x), MulDiv(size.y, target.y, source.y));
}

HBITMAP StretchBitmapForDevice(HBITMAP bitmap, HDC device) {
    HDC screen = GetDC(nullptr);
    HDC first = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HDC second = CreateCompatibleDC(first);
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    APoint scaled = ScaleSizeForDevice(APoint(bm.bmWidth, bm.bmHeight), first, device);
    HGDIOBJ oldFirst = SelectObject(first, bitmap);
    HBITMAP stretched = CreateCompatibleBitmap(first, scaled.x, scaled.y);
    HGDIOBJ oldSecond = stretched ? SelectObject(second, stretched) : nullptr;
    if (stretched)
        StretchBlt(second, 0, 0, scaled.x, scaled.y, first, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    if (oldSecond)
        SelectObject(second, oldSecond);
    SelectObject(first, oldFirst);
    DeleteDC(second);
    DeleteDC(first);
    return stretched;
}

HBITMAP BitmapForDevice(HDC device, HBITMAP bitmap, bool scale) {
    HBITMAP source = scale ? StretchBitmapForDevice(bitmap, device) : bitmap;
    HBITMAP result = nullptr;
    if (HGLOBAL dib = DibFromBitmap(source, 0, 0, nullptr)) {
        auto* info = static_cast<BITMAPINFO*>(GlobalLock(dib));
        result = CreateDIBitmap(device, &info->bmiHeader, CBM_INIT, DibBits(&info->bmiHeader), info, DIB_RGB_COLORS);
        GlobalUnlock(dib);
        GlobalFree(dib);
    }
    if (source && source != bitmap)
        DeleteObject(source);
    return result;
}
