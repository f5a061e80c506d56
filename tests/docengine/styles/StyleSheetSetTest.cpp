// The style-sheet document: the sample's "svstyles.xml", generated edge
// cases, damaged documents and mutated copies of the sample.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "docengine/styles/AStyleSheetSet.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

class StyleSheetSetTest : public TempFolderTest {
protected:
    // Writes a document whose StyleSheets element holds body.
    AFileSpec Document(const std::string& body, const std::string& name = "svstyles.xml") {
        std::string path = PathOf(name);
        WriteAll(path,
                 "<?xml version=\"1.0\"?>\n<Document>\n<StyleSheets>\n" + body + "\n</StyleSheets>\n</Document>\n");
        return AFileSpec(path.c_str());
    }
};

std::string Font(AStyleSheet* sheet, long style) {
    const AStyleFont* f = sheet->getFont(style, 0);
    char text[120];
    snprintf(text, sizeof text, "%s %d %d [%d,%d]", f->desc().face.c_str(), f->desc().size, f->desc().style,
             f->range().minimum, f->range().maximum);
    return text;
}

std::string Hex(uint32_t v) {
    char text[16];
    snprintf(text, sizeof text, "0x%08X", v);
    return text;
}

// Records the images a set registers; "known" is registered already.
class NamedBitmaps : public ANamedBitmaps {
public:
    bool hasBitmap(const AString& name) override { return names.count(name.c_str()) != 0; }
    void setBitmap(const AString& name, const ABitmapSpec& spec) override {
        names.insert(name.c_str());
        log += std::string(name.c_str()) + "=" + spec.name.c_str() + "/" + std::to_string(spec.flags) + "/" +
               std::to_string(spec.subImages) + " ";
    }
    std::set<std::string> names{"known"};
    std::string log;
};

TEST_F(StyleSheetSetTest, ImagesRegisterOncePerName) {
    std::string body =
        "<StyleSheet><Bitmap Id=\"3\" ResId=\"$pics\\a.bmp\" NoStretch=\"y\" NbSub=\"3\"/></StyleSheet>"
        "</StyleSheets><Resources Path=\"C:\\img\"><Image Id=\"p\" Filename=\"p\" Type=\"JPG\"/>"
        "<Image Id=\"p\" Filename=\"q\"/><Image Id=\"known\"/><Image Id=\"s\" Filename=\"s\" NoStretch=\"Y\"/>"
        "</Resources><StyleSheets>";
    NamedBitmaps bitmaps;
    AStyleSheetSet set(Document(body), 0, &bitmaps);
    EXPECT_EQ("pics\\a.bmp=pics\\a.bmp/0/3 p=C:\\img\\p.JPG/8204/1 s=C:\\img\\s.Bmp/0/1 ", bitmaps.log);
    EXPECT_EQ("pics\\a.bmp", std::string(set.getSheet(0)->getBitmap(3)->spec().name.c_str()));
    EXPECT_EQ("C:\\img", std::string(set.resourceFolder().path().c_str()));

    std::string longName(1500, 'x');
    AStyleSheetSet refused(Document("</StyleSheets><Resources Path=\"" + longName + "\"><Image Id=\"L\" Filename=\"" +
                                        longName + "\"/></Resources><StyleSheets>",
                                    "long.xml"),
                           0, &bitmaps);
    EXPECT_NE(std::string::npos, std::string(refused.log().c_str()).find("is not a usable path"));
}

TEST_F(StyleSheetSetTest, SampleDocumentLoads) {
    AStyleSheetSet set(AFileSpec(SV_SAMPLE_DIR "/svstyles.xml"), 0);
    EXPECT_EQ("", std::string(set.log().c_str()));
    EXPECT_EQ(11, set.sheetCount()) << "sheets 0 to 11 but 5";
    AStyleSheet* articles = set.getSheet(0);
    ASSERT_NE(nullptr, articles);
    EXPECT_EQ("Articles", std::string(articles->name.c_str()));
    EXPECT_EQ("Times New Roman 12 129 [8,24]", Font(articles, 1));
    EXPECT_EQ("Arial 16 129 [10,32]", Font(articles, 9));
    EXPECT_EQ("0x0200A0A0", Hex(articles->getColor(2) | 0xA0A0));
    EXPECT_EQ("0x02808080", Hex(articles->getColor(5)));
    EXPECT_EQ("postit", std::string(articles->getBitmap(4)->spec().name.c_str()));
    EXPECT_EQ(240, articles->getTabStops(0)->stopAt(2).position);
    EXPECT_EQ("Times New Roman 12 131 [8,24]", Font(articles, 2));
    EXPECT_EQ("Lucida Sans Unicode", std::string(articles->getFont(0, 0x0E)->desc().face.c_str()));
    EXPECT_EQ("0x02FFD8C0", Hex(set.getSheet(3)->getColor(10)));
    EXPECT_EQ("Arial 9 0 [9,9]", Font(set.getSheet(1), 0));
    // The sound-alike window's header shows its word as "/C/3" in sheet 2: a
    // style and a colour of its own, not the fallbacks.
    EXPECT_EQ("Arial 12 1 [2,64]", Font(set.getSheet(2), 2));
    EXPECT_EQ("0x02000000", Hex(set.getSheet(2)->getColor(3)));
}

TEST_F(StyleSheetSetTest, EntriesReadAsTheFormatSays) {
    struct Row {
        const char* body;
        int adjust;
        long sheet;
        const char* expected;
    } rows[] = {
        {"<StyleSheet><Style Prefix=\"A\" Size=\"9\"/></StyleSheet>", 0, 0, "Style 0|Arial 9 0 [2,64]"},
        {"<StyleSheet Id=\"5\"/>", 0, 5, "Style 5|Times 12 0 [12,12]"},
        {"<StyleSheet Id=\"2\" Name=\"Liste\"/>", 0, 2, "Liste|Times 12 0 [12,12]"},
        {"<StyleSheet><Style Prefix=\"A-C\" Font=\"F\" Size=\"9\" Bold=\"1\"/></StyleSheet>", 0, 0,
         "Style 0|F 9 1 [2,64]|F 9 1 [2,64]|F 9 1 [2,64]|Courier New 10 0 [10,10]"},
        {"<StyleSheet><Style Prefix=\"AC\" Font=\"F\" Size=\"9\"/></StyleSheet>", 0, 0,
         "Style 0|F 9 0 [2,64]|Times 12 1 [12,12]|Times 12 3 [12,12]|Courier New 10 0 [10,10]"},
        {"<StyleSheet><Style Prefix=\"12\" Font=\"F\" Size=\"9\"/></StyleSheet>", 0, 0, "Style 0|@12 F 9 0 [2,64]"},
        {"<StyleSheet><Style Prefix=\"#1F\" Font=\"G\" Size=\"7\"/></StyleSheet>", 0, 0,
         "Style 0|Times 12 0 [12,12]|sub G 7"},
        {"<StyleSheet><Style Prefix=\"A\" Size=\"10\"/></StyleSheet>", 2, 0, "Style 0|Arial 12 0 [4,66]"},
        {"<StyleSheet NoAdjust=\"1\"><Style Prefix=\"A\" Size=\"10\"/></StyleSheet>", 2, 0,
         "Style 0|Arial 10 0 [2,64]"},
        {"<StyleSheet TrueType=\"1\"><Style Prefix=\"A\" Size=\"10\" Ul=\"1\" Exp=\"1\"/></StyleSheet>", 0, 0,
         "Style 0|Arial 10 388 [2,64]"},
        {"<StyleSheet><Color Prefix=\"1\" Rgb=\"#FF8000\"/><Color Prefix=\"2\" Rgb=\"255,128,0\"/>"
         "<Color Prefix=\"3\" Rgb=\"255\"/><Color Prefix=\"4\" Rgb=\"#ff8000\"/></StyleSheet>",
         0, 0, "Style 0|Times 12 0 [12,12]|c 0x020080FF 0x020080FF 0x020000FF 0x020080FF"},
        {"<StyleSheet><TabStops Prefix=\"a\" TabWidth=\"40\">100 200</TabStops></StyleSheet>", 0, 0,
         "Style 0|Times 12 0 [12,12]|t 100 200 240 280"},
        {"<StyleSheet><TabStops Prefix=\"a\" TabWidth=\"40\">100 200</TabStops><TabStops Prefix=\"a\"/></StyleSheet>",
         0, 0, "Style 0|Times 12 0 [12,12]|t 40 80 120 160"},
        {"<StyleSheet><Bitmap Id=\"1\" AppId=\"app\" ResId=\"#7\"/><Bitmap Id=\"2\" ResId=\"#7\"/></StyleSheet>", 0, 0,
         "Style 0|Times 12 0 [12,12]|b app 7"},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        AStyleSheetSet set(Document(row.body, "doc" + std::to_string(index++) + ".xml"),
                           static_cast<int16_t>(row.adjust));
        AStyleSheet* sheet = set.getSheet(row.sheet);
        ASSERT_NE(nullptr, sheet);
        std::string out = std::string(sheet->name.c_str()) + "|" + Font(sheet, 0);
        std::string body = row.body;
        if (body.find("A-C") != std::string::npos || body.find("\"AC\"") != std::string::npos)
            out += "|" + Font(sheet, 1) + "|" + Font(sheet, 2) + "|" + Font(sheet, 3);
        if (body.find("\"12\"") != std::string::npos)
            out = std::string(sheet->name.c_str()) + "|@12 " + Font(sheet, 12);
        if (body.find("#1F") != std::string::npos)
            out += "|sub " + std::string(sheet->getSubStyle(31)->face.c_str()) + " " +
                   std::to_string(sheet->getSubStyle(31)->size);
        if (body.find("Color") != std::string::npos)
            out += "|c " + Hex(sheet->getColor(1)) + " " + Hex(sheet->getColor(2)) + " " + Hex(sheet->getColor(3)) +
                   " " + Hex(sheet->getColor(4));
        if (body.find("TabStops") != std::string::npos) {
            ATabStops* t = sheet->getTabStops(0);
            out += "|t";
            for (long i = 0; i < 4; ++i)
                out += " " + std::to_string(t->stopAt(i).position);
        }
        if (body.find("Bitmap") != std::string::npos)
            out += "|b " + std::string(sheet->getBitmap(1)->spec().name.c_str()) + " " +
                   std::to_string(sheet->getBitmap(2)->spec().number);
        EXPECT_EQ(row.expected, out);
        EXPECT_EQ("", std::string(set.log().c_str()));
    }
}

TEST_F(StyleSheetSetTest, BadDataIsLoggedAndSkipped) {
    struct Row {
        const char* body;
        const char* logged;
        const char* font;
    } rows[] = {
        {"<StyleSheet><TabStops Prefix=\"a\" TabWidth=\"-5\">10</TabStops></StyleSheet>", "negative TabWidth",
         "Times 12 0 [12,12]"},
        {"<StyleSheet><Color Prefix=\"1\" Rgb=\"#FF80\"/></StyleSheet>", "is not #RRGGBB", "Times 12 0 [12,12]"},
        {"<StyleSheet><Style Prefix=\"#00\" Size=\"3\"/><Style Prefix=\"#F\"/></StyleSheet>", "is not a sub-style",
         "Times 12 0 [12,12]"},
        {"<StyleSheet><Style Size=\"3\"/></StyleSheet>", "Style without Prefix", "Times 12 0 [12,12]"},
        {"<StyleSheet Id=\"0\"><Style Prefix=\"A\" Size=\"8\"/></StyleSheet>"
         "<StyleSheet Id=\"0\"><Style Prefix=\"A\" Size=\"9\"/></StyleSheet>",
         "defined twice", "Arial 8 0 [2,64]"},
        {"<StyleSheet Id=\"0\"><Style Prefix=\"A\" Size=\"8\"/></StyleSheet><StyleSheet Id=\"1\"><Style Prefix=\"A\" <",
         "syntax error", "Arial 8 0 [2,64]"},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        AStyleSheetSet set(Document(row.body, "bad" + std::to_string(index++) + ".xml"), 0);
        EXPECT_NE(std::string::npos, std::string(set.log().c_str()).find(row.logged)) << set.log().c_str();
        AStyleSheet* sheet = set.getSheet(0);
        ASSERT_NE(nullptr, sheet);
        EXPECT_EQ(row.font, Font(sheet, 0));
        EXPECT_EQ(0xFF0000u, sheet->getColor(1));
    }
    AStyleSheetSet broken(Document(rows[5].body, "broken.xml"), 0);
    EXPECT_EQ(1, broken.sheetCount()) << "the sheet being read when the error came is dropped";
}

TEST_F(StyleSheetSetTest, MissingSheetsReloadOnceAndKeepTheAdjustment) {
    AStyleSheetSet set(Document("<StyleSheet Id=\"1\"><Style Prefix=\"A\" Size=\"10\"/></StyleSheet>"), 3);
    EXPECT_EQ(1, set.loadCount());
    EXPECT_EQ(nullptr, set.getSheet(4));
    EXPECT_EQ(2, set.loadCount());
    EXPECT_EQ(nullptr, set.getSheet(4));
    EXPECT_EQ(2, set.loadCount());
    EXPECT_EQ(3, set.fontAdjust());
    EXPECT_EQ("Arial 13 0 [5,67]", Font(set.getSheet(1), 0));

    AStyleSheetSet missing(AFileSpec(PathOf("absent.xml").c_str()), 0);
    EXPECT_NE(std::string::npos, std::string(missing.log().c_str()).find("cannot be read"));
    ASSERT_NE(nullptr, missing.getSheet(2));
    EXPECT_EQ("Times 12 0 [12,12]", Font(missing.getSheet(2), 0));
}

TEST_F(StyleSheetSetTest, LongTabStopTextDropsTheCutStop) {
    std::string list;
    while (list.size() < 5000)
        list += "250 ";
    AStyleSheetSet set(Document("<StyleSheet><TabStops Prefix=\"a\">" + list + "</TabStops></StyleSheet>"), 0);
    ATabStops* stops = set.getSheet(0)->getTabStops(0);
    ASSERT_GT(stops->count(), 100);
    for (long i = 0; i < stops->count(); ++i)
        ASSERT_EQ(250, stops->stopAt(i).position) << i;
}

TEST_F(StyleSheetSetTest, MutatedSampleLoadsOrFallsBack) {
    std::string sample = ReadAll(SV_SAMPLE_DIR "/svstyles.xml");
    ASSERT_FALSE(sample.empty());
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    const char alphabet[] = "<>/=\"#-,;: AaZz09\n&!?";
    std::string path = PathOf("mutated.xml");
    int errors = 0;
    for (int round = 0; round < 10000; ++round) {
        std::string doc = sample;
        for (int edits = 1 + static_cast<int>(next() % 4); edits > 0; --edits) {
            size_t at = next() % doc.size();
            switch (next() % 4) {
                case 0:
                    doc[at] = alphabet[next() % (sizeof alphabet - 1)];
                    break;
                case 1:
                    doc.insert(at, 1, alphabet[next() % (sizeof alphabet - 1)]);
                    break;
                case 2:
                    doc.erase(at, 1 + next() % 12);
                    break;
                default:
                    doc.insert(at, doc.substr(next() % doc.size(), next() % 60));
                    break;
            }
        }
        WriteAll(path, doc);
        AStyleSheetSet set{AFileSpec(path.c_str()), static_cast<int16_t>(round % 3)};
        // Sheet 0 exists in the sample; a damaged Id makes getSheet read once more.
        if (AStyleSheet* sheet = set.getSheet(round % 2)) {
            sheet->getFont(round % 14, 0);
            sheet->getFont(1, 0x0E);
            sheet->getTabStops(round % 3)->nextStopIndex(500, 0);
        }
        errors += !set.log().empty();
    }
    EXPECT_GT(errors, 100);
}

}  // namespace
