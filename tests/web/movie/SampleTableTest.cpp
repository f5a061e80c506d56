// The sample-table reader over hand-made atom trees, and its searches.
#include "web/movie/SampleTable.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/base/procedural/FileTestSupport.h"

namespace {

std::string Be32(uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
std::string Atom(const char* type, const std::string& contents) {
    return Be32(uint32_t(contents.size() + 8)) + type + contents;
}
std::string Stts(std::initializer_list<std::pair<uint32_t, uint32_t>> entries) {
    std::string s = Be32(0) + Be32(uint32_t(entries.size()));
    for (auto& e : entries)
        s += Be32(e.first) + Be32(e.second);
    return Atom("stts", s);
}
std::string Track(const std::string& stts) {
    return Atom("trak", Atom("tkhd", std::string(84, '\0')) +
                            Atom("mdia", Atom("minf", Atom("vmhd", std::string(12, '\0')) +
                                                          Atom("stbl", stts))));
}

class SampleTableTest : public TempFolderTest {
protected:
    void* read(const std::string& bytes, long track, long start = 0, long end = 0) {
        WriteAll(PathOf("m.mov"), bytes);
        AMovieFile file;
        file.spec = AFileSpec(PathOf("m.mov").c_str());
        file.start = start;
        file.end = end;
        return SampleTableRead(file, track);
    }
};

TEST_F(SampleTableTest, TimesAndSamplesOfTheTwoEntryTable) {
    void* table = read(Atom("moov", Track(Stts({{10, 100}, {5, 50}}))), 1);
    ASSERT_NE(nullptr, table);
    EXPECT_EQ(3, SampleTableCount(table));
    struct Row {
        long sample, time;
    } toTime[] = {{0, 0}, {10, 1000}, {15, 1250}, {12, 1100}, {-1, 0}, {-100, 0}, {99, 1250}};
    for (const Row& r : toTime) {
        SCOPED_TRACE(r.sample);
        EXPECT_EQ(r.time, SampleTableSampleToTime(table, r.sample));
    }
    Row toSample[] = {{0, 0}, {0, 99}, {1, 100}, {12, 1100}, {10, 1000}, {14, 1249}, {15, 1250},
                      {15, 100000}, {0, -1}, {0, -50000}};
    for (const Row& r : toSample) {
        SCOPED_TRACE(r.time);
        EXPECT_EQ(r.sample, SampleTableTimeToSample(table, r.time));
    }
    EXPECT_EQ(nullptr, SampleTableFree(table));
}

TEST_F(SampleTableTest, WhichTrackAndWhichFilesGiveATable) {
    const std::string two = Atom("moov", Track(Stts({{3, 7}})) + Track(Stts({{4, 9}})));
    struct Row {
        const char* what;
        std::string bytes;
        long track;
        long samples;  // -1: no table
    } rows[] = {
        {"first track", two, 1, 3},
        {"second track ignores the first's table", two, 2, 4},
        {"no such track", two, 3, -1},
        {"free atom before the movie", Atom("free", "xyz") + two, 2, 4},
        {"leaf atom declaring 4 bytes", Atom("moov", Be32(4) + "udta" + Track(Stts({{3, 7}}))), 1, -1},
        {"size 0", Be32(0) + "moov" + Track(Stts({{3, 7}})), 1, -1},
        {"size 1", Be32(1) + "moov" + Track(Stts({{3, 7}})), 1, -1},
        {"table larger than its atom", Atom("moov", Atom("trak", Atom("stts", Be32(0) + Be32(2) + Be32(1) + Be32(1)))),
         1, -1},
        {"count that overflows the block", Atom("moov", Atom("trak", Atom("stts", Be32(0) + Be32(0xFFFFFFF0)))), 1,
         -1},
        {"child past its parent's end", Atom("moov", Atom("trak", "")) .substr(0, 8) + Be32(20) + "abcd", 1, -1},
        {"truncated file", two.substr(0, two.size() - 3), 2, -1},
        {"empty file", std::string(), 1, -1},
        {"sample total past 32 bits", Atom("moov", Track(Stts({{0x7FFFFFFF, 1}, {2, 1}}))), 1, -1},
        {"time past 32 bits", Atom("moov", Track(Stts({{3, 7}, {2, 0x7FFFFFFF}}))), 1, -1},
        {"time past 64 bits in one entry", Atom("moov", Track(Stts({{0xFFFFFFFF, 0xFFFFFFFF}}))), 1, -1},
        {"the largest time", Atom("moov", Track(Stts({{1, 0x7FFFFFFE}, {1, 1}}))), 1, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        void* table = read(r.bytes, r.track);
        if (r.samples < 0) {
            EXPECT_EQ(nullptr, table);
        } else {
            ASSERT_NE(nullptr, table);
            EXPECT_EQ(r.samples, SampleTableTimeToSample(table, 0x7FFFFFFF));
        }
        SampleTableFree(table);
    }
}

TEST_F(SampleTableTest, NestingDeeperThanTheLimitIsRefused) {
    for (int depth : {30, 40}) {
        SCOPED_TRACE(depth);
        std::string tree = Track(Stts({{2, 5}}));
        for (int i = 0; i < depth; ++i)
            tree = Atom("edts", tree);
        void* table = read(Atom("moov", tree), 1);
        EXPECT_EQ(depth < kSampleTableMaxDepth - 2, table != nullptr);
        SampleTableFree(table);
    }
}

TEST_F(SampleTableTest, AMovieInsideAContainerIsReadFromItsRange) {
    const std::string movie = Atom("moov", Track(Stts({{6, 2}})));
    const std::string bytes = std::string(1000, 'x') + movie + Atom("moov", Track(Stts({{9, 2}})));
    void* table = read(bytes, 1, 1000, 1000 + long(movie.size()));
    ASSERT_NE(nullptr, table);
    EXPECT_EQ(6, SampleTableTimeToSample(table, 1000));
    SampleTableFree(table);
    EXPECT_EQ(nullptr, read(bytes, 2, 1000, 1000 + long(movie.size())));
}

}  // namespace

namespace {

// Each generated movie's video table against ffprobe's packet times, whole
// and inside its container.
TEST(SampleTableOnMovies, EverySampleStartsWhereFfprobeSaysItsPacketDoes) {
    for (const char* name : {"mjpeg_sound.mov", "h264.mp4", "odd.mov", "ntsc.mov"}) {
        std::istringstream in(ReadAll(std::string(SV_MOVIE_SAMPLES) + name + ".probe"));
        long width, height, frames, timeBase, durationMs, t;
        in >> width >> height >> frames >> timeBase >> durationMs;
        std::vector<long> times;
        while (in >> t)
            times.push_back(t);
        long size = long(ReadAll(std::string(SV_MOVIE_SAMPLES) + name).size());
        for (bool contained : {false, true}) {
            SCOPED_TRACE(std::string(name) + (contained ? " in a container" : ""));
            AMovieFile file;
            file.spec = AFileSpec((std::string(SV_MOVIE_SAMPLES) + name + (contained ? ".bin" : "")).c_str());
            if (contained) {
                file.start = 777;
                file.end = 777 + size;
            }
            void* table = SampleTableRead(file, 1);
            ASSERT_NE(nullptr, table);
            ASSERT_EQ(frames, long(times.size()));
            for (long i = 0; i < frames; ++i) {
                ASSERT_EQ(times[i], SampleTableSampleToTime(table, i)) << i;
                ASSERT_EQ(i, SampleTableTimeToSample(table, times[i])) << i;
            }
            EXPECT_EQ(frames, SampleTableTimeToSample(table, 0x7FFFFFFF));
            SampleTableFree(table);
        }
    }
}

}  // namespace

namespace {

// Damaged copies of a real movie: each gives a table or none, never a crash,
// and a table always counts its sentinel.
TEST_F(SampleTableTest, DamagedMoviesGiveATableOrNone) {
    const std::string original = ReadAll(std::string(SV_MOVIE_SAMPLES) + "odd.mov");
    size_t moov = original.find("moov");
    ASSERT_NE(std::string::npos, moov);
    std::mt19937 random(105);
    int tables = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = original;
        if (i % 10 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            for (int n = 1 + int(random() % 4); n > 0; --n) {
                size_t at = moov - 4 + random() % (bytes.size() - moov + 4);
                bytes[at] = char(i % 2 ? random() : bytes[at] ^ (1 << (random() % 8)));
            }
        }
        void* table = read(bytes, 1);
        if (table) {
            ++tables;
            ASSERT_GE(SampleTableCount(table), 1);
            SampleTableTimeToSample(table, 1000);
            SampleTableSampleToTime(table, 5);
        }
        SampleTableFree(table);
    }
    EXPECT_GT(tables, 100);
}

}  // namespace
