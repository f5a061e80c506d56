// Compression ratio and expansion speed of each codec mode on 1 MB of French
// text, next to zlib's inflate of the same text deflated at level 6.
#include "base/procedural/KyCodec.h"
#include "bench/BenchSupport.h"
#include "tests/base/procedural/CodecSamples.h"

#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Runs expand until at least half a second has passed; answers MB/s of output.
template <class F>
double Throughput(size_t outputBytes, F expand) {
    int runs = 0;
    double start = Seconds(), elapsed = 0;
    do {
        expand();
        ++runs;
        elapsed = Seconds() - start;
    } while (elapsed < 0.5);
    return double(outputBytes) * runs / elapsed / 1e6;
}

void Report(const char* name, size_t in, size_t out, double mbps, bool ok) {
    std::printf("%-22s %9zu -> %8zu bytes  ratio %5.3f  (%4.1f %%)  expand %7.1f MB/s%s\n", name, in, out,
                double(out) / double(in), 100.0 * double(out) / double(in), mbps, ok ? "" : "  MISMATCH");
}

}  // namespace

int main() {
    const std::string text = FrenchText(1 << 20);
    const uint8_t* in = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t size = static_cast<int32_t>(text.size());
    std::printf("Input: %d bytes of generated French text\n", size);
    const char* names[] = {"", "mode 1 (LZW-15)", "mode 2 (arithmetic)", "mode 3 (LZSS)", "mode 4 (arithmetic)"};
    std::vector<uint8_t> out(size);
    for (int mode = 1; mode <= 4; ++mode) {
        KY_Codec codec = {};
        std::vector<uint8_t> packed(KY_CodecCompressBound(size));
        int32_t packedSize = static_cast<int32_t>(packed.size());
        KY_CodecSetMode(&codec, mode);
        double t0 = Seconds();
        if (KY_CodecCompressMem(&codec, in, size, packed.data(), &packedSize) != kCodecDone) {
            std::printf("%s: compression failed\n", names[mode]);
            continue;
        }
        double compressSeconds = Seconds() - t0;
        bool ok = true;
        double mbps = Throughput(size, [&] {
            int32_t length = size;
            KY_CodecSetMode(&codec, mode);
            int code = KY_CodecExpandMemStart(&codec, packed.data(), packedSize, out.data(), &length, INT32_MAX, 0);
            ok = ok && code == kCodecDone && length == size && std::equal(out.begin(), out.end(), in);
        });
        Report(names[mode], size, packedSize, mbps, ok);
        std::printf("%-22s compress %7.1f MB/s\n", "", size / compressSeconds / 1e6);
    }
    std::vector<uint8_t> deflated(compressBound(size));
    uLongf deflatedSize = deflated.size();
    compress2(deflated.data(), &deflatedSize, in, size, 6);
    bool ok = true;
    double mbps = Throughput(size, [&] {
        uLongf length = size;
        ok = ok && uncompress(out.data(), &length, deflated.data(), deflatedSize) == Z_OK && length == uLongf(size);
    });
    Report("zlib inflate (level 6)", size, deflatedSize, mbps, ok);
    return 0;
}
