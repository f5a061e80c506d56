// Writer of a table part's files: data file, record catalogue, compressed-length
// catalogue and correspondence table (conventions in search/engine/BASE-LAYOUT.md).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TablePartFiles {
    std::string data, catalogue, companion, cor;  // cor empty: none written
};

// records[i] is catalogue entry i. mode 0 stores them plainly; 1-4 compresses each
// behind `adjust` header bytes. cor maps record numbers to entries (-1 none).
// The files are replaced together: all or none. "" or the reason.
std::string WriteTablePart(const TablePartFiles& files, const std::vector<std::string>& records, int mode, int adjust,
                           const std::vector<int32_t>& cor);
