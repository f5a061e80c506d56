// Our movie layer: replaces the movie library the program was written
// against, which cannot ship with it; a DLL named as the program loads it
// ("QuickTime.qts"), offering only the calls the program makes.
//
// The program never links this DLL: it resolves each export with
// GetProcAddress (web/movie/MovieLibrary). Every call is cdecl and never
// raises; failures answer a negative error code (MovieErr) or null.
// Handles (Movie, MovieController, ...) belong to the layer: the caller
// disposes of movies and controllers with their Dispose calls.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef SV_MOVIE_LAYER_BUILD
#define MOVIE_API extern "C" __declspec(dllexport)
#else
#define MOVIE_API extern "C"
#endif

typedef struct MovieRecord* Movie;
typedef struct TrackRecord* Track;
typedef struct TrackRecord* Media;  // a track and its media are one record here
typedef struct ControllerRecord* MovieController;
typedef struct PortRecord* GrafPtr;
typedef struct MovieRecord* TimeBase;  // each movie is its own time base
typedef int16_t OSErr;
typedef int32_t Fixed;  // 16.16
typedef int32_t TimeValue;
typedef int32_t TimeScale;
typedef uint32_t OSType;

struct MovieRect {
    int16_t top, left, bottom, right;
};
struct MoviePoint {
    int16_t v, h;
};
struct MovieTimeRecord {
    int64_t value;
    TimeScale scale;
    TimeBase base;
};
struct MovieFileSpec {
    char path[MAX_PATH];
};
// A window message as the controller reads it.
struct MovieEvent {
    uint16_t what;  // kMovieEvent*
    uint32_t when;  // GetMessageTime
    MoviePoint where;  // in the window's client coordinates
    uint16_t modifiers;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

enum : uint16_t {
    kMovieEventNull = 0,
    kMovieEventMouseDown = 1,
    kMovieEventMouseUp = 2,
    kMovieEventKeyDown = 3,
    kMovieEventUpdate = 6,
    kMovieEventActivate = 8,
};

enum MovieErr : OSErr {
    kMovieErrParam = -50,
    kMovieErrFileNotFound = -43,
    kMovieErrMemory = -108,
    kMovieErrNotInitialised = -2000,  // InitializeQTML or EnterMovies not called
    kMovieErrBadFile = -2048,         // not a movie, or a damaged one
    kMovieErrNoController = -2020,
    kMovieErrBadAction = -2010,
    kMovieErrFullScreen = -2021,      // one full screen at a time
};

// Controller actions the program sends.
enum : short {
    mcActionIdle = 1,
    mcActionDraw = 2,
    mcActionPlay = 8,              // params: Fixed rate
    mcActionGoToTime = 12,         // params: MovieTimeRecord*
    mcActionSetGrowBoxBounds = 25,  // params: MovieRect*
    mcActionSetSelectionBegin = 29,  // params: MovieTimeRecord*
    mcActionSetSelectionDuration = 30,  // params: MovieTimeRecord*
    mcActionSetKeysEnabled = 32,   // params: Boolean
    mcActionSetPlaySelection = 34,  // params: Boolean
    mcActionSetFlags = 38,         // params: long
    mcActionGetFlags = 39,         // params: long*
    mcActionGetPlayRate = 42,      // params: Fixed*
};
enum : long { mcNotVisible = 8, newMovieActive = 1 };
// The action filter: true consumes the action.
typedef BOOL (*MCActionFilterWithRefCon)(MovieController mc, short action, void* params, long refCon);

// Library and toolbox.
MOVIE_API OSErr InitializeQTML(long flags);
MOVIE_API void TerminateQTML(void);
MOVIE_API OSErr EnterMovies(void);
MOVIE_API void ExitMovies(void);

// Ports: a window's drawing place; the current port is the graphics world.
MOVIE_API GrafPtr CreatePortAssociation(HWND window, void* storage, long flags);
MOVIE_API void DestroyPortAssociation(GrafPtr port);
MOVIE_API GrafPtr GetNativeWindowPort(HWND window);
MOVIE_API void GetGWorld(GrafPtr* port, void** device);
MOVIE_API void SetGWorld(GrafPtr port, void* device);

// Files: a spec is a native path; reference numbers name open files.
MOVIE_API OSErr NativePathNameToFSSpec(const char* path, MovieFileSpec* spec, long flags);
MOVIE_API OSErr OpenMovieFile(const MovieFileSpec* spec, short* refNum, signed char permission);
MOVIE_API OSErr CloseMovieFile(short refNum);
MOVIE_API OSErr FSpOpenDF(const MovieFileSpec* spec, signed char permission, short* refNum);
MOVIE_API OSErr FSClose(short refNum);

// Movies.
MOVIE_API Movie NewMovie(long flags);
MOVIE_API OSErr NewMovieFromFile(Movie* movie, short refNum, short* resId, unsigned char* name, short flags,
                                 unsigned char* dataChanged);
// The movie's atoms and samples are read from offset on, offsets in the file relative to it.
MOVIE_API OSErr NewMovieFromDataFork(Movie* movie, short refNum, long offset, short flags,
                                     unsigned char* dataChanged);
MOVIE_API void DisposeMovie(Movie movie);
MOVIE_API void GetMovieBox(Movie movie, MovieRect* box);
MOVIE_API void SetMovieBox(Movie movie, const MovieRect* box);
MOVIE_API TimeValue GetMovieDuration(Movie movie);
MOVIE_API TimeScale GetMovieTimeScale(Movie movie);
MOVIE_API TimeValue GetMovieTime(Movie movie, MovieTimeRecord* now);
MOVIE_API TimeBase GetMovieTimeBase(Movie movie);
MOVIE_API Fixed GetMovieRate(Movie movie);
MOVIE_API long GetMovieTrackCount(Movie movie);
MOVIE_API Track GetMovieIndTrack(Movie movie, long index);
// The index-th (from 1) track of the media type; flags 1 by media type, 4 enabled only.
MOVIE_API Track GetMovieIndTrackType(Movie movie, long index, OSType type, long flags);
MOVIE_API Media GetTrackMedia(Track track);
MOVIE_API TimeScale GetMediaTimeScale(Media media);
MOVIE_API long GetMediaSampleCount(Media media);
MOVIE_API TimeValue TrackTimeToMediaTime(TimeValue value, Track track);
MOVIE_API void MediaTimeToSampleNum(Media media, TimeValue time, long* sampleNum, TimeValue* sampleTime,
                                    TimeValue* sampleDuration);
MOVIE_API void SampleNumToMediaTime(Media media, long sampleNum, TimeValue* sampleTime, TimeValue* sampleDuration);
// value x newScale / scale in exact integer arithmetic, rounded toward minus infinity.
MOVIE_API TimeValue ConvertTimeScale(const MovieTimeRecord* time, TimeScale newScale);
MOVIE_API OSErr PrerollMovie(Movie movie, TimeValue time, Fixed rate);
MOVIE_API void SetMovieActive(Movie movie, BOOL active);
MOVIE_API BOOL GetMovieActive(Movie movie);
MOVIE_API void SetMovieGWorld(Movie movie, GrafPtr port, void* device);
MOVIE_API void GetMovieGWorld(Movie movie, GrafPtr* port, void** device);
// The frame shown at the time: width x height pixels, RGB, rows packed,
// top row first, into buffer (size bytes). 0, or an error.
MOVIE_API OSErr GetMovieFrameBits(Movie movie, TimeValue time, unsigned char* buffer, long size, long* width,
                                  long* height);

// Controllers.
MOVIE_API MovieController NewMovieController(Movie movie, const MovieRect* rect, long flags);
MOVIE_API void DisposeMovieController(MovieController mc);
MOVIE_API long MCSetMovie(MovieController mc, Movie movie, GrafPtr port, MoviePoint where);
MOVIE_API long MCRemoveMovie(MovieController mc);
MOVIE_API Movie MCGetIndMovie(MovieController mc, short index);
MOVIE_API long MCGetControllerBoundsRect(MovieController mc, MovieRect* bounds);
MOVIE_API long MCSetControllerBoundsRect(MovieController mc, const MovieRect* bounds);
MOVIE_API long MCPositionController(MovieController mc, const MovieRect* movieRect, const MovieRect* controllerRect,
                                    long flags);
MOVIE_API long MCSetControllerAttached(MovieController mc, BOOL attach);
MOVIE_API long MCIsControllerAttached(MovieController mc);
MOVIE_API long MCSetVisible(MovieController mc, BOOL visible);
MOVIE_API long MCGetVisible(MovieController mc);
MOVIE_API long MCActivate(MovieController mc, GrafPtr port, BOOL activate);
MOVIE_API long MCSetActionFilterWithRefCon(MovieController mc, MCActionFilterWithRefCon filter, long refCon);
MOVIE_API long MCDoAction(MovieController mc, short action, void* params);
MOVIE_API long MCIdle(MovieController mc);
MOVIE_API long MCDraw(MovieController mc, GrafPtr port);
MOVIE_API long MCIsPlayerEvent(MovieController mc, const MovieEvent* event);
MOVIE_API void WinEventToMacEvent(const MSG* message, MovieEvent* event);

// Full screen: a screen-sized top-level popup.
MOVIE_API OSErr BeginFullScreen(void** restoreState, void* screen, short* width, short* height, HWND* newWindow,
                                uint32_t eraseColor, long flags);
MOVIE_API OSErr EndFullScreen(void* restoreState, long flags);

// Seams for tests: the call log (one line per call, "Name arg arg"), a
// failure of the next call of one name, the clock (0 tick count, 1 manual),
// and the controller bar's height in pixels.
// Sound: volume 0x100 is full, 0 silent, below 0 muted at that level.
MOVIE_API void SetMovieVolume(Movie movie, short volume);
MOVIE_API short GetMovieVolume(Movie movie);

// Where the sound goes: open (0 when a device took the format; 16-bit
// samples, one or two channels), write (interleaved frames, in order),
// close (drops what was not played yet).
typedef struct MovieWaveOutput {
    long (*open)(long rate, long channels, void* refCon);
    void (*write)(const int16_t* samples, long frames, long channels, void* refCon);
    void (*close)(void* refCon);
    void* refCon;
} MovieWaveOutput;

MOVIE_API void MovieLayerSetLogging(BOOL on);
MOVIE_API long MovieLayerGetLog(char* buffer, long size);
MOVIE_API void MovieLayerClearLog(void);
MOVIE_API void MovieLayerFailNext(const char* call, OSErr error);
MOVIE_API void MovieLayerSetClock(long mode);
MOVIE_API void MovieLayerAdvanceClock(long milliseconds);
MOVIE_API void MovieLayerSetBarHeight(long pixels);
// Null: the system's wave output again.
MOVIE_API void MovieLayerSetWaveOutput(const MovieWaveOutput* output);
