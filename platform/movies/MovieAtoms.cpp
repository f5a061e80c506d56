// Our movie layer, in place of the movie library the program cannot ship (see MovieLayer.h):
// its atom reader: the tracks and sample tables of a movie.
#include "platform/movies/MovieInternal.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Every atom: size u32 BE (header included) | type 4 chars | contents.
// Read here: moov > mvhd, trak > tkhd, mdia > mdhd, hdlr, minf > stbl >
// stsd, stts, stsz, stsc, stco, co64; every other atom is skipped. Sizes 0
// and 1 are refused, and nesting stops at 32 levels.
const int kMaxDepth = 32;
const uint32_t kMaxSamples = 4u << 20;
const uint32_t kMaxMovieAtom = 64u << 20;

OSType Code(const char* s) {
    return (OSType(uint8_t(s[0])) << 24) | (OSType(uint8_t(s[1])) << 16) | (OSType(uint8_t(s[2])) << 8) |
           uint8_t(s[3]);
}

class Reader {
public:
    Reader(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}
    bool has(size_t n) const { return size_t(end_ - p_) >= n; }
    bool u8(uint32_t& v) {
        if (!has(1))
            return false;
        v = *p_++;
        return true;
    }
    bool u16(uint32_t& v) {
        if (!has(2))
            return false;
        v = (uint32_t(p_[0]) << 8) | p_[1];
        p_ += 2;
        return true;
    }
    bool u32(uint32_t& v) {
        if (!has(4))
            return false;
        v = (uint32_t(p_[0]) << 24) | (uint32_t(p_[1]) << 16) | (uint32_t(p_[2]) << 8) | p_[3];
        p_ += 4;
        return true;
    }
    bool u64(uint64_t& v) {
        uint32_t hi, lo;
        if (!u32(hi) || !u32(lo))
            return false;
        v = (uint64_t(hi) << 32) | lo;
        return true;
    }
    bool skip(size_t n) {
        if (!has(n))
            return false;
        p_ += n;
        return true;
    }
    const unsigned char* at() const { return p_; }
    const unsigned char* end() const { return end_; }

private:
    const unsigned char* p_;
    const unsigned char* end_;
};

struct Tables {
    std::vector<std::pair<uint32_t, uint32_t>> stts;  // count, duration
    std::vector<uint32_t> sizes;
    uint32_t uniformSize = 0, sampleCount = 0;
    std::vector<uint32_t> stscFirst, stscPerChunk;
    std::vector<uint64_t> chunks;
};

struct Parse {
    MovieRecord& movie;
    int64_t base;
    int64_t fileSize;
    bool sawHeader = false;
    TrackRecord* track = nullptr;
    Tables tables;
};

bool ParseAtoms(Parse& s, Reader r, int depth);

// 'mvhd' and 'mdhd': version u8 | flags u24 | creation and modification
// times (u32 each, u64 in version 1) | time scale u32 | duration (u32, u64).
bool ReadTimeHeader(Reader& r, uint32_t& scale, uint64_t& duration) {
    uint32_t version, d32;
    if (!r.u8(version) || !r.skip(3))
        return false;
    if (version == 1) {
        if (!r.skip(16) || !r.u32(scale) || !r.u64(duration))
            return false;
    } else {
        if (!r.skip(8) || !r.u32(scale) || !r.u32(d32))
            return false;
        duration = d32;
    }
    return scale != 0 && scale <= 0x7FFFFFFF;
}

bool ReadMvhd(Parse& s, Reader r) {
    uint32_t scale;
    uint64_t d64;
    if (!ReadTimeHeader(r, scale, d64) || d64 > 0x7FFFFFFF)
        return false;
    s.movie.scale = TimeScale(scale);
    s.movie.duration = TimeValue(d64);
    s.sawHeader = true;
    return true;
}

bool ReadTkhd(Parse& s, Reader r) {
    uint32_t version, flags, d32, w, h;
    uint64_t d64 = 0;
    if (!r.u8(version) || !r.u8(flags) || !r.u16(flags))
        return false;
    if (version == 1) {
        if (!r.skip(16 + 4 + 4) || !r.u64(d64))
            return false;
    } else {
        if (!r.skip(8 + 4 + 4) || !r.u32(d32))
            return false;
        d64 = d32;
    }
    // reserved 8, layer 2, group 2, volume 2, reserved 2, matrix 36, width, height (16.16).
    if (!r.skip(52) || !r.u32(w) || !r.u32(h))
        return false;
    s.track->enabled = (flags & 1) != 0;
    s.track->duration = TimeValue(std::min<uint64_t>(d64, 0x7FFFFFFF));
    s.track->width = long(w >> 16);
    s.track->height = long(h >> 16);
    return true;
}

bool ReadMdhd(Parse& s, Reader r) {
    uint32_t scale;
    uint64_t d64;
    if (!ReadTimeHeader(r, scale, d64))
        return false;
    s.track->mediaScale = TimeScale(scale);
    s.track->mediaDuration = TimeValue(std::min<uint64_t>(d64, 0x7FFFFFFF));
    return true;
}

bool ReadHdlr(Parse& s, Reader r) {
    uint32_t skipped, component, type;
    if (!r.u32(skipped) || !r.u32(component) || !r.u32(type))
        return false;
    // The data handler's 'hdlr' inside 'minf' names no media type.
    if (component != Code("dhlr"))
        s.track->type = type;
    return true;
}

// Sample description: count, then entries size | format | reserved 6 |
// data reference 2; a video entry then has version, revision, vendor,
// temporal and spatial quality, width u16 and height u16.
bool ReadStsd(Parse& s, Reader r) {
    uint32_t count, size, format, w = 0, h = 0;
    if (!r.skip(4) || !r.u32(count) || count == 0 || !r.u32(size) || !r.u32(format))
        return false;
    s.track->codec = format;
    if (s.track->type == Code("soun")) {
        // Sound: version, revision, vendor, channels, sample size, compression
        // id, packet size, then the rate in 16.16.
        uint32_t version = 0, channels = 0, bits = 0, rate = 0;
        SoundFormat& f = s.track->sound;
        if (r.skip(6 + 2) && r.u16(version) && r.skip(2 + 4) && r.u16(channels) && r.u16(bits) && r.skip(4) &&
            r.u32(rate)) {
            f.channels = long(channels);
            f.bits = long(bits);
            f.rate = long(rate >> 16);
            f.ima4 = format == Code("ima4");
            f.bigEndian = format != Code("sowt");
            bool pcm = format == Code("twos") || format == Code("sowt") || format == Code("raw ");
            f.playable = channels >= 1 && channels <= 8 && f.rate > 0 &&
                         ((pcm && (bits == 8 || bits == 16)) || f.ima4);
        }
        return true;
    }
    if (r.skip(6 + 2 + 16) && r.u16(w) && r.u16(h)) {
        s.track->codecWidth = long(w);
        s.track->codecHeight = long(h);
    }
    return true;
}

bool ReadCounted(Reader& r, uint32_t& n, size_t entryBytes) {
    return r.skip(4) && r.u32(n) && n <= kMaxSamples && r.has(size_t(n) * entryBytes);
}

bool ReadStts(Parse& s, Reader r) {
    uint32_t n;
    if (!ReadCounted(r, n, 8))
        return false;
    s.tables.stts.resize(n);
    for (auto& e : s.tables.stts)
        r.u32(e.first), r.u32(e.second);
    return true;
}

bool ReadStsz(Parse& s, Reader r) {
    uint32_t uniform, n;
    if (!r.skip(4) || !r.u32(uniform) || !r.u32(n) || n > kMaxSamples)
        return false;
    s.tables.uniformSize = uniform;
    s.tables.sampleCount = n;
    if (uniform == 0) {
        if (!r.has(size_t(n) * 4))
            return false;
        s.tables.sizes.resize(n);
        for (auto& v : s.tables.sizes)
            r.u32(v);
    }
    return true;
}

bool ReadStsc(Parse& s, Reader r) {
    uint32_t n, skipped;
    if (!ReadCounted(r, n, 12))
        return false;
    s.tables.stscFirst.resize(n);
    s.tables.stscPerChunk.resize(n);
    for (uint32_t i = 0; i < n; ++i)
        r.u32(s.tables.stscFirst[i]), r.u32(s.tables.stscPerChunk[i]), r.u32(skipped);
    return true;
}

bool ReadChunkOffsets(Parse& s, Reader r, bool wide) {
    uint32_t n;
    if (!ReadCounted(r, n, wide ? 8 : 4))
        return false;
    s.tables.chunks.resize(n);
    for (auto& c : s.tables.chunks) {
        if (wide) {
            r.u64(c);
        } else {
            uint32_t v = 0;
            r.u32(v);
            c = v;
        }
    }
    return true;
}

// Builds the track's samples from its tables, each lying inside the file.
bool BuildSamples(Parse& s) {
    Tables& t = s.tables;
    TrackRecord& track = *s.track;
    uint32_t count = t.sampleCount;
    if (count == 0)
        return true;
    if (t.stscFirst.empty() || t.chunks.empty())
        return false;
    track.samples.resize(count);
    // Times.
    size_t at = 0;
    int64_t time = 0;
    for (auto& e : t.stts) {
        for (uint32_t i = 0; i < e.first && at < count; ++i, ++at) {
            if (time > 0x7FFFFFFF)
                return false;
            track.samples[at].time = TimeValue(time);
            track.samples[at].duration = TimeValue(e.second);
            time += e.second;
        }
    }
    if (at != count)
        return false;
    // Offsets: runs of chunks with the same number of samples.
    size_t sample = 0;
    for (size_t run = 0; run < t.stscFirst.size() && sample < count; ++run) {
        uint64_t first = t.stscFirst[run];
        uint64_t last = run + 1 < t.stscFirst.size() ? t.stscFirst[run + 1] : t.chunks.size() + 1;
        if (first == 0 || last < first || last > t.chunks.size() + 1 || t.stscPerChunk[run] == 0)
            return false;
        for (uint64_t chunk = first; chunk < last && sample < count; ++chunk) {
            int64_t offset = int64_t(t.chunks[chunk - 1]);
            for (uint32_t i = 0; i < t.stscPerChunk[run] && sample < count; ++i, ++sample) {
                uint32_t size = t.uniformSize ? t.uniformSize : t.sizes[sample];
                Sample& out = track.samples[sample];
                out.offset = s.base + offset;
                out.size = size;
                if (offset < 0 || out.offset + int64_t(size) > s.fileSize)
                    return false;
                offset += size;
            }
        }
    }
    return sample == count;
}

// A playable sound track's chunks in sample frames. Writers count a chunk's
// samples either in frames or, for IMA 4:1, in packets of 64 frames: the
// total of the time table tells which.
void BuildSoundChunks(Parse& s) {
    Tables& t = s.tables;
    SoundFormat& f = s.track->sound;
    if (!f.playable || t.stscFirst.empty() || t.chunks.empty())
        return;
    int64_t timeTotal = 0;
    for (auto& e : t.stts)
        timeTotal += int64_t(e.first) * e.second;
    int64_t units = 0;
    std::vector<int64_t> perChunk(t.chunks.size(), 0);
    for (size_t run = 0; run < t.stscFirst.size(); ++run) {
        uint64_t first = t.stscFirst[run];
        uint64_t last = run + 1 < t.stscFirst.size() ? t.stscFirst[run + 1] : t.chunks.size() + 1;
        if (first == 0 || last < first || last > t.chunks.size() + 1)
            return;
        for (uint64_t chunk = first; chunk < last; ++chunk) {
            perChunk[chunk - 1] = t.stscPerChunk[run];
            units += t.stscPerChunk[run];
        }
    }
    if (units <= 0)
        return;
    int64_t totalFrames = s.track->mediaScale > 0 ? timeTotal * f.rate / s.track->mediaScale : timeTotal;
    int64_t framesPerUnit = f.ima4 && totalFrames >= units * 32 ? 64 : 1;
    int64_t frame = 0;
    for (size_t i = 0; i < t.chunks.size(); ++i) {
        int64_t frames = perChunk[i] * framesPerUnit;
        int64_t bytes = f.ima4 ? (frames + 63) / 64 * 34 * f.channels : frames * f.channels * (f.bits / 8);
        int64_t offset = s.base + int64_t(t.chunks[i]);
        if (frames == 0)
            continue;
        if (offset + bytes > s.fileSize) {
            f.playable = false;  // a damaged table: the pictures play silently
            f.chunks.clear();
            return;
        }
        f.chunks.push_back({offset, frame, frames, {}});
        frame += frames;
    }
    f.frames = frame;
}

bool ParseTrack(Parse& s, Reader r, int depth) {
    auto track = std::make_unique<TrackRecord>();
    track->movie = &s.movie;
    s.track = track.get();
    s.tables = Tables();
    bool ok = ParseAtoms(s, r, depth) && BuildSamples(s);
    if (ok)
        BuildSoundChunks(s);
    s.track = nullptr;
    if (!ok)
        return false;
    s.movie.tracks.push_back(track.release());
    return true;
}

bool ParseAtoms(Parse& s, Reader r, int depth) {
    if (depth > kMaxDepth)
        return false;
    while (r.has(1)) {
        uint32_t size;
        char type[4];
        if (!r.u32(size) || !r.has(4))
            return false;
        std::memcpy(type, r.at(), 4);
        r.skip(4);
        if (size < 8 || !r.has(size - 8))
            return false;
        Reader inner(r.at(), r.at() + (size - 8));
        r.skip(size - 8);
        OSType code = Code(type);
        bool inTrack = s.track != nullptr;
        bool ok = true;
        if (code == Code("trak") && !inTrack)
            ok = ParseTrack(s, inner, depth + 1);
        else if (code == Code("mvhd") && !inTrack)
            ok = ReadMvhd(s, inner);
        else if (!inTrack)
            ok = true;
        else if (code == Code("mdia") || code == Code("minf") || code == Code("stbl"))
            ok = ParseAtoms(s, inner, depth + 1);
        else if (code == Code("tkhd"))
            ok = ReadTkhd(s, inner);
        else if (code == Code("mdhd"))
            ok = ReadMdhd(s, inner);
        else if (code == Code("hdlr"))
            ok = ReadHdlr(s, inner);
        else if (code == Code("stsd"))
            ok = ReadStsd(s, inner);
        else if (code == Code("stts"))
            ok = ReadStts(s, inner);
        else if (code == Code("stsz"))
            ok = ReadStsz(s, inner);
        else if (code == Code("stsc"))
            ok = ReadStsc(s, inner);
        else if (code == Code("stco") || code == Code("co64"))
            ok = ReadChunkOffsets(s, inner, code == Code("co64"));
        if (!ok)
            return false;
    }
    return true;
}

bool ReadAt(HANDLE file, int64_t offset, void* buffer, DWORD count) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD done = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, count, &done, nullptr) &&
           done == count;
}

}  // namespace

OSErr ReadMovieAtoms(HANDLE file, int64_t offset, MovieRecord& movie) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || offset < 0 || offset > size.QuadPart)
        return kMovieErrBadFile;
    // Top level: find the 'moov' atom; what follows a found movie may be the container's.
    int64_t at = offset;
    std::vector<unsigned char> moov;
    while (at + 8 <= size.QuadPart) {
        unsigned char header[8];
        if (!ReadAt(file, at, header, 8))
            return kMovieErrBadFile;
        uint32_t atomSize = (uint32_t(header[0]) << 24) | (uint32_t(header[1]) << 16) | (uint32_t(header[2]) << 8) |
                            header[3];
        if (atomSize < 8 || at + atomSize > size.QuadPart)
            return kMovieErrBadFile;
        if (std::memcmp(header + 4, "moov", 4) == 0) {
            if (atomSize > kMaxMovieAtom)
                return kMovieErrBadFile;
            try {
                moov.resize(atomSize - 8);
            } catch (const std::bad_alloc&) {
                return kMovieErrMemory;
            }
            if (!ReadAt(file, at + 8, moov.data(), DWORD(moov.size())))
                return kMovieErrBadFile;
            break;
        }
        at += atomSize;
    }
    if (moov.empty())
        return kMovieErrBadFile;
    Parse s{movie, offset, size.QuadPart, false, nullptr, Tables()};
    bool ok;
    try {
        ok = ParseAtoms(s, Reader(moov.data(), moov.data() + moov.size()), 1) && s.sawHeader;
    } catch (const std::bad_alloc&) {
        DisposeTracks(movie);
        return kMovieErrMemory;
    }
    if (!ok) {
        DisposeTracks(movie);
        return kMovieErrBadFile;
    }
    // The box: the largest enabled visual track.
    for (TrackRecord* t : movie.tracks) {
        if (t->type == Code("vide") && t->enabled && t->width > 0 && t->height > 0) {
            movie.naturalBox.right = int16_t(std::min<long>(std::max<long>(movie.naturalBox.right, t->width), 0x7FFF));
            movie.naturalBox.bottom =
                int16_t(std::min<long>(std::max<long>(movie.naturalBox.bottom, t->height), 0x7FFF));
        }
        if (t->mediaScale == 0)
            t->mediaScale = movie.scale;
    }
    movie.box = movie.naturalBox;
    return 0;
}

void DisposeTracks(MovieRecord& movie) {
    for (TrackRecord* t : movie.tracks)
        delete t;
    movie.tracks.clear();
}
