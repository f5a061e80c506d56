// Deterministic sample data for the codec tests and the codec benchmark, and
// one-call memory coders for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encyclopedia-like French prose in Windows-1252, `size` bytes, the same for a seed.
std::string FrenchText(size_t size, uint32_t seed = 1);
// Uniform random bytes, the same for a seed.
std::string RandomBytes(size_t size, uint32_t seed = 1);

// An 8-bit PNG written by libpng: colour type 3 (palette, `rows` holds
// indexes) or 2 (RGB); rows top first, width * channels bytes each;
// stored in Adam7 passes when interlaced.
std::string MakePng(int width, int height, int colorType, const std::string& rows, bool interlaced = false);

// `in` compressed in memory with codec mode `mode`; empty unless the coder
// finishes and leaves the codec idle.
std::string Pack(int mode, const std::string& in);
// `in` expanded in memory by codec mode `mode`, call after call, into a
// `chunk`-byte buffer preset to 0xEE, up to `limit` bytes: the bytes delivered
// (whole buffers on 1153). Each call's code goes to *codes, then -1 if the
// codec is not left idle. Library errors propagate.
std::string Unpack(int mode, const std::string& in, size_t chunk, std::vector<int>* codes, int32_t limit = INT32_MAX);
