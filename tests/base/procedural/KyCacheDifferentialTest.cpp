// The cached file layer against the direct one, and the buffered getc and
// putc against one system transfer per byte: the same generated operation
// sequences on two copies of a file must give the same answers and bytes.
#include "base/procedural/KyFile.h"
#include "base/procedural/KyFileInternal.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

using CachedAgainstDirect = TempFolderTest;

// xorshift32: the same sequences on every compiler and library.
struct Random {
    uint32_t state;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    long Below(long n) { return static_cast<long>(Next() % static_cast<uint32_t>(n)); }
};

// Letters of both cases, line ends and the bytes the tables below turn into line ends.
std::string Bytes(Random& r, long n) {
    static const char kAlphabet[] = "abAB xyZ\r\n\r\n";
    std::string s;
    for (long i = 0; i < n; ++i)
        s += kAlphabet[r.Below(sizeof kAlphabet - 1)];
    return s;
}

// 0: none; 1: lower-casing; 2: also 'x' to LF and 'y' to CR, so that line ends appear only
// after translation.
const unsigned char* Table(int which) {
    static unsigned char tables[2][256];
    for (int i = 0; i < 256; ++i) {
        tables[0][i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
        tables[1][i] = i == 'x' ? '\n' : i == 'y' ? '\r' : tables[0][i];
    }
    return which == 0 ? nullptr : tables[which - 1];
}

// Applies one generated operation to f and answers what it answered; a flush
// also answers what the file at path then holds on disk. A write-only file
// gets no reads (a direct one fails them, a cached one reads its blocks), and
// no file gets ungetc (only a cached reader honours it).
std::string Apply(KY_File* f, const std::string& path, bool readable, uint32_t seed) {
    Random r{seed};
    char buffer[64];
    long kind = r.Below(10);
    if (!readable && (kind == 2 || kind == 4 || kind == 6))
        return "no read";
    switch (kind) {
        case 0: {
            int origin = static_cast<int>(r.Below(3));
            long offset = origin == 0 ? r.Below(60) - 2 : origin == 1 ? r.Below(40) - 20 : r.Below(24) - 20;
            long at = KY_FSeek(f, offset, origin);
            return "seek " + std::to_string(offset) + "," + std::to_string(origin) + " = " + std::to_string(at) + " e" +
                   std::to_string(KY_FileError(f));
        }
        case 1:
            return "tell = " + std::to_string(KY_FTell(f));
        case 2: {
            long n = KY_FRead(f, buffer, r.Below(40));
            return "read = " + std::to_string(n) + " " + std::string(buffer, static_cast<size_t>(n > 0 ? n : 0));
        }
        case 3: {
            std::string data = Bytes(r, 1 + r.Below(30));
            return "write " + data + " = " + std::to_string(KY_FWrite(f, data.data(), static_cast<long>(data.size())));
        }
        case 4:
            return "getc = " + std::to_string(KY_FGetc(f));
        case 5: {
            int c = Bytes(r, 1)[0];
            return "putc " + std::to_string(c) + " = " + std::to_string(KY_FPutc(c, f));
        }
        case 6: {
            int size = 2 + static_cast<int>(r.Below(40));
            const char* line = KY_FGets(buffer, size, f);
            return "gets " + std::to_string(size) + " = " + (line ? line : "(null)");
        }
        case 7: {
            std::string text = Bytes(r, 1 + r.Below(10));
            return "puts " + text + " = " + std::to_string(KY_FPuts(text.c_str(), f));
        }
        case 8:
            return "release = " + std::to_string(KY_ReleaseAllHandles(f->spec.owner));
        default: {
            std::string answer = "flush = " + std::to_string(KY_FileFlush(f));
            return answer + " disk " + ReadAll(path);
        }
    }
}

// Apply's operations, and runs of getc and putc long enough to cross buffers,
// lock changes (the direct set, then the reopening one) and the size.
std::string ApplyMore(KY_File* f, const std::string& path, bool readable, uint32_t seed) {
    Random r{seed};
    long kind = r.Below(14);
    if (kind < 10)
        return Apply(f, path, readable, r.Next());
    std::string answer;
    switch (kind) {
        case 10:
            if (!readable)
                return "no read";
            answer = "getc run";
            for (long n = 1 + r.Below(25); n > 0; --n) {
                int c = KY_FGetc(f);
                answer += " " + std::to_string(c) + "e" + std::to_string(KY_FileError(f));
            }
            return answer + " tell " + std::to_string(KY_FTell(f));
        case 11: {
            std::string data = Bytes(r, 1 + r.Below(25));
            answer = "putc run";
            for (char c : data)
                answer += " " + std::to_string(KY_FPutc(static_cast<unsigned char>(c), f));
            return answer + " tell " + std::to_string(KY_FTell(f));
        }
        case 12:
            answer = f->lockCount ? "unlock = " + std::to_string(KY_FileUnlock(f))
                                  : "lock = " + std::to_string(KY_FileLock(f));
            return answer + " tell " + std::to_string(KY_FTell(f));
        default: {
            long size = KY_FileSize(f);
            return "size = " + std::to_string(size) + " e" + std::to_string(KY_FileError(f));
        }
    }
}

struct TranslateOnWriteReset {
    ~TranslateOnWriteReset() { KY_TranslateOnWrite = 0; }
};

// Selects the getc/putc buffer of the files opened or operated on next.
struct BufferSize {
    explicit BufferSize(int32_t bytes) { KY_FileBufferSize = bytes; }
    ~BufferSize() { KY_FileBufferSize = kDefault; }
    static inline const int32_t kDefault = KY_FileBufferSize;
};

}  // namespace

// Each seed writes a file, then opens it one to three times with a random mode, byte table,
// scrambling and block layout, and applies the same operations to a direct and a cached copy.
TEST_F(CachedAgainstDirect, GeneratedSequencesAgree) {
    static const char* const kModes[] = {"rb", "r+b", "wb", "w+b"};
    TranslateOnWriteReset reset;
    const std::string paths[2] = {PathOf("d"), PathOf("c")};
    KY_OpenSpec* specs[2] = {Spec("d"), Spec("c")};
    ASSERT_EQ(0, KY_SetScrambleKey(fs_, 0x5A3C96E1));
    for (uint32_t seed = 1; seed <= 300 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random r{seed * 2654435761u};
        std::string content = Bytes(r, r.Below(50));
        std::string log[2];
        for (int i = 0; i < 2; ++i)
            WriteAll(paths[i], content);
        for (long session = 1 + r.Below(3); session > 0; --session) {
            const char* mode = kModes[r.Below(4)];
            int table = static_cast<int>(r.Below(3));
            KY_TranslateOnWrite = static_cast<int32_t>(r.Below(2));
            long blockSize = 1 + r.Below(17);
            int slots = 1 + static_cast<int>(r.Below(4));
            int scrambled = r.Below(4) == 0;
            ASSERT_EQ(0, KY_SetOpenSpecScrambled(scrambled, specs[0]));
            ASSERT_EQ(0, KY_SetOpenSpecParams(0, 1, blockSize, slots, scrambled, specs[1]));
            KY_File* files[2];
            for (int i = 0; i < 2; ++i) {
                files[i] = KY_FOpen(specs[i], mode);
                ASSERT_NE(nullptr, files[i]);
                ASSERT_EQ(0, KY_FileSetByteTable(files[i], Table(table)));
                log[i] += std::string(mode) + (scrambled ? " scrambled" : "") + " table " + std::to_string(table) +
                          " translate " + std::to_string(KY_TranslateOnWrite) + " blocks " + std::to_string(blockSize) +
                          "x" + std::to_string(slots) + "\n";
            }
            ASSERT_NE(nullptr, files[1]->cache);
            for (long op = 20 + r.Below(40); op > 0; --op) {
                uint32_t opSeed = r.Next();
                for (int i = 0; i < 2; ++i)
                    log[i] += Apply(files[i], paths[i], mode[0] == 'r' || mode[1] == '+', opSeed) + "\n";
            }
            for (int i = 0; i < 2; ++i) {
                log[i] += "close = " + std::to_string(KY_FClose(files[i]));
                log[i] += " disk " + ReadAll(paths[i]) + "\n";
            }
        }
        EXPECT_EQ(log[0], log[1]);
    }
}

using BufferedAgainstUnbuffered = TempFolderTest;

// The reference transfers every getc and putc alone; its copy goes through
// buffers of 2 to 9 bytes or of the usual size, in every open mode, with
// translation, scrambling, locks and handles taken away between operations.
TEST_F(BufferedAgainstUnbuffered, GeneratedSequencesAgree) {
    static const char* const kModes[] = {"rb", "r+b", "wb", "w+b", "ab", "a+b"};
    TranslateOnWriteReset reset;
    BufferSize restore(0);
    const std::string paths[2] = {PathOf("u"), PathOf("b")};
    KY_OpenSpec* specs[2] = {Spec("u"), Spec("b")};
    ASSERT_EQ(0, KY_SetScrambleKey(fs_, 0x1F2E3D4C));
    for (uint32_t seed = 1; seed <= 400 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random r{seed * 2246822519u};
        std::string content = Bytes(r, r.Below(60));
        const int32_t sizes[2] = {0, r.Below(4) == 0 ? 4096 : static_cast<int32_t>(2 + r.Below(8))};
        std::string log[2];
        for (int i = 0; i < 2; ++i)
            WriteAll(paths[i], content);
        for (long session = 1 + r.Below(3); session > 0; --session) {
            const char* mode = kModes[r.Below(6)];
            int table = static_cast<int>(r.Below(3));
            KY_TranslateOnWrite = static_cast<int32_t>(r.Below(2));
            int scrambled = r.Below(4) == 0;
            KY_File* files[2];
            for (int i = 0; i < 2; ++i) {
                ASSERT_EQ(0, KY_SetOpenSpecScrambled(scrambled, specs[i]));
                files[i] = KY_FOpen(specs[i], mode);
                ASSERT_NE(nullptr, files[i]);
                ASSERT_EQ(0, KY_FileSetByteTable(files[i], Table(table)));
                log[i] += std::string(mode) + (scrambled ? " scrambled" : "") + " table " + std::to_string(table) +
                          " translate " + std::to_string(KY_TranslateOnWrite) + "\n";
            }
            for (long op = 20 + r.Below(60); op > 0; --op) {
                uint32_t opSeed = r.Next();
                for (int i = 0; i < 2; ++i) {
                    KY_FileBufferSize = sizes[i];
                    log[i] += ApplyMore(files[i], paths[i], mode[0] == 'r' || mode[1] == '+', opSeed) + "\n";
                }
            }
            for (int i = 0; i < 2; ++i) {
                while (files[i]->lockCount)
                    KY_FileUnlock(files[i]);
                log[i] += "close = " + std::to_string(KY_FClose(files[i]));
                log[i] += " disk " + ReadAll(paths[i]) + "\n";
            }
        }
        EXPECT_EQ(log[0], log[1]);
    }
}

// Bytes read ahead are not the file's: a byte written at the position of a
// byte already read ahead reads back as written, through either set.
TEST_F(BufferedAgainstUnbuffered, WriteThenReadAtTheSamePosition) {
    BufferSize small(4);
    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "locked" : "reopening");
        WriteAll(PathOf("w"), "abcdefghij");
        KY_File* f = KY_FOpen(Spec("w"), "r+b");
        ASSERT_NE(nullptr, f);
        if (locked) {
            ASSERT_EQ(0, KY_FileLock(f));
        }
        EXPECT_EQ('a', KY_FGetc(f));
        EXPECT_EQ('b', KY_FGetc(f));
        EXPECT_EQ(2, KY_FTell(f));
        EXPECT_EQ(4, KY_FWrite(f, "CDEF", 4)) << "written at 2, inside and past what was read ahead";
        EXPECT_EQ('g', KY_FGetc(f));
        EXPECT_EQ(2, KY_FSeek(f, 2, 0));
        EXPECT_EQ('C', KY_FGetc(f));
        EXPECT_EQ('X', KY_FPutc('X', f));
        EXPECT_EQ('Y', KY_FPutc('Y', f));
        EXPECT_EQ(5, KY_FTell(f)) << "putc moves the position before its byte reaches the file";
        EXPECT_EQ(3, KY_FSeek(f, -2, 1));
        EXPECT_EQ('X', KY_FGetc(f));
        EXPECT_EQ(10, KY_FSeek(f, 0, 2));
        for (char c : std::string("klmnop"))
            EXPECT_EQ(c, KY_FPutc(c, f));
        EXPECT_EQ(16, KY_FileSize(f)) << "waiting bytes count in the size";
        EXPECT_EQ(14, KY_FSeek(f, -2, 2));
        EXPECT_EQ('o', KY_FGetc(f));
        if (locked) {
            EXPECT_EQ(0, KY_FileUnlock(f));
        }
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ("abCXYFghijklmnop", ReadAll(PathOf("w")));
    }
}

// A refused write, which an unbuffered putc answers at once, fails the next
// operation that writes the waiting bytes, and the close at the latest.
TEST_F(BufferedAgainstUnbuffered, RefusedWritesFailByTheClose) {
    static bool refuse = false;
    struct Restore {
        ~Restore() {
            KY_ResetFileSystemCalls();
            refuse = false;
        }
    } restore;
    KY_FileSystemCalls().write = [](int h, const void* buffer, long count) -> long {
        return refuse ? -1 : _hwrite(h, static_cast<const char*>(buffer), count);
    };
    BufferSize small(8);
    KY_File* f = KY_FOpen(Spec("r"), "w+b");
    ASSERT_NE(nullptr, f);
    refuse = true;
    EXPECT_EQ('a', KY_FPutc('a', f));
    EXPECT_EQ(-1, KY_FSeek(f, 0, 0));
    EXPECT_EQ(kFileErrIO, KY_FileError(f));
    EXPECT_EQ('b', KY_FPutc('b', f));
    EXPECT_NE(0, KY_FClose(f));
    EXPECT_EQ("", ReadAll(PathOf("r")));
}
