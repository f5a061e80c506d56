// Our movie layer's sound: PCM (8 and 16 bits, either byte order) and IMA 4:1
// tracks decoded to 16-bit samples and handed to the system's wave output a
// little ahead of the movie's time, so that the sound follows the clock that
// drives the pictures.
#include "platform/movies/MovieInternal.h"

#include <mmsystem.h>

#include <algorithm>
#include <deque>
#include <memory>

namespace {

// How far ahead of the movie's time the sound is handed over.
const long kLeadMs = 200;

const int kImaIndex[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
const int kImaStep[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

int16_t Clip16(int v) {
    return int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

// One channel's 34-byte packet: a big-endian header (the predictor's top nine
// bits, the step index) and 64 nibbles, low nibble first. A header that
// repeats the step index with a predictor close to the running one keeps the
// running predictor.
void DecodeImaPacket(const unsigned char* p, int& predictor, int& index, int16_t* out, long stride) {
    int header = int16_t((p[0] << 8) | p[1]);
    int headerIndex = std::min(header & 0x7F, 88);
    int headerPredictor = header & ~0x7F;
    if (headerIndex != index || std::abs(headerPredictor - predictor) > 0x7F) {
        index = headerIndex;
        predictor = headerPredictor;
    }
    for (int i = 0; i < 64; ++i) {
        int nibble = (p[2 + i / 2] >> ((i & 1) * 4)) & 0x0F;
        int step = kImaStep[index];
        int diff = step >> 3;
        if (nibble & 4)
            diff += step;
        if (nibble & 2)
            diff += step >> 1;
        if (nibble & 1)
            diff += step >> 2;
        predictor = Clip16(nibble & 8 ? predictor - diff : predictor + diff);
        index = std::min(std::max(index + kImaIndex[nibble], 0), 88);
        out[i * stride] = int16_t(predictor);
    }
}

bool ReadAt(HANDLE file, int64_t offset, unsigned char* buffer, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD done = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &done, nullptr) &&
           done == size;
}

// The system's wave calls, loaded when a movie first opens its sound: loading
// the multimedia library with the layer made every start of the reader pay for it.
struct WaveCalls {
    decltype(&waveOutOpen) open = nullptr;
    decltype(&waveOutPrepareHeader) prepare = nullptr;
    decltype(&waveOutWrite) write = nullptr;
    decltype(&waveOutUnprepareHeader) unprepare = nullptr;
    decltype(&waveOutReset) reset = nullptr;
    decltype(&waveOutClose) close = nullptr;
};

template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The calls, or null when the library or one of them is missing. The library
// stays loaded for the process: the device's blocks may still be playing.
const WaveCalls* Wave() {
    static const WaveCalls* calls = [] {
        static WaveCalls loaded;
        char path[MAX_PATH];
        UINT n = GetSystemDirectoryA(path, MAX_PATH);
        if (n == 0 || n + sizeof "\\winmm.dll" > MAX_PATH)
            return static_cast<const WaveCalls*>(nullptr);
        lstrcatA(path, "\\winmm.dll");
        HMODULE module = LoadLibraryA(path);
        if (!module)
            return static_cast<const WaveCalls*>(nullptr);
        Resolve(module, "waveOutOpen", loaded.open);
        Resolve(module, "waveOutPrepareHeader", loaded.prepare);
        Resolve(module, "waveOutWrite", loaded.write);
        Resolve(module, "waveOutUnprepareHeader", loaded.unprepare);
        Resolve(module, "waveOutReset", loaded.reset);
        Resolve(module, "waveOutClose", loaded.close);
        bool complete = loaded.open && loaded.prepare && loaded.write && loaded.unprepare && loaded.reset && loaded.close;
        return complete ? static_cast<const WaveCalls*>(&loaded) : nullptr;
    }();
    return calls;
}

// The system's wave output: blocks queued with waveOutWrite, freed once done.
struct WaveDevice {
    HWAVEOUT handle = nullptr;
    std::deque<std::pair<WAVEHDR*, std::vector<int16_t>*>> blocks;

    void reclaim(bool all) {
        while (!blocks.empty() && (all || (blocks.front().first->dwFlags & WHDR_DONE))) {
            Wave()->unprepare(handle, blocks.front().first, sizeof(WAVEHDR));
            delete blocks.front().first;
            delete blocks.front().second;
            blocks.pop_front();
        }
    }
};

long SystemOpen(long rate, long channels, void* refCon) {
    auto* device = static_cast<WaveDevice*>(refCon);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(channels);
    format.nSamplesPerSec = DWORD(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(channels * 2);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    const WaveCalls* wave = Wave();
    if (!wave)
        return 1;
    return wave->open(&device->handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR ? 0 : 1;
}

void SystemWrite(const int16_t* samples, long frames, long channels, void* refCon) {
    auto* device = static_cast<WaveDevice*>(refCon);
    if (!device->handle)
        return;
    device->reclaim(false);
    auto* data = new std::vector<int16_t>(samples, samples + frames * channels);
    auto* header = new WAVEHDR{};
    header->lpData = reinterpret_cast<LPSTR>(data->data());
    header->dwBufferLength = DWORD(data->size() * sizeof(int16_t));
    device->blocks.emplace_back(header, data);
    if (Wave()->prepare(device->handle, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
        Wave()->write(device->handle, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        header->dwFlags |= WHDR_DONE;
}

void SystemClose(void* refCon) {
    auto* device = static_cast<WaveDevice*>(refCon);
    if (!device->handle)
        return;
    Wave()->reset(device->handle);
    device->reclaim(true);
    Wave()->close(device->handle);
    device->handle = nullptr;
}

struct SoundGlobals {
    WaveDevice device;
    MovieWaveOutput system{SystemOpen, SystemWrite, SystemClose, &device};
    MovieWaveOutput output = system;
    Movie owner = nullptr;  // the movie the output plays; one at a time
    bool toldSilent = false;
};

SoundGlobals& S() {
    static SoundGlobals s;
    return s;
}

}  // namespace

Track SoundTrack(Movie movie) {
    if (!movie)
        return nullptr;
    for (TrackRecord* t : movie->tracks)
        if (t->type == 0x736F756E /* 'soun' */ && t->enabled && t->sound.playable && t->sound.frames > 0)
            return t;
    return nullptr;
}

bool DecodeSound(Movie movie, Track track, int64_t first, int64_t count, std::vector<int16_t>& out) {
    SoundFormat& f = track->sound;
    long channels = std::min<long>(f.channels, 2);
    out.assign(size_t(std::max<int64_t>(count, 0)) * size_t(channels), 0);
    if (count <= 0)
        return true;
    auto chunk = std::upper_bound(f.chunks.begin(), f.chunks.end(), first,
                                  [](int64_t frame, const SoundChunk& c) { return frame < c.firstFrame; });
    if (chunk != f.chunks.begin())
        --chunk;
    std::vector<unsigned char> bytes;
    std::vector<int16_t> packet;
    int64_t done = 0;
    for (; chunk != f.chunks.end() && done < count; ++chunk) {
        int64_t from = std::max<int64_t>(first + done - chunk->firstFrame, 0);
        if (from >= chunk->frames)
            continue;
        int64_t take = std::min(chunk->frames - from, count - done);
        if (f.ima4) {
            // The whole chunk: the predictor runs on from packet to packet and
            // from the previous chunk, whose end state is kept once known.
            int64_t packets = (chunk->frames + 63) / 64;
            bytes.resize(size_t(packets * 34 * f.channels));
            if (!ReadAt(movie->file, chunk->offset, bytes.data(), DWORD(bytes.size())))
                return false;
            packet.assign(size_t(packets * 64 * f.channels), 0);
            std::vector<int> predictor(size_t(f.channels), 0), index(size_t(f.channels), 0);
            if (chunk != f.chunks.begin()) {
                auto previous = chunk - 1;
                if (previous->imaEnd.size() == size_t(2 * f.channels)) {
                    for (long c = 0; c < f.channels; ++c) {
                        predictor[size_t(c)] = previous->imaEnd[size_t(2 * c)];
                        index[size_t(c)] = previous->imaEnd[size_t(2 * c + 1)];
                    }
                } else {
                    // Unknown (a jump): its last packet comes close enough.
                    std::vector<unsigned char> last(size_t(34 * f.channels));
                    std::vector<int16_t> scratch(size_t(64 * f.channels));
                    int64_t at = previous->offset + ((previous->frames + 63) / 64 - 1) * 34 * f.channels;
                    if (ReadAt(movie->file, at, last.data(), DWORD(last.size())))
                        for (long c = 0; c < f.channels; ++c)
                            DecodeImaPacket(last.data() + c * 34, predictor[size_t(c)], index[size_t(c)],
                                            scratch.data() + c, f.channels);
                }
            }
            for (int64_t p = 0; p < packets; ++p)
                for (long c = 0; c < f.channels; ++c)
                    DecodeImaPacket(bytes.data() + (p * f.channels + c) * 34, predictor[size_t(c)],
                                    index[size_t(c)], packet.data() + p * 64 * f.channels + c, f.channels);
            chunk->imaEnd.clear();
            for (long c = 0; c < f.channels; ++c) {
                chunk->imaEnd.push_back(predictor[size_t(c)]);
                chunk->imaEnd.push_back(index[size_t(c)]);
            }
            for (int64_t i = 0; i < take; ++i)
                for (long c = 0; c < channels; ++c)
                    out[size_t((done + i) * channels + c)] = packet[size_t((from + i) * f.channels + c)];
        } else {
            long width = f.bits / 8;
            long frameBytes = width * f.channels;
            bytes.resize(size_t(take * frameBytes));
            if (!ReadAt(movie->file, chunk->offset + from * frameBytes, bytes.data(), DWORD(bytes.size())))
                return false;
            for (int64_t i = 0; i < take; ++i)
                for (long c = 0; c < channels; ++c) {
                    const unsigned char* b = bytes.data() + i * frameBytes + c * width;
                    int16_t v;
                    if (width == 1)
                        v = int16_t(f.bigEndian && track->codec != 0x72617720 /* 'raw ' */ ? int8_t(b[0]) * 256
                                                                                          : (b[0] - 128) * 256);
                    else
                        v = int16_t(f.bigEndian ? (b[0] << 8) | b[1] : (b[1] << 8) | b[0]);
                    out[size_t((done + i) * channels + c)] = v;
                }
        }
        done += take;
    }
    return true;
}

void StopSound(Movie movie) {
    SoundGlobals& g = S();
    if (!movie || !movie->soundOn)
        return;
    movie->soundOn = false;
    if (g.owner == movie) {
        g.output.close(g.output.refCon);
        g.owner = nullptr;
    }
}

void FeedSound(Movie movie) {
    SoundGlobals& g = S();
    Track track = SoundTrack(movie);
    if (!track || movie->rate <= 0 || movie->volume <= 0 || movie->scale <= 0) {
        StopSound(movie);
        return;
    }
    const SoundFormat& f = track->sound;
    long channels = std::min<long>(f.channels, 2);
    int64_t now = movie->time * f.rate / movie->scale;
    int64_t lead = int64_t(f.rate) * kLeadMs / 1000;
    // A jump (a new time, a stop) starts the output over from the movie's time.
    if (movie->soundOn && (g.owner != movie || movie->soundNext < now || movie->soundNext > now + lead + 1))
        StopSound(movie);
    if (!movie->soundOn) {
        if (g.owner)
            StopSound(g.owner);
        if (g.output.open(f.rate, channels, g.output.refCon) != 0) {
            if (!g.toldSilent)
                LogCall("no sound device: the pictures play without their sound");
            g.toldSilent = true;
            return;
        }
        g.owner = movie;
        movie->soundOn = true;
        movie->soundNext = now;
    }
    int64_t end = std::min(now + lead, f.frames);
    if (end <= movie->soundNext)
        return;
    std::vector<int16_t> samples;
    if (!DecodeSound(movie, track, movie->soundNext, end - movie->soundNext, samples))
        samples.assign(size_t(end - movie->soundNext) * size_t(channels), 0);  // unreadable: silence keeps the step
    if (movie->volume < 0x100)
        for (int16_t& v : samples)
            v = int16_t(v * movie->volume / 0x100);
    g.output.write(samples.data(), long(end - movie->soundNext), channels, g.output.refCon);
    movie->soundNext = end;
}

MOVIE_API void SetMovieVolume(Movie movie, short volume) {
    LogCall("SetMovieVolume %d", int(volume));
    if (!movie)
        return;
    // Below 0 is muted, keeping the level to come back to.
    movie->volume = volume < -0x100 ? short(-0x100) : volume > 0x100 ? short(0x100) : volume;
    if (movie->volume <= 0)
        StopSound(movie);
}

MOVIE_API short GetMovieVolume(Movie movie) {
    return movie ? movie->volume : 0;
}

MOVIE_API void MovieLayerSetWaveOutput(const MovieWaveOutput* output) {
    SoundGlobals& g = S();
    if (g.owner)
        StopSound(g.owner);
    g.output = output ? *output : g.system;
    g.toldSilent = false;
}
