// Exported RTF read back by the system's RichEdit control (riched20,
// EM_STREAMIN): its text, accents and paragraph breaks must be the plain
// export's. Needs a display for the control's window (xvfb in CI).
#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <string>

#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/export/AWmfWriter.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/docengine/parser/MarkupGenerator.h"

namespace {

struct Feed {
    const std::string* text;
    size_t at;
};

DWORD CALLBACK FeedRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* feed = reinterpret_cast<Feed*>(cookie);
    size_t n = feed->text->size() - feed->at;
    if (n > static_cast<size_t>(size))
        n = static_cast<size_t>(size);
    memcpy(buffer, feed->text->data() + feed->at, n);
    feed->at += n;
    *done = static_cast<LONG>(n);
    return 0;
}

// A RichEdit window from the system folder's riched20.dll; null without a display.
class RichEdit {
public:
    RichEdit() {
        char path[MAX_PATH];
        UINT n = GetSystemDirectoryA(path, sizeof path - 16);
        if (n == 0 || n >= sizeof path - 16)
            return;
        strcat(path, "\\riched20.dll");
        library_ = LoadLibraryA(path);
        if (library_)
            window_ = CreateWindowExA(0, "RichEdit20A", "", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        if (window_)
            SendMessageA(window_, EM_EXLIMITTEXT, 0, 16 << 20);
    }
    ~RichEdit() {
        if (window_)
            DestroyWindow(window_);
        if (library_)
            FreeLibrary(library_);
    }
    HWND window() const { return window_; }

    // The control's text after streaming the RTF in, paragraphs ended by "\r\n", in Windows-1252.
    std::string load(const std::string& rtf) {
        Feed feed{&rtf, 0};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&feed), 0, FeedRtf};
        SendMessageA(window_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        std::string text(rtf.size() + 16, '\0');
        GETTEXTEX get{};
        get.cb = static_cast<DWORD>(text.size());
        get.flags = GT_USECRLF;
        get.codepage = 1252;
        LRESULT n =
            SendMessageA(window_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return text;
    }

private:
    HMODULE library_ = nullptr;
    HWND window_ = nullptr;
};

// Special characters go to RTF as their argument byte in their own font:
// the plain text loses their code byte to compare.
std::string WithoutSpecialCodes(const std::string& text) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x0E || static_cast<unsigned char>(c) > 0x1F)
            out += c;
    return out;
}

std::string WithoutTrailingBreaks(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

std::string RtfOf(ADocModel* model, AStyleSheet* sheet) {
    Held<AStringExportSink> sink(new AStringExportSink);
    Held<ARendererExportProvider> provider(new ARendererExportProvider(model, sheet, AString(), AString()));
    ARtfExportWriter writer(sink.get(), provider.get());
    writer.exportAll();
    return sink->getString().c_str();
}

TEST(RtfConsumer, RichEditReadsThePlainTextBack) {
    RichEdit edit;
    if (!edit.window())
        GTEST_SKIP() << "no RichEdit window (no display)";
    Held<AStyleSheet> sheet(new AStyleSheet);
    MarkupGenerator generator(33);
    int checked = 0;
    for (int i = 0; i < 1000 && checked < 20; ++i) {
        std::string article = generator.article(1);
        AIndexedDocModel* model = MakeIndexedModel(article);
        Held<AIndexedDocModel> hold(model);
        model->release();
        std::string plain, rtf;
        try {
            plain = model->exportText(0, model->getLength()).c_str();
            rtf = RtfOf(model, sheet.get());
        } catch (const AParserError&) {
            continue;  // sections and tables need a tree and a table parser
        }
        SCOPED_TRACE(article);
        EXPECT_EQ(WithoutTrailingBreaks(WithoutSpecialCodes(plain)), WithoutTrailingBreaks(edit.load(rtf)));
        ++checked;
    }
    EXPECT_EQ(20, checked);
}

// A metafile picture between two words: the control keeps both words around one object.
TEST(RtfConsumer, RichEditTakesTheMetafileOfAPicture) {
    RichEdit edit;
    if (!edit.window())
        GTEST_SKIP() << "no RichEdit window (no display)";
    unsigned char dib[40 + 4 * 4 * 3] = {40, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0, 1, 0, 24};
    Held<AStringExportSink> sink(new AStringExportSink);
    {
        ARtfExportWriter writer(sink.get(), nullptr);
        writer.beginDocument(AExportCursor());
        writer.write("avant ", 6);
        writer.writeRaw("{\\pict\\picwgoal80\\pichgoal80\\wmetafile8\r\n", 40);
        AWmfWriter::picture(dib, sizeof dib, 4, 4).writeTo(writer);
        writer.writeRaw("}\r\n", 3);
        writer.write(" apr\xE8s", 6);
        writer.endDocument(AExportCursor());
    }
    std::string text = WithoutTrailingBreaks(edit.load(sink->getString().c_str()));
    EXPECT_EQ(0u, text.find("avant "));
    EXPECT_EQ(text.size() - 6, text.find(" apr\xE8s"));
    EXPECT_EQ(13u, text.size()) << text;
}

// Every byte 7 pixels wide, lines 14 high.
class SevenPixels : public ARunDisplay {
public:
    ARunExtent extent(AStyleFont*, const char*, long length) override { return ARunExtent{7 * length, 14, 10}; }
    long indexAtX(AStyleFont*, const char*, long length, long x, int16_t& flag) override {
        flag = 1;
        return std::min(std::max(x / 7, 0L), length);
    }
    long drawText(AStyleFont*, long, long, const char*, long length, uint32_t) override { return 7 * length; }
    void fillRect(const ARect&, uint32_t) override {}
    void eraseRect(const ARect&) override {}
    void drawBitmap(ABitmapRef*, const ARect&, long, int) override {}
    ARunExtent bitmapSize(ABitmapRef*) override { return ARunExtent{16, 16, 12}; }
};

// The renderer's cursor, with the measuring display a renderer gives its exports.
class MeasuringProvider : public ARendererExportProvider {
public:
    MeasuringProvider(ADocModel* model, AStyleSheet* sheet, ARunDisplay* display)
        : ARendererExportProvider(model, sheet, AString(), AString()), display_(display) {}
    AExportCursor makeRootCursor() override {
        AExportCursor cursor = ARendererExportProvider::makeRootCursor();
        cursor.measuringDisplay = display_;
        return cursor;
    }

private:
    ARunDisplay* display_;
};

// The first column's width is the natural width of "court" (5 bytes of 7
// pixels, plus a tenth); the second is fixed at 200 pixels. Twips are 20 a pixel.
TEST(RtfConsumer, ANaturalWidthColumnTakesItsMeasuredWidth) {
    RichEdit edit;
    if (!edit.window())
        GTEST_SKIP() << "no RichEdit window (no display)";
    Held<ATextFragParser> parser(new ATextFragParser('/'));
    Held<AKytabSubParser> tables(new AKytabSubParser('*'));
    parser->setSubParser(tables.get());
    AIndexedDocModel* model =
        MakeIndexedModel("Avant\n/&TABLE:100%:N0:[[0,0,0,0,0|court*-200,0,0,0,0|colonne fixe]]&/\n", parser.get());
    Held<AIndexedDocModel> hold(model);
    model->release();
    Held<AStyleSheet> sheet(new AStyleSheet);
    SevenPixels seven;
    struct Row {
        const char* what;
        ARunDisplay* display;
        const char* firstEdge;
        const char* secondEdge;
    } rows[] = {
        {"measured", &seven, "\\cellx760\r\n", "\\cellx4760\r\n"},
        // Without a display the cell takes the row less the fixed column: 451 - 200.
        {"unmeasured", nullptr, "\\cellx5020\r\n", "\\cellx9020\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Held<AStringExportSink> sink(new AStringExportSink);
        Held<MeasuringProvider> provider(new MeasuringProvider(model, sheet.get(), row.display));
        ARtfExportWriter writer(sink.get(), provider.get());
        writer.exportAll();
        std::string rtf = sink->getString().c_str();
        size_t first = rtf.find(row.firstEdge);
        EXPECT_NE(std::string::npos, first) << rtf;
        EXPECT_NE(std::string::npos, rtf.find(row.secondEdge, first == std::string::npos ? 0 : first)) << rtf;
        std::string text = edit.load(rtf);
        EXPECT_NE(std::string::npos, text.find("court")) << text;
        EXPECT_NE(std::string::npos, text.find("colonne fixe")) << text;
    }
}

}  // namespace
