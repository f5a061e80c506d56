// Our movie layer, in place of the movie library the program cannot ship (see MovieLayer.h):
// its frames: Motion-JPEG samples decoded with libjpeg, other codecs drawn as
// a numbered placeholder, and the current frame drawn.
#include "platform/movies/MovieInternal.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct JpegError {
    jpeg_error_mgr base;
    jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void OnJpegMessage(j_common_ptr) {}

OSType Code(const char* s) {
    return (OSType(uint8_t(s[0])) << 24) | (OSType(uint8_t(s[1])) << 16) | (OSType(uint8_t(s[2])) << 8) |
           uint8_t(s[3]);
}

long Stride(long width) {
    return (width * 3 + 3) & ~3L;
}

// Decodes the JPEG into the bottom-up BGR rows of out (width x height of the
// codec); the frame holds plain data only, so the library's longjmp skips no
// destructor. False on a library error or a size other than the expected one.
bool DecodeJpeg(const unsigned char* data, unsigned long size, unsigned char* out, long width, long height) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnJpegError;
    err.base.output_message = OnJpegMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    if (long(info.output_width) != width || long(info.output_height) > height) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    long stride = Stride(width);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out + (height - 1 - long(info.output_scanline)) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// A grey frame with the sample's number, for codecs the layer does not decode.
void DrawPlaceholder(MovieRecord& movie, long sample) {
    long w = movie.pixelWidth, h = movie.pixelHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !dc) {
        std::memset(movie.pixels.data(), 0x80, movie.pixels.size());
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        return;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, w, h};
    HBRUSH grey = CreateSolidBrush(RGB(96, 96, 96));
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    char text[32];
    std::snprintf(text, sizeof text, "%ld", sample + 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, text, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    GdiFlush();
    std::memcpy(movie.pixels.data(), bits, movie.pixels.size());
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace

Track ShownTrack(Movie movie) {
    for (TrackRecord* t : movie->tracks) {
        if (t->type == Code("vide") && t->enabled && !t->samples.empty())
            return t;
    }
    return nullptr;
}

long SampleAt(Track track, TimeValue movieTime) {
    if (!track || track->samples.empty() || movieTime < 0)
        return -1;
    int64_t media = int64_t(movieTime) * track->mediaScale / track->movie->scale;
    long count = SamplesUpTo(track, TimeValue(media > 0x7FFFFFFF ? 0x7FFFFFFF : media));
    return count > 0 ? count - 1 : 0;
}

long SamplesUpTo(Track track, TimeValue mediaTime) {
    long low = 0, high = long(track->samples.size());
    while (low < high) {
        long middle = low + (high - low) / 2;
        if (mediaTime < track->samples[middle].time)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

OSErr DecodeSample(Movie movie, Track track, long sample) {
    if (sample < 0 || sample >= long(track->samples.size()))
        return kMovieErrParam;
    if (movie->decodedTrack == track && movie->decodedSample == sample)
        return 0;
    long w = track->codecWidth > 0 ? track->codecWidth : track->width;
    long h = track->codecHeight > 0 ? track->codecHeight : track->height;
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192)
        return kMovieErrBadFile;
    if (movie->pixelWidth != w || movie->pixelHeight != h || movie->pixels.empty()) {
        try {
            movie->pixels.assign(size_t(Stride(w)) * h, 0);
        } catch (const std::bad_alloc&) {
            return kMovieErrMemory;
        }
        movie->pixelWidth = w;
        movie->pixelHeight = h;
    }
    movie->decodedTrack = track;
    movie->decodedSample = sample;
    OSType codec = track->codec;
    if (codec != Code("jpeg") && codec != Code("mjpa") && codec != Code("AVDJ")) {
        DrawPlaceholder(*movie, sample);
        return 0;
    }
    const Sample& s = track->samples[sample];
    std::vector<unsigned char> data;
    try {
        data.resize(s.size);
    } catch (const std::bad_alloc&) {
        return kMovieErrMemory;
    }
    LARGE_INTEGER at;
    at.QuadPart = s.offset;
    DWORD done = 0;
    if (!SetFilePointerEx(movie->file, at, nullptr, FILE_BEGIN) ||
        !ReadFile(movie->file, data.data(), s.size, &done, nullptr) || done != s.size ||
        !DecodeJpeg(data.data(), s.size, movie->pixels.data(), w, h)) {
        // A damaged frame shows grey, and is tried again next time.
        std::memset(movie->pixels.data(), 0x60, movie->pixels.size());
        movie->decodedSample = -1;
        return kMovieErrBadFile;
    }
    return 0;
}

void DrawMovieFrame(Movie movie, HDC dc) {
    const MovieRect& box = movie->box;
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    Track track = ShownTrack(movie);
    long sample = SampleAt(track, TimeValue(movie->time));
    if (!track || sample < 0) {
        RECT r{box.left, box.top, box.right, box.bottom};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    DecodeSample(movie, track, sample);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = movie->pixelWidth;
    bi.bmiHeader.biHeight = movie->pixelHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, movie->pixelWidth,
                  movie->pixelHeight, movie->pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
}
