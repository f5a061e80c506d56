// Mode 5 of the codec: a PNG stream expanded by libpng into bitmap rows
// (as stored, no transforms), each padded with zeros to a multiple of 4
// bytes, top row first; and the hooks through which libpng reads the codec's
// input, takes memory from the program's heap and reports its errors.
//
// libpng errors longjmp back to the frame that called into the library; the
// error is raised there (AImageLibError, "pngstub" line 413), never thrown
// through the library's C frames.
#include "base/procedural/KyCodec.h"

#include "base/procedural/AImageLibError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/Trace.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

int KY_BitFileRead(KY_Codec* codec, void* buffer, uint32_t length);

namespace {

const long kPngErrorLine = 413;

struct PngState {
    png_infop info;     // owned by png
    png_infop endInfo;  // owned by png; never read
    png_structp png;    // owned; its I/O pointer is the codec
    uint8_t* row;       // owned, rowBytes
    uint8_t* image;     // owned, rowBytes * height: an interlaced image read whole; else null
    uint32_t rowBytes;
    uint32_t rowsDone;
    uint32_t height;
    jmp_buf jump;  // where the error hook returns to
};

PngState* StateOf(KY_Codec* codec) {
    return static_cast<PngState*>(codec->png);
}

void PngError(png_structp png, png_const_charp message) {
    KY_SetErrorText("libpng error: %s\n", message);
    KY_Codec* codec = static_cast<KY_Codec*>(png_get_error_ptr(png));
    longjmp(StateOf(codec)->jump, 1);
}

void PngWarning(png_structp, png_const_charp) {}

png_voidp PngMalloc(png_structp, png_alloc_size_t size) {
    return size ? KY_Malloc(size) : nullptr;
}

void PngFree(png_structp, png_voidp block) {
    if (block)
        KY_Free(block);
}

void PngReadData(png_structp png, png_bytep buffer, size_t length) {
    KY_Codec* codec = static_cast<KY_Codec*>(png_get_io_ptr(png));
    size_t got = 0;
    if (codec->ioKind == kIoMemToMem) {
        for (; got < length; ++got) {
            int c = codec->inputByte(codec, &codec->input);
            if (c < 0)
                break;
            buffer[got] = static_cast<png_byte>(c);
        }
    } else {
        int n = KY_BitFileRead(codec, buffer, static_cast<uint32_t>(length));
        got = n > 0 ? static_cast<size_t>(n) : 0;
    }
    if (got < length)
        png_error(png, "Read Error");
}

[[noreturn]] void RaisePngError() {
    FormatErrorMessage("%s", KY_GetErrorText());
    ThrowTyped(AImageLibError("pngstub", kPngErrorLine));
}

// The library calls: plain data only in these frames, so that a longjmp
// skips no destructor. 1 on a library error, 110 when a structure is refused.
int OpenAndReadHeader(KY_Codec* codec, PngState* s) {
    if (setjmp(s->jump))
        return 1;
    s->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, codec, PngError, PngWarning, codec, PngMalloc, PngFree);
    if (!s->png)
        return kCodecNoMemory;
    s->info = png_create_info_struct(s->png);
    s->endInfo = png_create_info_struct(s->png);
    if (!s->info || !s->endInfo)
        return kCodecNoMemory;
    png_set_read_fn(s->png, codec, PngReadData);
    png_read_info(s->png, s->info);
    return 0;
}

// An Adam7 row is complete only after the last pass: every pass is read
// into the whole image first. 1 on a library error.
int ReadInterlaced(PngState* s) {
    if (setjmp(s->jump))
        return 1;
    int passes = png_set_interlace_handling(s->png);
    for (int pass = 0; pass < passes; ++pass)
        for (uint32_t y = 0; y < s->height; ++y)
            png_read_row(s->png, s->image + size_t(y) * s->rowBytes, nullptr);
    return 0;
}

// Reads `count` rows; each goes to dest (stride apart) or, with dest null,
// through the codec's output-byte routine.
int ReadRows(KY_Codec* codec, PngState* s, uint32_t count, uint8_t* dest, uint32_t stride) {
    if (setjmp(s->jump))
        return 1;
    for (uint32_t i = 0; i < count; ++i) {
        if (s->image)
            std::memcpy(s->row, s->image + size_t(s->rowsDone) * s->rowBytes, s->rowBytes);
        else
            png_read_row(s->png, s->row, nullptr);
        if (dest) {
            uint8_t* to = dest + size_t(i) * stride;
            std::memcpy(to, s->row, s->rowBytes);
            std::memset(to + s->rowBytes, 0, stride - s->rowBytes);
        } else {
            for (uint32_t b = 0; b < stride; ++b)
                codec->outputByte(codec, b < s->rowBytes ? s->row[b] : 0, &codec->output);
        }
        ++s->rowsDone;
    }
    return 0;
}

}  // namespace

int KY_PngRowsInit(KY_Codec* codec) {
    PngState* s = static_cast<PngState*>(KY_Calloc(1, sizeof(PngState)));
    if (!s) {
        KY_SetErrorDetail("png state");
        return kCodecNoMemory;
    }
    codec->png = s;
    int code = OpenAndReadHeader(codec, s);
    if (code == 1)
        RaisePngError();
    if (code) {
        KY_SetErrorDetail("png structures");
        return code;
    }
    uint64_t bits = uint64_t(png_get_bit_depth(s->png, s->info)) * png_get_channels(s->png, s->info) *
                    png_get_image_width(s->png, s->info);
    uint64_t rowBytes = (bits + 7) / 8;
    s->height = png_get_image_height(s->png, s->info);
    if (rowBytes == 0 || rowBytes > 0x10000000u) {
        KY_SetErrorText("libpng error: %s\n", "Image width too large");
        RaisePngError();
    }
    s->rowBytes = static_cast<uint32_t>(rowBytes);
    s->row = static_cast<uint8_t*>(KY_Malloc(s->rowBytes));
    if (!s->row) {
        KY_SetErrorDetail("row buffer");
        return kCodecNoMemory;
    }
    if (png_get_interlace_type(s->png, s->info) != PNG_INTERLACE_NONE) {
        uint64_t size = rowBytes * s->height;
        s->image = size <= 0x10000000u ? static_cast<uint8_t*>(KY_Malloc(static_cast<size_t>(size))) : nullptr;
        if (!s->image) {
            KY_SetErrorDetail("image buffer");
            return kCodecNoMemory;
        }
        if (ReadInterlaced(s))
            RaisePngError();
    }
    return 0;
}

int KY_PngRowsRun(KY_Codec* codec) {
    PngState* s = StateOf(codec);
    uint32_t stride = (s->rowBytes + 3) & ~3u;
    uint32_t rows = s->height - s->rowsDone;
    uint8_t* dest = nullptr;
    if (codec->ioKind != kIoFileToFile) {
        KY_BitFile& out = codec->output;
        uint32_t room = out.length > out.position ? out.length - out.position : 0;
        if (room / stride < rows)
            rows = room / stride;
        dest = static_cast<uint8_t*>(out.data) + out.position;
    }
    if (ReadRows(codec, s, rows, dest, stride))
        RaisePngError();
    if (dest)
        codec->output.position += rows * stride;
    return s->rowsDone == s->height ? 0 : kCodecMore;
}

int KY_PngRowsTerm(KY_Codec* codec) {
    PngState* s = StateOf(codec);
    if (s) {
        if (s->png)
            png_destroy_read_struct(&s->png, s->info ? &s->info : nullptr, s->endInfo ? &s->endInfo : nullptr);
        KY_Free(s->row);
        KY_Free(s->image);
        KY_Free(s);
    }
    codec->png = nullptr;
    return 0;
}
