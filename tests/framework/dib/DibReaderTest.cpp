// The DIB reader over bitmap files, compressed-row files and resources:
// header fields, refusals before allocation, identical DIBs from every
// source, palettes and device bitmaps.
#include <cstring>
#include <string>

#include "base/procedural/AImageLibError.h"
#include "framework/dib/AResourceDIBReader.h"
#include "framework/dib/AStreamDIBReader.h"
#include "framework/dib/DibHelpers.h"
#include "tests/framework/dib/DibTestSupport.h"

namespace {

std::string Describe(const std::string& path) {
    try {
        AStreamDIBReader r(AFileSpec(path.c_str()), 0, 0, 0);
        return std::to_string(r.width()) + "x" + std::to_string(r.height()) + "x" + std::to_string(r.bitCount()) +
               " colours " + std::to_string(r.colourCount()) + " table " + std::to_string(r.colourTableSize());
    } catch (const AImageLibError& e) {
        return "error " + std::to_string(e.line());
    }
}

TEST_F(DibTest, HeaderFieldsAndRefusals) {
    const std::string rows5x3x24(3 * 16, 'r');
    const std::string rows8x2x1(2 * 4, 'r');
    const std::string rows4x2x8(2 * 4, 'r');
    struct Row {
        const char* name;
        std::string file;
        const char* expected;
    } rows[] = {
        {"24 bits: no colour table", MakeBmp({40, 5, 3, 24, 0, 0}, "", rows5x3x24), "5x3x24 colours 0 table 0"},
        {"1 bit, colours used 0", MakeBmp({40, 8, 2, 1, 0, 0}, std::string(8, 'c'), rows8x2x1),
         "8x2x1 colours 2 table 8"},
        {"8 bits, colours used 0", MakeBmp({40, 4, 2, 8, 0, 0}, std::string(1024, 'c'), rows4x2x8),
         "4x2x8 colours 256 table 1024"},
        {"8 bits, colours used 17", MakeBmp({40, 4, 2, 8, 17, 0}, std::string(68, 'c'), rows4x2x8),
         "4x2x8 colours 17 table 68"},
        // The table's first bytes sit where a longer header keeps colours used.
        {"32-byte header never reads colours used",
         MakeBmp({32, 4, 2, 8, 0, 0}, std::string("\x05\0\0\0", 4) + std::string(1020, 'c'), rows4x2x8),
         "4x2x8 colours 256 table 1024"},
        {"16-byte header", MakeBmp({16, 4, 2, 8, 0, 0}, std::string(1024, 'c'), rows4x2x8),
         "4x2x8 colours 256 table 1024"},
        {"36-byte header reads colours used", MakeBmp({36, 4, 2, 8, 5, 0}, std::string(20, 'c'), rows4x2x8),
         "4x2x8 colours 5 table 20"},
        {"core header: 3-byte entries", MakeBmp({12, 4, 2, 8, 0, 0}, std::string(768, 'c'), rows4x2x8),
         "4x2x8 colours 256 table 768"},
        {"version 5 header", MakeBmp({124, 5, 3, 24, 0, 0}, "", rows5x3x24), "5x3x24 colours 0 table 0"},
        {"header size 9", MakeBmp({9, 4, 2, 8, 0, 0}, "", rows4x2x8), "error 115"},
        {"header size 13", MakeBmp({13, 4, 2, 8, 0, 0}, "", rows4x2x8), "error 115"},
        {"header size 200", MakeBmp({200, 4, 2, 8, 0, 0}, "", rows4x2x8), "error 115"},
        {"run-length rows", MakeBmp({40, 4, 2, 8, 0, 1}, std::string(1024, 'c'), rows4x2x8), "error 116"},
        {"7 bits a pixel", MakeBmp({40, 4, 2, 7, 0, 0}, "", rows4x2x8), "error 117"},
        {"16 bits after a core header", MakeBmp({12, 4, 2, 16, 0, 0}, "", rows4x2x8), "error 117"},
        {"width 0", MakeBmp({40, 0, 2, 24, 0, 0}, "", ""), "error 118"},
        {"top-down rows", MakeBmp({40, 5, -3, 24, 0, 0}, "", rows5x3x24), "error 118"},
        {"300 colours for 8 bits", MakeBmp({40, 4, 2, 8, 300, 0}, std::string(1200, 'c'), rows4x2x8), "error 119"},
        {"30000 x 30000 x 24", MakeBmp({40, 30000, 30000, 24, 0, 0}, "", rows5x3x24), "error 120"},
        {"2^31 colours used", MakeBmp({40, 4, 2, 8, 0x80000000u, 0}, "", rows4x2x8), "error 119"},
        {"rows one byte short", MakeBmp({40, 5, 3, 24, 0, 0}, "", rows5x3x24.substr(1)), "error 121"},
        {"colour table beyond the file", MakeBmp({40, 4, 2, 8, 0, 0}, std::string(100, 'c'), ""), "error 121"},
        {"ten bytes", "BM" + std::string(8, '\0'), "error 768"},
        {"unknown magic", "GIF89a" + std::string(100, '\0'), "error 768"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll(PathOf("image.bmp"), row.file);
        EXPECT_EQ(row.expected, Describe(PathOf("image.bmp")));
    }
}

TEST_F(DibTest, CoreHeaderBecomesAnInformationHeader) {
    const std::string table = std::string("\x01\x02\x03\x04\x05\x06", 6);
    const std::string rows = std::string("\x80\0\0\0\x40\0\0\0", 8);
    WriteAll(PathOf("core.bmp"), MakeBmp({12, 2, 2, 1, 0, 0}, table, rows));
    BITMAPINFOHEADER h = {40, 2, 2, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
    std::string expected(reinterpret_cast<const char*>(&h), sizeof h);
    expected += std::string("\x01\x02\x03\0\x04\x05\x06\0", 8) + rows;
    EXPECT_EQ(expected, ReadDib(PathOf("core.bmp")));
}

TEST_F(DibTest, SamePictureFromEverySource) {
    struct Row {
        const char* name;
        int resource;
        int bits;
    } rows[] = {{"mono1", 132, 1}, {"pal4", 131, 4}, {"pal8", 129, 8}, {"rgb24", 130, 24}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string name = row.name;
        const std::string bmp = SampleBytes(name + ".bmp");
        const std::string whole = ReadDib(SamplePath(name + ".bmp"));
        ASSERT_GT(whole.size(), 40u) << whole;
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(whole.data());
        EXPECT_EQ(row.bits, h->biBitCount);
        EXPECT_EQ(61, h->biWidth);
        EXPECT_EQ(37, h->biHeight);
        // The rows are the file's rows, behind a table of the announced colours.
        const size_t rowsSize = size_t(DibRowBytes(61, row.bits)) * 37;
        EXPECT_EQ(bmp.substr(bmp.size() - rowsSize), whole.substr(whole.size() - rowsSize));
        EXPECT_EQ(40 + DibPaletteSize(h) + rowsSize, whole.size());
        EXPECT_EQ(whole, ReadDib(SamplePath(name + ".bin"), 1000, 1000 + long(bmp.size()))) << "container";
        EXPECT_EQ(whole, ReadDib(SamplePath(name + ".ky"))) << "compressed rows";
        AResourceDIBReader resource{AResourceRef(static_cast<uint16_t>(row.resource))};
        EXPECT_EQ(whole, DibBytesOf(resource.dib())) << "resource";
    }
}

TEST_F(DibTest, DamagedCompressedRowsAreRefused) {
    const std::string ky = SampleBytes("pal8.ky");
    const size_t png = ky.find("\x89PNG");
    ASSERT_NE(std::string::npos, png);
    std::string wider = ky;
    wider[png + 19] = static_cast<char>(wider[png + 19] + 8);  // IHDR width, low byte
    std::string noPng = ky;
    noPng[png + 1] = 'X';
    struct Row {
        const char* name;
        std::string file;
        const char* expected;
    } rows[] = {
        {"PNG wider than the bitmap", wider, "error 745: compressed rows: the PNG's rows are not the bitmap's"},
        {"no PNG signature", noPng, "error 745: compressed rows: the PNG's rows are not the bitmap's"},
        {"PNG cut in its header", ky.substr(0, png + 20), "error 745: compressed rows: no PNG header"},
        {"PNG cut in its data", ky.substr(0, ky.size() - 40), "error 413: libpng error: Read Error\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll(PathOf("image.ky"), row.file);
        EXPECT_EQ(row.expected, ReadDib(PathOf("image.ky")));
    }
}

TEST_F(DibTest, RangeOutsideTheFileOrAMissingFileIsRefused) {
    const long size = long(SampleBytes("pal8.bmp").size());
    struct Row {
        long start, end;
    } rows[] = {{-1, 10}, {10, 5}, {0, size + 1}, {size + 5, size + 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.start) + ".." + std::to_string(row.end));
        EXPECT_EQ("error 752", ReadDib(SamplePath("pal8.bmp"), row.start, row.end).substr(0, 9));
    }
    EXPECT_EQ("error 751", ReadDib(SamplePath("missing.bmp")).substr(0, 9));
}

TEST_F(DibTest, PalettesFollowTheColourTable) {
    AStreamDIBReader rgb(AFileSpec(SamplePath("rgb24.bmp").c_str()), 0, 0, 0);
    EXPECT_EQ(nullptr, rgb.palette(nullptr));

    AStreamDIBReader pal(AFileSpec(SamplePath("pal8.bmp").c_str()), 0, 0, 0);
    HPALETTE p = pal.palette(nullptr);
    ASSERT_NE(nullptr, p);
    PALETTEENTRY entries[256];
    ASSERT_EQ(UINT(pal.colourCount()), GetPaletteEntries(p, 0, 256, entries));
    const std::string bytes = DibBytesOf(pal.dib());
    for (long i = 0; i < pal.colourCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(uint8_t(bytes[40 + 4 * i]), entries[i].peBlue);
        EXPECT_EQ(uint8_t(bytes[40 + 4 * i + 2]), entries[i].peRed);
    }

    // After the DIB is built, a reference palette snaps the kept DIB's table too.
    AStreamDIBReader snapped(AFileSpec(SamplePath("pal4.bmp").c_str()), 0, 0, 0);
    snapped.dib();
    struct {
        WORD version, count;
        PALETTEENTRY e[2];
    } log = {0x300, 2, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    HPALETTE blackWhite = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    ASSERT_NE(nullptr, snapped.palette(blackWhite));
    const std::string table = DibBytesOf(snapped.dib()).substr(40, 4 * snapped.colourCount());
    for (size_t i = 0; i < table.size(); i += 4) {
        SCOPED_TRACE(i / 4);
        EXPECT_TRUE(table.substr(i, 3) == std::string(3, '\0') || table.substr(i, 3) == std::string(3, '\xFF'));
    }
    DeleteObject(blackWhite);
}

TEST_F(DibTest, TakenDibsAreReadAgainAndMakeBitmaps) {
    AStreamDIBReader reader(AFileSpec(SamplePath("pal4.ky").c_str()), 0, 0, 0);
    HGLOBAL first = reader.takeDib();
    HGLOBAL second = reader.takeDib();
    EXPECT_NE(first, second);
    EXPECT_EQ(DibBytesOf(first), DibBytesOf(second));
    GlobalFree(first);
    GlobalFree(second);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = reader.createBitmap(screen, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(nullptr, bitmap);
    BITMAP bm;
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(61, bm.bmWidth);
    EXPECT_EQ(37, bm.bmHeight);
    DeleteObject(bitmap);
}

}  // namespace
