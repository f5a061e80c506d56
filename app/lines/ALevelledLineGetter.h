// Line getters whose rows stand at levels of a tree (0 the top), so that a
// tree parser can open and close the rows below a row.
//
// Shared (ARefObj) like every line getter.
#pragma once

#include <cstdint>

#include "app/lines/SortableLineGetter.h"

class ALevelledLineGetter : public SortableLineGetter {
public:
    // The level of row n, -1 outside the rows.
    virtual int16_t getLineLevel(long row) = 0;
};
