// Our movie layer against ffprobe and ffmpeg on generated movies, its clock,
// and damaged movie files.
#include "platform/movies/MovieLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/base/procedural/FileTestSupport.h"

namespace {

std::string SamplePath(const std::string& name) {
    return std::string(SV_MOVIE_SAMPLES) + name;
}

struct Probe {
    long width = 0, height = 0, frames = 0, timeBase = 0, durationMs = 0;
    std::vector<long> times;
};

Probe ReadProbe(const std::string& name) {
    Probe p;
    std::istringstream in(ReadAll(SamplePath(name + ".probe")));
    in >> p.width >> p.height >> p.frames >> p.timeBase >> p.durationMs;
    long t;
    while (in >> t)
        p.times.push_back(t);
    return p;
}

// The wave output of the tests: what the layer hands over, in order.
struct WaveCapture {
    bool noDevice = false;
    long rate = 0, channels = 0;
    int opens = 0, closes = 0;
    std::vector<int16_t> samples;
    std::vector<long> writes;  // frames per write

    MovieWaveOutput output() {
        return MovieWaveOutput{
            [](long r, long c, void* self) -> long {
                auto* w = static_cast<WaveCapture*>(self);
                if (w->noDevice)
                    return 1;
                ++w->opens;
                w->rate = r;
                w->channels = c;
                return 0;
            },
            [](const int16_t* data, long frames, long c, void* self) {
                auto* w = static_cast<WaveCapture*>(self);
                w->samples.insert(w->samples.end(), data, data + frames * c);
                w->writes.push_back(frames);
            },
            [](void* self) { ++static_cast<WaveCapture*>(self)->closes; }, this};
    }
    long frames() const { return channels ? long(samples.size()) / channels : 0; }
};

class MovieLayerTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_EQ(0, InitializeQTML(0));
        ASSERT_EQ(0, EnterMovies());
    }
    void TearDown() override {
        ExitMovies();
        TerminateQTML();
        MovieLayerSetClock(0);
        MovieLayerSetWaveOutput(nullptr);
        MovieLayerSetLogging(FALSE);
        MovieLayerClearLog();
        TempFolderTest::TearDown();
    }
    // The movie of the file, from offset in its data fork when offset >= 0.
    OSErr open(const std::string& path, long offset, Movie* movie) {
        MovieFileSpec spec;
        EXPECT_EQ(0, NativePathNameToFSSpec(path.c_str(), &spec, 0));
        short ref = 0;
        if (offset < 0) {
            OSErr err = OpenMovieFile(&spec, &ref, 1);
            if (err)
                return err;
            short resId = 0;
            err = NewMovieFromFile(movie, ref, &resId, nullptr, 0, nullptr);
            CloseMovieFile(ref);
            return err;
        }
        OSErr err = FSpOpenDF(&spec, 1, &ref);
        if (err)
            return err;
        err = NewMovieFromDataFork(movie, ref, offset, 0, nullptr);
        FSClose(ref);
        return err;
    }
};

TEST_F(MovieLayerTest, EveryMovieAgreesWithFfprobeWholeAndInsideAContainer) {
    for (const char* name : {"mjpeg_sound.mov", "h264.mp4", "odd.mov", "ntsc.mov"}) {
        const Probe probe = ReadProbe(name);
        ASSERT_GT(probe.frames, 0) << name;
        for (long offset : {-1L, 777L}) {
            SCOPED_TRACE(std::string(name) + (offset < 0 ? " whole" : " in a container"));
            Movie movie = nullptr;
            ASSERT_EQ(0, open(SamplePath(offset < 0 ? name : std::string(name) + ".bin"), offset, &movie));
            MovieRect box;
            GetMovieBox(movie, &box);
            EXPECT_EQ(probe.width, box.right - box.left);
            EXPECT_EQ(probe.height, box.bottom - box.top);
            MovieTimeRecord end{GetMovieDuration(movie), GetMovieTimeScale(movie), GetMovieTimeBase(movie)};
            EXPECT_NEAR(probe.durationMs, ConvertTimeScale(&end, 1000), 1);
            Track video = GetMovieIndTrackType(movie, 1, 0x76696465 /* vide */, 5);
            ASSERT_NE(nullptr, video);
            Media media = GetTrackMedia(video);
            EXPECT_EQ(probe.timeBase, GetMediaTimeScale(media));
            ASSERT_EQ(probe.frames, GetMediaSampleCount(media));
            for (long i = 0; i < probe.frames && i < long(probe.times.size()); ++i) {
                TimeValue t = -1, d = 0;
                SampleNumToMediaTime(media, i + 1, &t, &d);
                ASSERT_EQ(probe.times[i], t) << "sample " << i;
                long number = 0;
                MediaTimeToSampleNum(media, t, &number, nullptr, nullptr);
                ASSERT_EQ(i + 1, number);
            }
            EXPECT_EQ(std::string(name) == "mjpeg_sound.mov" ? 2 : 1, GetMovieTrackCount(movie));
            DisposeMovie(movie);
        }
    }
}

TEST_F(MovieLayerTest, TimeScalesConvertExactly) {
    struct Row {
        int64_t value;
        TimeScale from, to;
        TimeValue expected;
    } rows[] = {
        {1500, 1000, 600, 900},
        {1, 3, 1, 0},
        {-1, 3, 1, -1},
        {0x7FFFFFFF, 1000, 600, 1288490188},
        {2000000000, 30000, 12800, 853333333},
        {599, 600, 1000, 998},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        MovieTimeRecord t{r.value, r.from, nullptr};
        EXPECT_EQ(r.expected, ConvertTimeScale(&t, r.to));
    }
}

TEST_F(MovieLayerTest, TheManualClockPlaysAndTheFrameMatchesFfmpeg) {
    MovieLayerSetClock(1);
    Movie movie = nullptr;
    ASSERT_EQ(0, open(SamplePath("mjpeg_sound.mov"), -1, &movie));
    MovieController mc = NewMovieController(movie, nullptr, 0);
    ASSERT_NE(nullptr, mc);
    MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(0x10000));
    MovieLayerAdvanceClock(1000);
    MCIdle(mc);
    MovieTimeRecord now;
    GetMovieTime(movie, &now);
    EXPECT_EQ(1000, ConvertTimeScale(&now, 1000));
    // At half speed the next second adds 500 ms; past the end it stops there.
    MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(0x8000));
    MovieLayerAdvanceClock(1000);
    GetMovieTime(movie, &now);
    EXPECT_EQ(1500, ConvertTimeScale(&now, 1000));
    MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(0x10000));
    MovieLayerAdvanceClock(5000);
    EXPECT_EQ(0, GetMovieRate(movie));
    EXPECT_EQ(GetMovieDuration(movie), GetMovieTime(movie, nullptr));

    const std::string expected = ReadAll(SamplePath("mjpeg_sound.frame25.rgb"));
    std::vector<unsigned char> bits(160 * 120 * 3);
    long w = 0, h = 0;
    MovieTimeRecord second{1000, 1000, movie};
    ASSERT_EQ(0, GetMovieFrameBits(movie, ConvertTimeScale(&second, GetMovieTimeScale(movie)), bits.data(),
                                   long(bits.size()), &w, &h));
    ASSERT_EQ(160, w);
    ASSERT_EQ(expected.size(), bits.size());
    double total = 0;
    for (size_t i = 0; i < bits.size(); ++i)
        total += std::abs(int(bits[i]) - int(static_cast<unsigned char>(expected[i])));
    EXPECT_LT(total / double(bits.size()), 3.0);
    DisposeMovieController(mc);
    DisposeMovie(movie);
}

TEST_F(MovieLayerTest, FailuresAndTheCallLog) {
    MovieLayerSetLogging(TRUE);
    MovieLayerFailNext("OpenMovieFile", -43);
    Movie movie = nullptr;
    EXPECT_EQ(-43, open(SamplePath("odd.mov"), -1, &movie));
    EXPECT_EQ(0, open(SamplePath("odd.mov"), -1, &movie));
    EXPECT_EQ(kMovieErrFileNotFound, open(PathOf("missing.mov"), -1, &movie));
    WriteAll(PathOf("text.mov"), "not a movie at all");
    EXPECT_EQ(kMovieErrBadFile, open(PathOf("text.mov"), -1, &movie));
    EXPECT_EQ(kMovieErrBadFile, open(SamplePath("odd.mov"), 5, &movie)) << "an offset inside an atom";
    std::vector<char> log(4096);
    MovieLayerGetLog(log.data(), long(log.size()));
    EXPECT_EQ(0, std::string(log.data()).find("OpenMovieFile 1\nOpenMovieFile 1\nNewMovieFromFile 0\nCloseMovieFile\n"))
        << log.data();
}

// Damaged copies: every one opens or fails with an error, and an opened one
// answers and draws without harm.
TEST_F(MovieLayerTest, TenThousandMutatedMoviesOpenOrFail) {
    const std::string original = ReadAll(SamplePath("odd.mov"));
    size_t moov = original.find("moov");
    ASSERT_NE(std::string::npos, moov);
    std::mt19937 random(52);
    const std::string path = PathOf("mutated.mov");
    int opened = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string bytes = original;
        int kind = int(random() % 10);
        if (kind == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            // Mostly inside the movie atom, where the tables are.
            size_t from = kind < 8 ? moov - 4 : 0;
            for (int n = 1 + int(random() % 4); n > 0; --n) {
                size_t at = from + random() % (bytes.size() - from);
                bytes[at] = char(kind % 2 ? random() : bytes[at] ^ (1 << (random() % 8)));
            }
        }
        WriteAll(path, bytes);
        Movie movie = nullptr;
        OSErr err = open(path, -1, &movie);
        if (err) {
            ASSERT_EQ(nullptr, movie);
            ASSERT_LT(err, 0);
            continue;
        }
        ++opened;
        ASSERT_NE(nullptr, movie);
        TimeValue duration = GetMovieDuration(movie);
        for (TimeValue t : {TimeValue(0), duration / 2, duration}) {
            long w = 0, h = 0;
            GetMovieFrameBits(movie, t, nullptr, 0, &w, &h);
        }
        DisposeMovie(movie);
    }
    EXPECT_GT(opened, 100);
}

}  // namespace

TEST_F(MovieLayerTest, SoundTracksReachTheWaveOutputAsFfmpegDecodesThemInStepWithThePictures) {
    struct Row {
        const char* name;
        long channels;
        int tolerance;  // per sample
    } rows[] = {
        {"sound_sowt.mov", 1, 0},
        {"sound_twos.mov", 2, 0},
        {"sound_ima4.mov", 1, 0},
        {"sound_ima4_stereo.mov", 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string raw = ReadAll(SamplePath(std::string(row.name) + ".s16"));
        std::vector<int16_t> expected(raw.size() / 2);
        std::memcpy(expected.data(), raw.data(), expected.size() * 2);
        WaveCapture wave;
        MovieWaveOutput out = wave.output();
        MovieLayerSetWaveOutput(&out);
        MovieLayerSetClock(1);
        Movie movie = nullptr;
        ASSERT_EQ(0, open(SamplePath(row.name), -1, &movie));
        MovieController mc = NewMovieController(movie, nullptr, 0);
        MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(0x10000));
        // Uneven idle steps through the whole movie: the sound handed over
        // runs a fixed lead ahead of the pictures' time, never more than a
        // frame (40 ms) away from it.
        long maxSkew = 0;
        for (int step = 0; GetMovieRate(movie) != 0 && step < 1000; ++step) {
            MovieLayerAdvanceClock(7 + (step * 13) % 50);
            MCIdle(mc);
            MovieTimeRecord now;
            GetMovieTime(movie, &now);
            long movieMs = long(ConvertTimeScale(&now, 1000));
            long soundMs = long(int64_t(wave.frames()) * 1000 / 22050);
            long ahead = std::min<long>(movieMs + 200, long(expected.size() / size_t(row.channels) * 1000 / 22050));
            if (GetMovieRate(movie) != 0)
                maxSkew = std::max(maxSkew, std::abs(soundMs - ahead));
        }
        EXPECT_LE(maxSkew, 40);
        EXPECT_EQ(1, wave.opens);
        EXPECT_EQ(22050, wave.rate);
        EXPECT_EQ(row.channels, wave.channels);
        ASSERT_GE(expected.size(), wave.samples.size());
        EXPECT_GT(wave.samples.size(), expected.size() * 9 / 10) << "the whole track";
        int worst = 0;
        size_t firstBad = 0;
        for (size_t i = 0; i < wave.samples.size(); ++i) {
            int d = std::abs(int(wave.samples[i]) - int(expected[i]));
            if (d > worst) {
                worst = d;
                firstBad = i;
            }
        }
        EXPECT_LE(worst, row.tolerance) << "first worst at sample " << firstBad;

        // A jump starts the sound over at the new time; the mute button and a
        // volume of 0 stop it; half the volume halves the samples.
        wave = WaveCapture();
        MovieTimeRecord half{1000, 1000, movie};
        MCDoAction(mc, mcActionGoToTime, &half);
        SetMovieVolume(movie, 0x80);
        MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(0x10000));
        MovieLayerAdvanceClock(100);
        MCIdle(mc);
        ASSERT_GT(wave.frames(), 0);
        size_t at = size_t(22050) * size_t(row.channels);
        for (size_t i = 0; i < 64; ++i)
            EXPECT_NEAR(expected[at + i] / 2, wave.samples[i], 1 + row.tolerance) << i;
        SetMovieVolume(movie, -0x80);
        EXPECT_EQ(1, wave.closes) << "muted";
        long before = wave.frames();
        MovieLayerAdvanceClock(100);
        MCIdle(mc);
        EXPECT_EQ(before, wave.frames());
        SetMovieVolume(movie, 0x100);
        DisposeMovieController(mc);
        DisposeMovie(movie);
        MovieLayerSetWaveOutput(nullptr);
    }
}

TEST_F(MovieLayerTest, WithoutASoundDeviceThePicturesPlayAndTheLogSaysSoOnce) {
    WaveCapture wave;
    wave.noDevice = true;
    MovieWaveOutput out = wave.output();
    MovieLayerSetWaveOutput(&out);
    MovieLayerSetClock(1);
    MovieLayerSetLogging(TRUE);
    Movie movie = nullptr;
    ASSERT_EQ(0, open(SamplePath("sound_twos.mov"), -1, &movie));
    MovieController mc = NewMovieController(movie, nullptr, 0);
    MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(0x10000));
    for (int i = 0; i < 10; ++i) {
        MovieLayerAdvanceClock(50);
        MCIdle(mc);
    }
    EXPECT_EQ(500, long(int64_t(GetMovieTime(movie, nullptr)) * 1000 / GetMovieTimeScale(movie)))
        << "the pictures play on";
    std::vector<char> log(65536);
    MovieLayerGetLog(log.data(), long(log.size()));
    std::string text(log.data());
    size_t first = text.find("no sound device");
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, text.find("no sound device", first + 1));
    EXPECT_TRUE(wave.samples.empty());
    DisposeMovieController(mc);
    DisposeMovie(movie);
}
