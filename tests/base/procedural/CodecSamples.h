// Deterministic sample data for the codec tests and the codec benchmark, and a
// one-call compressor for the tests.
#pragma once

#include <cstdint>
#include <string>

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
