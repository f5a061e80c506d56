// Container and option files: the option format, scrambled and read-only
// containers, damaged files and saves that are killed half-way.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "base/object/AFileStream.h"
#include "base/procedural/AError.h"
#include "framework/files/AOptionsInfo.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

class ContainerFileTest : public TempFolderTest {
protected:
    AFileSpec Folder() const { return AFileSpec(folder_.c_str()); }
};

// Keeps its file's bytes as one text; counts the base's calls.
class TextContainer : public AContainerFile {
public:
    TextContainer(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly)
        : AContainerFile(folder, name, scrambled, readOnly) {}
    TextContainer(const char* name, const char* subFolder, int16_t scrambled, int16_t readOnly)
        : AContainerFile(name, subFolder, scrambled, readOnly) {}
    std::string text;
    int defaults = 0;
    bool failWrite = false;

protected:
    void readFrom(AFileStream& stream) override {
        text.clear();
        char buffer[256];
        long n;
        while ((n = stream.read(buffer, sizeof buffer)) > 0)
            text.append(buffer, n);
    }
    void writeTo(AFileStream& stream) override {
        stream.write(text.data(), static_cast<long>(text.size()));
        if (failWrite)
            throw AFileError("test", 1, 2012);
    }
    void writeCopyTo(AFileStream& stream, const AFileSpec&) override { writeTo(stream); }
    void setDefaults() override { ++defaults; }
};

TEST_F(ContainerFileTest, OptionFilesWriteTheirLinesAndReadThemBack) {
    struct Row {
        const char* name;
        long numbers[4];  // key, value pairs; key 0 ends
        long textKey;     // 0: no text
        const char* text;
        const char* file;
    } rows[] = {
        {"empty", {0}, 0, "", "0\n0\n"},
        {"three", {3, 7, 1, -2}, 5, "abc", "2\n1\n-2\n3\n7\n1\n5\nabc\n"},
        {"line ends go", {0}, 9, "x\r\n\r", "0\n1\n9\nx\n"},
        {"a text keeps to its line", {2, 1}, 9, "a\nb", "1\n2\n1\n1\n9\na\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileA(PathOf("o.prf").c_str());
        {
            AOptionsInfo options(Folder(), "o.prf");
            for (int i = 0; i < 4 && row.numbers[i]; i += 2)
                options.setLong(row.numbers[i], row.numbers[i + 1]);
            if (row.textKey)
                options.setString(row.textKey, row.text);
        }
        EXPECT_EQ(row.file, ReadAll(PathOf("o.prf")));
        AOptionsInfo back(Folder(), "o.prf");
        back.setReadOnly(1);
        {
            AOptionsInfo again(Folder(), "copy.prf");
            for (Pix p = back.longs().first(); p; back.longs().next(p))
                again.setLong(back.longs().keyOf(p), back.longs().numberOf(p));
            for (Pix p = back.strings().first(); p; back.strings().next(p))
                again.setString(back.strings().keyOf(p), back.strings().getString(back.strings().keyOf(p)).c_str());
        }
        EXPECT_EQ(row.file, ReadAll(PathOf("copy.prf")));
        DeleteFileA(PathOf("copy.prf").c_str());
    }
}

TEST_F(ContainerFileTest, AbsentKeysAndFileContents) {
    {
        AOptionsInfo options(Folder(), "o.prf");
        EXPECT_EQ(0, options.getLong(4));
        EXPECT_TRUE(options.getString(6).empty());
    }
    EXPECT_EQ("1\n4\n0\n0\n", ReadAll(PathOf("o.prf")));

    struct Row {
        const char* file;
        const char* saved;  // null: the load fails and the file stays
    } rows[] = {
        {"", "1\n4\n0\n0\n"},  // an empty file holds no options
        {"1\r\n2\r\n-3\r\n0\r\n", "2\n2\n-3\n4\n0\n0\n"},
        {"2\n4\n1\n4\n2\n0\n", "1\n4\n2\n0\n"},  // a repeated key keeps its last value
        {"1\n+7x\n 12abc\n1\nz\nt t\n", "2\n4\n0\n7\n12\n1\n0\nt t\n"},
        {"65537\n8\n9\n0\n", "2\n4\n0\n8\n9\n0\n"},  // counts are 16-bit
        {"0\n2\n5\nx\n", nullptr},
        {"3\n1\n1\n", nullptr},
        {"1\n1\n1\n", nullptr},
        {"-1\n1\n1\n0\n", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        WriteAll(PathOf("o.prf"), row.file);
        if (!row.saved) {
            EXPECT_THROW(AOptionsInfo(Folder(), "o.prf"), AFileError);
            EXPECT_EQ(row.file, ReadAll(PathOf("o.prf")));
            continue;
        }
        {
            AOptionsInfo options(Folder(), "o.prf");
            options.getLong(4);
        }
        EXPECT_EQ(row.saved, ReadAll(PathOf("o.prf")));
    }
}

TEST_F(ContainerFileTest, ScrambledReadOnlyAndCopies) {
    struct Row {
        const char* file;
        int16_t scrambledAfter;
    } rows[] = {
        {"A plain text", 0}, {"7 plain", 0}, {"\x80 scrambled", 1}, {"\x05 scrambled", 1}, {"", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        WriteAll(PathOf("s.par"), row.file);
        TextContainer container(Folder(), "s.par", 1, 0);
        container.load();
        EXPECT_EQ(row.scrambledAfter, container.scrambled());
        if (!row.scrambledAfter) {
            EXPECT_EQ(row.file, container.text);
            container.save();
            EXPECT_EQ(row.file, ReadAll(PathOf("s.par")));
        }
        // Scrambled or not, what is saved reads back.
        container.text = "new text";
        container.save();
        TextContainer back(Folder(), "s.par", row.scrambledAfter, 0);
        back.load();
        EXPECT_EQ("new text", back.text);
    }

    DeleteFileA(PathOf("s.par").c_str());
    TextContainer missing(Folder(), "s.par", 0, 1);
    missing.load();
    EXPECT_EQ(1, missing.defaults);

    WriteAll(PathOf("s.par"), "old");
    CreateDirectoryA(PathOf("copies").c_str(), nullptr);
    TextContainer readOnly(Folder(), "s.par", 0, 1);
    readOnly.load();
    readOnly.text = "changed";
    readOnly.save();
    EXPECT_EQ("old", ReadAll(PathOf("s.par")));
    readOnly.saveCopyIn(AFileSpec(PathOf("copies").c_str()));
    EXPECT_EQ("changed", ReadAll(PathOf("copies\\s.par")));
}

TEST_F(ContainerFileTest, WithoutAnApplicationTheUserFolderIsTheCurrentFolder) {
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
    struct Row {
        const char* subFolder;
        const char* path;
    } rows[] = {{"", "u.par"}, {"sub", "sub\\u.par"}, {"sub", "sub\\u.par"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.subFolder);
        TextContainer container("u.par", row.subFolder, 0, 0);
        EXPECT_EQ(PathOf(row.path), container.file().path().c_str());
        container.text = "x";
        container.save();
        EXPECT_EQ("x", ReadAll(PathOf(row.path)));
    }
    SetCurrentDirectoryA(before);
}

TEST_F(ContainerFileTest, AFailedWriteOrLoadLeavesTheOldFile) {
    WriteAll(PathOf("o.prf"), "1\n1\n1\n0\n");
    TextContainer container(Folder(), "o.prf", 0, 0);
    container.text = "half";
    container.failWrite = true;
    EXPECT_THROW(container.save(), AFileError);
    EXPECT_EQ("1\n1\n1\n0\n", ReadAll(PathOf("o.prf")));
    EXPECT_FALSE(PathExistsOnDisk(PathOf("o.prf.tmp")));

    // A container whose load failed does not save over its file.
    class Failing : public TextContainer {
    public:
        using TextContainer::TextContainer;
        void readFrom(AFileStream&) override { throw AFileError("test", 2, 2012); }
    } damaged(Folder(), "o.prf", 0, 0);
    EXPECT_THROW(damaged.load(), AFileError);
    damaged.text = "over";
    EXPECT_THROW(damaged.save(), AFileError);
    EXPECT_EQ("1\n1\n1\n0\n", ReadAll(PathOf("o.prf")));

    // Nor does one whose file was there but could not be opened; it stays scrambled.
    TextContainer locked(Folder(), "o.prf", 1, 0);
    HANDLE lock = CreateFileA(PathOf("o.prf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_ANY_THROW(locked.load());
    EXPECT_EQ(1, locked.scrambled());
    CloseHandle(lock);
    locked.text = "over";
    EXPECT_THROW(locked.save(), AFileError);
    EXPECT_EQ("1\n1\n1\n0\n", ReadAll(PathOf("o.prf")));
    locked.load();
    locked.save();
    EXPECT_EQ("1\n1\n1\n0\n", ReadAll(PathOf("o.prf")));
}

TEST_F(ContainerFileTest, MutatedFilesLoadOrFailRecoverably) {
    const std::string good = "3\n1\n-2\n3\n7\n40\n123456\n2\n5\nabc\n6\nd e f\n";
    std::mt19937 random(12345);
    int failed = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string file = good;
        switch (random() % 4) {
            case 0:
                file.resize(random() % file.size());
                break;
            case 1:
                file[random() % file.size()] = static_cast<char>(random());
                break;
            case 2:
                file.insert(random() % file.size(), std::string(1 + random() % 8, static_cast<char>(random())));
                break;
            default:
                for (int k = 0; k < 4; ++k)
                    file[random() % file.size()] = "\n\r\0-9"[random() % 5];
        }
        WriteAll(PathOf("m.prf"), file);
        try {
            AOptionsInfo options(Folder(), "m.prf");
            options.setReadOnly(i % 2);
        } catch (const AFileError&) {
            ++failed;
            EXPECT_EQ(file, ReadAll(PathOf("m.prf")));
        }
        if (i % 3 == 0) {
            WriteAll(PathOf("m.par"), file);
            TextContainer scrambled(Folder(), "m.par", 1, 0);
            scrambled.load();
        }
    }
    EXPECT_GT(failed, 0);
}

}  // namespace
