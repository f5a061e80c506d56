// The file layer: open modes, lazy open, seeks, locking, line input, scrambling,
// handle recycling, copying and failures of the system underneath.
#include "base/object/AFileSpec.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyPath.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <windows.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using FileLayer = TempFolderTest;

std::string ReadThrough(KY_File* f, long chunk = 64) {
    std::string data;
    char buffer[4096];
    long n;
    while ((n = KY_FRead(f, buffer, chunk)) > 0)
        data.append(buffer, static_cast<size_t>(n));
    return data;
}

// A system underneath that grants at most `limit` handles and can refuse writes.
struct LimitedSystem {
    static inline long limit = 0;
    static inline bool refuseWrites = false;
    static inline std::set<int> open;
    static int Track(int h) {
        if (h != -1)
            open.insert(h);
        return h;
    }
    static bool Full() { return static_cast<long>(open.size()) >= limit; }
    static int Open(const char* path, int access) { return Full() ? -1 : Track(_lopen(path, access)); }
    static int Create(const char* path) { return Full() ? -1 : Track(_lcreat(path, 0)); }
    static long Write(int h, const void* buffer, long count) {
        return refuseWrites ? -1 : _hwrite(h, static_cast<const char*>(buffer), count);
    }
    static int Close(int h) {
        open.erase(h);
        return _lclose(h) == HFILE_ERROR ? -1 : 0;
    }
    static void Install(long handles) {
        limit = handles;
        refuseWrites = false;
        open.clear();
        KY_SystemFileCalls& calls = KY_FileSystemCalls();
        calls.open = Open;
        calls.create = Create;
        calls.write = Write;
        calls.close = Close;
    }
};

}  // namespace

TEST_F(FileLayer, OpenModesCreateEmptyOrAppend) {
    struct Row {
        const char* mode;
        bool existing;
        const char* write;
        const char* expected;  // file content after the write and the close
    } rows[] = {
        {"wb", true, "new", "new"},
        {"ab", true, "+tail", "old+tail"},
        {"ab", false, "x", "x"},
        {"wa+", true, "+tail", "old+tail"},
        {"wa+", false, "x", "x"},
        {"r+b", true, "N", "Nld"},
        {"w", true, "", ""},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mode) + (r.existing ? " existing" : " missing"));
        std::string name = "m" + std::to_string(i++);
        if (r.existing)
            WriteAll(PathOf(name), "old");
        KY_File* f = KY_FOpen(Spec(name), r.mode);
        ASSERT_NE(nullptr, f);
        EXPECT_TRUE(PathExistsOnDisk(PathOf(name))) << "created or emptied at open, not at the first write";
        long n = static_cast<long>(std::strlen(r.write));
        EXPECT_EQ(n, KY_FWrite(f, r.write, n));
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ(r.expected, ReadAll(PathOf(name)));
    }
}

TEST_F(FileLayer, LazyOpenOfMissingFileFailsAtFirstRead) {
    KY_File* f = KY_FOpen(Spec("missing"), "rb");
    ASSERT_NE(nullptr, f) << "a lazy open does not touch the file";
    EXPECT_EQ(0, fs_->lastError);
    char c;
    EXPECT_EQ(-1, KY_FRead(f, &c, 1));
    EXPECT_EQ(kFileErrOpen, fs_->lastError);
    EXPECT_FALSE(PathExistsOnDisk(PathOf("missing")));
    EXPECT_EQ(0, KY_FClose(f));

    EXPECT_EQ(nullptr, KY_FOpen(Spec("k4", 4), "wb"));
    EXPECT_EQ(kFileErrKind, fs_->lastError);
    EXPECT_FALSE(PathExistsOnDisk(PathOf("k4")));
}

TEST_F(FileLayer, SeekStopsAtTheSize) {
    WriteAll(PathOf("s"), "0123456789");
    struct Row {
        long offset;
        int origin;
        long result;
        long error;
        long tell;  // position afterwards
    } rows[] = {
        {4, 0, 4, 0, 4},   {10, 0, 10, 0, 10},       {11, 0, -1, kFileErrIO, 10},
        {-3, 1, 7, 0, 7},  {4, 1, -1, kFileErrIO, 7}, {0, 2, 10, 0, 10},
        {-10, 2, 0, 0, 0}, {1, 2, -1, kFileErrIO, 0},
    };
    for (KY_OpenSpec* spec : {Spec("s"), Spec("s", 0, 4, 2)}) {  // direct, then through 4-byte blocks
        KY_File* f = KY_FOpen(spec, "rb");
        ASSERT_NE(nullptr, f);
        for (const Row& r : rows) {
            SCOPED_TRACE(std::to_string(r.offset) + " from " + std::to_string(r.origin) + (f->cache ? " cached" : ""));
            EXPECT_EQ(r.result, KY_FSeek(f, r.offset, r.origin));
            EXPECT_EQ(r.error, fs_->lastError);
            EXPECT_EQ(r.tell, KY_FTell(f));
        }
        EXPECT_EQ(-1, KY_FSeek(f, 0, 7));
        EXPECT_EQ(f->cache ? kFileErrOrigin : kFileErrIO, fs_->lastError);
        EXPECT_EQ(0, KY_FClose(f));
    }
}

TEST_F(FileLayer, LockedAndReferencedCloses) {
    WriteAll(PathOf("l"), "abc");
    KY_File* f = KY_FOpen(Spec("l"), "rb");
    ASSERT_NE(nullptr, f);
    ASSERT_EQ(0, KY_FileLock(f));
    ASSERT_EQ(0, KY_FileLock(f));
    EXPECT_EQ(kFileErrLocked, KY_FClose(f));
    EXPECT_EQ('a', KY_FGetc(f)) << "still open and usable";
    EXPECT_EQ(0, KY_FileUnlock(f));
    EXPECT_EQ(kFileErrLocked, KY_FClose(f)) << "one unlock of two leaves it locked";
    EXPECT_EQ(0, KY_FileUnlock(f));
    EXPECT_EQ(1, KY_FTell(f)) << "the position survives the unlock";
    EXPECT_EQ(0, KY_FileAddRef(f));
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_EQ('b', KY_FGetc(f)) << "a second reference keeps it open";
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_EQ(0, fs_->openHandles);
}

TEST_F(FileLayer, LineInputAndOutput) {
    struct Row {
        const char* content;
        int size;           // of the caller's buffer
        const char* lines;  // the lines returned, joined with '|'
    } rows[] = {
        {"one\ntwo\nlast", 9, "one\n|two\n|last"},
        {"one\r\ntwo\r\n", 9, "one\r\n|two\r\n"},
        {"one\rtwo\rthree", 9, "one\r|two\r|three"},
        {"a\rb\nc\rd\n", 9, "a\rb\n|c\rd\n"},
        {"a-line-longer-than-the-buffer\n", 9, "a-line-l|onger-th|an-the-b|uffer\n"},
        {"1234567\r\nnext\r\nlast\r\n", 9, "1234567\r|\n|next\r\n|last\r\n"},
        {"1234567\rab\rc", 9, "1234567\r|ab\r|c"},
        {"first line\nsecond line\nlast-no-end....", 64, "first line\n|second line\n|last-no-end...."},
        {"0123456789abcde\r\nnext\r\n", 64, "0123456789abcde\r\n|next\r\n"},
        {"0123456789abcde\rnext\rend", 64, "0123456789abcde\r|next\r|end"},
        {"0123456789abcde\rb\nsecond\nthird\n", 64, "0123456789abcde\rb\n|second\n|third\n"},
        {"abc\rdefghijklmnopq\nnext\n", 64, "abc\rdefghijklmnopq\n|next\n"},
        {"", 9, ""},
    };
    KY_OpenSpec* specs[] = {Spec("g"), Spec("g", 0, 16, 2)};  // direct, then through two 16-byte blocks
    for (const Row& r : rows) {
        WriteAll(PathOf("g"), r.content);
        for (KY_OpenSpec* spec : specs) {
            SCOPED_TRACE(std::string(r.content) + (spec == specs[0] ? " direct" : " cached"));
            KY_File* f = KY_FOpen(spec, "rb");
            ASSERT_NE(nullptr, f);
            std::string lines;
            char buffer[64];
            while (KY_FGets(buffer, r.size, f))
                lines += (lines.empty() ? "" : "|") + std::string(buffer);
            EXPECT_EQ(r.lines, lines);
            EXPECT_EQ(nullptr, KY_FGets(buffer, r.size, f));
            EXPECT_EQ(0, KY_FClose(f));
        }
    }

    struct PutRow {
        const char* mode;
        const char* expected;
    } puts[] = {{"wt", "x\r\n"}, {"wb", "x\n"}, {"w", "x\n"}};
    for (const PutRow& r : puts) {
        SCOPED_TRACE(r.mode);
        KY_File* f = KY_FOpen(Spec("p"), r.mode);
        ASSERT_NE(nullptr, f);
        EXPECT_EQ(static_cast<long>(std::strlen(r.expected)), KY_FPutLine("x", f));
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ(r.expected, ReadAll(PathOf("p")));
    }
}

TEST_F(FileLayer, ScrambledDataReadsAlikeFromAnyPosition) {
    ASSERT_EQ(0, KY_SetScrambleKey(fs_, 0x11223344));
    std::string plain = "The quick brown fox jumps over the lazy dog.";
    KY_OpenSpec* spec = Spec("x");
    KY_SetOpenSpecScrambled(1, spec);
    KY_File* f = KY_FOpen(spec, "wb");
    ASSERT_NE(nullptr, f);
    std::string buffer = plain;
    ASSERT_EQ(20, KY_FWrite(f, &buffer[0], 20));
    ASSERT_EQ(static_cast<long>(plain.size()) - 20, KY_FWrite(f, &buffer[20], static_cast<long>(plain.size()) - 20));
    EXPECT_EQ(plain, buffer) << "the caller's buffer is not scrambled in place";
    EXPECT_EQ(0, KY_FClose(f));

    std::string stored = ReadAll(PathOf("x"));
    ASSERT_EQ(plain.size(), stored.size());
    EXPECT_EQ(static_cast<char>('T' ^ 0x11), stored[0]) << "position 0 pairs with the key's high byte";
    EXPECT_EQ(static_cast<char>('h' ^ 0x22), stored[1]);

    for (long start : {0L, 1L, 2L, 3L, 8L, 13L}) {
        SCOPED_TRACE(start);
        f = KY_FOpen(spec, "rb");
        ASSERT_NE(nullptr, f);
        ASSERT_EQ(start, KY_FSeek(f, start, 0));
        EXPECT_EQ(plain.substr(static_cast<size_t>(start)), ReadThrough(f, 7));
        EXPECT_EQ(0, KY_FClose(f));
    }
}

TEST_F(FileLayer, HandlesAreRecycledKindZeroFirst) {
    LimitedSystem::Install(2);
    const int kinds[] = {1, 0, 2, 0, 3};
    KY_File* files[5];
    for (int i = 0; i < 5; ++i) {
        WriteAll(PathOf("h" + std::to_string(i)), "file " + std::to_string(i));
        files[i] = KY_FOpen(Spec("h" + std::to_string(i), kinds[i]), "rb");
        ASSERT_NE(nullptr, files[i]);
    }
    // Read a byte of each so that each needs a handle, then the rest of each.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ('f', KY_FGetc(files[i])) << i;
    EXPECT_EQ(2, fs_->openHandles);
    EXPECT_TRUE(files[4]->state & kStateOpen);
    EXPECT_TRUE(files[2]->state & kStateOpen) << "kind 2 kept its handle while kind 0 files had one to give";
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ("ile " + std::to_string(i), ReadThrough(files[i])) << i;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i >= 3, (files[i]->state & kStateOpen) != 0) << i;
    EXPECT_LE(LimitedSystem::open.size(), 2u);

    // Locked files keep their handles: with both pinned no other file can open.
    ASSERT_EQ(0, KY_FileLock(files[0]));
    ASSERT_EQ(0, KY_FileLock(files[1]));
    EXPECT_EQ(-1, KY_FSeek(files[2], 0, 0)) << "no handle left for an unlocked file";
    EXPECT_EQ(kFileErrOpen, fs_->lastError);
    EXPECT_EQ(0, KY_UnlockAllFiles(fs_));
    EXPECT_EQ(0, KY_FSeek(files[2], 0, 0));
    for (KY_File* f : files)
        EXPECT_EQ(0, KY_FClose(f));
    EXPECT_TRUE(LimitedSystem::open.empty());
}

TEST_F(FileLayer, FailuresUnderneathGiveCodes) {
    // A file that disappears while its handle is released.
    WriteAll(PathOf("gone"), "data");
    KY_File* f = KY_FOpen(Spec("gone"), "rb");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ('d', KY_FGetc(f));
    ASSERT_EQ(0, KY_ReleaseAllHandles(fs_));
    ASSERT_TRUE(DeleteFileA(PathOf("gone").c_str()));
    EXPECT_EQ(-1, KY_FGetc(f));
    EXPECT_EQ(kFileErrOpen, fs_->lastError);
    EXPECT_EQ(-1, KY_FileSize(f));
    EXPECT_EQ(0, KY_FClose(f));

    // A disk that refuses writes: uncached and cached.
    LimitedSystem::Install(100);
    f = KY_FOpen(Spec("refused"), "wb");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(3, KY_FWrite(f, "abc", 3));
    LimitedSystem::refuseWrites = true;
    EXPECT_EQ(-1, KY_FWrite(f, "def", 3));
    EXPECT_EQ(kFileErrIO, fs_->lastError);
    LimitedSystem::refuseWrites = false;
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_EQ("abc", ReadAll(PathOf("refused"))) << "what was written stays";

    f = KY_FOpen(Spec("cached", 0, 16, 2), "wb");
    ASSERT_NE(nullptr, f);
    ASSERT_NE(nullptr, f->cache);
    EXPECT_EQ(40, KY_FWrite(f, "0123456789abcdef0123456789abcdefXYZXYZXY", 40));
    LimitedSystem::refuseWrites = true;
    EXPECT_EQ(-1, KY_FWrite(f, "0123456789abcdef", 16)) << "evicting a block fails";
    LimitedSystem::refuseWrites = false;
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_EQ("0123456789abcdef0123456789abcdefXYZXYZXY01234567", ReadAll(PathOf("cached")))
        << "the part of the refused write that reached the cache is written at close";
}

TEST_F(FileLayer, CopiesRanges) {
    std::string data(10000, 0);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    WriteAll(PathOf("src"), data);
    WriteAll(PathOf("dst"), "untouched");
    struct Row {
        int mode;
        long offset;
        long length;
        int code;
        std::string expected;
    } rows[] = {
        {0, 0, 0, 0, data},
        {1, 100, 5000, 0, data.substr(100, 5000)},
        {1, 9000, 1000, 0, data.substr(9000)},
        {1, 9000, 1001, kFileErrRange, "untouched"},
        {2, 0, 10, 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.mode) + " " + std::to_string(r.offset) + "+" + std::to_string(r.length));
        WriteAll(PathOf("dst"), "untouched");
        EXPECT_EQ(r.code, KY_CopyFileRange(Spec("dst"), Spec("src"), r.mode, r.offset, r.length));
        EXPECT_EQ(r.expected, ReadAll(PathOf("dst")));
    }
    // A file copied onto itself keeps its data: the destination's emptying would lose it.
    EXPECT_EQ(0, KY_CopyFileRange(Spec("src"), Spec("src"), 0, 0, 0));
    EXPECT_EQ(kFileErrOpen, KY_CopyFileRange(Spec("src"), Spec("src"), 1, 100, 10));
    EXPECT_TRUE(data == ReadAll(PathOf("src")));
    EXPECT_EQ(0, AFileSpec(PathOf("src").c_str()).copyTo(AFileSpec(PathOf("SRC").c_str())));
    EXPECT_TRUE(data == ReadAll(PathOf("src")));
}

// A file copied onto itself under another of its names keeps its data too.
TEST_F(FileLayer, CopyOntoItselfUnderAnotherNameKeepsTheFile) {
    const std::string source = "a-long-source-name.data";
    const std::string data = "payload that must survive";
    WriteAll(PathOf(source), data);
    char shortPath[MAX_PATH];
    DWORD n = GetShortPathNameA(PathOf(source).c_str(), shortPath, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    std::string shortName = std::strrchr(shortPath, '\\') + 1;
    ASSERT_NE(source, shortName);
    ASSERT_TRUE(CreateHardLinkA(PathOf("hard-link.data").c_str(), PathOf(source).c_str(), nullptr));

    struct Row {
        const char* what;
        std::string name;
    } rows[] = {
        {"8.3 name", shortName},
        {"hard link", "hard-link.data"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(0, KY_CopyFileRange(Spec(r.name), Spec(source), 0, 0, 0));
        EXPECT_EQ(kFileErrOpen, KY_CopyFileRange(Spec(r.name), Spec(source), 1, 0, 4));
        EXPECT_EQ(0, AFileSpec(PathOf(source).c_str()).copyTo(AFileSpec(PathOf(r.name).c_str())));
        EXPECT_EQ(data, ReadAll(PathOf(source)));
    }
}

TEST_F(FileLayer, ByteTableTranslatesReads) {
    unsigned char upper[256];
    for (int i = 0; i < 256; ++i)
        upper[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
    // Direct, then through 8-byte blocks: a cache that kept translated bytes would write them back.
    for (KY_OpenSpec* spec : {Spec("t"), Spec("t", 0, 8, 2)}) {
        SCOPED_TRACE(spec->flags & kOpenCached ? "cached" : "direct");
        WriteAll(PathOf("t"), "Mixed case");
        KY_File* f = KY_FOpen(spec, "r+b");
        ASSERT_NE(nullptr, f);
        ASSERT_EQ(0, KY_FileSetByteTable(f, upper));
        EXPECT_EQ("MIXED CASE", ReadThrough(f));
        KY_TranslateOnWrite = 1;
        std::string tail = "!tail";
        EXPECT_EQ(5, KY_FWrite(f, tail.data(), 5));
        KY_TranslateOnWrite = 0;
        EXPECT_EQ("!tail", tail);
        EXPECT_EQ(1, KY_FSeek(f, 1, 0));
        EXPECT_EQ('i', KY_FPutc('i', f)) << "untranslated, as KY_TranslateOnWrite is off";
        ASSERT_EQ(0, KY_FileClearFilter(f));
        EXPECT_EQ(0, KY_FSeek(f, 0, 0));
        EXPECT_EQ("Mixed case!TAIL", ReadThrough(f));
        EXPECT_EQ(0, KY_FClose(f));
        EXPECT_EQ("Mixed case!TAIL", ReadAll(PathOf("t")));
    }
}

TEST_F(FileLayer, TemporaryFileGoesAtTheFinalClose) {
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    ASSERT_EQ(0, KY_MakeTempOpenSpec(fs_, "sv", 1, 0, 0, 0, &spec));
    ASSERT_EQ(0, KY_SetOpenSpecDeleteOnClose(1, &spec));
    std::string path = spec.path.text;
    EXPECT_TRUE(PathExistsOnDisk(path));
    KY_File* f = KY_FOpen(&spec, "w+b");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(4, KY_FPuts("temp", f));
    EXPECT_EQ(0, KY_FileAddRef(f));
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_TRUE(PathExistsOnDisk(path));
    EXPECT_EQ(0, KY_FClose(f));
    EXPECT_FALSE(PathExistsOnDisk(path));
    KY_FreeOpenSpec(&spec);

    ASSERT_EQ(0, KY_MakeOpenSpecIn(fs_, "sub/in.txt", folder_.c_str(), 2, 1, 4096, 3, &spec));
    EXPECT_EQ(PathOf("sub\\in.txt"), spec.path.text);
    KY_FreeOpenSpec(&spec);
}
