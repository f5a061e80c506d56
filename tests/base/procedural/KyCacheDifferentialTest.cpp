// The cached file layer against the direct one: the same generated operation
// sequences on two copies of a file must give the same answers and bytes.
#include "base/procedural/KyFile.h"
#include "tests/base/procedural/FileTestSupport.h"

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

}  // namespace

// Each seed writes a file, then opens it one to three times with a random mode, byte table,
// scrambling and block layout, and applies the same operations to a direct and a cached copy.
TEST_F(CachedAgainstDirect, GeneratedSequencesAgree) {
    static const char* const kModes[] = {"rb", "r+b", "wb", "w+b"};
    struct TranslateOnWriteReset {
        ~TranslateOnWriteReset() { KY_TranslateOnWrite = 0; }
    } reset;
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
