// Helpers over packed device-independent bitmaps (a 40-byte information
// header, the colour table, then bottom-up rows padded to 4 bytes), the
// process-wide palette and resolution switches of the drawing layer, and the
// conversions of device bitmaps back into packed DIBs and between devices.
//
// Handles returned belong to the caller. Failing system calls answer 0;
// nothing here raises.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"

// The packed DIBs this library builds never pass this size (header, colour
// table and rows): a larger image is refused before anything is allocated.
const uint32_t kMaxDibBytes = 64u << 20;

// Palettes are used only while the no-palette switch is clear and the screen is a palette device.
void SetDibNoPalette(bool noPalette);
bool DibUsesPalettes();
// With the fixed-resolution switch set, screen sizes count as 72 dots per inch.
void SetDibFixedResolution(bool fixed);

// Colours used when the header's size is 36 or more and the field is not 0;
// else 0 above 8 bits a pixel and 1 << bits at or below.
long DibNumColors(const BITMAPINFOHEADER* header);
long DibPaletteSize(const BITMAPINFOHEADER* header);
// The first row: after the header and the colour table.
const uint8_t* DibBits(const BITMAPINFOHEADER* header);
// Bytes of one row of width pixels at bits a pixel, padded to 4; 0 past 2^31.
uint32_t DibRowBytes(long width, int bits);

// A packed DIB of the bitmap (bitCount 0: the bitmap's own depth), or 0.
HGLOBAL DibFromBitmap(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette);
// size converted from from's resolution to to's.
APoint ScaleSizeForDevice(APoint size, HDC from, HDC to);
// A new bitmap, compatible with the screen, of the bitmap's size converted to the device's resolution.
HBITMAP StretchBitmapForDevice(HBITMAP bitmap, HDC device);
// A new device-dependent bitmap for the device, stretched first with scale set; 0 on failure.
HBITMAP BitmapForDevice(HDC device, HBITMAP bitmap, bool scale);
