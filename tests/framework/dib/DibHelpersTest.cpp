// Packed DIB arithmetic and the device bitmap conversions.
#include <string>

#include "framework/dib/DibHelpers.h"
#include "tests/framework/dib/DibTestSupport.h"

namespace {

TEST(DibHelpers, ColoursAndRowsFollowTheHeader) {
    struct Row {
        const char* name;
        DWORD size;
        WORD bits;
        DWORD used;
        long colours;
    } rows[] = {
        {"24 bits", 40, 24, 0, 0},
        {"1 bit", 40, 1, 0, 2},
        {"8 bits", 40, 8, 0, 256},
        {"8 bits, 17 used", 40, 8, 17, 17},
        {"short header ignores used", 32, 8, 17, 256},
        {"32 bits with 12 used", 40, 32, 12, 12},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BITMAPINFOHEADER h = {row.size, 3, 2, 1, row.bits, 0, 0, 0, 0, row.used, 0};
        EXPECT_EQ(row.colours, DibNumColors(&h));
        EXPECT_EQ(4 * row.colours, DibPaletteSize(&h));
        EXPECT_EQ(reinterpret_cast<const uint8_t*>(&h) + row.size + 4 * row.colours, DibBits(&h));
    }
    EXPECT_EQ(184u, DibRowBytes(61, 24));
    EXPECT_EQ(8u, DibRowBytes(61, 1));
    EXPECT_EQ(0u, DibRowBytes(0x7FFFFFFF, 32)) << "past 2^31";
}

TEST(DibHelpers, BitmapsBecomeDibsAndDeviceBitmaps) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 13, 7);
    BITMAP bm;
    GetObjectA(bitmap, sizeof bm, &bm);
    HGLOBAL dib = DibFromBitmap(bitmap, BI_RGB, 0, nullptr);
    ASSERT_NE(nullptr, dib);
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(bm.bmPlanes * bm.bmBitsPixel, h->biBitCount) << "the bitmap's own depth";
    EXPECT_EQ(13, h->biWidth);
    EXPECT_EQ(7, h->biHeight);
    GlobalUnlock(dib);
    GlobalFree(dib);

    HBITMAP copy = BitmapForDevice(screen, bitmap, false);
    ASSERT_NE(nullptr, copy);
    GetObjectA(copy, sizeof bm, &bm);
    EXPECT_EQ(13, bm.bmWidth);
    DeleteObject(copy);

    SetDibFixedResolution(true);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    APoint scaled = ScaleSizeForDevice(APoint(72, 144), screen, screen);
    EXPECT_EQ(dpi, scaled.x);
    SetDibFixedResolution(false);
    EXPECT_EQ(72, ScaleSizeForDevice(APoint(72, 144), screen, screen).x);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

}  // namespace
