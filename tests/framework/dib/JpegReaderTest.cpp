// JFIF images read as DIBs: grey and RGB, baseline and progressive, against
// the pixels ImageMagick decodes; ranges, densities, colour reduction.
#include <cstdlib>
#include <string>

#include "framework/dib/AStreamDIBReader.h"
#include "framework/dib/DibHelpers.h"
#include "tests/framework/dib/DibTestSupport.h"

namespace {

// The largest difference between the DIB's pixels (bottom-up, BGR or grey,
// padded rows) and ImageMagick's (top-down, RGB or grey, packed).
int LargestDifference(const std::string& dib, const std::string& raw, int channels) {
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
    const size_t stride = DibRowBytes(h->biWidth, h->biBitCount);
    const char* rows = dib.data() + 40 + DibPaletteSize(h);
    int largest = 0;
    for (long y = 0; y < h->biHeight; ++y) {
        const char* row = rows + (h->biHeight - 1 - y) * stride;
        for (long x = 0; x < h->biWidth * channels; ++x) {
            const long c = channels == 3 ? x - x % 3 + 2 - x % 3 : x;
            const int d = std::abs(int(uint8_t(row[c])) - int(uint8_t(raw[y * h->biWidth * channels + x])));
            largest = d > largest ? d : largest;
        }
        for (size_t pad = h->biWidth * channels; pad < stride; ++pad)
            EXPECT_EQ(0, row[pad]) << "padding of row " << y;
    }
    return largest;
}

TEST_F(DibTest, JpegPixelsMatchImageMagick) {
    struct Row {
        const char* name;
        int bits;
        int channels;
    } rows[] = {{"rgb", 24, 3}, {"prog", 24, 3}, {"gray", 8, 1}, {"grayprog", 8, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string name = row.name;
        const std::string dib = ReadDib(SamplePath(name + ".jpg"));
        ASSERT_GT(dib.size(), 40u) << dib;
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
        EXPECT_EQ(row.bits, h->biBitCount);
        EXPECT_EQ(61, h->biWidth);
        EXPECT_EQ(37, h->biHeight);
        EXPECT_EQ(row.bits == 8 ? 256 : 0, DibNumColors(h));
        if (row.bits == 8) {
            for (int i = 0; i < 256; ++i)
                ASSERT_EQ(std::string(3, char(i)) + '\0', dib.substr(40 + 4 * i, 4)) << "grey entry " << i;
        }
        EXPECT_LE(LargestDifference(dib, SampleBytes(name + ".raw"), row.channels), 2);
    }
}

TEST_F(DibTest, AdobeCmykJpegBecomesRgb) {
    EXPECT_EQ("error 768", ReadDib(SamplePath("cmyk.jpg")).substr(0, 9)) << "no JFIF signature";
    const std::string dib = ReadDib(SamplePath("cmyk.jpg"), 0, 0, AStreamDIBReader::kJpeg);
    ASSERT_GT(dib.size(), 40u) << dib;
    EXPECT_EQ(24, reinterpret_cast<const BITMAPINFOHEADER*>(dib.data())->biBitCount);
    EXPECT_LE(LargestDifference(dib, SampleBytes("cmyk.raw"), 3), 3);
}

TEST_F(DibTest, JpegReadFromItsRangeOnly) {
    const std::string jpeg = SampleBytes("prog.jpg");
    const long end = 333 + long(jpeg.size());
    const std::string whole = ReadDib(SamplePath("prog.jpg"));
    EXPECT_EQ(whole, ReadDib(SamplePath("prog.bin"), 333, end));
    // The rest of the stream follows the cut range in the file: read, it would give the whole picture.
    EXPECT_NE(whole, ReadDib(SamplePath("prog.bin"), 333, 333 + long(jpeg.size()) / 2));
}

TEST_F(DibTest, JpegHeaderDensityAndSignature) {
    const std::string jpeg = SampleBytes("rgb.jpg");
    // APP0 after FFD8: FFE0 | u16 length | "JFIF\0" | version u16 | units u8 | x u16 | y u16 (big-endian).
    auto withDensity = [&](char units) {
        std::string j = jpeg;
        j[13] = units;
        j.replace(14, 4, std::string("\x00\x1C\x00\x1E", 4));
        return j;
    };
    std::string exif = jpeg;
    exif.replace(2, 2, "\xFF\xE1");
    exif.replace(6, 4, "Exif");
    struct Row {
        const char* name;
        std::string file;
        const char* expected;
    } rows[] = {
        {"dots a centimetre", withDensity(2), "2800 3000"},
        {"dots an inch", withDensity(1), "0 0"},
        {"Exif without the JFIF signature", exif, "error 768"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll(PathOf("image.jpg"), row.file);
        const std::string dib = ReadDib(PathOf("image.jpg"));
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
        EXPECT_EQ(row.expected, dib.compare(0, 6, "error ") == 0
                                    ? dib.substr(0, 9)
                                    : std::to_string(h->biXPelsPerMeter) + " " + std::to_string(h->biYPelsPerMeter));
    }
}

TEST_F(DibTest, JpegColourReduction) {
    struct Row {
        const char* name;
        uint16_t options;
        int bits;
        int firstBlack;  // table entries from here on are black; -1: not checked
    } rows[] = {
        {"no reduction", 0, 24, -1},
        {"256 colours", AStreamDIBReader::kReduce256, 8, -1},
        {"216 colours, ordered dither", AStreamDIBReader::kReduce216, 8, 216},
        {"no application palette: the next rule", AStreamDIBReader::kAppPalette | AStreamDIBReader::kReduce216, 8, 216},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string dib = ReadDib(SamplePath("rgb.jpg"), 0, 0, row.options);
        ASSERT_GT(dib.size(), 40u) << dib;
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
        EXPECT_EQ(row.bits, h->biBitCount);
        if (row.firstBlack >= 0) {
            const size_t black = 4 * size_t(256 - row.firstBlack);
            EXPECT_EQ(std::string(black, '\0'), dib.substr(40 + 4 * row.firstBlack, black));
        }
    }
}

TEST_F(DibTest, JpegDibTakenTwiceDecodesTwice) {
    AStreamDIBReader reader(AFileSpec(SamplePath("prog.jpg").c_str()), 0, 0, 0);
    HGLOBAL first = reader.takeDib();
    HGLOBAL second = reader.takeDib();
    EXPECT_EQ(DibBytesOf(first), DibBytesOf(second));
    GlobalFree(first);
    GlobalFree(second);
}

}  // namespace

// Sizing reads a JPEG's header alone: the size and depth of the DIB that
// decoding gives, from a file cut right after its first scan's header too;
// the rows are not to be read then.
TEST_F(DibTest, JpegSizedFromItsHeaderAlone) {
    struct Row {
        const char* name;
        uint16_t options;
    } rows[] = {{"rgb", 0}, {"prog", 0}, {"gray", 0}, {"grayprog", 0}, {"cmyk", AStreamDIBReader::kJpeg}};
    auto sized = [](const std::string& path, uint16_t options) {
        AStreamDIBReader reader(AFileSpec(path.c_str()), 0, 0, options, true);
        return std::to_string(reader.width()) + "x" + std::to_string(reader.height()) + "x" +
               std::to_string(reader.bitCount());
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string name = row.name;
        const std::string dib = ReadDib(SamplePath(name + ".jpg"), 0, 0, row.options);
        ASSERT_GT(dib.size(), 40u) << dib;
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
        EXPECT_EQ(std::to_string(h->biWidth) + "x" + std::to_string(h->biHeight) + "x" + std::to_string(h->biBitCount),
                  sized(SamplePath(name + ".jpg"), row.options));
        const std::string jpeg = SampleBytes(name + ".jpg");
        const size_t scan = jpeg.find("\xFF\xDA");
        ASSERT_NE(std::string::npos, scan);
        WriteAll(PathOf("cut.jpg"), jpeg.substr(0, scan + 20));
        EXPECT_EQ(sized(SamplePath(name + ".jpg"), row.options), sized(PathOf("cut.jpg"), row.options));
    }
    AStreamDIBReader header(AFileSpec(SamplePath("rgb.jpg").c_str()), 0, 0, 0, true);
    EXPECT_NE(-1, FatalExitCodeOf([&] { header.dib(); })) << "no rows behind a header";
}
