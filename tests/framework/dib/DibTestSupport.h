// Helpers of the DIB reader tests: the generated sample images, readers run
// to an outcome string, and hand-made bitmap files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

// The generated sample's Windows path, and its bytes.
std::string SamplePath(const std::string& name);
std::string SampleBytes(const std::string& name);

// The bytes of a packed DIB block: 40-byte header, colour table, rows.
std::string DibBytesOf(HGLOBAL dib);

// A stream reader's DIB over [start, end) of the file, or "error <line>: <message>"
// for a recoverable refusal. Other errors propagate.
std::string ReadDib(const std::string& path, long start = 0, long end = 0, uint16_t options = 0);

// A Windows bitmap file: "BM" | file size | 0 | bits offset, then a header of
// headerSize bytes (fields written where the size covers them), table, rows.
struct BmpSpec {
    uint32_t headerSize;
    int32_t width;
    int32_t height;
    uint16_t bits;
    uint32_t colorsUsed;
    uint32_t compression;
};
std::string MakeBmp(const BmpSpec& spec, const std::string& table, const std::string& rows);

// Tests that read images: a temporary folder, and refusals reported quietly.
class DibTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    CaptureStream quiet{true};
};
