// A movie's file: a whole file, or a byte range inside one of the program's
// container files (start < end). Positions are bytes from the file's start.
#pragma once

#include "base/object/AFileSpec.h"

struct AMovieFile {
    AFileSpec spec;
    long start = 0;
    long end = 0;

    bool empty() const { return spec.path().empty(); }
    bool isRange() const { return end > start; }
};
