// Writer and checker of record catalogues (layout in search/engine/KyCat.cpp).
// Errors come back as texts, "" for success.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a catalogue of the given record lengths, the first record starting at
// firstStart, through a temporary sibling that then replaces path.
std::string CatWriteLengths(const std::string& path, const std::vector<int32_t>& lengths, int32_t firstStart,
                            int wide = 20, int narrow = 20, int startWidth = 30);
// The same catalogue written at path itself, for a writer that replaces it
// with other files.
std::string CatWriteFile(const std::string& path, const std::vector<int32_t>& lengths, int32_t firstStart,
                         int wide = 20, int narrow = 20, int startWidth = 30);

// Walks every sub-block: header widths and entries per sub-block, file size for
// the record count, each sub-block's start against the running start, entries
// within their sub-block, lengths not negative. Fills starts and lengths when
// given. "" or the first fault, naming its block.
std::string CatCheck(const std::string& path, std::vector<int32_t>* starts = nullptr,
                     std::vector<int32_t>* lengths = nullptr);
