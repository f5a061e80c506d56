// JFIF decoding into DIB rows through the JPEG library.
#include "framework/dib/ADibJpegDecoder.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/KyJpeg.h"
#include "framework/dib/ADIBReader.h"
#include "framework/dib/DibHelpers.h"
#include "framework/graphics/APaletteTable.h"

namespace {

// A progressive stream may announce scans without end; real images have a few dozen.
const int kMostScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->pub.format_message(cinfo, err->text);
    longjmp(err->jump, 1);
}

void EmitMessage(j_common_ptr, int) {}

void Progress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMostScans) {
        ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        snprintf(err->text, sizeof err->text, "more than %d scans", kMostScans);
        longjmp(err->jump, 1);
    }
}

}  // namespace

struct ADibJpegDecoder::State {
    jpeg_decompress_struct d;
    ErrorManager err;
    jpeg_progress_mgr progress;
    uint8_t* row;  // owned, one output row
    long rowBytes;
};

namespace {

[[noreturn]] void RaiseLibraryError(ADibJpegDecoder::State* s, long line) {
    RefuseBitmap(line, "Error in JPEG Library: %s", s->err.text);
}

// The library calls: plain data only in these frames, so that the error
// exit's longjmp skips no destructor. 1 on a library error.
int ReadHeader(ADibJpegDecoder::State* s, KY_File* file, long length) {
    if (setjmp(s->err.jump))
        return 1;
    KY_JpegStreamSrcRange(&s->d, file, length);
    jpeg_read_header(&s->d, TRUE);
    return 0;
}

int CalcDimensions(ADibJpegDecoder::State* s) {
    if (setjmp(s->err.jump))
        return 1;
    jpeg_calc_output_dimensions(&s->d);
    return 0;
}

int StartDecompress(ADibJpegDecoder::State* s) {
    if (setjmp(s->err.jump))
        return 1;
    jpeg_start_decompress(&s->d);
    return 0;
}

// 1 on a library error; *got the rows read (0 or 1).
int ReadScanline(ADibJpegDecoder::State* s, JDIMENSION* got) {
    if (setjmp(s->err.jump))
        return 1;
    JSAMPROW rows[1] = {s->row};
    *got = jpeg_read_scanlines(&s->d, rows, 1);
    return 0;
}

int UseApplicationPalette(ADibJpegDecoder::State* s, HPALETTE palette) {
    if (setjmp(s->err.jump))
        return 1;
    j_common_ptr common = reinterpret_cast<j_common_ptr>(&s->d);
    JSAMPARRAY map = s->d.mem->alloc_sarray(common, JPOOL_IMAGE, 256, 3);
    PALETTEENTRY entries[256];
    UINT n = GetPaletteEntries(palette, 0, 256, entries);
    for (UINT i = 0; i < n && i < 256; ++i) {
        map[0][i] = entries[i].peRed;
        map[1][i] = entries[i].peGreen;
        map[2][i] = entries[i].peBlue;
    }
    s->d.colormap = map;
    s->d.actual_number_of_colors = static_cast<int>(n > 256 ? 256 : n);
    s->d.quantize_colors = TRUE;
    return 0;
}

void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

ADibJpegDecoder::ADibJpegDecoder() : state_(nullptr), colours_(0), bitCount_(24), prefix_() {}

ADibJpegDecoder::~ADibJpegDecoder() {
    close();
}

void ADibJpegDecoder::close() {
    if (!state_)
        return;
    jpeg_destroy_decompress(&state_->d);
    delete[] state_->row;
    delete state_;
    state_ = nullptr;
}

bool ADibJpegDecoder::rowsTaken() const {
    return state_ && state_->d.output_scanline > 0;
}

void ADibJpegDecoder::open(KY_File* file, long length, uint16_t options, bool headerOnly) {
    close();
    State* s = CheckAlloc(new State(), "fbitmap", 773);
    state_ = s;
    s->d.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = ErrorExit;
    s->err.pub.emit_message = EmitMessage;
    jpeg_create_decompress(&s->d);
    s->d.mem->max_memory_to_use = kMaxDibBytes;
    s->progress.progress_monitor = Progress;
    s->d.progress = &s->progress;
    if (ReadHeader(s, file, length))
        RaiseLibraryError(s, 775);
    HPALETTE appPalette = APaletteTable::currentPalette();
    if ((options & kAppPalette) && appPalette) {
        if (UseApplicationPalette(s, appPalette))
            RaiseLibraryError(s, 776);
    } else if (options & kReduce216) {
        s->d.quantize_colors = TRUE;
        s->d.two_pass_quantize = FALSE;
        s->d.dither_mode = JDITHER_ORDERED;
        s->d.desired_number_of_colors = 216;
        s->d.dct_method = JDCT_IFAST;
        s->d.do_fancy_upsampling = FALSE;
    } else if (options & kReduce256) {
        s->d.quantize_colors = TRUE;
        s->d.desired_number_of_colors = 256;
    }
    switch (s->d.out_color_space) {
        case JCS_RGB:
            bitCount_ = s->d.quantize_colors ? 8 : 24;
            break;
        case JCS_CMYK:
            s->d.quantize_colors = FALSE;
            bitCount_ = 24;
            break;
        case JCS_GRAYSCALE:
            bitCount_ = 8;
            break;
        default:
            RefuseBitmap(819, "JPEG image: colour space %d", static_cast<int>(s->d.out_color_space));
    }
    colours_ = bitCount_ == 8 ? 256 : 0;
    if (CalcDimensions(s))
        RaiseLibraryError(s, 777);
    const uint64_t rows = uint64_t(DibRowBytes(long(s->d.output_width), bitCount_)) * s->d.output_height;
    if (rows == 0 || 40 + 4 * uint64_t(colours_) + rows > kMaxDibBytes)
        RefuseBitmap(778, "JPEG image: %u x %u is too large", s->d.output_width, s->d.output_height);
    // A progressive image is read whole when decoding starts: sizing stops before.
    if (headerOnly) {
        buildPrefix();
        return;
    }
    s->rowBytes = long(s->d.output_width) * s->d.output_components;
    s->row = CheckAlloc(new uint8_t[(s->rowBytes + 3) & ~3L], "fbitmap", 829);
    if (StartDecompress(s))
        RaiseLibraryError(s, 830);
    buildPrefix();
}

// The synthesised header: size 40, the output size, planes 1, the bit count,
// no compression, pixels a metre from a density in dots a centimetre (else
// 0), colours used 0 or 256; then the colour table: the decoder's colour map
// (black beyond its actual colours), else a grey ramp.
void ADibJpegDecoder::buildPrefix() {
    const jpeg_decompress_struct& d = state_->d;
    memset(prefix_, 0, sizeof prefix_);
    PutU32(prefix_, 40);
    PutU32(prefix_ + 4, d.output_width);
    PutU32(prefix_ + 8, d.output_height);
    prefix_[12] = 1;
    prefix_[14] = static_cast<uint8_t>(bitCount_);
    if (d.density_unit == 2) {
        PutU32(prefix_ + 24, uint32_t(d.X_density) * 100);
        PutU32(prefix_ + 28, uint32_t(d.Y_density) * 100);
    }
    PutU32(prefix_ + 32, static_cast<uint32_t>(colours_));
    uint8_t* table = prefix_ + 40;
    if (!colours_)
        return;
    if (d.quantize_colors && d.colormap) {
        const int n = d.actual_number_of_colors;
        if (n > colours_)
            ThrowAssert("fbitmap", 594);
        for (int i = 0; i < n; ++i) {
            uint8_t* e = table + 4 * i;
            if (d.out_color_components == 3) {
                e[0] = d.colormap[2][i];
                e[1] = d.colormap[1][i];
                e[2] = d.colormap[0][i];
            } else {
                e[0] = e[1] = e[2] = d.colormap[0][i];
            }
        }
    } else {
        for (int i = 0; i < 256; ++i)
            table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = static_cast<uint8_t>(i);
    }
}

void ADibJpegDecoder::readPrefix(long offset, uint8_t* dst, long count) const {
    if (offset < 0 || count < 0 || offset + count > prefixSize())
        ThrowAssert("fbitmap", 587);
    memcpy(dst, prefix_ + offset, static_cast<size_t>(count));
}

void ADibJpegDecoder::readRows(uint8_t* dst, long count, long stride) {
    State* s = state_;
    if (!s || stride <= 0)
        ThrowAssert("fbitmap", 735);
    jpeg_decompress_struct& d = s->d;
    const long width = long(d.output_width);
    for (uint8_t* target = dst + count - stride; target >= dst && d.output_scanline < d.output_height;
         target -= stride) {
        JDIMENSION got = 0;
        if (ReadScanline(s, &got))
            RaiseLibraryError(s, 740);
        if (got == 0)
            break;
        uint8_t* out = target;
        if (bitCount_ == 8) {
            memcpy(out, s->row, static_cast<size_t>(width));
            out += width;
        } else if (d.out_color_space == JCS_CMYK) {
            // Adobe's files store inverted CMYK: the ink-free value of a channel is c * k / 255.
            for (long x = 0; x < width; ++x, out += 3) {
                const uint8_t* p = s->row + 4 * x;
                out[0] = static_cast<uint8_t>(p[2] * p[3] / 255);
                out[1] = static_cast<uint8_t>(p[1] * p[3] / 255);
                out[2] = static_cast<uint8_t>(p[0] * p[3] / 255);
            }
        } else {
            for (long x = 0; x < width; ++x, out += 3) {
                const uint8_t* p = s->row + 3 * x;
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
            }
        }
        memset(out, 0, static_cast<size_t>(target + stride - out));
    }
}
