// Mode 5: PNG streams delivered as padded bitmap rows, and libpng's errors
// raised as recoverable errors.
#include "base/procedural/AImageLibError.h"
#include "base/procedural/KyCodec.h"
#include "base/procedural/KyFile.h"
#include "tests/base/procedural/CodecSamples.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pixels 5, 6, 7 of a 1-pixel-wide palette image, each row padded to four bytes.
const std::string kPaletteRows("\x05\0\0\0\x06\0\0\0\x07\0\0\0", 12);

std::string PalettePng() {
    return MakePng(1, 3, 3, std::string("\x05\x06\x07", 3));
}

TEST(PngRows, RowsPaddedToFourBytes) {
    const std::string palette = PalettePng();
    const std::string rgb = MakePng(2, 2, 2, "abcdefghijkl");
    // Adam7 passes: 9 x 9 RGB, the rows padded from 27 to 28 bytes.
    const std::string pixels = RandomBytes(9 * 27, 8);
    const std::string interlaced = MakePng(9, 9, 2, pixels, true);
    std::string padded;
    for (int y = 0; y < 9; ++y)
        padded += pixels.substr(y * 27, 27) + '\0';
    struct Row {
        const char* name;
        const std::string& png;
        size_t chunk;
        std::string rows;
        std::vector<int> codes;
    } rows[] = {
        {"palette, all rows at once", palette, 64, kPaletteRows, {kCodecDone}},
        {"palette, a row per call", palette, 4, kPaletteRows, {kCodecMore, kCodecMore, kCodecDone}},
        // 1153 does not say how much of the buffer is rows: the spare byte comes along.
        {"palette, two rows and a spare byte",
         palette,
         9,
         std::string("\x05\0\0\0\x06\0\0\0\xEE\x07\0\0\0", 13),
         {kCodecMore, kCodecDone}},
        {"rgb, stride 8", rgb, 16, std::string("abcdef\0\0ghijkl\0\0", 16), {kCodecDone}},
        {"buffer below one row", palette, 3, "", {kCodecNoProgress}},
        {"interlaced, whole", interlaced, 9 * 28, padded, {kCodecDone}},
        {"interlaced, four rows per call", interlaced, 4 * 28, padded, {kCodecMore, kCodecMore, kCodecDone}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<int> codes;
        std::string out = Unpack(5, row.png, row.chunk, &codes);
        EXPECT_EQ(row.codes, codes);
        if (codes.back() == kCodecDone) {
            EXPECT_EQ(row.rows, out.substr(0, row.rows.size()));
        }
    }
}

TEST(PngRows, DamagedStreamRaisesTheLibraryText) {
    const std::string png = MakePng(16, 16, 2, std::string(16 * 16 * 3, 'x'));
    struct Row {
        const char* name;
        std::string stream;
        const char* message;
    } rows[] = {
        {"cut in the image data", png.substr(0, png.size() - 20), "libpng error: Read Error\n"},
        {"cut in the header", png.substr(0, 20), "libpng error: Read Error\n"},
        {"not a PNG", "GIF89a and more bytes than the signature", "libpng error: Not a PNG file\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<int> codes;
        bool raised = false;
        try {
            Unpack(5, row.stream, 4096, &codes);
        } catch (const AImageLibError& e) {
            raised = true;
            EXPECT_STREQ("pngstub", e.file());
            EXPECT_EQ(413, e.line());
            EXPECT_STREQ(row.message, g_errorMessage);
        }
        EXPECT_TRUE(raised);
    }
}

class PngFileTest : public TempFolderTest {};

TEST_F(PngFileTest, FileOutputPadsEachRowWithZeros) {
    const std::string png = PalettePng();
    WriteAll(PathOf("image.png"), png);
    KY_Codec codec = {};
    KY_CodecSetMode(&codec, 5);
    int32_t written = 0;
    EXPECT_EQ(kCodecDone, KY_CodecExpand(&codec, nullptr, Spec("image.png"), static_cast<int32_t>(png.size()), nullptr,
                                         Spec("rows"), &written, INT32_MAX, 0));
    EXPECT_EQ(12, written);
    EXPECT_EQ(kPaletteRows, ReadAll(PathOf("rows")));
}

}  // namespace
