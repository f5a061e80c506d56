// Files and streams of the object layer: requests, shared files, the line
// reader, the text output stream and the codec reader.
#include "base/object/ACodecReader.h"
#include "base/object/AFileStream.h"
#include "base/object/ATextOutStream.h"
#include "base/procedural/AImageLibError.h"
#include "base/procedural/Trace.h"
#include "tests/base/procedural/CodecSamples.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class StreamTest : public TempFolderTest {
protected:
    AFile Request(const std::string& name) {
        return AFile(fs_, AFileSpec(PathOf(name).c_str()), 0, kPlainFileOptions, false);
    }
};

TEST_F(StreamTest, ReadLineSplitsGrowsAndFlagsTheEnd) {
    const std::string longLine(3000, 'x');
    struct Row {
        const char* name;
        std::string content;
        std::vector<std::string> lines;  // then "" with the end flag
    } rows[] = {
        {"CR LF, then no line end", "ab\r\ncd", {"ab", "cd"}},
        {"an empty line", "\r\n", {""}},
        {"3000 characters", longLine + "\n" + "y\n", {longLine, "y"}},
        {"1023 characters and LF", std::string(1023, 'z') + "\n", {std::string(1023, 'z')}},
        {"1024 characters, no line end", std::string(1024, 'w'), {std::string(1024, 'w')}},
        {"CR alone ends no line", "a\n\rb\r\r\n", {"a", "\rb"}},
        {"empty file", "", {}},
        {"CR LF split by the line buffer", std::string(1022, 'v') + "\r\nbc\r\nde\r\n", {std::string(1022, 'v'), "bc", "de"}},
        {"CR LF split twice", std::string(2046, 'u') + "\r\nbc\r\n", {std::string(2046, 'u'), "bc"}},
    };
    for (const Row& row : rows) {
      for (const AFileOptions* options : {&kPlainFileOptions, &kCachedFileOptions}) {
        SCOPED_TRACE(row.name);
        SCOPED_TRACE(options == &kPlainFileOptions ? "plain" : "cached");
        WriteAll(PathOf("lines.txt"), row.content);
        AFileStream stream(AFile(fs_, AFileSpec(PathOf("lines.txt").c_str()), 0, *options, false), "rb", 0);
        for (const std::string& expected : row.lines) {
            short end = 0;
            AString line = stream.readLine(&end);
            EXPECT_EQ(expected, std::string(line.c_str(), line.length()));
            EXPECT_EQ(0, end);
        }
        short end = 0;
        EXPECT_EQ(0, stream.readLine(&end).length());
        EXPECT_EQ(1, end);
      }
    }
}

TEST_F(StreamTest, RequestsSharedFilesAndFailures) {
    WriteAll(PathOf("data"), "0123456789");
    AFile file = Request("data");
    AFileStream first(file, "rb", 0);
    EXPECT_EQ('0', first.getByte());

    // Streams made from a request that shares an open file share its position.
    AFilteredFile shared(first, 1, 2, 0, AFilter());
    EXPECT_EQ(first.file(), shared.sharedFile());
    AFilteredFile copy = shared;
    AFileStream second(copy, "rb", 0);
    EXPECT_EQ(first.file(), second.file());
    EXPECT_EQ('1', second.getByte());
    EXPECT_EQ('2', first.getByte());

    // copyTo copies the whole file from its start.
    AFileStream target(Request("copy"), "wb", 0);
    EXPECT_EQ(0, first.copyTo(target));
    target.close();
    EXPECT_EQ("0123456789", ReadAll(PathOf("copy")));
    EXPECT_EQ(kFileErrArg, target.lastError()) << "unbound";
    EXPECT_TRUE(target.spec().empty());

    // Delete on close goes to the file at its final close.
    {
        AFilteredFile temporary(Request("scratch"), 0, 0, 1, AFilter());
        AFileStream scratch(temporary, "wb", 0);
        scratch.write("abc", 3);
        EXPECT_TRUE(PathExistsOnDisk(PathOf("scratch")));
    }
    EXPECT_FALSE(PathExistsOnDisk(PathOf("scratch")));

    // A file that cannot be created is a recoverable error of bstream.
    bool raised = false;
    try {
        AFileStream bad(Request("missing\\folder\\file"), "wb", 0);
    } catch (const AFileSpecError& e) {
        raised = true;
        EXPECT_EQ(1118, e.line());
        EXPECT_STREQ("bstream", e.file());
    }
    EXPECT_TRUE(raised);
}

TEST_F(StreamTest, FilteredRequestsTranslateWhatTheirStreamsRead) {
    FltImage image;
    for (int c = 'A'; c <= 'Z'; ++c)
        image.base[c] = static_cast<int16_t>(c + 32);
    WriteAll(PathOf("lower.flt"), image.bytes());
    WriteAll(PathOf("text"), "Hello WORLD\r\n");
    // The request holds its filter: the caller's AFilter is gone before any stream opens.
    auto lowerRequest = [this] {
        AFilter filter(AFileSpec(PathOf("lower.flt").c_str()));
        EXPECT_NE(nullptr, filter.handle());
        return AFilteredFile(Request("text"), 0, 0, 0, filter);
    };
    AFilteredFile lower = lowerRequest();
    AFileStream lowered(lower, "rb", 0);
    // A request sharing that open file with the empty filter reads it untranslated.
    AFilteredFile plainShare(lowered, 0, 0, 0, AFilter());
    AFilteredFile plain(Request("text"), 0, 0, 0, AFilter());
    struct Row {
        const char* name;
        const AFilteredFile& request;
        const char* line;
    } rows[] = {
        {"a filter", lower, "hello world"},
        {"the empty filter", plain, "Hello WORLD"},
        {"the empty filter on a shared file", plainShare, "Hello WORLD"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AFileStream stream(row.request, "rb", 0);
        stream.seek(0, 0);
        EXPECT_STREQ(row.line, stream.readLine(nullptr).c_str());
        char bytes[6] = {};
        stream.seek(0, 0);
        EXPECT_EQ(5, stream.read(bytes, 5));
        EXPECT_EQ(std::string(row.line, 5), bytes);
    }
}

TEST_F(StreamTest, TextOutStreamWritesFormatsAndFeedsTheTrace) {
    ATextOutStream unbound;
    EXPECT_TRUE(unbound.writesToTrace());
    unbound.writeString("nothing");
    {
        ATextOutStream out(Request("log.txt"), 0);
        EXPECT_FALSE(out.writesToTrace());
        out.writeHex(255).writeChar(' ').writeInt(-5).writeChar(' ').writeUShort(65535).writeChar(' ');
        out.writeLong(-70000L).writeChar(' ').writeULong(4000000000UL).writeChar(' ').writeShort(-2);
        out.writeUString(reinterpret_cast<const unsigned char*>(" \xE9t\xE9")).writeUChar('\n');
        out.becomeTraceSink();
        TracePrint("trace %d\n", 7);
        out.close();
        EXPECT_TRUE(out.writesToTrace());
        ClearBoxes();
        TracePrint("after close\n");
        EXPECT_EQ(1u, CapturedBoxes().size()) << "the trace let go of the closed file";
    }
    EXPECT_EQ("000000FF -5 65535 -70000 4000000000 -2 \xE9t\xE9\ntrace 7\n", ReadAll(PathOf("log.txt")));
}

TEST_F(StreamTest, CodecReaderExpandsFromFileAndMemory) {
    const std::string png = MakePng(1, 3, 3, std::string("\x05\x06\x07", 3));
    WriteAll(PathOf("image"), "xyz" + png);
    AFileStream source(Request("image"), "rb", 0);
    source.seek(3, 0);
    ACodecReader reader(5);
    reader.setSource(&source, static_cast<long>(png.size()), 1000);
    std::string rows;
    uint8_t buffer[4];
    int32_t size = sizeof buffer;
    int calls = 0;
    do {
        size = sizeof buffer;
        ASSERT_EQ(0, reader.expand(buffer, &size));
        rows.append(reinterpret_cast<char*>(buffer), size);
        ++calls;
    } while (reader.inProgress());
    EXPECT_EQ(3, calls);
    EXPECT_EQ(std::string("\x05\0\0\0\x06\0\0\0\x07\0\0\0", 12), rows);

    // A buffer smaller than one row is an error, not an endless loop.
    source.seek(3, 0);
    reader.setSource(&source, static_cast<long>(png.size()), 1000);
    size = 3;
    EXPECT_EQ(kCodecNoProgress, reader.expand(buffer, &size));
    EXPECT_FALSE(reader.inProgress());

    // From memory, with another mode; the reader keeps its mode between expansions.
    const std::string text = FrenchText(3000, 5);
    const std::string packed = Pack(3, text);
    ACodecReader lzss(3);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        lzss.setMemorySource(reinterpret_cast<const uint8_t*>(packed.data()), static_cast<long>(packed.size()), 3000);
        std::vector<uint8_t> out(3000);
        size = 3000;
        EXPECT_EQ(0, lzss.expand(out.data(), &size));
        EXPECT_EQ(3000, size);
        EXPECT_EQ(text, std::string(out.begin(), out.end()));
    }

    // A library error leaves the reader idle.
    std::string cut = png.substr(0, png.size() - 20);
    reader.setMemorySource(reinterpret_cast<const uint8_t*>(cut.data()), static_cast<long>(cut.size()), 1000);
    uint8_t all[64];
    size = sizeof all;
    EXPECT_THROW(reader.expand(all, &size), AImageLibError);
    EXPECT_FALSE(reader.inProgress());
}

}  // namespace
