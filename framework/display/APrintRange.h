// The pages and copies of one print job: part of the contract between a
// printer and the display component it prints.
#pragma once

#include <cstdint>

struct APrintRange {
    int16_t firstPage;       // 0-based
    int16_t lastPage;        // 0-based, inclusive
    int16_t collatedCopies;  // passes over the whole range
    int16_t copiesOfEach;    // repetitions of each page within a pass
    int16_t pageCountKnown;  // 1 when the printed component gave a count
};
