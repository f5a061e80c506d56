// The RTF writer: escaping, the header's tables, paragraphs, runs, cells,
// note markers and pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/object/AGlobalMemory.h"
#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/docengine/model/ModelTestSupport.h"

namespace {

// An RTF writer over a string sink; text() is what it wrote.
struct RtfOut {
    RtfOut() : sink(new AStringExportSink), sinkHold(sink) {}
    std::string text() const { return sink->getString().c_str(); }
    AStringExportSink* sink;
    Held<AStringExportSink> sinkHold;
};

// The whole model exported as RTF with the sheet (may be null).
std::string Rtf(ADocModel* model, AStyleSheet* sheet, uint16_t noteMarkers = 0) {
    struct Provider : ARendererExportProvider {
        Provider(ADocModel* m, AStyleSheet* s, uint16_t notes)
            : ARendererExportProvider(m, s, AString(), AString()), notes_(notes) {}
        AExportCursor makeRootCursor() override {
            AExportCursor cursor = ARendererExportProvider::makeRootCursor();
            cursor.noteMarkers = notes_;
            return cursor;
        }
        uint16_t notes_;
    };
    RtfOut out;
    Held<Provider> provider(new Provider(model, sheet, noteMarkers));
    ARtfExportWriter writer(out.sink, provider.get());
    writer.exportAll();
    return out.text();
}

TEST(RtfExport, TextIsEscaped) {
    struct Row {
        const char* text;
        const char* rtf;
    } rows[] = {
        {"a{b}c\\d", "a\\{b\\}c\\\\d"},
        {"x\ty", "x\\tab y"},
        {"\xE9t\xE9", "\\'e9t\\'e9"},
        {"a\x01"
         "b\x1F",
         "a\\'01b\\'1f"},
        {"\x80\xFF", "\\'80\\'ff"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        RtfOut out;
        ARtfExportWriter writer(out.sink, nullptr);
        writer.write(row.text, static_cast<long>(strlen(row.text)));
        EXPECT_EQ(row.rtf, out.text());
    }
}

TEST(RtfExport, HeaderTablesShareFacesAndColours) {
    Held<AStyleSheet> sheet(new AStyleSheet);
    sheet->setFont(7, AFontDesc("Times", 14, 0));        // a face already in the table
    sheet->setFont(8, AFontDesc("Gill {Sans};", 9, 0));  // escaped in the table
    sheet->setColor(5, 0x0000FF);                        // repeats colour 2
    sheet->setColor(6, 0x02123456);                      // read colours carry 0x02000000
    AIndexedDocModel* model = MakeIndexedModel("/@S8//@C6/x\n");
    Held<AIndexedDocModel> hold(model);
    model->release();
    EXPECT_EQ(
        "{\\rtf1\\ansi\\deflang1036\r\n"
        "{\\fonttbl\r\n{\\f0 Times;}\r\n{\\f1 Courier New;}\r\n{\\f2 Arial;}\r\n{\\f3 Gill \\{Sans\\}\\'3b;}\r\n}\r\n"
        "{\\colortbl\r\n\\red0\\green0\\blue0;\r\n\\red0\\green0\\blue255;\r\n\\red255\\green0\\blue0;\r\n"
        "\\red0\\green255\\blue0;\r\n\\red255\\green255\\blue255;\r\n\\red86\\green52\\blue18;\r\n}\r\n"
        "\\pard\r\n"
        "\\pard\\plain\r\n"
        "{\\f3\\fs18 \\cf5 x}\r\n"
        "\\par\r\n\\par\r\n}",
        Rtf(model, sheet.get()));
    EXPECT_EQ("{\\rtf1\\ansi\\deflang1036\r\n\\pard\r\n\\pard\\plain\r\nx\\par\r\n\\par\r\n}", Rtf(model, nullptr));
}

TEST(RtfExport, CellsOfAVerticalSpanShareTheirBorders) {
    struct Row {
        int16_t span, index, valign, background;
        const char* rtf;
    } rows[] = {
        {3, 0, 0, 0,
         "\\clvmgf\r\n\\clbrdrt\\brdrs\\brdrw15\\brdrcf0\r\n\\clbrdrl\\brdrs\\brdrw15\\brdrcf0\r\n"
         "\\clbrdrr\\brdrs\\brdrw15\\brdrcf0\r\n\\cellx2000\r\n"},
        {3, 1, 1, 0,
         "\\clvmrg\r\n\\clvertalc\r\n\\clbrdrl\\brdrs\\brdrw15\\brdrcf0\r\n"
         "\\clbrdrr\\brdrs\\brdrw15\\brdrcf0\r\n\\cellx2000\r\n"},
        {3, 2, 2, 4,
         "\\clvmrg\r\n\\clvertalb\r\n\\clbrdrl\\brdrs\\brdrw15\\brdrcf0\r\n"
         "\\clbrdrb\\brdrs\\brdrw15\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrw15\\brdrcf0\r\n\\cellx2000\r\n"},
        {1, 0, 0, 2,
         "\\clbrdrt\\brdrs\\brdrw15\\brdrcf0\r\n\\clbrdrl\\brdrs\\brdrw15\\brdrcf0\r\n"
         "\\clbrdrb\\brdrs\\brdrw15\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrw15\\brdrcf0\r\n"
         "\\clcbpat2\r\n\\cellx2000\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.span) + "/" + std::to_string(row.index));
        Held<AStyleSheet> sheet(new AStyleSheet);
        AExportCursor context(nullptr, sheet.get(), nullptr, AString());
        RtfOut out;
        ARtfExportWriter writer(out.sink, nullptr);
        AIndexedDocModel* model = MakeIndexedModel("x\n");
        Held<AIndexedDocModel> hold(model);
        model->release();
        context.setModel(model);
        writer.beginDocument(context);
        size_t header = out.text().size();
        AExportTable table(0, 0);
        AExportCell cell(AExportRow(table, 0), row.span, 0, 100, 0);
        cell.spanIndex = row.index;
        cell.borders = 15;
        cell.verticalAlign = row.valign;
        cell.background = row.background;
        writer.beginCell(cell, context);
        EXPECT_EQ(row.rtf, out.text().substr(header));
    }
}

TEST(RtfExport, ParagraphsTabsListsAndNoteMarkers) {
    Held<AStyleSheet> sheet(new AStyleSheet);
    sheet->setTabStopList(0, "40 100 150", false, 0, 0);
    struct Row {
        const char* markup;
        uint16_t list, notes;
        const char* contains;
    } rows[] = {
        {"/@J2048/a\tb\tc\td\n", 0, 0, "\\pard\\plain\\fi-800\\li800\r\n\\tx800\\tx2000\\tx3000\r\n"},
        {"/=x\n", 0, 0, "\\pard\\plain\\qj\r\n"},
        {"a\nb\n", 1, 0, "a}\r\n\\pard\\plain\r\n{"},
        {"a\nb\n", 0, 0, "a}\r\n\\par\r\n\\pard\\plain\r\n{"},
        {"abc def\n", 0, 1, "abc }\r\n{\\b\\super(1)}\r\n{"},
        {"abc def\n", 0, 0, "abc }\r\n{\\f0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        AIndexedDocModel* model = MakeIndexedModel(row.markup);
        Held<AIndexedDocModel> hold(model);
        model->release();
        Held<AHiliteRangeMap> marks(new AHiliteRangeMap("4,16777216,"));
        model->setAttachment(marks.get());
        gRtfListExport = row.list;
        std::string rtf = Rtf(model, sheet.get(), row.notes);
        gRtfListExport = 0;
        EXPECT_NE(std::string::npos, rtf.find(row.contains)) << rtf;
    }
}

// A writer that draws every bitmap as the same packed bitmap of 10 x 10 pixels.
class PictureWriter : public ARtfExportWriter {
public:
    using ARtfExportWriter::ARtfExportWriter;
    void* renderBitmap(ABitmapRef*, const AExportContext&, long* width, long* height, int* across, int* down) override {
        *width = *height = 10;
        *across = *down = 1;
        unsigned char dib[45];
        for (int i = 0; i < 45; ++i)
            dib[i] = static_cast<unsigned char>(i);
        return GlobalMemoryFromBytes(dib, sizeof dib);
    }
};

TEST(RtfExport, PicturesAreMetafilesInHexadecimal) {
    RtfOut out;
    PictureWriter writer(out.sink, nullptr);
    writer.writePicture(nullptr, AExportContext());
    std::string rtf = out.text();
    const std::string head = "{\\pict\\picwgoal200\\pichgoal200\\piccropr0\\piccropb0\\wmetafile8\r\n";
    ASSERT_EQ(head, rtf.substr(0, head.size()));
    // Header: 18 bytes; records 8 + 10 + 10 + 8 + (28 + 46) + 8 + 6 bytes: 142 bytes in all.
    const std::string header = "0100\r\n0900\r\n0003\r\n47000000\r\n0000\r\n25000000\r\n0000\r\n\r\n";
    EXPECT_EQ(header, rtf.substr(head.size(), header.size()));
    // StretchDIBits: raster operation first, the bitmap last with its pad byte on a line of its own.
    EXPECT_NE(std::string::npos, rtf.find("25000000\r\n430f\r\n2000cc00\r\n0000\r\n0a00\r\n"));
    EXPECT_NE(std::string::npos, rtf.find("2627\r\n28292a2b2c\r\n00\r\n\r\n"));
    const std::string tail = "03000000\r\n0000\r\n\r\n}\r\n";
    EXPECT_EQ(tail, rtf.substr(rtf.size() - tail.size()));

    RtfOut hex;
    ARtfExportWriter plain(hex.sink, nullptr);
    unsigned char bytes[100] = {};
    plain.writeHex(bytes, 100);
    EXPECT_EQ(std::string(80, '0') + "\r\n" + std::string(80, '0') + "\r\n" + std::string(40, '0') + "\r\n",
              hex.text());
}

// Answers one name with a bitmap and records every name asked.
class NamedSupplier : public ABitmapSupplier {
public:
    NamedSupplier() : bitmap_(new ABitmapRef(ABitmapSpec::byName(AString("volcan"), 1))) { bitmap_->addRef(); }
    ~NamedSupplier() override { bitmap_->release(); }
    ABitmapRef* bitmapNamed(const AString& name) override {
        asked += std::string(name.c_str()) + ";";
        return std::string(name.c_str()) == "volcan" ? bitmap_ : nullptr;
    }
    std::string asked;

private:
    ABitmapRef* bitmap_;
};

// Pictures by name (item -1) come from the cursor's supplier, the one the view draws with.
TEST(RtfExport, NamedPicturesComeFromTheCursorsSupplier) {
    struct Row {
        const char* markup;
        bool supplier;
        const char* asked;
        int pictures;
    } rows[] = {
        {"avant /!-1!volcan/ apr\xE8s\n", true, "volcan;", 1},
        {"avant /!-1!inconnu/ apr\xE8s\n", true, "inconnu;", 0},
        {"avant /!-1!volcan/ apr\xE8s\n", false, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        AIndexedDocModel* model = MakeIndexedModel(row.markup);
        Held<AIndexedDocModel> hold(model);
        model->release();
        Held<NamedSupplier> supplier(new NamedSupplier);
        struct Provider : ARendererExportProvider {
            Provider(ADocModel* m, ABitmapSupplier* s)
                : ARendererExportProvider(m, nullptr, AString(), AString()), supplier_(s) {}
            AExportCursor makeRootCursor() override {
                AExportCursor cursor = ARendererExportProvider::makeRootCursor();
                cursor.setBitmapSupplier(supplier_);
                return cursor;
            }
            ABitmapSupplier* supplier_;
        };
        RtfOut out;
        Held<Provider> provider(new Provider(model, row.supplier ? supplier.get() : nullptr));
        PictureWriter writer(out.sink, provider.get());
        writer.exportAll();
        std::string rtf = out.text();
        EXPECT_EQ(row.asked, supplier->asked);
        int pictures = 0;
        for (size_t at = rtf.find("{\\pict"); at != std::string::npos; at = rtf.find("{\\pict", at + 1))
            ++pictures;
        EXPECT_EQ(row.pictures, pictures) << rtf;
        EXPECT_NE(std::string::npos, rtf.find("avant")) << rtf;
    }
}

class RtfPictureFileTest : public TempFolderTest {};

// A BMP file of two 10 x 10 frames side by side: the group shows one frame and crops the other.
TEST_F(RtfPictureFileTest, BitmapFilesBecomeMetafiles) {
    std::string bmp = "BM";
    auto put = [&bmp](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp += static_cast<char>(v >> (8 * i));
    };
    put(54 + 600, 4), put(0, 4), put(54, 4);
    put(40, 4), put(20, 4), put(10, 4), put(1, 2), put(24, 2), put(0, 4), put(600, 4);
    put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    bmp += std::string(600, '\x7F');
    WriteAll(PathOf("deux.bmp"), bmp);
    struct Row {
        const char* file;
        const char* head;
    } rows[] = {
        {"deux.bmp", "{\\pict\\picwgoal200\\pichgoal200\\piccropr200\\piccropb0\\wmetafile8\r\n"},
        {"absent.bmp", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        Held<ABitmapRef> bitmap(new ABitmapRef(ABitmapSpec::fromFile(PathOf(row.file).c_str(), 0, 2)));
        RtfOut out;
        ARtfExportWriter writer(out.sink, nullptr);
        writer.writePicture(bitmap.get(), AExportContext());
        EXPECT_EQ(row.head, out.text().substr(0, strlen(row.head)));
        EXPECT_EQ(*row.head == 0, out.text().empty());
        // The packed bitmap: its header of 40 bytes, 20 x 10 pixels.
        if (*row.head) {
            EXPECT_NE(std::string::npos, out.text().find("\r\n28000000140000000a000000"));
        }
    }
}

}  // namespace
