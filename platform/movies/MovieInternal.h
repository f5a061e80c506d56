// Our movie layer, in place of the movie library the program cannot ship (see MovieLayer.h):
// the records and helpers its files share.
#pragma once

#include <string>
#include <vector>

#include "platform/movies/MovieLayer.h"

struct Sample {
    int64_t offset;  // in the file, the movie's base offset included
    uint32_t size;
    TimeValue time;  // media time
    TimeValue duration;
};

struct TrackRecord {
    Movie movie = nullptr;  // not owned
    OSType type = 0;        // the handler's media type: 'vide', 'soun', ...
    OSType codec = 0;       // the first sample description's format
    bool enabled = false;
    long width = 0, height = 0;  // the track's size in pixels
    TimeValue duration = 0;      // in the movie's time scale
    TimeScale mediaScale = 0;
    TimeValue mediaDuration = 0;
    long codecWidth = 0, codecHeight = 0;
    std::vector<Sample> samples;
};

struct PortRecord {
    HWND window = nullptr;
};

struct MovieRecord {
    std::string path;      // the file the samples are read from; empty for a new movie
    HANDLE file = INVALID_HANDLE_VALUE;  // owned
    TimeScale scale = 600;
    TimeValue duration = 0;
    std::vector<TrackRecord*> tracks;  // owned
    MovieRect box{};
    MovieRect naturalBox{};
    // Playback: the time in the movie's scale, with the clock's remainder.
    int64_t time = 0;
    int64_t remainder = 0;
    Fixed rate = 0;
    uint32_t lastClock = 0;
    bool active = false;
    GrafPtr port = nullptr;  // not owned
    MovieController controller = nullptr;  // not owned: the one showing it
    // The last decoded frame: a bottom-up 24-bit DIB of the codec's size.
    long decodedSample = -1;
    Track decodedTrack = nullptr;
    std::vector<unsigned char> pixels;
    long pixelWidth = 0, pixelHeight = 0;
};

// The call log and the failure switches.
void LogCall(const char* format, ...);
// The error set for the next call of this name (once), else 0.
OSErr FailureFor(const char* call);
// The clock in milliseconds.
uint32_t ClockNow();
long BarHeight();
bool ToolboxEntered();

// Reads the movie at offset in the open file: 0, or kMovieErrBadFile / kMovieErrMemory.
OSErr ReadMovieAtoms(HANDLE file, int64_t offset, MovieRecord& movie);
// Brings the movie's time up to the clock; reaching the end stops it.
void AdvanceMovie(Movie movie);
// The video track shown, or null.
Track ShownTrack(Movie movie);
// The number of samples starting at or before the media time (0: none).
long SamplesUpTo(Track track, TimeValue mediaTime);
// The sample index of the video track at the movie's time, or -1.
long SampleAt(Track track, TimeValue movieTime);
// Decodes the sample into the movie's frame buffer: 0 or an error.
OSErr DecodeSample(Movie movie, Track track, long sample);
// Draws the movie's current frame into its box on the DC.
void DrawMovieFrame(Movie movie, HDC dc);
void DisposeTracks(MovieRecord& movie);
