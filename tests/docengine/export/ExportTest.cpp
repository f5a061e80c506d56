// The export walk and the plain-text writer: ranges, paragraphs, sinks,
// trailers and hexadecimal output.
#include <gtest/gtest.h>

#include <string>

#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/AExportWriter.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::string Plain(ADocModel* model, long start, long end) {
    return model->exportText(start, end).c_str();
}

TEST(PlainExport, RangesCutSegmentsAndEmptyRangesTakeAll) {
    struct Row {
        long start, end;
        const char* text;
    } rows[] = {{0, 6, "abc\r\nde"},      {0, 3, "abc"},           {1, 5, "bc\r\nd"}, {4, 4, "abc\r\ndef\r\n"},
                {5, 2, "abc\r\ndef\r\n"}, {0, 8, "abc\r\ndef\r\n"}};
    AIndexedDocModel* model = MakeIndexedModel("abc\ndef\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.start) + "," + std::to_string(row.end));
        EXPECT_EQ(row.text, Plain(model, row.start, row.end));
    }
    EXPECT_EQ("abc\r\ndef\r\n", std::string(model->exportAllToMemory(nullptr).c_str()));
    CaptureStream stream;
    EXPECT_TRUE(model->exportToStream(&stream, 4, 7, nullptr, false));
    EXPECT_EQ("def", stream.text);
    model->setSelection(ADocRange{1, 2}, 0);
    EXPECT_EQ("b", std::string(model->exportSelection(nullptr, false).c_str()));
    model->release();
}

TEST(PlainExport, StylesAndCodesLeaveOnlyText) {
    struct Row {
        const char* markup;
        const char* text;
    } rows[] = {{"/Bgras/A normal\n", "gras normal\r\n"},
                {"un\\/deux\n", "un/deux\r\n"},
                {"{Hlien#cible}\n", "lien\r\n"},
                {"{dlien#cible} x\n", "lien x\r\n"},
                {"{dlien#} x\n", " x\r\n"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        AIndexedDocModel* model = MakeIndexedModel(row.markup);
        EXPECT_EQ(row.text, Plain(model, 0, model->getLength()));
        model->release();
    }
}

// Records the paragraph brackets and runs the walk makes.
class Recorder : public AExportWriter {
public:
    Recorder(AExportSink* sink, AExportProvider* provider) : AExportWriter(sink, provider, 3, 2, 0) {}
    void beginParagraph(AFragmentRef* ref, long, const AExportContext&) override {
        log += "<P" + std::to_string(ref->format().bits) + ">";
    }
    void endParagraph(AFragmentRef*, const AExportContext&) override { log += "</P>"; }
    void beginRun(const ARunRecord& run, const AExportContext&) override {
        log += "[" + std::to_string(run.code) + "/" + std::to_string(run.style) + "]";
    }
    void write(const char* data, long length) override { log.append(data, static_cast<size_t>(length)); }
    void paragraphBreak() override { log += "|"; }
    std::string log;
};

TEST(ExportWalk, ParagraphsCloseBeforeTheNextAndAtSegmentEnd) {
    AIndexedDocModel* model = MakeIndexedModel("un/Bdeux\x0E\x41x\ntrois\n");
    AStringExportSink* sink = new AStringExportSink;
    sink->addRef();
    ARendererExportProvider* provider = new ARendererExportProvider(model, nullptr, AString(), AString());
    provider->addRef();
    {
        Recorder writer(sink, provider);
        writer.exportRange(ADocRange{0, 0});
        EXPECT_EQ("<P0>[0/0]un[0/1]deux[14/1]A[0/1]x</P>|<P0>[0/0]trois</P>|", writer.log);
    }
    provider->release();
    sink->release();
    model->release();
}

TEST(ExportWalk, TrailerFollowsRangesLongerThanEightyPositions) {
    std::string text(100, 'x');
    text += "\n";
    AIndexedDocModel* model = MakeIndexedModel(text);
    ARendererExportProvider* provider = new ARendererExportProvider(model, nullptr, AString("/Bfin"), AString("t"));
    provider->addRef();
    EXPECT_EQ(text.substr(0, 100) + "\r\n\r\nfin\r\n", std::string(model->exportText(0, 101, provider).c_str()));
    EXPECT_EQ(text.substr(0, 80), std::string(model->exportText(0, 80, provider).c_str()));
    provider->release();
    model->release();
}

TEST(ExportWalk, HexLinesHoldEightyDigits) {
    AStringExportSink* sink = new AStringExportSink;
    sink->addRef();
    unsigned char bytes[100];
    for (int i = 0; i < 100; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7);
    {
        APlainExportWriter writer(sink, nullptr);
        writer.writeHex(bytes, 100);
    }
    std::string out = sink->getString().c_str();
    ASSERT_EQ(80u + 2 + 80 + 2 + 40 + 2, out.size());
    EXPECT_EQ("00070e15", out.substr(0, 8));
    EXPECT_EQ("\r\n", out.substr(80, 2));
    EXPECT_EQ("\r\n", out.substr(out.size() - 2));
    sink->release();
}

TEST(ExportWalk, NoProviderWritesNothing) {
    AStringExportSink* sink = new AStringExportSink;
    sink->addRef();
    {
        APlainExportWriter writer(sink, nullptr);
        writer.exportAll();
        writer.exportRange(ADocRange{0, 5});
    }
    EXPECT_TRUE(sink->getString().empty());
    sink->release();
}

}  // namespace
