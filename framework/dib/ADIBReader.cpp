// The DIB reader's state machine, header checks, DIB and palette building.
#include "framework/dib/ADIBReader.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/procedural/AError.h"
#include "base/procedural/AImageLibError.h"
#include "framework/dib/DibHelpers.h"

namespace {

const long kLongestHeader = 124;  // version 5 information header

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Unlocks a global block at the end of a scope.
class Locked {
public:
    explicit Locked(HGLOBAL h) : handle_(h), data_(static_cast<uint8_t*>(GlobalLock(h))) {}
    ~Locked() {
        if (data_)
            GlobalUnlock(handle_);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    uint8_t* data() const { return data_; }

private:
    HGLOBAL handle_;
    uint8_t* data_;
};

}  // namespace

void RefuseBitmap(long line, const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    FormatErrorMessage("%s", text);
    ThrowTyped(AImageLibError("fbitmap", line));
}

ADIBReader::ADIBReader()
    : width_(0),
      height_(0),
      bitCount_(0),
      colourCount_(0),
      totalSize_(0),
      headerSize_(0),
      colourTableSize_(0),
      coreHeader_(0),
      state_(kClosed),
      palette_(nullptr),
      dib_(nullptr) {}

ADIBReader::~ADIBReader() {
    if (palette_)
        DeleteObject(palette_);
    if (dib_)
        GlobalFree(dib_);
}

void ADIBReader::setState(long n) {
    if (n == state_)
        return;
    state_ = n;
    if (n == kAtRows)
        startBits();
}

void ADIBReader::gotoState(long n) {
    if (n == state_)
        return;
    switch (n) {
        case kAtStart:
            setState(kClosed);
            rewind();
            setState(kAtStart);
            break;
        case kHeaderRead:
            gotoState(kAtStart);
            readHeader();
            break;
        case kAtRows:
            gotoState(kHeaderRead);
            skipColourTable();
            break;
        default:
            break;
    }
}

// Stored headers, little-endian:
//   core (12 bytes): 0 u32 size | 4 u16 width | 6 u16 height | 8 u16 planes | 10 u16 bits
//   information (16..124): 0 u32 size | 4 i32 width | 8 i32 height | 12 u16 planes |
//     14 u16 bits | 16 u32 compression | 20 u32 image size | 24, 28 i32 pixels a metre |
//     32 u32 colours used | 36 u32 colours important | (40..124: masks, colour space; skipped)
// A field is read only when the header's size covers it. Then the colour
// table (3-byte blue, green, red entries after a core header, else 4 bytes
// with a reserved byte), then the rows, bottom row first, each padded to 4.
void ADIBReader::readHeader() {
    gotoState(kAtStart);
    uint8_t h[kLongestHeader] = {};
    read(h, 4);
    const uint32_t size = U32(h);
    if (size < 12 || (size > 12 && size < 16) || size > kLongestHeader)
        RefuseBitmap(115, "bitmap header: size %lu", static_cast<unsigned long>(size));
    read(h + 4, static_cast<long>(size) - 4);
    const bool core = size == 12;
    long width, height, bits;
    uint32_t used = 0;
    if (core) {
        width = U16(h + 4);
        height = U16(h + 6);
        bits = U16(h + 10);
    } else {
        width = static_cast<int32_t>(U32(h + 4));
        height = static_cast<int32_t>(U32(h + 8));
        bits = U16(h + 14);
        if (size >= 20 && U32(h + 16) != BI_RGB)
            RefuseBitmap(116, "bitmap header: compression %lu", static_cast<unsigned long>(U32(h + 16)));
        if (size >= 36)
            used = U32(h + 32);
    }
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!core && (bits == 16 || bits == 32));
    if (!known)
        RefuseBitmap(117, "bitmap header: %ld bits a pixel", bits);
    if (width <= 0 || height <= 0)
        RefuseBitmap(118, "bitmap header: size %ld x %ld", width, height);
    const uint32_t most = bits <= 8 ? 1u << bits : 256;
    if (used > most)
        RefuseBitmap(119, "bitmap header: %lu colours for %ld bits", static_cast<unsigned long>(used), bits);
    const long colours = used ? static_cast<long>(used) : (bits <= 8 ? 1L << bits : 0);
    const uint64_t table = uint64_t(core ? 3 : 4) * colours;
    const uint64_t rows = uint64_t(DibRowBytes(width, bits)) * uint64_t(height);
    const uint64_t built = 40 + 4 * uint64_t(colours) + rows;
    if (rows == 0 || built > kMaxDibBytes)
        RefuseBitmap(120, "bitmap header: %ld x %ld x %ld bits is too large", width, height, bits);
    const uint64_t stored = size + table + rows;
    const long available = sourceBytes();
    const long headerRoom = headerBytes();
    if ((available >= 0 && stored > uint64_t(available)) || (headerRoom >= 0 && size + table > uint64_t(headerRoom)))
        RefuseBitmap(121, "bitmap header: %lu bytes announced beyond the %ld of the range",
                     static_cast<unsigned long>(stored), available >= 0 ? available : headerRoom);
    headerSize_ = static_cast<long>(size);
    coreHeader_ = core ? 1 : 0;
    width_ = width;
    height_ = height;
    bitCount_ = static_cast<int16_t>(bits);
    colourCount_ = colours;
    colourTableSize_ = static_cast<long>(table);
    totalSize_ = static_cast<long>(stored);
    setState(kHeaderRead);
}

long ADIBReader::bytesPerRow() const {
    if (height_ == 0)
        ThrowAssert("fbitmap", 146);
    return rowsSize() / height_;
}

HGLOBAL ADIBReader::readColourTable() {
    gotoState(kHeaderRead);
    HGLOBAL block = nullptr;
    if (colourTableSize_) {
        block = CheckAlloc(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(colourTableSize_)), "fbitmap", 130);
        try {
            Locked table(block);
            read(table.data(), colourTableSize_);
        } catch (...) {
            GlobalFree(block);
            throw;
        }
    }
    setState(kAtRows);
    return block;
}

void ADIBReader::skipColourTable() {
    if (HGLOBAL table = readColourTable())
        GlobalFree(table);
}

// The DIB always gets a 40-byte information header with 32-bit width and
// height, compression 0 and 4-byte colour entries, whatever header was stored.
HGLOBAL ADIBReader::dib() {
    if (dib_)
        return dib_;
    gotoState(kHeaderRead);
    const long table = 4 * colourCount_;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(40 + table + rowsSize()));
    CheckAlloc(block, "fbitmap", 413);
    try {
        gotoState(kAtStart);
        Locked out(block);
        uint8_t stored[kLongestHeader];
        read(stored, headerSize_);
        BITMAPINFOHEADER header = {};
        if (!coreHeader_)
            memcpy(&header, stored, headerSize_ < 40 ? headerSize_ : 40);
        header.biSize = 40;
        header.biWidth = width_;
        header.biHeight = height_;
        header.biPlanes = 1;
        header.biBitCount = static_cast<WORD>(bitCount_);
        header.biCompression = BI_RGB;
        header.biSizeImage = 0;
        if (headerSize_ < 36)
            header.biClrUsed = header.biClrImportant = 0;
        memcpy(out.data(), &header, sizeof header);
        if (coreHeader_) {
            std::vector<uint8_t> triples(static_cast<size_t>(colourTableSize_));
            if (colourTableSize_)
                read(triples.data(), colourTableSize_);
            for (long i = 0; i < colourCount_; ++i)
                memcpy(out.data() + 40 + 4 * i, &triples[3 * i], 3);
        } else if (colourTableSize_) {
            read(out.data() + 40, colourTableSize_);
        }
        setState(kAtRows);
        read(out.data() + 40 + table, rowsSize());
        setState(kClosed);
    } catch (...) {
        GlobalFree(block);
        throw;
    }
    dib_ = block;
    return dib_;
}

HGLOBAL ADIBReader::takeDib() {
    HGLOBAL d = dib();
    dib_ = nullptr;
    return d;
}

HPALETTE ADIBReader::makePalette(const uint8_t* table, HPALETTE reference, uint8_t* snapTo) {
    std::vector<uint8_t> block(8 + 4 * size_t(colourCount_));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colourCount_);
    PALETTEENTRY ref[256];
    UINT refCount = reference ? GetPaletteEntries(reference, 0, 256, ref) : 0;
    const int step = coreHeader_ && !snapTo ? 3 : 4;
    for (long i = 0; i < colourCount_; ++i) {
        const uint8_t* q = table + step * i;
        PALETTEENTRY e = {q[2], q[1], q[0], 0};
        if (refCount) {
            UINT n = GetNearestPaletteIndex(reference, RGB(e.peRed, e.peGreen, e.peBlue));
            if (n < refCount)
                e = PALETTEENTRY{ref[n].peRed, ref[n].peGreen, ref[n].peBlue, 0};
            if (snapTo) {
                snapTo[4 * i] = e.peBlue;
                snapTo[4 * i + 1] = e.peGreen;
                snapTo[4 * i + 2] = e.peRed;
            }
        }
        log->palPalEntry[i] = e;
    }
    return CheckAlloc(CreatePalette(log), "fbitmap", 466);
}

HPALETTE ADIBReader::palette(HPALETTE reference) {
    if (palette_ || colourTableSize_ == 0)
        return palette_;
    if (dib_) {
        Locked d(dib_);
        palette_ = makePalette(d.data() + 40, reference, d.data() + 40);
        return palette_;
    }
    HGLOBAL table = readColourTable();
    try {
        Locked t(table);
        palette_ = makePalette(t.data(), reference, nullptr);
    } catch (...) {
        GlobalFree(table);
        throw;
    }
    GlobalFree(table);
    return palette_;
}

HPALETTE ADIBReader::takePalette(HPALETTE reference) {
    HPALETTE p = palette(reference);
    palette_ = nullptr;
    return p;
}

HBITMAP ADIBReader::createBitmap(HDC dc, HPALETTE reference) {
    HGLOBAL d = dib();
    HPALETTE old = nullptr;
    if (DibUsesPalettes()) {
        if (HPALETTE p = palette(reference)) {
            old = SelectPalette(dc, p, FALSE);
            RealizePalette(dc);
        }
    }
    Locked bits(d);
    if (!bits.data())
        CheckAlloc(static_cast<void*>(nullptr), "fbitmap", 358);
    auto* info = reinterpret_cast<BITMAPINFO*>(bits.data());
    HBITMAP bitmap =
        CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bits.data() + 40 + 4 * colourCount_, info, DIB_RGB_COLORS);
    if (old)
        SelectPalette(dc, old, FALSE);
    return bitmap;
}
