// Deterministic sample data for the codec tests and the codec benchmark.
#pragma once

#include <cstdint>
#include <string>

// Encyclopedia-like French prose in Windows-1252, `size` bytes, the same for a seed.
std::string FrenchText(size_t size, uint32_t seed = 1);
// Uniform random bytes, the same for a seed.
std::string RandomBytes(size_t size, uint32_t seed = 1);
