// Pictures: a description (AImageSpec), the shared body that keeps the
// picture once as device-independent bits and realises it lazily as device
// bitmaps (_AImage), and the one-pointer handle that users hold (AImage).
// A picture may be a grid of equal frames; drawing takes a frame index.
//
// Bodies are shared by equal descriptions on one process-wide list and live
// while referenced. A file the reader refuses raises AImageLibError
// (recoverable) with the reason in the message buffer; a frame outside the
// grid or drawing without an active display is an assertion ("fdraw").
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"
#include "base/object/AString.h"
#include "framework/graphics/ABodyHandle.h"
#include "framework/resources/AResource.h"

class AImageSpec {
public:
    enum : uint16_t {
        kNone = 0xFFFF,
        kPngStream = 0x0001,
        kRefusedFormat = 0x0002,
        kResource = 0x0004,
        kOwnColors = 0x0008,
        kSystem = 0x1000,
        kFile = 0x2000,
    };

    AImageSpec() : flags(kNone), grid(0x0101) {}
    // A bitmap resource (type 2) by number, or a system bitmap (LoadBitmapA) with system set.
    AImageSpec(uint16_t number, uint16_t gridWord, uint16_t options, bool system);
    explicit AImageSpec(const AResourceRef& ref, uint16_t gridWord = 0);
    // A BMP file; path is a Windows path.
    static AImageSpec fromFile(const char* path, uint16_t gridWord, uint16_t options);

    bool operator==(const AImageSpec& o) const;
    bool operator!=(const AImageSpec& o) const { return !(*this == o); }
    int columns() const { return grid & 0xFF; }
    int rows() const { return grid >> 8; }
    // A grid word with at least one column and one row.
    static uint16_t normalGrid(uint16_t gridWord);

    uint16_t flags;
    AResourceRef resource;
    uint16_t grid;  // columns in the low byte, rows in the high byte, each at least 1
    AString file;
};

// Reads the picture of an image file description into a packed DIB (a new
// global block that the caller frees); raises AImageLibError for a file it
// refuses. The image readers above this layer install one; without it only
// BMP files are read.
using AImageFileReader = HGLOBAL (*)(const AImageSpec& spec);
void SetImageFileReader(AImageFileReader reader);
// Reads the picture size of an image file description from the file's
// header alone, its pixels not decoded; raises AImageLibError for a header it
// refuses. Installed beside the reader; without it sizing loads the picture.
using AImageFileSizer = APoint (*)(const AImageSpec& spec);
void SetImageFileSizer(AImageFileSizer sizer);

class _AImage {
public:
    enum DrawMode { kOpaque = 0, kTransparent = 1, kOpaqueBackground = 3 };

    // The body of an equal description, made when missing; callers add their reference.
    static _AImage* find(const AImageSpec& spec);
    void addRef() { ++refs_; }
    void release();
    long refs() const { return refs_; }
    const AImageSpec& spec() const { return spec_; }

    // The picture's size in pixels (loads it on first use).
    APoint size();
    APoint frameSize();
    // The same before loading: a file's header read alone, so that a layout
    // needs no decoded pixels; raises as loading does for a refused header.
    APoint storedSize();
    APoint storedFrameSize();
    // The cell of a frame inside the picture; an index outside the grid is an assertion.
    ARect frameCell(int index);
    // The device bitmap of the screen (false) or printer (true) realisation; owned by the body.
    HBITMAP getHBitmap(bool printer);
    // Draws one frame into dest (component space) on the current display;
    // source, when given, is a part of the frame.
    void drawFrame(const ARect& dest, const ARect* source, int index, DrawMode mode);
    // The same frame into each of count places, the drawing set up once.
    void drawFrames(const ARect* dests, size_t count, const ARect* source, int index, DrawMode mode);
    // Covers area, whose corner is a tile's, with copies of a one-frame
    // picture at its size, in one fill; false, drawing nothing, where the
    // copies would be scaled or printed.
    bool fillTiles(const ARect& area);
    // A new global block holding a copy of the bits (the caller frees it), or null.
    HGLOBAL copyBits();
    // The picture's own palette (owned by the body), or null.
    HPALETTE palette() {
        load();
        return palette_;
    }
    // Writes the picture as a BMP file through a temporary sibling that
    // replaces path only when complete. 0, else the Win32 error; nothing
    // (and 0) for a body without bits.
    long writeBmp(const char* path);

    static void releaseAll();
    // After the application's palette changed: every picture is realised
    // again, mapped to the new palette, when it is next drawn.
    static void rebuildAll() { releaseAll(); }
    static long liveCount() { return live_; }
    // Pictures loaded (read and decoded) so far in the process.
    static long loadCount() { return loads_; }

private:
    struct DeviceBitmap {
        HBITMAP bitmap;   // owned
        HBITMAP mask;     // owned, made on first transparent drawing
        HBITMAP onBlack;  // owned, idem
        bool opaqueUsed;
        HDC memory;          // owned, holding bitmap while drawings copy from it
        HGDIOBJ unselected;  // what memory held before
    };

    explicit _AImage(const AImageSpec& spec);
    ~_AImage();
    void load();
    void loadFile();
    void loadResource();
    void adoptDib(const void* dib, size_t size, const char* where);
    void realise(DeviceBitmap& device, HDC dc);
    static void dropDevice(DeviceBitmap& device);
    static void releaseMemory(DeviceBitmap& device);
    void realiseScreen();
    void makeMask(DeviceBitmap& device, HDC memory);
    void drawBits(HDC dc, const ARect& d, const ARect& src, bool stretch);
    HDC screenMemory(HDC dc);
    void blit(HDC dc, const ARect& d, const ARect& src, DrawMode mode);

    long refs_;  // wide enough never to wrap
    DeviceBitmap screen_;
    DeviceBitmap printer_;
    HGLOBAL bits_;      // owned: BITMAPINFOHEADER, colour table, pixels
    HPALETTE palette_;  // owned
    AImageSpec spec_;
    APoint size_;
    bool loaded_;
    bool sized_;  // size_ read from the file's header
    _AImage* next_;

    static _AImage* head_;
    static long live_;
    static long loads_;
};

// A handle on an image body, holding one reference.
class AImage : public ABodyHandle<_AImage> {
public:
    explicit AImage(const AImageSpec& spec) : ABodyHandle(_AImage::find(spec)) {}

    HBITMAP getHBitmap() { return body()->getHBitmap(false); }
};
