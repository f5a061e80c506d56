// Restart points in the occurrence lists of a B+ tree's frequent keys, noted
// while a list is read: a later reading that wants only some documents (an
// AND's or a phrase's frequent word, filtered by its partner's documents)
// moves to the point before each of them instead of decoding the whole list,
// which the file's delta coding gives no other way to skip.
//
// A point is the reader's whole state before one occurrence, so any point is
// a correct place to resume; points missing only cost decoding.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

struct AbpOccMark {
    int32_t offset;     // file offset of the occurrence's first byte
    int32_t remaining;  // occurrences of the key from this one on
    uint32_t prevDoc;   // document and position of the occurrence before it
    uint32_t prevPos;
    int bit;  // its first bit in that byte, 0 the most significant
};

class AbpOccMarks {
public:
    // Lists shorter than this are decoded whole: a point every kEvery
    // occurrences would save less than it costs to look up. From 1024 on a
    // word read again beside a rarer one skips most of its list (from 4096,
    // ANDs took 13 % more time, EXCEPTs 9 %, phrases and proximity 3 %).
    static const int32_t kLongList = 1024;
    static const int32_t kEvery = 128;

    // The points of the list of count occurrences starting at offset (a
    // damaged tree may give two keys one offset), empty when first asked;
    // null without memory.
    std::vector<AbpOccMark>* of(int32_t offset, int32_t count);
    // Room for the points of `occurrences` more, so that the decoding loop
    // notes them without reallocating: false without memory.
    static bool makeRoom(std::vector<AbpOccMark>* marks, int occurrences);

private:
    std::map<std::pair<int32_t, int32_t>, std::vector<AbpOccMark>> lists_;
};
