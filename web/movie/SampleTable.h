// The time-to-sample table of one track, read from the movie file's atoms by
// the program itself, and the searches that turn media times into sample
// indexes and back.
//
// A table is a movable Windows global-memory block (HGLOBAL, passed as void*)
// owned by whoever read it and freed with SampleTableFree. Media times are in
// the track's media time units; sample indexes count from 0. Bad files never
// raise: reading answers no table.
#pragma once

#include <cstdint>

#include "web/movie/MovieFile.h"

class AFileStream;

// One entry of the table as the block holds it (32-bit little-endian words):
//   +0 entry count N + 1 (the last entry is a sentinel)
//   +4 + 16 i: first time | duration | first sample | sample count
// The sentinel holds the total time and the total sample count as its first
// time and first sample, with duration and count 0; 16 spare bytes follow.
struct SampleTableEntry {
    int32_t firstTime;
    int32_t duration;
    int32_t firstSample;
    int32_t count;
};

// What one reading keeps between atoms.
struct SampleTableReader {
    AFileStream* stream = nullptr;  // not owned
    long trackCounter = 0;
    long wantedTrack = 0;  // from 1, in the order of the 'trak' atoms
    long error = 0;
    void* table = nullptr;  // owned until taken
    int depth = 0;
};

// Nesting deeper than this is refused: a crafted file must not exhaust the stack.
const int kSampleTableMaxDepth = 32;

// Reads one atom and, for containers, its children; answers the bytes consumed.
long SampleTableReadAtom(SampleTableReader& reader);
// The table of the track (from 1) of the movie file, or null when the file
// does not open or holds no readable table for it. The caller frees it.
void* SampleTableRead(const AMovieFile& file, long track);
// Frees the block (null is fine) and answers null.
void* SampleTableFree(void* table);

enum SampleTableKey { kSampleTableByTime = 0, kSampleTableBySample = 2 };
// The last entry whose field (first time or first sample) is at most key:
// true with it copied to result; false when key lies before the first entry.
bool SampleTableFind(void* table, long key, SampleTableKey field, SampleTableEntry* result);
long SampleTableTimeToSample(void* table, long time);
long SampleTableSampleToTime(void* table, long sample);
// The entries of the table, the sentinel included (tests and checks).
long SampleTableCount(void* table);
