// Our movie layer, in place of the movie library the program cannot ship (see MovieLayer.h):
// its toolbox: start and stop, ports, files, movies, tracks, time
// conversions, and the seams its tests drive.
#include "platform/movies/MovieInternal.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

struct Globals {
    bool initialised = false;
    bool entered = false;
    bool logging = false;
    std::string log;
    std::map<std::string, OSErr> failures;
    long clockMode = 0;
    uint32_t manualClock = 0;
    long barHeight = 16;
    GrafPtr currentPort = nullptr;
    std::map<HWND, PortRecord*> ports;  // owned
    struct OpenFile {
        std::string path;
        HANDLE handle;
    };
    std::map<short, OpenFile> files;
    short nextRef = 1;
};

Globals& G() {
    static Globals g;
    return g;
}

// Floor division: times before 0 keep their order after conversion.
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

TimeValue Clamp32(int64_t v) {
    if (v > 0x7FFFFFFF)
        return 0x7FFFFFFF;
    if (v < -0x7FFFFFFF)
        return -0x7FFFFFFF;
    return TimeValue(v);
}

short OpenFileRef(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    Globals& g = G();
    short ref = g.nextRef;
    while (g.files.count(ref) || ref <= 0)
        ref = short(ref <= 0 ? 1 : ref + 1);
    g.nextRef = short(ref + 1);
    g.files[ref] = Globals::OpenFile{path, h};
    return ref;
}

// Files open read-only whatever the permission asked.
OSErr OpenRef(const char* call, const MovieFileSpec* spec, short* refNum, signed char permission) {
    LogCall("%s %d", call, int(permission));
    if (OSErr err = FailureFor(call))
        return err;
    if (!spec || !refNum)
        return kMovieErrParam;
    *refNum = OpenFileRef(spec->path);
    return *refNum ? 0 : kMovieErrFileNotFound;
}

OSErr CloseRef(const char* call, short refNum) {
    LogCall("%s", call);
    auto it = G().files.find(refNum);
    if (it == G().files.end())
        return kMovieErrParam;
    CloseHandle(it->second.handle);
    G().files.erase(it);
    return 0;
}

OSErr MovieFromRef(Movie* movie, short refNum, long offset) {
    if (!movie)
        return kMovieErrParam;
    *movie = nullptr;
    if (!G().entered)
        return kMovieErrNotInitialised;
    auto it = G().files.find(refNum);
    if (it == G().files.end())
        return kMovieErrParam;
    auto made = std::make_unique<MovieRecord>();
    made->path = it->second.path;
    // The movie keeps a handle of its own: its file reference is closed after this.
    made->file = CreateFileA(made->path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made->file == INVALID_HANDLE_VALUE)
        return kMovieErrFileNotFound;
    OSErr err = ReadMovieAtoms(made->file, offset, *made);
    if (err) {
        CloseHandle(made->file);
        return err;
    }
    made->lastClock = ClockNow();
    *movie = made.release();
    return 0;
}

}  // namespace

void LogCall(const char* format, ...) {
    Globals& g = G();
    if (!g.logging)
        return;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    g.log += line;
    g.log += '\n';
}

OSErr FailureFor(const char* call) {
    auto& failures = G().failures;
    auto it = failures.find(call);
    if (it == failures.end())
        return 0;
    OSErr err = it->second;
    failures.erase(it);
    return err;
}

uint32_t ClockNow() {
    return G().clockMode ? G().manualClock : GetTickCount();
}

long BarHeight() {
    return G().barHeight;
}

bool ToolboxEntered() {
    return G().entered;
}

void AdvanceMovie(Movie movie) {
    uint32_t now = ClockNow();
    uint32_t elapsed = now - movie->lastClock;
    movie->lastClock = now;
    if (movie->rate == 0 || elapsed == 0) {
        FeedSound(movie);
        return;
    }
    // time += elapsed ms x rate (16.16) x scale / 1000, the remainder carried.
    int64_t numerator = int64_t(elapsed) * movie->rate * movie->scale + movie->remainder;
    int64_t step = FloorDiv(numerator, 65536000);
    movie->remainder = numerator - step * 65536000;
    movie->time += step;
    if (movie->time >= movie->duration || movie->time <= 0) {
        movie->time = movie->time <= 0 ? 0 : movie->duration;
        movie->rate = 0;
        movie->remainder = 0;
    }
    FeedSound(movie);
}

MOVIE_API OSErr InitializeQTML(long flags) {
    LogCall("InitializeQTML %ld", flags);
    if (OSErr err = FailureFor("InitializeQTML"))
        return err;
    G().initialised = true;
    return 0;
}

MOVIE_API void TerminateQTML(void) {
    LogCall("TerminateQTML");
    G().initialised = false;
}

MOVIE_API OSErr EnterMovies(void) {
    LogCall("EnterMovies");
    if (OSErr err = FailureFor("EnterMovies"))
        return err;
    if (!G().initialised)
        return kMovieErrNotInitialised;
    G().entered = true;
    return 0;
}

MOVIE_API void ExitMovies(void) {
    LogCall("ExitMovies");
    G().entered = false;
}

MOVIE_API GrafPtr CreatePortAssociation(HWND window, void*, long flags) {
    LogCall("CreatePortAssociation %ld", flags);
    if (!window)
        return nullptr;
    auto& ports = G().ports;
    auto it = ports.find(window);
    if (it != ports.end())
        return it->second;
    auto* port = new (std::nothrow) PortRecord;
    if (!port)
        return nullptr;
    port->window = window;
    ports[window] = port;
    return port;
}

MOVIE_API void DestroyPortAssociation(GrafPtr port) {
    LogCall("DestroyPortAssociation");
    if (!port)
        return;
    G().ports.erase(port->window);
    if (G().currentPort == port)
        G().currentPort = nullptr;
    delete port;
}

MOVIE_API GrafPtr GetNativeWindowPort(HWND window) {
    auto& ports = G().ports;
    auto it = ports.find(window);
    return it == ports.end() ? nullptr : it->second;
}

MOVIE_API void GetGWorld(GrafPtr* port, void** device) {
    if (port)
        *port = G().currentPort;
    if (device)
        *device = nullptr;
}

MOVIE_API void SetGWorld(GrafPtr port, void*) {
    G().currentPort = port;
}

MOVIE_API OSErr NativePathNameToFSSpec(const char* path, MovieFileSpec* spec, long) {
    if (!path || !spec || std::strlen(path) >= sizeof spec->path)
        return kMovieErrParam;
    std::strcpy(spec->path, path);
    return 0;
}

MOVIE_API OSErr OpenMovieFile(const MovieFileSpec* spec, short* refNum, signed char permission) {
    return OpenRef("OpenMovieFile", spec, refNum, permission);
}

MOVIE_API OSErr CloseMovieFile(short refNum) {
    return CloseRef("CloseMovieFile", refNum);
}

MOVIE_API OSErr FSpOpenDF(const MovieFileSpec* spec, signed char permission, short* refNum) {
    return OpenRef("FSpOpenDF", spec, refNum, permission);
}

MOVIE_API OSErr FSClose(short refNum) {
    return CloseRef("FSClose", refNum);
}

MOVIE_API Movie NewMovie(long flags) {
    LogCall("NewMovie %ld", flags);
    if (!G().entered || FailureFor("NewMovie"))
        return nullptr;
    auto* movie = new (std::nothrow) MovieRecord;
    if (movie) {
        movie->active = (flags & newMovieActive) != 0;
        movie->lastClock = ClockNow();
    }
    return movie;
}

MOVIE_API OSErr NewMovieFromFile(Movie* movie, short refNum, short*, unsigned char*, short flags, unsigned char*) {
    LogCall("NewMovieFromFile %d", int(flags));
    if (OSErr err = FailureFor("NewMovieFromFile"))
        return err;
    return MovieFromRef(movie, refNum, 0);
}

MOVIE_API OSErr NewMovieFromDataFork(Movie* movie, short refNum, long offset, short flags, unsigned char*) {
    LogCall("NewMovieFromDataFork %ld %d", offset, int(flags));
    if (OSErr err = FailureFor("NewMovieFromDataFork"))
        return err;
    return MovieFromRef(movie, refNum, offset);
}

MOVIE_API void DisposeMovie(Movie movie) {
    LogCall("DisposeMovie");
    if (!movie)
        return;
    StopSound(movie);
    if (movie->file != INVALID_HANDLE_VALUE)
        CloseHandle(movie->file);
    DisposeTracks(*movie);
    delete movie;
}

MOVIE_API void GetMovieBox(Movie movie, MovieRect* box) {
    if (box)
        *box = movie ? movie->box : MovieRect{};
}

MOVIE_API void SetMovieBox(Movie movie, const MovieRect* box) {
    if (!movie || !box)
        return;
    LogCall("SetMovieBox %d %d %d %d", box->top, box->left, box->bottom, box->right);
    movie->box = *box;
}

MOVIE_API TimeValue GetMovieDuration(Movie movie) {
    return movie ? movie->duration : 0;
}

MOVIE_API TimeScale GetMovieTimeScale(Movie movie) {
    return movie ? movie->scale : 0;
}

MOVIE_API TimeValue GetMovieTime(Movie movie, MovieTimeRecord* now) {
    if (!movie)
        return 0;
    AdvanceMovie(movie);
    if (now)
        *now = MovieTimeRecord{movie->time, movie->scale, movie};
    return Clamp32(movie->time);
}

MOVIE_API TimeBase GetMovieTimeBase(Movie movie) {
    return movie;
}

MOVIE_API Fixed GetMovieRate(Movie movie) {
    if (!movie)
        return 0;
    AdvanceMovie(movie);
    return movie->rate;
}

MOVIE_API long GetMovieTrackCount(Movie movie) {
    return movie ? long(movie->tracks.size()) : 0;
}

MOVIE_API Track GetMovieIndTrack(Movie movie, long index) {
    if (!movie || index < 1 || index > long(movie->tracks.size()))
        return nullptr;
    return movie->tracks[index - 1];
}

MOVIE_API Track GetMovieIndTrackType(Movie movie, long index, OSType type, long flags) {
    LogCall("GetMovieIndTrackType %ld %ld", index, flags);
    if (!movie)
        return nullptr;
    long seen = 0;
    for (TrackRecord* t : movie->tracks) {
        if (t->type != type || ((flags & 4) && !t->enabled))
            continue;
        if (++seen == index)
            return t;
    }
    return nullptr;
}

MOVIE_API Media GetTrackMedia(Track track) {
    return track;
}

MOVIE_API TimeScale GetMediaTimeScale(Media media) {
    return media ? media->mediaScale : 0;
}

MOVIE_API long GetMediaSampleCount(Media media) {
    return media ? long(media->samples.size()) : 0;
}

MOVIE_API TimeValue TrackTimeToMediaTime(TimeValue value, Track track) {
    if (!track || value < 0)
        return -1;
    return Clamp32(FloorDiv(int64_t(value) * track->mediaScale, track->movie->scale));
}

MOVIE_API void MediaTimeToSampleNum(Media media, TimeValue time, long* sampleNum, TimeValue* sampleTime,
                                    TimeValue* sampleDuration) {
    long number = 0;
    const Sample* found = nullptr;
    if (media && !media->samples.empty() && time >= 0) {
        long low = SamplesUpTo(media, time);
        if (low > 0) {
            number = low;
            found = &media->samples[low - 1];
        }
    }
    if (sampleNum)
        *sampleNum = number;
    if (sampleTime)
        *sampleTime = found ? found->time : -1;
    if (sampleDuration)
        *sampleDuration = found ? found->duration : 0;
}

MOVIE_API void SampleNumToMediaTime(Media media, long sampleNum, TimeValue* sampleTime, TimeValue* sampleDuration) {
    const Sample* found = nullptr;
    if (media && sampleNum >= 1 && sampleNum <= long(media->samples.size()))
        found = &media->samples[sampleNum - 1];
    if (sampleTime)
        *sampleTime = found ? found->time : -1;
    if (sampleDuration)
        *sampleDuration = found ? found->duration : 0;
}

MOVIE_API TimeValue ConvertTimeScale(const MovieTimeRecord* time, TimeScale newScale) {
    if (!time || time->scale <= 0 || newScale <= 0)
        return 0;
    LogCall("ConvertTimeScale %lld %ld %ld", static_cast<long long>(time->value), long(time->scale), long(newScale));
    // 64-bit: a 32-bit time by a 32-bit scale cannot overflow the product.
    int64_t value = time->value;
    if (value > 0x7FFFFFFFLL || value < -0x7FFFFFFFLL)
        value = value > 0 ? 0x7FFFFFFFLL : -0x7FFFFFFFLL;
    return Clamp32(FloorDiv(value * newScale, time->scale));
}

MOVIE_API OSErr PrerollMovie(Movie movie, TimeValue time, Fixed rate) {
    LogCall("PrerollMovie %ld %ld", long(time), long(rate));
    if (OSErr err = FailureFor("PrerollMovie"))
        return err;
    return movie ? 0 : kMovieErrParam;
}

MOVIE_API void SetMovieActive(Movie movie, BOOL active) {
    LogCall("SetMovieActive %d", active ? 1 : 0);
    if (movie)
        movie->active = active != FALSE;
}

MOVIE_API BOOL GetMovieActive(Movie movie) {
    return movie && movie->active;
}

MOVIE_API void SetMovieGWorld(Movie movie, GrafPtr port, void*) {
    if (movie)
        movie->port = port;
}

MOVIE_API void GetMovieGWorld(Movie movie, GrafPtr* port, void** device) {
    if (port)
        *port = movie ? movie->port : nullptr;
    if (device)
        *device = nullptr;
}

MOVIE_API OSErr GetMovieFrameBits(Movie movie, TimeValue time, unsigned char* buffer, long size, long* width,
                                  long* height) {
    if (!movie)
        return kMovieErrParam;
    Track track = ShownTrack(movie);
    long sample = SampleAt(track, time);
    if (sample < 0)
        return kMovieErrParam;
    if (OSErr err = DecodeSample(movie, track, sample))
        return err;
    long w = movie->pixelWidth, h = movie->pixelHeight;
    if (width)
        *width = w;
    if (height)
        *height = h;
    if (!buffer)
        return 0;
    if (size < w * h * 3)
        return kMovieErrParam;
    long stride = (w * 3 + 3) & ~3L;
    for (long y = 0; y < h; ++y) {
        const unsigned char* from = movie->pixels.data() + (h - 1 - y) * stride;
        unsigned char* to = buffer + y * w * 3;
        for (long x = 0; x < w; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return 0;
}

MOVIE_API void MovieLayerSetLogging(BOOL on) {
    G().logging = on != FALSE;
}

MOVIE_API long MovieLayerGetLog(char* buffer, long size) {
    const std::string& log = G().log;
    if (buffer && size > 0) {
        size_t n = std::min<size_t>(log.size(), size_t(size - 1));
        std::memcpy(buffer, log.data(), n);
        buffer[n] = 0;
    }
    return long(log.size());
}

MOVIE_API void MovieLayerClearLog(void) {
    G().log.clear();
}

MOVIE_API void MovieLayerFailNext(const char* call, OSErr error) {
    if (call)
        G().failures[call] = error;
}

MOVIE_API void MovieLayerSetClock(long mode) {
    G().clockMode = mode;
}

MOVIE_API void MovieLayerAdvanceClock(long milliseconds) {
    G().manualClock += uint32_t(milliseconds);
}

MOVIE_API void MovieLayerSetBarHeight(long pixels) {
    G().barHeight = pixels;
}
