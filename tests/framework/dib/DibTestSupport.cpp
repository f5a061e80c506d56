// Sample images, reader outcomes and hand-made bitmap files for the DIB tests.
#include "tests/framework/dib/DibTestSupport.h"

#include <cstring>

#include "base/procedural/AImageLibError.h"
#include "framework/dib/AStreamDIBReader.h"
#include "framework/dib/DibHelpers.h"

std::string SamplePath(const std::string& name) {
    return SV_DIB_SAMPLES + name;
}

std::string SampleBytes(const std::string& name) {
    return ReadAll(SamplePath(name));
}

std::string DibBytesOf(HGLOBAL dib) {
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    const size_t size = 40 + DibPaletteSize(h) + size_t(DibRowBytes(h->biWidth, h->biBitCount)) * h->biHeight;
    std::string bytes(reinterpret_cast<const char*>(h), size);
    GlobalUnlock(dib);
    return bytes;
}

std::string ReadDib(const std::string& path, long start, long end, uint16_t options) {
    try {
        AStreamDIBReader reader(AFileSpec(path.c_str()), start, end, options);
        return DibBytesOf(reader.dib());
    } catch (const AImageLibError& e) {
        return "error " + std::to_string(e.line()) + ": " + g_errorMessage;
    }
}

namespace {

void Put(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes && at + i < s.size(); ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}

}  // namespace

std::string MakeBmp(const BmpSpec& spec, const std::string& table, const std::string& rows) {
    std::string header(spec.headerSize, '\0');
    Put(header, 0, spec.headerSize, 4);
    if (spec.headerSize == 12) {
        Put(header, 4, static_cast<uint32_t>(spec.width), 2);
        Put(header, 6, static_cast<uint32_t>(spec.height), 2);
        Put(header, 8, 1, 2);
        Put(header, 10, spec.bits, 2);
    } else {
        Put(header, 4, static_cast<uint32_t>(spec.width), 4);
        Put(header, 8, static_cast<uint32_t>(spec.height), 4);
        Put(header, 12, 1, 2);
        Put(header, 14, spec.bits, 2);
        Put(header, 16, spec.compression, 4);
        Put(header, 32, spec.colorsUsed, 4);
    }
    std::string file = "BM" + std::string(12, '\0') + header + table + rows;
    Put(file, 2, static_cast<uint32_t>(file.size()), 4);
    Put(file, 10, static_cast<uint32_t>(14 + header.size() + table.size()), 4);
    return file;
}

void DibTest::SetUp() {
    TempFolderTest::SetUp();
    SetErrorStream(&quiet);
}

void DibTest::TearDown() {
    SetErrorStream(nullptr);
    TempFolderTest::TearDown();
}
