// Image descriptions, shared image bodies with their device bitmaps, frame
// drawing on the current display and BMP output.
#include "framework/graphics/AImage.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "base/procedural/AImageLibError.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/APaletteTable.h"

_AImage* _AImage::head_ = nullptr;
long _AImage::live_ = 0;
long _AImage::loads_ = 0;

namespace {

[[noreturn]] void Refuse(const char* where, const char* why) {
    FormatErrorMessage("%s: %s", where, why);
    throw AImageLibError("fdraw", 0);
}

// The parts of a packed device-independent bitmap, as the system keeps it:
//   BITMAPINFOHEADER (biSize bytes, at least 40) | colour table: 4 bytes x
//   2^bits for 1, 4 and 8 bits a pixel, none above | rows of pixels, each
//   padded to 4 bytes, bottom row first when the height is positive.
struct DibLayout {
    uint32_t header;
    uint32_t table;      // bytes of the full colour table
    uint32_t tableUsed;  // bytes of it that the source holds
    uint32_t pixels;
    int32_t width;
    int32_t height;  // absolute
    uint16_t bits;
};

DibLayout Measure(const uint8_t* p, size_t size, const char* where) {
    if (size < sizeof(BITMAPINFOHEADER))
        Refuse(where, "header beyond the end");
    BITMAPINFOHEADER h;
    memcpy(&h, p, sizeof h);
    DibLayout d = {};
    d.header = h.biSize;
    d.bits = h.biBitCount;
    d.width = h.biWidth;
    d.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size)
        Refuse(where, "bad header size");
    if (h.biCompression != BI_RGB || h.biPlanes != 1)
        Refuse(where, "compressed or planar pixels");
    if (d.bits != 1 && d.bits != 4 && d.bits != 8 && d.bits != 24 && d.bits != 32)
        Refuse(where, "unsupported bits per pixel");
    if (d.width <= 0 || d.width > 32767 || d.height == 0 || d.height > 32767)
        Refuse(where, "bad size");
    if (d.bits <= 8) {
        uint32_t colours = 1u << d.bits;
        uint32_t used = h.biClrUsed ? h.biClrUsed : colours;
        if (used > colours)
            Refuse(where, "colour table too long");
        d.table = 4 * colours;
        d.tableUsed = 4 * used;
    }
    uint64_t row = ((uint64_t(d.bits) * uint64_t(d.width) + 31) / 32) * 4;
    uint64_t pixels = row * uint64_t(d.height);
    if (uint64_t(d.header) + d.tableUsed + pixels > size)
        Refuse(where, "pixels beyond the end");
    d.pixels = static_cast<uint32_t>(pixels);
    return d;
}

HPALETTE PaletteOf(const BITMAPINFO* info, const DibLayout& d) {
    if (d.bits > 8)
        return nullptr;
    uint32_t n = d.table / 4;
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(n);
    for (uint32_t i = 0; i < n; ++i) {
        const RGBQUAD& q = info->bmiColors[i];
        log->palPalEntry[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    return CreatePalette(log);
}

AGraphicDisplay* ActiveDisplay() {
    ADisplayContext* context = ADisplayContext::existing();
    AGraphicDisplay* display = context ? context->current() : nullptr;
    if (!display || display->flags() == 0)
        ThrowAssert("fdraw", 1210);
    return display;
}

AImageFileReader g_fileReader = nullptr;
AImageFileSizer g_fileSizer = nullptr;

struct LockedBits {
    explicit LockedBits(HGLOBAL h) : handle(h), info(static_cast<BITMAPINFO*>(GlobalLock(h))) {}
    ~LockedBits() { GlobalUnlock(handle); }
    const uint8_t* pixels() const {
        const BITMAPINFOHEADER& h = info->bmiHeader;
        uint32_t table = h.biBitCount <= 8 ? 4u << h.biBitCount : 0;
        return reinterpret_cast<const uint8_t*>(info) + h.biSize + table;
    }
    HGLOBAL handle;
    BITMAPINFO* info;
};

}  // namespace

uint16_t AImageSpec::normalGrid(uint16_t gridWord) {
    uint16_t columns = gridWord & 0xFF;
    uint16_t rows = gridWord >> 8;
    return static_cast<uint16_t>((rows ? rows : 1) << 8 | (columns ? columns : 1));
}

AImageSpec::AImageSpec(uint16_t number, uint16_t gridWord, uint16_t options, bool system)
    : flags(static_cast<uint16_t>((options & 0x0FFF) | kResource | (system ? kSystem : 0))),
      resource(number),
      grid(normalGrid(gridWord)) {}

AImageSpec::AImageSpec(const AResourceRef& ref, uint16_t gridWord)
    : flags(kResource), resource(ref), grid(normalGrid(gridWord)) {}

AImageSpec AImageSpec::fromFile(const char* path, uint16_t gridWord, uint16_t options) {
    AImageSpec spec;
    spec.flags = static_cast<uint16_t>((options & 0x0FFF) | kFile);
    spec.grid = normalGrid(gridWord);
    spec.file = AString(path);
    return spec;
}

bool AImageSpec::operator==(const AImageSpec& o) const {
    if (flags == kNone || o.flags == kNone)
        return flags == o.flags;
    bool isFile = (flags & kFile) != 0;
    if (isFile != ((o.flags & kFile) != 0))
        return false;
    return isFile ? file == o.file : resource == o.resource;
}

_AImage::_AImage(const AImageSpec& spec)
    : refs_(0),
      screen_(),
      printer_(),
      bits_(nullptr),
      palette_(nullptr),
      spec_(spec),
      loaded_(false),
      sized_(false),
      next_(head_) {
    head_ = this;
    ++live_;
}

_AImage::~_AImage() {
    dropDevice(screen_);
    dropDevice(printer_);
    if (bits_)
        GlobalFree(bits_);
    if (palette_)
        DeleteObject(palette_);
}

_AImage* _AImage::find(const AImageSpec& spec) {
    for (_AImage* i = head_; i; i = i->next_) {
        if (i->spec_ == spec)
            return i;
    }
    return CheckAlloc(new _AImage(spec), "fdraw", 1100);
}

void _AImage::release() {
    if (--refs_ > 0)
        return;
    UnlinkBody(head_, this, &_AImage::next_, 1120);
    --live_;
    delete this;
}

void _AImage::releaseMemory(DeviceBitmap& device) {
    if (!device.memory)
        return;
    SelectObject(device.memory, device.unselected);
    DeleteDC(device.memory);
    device.memory = nullptr;
}

void _AImage::dropDevice(DeviceBitmap& device) {
    releaseMemory(device);
    for (HBITMAP b : {device.bitmap, device.mask, device.onBlack}) {
        if (b)
            DeleteObject(b);
    }
    device = DeviceBitmap();
}

void _AImage::releaseAll() {
    for (_AImage* i = head_; i; i = i->next_) {
        dropDevice(i->screen_);
        dropDevice(i->printer_);
    }
}

void _AImage::adoptDib(const void* dib, size_t size, const char* where) {
    const auto* p = static_cast<const uint8_t*>(dib);
    DibLayout d = Measure(p, size, where);
    // The kept block always has the full colour table, so that its layout
    // follows from the header alone.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, d.header + d.table + d.pixels);
    if (!block)
        CheckAlloc(static_cast<void*>(nullptr), "fdraw", 1150);
    auto* out = static_cast<uint8_t*>(GlobalLock(block));
    memcpy(out, p, d.header);
    reinterpret_cast<BITMAPINFOHEADER*>(out)->biClrUsed = 0;
    memcpy(out + d.header, p + d.header, d.tableUsed);
    memcpy(out + d.header + d.table, p + d.header + d.tableUsed, d.pixels);
    palette_ = PaletteOf(reinterpret_cast<BITMAPINFO*>(out), d);
    GlobalUnlock(block);
    bits_ = block;
    size_ = APoint(d.width, d.height);
}

void SetImageFileReader(AImageFileReader reader) {
    g_fileReader = reader;
}

void SetImageFileSizer(AImageFileSizer sizer) {
    g_fileSizer = sizer;
}

// BMP file: "BM" | file size u32 | two reserved u16 | pixel offset u32 (all
// little-endian, 14 bytes), then the packed bitmap (see DibLayout), whose
// pixels start at the offset.
void _AImage::loadFile() {
    if (spec_.flags & AImageSpec::kRefusedFormat)
        ThrowNotImplemented("fdraw", 0);
    const char* path = spec_.file.c_str();
    // The installed readers also take "KY" and JPEG files; the BMP reading below is the fallback.
    if (g_fileReader) {
        HGLOBAL dib = g_fileReader(spec_);
        if (!dib)
            Refuse(path, "no picture");
        try {
            const void* p = GlobalLock(dib);
            adoptDib(p, GlobalSize(dib), path);
        } catch (...) {
            GlobalUnlock(dib);
            GlobalFree(dib);
            throw;
        }
        GlobalUnlock(dib);
        GlobalFree(dib);
        return;
    }
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        Refuse(path, "cannot open");
    DWORD size = GetFileSize(h, nullptr);
    std::vector<uint8_t> data(size == INVALID_FILE_SIZE || size > (64u << 20) ? 0 : size);
    DWORD got = 0;
    bool read = !data.empty() && ReadFile(h, data.data(), size, &got, nullptr) && got == size;
    CloseHandle(h);
    if (!read || size < 14 || data[0] != 'B' || data[1] != 'M')
        Refuse(path, "not a BMP file");
    uint32_t offset;
    memcpy(&offset, &data[10], 4);
    DibLayout d = Measure(data.data() + 14, size - 14, path);
    // The pixels may sit after a gap: move them up behind the colour table.
    if (offset < 14 + d.header + d.tableUsed || uint64_t(offset) + d.pixels > size)
        Refuse(path, "pixel offset out of place");
    memmove(data.data() + 14 + d.header + d.tableUsed, data.data() + offset, d.pixels);
    adoptDib(data.data() + 14, size - 14, path);
}

void _AImage::loadResource() {
    if (spec_.flags & AImageSpec::kSystem) {
        HBITMAP system = LoadBitmapA(nullptr, MAKEINTRESOURCEA(spec_.resource.number()));
        if (system) {
            BITMAP bm;
            GetObjectA(system, sizeof bm, &bm);
            BITMAPINFOHEADER h = {sizeof h, bm.bmWidth, bm.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
            std::vector<uint8_t> dib(sizeof h + ((24u * bm.bmWidth + 31) / 32) * 4 * bm.bmHeight);
            memcpy(dib.data(), &h, sizeof h);
            HDC screen = GetDC(nullptr);
            GetDIBits(screen, system, 0, bm.bmHeight, dib.data() + sizeof h, reinterpret_cast<BITMAPINFO*>(dib.data()),
                      DIB_RGB_COLORS);
            ReleaseDC(nullptr, screen);
            DeleteObject(system);
            adoptDib(dib.data(), dib.size(), "system bitmap");
            return;
        }
    }
    AResource resource(2, spec_.resource);
    if (!resource.exists())
        ThrowAssert("fdraw", 1260);
    resource.open();
    try {
        adoptDib(resource.getData(), static_cast<size_t>(resource.getSize()), "bitmap resource");
    } catch (...) {
        resource.close();
        throw;
    }
    resource.close();
}

void _AImage::load() {
    if (loaded_)
        return;
    if (spec_.flags == AImageSpec::kNone)
        ThrowAssert("fdraw", 1280);
    if (spec_.flags & AImageSpec::kFile)
        loadFile();
    else
        loadResource();
    loaded_ = true;
    ++loads_;
}

APoint _AImage::size() {
    load();
    return size_;
}

APoint _AImage::frameSize() {
    APoint s = size();
    return APoint(s.x / spec_.columns(), s.y / spec_.rows());
}

APoint _AImage::storedSize() {
    if (loaded_ || sized_)
        return size_;
    if (!g_fileSizer || !(spec_.flags & AImageSpec::kFile) || (spec_.flags & AImageSpec::kRefusedFormat))
        return size();
    size_ = g_fileSizer(spec_);
    sized_ = true;
    return size_;
}

APoint _AImage::storedFrameSize() {
    APoint s = storedSize();
    return APoint(s.x / spec_.columns(), s.y / spec_.rows());
}

ARect _AImage::frameCell(int index) {
    if (index < 0 || index >= spec_.columns() * spec_.rows())
        ThrowAssert("fdraw", 1300);
    APoint cell = frameSize();
    APoint at((index % spec_.columns()) * cell.x, (index / spec_.columns()) * cell.y);
    return ARect(at, at + cell);
}

void _AImage::realise(DeviceBitmap& device, HDC dc) {
    if (device.bitmap)
        return;
    load();
    LockedBits bits(bits_);
    APaletteTable* table = APaletteTable::active();
    HPALETTE mapTo = table && table->rebuildsImages() && !(spec_.flags & AImageSpec::kOwnColors)
                         ? APaletteTable::currentPalette()
                         : nullptr;
    HPALETTE old = mapTo ? SelectPalette(dc, mapTo, TRUE) : nullptr;
    if (mapTo)
        RealizePalette(dc);
    device.bitmap = CreateDIBitmap(dc, &bits.info->bmiHeader, CBM_INIT, bits.pixels(), bits.info, DIB_RGB_COLORS);
    if (mapTo)
        SelectPalette(dc, old, TRUE);
    if (!device.bitmap)
        ThrowAssert("fdraw", 1320);
}

HBITMAP _AImage::getHBitmap(bool printer) {
    if (printer) {
        AGraphicDisplay* display = ActiveDisplay();
        if (!display->isPrintLike())
            ThrowAssert("fdraw", 1330);
        realise(printer_, display->getMeasureDC());
        return printer_.bitmap;
    }
    // The caller may select the bitmap: the drawing's context lets it go.
    releaseMemory(screen_);
    realiseScreen();
    return screen_.bitmap;
}

void _AImage::realiseScreen() {
    if (screen_.bitmap)
        return;
    HDC screen = AGraphicDisplay::screenDC();
    if (!screen)
        ThrowAssert("fdraw", 1320);
    realise(screen_, screen);
}

void _AImage::makeMask(DeviceBitmap& device, HDC memory) {
    APoint s = size_;
    HDC maskDC = CreateCompatibleDC(memory);
    device.mask = CreateBitmap(s.x, s.y, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, device.mask);
    HGDIOBJ oldPicture = SelectObject(memory, device.bitmap);
    SetBkColor(memory, RGB(255, 255, 255));
    BitBlt(maskDC, 0, 0, s.x, s.y, memory, 0, 0, SRCCOPY);
    // The copy on black: the picture with its white pixels turned black.
    HDC blackDC = CreateCompatibleDC(memory);
    device.onBlack = CreateCompatibleBitmap(memory, s.x, s.y);
    HGDIOBJ oldBlack = SelectObject(blackDC, device.onBlack);
    BitBlt(blackDC, 0, 0, s.x, s.y, memory, 0, 0, SRCCOPY);
    SetBkColor(blackDC, RGB(0, 0, 0));
    SetTextColor(blackDC, RGB(255, 255, 255));
    BitBlt(blackDC, 0, 0, s.x, s.y, maskDC, 0, 0, SRCAND);
    SelectObject(blackDC, oldBlack);
    DeleteDC(blackDC);
    SelectObject(memory, oldPicture);
    SelectObject(maskDC, oldMask);
    DeleteDC(maskDC);
}

void _AImage::drawFrame(const ARect& dest, const ARect* source, int index, DrawMode mode) {
    drawFrames(&dest, 1, source, index, mode);
}

void _AImage::drawFrames(const ARect* dests, size_t count, const ARect* source, int index, DrawMode mode) {
    AGraphicDisplay* display = ActiveDisplay();
    if (display->flags() & AGraphicDisplay::kMeasureOnly)
        ThrowAssert("fdraw", 1400);
    ARect cell = frameCell(index);
    ARect src = cell;
    if (source) {
        src = *source + cell.first;
        src.intersect(cell);
    }
    HDC dc = display->dc();
    for (size_t i = 0; i < count; ++i) {
        ARect d = display->mapRect(dests[i] + display->origin());
        bool stretch = d.width() != src.width() || d.height() != src.height();
        if (bits_ && (stretch || display->isPrintLike()))
            drawBits(dc, d, src, stretch);
        else
            blit(dc, d, src, mode);
    }
}

void _AImage::drawBits(HDC dc, const ARect& d, const ARect& src, bool stretch) {
    LockedBits bits(bits_);
    HPALETTE old = palette_ ? SelectPalette(dc, palette_, TRUE) : nullptr;
    if (palette_)
        RealizePalette(dc);
    SetStretchBltMode(dc, COLORONCOLOR);
    // Rows of a bottom-up picture count from its last row.
    int32_t ySrc = bits.info->bmiHeader.biHeight > 0 ? size_.y - src.bottom() : src.top();
    if (stretch)
        StretchDIBits(dc, d.left(), d.top(), d.width(), d.height(), src.left(), ySrc, src.width(), src.height(),
                      bits.pixels(), bits.info, DIB_RGB_COLORS, SRCCOPY);
    else
        SetDIBitsToDevice(dc, d.left(), d.top(), static_cast<DWORD>(d.width()), static_cast<DWORD>(d.height()),
                          src.left(), ySrc, 0, static_cast<UINT>(size_.y), bits.pixels(), bits.info, DIB_RGB_COLORS);
    if (palette_)
        SelectPalette(dc, old, TRUE);
}

bool _AImage::fillTiles(const ARect& area) {
    AGraphicDisplay* display = ActiveDisplay();
    if (display->flags() & AGraphicDisplay::kMeasureOnly)
        ThrowAssert("fdraw", 1400);
    APoint s = size();
    if (spec_.columns() != 1 || spec_.rows() != 1 || display->isPrintLike() || s.x <= 0 || s.y <= 0)
        return false;
    ARect d = display->mapRect(area + display->origin());
    ARect tile = display->mapRect(ARect(area.first, area.first + s) + display->origin());
    if (tile.width() != s.x || tile.height() != s.y)
        return false;
    HDC dc = display->dc();
    HBRUSH brush = screenMemory(dc) ? CreatePatternBrush(screen_.bitmap) : nullptr;
    if (!brush)
        return false;
    // The brush's origin is in device units: the first tile's corner there.
    POINT corner = {d.left(), d.top()};
    LPtoDP(dc, &corner, 1);
    POINT oldOrigin;
    SetBrushOrgEx(dc, (corner.x % s.x + s.x) % s.x, (corner.y % s.y + s.y) % s.y, &oldOrigin);
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, d.left(), d.top(), d.width(), d.height(), PATCOPY);
    SelectObject(dc, old);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    DeleteObject(brush);
    screen_.opaqueUsed = true;
    return true;
}

// Selecting a bitmap into a new context costs more than the copy: the
// screen realisation stays selected into its own, kept with it.
HDC _AImage::screenMemory(HDC dc) {
    if (screen_.memory)
        return screen_.memory;
    realiseScreen();
    screen_.memory = CreateCompatibleDC(dc);
    if (screen_.memory)
        screen_.unselected = SelectObject(screen_.memory, screen_.bitmap);
    return screen_.memory;
}

void _AImage::blit(HDC dc, const ARect& d, const ARect& src, DrawMode mode) {
    HDC memory = screenMemory(dc);
    if (!memory)
        return;
    if (mode == kTransparent && !screen_.mask)
        makeMask(screen_, memory);
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    if (mode == kTransparent) {
        HGDIOBJ old = SelectObject(memory, screen_.mask);
        BitBlt(dc, d.left(), d.top(), d.width(), d.height(), memory, src.left(), src.top(), SRCAND);
        SelectObject(memory, screen_.onBlack);
        BitBlt(dc, d.left(), d.top(), d.width(), d.height(), memory, src.left(), src.top(), SRCPAINT);
        SelectObject(memory, old);
    } else {
        int oldMode = mode == kOpaqueBackground ? SetBkMode(dc, OPAQUE) : 0;
        BitBlt(dc, d.left(), d.top(), d.width(), d.height(), memory, src.left(), src.top(), SRCCOPY);
        if (oldMode)
            SetBkMode(dc, oldMode);
        screen_.opaqueUsed = true;
    }
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

HGLOBAL _AImage::copyBits() {
    load();
    if (!bits_)
        return nullptr;
    SIZE_T n = GlobalSize(bits_);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, n);
    if (!copy)
        return nullptr;
    memcpy(GlobalLock(copy), GlobalLock(bits_), n);
    GlobalUnlock(copy);
    GlobalUnlock(bits_);
    return copy;
}

long _AImage::writeBmp(const char* path) {
    load();
    if (!bits_)
        return 0;
    LockedBits bits(bits_);
    const BITMAPINFOHEADER& h = bits.info->bmiHeader;
    uint32_t table = h.biBitCount <= 8 ? 4u << h.biBitCount : 0;
    uint32_t height = static_cast<uint32_t>(h.biHeight < 0 ? -h.biHeight : h.biHeight);
    uint32_t pixels = ((uint32_t(h.biBitCount) * uint32_t(h.biWidth) + 31) / 32) * 4 * height;
    uint32_t body = h.biSize + table + pixels;
    uint8_t header[14] = {'B', 'M'};
    uint32_t fileSize = 14 + body;
    uint32_t offset = 14 + h.biSize + table;
    memcpy(header + 2, &fileSize, 4);
    memcpy(header + 10, &offset, 4);

    std::string temp = std::string(path) + ".tmp~";
    HANDLE f = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return static_cast<long>(GetLastError());
    DWORD wrote = 0;
    DWORD wroteBody = 0;
    bool ok = WriteFile(f, header, sizeof header, &wrote, nullptr) && wrote == sizeof header &&
              WriteFile(f, bits.info, body, &wroteBody, nullptr) && wroteBody == body && FlushFileBuffers(f);
    long error = ok ? 0 : static_cast<long>(GetLastError());
    CloseHandle(f);
    if (ok && !MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = static_cast<long>(GetLastError());
    }
    if (ok)
        return 0;
    DeleteFileA(temp.c_str());
    return error ? error : ERROR_WRITE_FAULT;
}
