// Test support of the text modules: a fresh temporary folder per test, the
// writer of compiled ".flt" filter files, and the trace lines shown so far.
#pragma once

#include "base/procedural/KyFile.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A new folder under the system's temporary folder; removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    // Writes bytes to a file of the folder; answers its full path.
    std::string write(const std::string& name, const std::string& bytes);
    // The same result, writing only the bytes that differ from what this call
    // last wrote there: damaged copies of one file cost little to write.
    std::string rewrite(const std::string& name, const std::string& bytes);
    std::string path(const std::string& name) const { return folder_ + "\\" + name; }

private:
    std::string folder_;
    std::vector<std::string> files_;
    std::map<std::string, std::string> last_;  // rewrite's contents by name
};

// An open request for a path in the global file context, freed at scope end.
struct OpenSpecOf {
    explicit OpenSpecOf(const std::string& path);
    ~OpenSpecOf();
    const KY_OpenSpec* get() const { return &spec; }
    KY_OpenSpec spec;
};

// A compiled filter as written to a ".flt" file (layout in KyFilter.cpp):
// version, page count, first and last prefix codes, the base table, the pages
// and the flag bytes, all words 16-bit little-endian.
struct FltImage {
    int16_t version = 1;
    int16_t first = 1;
    int16_t last = 0;
    std::array<int16_t, 256> base{};
    std::vector<std::array<int16_t, 256>> pages;
    std::vector<uint8_t> flags;
    int pageCount = kPagesGiven;  // the word written; by default the number of pages given
    static const int kPagesGiven = 0x10000;

    FltImage();  // base table: the identity
    std::string bytes() const;
};

// Texts of the message boxes shown since the last ClearBoxes, concatenated.
std::string ShownText();
