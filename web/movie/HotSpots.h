// Hot spots of a video: the clickable quadrilaterals of each frame, read from
// a pair of files (records and index), and the point-in-polygon tests.
//
// The pair owns its two streams. Lookups never raise: missing, short or
// inconsistent data answers -1. Points and corners are 32-bit signed.
#pragma once

#include <cstdint>

class AFile;
class AFileStream;

// Record file: 42-byte little-endian records, then the group step (u16 LE) as
// its last two bytes:
//   +0 frame group u32 (first frame of the group, a multiple of the step)
//   +4 four corners, each x then y as u16 in thousandths of the movie area
//   +20 22 bytes the lookup does not read
// Index file: at 4 x (group / step) the u32 LE offset of the group's first
// record in the record file; 0 when the group has none.
struct HotSpotPair {
    AFileStream* records = nullptr;  // owned, or null
    AFileStream* index = nullptr;    // owned, or null
    long recordSize = 0;             // bytes of the record file
};

const long kHotSpotRecordSize = 42;

// Opens both files read-only: 0, or the file layer's code with the pair left empty.
int HotSpotPairOpen(HotSpotPair& pair, const AFile& records, const AFile& index);
// Releases both streams and empties the pair: -3 without a pair, else 0.
int HotSpotPairClose(HotSpotPair* pair);

// The number (from 1) of the first record of the frame's group whose
// quadrilateral holds the point (pixels in a movie area of width x height),
// or -1.
long HotSpotFind(const HotSpotPair& pair, long width, long height, long frame, long x, long y);

// True when the point lies strictly inside the polygon of n points given as
// x, y pairs (a fan of triangles from the first point, an odd count inside).
bool PointInQuad(int n, long px, long py, const long* points);
// True when the point lies strictly inside the triangle; degenerate: false.
bool PointInTriangle(long x0, long y0, long x1, long y1, long x2, long y2, long px, long py);
