// Windows bitmap, compressed-row and JFIF files read from a byte range.
#include "framework/dib/AStreamDIBReader.h"

#include <cstdio>
#include <cstring>

#include "base/object/AFile.h"
#include "framework/dib/DibHelpers.h"

namespace {

const long kFileHeader = 14;

uint32_t BigU32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

AStreamDIBReader::AStreamDIBReader(const AFileSpec& spec, long start, long end, uint16_t options, bool headerOnly)
    : codec_(nullptr),
      options_(options),
      stream_(AFile(spec, 0, kPlainFileOptions, false), "rb", 0),
      rangeStart_(start),
      rangeLength_(end - start),
      prefixRead_(0),
      headerOnly_(headerOnly) {
    const long size = KY_FileSize(stream_.file());
    if (size < 0)
        RefuseBitmap(751, "bitmap file: cannot be read (%ld)", stream_.lastError());
    if (start < 0 || end < start || end > size)
        RefuseBitmap(752, "bitmap file: range %ld..%ld outside a file of %ld bytes", start, end, size);
    if (rangeLength_ == 0)
        rangeLength_ = size - start;
    gotoState(kHeaderRead);
    if (options_ & kCompressedRows)
        codec_ = CheckAlloc(new ACodecReader(5), "fbitmap", 531);
}

AStreamDIBReader::~AStreamDIBReader() {
    delete codec_;
}

long AStreamDIBReader::sourceBytes() const {
    if (options_ & (kJpeg | kCompressedRows))
        return -1;
    return rangeLength_ - kFileHeader;
}

long AStreamDIBReader::headerBytes() const {
    return (options_ & kJpeg) ? -1 : rangeLength_ - kFileHeader;
}

void AStreamDIBReader::seek(long offset, long line) {
    if (stream_.seek(offset, SEEK_SET) < 0)
        RefuseBitmap(line, "bitmap file: seek to %ld failed (%ld)", offset, stream_.lastError());
}

void AStreamDIBReader::readFile(void* dst, long count) {
    if (count > 0 && stream_.read(dst, count) != count)
        RefuseBitmap(744, "bitmap file: short read (%ld)", stream_.lastError());
}

// The first 14 bytes of the range:
//   "BM" | file size u32 | 2 x u16 reserved | bits offset u32   (Windows bitmap file)
//   "KY" | the same 12 bytes, not read                          (compressed rows)
//   any 6 bytes | "JF" "IF" ...                                 (JFIF: the JPEG stream from byte 0)
// The bitmap header and colour table follow the 14 bytes; the size and offset
// fields are not read: the rows follow the colour table.
void AStreamDIBReader::rewind() {
    prefixRead_ = 0;
    if (jpeg_.isOpen() && !jpeg_.rowsTaken())
        return;
    seek(rangeStart_, 757);
    if (!(options_ & kJpeg)) {
        uint8_t probe[kFileHeader];
        if (rangeLength_ < kFileHeader)
            RefuseBitmap(768, "bitmap file: %ld bytes are no image", rangeLength_);
        readFile(probe, kFileHeader);
        if (probe[0] == 'B' && probe[1] == 'M') {
        } else if (probe[0] == 'K' && probe[1] == 'Y') {
            options_ |= kCompressedRows;
        } else if (!memcmp(probe + 6, "JFIF", 4)) {
            options_ |= kJpeg;
            seek(rangeStart_, 757);
        } else {
            RefuseBitmap(768, "bitmap file: unknown format");
        }
    }
    if (options_ & kJpeg)
        jpeg_.open(stream_.file(), rangeLength_, options_, headerOnly_);
}

void AStreamDIBReader::read(void* dst, long count) {
    auto* out = static_cast<uint8_t*>(dst);
    if (jpeg_.isOpen()) {
        switch (state()) {
            case kAtStart:
            case kHeaderRead:
                jpeg_.readPrefix(prefixRead_, out, count);
                prefixRead_ += count;
                return;
            case kAtRows:
                jpeg_.readRows(out, count, bytesPerRow());
                return;
            default:
                ThrowAssert("fbitmap", 735);
        }
    }
    if ((options_ & kCompressedRows) && state() == kAtRows) {
        if (!codec_)
            ThrowAssert("fbitmap", 739);
        int32_t size = static_cast<int32_t>(count);
        int code = codec_->expand(out, &size);
        if (code)
            RefuseBitmap(741, "compressed rows: codec error %d", code);
        if (!codec_->inProgress() && size < count)
            RefuseBitmap(742, "compressed rows: %ld bytes of %ld", static_cast<long>(size), count);
        codec_->reset();
        return;
    }
    readFile(out, count);
}

// PNG stream: 8-byte signature | u32 length 13 | "IHDR" | u32 width | u32 height |
// u8 bit depth | u8 colour type | u8 compression | u8 filter | u8 interlace
// (big-endian). Its rows, padded to 4, must be the DIB's rows exactly.
void AStreamDIBReader::checkPngHeader() {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    const long at = stream_.tell();
    uint8_t h[8 + 8 + 13];
    if (rangeLength_ - (at - rangeStart_) < long(sizeof h))
        RefuseBitmap(745, "compressed rows: no PNG header");
    readFile(h, sizeof h);
    seek(at, 746);
    const uint32_t width = BigU32(h + 16), height = BigU32(h + 20);
    const int channels = h[25] <= 6 ? kChannels[h[25]] : 0;
    const uint64_t row = (uint64_t(width) * channels * h[24] + 7) / 8;
    if (memcmp(h, kSignature, 8) || memcmp(h + 12, "IHDR", 4) || height != uint32_t(this->height()) ||
        ((row + 3) & ~uint64_t(3)) != uint64_t(bytesPerRow()))
        RefuseBitmap(745, "compressed rows: the PNG's rows are not the bitmap's");
}

void AStreamDIBReader::startBits() {
    if (headerOnly_)
        ThrowAssert("fbitmap", 747);
    if (!codec_)
        return;
    const long compressed = rangeLength_ - (headerSize() + colourTableSize() + kFileHeader);
    checkPngHeader();
    codec_->setSource(&stream_, compressed, rowsSize());
}
