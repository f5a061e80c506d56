// The dictionary entry markup converted to slash markup: tags, attributes,
// entities, escapes, and damaged answers that must convert or stop cleanly.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "panes/search/dico/mlParse.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

SgmlEntity* Entities() {
    static SgmlEntity table[] = {
        {"sup", ">", 0},  {"inf", "<", 0}, {"ampersand", "&", 0}, {"semicolon", ";", 0}, {"nl", "\n", 0},
        {"cr", "\r", 0},  {"tab", "\t", 0}, {"bs", "\b", 0},       {"nbsp", "\xA0", 0},
    };
    return table;
}

struct Converted {
    std::string entry, title;
    int code = -1;
};

// The answer through a file, as the dictionary window reads it.
Converted Convert(TempFolder& folder, const std::string& answer, int32_t options = 0x41) {
    AFile file(AFileSpec(folder.write("synapse.xml", answer).c_str()), 0, kPlainFileOptions, false);
    AFileStream in(file, "rb", 0);
    AMLDicoParser parser(options);
    parser.setEntities(Entities(), 9);
    Converted out;
    out.code = parser.parse(&in);
    out.entry = parser.getEntry().c_str();
    out.title = parser.getTitle().c_str();
    return out;
}

}  // namespace

TEST(DicoMarkup, TagsTextAndEntitiesBecomeSlashMarkup) {
    struct Row {
        const char* answer;
        const char* entry;
        const char* title;
    } const rows[] = {
        {"", "", ""},
        {"a/b", "/Aa\\/b", ""},
        {"x#y{z}", "/Ax\\#y\\{z\\}", ""},
        {"<GRAM>nom</GRAM>", "\n/Cnom\n", ""},
        {"<GRAM>nom &sup; masc</GRAM>", "\n/Cnom > masc\n", ""},
        {"<DL LABEL=\"mot\">x</DL>", "\n/Bmot:/A\n/Ax\n", ""},
        {"<DL>x</DL>", "\n/Ax\n", ""},
        {"<DT ID=\"2\">y</DT>", "2 - /Ay\n", ""},
        {"<EL LABEL='ex'><ET ID=3>z</ET></EL>", "\n/Bex:/A\n3 - /Az\n\n", ""},
        {"<TITRE>Che/val</TITRE>corps", "/Acorps", "Che\\/val"},
        {"<titre>maison</titre>", "", "maison"},
        {"<TITRE>&inf;b&sup;c</TITRE>", "", "<b>c"},
        {"<RENVOI>logis</RENVOI>", "\n/BSyn. /A/Alogis\n", ""},
        {"<LOKKUP>l</LOKKUP>", "\n/Al\n", ""},
        {"a&nbsp;b", "/Aa\xA0" "b", ""},
        {"a&inconnu;b", "/Aab", ""},
        {"a&inf;b&ampersand;c&semicolon;", "/Aa<b&c;", ""},
        {"<AUTRE>t</AUTRE>", "/At", ""},
        {"</GRAM>t", "\n/At", ""},
        // Attribute values are data too: never markup.
        {"<DL LABEL=\"a/b#{c}\">", "\n/Ba\\/b\\#\\{c\\}:/A\n", ""},
        {"<DT ID=\"/B\">", "\\/B - ", ""},
        // As the pattern reads them: a blank before "=" belongs to the name; the
        // first of a repeated name holds; an unquoted value runs to the end.
        {"<DL LABEL =\"mot\">", "\n", ""},
        {"<DL LABEL=\"un\" LABEL=\"deux\">", "\n/Bun:/A\n", ""},
        {"<DT ID=2 X=3>", "2 X=3 - ", ""},
    };
    TempFolder folder;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answer);
        Converted c = Convert(folder, r.answer);
        EXPECT_EQ(0, c.code);
        EXPECT_EQ(r.entry, c.entry);
        EXPECT_EQ(r.title, c.title);
    }
}

TEST(DicoMarkup, CaseOfNamesFollowsTheOptions) {
    TempFolder folder;
    EXPECT_EQ("\n/Cnom\n", Convert(folder, "<gram>nom</Gram>").entry);
    EXPECT_EQ("/Anom", Convert(folder, "<gram>nom</gram>", 0x43).entry) << "case-sensitive: not a tag";
    EXPECT_EQ("\n/Bx:/A\n", Convert(folder, "<DL label=\"x\">").entry);
    EXPECT_EQ("\n", Convert(folder, "<DL label=\"x\">", 0x43).entry);
}

TEST(DicoMarkup, DamagedAnswersConvertOrStopCleanly) {
    const std::string good =
        "<TITRE>Maison</TITRE>\r\n<DL LABEL=\"1\"><GRAM>(nom)</GRAM><DT ID=\"1\">demeure, logis &sup; toit</DT></DL>\r\n"
        "<RENVOI>demeure, logis</RENVOI>\r\n";
    std::mt19937 random(68);
    TempFolder folder;
    int stopped = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string answer = good;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            size_t at = random() % (answer.size() + 1);
            switch (random() % 6) {
            case 0: answer.resize(at); break;                                              // cut
            case 1: answer.insert(at, "<"); break;                                         // stray "<"
            case 2: answer.insert(at, "<DL LABEL=\"" + std::string(3000, 'L') + "\">"); break;  // huge attribute
            case 3: answer.insert(at, 1, static_cast<char>(0x80 + random() % 0x80)); break;  // high byte
            case 4: answer.insert(at, "&"); break;
            default: answer.insert(at, ">"); break;
            }
        }
        SCOPED_TRACE(i);
        Converted c = Convert(folder, answer);
        if (c.code)
            ++stopped;
        ASSERT_LT(c.entry.size(), 8 * answer.size() + 64);
    }
    RecordProperty("stopped", stopped);
}
