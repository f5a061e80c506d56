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

// A sound track's format and its chunks, for the sound tracks the layer plays.
struct SoundChunk {
    int64_t offset;      // in the file, the movie's base offset included
    int64_t firstFrame;  // the chunk's first sample frame
    int64_t frames;
    // IMA 4:1: each channel's predictor and step index after the chunk, once decoded.
    std::vector<int> imaEnd;
};

struct SoundFormat {
    long channels = 0;
    long bits = 0;
    long rate = 0;  // sample frames per second
    bool bigEndian = true;
    bool ima4 = false;
    bool playable = false;
    std::vector<SoundChunk> chunks;
    int64_t frames = 0;
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
    SoundFormat sound;
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
    // Sound: the volume (0x100 full), and what was handed to the wave output.
    short volume = 0x100;
    bool soundOn = false;  // the output is open and fed
    int64_t soundNext = 0;  // the next sample frame to hand over
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
// Hands the wave output the sound from the movie's time to a little ahead of
// it while the movie plays forward; stops it otherwise.
void FeedSound(Movie movie);
void StopSound(Movie movie);
// The sound track that plays, or null.
Track SoundTrack(Movie movie);
// Decodes frames [first, first + count) of the track as interleaved 16-bit
// samples (at most two channels); false when the file cannot be read.
bool DecodeSound(Movie movie, Track track, int64_t first, int64_t count, std::vector<int16_t>& out);
