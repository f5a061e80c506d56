// Prints the decoding speed (MB/s of DIB rows) of the stream DIB reader on a
// JPEG and a compressed-row "KY" image against direct calls of the JPEG
// library and libpng on the same bytes, and their ratio.
// usage: bench_dib [folder holding big.jpg and big.ky]
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// clang-format off
#include <cstdio>  // first: jpeglib.h uses FILE without declaring it
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include "base/procedural/AError.h"
#include "base/procedural/AImageLibError.h"
#include "bench/BenchSupport.h"
#include "framework/dib/AStreamDIBReader.h"

namespace {

const int kRounds = 10;

std::string ReadWhole(const std::string& path) {
    std::string data;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            data.append(buffer, n);
        fclose(f);
    }
    return data;
}

// Bytes of rows produced by one decoding through the reader.
double ReaderRound(const std::string& path) {
    AStreamDIBReader reader(AFileSpec(path.c_str()), 0, 0, 0);
    HGLOBAL dib = reader.dib();
    return double(GlobalSize(dib));
}

double JpegRound(const std::string& jpeg) {
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    const size_t stride = (size_t(d.output_width) * d.output_components + 3) & ~size_t(3);
    std::vector<unsigned char> image(stride * d.output_height);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &image[stride * d.output_scanline];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return double(image.size());
}

struct MemoryInput {
    const std::string* data;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (in->at + length > in->data->size())
        png_error(png, "Read Error");
    memcpy(out, in->data->data() + in->at, length);
    in->at += length;
}

double PngRound(const std::string& pngData) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryInput in = {&pngData, 0};
    png_set_read_fn(png, &in, ReadFromMemory);
    png_read_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    const size_t stride = (rowBytes + 3) & ~size_t(3);
    const uint32_t height = png_get_image_height(png, info);
    std::vector<unsigned char> image(stride * height);
    for (uint32_t y = 0; y < height; ++y)
        png_read_row(png, &image[stride * y], nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return double(image.size());
}

template <class F>
double MegabytesPerSecond(F round) {
    LARGE_INTEGER t0, t1;
    double bytes = 0;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < kRounds; ++i)
        bytes += round();
    QueryPerformanceCounter(&t1);
    return bytes / (1 << 20) / Seconds(t0, t1);
}

void Report(const char* what, double reader, double direct) {
    printf("%-12s reader %8.1f MB/s   library %8.1f MB/s   reader/library %.2f\n", what, reader, direct,
           reader / direct);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : std::string(SV_DIB_BENCH_SAMPLES);
    const std::string jpegPath = folder + "big.jpg", kyPath = folder + "big.ky";
    const std::string jpeg = ReadWhole(jpegPath), ky = ReadWhole(kyPath);
    const size_t png = ky.find("\x89PNG");
    if (jpeg.empty() || png == std::string::npos) {
        fprintf(stderr, "no big.jpg or big.ky in %s\n", folder.c_str());
        return 1;
    }
    const std::string pngData = ky.substr(png);
    try {
        Report("JPEG", MegabytesPerSecond([&] { return ReaderRound(jpegPath); }),
               MegabytesPerSecond([&] { return JpegRound(jpeg); }));
        Report("KY/PNG rows", MegabytesPerSecond([&] { return ReaderRound(kyPath); }),
               MegabytesPerSecond([&] { return PngRound(pngData); }));
    } catch (const AError& e) {
        fprintf(stderr, "%s %s %ld: %s\n", e.className(), e.fileOrUnknown(), e.line(), g_errorMessage);
        return 1;
    }
    return 0;
}
