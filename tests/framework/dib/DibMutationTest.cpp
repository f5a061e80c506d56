// Damaged images: truncations and byte changes of every generated sample,
// each read from its range of one shared file, decode or are refused with a
// recoverable error; nothing allocates more than the DIB limit.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/procedural/AImageLibError.h"
#include "base/procedural/BAlloc.h"
#include "framework/dib/AStreamDIBReader.h"
#include "framework/dib/DibHelpers.h"
#include "tests/framework/dib/DibTestSupport.h"

namespace {

uint32_t g_largestSegment = 0;

void* CountingAlloc(uint32_t bytes) {
    g_largestSegment = std::max(g_largestSegment, bytes);
    return GlobalAlloc(GMEM_FIXED, bytes);
}

void PlainFree(void* memory) {
    GlobalFree(static_cast<HGLOBAL>(memory));
}

TEST_F(DibTest, TenThousandDamagedImagesDecodeOrFailRecoverably) {
    const char* names[] = {"mono1.bmp", "pal4.bmp", "pal8.bmp", "rgb24.bmp", "mono1.ky", "pal4.ky",
                           "pal8.ky",   "rgb24.ky", "rgb.jpg",  "prog.jpg",  "gray.jpg", "grayprog.jpg"};
    std::vector<std::string> samples;
    for (const char* name : names)
        samples.push_back(SampleBytes(name));
    std::mt19937 random(20);
    std::string file;
    std::vector<std::pair<long, long>> ranges;
    for (int i = 0; i < 10000; ++i) {
        std::string image = samples[i % samples.size()];
        const int kind = static_cast<int>(random() % 4);
        if (kind == 0) {
            image.resize(random() % image.size());
        } else {
            // Byte changes, half of them among the first 64 bytes where the headers are.
            for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
                size_t at = random() % (kind == 1 ? std::min<size_t>(64, image.size()) : image.size());
                image[at] = static_cast<char>(random() % 2 ? random() : image[at] ^ (1 << (random() % 8)));
            }
        }
        ranges.emplace_back(long(file.size()), long(file.size() + image.size()));
        file += image;
        file += "\xFF\xD8\xFF";  // a stray marker right after each range
    }
    WriteAll(PathOf("damaged.bin"), file);
    const AFileSpec spec(PathOf("damaged.bin").c_str());
    BAlloc::setSystemFunctions(CountingAlloc, PlainFree);
    int decoded = 0, refused = 0;
    SIZE_T largestDib = 0;
    for (const auto& range : ranges) {
        // An empty range means the whole file: not what a cut to nothing is.
        if (range.first == range.second)
            continue;
        try {
            AStreamDIBReader reader(spec, range.first, range.second, 0);
            largestDib = std::max(largestDib, GlobalSize(reader.dib()));
            ++decoded;
        } catch (const AImageLibError&) {
            ++refused;
        } catch (const AError& e) {
            ADD_FAILURE() << "range " << range.first << ": " << e.className() << " " << e.file() << " " << e.line()
                          << " " << g_errorMessage;
        }
    }
    BAlloc::setSystemFunctions(nullptr, nullptr);
    EXPECT_GT(decoded, 1000);
    EXPECT_GT(refused, 1000);
    EXPECT_LE(largestDib, kMaxDibBytes);
    EXPECT_LE(g_largestSegment, kMaxDibBytes);
}

}  // namespace
