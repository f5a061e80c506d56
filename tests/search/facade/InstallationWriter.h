// Writers of small test installations: descriptor paths, lexicon and word
// trees, and table parts, as the mounting expects them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class TempFolder;

// A Windows path as a descriptor path value (':' -> '|', '\' -> ':').
std::string Encode(std::string path);
// Little-endian 32-bit words.
std::string Words(std::initializer_list<uint32_t> words);
// A key tree without occurrences (key -> value); a failed write fails the test.
void Tree(const std::string& path, std::vector<std::pair<std::string, int32_t>> keys);
// A word index with positions: each word with its documents.
void WordTree(const std::string& path, std::vector<std::pair<std::string, std::vector<uint32_t>>> words);
// Data, catalogue and companion named as the mounting names them: "fmt", "of7",
// "uf7" for tables, "hdg", "hd7", "uh7" for headings.
void Table(TempFolder& folder, const std::string& stem, const std::vector<std::string>& records, bool heading = false);
