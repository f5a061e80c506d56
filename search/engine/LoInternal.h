// What the occurrence-list modules share: the package state.
#pragma once

#include <string>
#include <vector>

#include "search/engine/Lo.h"

const int kLoFastWords = 2048;  // the fast writer's 8192-byte buffer

struct LoSavedEntry {
    std::string name;
    int32_t count, start;
    int32_t end;  // the swap end when saved: the list lies before it
    uint32_t units, flags;
    int32_t weight;
};

// A list file's bytes kept in memory under its name.
struct LoImage {
    std::string name;
    std::vector<uint8_t> bytes;
};

struct LoPackage {
    bool started = false;
    char swapName[kLoNameSize] = "";
    FILE* swap = nullptr;
    std::vector<uint8_t> swapMemory;            // the swap's bytes while they fit in memory
    size_t swapMemoryLimit = size_t(16) << 20;  // beyond it they go to the file
    bool swapInFile = false;                    // from then on the file holds them
    int32_t swapEnd = 0;
    LoDesc* lists[kLoMaxLists] = {};
    uint8_t* vector = nullptr;  // owned, vecBytes bytes
    int vecBytes = 0;
    LoDesc* owner = nullptr;  // not owned: the vector list
    int nbits = 18;
    uint32_t masks[4] = {0xFFFF, 0, 0x7FFF0000, 0};
    int32_t before = 0, after = 0;
    std::vector<LoSavedEntry> saved;  // in decreasing order of name
    std::vector<LoImage> images;      // kept when the package ends
    LoDesc* fastOwner = nullptr;      // not owned: the list that the fast writer buffers
    uint32_t fastWords[kLoFastWords] = {};
    int fastIndex = 0;  // words completed in fastWords
};

// The package's state, one a process; an inline accessor: the list coders
// ask for it at every field.
extern LoPackage gLoPackage;
inline LoPackage& LoPkg() {
    return gLoPackage;
}
// Copies every element of src (rewound, read from its first element) to dst.
int LoCopyElements(LoDesc* src, LoDesc* dst);
// Releases what a descriptor owns (buffer, own file, the vector) without freeing it.
void LoReleaseDesc(LoDesc* d);
