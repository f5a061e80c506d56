// The atlas's place texts, read with bounds: a place locator of the place
// index ("i:doc:frame[:x:y]") and a map target text of the map-name index
// ("k:doc:frame"), both fields separated by ':'.
//
//   field 0  integer, read and not used
//   field 1  document number of the map, 0 .. 2^31-1
//   field 2  movie frame, 0 .. 32767
//   field 3  x on the map (decimal, optional)
//   field 4  y on the map (decimal, optional)
//
// A missing field reads as -1; a document or frame that is not a whole
// number in range makes the text unusable (valid() false), so that a
// damaged record opens nothing. Positions are truncated toward zero.
#pragma once

#include <cstdint>

struct AtlasPlace {
    long doc = -1;
    int16_t frame = -1;
    double x = -1.0;
    double y = -1.0;

    // A text that names no usable document gives valid() false.
    static AtlasPlace parse(const char* text);
    bool valid() const { return doc >= 0 && ok; }
    // x and y truncated toward zero; -1 for a missing or unusable position.
    long xValue() const;
    long yValue() const;
    // The position is a point on the map (both above 0).
    bool hasPosition() const { return x > 0.0 && y > 0.0; }

private:
    bool ok = false;
};
